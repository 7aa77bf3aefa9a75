#include "persist/highscore_screens.h"

#include <algorithm>
#include <cctype>
#include <cstring>

#include "assets/agg.h"
#include "assets/dialog_utils.h"
#include "assets/image.h"
#include "assets/text_encoding.h"
#include "assets/text_render.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "persist/save_dialogs.h"

namespace vorn1 {

namespace {

constexpr SDL_Color COL_TEXT{255, 255, 255, 255};
constexpr SDL_Color COL_HIGHLIGHT{255, 224, 96, 255};
constexpr int kButtonsY = 315;
constexpr SDL_Point kDefaultButtonSize{28, 134};

void fill(SDL_Renderer* r, SDL_Rect rc, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(r, &rc);
}

void clear_to(SDL_Renderer* r, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderClear(r);
}

void draw_background(SDL_Renderer* r, SDL_Texture* background, SDL_Color fallback) {
    if (background) {
        SDL_Rect full{0, 0, 640, 480};
        SDL_RenderCopy(r, background, nullptr, &full);
    } else {
        clear_to(r, fallback);
    }
}

std::string stem_of(const std::string& entry) {
    const std::size_t dot = entry.rfind('.');
    return dot == std::string::npos ? entry : entry.substr(0, dot);
}

// Size of a frame of a set, `fallback` when it has none.
SDL_Point frame_size(const IcnTextures& set, int index, SDL_Point fallback) {
    const SDL_Point sz = set.size(index);
    return set.at(index) && sz.x > 0 && sz.y > 0 ? sz : fallback;
}

bool is_key(const SDL_Event& e, SDL_Keycode k) { return e.type == SDL_KEYDOWN && e.key.keysym.sym == k; }

bool left_button(const SDL_Event& e, Uint32 type) { return e.type == type && e.button.button == SDL_BUTTON_LEFT; }

SDL_Rect button_rect(const IcnTextures& set, int frame, int x) {
    const SDL_Point sz = frame_size(set, frame, kDefaultButtonSize);
    return {x, kButtonsY, sz.x, sz.y};
}

int switch_frame(HighScoreTable shown) { return shown == HighScoreTable::Standard ? 0 : 2; }

}  // namespace

// ---- loaders

SDL_Texture* load_bmp(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                      const std::string& entry) {
    if (!renderer) return nullptr;
    Image img;
    if (load_lang_png_override(lang_assets_root(), lang_code(g_language), stem_of(entry), img))
        return img_to_tex(renderer, img, false);
    if (!archive) return nullptr;
    // A damaged picture is treated as a missing one: the screen still runs with its fallback.
    return load_bmp_texture(renderer, *archive, palette, entry, false);
}

IcnTextures load_icn(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                     const std::string& entry) {
    IcnTextures set;
    if (!renderer) return set;
    if (archive) load_icn_textures(renderer, *archive, palette, entry, true, set);
    if (g_language != EN)
        apply_icn_override(renderer, load_lang_icn_override(lang_assets_root(), lang_code(g_language), stem_of(entry)),
                           set);
    return set;
}

SDL_Rect draw_icn_frame(SDL_Renderer* renderer, const IcnTextures& frames, int index, int x) {
    const SDL_Rect rc = button_rect(frames, index, x);
    if (SDL_Texture* t = frames.at(index)) SDL_RenderCopy(renderer, t, nullptr, &rc);
    return rc;
}

// ---- standard victory screen

VictoryScreenState open_standard_victory_screen(int days, int points, int difficulty_percent, unsigned short score,
                                                const char* rank_title) {
    const StringTable& st = strings();
    VictoryScreenState s;
    s.rows = {{
        {st.get("HS_DAYS_SPENT"), std::to_string(days)},
        {st.get("HS_BASE_SCORE"), std::to_string(points)},
        {st.get("HS_DIFFICULTY_RATING"), std::to_string(difficulty_percent) + "%"},
        {st.get("HS_FINAL_SCORE"), std::to_string(score)},
        {st.get("HS_RANKING"), rank_title ? rank_name_loc(rank_title) : std::string()},
    }};
    return s;
}

void handle_standard_victory_event(VictoryScreenState& s, const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
        s.quit = true;
        s.done = true;
    } else if (close_key(e) || is_key(e, SDLK_SPACE)) {
        s.done = true;
    } else if (e.type == SDL_MOUSEBUTTONUP) {
        s.done = true;
    }
}

void draw_standard_victory_screen(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background,
                                  const VictoryScreenState& s) {
    draw_background(renderer, background, {20, 10, 35, 255});
    text::centered_box(renderer, font, strings().get("HS_GLORIOUS_VICTORY"), 310, 132, 283, COL_TEXT);
    // Ten pixels a row suits the classic small font; a taller font gets its own line skip.
    const int pitch = std::max(10, font ? TTF_FontLineSkip(font) : 0);
    for (int i = 0; i < 5; ++i) {
        const int y = 162 + pitch * i;
        text::at(renderer, font, s.rows[i].first, 310, y, COL_TEXT);
        text::right_at(renderer, font, s.rows[i].second, 593, y, COL_TEXT, 0);
    }
}

bool run_standard_victory_screen(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                 TTF_Font* font, int days, int points, int difficulty_percent, unsigned short score,
                                 const char* rank_title) {
    SDL_Texture* background = load_bmp(renderer, archive, palette, "CONGRATS.BMP");
    VictoryScreenState s = open_standard_victory_screen(days, points, difficulty_percent, score, rank_title);
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_standard_victory_event(s, e);
            return s.done;
        },
        [&] { draw_standard_victory_screen(renderer, font, background, s); }, {.draw_on_close = true});
    if (background) SDL_DestroyTexture(background);
    return !s.quit;
}

// ---- name entry

NameEntryState open_name_entry(const std::string& default_name, int max_length, SDL_Point field_size,
                               SDL_Point button_size) {
    NameEntryState s;
    s.default_name = default_name;
    s.max_length = std::max(0, max_length);
    s.text = default_name.substr(0, static_cast<std::size_t>(s.max_length));
    // A default cut inside a character keeps only whole characters.
    if (s.text.size() < default_name.size() && !s.text.empty() &&
        text::is_utf8_continuation(default_name[s.text.size()]))
        pop_utf8_char(s.text);
    s.field_size = field_size;
    s.ok_rect = {320 - button_size.x / 2, 316, button_size.x, button_size.y};
    return s;
}

namespace {

int utf8_length(uint8_t lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    if ((lead & 0xF8) == 0xF0) return 4;
    return 1;  // a stray byte stands alone
}

// Appends the text's characters while they fit in `max_length` bytes; control bytes are skipped.
// A character that would not fit whole is not begun, so the name stays valid text.
void append_limited(std::string& out, const char* in, int max_length) {
    const std::size_t n = std::strlen(in);
    std::size_t i = 0;
    while (i < n) {
        const uint8_t b = static_cast<uint8_t>(in[i]);
        const std::size_t len = std::min<std::size_t>(utf8_length(b), n - i);
        if (b < 32) {
            ++i;
            continue;
        }
        if (out.size() + len > static_cast<std::size_t>(max_length)) break;
        out.append(in + i, len);
        i += len;
    }
}

}  // namespace

void handle_name_entry_event(NameEntryState& s, const SDL_Event& e) {
    switch (e.type) {
        case SDL_QUIT:
            s.quit = true;
            s.done = true;
            break;
        case SDL_TEXTINPUT:
            append_limited(s.text, e.text.text, s.max_length);
            break;
        case SDL_KEYDOWN:
            switch (e.key.keysym.sym) {
                case SDLK_BACKSPACE: pop_utf8_char(s.text); break;
                case SDLK_RETURN:
                case SDLK_KP_ENTER:
                case SDLK_ESCAPE: s.done = true; break;
                default: break;
            }
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (left_button(e, SDL_MOUSEBUTTONDOWN) && rect_hit(s.ok_rect, e.button.x, e.button.y)) s.ok_pressed = true;
            break;
        case SDL_MOUSEBUTTONUP:
            if (left_button(e, SDL_MOUSEBUTTONUP)) {
                if (s.ok_pressed && rect_hit(s.ok_rect, e.button.x, e.button.y)) s.done = true;
                s.ok_pressed = false;
            }
            break;
        default: break;
    }
}

std::string name_entry_result(const NameEntryState& s) {
    if (s.quit) return s.default_name;
    const auto space = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::size_t b = 0, e = s.text.size();
    while (b < e && space(s.text[b])) ++b;
    while (e > b && space(s.text[e - 1])) --e;
    return b == e ? s.default_name : s.text.substr(b, e - b);
}

void draw_name_entry(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, const IcnTextures& buybuild,
                     const IcnTextures& system, const NameEntryState& s, bool caret_on) {
    if (background) {
        SDL_Rect full{0, 0, 640, 480};
        SDL_RenderCopy(renderer, background, nullptr, &full);
    }
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    fill(renderer, {0, 0, 640, 480}, {0, 0, 0, 90});
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);

    if (buybuild.at(0) && buybuild.at(1) && buybuild.at(2)) {
        int y = 110;
        for (int frame : {0, 1, 1, 1, 2}) {
            const SDL_Point sz = buybuild.size(frame);
            const SDL_Rect left{320 - sz.x, y, sz.x, sz.y};
            const SDL_Rect right{320, y, sz.x, sz.y};
            SDL_RenderCopyEx(renderer, buybuild.at(frame), nullptr, &left, 0, nullptr, SDL_FLIP_HORIZONTAL);
            SDL_RenderCopy(renderer, buybuild.at(frame), nullptr, &right);
            y += sz.y;
        }
    } else {
        const SDL_Rect panel{177, 110, 286, 260};
        fill(renderer, panel, {72, 48, 120, 255});
        SDL_SetRenderDrawColor(renderer, 200, 170, 60, 255);
        SDL_RenderDrawRect(renderer, &panel);
    }

    text::centered_box(renderer, font, strings().get("HS_ENTER_NAME1"), 177, 182, 286, COL_TEXT);
    if (font) text::centered_box(renderer, font, "the high score list.", 177, 182 + TTF_FontLineSkip(font), 286, COL_TEXT);

    const SDL_Rect field{320 - s.field_size.x / 2, 232, s.field_size.x, s.field_size.y};
    if (SDL_Texture* t = buybuild.at(3)) SDL_RenderCopy(renderer, t, nullptr, &field);
    else fill(renderer, field, {120, 20, 20, 255});
    if (font) {
        const std::string shown = caret_on ? s.text + "_" : s.text;
        text::centered_box(renderer, font, shown, field.x, 232 + (field.h - TTF_FontHeight(font)) / 2, field.w,
                           COL_TEXT);
    }

    const int frame = s.ok_pressed && system.at(10) ? 10 : 9;
    if (SDL_Texture* t = system.at(frame)) {
        SDL_RenderCopy(renderer, t, nullptr, &s.ok_rect);
    } else {
        fill(renderer, s.ok_rect, {180, 140, 40, 255});
        text::centered_xy(renderer, font, strings().get("HS_OKAY"), s.ok_rect.x, s.ok_rect.y, s.ok_rect.w,
                          s.ok_rect.h, COL_TEXT);
    }
}

std::string run_name_entry_dialog(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                                  TTF_Font* font, const std::string& default_name, int max_length,
                                  SDL_Texture* background) {
    IcnTextures buybuild = load_icn(renderer, archive, palette, "BUYBUILD.ICN");
    IcnTextures system = load_icn(renderer, archive, palette, "SYSTEM.ICN");
    NameEntryState s = open_name_entry(default_name, max_length, frame_size(buybuild, 3, {240, 24}),
                                       frame_size(system, 9, {66, 25}));
    SDL_StartTextInput();
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_name_entry_event(s, e);
            return s.done;
        },
        [&] { draw_name_entry(renderer, font, background, buybuild, system, s, (SDL_GetTicks() / 500) % 2 == 0); });
    SDL_StopTextInput();
    destroy_textures(buybuild);
    destroy_textures(system);
    return name_entry_result(s);
}

// ---- high-score page

HighScorePageState open_highscores_page(HighScoreTable table, const std::string& folder, int highlight,
                                        const IcnTextures& buttons) {
    HighScorePageState s;
    s.first = s.shown = table;
    s.highlight = highlight;
    s.folder = folder;
    s.rows = load_high_scores(high_score_path(folder, table), table);
    s.switch_rect = button_rect(buttons, switch_frame(table), 8);
    s.exit_rect = button_rect(buttons, 4, 604);
    return s;
}

namespace {

void switch_table(HighScorePageState& s, const IcnTextures& buttons) {
    s.shown = s.shown == HighScoreTable::Standard ? HighScoreTable::Campaign : HighScoreTable::Standard;
    s.rows = load_high_scores(high_score_path(s.folder, s.shown), s.shown);
    s.switch_rect = button_rect(buttons, switch_frame(s.shown), 8);
}

}  // namespace

void handle_highscores_event(HighScorePageState& s, const SDL_Event& e, const IcnTextures& buttons) {
    switch (e.type) {
        case SDL_QUIT: s.done = true; break;
        case SDL_KEYDOWN:
            if (e.key.keysym.sym == SDLK_LEFT || e.key.keysym.sym == SDLK_RIGHT) switch_table(s, buttons);
            else s.done = true;
            break;
        case SDL_MOUSEBUTTONDOWN:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            if (rect_hit(s.switch_rect, e.button.x, e.button.y)) s.switch_pressed = true;
            else if (rect_hit(s.exit_rect, e.button.x, e.button.y)) s.exit_pressed = true;
            break;
        case SDL_MOUSEBUTTONUP:
            if (e.button.button != SDL_BUTTON_LEFT) break;
            if (s.switch_pressed && rect_hit(s.switch_rect, e.button.x, e.button.y)) switch_table(s, buttons);
            else s.done = true;
            s.switch_pressed = s.exit_pressed = false;
            break;
        default: break;
    }
}

int shown_highlight(const HighScorePageState& s) { return s.shown == s.first ? s.highlight : -1; }

namespace {

// The page's columns: left edges of name, label and rank, the score's right edge, the picture's left.
constexpr int kNameX = 110, kLabelX = 250, kScoreRight = 430, kRankX = 452, kPictureX = 560;
constexpr int kColumnGap = 6;
// The rank has no column after it, only its creature's picture: it may come closer to that.
constexpr int kRankGap = 2;

void draw_line(SDL_Renderer* renderer, TTF_Font* font, const HighScoreLine& line, int y, SDL_Color c) {
    text::at(renderer, font, line.name, kNameX, y, c);
    text::at(renderer, font, line.label, kLabelX, y, c);
    text::right_at(renderer, font, line.score, kScoreRight, y, c, 0);
    text::at(renderer, font, line.rank, kRankX, y, c);
}

}  // namespace

// Each text keeps as much of its start as fits, cut between characters: "Lord Varkh" still tells
// the lord, where the first word alone ("Lord") tells none.
HighScoreLine fit_high_score_line(TTF_Font* font, HighScoreLine line) {
    line.name = text::fit_chars(font, line.name, kLabelX - kColumnGap - kNameX);
    // A score (five digits at most) always fits; a long heading over it leaves the label half the room.
    line.score = text::fit_chars(font, line.score, (kScoreRight - kLabelX - kColumnGap) / 2);
    const int score_left = kScoreRight - text::measure(font, line.score).x;
    line.label = text::fit_chars(font, line.label, score_left - kColumnGap - kLabelX);
    line.rank = text::fit_chars(font, line.rank, kPictureX - kRankGap - kRankX);
    return line;
}

void draw_highscores_page(SDL_Renderer* renderer, TTF_Font* font, SDL_Texture* background, const IcnTextures& buttons,
                          const IcnTextures& mons32, const HighScorePageState& s) {
    draw_background(renderer, background, {40, 16, 56, 255});
    draw_icn_frame(renderer, buttons, switch_frame(s.shown) + (s.switch_pressed ? 1 : 0), 8);
    draw_icn_frame(renderer, buttons, s.exit_pressed ? 5 : 4, 604);

    const bool standard = s.shown == HighScoreTable::Standard;
    const StringTable& st = strings();
    // The headings end a gap above the first row (y 51) whatever the font's height.
    const int heading_y = std::min(35, 51 - 3 - (font ? TTF_FontHeight(font) : 0));
    draw_line(renderer, font,
              fit_high_score_line(font, {st.get("HS_NAME"), st.get(standard ? "HS_SCENARIO" : "HS_LORD"),
                                         st.get(standard ? "HS_SCORE" : "HS_DAYS"), st.get("HS_RANK")}),
              heading_y, COL_TEXT);

    const int highlight = shown_highlight(s);
    const int n = std::min<int>(static_cast<int>(s.rows.size()), kHighScoreRows);
    for (int i = 0; i < n; ++i) {
        const HighScoreEntry& row = s.rows[i];
        const int y = 51 + 42 * i;
        const char* title = standard ? standard_rank_title(row.score) : campaign_rank_title(row.score);
        draw_line(renderer, font,
                  fit_high_score_line(font, {text::classic_text(row.name), text::classic_text(row.label),
                                             std::to_string(row.score), rank_name_loc(title)}),
                  y, i == highlight ? COL_HIGHLIGHT : COL_TEXT);
        const int creature = standard ? standard_rank_creature_id(row.score) : campaign_rank_creature_id(row.score);
        if (SDL_Texture* t = mons32.at(creature)) {
            const SDL_Point sz = frame_size(mons32, creature, {32, 32});
            const SDL_Rect rc{kPictureX, y - (sz.y - 16) / 2, sz.x, sz.y};
            SDL_RenderCopy(renderer, t, nullptr, &rc);
        }
    }
}

void run_highscores_page(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette, TTF_Font* font,
                         HighScoreTable table, const std::string& folder, int highlight) {
    SDL_Texture* background = load_bmp(renderer, archive, palette, "HISCORE.BMP");
    IcnTextures buttons = load_icn(renderer, archive, palette, "HISCORE.ICN");
    IcnTextures mons32 = load_icn(renderer, archive, palette, "MONS32.ICN");
    HighScorePageState s = open_highscores_page(table, folder, highlight, buttons);
    run_modal_loop(
        renderer,
        [&](const SDL_Event& e) {
            handle_highscores_event(s, e, buttons);
            return s.done;
        },
        [&] { draw_highscores_page(renderer, font, background, buttons, mons32, s); }, {.window_scale_key = false});
    if (background) SDL_DestroyTexture(background);
    destroy_textures(buttons);
    destroy_textures(mons32);
}

// ---- flows

namespace {

// The name asked over the congratulation picture.
std::string ask_name(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette, TTF_Font* font,
                     const std::string& default_name) {
    SDL_Texture* background = load_bmp(renderer, archive, palette, "CONGRATS.BMP");
    std::string name = run_name_entry_dialog(renderer, archive, palette, font, default_name, 15, background);
    if (background) SDL_DestroyTexture(background);
    return name;
}

// Enters the row in the folder's table and writes it back: the row's place, or -1 when it is not
// in the written table. A table that cannot be written is told at once, with the file and the
// system's reason, over the congratulation picture.
int record_result(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette, TTF_Font* font,
                  const Resources& res, HighScoreTable table, const std::string& folder, const HighScoreEntry& entry) {
    SaveOutcome saved;
    const int place = enter_high_score(folder, table, entry, &saved);
    if (!saved.ok) {
        const std::string headline = strings().get_or("HS_SAVE_FAILED", "The high-score table could not be written.");
        SDL_Texture* background = load_bmp(renderer, archive, palette, "CONGRATS.BMP");
        show_saved_alert(renderer, res, font, background, write_failed_text(headline, saved));
        if (background) SDL_DestroyTexture(background);
    }
    return place;
}

}  // namespace

int run_standard_victory_flow(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                              TTF_Font* font, const ScenarioResult& result, const std::string& default_name,
                              const std::string& label, const std::string& folder, const Resources& res) {
    const int points = scenario_points(result.days);
    const uint16_t score = compute_standard_score(result);
    run_standard_victory_screen(renderer, archive, palette, font, result.days, points, result.difficulty_percent, score,
                                standard_rank_title(score));
    if (!score_qualifies_for_table(folder, HighScoreTable::Standard, score)) {
        run_highscores_page(renderer, archive, palette, font, HighScoreTable::Standard, folder, -1);
        return -1;
    }
    const std::string name = ask_name(renderer, archive, palette, font, default_name);
    const int place =
        record_result(renderer, archive, palette, font, res, HighScoreTable::Standard, folder, {name, label, score});
    run_highscores_page(renderer, archive, palette, font, HighScoreTable::Standard, folder, place);
    return place;
}

int run_campaign_score_flow(SDL_Renderer* renderer, const AggArchive* archive, const Palette& palette,
                            TTF_Font* font, int total_days, const std::string& default_name,
                            const std::string& lord_name, const std::string& folder, const Resources& res) {
    const uint16_t days = compute_campaign_score(total_days);
    int place = -1;
    if (score_qualifies_for_table(folder, HighScoreTable::Campaign, days)) {
        const std::string name = ask_name(renderer, archive, palette, font, default_name);
        place = record_result(renderer, archive, palette, font, res, HighScoreTable::Campaign, folder,
                              {name, lord_name, days});
    }
    run_highscores_page(renderer, archive, palette, font, HighScoreTable::Campaign, folder, place);
    return place;
}

}  // namespace vorn1
