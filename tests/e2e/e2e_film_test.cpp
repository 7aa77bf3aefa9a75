// A first film whose sound chunks each claim 32 MB unpacked, on the real program: it plays, a
// termination request ends the program within a second and a closed window goes on to the title.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>

#include <array>
#include <chrono>
#include <string>
#include <thread>

#include "datakit/datakit.h"
#include "datakit/kit_video.h"
#include "e2e_support.h"

#include <X11/Xlib.h>

using namespace vorn1::e2e;

namespace {

// 1000 frames of 100 ms in one colour; each frame's 512 bytes of sound claim 0x02000202 bytes.
void put_inflated_first_film(const GameFolder& folder) {
    vorn1::kit::SmkFilm f;
    f.width = 32;
    f.height = 16;
    f.audio_rate = 22050;
    f.audio_claim = 0x02000202;
    f.frames.assign(1000, vorn1::kit::SmkFrameIn{std::vector<uint8_t>(32 * 16, 1), std::nullopt,
                                                 std::vector<uint8_t>(512, 0x80)});
    f.frames[0].palette6 = std::array<uint8_t, 768>{0, 0, 0, 40, 20, 50};
    vorn1::kit::write_file((folder.root / "ANIM" / "NEWLOGO.SMK").string(), vorn1::kit::write_smk(f));
}

// The film's colour (6-bit 40, 20, 50) fills the middle of the window.
bool film_shown(const vorn1::Image& shot) {
    if (shot.empty()) return false;
    const uint8_t* p = shot.at(320, 240);
    return p[0] > 150 && p[0] < 170 && p[1] > 70 && p[1] < 90 && p[2] > 190 && p[2] < 210;
}

// Asks the window to close as a window manager does (WM_DELETE_WINDOW); libX11 is loaded here, as
// only this test talks to the server itself.
bool close_window(const std::string& display, const std::string& id) {
    void* lib = dlopen("libX11.so.6", RTLD_NOW | RTLD_LOCAL);
    if (!lib) return false;
    const auto open = reinterpret_cast<Display* (*)(const char*)>(dlsym(lib, "XOpenDisplay"));
    const auto atom = reinterpret_cast<Atom (*)(Display*, const char*, int)>(dlsym(lib, "XInternAtom"));
    const auto send = reinterpret_cast<int (*)(Display*, Window, int, long, XEvent*)>(dlsym(lib, "XSendEvent"));
    const auto flush = reinterpret_cast<int (*)(Display*)>(dlsym(lib, "XSync"));
    const auto close = reinterpret_cast<int (*)(Display*)>(dlsym(lib, "XCloseDisplay"));
    Display* d = open && atom && send && flush && close ? open(display.c_str()) : nullptr;
    bool sent = false;
    if (d) {
        XEvent e{};
        e.xclient.type = ClientMessage;
        e.xclient.window = static_cast<Window>(std::stoul(id));
        e.xclient.message_type = atom(d, "WM_PROTOCOLS", 0);
        e.xclient.format = 32;
        e.xclient.data.l[0] = static_cast<long>(atom(d, "WM_DELETE_WINDOW", 0));
        e.xclient.data.l[1] = CurrentTime;
        sent = send(d, e.xclient.window, 0, NoEventMask, &e) != 0;
        flush(d);
        close(d);
    }
    dlclose(lib);
    return sent;
}

}  // namespace

// Two seconds after the window shows the film plays (the window was black while its sound was
// unpacked whole), and a termination request ends the program within a second.
TEST(FilmOfInflatedSound, ATerminationRequestEndsTheProgramWithinASecond) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("filminflated", true);
    put_inflated_first_film(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    const auto shown = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const vorn1::Image film = g.shot("filminflated_film.png");
    std::this_thread::sleep_until(shown + std::chrono::seconds(2));
    const Termination end = terminate_within(g.pid, 1);
    EXPECT_EQ(end.status, 0) << "still running " << end.seconds << " s after the termination request";
    EXPECT_TRUE(film_shown(film)) << "the film was not showing 1.5 s after the window";
}

// A closed window during that film ends it at once, and the title follows as after any logo film.
TEST(FilmOfInflatedSound, AClosedWindowGoesOnToTheTitle) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("filmclosed", true);
    put_inflated_first_film(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    ASSERT_FALSE(g.wait_for_screen("filmclosed_film.png", "the inflated film",
                                   [](const vorn1::Image& now, const vorn1::Image&) { return film_shown(now); })
                     .empty());
    ASSERT_TRUE(close_window(x.display, g.id)) << "no WM_DELETE_WINDOW sent to window " << g.id;
    // The title's menu column and the sea below the film's picture are drawn, and the column stands still.
    const vorn1::Image title = g.wait_for_screen(
        "filmclosed_title.png", "the title after the closed film", [](const vorn1::Image& now, const vorn1::Image& before) {
            return lit(now, kMenuColumn) && lit(now, Box{0, 410, 390, 70}) && still(before, now, kMenuColumn);
        });
    ASSERT_FALSE(title.empty());
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
