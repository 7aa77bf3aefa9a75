#include "frontend/fatal_notice.h"

#include <algorithm>
#include <vector>

#include "assets/text_render.h"

namespace vorn1 {
namespace {

constexpr SDL_Rect kBox{20, 40, 600, 400};
constexpr int kMargin = 16;

void draw_notice(SDL_Renderer* r, TTF_Font* font, TTF_Font* hint_font, const std::vector<std::string>& lines) {
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);
    SDL_SetRenderDrawColor(r, 48, 20, 24, 255);
    SDL_RenderFillRect(r, &kBox);
    SDL_SetRenderDrawColor(r, 200, 170, 50, 255);
    SDL_RenderDrawRect(r, &kBox);
    const int skip = TTF_FontLineSkip(font) > 0 ? TTF_FontLineSkip(font) : 16;
    const int hint_h = TTF_FontLineSkip(hint_font) > 0 ? TTF_FontLineSkip(hint_font) : 16;
    const int room = kBox.h - 3 * kMargin - hint_h;
    int y = kBox.y + kMargin + std::max(0, (room - static_cast<int>(lines.size()) * skip) / 2);
    for (const std::string& line : lines) {
        text::at(r, font, line, kBox.x + kMargin, y, SDL_Color{255, 255, 255, 255});
        y += skip;
    }
    text::centered_box(r, hint_font, "Press a key or click to close.", kBox.x, kBox.y + kBox.h - kMargin - hint_h,
                       kBox.w, SDL_Color{200, 170, 50, 255});
    SDL_RenderPresent(r);
}

}  // namespace

bool run_fatal_notice(SDL_Renderer* renderer, TTF_Font* font, TTF_Font* small, const std::string& text) {
    if (!font) font = small;
    if (!small) small = font;
    if (!renderer || !font) return false;
    const int width = kBox.w - 2 * kMargin;
    const int room = kBox.h - 3 * kMargin - TTF_FontLineSkip(small);
    std::vector<std::string> lines = text::wrap_within(font, text, width);
    // A path that the main font would cut between characters may stand whole in the small one.
    const bool cut = text::font_keeping_words(text::wrap_pixels(font, text, width), width, font, small) != font;
    if (cut || static_cast<int>(lines.size()) * TTF_FontLineSkip(font) > room) {
        font = small;
        lines = text::wrap_within(font, text, width);
    }
    // Input from before the notice (a launcher's key or click) does not close it.
    SDL_PumpEvents();
    SDL_FlushEvents(SDL_KEYDOWN, SDL_MOUSEWHEEL);
    bool pressed = false;
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT || (e.type == SDL_KEYDOWN && !e.key.repeat)) return true;
            if (e.type == SDL_MOUSEBUTTONDOWN) pressed = true;
            if (e.type == SDL_MOUSEBUTTONUP && pressed) return true;
        }
        draw_notice(renderer, font, small, lines);
        SDL_Delay(16);
    }
}

}  // namespace vorn1
