#include "frontend/hotseat_screen.h"

#include <algorithm>

#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/localized_texts.h"
#include "frontend/map_select.h"
#include "frontend/setup_page.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

HotseatLayout HotseatLayout::from_sizes(SDL_Point panel, SDL_Point f1, SDL_Point f7, SDL_Point f26, SDL_Point f11,
                                        SDL_Point f18, SDL_Point f19, SDL_Point f23, SDL_Point f27) {
    HotseatLayout l;
    l.pw = panel.x;
    l.ph = panel.y;
    l.w1 = f1, l.w11 = f11, l.w18 = f18, l.w19 = f19, l.w23 = f23, l.w27 = f27;
    l.diff_x[0] = 334;
    for (int i = 1; i < 4; ++i) l.diff_x[i] = l.diff_x[i - 1] + f1.x + 6;
    l.cw = std::max(f7.x, f26.x);
    l.rh = std::max(f7.y, f26.y);
    l.slot_x[0] = 311 + (l.pw - 3 * l.cw - 14) / 2;
    for (int j = 1; j < 3; ++j) l.slot_x[j] = l.slot_x[j - 1] + l.cw + 7;
    l.slot_y = f1.y + 95;
    l.R = l.slot_y + l.rh;
    l.half = (l.pw - 28) / 2;
    l.gem_x = 318 + (l.half - f11.x) / 2;
    l.gem_y = l.R + 57;
    l.koth_x = 323 + l.half + (l.half - f27.x) / 2;
    l.koth_y = l.R + 58;
    l.SL = l.R + 57 + f11.y + 24;
    l.button_y = l.ph - 12 - f23.y;
    return l;
}

std::vector<HotseatPress> hotseat_hits(const HotseatLayout& l, int x, int y, bool have_maps) {
    std::vector<HotseatPress> out;
    for (int i = 0; i < 4; ++i)
        if (x >= l.diff_x[i] && x < l.diff_x[i] + l.w1.x && y > 48 && y <= 48 + l.w1.y)
            out.push_back({HotseatHit::Difficulty, i});
    for (int j = 0; j < 3; ++j)
        if (point_in({l.slot_x[j], l.slot_y, l.cw, l.rh}, x, y)) out.push_back({HotseatHit::Slot, j});
    if (point_in({l.gem_x, l.gem_y, l.w11.x, l.w11.y}, x, y)) out.push_back({HotseatHit::Color, 0});
    if (point_in({l.koth_x, l.koth_y, l.w27.x, l.w27.y}, x, y)) out.push_back({HotseatHit::KingOfTheHill, 0});
    if (have_maps && (point_in({336, l.SL + 16, l.w18.x, l.w18.y}, x, y) ||
                      point_in({336 + l.w18.x, l.SL + 16, l.w19.x, l.w19.y}, x, y)))
        out.push_back({HotseatHit::Scenario, 0});
    if (x > 335 && x <= 335 + l.w23.x && y >= l.button_y && y < l.button_y + l.w23.y) out.push_back({HotseatHit::Ok, 0});
    if (point_in({l.pw + 288 - l.w23.x, l.button_y, l.w23.x, l.w23.y}, x, y)) out.push_back({HotseatHit::Cancel, 0});
    return out;
}

void apply_hotseat_press(HotseatSetup& s, const HotseatPress& p) {
    switch (p.hit) {
    case HotseatHit::Difficulty: s.difficulty = p.index; break;
    case HotseatHit::Slot:
        if (s.slot_is_human(p.index)) {
            s.human_difficulty[p.index] = (s.human_difficulty[p.index] + 1) % 4;
        } else {
            s.computer_level[p.index] = next_opponent_level(s.computer_level[p.index]);
        }
        break;
    case HotseatHit::Color: s.color = static_cast<uint8_t>((s.color + 1) & 3); break;
    case HotseatHit::KingOfTheHill: s.king_of_the_hill = !s.king_of_the_hill; break;
    default: break;
    }
}

bool run_mp_config_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                          TTF_Font* small_font, int players, const std::vector<MapFileInfo>& maps,
                          NewGameConfig& config, TitleSeaCycle* sea) {
    SetupPictures pics;
    pics.load(renderer, archive, palette, false);
    const HotseatLayout l = HotseatLayout::from_sizes(pics.panel_size(), pics.icon(1), pics.icon(7), pics.icon(26),
                                                      pics.icon(11), pics.icon(18), pics.icon(19), pics.icon(23),
                                                      pics.icon(27));
    HotseatSetup s = initial_hotseat_setup(players, maps);
    bool scen_pressed = false, ok_pressed = false, cancel_pressed = false, running = true, result = false;
    const SDL_Color light_green{150, 255, 150, 255};
    const SDL_Point w26 = pics.icon(26);

    auto draw = [&] {
        draw_setup_background(renderer, pics, sea);
        draw_setup_difficulty(renderer, pics, font, small_font, l.diff_x, s.difficulty);
        for (int j = 0; j < 3; ++j) {
            const int x = l.slot_x[j];
            if (s.slot_is_human(j)) {
                blit(renderer, pics.icons.at(26), x + (l.cw - w26.x) / 2, l.slot_y);
                if (small_font) {
                    text::centered_box(renderer, small_font, strings().get("NEWGAME_HUMAN"), x, l.R + 3, l.cw, kSetupGrey);
                    text::centered_box(renderer, small_font, strings().get(difficulty_key(s.human_difficulty[j])), x,
                                       l.R + 19, l.cw, light_green);
                }
            } else {
                const int level = s.computer_level[j];
                const int f = level >= 0 && level <= 4 ? level + 5 : 7;
                blit(renderer, pics.icons.at(f), x + (l.cw - pics.icon(f).x) / 2, l.slot_y);
                if (small_font)
                    text::centered_box(renderer, small_font, opp_label(static_cast<OpponentDifficulty>(level)), x,
                                       l.R + 3, l.cw, kSetupGrey);
            }
        }
        draw_setup_color_koth(renderer, pics, font, l.R, l.half, l.gem_x, l.gem_y, l.koth_x, l.koth_y, s.color,
                              s.king_of_the_hill);
        if (font) text::centered_box(renderer, font, strings().get("NEWGAME_CHOOSE_SCENARIO"), 312, l.SL, l.pw, kSetupGold);
        if (SDL_Texture* box = pics.icons.at(18)) {
            blit(renderer, box, 336, l.SL + 16);
        } else {
            fill_rect(renderer, {336, l.SL + 16, l.w18.x >= 1 ? l.w18.x : 120, 20}, {160, 20, 20, 255});
        }
        const bool valid = s.map_index >= 0 && s.map_index < static_cast<int>(s.maps.size());
        if (font) {
            const std::string name =
                valid ? localized_map_name(s.maps[s.map_index].stem, s.maps[s.map_index].name) : "(no maps)";
            text::centered_box(renderer, font, name, 336, l.SL + 19, l.w18.x >= 1 ? l.w18.x : 120,
                               {255, 255, 255, 255});
            text::centered_box(renderer, font, rating_line(hotseat_rating(s)), 312, l.SL + 16 + l.w18.y + 12, l.pw,
                               kSetupGold);
        }
        blit(renderer, pics.icons.at(scen_pressed ? 20 : 19), 336 + l.w18.x, l.SL + 16);
        draw_setup_button(renderer, pics, font, 23, 24, ok_pressed, 336, l.button_y, false);
        draw_setup_button(renderer, pics, font, 21, 22, cancel_pressed, l.pw + 288 - l.w23.x, l.button_y, false);
    };

    auto start = [&] {
        NewGameConfig chosen = config;
        if (!apply_hotseat_start(s, chosen)) {
            show_alert(renderer, font, kNoHotseatMapsText, archive, palette, draw);
            return;
        }
        if (const char* refusal = chosen_start_refusal(chosen, &archive)) {
            show_alert(renderer, font, refusal, archive, palette, draw);
            return;
        }
        config = std::move(chosen);
        result = true;
        running = false;
    };

    while (running) {
        SDL_Event e;
        while (running && SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                pics.release();
                end_process();
            } else if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                const SDL_Keycode k = e.key.keysym.sym;
                if (k == SDLK_RETURN || k == SDLK_KP_ENTER) {
                    start();
                } else if (k == SDLK_ESCAPE) {
                    running = false;
                }
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                for (const HotseatPress& p : hotseat_hits(l, e.button.x, e.button.y, !s.maps.empty())) {
                    apply_hotseat_press(s, p);
                    if (p.hit == HotseatHit::Scenario) scen_pressed = true;
                    if (p.hit == HotseatHit::Ok) ok_pressed = true;
                    if (p.hit == HotseatHit::Cancel) cancel_pressed = true;
                }
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                const int x = e.button.x, y = e.button.y;
                if (scen_pressed) {
                    scen_pressed = false;
                    if (!s.maps.empty()) {
                        const int chosen = run_map_select_screen(renderer, archive, palette, font, pics.title.tex,
                                                                 s.maps, s.map_index, sea);
                        if (chosen >= 0) {
                            s.map_index = chosen;
                            if (chosen < static_cast<int>(s.maps.size())) g_last_multiplayer_map_stem = s.maps[chosen].stem;
                        }
                    }
                }
                for (const HotseatPress& p : hotseat_hits(l, x, y, false)) {
                    if (p.hit == HotseatHit::Ok && ok_pressed) start();
                    if (p.hit == HotseatHit::Cancel && cancel_pressed) running = false;
                }
                ok_pressed = cancel_pressed = false;
            }
        }
        if (sea) sea->tick(SDL_GetTicks());
        draw();
        frontend_present(renderer);
    }
    return result;
}

}  // namespace vorn1
