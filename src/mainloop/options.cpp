#include "mainloop/options.h"

#include <algorithm>

#include "assets/resources.h"
#include "battle/battle_screen.h"
#include "battle/morale_luck.h"
#include "events/event.h"
#include "town/troop_move.h"

namespace vorn1 {

void apply_options(const ControlPanelSettings& s, bool audio_on, OptionTargets& t) {
    if (t.battle) {
        t.battle->opt_ab_spells = s.ab_spells;
        t.battle->opt_hex_outline = s.hex_outline;
        t.battle->opt_hero_horse = s.hero_horse;
        t.battle->opt_catapult_tower = s.catapult_tower;
    }
    for (TroopMoveSystem* troops : t.troops)
        if (troops) troops->allow_split_into_empty = s.stack_split;
    if (t.res) t.res->alt_hydra = s.alt_hydra;
    if (t.events) t.events->trade_enabled = s.enable_trade;
    if (t.other_copies) t.other_copies(s);
    g_zizezo_bad_luck = s.bad_luck;
    if (t.speed) {
        const int level = std::clamp(s.move_speed, 0, 4);
        t.speed->level = level;
        t.speed->step_ms = hero_move_speed_ms_for_level[level];
        t.speed->footstep_variant = level <= 0 ? 0 : 2;
    }
    if (audio_on) {
        if (t.music_volume) t.music_volume(s.music_level);
        if (t.sfx_volume) t.sfx_volume(s.sfx_level);
    }
}

}  // namespace vorn1
