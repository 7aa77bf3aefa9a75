#pragma once
// Drawing and SDL input of the adventure options panel (its state and button table: apanel_state.h).
#include <SDL.h>

#include "adventure/apanel_state.h"

namespace vorn1 {

struct AdventureResources;

// Panel backdrop (APANEL frame 10) at (207, 142) with the five buttons, the held one drawn down.
constexpr int kAdventurePanelBackFrame = 10;
constexpr SDL_Rect kAdventurePanelRect{kAdventurePanelX, kAdventurePanelY, 321, 236};
void draw_adventure_options_panel(SDL_Renderer* r, const AdventureResources& res, const AdventurePanelState& s);

// Left press and release act through the button table (release over the pressed button fires it);
// Esc and the exit button close the panel. Returns the button that fired, -1 none.
int handle_adventure_panel_event(const SDL_Event& e, AdventurePanelState& s);

}  // namespace vorn1
