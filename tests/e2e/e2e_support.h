// Shared steps of the whole-program tests: a scratch game folder, a virtual X server, the real
// program started on it and driven with xdotool, and screenshots read back.
#pragma once

#include <sys/types.h>

#include <filesystem>
#include <initializer_list>
#include <string>
#include <vector>

#include "assets/image.h"

namespace vorn1::e2e {

namespace fs = std::filesystem;

bool have_program(const char* name);
// Xvfb, xdotool and import: the whole-program tests skip without them.
bool have_screen_tools();

// A scratch data folder with the program one folder below it, as users install it.
struct GameFolder {
    fs::path root;
    GameFolder(const std::string& tag, bool with_data);
    ~GameFolder();
};

// Removes the folder's scenario maps but `keep` (every one when empty).
void remove_maps(const GameFolder& folder, const std::string& keep = {});

// Starts a program; its standard error (and output) goes to `out_fd` when given.
pid_t spawn(const std::vector<std::string>& argv, const std::vector<std::string>& env, const fs::path& dir,
            int out_fd = -1, int keep_fd = -1);
// Waits up to `seconds` for the process; its exit status, or -1 when it is still running.
int wait_for(pid_t pid, double seconds);
void stop(pid_t pid);
// The program's exit status within `seconds`; -1, with the program stopped, when it still ran.
int exit_status(pid_t pid, double seconds);
std::string run_capture(const std::string& cmd);
std::string file_text(const fs::path& file);

// A virtual X server on a free display, stopped with the fixture.
struct VirtualDisplay {
    pid_t pid = -1;
    std::string display;
    explicit VirtualDisplay(const std::string& screen = "1024x768x24");
    ~VirtualDisplay();
};

// The window's pixels through the screenshot tool, decoded; empty when the tool failed.
Image window_shot(const std::string& display, const std::string& id, const fs::path& file);
// Pixels that differ between two shots inside a rectangle.
int changed_pixels(const Image& a, const Image& b, int x0, int y0, int w, int h);

// Starts the program of the folder on the display and waits up to 20 s for its window; `ids` holds
// the window ids xdotool found. A failure quotes what the program printed (kept in game.log).
void start_game_window(const GameFolder& folder, const VirtualDisplay& x, pid_t& game, std::string& ids);

// A started game's first window and the xdotool prefix for its display.
struct RunningGame {
    pid_t pid = -1;
    std::string id;
    std::string xdo;
    const VirtualDisplay* x = nullptr;
    void keys(std::initializer_list<const char*> names, int pause_ms = 700) const;
    // xdotool's mousemove to window coordinates, then the rest of `args` (e.g. "20 470 click 1").
    void mouse(const std::string& args, int wait_ms) const;
    void click_at(int px, int py, int wait_ms) const;
    // Kept beside the build (e2e_shots/) for a person to look at.
    Image shot(const std::string& name) const;
    std::string geometry() const;
};

// Starts the game and skips the start-up films until the title menu stands still.
void start_game(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g, const char* film_shot = nullptr);

}  // namespace vorn1::e2e
