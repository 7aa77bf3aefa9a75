// Round order and turn advance.

#include <algorithm>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {
constexpr uint8_t kTroll = 10;

struct QueueCandidate {
    int speed;
    int row;
    uint8_t side;
    int slot;
};
}  // namespace

int battle_effect_volume(int level) {
    if (level <= 0) return 0;
    if (level >= 10) return 128;
    return (level * 128 + 5) / 10;
}

void BattleScreen::build_turn_queue() {
    queue.clear();
    spell_cast_this_round = 0;
    if (siege) {
        catapult_shots_done = 0;
        keep_fired = 0;
        catapult_pending = (walls_down && opt_catapult_tower) ? keep_alive : 1;
    }
    std::vector<QueueCandidate> cand;
    cand.reserve(10);
    for (int slot = 0; slot < 5; ++slot) {
        for (int s = 0; s < 2; ++s) {
            BattleUnit& u = s == 0 ? attackers[slot] : defenders[slot];
            if (!is_living(u)) continue;
            int speed = creature_speed_rank(u.creature);
            if (u.spell_status == kSpellSlow) speed = 1;
            else if (u.spell_status == kSpellHaste) speed = std::min(speed + 2, 5);
            cand.push_back({speed, u.row, static_cast<uint8_t>(s), slot});
            u.retaliated = 0;
        }
    }
    std::stable_sort(cand.begin(), cand.end(), [](const QueueCandidate& a, const QueueCandidate& b) {
        if (a.speed != b.speed) return a.speed > b.speed;
        return a.row < b.row;
    });
    for (const QueueCandidate& c : cand) queue.push_back({c.side, c.slot});
    for (int i = 0; i < 10; ++i) {
        BattleUnit& u = *unit_by_index(i);
        if (is_living(u) && u.creature == kTroll && u.top_hp <= 39) u.top_hp = 40;
    }
}

void BattleScreen::end_status_spell_if_due(BattleUnit& u) {
    if (u.spell_status == 255 || u.status_rounds <= 0) return;
    if (--u.status_rounds == 0) {
        u.spell_status = 255;
        u.disabled = 0;
        u.paralysed = 0;
        u.berserk = 0;
    }
}

void BattleScreen::advance_turn() {
    if (queue.empty()) return;
    no_actor = 0;
    int n = static_cast<int>(queue.size());
    bool finished_turn = !siege_action_running;
    siege_action_running = 0;
    if (finished_turn && current >= 0 && current < n) {
        BattleUnit* done = active_unit();
        if (done && is_living(*done) && !done->disabled) end_status_spell_if_due(*done);
    }
    for (int rep = 0; rep < 2 * n + 2; ++rep) {
        ++current;
        if (current >= static_cast<int>(queue.size())) {
            build_turn_queue();
            current = 0;
            message = strings().get("BATTLE_NEW_ROUND");
            if (queue.empty()) break;
        }
        BattleUnit* s = active_unit();
        if (!s || !is_living(*s)) continue;
        if (siege) {
            if (catapult_pending == 1 && s->side == 0) {
                catapult_pending = 0;
                if (!walls_down || (opt_catapult_tower && keep_alive)) {
                    --current;
                    siege_action_running = 1;
                    start_catapult();
                    return;
                }
            }
            if (keep_alive && !keep_fired && s->side == 1) {
                keep_fired = 1;
                --current;
                siege_action_running = 1;
                if (start_keep_shot() != ActionPhase::Idle) return;
                // No attacker to aim at: the defender's turn goes ahead.
                siege_action_running = 0;
                ++current;
            }
        }
        if (s->disabled) {
            bool was_paralysed = s->paralysed != 0;
            end_status_spell_if_due(*s);
            message = std::string(creature_name(s->creature)) + (was_paralysed ? " is paralyzed!" : " is blinded!");
            continue;
        }
        uint32_t draw = xorshift32_next(rng);
        int m = side(s->side).morale;
        if (m < 0) {
            uint32_t threshold = m < -3 ? 6u : static_cast<uint32_t>(2 * -m);
            if (draw % 24 < threshold) {
                effect_unit = unit_index(s);
                effect_timer = 0.0f;
                busy = 0;
                phase_time = 0.0f;
                phase = ActionPhase::BadMorale;
                play_sfx(BattleSfx::BadMorale, -1);
                message = trf("BATTLE_BAD_MORALE", creature_name_nom(s->creature));
                return;
            }
        }
        phase_time = 0.0f;
        busy = 0;
        phase = ActionPhase::Idle;
        return;
    }
    // Nobody could act (every stack disabled): the stack left at `current` loses its turn too.
    phase_time = 0.0f;
    busy = 0;
    phase = ActionPhase::Idle;
    no_actor = 1;
}

}  // namespace vorn1
