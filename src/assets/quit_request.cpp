#include "assets/quit_request.h"

#include <signal.h>

#include <csignal>
#include <initializer_list>

namespace vorn1 {

namespace {

volatile std::sig_atomic_t g_terminated = 0;
struct sigaction g_previous[2];  // SIGTERM, SIGINT

void on_termination(int sig);

int slot_of(int sig) { return sig == SIGTERM ? 0 : 1; }

void install(int sig, void (*handler)(int)) {
    struct sigaction ours {};
    ours.sa_handler = handler;
    // One request at a time: a hangup goes through the SIGTERM path, which SDL's handler rewires.
    sigemptyset(&ours.sa_mask);
    for (const int s : {SIGTERM, SIGINT, SIGHUP}) sigaddset(&ours.sa_mask, s);
    ours.sa_flags = SA_RESTART;  // a save being written is not cut short by the signal
    sigaction(sig, &ours, nullptr);
}

// Async-signal-safe only: a flag, the previous handler, sigaction.
void on_termination(int sig) {
    g_terminated = 1;
    const struct sigaction& previous = g_previous[slot_of(sig)];
    if (previous.sa_handler != SIG_DFL && previous.sa_handler != SIG_IGN) previous.sa_handler(sig);
    install(sig, on_termination);  // SDL's handler puts itself back in place of ours
}

// SDL has no handler for a hangup (a closed terminal): it is taken as SIGTERM, so that SDL's quit
// event wakes the loops as it does for that.
void on_hangup(int) { on_termination(SIGTERM); }

}  // namespace

void install_termination_handler() {
    for (const int sig : {SIGTERM, SIGINT}) {
        struct sigaction current {};
        if (sigaction(sig, nullptr, &current) != 0) continue;
        // Only over a plain handler (SDL's): an ignored signal stays ignored, and without SDL's
        // handler nothing would wake the loops, so the default action ends the program.
        if ((current.sa_flags & SA_SIGINFO) || current.sa_handler == SIG_DFL || current.sa_handler == SIG_IGN ||
            current.sa_handler == on_termination)
            continue;
        g_previous[slot_of(sig)] = current;
        install(sig, on_termination);
    }
    // A hangup ignored on purpose (nohup) stays ignored.
    struct sigaction term {}, hangup {};
    if (sigaction(SIGTERM, nullptr, &term) == 0 && term.sa_handler == on_termination &&
        sigaction(SIGHUP, nullptr, &hangup) == 0 && !(hangup.sa_flags & SA_SIGINFO) && hangup.sa_handler == SIG_DFL)
        install(SIGHUP, on_hangup);
}

bool termination_requested() { return g_terminated != 0; }

}  // namespace vorn1
