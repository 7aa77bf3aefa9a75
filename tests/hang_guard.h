#pragma once
// A guard for tests that run a screen or loop waiting for input: if the test is still running after
// `seconds`, window closes are pushed (one every half second, so nested loops end too) and the test
// fails by its name when the guard is stopped, instead of hanging the run. Needs SDL's timer; stop it
// before SDL_Quit. VORN1_HANG_GUARD_SECONDS overrides the time (the memcheck pass runs far slower).
#include <SDL.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace vorn1::test {

// Thrown through a screen under test in place of ending the process (a closed window on the title
// menu ends the program): only the running test ends, failed by its name with this message, and the
// binary's other tests still run.
struct AbandonedScreen : std::runtime_error {
    using std::runtime_error::runtime_error;
};

class HangGuard {
public:
    static constexpr Uint32 kDefaultSeconds = 30;

    void start(Uint32 seconds = kDefaultSeconds) {
        stop_quietly();
        if (const char* env = std::getenv("VORN1_HANG_GUARD_SECONDS"); env && std::atoi(env) > 0)
            seconds = static_cast<Uint32>(std::atoi(env));
        fired_ = false;
        seconds_ = seconds;
        timer_ = SDL_AddTimer(seconds * 1000, &HangGuard::fire, this);
    }
    // Ends the guard and fails the running test if it had to close a screen.
    void stop() {
        stop_quietly();
        if (fired_)
            ADD_FAILURE() << "still waiting for input after " << seconds_
                          << " s: the hang guard closed the screen";
        fired_ = false;
    }
    bool fired() const { return fired_; }
    ~HangGuard() { stop_quietly(); }

private:
    static Uint32 fire(Uint32, void* self) {
        static_cast<HangGuard*>(self)->fired_ = true;
        SDL_Event e{};
        e.type = SDL_QUIT;
        SDL_PushEvent(&e);
        return 500;
    }
    void stop_quietly() {
        if (timer_) SDL_RemoveTimer(timer_);
        timer_ = 0;
    }

    SDL_TimerID timer_ = 0;
    Uint32 seconds_ = kDefaultSeconds;
    std::atomic<bool> fired_{false};
};

}  // namespace vorn1::test
