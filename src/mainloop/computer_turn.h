#pragma once
// A computer seat's turn in the frame loop: its executor's steps, moves the human can see walked like a
// human hero's, battles against the human, and the end of the turn.
#include "mainloop/main_state.h"

namespace vorn1 {

// Starts seat p's turn: town economy, then the heroes' steps from the next frame on.
void begin_computer_turn(MainState& m, int p);
// One frame: advances a watched step, or runs a pass of steps; ends the turn when the seat is done.
void run_computer_turn(MainState& m, float dt_ms);

}  // namespace vorn1
