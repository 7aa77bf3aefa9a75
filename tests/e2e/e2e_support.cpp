#include "e2e_support.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "assets/png_decode.h"

namespace vorn1::e2e {

bool have_program(const char* name) {
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

bool have_screen_tools() { return have_program("Xvfb") && have_program("xdotool") && have_program("import"); }

GameFolder::GameFolder(const std::string& tag, bool with_data) {
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
    int fds[2];
    if (::pipe(fds) != 0) return;
    // Without -noreset the server starts over whenever its last client leaves (a probe, a window
    // search), and refuses a program that connects meanwhile.
    pid = spawn({"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0", screen, "-nolisten", "tcp", "-noreset"},
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

void RunningGame::keys(std::initializer_list<const char*> names, int pause_ms) const {
    for (const char* key : names) {
        EXPECT_EQ(std::system((xdo + "key --window " + id + " " + key).c_str()), 0) << key;
        std::this_thread::sleep_for(std::chrono::milliseconds(pause_ms));
    }
}

void RunningGame::mouse(const std::string& args, int wait_ms) const {
    EXPECT_EQ(std::system((xdo + "mousemove --window " + id + " " + args).c_str()), 0) << args;
    std::this_thread::sleep_for(std::chrono::milliseconds(wait_ms));
}

void RunningGame::click_at(int px, int py, int wait_ms) const {
    mouse(std::to_string(px) + " " + std::to_string(py) + " click 1", wait_ms);
}

Image RunningGame::shot(const std::string& name) const {
    const fs::path keep = fs::path(VORN1_BINARY_DIR) / "e2e_shots";
    fs::create_directories(keep);
    return window_shot(x->display, id, keep / name);
}

std::string RunningGame::geometry() const { return run_capture(xdo + "getwindowgeometry " + id); }

void start_game(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g, const char* film_shot) {
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
    Image last = window_shot(x.display, g.id, probe);
    for (int i = 0, still = 0; i < 20 && still < 2; ++i) {
        g.keys({"space"}, 2000);
        const Image now = window_shot(x.display, g.id, probe);
        const Image black(now.width, now.height);
        const bool lit = changed_pixels(black, now, 392, 32, 210, 426) > 210 * 426 / 2;
        still = lit && last.width > 0 && changed_pixels(last, now, 392, 32, 210, 426) < 50 ? still + 1 : 0;
        last = now;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
}

}  // namespace vorn1::e2e
