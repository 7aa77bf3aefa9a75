#include "persist/save_dialogs.h"

#include <algorithm>
#include <cctype>
#include <utility>

#include "assets/agg.h"
#include "assets/dialog_utils.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "assets/text_encoding.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {

constexpr SDL_Color COL_GOLD{255, 215, 0, 255};
constexpr SDL_Color COL_WHITE{255, 255, 255, 255};
constexpr SDL_Color COL_SEL{150, 255, 50, 255};

constexpr std::size_t kMaxNameBytes = 59;  // typing is taken while the name holds at most this many

TTF_Font* g_name_font = nullptr;

void present_background(SDL_Renderer* r, SDL_Texture* background) {
    if (!background) return;
    SDL_Rect full{0, 0, 640, 480};
    SDL_RenderCopy(r, background, nullptr, &full);
}

}  // namespace

// ---- shared

void run_modal_loop(SDL_Renderer* renderer, const std::function<bool(const SDL_Event&)>& handle,
                    const std::function<void()>& draw, const ModalLoopOptions& options) {
    bool quit = false;
    const auto hand_on_quit = [&quit] {
        if (quit) hand_on_quit_request();
    };
    for (;;) {
        bool done = false;
        SDL_Event e;
        while (!done && SDL_PollEvent(&e)) {
            quit = quit || e.type == SDL_QUIT;
            if (options.window_scale_key && ng_try_fullscreen_key(e)) continue;
            done = handle(e);
        }
        if (done && !options.draw_on_close) return hand_on_quit();
        draw();
        SDL_RenderPresent(renderer);
        if (done) return hand_on_quit();
        SDL_Delay(16);
    }
}

void pop_utf8_char(std::string& s) {
    if (s.empty()) return;
    std::size_t i = s.size() - 1;
    // Step back over at most three continuation bytes to the character's lead byte.
    while (i > 0 && s.size() - i < 4 && text::is_utf8_continuation(s[i])) --i;
    const uint8_t lead = static_cast<uint8_t>(s[i]);
    const std::size_t want = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (want != s.size() - i) i = s.size() - 1;  // not one whole character: remove a single byte
    s.erase(i);
}

// ---- layout and list rules

PanelLayout compute_layout(SDL_Point panel_size, TTF_Font* font, SDL_Point button_size) {
    PanelLayout l;
    l.panel_w = panel_size.x > 0 ? panel_size.x : 161;
    l.panel_h = panel_size.y > 0 ? panel_size.y : 285;
    l.list_w = l.panel_w - 110;
    const int skip = font ? TTF_FontLineSkip(font) : 0;
    if (skip >= 1) {
        l.row_h = skip;
        l.visible_rows = 194 / skip;
    } else {
        l.row_h = 16;
        l.visible_rows = 12;
    }
    l.scroll_x = l.panel_w + 275;
    const int bw = button_size.x > 0 ? button_size.x : 66;
    const int bh = button_size.y > 0 ? button_size.y : 25;
    l.ok_w = l.cancel_w = bw;
    l.ok_h = l.cancel_h = bh;
    l.ok_y = l.cancel_y = l.panel_h - 27 - bh;
    l.cancel_x = l.panel_w + 276 - bw;
    return l;
}

PanelLayout compute_layout(SDL_Texture* panel, TTF_Font* font, const Resources& res) {
    SDL_Point panel_size{0, 0};
    if (panel) SDL_QueryTexture(panel, nullptr, nullptr, &panel_size.x, &panel_size.y);
    const int ok_frame = system_button_frame(EVENT_BUTTON_OK, false);
    const SDL_Point button = res.system_btn.at(ok_frame) ? res.system_btn.size(ok_frame) : SDL_Point{0, 0};
    return compute_layout(panel_size, font, button);
}

void set_save_dialog_name_font(TTF_Font* font) { g_name_font = font; }

int max_first_row(const SaveListState& s) {
    return std::max(static_cast<int>(s.files.size()) - s.layout.visible_rows, 0);
}

void clamp_first_row(SaveListState& s) { s.first = std::clamp(s.first, 0, max_first_row(s)); }

int list_row_at(const SaveListState& s, int x, int y) {
    if (!rect_hit(s.layout.list_rect(), x, y) || s.layout.row_h <= 0) return -1;
    const int row = (y - s.layout.list_y) / s.layout.row_h + s.first;
    return row >= 0 && row < static_cast<int>(s.files.size()) ? row : -1;
}

namespace {

void scroll_by_wheel(SaveListState& s, int wheel_y) {
    s.first -= wheel_y;
    clamp_first_row(s);
}

// A press in the scroll bar's column jumps the list to that fraction of its length.
void press_scroll_bar(SaveListState& s, int x, int y) {
    const PanelLayout& l = s.layout;
    if (x < l.scroll_x || x > l.scroll_x + 19 || y < l.scroll_y || y >= l.scroll_y + l.scroll_h) return;
    const float fraction = static_cast<float>(y - l.scroll_y) / static_cast<float>(l.scroll_h);
    s.first = static_cast<int>(fraction * static_cast<float>(max_first_row(s)) + 0.5f);
    clamp_first_row(s);
}

void press_buttons(SaveListState& s, int x, int y) {
    if (rect_hit(s.layout.ok_rect(), x, y)) s.ok_held = true;
    if (rect_hit(s.layout.cancel_rect(), x, y)) s.cancel_held = true;
}

// Which held button a left release acts on: 1 OK, 2 Cancel, 0 none. Clears both marks.
int release_buttons(SaveListState& s, int x, int y) {
    int act = 0;
    if (s.ok_held && rect_hit(s.layout.ok_rect(), x, y)) act = 1;
    else if (s.cancel_held && rect_hit(s.layout.cancel_rect(), x, y)) act = 2;
    s.ok_held = s.cancel_held = false;
    return act;
}

void keep_selection_visible(SaveListState& s) {
    if (s.selected < 0) return;
    if (s.selected < s.first) s.first = s.selected;
    else if (s.selected >= s.first + s.layout.visible_rows) s.first = s.selected - s.layout.visible_rows + 1;
    clamp_first_row(s);
}

std::vector<std::string> stems(const std::vector<SaveFileInfo>& files) {
    std::vector<std::string> out;
    out.reserve(files.size());
    for (const SaveFileInfo& f : files) out.push_back(f.stem);
    return out;
}

}  // namespace

// ---- texts the classic catalogues have no key of their own for

std::string load_game_title() { return strings().get_or("LOAD_GAME_TITLE", "Load Game"); }
std::string no_saves_text() { return strings().get_or("LOAD_NO_SAVES", "There are no saved games."); }

std::string fit_row_text(TTF_Font* font, const std::string& row, int width) {
    if (!font || text::measure(font, row).x <= width) return row;
    // The end of a save's name tells saves apart (a campaign save's scenario, a save's time):
    // whole characters go from the front and "..." says so.
    std::string tail = row;
    for (;;) {
        std::size_t cut = 1;
        while (cut < tail.size() && text::is_utf8_continuation(tail[cut])) ++cut;
        if (cut >= tail.size()) break;  // the last character stays
        tail.erase(0, cut);
        if (text::measure(font, "..." + tail).x <= width) break;
    }
    return "..." + tail;
}

// ---- save dialog

SaveDialogState open_save_dialog(const PanelLayout& layout, std::vector<SaveFileInfo> files, std::string title,
                                 std::string default_name) {
    SaveDialogState s;
    s.list.layout = layout;
    s.list.files = std::move(files);
    s.title = std::move(title);
    s.name = std::move(default_name);
    return s;
}

void handle_save_dialog_event(SaveDialogState& s, const SDL_Event& e) {
    const auto finish = [&](bool accepted) {
        s.done = true;
        s.result.accepted = accepted;
        if (accepted) s.result.name = s.name;
    };
    if (s.asking) {
        if (e.type == SDL_QUIT) {
            s.asking = false;
            finish(false);
            return;
        }
        handle_campaign_prompt_event(s.prompt, e);
        if (!s.prompt.done) return;
        s.asking = false;
        if (s.prompt.answer) finish(true);
        s.skip_text = e.type == SDL_KEYDOWN;
        return;
    }
    // A name that would replace a save asks first.
    const auto accept = [&] {
        if (s.name.empty()) return;
        if (!s.name_taken || !s.name_taken(s.name)) return finish(true);
        s.asking = true;
        s.question = overwrite_question(s.name);
        s.prompt = MessagePanelState{};
    };
    switch (e.type) {
        case SDL_QUIT: finish(false); break;
        case SDL_TEXTINPUT:
            if (std::exchange(s.skip_text, false)) break;
            if (s.name.size() <= kMaxNameBytes) s.name += e.text.text;
            break;
        case SDL_KEYDOWN:
            s.skip_text = false;
            switch (e.key.keysym.sym) {
                case SDLK_BACKSPACE: pop_utf8_char(s.name); break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER: accept(); break;
                case SDLK_ESCAPE: finish(false); break;
                default: break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            const int row = list_row_at(s.list, e.button.x, e.button.y);
            if (row >= 0) {
                s.name = s.list.files[row].stem;  // saving then overwrites that file
                s.list.selected = row;
            }
            press_scroll_bar(s.list, e.button.x, e.button.y);
            press_buttons(s.list, e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            const int act = release_buttons(s.list, e.button.x, e.button.y);
            if (act == 1) accept();
            else if (act == 2) finish(false);
            break;
        }
        case SDL_MOUSEWHEEL: scroll_by_wheel(s.list, e.wheel.y); break;
        default: break;
    }
}

// ---- load dialog

LoadDialogState open_load_dialog(const PanelLayout& layout, std::vector<SaveFileInfo> files, std::string title) {
    LoadDialogState s;
    s.list.layout = layout;
    s.list.files = std::move(files);
    s.list.selected = s.list.files.empty() ? -1 : 0;
    s.title = std::move(title);
    return s;
}

void handle_load_dialog_event(LoadDialogState& s, const SDL_Event& e) {
    SaveListState& l = s.list;
    const auto finish = [&](bool accepted) {
        s.done = true;
        s.result.accepted = accepted;
        if (accepted) {
            s.result.path = l.files[l.selected].path;
            s.result.stem = l.files[l.selected].stem;
        }
    };
    const bool has_selection = l.selected >= 0 && l.selected < static_cast<int>(l.files.size());
    switch (e.type) {
        case SDL_QUIT: finish(false); break;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
                case SDLK_ESCAPE: finish(false); break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                    if (has_selection) finish(true);
                    break;
                case SDLK_UP:
                    if (l.selected > 0) --l.selected;
                    keep_selection_visible(l);
                    break;
                case SDLK_DOWN:
                    if (has_selection && l.selected + 1 < static_cast<int>(l.files.size())) ++l.selected;
                    keep_selection_visible(l);
                    break;
                default: break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            const int row = list_row_at(l, e.button.x, e.button.y);
            if (row >= 0) l.selected = row;
            press_scroll_bar(l, e.button.x, e.button.y);
            press_buttons(l, e.button.x, e.button.y);
            break;
        }
        case SDL_MOUSEBUTTONUP: {
            if (e.button.button != SDL_BUTTON_LEFT) break;
            const int act = release_buttons(l, e.button.x, e.button.y);
            if (act == 1 && has_selection) finish(true);
            else if (act == 2) finish(false);
            break;
        }
        case SDL_MOUSEWHEEL: scroll_by_wheel(l, e.wheel.y); break;
        default: break;
    }
}

// ---- drawing

void draw_panel(SDL_Renderer* renderer, const PanelLayout& l, TTF_Font* font, SDL_Texture* background,
                SDL_Texture* panel, SDL_Texture* thumb, const Resources& res, const std::string& title,
                const std::vector<std::string>& rows, int selected, int first, const std::string& name, bool caret,
                bool ok_pressed, bool cancel_pressed) {
    TTF_Font* name_font = g_name_font ? g_name_font : font;

    if (background) {
        present_background(renderer, background);
    } else {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
    }

    const SDL_Rect panel_rect{l.panel_x, l.panel_y, l.panel_w, l.panel_h};
    if (panel) {
        SDL_RenderCopy(renderer, panel, nullptr, &panel_rect);
    } else {
        SDL_SetRenderDrawColor(renderer, 30, 30, 30, 255);
        SDL_RenderFillRect(renderer, &panel_rect);
    }

    if (font && !title.empty())
        text::at(renderer, font, title, l.panel_x + (l.panel_w - text::measure(font, title).x) / 2, l.panel_y + 18,
                 COL_GOLD);

    const SDL_Rect list_rect = l.list_rect();
    SDL_RenderSetClipRect(renderer, &list_rect);
    if (l.visible_rows > 0 && first >= 0) {
        for (int i = 0; i < l.visible_rows && first + i < static_cast<int>(rows.size()); ++i) {
            const int row = first + i;
            const int y = l.list_y + l.row_h * i;
            if (row == selected) {
                SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
                SDL_SetRenderDrawColor(renderer, 0, 180, 0, 40);
                const SDL_Rect fill{l.list_x, y, l.list_w, l.row_h};
                SDL_RenderFillRect(renderer, &fill);
                SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
            }
            text::at(renderer, name_font, fit_row_text(name_font, rows[row], l.list_w - 8), l.list_x + 4, y,
                     row == selected ? COL_SEL : COL_WHITE);
        }
    }
    SDL_RenderSetClipRect(renderer, nullptr);

    const int nrows = static_cast<int>(rows.size());
    if (nrows > l.visible_rows && thumb) {
        int tw = 0, th = 0;
        SDL_QueryTexture(thumb, nullptr, nullptr, &tw, &th);
        const float f = static_cast<float>(first) / static_cast<float>(nrows - l.visible_rows);
        const SDL_Rect rc{l.scroll_x, l.scroll_y + static_cast<int>(f * static_cast<float>(l.scroll_h)), tw, th};
        SDL_RenderCopy(renderer, thumb, nullptr, &rc);
    }

    if (name_font) {
        std::string shown = caret ? name + "_" : name;
        // A long name shows its end: whole characters are dropped from the front.
        while (text::measure(name_font, shown).x > l.panel_w - 12 && shown.size() >= 2) {
            std::size_t cut = 1;
            while (cut < shown.size() - 1 && text::is_utf8_continuation(shown[cut])) ++cut;
            shown.erase(0, cut);
        }
        const SDL_Rect clip{l.panel_x + 6, l.name_y - 2, l.panel_w - 12, l.row_h + 6};
        SDL_RenderSetClipRect(renderer, &clip);
        text::at(renderer, name_font, shown, l.panel_x + 6 + (l.panel_w - 12 - text::measure(name_font, shown).x) / 2,
                 l.name_y, COL_GOLD);
        SDL_RenderSetClipRect(renderer, nullptr);
    }

    draw_system_button(renderer, res, EVENT_BUTTON_OK, l.ok_x + l.ok_w / 2, l.ok_y, ok_pressed, font);
    draw_system_button(renderer, res, EVENT_BUTTON_DECLINE, l.cancel_x + l.cancel_w / 2, l.cancel_y, cancel_pressed,
                       font);
}

namespace {

// An empty list says so rather than leaving a blank panel.
void draw_empty_list_note(SDL_Renderer* renderer, TTF_Font* font, const SaveListState& l) {
    if (!l.files.empty()) return;
    text::wrapped_box(renderer, g_name_font ? g_name_font : font, no_saves_text(), l.layout.list_x,
                      l.layout.list_y + 4, l.layout.list_w, COL_WHITE);
}

}  // namespace

void draw_save_dialog(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, SDL_Texture* panel,
                      SDL_Texture* thumb, const Resources& res, SaveDialogState& s) {
    draw_panel(renderer, s.list.layout, font, background, panel, thumb, res, s.title, stems(s.list.files),
               s.list.selected, s.list.first, s.name, s.caret && !s.asking, s.list.ok_held, s.list.cancel_held);
    draw_empty_list_note(renderer, font, s.list);
    if (!s.asking) return;
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 120);
    SDL_RenderFillRect(renderer, nullptr);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    if (s.prompt.lines.empty()) set_panel_words(s.prompt, font, split_words_on_spaces(s.question));
    draw_campaign_prompt(renderer, res, font, nullptr, s.prompt);
}

void draw_load_dialog(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, SDL_Texture* panel,
                      SDL_Texture* thumb, const Resources& res, const LoadDialogState& s) {
    const SaveListState& l = s.list;
    const std::string name =
        l.selected >= 0 && l.selected < static_cast<int>(l.files.size()) ? l.files[l.selected].stem : std::string();
    draw_panel(renderer, l.layout, font, background, panel, thumb, res, s.title, stems(l.files), l.selected, l.first,
               name, false, l.ok_held, l.cancel_held);
    draw_empty_list_note(renderer, font, l);
}

// ---- the dialogs' loops

namespace {

struct PanelPictures {
    SDL_Texture* panel = nullptr;
    IcnTextures scroll;
    SDL_Texture* thumb() const { return scroll.count() >= 5 ? scroll.at(4) : nullptr; }

    PanelPictures(SDL_Renderer* r, const AggArchive* archive, const Palette& palette) {
        if (!r || !archive) return;
        panel = load_bmp_texture(r, *archive, palette, "REQUEST.BMP", false);
        load_icn_textures(r, *archive, palette, "SCROLL.ICN", true, scroll);
    }
    ~PanelPictures() {
        if (panel) SDL_DestroyTexture(panel);
        destroy_textures(scroll);
    }
    PanelPictures(const PanelPictures&) = delete;
    PanelPictures& operator=(const PanelPictures&) = delete;
};

}  // namespace

SaveDialogResult run_save_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 const Resources& res, TTF_Font* font, SDL_Texture* background, bool campaign,
                                 int scenario) {
    PanelPictures pics(renderer, archive, palette);
    SaveDialogState s = open_save_dialog(
        compute_layout(pics.panel, font, res), campaign ? list_campaign_save_files() : list_save_files(),
        strings().get(campaign ? "SAVE_CAMPAIGN_TITLE" : "SAVE_GAME_TITLE"),
        campaign ? default_campaign_stem(scenario) : default_save_stem());
    s.name_taken = [campaign](const std::string& name) { return save_name_taken(name, campaign); };
    Uint32 last_toggle = SDL_GetTicks();
    SDL_StartTextInput();
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_save_dialog_event(s, e);
            return s.done;
        },
        [&] {
            const Uint32 now = SDL_GetTicks();
            if (now - last_toggle > 500) {
                s.caret = !s.caret;
                last_toggle = now;
            }
            draw_save_dialog(renderer, font, background, pics.panel, pics.thumb(), res, s);
        });
    SDL_StopTextInput();
    return s.result;
}

LoadDialogResult run_load_dialog_impl(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                      const Resources& res, TTF_Font* font, SDL_Texture* background,
                                      std::vector<SaveFileInfo> list, const std::string& title) {
    PanelPictures pics(renderer, archive, palette);
    LoadDialogState s = open_load_dialog(compute_layout(pics.panel, font, res), std::move(list), title);
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_load_dialog_event(s, e);
            return s.done;
        },
        [&] { draw_load_dialog(renderer, font, background, pics.panel, pics.thumb(), res, s); });
    return s.result;
}

LoadDialogResult run_load_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 const Resources& res, TTF_Font* font, SDL_Texture* background) {
    // Not the map list's title: this list holds saves.
    return run_load_dialog_impl(renderer, archive, palette, res, font, background, list_save_files(),
                                load_game_title());
}

LoadDialogResult run_campaign_load_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                          const Resources& res, TTF_Font* font, SDL_Texture* background) {
    return run_load_dialog_impl(renderer, archive, palette, res, font, background, list_campaign_save_files(),
                                strings().get("LOAD_CAMPAIGN_TITLE"));
}

// ---- save notice and campaign save prompt

std::vector<std::string> set_words_in_lines(TTF_Font* font, const std::vector<std::string>& all_words, int limit) {
    std::vector<std::string> words;
    for (const std::string& w : all_words)
        // A word wider than the column (a file's name) in pieces, so text never runs out of its panel.
        for (std::string& piece : text::split_word(font, w, limit - 1)) words.push_back(std::move(piece));
    std::vector<std::string> lines;
    std::string line;
    for (const std::string& w : words) {
        const std::string joined = line.empty() ? w : line + " " + w;
        if (text::measure(font, joined).x < limit) {
            line = joined;
        } else {
            if (!line.empty()) lines.push_back(line);
            line = w;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

void set_panel_words(MessagePanelState& s, TTF_Font* font, const std::vector<std::string>& words) {
    // A word's pieces are cut one pixel narrower than a line: the limit is exclusive.
    s.font = text::font_keeping_words(words, kPanelLineLimit - 1, font, g_name_font);
    s.lines = set_words_in_lines(s.font, words, kPanelLineLimit);
}

namespace {

template <typename IsSeparator>
std::vector<std::string> split_words(const std::string& text, IsSeparator sep) {
    std::vector<std::string> words;
    std::string w;
    for (char c : text) {
        if (sep(c)) {
            if (!w.empty()) words.push_back(std::move(w));
            w.clear();
        } else {
            w += c;
        }
    }
    if (!w.empty()) words.push_back(std::move(w));
    return words;
}

int line_skip(TTF_Font* font) { return font ? TTF_FontLineSkip(font) : 0; }

void draw_lines(SDL_Renderer* r, TTF_Font* font, const std::vector<std::string>& lines, int x, int w, int top) {
    if (!font) return;
    int y = top;
    for (const std::string& line : lines) {
        text::at(r, font, line, x + (w - text::measure(font, line).x) / 2, y, COL_WHITE);
        y += line_skip(font);
    }
}

bool left(const SDL_Event& e) { return e.button.button == SDL_BUTTON_LEFT; }

}  // namespace

std::vector<std::string> split_words_any_space(const std::string& text) {
    return split_words(text, [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; });
}

std::vector<std::string> split_words_on_spaces(const std::string& text) {
    return split_words(text, [](char c) { return c == ' '; });
}

std::string saved_alert_text(const std::string& message) {
    return message == "Game saved successfully." ? strings().get("SAVE_GAME_SUCCESS") : message;
}

std::string save_outcome_text(const SaveOutcome& outcome, bool autosave) {
    if (outcome.ok) return strings().get("SAVE_GAME_SUCCESS");
    return write_failed_text(autosave ? strings().get_or("GAME_AUTOSAVE_FAILED", "The autosave could not be written.")
                                      : strings().get("GAME_SAVE_FAILED"),
                             outcome);
}

std::string write_failed_text(const std::string& headline, const SaveOutcome& outcome) {
    std::string text = headline;
    // The file the reason is about: a temporary file that could not be written, not the target the
    // player would find untouched (or, for a new save, not there at all).
    const std::string file =
        path_beside_archive(outcome.reason_file.empty() ? outcome.path : outcome.reason_file);
    if (!file.empty()) text += "\n" + file;
    if (!outcome.reason.empty()) text += (file.empty() ? "\n" : ": ") + outcome.reason;
    return text;
}

std::string unsaved_scenario_question() {
    return strings().get_or("CAMPAIGN_SAVE_FAILED_PROMPT",
                            "The won scenario is not saved. Go on to the next scenario without a save? "
                            "No tries the save again.");
}

MessagePanelState open_saved_alert(TTF_Font* font, const std::string& message) {
    MessagePanelState s;
    set_panel_words(s, font, split_words_any_space(saved_alert_text(message)));
    return s;
}

void handle_saved_alert_event(MessagePanelState& s, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT: s.done = true; break;
        case SDL_KEYDOWN:
            if (notice_key(e) || e.key.keysym.sym == SDLK_SPACE) s.done = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (left(e) && rect_hit(s.ok_rect, e.button.x, e.button.y)) s.held = EVENT_BUTTON_OK;
            break;
        case SDL_MOUSEBUTTONUP:
            if (!left(e)) break;
            if (s.held == EVENT_BUTTON_OK && rect_hit(s.ok_rect, e.button.x, e.button.y)) s.done = true;
            s.held = 0;
            break;
        default: break;
    }
}

SavedAlertLayout saved_alert_layout(int lines, int skip) {
    const int h = lines * skip;
    for (int rows = 2;; ++rows) {
        // Each middle row more grows the panel by one row height, half up and half down.
        const int extra = (rows - 2) * kBorderRowH;
        const int shift = extra / 2;
        // Short texts are centred in the band above the button; longer ones start at its top.
        const int top = std::max(209 - shift + (57 + extra - h) / 2, 213 - shift);
        const SavedAlertLayout l{132 - shift, rows, top, 311 - shift + extra};
        if (top + h <= l.button_y || rows >= 7) return l;
    }
}

void draw_saved_alert(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                      MessagePanelState& s) {
    present_background(renderer, background);
    TTF_Font* lines_font = s.font ? s.font : font;
    const SavedAlertLayout l = saved_alert_layout(static_cast<int>(s.lines.size()), line_skip(lines_font));
    draw_buybuild_border(renderer, res, 177, l.frame_y, l.rows);
    draw_lines(renderer, lines_font, s.lines, 177, 286, l.text_top);
    s.ok_rect = draw_system_button(renderer, res, EVENT_BUTTON_OK, 320, l.button_y, s.held == EVENT_BUTTON_OK, font);
}

std::function<void(const std::string&)>& shown_text_hook() {
    static std::function<void(const std::string&)> hook;
    return hook;
}

void show_saved_alert(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                      const std::string& message) {
    if (shown_text_hook()) shown_text_hook()(saved_alert_text(message));
    MessagePanelState s = open_saved_alert(font, message);
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_saved_alert_event(s, e);
            return s.done;
        },
        [&] { draw_saved_alert(renderer, res, font, background, s); });
}

MessagePanelState open_question_panel(TTF_Font* font, const std::string& text) {
    MessagePanelState s;
    set_panel_words(s, font, split_words_on_spaces(text));
    return s;
}

MessagePanelState open_campaign_save_prompt(TTF_Font* font, const std::string& name) {
    return open_question_panel(font, strings().format("CAMPAIGN_SAVED_PROMPT", {name}));
}

std::string overwrite_question(const std::string& name) {
    const char* key = "SAVE_OVERWRITE_PROMPT";
    return strings().has(key) ? strings().format(key, {name})
                              : format_text("A saved game named {0} is already there. Replace it?", {name});
}

void handle_campaign_prompt_event(MessagePanelState& s, const SDL_Event& e) {
    const auto finish = [&](bool yes) {
        s.done = true;
        s.answer = yes;
    };
    switch (e.type) {
        case SDL_QUIT: finish(false); break;
        case SDL_KEYDOWN:
            if (const int yes = yes_no_key(e); yes >= 0) finish(yes == 1);
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (!left(e)) break;
            if (rect_hit(s.accept_rect, e.button.x, e.button.y)) s.held = EVENT_BUTTON_ACCEPT;
            else if (rect_hit(s.decline_rect, e.button.x, e.button.y)) s.held = EVENT_BUTTON_DECLINE;
            break;
        case SDL_MOUSEBUTTONUP:
            if (!left(e)) break;
            if (s.held == EVENT_BUTTON_ACCEPT && rect_hit(s.accept_rect, e.button.x, e.button.y)) finish(true);
            else if (s.held == EVENT_BUTTON_DECLINE && rect_hit(s.decline_rect, e.button.x, e.button.y)) finish(false);
            s.held = 0;
            break;
        default: break;
    }
}

void draw_campaign_prompt(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                          MessagePanelState& s) {
    present_background(renderer, background);
    draw_buybuild_border(renderer, res, 177, 110, 3);
    draw_lines(renderer, s.font ? s.font : font, s.lines, 193, 254, 199);
    s.accept_rect =
        draw_system_button(renderer, res, EVENT_BUTTON_ACCEPT, 249, 334, s.held == EVENT_BUTTON_ACCEPT, font);
    s.decline_rect =
        draw_system_button(renderer, res, EVENT_BUTTON_DECLINE, 391, 334, s.held == EVENT_BUTTON_DECLINE, font);
}

bool run_campaign_save_prompt(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                              const std::string& name) {
    return run_question_panel(renderer, res, font, background, strings().format("CAMPAIGN_SAVED_PROMPT", {name}));
}

bool run_question_panel(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, SDL_Texture* background,
                        const std::string& text) {
    if (shown_text_hook()) shown_text_hook()(text);
    MessagePanelState s = open_question_panel(font, text);
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_campaign_prompt_event(s, e);
            return s.done;
        },
        [&] { draw_campaign_prompt(renderer, res, font, background, s); });
    return s.answer;
}

}  // namespace vorn1
