#pragma once
// The score screen after a won standard scenario, the name entry, the high-score page and the
// flows that chain them. Each screen is a state record with handle and draw functions, and a
// run_ function with its own small event loop over them.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>
#include <utility>
#include <vector>

#include "assets/palette.h"
#include "assets/render_utils.h"
#include "persist/highscore.h"

namespace vorn1 {

class AggArchive;
struct Resources;

// ---- picture loaders of these screens

// An archive picture (or its per-language PNG replacement) as an unblended texture; null when
// missing or undecodable.
SDL_Texture* load_bmp(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                      const std::string& entry);
// A sprite set as blended textures (null for empty frames), with the current language's
// replacement frames; empty when missing.
IcnTextures load_icn(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                     const std::string& entry);
// Frame `index` at (x, 315) at its own size (28 x 134 when unknown); the rectangle it covers.
SDL_Rect draw_icn_frame(SDL_Renderer* renderer, const IcnTextures& frames, int index, int x);

// ---- standard victory (score) screen

struct VictoryScreenState {
    std::array<std::pair<std::string, std::string>, 5> rows;  // label, value
    bool done = false;
    bool quit = false;
};

// The five rows: days, base points, rating with "%", final score, translated rank (empty for a
// null title).
VictoryScreenState open_standard_victory_screen(int days, int points, int difficulty_percent, unsigned short score,
                                                const char* rank_title);
// Return, Escape or Space pressed, any mouse button released, or a quit close the screen.
void handle_standard_victory_event(VictoryScreenState& s, const SDL_Event& e);
void draw_standard_victory_screen(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background,
                                  const VictoryScreenState& s);
// False when the window was closed.
bool run_standard_victory_screen(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 TTF_Font* font, int days, int points, int difficulty_percent, unsigned short score,
                                 const char* rank_title);

// ---- name entry

struct NameEntryState {
    std::string text;
    std::string default_name;
    int max_length = 15;
    SDL_Point field_size{240, 24};
    SDL_Rect ok_rect{};
    bool ok_pressed = false;
    bool done = false;
    bool quit = false;
};

// The field and button sizes come from the pictures (240 x 24 and 66 x 25 without them).
NameEntryState open_name_entry(const std::string& default_name, int max_length, SDL_Point field_size,
                               SDL_Point button_size);
void handle_name_entry_event(NameEntryState& s, const SDL_Event& e);
// The typed name trimmed; the default for an empty one or after a quit.
std::string name_entry_result(const NameEntryState& s);
void draw_name_entry(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, const IcnTextures& buybuild,
                     const IcnTextures& system, const NameEntryState& s, bool caret_on);
std::string run_name_entry_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                  TTF_Font* font, const std::string& default_name, int max_length,
                                  SDL_Texture* background);

// ---- high-score page

struct HighScorePageState {
    HighScoreTable first = HighScoreTable::Standard;  // the table the page opened on
    HighScoreTable shown = HighScoreTable::Standard;
    int highlight = -1;  // row of the first table, -1 none
    std::string folder;
    std::vector<HighScoreEntry> rows;
    SDL_Rect switch_rect{};
    SDL_Rect exit_rect{};
    bool switch_pressed = false;
    bool exit_pressed = false;
    bool done = false;
};

// Reads the table from the folder; the button rectangles take the sizes of `buttons`.
HighScorePageState open_highscores_page(HighScoreTable table, const std::string& folder, int highlight,
                                        const IcnTextures& buttons);
void handle_highscores_event(HighScorePageState& s, const SDL_Event& e, const IcnTextures& buttons);
// The highlighted row while the first table shows, else -1.
int shown_highlight(const HighScorePageState& s);
// One line of the page (a row or the headings), each text cut between characters to its column,
// keeping its start: the name before the label's column, the score (a heading) to half the room it
// shares with the label, the label before the score, the rank before the creature picture.
struct HighScoreLine {
    std::string name, label, score, rank;
};
HighScoreLine fit_high_score_line(TTF_Font* font, HighScoreLine line);
void draw_highscores_page(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, const IcnTextures& buttons,
                          const IcnTextures& mons32, const HighScorePageState& s);
void run_highscores_page(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette, TTF_Font* font,
                         HighScoreTable table, const std::string& folder, int highlight);

// ---- flows

// Score screen, then (when the score makes the ten best) the name and the new row, then the
// page. The new row's place 0..9, or -1. A table that cannot be written is told first (a notice
// drawn with `res`) and marks no row.
int run_standard_victory_flow(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                              TTF_Font* font, const ScenarioResult& result, const std::string& default_name,
                              const std::string& label, const std::string& folder, const Resources& res);

// The campaign counterpart of the standard flow for the frame loop: a qualifying total of days
// asks for a name and enters the campaign table under the lord's name; then the campaign page.
int run_campaign_score_flow(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                            TTF_Font* font, int total_days, const std::string& default_name,
                            const std::string& lord_name, const std::string& folder, const Resources& res);

}  // namespace vorn1
