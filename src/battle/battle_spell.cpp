// Combat spells: aiming, resolution, the area and field-wide strikes and the spell phases.
#include "battle/battle_spell.h"

#include <algorithm>

#include "battle/battle_auto.h"
#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "lang/runtime_strings.h"
#include "world/spell_table.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {
constexpr float kCastFrameMs = 75.0f;
constexpr float kHitFrameMs = 30.0f;
constexpr float kOverlayStepMs = 80.0f;
constexpr float kTeleportMs = 200.0f;
constexpr uint8_t kDragon = 23;
constexpr uint8_t kGhost = 26;

struct SpellRow {
    int8_t sound;  // battle spell sound index, -1 none
    int8_t anim;   // spell-effect animation kind, -1 none
    const char* news;  // text after the creature's name when the status lands, null none
};

SpellRow spell_row(int spell) {
    switch (spell) {
        case kSpellBless: return {8, 6, " is blessed!"};
        case kSpellCurse: return {10, 5, " is cursed!"};
        case kSpellDispel: return {13, -1, nullptr};
        case kSpellProtection: return {9, 0, " is protected!"};
        case kSpellSlow: return {6, 1, " is slowed!"};
        case kSpellAntiMagic: return {12, 6, " has anti-magic!"};
        case kSpellBlind: return {7, 1, " is blinded!"};
        case kSpellCure: return {3, -1, nullptr};
        case kSpellHaste: return {5, 4, " is hastened!"};
        case kSpellLightning: return {1, -1, nullptr};
        case kSpellTurnUndead: return {11, 7, nullptr};
        case kSpellBerserker: return {14, 0, " is berserk!"};
        case kSpellFireball: return {0, -1, nullptr};
        case kSpellParalyze: return {18, 2, " is paralyzed!"};
        case kSpellResurrect: return {13, 3, nullptr};
        case kSpellStorm: return {16, -1, nullptr};
        case kSpellTeleport: return {12, -1, nullptr};
        case kSpellArmageddon: return {15, -1, nullptr};
        case kSpellMeteor: return {17, -1, nullptr};
        default: return {-1, -1, nullptr};
    }
}

void cast_sound(BattleScreen& b, int spell) {
    SpellRow row = spell_row(spell);
    if (row.sound >= 0 && b.battle_res) b.battle_res->play_spell_sfx(row.sound, battle_effect_volume(b.sfx_level));
}

void resist_notice(BattleScreen& b, const BattleUnit& u, bool by_table_name) {
    b.emit_sfx(BattleSfx::SpellFizzle, -1, 2, battle_effect_volume(b.sfx_level));
    if (by_table_name) {
        const char* name = u.creature < kCreatureCount ? creature_name(u.creature) : "Unknown";
        b.push_message(std::string("The ") + name + " resist the spell.");
    } else {
        b.push_message(strings().format("BATTLE_RESIST", {creature_name_nom(u.creature)}));
    }
}

SpellDmgTarget hit_entry(const BattleScreen& b, const BattleUnit& u, bool died, uint8_t kind) {
    SpellDmgTarget t;
    BattleScreen::hex_to_screen(u.row, u.col, t.x, t.y);
    t.x += 39;
    t.y += 79;
    t.killed = died ? 1 : 0;
    t.frames = died ? 9 : 3;
    t.kind = kind;
    t.unit = died ? -1 : b.unit_index(&u);
    return t;
}

// Damage of a spell on one stack, with its hit entry; false when the stack was not there to strike.
bool strike(BattleScreen& b, BattleUnit& u, int damage, uint8_t kind) {
    if (!is_living(u)) return false;
    bool died = b.apply_damage(u, damage);
    b.spells.hits.push_back(hit_entry(b, u, died, kind));
    return true;
}

// The creature a hit names: its stack's, or for a stack that died the one standing at the hit's point.
int hit_creature(const BattleScreen& b, const SpellDmgTarget& t) {
    if (const BattleUnit* u = b.unit_by_index(t.unit)) return u->creature;
    for (int i = 0; i < 10; ++i) {
        const BattleUnit& u = *b.unit_by_index(i);
        if (u.creature == kNoCreature) continue;
        int x = 0, y = 0;
        BattleScreen::hex_to_screen(u.row, u.col, x, y);
        if (x + 39 == t.x && y + 79 == t.y) return u.creature;
    }
    return -1;
}

void play_hit_wince(BattleScreen& b) {
    if (b.spells.hits.empty()) return;
    const int creature = hit_creature(b, b.spells.hits[0]);
    if (creature >= 0) b.emit_sfx(BattleSfx::Wince, creature, 2, battle_effect_volume(b.sfx_level));
}

// Lightning Bolt's wince waits for the bolt to strike (the phase plays it); other hits wince at once.
void start_spell_dmg_anim(BattleScreen& b) {
    b.spells.hit_timer = 0.0f;
    b.spells.hit_frame = 0;
    b.spells.hit_wince_played = 0;
    if (b.spell_id != kSpellLightning) play_hit_wince(b);
    b.phase = ActionPhase::SpellDamageAnim;
}

void end_aim(BattleScreen& b) {
    // The request for a target goes with the aim; a message of the cast itself stays.
    if (!b.spells.prompt.empty() && b.message == b.spells.prompt) b.message.clear();
    b.spells.prompt.clear();
    b.spell_aiming = 0;
    b.spells.aim_spell = -1;
    b.spells.teleport_unit = -1;
    b.spells.hover_row = b.spells.hover_col = -1;
}

// The stack's turn survives a hero's spell: the phase returns to Idle and the stack acts next tick.
void finish_hero_spell(BattleScreen& b) {
    b.phase = ActionPhase::Idle;
    b.spells.cast_target = -1;
    b.spells.cast_timer = 0.0f;
    b.spells.cast_frame = 0;
    b.spells.cast_kind = -1;
    b.spell_id = -1;
    b.phase_time = 0.0f;
    b.busy = 0;
    b.check_battle_end();
}

// Everything a cast on one stack shares, after its charge has been dealt with.
void begin_stack_cast(BattleScreen& b, int spell, int target) {
    cast_sound(b, spell);
    b.spells.cast_target = target;
    b.spells.cast_kind = spell >= 20 ? -1 : spell_row(spell).anim;
    b.spells.cast_frame = 0;
    b.spells.cast_timer = 0.0f;
    b.spell_cast_this_round = 1;
    end_aim(b);
    b.spell_id = spell;
    b.phase = ActionPhase::SpellCast;
}

void cast_on_stack(BattleScreen& b, int spell, int target) {
    spend_spell_charge(b, spell);
    begin_stack_cast(b, spell, target);
}

void begin_area_cast(BattleScreen& b, int spell, int row, int col) {
    cast_sound(b, spell);
    spend_spell_charge(b, spell);
    b.spell_cast_this_round = 1;
    end_aim(b);
    b.ensure_splash_icns_loaded();
    b.spells.area_row = row;
    b.spells.area_col = col;
    b.spells.cast_kind = -2;
    b.spells.area_timer = 0.0f;
    b.spells.area_frame = 0;
    b.spells.cast_timer = 0.0f;
    b.spells.cast_target = -1;
    b.spell_id = spell;
    b.phase = ActionPhase::SpellCast;
}

void cast_lightning(BattleScreen& b, BattleUnit* target) {
    cast_sound(b, kSpellLightning);
    b.spells.hits.clear();
    if (target) strike(b, *target, 25 * battle_spell_power(b, b.casting_side), DMG_ELECTRIC);
    b.spell_id = kSpellLightning;
    start_spell_dmg_anim(b);
}

void start_mass_spell(BattleScreen& b, int spell) {
    cast_sound(b, spell);
    spend_spell_charge(b, spell);
    end_aim(b);
    if (spell == kSpellDispel || spell == kSpellCure) {
        apply_aoe_spell(b, spell);
        b.spell_cast_this_round = 1;
        return;
    }
    b.spell_id = spell;
    b.spells.overlay_timer = 0.0f;
    b.spells.overlay_level = 0;
    b.spells.splash_timer = 0.0f;
    b.spells.splash_frame = 0;
    b.spells.armageddon = spell == kSpellArmageddon ? 1 : 0;
    if (spell == kSpellStorm) b.ensure_splash_icns_loaded();
    b.spell_cast_this_round = 1;
    b.phase = ActionPhase::MassSpellOverlay;
}

bool status_target_ok(const BattleUnit& u) {
    return is_living(u) && u.spell_status != kSpellAntiMagic && u.creature != kDragon;
}

void begin_teleport(BattleScreen& b, int unit, int row, int col) {
    cast_sound(b, kSpellTeleport);
    spend_spell_charge(b, kSpellTeleport);
    b.spells.teleport_row = row;
    b.spells.teleport_col = col;
    b.spells.teleport_timer = 0.0f;
    b.spell_cast_this_round = 1;
    end_aim(b);
    b.spells.teleport_unit = unit;
    b.spell_id = kSpellTeleport;
    b.phase = ActionPhase::TeleportOut;
}

HeroState* casting_hero(BattleScreen& b, int side) {
    if (!b.game) return nullptr;
    int h = b.side(side).hero;
    return b.game->valid_hero(h) ? &b.game->heroes[static_cast<size_t>(h)] : nullptr;
}
}  // namespace

bool is_beneficial_status(int status) {
    return status == kSpellBless || status == kSpellProtection || status == kSpellAntiMagic || status == kSpellHaste;
}

bool is_battle_spell(int spell) { return spell_row(spell).sound >= 0; }

bool is_mass_spell(int spell) {
    return spell == kSpellDispel || spell == kSpellCure || spell == kSpellStorm || spell == kSpellArmageddon;
}

int battle_spell_power(const BattleScreen& b, int side) {
    return std::max<int>(static_cast<int8_t>(b.side(side).power), 1);
}

std::array<std::array<int, 2>, 7> spell_area_hexes(int row, int col) {
    int lo = (row & 1) ? col : col - 1;
    return {{{row, col}, {row - 1, lo}, {row - 1, lo + 1}, {row, col - 1}, {row, col + 1}, {row + 1, lo},
             {row + 1, lo + 1}}};
}

void spend_spell_charge(BattleScreen& b, int spell) {
    HeroState* h = casting_hero(b, b.casting_side);
    if (!h || spell < 0 || spell >= static_cast<int>(h->spell_charges.size())) return;
    uint8_t& charge = h->spell_charges[static_cast<size_t>(spell)];
    if (charge > 0) --charge;
}

void apply_spell_to_target(BattleScreen& b, int spell, BattleUnit& u) {
    if (!is_living(u) || creature_is_magic_immune(u.creature)) return;
    u.disabled = u.paralysed = u.berserk = 0;
    u.spell_status = static_cast<uint8_t>(spell);
    u.status_rounds = battle_spell_power(b, b.casting_side);
    if (spell == kSpellBlind) u.disabled = 1;
    if (spell == kSpellBerserker) u.berserk = 1;
    if (spell == kSpellParalyze) u.disabled = u.paralysed = 1;
    if (const char* news = spell_row(spell).news) b.push_message(std::string(creature_name(u.creature)) + news);
}

bool turn_undead(BattleScreen& b, BattleUnit& u) {
    if (u.creature != kGhost && u.creature != kGhost + 1) {
        b.push_message(strings().get("BATTLE_TURN_UNDEAD_LIVING"));
        return false;
    }
    b.spells.hits.clear();
    SpellDmgTarget t = hit_entry(b, u, true, DMG_CLOUD);
    b.spells.hits.push_back(t);
    u.count = 0;
    u.top_hp = 0;
    u.alive = 0;
    b.push_message(strings().format("BATTLE_TURN_UNDEAD", {creature_name_obj(u.creature)}));
    return true;
}

void resurrect_stack(BattleScreen& b, BattleUnit& u, int healing) {
    int slot = b.unit_index(&u);
    if (slot < 0) return;
    const auto& starts = u.side == 0 ? b.attacker_start_counts : b.defender_start_counts;
    int64_t hp = creature_hp(u.creature);
    int64_t start = starts[static_cast<size_t>(slot % 5)];
    int64_t current = u.count > 0 ? (static_cast<int64_t>(u.count) - 1) * hp + u.top_hp : 0;
    // A stack that grew past its starting count keeps what it has.
    int64_t total = std::max(current, std::min(current + healing, start * hp));
    if (total > 0) {
        int64_t n = (total + hp - 1) / hp;
        u.count = static_cast<int32_t>(n);
        u.top_hp = static_cast<int32_t>(total - (n - 1) * hp);
        u.alive = 1;
    }
    b.push_message(strings().format("BATTLE_RESURRECT", {std::to_string(healing), creature_name_obj(u.creature)}));
}

void apply_hex_area_damage(BattleScreen& b, int row, int col, int damage, int spell) {
    b.spells.hits.clear();
    uint8_t kind = spell == kSpellFireball ? DMG_REDFIRE : DMG_PHYSICAL;
    std::vector<const BattleUnit*> met;
    for (const auto& hex : spell_area_hexes(row, col)) {
        if (hex[0] < 0 || hex[0] >= kBattleRows || hex[1] < 0 || hex[1] >= kBattleCols) continue;
        BattleUnit* u = b.unit_at_hex(hex[0], hex[1]);
        if (!u || !is_living(*u) || creature_is_magic_immune(u->creature)) continue;
        if (std::find(met.begin(), met.end(), u) != met.end()) continue;
        met.push_back(u);
        if (roll_spell_resistance(u->creature, spell, b.rng)) {
            resist_notice(b, *u, false);
            continue;
        }
        strike(b, *u, damage, kind);
    }
}

void apply_aoe_spell(BattleScreen& b, int spell) {
    const int p = battle_spell_power(b, b.casting_side);
    if (spell == kSpellDispel) {
        for (int i = 0; i < 10; ++i) {
            BattleUnit& u = *b.unit_by_index(i);
            u.spell_status = 255;
            u.status_rounds = 0;
            u.disabled = u.paralysed = u.berserk = 0;
        }
        b.push_message(strings().get("BATTLE_DISPEL"));
    } else if (spell == kSpellCure) {
        const int healing = p * 5;
        for (int s = 0; s < 5; ++s) {
            BattleUnit& u = *b.unit_by_index(b.casting_side * 5 + s);
            if (!is_living(u)) continue;
            if (!is_beneficial_status(u.spell_status)) {
                u.spell_status = 255;
                u.disabled = u.paralysed = u.berserk = 0;
            }
            if (healing <= 0) continue;
            int64_t hp = creature_hp(u.creature);
            int64_t total = std::min((static_cast<int64_t>(u.count) - 1) * hp + u.top_hp + healing, u.count * hp);
            int64_t n = (total + hp - 1) / hp;
            u.count = static_cast<int32_t>(n);
            u.top_hp = static_cast<int32_t>(total - (n - 1) * hp);
        }
        b.push_message(strings().format("BATTLE_CURE", {std::to_string(healing)}));
    } else if (spell == kSpellStorm || spell == kSpellArmageddon) {
        const bool storm = spell == kSpellStorm;
        const int damage = p * (storm ? 25 : 50);
        b.spells.hits.clear();
        for (int i = 0; i < 10; ++i) {
            BattleUnit& u = *b.unit_by_index(i);
            if (!is_living(u) || creature_is_magic_immune(u.creature)) continue;
            if (roll_spell_resistance(u.creature, spell, b.rng)) {
                resist_notice(b, u, false);
                continue;
            }
            strike(b, u, damage, storm ? DMG_ELECTRIC : DMG_REDFIRE);
        }
        b.push_message(strings().format("BATTLE_SPELL_STRIKES",
                                        {strings().get(storm ? "SPELLNAME_20" : "SPELLNAME_24"), std::to_string(damage)}));
    }
}

bool choose_battle_spell(BattleScreen& b, int spell) {
    if (!is_battle_spell(spell) || b.spell_cast_this_round) return false;
    if (is_mass_spell(spell)) {
        start_mass_spell(b, spell);
        return true;
    }
    b.spells.aim_spell = spell;
    b.spell_aiming = 1;
    b.spells.teleport_unit = -1;
    b.spells.hover_row = b.spells.hover_col = -1;
    const char* key = "BATTLE_SELECT_SPELL_TARGET";
    if (spell == kSpellLightning || spell == kSpellFireball || spell == kSpellMeteor) key = "BATTLE_SELECT_TARGET_HEX";
    else if (spell == kSpellTeleport) key = "BATTLE_SELECT_TELEPORT";
    else if (spell == kSpellResurrect) key = "BATTLE_SELECT_RESURRECT";
    else if (spell == kSpellTurnUndead) key = "BATTLE_SELECT_UNDEAD";
    b.spells.prompt = strings().get(key);
    b.push_message(b.spells.prompt);
    return true;
}

void cancel_spell_targeting(BattleScreen& b) {
    end_aim(b);
    b.push_message("");
}

bool spell_target_click(BattleScreen& b, int row, int col, int unit) {
    const int spell = b.spells.aim_spell;
    BattleUnit* clicked = b.unit_by_index(unit);
    if (spell == kSpellLightning || spell == kSpellFireball || spell == kSpellMeteor) {
        if (col < 0) {
            if (!clicked) return false;
            row = clicked->row;
            col = clicked->col;
        }
        if (spell != kSpellLightning) {
            begin_area_cast(b, spell, row, col);
            return true;
        }
        spend_spell_charge(b, spell);
        b.spell_cast_this_round = 1;
        end_aim(b);
        BattleUnit* target = b.unit_at_hex(row, col);
        if (!target || !is_living(*target) || target->creature == kDragon) return true;
        cast_lightning(b, target);
        return true;
    }
    if (spell == kSpellTeleport) {
        if (b.spells.teleport_unit < 0) {
            if (!clicked || clicked->side != b.casting_side || !is_living(*clicked)) return false;
            b.spells.teleport_unit = unit;
            b.spells.prompt = strings().get("BATTLE_SELECT_TELEPORT_DEST");
            b.push_message(b.spells.prompt);
            return false;
        }
        BattleUnit* mover = b.unit_by_index(b.spells.teleport_unit);
        if (col < 0 || !mover) return false;
        if (!b.can_occupy(*mover, row, col)) {
            b.push_message(strings().get("BATTLE_CANNOT_TELEPORT"));
            return false;
        }
        begin_teleport(b, b.spells.teleport_unit, row, col);
        b.push_message(strings().get("BATTLE_TELEPORTING"));
        return true;
    }
    if (spell == kSpellResurrect || spell == kSpellTurnUndead) {
        if (!clicked || !is_living(*clicked)) return false;
        bool own = clicked->side == b.casting_side;
        if (spell == kSpellResurrect ? !own : (own || clicked->creature != kGhost)) return false;
        cast_on_stack(b, spell, unit);
        return true;
    }
    if (!clicked) {
        cancel_spell_targeting(b);
        return true;
    }
    if (!status_target_ok(*clicked)) return false;
    if (!roll_spell_resistance(clicked->creature, spell, b.rng)) {
        cast_on_stack(b, spell, unit);
        return true;
    }
    resist_notice(b, *clicked, true);
    b.spell_cast_this_round = 1;
    end_aim(b);
    spend_spell_charge(b, spell);
    return true;
}

void tick_spell_phase(BattleScreen& b, float dt) {
    BattleSpellState& s = b.spells;
    const int p = battle_spell_power(b, b.casting_side);
    switch (b.phase) {
        case ActionPhase::SpellCast: {
            if (s.cast_kind == -2) {
                const bool fire = b.spell_id == kSpellFireball;
                s.area_timer += dt;
                s.area_frame = static_cast<int>(s.area_timer / (fire ? 75.0f : 112.5f));
                if (s.area_frame < s.splash_frames[fire ? 0 : 1] && s.area_frame <= 9) return;
                apply_hex_area_damage(b, s.area_row, s.area_col, p * (fire ? 10 : 25), b.spell_id);
                start_spell_dmg_anim(b);
                s.cast_kind = -1;
                s.area_timer = 0.0f;
                s.area_frame = 0;
                return;
            }
            s.cast_timer += dt;
            s.cast_frame = static_cast<int>(s.cast_timer / kCastFrameMs);
            if (s.cast_frame <= 9) return;
            BattleUnit* target = b.unit_by_index(s.cast_target);
            if (target && b.spell_id >= 0) {
                if (b.spell_id == kSpellTurnUndead) {
                    if (turn_undead(b, *target)) {
                        s.cast_target = -1;
                        s.cast_kind = -1;
                        start_spell_dmg_anim(b);
                        return;
                    }
                } else if (b.spell_id == kSpellResurrect) {
                    resurrect_stack(b, *target, 50 * p);
                } else {
                    apply_spell_to_target(b, b.spell_id, *target);
                }
            }
            finish_hero_spell(b);
            return;
        }
        case ActionPhase::SpellDamageAnim: {
            s.hit_timer += dt;
            s.hit_frame = static_cast<int>(s.hit_timer / kHitFrameMs);
            if (b.spell_id == kSpellLightning && s.hit_frame >= 4 && !s.hit_wince_played) {
                s.hit_wince_played = 1;
                play_hit_wince(b);
            }
            int last = 3;
            for (const SpellDmgTarget& t : s.hits) last = std::max(last, t.frames);
            if (s.hit_frame <= last) return;
            for (int i = 0; i < 10; ++i)
                if (!is_living(*b.unit_by_index(i))) b.remove_pending_turns(i);
            s.hits.clear();
            s.hit_timer = 0.0f;
            s.hit_frame = 0;
            // Read before the reset: a spell in flight means the acting stack keeps its turn.
            const bool hero_spell = b.spell_id >= 0;
            s.cast_target = -1;
            if (hero_spell) {
                finish_hero_spell(b);
            } else {
                b.spell_id = -1;
                if (!b.check_battle_end()) b.advance_turn();
            }
            return;
        }
        case ActionPhase::MassSpellOverlay: {
            s.overlay_timer += dt;
            if (b.spell_id == kSpellStorm) {
                s.splash_timer += dt;
                if (s.splash_frames[2] > 0) s.splash_frame = static_cast<int>(s.splash_timer / 120.0f) % s.splash_frames[2];
            }
            int frame = static_cast<int>(s.overlay_timer / kOverlayStepMs);
            if (frame <= 9) {
                s.overlay_level = frame;
                return;
            }
            s.overlay_timer = 0.0f;
            s.overlay_level = 10;
            apply_aoe_spell(b, b.spell_id);
            b.phase = ActionPhase::MassSpellFlash;
            return;
        }
        case ActionPhase::MassSpellFlash: {
            s.overlay_timer += dt;
            int level = 10 - static_cast<int>(s.overlay_timer / kOverlayStepMs);
            if (level > 0) {
                s.overlay_level = level;
                return;
            }
            s.overlay_timer = 0.0f;
            s.overlay_level = 0;
            // A strike that met nobody still leaves the acting stack its turn.
            if (!s.hits.empty()) start_spell_dmg_anim(b);
            else finish_hero_spell(b);
            return;
        }
        case ActionPhase::TeleportOut: {
            s.teleport_timer += dt;
            if (s.teleport_timer < kTeleportMs) return;
            if (BattleUnit* u = b.unit_by_index(s.teleport_unit)) {
                u->row = s.teleport_row;
                u->col = s.teleport_col;
            }
            s.teleport_timer = 0.0f;
            b.phase = ActionPhase::TeleportIn;
            return;
        }
        case ActionPhase::TeleportIn: {
            s.teleport_timer += dt;
            if (s.teleport_timer < kTeleportMs) return;
            s.teleport_timer = 0.0f;
            s.teleport_unit = -1;
            s.teleport_row = -1;
            finish_hero_spell(b);
            return;
        }
        default:
            b.phase = ActionPhase::Idle;
            return;
    }
}

// ---- the automatic caster

namespace {
bool struck_by_spell(const BattleUnit& u) { return is_living(u) && !creature_is_magic_immune(u.creature); }

double kill_fraction(const BattleUnit& u, int damage) {
    int64_t hp = creature_hp(u.creature);
    int64_t total = std::max<int64_t>((static_cast<int64_t>(u.count) - 1) * hp + u.top_hp, 1);
    int64_t d = u.creature == 13 ? static_cast<int64_t>(damage * 0.75) : damage;
    return std::min(static_cast<double>(d) / static_cast<double>(total), 1.0);
}

int strike_value(const BattleUnit& u, int damage) {
    if (!struck_by_spell(u)) return 0;
    return static_cast<int>(kill_fraction(u, damage) * autobattle_stack_power(u));
}

// The strongest stack of a side (index), first kept on a tie; -1 none.
int strongest(const BattleScreen& b, int side, bool without_status) {
    int best = -1, best_s = 0;
    for (int i = side * 5; i < side * 5 + 5; ++i) {
        const BattleUnit& u = *b.unit_by_index(i);
        if (creature_is_magic_immune(u.creature) || (without_status && u.spell_status != 255)) continue;
        int sp = autobattle_stack_power(u);
        if (sp > best_s) {
            best_s = sp;
            best = i;
        }
    }
    return best;
}

double slow_factor(uint8_t id) {
    CreatureStats cs = creature_stats(id);
    if (cs.shooter) return 0.0;
    if (creature_can_fly(id)) return 0.33;
    return std::max(cs.speed - 1, 0) * 0.11;
}

double haste_factor(uint8_t id) {
    CreatureStats cs = creature_stats(id);
    if (cs.shooter || creature_can_fly(id)) return 0.0;
    if (cs.speed <= 2) return 0.33;
    return cs.speed <= 4 ? 0.165 : 0.0;
}
}  // namespace

AutoCastChoice choose_auto_cast(BattleScreen& b, const BattleUnit& u) {
    AutoCastChoice best;
    HeroState* hero = casting_hero(b, u.side);
    if (!hero) return best;
    const int side = u.side, foe = 1 - u.side;
    const int p = battle_spell_power(b, side);
    const int h = p == 1 ? 2 : (p == 2 ? 1 : 0);
    auto has = [&](int spell) { return hero->spell_charges[static_cast<size_t>(spell)] > 0; };
    auto consider = [&](int spell, int kind, int score, int target, int row = -1, int col = -1) {
        if (!has(spell) || score <= best.score) return;
        best = AutoCastChoice{spell, kind, score, target, row, col};
    };
    auto S = [&](int i) { return autobattle_stack_power(*b.unit_by_index(i)); };
    const int e = strongest(b, foe, false);
    const int o = strongest(b, side, true);

    if (e >= 0 && b.unit_by_index(e)->spell_status == 255) {
        const BattleUnit& eu = *b.unit_by_index(e);
        const std::pair<int, double> curses[] = {{kSpellBlind, 0.6}, {kSpellParalyze, 0.7}, {kSpellBerserker, 0.6},
                                                 {kSpellSlow, slow_factor(eu.creature)}, {kSpellCurse, 0.18}};
        for (const auto& [spell, f] : curses) {
            int score = static_cast<int>(S(e) * f);
            if (eu.creature == 13) score = static_cast<int>(score * 0.75);
            consider(spell, 1, score >> h, e);
        }
    }
    if (e >= 0) consider(kSpellLightning, 2, strike_value(*b.unit_by_index(e), 25 * p), e);
    if (o >= 0) {
        const std::pair<int, double> blessings[] = {{kSpellHaste, haste_factor(b.unit_by_index(o)->creature)},
                                                    {kSpellBless, 0.18}, {kSpellProtection, 0.24}};
        for (const auto& [spell, f] : blessings) consider(spell, 1, static_cast<int>(S(o) * f) >> h, o);
        if (b.side(foe).hero >= 0) consider(kSpellAntiMagic, 1, static_cast<int>(S(o) * 0.15) >> h, o);
    }
    for (int spell : {kSpellStorm, kSpellArmageddon}) {
        int d = p * (spell == kSpellStorm ? 25 : 50), score = 0;
        for (int i = 0; i < 10; ++i) {
            const BattleUnit& t = *b.unit_by_index(i);
            score += (t.side == side ? -1 : 1) * strike_value(t, d);
        }
        consider(spell, 3, score, -1);
    }
    for (int spell : {kSpellFireball, kSpellMeteor}) {
        int d = p * (spell == kSpellFireball ? 10 : 25);
        for (int c = foe * 5; c < foe * 5 + 5; ++c) {
            const BattleUnit& centre = *b.unit_by_index(c);
            if (!is_living(centre)) continue;
            std::vector<const BattleUnit*> met;
            int score = 0;
            for (const auto& hex : spell_area_hexes(centre.row, centre.col)) {
                if (!hex_in_field(hex[0], hex[1])) continue;
                const BattleUnit* t = b.unit_at_hex(hex[0], hex[1]);
                if (!t || std::find(met.begin(), met.end(), t) != met.end()) continue;
                met.push_back(t);
                score += (t->side == side ? -1 : 1) * strike_value(*t, d);
            }
            consider(spell, 4, score, -1, centre.row, centre.col);
        }
    }
    int cure = 5 * p, dispel = 0;
    for (int i = 0; i < 10; ++i) {
        const BattleUnit& t = *b.unit_by_index(i);
        if (!is_living(t) || t.spell_status == 255) continue;
        int fifth = autobattle_stack_power(t) / 5;
        bool good = is_beneficial_status(t.spell_status);
        if (t.side == side && !good) {
            cure += fifth;
            dispel += fifth;
        } else if (good) {
            dispel += t.side == side ? -fifth : fifth;
        }
    }
    consider(kSpellCure, 5, cure, -1);
    consider(kSpellDispel, 5, dispel, -1);
    for (int i = foe * 5; i < foe * 5 + 5; ++i) {
        const BattleUnit& t = *b.unit_by_index(i);
        if (is_living(t) && (t.creature == kGhost || t.creature == kGhost + 1)) consider(kSpellTurnUndead, 6, S(i), i);
    }
    {
        int r_best = -1, r_score = 0, r_value = -1, r_healed = -1;
        const auto& starts = side == 0 ? b.attacker_start_counts : b.defender_start_counts;
        for (int s = 0; s < 5; ++s) {
            BattleUnit& t = *b.unit_by_index(side * 5 + s);
            if (t.creature == kNoCreature || creature_is_magic_immune(t.creature)) continue;
            int64_t hp = std::max(creature_stats(t.creature).hp, 1);
            int64_t cap = starts[static_cast<size_t>(s)] * hp, heal = 50 * p, healed = 0, revived = 0;
            if (!t.alive) {
                // A fallen stack cannot rise where another stack now stands.
                if (cap <= 0 || b.hex_occupied(t.row, t.col, &t) || b.hex_occupied(t.row, tail_col(t), &t)) continue;
                healed = std::min(cap, heal);
                revived = (healed + hp - 1) / hp;
            } else {
                int64_t current = t.count > 0 ? (static_cast<int64_t>(t.count) - 1) * hp + t.top_hp : 0;
                if (current >= cap) continue;
                healed = std::min(cap - current, heal);
                revived = (std::min(current + heal, cap) + hp - 1) / hp - t.count;
            }
            if (revived <= 0) continue;
            CreatureStats cs = creature_stats(t.creature);
            int value = cs.min_dmg + cs.max_dmg;
            int score = static_cast<int>(revived * value);
            if (r_best < 0 || score > r_score || (score == r_score && (value > r_value || (value == r_value && healed > r_healed)))) {
                r_best = side * 5 + s;
                r_score = score;
                r_value = value;
                r_healed = static_cast<int>(healed);
            }
        }
        if (r_best >= 0) consider(kSpellResurrect, 7, r_score, r_best);
    }
    if (e >= 0 && has(kSpellTeleport)) {
        const BattleUnit& eu = *b.unit_by_index(e);
        int t_best = -1, t_s = 0, t_row = -1, t_col = -1;
        for (int i = side * 5; i < side * 5 + 5; ++i) {
            BattleUnit& t = *b.unit_by_index(i);
            CreatureStats cs = creature_stats(t.creature);
            if (!is_living(t) || creature_can_fly(t.creature) || cs.shooter || cs.speed >= 5) continue;
            if (b.adjacent_enemy(t.row, t.col, t.side != 0)) continue;
            if (BattleScreen::hex_distance(t.row, t.col, eu.row, eu.col) <= movement_range(t.creature)) continue;
            if (S(i) <= t_s) continue;
            for (int d = 0; d < 6; ++d) {
                int nr = 0, nc = 0;
                hex_step(eu.row, eu.col, d, nr, nc);
                if (!hex_in_field(nr, nc) || !b.can_occupy(t, nr, nc)) continue;
                t_best = i;
                t_s = S(i);
                t_row = nr;
                t_col = nc;
                break;
            }
        }
        if (t_best >= 0 && t_s >= 3 && t_s / 3 > best.score)
            best = AutoCastChoice{kSpellTeleport, 8, t_s / 3, t_best, t_row, t_col};
    }
    return best;
}

bool autobattle_try_cast_spell(BattleScreen& b, BattleUnit& u) {
    if (!b.opt_ab_spells || b.spell_cast_this_round) return false;
    HeroState* hero = casting_hero(b, u.side);
    if (!hero || !hero->has_spellbook) return false;
    b.casting_side = u.side;
    AutoCastChoice c = choose_auto_cast(b, u);
    if (c.spell < 0 || c.score < 1) return false;
    BattleUnit* target = b.unit_by_index(c.target);
    switch (c.kind) {
        case 1:
            if (!target || !status_target_ok(*target)) return false;
            spend_spell_charge(b, c.spell);
            if (roll_spell_resistance(target->creature, c.spell, b.rng)) {
                resist_notice(b, *target, true);
                b.spell_cast_this_round = 1;
                return false;
            }
            begin_stack_cast(b, c.spell, c.target);
            return true;
        case 2:
            spend_spell_charge(b, c.spell);
            b.spell_cast_this_round = 1;
            cast_lightning(b, target);
            return true;
        case 3:
        case 5:
            start_mass_spell(b, c.spell);
            return true;
        case 4:
            begin_area_cast(b, c.spell, c.row, c.col);
            return true;
        case 6:
        case 7:
            if (!target) return false;
            cast_on_stack(b, c.spell, c.target);
            return true;
        case 8:
            begin_teleport(b, c.target, c.row, c.col);
            return true;
        default:
            return false;
    }
}

}  // namespace vorn1
