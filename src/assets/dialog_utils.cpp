#include "assets/dialog_utils.h"

#include "assets/resources.h"

namespace vorn1 {

namespace {

// Draws a piece at its own size; the left copy is mirrored.
void draw_piece(SDL_Renderer* r, SDL_Texture* tex, SDL_Point size, int x, int y, bool mirrored) {
    if (!tex || size.x <= 0 || size.y <= 0) return;
    const SDL_Rect dst{x, y, size.x, size.y};
    SDL_RenderCopyEx(r, tex, nullptr, &dst, 0.0, nullptr, mirrored ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

}  // namespace

void draw_buybuild_border(SDL_Renderer* renderer, const Resources& res, int x, int y, int rows) {
    const IcnTextures& set = res.buybuild;
    if (!renderer || !set.at(0)) return;
    // Rows beyond the screen height can never show; a hostile count must not loop for long.
    if (rows < 0) rows = 0;
    if (rows > 64) rows = 64;
    draw_piece(renderer, set.at(0), set.size(0), x, y, true);
    draw_piece(renderer, set.at(0), set.size(0), x + 143, y, false);
    for (int i = 0; i < rows && set.at(1); ++i) {
        const int ry = y + kBorderTopH + kBorderRowH * i;
        draw_piece(renderer, set.at(1), set.size(1), x + 3, ry, true);
        draw_piece(renderer, set.at(1), set.size(1), x + 143, ry, false);
    }
    const int by = y + kBorderTopH + kBorderRowH * rows;
    draw_piece(renderer, set.at(2), set.size(2), x + 2, by, true);
    draw_piece(renderer, set.at(2), set.size(2), x + 143, by, false);
}

int system_button_frame(EventButtonId button_id, bool pressed) {
    int frame = 9;
    if (button_id == 2) frame = 5;
    else if (button_id == 3) frame = 7;
    return frame + (pressed ? 1 : 0);
}

SDL_Rect draw_system_button(SDL_Renderer* renderer, const Resources& res, EventButtonId button_id, int cx, int y,
                            bool pressed, TTF_Font*) {
    const int frame = system_button_frame(button_id, pressed);
    SDL_Texture* tex = res.system_btn.at(frame);
    const SDL_Point size = res.system_btn.size(frame);
    if (!tex || size.x <= 0 || size.y <= 0) return SDL_Rect{cx - 33, y, 66, 25};
    const SDL_Rect dst{cx - size.x / 2, y, size.x, size.y};
    if (renderer) SDL_RenderCopy(renderer, tex, nullptr, &dst);
    return dst;
}

int yes_no_key(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN) return -1;
    switch (e.key.keysym.sym) {
        case SDLK_y:
        case SDLK_RETURN:
        case SDLK_KP_ENTER: return 1;
        case SDLK_n:
        case SDLK_ESCAPE: return 0;
        default: return -1;
    }
}

bool notice_key(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN) return false;
    const SDL_Keycode k = e.key.keysym.sym;
    return k == SDLK_RETURN || k == SDLK_KP_ENTER || k == SDLK_ESCAPE;
}

void hand_on_quit_request() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace vorn1
