// The real program on the demo data under a virtual X server: start-up, the window, a first walk,
// refused files, the save key, the window scale and the human's view during computer turns.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdlib>
#include <thread>

#include <poll.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

// Runs the program of the folder through `argv` (the program last, after env's settings), its output
// captured; what it printed, its exit status in `status` (-1 when it had to be stopped) and the
// seconds it ran.
std::string run_captured(const GameFolder& folder, const std::vector<std::string>& argv,
                         const std::vector<std::string>& env, int& status, double& seconds) {
    int fds[2];
    if (::pipe(fds) != 0) return {};
    const auto start = std::chrono::steady_clock::now();
    const pid_t game = spawn(argv, env, folder.root / "bin", fds[1]);
    ::close(fds[1]);
    std::string out;
    char buf[512];
    pollfd p{fds[0], POLLIN, 0};
    while (::poll(&p, 1, 20000) > 0) {
        const ssize_t n = ::read(fds[0], buf, sizeof buf);
        if (n <= 0) break;
        out.append(buf, static_cast<size_t>(n));
    }
    ::close(fds[0]);
    status = wait_for(game, 20);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (status < 0) stop(game);
    return out;
}

// With no display but the dummy driver asked for, so a start-up notice goes to its log.
std::string run_headless(const GameFolder& folder, int& status) {
    double seconds = 0;
    return run_captured(folder, {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "./dravenmoor"},
                        {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"}, status,
                        seconds);
}

}  // namespace

TEST(EndToEnd, MissingArchiveEndsWithTheTriedPath) {
    GameFolder folder("noarchive", false);
    int status = 0;
    const std::string out = run_headless(folder, status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Path tried: "), std::string::npos) << out;
    EXPECT_NE(out.find("VELDAR.AGG"), std::string::npos) << out;
}

// Without a display, and no driver asked for, SDL would fall back to one that shows nothing: the
// program says so on its console and ends, before any film, whether DISPLAY is unset or names no
// server.
TEST(EndToEnd, NoDisplayIsSaidAndEndsTheProgram) {
    GameFolder folder("nodisplay", true);
    int free_display = 97;
    while (fs::exists("/tmp/.X11-unix/X" + std::to_string(free_display)) ||
           fs::exists("/tmp/.X" + std::to_string(free_display) + "-lock"))
        ++free_display;
    const std::vector<std::string> unset = {"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "-u", "SDL_VIDEODRIVER"};
    for (const std::string& display : {std::string(), ":" + std::to_string(free_display)}) {
        std::vector<std::string> argv = unset;
        if (!display.empty()) argv.push_back("DISPLAY=" + display);
        argv.push_back("./dravenmoor");
        int status = 0;
        double seconds = 0;
        const std::string out = run_captured(folder, argv, {"SDL_AUDIODRIVER=dummy"}, status, seconds);
        SCOPED_TRACE(display.empty() ? "DISPLAY unset" : "DISPLAY=" + display);
        EXPECT_EQ(status, 1);
        EXPECT_LT(seconds, 5);
        const std::string expected = "no display could be opened (" +
                                     (display.empty() ? std::string("DISPLAY is not set") : "DISPLAY=" + display) + ")";
        EXPECT_NE(out.find(expected), std::string::npos) << out;
        EXPECT_EQ(out.find('\n'), out.size() - 1) << "one line: " << out;
    }
}

// The kit's archive cut in half is named as damaged when the program starts.
TEST(EndToEnd, TruncatedArchiveEndsWithTheDamagedNotice) {
    GameFolder folder("cutarchive", true);
    const fs::path agg = folder.root / "VELDAR.AGG";
    fs::resize_file(agg, fs::file_size(agg) / 2);
    int status = 0;
    const std::string out = run_headless(folder, status);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("The data archive is damaged"), std::string::npos) << out;
    EXPECT_NE(out.find("AGG index damaged"), std::string::npos) << out;
}

// On a screen, the cut archive is told in the game's own window (drawn with the language folder's
// font, as the message box may not open), and a key ends the program with status 1.
TEST(EndToEnd, CutArchiveIsToldInTheWindowAndAKeyEndsIt) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("cutwindow", true);
    const fs::path agg = folder.root / "VELDAR.AGG";
    fs::resize_file(agg, fs::file_size(agg) / 2);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    // White text lines in the notice's box, and its frame: the notice is drawn and stands still.
    const auto white = [](const vorn1::Image& shot, int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1 && y < shot.height; ++y)
            for (int px = 0; px < shot.width; ++px) {
                const uint8_t* p = &shot.pixels[((size_t)y * shot.width + px) * 4];
                n += p[0] > 230 && p[1] > 230 && p[2] > 230;
            }
        return n;
    };
    const vorn1::Image shot = g.wait_for_screen("cutwindow_notice.png", "the damaged-archive notice",
                                                [&](const vorn1::Image& now, const vorn1::Image& before) {
                                                    return white(now, 56, 400) > 1500 && still(before, now, Box{});
                                                });
    ASSERT_FALSE(shot.empty());
    EXPECT_GT(white(shot, 56, 400), 1500) << "no text in the window";
    EXPECT_EQ(wait_for(g.pid, 1), -1) << "the program did not wait for the player";
    g.keys({"Return"}, 0);
    EXPECT_EQ(exit_status(g.pid, 20), 1);
    const std::string out = file_text(g.log);
    EXPECT_NE(out.find("The data archive is damaged"), std::string::npos) << out;
}

// The window of the real program on the demo data; a termination request on the title screen
// reaches it as a quit event and it shuts down in order.
TEST(EndToEnd, WindowAppearsOnTheDemoData) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("window", true);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const std::string geometry = g.geometry();
    EXPECT_NE(geometry.find("640x480"), std::string::npos) << geometry;
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

namespace {

// A frame of the film that differs from `first` in a tenth of the window: the film plays on.
ShotTest later_frame(const vorn1::Image& first, bool (*film)(const vorn1::Image&)) {
    return [&first, film](const vorn1::Image& now, const vorn1::Image&) {
        return film(now) && changed_pixels(first, now, Box{}) > 640 * 480 / 10;
    };
}

bool lit_window(const vorn1::Image& shot) { return lit(shot, Box{}); }

}  // namespace

// A termination request while the first film plays ends the program, where a closed window would
// only skip the films.
TEST(EndToEnd, ATerminationRequestDuringTheFirstFilmEndsTheProgram) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("filmterm", true);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    // The first shown frame is caught within a shot, and a later one (the film lasts six seconds).
    const vorn1::Image first = g.wait_for_screen(
        "filmterm_film.png", "the first film", [](const vorn1::Image& now, const vorn1::Image&) { return lit_window(now); },
        kPatience, 0);
    g.wait_for_screen("filmterm_later.png", "the first film playing on", later_frame(first, lit_window), kPatience, 0);
    const Termination end = terminate_within(g.pid, 5);
    EXPECT_EQ(end.status, 0) << "the termination request was lost: still running " << end.seconds << " s after it";
}

// The MP4 intro's frames are light bars all over; the Smacker films have dark bands.
bool light_everywhere(const vorn1::Image& shot) {
    if (shot.empty()) return false;
    for (int y = 4; y < shot.height; y += 16)
        for (int x = 4; x < shot.width; x += 16) {
            const uint8_t* p = shot.at(x, y);
            if (p[0] + p[1] + p[2] < 3 * 70) return false;
        }
    return true;
}

// After the two logo films a termination request still ends the program at once: during the third
// film (three seconds long), not after the fourth.
TEST(EndToEnd, ATerminationRequestDuringTheThirdFilmEndsTheProgramAtOnce) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("filmthird", true);
    if (!fs::exists(folder.root / "ANIM" / "hintro.mp4")) GTEST_SKIP() << "no MP4 encoder made the third film";
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    const vorn1::Image first = g.wait_for_screen(
        "filmthird_film.png", "the third film",
        [](const vorn1::Image& now, const vorn1::Image&) { return light_everywhere(now); }, kPatience, 0);
    g.wait_for_screen("filmthird_later.png", "the third film playing on", later_frame(first, light_everywhere),
                      kPatience, 0);
    const Termination end = terminate_within(g.pid, 1);
    EXPECT_EQ(end.status, 0) << "still running " << end.seconds << " s after the termination request ("
                             << end.waited << " s of them waiting for a processor)";
}

TEST(EndToEnd, AHeroWalksOnTheDemoMap) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("walk", true);
    // Without scenario maps the set-up page starts the archive's demo map.
    remove_maps(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("walk_turn.png");
    // The selected hero stands in the middle of the view: its tile's top-left is (239, 240).
    g.mouse("255 290", 0);
    const vorn1::Image before = g.close_announcement(turn, "walk_before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";
    // The first click marks the route on the tile below, the hero still in place; the second walks it.
    const Box hero{239, 240, 32, 32}, below{239, 272, 32, 32};
    g.click_at(255, 290, 0);
    const vorn1::Image route = g.wait_for_screen(
        "walk_route.png", "the route's mark below the hero", [&](const vorn1::Image& now, const vorn1::Image& last) {
            return changed_pixels(before, now, below) > 30 && still(before, now, hero) && still(last, now, below);
        });
    g.click_at(255, 290, 0);
    const vorn1::Image after = g.wait_for_change("walk_after.png", route, hero, 150);
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(before, after, 239, 240, 32, 32), 150) << "the hero's first tile did not change";
    EXPECT_GT(changed_pixels(before, after, 239, 272, 32, 32), 150) << "no hero on the tile below";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}

// From the title screen, a damaged save and then a map cut short are each refused with a notice,
// and the player is back on the title screen (where Escape ends the program), never in a game.
TEST(EndToEnd, ADamagedSaveOrMapChosenOnTheTitleScreenIsRefused) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("refused", true);
    std::vector<fs::path> maps;
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP") maps.push_back(entry.path());
    ASSERT_FALSE(maps.empty());
    fs::copy_file(maps.front(), folder.root / "cut.bin");
    remove_maps(folder);
    fs::resize_file(folder.root / "cut.bin", 1400);  // the header and a few tiles
    fs::rename(folder.root / "cut.bin", folder.root / "maps" / "CUT.MAP");
    fs::create_directories(folder.root / "saved_games");
    {
        std::FILE* f = std::fopen((folder.root / "saved_games" / "broken.sav").c_str(), "wb");
        ASSERT_NE(f, nullptr);
        for (int i = 0; i < 5000; ++i) std::fputc((i * 7919 + 13) & 0xFF, f);
        std::fclose(f);
    }
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image title = g.shot("refused_title.png");
    g.keys({"l"}, 0);
    const vorn1::Image load_menu = g.wait_for_change("refused_load_menu.png", title, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    const vorn1::Image dialog = g.wait_for_change("refused_load_dialog.png", load_menu, Box{0, 0, 640, 290}, 5000);
    g.keys({"Return"}, 0);
    const vorn1::Image save_notice = g.wait_for_change("refused_save.png", dialog, Box{0, 0, 640, 290}, 5000);
    EXPECT_GT(changed_pixels(title, save_notice, 200, 150, 240, 150), 5000) << "no notice over the title";
    ASSERT_EQ(wait_for(g.pid, 0.1), -1) << "the program ended";
    g.keys({"Return"}, 0);
    // The notice's place and the menu column above the sea.
    const Box notice_and_menu{200, 32, 402, 268};
    const vorn1::Image title_again = g.wait_for_return("refused_title_again.png", title, notice_and_menu);
    g.keys({"n"}, 0);
    const vorn1::Image menu = g.wait_for_change("refused_new_game.png", title_again, kMenuColumn, 2000);
    g.keys({"s"}, 0);
    g.wait_for_change("refused_setup.png", menu, kMenuColumn, 2000);
    g.keys({"Return"}, 0);
    // Like the save's notice: over the title picture, without the set-up page or the menu beside it.
    const auto notice = [&](const vorn1::Image& now, const vorn1::Image&) {
        return changed_pixels(title, now, 200, 150, 240, 150) > 5000 && still(save_notice, now, Box{480, 0, 160, 290});
    };
    const vorn1::Image map_notice = g.wait_for_screen("refused_map.png", "the map's notice over the title", notice);
    ASSERT_GT(map_notice.width, 0);
    g.keys({"Return"}, 0);
    g.wait_for_return("refused_title_last.png", title, notice_and_menu);
    g.keys({"Escape"}, 0);
    EXPECT_EQ(exit_status(g.pid, 15), 0) << "Escape did not end the program: not on the title screen";
}

// s on the map opens the save dialog with its default name untouched by the key, and a termination
// request while the "saved" notice is open ends the program at once.
TEST(EndToEnd, TheSaveKeyTypesNothingAndAQuitDuringTheNoticeIsKept) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("savekey", true);
    remove_maps(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("savekey_turn.png");
    const vorn1::Image map = g.close_announcement(turn, "savekey_map.png");
    g.keys({"s"}, 0);
    const vorn1::Image dialog = g.wait_for_change("savekey_dialog.png", map, kMapView, 5000);
    ASSERT_GT(dialog.width, 0);
    g.keys({"Return"}, 0);
    std::vector<std::string> stems;
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
         stems.empty() && std::chrono::steady_clock::now() < end;) {
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder.root / "saved_games", ec))
            if (entry.path().extension() == ".sav") stems.push_back(entry.path().stem().string());
        if (stems.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ASSERT_EQ(stems.size(), 1u);
    ASSERT_GT(g.wait_for_change("savekey_notice.png", dialog, kMapView, 2000).width, 0);  // the notice is up
    EXPECT_EQ(stems[0].size(), 14u) << stems[0];  // the default "yy-mm-dd-HHMM-" alone
    EXPECT_EQ(stems[0].back(), '-') << stems[0];
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 10), 0) << "the quit request was lost";
}

// On a 1280 x 1024 screen F11 gives the 2x window, on the screen, and then skips 3x for 1x.
TEST(EndToEnd, WindowScaleSkipsWhatTheScreenCannotShow) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("scale", true);
    VirtualDisplay x("1280x1024x24");
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    auto placed = [&g](int& px, int& py, int& w, int& h) {
        const std::string geo = g.geometry();
        px = py = w = h = -1;
        const size_t at = geo.find("Position: "), size = geo.find("Geometry: ");
        if (at == std::string::npos || size == std::string::npos) return geo;
        std::sscanf(geo.c_str() + at, "Position: %d,%d", &px, &py);
        std::sscanf(geo.c_str() + size, "Geometry: %dx%d", &w, &h);
        return geo;
    };
    int px, py, w, h;
    // Each step waits until the window has changed size and then stands still (the program moves
    // it back onto the screen after the resize), for up to a minute.
    auto step = [&](int from_w) {
        g.keys({"F11"}, 0);
        std::string geo, last;
        for (int i = 0; i < 300; ++i) {
            geo = placed(px, py, w, h);
            if (w != from_w && geo == last) break;
            last = geo;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        return geo;
    };
    std::string geo = step(640);
    EXPECT_EQ(w, 1280) << geo;
    EXPECT_EQ(h, 960) << geo;
    EXPECT_TRUE(px >= 0 && py >= 0 && px + w <= 1280 && py + h <= 1024) << geo;
    ASSERT_GT(g.shot("scale_2x.png").width, 0);
    geo = step(1280);
    EXPECT_EQ(w, 640) << geo;
    EXPECT_EQ(h, 480) << geo;
    EXPECT_TRUE(px >= 0 && py >= 0 && px + w <= 1280 && py + h <= 1024) << geo;
    stop(g.pid);
}

// After the human's turn the computer seats play and the new day's pause runs: the map keeps the
// human's view all the while.
TEST(EndToEnd, TheMapKeepsTheHumansViewWhileTheComputersPlay) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("view", true);
    remove_maps(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image announcement = g.open_first_turn("view_announcement.png");
    const vorn1::Image turn = g.close_announcement(announcement, "view_turn.png");
    ASSERT_GT(turn.width, 0);
    end_turn_past_question(g, turn, "view_end_turn.png");
    const auto new_day = [&turn](const vorn1::Image& now, const vorn1::Image&) {
        return changed_pixels(turn, now, kInfoPanel) > 144 * 88 / 4;
    };
    const vorn1::Image pause = g.wait_for_screen("view_newday.png", "the new day's panel", new_day);
    ASSERT_GT(pause.width, 0);
    // The map view (animated water and flags aside) and the hero and town lists stay as they were.
    EXPECT_LT(changed_pixels(turn, pause, 16, 16, 448, 448), 448 * 448 / 20);
    EXPECT_LT(changed_pixels(turn, pause, 480, 176, 160, 140), 160 * 140 / 20);
    stop(g.pid);
}

// A map whose title and description the file holds in the DOS code page shows their letters on the
// set-up page, in the map list and under it, and on the scenario information during play.
TEST(EndToEnd, AClassicMapTitleShowsItsLetters) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("classic", true);
    remove_maps(folder, "KITC1200.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image setup = g.open_setup_page();
    // The scenario box opens the map list; Return takes the map and the page's Return starts it.
    const Box panel{312, 0, 320, 470};
    g.click_at(450, 346, 0);
    const vorn1::Image list = g.wait_for_change("classic_map_list.png", setup, panel, 2000);
    g.keys({"Return"}, 0);
    g.wait_for_return("classic_setup_again.png", setup, panel);
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change("classic_turn.png", setup, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    const vorn1::Image map = g.close_announcement(turn, "classic_map.png");
    g.keys({"i"}, 0);
    const vorn1::Image info = g.wait_for_change("classic_scenario_information.png", map, Box{159, 10, 322, 459}, 20000);
    g.keys({"Escape"}, 0);
    g.wait_for_return("classic_map_again.png", map, kMapView);
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
