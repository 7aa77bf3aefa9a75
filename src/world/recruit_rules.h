#pragma once
// What a town's dwellings produce, what creatures cost, and the purchase of creatures in a town.
#include <array>
#include <cstdint>

#include "world/game_state.h"

namespace vorn1 {

constexpr int kDwellingSlots = 6;
constexpr int32_t kMaxStackCount = 65535;  // army counts are 16-bit

// Creature prices use their own resource order; values move to and from PlayerResources by name.
struct CreatureCost {
    int32_t gold = 0;
    int32_t wood = 0;
    int32_t ore = 0;
    int32_t mercury = 0;
    int32_t sulfur = 0;
    int32_t crystal = 0;
    int32_t gems = 0;
    bool operator==(const CreatureCost&) const = default;
};

struct RecruitResult {
    int32_t castle = -1;    // town index; -1 at a map dwelling
    int32_t dwelling = -1;  // dwelling slot 0..5 of that town; -1 at a map dwelling
    uint8_t creature = 255;
    int32_t count = 0;
    CreatureCost cost;      // price of the whole purchase
    int32_t site_x = -1;
    int32_t site_y = -1;
    int32_t hero = -1;      // visiting hero at a map dwelling; -1 for a town
};

extern const std::array<int32_t, CREATURE_COUNT> CREATURE_GOLD_COST;
extern const std::array<std::array<int32_t, kDwellingSlots>, 4> WEEKLY_GROWTH;
extern const std::array<std::array<int32_t, kDwellingSlots>, 4> AI_GROWTH_BONUS_SMART;
extern const std::array<std::array<int32_t, kDwellingSlots>, 4> AI_GROWTH_BONUS_GENIUS;
extern const std::array<std::array<uint8_t, kDwellingSlots>, 4> FACTION_SLOT_CREATURE;

// The same amounts in the treasury's order, and back.
PlayerResources creature_cost_as_resources(const CreatureCost& cost);
CreatureCost creature_cost_from_resources(const PlayerResources& res);
// True when the treasury holds at least each amount of the cost.
bool can_pay_cost(const PlayerResources& treasury, const CreatureCost& cost);

// One creature's price; ids above 27 cost nothing.
CreatureCost creature_recruit_cost(uint8_t creature);
// The price of `count` creatures (each amount times count, saturating at the 32-bit maximum).
// Wood and ore stay 0, as no creature costs them.
CreatureCost creature_cost_for_count(uint8_t creature, int count);

// Faction bytes above 3 read the knight row.
int dwelling_weekly_growth(uint8_t faction, int slot);
// 0 unless the faction is 0..3 and the level is 3 (Smart) or 4 (Genius).
int ai_growth_bonus(uint8_t ai_level, uint8_t faction, int slot);
// Base growth, +2 with a well, plus the computer-level bonus for factions 0..3.
int dwelling_effective_growth(uint8_t faction, int slot, bool well, uint8_t ai_level);
// Creature id of a dwelling slot; -1 for a slot outside 0..5.
int dwelling_slot_creature(uint8_t faction, int slot);

// The computer level used for a town's growth: its owner seat's level, 0 for a neutral town.
uint8_t castle_owner_ai_level(const GameState& game, const CastleState& castle);
// Effective growth of a town's slot for its well and owner; 0 for a dwelling not built.
int town_slot_growth(const GameState& game, const CastleState& castle, int slot);
// New game: each live town's available counts become its growth (0 for dwellings not built).
void set_town_available_counts(GameState& game);
// New week: each live town's built dwellings gain their growth (saturating, never wrapping).
void add_town_weekly_growth(GameState& game);

// How many creatures a purchase may take: bounded by `available` and by the paying treasury.
// The treasury is the owner of town `castle`, else (castle -1 or out of range) the owner of hero
// `hero`; 0 when there is no such owner.
int max_affordable(const GameState& game, int castle, int hero, int available, const CreatureCost& unit);

// Carries out a town purchase. no_room is true only when the garrison has no slot for the creature
// (or the creature's stack is already full); nothing is paid then.
void apply_recruit_result(const RecruitResult& r, GameState& game, bool& no_room);

}  // namespace vorn1
