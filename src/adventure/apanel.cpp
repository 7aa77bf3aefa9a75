#include "adventure/apanel.h"

#include "adventure/adventure_resources.h"

namespace vorn1 {

void draw_adventure_options_panel(SDL_Renderer* r, const AdventureResources& res, const AdventurePanelState& s) {
    if (!s.open) return;
    if (const SpriteFrame* f = res.panel.get(kAdventurePanelBackFrame)) {
        SDL_Rect dst{kAdventurePanelX, kAdventurePanelY, f->w, f->h};
        SDL_RenderCopy(r, f->tex, nullptr, &dst);
    } else {
        SDL_SetRenderDrawColor(r, 120, 100, 72, 255);
        SDL_RenderFillRect(r, &kAdventurePanelRect);
    }
    for (const AdventurePanelButtonDef& b : draw_adventure_panel::BUTTONS) {
        const bool down = s.pressed == static_cast<int>(b.id);
        SDL_Rect dst{kAdventurePanelX + b.x, kAdventurePanelY + b.y, b.w, b.h};
        if (const SpriteFrame* f = res.panel.get(down ? b.down_frame : b.up_frame)) {
            SDL_RenderCopy(r, f->tex, nullptr, &dst);
            continue;
        }
        if (down) SDL_SetRenderDrawColor(r, 96, 80, 56, 255);
        else SDL_SetRenderDrawColor(r, 176, 152, 104, 255);
        SDL_RenderFillRect(r, &dst);
    }
}

int handle_adventure_panel_event(const SDL_Event& e, AdventurePanelState& s) {
    if (!s.open) return -1;
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE) {
        close_adventure_panel(s);
        return -1;
    }
    if ((e.type != SDL_MOUSEBUTTONDOWN && e.type != SDL_MOUSEBUTTONUP) || e.button.button != SDL_BUTTON_LEFT) return -1;
    const int fired = handle_adventure_panel_mouse(s, e.type == SDL_MOUSEBUTTONDOWN, e.button.x, e.button.y);
    if (fired == static_cast<int>(AdventurePanelButton::Exit)) close_adventure_panel(s);
    return fired;
}

}  // namespace vorn1
