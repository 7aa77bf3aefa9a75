#pragma once
// The in-game option dialogs: the optional-rules check boxes and the shared yes/no question.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <string>
#include <vector>

namespace vorn1 {

struct Resources;

// ---- optional rules
inline constexpr int kModRows = 10;
// Row i's check box (16 x 16 at x 193) and its click band (x 193..446, inclusive), or -1.
SDL_Rect mod_row_box(int row);
int mod_row_at(int x, int y);

struct ModOptionsState {
    std::array<bool*, kModRows> flags{};
    SDL_Rect ok_rect{};  // as drawn in the previous frame (empty before the first)
    bool ok_held = false;
    bool done = false;
};
void handle_mod_options_event(ModOptionsState& s, const SDL_Event& e);
void draw_mod_options(SDL_Renderer* renderer, const Resources& res, TTF_Font* title_font, TTF_Font* text_font,
                      SDL_Texture* background, ModOptionsState& s);
void run_mod_options_dialog(SDL_Renderer* renderer, const Resources& res, TTF_Font* title_font, TTF_Font* text_font,
                            SDL_Texture* background, bool* ab_spells, bool* stack_split, bool* alt_hydra,
                            bool* build_status, bool* hex_outline, bool* ab_resolver, bool* enable_trade,
                            bool* hero_horse, bool* bad_luck, bool* catapult_tower);

// ---- yes/no question
// Both texts wrap to this width, each line centred in the 286-pixel frame.
inline constexpr int kConfirmWrapWidth = 246;
struct ConfirmLayout {
    int line_skip = 14;
    int rows = 2;
    int height = 215;
    int top = 132;
    int text_top = 209;
    int button_y = 311;
};
ConfirmLayout confirm_layout(int line_skip, int question_lines, int note_lines);

struct ConfirmState {
    std::vector<std::string> question, note;
    ConfirmLayout layout;
    SDL_Rect accept_rect{}, decline_rect{};  // as last drawn
    bool accept_held = false, decline_held = false;
    bool done = false;
    bool answer = false;
};
ConfirmState open_confirm(TTF_Font* font, const char* question, const char* note);
void handle_confirm_event(ConfirmState& s, const SDL_Event& e);
void draw_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                  ConfirmState& s);
// True for yes; a closed window answers no.
bool run_buybuild_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                          const char* question, const char* note);
bool run_new_game_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font);
bool run_quit_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font);
bool run_load_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font);
// The question of a key with the common "CP_CONFIRM_LOST" note over a fresh snapshot.
bool confirm_over_snapshot(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, const char* question_key);

}  // namespace vorn1
