#pragma once
// Film player tests: a hidden 640 x 480 window with a software renderer, the mixer open on the
// dummy driver, events pushed from SDL timers, SDL's log captured, and pixels read back.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "hang_guard.h"
#include "media/smk_player.h"

namespace vorn1::test {

// A film clock of the test's own: a sleep moves it on at once, and what falls due by then (an
// event pushed, a note taken, a stall) happens in the player's thread, so pace is exact however
// busy the machine is.
struct FakeFilmClock {
    struct Due {
        uint32_t ms;
        std::function<void()> what;
        bool done = false;
    };
    uint32_t t = 0;
    std::vector<Due> due;

    void at(uint32_t ms, std::function<void()> what) { due.push_back({ms, std::move(what)}); }
    // An event of that type (a key press is the space bar) at `ms`.
    void at(uint32_t ms, Uint32 type) {
        at(ms, [type] {
            SDL_Event e{};
            e.type = type;
            if (type == SDL_KEYDOWN) {
                e.key.state = SDL_PRESSED;
                e.key.keysym.sym = SDLK_SPACE;
                e.key.keysym.scancode = SDL_SCANCODE_SPACE;
            }
            SDL_PushEvent(&e);
        });
    }
    FilmClock clock() {
        return {[this] { return t; }, [this](uint32_t ms) {
                    t += ms;
                    for (size_t i = 0; i < due.size(); ++i)
                        if (!due[i].done && due[i].ms <= t) {
                            due[i].done = true;
                            due[i].what();
                        }
                }};
    }
};

struct Rgb {
    uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};
inline std::ostream& operator<<(std::ostream& o, const Rgb& c) {
    return o << "(" << int(c.r) << "," << int(c.g) << "," << int(c.b) << ")";
}

class FilmTest : public ::testing::Test {
protected:
    static inline SDL_Window* window = nullptr;
    static inline SDL_Renderer* renderer = nullptr;
    static inline std::vector<std::string>* log = nullptr;
    std::vector<SDL_TimerID> timers;
    HangGuard hang_guard;
    std::filesystem::path dir;

    static void capture(void* user, int, SDL_LogPriority, const char* message) {
        static_cast<std::vector<std::string>*>(user)->push_back(message);
    }

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS), 0) << SDL_GetError();
        if (!TTF_WasInit()) TTF_Init();
        window = SDL_CreateWindow("films", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 640, 480, SDL_WINDOW_HIDDEN);
        ASSERT_NE(window, nullptr) << SDL_GetError();
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
        ASSERT_NE(renderer, nullptr) << SDL_GetError();
        SDL_RenderSetLogicalSize(renderer, 640, 480);
        log = new std::vector<std::string>();
        SDL_LogSetOutputFunction(capture, log);
    }
    static void TearDownTestSuite() {
        SDL_DestroyRenderer(renderer);
        SDL_DestroyWindow(window);
        renderer = nullptr;
        window = nullptr;
    }
    static void open_mixer() {
        if (Mix_QuerySpec(nullptr, nullptr, nullptr)) return;
        if (!SDL_WasInit(SDL_INIT_AUDIO)) {
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
        }
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        Mix_AllocateChannels(29);
    }
    static void close_mixer() {
        while (Mix_QuerySpec(nullptr, nullptr, nullptr)) Mix_CloseAudio();
    }

    void SetUp() override {
        open_mixer();
        Mix_HaltChannel(-1);
        log->clear();
        SDL_PumpEvents();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        static int counter = 0;
        dir = std::filesystem::temp_directory_path() /
              ("vorn1_films_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::create_directories(dir);
        hang_guard.start();
    }
    void TearDown() override {
        hang_guard.stop();
        for (SDL_TimerID t : timers) SDL_RemoveTimer(t);
        SDL_Delay(5);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        std::filesystem::remove_all(dir);
    }

    static Uint32 push_event(Uint32, void* param) {
        SDL_Event e{};
        e.type = static_cast<Uint32>(reinterpret_cast<uintptr_t>(param));
        if (e.type == SDL_KEYDOWN) {
            e.key.state = SDL_PRESSED;
            e.key.keysym.sym = SDLK_SPACE;
            e.key.keysym.scancode = SDL_SCANCODE_SPACE;
        }
        SDL_PushEvent(&e);
        return 0;
    }
    // Pushes an event of that type (a key press is the space bar) after `ms`.
    void push_at(Uint32 ms, Uint32 type) {
        timers.push_back(SDL_AddTimer(ms, push_event, reinterpret_cast<void*>(static_cast<uintptr_t>(type))));
    }

    static Rgb pixel(int x, int y) {
        uint32_t v = 0;
        SDL_Rect r{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ARGB8888, &v, 4);
        return Rgb{static_cast<uint8_t>(v >> 16), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
    }
    // Pixels of the rectangle brighter than (200, 200, 200).
    static int bright_pixels(const SDL_Rect& r) {
        std::vector<uint32_t> px(static_cast<size_t>(r.w) * r.h);
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_ARGB8888, px.data(), r.w * 4);
        int n = 0;
        for (uint32_t v : px)
            if (((v >> 16) & 255) > 200 && ((v >> 8) & 255) > 200 && (v & 255) > 200) ++n;
        return n;
    }
    static bool logged(const std::string& text) {
        for (const std::string& l : *log)
            if (l.find(text) != std::string::npos) return true;
        return false;
    }
    std::string file(const std::string& name) const { return (dir / name).string(); }
};

}  // namespace vorn1::test
