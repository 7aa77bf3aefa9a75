// Films whose sound lies, on the real program. A first film whose sound chunks each claim 32 MB
// unpacked plays, a termination request ends the program within a second and a closed window goes
// on to the title. A film that claims 16,000 s and 64 MiB chunks that cost no bits, in place of
// each start film, keeps the program's memory in proportion and answers at once.
#include <gtest/gtest.h>

#include <dlfcn.h>
#include <signal.h>

#include <array>
#include <chrono>
#include <fstream>
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

namespace {

// The peak of the process's resident memory so far (VmHWM), in kB; -1 when it cannot be read.
long peak_memory_kb(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return -1;
}

// Sends a termination request: the seconds until the program's window is gone (the answer a
// player sees; the program's audio then takes up to a buffer's time to close) and its exit status
// within a second.
Termination terminate_watching(const RunningGame& g) {
    const std::string search = g.xdo + "search --onlyvisible --name 'Dravenmoor I' 2>/dev/null";
    ::kill(g.pid, SIGTERM);
    const auto sent = std::chrono::steady_clock::now();
    const auto since = [&sent] { return std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count(); };
    while (!run_capture(search).empty() && since() < 5) std::this_thread::sleep_for(std::chrono::milliseconds(5));
    Termination t;
    t.seconds = since();
    t.status = exit_status(g.pid, 1);
    return t;
}

}  // namespace

// In place of each start film in turn (the ones before it taken away, so that it plays first), the
// kit's film of long-claimed sound, 8-bit mono and 16-bit stereo at 22050 Hz and 16-bit stereo at
// 48 kHz (the most bytes in ten minutes, converted whole it took 511 MB): its first frame shows
// within a second of the window, the program's peak memory stays under 400 MB (the title alone
// takes about 90 MB) and a termination request takes its window away within a quarter of a second.
TEST(FilmOfLongClaimedSound, EachStartFilmKeepsMemoryAndAnswersAtOnce) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("filmlong", true);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    const fs::path anim = folder.root / "ANIM", kept = folder.root / "kept_films";
    fs::create_directories(kept);
    const char* films[] = {"NEWLOGO.SMK", "ZALLOGO.SMK", "hintro.mp4", "INTRO02C.SMK"};
    for (const char* name : films)
        if (fs::exists(anim / name)) fs::copy_file(anim / name, kept / name);
    struct Sound {
        bool wide;
        uint32_t rate;
        const char* what;
        const char* shot;
    };
    for (const Sound& sound : {Sound{false, 22050, "8-bit mono", "8_"}, Sound{true, 22050, "16-bit stereo", "16_"},
                               Sound{true, 48000, "48 kHz 16-bit stereo", "48k_"}}) {
        const vorn1::kit::Bytes film = vorn1::kit::write_smk(vorn1::kit::long_claimed_sound_film(sound.wide, sound.rate));
        for (int i = 0; i < 4; ++i) {
            const std::string what = std::string(sound.what) + " film as " + films[i];
            for (int k = 0; k < 4; ++k) {
                fs::remove(anim / films[k]);
                if (k > i && fs::exists(kept / films[k])) fs::copy_file(kept / films[k], anim / films[k]);
            }
            vorn1::kit::write_file((anim / films[i]).string(), film);
            RunningGame g;
            ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g)) << what;
            const auto shown = std::chrono::steady_clock::now();
            std::this_thread::sleep_until(shown + std::chrono::seconds(1));
            const vorn1::Image first =
                g.shot(std::string("filmlong_") + sound.shot + std::to_string(i) + ".png");
            const long peak = peak_memory_kb(g.pid);
            const Termination end = terminate_watching(g);
            EXPECT_TRUE(film_shown(first)) << what << ": not showing a second after the window";
            EXPECT_GT(peak, 0) << what;
            EXPECT_LT(peak, 400 * 1024) << what << ": peak memory " << peak << " kB";
            EXPECT_EQ(end.status, 0) << what;
            EXPECT_LT(end.seconds, 0.25) << what << ": the termination request took " << end.seconds << " s";
            std::printf("%s: peak %ld kB, window gone %.3f s after the request\n", what.c_str(), peak, end.seconds);
        }
    }
}
