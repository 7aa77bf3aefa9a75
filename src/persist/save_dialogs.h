#pragma once
// The save and load dialogs (one panel over a list of saves), the save notice and the campaign
// save prompt. Each is a state record with handle and draw functions, run by a run_ function with
// its own event loop over a picture of the screen that the caller took.
#include <SDL.h>
#include <SDL_ttf.h>

#include <functional>
#include <string>
#include <vector>

#include "assets/palette.h"
#include "persist/save_file.h"
#include "persist/save_paths.h"

namespace vorn1 {

class AggArchive;
struct Resources;

// ---- shared by the modal screens of saves and high scores

struct ModalLoopOptions {
    bool draw_on_close = false;    // a last frame is drawn after the ending event
    bool window_scale_key = true;  // F11 steps the window scale; without it the screen gets F11 as any key
};

// Drains the pending events into `handle` (which returns true when the screen is over) until one
// ends it; otherwise draws, presents and waits 16 ms, and repeats. A quit request seen is pushed
// again when the screen ends.
void run_modal_loop(SDL_Renderer* renderer, const std::function<bool(const SDL_Event&)>& handle,
                    const std::function<void()>& draw, const ModalLoopOptions& options = {});

// Removes the last whole UTF-8 character (one byte of a broken sequence).
void pop_utf8_char(std::string& s);

// Hit test with the left and top edges inside and the right and bottom ones outside.
inline bool rect_hit(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

// ---- save and load dialogs

struct PanelLayout {
    int panel_x = 312, panel_y = 0, panel_w = 161, panel_h = 285;
    int list_x = 366, list_y = 44, list_w = 51, list_h = 194;
    int row_h = 16, visible_rows = 12;
    int scroll_x = 436, scroll_y = 54, scroll_h = 162;
    int name_y = 252;
    int ok_x = 348, ok_y = 233, ok_w = 66, ok_h = 25;
    int cancel_x = 371, cancel_y = 233, cancel_w = 66, cancel_h = 25;

    SDL_Rect list_rect() const { return {list_x, list_y, list_w, list_h}; }
    SDL_Rect ok_rect() const { return {ok_x, ok_y, ok_w, ok_h}; }
    SDL_Rect cancel_rect() const { return {cancel_x, cancel_y, cancel_w, cancel_h}; }
};

// The geometry from the panel's size (161 x 285 without it), the font's line skip (16 and 12 rows
// without a usable one) and the released OK button's size (66 x 25 without it).
PanelLayout compute_layout(SDL_Point panel_size, TTF_Font* font, SDL_Point button_size);
PanelLayout compute_layout(SDL_Texture* panel, TTF_Font* font, const Resources& res);

// The small font: the list rows and the name field (the dialog font when unset), and the text of a
// notice or question whose file name it keeps whole where the dialog font would cut it.
void set_save_dialog_name_font(TTF_Font* font);

struct SaveDialogResult {
    bool accepted = false;
    std::string name;
};

struct LoadDialogResult {
    bool accepted = false;
    std::string path;
    std::string stem;
};

// A scrolling list of saves with a selection and the OK and Cancel buttons.
struct SaveListState {
    PanelLayout layout;
    std::vector<SaveFileInfo> files;
    int selected = -1;
    int first = 0;  // first visible row
    bool ok_held = false;
    bool cancel_held = false;
};

int max_first_row(const SaveListState& s);
void clamp_first_row(SaveListState& s);
// The row under a point of the list rectangle, -1 for none.
int list_row_at(const SaveListState& s, int x, int y);

// A modal message panel: a notice with OK, or a question with accept and decline.
struct MessagePanelState {
    std::vector<std::string> lines;
    TTF_Font* font = nullptr;  // the lines' font (null: the one the panel is drawn with)
    SDL_Rect ok_rect{};       // the buttons as drawn in the previous frame (empty before it)
    SDL_Rect accept_rect{};
    SDL_Rect decline_rect{};
    int held = 0;             // EventButtonId of the held button, 0 none
    bool done = false;
    bool answer = false;      // the prompt's yes
};

struct SaveDialogState {
    SaveListState list;
    std::string title;
    std::string name;
    bool caret = true;
    bool done = false;
    SaveDialogResult result;
    // Whether a name would replace a save on disk; unset, nothing is asked.
    std::function<bool(const std::string&)> name_taken;
    // The question before a save is replaced: while open it takes every event; no goes back to the name.
    bool asking = false;
    std::string question;
    MessagePanelState prompt;
    bool skip_text = false;  // the typed letter of the key that said no is not part of the name
};

struct LoadDialogState {
    SaveListState list;
    std::string title;
    bool done = false;
    LoadDialogResult result;
};

// The standard load list's title and the line of an empty list (English when the catalogue has none).
std::string load_game_title();
std::string no_saves_text();
// A list row as it fits `width` pixels: whole, or its end after "..." (the end tells saves apart).
std::string fit_row_text(TTF_Font* font, const std::string& row, int width);

SaveDialogState open_save_dialog(const PanelLayout& layout, std::vector<SaveFileInfo> files, std::string title,
                                 std::string default_name);
void handle_save_dialog_event(SaveDialogState& s, const SDL_Event& e);
LoadDialogState open_load_dialog(const PanelLayout& layout, std::vector<SaveFileInfo> files, std::string title);
void handle_load_dialog_event(LoadDialogState& s, const SDL_Event& e);

// One frame of the panel: background, panel, title, rows, thumb, name field, buttons.
void draw_panel(SDL_Renderer* renderer, const PanelLayout& layout, TTF_Font* font, SDL_Texture* background,
                SDL_Texture* panel, SDL_Texture* thumb, const Resources& res, const std::string& title,
                const std::vector<std::string>& rows, int selected, int first, const std::string& name, bool caret,
                bool ok_pressed, bool cancel_pressed);
// The panel, and over it the replace question while it is asked (its buttons are kept in the state).
void draw_save_dialog(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, SDL_Texture* panel,
                      SDL_Texture* thumb, const Resources& res, SaveDialogState& s);
void draw_load_dialog(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, SDL_Texture* panel,
                      SDL_Texture* thumb, const Resources& res, const LoadDialogState& s);

SaveDialogResult run_save_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 const Resources& res, TTF_Font* font, SDL_Texture* background, bool campaign,
                                 int scenario);
LoadDialogResult run_load_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 const Resources& res, TTF_Font* font, SDL_Texture* background);
LoadDialogResult run_campaign_load_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                          const Resources& res, TTF_Font* font, SDL_Texture* background);
LoadDialogResult run_load_dialog_impl(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                      const Resources& res, TTF_Font* font, SDL_Texture* background,
                                      std::vector<SaveFileInfo> list, const std::string& title);

// ---- save notice and campaign save prompt

// Words set greedily into lines narrower than `limit` pixels; a longer word is cut into pieces of
// whole characters that each fit.
constexpr int kPanelLineLimit = 255;
std::vector<std::string> set_words_in_lines(TTF_Font* font, const std::vector<std::string>& words,
                                            int limit = kPanelLineLimit);
// A notice's or question's words set in its lines, in `font` or, where that would cut a word (a
// file's name) between characters, in the small font: a word breaks only when no font keeps it whole.
void set_panel_words(MessagePanelState& s, TTF_Font* font, const std::vector<std::string>& words);
// Words separated by any white space (the notice) or by spaces only (the prompt).
std::vector<std::string> split_words_any_space(const std::string& text);
std::vector<std::string> split_words_on_spaces(const std::string& text);

// The text a notice shows for a message: the translated success text for the exact success
// message, any other message unchanged.
std::string saved_alert_text(const std::string& message);

// The notice after a save on any road (the save key, the control panel, the autosave, a won campaign
// scenario): the success text, or that the game (or the autosave) was not saved, with the file the
// reason is about and the system's reason. Nothing else claims or denies a save.
std::string save_outcome_text(const SaveOutcome& outcome, bool autosave = false);
// The notice of any file that was not written: `headline`, then the file the reason is about (the
// temporary file when that failed, else the target; as found beside the archive) and the reason.
std::string write_failed_text(const std::string& headline, const SaveOutcome& outcome);
// Asked after the save of a won campaign scenario failed: yes goes on without it, no saves again.
std::string unsaved_scenario_question();

// Sees the text of every notice and question as it opens (tests read what the player is told).
std::function<void(const std::string&)>& shown_text_hook();

MessagePanelState open_saved_alert(TTF_Font* font, const std::string& message);
// Where the notice stands for a text of `lines` lines `skip` pixels apart: the two-row panel
// (frame top 132, OK at 311), grown by whole rows (at most seven) while the text would reach the OK button.
struct SavedAlertLayout {
    int frame_y = 132, rows = 2, text_top = 213, button_y = 311;
};
SavedAlertLayout saved_alert_layout(int lines, int skip);
void handle_saved_alert_event(MessagePanelState& s, const SDL_Event& e);
// Draws the notice and stores its button rectangle in the state.
void draw_saved_alert(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                      MessagePanelState& s);
void show_saved_alert(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                      const std::string& message);

// The question before a save of this name is replaced.
std::string overwrite_question(const std::string& name);

MessagePanelState open_campaign_save_prompt(TTF_Font* font, const std::string& name);
// A yes/no panel of any text, drawn and answered as the campaign prompt.
MessagePanelState open_question_panel(TTF_Font* font, const std::string& text);
void handle_campaign_prompt_event(MessagePanelState& s, const SDL_Event& e);
void draw_campaign_prompt(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                          MessagePanelState& s);
// A yes/no question of any text in the campaign prompt's panel; true for yes.
bool run_question_panel(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                        const std::string& text);
// True for yes.
bool run_campaign_save_prompt(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                              const std::string& name);

}  // namespace vorn1
