// The player's hand on the battle: mouse and keys routed to the open dialog, the hero tents, the
// creature panels, the text-bar buttons and the hex field, in that order.
#include <SDL.h>

#include <cstdio>

#include "assets/dialog_utils.h"
#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "lang/runtime_strings.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

bool is_press(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONDOWN; }
bool is_release(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONUP; }
bool is_left(const SDL_Event& e) { return e.button.button == SDL_BUTTON_LEFT; }
bool is_right(const SDL_Event& e) { return e.button.button == SDL_BUTTON_RIGHT; }
bool is_key(const SDL_Event& e, SDL_Keycode k) { return e.type == SDL_KEYDOWN && e.key.keysym.sym == k; }

enum OptionButton { OptSpell = 0, OptRetreat = 1, OptSurrender = 2, OptLeave = 3 };

// The hex under a screen point (rows 0..4, columns 1..7, first match in row order).
bool hex_under(int x, int y, int& row, int& col) {
    for (int r = 0; r < kBattleRows; ++r)
        for (int c = 1; c <= 7; ++c)
            if (inside(BattleScreen::hex_rect(r, c), x, y)) {
                row = r;
                col = c;
                return true;
            }
    return false;
}

// The answer a question's mouse gives: a right release (no), or a release inside the button that was
// pressed. 1 yes, 0 no, -1 no answer yet; the pressed flags follow the left button.
int question_answer(const SDL_Event& e, const SDL_Rect& yes, const SDL_Rect& no, uint8_t& yes_pressed,
                    uint8_t& no_pressed) {
    if (!is_press(e) && !is_release(e)) return -1;
    if (is_release(e) && is_right(e)) return 0;
    if (!is_left(e)) return -1;
    const int x = e.button.x, y = e.button.y;
    if (is_press(e)) {
        yes_pressed = inside(yes, x, y) ? 1 : 0;
        no_pressed = inside(no, x, y) ? 1 : 0;
        return -1;
    }
    const bool accept = yes_pressed && inside(yes, x, y);
    const bool decline = no_pressed && inside(no, x, y);
    yes_pressed = 0;
    no_pressed = 0;
    return accept ? 1 : decline ? 0 : -1;
}

}  // namespace

bool BattleScreen::retreat_allowed(int side_index) const {
    if (side_index < 0 || side_index > 1 || !control.human[side_index]) return false;
    if (siege && side_index == 1) return false;
    return side_has_hero(side_index);
}

bool BattleScreen::surrender_allowed() const {
    return side_has_hero(0) && side_has_hero(1);
}

void BattleScreen::handle_event(const SDL_Event& e) {
    if (!active) return;
    if (e.type == SDL_MOUSEMOTION) {
        mouse_x = e.motion.x;
        mouse_y = e.motion.y;
    } else if (is_press(e) || is_release(e)) {
        mouse_x = e.button.x;
        mouse_y = e.button.y;
    }
    switch (overlay) {
    case BattleOverlay::Result:
        if (result_input_hook) result_input_hook(*this, e);
        else handle_result_event(e);
        return;
    case BattleOverlay::CreatureInfo:
    case BattleOverlay::HeroInfo:
        // Only the release closes the panel; a key meanwhile is spent on it and retreats nobody.
        if (is_release(e) && is_right(e)) {
            overlay = BattleOverlay::None;
            view_only = 0;
            inspected_unit = -1;
        }
        return;
    case BattleOverlay::CreatureView: handle_creature_view_event(e); return;
    case BattleOverlay::HeroOptions: handle_hero_options_event(e); return;
    case BattleOverlay::Spellbook:
        if (book_input_hook && book_input_hook(*this, e, hand_caster(casting_side))) return;
        if (overlay == BattleOverlay::Spellbook) overlay = BattleOverlay::None;
        return;
    case BattleOverlay::SurrenderConfirm: handle_surrender_event(e); return;
    case BattleOverlay::RetreatConfirm: handle_retreat_question_event(e); return;
    case BattleOverlay::None: break;
    }
    if (spell_aiming) {
        handle_targeting_event(e);
        return;
    }
    if (is_press(e)) {
        const int x = e.button.x, y = e.button.y;
        if (press_tents(e) || press_creature_panels(e)) return;
        if (is_left(e) && phase == ActionPhase::Idle) {
            if (inside(status_left_button, x, y)) {
                textbar_left_pressed = 1;
                engage_auto_combat();
            } else if (inside(status_right_button, x, y)) {
                textbar_right_pressed = 1;
                skip_turn();
            } else {
                press_field(x, y);
            }
        }
        return;
    }
    if (is_release(e) && is_left(e)) {
        textbar_left_pressed = 0;
        textbar_right_pressed = 0;
        return;
    }
    if (e.type == SDL_KEYDOWN && !e.key.repeat) handle_field_key(e.key.keysym.sym);
}

void BattleScreen::handle_creature_view_event(const SDL_Event& e) {
    if (is_press(e) && is_left(e) && inside(view_close_rect, e.button.x, e.button.y)) {
        view_close_pressed = 1;
    } else if (is_release(e) && is_left(e) && view_close_pressed) {
        view_close_pressed = 0;
        overlay = BattleOverlay::None;
        inspected_unit = -1;
    }
}

void BattleScreen::open_hero_options(int side_index, bool info_only) {
    options_side = side_index == 1 ? 1 : 0;
    view_only = control.human[options_side] ? 0 : 1;
    if (!view_only) casting_side = options_side;
    option_button_pressed = {};
    overlay = info_only ? BattleOverlay::HeroInfo : BattleOverlay::HeroOptions;
}

HeroState* BattleScreen::hand_caster(int side_index) {
    if (side_index < 0 || side_index > 1 || !control.human[side_index] || spell_cast_this_round) return nullptr;
    if (spell_aiming || phase != ActionPhase::Idle || !game) return nullptr;
    // The hero casts in its own stacks' turn, so nothing on the field moves while the book is open.
    const BattleUnit* u = active_unit();
    if (!u || u->side != side_index || (auto_engaged && (side_index == 0 ? auto_attacker : auto_defender)))
        return nullptr;
    const int h = side(side_index).hero;
    if (!game->valid_hero(h) || !game->heroes[static_cast<size_t>(h)].has_spellbook) return nullptr;
    return &game->heroes[static_cast<size_t>(h)];
}

void BattleScreen::open_battle_spellbook(int side_index) {
    HeroState* h = hand_caster(side_index);
    if (!h || !book_open_hook) return;
    casting_side = static_cast<uint8_t>(side_index);
    view_only = 0;
    overlay = BattleOverlay::Spellbook;
    book_open_hook(*this, *h, side(side_index).hero, [this](int spell) {
        // The book is still routing its last release; the aim takes over once it lets go.
        choose_battle_spell(*this, spell);
    });
}

void BattleScreen::handle_hero_options_event(const SDL_Event& e) {
    if (is_key(e, SDLK_ESCAPE)) {
        overlay = BattleOverlay::None;
        view_only = 0;
        option_button_pressed = {};
        return;
    }
    if (!is_left(e)) return;
    if (is_press(e)) {
        for (int i = 0; i < 4; ++i)
            if (inside(option_button_rects[i], e.button.x, e.button.y)) option_button_pressed[i] = 1;
        return;
    }
    if (!is_release(e)) return;
    const int x = e.button.x, y = e.button.y;
    auto released_on = [&](int i) { return option_button_pressed[i] && inside(option_button_rects[i], x, y); };
    if (view_only) {
        if (released_on(OptLeave)) {
            overlay = BattleOverlay::None;
            view_only = 0;
        }
        option_button_pressed = {};
        return;
    }
    if (released_on(OptSpell) && hand_caster(options_side)) {
        option_button_pressed = {};
        open_battle_spellbook(options_side);
        return;
    }
    if (released_on(OptRetreat) && retreat_allowed(options_side)) {
        overlay = BattleOverlay::None;
        retreating_side = options_side;
        option_button_pressed = {};
        open_result_screen(OutcomeRetreat);
        return;
    }
    if (released_on(OptSurrender) && surrender_allowed()) {
        const bool defender = casting_side == 1;
        const int64_t cost = compute_surrender_cost(defender);
        if (side_player_gold(defender) < cost) {
            char text[64];
            std::snprintf(text, sizeof text, "Not enough gold (%lld needed)", static_cast<long long>(cost));
            push_message(text);
        } else {
            option_button_pressed = {};
            open_surrender_confirm(defender);
            return;
        }
    }
    if (option_button_pressed[OptLeave]) overlay = BattleOverlay::None;
    option_button_pressed = {};
}

void BattleScreen::open_surrender_confirm(bool defender_side_flag) {
    surrender_side = defender_side_flag ? 1 : 0;
    surrender_cost = compute_surrender_cost(defender_side_flag);
    const BattleSide& enemy = side(defender_side_flag ? 0 : 1);
    if (game && game->valid_hero(enemy.hero)) {
        surrender_enemy_name = game->heroes[enemy.hero].name;
        surrender_enemy_portrait = game->heroes[enemy.hero].portrait;
    } else {
        surrender_enemy_name = enemy.name;
        surrender_enemy_portrait = enemy.portrait;
    }
    surrender_accept_pressed = 0;
    surrender_decline_pressed = 0;
    overlay = BattleOverlay::SurrenderConfirm;
}

void BattleScreen::surrender_confirm_decline() {
    surrender_accept_pressed = 0;
    surrender_decline_pressed = 0;
    overlay = BattleOverlay::None;
    view_only = 0;
    option_button_pressed = {};
}

void BattleScreen::surrender_confirm_accept() {
    overlay = BattleOverlay::None;
    surrender_gold_paid = surrender_cost;
    surrendered_side = surrender_side;
    open_result_screen(OutcomeSurrender);
}

void BattleScreen::handle_surrender_event(const SDL_Event& e) {
    // Only a release on Accept pays; Escape declines.
    const int answer = is_key(e, SDLK_ESCAPE) ? 0
                                              : question_answer(e, surrender_accept_rect, surrender_decline_rect,
                                                                surrender_accept_pressed, surrender_decline_pressed);
    if (answer == 1) surrender_confirm_accept();
    else if (answer == 0) surrender_confirm_decline();
}

void BattleScreen::ask_retreat(int side_index) {
    if (!retreat_allowed(side_index)) return;
    retreat_question_side = static_cast<uint8_t>(side_index);
    retreat_accept_pressed = 0;
    retreat_decline_pressed = 0;
    overlay = BattleOverlay::RetreatConfirm;
}

void BattleScreen::answer_retreat(bool yes) {
    retreat_accept_pressed = 0;
    retreat_decline_pressed = 0;
    if (overlay != BattleOverlay::RetreatConfirm) return;
    overlay = BattleOverlay::None;
    if (!yes || !retreat_allowed(retreat_question_side)) return;
    retreating_side = retreat_question_side;
    open_result_screen(OutcomeRetreat);
}

void BattleScreen::handle_retreat_question_event(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN && e.key.repeat) return;  // a held Escape leaves the question up
    const int key = yes_no_key(e);
    const int answer = key >= 0 ? key
                                : question_answer(e, retreat_accept_rect, retreat_decline_rect, retreat_accept_pressed,
                                                  retreat_decline_pressed);
    if (answer >= 0) answer_retreat(answer == 1);
}

void BattleScreen::handle_targeting_event(const SDL_Event& e) {
    if (is_key(e, SDLK_ESCAPE) || (is_press(e) && is_right(e))) {
        cancel_spell_targeting(*this);
        return;
    }
    int row = -1, col = -1;
    if (e.type == SDL_MOUSEMOTION) {
        const int s = spells.aim_spell;
        if (s != kSpellLightning && s != kSpellFireball && s != kSpellMeteor) return;
        hex_under(e.motion.x, e.motion.y, row, col);
        spells.hover_row = row;
        spells.hover_col = col;
        return;
    }
    if (!is_press(e) || !is_left(e) || phase != ActionPhase::Idle) return;
    if (!hex_under(e.button.x, e.button.y, row, col)) row = col = -1;
    spell_target_click(*this, row, col, unit_index(unit_at_screen(e.button.x, e.button.y)));
}

bool BattleScreen::press_tents(const SDL_Event& e) {
    const int x = e.button.x, y = e.button.y;
    int tent = -1;
    if (point_in_tent(x, y)) tent = 0;
    else if (defender_side.hero >= 0 && inside(defender_tent_rect, x, y)) tent = 1;
    if (tent < 0) return false;
    if (!is_left(e) && !is_right(e)) return true;
    open_hero_options(tent, is_right(e));
    return true;
}

int BattleScreen::panel_side() const {
    if (const BattleUnit* u = active_unit(); u && u->side <= 1 && control.human[u->side]) return u->side;
    if (control.human[0] != control.human[1]) return control.human[0] ? 0 : 1;
    return 0;
}

bool BattleScreen::press_creature_panels(const SDL_Event& e) {
    const int x = e.button.x, y = e.button.y;
    if (!is_left(e) && !is_right(e)) return false;
    // The player's own stacks open their panel from the middle of the sprite; the enemy's stacks are
    // targets for a left click and give only their information to a right one.
    const int own = panel_side();
    for (int i = 0; i < 5; ++i) {
        const BattleUnit& u = own == 0 ? attackers[i] : defenders[i];
        if (!is_living(u) || !inside(unit_sprite_center_rect(u, own == 1), x, y)) continue;
        inspected_unit = own * 5 + i;
        if (is_left(e)) {
            overlay = BattleOverlay::CreatureView;
            view_frame = 0;
            view_close_pressed = 0;
        } else {
            overlay = BattleOverlay::CreatureInfo;
        }
        return true;
    }
    if (!is_right(e)) return false;
    for (int i = 0; i < 5; ++i) {
        const BattleUnit& u = own == 0 ? defenders[i] : attackers[i];
        if (!is_living(u) || !inside(unit_sprite_rect(u, own == 0), x, y)) continue;
        inspected_unit = (1 - own) * 5 + i;
        overlay = BattleOverlay::CreatureInfo;
        return true;
    }
    return false;
}

void BattleScreen::engage_auto_combat() {
    int engage = -1;
    if (const BattleUnit* u = active_unit(); u && u->side <= 1) {
        if (control.human[u->side]) engage = u->side;
        else if (control.human[1 - u->side]) engage = 1 - u->side;
    } else if (control.human[0] != control.human[1]) {
        engage = control.human[0] ? 0 : 1;
    }
    if (engage < 0) return;
    uint8_t& flag = engage == 0 ? auto_attacker : auto_defender;
    if (flag) {
        push_message(strings().get("BATTLE_AUTO_ALREADY"));
        return;
    }
    auto_engaged = 1;
    flag = 1;
    push_message(strings().get("BATTLE_AUTO_ENGAGED"));
    if (phase == ActionPhase::Idle) busy = 0;
}

void BattleScreen::skip_turn() {
    // Only the player's own stack gives up its turn; a computer stack's turn is not the player's to skip.
    const BattleUnit* u = active_unit();
    if (!u || !is_living(*u) || !control.human[u->side]) return;
    advance_turn();
    if (const BattleUnit* next = active_unit(); next && next->creature <= 27)
        push_message(strings().format("BATTLE_STACK_TURN", {creature_name_nom(next->creature)}));
}

void BattleScreen::press_field(int x, int y) {
    if (y > 459) return;
    BattleUnit* u = active_unit();
    if (!u || !is_living(*u) || u->side > 1 || !control.human[u->side]) return;
    if ((u->side == 0 ? auto_attacker : auto_defender) != 0) return;
    auto enemy_alive = [&](const BattleUnit* v) { return v && is_living(*v) && v->side != u->side; };

    if (can_shoot(*u)) {
        int hr = -1, hc = -1;
        const bool on_hex = hex_under(x, y, hr, hc);
        for (BattleUnit& v : u->side == 0 ? defenders : attackers) {
            if (!is_living(v)) continue;
            const SDL_Rect r = unit_sprite_rect(v, v.side == 1);
            // Without creature art the stack's hexes stand in for its picture.
            const bool hit = r.w > 0 ? inside(r, x, y)
                                     : on_hex && v.row == hr && (v.col == hc || tail_col(v) == hc);
            if (!hit) continue;
            double_shot = u->creature == 14 && u->shots > 1 ? 1 : 0;
            start_ranged_attack(u, &v);
            return;
        }
    }

    int row = -1, col = -1;
    if (!hex_under(x, y, row, col)) return;
    int cx = 0, cy = 0;
    hex_to_screen(row, col, cx, cy);
    int ranked[6];
    sector_dirs_by_proximity(x - (cx + 39), y - (cy + 79), ranked);
    BattleUnit* covering = unit_at_hex(row, col);
    if (!covering) {
        int best_rank = 6, best_dir = -1;
        BattleUnit* best = nullptr;
        for (int d = 0; d < 6; ++d) {
            int nr = 0, nc = 0;
            hex_step(row, col, d, nr, nc);
            if (!hex_in_field(nr, nc)) continue;
            BattleUnit* v = unit_at_hex(nr, nc);
            if (!enemy_alive(v)) continue;
            int rank = 0;
            while (ranked[rank] != d) ++rank;
            if (rank < best_rank) {
                best_rank = rank;
                best_dir = d;
                best = v;
            }
        }
        if (best) {
            int er = 0, ec = 0;
            hex_step(row, col, best_dir, er, ec);
            if (begin_directional_attack(*u, *best, er, ec, best_dir)) return;
        }
        start_move_or_attack(row, col);
        return;
    }
    if (enemy_alive(covering)) {
        for (int d : ranked)
            if (begin_directional_attack(*u, *covering, row, col, opposite_dir(d))) return;
        start_move_or_attack(covering->row, covering->col);
        return;
    }
    start_move_or_attack(row, col);
}

void BattleScreen::handle_field_key(SDL_Keycode key) {
    if (key == SDLK_F12) {
        if (!developer_keys || control.human[0] == control.human[1]) return;
        const bool attacker = control.human[0] != 0;
        attacker_won = attacker ? 1 : 0;
        open_result_screen(attacker ? OutcomeAttackerWon : OutcomeDefenderWon);
        return;
    }
    if (key == SDLK_ESCAPE) {
        // Escape means "close" everywhere else: a hero and its army are never thrown away unasked.
        const BattleUnit* u = active_unit();
        ask_retreat(u && u->side <= 1 ? u->side : 0);
    }
}

}  // namespace vorn1
