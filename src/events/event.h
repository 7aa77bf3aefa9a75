#pragma once
// The modal event-dialog system: decides what a hero's visit to a map object does, shows the
// one modal dialog at a time (queueing any that arrive while one is open), and keeps the visit
// records. Rules and input work without a renderer; drawing is in event_draw.cpp.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "events/event_types.h"
#include "events/visits.h"

struct Mix_Chunk;

namespace vorn1 {

struct Resources;
class AggArchive;
struct GameState;
struct GameMap;

// The standard dialog frame is 286 wide and as tall as what it holds.
constexpr int kDialogWidth = 286;
constexpr int kDialogTextTop = 40;       // the frame's top edge above the first line
constexpr int kDialogButtonBottom = 11;  // the frame's bottom edge below the buttons
constexpr int kDialogPictureSlot = 70;   // width given to each picture of the row, at most
constexpr int kDialogPictureMaxW = 64;   // pictures are drawn at most this size
constexpr int kDialogPictureMaxH = 56;

// What a dialog holds, in pixels; its layout follows from this alone.
struct DialogContent {
    int line_h = 16;      // one line of the title or the text
    int title_lines = 0;
    int lines = 0;
    int pictures = 0;     // pictures in one row under the text
    int picture_h = 0;    // the tallest of them as drawn
    int label_h = 0;      // the line of labels under the pictures, 0 without labels
    int button_h = 25;    // a system button's height when its picture is missing
};

struct DialogLayout {
    int x = 0, y = 0, w = kDialogWidth, h = 0;
    int title_y = 0, text_y = 0;  // tops of the first title and text lines
    int lines_shown = 0;          // text lines that fit on the screen
    int picture_x = 0, picture_y = 0, slot_w = 0, label_y = 0;
    std::vector<SDL_Rect> buttons;  // hit rectangles in button order
};

// Where everything of a dialog with this content and these buttons goes, centred in `area`: the
// title, the text, the row of pictures with their labels and the buttons, one under the other with
// small fixed gaps, in a frame just tall enough. A text too long for the area loses its last lines.
DialogLayout layout_event_dialog(SDL_Rect area, const DialogContent& content, const std::vector<EventButtonId>& buttons);

// Text lines of a definition: explicit "\n" breaks, each wrapped to the dialog's text width
// when a font is given (by characters otherwise).
std::vector<std::string> event_text_lines(const std::string& text, TTF_Font* font);

// The button a key answers in a dialog with these buttons, 0 for none: Return the first, Escape the
// last, y the accept and n the decline button.
int dialog_key_button(const std::vector<EventButtonId>& buttons, SDL_Keycode key);

class EventSystem {
public:
    // Dialog kinds only change the drawing.
    enum class DialogKind : uint8_t { Plain, Crest, LevelUp, Build };

    struct Dialog {
        DialogKind kind = DialogKind::Plain;
        EventDef def;
        SDL_Rect area{0, 0, 640, 480};
        EventResult result;  // template: the button is filled in on close
        std::vector<std::string> title_lines;
        std::vector<std::string> lines;
        DialogLayout layout;
        int pressed = -1;  // index of the held button
        SDL_Texture* picture = nullptr;
        SDL_Texture* crest = nullptr;
        SDL_Texture* crest2 = nullptr;
        int crest_int = 0;
        bool accept_battle = false;  // button 2 turns into a site battle
        uint8_t force_button = 0;    // reported instead of the button pressed (0: as pressed)
        EventCallback callback;
    };

    EventSystem() = default;
    ~EventSystem();
    EventSystem(const EventSystem&) = delete;
    EventSystem& operator=(const EventSystem&) = delete;

    // Game set-up: binds the assets (any may be null: headless) and installs the built-in
    // definitions; clears dialogs, flags and visit records.
    void load(const Resources* res, const AggArchive* archive, TTF_Font* font, TTF_Font* small_font,
              bool audio_ok);
    void register_def(const EventDef& def);
    const EventDef* find_def(uint8_t type) const;

    // Decides the visit of `hero` to the object at (x, y). Opens the object's dialog, or calls
    // `cb` at once when the visit needs none. True when something triggered.
    bool try_trigger(const GameMap& map, const GameState& state, int hero, int x, int y, SDL_Rect area,
                     EventCallback cb);

    void open_announcement(const EventDef& def, SDL_Rect area, EventCallback cb);
    void open_crest_announcement(const std::string& text, SDL_Texture* crest, SDL_Texture* second_crest,
                                 int crest_int, SDL_Rect area, EventCallback cb);
    // The three integers come back in the result's hero, x and y.
    void open_levelup_dialog(const EventDef& def, SDL_Rect area, int i1, int i2, int i3, SDL_Texture* picture,
                             EventCallback cb);
    // Building confirmation: the structure's name and price, accept and decline; the town and
    // slot come back in the result's x and y (the caller's callback also holds them).
    void open_build_dialog(const std::string& name, const std::string& text, const std::vector<EventIcon>& costs,
                           int town, int slot, SDL_Rect area, EventCallback cb);

    // Consumes input while a dialog is open (true); buttons act on release over the pressed
    // button, Enter picks the first button, Esc the last.
    bool handle_sdl_event(const SDL_Event& e);
    void tick(float ms);
    void draw(SDL_Renderer* r);
    // A dialog frame of any size: the standard frame's pieces at their own size (draw_buybuild_frame),
    // or a plain box without them.
    void draw_buybuild_border(SDL_Renderer* r, int x, int y, int w, int h) const;
    void play_sound(const std::string& name);

    void export_visits(std::vector<uint32_t>& site_keys, std::vector<uint32_t>& count_keys,
                       std::vector<int32_t>& counts) const;
    void import_visits(const std::vector<uint32_t>& site_keys, const std::vector<uint32_t>& count_keys,
                       const std::vector<int32_t>& counts);
    void record_visit(int x, int y, int hero);

    // Shows a one-line status message for `ms` milliseconds.
    void show_status(const std::string& text, float ms);

    const Dialog* current_dialog() const { return dialog_open ? &dialog_ : nullptr; }
    size_t queued_dialogs() const { return queue_.size(); }
    // Closes the open dialog as if `button` had been chosen (input and tests).
    void close_dialog(uint8_t button);

    // Flags other subsystems read and write.
    bool dialog_open = false;
    bool resource_flash = false;   // the side panel flashes the treasury after a gain
    float resource_flash_ms = 0.0f;
    int dialog_artifact = -1;      // artifact of the captured-artifact announcement shown
    bool timed_status = false;
    float timed_status_ms = 0.0f;
    std::string status_text;
    bool trade_enabled = false;    // the trading post on the map is usable
    VisitRecords visits;           // sites: x | y << 16; counts by visit_count_key

    // Looks up a picture for an icon (set name, frame); null when none. Installed by load().
    std::function<SDL_Texture*(const std::string& icn, int frame)> icon_provider;

private:
    void open_dialog(Dialog d);
    void relayout(Dialog& d) const;
    SDL_Texture* icon_texture(const std::string& icn, int frame) const;
    // The pictures of a dialog's row with their labels: crests, a level-up picture, then the icons.
    std::vector<std::pair<SDL_Texture*, std::string>> dialog_pictures(const Dialog& d) const;
    void install_builtin_defs();

    const Resources* res_ = nullptr;
    const AggArchive* archive_ = nullptr;
    TTF_Font* font_ = nullptr;
    TTF_Font* small_font_ = nullptr;
    bool audio_ok_ = false;
    std::map<uint8_t, EventDef> defs_;
    Dialog dialog_;
    std::deque<Dialog> queue_;
    std::map<std::pair<std::string, int>, SDL_Texture*> icon_cache_;
    struct LoadedSound {
        Mix_Chunk* chunk = nullptr;
        std::vector<uint8_t> wav;  // the mixer may play straight from these bytes
    };
    std::map<std::string, LoadedSound> sounds_;
};

}  // namespace vorn1
