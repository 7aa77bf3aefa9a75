#include <gtest/gtest.h>

#include <SDL.h>
#include <signal.h>

#include <cstdlib>

#include "assets/quit_request.h"

using namespace vorn1;

namespace {

// In a child of its own (the request cannot be taken back): a hangup raised after the handler is
// installed over SDL's. Exit status: 0, or 1 no request, 2 no quit event to wake the loops.
[[noreturn]] void hang_up(bool ignored_before) {
    if (ignored_before) signal(SIGHUP, SIG_IGN);
    if (SDL_Init(SDL_INIT_EVENTS) != 0) std::_Exit(3);
    install_termination_handler();
    raise(SIGHUP);
    bool quit = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) quit = quit || e.type == SDL_QUIT;
    if (ignored_before) std::_Exit(termination_requested() || quit ? 4 : 0);
    std::_Exit(!termination_requested() ? 1 : !quit ? 2 : 0);
}

}  // namespace

// A closed terminal's hangup is a termination request, with the quit event SDL posts for SIGTERM,
// instead of ending the program at once; one ignored on purpose (nohup) stays ignored.
TEST(TerminationRequest, AHangupIsOneUnlessIgnored) {
    EXPECT_EXIT(hang_up(false), ::testing::ExitedWithCode(0), "");
    EXPECT_EXIT(hang_up(true), ::testing::ExitedWithCode(0), "");
}
