#pragma once
// What visiting a map object does to the game state. Each effect is one function, used both by
// the human path (apply_event_result after the object's dialog) and by the computer player's
// claiming, so the two stay equal.
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "events/event_types.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

class EventSystem;
struct RecruitResult;

// What a visit acts on; carried in EventResult::choice.
enum EventSiteKind : uint8_t {
    SITE_NONE = 0,
    SITE_MINE,
    SITE_LIGHTHOUSE,
    SITE_DRAGON_CITY,
    SITE_CHEST,
    SITE_ARTIFACT,
    SITE_RESOURCE,
    SITE_CAMPFIRE,
    SITE_DWELLING,
    SITE_SHRINE,
    SITE_MILL,
    SITE_OBELISK,
    SITE_BONUS,
    SITE_THIEVES_DEN,
    SITE_TRADING_POST,
};

// Guarded-site kinds of EventResult::site_kind.
enum GuardedSiteKind : uint8_t {
    GUARDED_DRAGON_CITY = 1,
    GUARDED_SHIPWRECK = 2,
    GUARDED_GRAVEYARD = 3,
    GUARDED_ARTIFACT = 4,
};

constexpr std::array<int, 4> GY_QTY{2, 3, 5, 10};
constexpr std::array<int32_t, 4> GY_GOLD{1000, 2000, 5000, 2000};
constexpr int32_t kPaidArtifactGold = 2000;
constexpr int32_t kAmbushValue = 5600;  // the guards of an ambushed artifact: 50 rogues
constexpr uint8_t kCreatureDragon = 23;
constexpr uint8_t kCreatureRogue = 24;
constexpr uint8_t kCreatureGhost = 26;

struct SiteGuards {
    std::array<uint8_t, ARMY_SLOTS> ids{EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID, EMPTY_ID};
    std::array<int32_t, ARMY_SLOTS> counts{};
};
// The guard army of a guarded site; a kind outside 1..4 gives five empty slots, a graveyard
// level outside 0..3 counts as 0.
SiteGuards site_guard_army(int kind, int level);

// The one-shot visit flag a luck or morale site grants; 0 for other types.
uint8_t bonus_bit_of_type(uint8_t type);

// ---- effects shared with the computer player -------------------------------------------

// Adds creatures to an army: the first slot holding the creature, else the first empty slot;
// capped at 65535. False (nothing changed) when there is no such slot or the input is invalid.
bool add_creatures_to_army(Army& army, uint8_t creature, int64_t count);

// Clears an object's tile when it lies on the map.
void clear_site_tile(GameMap& map, int x, int y);

// Each returns true when the state changed.
bool claim_mine(GameState& state, int mine, int player);
bool claim_lighthouse(GameState& state, int player);
bool claim_dragon_city(GameState& state, int player);
// Gold (or, with `as_experience`, the value less 500 as experience to the hero).
bool take_chest(GameState& state, GameMap& map, int chest, int player, int hero = -1, bool as_experience = false);
bool take_resource_pile(GameState& state, GameMap& map, int pile, int player);
bool take_campfire(GameState& state, GameMap& map, int campfire, int player);

enum class ArtifactTake : uint8_t { Taken, NoRoom, CannotPay, Invalid };
// Moves a map artifact into the hero's first free slot. A paid artifact (guard kind 2) needs
// and costs 2000 gold. With no free slot nothing is paid, taken or cleared.
ArtifactTake take_map_artifact(GameState& state, GameMap& map, int artifact_record, int hero);
// Puts an artifact into a hero's first free slot and refreshes the bonuses; false when full.
bool give_artifact(HeroState& hero, uint8_t artifact);

bool grant_visit_bonus(HeroState& hero, uint8_t bit);

bool visit_shrine(GameState& state, int shrine, int hero);
bool visit_mill(GameState& state, int mill, int player);

// What beating the guards of a guarded site gives: the Dragon City changes owner, a graveyard
// pays its level's gold, a guarded artifact goes to the hero; a shipwreck gives nothing beyond
// its mark on morale. Given once: graveyard and shipwreck lose their event, the artifact is taken
// or, when the hero has no room, left unguarded on the map. False when nothing was given.
bool grant_guarded_site_reward(GameState& state, GameMap& map, int hero, int x, int y, int kind, int level,
                               int artifact);

// Recomputes the hero's four artifact bonuses (attack, defense, power, knowledge), each <= 127.
void recalc_hero_artifact_stats(HeroState& hero);

// Display name of an artifact; none for an id outside 0..37.
std::optional<std::string> artifact_display_name(int id);

// Told when a hero gained experience: the owner of the level-up queue runs the level rule
// for that hero and queues its dialogs.
using LevelUpSink = std::function<void(int hero)>;

// Applies the outcome of a visit after its dialog closed. `garrison_full` is set when
// creatures found no place in the hero's army.
void apply_event_result(const EventResult& res, GameMap& map, GameState& state, std::vector<int>& mp_left,
                        std::vector<int>& mp_max, EventSystem& events, const LevelUpSink& levelups,
                        bool& garrison_full);

// A purchase at a map dwelling (see RecruitResult); sets no_room when the army had no slot, in
// which case the payment and the population are restored.
void apply_map_recruit_result(const RecruitResult& rr, GameMap& map, GameState& state, std::vector<int>& mp_left,
                              std::vector<int>& mp_max, EventSystem& events, bool& no_room);

// Builds a structure of a town for its owner and charges it; a new dwelling gets a week's
// growth at once. False when the build is not allowed or not affordable.
bool apply_build_result(int town, int slot, GameState& state, const GameMap& map, EventSystem& events);

}  // namespace vorn1
