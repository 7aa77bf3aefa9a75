#pragma once
// Drawing of the puzzle map: the land around the dig site under 48 pieces, those the player has
// uncovered taken away (the state and its rules: puzzle_map_state.h).
#include <SDL.h>

#include <string>

namespace vorn1 {

struct AdventureResources;
struct GameState;
struct GameMap;
struct PuzzleMapState;
enum class DigResult : int;

constexpr int kPuzzleCols = 8;
constexpr int kPuzzleRows = 6;
// Piece i covers this part of the map view (the last column is one pixel narrower).
SDL_Rect puzzle_piece_rect(int piece);
// The view position that puts the dig site in the middle of the map view (the map's middle without one).
SDL_Point puzzle_view(const GameMap& map, const PuzzleMapState& p);

// The message shown after a dig, in the current language; empty for DigResult::NoHero.
std::string dig_result_message(DigResult r, int artifact);

void draw_puzzle_map(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                     const PuzzleMapState& p, int player);

}  // namespace vorn1
