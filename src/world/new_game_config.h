#pragma once
// The game set-up chosen by the front end and carried in saves.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

enum GameMode : int32_t { MODE_STANDARD = 0, MODE_CAMPAIGN = 1, MODE_HOTSEAT = 2 };

enum GameDifficulty : int32_t { DIFF_EASY = 0, DIFF_NORMAL = 1, DIFF_HARD = 2, DIFF_EXPERT = 3 };

enum OpponentDifficulty : int32_t { OPP_NONE = 0, OPP_DUMB = 1, OPP_AVERAGE = 2, OPP_SMART = 3, OPP_GENIUS = 4 };

// Seat colours; any other value reads as "None".
enum PlayerColor : uint8_t { COLOR_RED = 0, COLOR_GREEN = 1, COLOR_BLUE = 2, COLOR_YELLOW = 3, COLOR_NONE = 255 };

enum Faction : uint8_t { FACTION_KNIGHT = 0, FACTION_BARBARIAN = 1, FACTION_SORCERESS = 2, FACTION_WARLOCK = 3 };

enum CampaignId : int32_t { CAMPAIGN_ORIGINAL = 0, CAMPAIGN_SPIRIT_WORLD = 1 };

// Computer player intelligence; stored per seat as one byte.
enum AiIntelligence : uint8_t { AI_NONE = 0, AI_DUMB = 1, AI_AVERAGE = 2, AI_SMART = 3, AI_GENIUS = 4 };

enum SeatKind : uint8_t { SEAT_NONE = 0, SEAT_COMPUTER = 1, SEAT_HUMAN = 2 };

// One seat of a hot-seat set-up.
struct SeatConfig {
    uint8_t color = 255;    // PlayerColor, 255 none
    uint8_t kind = SEAT_NONE;
    int32_t difficulty = 1;
    int32_t ai_level = 2;   // OpponentDifficulty of a computer seat
    int32_t extra = 0;
    std::string name;
};

// Declaration order is the order the front end and the saves rely on.
struct NewGameConfig {
    bool quit = false;
    GameMode mode = MODE_STANDARD;
    std::string map_path;
    std::string map_name;   // from the map header
    std::string map_stem;   // file name without folder and extension
    GameDifficulty difficulty = DIFF_EASY;
    std::array<OpponentDifficulty, 3> opponents{OPP_AVERAGE, OPP_AVERAGE, OPP_AVERAGE};
    uint8_t color = COLOR_BLUE;   // PlayerColor of the human player
    uint8_t king_of_the_hill = 0;
    int32_t difficulty_rating = 0;  // percent
    uint8_t faction = FACTION_KNIGHT;
    std::string description;
    uint8_t map_size = 0;        // size class of the map header
    uint8_t map_difficulty = 0;  // difficulty class of the map header
    CampaignId campaign_id = CAMPAIGN_ORIGINAL;
    int32_t campaign_lord = 0;   // 0..3
    int32_t lord_number = 0;
    uint8_t lord_faction = 0;
    int32_t scenario_index = 0;  // 0-based position in campaign_maps
    std::string campaign_map_path;
    std::vector<std::string> campaign_maps;
    uint8_t multiplayer = 0;
    uint8_t multiplayer_extra = 0;
    int32_t player_count = 0;    // hot-seat games
    std::array<SeatConfig, 4> seats{};
    int32_t extra = 0;
    std::string save_path;
};

}  // namespace vorn1
