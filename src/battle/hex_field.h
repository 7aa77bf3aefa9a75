#pragma once
// Hex field geometry shared by every battle rule: screen rows, direction steps, direction order.
#include <array>

namespace vorn1 {

extern const std::array<int, 9> ROW_A_ALL_X;  // left edges of even rows
extern const std::array<int, 9> ROW_B_ALL_X;  // left edges of odd rows
extern const std::array<float, 6> SECTOR_ANGLE;

// Screen x of a hex's left edge (no range check beyond the column table).
int hex_row_x(int row, int col);
bool hex_in_field(int row, int col);
// The neighbour of (row, col) in direction dir 0..5 (up-left, up-right, left, right, down-left,
// down-right); the column step depends on the parity of `row`. No range check.
void hex_step(int row, int col, int dir, int& out_row, int& out_col);
constexpr int opposite_dir(int dir) { return 5 - dir; }
// The six directions sorted by angular distance to the vector (dx, dy), ties lower direction first.
void sector_dirs_by_proximity(int dx, int dy, int out[6]);

}  // namespace vorn1
