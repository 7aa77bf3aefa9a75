#include "frontend/scen_info.h"

#include <algorithm>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_encoding.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "frontend/campaign_data.h"
#include "frontend/campaign_screens.h"
#include "frontend/frontend_common.h"
#include "frontend/localized_texts.h"
#include "frontend/options_dialogs.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

constexpr SDL_Color kText{200, 200, 200, 255};
constexpr SDL_Rect kStandardOk{271, 416, 98, 25};

bool left_press(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT; }
bool left_release(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT; }

const std::string& tr(const std::string& key) { return strings().get(key); }

constexpr int kMapNameWidth = 157;

// The size and difficulty line, and the description's box under it, above the OK button.
constexpr int kSizeLineY = 322;
constexpr SDL_Rect kDescriptionBox{193, 352, 250, kStandardOk.y - 4 - 352};
// The separator's span: the widest the description may grow inside the panel.
constexpr int kSeparatorLeft = 179, kSeparatorRight = 461;

// How many lines of the font fit the height, one line skip apart.
int lines_in_height(TTF_Font* font, int height) {
    const int line = TTF_FontHeight(font);
    return height < line ? 0 : (height - line) / std::max(1, text::line_skip(font)) + 1;
}

void draw_background(SDL_Renderer* r, SDL_Texture* background) {
    const SDL_Rect full{0, 0, 640, 480};
    if (background) {
        SDL_RenderCopy(r, background, nullptr, &full);
    } else {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
        SDL_RenderClear(r);
    }
}

int run_standard(SDL_Renderer* r, AggArchive& archive, const Palette& palette, TTF_Font* font, TTF_Font* small_font,
                 const NewGameConfig& c, SDL_Texture* background) {
    const DescriptionLayout desc = c.description.empty()
                                       ? DescriptionLayout{}
                                       : scen_info_description_layout(scen_info_description(c), font, small_font);
    OwnedTexture panel(load_bmp_voiced(r, archive, palette, "SCENINFO.BMP", LoaderVoice::ScenInfo));
    OwnedFrames ok(load_icn_voiced(r, archive, palette, "SCENINFO.ICN", LoaderVoice::ScenInfo));
    OwnedFrames icons(load_icn_voiced(r, archive, palette, "NEWGAME.ICN", LoaderVoice::ScenInfo));
    bool held = false;
    for (;;) {
        SDL_Event e;
        bool done = false, quit = false;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) done = quit = true;
            if (ng_try_fullscreen_key(e)) continue;
            if (e.type == SDL_KEYDOWN) {
                if (close_key(e) || e.key.keysym.sym == SDLK_SPACE) done = true;
            } else if (left_press(e)) {
                if (point_in(kStandardOk, e.button.x, e.button.y)) held = true;
            } else if (left_release(e)) {
                if (held && point_in(kStandardOk, e.button.x, e.button.y)) done = true;
                held = false;
            }
        }
        if (quit) hand_on_quit_request();
        if (done) return 0;
        draw_background(r, background);
        const SDL_Rect panel_rc{159, 10, 322, 459};
        if (panel.tex) SDL_RenderCopy(r, panel.tex, nullptr, &panel_rc);
        SDL_Texture* button = held && ok.at(1) ? ok.at(1) : ok.at(0);
        if (button) SDL_RenderCopy(r, button, nullptr, &kStandardOk);
        if (font) {
            text::right_in(r, font, scen_info_map_title(font, c), 269, 48, kMapNameWidth, kText, 0);
            const std::string diff = c.difficulty == 0   ? "NEWGAME_EASY"
                                     : c.difficulty == 1 ? "NEWGAME_NORMAL"
                                     : c.difficulty == 2 ? "NEWGAME_HARD"
                                                         : "NEWGAME_EXPERT";
            text::at(r, font, tr(diff), 364, 82, kText);
            for (int i = 0; i < 3; ++i) text::at(r, font, opp_diff_str(c.opponents[i]), 349, 120 + 18 * i, kText);
            blit(r, icons.at(scen_info_crest_frame(c.color)), 283, 163);
            text::at(r, font, tr(c.king_of_the_hill ? "SCEN_YES" : "SCEN_NO"), 364, 218, kText);
            text::at(r, font, std::to_string(c.difficulty_rating) + "%", 319, 252, kText);
            SDL_SetRenderDrawColor(r, 120, 90, 40, 255);
            SDL_RenderDrawLine(r, 179, 318, 461, 318);
            const char* size = c.map_size == 0 ? "NEWGAME_SMALL" : c.map_size == 1 ? "NEWGAME_MEDIUM" : "NEWGAME_LARGE";
            text::at(r, font, tr(size), 209, 322, kText);
            const char* md = c.map_difficulty == 0   ? "SCEN_MAPDIFF_EASY"
                             : c.map_difficulty == 1 ? "SCEN_MAPDIFF_NORMAL"
                             : c.map_difficulty == 2 ? "SCEN_MAPDIFF_TOUGH"
                                                     : "SCEN_MAPDIFF_IMPOSSIBLE";
            text::at(r, font, tr(md), 371, 322, kText);
            const int skip = desc.font ? text::line_skip(desc.font) : 0;
            for (std::size_t i = 0; i < desc.lines.size(); ++i)
                text::at(r, desc.font, desc.lines[i], desc.box.x, desc.box.y + static_cast<int>(i) * skip,
                         {150, 150, 150, 255});
        }
        frontend_present(r);
    }
}

int run_campaign(SDL_Renderer* r, AggArchive& archive, const Palette& palette, const Resources* res, TTF_Font* font,
                 TTF_Font* small_font, const NewGameConfig& c, SDL_Texture* background) {
    OwnedTexture panel(load_bmp_voiced(r, archive, palette, "CAMPBACK.BMP", LoaderVoice::ScenInfo));
    OwnedFrames frames(load_icn_voiced(r, archive, palette, "CAMPAIGN.ICN", LoaderVoice::ScenInfo));
    const CampaignScenarioInfo info = get_campaign_scenario_info(c.scenario_index, c.campaign_id);
    const std::string title = cut_utf8(info.title, 79);
    const SDL_Point f0 = frames.size_or(0, {99, 28}), f2 = frames.size_or(2, {160, 28});
    const int h = frames.at(0) || frames.at(2) ? std::max(frames.at(0) ? f0.y : 28, frames.at(2) ? f2.y : 28) : 28;
    const SDL_Rect ok{129, 373 - h, f0.x, h};
    const SDL_Rect restart{511 - f2.x, 373 - h, f2.x, h};
    bool ok_held = false, restart_held = false;
    for (;;) {
        SDL_Event e;
        int result = -1;
        bool ask_restart = false;
        while (result < 0 && !ask_restart && SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                hand_on_quit_request();  // read again only after this loop has stopped
                result = 0;
            }
            if (ng_try_fullscreen_key(e)) continue;
            if (close_key(e)) result = 0;
            if (left_press(e)) {
                if (point_in(ok, e.button.x, e.button.y)) ok_held = true;
                if (point_in(restart, e.button.x, e.button.y)) restart_held = true;
            } else if (left_release(e)) {
                if (ok_held && point_in(ok, e.button.x, e.button.y)) result = 0;
                if (restart_held && point_in(restart, e.button.x, e.button.y)) ask_restart = true;
                ok_held = restart_held = false;
            }
        }
        if (result >= 0) return result;
        if (ask_restart && res && run_restart_question(r, *res, font, small_font)) return 1;

        draw_background(r, background);
        const SDL_Rect panel_rc{99, 88, 442, 303};
        if (panel.tex) SDL_RenderCopy(r, panel.tex, nullptr, &panel_rc);
        if (font) {
            if (res && c.scenario_index >= 0 && c.scenario_index <= 9)
                blit(r, res->campaign.at(c.scenario_index + 4), 256, 141);
            text::centered_box(r, font, title, 147, 142, 394, {220, 180, 60, 255});
            text::wrapped_in_box(r, font, info.intro, 129, 166, 382, ok.y - 170, kText);
        }
        const struct {
            SDL_Rect rc;
            SDL_Texture* tex;
            const char* key;
        } buttons[2] = {{ok, frames.at(ok_held ? 1 : 0), "SCEN_OK"}, {restart, frames.at(restart_held ? 3 : 2), "SCEN_RESTART"}};
        for (const auto& b : buttons) {
            if (b.tex) {
                SDL_RenderCopy(r, b.tex, nullptr, &b.rc);
            } else {
                fill_rect(r, b.rc, {120, 100, 40, 255});
                if (font) text::centered_box(r, font, tr(b.key), b.rc.x, b.rc.y + 4, b.rc.w, kText);
            }
        }
        frontend_present(r);
    }
}

}  // namespace

std::string opp_diff_str(OpponentDifficulty level) {
    switch (level) {
    case OPP_NONE: return tr("NEWGAME_OPP_NONE");
    case OPP_DUMB: return tr("SCEN_OPP_DUMB");
    case OPP_AVERAGE: return tr("SCEN_OPP_AVERAGE");
    case OPP_SMART: return tr("SCEN_OPP_SMART");
    default: return tr("SCEN_OPP_GENIUS");
    }
}

// The configuration keeps the map file's own bytes (saves hold them); they are decoded for drawing.
std::string scen_info_map_name(const NewGameConfig& c) {
    if (c.map_name.empty()) return tr("SCEN_UNKNOWN");
    if (c.map_stem.empty()) return text::trim_blanks(text::classic_text(c.map_name));
    return localized_map_name(c.map_stem, c.map_name);
}

std::string scen_info_map_title(TTF_Font* font, const NewGameConfig& c) {
    return text::fit_chars_marked(font, scen_info_map_name(c), kMapNameWidth);
}

std::string scen_info_description(const NewGameConfig& c) {
    if (c.map_stem.empty()) return text::classic_text(c.description);
    return localized_map_desc(c.map_stem, c.description);
}

DescriptionLayout scen_info_description_layout(const std::string& text, TTF_Font* font, TTF_Font* small_font) {
    DescriptionLayout out;
    if (!font || text.empty()) return out;
    const int grown_top = std::min(kDescriptionBox.y, kSizeLineY + TTF_FontHeight(font) + 2);
    const SDL_Rect grown{kSeparatorLeft, grown_top, kSeparatorRight - kSeparatorLeft,
                         kDescriptionBox.y + kDescriptionBox.h - grown_top};
    const struct {
        TTF_Font* font;
        SDL_Rect box;
    } tries[3] = {{font, kDescriptionBox}, {font, grown}, {small_font ? small_font : font, grown}};
    for (const auto& t : tries) {
        out = {t.font, t.box, text::wrap_within(t.font, text, t.box.w), false};
        if (static_cast<int>(out.lines.size()) <= lines_in_height(t.font, t.box.h)) return out;
    }
    // Not even the last try holds it: its lines that fit, and a mark that more was cut.
    const int room = lines_in_height(out.font, out.box.h);
    out.cut = true;
    text::keep_lines(out.font, out.lines, room, out.box.w);
    return out;
}

int scen_info_crest_frame(int color) {
    switch (color) {
    case 0: return 14;
    case 1: return 12;
    case 3: return 16;
    default: return 10;
    }
}

std::string cut_utf8(const std::string& text, std::size_t max_bytes) {
    if (text.size() <= max_bytes) return text;
    std::size_t n = max_bytes;
    // Step back over continuation bytes so the cut falls before a character's first byte.
    while (n > 0 && text::is_utf8_continuation(text[n])) --n;
    return text.substr(0, n);
}

int run_scen_info(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, const Resources* resources,
                  TTF_Font* font, const NewGameConfig& config, SDL_Texture* background, TTF_Font* small_font) {
    if (config.mode == MODE_CAMPAIGN)
        return run_campaign(renderer, archive, palette, resources, font, small_font, config, background);
    return run_standard(renderer, archive, palette, font, small_font, config, background);
}

}  // namespace vorn1
