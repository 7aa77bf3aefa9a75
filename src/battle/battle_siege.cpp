// The wall, the catapult's aim and the keep's aim in a town siege.
#include <cmath>

#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "battle/hex_field.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

// Creature whose shot sound the keep uses, by town kind.
const std::array<uint8_t, 4> KEEP_SHOOT_SFX_ID = {1, 15, 7, 18};

bool BattleScreen::all_walls_down() const {
    for (int hp : wall_hp)
        if (hp > 0) return false;
    return true;
}

void BattleScreen::apply_wall_damage(int section, int damage) {
    if (section < 0 || section > 4) return;
    wall_hp[section] -= damage;
    if (wall_hp[section] <= 0) {
        wall_hp[section] = 0;
        push_message(strings().get("BATTLE_BALLISTA_SECTION"));
        if (all_walls_down()) {
            walls_down = 1;
            push_message(strings().get("BATTLE_WALLS_FALLEN"));
        }
    } else if (wall_hp[section] == 1) {
        push_message(strings().get("BATTLE_BALLISTA_WALL"));
    }
}

void BattleScreen::start_catapult() {
    catapult_target = -1;
    if (!walls_down) {
        std::array<int, 5> standing{};
        int n = 0;
        for (int r = 0; r < 5; ++r)
            if (wall_hp[r] > 0) standing[n++] = r;
        if (n > 0) catapult_target = standing[xorshift32_next(rng) % static_cast<uint32_t>(n)];
    } else if (!(opt_catapult_tower && keep_alive)) {
        catapult_pending = 0;
        phase = ActionPhase::Idle;
        advance_turn();
        return;
    }
    phase = ActionPhase::CatapultThrow;
    catapult_timer = 0.0f;
    catapult_frame = 0;
    boulder_progress = 0.0f;
    boulder_timer = 0.0f;
    play_sfx(BattleSfx::Catapult, -1);
}

ActionPhase BattleScreen::start_keep_shot() {
    std::array<int, 5> cand{};
    int n = 0;
    for (int i = 0; i < 5; ++i)
        if (is_living(attackers[i])) cand[n++] = i;
    if (n == 0) {
        keep_target = -1;
        phase = ActionPhase::Idle;
        return ActionPhase::Idle;
    }
    keep_target = cand[xorshift32_next(rng) % static_cast<uint32_t>(n)];
    const BattleUnit& t = attackers[keep_target];
    keep_arrow_start_x = 600.0f;
    keep_arrow_start_y = 122.0f;
    keep_arrow_end_x = static_cast<float>(hex_row_x(t.row, t.col) + 39);
    keep_arrow_end_y = static_cast<float>(t.row * 80 + 101);
    float dx = keep_arrow_end_x - keep_arrow_start_x;
    float dy = keep_arrow_end_y - keep_arrow_start_y;
    double angle = std::atan2(static_cast<double>(dy), static_cast<double>(-dx)) * 180.0 / M_PI;
    keep_arrow_frame = angle < 30.0 ? 1 : (angle < 60.0 ? 2 : 3);
    keep_arrow_x = keep_arrow_start_x;
    keep_arrow_y = keep_arrow_start_y;
    keep_arrow_timer = 0.0f;
    keep_arrow_duration = std::sqrt(dx * dx + dy * dy);
    int sound_creature = (castle >= 0 && castle <= 3) ? KEEP_SHOOT_SFX_ID[castle] : 1;
    play_sfx(BattleSfx::KeepShoot, sound_creature);
    phase = ActionPhase::KeepShot;
    return ActionPhase::KeepShot;
}

}  // namespace vorn1
