#include "frontend/setup_page.h"

#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/localized_texts.h"
#include "frontend/map_select.h"
#include "frontend/menu_screen.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

void SetupPictures::load(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, bool with_tents) {
    title.reset(load_bmp_tex(renderer, archive, palette, "VELDAR.BMP"));
    panel.reset(load_bmp_tex(renderer, archive, palette, "NEWGAME.BMP"));
    icons.reset(load_icn_frames(renderer, archive, palette, "NEWGAME.ICN"));
    if (with_tents) tents.reset(load_icn_frames(renderer, archive, palette, "TENT.ICN"));
}

SDL_Point SetupPictures::panel_size() const {
    const SDL_Point s = tex_size(panel.tex);
    return s.x > 0 && s.y > 0 ? s : SDL_Point{322, 459};
}

StandardLayout StandardLayout::from(const SetupPictures& p) {
    return from_sizes(p.panel_size(), p.icon(1), p.icon(7), p.icon(11), p.icon(18), p.icon(23), p.icon(27));
}

StandardLayout StandardLayout::from_sizes(SDL_Point panel, SDL_Point f1, SDL_Point f7, SDL_Point f11, SDL_Point f18,
                                          SDL_Point f23, SDL_Point f27) {
    StandardLayout l;
    l.pw = panel.x;
    l.ph = panel.y;
    l.w1 = f1, l.w7 = f7, l.w11 = f11, l.w18 = f18, l.w23 = f23, l.w27 = f27;
    l.diff_x[0] = 334;
    for (int i = 1; i < 4; ++i) l.diff_x[i] = l.diff_x[i - 1] + f1.x + 6;
    l.opp_y = f1.y + 95;
    l.opp_x[0] = 311 + (l.pw - 3 * f7.x - 14) / 2;
    for (int j = 1; j < 3; ++j) l.opp_x[j] = l.opp_x[j - 1] + f7.x + 7;
    l.R = l.opp_y + f7.y;
    l.half = (l.pw - 28) / 2;
    l.gem_x = 318 + (l.half - f11.x) / 2;
    l.gem_y = l.R + 57;
    l.koth_x = 323 + l.half + (l.half - f27.x) / 2;
    l.koth_y = l.R + 58;
    l.fac_x = 300 + l.pw / 2;
    l.fac_y = l.gem_y + (f11.y - 22) / 2;
    l.SL = l.gem_y + f11.y + 24;
    l.scen_w = f18.x >= 1 ? f18.x : 120;
    l.button_y = l.ph - 12 - f23.y;
    return l;
}

std::vector<SetupPress> standard_page_hits(const StandardLayout& l, int x, int y) {
    std::vector<SetupPress> out;
    for (int i = 0; i < 4; ++i)
        if (x >= l.diff_x[i] && x < l.diff_x[i] + l.w1.x && y > 48 && y <= 48 + l.w1.y)
            out.push_back({SetupHit::Difficulty, i});
    for (int j = 0; j < 3; ++j)
        if (point_in({l.opp_x[j], l.opp_y, l.w7.x, l.w7.y}, x, y)) out.push_back({SetupHit::Opponent, j});
    if (point_in({l.gem_x, l.gem_y, l.w11.x, l.w11.y}, x, y)) out.push_back({SetupHit::Color, 0});
    if (x >= l.fac_x && x <= l.fac_x + 23 && y >= l.fac_y && y <= l.fac_y + 21) out.push_back({SetupHit::Faction, 0});
    if (point_in({l.koth_x, l.koth_y, l.w27.x, l.w27.y}, x, y)) out.push_back({SetupHit::KingOfTheHill, 0});
    if (x > 335 && x <= 335 + l.w18.x && y >= l.SL + 16 && y < l.SL + 16 + l.w18.y)
        out.push_back({SetupHit::Scenario, 0});
    if (l.w23.x > 0) {
        if (x > 335 && x <= 335 + l.w23.x && y >= l.button_y && y < l.button_y + l.w23.y)
            out.push_back({SetupHit::Ok, 0});
        if (point_in(l.cancel_rect(), x, y)) out.push_back({SetupHit::Cancel, 0});
    }
    return out;
}

void apply_standard_press(StandardSetup& s, const SetupPress& p) {
    switch (p.hit) {
    case SetupHit::Difficulty: s.difficulty = p.index; break;
    case SetupHit::Opponent: s.opponents[p.index] = next_opponent_level(s.opponents[p.index]); break;
    case SetupHit::Color: s.color = static_cast<uint8_t>((s.color + 1) & 3); break;
    case SetupHit::Faction: s.faction = static_cast<uint8_t>((s.faction + 1) & 3); break;
    case SetupHit::KingOfTheHill: s.king_of_the_hill = !s.king_of_the_hill; break;
    default: break;
    }
}

std::string rating_line(int rating) {
    return strings().get("NEWGAME_DIFFICULTY_RATING") + std::to_string(rating) + "%";
}

void draw_setup_background(SDL_Renderer* r, const SetupPictures& p, TitleSeaCycle* sea) {
    draw_title_backdrop(r, sea, p.title.tex);
    const SDL_Point ps = p.panel_size();
    const SDL_Rect panel{312, 11, ps.x, ps.y};
    if (p.panel.tex) {
        SDL_RenderCopy(r, p.panel.tex, nullptr, &panel);
    } else {
        fill_rect(r, panel, {30, 30, 50, 255});
    }
}

void draw_setup_difficulty(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, TTF_Font* font2,
                           const std::array<int, 4>& xs, int selected) {
    const SDL_Point w1 = p.icon(1);
    const int pw = p.panel_size().x;
    if (font) text::centered_box(r, font, strings().get("NEWGAME_CHOOSE_GAME_DIFFICULTY"), 312, 29, pw, kSetupGold);
    for (int i = 0; i < 4; ++i) {
        blit(r, p.icons.at(1 + i), xs[i], 49);
        if (i == selected) blit(r, p.icons.at(25), xs[i] - 2, 47);
        if (font2) text::centered_box(r, font2, strings().get(difficulty_key(i)), xs[i], w1.y + 56, w1.x, kSetupGrey);
    }
    if (font) text::centered_box(r, font, strings().get("NEWGAME_CUSTOMIZE_OPPONENTS"), 312, w1.y + 77, pw, kSetupGold);
}

void draw_setup_color_koth(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, int R, int half, int gem_x,
                           int gem_y, int koth_x, int koth_y, uint8_t color, bool koth) {
    if (font) {
        text::centered_box(r, font, strings().get("NEWGAME_CHOOSE_COLOR"), 334, R + 31, half, kSetupGold);
        text::centered_box(r, font, strings().get("NEWGAME_KING_OF_THE_HILL_2"), 334 + half, R + 31, half, kSetupGold);
    }
    blit(r, p.icons.at(gem_frames_normal[color & 3]), gem_x, gem_y);
    blit(r, p.icons.at(27 + (koth ? 1 : 0)), koth_x, koth_y);
}

void draw_setup_button(SDL_Renderer* r, const SetupPictures& p, TTF_Font* font, int normal, int pressed_frame,
                       bool pressed, int x, int y, bool substitute) {
    if (SDL_Texture* t = p.icons.at(pressed ? pressed_frame : normal)) {
        blit(r, t, x, y);
        return;
    }
    if (!substitute) return;
    fill_rect(r, {x, y, 80, 22}, pressed ? SDL_Color{80, 100, 20, 255} : SDL_Color{140, 100, 20, 255});
    if (font)
        text::centered_box(r, font, strings().get(normal == 23 || normal == 24 ? "HS_OKAY" : "NEWGAME_CANCEL"), x,
                           y + 3, 80, {255, 255, 255, 255});
}

namespace {

struct StandardPage {
    SDL_Renderer* r;
    const SetupPictures& pics;
    const StandardLayout& l;
    TTF_Font* font;
    TTF_Font* font2;
    TitleSeaCycle* sea;
    const std::vector<MapFileInfo>& maps;
    const StandardSetup& s;
    bool scen_pressed = false, ok_pressed = false, cancel_pressed = false;

    void draw() const {
        draw_setup_background(r, pics, sea);
        draw_setup_difficulty(r, pics, font, font2, l.diff_x, s.difficulty);
        for (int j = 0; j < 3; ++j) {
            const int level = s.opponents[j];
            blit(r, pics.icons.at(level >= 0 && level <= 4 ? level + 5 : 7), l.opp_x[j], l.opp_y);
            if (font2)
                text::centered_box(r, font2, opp_label(static_cast<OpponentDifficulty>(level)), l.opp_x[j],
                                   l.opp_y + l.w7.y + 3, l.w7.x, kSetupGrey);
        }
        draw_setup_color_koth(r, pics, font, l.R, l.half, l.gem_x, l.gem_y, l.koth_x, l.koth_y, s.color,
                              s.king_of_the_hill);
        SDL_Texture* tent = pics.tents.at((s.faction & 3) + 8);
        if (tent) {
            const SDL_Point t = tex_size(tent);
            blit(r, tent, l.fac_x + (24 - t.x) / 2, l.fac_y + (22 - t.y) / 2);
        }
        if (font2) text::centered_box(r, font2, strings().get("NEWGAME_FACTION"), l.fac_x - 6, l.fac_y + 22, 36, kSetupGrey);
        if (font) text::centered_box(r, font, strings().get("NEWGAME_CHOOSE_SCENARIO"), 312, l.SL, l.pw, kSetupGold);
        if (SDL_Texture* box = pics.icons.at(18)) {
            blit(r, box, 336, l.SL + 16);
        } else {
            fill_rect(r, {336, l.SL + 16, l.scen_w, 20}, {160, 20, 20, 255});
        }
        const bool valid = s.map_index >= 0 && s.map_index < static_cast<int>(maps.size());
        if (font && valid)
            text::centered_box(r, font, fitted_map_label(font, maps, s.map_index, l.scen_w - 6), 336, l.SL + 19,
                               l.scen_w, {255, 255, 255, 255});
        blit(r, pics.icons.at(scen_pressed ? 20 : 19), 336 + l.w18.x, l.SL + 16);
        if (font)
            text::centered_box(r, font, rating_line(standard_rating(s, maps)), 312, l.SL + 16 + l.w18.y + 12, l.pw,
                               kSetupGold);
        draw_setup_button(r, pics, font, 23, 24, ok_pressed, 336, l.button_y, true);
        draw_setup_button(r, pics, font, 21, 22, cancel_pressed, l.pw + 288 - l.w23.x, l.button_y, true);
    }
};

}  // namespace

SetupOutcome run_standard_setup_page(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                     TTF_Font* font, TTF_Font* font2, TitleSeaCycle* sea,
                                     const std::vector<MapFileInfo>& maps, NewGameConfig& config) {
    SetupPictures pics;
    pics.load(renderer, archive, palette, true);
    const StandardLayout layout = StandardLayout::from(pics);
    StandardSetup state = initial_standard_setup(maps, SDL_GetTicks());
    StandardPage page{renderer, pics, layout, font, font2, sea, maps, state};
    SetupOutcome outcome = SetupOutcome::Start;
    bool running = true;

    auto start = [&] {
        NewGameConfig chosen = config;
        apply_standard_start(state, maps, chosen);
        if (const char* refusal = chosen_start_refusal(chosen, &archive)) {
            show_alert(renderer, font, refusal, archive, palette, [&page] { page.draw(); });
            return;
        }
        config = std::move(chosen);
        outcome = SetupOutcome::Start;
        running = false;
    };

    while (running) {
        SDL_Event e;
        while (running && SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                config.quit = true;
                outcome = SetupOutcome::Quit;
                running = false;
            } else if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                const SDL_Keycode k = e.key.keysym.sym;
                if (k == SDLK_RETURN || k == SDLK_KP_ENTER) {
                    start();
                } else if (k == SDLK_ESCAPE) {
                    outcome = SetupOutcome::Cancel;
                    running = false;
                }
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                for (const SetupPress& p : standard_page_hits(layout, e.button.x, e.button.y)) {
                    apply_standard_press(state, p);
                    if (p.hit == SetupHit::Scenario) page.scen_pressed = true;
                    if (p.hit == SetupHit::Ok) page.ok_pressed = true;
                    if (p.hit == SetupHit::Cancel) page.cancel_pressed = true;
                }
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                const int x = e.button.x, y = e.button.y;
                if (page.scen_pressed) {
                    page.scen_pressed = false;
                    if (!maps.empty()) {
                        const int chosen =
                            run_map_select_screen(renderer, archive, palette, font, pics.title.tex, maps, state.map_index, sea);
                        if (chosen >= 0) {
                            state.map_index = chosen;
                            if (chosen < static_cast<int>(maps.size())) g_last_standard_map_stem = maps[chosen].stem;
                        }
                    }
                }
                if (page.ok_pressed) {
                    page.ok_pressed = false;
                    const bool inside = x > 335 && x <= 335 + layout.w23.x && y >= layout.button_y &&
                                        y < layout.button_y + layout.w23.y;
                    if (inside) start();
                }
                if (page.cancel_pressed) {
                    page.cancel_pressed = false;
                    if (point_in(layout.cancel_rect(), x, y)) {
                        outcome = SetupOutcome::Cancel;
                        running = false;
                    }
                }
            }
        }
        if (sea) sea->tick(SDL_GetTicks());
        page.draw();
        frontend_present(renderer);
    }
    return outcome;
}

}  // namespace vorn1
