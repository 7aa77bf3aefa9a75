#pragma once
// State and button table of the adventure options panel (drawing lives with the adventure map).
#include <array>
#include <cstdint>

namespace vorn1 {

enum class AdventurePanelButton : int {
    ViewWorld = 0,   // key v
    ViewPuzzle = 1,  // key p
    CastSpell = 2,   // key c
    Dig = 3,         // key d
    Exit = 4,
};

struct AdventurePanelState {
    bool open = false;
    int pressed = -1;  // AdventurePanelButton held down, -1 none
};

struct AdventurePanelButtonDef {
    AdventurePanelButton id;
    int up_frame;
    int down_frame;
    int x, y, w, h;  // within the panel
};

constexpr int kAdventurePanelX = 207;
constexpr int kAdventurePanelY = 142;

namespace draw_adventure_panel {
inline constexpr const char* ICN = "APANEL.ICN";
inline constexpr std::array<AdventurePanelButtonDef, 5> BUTTONS{{
    {AdventurePanelButton::ViewWorld, 0, 1, 46, 33, 96, 56},
    {AdventurePanelButton::ViewPuzzle, 2, 3, 179, 33, 96, 56},
    {AdventurePanelButton::CastSpell, 4, 5, 46, 114, 96, 56},
    {AdventurePanelButton::Dig, 6, 7, 179, 114, 96, 56},
    {AdventurePanelButton::Exit, 8, 9, 112, 196, 96, 25},
}};
}  // namespace draw_adventure_panel

void open_adventure_panel(AdventurePanelState& s);
void close_adventure_panel(AdventurePanelState& s);

// The panel button under a screen point, -1 none (edges: left/top inclusive, right/bottom exclusive).
int adventure_panel_button_at(int screen_x, int screen_y);

// Mouse input of the open panel: a left press marks the button under the point; a left release
// over the marked button returns it (and clears the mark), any other release only clears it.
// Returns -1 when no button fired. A closed panel ignores everything.
int handle_adventure_panel_mouse(AdventurePanelState& s, bool pressed, int screen_x, int screen_y);

}  // namespace vorn1
