// Shared steps of the whole-program tests: a scratch game folder, a virtual X server, the real
// program started on it and driven with xdotool, and screenshots read back.
#pragma once

#include <signal.h>
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <initializer_list>
#include <stdexcept>
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
    std::string tag;  // names the shots of the common steps
    // Further "NAME=value" entries of the program's environment; they come after the defaults and win.
    std::vector<std::string> env;
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
// The time the process's main thread has been ready to run but kept waiting for a processor, in
// seconds; 0 when the system does not tell.
double run_queue_wait(pid_t pid);
// The same, summed over all the process's threads alive now.
double threads_run_queue_wait(pid_t pid);
// Sends a termination request (`sig`) and waits for the program to end within `seconds` of its own:
// time it was kept waiting for a processor (a loaded machine's, not the program's) does not count. Its
// exit status (-1, with the program stopped, when it still ran), the seconds it took and of them the
// seconds it waited for a processor.
struct Termination {
    int status = -1;
    double seconds = 0;
    double waited = 0;
};
Termination terminate_within(pid_t pid, double seconds, int sig = SIGTERM);
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

// A rectangle of the 640 x 480 window.
struct Box {
    int x = 0, y = 0, w = 640, h = 480;
};
int changed_pixels(const Image& a, const Image& b, const Box& r);
// More than half of the rectangle is not black.
bool lit(const Image& shot, const Box& r);
// The rectangle stands still between two shots (a few animated pixels aside).
bool still(const Image& a, const Image& b, const Box& r);

// Thrown by a wait whose screen did not come: the test ends at that step, failed with its message,
// instead of waiting out every later step on the wrong screen.
struct StepFailed : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// How long a step waits for the screen it expects: a loaded machine can be slow to draw it.
constexpr double kPatience = 60;
// A test of the newest shot, with the one taken before it (empty at first).
using ShotTest = std::function<bool(const Image& now, const Image& before)>;

// Starts the program of the folder on the display and waits up to a minute for its window; `ids` holds
// the window ids xdotool found. A failure quotes what the program printed (kept in game.log).
void start_game_window(const GameFolder& folder, const VirtualDisplay& x, pid_t& game, std::string& ids);

// A started game's first window and the xdotool prefix for its display.
struct RunningGame {
    pid_t pid = -1;
    // Looked up again when a key or a screenshot fails on it (a window replaced by another).
    mutable std::string id;
    std::string xdo;
    const VirtualDisplay* x = nullptr;
    fs::path log;  // what the program printed
    std::string tag;
    ~RunningGame();
    // Keys as a player's: the window gets the input focus and the keys come through the server's
    // input path, each followed by `pause_ms`. A pause is no wait for the program: a step waits for
    // the screen it expects (wait_for_screen and the like).
    void keys(std::initializer_list<const char*> names, int pause_ms = 0) const;
    // xdotool's mousemove to window coordinates, then the rest of `args` (e.g. "20 470 click 1"),
    // followed by `wait_ms` (no wait for the program either).
    void mouse(const std::string& args, int wait_ms = 0) const;
    void click_at(int px, int py, int wait_ms = 0) const;
    // Kept beside the build (e2e_shots/) for a person to look at.
    Image shot(const std::string& name) const;
    std::string geometry() const;
    // Searches the program's window again; true when it now has another id than `id`, which it takes.
    bool find_window_again() const;

    // Screenshots until `ready` holds for one, kept as `name`; when `seconds` pass first, or the
    // program ends, StepFailed ends the test, naming the step (`what`) and the last screenshot.
    // `pause_ms` between shots; 0 catches a short-lived picture.
    Image wait_for_screen(const std::string& name, const std::string& what, const ShotTest& ready,
                          double seconds = kPatience, int pause_ms = 200) const;
    // Until `region` differs from `from` in more than `min_pixels` pixels and has settled.
    Image wait_for_change(const std::string& name, const Image& from, const Box& region, int min_pixels,
                          double seconds = kPatience) const;
    // Until `region` stands still between two shots.
    Image wait_until_still(const std::string& name, const Box& region, double seconds = kPatience) const;
    // Until `region` looks as in `reference` again (a screen come back), and stands still.
    Image wait_for_return(const std::string& name, const Image& reference, const Box& region,
                          double seconds = kPatience) const;
    // On the title menu: n and s open the standard set-up page (its shot is returned).
    Image open_setup_page() const;
    // On the title menu: n, c and the campaign choice's second button open the kit's short campaign;
    // the shots are kept as `prefix` + "_0_title.png" to "_3_story.png", the last, its first scenario's
    // page, returned.
    Image open_kit_campaign(const std::string& prefix) const;
    // On the title menu: n, s and Return start the first scenario, and the first turn's announcement
    // over the map is shot as `name`.
    Image open_first_turn(const std::string& name) const;
    // Return closes the turn's announcement `turn`; the shot, kept as `name`, is taken once the date
    // shown after it has run out and the hero's panel is back.
    Image close_announcement(const Image& turn, const std::string& name) const;
    // On a battle field (`field`): the automatic-combat button plays the battle out whenever the field
    // waits for the player's order (it stands still, the active stack's pulsing outline aside), until the
    // result screen comes over it (its shot, kept as `name`, is returned).
    Image fight_out_automatically(const Image& field, const std::string& name) const;
    // The result screen takes no input for its first moments: Return until it gives way, each press
    // given a few seconds to show its effect before the next. The last shot, kept as `name`: the
    // result's own when it never gave way.
    Image close_battle_result(const Image& result, const std::string& name) const;
};

// The title menu's column, and the sea beside it.
constexpr Box kMenuColumn{392, 32, 210, 426};
// The campaign's pages, the scenario information and the turn's announcement take the middle.
constexpr Box kStoryPanel{99, 88, 442, 303};
constexpr Box kTitleSea{0, 300, 390, 180};
// The adventure screen's map view, its panel column below the minimap and the info panel.
constexpr Box kMapView{16, 16, 448, 448};
constexpr Box kAdventurePanel{480, 176, 144, 216};
constexpr Box kInfoPanel{480, 392, 144, 88};

// The turn announcement's box: the player's colour in words and in its crest.
constexpr Box kAnnouncement{96, 160, 288, 160};
// Black around a dialog in the middle: the map hidden between two players' turns.
bool dialog_over_hidden_map(const Image& shot);
// A frame of the defeat film: bands of blue down the middle, black at both sides.
bool defeat_film_frame(const Image& shot);

// Starts the game and waits for its first window (which may be a notice or a film).
void open_game_window(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g);

// Starts the game and skips the start-up films until the title menu shows: its column still and
// lit while the sea beside it moves (a film frame held by a busy program stands still everywhere).
// `film_shot` keeps the first film's first shown frame.
void start_game(const GameFolder& folder, const VirtualDisplay& x, RunningGame& g, const char* film_shot = nullptr);

// A click on a map tile plans the selected hero's route to it, whose mark shows on the tile: waits until
// the tile differs from `before` (the map before the click) and stands still, kept as `name`. A second
// click on the tile then sets out.
Image plan_route(const RunningGame& g, int px, int py, const Image& before, const std::string& name);

// On the title menu: n, m, the hot-seat button, two players and the set-up page's Enter: Blue (seat 0)
// and Red (seat 1) are human, any further seats computers; Blue's turn is announced over the hidden map
// (its shot returned).
Image start_hot_seat(const RunningGame& g);

// e ends the turn shown in `map`; a hero that can still move brings a question over the map first, and
// it is waited for (kept as `name`) before Return answers it yes.
void end_turn_past_question(const RunningGame& g, const Image& map, const std::string& name);

}  // namespace vorn1::e2e
