#include "adventure/apanel_state.h"

namespace vorn1 {

void open_adventure_panel(AdventurePanelState& s) {
    s.open = true;
    s.pressed = -1;
}

void close_adventure_panel(AdventurePanelState& s) {
    s.open = false;
    s.pressed = -1;
}

int adventure_panel_button_at(int screen_x, int screen_y) {
    const int px = screen_x - kAdventurePanelX;
    const int py = screen_y - kAdventurePanelY;
    for (const auto& b : draw_adventure_panel::BUTTONS) {
        if (px >= b.x && px < b.x + b.w && py >= b.y && py < b.y + b.h) return static_cast<int>(b.id);
    }
    return -1;
}

int handle_adventure_panel_mouse(AdventurePanelState& s, bool pressed, int screen_x, int screen_y) {
    if (!s.open) return -1;
    const int hit = adventure_panel_button_at(screen_x, screen_y);
    if (pressed) {
        s.pressed = hit;
        return -1;
    }
    const int held = s.pressed;
    s.pressed = -1;
    return (held >= 0 && held == hit) ? held : -1;
}

}  // namespace vorn1
