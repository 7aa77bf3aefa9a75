#pragma once
// The sections of a save image. Writer and reader of a section are mirror images; a reader that
// runs out of data stores zeros and leaves the reader's fail flag set.
#include "adventure/player_elimination.h"
#include "adventure/puzzle_map_state.h"
#include "persist/byte_io.h"
#include "world/game_state.h"
#include "world/map.h"
#include "world/new_game_config.h"

namespace vorn1 {

// Fixed sizes of the parts of an image (bytes).
constexpr uint64_t kSaveHeaderBytes = 12;              // magic and version
constexpr uint64_t kTileSaveBytes = 14;                // bytes 0-13 of a map cell
constexpr uint64_t kFogPlaneBytes = 648;               // 72 x 72 bits
constexpr uint64_t kObeliskEntryBytes = 5;             // key and player mask
constexpr uint64_t kElimSectionBytes = 1 + 4 * 7;      // presence and four records

// The chosen set-up (mode, map, difficulties, colour, rating, description, map classes).
void w_ng_cfg(ByteWriter& w, const NewGameConfig& c);
// Clears the quit flag; members the block does not carry keep their values.
void r_ng_cfg(ByteReader& r, NewGameConfig& c);

// The campaign fields and map sequence; reading also makes the mode a campaign.
void w_campaign(ByteWriter& w, const NewGameConfig& c);
void r_campaign(ByteReader& r, NewGameConfig& c);

// Width, height and bytes 0-13 of every cell.
void w_tiles(ByteWriter& w, const GameMap& m);
// Lays the saved cells over the base map; a map of other dimensions is replaced by zeroed cells
// of the saved size. Byte 14 keeps the base map's value.
void r_tiles_overlay(ByteReader& r, GameMap& m);

// The whole game state with the caller's calendar and current player.
void w_game_state(ByteWriter& w, const GameState& s, int day, int week, int month, int current_player);
// The calendar goes both into the out-parameters and into the state. Every list count is checked
// against the bytes left before anything is allocated.
void r_game_state(ByteReader& r, GameState& s, int& day, int& week, int& month, unsigned version,
                  int& current_player);

// A null state writes the presence byte 0 alone.
void w_puzzle(ByteWriter& w, const PuzzleMapState* p);
// False (target untouched) when the section says absent; otherwise the target is reset to a new
// puzzle, filled from the data, and its view fields cleared.
bool r_puzzle(ByteReader& r, PuzzleMapState& p);

void w_elim(ByteWriter& w, const SavedEliminationState* e);
// Absent sections give four records {0, -1, 0, 0}.
void r_elim(ByteReader& r, SavedEliminationState& e);

// The goal's progress since the start: a last byte of the save when anything has changed hands. A marked
// save (its header says the byte follows) fails without it; an unmarked one reads it only when it is the
// single byte left. Any other bytes after the elimination part, or a value the writer never makes, read
// as none.
bool goal_progress_written(const ScenarioVictory& v);
void w_goal_progress(ByteWriter& w, const ScenarioVictory& v);
void r_goal_progress(ByteReader& r, ScenarioVictory& v, bool marked);

}  // namespace vorn1
