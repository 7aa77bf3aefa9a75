#pragma once

namespace vorn1 {

// A termination request (SIGTERM, SIGINT, or SIGHUP from a closed terminal) ends the program wherever
// it arrives, while a closed window is a quit event that some screens take as "skip" or "no". Installed
// after SDL has set up its own handlers: it records the request and passes the signal on (a hangup as
// SIGTERM), so SDL still posts its quit event and every loop wakes up. A signal whose disposition is
// not SDL's handler is left alone, and a hangup only while it has its default action.
void install_termination_handler();

// Whether a termination request has arrived.
bool termination_requested();

}  // namespace vorn1
