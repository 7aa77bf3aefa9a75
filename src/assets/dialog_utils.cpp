#include "assets/dialog_utils.h"

#include <algorithm>

#include "assets/resources.h"

namespace vorn1 {

namespace {

// Draws the top `rows` pixel rows of a piece at its own size (all of it when `rows` is larger); the
// left copy is mirrored.
void draw_piece(SDL_Renderer* r, SDL_Texture* tex, SDL_Point size, int x, int y, bool mirrored, int rows) {
    const int h = std::min(size.y, rows);
    if (!tex || size.x <= 0 || h <= 0) return;
    const SDL_Rect src{0, 0, size.x, h}, dst{x, y, size.x, h};
    SDL_RenderCopyEx(r, tex, &src, &dst, 0.0, nullptr, mirrored ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

}  // namespace

void draw_buybuild_border(SDL_Renderer* renderer, const Resources& res, int x, int y, int rows) {
    // Rows beyond the screen height can never show; a hostile count must not loop for long.
    draw_buybuild_frame(renderer, res, x, y, border_height(std::clamp(rows, 0, 64)));
}

void draw_buybuild_frame(SDL_Renderer* renderer, const Resources& res, int x, int y, int height, int width) {
    const IcnTextures& set = res.buybuild;
    if (!renderer || !set.at(0) || height <= 0) return;
    height = std::min(height, 4096);
    // A wider frame repeats the pieces' columns next to the middle, each copy hiding the edge of the
    // one before, so the art is never stretched; the last copy sets the right edge.
    const int extra = std::clamp(width - kBorderWidth, 0, 4096);
    const auto piece_pair = [&](int frame, int dx, int py, int rows) {
        const SDL_Point size = set.size(frame);
        draw_piece(renderer, set.at(frame), size, x + dx, py, true, rows);
        const int step = std::max(size.x / 2, 1);
        for (int e = 0;; e = std::min(e + step, extra)) {
            draw_piece(renderer, set.at(frame), size, x + 143 + e, py, false, rows);
            if (e == extra) break;
        }
    };
    // The bottom piece keeps its place at the foot; the top piece gives up its lower part when the
    // frame is shorter than both, and middle pieces fill what lies between, the last one cut short.
    const int bottom_y = std::max(height - kBorderBottomH, 0);
    piece_pair(0, 0, y, std::min(kBorderTopH, bottom_y));
    for (int ry = kBorderTopH; ry < bottom_y && set.at(1) && set.size(1).y > 0; ry += kBorderRowH)
        piece_pair(1, 3, y + ry, bottom_y - ry);
    piece_pair(2, 2, y + bottom_y, height - bottom_y);
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

int confirm_key(const SDL_Event& e) {
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_KP_ENTER) return -1;
    return yes_no_key(e);
}

bool close_key(const SDL_Event& e) {
    return notice_key(e) && e.key.keysym.sym != SDLK_KP_ENTER;
}

const FullscreenCallback* g_ng_fullscreen_cb = nullptr;

bool ng_try_fullscreen_key(const SDL_Event& e) {
    if (e.type != SDL_KEYDOWN || e.key.keysym.sym != SDLK_F11) return false;
    // A held key steps once; its repeats are taken too, so no screen reads them as its "any key".
    if (!e.key.repeat && g_ng_fullscreen_cb && *g_ng_fullscreen_cb) (*g_ng_fullscreen_cb)();
    return true;
}

void hand_on_quit_request() {
    SDL_Event quit{};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
}

}  // namespace vorn1
