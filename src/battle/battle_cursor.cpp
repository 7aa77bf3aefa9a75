#include <SDL.h>

#include "battle/battle_combat.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"

namespace vorn1 {

namespace {

constexpr BattleCursor DIR_TO_CURSOR[6] = {CursorStrikeUpLeft,  CursorStrikeUpRight,  CursorStrikeLeft,
                                           CursorStrikeRight,   CursorStrikeDownLeft, CursorStrikeDownRight};

bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }

}  // namespace

BattleCursor BattleScreen::attack_cursor(int r1, int c1, int r2, int c2) {
    const int d = hex_dir_between(r1, c1, r2, c2);
    if (d >= 0) return DIR_TO_CURSOR[d];
    const int dr = r2 - r1, dc = c2 - c1;
    if (dr < 0) return dc >= 0 ? CursorStrikeUpRight : CursorStrikeUpLeft;
    if (dr > 0) return dc >= 0 ? CursorStrikeDownRight : CursorStrikeDownLeft;
    return dc >= 0 ? CursorStrikeRight : CursorStrikeLeft;
}

BattleCursor BattleScreen::cursor_for_position(int x, int y) {
    if (spell_aiming) return CursorSpell;
    if (phase != ActionPhase::Idle) return CursorNone;
    if (inside(attacker_tent_rect, x, y)) return CursorAttackerHero;
    if (defender_side.hero >= 0 && inside(defender_tent_rect, x, y)) return CursorInfo;
    const int own = panel_side();
    for (const BattleUnit& a : own == 0 ? attackers : defenders)
        if (is_living(a) && inside(unit_sprite_center_rect(a, own == 1), x, y)) return CursorInfo;

    const BattleUnit* u = active_unit();
    if (!u || u->disabled) return CursorNone;
    auto enemy = [&](const BattleUnit* v) { return v && is_living(*v) && v->side != u->side; };
    if (can_shoot(*u)) {
        for (int i = 0; i < 10; ++i) {
            const BattleUnit* v = unit_by_index(i);
            if (enemy(v) && inside(unit_sprite_rect_at(*v, v->side == 1, v->row, v->col), x, y)) return CursorShoot;
        }
    }
    int row = -1, col = -1;
    for (int r = 0; r < 5 && row < 0; ++r) {
        if (y < r * 80 + 62 || y >= r * 80 + 142) continue;
        for (int c = 0; c < 9; ++c) {
            const int hx = hex_row_x(r, c);
            if (x >= hx && x < hx + 78) {
                row = r;
                col = c;
                break;
            }
        }
    }
    if (row < 0) return CursorNone;
    int ranked[6];
    sector_dirs_by_proximity(x - (hex_row_x(row, col) + 39), y - (row * 80 + 141), ranked);
    int sr = 0, sc = 0, strike_col = 0;
    bool backward = false;
    const BattleUnit* covering = unit_at_hex(row, col);
    if (enemy(covering)) {
        for (int d : ranked)
            if (resolve_directional_melee(*u, row, col, opposite_dir(d), sr, sc, strike_col, backward))
                return attack_cursor(sr, strike_col, row, col);
        return CursorNone;
    }
    if (!covering) {
        for (int d : ranked) {
            int nr = 0, nc = 0;
            hex_step(row, col, d, nr, nc);
            if (!hex_in_field(nr, nc) || !enemy(unit_at_hex(nr, nc))) continue;
            if (resolve_directional_melee(*u, nr, nc, d, sr, sc, strike_col, backward))
                return attack_cursor(sr, strike_col, nr, nc);
            break;
        }
    }
    if (hex_distance(u->row, u->col, row, col) <= battle_move_range(*u) && can_occupy(*u, row, col))
        return creature_can_fly(u->creature) ? CursorFly : CursorWalk;
    return CursorNone;
}

}  // namespace vorn1
