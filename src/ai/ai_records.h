#pragma once
// The records every part of the computer player shares, its decision log and the removal of a beaten hero.
// The per-seat variable block AIPlayerVars lives in GameState (world/game_state.h) and is saved with it.
#include <cstdint>
#include <string>

#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

// Kinds of target; the log prints ai_object_type_name.
enum AIObjectType : uint8_t {
    AIO_REINFORCE_CASTLE = 1,
    AIO_ATTACK_CASTLE = 2,
    AIO_NEUTRAL_CASTLE = 3,
    AIO_VISIT_OWN_HERO = 4,
    AIO_ATTACK_HERO = 5,
    AIO_MINE = 6,
    AIO_DRAGON_CITY = 7,
    AIO_LIGHTHOUSE = 8,
    AIO_CHEST = 9,
    AIO_ARTIFACT = 10,
    AIO_RESOURCE = 11,
    AIO_CAMPFIRE = 12,
    AIO_MONSTER = 13,
    AIO_OBELISK = 14,
};
const char* ai_object_type_name(int type);

struct AIMapObject {
    int32_t x = -1, y = -1;
    AIObjectType type = static_cast<AIObjectType>(0);
    int32_t index = -1;       // into the state's list for the kind; -1 where there is none
    bool guarded = false;     // a fight or a contested owner stands in the way
};

// A town of the player that an enemy hero threatens.
struct DangerCastle {
    int32_t x = 0, y = 0;
};

// "Red", "Green", "Blue", "Yellow" by the seat's colour byte; "None" otherwise.
const char* ai_player_color_name(const GameState& state, int player);
// One line "[AI] <colour> - <text>" on the standard error stream.
void ai_log(const GameState& state, int player, const char* fmt, ...) __attribute__((format(printf, 3, 4)));
// With a string given, the lines are appended to it instead (replays compare logs); null restores stderr.
void ai_log_capture(std::string* capture);

// Skill class of a seat for the predictions: Dumb 0 .. Genius 3; None and seats outside 0..3 count as 1.
int ai_skill_class(const GameState& state, int player);

// Day index of the calendar: day 1 of week 1 of month 1 is 1.
int ai_day_index(const GameState& state);

// A beaten hero leaves the map: tile marks cleared, not live, army emptied; it does not go back to the pool.
// `by_seat` is the seat whose side beat him (-1 a monster or a neutral guard), noted for the hunted lord.
void dismiss_hero(GameState& state, GameMap& map, int hero, int by_seat);

}  // namespace vorn1
