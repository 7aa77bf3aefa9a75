#pragma once
// The control panel's settings: the front end's panel edits them, the loop puts them into effect.
#include <cstdint>

namespace vorn1 {

// Edited in place by the control panel; never stored on disk. Fields in the panel's order.
struct ControlPanelSettings {
    int32_t music_level = 5;
    int32_t sfx_level = 4;
    int32_t move_speed = 1;
    bool autosave = false;
    bool show_path = true;
    bool view_enemy_moves = true;
    bool ab_spells = true;
    bool stack_split = true;
    bool alt_hydra = false;
    bool build_status = true;
    bool hex_outline = true;
    bool ab_resolver = true;
    bool enable_trade = false;
    bool hero_horse = false;
    bool bad_luck = false;
    bool catapult_tower = false;
};

}  // namespace vorn1
