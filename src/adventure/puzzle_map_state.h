#pragma once
// The puzzle map's game state: which obelisks each player has seen and how much of the
// picture hiding the ultimate artifact is uncovered. Drawing lives elsewhere.
#include <array>
#include <cstdint>
#include <map>

namespace vorn1 {

struct GameMap;
struct GameState;

constexpr int kPuzzlePieces = 48;
constexpr uint8_t kObeliskType = 155;

struct PuzzleMapState {
    // Members in save order; the view fields are neither saved nor loaded.
    bool open = false;
    uint8_t newly_revealed = 0;  // view: set when a visit uncovered pieces, cleared by the screen
    bool active = false;
    int32_t obelisk_count = 0;        // obelisks on the map
    uint8_t ultimate_artifact = 1;    // artifact id hidden at the dig site
    int32_t dig_x = -1;
    int32_t dig_y = -1;
    bool artifact_awarded = false;
    std::array<int32_t, 5> layout{0, 0, 7, 7, 43};  // picture placement of the screen
    int32_t hover_piece = -1;  // view
    int32_t last_piece = -1;   // view
    std::array<int32_t, kPuzzlePieces> pieces{};  // uncover rank of each piece (0 first)
    std::map<int32_t, uint8_t> visited_obelisks;  // key x + y * 100 -> mask of players (bit p)
    std::array<int32_t, 4> visited_count{};       // obelisks visited per player
    uint8_t view_mode = 0;                        // view
};

// Key of the visited-obelisk map.
int32_t obelisk_key(int x, int y);

// Back to a new game's values.
void reset_puzzle_map(PuzzleMapState& p);

// Counts the obelisks, shuffles the uncover order with a Mersenne Twister of the seed and
// activates the puzzle (the dig site and artifact are the caller's).
void setup_puzzle_pieces(PuzzleMapState& p, int obelisk_count, uint32_t seed);

// New-game set-up from the map: the obelisks are counted, the pieces shuffled, the ultimate
// artifact (0..3) and a dig site on a clear land tile without an object chosen (no such tile:
// the dig site stays -1, -1).
void setup_puzzle_map(PuzzleMapState& p, const GameMap& map, uint32_t seed);

// Pieces uncovered for a player: all of them once every obelisk is seen, proportionally before.
int puzzle_pieces_revealed(const PuzzleMapState& p, int player);
// Whether piece i shows for the player.
bool puzzle_piece_revealed(const PuzzleMapState& p, int player, int piece);

// Records the player's first visit of the obelisk at (x, y); true when it uncovered pieces.
// A repeat visit, or a player outside 0..3, changes nothing and gives false.
bool on_obelisk_visited(PuzzleMapState& p, int player, int x, int y);

// What a hero's dig came to.
enum class DigResult : int {
    NoHero,    // no live hero of a seat
    NotHere,   // at sea, on a boat or on a tile holding an object
    NoPoints,  // the hero has already moved today
    Nothing,   // dug, found nothing
    Found,     // dug up the ultimate artifact
    NoRoom,    // stands on it but has no free slot: nothing dug, nothing spent
};
// The hero digs on its own tile. Digging needs the whole day's movement and uses all of it. At the
// dig site, once per game, the ultimate artifact goes into the hero's first free slot.
DigResult dig_for_artifact(PuzzleMapState& p, GameState& state, const GameMap& map, int hero, int& mp_left);

}  // namespace vorn1
