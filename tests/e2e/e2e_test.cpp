// The real program on the demo data: under a virtual X server its window appears, and without an
// archive it ends with a message naming the path it tried.
#include <gtest/gtest.h>

#include <cstring>

#include "assets/image.h"
#include "assets/png_decode.h"
#include "datakit/kit_maps.h"
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;

namespace {

bool have_program(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// A scratch data folder with the program one folder below it, as users install it.
struct GameFolder {
    fs::path root;
    explicit GameFolder(const std::string& tag, bool with_data) {
        root = fs::temp_directory_path() / ("vorn1_e2e_" + tag + "_" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root / "bin");
        if (with_data) {
            const std::string cmd = std::string(VORN1_BINARY_DIR) + "/make_demo_data " + root.string() + " >/dev/null";
            EXPECT_EQ(std::system(cmd.c_str()), 0);
        }
        fs::copy_file(fs::path(VORN1_BINARY_DIR) / "dravenmoor", root / "bin" / "dravenmoor");
    }
    ~GameFolder() { fs::remove_all(root); }
};

// Starts a program; its standard error (and output) goes to `out_fd` when given.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& dir,
            int out_fd = -1, int keep_fd = -1) {
    const pid_t pid = ::fork();
    if (pid != 0) return pid;
    if (!dir.empty() && ::chdir(dir.c_str()) != 0) ::_exit(127);
    for (const std::string& kv : env) ::putenv(const_cast<char*>(kv.c_str()));
    if (out_fd >= 0) {
        ::dup2(out_fd, STDOUT_FILENO);
        ::dup2(out_fd, STDERR_FILENO);
    }
    for (int fd = 3; fd < 256; ++fd)
        if (fd != keep_fd) ::close(fd);
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    ::execvp(args[0], args.data());
    ::_exit(127);
}

// Waits up to `seconds` for the process; its exit status, or -1 when it is still running.
int wait_for(pid_t pid, double seconds) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    do {
        int status = 0;
        if (::waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : 128;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    } while (std::chrono::steady_clock::now() < end);
    return -1;
}

void stop(pid_t pid) {
    if (pid <= 0) return;
    ::kill(pid, SIGTERM);
    if (wait_for(pid, 5) < 0) {
        ::kill(pid, SIGKILL);
        wait_for(pid, 5);
    }
}

std::string run_capture(const std::string& cmd) {
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
        char buf[256];
        while (std::fgets(buf, sizeof buf, p)) out += buf;
        ::pclose(p);
    }
    return out;
}

// A virtual X server on a free display, stopped with the fixture.
struct VirtualDisplay {
    pid_t pid = -1;
    std::string display;
    explicit VirtualDisplay(const std::string& screen = "1024x768x24") {
        int fds[2];
        if (::pipe(fds) != 0) return;
        // Without -noreset the server starts over whenever its last client leaves (a probe, a window
        // search), and refuses a program that connects meanwhile.
        pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp",
                     "-noreset"},
                    {}, {}, -1, fds[1]);
        ::close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        std::string num;
        while (::poll(&p, 1, 10000) > 0) {
            char c;
            if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
            num += c;
        }
        ::close(fds[0]);
        if (num.empty()) return;
        // The display number can come before the server takes clients on a busy machine.
        const std::string probe = "DISPLAY=:" + num + " xdotool getdisplaygeometry >/dev/null 2>&1";
        for (int i = 0; i < 100; ++i) {
            if (std::system(probe.c_str()) == 0) {
                display = ":" + num;
                return;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    ~VirtualDisplay() { stop(pid); }
};

std::string file_text(const fs::path& file) {
    std::string out;
    if (std::FILE* f = std::fopen(file.c_str(), "rb")) {
        char buf[4096];
        size_t n;
        while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
        std::fclose(f);
    }
    return out;
}

}  // namespace

// Starts the program of the folder on the display and waits up to 20 s for its window; `ids` holds
// the window ids xdotool found. A failure quotes what the program printed (kept in game.log).
void start_game_window(const GameFolder& folder, const VirtualDisplay& x, pid_t& game, std::string& ids) {
    const fs::path log = folder.root / "game.log";
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    game = spawn({"./dravenmoor"},
                 {"DISPLAY=" + x.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"},
                 folder.root / "bin", fd);
    if (fd >= 0) ::close(fd);
    const std::string search = "DISPLAY=" + x.display + " xdotool search --name 'Dravenmoor I' 2>/dev/null";
    for (int i = 0; i < 200 && ids.empty(); ++i) {
        ASSERT_EQ(wait_for(game, 0.1), -1) << "the program ended early; it printed:\n" << file_text(log);
        ids = run_capture(search);
    }
    ASSERT_FALSE(ids.empty()) << "no window named Dravenmoor I; the program printed:\n" << file_text(log);
}

TEST(EndToEnd, MissingArchiveEndsWithTheTriedPath) {
    GameFolder folder("noarchive", false);
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    // No display: the message cannot be shown in a box and goes to the log.
    const pid_t game = spawn({"env", "-u", "DISPLAY", "-u", "WAYLAND_DISPLAY", "./dravenmoor"},
                             {"SDL_VIDEODRIVER=dummy", "SDL_AUDIODRIVER=dummy", "ASAN_OPTIONS=detect_leaks=0"},
                             folder.root / "bin", fds[1]);
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
    const int status = wait_for(game, 20);
    if (status < 0) stop(game);
    EXPECT_EQ(status, 1);
    EXPECT_NE(out.find("Path tried: "), std::string::npos) << out;
    EXPECT_NE(out.find("VELDAR.AGG"), std::string::npos) << out;
}

namespace {

// The window's pixels through the screenshot tool, decoded; empty when the tool failed.
vorn1::Image window_shot(const std::string& display, const std::string& id, const fs::path& file) {
    // A screenshot tool stuck on a busy display must not hold the suite.
    const std::string cmd =
        "DISPLAY=" + display + " timeout 30 import -window " + id + " png:" + file.string() + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return {};
    const std::string text = file_text(file);
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    try {
        return vorn1::decode_png(bytes);
    } catch (...) {
        return {};
    }
}

// Pixels that differ between two shots inside a rectangle.
int changed_pixels(const vorn1::Image& a, const vorn1::Image& b, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h && y < a.height && y < b.height; ++y)
        for (int x = x0; x < x0 + w && x < a.width && x < b.width; ++x)
            if (std::memcmp(&a.pixels[((size_t)y * a.width + x) * 4], &b.pixels[((size_t)y * b.width + x) * 4], 3) != 0) ++n;
    return n;
}

}  // namespace

// A person's first minute: through the title menus (new game, standard, start) onto the demo map,
// the turn announcement is closed with Enter, a tile below the hero is clicked twice, and the hero
// walks off its tile (checked on screenshots of the real window).

namespace {

// A started game's first window and the xdotool prefix for its display.
struct RunningGame {
    pid_t pid = -1;
    std::string id;
    std::string xdo;
    const VirtualDisplay* x = nullptr;
    void keys(std::initializer_list<const char*> names, int pause_ms = 700) const {
        for (const char* key : names) {
            EXPECT_EQ(std::system((xdo + "key --window " + id + " " + key).c_str()), 0) << key;
            std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
        }
    }
    // Kept beside the build for a person to look at.
    vorn1::Image shot(const std::string& name) const {
        const fs::path keep = fs::path(VORN1_BINARY_DIR) / "e2e_shots";
        fs::create_directories(keep);
        return window_shot(x->display, id, keep / name);
    }
    std::string geometry() const { return run_capture(xdo + "getwindowgeometry " + id); }
};

void start_game(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g, const char* film_shot = nullptr) {
    std::string ids;
    ASSERT_NO_FATAL_FAILURE(start_game_window(folder, x, g.pid, ids));
    ASSERT_FALSE(ids.empty()) << "no window named Dravenmoor I";
    g.id = ids.substr(0, ids.find('\n'));
    g.xdo = "DISPLAY=" + x.display + " xdotool ";
    g.x = &x;
    if (film_shot) {
        std::this_thread::sleep_for(std::chrono::milliseconds(600));
        g.shot(film_shot);
    }
    // The start-up films: each space skips the one that plays. On the title screen space does
    // nothing, so once the films are over the lit menu column stays as it was, twice in a row.
    const fs::path probe = folder.root / "probe.png";
    vorn1::Image last = window_shot(x.display, g.id, probe);
    for (int i = 0, still = 0; i < 20 && still < 2; ++i) {
        g.keys({"space"}, 2000);
        const vorn1::Image now = window_shot(x.display, g.id, probe);
        const vorn1::Image black(now.width, now.height);
        const bool lit = changed_pixels(black, now, 392, 32, 210, 426) > 210 * 426 / 2;
        still = lit && last.width > 0 && changed_pixels(last, now, 392, 32, 210, 426) < 50 ? still + 1 : 0;
        last = now;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

// The program's exit status within `seconds`; -1, with the program stopped, when it still ran.
int exit_status(pid_t pid, double seconds) {
    const int status = wait_for(pid, seconds);
    if (status < 0) stop(pid);
    return status;
}

bool have_screen_tools() { return have_program("Xvfb") && have_program("xdotool") && have_program("import"); }

void remove_maps(const GameFolder& folder) {
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP") fs::remove(entry.path());
}

}  // namespace

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

TEST(EndToEnd, AHeroWalksOnTheDemoMap) {
    if (!have_program("Xvfb") || !have_program("xdotool") || !have_program("import"))
        GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("walk", true);
    // Without scenario maps the set-up page starts the archive's demo map.
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP") fs::remove(entry.path());
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const pid_t game = g.pid;
    const std::string& id = g.id;
    const std::string& xdo = g.xdo;
    for (const char* key : {"n", "s", "Return"}) {
        EXPECT_EQ(std::system((xdo + "key --window " + id + " " + key).c_str()), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));
    // The selected hero stands in the middle of the view: its tile's top-left is (239, 240).
    EXPECT_EQ(std::system((xdo + "mousemove --window " + id + " 255 290 key Return").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(700));
    const vorn1::Image before = window_shot(x.display, id, folder.root / "before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";
    EXPECT_EQ(std::system((xdo + "click 1").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(std::system((xdo + "click 1").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    const vorn1::Image after = window_shot(x.display, id, folder.root / "after.png");
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(before, after, 239, 240, 32, 32), 150) << "the hero's first tile did not change";
    EXPECT_GT(changed_pixels(before, after, 239, 272, 32, 32), 150) << "no hero on the tile below";
    ::kill(game, SIGTERM);
    const int status = wait_for(game, 20);
    if (status < 0) stop(game);
    EXPECT_EQ(status, 0);
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
    g.keys({"l", "s", "Return"});
    vorn1::Image save_notice;
    for (int i = 0; i < 20; ++i) {  // a busy machine may take a moment
        save_notice = g.shot("refused_save.png");
        if (changed_pixels(title, save_notice, 200, 150, 240, 150) > 5000) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
    }
    EXPECT_GT(changed_pixels(title, save_notice, 200, 150, 240, 150), 5000) << "no notice over the title";
    ASSERT_EQ(wait_for(g.pid, 0.1), -1) << "the program ended";
    g.keys({"Return", "n", "s", "Return"});
    const vorn1::Image map_notice = g.shot("refused_map.png");
    ASSERT_GT(map_notice.width, 0);
    g.keys({"Return", "Escape"});
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
    g.keys({"n", "s", "Return", "Return", "s"});
    ASSERT_GT(g.shot("savekey_dialog.png").width, 0);
    g.keys({"Return"});
    std::vector<std::string> stems;
    for (int i = 0; i < 50 && stems.empty(); ++i) {  // a busy machine may take a moment
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(folder.root / "saved_games", ec))
            if (entry.path().extension() == ".sav") stems.push_back(entry.path().stem().string());
        if (stems.empty()) std::this_thread::sleep_for(std::chrono::milliseconds(200));
    }
    ASSERT_EQ(stems.size(), 1u);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // the notice is up
    ASSERT_GT(g.shot("savekey_notice.png").width, 0);
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
    // Each step waits until the window has changed size (or 10 s have passed).
    auto step = [&](int from_w) {
        g.keys({"F11"}, 200);
        std::string geo;
        for (int i = 0; i < 50; ++i) {
            geo = placed(px, py, w, h);
            if (w != from_w) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        return placed(px, py, w, h);
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
    g.keys({"n", "s", "Return"});
    g.keys({"Return"}, 3500);  // the turn's date summary runs out
    const vorn1::Image turn = g.shot("view_turn.png");
    ASSERT_GT(turn.width, 0);
    g.keys({"e"}, 500);
    g.keys({"Return"}, 200);
    const vorn1::Image pause = g.shot("view_newday.png");
    ASSERT_GT(pause.width, 0);
    ASSERT_GT(changed_pixels(turn, pause, 480, 392, 144, 88), 144 * 88 / 4) << "the shot missed the new day's panel";
    // The map view (animated water and flags aside) and the hero and town lists stay as they were.
    EXPECT_LT(changed_pixels(turn, pause, 16, 16, 448, 448), 448 * 448 / 20);
    EXPECT_LT(changed_pixels(turn, pause, 480, 176, 160, 140), 160 * 140 / 20);
    stop(g.pid);
}

// The town road on the kit's road map: the hero walks into its castle (the town screen), buys a book
// in the mage guild, the portrait opens the hero screen and the book slot the spellbook, and after
// leaving the town the hero walks to the second hero (the meeting window). The screenshots are kept
// as e2e_shots/road_*.png.
TEST(EndToEnd, TownHeroScreenAndMeetingOnTheRoadMap) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("road", true);
    remove_maps(folder);
    ASSERT_TRUE(vorn1::kit::write_map_file((folder.root / "maps" / "ROAD.MAP").string(), vorn1::kit::make_road_map()));
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const auto click_at = [&g](int px, int py, int wait_ms) {
        EXPECT_EQ(std::system((g.xdo + "mousemove --window " + g.id + " " + std::to_string(px) + " " +
                               std::to_string(py) + " click 1").c_str()),
                  0);
        std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
    };
    g.keys({"n", "s", "Return"});
    g.keys({"Return"}, 3500);  // the turn's date summary runs out
    const vorn1::Image map_view = g.shot("road_map.png");
    ASSERT_GT(map_view.width, 0) << "no screenshot";

    // The castle's entrance is the tile up and left of the hero (centre 255, 256).
    click_at(223, 224, 500);
    click_at(223, 224, 2000);
    const vorn1::Image town = g.shot("road_town.png");
    ASSERT_GT(town.width, 0);
    EXPECT_GT(changed_pixels(map_view, town, 0, 0, 479, 256), 60000) << "no town screen";

    // The mage guild sells the visitor a book and teaches him its spells.
    click_at(340, 100, 1000);
    click_at(249, 336, 1000);  // Buy
    g.keys({"Escape"});        // out of the guild
    click_at(55, 400, 1200);   // the visiting hero's portrait
    const vorn1::Image hero = g.shot("road_hero.png");
    ASSERT_GT(hero.width, 0);
    EXPECT_GT(changed_pixels(town, hero, 0, 256, 640, 224), 30000) << "no hero screen";

    click_at(80, 340, 1200);  // the magic book, in the first artifact slot
    const vorn1::Image book = g.shot("road_spellbook.png");
    ASSERT_GT(book.width, 0);
    EXPECT_GT(changed_pixels(hero, book, 146, 119, 326, 192), 30000) << "no spellbook";
    g.keys({"Escape"});  // the book closes, the hero screen stays
    g.keys({"Escape"});
    click_at(590, 440, 1200);  // the town's exit
    const vorn1::Image back = g.shot("road_back.png");
    ASSERT_GT(back.width, 0);
    // The second hero stands two tiles east of where the first one started.
    click_at(319, 256, 500);
    click_at(319, 256, 2500);
    const vorn1::Image meeting = g.shot("road_meeting.png");
    ASSERT_GT(meeting.width, 0);
    EXPECT_GT(changed_pixels(back, meeting, 16, 16, 448, 448), 60000) << "no meeting window";
    stop(g.pid);
}

// A whole battle by a player's hands: on the kit's battle map the hero stands next to a band of
// peasants; two clicks on them bring the quick-combat result, n declines it, the battle screen opens,
// its automatic-combat button plays the battle out, Enter closes the result, and the map shows the
// monster gone.
TEST(EndToEnd, AHeroFightsTheMonsterBesideItOnTheBattleScreen) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("battle", true);
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP" && entry.path().filename() != "KITBATTL.MAP") fs::remove(entry.path());
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    auto mouse = [&g](const std::string& args, int wait_ms) {
        EXPECT_EQ(std::system((g.xdo + "mousemove --window " + g.id + " " + args).c_str()), 0) << args;
        std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
    };
    g.keys({"n", "s", "Return"});
    mouse("255 290", 300);
    g.keys({"Return"}, 3500);  // the turn's date summary runs out
    const vorn1::Image before = g.shot("battle_map_before.png");
    ASSERT_GT(before.width, 0) << "no screenshot";

    // The peasants stand on the tile east of the hero (the hero's tile has its top-left at (239, 240)).
    mouse("287 256 click 1", 500);
    mouse("287 256 click 1", 2500);
    const vorn1::Image preview = g.shot("battle_preview.png");
    ASSERT_GT(preview.width, 0);
    EXPECT_GT(changed_pixels(before, preview, 160, 1, 320, 458), 20000) << "no quick-combat result over the map";
    g.keys({"n"}, 1000);
    const vorn1::Image field = g.shot("battle_field.png");
    ASSERT_GT(field.width, 0);
    EXPECT_GT(changed_pixels(preview, field, 0, 0, 640, 460), 100000) << "no battle field";

    // The automatic-combat button at the left of the text bar plays the battle out.
    mouse("20 470 click 1", 500);
    mouse("320 300", 30000);
    const vorn1::Image result = g.shot("battle_result.png");
    ASSERT_GT(result.width, 0);
    EXPECT_GT(changed_pixels(field, result, 160, 1, 320, 458), 20000) << "no result screen";
    g.keys({"Return"}, 1500);
    const vorn1::Image after = g.shot("battle_map_after.png");
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(before, after, 271, 240, 32, 32), 150) << "the monster's tile did not change";
    EXPECT_LT(changed_pixels(before, after, 16, 16, 200, 200), 2000) << "the map is not back";
    ::kill(g.pid, SIGTERM);
    const int status = wait_for(g.pid, 20);
    if (status < 0) stop(g.pid);
    EXPECT_EQ(status, 0);
}

// A whole game: the intro films skipped, the quick kit scenario chosen on the title screen, won by
// walking into the last rival town, a name entered in the high-score table, the title screen
// again, and quit from there with exit status 0.
TEST(EndToEnd, AWholeGameFromTheFilmsToTheHighScoreTable) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("whole", true);
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP" && entry.path().filename() != "KITQUICK.MAP") fs::remove(entry.path());
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g, "whole_1_film.png"));
    const vorn1::Image title = g.shot("whole_2_title.png");
    g.keys({"n", "s", "Return"});
    g.keys({}, 800);
    g.shot("whole_3_turn.png");
    // The rival town's entrance is the tile above the hero, who stands in the middle of the view.
    EXPECT_EQ(std::system((g.xdo + "mousemove --window " + g.id + " 255 224 key Return").c_str()), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));  // the date summary runs out
    const vorn1::Image map = g.shot("whole_4_map.png");
    for (int wait : {600, 3000}) {
        EXPECT_EQ(std::system((g.xdo + "click 1").c_str()), 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(wait));
    }
    const vorn1::Image score = g.shot("whole_5_score.png");
    EXPECT_GT(changed_pixels(map, score, 0, 0, 640, 480), 100000) << "no score screen over the map";
    g.keys({"Return"}, 1000);
    g.shot("whole_6_name.png");
    EXPECT_EQ(std::system((g.xdo + "key --window " + g.id + " --repeat 20 BackSpace").c_str()), 0);
    EXPECT_EQ(std::system((g.xdo + "type --window " + g.id + " Ada").c_str()), 0);
    g.keys({"Return"}, 1200);
    const vorn1::Image table = g.shot("whole_7_high_scores.png");
    EXPECT_NE(file_text(folder.root / "STANDARD.HS").find("Ada"), std::string::npos) << "no entry in the file";
    g.keys({"Escape"}, 1500);
    const vorn1::Image again = g.shot("whole_8_title_again.png");
    EXPECT_GT(changed_pixels(table, again, 0, 0, 640, 480), 100000) << "the high-score page stayed";
    // The menu column (the sea beside it moves).
    EXPECT_LT(changed_pixels(title, again, 392, 32, 210, 426), 200) << "not the title screen again";
    // The title menu's Quit button.
    EXPECT_EQ(std::system((g.xdo + "mousemove --window " + g.id + " 495 391 click 1").c_str()), 0);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
