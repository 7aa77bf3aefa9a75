#pragma once
// The rules of the two set-up pages, callable without a renderer: difficulty ratings, labels,
// starting choices and the configuration a confirmed page fills.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "frontend/map_discovery.h"
#include "world/new_game_config.h"

namespace vorn1 {

class AggArchive;
struct GameMap;

// NEWGAME.ICN colour gem frames by colour AND 3.
inline constexpr std::array<int, 4> gem_frames_normal{15, 13, 11, 17};

inline constexpr const char* kNoOpponentText = "A game requires at least one opponent.";
inline constexpr const char* kNoHotseatMapsText = "No maps support this many players.";
inline constexpr const char* kHumanLeftOutText = "This map has no place for every human player.";

// Rating points of a computer opponent level (0 for none and any value outside 1..4).
int opponent_points(int level);
// 10 x d - 10 for a game difficulty 0..3, else 0.
int difficulty_points(int difficulty);
// Map size (1: 10, 2: 20) and map difficulty (10 x 1..3) points.
int map_points(uint8_t map_size, uint8_t map_difficulty);

int compute_difficulty_rating(GameDifficulty difficulty, const std::array<OpponentDifficulty, 3>& opponents,
                              bool king_of_the_hill, uint8_t map_size, uint8_t map_difficulty);

// The localised label of an opponent level; values outside 0..4 read as average.
std::string opp_label(OpponentDifficulty level);
// Label keys of the game difficulties 0..3 (others read as expert).
const char* difficulty_key(int difficulty);
// The opponent level after a click: none, dumb, average, smart, genius, none; others become average.
OpponentDifficulty next_opponent_level(int level);
// "Red", "Green", "Blue", "Yellow", else "None".
const char* color_name(int color);
// The first map whose stem is `preferred`, then the remembered stem when not empty; else `fallback`.
int pick_map_index(const std::vector<MapFileInfo>& maps, const std::string& preferred, const std::string& remembered,
                   int fallback);

// ---- the standard set-up page
struct StandardSetup {
    int32_t difficulty = DIFF_EASY;
    std::array<int32_t, 3> opponents{OPP_AVERAGE, OPP_AVERAGE, OPP_AVERAGE};
    uint8_t color = COLOR_BLUE;
    uint8_t faction = 0;
    bool king_of_the_hill = false;
    int32_t map_index = 0;
};

// The remembered stem of the last standard map picked (for the process's life).
extern std::string g_last_standard_map_stem;
// The remembered stem of the last hot-seat map picked.
extern std::string g_last_multiplayer_map_stem;

// Initial state: the faction drawn from mt19937(seed ^ 0x9E3779B9) in 0..3, the map AES31000
// or the remembered stem.
StandardSetup initial_standard_setup(const std::vector<MapFileInfo>& maps, uint32_t tick_ms);
int standard_rating(const StandardSetup& s, const std::vector<MapFileInfo>& maps);
// Fills the config (the map fields only when the map index is valid).
void apply_standard_start(const StandardSetup& s, const std::vector<MapFileInfo>& maps, NewGameConfig& config);

// ---- the hot-seat set-up screen
struct HotseatSetup {
    int32_t players = 2;
    std::vector<MapFileInfo> maps;  // those supporting at least `players`
    int32_t map_index = -1;
    int32_t difficulty = DIFF_EASY;
    std::array<int32_t, 3> human_difficulty{0, 0, 0};
    std::array<int32_t, 3> computer_level{OPP_AVERAGE, OPP_AVERAGE, OPP_AVERAGE};
    uint8_t color = COLOR_BLUE;
    bool king_of_the_hill = false;
    int humans_after_first() const { return players - 1; }
    bool slot_is_human(int j) const { return j < humans_after_first(); }
};

HotseatSetup initial_hotseat_setup(int players, const std::vector<MapFileInfo>& maps);
int hotseat_rating(const HotseatSetup& s);
// Seat colours: the chosen one first, the others ascending.
std::array<uint8_t, 4> seat_color_order(uint8_t first);
// False when there is no map to play; otherwise fills the config (mode 2, four seats).
bool apply_hotseat_start(const HotseatSetup& s, NewGameConfig& config);

// ---- both pages
// The alert a page refuses a start configured as `config` with, null when it may start: kNoOpponentText for
// a standard game with all three opponents switched off, or when on `map`, the config's map as read, the
// first seat could never meet the goal; kHumanLeftOutText when a hot seat's human holds nothing on `map`
// and so would never play. A map that does not read (null) is left to the game to report.
const char* start_refusal(const NewGameConfig& config, const GameMap* map);
// The same over the map the game will play: the file the config names, or without one the archive's demo map.
const char* chosen_start_refusal(const NewGameConfig& config, const AggArchive* archive);

}  // namespace vorn1
