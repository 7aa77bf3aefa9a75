#pragma once
// Front-end screens run headless: a dummy-video window with the software renderer at the game's
// logical size, input pushed from the per-frame hook, pixels read back from the presented frame.
#include "hang_guard.h"
#include "temp_dir.h"
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "datakit/kit_formats.h"
#include "frontend/frontend_common.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"

namespace vorn1::fe_test {

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Rgb& c) {
    return o << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

// An archive of the given entries (one dummy entry when empty: an archive must hold something).
inline std::unique_ptr<AggArchive> make_archive(std::vector<kit::AggFile> files) {
    if (files.empty()) files.push_back({"DUMMY.BIN", {1, 2, 3}});
    return std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg(files)));
}

// A picture of one palette colour.
inline kit::Bytes solid_bmp(int w, int h, uint8_t index) { return kit::write_bmp(kit::IndexGrid(w, h, index)); }

// A sprite set whose frame i has the given size, filled with colour index `colours[i]`
// (a 0 x 0 size gives an empty frame).
inline kit::Bytes sized_icn(const std::vector<SDL_Point>& sizes, uint8_t colour = 100) {
    std::vector<kit::IcnFrame> frames(sizes.size());
    for (std::size_t i = 0; i < sizes.size(); ++i)
        if (sizes[i].x > 0 && sizes[i].y > 0) frames[i].pixels = kit::IndexGrid(sizes[i].x, sizes[i].y, colour);
    return kit::write_icn(frames);
}

// Set while a test body runs: a screen that ends the process then (not inside EXPECT_EXIT, whose
// bodies clear it) fails the test instead of passing silently. The fixture's end-of-process hook
// ends just the test; an exit that gets past it still turns into a failing one.
inline bool g_exit_is_failure = false;
inline void fail_unexpected_exit() {
    if (g_exit_is_failure) {
        std::fprintf(stderr, "the process was ended by a screen during a test\n");
        std::_Exit(1);
    }
}

class FrontendTest : public ::testing::Test {
protected:
    static inline SDL_Window* window = nullptr;
    static inline SDL_Renderer* r = nullptr;
    test::HangGuard hang_guard;

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER), 0) << SDL_GetError();
        window = SDL_CreateWindow("t", 0, 0, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        r = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(r, nullptr) << SDL_GetError();
        SDL_RenderSetLogicalSize(r, 640, 480);
        static const bool registered = std::atexit(fail_unexpected_exit) == 0;
        (void)registered;
    }
    static void TearDownTestSuite() {
        if (r) SDL_DestroyRenderer(r);
        if (window) SDL_DestroyWindow(window);
        r = nullptr;
        window = nullptr;
    }
    void SetUp() override {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        frontend_frame_hook() = nullptr;
        g_language = EN;
        strings().load_from_text("{}", "{}");
        palette = kit::standard_palette();
        g_exit_is_failure = true;
        end_process_hook() = [] {
            if (g_exit_is_failure) throw test::AbandonedScreen("a screen ended the process");
        };
        hang_guard.start();
    }
    void TearDown() override {
        hang_guard.stop();
        frontend_frame_hook() = nullptr;
        end_process_hook() = nullptr;
        g_exit_is_failure = false;
    }

    // steps[i] runs after a presented frame once the events of steps[i - 1] have all been taken,
    // so each step reaches the screen that is up by then. After the last step nothing more is
    // pushed; a screen still running 300 frames later fails the test.
    void script(std::vector<std::function<void()>> steps) {
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        auto next = std::make_shared<std::size_t>(0);
        auto idle = std::make_shared<int>(0);
        frontend_frame_hook() = [next, idle, steps = std::move(steps)] {
            SDL_PumpEvents();
            if (SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) return;
            if (*next < steps.size()) {
                if (getenv("FE_DEBUG")) fprintf(stderr, "step %zu\n", *next);
                if (steps[*next]) steps[*next]();
                ++*next;
            } else if (++*idle > 300) {
                throw test::AbandonedScreen("screen did not end");
            }
        };
    }
    static void push(SDL_Event e) { SDL_PushEvent(&e); }
    static void push_key(SDL_Keycode k, bool repeat = false) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        e.key.repeat = repeat ? 1 : 0;
        push(e);
    }
    static void push_button(Uint32 type, int x, int y, Uint8 button = SDL_BUTTON_LEFT) {
        SDL_Event e{};
        e.type = type;
        e.button.button = button;
        e.button.x = x;
        e.button.y = y;
        push(e);
    }
    static void push_down(int x, int y) { push_button(SDL_MOUSEBUTTONDOWN, x, y); }
    static void push_up(int x, int y) { push_button(SDL_MOUSEBUTTONUP, x, y); }
    static void push_click(int x, int y) {
        push_down(x, y);
        push_up(x, y);
    }
    static void push_quit() {
        SDL_Event e{};
        e.type = SDL_QUIT;
        push(e);
    }
    static void push_wheel(int dy) {
        SDL_Event e{};
        e.type = SDL_MOUSEWHEEL;
        e.wheel.y = dy;
        push(e);
    }
    // A pixel of the last presented frame, in logical coordinates.
    static Rgb px(int x, int y) {
        uint8_t p[4] = {};
        SDL_Rect rc{x, y, 1, 1};
        SDL_RenderReadPixels(r, &rc, SDL_PIXELFORMAT_RGBA32, p, 4);
        return {p[0], p[1], p[2]};
    }
    Rgb pal(uint8_t i) const { return {palette[i].r, palette[i].g, palette[i].b}; }

    Palette palette{};
};

using TempDir = vorn1::test::TempDir;

}  // namespace vorn1::fe_test
