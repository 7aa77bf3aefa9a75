// The frame of a battle: the acting stack's decision and the timed steps of every action, each
// landing its rule at a fixed frame and handing on to the next step.
#include <algorithm>
#include <climits>
#include <cmath>

#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {
constexpr float kStepMs = 450.0f;
constexpr float kStrikeFrameMs = 105.0f;
constexpr float kWinceFrameMs = 30.0f;
constexpr float kDeathMs = 15.0f;
constexpr float kShotDrawMs = 300.0f;
constexpr float kEffectFrameMs = 180.0f;
constexpr float kCatapultFrameMs = 80.0f;
constexpr float kBoulderFlightMs = 600.0f;
constexpr float kSpinMs = 110.0f;

std::string fmt(const char* key, std::vector<std::string> args) { return strings().format(key, args); }

bool wince_over(float timer, int frame, int last) {
    if (last < 0) return timer >= kWinceFrameMs;
    return frame > last;
}

// Where a shot leaves or lands: the hex's foot line centre, shifted for a two-hex creature.
void stack_anchor(const BattleUnit& u, float& x, float& y) {
    x = static_cast<float>(hex_row_x(u.row, u.col) + 39);
    y = static_cast<float>(u.row * 80 + 141);
    if (is_two_hex_creature(u.creature)) x += u.side == 1 ? 64.0f : -65.0f;
}
}  // namespace

void BattleScreen::clear_action_records() {
    move_path.clear();
    moving_unit = -1;
    move_step = 0;
    move_timer = 0.0f;
    move_sounds = 0;
    walk_clock = 0.0f;
    striker = -1;
    struck = -1;
    strike_timer = 0.0f;
    hit_applied = 0;
    double_strike = 0;
    second_strike = 0;
    breath = BreathRecord{};
    retal_breath = BreathRecord{};
    recovering = -1;
    recover_timer = 0.0f;
    hit = HitRecord{};
    wince_timer = 0.0f;
    wince_frame = 0;
    struck_ids.clear();
    splash.clear();
    splash_active = 0;
    retal_pending = 0;
    retal_timer = 0.0f;
    retal_hit_applied = 0;
    retal_hit = HitRecord{};
    dying_unit = -1;
    death_timer = 0.0f;
    shooter = -1;
    shot_target = -1;
    double_shot = 0;
    shot_timer = 0.0f;
    effect_frame = 0;
    good_luck_pending = bad_luck_pending = 0;
    good_luck_shown = good_luck_on_shot = good_luck_on_retal = 0;
    bad_luck_shown = bad_luck_on_shot = bad_luck_on_retal = 0;
    keep_destroyed_notice = 0;
    impact_timer = 0.0f;
    boulder_progress = 0.0f;
    boulder_timer = 0.0f;
    keep_arrow_timer = 0.0f;
}

void BattleScreen::remove_pending_turns(int unit) {
    if (unit < 0 || unit >= 10) return;
    uint8_t s = unit < 5 ? 0 : 1;
    int slot = unit % 5;
    size_t from = static_cast<size_t>(std::max(current + 1, 0));
    if (from >= queue.size()) return;
    queue.erase(std::remove_if(queue.begin() + static_cast<std::ptrdiff_t>(from), queue.end(),
                               [&](const TurnEntry& e) { return e.side == s && e.slot == slot; }),
                queue.end());
}

// After an action: the battle may be over; else the acting stack may act again on good morale.
// A catapult throw or keep shot hands back to the turn it interrupted.
void BattleScreen::end_action() {
    double_strike = 0;
    if (check_battle_end()) return;
    if (siege_action_running) {
        advance_turn();
        return;
    }
    check_and_start_good_morale(active_unit());
}

void BattleScreen::wince_burst() {
    std::vector<int> ids;
    for (int id : struck_ids)
        if (id >= 0) ids.push_back(id);
    struck_ids.clear();
    if (ids.empty()) return;
    int volume = battle_effect_volume(sfx_level);
    emit_sfx(BattleSfx::Wince, ids[0], 2, volume);
    int n = std::min<int>(static_cast<int>(ids.size()) - 1, 6);
    if (n <= 0) return;
    double f = 1.0 / std::sqrt(static_cast<double>(n));
    int extra = std::max(1, std::min(128, static_cast<int>(volume * f + 0.5)));
    for (int i = 0; i < n; ++i) emit_sfx(BattleSfx::Wince, ids[1 + i], 29 + i, extra);
}

// ---- walking

void BattleScreen::tick_moving(float dt) {
    move_timer += dt;
    walk_clock += dt;
    BattleUnit* u = unit_by_index(moving_unit);
    if (u && move_step < static_cast<int>(move_path.size())) {
        const HexStep& cell = move_path[move_step];
        int n = std::max({std::abs(cell.row - u->row), std::abs(cell.col - u->col), 1});
        float dur = static_cast<float>(n) * kStepMs;
        int due = std::min(static_cast<int>(move_timer / kStepMs) + 1, n);
        while (move_sounds < due) {
            play_sfx(BattleSfx::Move, u->creature);
            ++move_sounds;
        }
        if (move_timer / dur >= 1.0f) {
            u->row = cell.row;
            u->col = cell.col;
            ++move_step;
            move_timer = 0.0f;
            move_sounds = 0;
        }
        if (move_step < static_cast<int>(move_path.size())) return;
    }
    move_path.clear();
    move_step = 0;
    moving_unit = -1;
    BattleUnit* target = unit_by_index(struck);
    if (!u || !is_living(*u) || !target || !is_living(*target)) {
        struck = -1;
        advance_turn();
        return;
    }
    int origin = 0;
    int tcol = target->col;
    if (!melee_attack_origin(*u, target->row, tcol, origin)) {
        tcol = tail_col(*target);
        if (!is_two_hex_creature(target->creature) || tcol > 8 || !melee_attack_origin(*u, target->row, tcol, origin)) {
            struck = -1;
            advance_turn();
            return;
        }
    }
    start_strike(*u, *target, origin, target->row, tcol);
}

// ---- melee

void BattleScreen::tick_strike(float dt, bool retaliation) {
    float& timer = retaliation ? retal_timer : strike_timer;
    uint8_t& applied = retaliation ? retal_hit_applied : hit_applied;
    BreathRecord& br = retaliation ? retal_breath : breath;
    BattleUnit* att = unit_by_index(retaliation ? struck : striker);
    BattleUnit* vic = unit_by_index(retaliation ? striker : struck);
    timer += dt;
    int frame = static_cast<int>(timer / kStrikeFrameMs);
    int hit_frame = br.active ? 3 : 2;
    if (frame >= hit_frame) {
        if (!applied) {
            applied = 1;
            if (retaliation) resolve_retaliation_hit(att, vic);
            else resolve_attack_hit(att, vic);
        }
        if (br.active && !br.hit_applied) {
            br.hit_applied = 1;
            if (retaliation) resolve_breath_retal_second_hit(att, unit_by_index(br.target));
            else resolve_breath_second_hit(att, unit_by_index(br.target));
        }
    }
    if (timer < kStrikeFrameMs * static_cast<float>(hit_frame + 1)) return;
    applied = 0;
    br.hit_applied = 0;
    recovering = retaliation ? struck : striker;
    recover_timer = 0.0f;
    recover_dir = retaliation ? retal_dir : strike_dir;
    recover_flag = retaliation ? retal_flag : strike_flag;
    recover_backward = retaliation ? retal_backward : strike_backward;
    wince_timer = 0.0f;
    wince_frame = 0;
    if (retaliation) {
        hit = retal_hit;
        phase = ActionPhase::RetaliationWince;
    } else {
        phase = ActionPhase::TargetWince;
    }
    wince_burst();
}

bool BattleScreen::start_second_strike() {
    BattleUnit* att = unit_by_index(striker);
    BattleUnit* vic = unit_by_index(struck);
    if (!double_strike || !att || !vic || !is_living(*att) || !is_living(*vic)) return false;
    hit_applied = 0;
    strike_timer = 0.0f;
    double_strike = 0;
    second_strike = 1;
    phase = ActionPhase::MeleeStrike;
    play_sfx(BattleSfx::Attack, att->creature);
    push_message(fmt("BATTLE_STRIKES_AGAIN", {creature_name_nom(att->creature)}));
    return true;
}

void BattleScreen::tick_target_wince(float dt) {
    wince_timer += dt;
    wince_frame = static_cast<int>(wince_timer / kWinceFrameMs);
    int last = hit.reaction;
    if (breath.active) last = std::max(last, breath.hit.reaction);
    if (splash_active)
        for (const SplashDmgTarget& s : splash) last = std::max(last, s.reaction);
    if (!wince_over(wince_timer, wince_frame, last)) return;

    if (breath.active) {
        if (breath.died) remove_pending_turns(breath.target);
        breath = BreathRecord{};
    }
    if (splash_active) {
        for (int i = 0; i < 10; ++i)
            if (!is_living(*unit_by_index(i)) && unit_by_index(i)->creature != kNoCreature) remove_pending_turns(i);
        splash.clear();
        splash_active = 0;
        double_strike = 0;
    }
    BattleUnit* att = unit_by_index(striker);
    BattleUnit* vic = unit_by_index(struck);
    if (retal_pending && att && vic) {
        retal_dir = att->row < vic->row ? 0 : (att->row == vic->row ? 1 : 2);
        retal_flag = 0;
        retal_backward = is_backward_attack_rc(*vic, vic->row, vic->col, att->row, att->col) ? 1 : 0;
        setup_breath_retal_second_target();
        if (check_and_start_good_luck_retaliation(vic)) return;
        phase = ActionPhase::Retaliation;
        retal_timer = 0.0f;
        play_sfx(BattleSfx::Attack, vic->creature);
        return;
    }
    retal_pending = 0;
    if (!vic || !is_living(*vic)) {
        double_strike = 0;
        if (!vic) {
            end_action();
            return;
        }
        dying_unit = struck;
        death_timer = 0.0f;
        phase = ActionPhase::Dying;
        return;
    }
    if (start_second_strike()) return;
    end_action();
}

void BattleScreen::tick_retaliation_wince(float dt) {
    wince_timer += dt;
    wince_frame = static_cast<int>(wince_timer / kWinceFrameMs);
    int last = hit.reaction;
    if (retal_breath.active) last = std::max(last, retal_breath.hit.reaction);
    if (!wince_over(wince_timer, wince_frame, last)) return;
    if (retal_breath.active && retal_breath.died) remove_pending_turns(retal_breath.target);
    retal_breath = BreathRecord{};
    BattleUnit* att = unit_by_index(striker);
    if (att && !is_living(*att)) {
        double_strike = 0;
        dying_unit = striker;
        death_timer = 0.0f;
        phase = ActionPhase::Dying;
        return;
    }
    if (start_second_strike()) return;
    end_action();
}

// ---- shots

void BattleScreen::tick_shot(float dt) {
    BattleUnit* s = unit_by_index(shooter);
    BattleUnit* t = unit_by_index(shot_target);
    if (phase == ActionPhase::Shot) {
        shot_timer += dt;
        shot_frame = static_cast<int>(shot_timer / 75.0f);
        if (shot_timer < kShotDrawMs) return;
        if (!s || !t || !is_living(*t)) {
            shooter = shot_target = -1;
            double_shot = 0;
            if (!check_battle_end()) advance_turn();
            return;
        }
        float sx = 0, sy = 0, ex = 0, ey = 0;
        stack_anchor(*s, sx, sy);
        stack_anchor(*t, ex, ey);
        float ax = sx, ay = sy;
        if (battle_res && s->creature < 28 && battle_res->creatures[s->creature].loaded) {
            const CreatureSprites& cs = battle_res->creatures[s->creature];
            const BattleSprite* f = nullptr;
            const std::vector<BattleSprite>& atk = cs.anims[ATK];
            if (!atk.empty()) {
                const BattleSprite& a = atk[std::min<size_t>(atk.size(), 7) - 1];
                if (a.tex && a.w != 0) f = &a;
            }
            if (!f && !cs.anims[STD].empty() && cs.anims[STD][0].tex) f = &cs.anims[STD][0];
            if (f) {
                sy = ay + static_cast<float>(f->oy + f->h / 2);
                sx = s->side == 0 ? ax + static_cast<float>(f->ox + f->w) : ax - static_cast<float>(f->ox + f->w);
            }
        }
        if (battle_res && t->creature < 28 && battle_res->creatures[t->creature].loaded) {
            const std::vector<BattleSprite>& st = battle_res->creatures[t->creature].anims[STD];
            if (!st.empty() && st[0].tex && st[0].h > 0) ey += static_cast<float>(st[0].oy + st[0].h / 2);
        }
        missile_x = sx;
        missile_y = sy;
        missile_end_x = ex;
        missile_end_y = ey;
        float dx = ex - sx, dy = ey - sy;
        float dist = std::sqrt(dx * dx + dy * dy);
        if (dist > 0.0f) {
            missile_vx = 2.0f * dx / dist;
            missile_vy = 2.0f * dy / dist;
            missile_duration = dist / 2.0f;
        } else {
            missile_vx = missile_vy = 0.0f;
            missile_duration = 16.0f;
        }
        missile_elapsed = 0.0f;
        float tx = 0, ty = 0;
        stack_anchor(*t, tx, ty);
        missile_mirror = tx < ax ? 1 : 0;
        double a = std::atan2(80.0 * (t->row - s->row), static_cast<double>(tx - ax)) * 180.0 / M_PI;
        if (std::fabs(a) < 13.5) {
            missile_dir = 2;
        } else {
            static constexpr double kAngles[5] = {-63.0, -27.0, 0.0, 27.0, 63.0};
            missile_dir = 0;
            for (int i = 1; i < 5; ++i)
                if (std::fabs(a - kAngles[i]) < std::fabs(a - kAngles[missile_dir])) missile_dir = i;
        }
        phase = ActionPhase::ShotFlight;
        return;
    }
    if (phase == ActionPhase::ShotFlight) {
        missile_x += missile_vx * dt;
        missile_y += missile_vy * dt;
        missile_elapsed += dt;
        float dot = (missile_end_x - missile_x) * missile_vx + (missile_end_y - missile_y) * missile_vy;
        if (missile_elapsed < missile_duration && dot > 0.0f) return;
        missile_x = missile_end_x;
        missile_y = missile_end_y;
        if (s && t) resolve_shot_hit(s, t);
        if (phase == ActionPhase::ShotFlight) {
            shooter = shot_target = -1;
            double_shot = 0;
            if (!check_battle_end()) advance_turn();
        }
        return;
    }
    // ShotWince
    wince_timer += dt;
    wince_frame = static_cast<int>(wince_timer / kWinceFrameMs);
    if (!wince_over(wince_timer, wince_frame, hit.reaction)) return;
    if (hit.killed) {
        double_shot = 0;
        int target = shot_target;
        shooter = shot_target = -1;
        if (target >= 0) {
            dying_unit = target;
            death_timer = 0.0f;
            phase = ActionPhase::Dying;
        } else if (!check_battle_end()) {
            advance_turn();
        }
        return;
    }
    bool again = double_shot != 0;
    double_shot = 0;
    shooter = shot_target = -1;
    if (again && s && t && is_living(*s) && is_living(*t) && s->shots >= 1) {
        start_ranged_attack(s, t);
        return;
    }
    end_action();
}

// ---- luck and morale effects

void BattleScreen::tick_effects(float dt) {
    effect_timer += dt;
    effect_frame = static_cast<int>(effect_timer / kEffectFrameMs);
    if (phase == ActionPhase::BadMorale || phase == ActionPhase::GoodMorale) {
        if (effect_frame <= 9) return;
        effect_unit = -1;
        effect_frame = 0;
        effect_timer = 0.0f;
        if (phase == ActionPhase::BadMorale) {
            advance_turn();
        } else {
            busy = 0;
            phase_time = 0.0f;
            phase = ActionPhase::Idle;
        }
        return;
    }
    bool good = phase == ActionPhase::GoodLuck;
    if (good ? effect_frame <= 9 : effect_frame < 8) return;
    uint8_t& shown = good ? good_luck_shown : bad_luck_shown;
    uint8_t& on_shot = good ? good_luck_on_shot : bad_luck_on_shot;
    uint8_t& on_retal = good ? good_luck_on_retal : bad_luck_on_retal;
    uint8_t& pending = good ? good_luck_pending : bad_luck_pending;
    shown = 0;
    effect_unit = -1;
    effect_frame = 0;
    effect_timer = 0.0f;
    phase = ActionPhase::Idle;
    if (on_shot) {
        on_shot = 0;
        BattleUnit* s = unit_by_index(shooter);
        BattleUnit* t = unit_by_index(shot_target);
        shooter = shot_target = -1;
        if (s && t && is_living(*s) && is_living(*t) && s->shots > 0) {
            start_ranged_attack(s, t);
            return;
        }
    } else if (on_retal) {
        on_retal = 0;
        BattleUnit* r = unit_by_index(struck);
        BattleUnit* v = unit_by_index(striker);
        if (r && v && is_living(*r) && is_living(*v)) {
            phase = ActionPhase::Retaliation;
            retal_timer = 0.0f;
            play_sfx(BattleSfx::Attack, r->creature);
            return;
        }
    } else {
        BattleUnit* a = unit_by_index(striker);
        BattleUnit* v = unit_by_index(struck);
        if (a && v && is_living(*a) && is_living(*v)) {
            phase = ActionPhase::MeleeStrike;
            play_sfx(BattleSfx::Attack, a->creature);
            push_message(fmt("BATTLE_ATTACKS", {creature_name_nom(a->creature), creature_name_obj(v->creature)}));
            return;
        }
    }
    pending = 0;
    retal_pending = 0;
    if (!check_battle_end()) advance_turn();
}

// ---- siege

void BattleScreen::run_boulder_flight(float dt) {
    boulder_timer += dt;
    boulder_progress = std::min(boulder_timer / kBoulderFlightMs, 1.0f);
    float p = boulder_progress;
    float height = boulder_timer > kBoulderFlightMs ? 0.0f : 520.0f * p * (1.0f - p);
    boulder_x = boulder_start_x + (boulder_end_x - boulder_start_x) * p;
    boulder_y = boulder_start_y + (boulder_end_y - boulder_start_y) * p - height;
    boulder_spin_timer += dt;
    while (boulder_spin_timer >= kSpinMs) {
        boulder_spin_timer -= kSpinMs;
        boulder_spin = (boulder_spin + 1) % 3;
    }
}

void BattleScreen::tick_siege(float dt) {
    switch (phase) {
        case ActionPhase::CatapultThrow: {
            catapult_timer += dt;
            catapult_frame = std::min(static_cast<int>(catapult_timer / kCatapultFrameMs), 14);
            if (catapult_frame >= 7) {
                if (boulder_progress == 0.0f && boulder_timer == 0.0f) {
                    boulder_start_x = static_cast<float>(catapult_pos[0] + 50);
                    boulder_start_y = static_cast<float>(catapult_pos[1] - 60);
                    if (catapult_target >= 0) {
                        boulder_end_x = (catapult_target & 1) ? 417.0f : 378.0f;
                        boulder_end_y = static_cast<float>(catapult_target * 80 + 81);
                    } else {
                        boulder_end_x = 590.0f;
                        boulder_end_y = 132.0f;
                    }
                    boulder_spin = 0;
                    boulder_spin_timer = 0.0f;
                }
                run_boulder_flight(dt);
            }
            if (catapult_frame >= 14 || boulder_progress >= 1.0f) phase = ActionPhase::BoulderFlight;
            return;
        }
        case ActionPhase::BoulderFlight: {
            if (boulder_progress < 1.0f) run_boulder_flight(dt);
            if (boulder_progress < 1.0f) return;
            play_sfx(BattleSfx::BoulderImpact, -1);
            if (catapult_target >= 0) {
                xorshift32_next(rng);
                apply_wall_damage(catapult_target, 1 + static_cast<int>(rng & 1u));
                impact_last_frame = wall_hp[catapult_target] > 0 ? 3 : 9;
                impact_x = (catapult_target & 1) ? 417 : 378;
                impact_y = catapult_target * 80 + 141;
            } else {
                // A throw at the keep brings it down: nothing else ever could.
                keep_alive = 0;
                keep_destroyed_notice = 0;
                push_message(strings().get("BATTLE_KEEP_DESTROYED"));
                impact_last_frame = 3;
                impact_x = static_cast<int>(boulder_end_x);
                impact_y = static_cast<int>(boulder_end_y) + 60;
            }
            ++catapult_shots_done;
            boulder_timer = 0.0f;
            boulder_progress = 0.0f;
            catapult_timer = 0.0f;
            impact_timer = 0.0f;
            impact_frame = 0;
            phase = ActionPhase::SiegeShotDone;
            return;
        }
        case ActionPhase::SiegeShotDone: {
            impact_timer += dt;
            impact_frame = static_cast<int>(impact_timer / kWinceFrameMs);
            if (impact_frame <= impact_last_frame) return;
            if (catapult_shots_done >= catapult_shots) {
                phase = ActionPhase::Idle;
                advance_turn();
            } else {
                start_catapult();
            }
            return;
        }
        case ActionPhase::KeepShot: {
            keep_arrow_timer += dt;
            float f = keep_arrow_duration > 0.0f ? keep_arrow_timer / keep_arrow_duration : 1.0f;
            float g = std::min(f, 1.0f);
            keep_arrow_x = keep_arrow_start_x + (keep_arrow_end_x - keep_arrow_start_x) * g;
            keep_arrow_y = keep_arrow_start_y + (keep_arrow_end_y - keep_arrow_start_y) * g;
            if (f < 1.0f) return;
            BattleUnit* t = keep_target >= 0 && keep_target < 5 ? &attackers[keep_target] : nullptr;
            keep_arrow_timer = 0.0f;
            if (!t || !is_living(*t)) {
                keep_target = -1;
                phase = ActionPhase::Idle;
                if (!check_battle_end()) advance_turn();
                return;
            }
            int dmg = 10 + static_cast<int>(xorshift32_next(rng) % 11);
            int before = t->count;
            bool killed = apply_damage(*t, dmg);
            push_message(fmt("BATTLE_KEEP_FIRES", {creature_name_obj(t->creature), std::to_string(dmg)}));
            play_sfx(BattleSfx::Wince, t->creature);
            hit.kind = castle == 1 ? DMG_REDFIRE : DMG_PHYSICAL;
            hex_foot_point(t->row, t->col, hit.x, hit.y);
            hit.killed = killed ? 1 : 0;
            hit.reaction = reaction_frames(killed, before, t->count);
            wince_timer = 0.0f;
            wince_frame = 0;
            retal_pending = 0;
            if (killed) {
                striker = -1;
                struck = keep_target;
                phase = ActionPhase::TargetWince;
            } else {
                double_shot = 0;
                shooter = shot_target = -1;
                phase = ActionPhase::ShotWince;
            }
            return;
        }
        default:
            return;
    }
}

// ---- the machine

void BattleScreen::tick_combat(float dt) {
    if (recovering >= 0) {
        recover_timer += dt;
        BattleUnit* r = unit_by_index(recovering);
        float hold = (r && (r->creature == 11 || r->creature == 17 || r->creature == 23)) ? 525.0f : 315.0f;
        if (!r || !is_living(*r) || recover_timer >= hold) recovering = -1;
    }
    switch (phase) {
        case ActionPhase::Idle: return;
        case ActionPhase::Moving: tick_moving(dt); return;
        case ActionPhase::MeleeStrike: tick_strike(dt, false); return;
        case ActionPhase::Retaliation: tick_strike(dt, true); return;
        case ActionPhase::TargetWince: tick_target_wince(dt); return;
        case ActionPhase::RetaliationWince: tick_retaliation_wince(dt); return;
        case ActionPhase::Dying:
            death_timer += dt;
            if (death_timer < kDeathMs) return;
            remove_pending_turns(dying_unit);
            dying_unit = -1;
            death_timer = 0.0f;
            end_action();
            return;
        case ActionPhase::Shot:
        case ActionPhase::ShotFlight:
        case ActionPhase::ShotWince: tick_shot(dt); return;
        case ActionPhase::GoodLuck:
        case ActionPhase::BadLuck:
        case ActionPhase::GoodMorale:
        case ActionPhase::BadMorale: tick_effects(dt); return;
        case ActionPhase::CatapultThrow:
        case ActionPhase::BoulderFlight:
        case ActionPhase::SiegeShotDone:
        case ActionPhase::KeepShot: tick_siege(dt); return;
        default: tick_spell_phase(*this, dt); return;
    }
}

// ---- the frame's decision

void BattleScreen::berserk_turn(BattleUnit& u) {
    busy = 1;
    push_message(std::string(creature_name(u.creature)) + " is berserk!");
    BattleUnit* target = nullptr;
    int best = INT_MAX;
    for (int i = 0; i < 10; ++i) {
        BattleUnit* o = unit_by_index(i);
        if (o == &u || !is_living(*o)) continue;
        int d = hex_distance(u.row, u.col, o->row, o->col);
        if (d < best) {
            best = d;
            target = o;
        }
    }
    if (!target) {
        advance_turn();
        return;
    }
    bool adjacent = best == 1 ||
                    (is_two_hex_creature(u.creature) && hex_distance(u.row, tail_col(u), target->row, target->col) == 1);
    if (adjacent) {
        striker = unit_index(&u);
        struck = unit_index(target);
        bool flag = false;
        strike_dir = attack_frame_idx(u.row, u.col, target->row, target->col, u.creature, flag);
        strike_flag = flag ? 1 : 0;
        strike_backward = is_backward_attack(u, target->row, target->col) ? 1 : 0;
        strike_timer = 0.0f;
        hit_applied = 0;
        double_strike = 0;
        setup_breath_second_target();
        phase = ActionPhase::MeleeStrike;
        play_sfx(BattleSfx::Attack, u.creature);
        push_message(fmt("BATTLE_BERSERK_ATTACKS", {creature_name_nom(u.creature), creature_name_obj(target->creature)}));
        return;
    }
    int range = battle_move_range(u);
    bool flyer = creature_can_fly(u.creature);
    int hexes[2] = {target->col, tail_col(*target)};
    int nhex = is_two_hex_creature(target->creature) ? 2 : 1;
    int best_dist = INT_MAX;
    std::vector<HexStep> best_path;
    for (int h = 0; h < nhex; ++h) {
        for (int d = 0; d < 6; ++d) {
            int nr = 0, nc = 0;
            hex_step(target->row, hexes[h], d, nr, nc);
            if (!hex_in_field(nr, nc)) continue;
            bool takes = flyer ? flyer_landing_col(u, nr, nc) >= 0 : can_occupy(u, nr, nc);
            int dist = hex_distance(u.row, u.col, nr, nc);
            if (!takes || dist > range || dist >= best_dist) continue;
            std::vector<HexStep> p = find_path(u, nr, nc);
            if (p.empty()) continue;
            best_dist = dist;
            best_path = std::move(p);
        }
    }
    if (best_path.empty()) {
        advance_turn();
        return;
    }
    walk_to(u, std::move(best_path), unit_index(target));
}

void BattleScreen::tick(float dt) {
    if (!active) return;
    battle_clock += dt;
    phase_time += dt;
    if (phase_time >= 1000.0f) phase_time -= 1000.0f;
    if (overlay == BattleOverlay::Result) {
        tick_result_screen(dt);
        return;
    }
    if (overlay == BattleOverlay::CreatureView) {
        const BattleUnit* iu = unit_by_index(inspected_unit);
        if (iu && iu->creature <= 27 && battle_res && battle_res->creatures[iu->creature].loaded) {
            const auto& std_frames = battle_res->creatures[iu->creature].anims[STD];
            if (!std_frames.empty())
                view_frame = static_cast<int>(battle_clock / 125.0f) % static_cast<int>(std_frames.size());
        }
    }
    BattleUnit* u = active_unit();
    if (phase == ActionPhase::Idle && !busy && no_actor) {
        // Every stack lost its turn: the one left at the queue index does not act either.
        advance_turn();
    } else if (phase == ActionPhase::Idle && !busy && u && is_living(*u)) {
        if (u->berserk) {
            berserk_turn(*u);
            return;
        }
        bool human = u->side <= 1 && control.human[u->side];
        bool auto_on = u->side == 0 ? auto_attacker : auto_defender;
        // Sides that no player plays fight by the automatic-combat rules.
        if (!human || (auto_engaged && auto_on)) run_autobattle_turn(u);
    }
    tick_combat(dt);
}

}  // namespace vorn1
