#pragma once
// The options record the loop keeps for the whole run, and the step that puts it into effect in
// every place that keeps its own copy of an option.
#include <array>
#include <cstdint>
#include <functional>

#include "world/settings.h"

namespace vorn1 {

class BattleScreen;
class EventSystem;
class TroopMoveSystem;
struct Resources;

// Milliseconds per step of a walking hero by movement speed 0..4.
inline constexpr std::array<int, 5> hero_move_speed_ms_for_level{480, 180, 80, 30, 1};

// What the loop reads when a hero step starts.
struct MoveSpeedDefaults {
    int level = 1;
    int step_ms = 180;
    int footstep_variant = 2;  // 0 only at the slowest speed
};

// Where the copies go. Null targets are skipped; the hooks stand for other parts that keep copies of
// their own and for the mixer volumes.
struct OptionTargets {
    BattleScreen* battle = nullptr;
    EventSystem* events = nullptr;
    MoveSpeedDefaults* speed = nullptr;
    Resources* res = nullptr;  // the alternative hydra art flag
    // The troop movers of the army screens (town and hero screens, meeting window): the split option.
    std::array<TroopMoveSystem*, 2> troops{};
    std::function<void(const ControlPanelSettings&)> other_copies;
    std::function<void(int level)> music_volume;
    std::function<void(int level)> sfx_volume;
};

// Copies the options into their targets, the move speed (clamped to 0..4) into the step defaults, the
// bad-luck rule into g_zizezo_bad_luck, and, with audio on, the two volume levels.
void apply_options(const ControlPanelSettings& s, bool audio_on, OptionTargets& t);

}  // namespace vorn1
