#include "battle/hex_field.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"

namespace vorn1 {

const std::array<int, 9> ROW_A_ALL_X = {0, 27, 105, 183, 261, 339, 417, 495, 573};
const std::array<int, 9> ROW_B_ALL_X = {0, 66, 144, 222, 300, 378, 456, 534, 612};
const std::array<float, 6> SECTOR_ANGLE = {-116.0f, -64.0f, 180.0f, 0.0f, 116.0f, 64.0f};

namespace {
constexpr int kRowStep[6] = {-1, -1, 0, 0, 1, 1};
constexpr int kColStepEven[6] = {-1, 0, -1, 1, -1, 0};
constexpr int kColStepOdd[6] = {0, 1, -1, 1, 0, 1};

bool point_in(const SDL_Rect& r, int x, int y) {
    return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h;
}

// Head or tail of a living stack on the hex.
bool covers(const BattleUnit& u, int row, int col) {
    if (!is_living(u) || u.row != row) return false;
    return u.col == col || tail_col(u) == col;
}
}  // namespace

int hex_row_x(int row, int col) {
    if (col < 0 || col > 8) return 0;
    return (row & 1) ? ROW_B_ALL_X[col] : ROW_A_ALL_X[col];
}

bool hex_in_field(int row, int col) { return row >= 0 && row < kBattleRows && col >= 0 && col < kBattleCols; }

void hex_step(int row, int col, int dir, int& out_row, int& out_col) {
    if (dir < 0 || dir > 5) {
        out_row = row;
        out_col = col;
        return;
    }
    out_row = row + kRowStep[dir];
    out_col = col + ((row & 1) ? kColStepOdd[dir] : kColStepEven[dir]);
}

void sector_dirs_by_proximity(int dx, int dy, int out[6]) {
    double a = std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * 180.0 / M_PI;
    std::array<double, 6> dist{};
    for (int d = 0; d < 6; ++d) {
        double v = std::fmod(std::fabs(SECTOR_ANGLE[d] - a), 360.0);
        dist[d] = v > 180.0 ? 360.0 - v : v;
        out[d] = d;
    }
    std::stable_sort(out, out + 6, [&](int l, int r) { return dist[l] < dist[r]; });
}

// ---- screen placement

void BattleScreen::hex_to_screen(int row, int col, int& x, int& y) {
    x = hex_row_x(row, col);
    y = row * 80 + 62;
}

SDL_Rect BattleScreen::hex_rect(int row, int col) {
    int x = 0, y = 0;
    hex_to_screen(row, col, x, y);
    return SDL_Rect{x, y, 78, 80};
}

SDL_Rect BattleScreen::unit_sprite_rect_at(const BattleUnit& u, bool flip, int row, int col) const {
    SDL_Rect none{0, 0, 0, 0};
    if (u.creature >= 28 || battle_res == nullptr) return none;
    const CreatureSprites& cs = battle_res->creatures[u.creature];
    if (!cs.loaded || cs.anims[STD].empty()) return none;
    const BattleSprite& f = cs.anims[STD][0];
    int hx = 0, hy = 0;
    hex_to_screen(row, col, hx, hy);
    SDL_Rect r{0, row * 80 + 141 + f.oy, f.w, f.h};
    if (is_two_hex_creature(u.creature)) {
        r.x = flip ? (hx + 103) - (f.ox + f.w) : hx - 26 + f.ox;
    } else {
        int anchor = hx + 39;
        r.x = flip ? anchor - (f.ox + f.w) : anchor + f.ox;
    }
    return r;
}

SDL_Rect BattleScreen::unit_sprite_rect(const BattleUnit& u, bool flip) const {
    return unit_sprite_rect_at(u, flip, u.row, u.col);
}

SDL_Rect BattleScreen::unit_sprite_center_rect(const BattleUnit& u, bool flip) const {
    SDL_Rect s = unit_sprite_rect(u, flip);
    if (s.w <= 0 || s.h <= 0) return SDL_Rect{-8, -10, 16, 20};
    int bw = (2 * s.w >= 80) ? (2 * s.w) / 5 : 16;
    int bh = (s.h >= 40) ? s.h / 2 : 20;
    return SDL_Rect{s.x + (s.w - bw) / 2, s.y + (s.h - bh) / 2, bw, bh};
}

BattleUnit* BattleScreen::unit_at_screen(int x, int y) {
    for (int i = 0; i < 10; ++i) {
        BattleUnit* u = unit_by_index(i);
        if (!is_living(*u)) continue;
        if (point_in(unit_sprite_rect(*u, i >= 5), x, y)) return u;
    }
    return nullptr;
}

bool BattleScreen::point_in_tent(int x, int y) const { return point_in(attacker_tent_rect, x, y); }

// ---- distances

int BattleScreen::hex_distance(int r1, int c1, int r2, int c2) {
    int q1 = c1 - (r1 >> 1);
    int q2 = c2 - (r2 >> 1);
    return (std::abs(r1 - r2) + std::abs(q1 - q2) + std::abs((q1 + r1) - (q2 + r2))) / 2;
}

int BattleScreen::screen_hex_distance(int r1, int c1, int r2, int c2) {
    int dx = std::abs(hex_row_x(r1, c1) - hex_row_x(r2, c2));
    int dy = std::abs(r1 - r2) * 80;
    return std::max(dx, dy) + std::min(dx, dy) / 2;
}

float BattleScreen::move_step_span_dur(int r1, int c1, int r2, int c2) {
    int span = std::max({std::abs(r1 - r2), 1, std::abs(c1 - c2)});
    return static_cast<float>(span) * 450.0f;
}

// ---- occupancy

BattleUnit* BattleScreen::unit_at_hex(int row, int col) {
    for (int i = 0; i < 10; ++i) {
        BattleUnit* u = unit_by_index(i);
        if (covers(*u, row, col)) return u;
    }
    return nullptr;
}

const BattleUnit* BattleScreen::unit_at_hex(int row, int col) const {
    return const_cast<BattleScreen*>(this)->unit_at_hex(row, col);
}

bool BattleScreen::hex_occupied(int row, int col, const BattleUnit* ignore) const {
    for (int i = 0; i < 10; ++i) {
        const BattleUnit* u = unit_by_index(i);
        if (u != ignore && covers(*u, row, col)) return true;
    }
    return false;
}

BattleUnit* BattleScreen::adjacent_enemy(int row, int col, bool side_flag) {
    for (int d = 0; d < 6; ++d) {
        int nr = 0, nc = 0;
        hex_step(row, col, d, nr, nc);
        if (!hex_in_field(nr, nc)) continue;
        for (int i = 0; i < 10; ++i) {
            BattleUnit* u = unit_by_index(i);
            if (covers(*u, nr, nc) && u->side != static_cast<uint8_t>(side_flag)) return u;
        }
    }
    return nullptr;
}

bool BattleScreen::hex_is_hard_blocked(int row, int col) const {
    if (!hex_in_field(row, col)) return false;
    if (col == 0 || col == 8) return true;
    if (scene_blocked[row][col]) return true;
    return siege && col == 5 && wall_hp[row] > 0;
}

namespace {
// The tests shared by a head and a tail hex: inside the standing columns, no obstacle, no standing wall.
bool standable(const BattleScreen& b, int row, int col) {
    if (row < 0 || row >= kBattleRows || col < 1 || col > 7) return false;
    if (b.scene_blocked[row][col]) return false;
    if (b.siege && col == 5 && b.wall_hp[row] > 0) return false;
    return true;
}
}  // namespace

bool BattleScreen::can_occupy(const BattleUnit& u, int row, int col) const {
    if (!standable(*this, row, col) || hex_occupied(row, col, &u)) return false;
    if (!is_two_hex_creature(u.creature)) return true;
    int tc = u.side == 0 ? col - 1 : col + 1;
    return standable(*this, row, tc) && !hex_occupied(row, tc, &u);
}

int BattleScreen::flyer_landing_col(const BattleUnit& u, int row, int col) const {
    bool enterable = standable(*this, row, col) && !hex_occupied(row, col, &u);
    bool two = is_two_hex_creature(u.creature);
    if (enterable) {
        if (!two) return col;
        int tc = u.side == 0 ? col - 1 : col + 1;
        if (standable(*this, row, tc) && !hex_occupied(row, tc, &u)) return col;
    }
    if (!two) return -1;
    int head = u.side == 0 ? col + 1 : col - 1;
    if (head <= 8 && can_occupy(u, row, head)) return head;
    return -1;
}

bool BattleScreen::melee_attack_origin(const BattleUnit& u, int row, int col, int& origin_col) const {
    if (hex_distance(u.row, u.col, row, col) == 1) {
        origin_col = u.col;
        return true;
    }
    if (is_two_hex_creature(u.creature)) {
        int tc = tail_col(u);
        if (tc <= 8 && hex_distance(u.row, tc, row, col) == 1) {
            origin_col = tc;
            return true;
        }
    }
    return false;
}

}  // namespace vorn1
