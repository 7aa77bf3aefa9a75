#include "e2e_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <sstream>
#include <thread>

#include "assets/png_decode.h"
#include "frontend/menu_screen.h"

namespace vorn1::e2e {

bool have_program(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool have_screen_tools() { return have_program("Xvfb") && have_program("xdotool") && have_program("import"); }

GameFolder::GameFolder(const std::string& tag_, bool with_data) : tag(tag_) {
    root = fs::temp_directory_path() / ("vorn1_e2e_" + tag + "_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "bin");
    if (with_data) {
        const std::string cmd = std::string(VORN1_BINARY_DIR) + "/make_demo_data " + root.string() + " >/dev/null";
        EXPECT_EQ(std::system(cmd.c_str()), 0);
    }
    fs::copy_file(fs::path(VORN1_BINARY_DIR) / "dravenmoor", root / "bin" / "dravenmoor");
}

GameFolder::~GameFolder() { fs::remove_all(root); }

void remove_maps(const GameFolder& folder, const std::string& keep) {
    for (const auto& entry : fs::directory_iterator(folder.root / "maps"))
        if (entry.path().extension() == ".MAP" && entry.path().filename() != keep) fs::remove(entry.path());
}

pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& dir,
            int out_fd, int keep_fd) {
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

int exit_status(pid_t pid, double seconds) {
    const int status = wait_for(pid, seconds);
    if (status < 0) stop(pid);
    return status;
}

namespace {

// A schedstat file: time on a processor, time waiting on a run queue (ns), time slices.
double schedstat_wait(const fs::path& file) {
    std::istringstream in(file_text(file));
    long long ran = 0, waited = 0;
    return in >> ran >> waited ? static_cast<double>(waited) / 1e9 : 0;
}

}  // namespace

double run_queue_wait(pid_t pid) { return schedstat_wait("/proc/" + std::to_string(pid) + "/schedstat"); }

double threads_run_queue_wait(pid_t pid) {
    double waited = 0;
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec))
        waited += schedstat_wait(task.path() / "schedstat");
    return waited;
}

Termination terminate_within(pid_t pid, double seconds, int sig) {
    const double waited_before = run_queue_wait(pid);
    ::kill(pid, sig);
    const auto sent = std::chrono::steady_clock::now();
    Termination t;
    for (;;) {
        t.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - sent).count();
        // An ended program is read before it is reaped: its numbers go with it.
        siginfo_t info{};
        const bool ended = ::waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT) == 0 &&
                           info.si_pid == pid;
        t.waited = run_queue_wait(pid) - waited_before;
        if (ended) {
            t.status = wait_for(pid, 1);
            return t;
        }
        if (t.seconds - t.waited > seconds || t.seconds > kPatience) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    stop(pid);
    return t;
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

VirtualDisplay::VirtualDisplay(const std::string& screen) {
    // Each test process takes display numbers of its own: servers that pick the first free number
    // at the same moment can both settle on one, and a test then talks to another test's server.
    const int base = 100 + static_cast<int>(::getpid() % 4000) * 8;
    for (int n = base; n < base + 8 && display.empty(); ++n) {
        int fds[2];
        if (::pipe(fds) != 0) return;
        // Without -noreset the server starts over whenever its last client leaves (a probe, a window
        // search), and refuses a program that connects meanwhile.
        pid = spawn({"Xvfb", ":" + std::to_string(n), "-displayfd", std::to_string(fds[1]), "-screen", "0", screen,
                     "-nolisten", "tcp", "-noreset"},
                    {}, {}, -1, fds[1]);
        ::close(fds[1]);
        pollfd p{fds[0], POLLIN, 0};
        std::string num;
        while (::poll(&p, 1, static_cast<int>(kPatience * 1000)) > 0) {
            char c;
            if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
            num += c;
        }
        ::close(fds[0]);
        // The display number can come before the server takes clients on a busy machine.
        const std::string probe = "DISPLAY=:" + std::to_string(n) + " xdotool getdisplaygeometry >/dev/null 2>&1";
        // A server that failed on a taken number has ended (and is reaped here, once).
        bool ended = false;
        const auto alive = [&] { return !ended && !(ended = wait_for(pid, 0) >= 0); };
        const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
        while (!num.empty() && alive() && std::chrono::steady_clock::now() < end) {
            if (std::system(probe.c_str()) == 0) {
                // Only a server of our own.
                if (alive()) display = ":" + std::to_string(n);
                break;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
        if (display.empty()) {
            if (alive()) stop(pid);
            pid = -1;
        }
    }
}

VirtualDisplay::~VirtualDisplay() { stop(pid); }

Image window_shot(const std::string& display, const std::string& id, const fs::path& file) {
    // A screenshot tool stuck on a busy display must not hold the suite.
    const std::string cmd =
        "DISPLAY=" + display + " timeout 30 import -window " + id + " png:" + file.string() + " 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return {};
    const std::string text = file_text(file);
    const std::vector<uint8_t> bytes(text.begin(), text.end());
    try {
        return decode_png(bytes);
    } catch (...) {
        return {};
    }
}

int changed_pixels(const Image& a, const Image& b, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h && y < a.height && y < b.height; ++y)
        for (int x = x0; x < x0 + w && x < a.width && x < b.width; ++x)
            if (std::memcmp(&a.pixels[((size_t)y * a.width + x) * 4], &b.pixels[((size_t)y * b.width + x) * 4], 3) != 0) ++n;
    return n;
}

void start_game_window(const GameFolder& folder, const VirtualDisplay& x, pid_t& game, std::string& ids) {
    const fs::path log = folder.root / "game.log";
    const int fd = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    // The program sends its own standard error to nowhere: a sanitizer's report goes to a file beside the log.
    const std::string reports = "log_path=" + (folder.root / "sanitizer").string();
    std::vector<std::string> env{"DISPLAY=" + x.display, "SDL_VIDEODRIVER=x11", "SDL_AUDIODRIVER=dummy",
                                 "ASAN_OPTIONS=detect_leaks=0:" + reports, "UBSAN_OPTIONS=print_stacktrace=1:" + reports};
    env.insert(env.end(), folder.env.begin(), folder.env.end());
    game = spawn({"./dravenmoor"}, env, folder.root / "bin", fd);
    if (fd >= 0) ::close(fd);
    // Only a mapped window takes the focus and has pixels to read.
    const std::string search =
        "DISPLAY=" + x.display + " xdotool search --onlyvisible --name 'Dravenmoor I' 2>/dev/null";
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
    while (ids.empty() && std::chrono::steady_clock::now() < end) {
        ASSERT_EQ(wait_for(game, 0.1), -1) << "the program ended early; it printed:\n" << file_text(log);
        ids = run_capture(search);
    }
    ASSERT_FALSE(ids.empty()) << "no window named Dravenmoor I; the program printed:\n" << file_text(log);
}

RunningGame::~RunningGame() {
    // A test that ended early (a failed step or assertion) leaves no program behind; one already
    // reaped is no child of ours any more.
    int status = 0;
    if (pid > 0 && ::waitpid(pid, &status, WNOHANG) == 0) stop(pid);
}

bool RunningGame::find_window_again() const {
    const std::string ids = run_capture(xdo + "search --onlyvisible --name 'Dravenmoor I' 2>/dev/null");
    const std::string first = ids.substr(0, ids.find('\n'));
    if (first.empty() || first == id) return false;
    id = first;
    return true;
}

void RunningGame::keys(std::initializer_list<const char*> names, int pause_ms) const {
    // Sent to the window itself, keys are synthetic events without a time stamp, which the
    // program's X input layer can take for auto-repeats or ignore; a focused window gets real ones.
    const auto press = [&](const char* key) {
        const std::string cmd = "DISPLAY=" + x->display + " timeout 20 xdotool windowfocus --sync " + id + " key " + key;
        return std::system(cmd.c_str()) == 0;
    };
    for (const char* key : names) {
        EXPECT_TRUE(press(key) || (find_window_again() && press(key))) << key << " to window " << id;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
    }
}

void RunningGame::mouse(const std::string& args, int wait_ms) const {
    const auto move = [&] { return std::system((xdo + "mousemove --window " + id + " " + args).c_str()) == 0; };
    EXPECT_TRUE(move() || (find_window_again() && move())) << args << " in window " << id;
    std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
}

void RunningGame::click_at(int px, int py, int wait_ms) const {
    mouse(std::to_string(px) + " " + std::to_string(py) + " click 1", wait_ms);
}

Image RunningGame::shot(const std::string& name) const {
    const fs::path keep = fs::path(VORN1_BINARY_DIR) / "e2e_shots";
    fs::create_directories(keep);
    if (log.empty()) return window_shot(x->display, id, keep / name);
    // Taken in the game's own folder, so another run of the test never reads a half-written file.
    const fs::path taken = log.parent_path() / "shot.png";
    Image image = window_shot(x->display, id, taken);
    if (image.empty() && find_window_again()) image = window_shot(x->display, id, taken);
    std::error_code ec;
    if (!image.empty()) fs::copy_file(taken, keep / name, fs::copy_options::overwrite_existing, ec);
    return image;
}

std::string RunningGame::geometry() const { return run_capture(xdo + "getwindowgeometry " + id); }

int changed_pixels(const Image& a, const Image& b, const Box& r) {
    return changed_pixels(a, b, r.x, r.y, r.w, r.h);
}

bool lit(const Image& shot, const Box& r) {
    return changed_pixels(Image(shot.width, shot.height), shot, r) > r.w * r.h / 2;
}

bool still(const Image& a, const Image& b, const Box& r) {
    return !a.empty() && !b.empty() && changed_pixels(a, b, r) <= r.w * r.h / 50;
}

Image RunningGame::wait_for_screen(const std::string& name, const std::string& what, const ShotTest& ready,
                                   double seconds, int pause_ms) const {
    const fs::path file = fs::path(VORN1_BINARY_DIR) / "e2e_shots" / name;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    Image before;
    for (;;) {
        Image now = shot(name);
        if (!now.empty() && ready(now, before)) return now;
        const int status = wait_for(pid, 0);
        if (status >= 0) {
            std::string reports;
            for (const auto& entry : fs::directory_iterator(log.parent_path()))
                if (entry.path().filename().string().rfind("sanitizer", 0) == 0) reports += file_text(entry.path());
            throw StepFailed("waiting for " + what + " (" + name + "): the program ended with status " +
                             std::to_string(status) + "; it printed:\n" + file_text(log) + reports);
        }
        if (std::chrono::steady_clock::now() > end) {
            std::ostringstream out;
            out << "waiting for " << what << " (" << name << "): not shown within " << seconds
                << " s; the last screenshot is " << file.string();
            throw StepFailed(out.str());
        }
        if (!now.empty()) before = std::move(now);
        std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
    }
}

Image RunningGame::wait_for_change(const std::string& name, const Image& from, const Box& region, int min_pixels,
                                   double seconds) const {
    // A change that goes on (a walk, a dissolve, a battle played out) is waited out: the region
    // must also stand still over three shots.
    Image older;
    const auto settled = [&](const Image& now, const Image& before) {
        const bool done = changed_pixels(from, now, region) > min_pixels && still(older, before, region) &&
                          still(before, now, region);
        older = before;
        return done;
    };
    return wait_for_screen(name, "a change of " + std::to_string(min_pixels) + " pixels that settles", settled,
                           seconds);
}

Image RunningGame::wait_until_still(const std::string& name, const Box& region, double seconds) const {
    const auto settled = [&](const Image& now, const Image& before) { return still(before, now, region); };
    return wait_for_screen(name, "a still screen", settled, seconds);
}

Image RunningGame::wait_for_return(const std::string& name, const Image& reference, const Box& region,
                                   double seconds) const {
    const auto back = [&](const Image& now, const Image& before) {
        return still(reference, now, region) && still(before, now, region);
    };
    return wait_for_screen(name, "the screen as it was before", back, seconds);
}

Image RunningGame::open_setup_page() const {
    const Image title = shot(tag + "_title.png");
    keys({"n"}, 0);
    const Image menu = wait_for_change(tag + "_new_game.png", title, kMenuColumn, 2000);
    keys({"s"}, 0);
    return wait_for_change(tag + "_setup.png", menu, kMenuColumn, 2000);
}

Image RunningGame::open_kit_campaign(const std::string& prefix) const {
    const Image title = shot(prefix + "_0_title.png");
    keys({"n"}, 0);
    const Image menu = wait_for_change(prefix + "_1_new_game.png", title, kMenuColumn, 2000);
    keys({"c"}, 0);
    const Image choice = wait_for_change(prefix + "_2_choice.png", menu, kMenuColumn, 2000);
    click_at(495, 181, 0);  // The Spirit World, the menu's second button
    return wait_for_change(prefix + "_3_story.png", choice, kStoryPanel, 50000);
}

Image RunningGame::open_first_turn(const std::string& name) const {
    const Image setup = open_setup_page();
    keys({"Return"}, 0);
    return wait_for_change(name, setup, kAdventurePanel, kAdventurePanel.w * kAdventurePanel.h / 4);
}

Image RunningGame::close_announcement(const Image& turn, const std::string& name) const {
    keys({"Return"}, 0);
    // The date takes the info panel for a while; then the hero's panel, as under the announcement.
    const auto map_back = [&](const Image& now, const Image& before) {
        return changed_pixels(turn, now, kMapView) > 20000 && still(turn, now, kInfoPanel) &&
               still(before, now, kInfoPanel);
    };
    return wait_for_screen(name, "the map with the hero's panel after the turn's announcement", map_back);
}

Image RunningGame::fight_out_automatically(const Image& field, const std::string& name) const {
    Image last = field;
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(150);
         std::chrono::steady_clock::now() < end;) {
        std::this_thread::sleep_for(std::chrono::seconds(1));
        const Image now = shot(tag + "_probe.png");
        if (now.width == 0) continue;
        // The result's panel covers most of the middle; its own animation never stands still.
        if (changed_pixels(field, now, 160, 1, 320, 458) > 60000) break;
        // The active stack's outline pulses while the field waits; a click while the field moves on is
        // refused by the program, or told that the automatic combat already plays.
        const bool standing = still(last, now, Box{});
        last = now;
        if (!standing) continue;
        mouse("20 470 click 1", 300);
        mouse("320 300", 300);
    }
    return shot(name);
}

Image RunningGame::close_battle_result(const Image& result, const std::string& name) const {
    Image closed;
    const auto gone = [&result](const Image& now) { return changed_pixels(result, now, 0, 0, 640, 460) > 100000; };
    for (const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(kPatience);
         std::chrono::steady_clock::now() < end;) {
        keys({"Return"});
        // A press taken while the program is slow to draw must not be followed by one that reaches the
        // screen after the result.
        for (const auto given = std::chrono::steady_clock::now() + std::chrono::seconds(3);
             std::chrono::steady_clock::now() < given;) {
            closed = shot(name);
            if (gone(closed)) return closed;
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        }
    }
    return closed;
}

void open_game_window(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g) {
    std::string ids;
    ASSERT_NO_FATAL_FAILURE(start_game_window(folder, x, g.pid, ids));
    ASSERT_FALSE(ids.empty()) << "no window named Dravenmoor I";
    g.id = ids.substr(0, ids.find('\n'));
    g.xdo = "DISPLAY=" + x.display + " xdotool ";
    g.x = &x;
    g.log = folder.root / "game.log";
    g.tag = folder.tag;
}

void start_game(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g, const char* film_shot) {
    ASSERT_NO_FATAL_FAILURE(open_game_window(folder, x, g));
    if (film_shot) {
        g.wait_for_screen(film_shot, "the first film", [](const Image& now, const Image&) { return lit(now, Box{}); });
    }
    // Each space skips the film that plays, or waits for the next one while the program loads it;
    // on the title menu space does nothing. While a film loads the last one's frame stands still,
    // so the title menu is told by its sea moving beside the still column, over three shots.
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(2 * kPatience);
    std::vector<Image> last;
    const auto title = [&last] {
        const size_t n = last.size();
        if (n < 3 || !lit(last[n - 1], kMenuColumn)) return false;
        const Image &a = last[n - 3], &b = last[n - 2], &c = last[n - 1];
        return still(a, b, kMenuColumn) && still(b, c, kMenuColumn) &&
               (!still(a, b, kTitleSea) || !still(b, c, kTitleSea) || !still(a, c, kTitleSea));
    };
    const fs::path probe = fs::path(VORN1_BINARY_DIR) / "e2e_shots" / (folder.tag + "_start.png");
    int shots = 0, failed_shots = 0;
    while (std::chrono::steady_clock::now() < end) {
        g.keys({"space"}, 0);
        for (int i = 0; i < 8 && std::chrono::steady_clock::now() < end; ++i) {
            Image now = g.shot(probe.filename().string());
            if (now.empty()) {
                ++failed_shots;
                continue;
            }
            ++shots;
            if (last.size() == 3) last.erase(last.begin());
            last.push_back(std::move(now));
            if (title()) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(250));
        }
        ASSERT_EQ(wait_for(g.pid, 0), -1) << "the program ended during its films; it printed:\n" << file_text(g.log);
    }
    std::string seen;
    for (size_t i = 1; i < last.size(); ++i)
        seen += " " + std::to_string(changed_pixels(last[i - 1], last[i], kMenuColumn)) + "/" +
                std::to_string(changed_pixels(last[i - 1], last[i], kTitleSea));
    FAIL() << "the title menu did not show within " << 2 * kPatience << " s (" << shots << " screenshots, " << failed_shots
           << " failed; pixels changed in the column/sea between the last ones:" << seen
           << "); the last screenshot is " << probe.string();
}

namespace {

// The adventure map's tile under a window point: the selected hero's tile, in the middle of the view, has
// its top-left at (239, 240).
Box map_tile_at(int px, int py) {
    const auto floor_div = [](int a, int b) { return a >= 0 ? a / b : -((-a + b - 1) / b); };
    return Box{239 + 32 * floor_div(px - 239, 32), 240 + 32 * floor_div(py - 240, 32), 32, 32};
}

}  // namespace

Image plan_route(const RunningGame& g, int px, int py, const Image& before, const std::string& name) {
    const Box tile = map_tile_at(px, py);
    // The mark: some 46 pixels of one colour (an animated figure on the tile changes fewer, of many colours).
    const auto mark_pixels = [&](const Image& now) {
        std::map<uint32_t, int> colours;
        for (int y = tile.y; y < tile.y + tile.h && y < now.height && y < before.height; ++y)
            for (int x = tile.x; x < tile.x + tile.w && x < now.width && x < before.width; ++x) {
                const uint8_t* p = now.at(x, y);
                if (std::memcmp(p, before.at(x, y), 3) != 0) ++colours[p[0] << 16 | p[1] << 8 | p[2]];
            }
        int most = 0;
        for (const auto& [colour, n] : colours) most = std::max(most, n);
        return most;
    };
    g.click_at(px, py, 0);
    const auto marked = [&](const Image& now, const Image& last) {
        return mark_pixels(now) >= 40 && still(last, now, tile);
    };
    return g.wait_for_screen(name, "the route's mark on the clicked tile", marked);
}

bool dialog_over_hidden_map(const Image& shot) {
    return !lit(shot, Box{480, 0, 160, 480}) && !lit(shot, Box{0, 0, 480, 150}) && lit(shot, Box{120, 180, 240, 120});
}

bool defeat_film_frame(const Image& shot) {
    if (shot.width < 640 || shot.height < 480 || lit(shot, Box{0, 0, 120, 480}) || lit(shot, Box{520, 0, 120, 480}))
        return false;
    int blue = 0;
    for (int y = 0; y < 480; y += 8)
        for (int x = 128; x < 512; x += 8) {
            const uint8_t* p = shot.at(x, y);
            blue += p[2] > 60 && p[2] > p[0] + 40 && p[2] > p[1] + 20;
        }
    return blue > 48 * 60 / 2;
}

Image start_hot_seat(const RunningGame& g) {
    // The set-up page's panel (the sea beside it moves).
    constexpr Box kSetupPanel{312, 12, 328, 456};
    const Image title = g.shot(g.tag + "_title.png");
    g.keys({"n"}, 0);
    const Image menu = g.wait_for_change(g.tag + "_new_game.png", title, kMenuColumn, 2000);
    g.keys({"m"}, 0);
    const Image multi = g.wait_for_change(g.tag + "_multi.png", menu, kMenuColumn, 2000);
    const SDL_Rect top = menu_button_rect(0);
    g.click_at(top.x + top.w / 2, top.y + top.h / 2, 0);
    const Image count = g.wait_for_change(g.tag + "_count.png", multi, kMenuColumn, 2000);
    g.click_at(top.x + top.w / 2, top.y + top.h / 2, 0);
    const Image setup = g.wait_for_change(g.tag + "_setup.png", count, kSetupPanel, 20000);
    g.keys({"Return"}, 0);
    return g.wait_for_change(g.tag + "_blue_turn.png", setup, kSetupPanel, 20000);
}

void end_turn_past_question(const RunningGame& g, const Image& map, const std::string& name) {
    g.keys({"e"}, 0);
    g.wait_for_change(name, map, kMapView, 5000);
    g.keys({"Return"}, 0);
}

}  // namespace vorn1::e2e
