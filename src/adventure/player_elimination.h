#pragma once
// Which players are out of the game, and the countdown of a player who has heroes but no town.
#include <array>
#include <cstdint>

#include "world/victory.h"

namespace vorn1 {

struct GameState;
struct GameMap;
struct PuzzleMapState;

// Days a player may go on without a town before being eliminated.
constexpr int32_t kNoTownCountdownDays = 7;

struct PlayerEliminationRecord {
    uint8_t eliminated = 0;
    int32_t days_left = -1;         // no-town countdown, -1 none
    uint8_t countdown_notice = 0;   // a human player's countdown, whose warnings are shown
    // The first warning waits for the player's next turn start; on an eliminated human seat, its
    // elimination waits to be told at the next human's turn start (so a save keeps it).
    uint8_t notice_pending = 0;
};

struct PlayerEliminationState {
    std::array<PlayerEliminationRecord, 4> players{};
    // Warnings queued for showing now (not saved): taken by take_elimination_warning.
    std::array<uint8_t, 4> warning_queued{};
};

// The saved form: the same four records, fixed layout.
struct SavedEliminationState {
    std::array<PlayerEliminationRecord, 4> players{};
};

SavedEliminationState snapshot_elimination_state(const PlayerEliminationState& e);
void restore_elimination_state(const SavedEliminationState& s, PlayerEliminationState& e);

bool is_player_eliminated(const PlayerEliminationState& e, int player);
// What the goal rules read of a game beyond its state: the seats out of it, and whether the ultimate
// artifact still waits at its dig site.
GoalContext goal_context_of(const PlayerEliminationState& e, const PuzzleMapState& puzzle);

// Looks at every seat in play: a seat with neither town nor hero is eliminated; one with
// heroes but no town starts its countdown (kept when already running); a town stops it.
// A human seat's new countdown is announced: at once when it is `player`, the seat whose
// turn it is, else at its next turn start (notice_pending). Computer seats get no warnings.
// A human seat eliminated while another human seat plays on is marked to be told (notice_pending); a
// lone human's loss is not (the game is lost).
// Returns a mask of the seats eliminated by this call (bit p).
unsigned check_post_battle_eliminations(const GameState& state, const GameMap& map,
                                        PlayerEliminationState& e, int player);

// At the start of a player's turn: a running countdown loses a day; at 0 the player is
// eliminated (returns true). Otherwise a human player's warning is queued, the pending first
// one included.
bool process_turn_start_elimination_warning(PlayerEliminationState& e, int player);

// Takes the queued warning of a player: the days left, or -1 when none was queued.
int32_t take_elimination_warning(PlayerEliminationState& e, int player);

// Takes the first seat whose elimination is still to be told; -1 when none is.
int take_elimination_announcement(PlayerEliminationState& e);
// Takes the queued announcement of one seat: true when it was queued.
bool take_elimination_announcement(PlayerEliminationState& e, int player);

}  // namespace vorn1
