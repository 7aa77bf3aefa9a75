// The arithmetic of a blow: damage, losses, creature specials, retaliation, shots, breath, luck
// and good morale. Every roll is one step of the battle generator, in the order written here.
#include "battle/battle_combat.h"

#include <algorithm>

#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

const std::array<float, 41> BATTLE_STAT_CURVE = {
    0.20f, 0.20f, 0.20f, 0.20f, 0.20f, 0.21f, 0.23f, 0.25f, 0.28f, 0.31f, 0.35f, 0.39f, 0.43f, 0.48f,
    0.53f, 0.59f, 0.66f, 0.73f, 0.81f, 0.90f, 1.00f, 1.10f, 1.21f, 1.33f, 1.46f, 1.61f, 1.77f, 1.95f,
    2.14f, 2.36f, 2.59f, 2.85f, 3.14f, 3.45f, 3.80f, 4.18f, 4.59f, 5.00f, 5.00f, 5.00f, 5.00f,
};

const std::array<uint8_t, 6> SHOOTER_CREATURES = {1, 7, 10, 14, 15, 18};
const std::array<uint8_t, 3> BREATH_CREATURES = {11, 17, 23};

uint8_t hit_effect_by_attacker(uint8_t creature) {
    switch (creature) {
        case 12: case 16: return DMG_ELECTRIC;
        case 15: case 17: return DMG_REDFIRE;
        case 19: case 23: return DMG_BLUEFIRE;
        case 26: case 27: return DMG_CLOUD;
        default: return DMG_PHYSICAL;
    }
}

bool is_shooter_creature(uint8_t id) {
    return std::find(SHOOTER_CREATURES.begin(), SHOOTER_CREATURES.end(), id) != SHOOTER_CREATURES.end();
}

bool is_breath_creature(uint8_t id) {
    return std::find(BREATH_CREATURES.begin(), BREATH_CREATURES.end(), id) != BREATH_CREATURES.end();
}

int hex_dir_between(int r1, int c1, int r2, int c2) {
    for (int d = 0; d < 6; ++d) {
        int nr = 0, nc = 0;
        hex_step(r1, c1, d, nr, nc);
        if (nr == r2 && nc == c2) return d;
    }
    return -1;
}

bool is_backward_attack_rc(const BattleUnit& u, int r1, int c1, int r2, int c2) {
    if (u.creature == kHydra || (r1 == r2 && c1 == c2)) return false;
    int d = hex_dir_between(r1, c1, r2, c2);
    if (d >= 0) {
        bool left_hand = d == 0 || d == 2 || d == 4;
        return left_hand ? u.side == 0 : u.side == 1;
    }
    if (c1 == c2) return false;
    return u.side == 0 ? c2 < c1 : c2 > c1;
}

bool is_backward_attack_from(const BattleUnit& u, int c1, int r2, int c2) {
    return is_backward_attack_rc(u, u.row, c1, r2, c2);
}

bool is_backward_attack(const BattleUnit& u, int r2, int c2) { return is_backward_attack_rc(u, u.row, u.col, r2, c2); }

int creature_hp(uint8_t id) { return std::max(creature_stats(id).hp, 1); }

int reaction_frames(bool killed, int count_before, int count_now) {
    if (killed) return 9;
    return count_now < count_before ? 3 : -1;
}

namespace {
constexpr uint8_t kStatusBless = 0;
constexpr uint8_t kStatusCurse = 1;
constexpr uint8_t kStatusProtection = 3;
constexpr uint8_t kStatusAntiMagic = 7;
constexpr uint8_t kStatusBlind = 8;
constexpr uint8_t kStatusParalyze = 18;
constexpr uint8_t kPaladin = 5;
constexpr uint8_t kWolf = 8;
constexpr uint8_t kCyclops = 11;
constexpr uint8_t kSprite = 12;
constexpr uint8_t kUnicorn = 16;
constexpr uint8_t kGriffin = 20;
constexpr uint8_t kRogue = 24;
constexpr uint8_t kGhost = 26;
constexpr uint8_t kGenie = 27;

std::string fmt(const char* key, std::vector<std::string> args) { return strings().format(key, args); }

// Luck contexts of the three luck checks.
constexpr int kLuckMelee = 0;
constexpr int kLuckRanged = 1;
constexpr int kLuckRetaliation = 2;
}  // namespace

void hex_foot_point(int row, int col, int& x, int& y) {
    x = hex_row_x(row, col) + 39;
    y = row * 80 + 141;
}

void BattleScreen::play_sfx(BattleSfx kind, int creature) { emit_sfx(kind, creature, 2, battle_effect_volume(sfx_level)); }

void BattleScreen::emit_sfx(BattleSfx kind, int creature, int channel, int volume) {
    if (sfx_hook) sfx_hook(kind, creature, channel, volume);
    else if (battle_res) battle_res->play_battle_sfx(kind, creature, channel, volume);
}

// ---- damage

int BattleScreen::compute_damage(const BattleUnit& att, const BattleUnit& def, bool /*retaliation*/,
                                 uint32_t& rng_state, bool ranged, bool force_double, bool force_half) const {
    CreatureStats a = creature_stats(att.creature);
    CreatureStats d = creature_stats(def.creature);
    int base;
    if (att.spell_status == kStatusBless) base = a.max_dmg;
    else if (att.spell_status == kStatusCurse) base = a.min_dmg;
    else if (a.max_dmg - a.min_dmg <= 0) base = a.min_dmg;
    else base = a.min_dmg + roll_mod(rng_state, a.max_dmg - a.min_dmg + 1);
    int64_t total = static_cast<int64_t>(base) * att.count;

    int attack = a.attack + side(att.side).attack;
    int defence = d.defense + side(def.side).defense;
    if (def.spell_status == kStatusProtection) defence += 3;
    if (ranged && siege && def.side == 1 && att.side == 0 && att.col <= 4 && def.col >= 6 && def.row >= 0 &&
        def.row < 5 && wall_hp[def.row] > 0)
        defence += 4;

    int diff = std::clamp(attack - defence, -20, 20);
    float scaled = static_cast<float>(total) * BATTLE_STAT_CURVE[diff + 20] + 0.5f;
    int64_t dmg = scaled >= 2.0e9f ? 2000000000 : static_cast<int64_t>(scaled);
    dmg = std::max<int64_t>(dmg, 1);

    if (!ranged && a.shooter && hex_distance(att.row, att.col, def.row, def.col) <= 1) dmg >>= 1;

    if (force_double) {
        dmg *= 2;
    } else if (force_half) {
        dmg >>= 1;
    } else {
        uint32_t roll = xorshift32_next(rng_state) % 24;
        int luck = side(att.side).luck;
        if (luck > 0 && roll < static_cast<uint32_t>(2 * std::min(luck, 3))) dmg *= 2;
        else if (luck < 0 && roll < static_cast<uint32_t>(luck < -3 ? 6 : -2 * luck)) dmg >>= 1;
    }
    return static_cast<int>(std::clamp<int64_t>(dmg, 1, 2000000000));
}

bool BattleScreen::apply_damage(BattleUnit& u, int dmg) {
    int64_t hp = creature_hp(u.creature);
    int64_t pool = (static_cast<int64_t>(u.count) - 1) * hp + u.top_hp - dmg;
    if (pool <= 0) {
        u.count = 0;
        u.top_hp = 0;
        u.alive = 0;
        return true;
    }
    u.count = static_cast<int32_t>((pool + hp - 1) / hp);
    u.top_hp = static_cast<int32_t>(pool - (static_cast<int64_t>(u.count) - 1) * hp);
    if (u.disabled || u.berserk) {
        u.disabled = 0;
        u.paralysed = 0;
        u.berserk = 0;
        u.spell_status = 255;
        u.status_rounds = 0;
    }
    return false;
}

namespace {
// A Ghost grows by the creatures its blow killed.
void ghost_absorb(BattleScreen& b, BattleUnit& ghost, int count_before, const BattleUnit& victim) {
    if (ghost.creature != kGhost || !ghost.alive) return;
    int absorbed = victim.alive ? count_before - victim.count : count_before;
    if (absorbed < 1) return;
    ghost.count += absorbed;
    b.push_message(fmt("BATTLE_GHOST_ABSORB", {std::to_string(absorbed)}));
}

void fill_hit(HitRecord& h, uint8_t kind, const BattleUnit& victim, int count_before) {
    bool killed = !is_living(victim);
    h.kind = kind;
    h.killed = killed ? 1 : 0;
    h.reaction = reaction_frames(killed, count_before, victim.count);
    hex_foot_point(victim.row, victim.col, h.x, h.y);
}
}  // namespace

void BattleScreen::resolve_attack_hit(BattleUnit* att, BattleUnit* def) {
    if (!att || !def || !att->alive || !def->alive) return;
    splash.clear();
    splash_active = 0;
    int before = def->count;
    // The blow breaks paralysis, but a stack paralysed when struck cannot answer it.
    bool was_paralysed = def->paralysed != 0;

    int dmg = compute_damage(*att, *def, false, rng, false, good_luck_pending != 0, bad_luck_pending != 0);
    good_luck_pending = 0;
    bad_luck_pending = 0;
    apply_damage(*def, dmg);
    push_message(fmt("BATTLE_DOES_DAMAGE", {creature_name_nom(att->creature), std::to_string(dmg),
                                            creature_name_obj(def->creature)}));
    struck_ids.push_back(def->creature);

    if (att->creature == kGenie) {
        uint32_t roll = xorshift32_next(rng);
        if (roll % 5 == 2 && is_living(*def)) {
            int half = (before + 1) / 2;
            if (before - def->count < half) {
                def->count = before - half;
                def->top_hp = creature_hp(def->creature);
                if (def->count < 1) {
                    def->count = 0;
                    def->top_hp = 0;
                    def->alive = 0;
                }
                push_message(fmt("BATTLE_GENIE", {creature_name_obj(def->creature)}));
            }
        }
    }
    ghost_absorb(*this, *att, before, *def);

    fill_hit(hit, hit_effect_by_attacker(att->creature), *def, before);

    bool no_answer = att->creature == kSprite || att->creature == kRogue || att->creature == kHydra;
    retal_pending = !no_answer && is_living(*def) && (!def->retaliated || def->creature == kGriffin) &&
                    !was_paralysed;
    if (retal_pending && def->creature != kGriffin) def->retaliated = 1;
    retal_hit = HitRecord{};
    retal_hit.kind = hit_effect_by_attacker(def->creature);
    retal_hit.killed = 0;
    retal_hit.reaction = 3;

    if (att->creature == kHydra) {
        std::vector<BattleUnit*> victims;
        int heads[2] = {att->col, tail_col(*att)};
        int nheads = is_two_hex_creature(att->creature) ? 2 : 1;
        for (int h = 0; h < nheads; ++h) {
            for (int d = 0; d < 6; ++d) {
                int nr = 0, nc = 0;
                hex_step(att->row, heads[h], d, nr, nc);
                if (!hex_in_field(nr, nc)) continue;
                BattleUnit* v = unit_at_hex(nr, nc);
                if (!v || v == def || v == att) continue;
                if (v->side == att->side && !att->berserk) continue;
                if (std::find(victims.begin(), victims.end(), v) == victims.end()) victims.push_back(v);
            }
        }
        for (BattleUnit* v : victims) {
            int vb = v->count;
            int vd = compute_damage(*att, *v, false, rng, false, false, false);
            apply_damage(*v, vd);
            push_message(fmt("BATTLE_HYDRA_STRIKES", {creature_name_obj(v->creature), std::to_string(vd)}));
            struck_ids.push_back(v->creature);
            SplashDmgTarget t;
            t.unit = unit_index(v);
            hex_foot_point(v->row, v->col, t.x, t.y);
            t.kind = DMG_PHYSICAL;
            t.killed = is_living(*v) ? 0 : 1;
            t.reaction = reaction_frames(t.killed != 0, vb, v->count);
            t.hp = creature_hp(v->creature);
            splash.push_back(t);
        }
        splash_active = splash.empty() ? 0 : 1;
    }

    if (is_living(*def) && !creature_is_magic_immune(def->creature) && def->spell_status != kStatusAntiMagic) {
        if (att->creature == kCyclops && !roll_spell_resistance(def->creature, -2, rng)) {
            if (xorshift32_next(rng) % 100 < 20) {
                def->spell_status = kStatusParalyze;
                def->status_rounds = 3;
                def->disabled = 1;
                def->paralysed = 1;
                def->berserk = 0;
                push_message(std::string(creature_name(def->creature)) + " is paralyzed by the Cyclops!");
            }
        } else if (att->creature == kUnicorn && !roll_spell_resistance(def->creature, -1, rng)) {
            if (xorshift32_next(rng) % 100 < 20) {
                def->spell_status = kStatusBlind;
                def->status_rounds = 3;
                def->disabled = 1;
                def->paralysed = 0;
                def->berserk = 0;
                push_message(std::string(creature_name(def->creature)) + " is blinded by the Unicorn!");
            }
        }
    }
}

void BattleScreen::resolve_retaliation_hit(BattleUnit* retaliator, BattleUnit* target) {
    if (!retaliator || !target || !retaliator->alive || !target->alive) {
        retal_pending = 0;
        return;
    }
    int before = target->count;
    int dmg = compute_damage(*retaliator, *target, true, rng, false, good_luck_pending != 0, bad_luck_pending != 0);
    good_luck_pending = 0;
    bad_luck_pending = 0;
    apply_damage(*target, dmg);
    push_message(fmt("BATTLE_RETALIATES", {creature_name_nom(retaliator->creature), std::to_string(dmg)}));
    struck_ids.push_back(target->creature);
    ghost_absorb(*this, *retaliator, before, *target);
    bool killed = !is_living(*target);
    retal_hit.killed = killed ? 1 : 0;
    retal_hit.reaction = reaction_frames(killed, before, target->count);
    hex_foot_point(target->row, target->col, retal_hit.x, retal_hit.y);
    retal_pending = 0;
}

int BattleScreen::attack_frame_idx(int r1, int /*c1*/, int r2, int /*c2*/, unsigned char /*creature*/, bool& flag) {
    flag = false;
    if (r2 < r1) return 0;
    return r2 == r1 ? 1 : 2;
}

void BattleScreen::start_strike(BattleUnit& att, BattleUnit& target, int origin_col, int target_row, int target_col) {
    striker = unit_index(&att);
    struck = unit_index(&target);
    strike_dir = target.row < att.row ? 0 : (target.row == att.row ? 1 : 2);
    strike_flag = 0;
    strike_backward = is_backward_attack_rc(att, att.row, origin_col, target_row, target_col) ? 1 : 0;
    strike_timer = 0.0f;
    hit_applied = 0;
    second_strike = 0;
    setup_breath_second_target();
    double_strike = (att.creature == kPaladin || att.creature == kWolf) ? 1 : 0;
    if (check_and_start_good_luck_melee(&att, &target)) return;
    phase = ActionPhase::MeleeStrike;
    play_sfx(BattleSfx::Attack, att.creature);
    push_message(fmt("BATTLE_ATTACKS", {creature_name_nom(att.creature), creature_name_obj(target.creature)}));
}

// ---- shots

bool BattleScreen::can_shoot(const BattleUnit& u) {
    if (!is_shooter_creature(u.creature) || u.shots <= 0) return false;
    return adjacent_enemy(u.row, u.col, u.side != 0) == nullptr;
}

void BattleScreen::start_ranged_attack(BattleUnit* shooter_unit, BattleUnit* target) {
    if (!shooter_unit || !target || !shooter_unit->alive || !target->alive || target->count <= 0 ||
        shooter_unit->shots <= 0)
        return;
    shooter = unit_index(shooter_unit);
    shot_target = unit_index(target);
    shot_timer = 0.0f;
    shot_frame = 0;
    shot_drawn = 0;
    struck_ids.clear();
    if (!good_luck_pending && !bad_luck_pending && check_and_start_good_luck_ranged(shooter_unit, target)) return;
    phase = ActionPhase::Shot;
    play_sfx(BattleSfx::Shoot, shooter_unit->creature);
    push_message(fmt("BATTLE_SHOOTS", {creature_name_nom(shooter_unit->creature), creature_name_obj(target->creature)}));
}

int BattleScreen::projectile_frame_idx(const BattleUnit& s, const BattleUnit& t) {
    int dc = std::abs(t.col - s.col);
    if (t.row == s.row) return 2;
    if (t.row < s.row) return dc > 2 ? 1 : 0;
    return dc >= 3 ? 3 : 4;
}

void BattleScreen::resolve_shot_hit(BattleUnit* shooter_unit, BattleUnit* target) {
    if (!shooter_unit || !target || !shooter_unit->alive || !target->alive || target->count <= 0) return;
    int before = target->count;
    int dmg = compute_damage(*shooter_unit, *target, false, rng, true, good_luck_pending != 0, bad_luck_pending != 0);
    good_luck_pending = 0;
    bad_luck_pending = 0;
    apply_damage(*target, dmg);
    if (shooter_unit->shots > 0) --shooter_unit->shots;
    push_message(fmt("BATTLE_DOES_DAMAGE", {creature_name_nom(shooter_unit->creature), std::to_string(dmg),
                                            creature_name_obj(target->creature)}));
    struck_ids.push_back(target->creature);
    fill_hit(hit, shooter_unit->creature == 15 ? DMG_REDFIRE : DMG_PHYSICAL, *target, before);
    wince_timer = 0.0f;
    wince_frame = 0;
    phase = ActionPhase::ShotWince;
    wince_burst();
}

// ---- breath

namespace {
// The stack one hex beyond (row, col) along `dir`, other than the two fighting stacks.
int stack_beyond(BattleScreen& b, int row, int col, int dir, const BattleUnit* breather, const BattleUnit* target) {
    if (dir < 0) return -1;
    int nr = 0, nc = 0;
    hex_step(row, col, dir, nr, nc);
    if (!hex_in_field(nr, nc)) return -1;
    BattleUnit* v = b.unit_at_hex(nr, nc);
    if (!v || v == breather || v == target) return -1;
    return b.unit_index(v);
}

void find_breath_target(BattleScreen& b, BattleScreen::BreathRecord& rec, BattleUnit* br, BattleUnit* t) {
    rec = BattleScreen::BreathRecord{};
    if (!br || !t || !is_breath_creature(br->creature)) return;
    int d = hex_dir_between(br->row, br->col, t->row, t->col);
    if (d < 0 && is_two_hex_creature(br->creature)) {
        int tc = tail_col(*br);
        if (tc <= 8) d = hex_dir_between(br->row, tc, t->row, t->col);
    }
    int found = stack_beyond(b, t->row, t->col, d, br, t);
    if (found < 0 && is_two_hex_creature(t->creature)) {
        int tt = tail_col(*t);
        found = stack_beyond(b, t->row, tt, hex_dir_between(br->row, br->col, t->row, tt), br, t);
    }
    if (found >= 0) {
        rec.target = found;
        rec.active = 1;
    }
}

void land_breath(BattleScreen& b, BattleScreen::BreathRecord& rec, BattleUnit* br, BattleUnit* second,
                 bool retaliation) {
    if (!br || !second || !br->alive || !second->alive || second->count <= 0) return;
    int before = second->count;
    int dmg = b.compute_damage(*br, *second, retaliation, b.rng, false, false, false);
    b.apply_damage(*second, dmg);
    if (retaliation)
        b.push_message(fmt("BATTLE_BREATH_HITS", {creature_name_nom(br->creature), creature_name_obj(second->creature),
                                                  std::to_string(dmg)}));
    else
        b.push_message(fmt("BATTLE_ALSO_HIT", {creature_name_obj(second->creature), std::to_string(dmg)}));
    b.struck_ids.push_back(second->creature);
    fill_hit(rec.hit, hit_effect_by_attacker(br->creature), *second, before);
    rec.died = rec.hit.killed;
}
}  // namespace

void BattleScreen::setup_breath_second_target() {
    find_breath_target(*this, breath, unit_by_index(striker), unit_by_index(struck));
}

void BattleScreen::setup_breath_retal_second_target() {
    find_breath_target(*this, retal_breath, unit_by_index(struck), unit_by_index(striker));
}

void BattleScreen::resolve_breath_second_hit(BattleUnit* breather, BattleUnit* second) {
    land_breath(*this, breath, breather, second, false);
}

void BattleScreen::resolve_breath_retal_second_hit(BattleUnit* breather, BattleUnit* second) {
    land_breath(*this, retal_breath, breather, second, true);
}

// ---- luck and good morale

bool BattleScreen::check_luck(BattleUnit* u, int context) {
    if (!u) return false;
    int luck = side(u->side).luck;
    if (luck == 0) return false;
    uint32_t roll = xorshift32_next(rng) % 24;
    bool good = luck > 0;
    uint32_t limit = good ? static_cast<uint32_t>(2 * std::min(luck, 3))
                          : static_cast<uint32_t>(luck < -3 ? 6 : -2 * luck);
    if (roll >= limit) return false;
    effect_unit = unit_index(u);
    effect_timer = 0.0f;
    effect_frame = 0;
    uint8_t on_shot = context == kLuckRanged ? 1 : 0;
    uint8_t on_retal = context == kLuckRetaliation ? 1 : 0;
    if (good) {
        good_luck_shown = 1;
        good_luck_on_shot = on_shot;
        good_luck_on_retal = on_retal;
        good_luck_pending = 1;
        phase = ActionPhase::GoodLuck;
        play_sfx(BattleSfx::GoodLuck, -1);
        push_message(fmt("BATTLE_GOOD_LUCK", {creature_name_nom(u->creature)}));
    } else {
        bad_luck_shown = 1;
        bad_luck_on_shot = on_shot;
        bad_luck_on_retal = on_retal;
        bad_luck_pending = 1;
        phase = ActionPhase::BadLuck;
        play_sfx(BattleSfx::BadLuck, -1);
        push_message(fmt("BATTLE_BAD_LUCK", {creature_name_nom(u->creature)}));
    }
    return true;
}

bool BattleScreen::check_and_start_good_luck_melee(BattleUnit* striker_unit, BattleUnit*) {
    return check_luck(striker_unit, kLuckMelee);
}

bool BattleScreen::check_and_start_good_luck_ranged(BattleUnit* shooter_unit, BattleUnit*) {
    return check_luck(shooter_unit, kLuckRanged);
}

bool BattleScreen::check_and_start_good_luck_retaliation(BattleUnit* retaliator) {
    return check_luck(retaliator, kLuckRetaliation);
}

bool BattleScreen::check_and_start_good_morale(BattleUnit* u) {
    int morale = u ? side(u->side).morale : 0;
    if (!u || !is_living(*u) || morale <= 0 || xorshift32_next(rng) % 24 >= static_cast<uint32_t>(std::min(morale, 3))) {
        advance_turn();
        return false;
    }
    effect_unit = unit_index(u);
    effect_timer = 0.0f;
    effect_frame = 0;
    phase = ActionPhase::GoodMorale;
    play_sfx(BattleSfx::GoodMorale, -1);
    push_message(fmt("BATTLE_GOOD_MORALE", {creature_name_nom(u->creature)}));
    return true;
}

}  // namespace vorn1
