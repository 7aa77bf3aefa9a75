#include "frontend/setup_rules.h"

#include <algorithm>
#include <random>

#include "frontend/map_discovery.h"
#include "lang/runtime_strings.h"
#include "world/game_map_source.h"
#include "world/game_setup.h"

namespace vorn1 {

std::string g_last_standard_map_stem;
std::string g_last_multiplayer_map_stem;

int opponent_points(int level) {
    switch (level) {
    case OPP_DUMB: return 15;
    case OPP_AVERAGE: return 20;
    case OPP_SMART: return 25;
    case OPP_GENIUS: return 30;
    default: return 0;
    }
}

int difficulty_points(int difficulty) {
    return static_cast<uint32_t>(difficulty) <= 3u ? 10 * difficulty - 10 : 0;
}

int map_points(uint8_t map_size, uint8_t map_difficulty) {
    int p = map_size == 1 ? 10 : map_size == 2 ? 20 : 0;
    if (map_difficulty >= 1 && map_difficulty <= 3) p += 10 * map_difficulty;
    return p;
}

int compute_difficulty_rating(GameDifficulty difficulty, const std::array<OpponentDifficulty, 3>& opponents,
                              bool king_of_the_hill, uint8_t map_size, uint8_t map_difficulty) {
    int rating = difficulty_points(difficulty);
    int active = 0;
    for (OpponentDifficulty o : opponents) {
        rating += opponent_points(o);
        if (o >= OPP_DUMB && o <= OPP_GENIUS) ++active;
    }
    if (king_of_the_hill) rating += active == 3 ? 10 : active == 2 ? 5 : 0;
    return rating + map_points(map_size, map_difficulty);
}

std::string opp_label(OpponentDifficulty level) {
    static constexpr const char* keys[5] = {"NEWGAME_OPP_NONE", "SCEN_OPP_DUMB", "SCEN_OPP_AVERAGE", "SCEN_OPP_SMART",
                                            "SCEN_OPP_GENIUS"};
    const int i = level >= 0 && level <= 4 ? static_cast<int>(level) : 2;
    return strings().get(keys[i]);
}

const char* difficulty_key(int difficulty) {
    switch (difficulty) {
    case 0: return "NEWGAME_EASY";
    case 1: return "NEWGAME_NORMAL";
    case 2: return "NEWGAME_HARD";
    default: return "NEWGAME_EXPERT";
    }
}

OpponentDifficulty next_opponent_level(int level) {
    if (level < 0 || level > 4) return OPP_AVERAGE;
    return static_cast<OpponentDifficulty>((level + 1) % 5);
}

const char* color_name(int color) {
    switch (color) {
    case 0: return "Red";
    case 1: return "Green";
    case 2: return "Blue";
    case 3: return "Yellow";
    default: return "None";
    }
}

int pick_map_index(const std::vector<MapFileInfo>& maps, const std::string& preferred, const std::string& remembered,
                   int fallback) {
    int index = fallback;
    for (int i = 0; i < static_cast<int>(maps.size()); ++i)
        if (maps[i].stem == preferred) {
            index = i;
            break;
        }
    if (!remembered.empty())
        for (int i = 0; i < static_cast<int>(maps.size()); ++i)
            if (maps[i].stem == remembered) {
                index = i;
                break;
            }
    return index;
}

StandardSetup initial_standard_setup(const std::vector<MapFileInfo>& maps, uint32_t tick_ms) {
    StandardSetup s;
    std::mt19937 gen(tick_ms ^ 0x9E3779B9u);
    s.faction = static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 3)(gen));
    s.map_index = pick_map_index(maps, "AES31000", g_last_standard_map_stem, 0);
    return s;
}

namespace {

const MapFileInfo* map_at(const std::vector<MapFileInfo>& maps, int index) {
    return index >= 0 && index < static_cast<int>(maps.size()) ? &maps[index] : nullptr;
}

std::array<OpponentDifficulty, 3> as_levels(const std::array<int32_t, 3>& v) {
    return {static_cast<OpponentDifficulty>(v[0]), static_cast<OpponentDifficulty>(v[1]),
            static_cast<OpponentDifficulty>(v[2])};
}

void copy_map_fields(const MapFileInfo& m, NewGameConfig& c) {
    c.map_path = m.path;
    c.map_name = m.name;
    c.map_stem = m.stem;
    c.description = m.description;
    c.map_size = m.size;
    c.map_difficulty = m.difficulty;
}

}  // namespace

int standard_rating(const StandardSetup& s, const std::vector<MapFileInfo>& maps) {
    const MapFileInfo* m = map_at(maps, s.map_index);
    return compute_difficulty_rating(static_cast<GameDifficulty>(s.difficulty), as_levels(s.opponents),
                                     s.king_of_the_hill, m ? m->size : 0, m ? m->difficulty : 0);
}

void apply_standard_start(const StandardSetup& s, const std::vector<MapFileInfo>& maps, NewGameConfig& config) {
    config.quit = false;
    config.mode = MODE_STANDARD;
    config.difficulty = static_cast<GameDifficulty>(s.difficulty);
    config.opponents = as_levels(s.opponents);
    config.color = s.color;
    config.king_of_the_hill = s.king_of_the_hill ? 1 : 0;
    config.faction = s.faction;
    config.difficulty_rating = standard_rating(s, maps);
    if (const MapFileInfo* m = map_at(maps, s.map_index)) copy_map_fields(*m, config);
}

HotseatSetup initial_hotseat_setup(int players, const std::vector<MapFileInfo>& maps) {
    HotseatSetup s;
    s.players = players;
    if (players > 1)
        for (const MapFileInfo& m : maps)
            if (m.players >= players) s.maps.push_back(m);
    int index = 0;
    for (int i = 0; i < static_cast<int>(s.maps.size()); ++i)
        if (s.maps[i].stem.rfind("KNS2", 0) == 0) {
            index = i;
            break;
        }
    index = pick_map_index(s.maps, std::string(), g_last_multiplayer_map_stem, index);
    if (index < 0 || index >= static_cast<int>(s.maps.size())) index = s.maps.empty() ? -1 : 0;
    s.map_index = index;
    return s;
}

int hotseat_rating(const HotseatSetup& s) {
    int rating = difficulty_points(s.difficulty);
    for (int j = 0; j < 3; ++j)
        rating += s.slot_is_human(j) ? 10 * s.human_difficulty[j] + 10 : opponent_points(s.computer_level[j]);
    if (const MapFileInfo* m = map_at(s.maps, s.map_index)) rating += map_points(m->size, m->difficulty);
    if (s.king_of_the_hill && s.players == 2) rating += 5;
    return rating;
}

std::array<uint8_t, 4> seat_color_order(uint8_t first) {
    std::array<uint8_t, 4> out{first, 0, 0, 0};
    int n = 1;
    for (uint8_t c = 0; c < 4 && n < 4; ++c)
        if (c != first) out[n++] = c;
    return out;
}

bool apply_hotseat_start(const HotseatSetup& s, NewGameConfig& config) {
    const MapFileInfo* m = map_at(s.maps, s.map_index);
    if (!m) return false;
    config.quit = false;
    config.mode = MODE_HOTSEAT;
    config.difficulty = static_cast<GameDifficulty>(s.difficulty);
    copy_map_fields(*m, config);
    config.king_of_the_hill = s.king_of_the_hill ? 1 : 0;
    config.difficulty_rating = hotseat_rating(s);
    config.multiplayer = 1;
    config.multiplayer_extra = 0;
    config.player_count = s.players;
    config.extra = 0;
    const uint8_t c = s.color & 3;
    const std::array<uint8_t, 4> colors = seat_color_order(c);
    for (SeatConfig& seat : config.seats) seat = SeatConfig{};
    config.seats[0].color = c;
    config.seats[0].kind = SEAT_HUMAN;
    config.seats[0].difficulty = s.difficulty;
    config.seats[0].name = color_name(c);
    for (int j = 0; j < 3; ++j) {
        SeatConfig& seat = config.seats[j + 1];
        if (s.slot_is_human(j)) {
            seat.kind = SEAT_HUMAN;
            seat.difficulty = s.human_difficulty[j];
        } else if (s.computer_level[j] == OPP_NONE) {
            continue;  // a switched-off opponent takes no seat
        } else {
            seat.kind = SEAT_COMPUTER;
            seat.ai_level = s.computer_level[j];
        }
        seat.color = colors[j + 1];
        seat.name = color_name(seat.color);
    }
    for (int j = 0; j < 3; ++j)
        config.opponents[j] = s.slot_is_human(j) ? OPP_NONE : static_cast<OpponentDifficulty>(s.computer_level[j]);
    config.color = c;
    return true;
}

const char* start_refusal(const NewGameConfig& config, const GameMap* map) {
    // The standard page never starts a game with every opponent switched off, whatever the map.
    if (config.mode == MODE_STANDARD &&
        std::all_of(config.opponents.begin(), config.opponents.end(), [](OpponentDifficulty o) { return o == OPP_NONE; }))
        return kNoOpponentText;
    switch (map ? set_up_fault(*map, config) : SetUpFault::None) {
    case SetUpFault::NoRival: return kNoOpponentText;
    case SetUpFault::HumanLeftOut: return kHumanLeftOutText;
    case SetUpFault::None: break;
    }
    return nullptr;
}

const char* chosen_start_refusal(const NewGameConfig& config, const AggArchive* archive) {
    // The map the game will play, chosen as the game chooses it (with no map named: the archive's demo map,
    // else the empty one); a named map that does not load is left to the game to report.
    MapSource source = MapSource::Empty;
    const GameMap map = load_game_map(config, archive, &source);
    const bool played = config.map_path.empty() || source == MapSource::ChosenMap;
    return start_refusal(config, played ? &map : nullptr);
}

}  // namespace vorn1
