#include "frontend/options_dialogs.h"

#include <algorithm>

#include "assets/dialog_utils.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "frontend/frontend_common.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

constexpr std::array<const char*, kModRows> kModKeys{"CP_AB_SPELLS",    "CP_STACK_SPLIT", "CP_ALT_HYDRA",
                                                     "CP_BUILD_STATUS", "CP_HEX_OUTLINE", "CP_AB_RESOLVER",
                                                     "CP_ENABLE_TRADE", "CP_HERO_HORSE",  "CP_BAD_LUCK",
                                                     "CP_CATAPULT_TOWER"};
constexpr SDL_Color kGold{220, 180, 60, 255};
constexpr SDL_Color kWhite{200, 200, 200, 255};

bool left_press(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT; }
bool left_release(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT; }

}  // namespace

SDL_Rect mod_row_box(int row) { return {193, 81 + 35 * row, 16, 16}; }

int mod_row_at(int x, int y) {
    if (x < 193 || x > 446) return -1;
    for (int i = 0; i < kModRows; ++i) {
        const int top = 79 + 35 * i;
        if (y >= top && y <= top + 33) return i;
    }
    return -1;
}

void handle_mod_options_event(ModOptionsState& s, const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
        s.done = true;
    } else if (close_key(e)) {
        s.done = true;
    } else if (left_press(e)) {
        if (point_in(s.ok_rect, e.button.x, e.button.y)) s.ok_held = true;
        const int row = mod_row_at(e.button.x, e.button.y);
        if (row >= 0 && s.flags[row]) *s.flags[row] = !*s.flags[row];
    } else if (left_release(e)) {
        if (s.ok_held && point_in(s.ok_rect, e.button.x, e.button.y)) s.done = true;
        s.ok_held = false;
    }
}

void draw_mod_options(SDL_Renderer* renderer, const Resources& res, TTF_Font* title_font, TTF_Font* text_font,
                      SDL_Texture* background, ModOptionsState& s) {
    const SDL_Rect full{0, 0, 640, 480};
    if (background) SDL_RenderCopy(renderer, background, nullptr, &full);
    darken_screen(renderer, 120);
    draw_buybuild_border(renderer, res, 177, -2, 8);
    if (title_font) {
        // Above the first rule's text whatever the font's height.
        const int first_rule_text = mod_row_box(0).y - 2;
        const int y = std::min(67, first_rule_text - 2 - TTF_FontHeight(title_font));
        text::centered_box(renderer, title_font, strings().get("CP_MODERN_OPTIONS"), 177, y, 286, kGold);
    }
    for (int i = 0; i < kModRows; ++i) {
        const SDL_Rect box = mod_row_box(i);
        fill_rect(renderer, box, {20, 16, 8, 255});
        outline_rect(renderer, box, {220, 180, 60, 255});
        if (s.flags[i] && *s.flags[i]) fill_rect(renderer, {box.x + 3, box.y + 3, 10, 10}, {120, 210, 90, 255});
        if (text_font) text::wrapped_box(renderer, text_font, strings().get(kModKeys[i]), 219, box.y - 2, 228, kWhite);
    }
    s.ok_rect = draw_system_button(renderer, res, static_cast<EventButtonId>(1), 320, 447, s.ok_held, text_font);
}

void run_mod_options_dialog(SDL_Renderer* renderer, const Resources& res, TTF_Font* title_font, TTF_Font* text_font,
                            SDL_Texture* background, bool* ab_spells, bool* stack_split, bool* alt_hydra,
                            bool* build_status, bool* hex_outline, bool* ab_resolver, bool* enable_trade,
                            bool* hero_horse, bool* bad_luck, bool* catapult_tower) {
    ModOptionsState s;
    s.flags = {ab_spells, stack_split, alt_hydra, build_status, hex_outline,
               ab_resolver, enable_trade, hero_horse, bad_luck, catapult_tower};
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) return hand_on_quit_request();
            if (!ng_try_fullscreen_key(e)) handle_mod_options_event(s, e);
        }
        if (s.done) return;
        draw_mod_options(renderer, res, title_font, text_font, background, s);
        frontend_present(renderer);
    }
}

ConfirmLayout confirm_layout(int line_skip, int question_lines, int note_lines) {
    ConfirmLayout l;
    l.line_skip = line_skip;
    const int H = (question_lines + note_lines) * line_skip;
    l.rows = H <= 60 ? 2 : (H + 74) / 45;
    l.height = 125 + 45 * l.rows;
    l.top = (480 - l.height) / 2;
    const int slack = 45 * l.rows - 28 - H;
    l.text_top = l.top + 77 + (slack > 1 ? slack / 2 : 0);
    l.button_y = l.top + l.height - 36;
    return l;
}

ConfirmState open_confirm(TTF_Font* font, const char* question, const char* note) {
    ConfirmState s;
    if (font && question && *question) s.question = text::wrap_pixels(font, question, kConfirmWrapWidth);
    if (font && note && *note) s.note = text::wrap_pixels(font, note, kConfirmWrapWidth);
    s.layout = confirm_layout(font ? TTF_FontLineSkip(font) : 14, static_cast<int>(s.question.size()),
                              static_cast<int>(s.note.size()));
    return s;
}

void handle_confirm_event(ConfirmState& s, const SDL_Event& e) {
    auto answer = [&](bool yes) {
        s.answer = yes;
        s.done = true;
    };
    if (e.type == SDL_QUIT) {
        answer(false);
    } else if (e.type == SDL_KEYDOWN) {
        if (const int yes = confirm_key(e); yes >= 0) answer(yes == 1);
    } else if (left_press(e)) {
        if (point_in(s.accept_rect, e.button.x, e.button.y)) s.accept_held = true;
        if (point_in(s.decline_rect, e.button.x, e.button.y)) s.decline_held = true;
    } else if (left_release(e)) {
        if (s.accept_held && point_in(s.accept_rect, e.button.x, e.button.y)) answer(true);
        else if (s.decline_held && point_in(s.decline_rect, e.button.x, e.button.y)) answer(false);
        s.accept_held = s.decline_held = false;
    }
}

void draw_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                  ConfirmState& s) {
    const SDL_Rect full{0, 0, 640, 480};
    if (background) SDL_RenderCopy(renderer, background, nullptr, &full);
    darken_screen(renderer, 120);
    draw_buybuild_border(renderer, res, 177, s.layout.top, s.layout.rows);
    if (font) {
        text::draw_lines_box(renderer, font, s.question, 177, s.layout.text_top, 286, kGold);
        text::draw_lines_box(renderer, font, s.note, 177,
                             s.layout.text_top + static_cast<int>(s.question.size()) * s.layout.line_skip, 286, kWhite);
    }
    s.accept_rect = draw_system_button(renderer, res, static_cast<EventButtonId>(2), 249, s.layout.button_y,
                                       s.accept_held, font);
    s.decline_rect = draw_system_button(renderer, res, static_cast<EventButtonId>(3), 391, s.layout.button_y,
                                        s.decline_held, font);
}

bool run_buybuild_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                          const char* question, const char* note) {
    ConfirmState s = open_confirm(font, question, note);
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                hand_on_quit_request();
                return false;
            }
            if (!ng_try_fullscreen_key(e)) handle_confirm_event(s, e);
        }
        if (s.done) return s.answer;
        draw_confirm(renderer, res, font, background, s);
        frontend_present(renderer);
    }
}

bool confirm_over_snapshot(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, const char* question_key) {
    SDL_Texture* snap = snap_screen(renderer);
    const std::string question = strings().get(question_key);
    const std::string note = strings().get("CP_CONFIRM_LOST");
    const bool yes = run_buybuild_confirm(renderer, res, font, snap, question.c_str(), note.c_str());
    destroy_texture(snap);
    return yes;
}

bool run_new_game_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font) {
    return confirm_over_snapshot(renderer, res, font, "CP_CONFIRM_RESTART");
}

bool run_quit_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font) {
    return confirm_over_snapshot(renderer, res, font, "CP_CONFIRM_QUIT");
}

bool run_load_confirm(SDL_Renderer* renderer, const Resources& res, TTF_Font* font) {
    return confirm_over_snapshot(renderer, res, font, "CP_CONFIRM_LOAD");
}

}  // namespace vorn1
