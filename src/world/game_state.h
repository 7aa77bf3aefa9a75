#pragma once
// The records of a running game. Members of the saved records are declared in save order;
// members a save does not carry come last in each record and are marked.
#include <array>
#include <cstdint>
#include <string>
#include <unordered_set>
#include <utility>
#include <vector>

#include "world/new_game_config.h"

namespace vorn1 {

constexpr int MAX_PLAYERS = 4;
constexpr int ARMY_SLOTS = 5;
constexpr int ARTIFACT_SLOTS = 14;
constexpr int SPELL_COUNT = 29;
constexpr int HERO_POOL_SIZE = 36;
constexpr int CREATURE_COUNT = 28;
constexpr int ARTIFACT_COUNT = 37;
constexpr int MAX_HEROES_PER_PLAYER = 8;   // "more than 7" is full
constexpr uint8_t EMPTY_ID = 255;          // empty creature / artifact / spell slot
constexpr int FOG_DIM = 72;

// A seat owns something only when its index is 0..3; everything else (stored as -1) is neutral.
inline bool is_player_index(int p) { return p >= 0 && p < MAX_PLAYERS; }

// Order of PlayerResources.
enum ResourceIndex : int { RES_GOLD = 0, RES_WOOD, RES_ORE, RES_CRYSTAL, RES_MERCURY, RES_GEMS, RES_SULFUR, RES_COUNT };
// Order of mine, pile and campfire kinds (and of AIPlayerVars::income for the first six).
enum MineKind : uint8_t { MINE_WOOD = 0, MINE_MERCURY, MINE_ORE, MINE_SULFUR, MINE_CRYSTAL, MINE_GEMS, MINE_GOLD, MINE_KIND_COUNT };
// PlayerResources index of a mine/pile kind; -1 outside 0..6.
int resource_index_of_kind(int kind);

struct PlayerResources {
    int32_t gold = 0, wood = 0, ore = 0, crystal = 0, mercury = 0, gems = 0, sulfur = 0;

    int32_t& operator[](int i);          // ResourceIndex; out of range -> a scratch value
    int32_t operator[](int i) const;     // out of range -> 0
    bool covers(const PlayerResources& cost) const;  // every amount >= the cost's
    PlayerResources& operator+=(const PlayerResources& o);
    PlayerResources& operator-=(const PlayerResources& o);
    bool operator==(const PlayerResources&) const = default;
};

// Five creature stacks; id 255 empty.
struct Army {
    std::array<uint8_t, ARMY_SLOTS> ids{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    std::array<uint16_t, ARMY_SLOTS> counts{};

    bool slot_empty(int i) const { return ids[i] == EMPTY_ID || counts[i] == 0; }
    bool empty() const;
    int stack_count() const;
    void clear();
};

// Explored flags of one player, 72 x 72 whatever the map size; index x + 72 * y.
struct FogOfWar {
    std::array<uint8_t, FOG_DIM * FOG_DIM> explored{};

    bool is_explored(int x, int y) const;
    void set_explored(int x, int y, bool on = true);
    // Explores every tile with |dx| <= r, |dy| <= r and |dx| + |dy| <= r + r / 2.
    void reveal_radius(int x, int y, int r);
};

// Hero crest byte: low nibble class / movement kind, high nibble colour.
enum HeroClass : uint8_t { CLASS_KNIGHT = 0, CLASS_BARBARIAN = 1, CLASS_SORCERESS = 2, CLASS_WARLOCK = 3 };
constexpr uint8_t MOVE_FLAT = 1;      // movement nibble: flat terrain costs
constexpr uint8_t MOVE_SEA_X2 = 2;    // movement nibble: doubled points at sea

// One-shot visit flags of a hero (cleared when spent in battle).
enum HeroVisitFlag : uint8_t {
    VISIT_LUCK_A = 0x01, VISIT_LUCK_B = 0x02, VISIT_MORALE_2 = 0x04, VISIT_MORALE_A = 0x08,
    VISIT_MORALE_B = 0x10, VISIT_MORALE_MINUS_A = 0x20, VISIT_MORALE_MINUS_B = 0x40,
};

struct HeroState {
    uint8_t live = 0;
    int32_t x = 0, y = 0;
    int32_t owner = -1;
    uint8_t portrait = 0;                  // 0..35 (saved in the slot the save calls "faction")
    Army army;
    std::array<uint8_t, ARTIFACT_SLOTS> artifacts{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID,
                                                  EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    uint32_t experience = 0;
    uint8_t attack = 0, defense = 0, power = 0, knowledge = 0;
    uint8_t has_spellbook = 0;
    std::array<uint8_t, SPELL_COUNT> spell_charges{};
    std::string name;                      // English
    uint8_t crest = 0;                     // low nibble HeroClass / movement kind, high nibble colour
    uint8_t figure = 0;                    // written to tile byte 10 (1 when 0)
    int8_t morale = 0, luck = 0;
    uint8_t level = 0;
    std::array<uint8_t, 4> artifact_bonus{};  // attack, defense, power, knowledge; each <= 127
    uint8_t visit_flags = 0;               // HeroVisitFlag
    uint8_t on_boat = 0;
    int32_t boat_index = -1;
    uint8_t selected_at_save = 0;          // the selected hero when saved; cleared by each new day
    int32_t dest_x = -1, dest_y = -1;      // stored destination, refreshed before saves
    int32_t saved_mp = 0;                  // movement points left, refreshed before saves

    int hero_class() const { return crest & 0x0F; }
    int move_kind() const { return crest & 0x0F; }
    int color() const { return crest >> 4; }
    bool has_artifact(int id) const;
    int artifact_count(int id) const;
    int free_artifact_slot() const;        // -1 when full
    uint8_t tile_figure() const { return figure ? figure : 1; }
};

// Building bits of CastleState::buildings.
enum BuildingBit : uint16_t {
    BLD_GUILD1 = 0x1, BLD_THIEVES_GUILD = 0x2, BLD_TAVERN = 0x4, BLD_SHIPYARD = 0x8, BLD_WELL = 0x10,
    BLD_GUILD4 = 0x40, BLD_CASTLE = 0x80,
    BLD_DWELLING1 = 0x100, BLD_DWELLING2 = 0x200, BLD_DWELLING3 = 0x400, BLD_DWELLING4 = 0x800, BLD_DWELLING5 = 0x1000,
    BLD_TENT = 0x2000, BLD_GUILD2 = 0x4000, BLD_GUILD3 = 0x8000,
};
// Bit of dwelling slot 1..5; 0 for slot 0 (always built) and outside 0..5.
uint16_t dwelling_bit(int slot);
bool dwelling_built(uint16_t buildings, int slot);

struct CastleState {
    uint8_t live = 0;
    int32_t x = 0, y = 0;                   // entrance tile
    uint8_t is_castle = 0;                  // 1 castle, 0 town
    uint8_t faction = FACTION_KNIGHT;
    int32_t owner = -1;                     // 0..3, anything else neutral
    int32_t field5 = 0;
    uint8_t built_today = 0;
    std::string name;
    uint16_t buildings = 0;                 // BuildingBit set
    Army garrison;
    std::array<int32_t, 6> available{};     // creatures waiting in dwelling slots 0..5
    std::array<uint8_t, 9> guild_spells{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID,
                                        EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};  // > 28 none; slots 0-2 L1, 3-4 L2, 5-6 L3, 7-8 L4
};

struct MineState {
    uint8_t live = 0;
    int32_t x = 0, y = 0;
    uint8_t kind = 0;       // MineKind
    int32_t owner = -1;
};

// The single Dragon City and lighthouse sites.
struct MapSiteState {
    uint8_t active = 0;
    int32_t x = 0, y = 0;
    int32_t owner = -1;
};

struct TreasureChestState {
    int32_t x = 0, y = 0;
    int32_t value = 0;      // gold: 1000, 1500 or 2000 when placed
    uint8_t taken = 0;
};

struct ArtifactState {
    int32_t x = 0, y = 0;
    uint8_t artifact = EMPTY_ID;
    uint8_t taken = 0;
    uint8_t guard_kind = 0; // not saved: 1 ambush, 2 costs 2000 gold
};

struct ResourcePileState {
    int32_t x = 0, y = 0;
    uint8_t kind = 0;       // MineKind order
    int32_t amount = 0;
    uint8_t taken = 0;
};

struct MillState {
    uint8_t active = 0;
    int32_t x = 0, y = 0;
    int32_t amount = 0;
    uint8_t flag = 0;
};

struct CampfireState {
    uint8_t active = 0;
    int32_t x = 0, y = 0;
    int32_t gold = 0;
    int32_t amount = 0;
    uint8_t kind = 0;       // MineKind order; 6 gives gold only
    uint8_t taken = 0;
};

struct MonsterStackState {
    int32_t x = 0, y = 0;
    uint8_t creature = EMPTY_ID;
    int32_t count = 0;
    uint8_t removed = 0;
    uint8_t willing = 0;    // not saved: offers to join a strong hero
    uint8_t offered = 0;    // not saved: the offer was made already
};

// Guard record of one guarded tile (neutral town garrisons).
struct NeutralTownGarrison {
    uint8_t live = 0;
    int32_t x = 0, y = 0;
    std::array<uint8_t, ARMY_SLOTS> ids{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    std::array<int32_t, ARMY_SLOTS> counts{};   // squads 4 and 5 are not saved
};

struct ShrineState {
    int32_t x = 0, y = 0;
    uint8_t spell = EMPTY_ID;
};

// A creature dwelling standing on the map.
struct MapCreatureHutState {
    uint8_t live = 0;
    int32_t x = 0, y = 0;
    uint8_t creature = EMPTY_ID;
    uint8_t flag = 0;
    int32_t available = 0;
};

struct BoatState {
    uint8_t active = 0;
    int32_t x = 0, y = 0;   // -1, -1 when nowhere
    int32_t hero = -1;      // hero aboard, -1 none
    int32_t facing = 0;     // HeroDir
    int32_t owner = -1;
};

enum PoolStatus : uint8_t { POOL_FREE = 0, POOL_RETURNED = 1, POOL_IN_PLAY = 2 };

struct HeroPoolEntry {
    uint8_t faction = EMPTY_ID;             // 255 = unused entry
    std::string name;
    uint8_t kind = 0;                       // low nibble becomes the hero's class / movement nibble
    std::array<uint8_t, 4> start_skills{};  // attack, defense, power, knowledge
    Army start_army;
    int32_t start_experience = 0;
    uint8_t start_spellbook = 0;
    uint8_t status = POOL_FREE;
    int32_t last_owner = -1;
    int32_t week_returned = 0;
    Army kept_army;
    std::array<uint8_t, ARTIFACT_SLOTS> kept_artifacts{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID,
                                                       EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID,
                                                       EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    int32_t kept_experience = 0;
    uint8_t kept_spellbook = 0;
    std::array<uint8_t, SPELL_COUNT> kept_charges{};
    std::array<uint8_t, 4> kept_skills{};
    uint8_t kept_level = 0;
};

struct GameState;

struct HeroPool {
    std::array<HeroPoolEntry, HERO_POOL_SIZE> entries{};
    std::vector<int32_t> free_entries;      // pool indices that may be offered

    // Live heroes the player owns.
    static int count_player_heroes(int player, const GameState& state);
};

// Victory condition kinds.
enum VictoryKind : uint8_t {
    VICTORY_DEFEAT_ALL = 0, VICTORY_CAPTURE_TOWN = 1, VICTORY_ULTIMATE_ARTIFACT = 2, VICTORY_GATHER_GOLD = 3,
    VICTORY_DRAGON_CITY = 4, VICTORY_KILL_HERO = 5, VICTORY_SURVIVE_MONTHS = 6, VICTORY_VISIT_SITES = 7,
    // No map gives it: a goal the game has told can no longer be won, met by nobody afterwards.
    VICTORY_NO_GOAL = 8,
};

struct ScenarioVictory {
    uint8_t kind = VICTORY_DEFEAT_ALL;
    int32_t target_x = -1, target_y = -1;
    uint8_t won = 0;                        // latched once met
    // Not saved; rebuilt from the map after a load.
    std::string target_name;
    std::vector<std::pair<int32_t, int32_t>> sites;
    std::unordered_set<uint32_t> visited;   // keys (x & 255) | y << 8
    std::vector<uint8_t> site_visitors;     // by listed site: bit p when a hero of seat p has been there
    // Not saved; how the scenario began, taken again from the map's own records after a load, so that a
    // goal is met by what a seat does, never by what it held at the start. Without a map the goals that need
    // them fall back to every rival beaten, the seats in play being the rivals.
    int32_t start_target_owner = -1;        // the seat holding the town at the target
    int32_t start_dragon_owner = -1;        // the seat holding the Dragon City
    uint8_t start_holders = 0x0F;           // bit p: seat p held a town or a hero
    int32_t lord_entry = -1;                // pool entry of the hero the map placed on the target; -1 none
    int32_t lord_seat = -1;                 // his seat
    // Not saved: the seat whose side beat the hunted lord; -1 not known yet, LORD_BEATEN_BY_NOBODY when
    // he left the map by no seat's hand (a monster, his own seat).
    int32_t lord_beaten_by = -1;
    // Saved after the elimination records: the target town, or the Dragon City, has left the hands of the
    // seat that held it at the start (that seat then meets the goal by taking it back).
    uint8_t target_left_start = 0;
    uint8_t dragon_left_start = 0;
};
constexpr int32_t LORD_BEATEN_BY_NOBODY = -2;

// Per-seat variables of the computer player; 18 32-bit values in this order.
struct AIPlayerVars {
    std::array<float, 4> weights{};
    float savings = 0;
    float battle_bias = 0;
    std::array<int32_t, 6> income{};        // wood, mercury, ore, sulfur, crystal, gems
    int32_t gold_income = 0;
    std::array<int32_t, 2> reserved{};
    float wealth_ratio = 0;
    float wealth_scale = 0;
    float player_share = 0;
};
static_assert(sizeof(AIPlayerVars) == 18 * 4);

struct GameState {
    std::string map_name;
    std::string map_path;
    int32_t map_width = 72, map_height = 72;
    int32_t num_players = 0;
    std::array<uint8_t, MAX_PLAYERS> player_in_play{0xFF, 0xFF, 0xFF, 0xFF};   // 0xFF = seat not in play, else 1
    std::array<uint8_t, MAX_PLAYERS> player_color{COLOR_NONE, COLOR_NONE, COLOR_NONE, COLOR_NONE};
    std::array<uint8_t, MAX_PLAYERS> player_is_human{};
    std::array<PlayerResources, MAX_PLAYERS> resources{};
    std::array<FogOfWar, MAX_PLAYERS> fog{};
    int32_t human_castle_slot = -1;
    std::vector<CastleState> castles;
    std::vector<MineState> mines;
    MapSiteState dragon_city;
    MapSiteState lighthouse;
    std::vector<TreasureChestState> chests;
    std::vector<ArtifactState> map_artifacts;
    std::vector<ResourcePileState> resource_piles;
    std::vector<MillState> mills;
    std::vector<CampfireState> campfires;
    std::vector<MonsterStackState> monsters;
    std::vector<NeutralTownGarrison> garrisons;   // the guard records
    std::vector<ShrineState> shrines;
    std::vector<MapCreatureHutState> huts;
    std::vector<HeroState> heroes;
    std::vector<BoatState> boats;
    HeroPool pool;
    std::array<std::array<int32_t, 2>, MAX_PLAYERS> offers{{{-1, -1}, {-1, -1}, {-1, -1}, {-1, -1}}};
    ScenarioVictory victory;
    int32_t day = 1, week = 1, month = 1;
    uint8_t day_over = 0;                   // every seat has played the day; cleared by each new day
    std::array<AIPlayerVars, MAX_PLAYERS> ai_vars{};
    std::array<std::array<int32_t, MAX_PLAYERS>, 3> ai_arrays{};
    std::vector<uint32_t> visited_sites;    // keys x | y << 16
    std::vector<uint32_t> visit_count_keys; // keys (x & 1023) | (y & 1023) << 10 | (hero & 255) << 20
    std::vector<int32_t> visit_counts;      // matching visit_count_keys
    // Not saved.
    std::array<uint8_t, MAX_PLAYERS> player_ai_level{};   // AiIntelligence
    uint32_t rng_state = 0;                 // set-up and pool generator

    bool valid_hero(int h) const { return h >= 0 && h < (int)heroes.size(); }
    bool seat_active(int p) const { return is_player_index(p) && player_color[p] != COLOR_NONE; }
    // First live record at the tile; -1 when none.
    int hero_at(int x, int y) const;
    int castle_at(int x, int y) const;
    int monster_at(int x, int y) const;     // first stack there with removed clear
    int garrison_at(int x, int y) const;
    int mine_at(int x, int y) const;
    int boat_at(int x, int y) const;
};

// Result of a day turnover when a week or month starts with an event.
struct WeekEvent {
    int32_t kind = 0;           // 0 none, 1 ambient name, 2 plague, 3 creature week/month
    std::string name;
    uint8_t creature = EMPTY_ID;
    bool monthly = false;
};

// State of the new-day pause shown by the adventure map.
struct NewDayState {
    bool active = false;
    float elapsed_ms = 0;
    bool event_present = false;
    bool event_present_copy = false;
    bool month_changed = false;
    int32_t event_kind = 0;
    std::string event_name;
    uint8_t event_creature = EMPTY_ID;
    std::array<bool, MAX_PLAYERS> eliminated{};  // seats out of the game when the day turned
};

// Handed by the frame loop to the campaign victory screen.
struct CampaignCarryover {
    int32_t scenario_index = 0;
    int32_t days_played = 0;
};

struct CreatureJoinRow {
    int32_t power;
    int32_t min_count;
    int32_t max_count;
};
extern const CreatureJoinRow CREATURE_JOIN_TABLE[CREATURE_COUNT];
extern const int32_t ARTIFACT_BASE_RV[ARTIFACT_COUNT];

// Small xorshift generator (13, 17, 5); a zero seed is replaced by a fixed constant.
struct XorShift32 {
    uint32_t s;
    explicit XorShift32(uint32_t seed) : s(seed ? seed : 0x1234567u) {}
    uint32_t next() { s ^= s << 13; s ^= s >> 17; s ^= s << 5; return s; }
    int below(int n) { return n > 0 ? (int)(next() % (uint32_t)n) : 0; }
};

}  // namespace vorn1
