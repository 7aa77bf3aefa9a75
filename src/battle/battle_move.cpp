// Where the acting stack may go and how: range, breadth-first paths, flights, approach hexes and
// the starter that turns a chosen hex into a walk or a strike.
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
constexpr uint8_t kStatusSlow = 4;
constexpr uint8_t kStatusHaste = 10;

// A hex a walker may pass with its head: standing columns, no obstacle, no standing wall, no other stack.
bool passable(const BattleScreen& b, const BattleUnit& u, int row, int col) {
    if (col < 1 || col > 7) return false;
    if (b.scene_blocked[row][col]) return false;
    if (b.siege && col == 5 && b.wall_hp[row] > 0) return false;
    return !b.hex_occupied(row, col, &u);
}

// Whether `u` could take the hex (a walker standing, a flyer landing).
bool can_take(const BattleScreen& b, const BattleUnit& u, int row, int col) {
    if (creature_can_fly(u.creature)) return b.flyer_landing_col(u, row, col) >= 0;
    return b.can_occupy(u, row, col);
}
}  // namespace

int battle_move_range(const BattleUnit& u) {
    bool flyer = creature_can_fly(u.creature);
    if (u.spell_status == kStatusSlow) return flyer ? 3 : 1;
    int range = movement_range(u.creature);
    if (u.spell_status == kStatusHaste) range += flyer ? 3 : 1;
    return range;
}

std::vector<HexStep> BattleScreen::find_path(const BattleUnit& u, int row, int col) const {
    std::vector<HexStep> path;
    if (creature_can_fly(u.creature)) {
        int land = flyer_landing_col(u, row, col);
        if (land >= 0) path.push_back({row, land});
        return path;
    }
    if (!hex_in_field(row, col) || !hex_in_field(u.row, u.col)) return path;
    bool own = u.row == row && u.col == col;
    if (!own && !can_occupy(u, row, col)) return path;

    int range = battle_move_range(u);
    int steps[kBattleRows][kBattleCols];
    HexStep parent[kBattleRows][kBattleCols];
    for (auto& r : steps)
        for (int& s : r) s = -1;
    HexStep queue_buf[kBattleRows * kBattleCols];
    int head = 0, tail = 0;
    steps[u.row][u.col] = 0;
    queue_buf[tail++] = {u.row, u.col};
    while (head < tail) {
        HexStep cur = queue_buf[head++];
        if (cur.row == row && cur.col == col) {
            for (HexStep at = cur; !(at.row == u.row && at.col == u.col); at = parent[at.row][at.col])
                path.push_back(at);
            std::reverse(path.begin(), path.end());
            return path;
        }
        int s = steps[cur.row][cur.col];
        if (s >= range) continue;
        for (int d = 0; d < 6; ++d) {
            int nr = 0, nc = 0;
            hex_step(cur.row, cur.col, d, nr, nc);
            if (!hex_in_field(nr, nc) || steps[nr][nc] >= 0) continue;
            if (!passable(*this, u, nr, nc)) continue;
            steps[nr][nc] = s + 1;
            parent[nr][nc] = cur;
            queue_buf[tail++] = {nr, nc};
        }
    }
    return path;
}

bool BattleScreen::find_approach_tile(const BattleUnit& att, const BattleUnit& target, int mx, int my, int& out_row,
                                      int& out_col, int& out_strike_col) const {
    int range = battle_move_range(att);
    bool flyer = creature_can_fly(att.creature);
    auto reachable = [&](int r, int c) {
        int dist = hex_distance(att.row, att.col, r, c);
        if (dist > range) return false;
        return flyer || dist == 0 || !find_path(att, r, c).empty();
    };
    auto around = [&](int hr, int hc) {
        int fx = 0, fy = 0;
        hex_foot_point(hr, hc, fx, fy);
        int order[6];
        sector_dirs_by_proximity(mx - fx, my - fy, order);
        for (int k = 0; k < 6; ++k) {
            int r = 0, c = 0;
            hex_step(hr, hc, order[k], r, c);
            if (!hex_in_field(r, c)) continue;
            if (can_occupy(att, r, c) && reachable(r, c) && !is_backward_attack_rc(att, att.row, c, hr, hc)) {
                out_row = r;
                out_col = c;
                out_strike_col = c;
                return true;
            }
            if (!is_two_hex_creature(att.creature)) continue;
            int h = att.side == 0 ? c + 1 : c - 1;
            if (h > 8 || h < 0 || !can_occupy(att, r, h) || !reachable(r, h)) continue;
            bool head_touches = hex_distance(r, h, hr, hc) == 1;
            if (head_touches) {
                if (is_backward_attack_rc(att, att.row, h, hr, hc)) continue;
                out_strike_col = h;
            } else {
                out_strike_col = c;
            }
            out_row = r;
            out_col = h;
            return true;
        }
        return false;
    };
    if (around(target.row, target.col)) return true;
    if (is_two_hex_creature(target.creature)) {
        int tc = tail_col(target);
        if (tc >= 0 && tc <= 8) return around(target.row, tc);
    }
    return false;
}

bool BattleScreen::resolve_directional_melee(const BattleUnit& u, int target_row, int target_col, int dir,
                                             int& out_row, int& out_col, int& out_strike_col,
                                             bool& out_backward) const {
    if (dir < 0 || dir > 5) return false;
    int sr = 0, sc = 0;
    hex_step(target_row, target_col, opposite_dir(dir), sr, sc);
    if (!hex_in_field(sr, sc)) return false;
    int br = 0, bc = 0;
    hex_step(sr, sc, dir, br, bc);
    if (br != target_row || bc != target_col) return false;
    bool backward = is_backward_attack_rc(u, sr, sc, target_row, target_col);
    int head = sc;
    if (is_two_hex_creature(u.creature) && backward) {
        head = u.side == 0 ? sc + 1 : sc - 1;
        if (head > 8 || head < 0) return false;
    }
    if (!can_occupy(u, sr, head)) return false;
    int dist = hex_distance(u.row, u.col, sr, head);
    if (dist > battle_move_range(u)) return false;
    if (!creature_can_fly(u.creature) && dist > 0 && find_path(u, sr, head).empty()) return false;
    out_row = sr;
    out_col = head;
    out_strike_col = sc;
    out_backward = backward;
    return true;
}

void BattleScreen::walk_to(BattleUnit& u, std::vector<HexStep> path, int target) {
    move_path = std::move(path);
    moving_unit = unit_index(&u);
    move_step = 0;
    move_timer = 0.0f;
    move_sounds = 0;
    walk_clock = 0.0f;
    move_scale = 1.0f;
    struck = target;
    phase = ActionPhase::Moving;
}

bool BattleScreen::begin_directional_attack(BattleUnit& att, BattleUnit& target, int target_row, int target_col,
                                            int dir) {
    int sr = 0, head = 0, strike_col = 0;
    bool backward = false;
    if (!resolve_directional_melee(att, target_row, target_col, dir, sr, head, strike_col, backward)) return false;
    if (att.row == sr && att.col == head) {
        start_strike(att, target, strike_col, target_row, target_col);
        return true;
    }
    std::vector<HexStep> path;
    if (creature_can_fly(att.creature)) path.push_back({sr, head});
    else path = find_path(att, sr, head);
    if (path.empty()) return false;
    walk_to(att, std::move(path), unit_index(&target));
    return true;
}

void BattleScreen::start_move_or_attack(int row, int col) {
    if (phase != ActionPhase::Idle) return;
    BattleUnit* u = active_unit();
    if (!u || !is_living(*u)) return;
    int range = battle_move_range(*u);
    bool flyer = creature_can_fly(u->creature);

    BattleUnit* enemy = hex_in_field(row, col) ? unit_at_hex(row, col) : nullptr;
    if (enemy && enemy->side != u->side) {
        int origin = 0;
        int hexes[2] = {enemy->col, tail_col(*enemy)};
        int nhex = is_two_hex_creature(enemy->creature) && hexes[1] <= 8 ? 2 : 1;
        for (int h = 0; h < nhex; ++h) {
            if (melee_attack_origin(*u, enemy->row, hexes[h], origin)) {
                start_strike(*u, *enemy, origin, enemy->row, hexes[h]);
                return;
            }
        }
        int target = unit_index(enemy);
        std::vector<HexStep> best_path;
        int best_dist = INT_MAX;
        for (int h = 0; h < nhex; ++h) {
            for (int d = 0; d < 6; ++d) {
                int nr = 0, nc = 0;
                hex_step(enemy->row, hexes[h], d, nr, nc);
                if (!hex_in_field(nr, nc) || !can_take(*this, *u, nr, nc)) continue;
                int dist = hex_distance(u->row, u->col, nr, nc);
                if (dist > range || dist >= best_dist) continue;
                std::vector<HexStep> p = find_path(*u, nr, nc);
                if (p.empty()) continue;
                best_dist = dist;
                best_path = std::move(p);
            }
        }
        if (best_path.empty()) {
            // No hex next to the target is in reach: go as near as the pixel estimate allows.
            int best_score = INT_MAX;
            for (int r = 0; r < kBattleRows; ++r) {
                for (int c = 0; c < kBattleCols; ++c) {
                    if (!can_occupy(*u, r, c)) continue;
                    int dist = hex_distance(u->row, u->col, r, c);
                    if (dist < 1 || dist > range) continue;
                    int score = screen_hex_distance(r, c, enemy->row, enemy->col);
                    if (score > best_score || (score == best_score && dist >= best_dist)) continue;
                    std::vector<HexStep> p = find_path(*u, r, c);
                    if (p.empty()) continue;
                    best_score = score;
                    best_dist = dist;
                    best_path = std::move(p);
                }
            }
        }
        if (!best_path.empty()) walk_to(*u, std::move(best_path), target);
        return;
    }

    struck = -1;
    bool own = u->row == row && u->col == col;
    int dist = hex_distance(u->row, u->col, row, col);
    if (dist <= range && can_occupy(*u, row, col)) {
        int64_t best = INT64_MAX;
        for (int d = 0; d < 6; ++d) {
            int nr = 0, nc = 0;
            hex_step(row, col, d, nr, nc);
            if (!hex_in_field(nr, nc)) continue;
            BattleUnit* e = unit_at_hex(nr, nc);
            if (!e || e->side == u->side) continue;
            int fx = 0, fy = 0;
            hex_foot_point(nr, nc, fx, fy);
            int64_t dx = fx - mouse_x, dy = fy - mouse_y;
            if (dx * dx + dy * dy < best) {
                best = dx * dx + dy * dy;
                struck = unit_index(e);
            }
        }
    }
    std::vector<HexStep> path = find_path(*u, row, col);
    // A flight is refused beyond the stack's range, as a walk is.
    if (flyer && !path.empty() && hex_distance(u->row, u->col, path.back().row, path.back().col) > range) path.clear();
    if (!path.empty() && !own) {
        walk_to(*u, std::move(path), struck);
        return;
    }
    if (!own) {
        push_message(strings().get("BATTLE_CANNOT_MOVE"));
        return;
    }
    BattleUnit* target = unit_by_index(struck);
    int origin = 0;
    if (target && is_living(*target)) {
        int tcol = target->col;
        if (!melee_attack_origin(*u, target->row, tcol, origin)) {
            tcol = tail_col(*target);
            if (!melee_attack_origin(*u, target->row, tcol, origin)) origin = u->col;
        }
        start_strike(*u, *target, origin, target->row, tcol);
        return;
    }
    advance_turn();
}

}  // namespace vorn1
