#pragma once
// Headless modal screens: SDL's event queue on the dummy video driver, a software renderer on a
// 640x480 memory surface with pixel read-back, a system font, and events pushed now or from a
// timer (after the screen's first frame). A watchdog closes any screen that a fault keeps open.
#include <SDL.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "assets/resources.h"
#include "assets/screens_canvas.h"
#include "hang_guard.h"
#include "lang/runtime_strings.h"

namespace vorn1::test {

inline SDL_Event key_event(SDL_Keycode k) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.state = SDL_PRESSED;
    e.key.keysym.sym = k;
    return e;
}

inline SDL_Event text_event(const std::string& s) {
    SDL_Event e{};
    e.type = SDL_TEXTINPUT;
    std::strncpy(e.text.text, s.c_str(), sizeof e.text.text - 1);
    return e;
}

inline SDL_Event mouse_event(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
    SDL_Event e{};
    e.type = type;
    e.button.button = button;
    e.button.x = x;
    e.button.y = y;
    return e;
}
inline SDL_Event press(int x, int y) { return mouse_event(SDL_MOUSEBUTTONDOWN, x, y); }
inline SDL_Event release(int x, int y) { return mouse_event(SDL_MOUSEBUTTONUP, x, y); }

inline SDL_Event wheel_event(int dy) {
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.y = dy;
    return e;
}

inline SDL_Event quit_event() {
    SDL_Event e{};
    e.type = SDL_QUIT;
    return e;
}

class ModalScreenTest : public ::testing::Test {
protected:
    testing_canvas::Canvas canvas;
    TTF_Font* font = nullptr;
    HangGuard hang_guard;

    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
        ASSERT_EQ(TTF_Init(), 0);
        font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 16);
        ASSERT_NE(font, nullptr) << TTF_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_StartTextInput();  // pushed text events are dropped while text input is off
        strings().load_from_text("{}", "{}");
        hang_guard.start();
    }
    void TearDown() override {
        hang_guard.stop();
        stop_watchdog();
        for (SDL_TimerID t : timers_) SDL_RemoveTimer(t);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        if (font) TTF_CloseFont(font);
        TTF_Quit();
        SDL_Quit();
        strings().load_from_text("{}", "{}");
    }

    SDL_Renderer* r() { return canvas.r; }

    static void push(const std::vector<SDL_Event>& events) {
        for (SDL_Event e : events) SDL_PushEvent(&e);
    }
    // Pushes the events once, `ms` from now (after at least the screen's first frame).
    void push_later(Uint32 ms, std::vector<SDL_Event> events) {
        auto* copy = new std::vector<SDL_Event>(std::move(events));
        timers_.push_back(SDL_AddTimer(
            ms,
            [](Uint32, void* p) -> Uint32 {
                auto* evs = static_cast<std::vector<SDL_Event>*>(p);
                for (SDL_Event e : *evs) SDL_PushEvent(&e);
                delete evs;
                return 0;
            },
            copy));
    }
    // Pushes a window close every `ms` until stopped, so a screen that should have ended does.
    void start_watchdog(Uint32 ms = 5000) {
        watchdog_ = SDL_AddTimer(
            ms,
            [](Uint32 interval, void*) -> Uint32 {
                SDL_Event e = quit_event();
                SDL_PushEvent(&e);
                return interval;
            },
            nullptr);
    }
    void stop_watchdog() {
        if (watchdog_) SDL_RemoveTimer(watchdog_);
        watchdog_ = 0;
    }
    static int pending_events() {
        SDL_PumpEvents();
        return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT);
    }

    // A pixel read straight from the surface the renderer draws into.
    testing_canvas::Rgba pixel(int x, int y) {
        const auto* p = static_cast<const uint8_t*>(canvas.surface->pixels) + y * canvas.surface->pitch + x * 4;
        return {p[0], p[1], p[2], p[3]};
    }
    // True when some pixel of the rectangle differs from `c`.
    bool any_pixel_not(SDL_Rect rc, testing_canvas::Rgba c) { return first_ink_row(rc, c) >= 0; }
    // The topmost row of the rectangle holding a pixel other than `c`; -1 when none.
    int first_ink_row(SDL_Rect rc, testing_canvas::Rgba c) {
        for (int y = rc.y; y < rc.y + rc.h; ++y)
            for (int x = rc.x; x < rc.x + rc.w; ++x)
                if (!(pixel(x, y) == c)) return y;
        return -1;
    }
    // Pixels of the rectangle that are exactly `c`.
    int count_pixels(SDL_Rect rc, testing_canvas::Rgba c) {
        int n = 0;
        for (int y = rc.y; y < rc.y + rc.h; ++y)
            for (int x = rc.x; x < rc.x + rc.w; ++x) n += pixel(x, y) == c;
        return n;
    }

private:
    std::vector<SDL_TimerID> timers_;
    SDL_TimerID watchdog_ = 0;
};

}  // namespace vorn1::test
