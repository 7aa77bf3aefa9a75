#include "frontend/campaign_screens.h"

#include <array>

#include "assets/dialog_utils.h"
#include "assets/render_utils.h"
#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/builtin_art.h"
#include "frontend/campaign_data.h"
#include "frontend/frontend_common.h"
#include "frontend/localized_texts.h"
#include "frontend/menu_screen.h"
#include "frontend/options_dialogs.h"
#include "lang/runtime_strings.h"
#include "persist/save_dialogs.h"

namespace vorn1 {
namespace {

struct ChoiceButton {
    int slot;
    const char* key;
    const char* english;
    const Image* picture;
    int frame_up, frame_down;
    int result;
};

const SDL_Color kButtonFill{180, 140, 40, 255}, kButtonFillHeld{120, 140, 40, 255}, kButtonEdge{99, 190, 60, 255};

}  // namespace

int run_campaign_choice_menu(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                             SDL_Texture* background, TTF_Font* font, TitleSeaCycle* sea) {
    const std::array<ChoiceButton, 3> buttons{{
        {0, "NEWGAME_ORIGINAL_CAMPAIGN", "Original Campaign", &CAMP_ORIG_BTN_RGBA(), -1, -1, 0},
        {1, "NEWGAME_THE_SPIRIT_WORLD", "The Spirit World", &CAMP_SPIRIT_BTN_RGBA(), -1, -1, 1},
        {4, "NEWGAME_CANCEL", "Cancel", nullptr, 8, 9, -1},
    }};
    OwnedTexture panel(load_bmp_tex(renderer, archive, palette, "REDBACK.BMP"));
    OwnedFrames frames(load_icn_frames(renderer, archive, palette, "BTNCMPGN.ICN"));
    std::array<OwnedTexture, 3> pictures;
    for (int i = 0; i < 3; ++i)
        if (buttons[i].picture) pictures[i].reset(img_to_tex(renderer, *buttons[i].picture, true));
    int pressed = -1;
    bool has_result = false;
    int result = -1;
    while (!has_result) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) return -2;
            if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                if (e.key.keysym.sym == SDLK_ESCAPE) {
                    result = -1;
                    has_result = true;
                }
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                for (int i = 0; i < 3; ++i)
                    if (point_in(menu_button_rect(buttons[i].slot), e.button.x, e.button.y)) {
                        pressed = i;
                        break;
                    }
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && pressed >= 0) {
                if (point_in(menu_button_rect(buttons[pressed].slot), e.button.x, e.button.y)) {
                    result = buttons[pressed].result;
                    has_result = true;
                }
                pressed = -1;
            }
        }
        if (sea) sea->tick(SDL_GetTicks());
        draw_title_backdrop(renderer, sea, background);
        if (panel.tex) SDL_RenderCopy(renderer, panel.tex, nullptr, &kMenuPanelRect);
        for (int i = 0; i < 3; ++i) {
            const ChoiceButton& b = buttons[i];
            const SDL_Rect box = menu_button_rect(b.slot);
            const bool held = i == pressed;
            if (SDL_Texture* t = b.frame_up >= 0 ? frames.at(held ? b.frame_down : b.frame_up) : nullptr) {
                SDL_RenderCopy(renderer, t, nullptr, &box);
            } else if (pictures[i].tex) {
                const SDL_Point s = tex_size(pictures[i].tex);
                const SDL_Rect dst{432 + (127 - s.x) / 2, box.y + (63 - s.y) / 2, s.x, s.y};
                SDL_RenderCopy(renderer, pictures[i].tex, nullptr, &dst);
                if (held) {
                    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
                    fill_rect(renderer, dst, {0, 0, 0, 80});
                    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
                }
            } else {
                fill_rect(renderer, box, held ? kButtonFillHeld : kButtonFill);
                outline_rect(renderer, box, kButtonEdge);
                if (font)
                    text::centered_box(renderer, font, lookup_or(b.key, b.english), 432, box.y + 31 - 10, 127,
                                       {255, 255, 255, 255});
            }
        }
        frontend_present(renderer);
    }
    return result;
}

bool show_victory_screen_core(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                              const std::string& text) {
    OwnedTexture picture(load_bmp_tex(renderer, archive, palette, "CONGRATS.BMP"));
    bool ending = false, quit = false;
    while (!ending) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_KEYDOWN) {
                if (close_key(e) || e.key.keysym.sym == SDLK_SPACE) ending = true;
                else ng_try_fullscreen_key(e);
            } else if (e.type == SDL_MOUSEBUTTONUP || e.type == SDL_QUIT) {
                ending = true;
                quit = quit || e.type == SDL_QUIT;
            }
        }
        if (picture.tex) {
            const SDL_Rect full{0, 0, 640, 480};
            SDL_RenderCopy(renderer, picture.tex, nullptr, &full);
        } else {
            SDL_SetRenderDrawColor(renderer, 20, 10, 35, 255);
            SDL_RenderClear(renderer);
        }
        if (font && !text.empty()) text::wrapped_at(renderer, font, text, 310, 140, 283, {240, 220, 180, 255});
        frontend_present(renderer);
    }
    if (quit) hand_on_quit_request();
    return !quit;
}

std::string campaign_won_text(const NewGameConfig& config) {
    const int row = next_campaign_step(config).won_row;
    if (config.campaign_id != CAMPAIGN_SPIRIT_WORLD) return localized_scenario_desc(k_campaign_victory_text[row]);
    return spirit_tr(k_spirit_data[row].victory_key, k_spirit_data[row].victory);
}

bool run_campaign_congrats_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                  TTF_Font* font, const NewGameConfig& config) {
    return show_victory_screen_core(renderer, archive, palette, font, campaign_won_text(config));
}

SDL_Rect announcement_ok_rect(SDL_Point button) { return {(442 - button.x) / 2 + 99, 336, button.x, button.y}; }

bool run_scenario_announcement_core(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                    SDL_Texture* background, TTF_Font* font, int index, const std::string& title,
                                    const std::string& text) {
    OwnedTexture back(load_bmp_tex(renderer, archive, palette, "CAMPBACK.BMP"));
    OwnedFrames frames(load_icn_frames(renderer, archive, palette, "CAMPAIGN.ICN"));
    SDL_Point size{99, 28};
    if (frames.count() > 2 && frames.at(0)) size = tex_size(frames.at(0));
    const SDL_Rect ok = announcement_ok_rect(size);
    const std::string shown_title = " " + title;
    bool held = false, ended = false, result = true;
    while (!ended) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_KEYDOWN) {
                // Only Return closes the story page; Escape and the keypad's Enter are ignored.
                if (e.key.keysym.sym == SDLK_RETURN) {
                    ended = true;
                    result = true;
                } else {
                    ng_try_fullscreen_key(e);
                }
            } else if (e.type == SDL_QUIT) {
                ended = true;
                result = false;
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                if (point_in(ok, e.button.x, e.button.y)) held = true;
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                if (held && point_in(ok, e.button.x, e.button.y)) {
                    ended = true;
                    result = true;
                }
                held = false;
            }
        }
        const SDL_Rect full{0, 0, 640, 480}, panel{99, 88, 442, 303};
        if (background) {
            SDL_RenderCopy(renderer, background, nullptr, &full);
        } else {
            SDL_SetRenderDrawColor(renderer, 20, 20, 40, 255);
            SDL_RenderClear(renderer);
        }
        if (back.tex) {
            SDL_RenderCopy(renderer, back.tex, nullptr, &panel);
        } else {
            fill_rect(renderer, panel, {30, 20, 60, 255});
        }
        if (font) {
            blit(renderer, frames.at(index + 4), 256, 141);
            text::centered_box(renderer, font, shown_title, 143, 142, 398, {220, 200, 150, 255});
            text::wrapped_at(renderer, font, text, 120, 158, 402, {200, 200, 200, 255});
        }
        if (SDL_Texture* t = frames.at(held ? 1 : 0)) {
            SDL_RenderCopy(renderer, t, nullptr, &ok);
        } else {
            fill_rect(renderer, ok, held ? kButtonFillHeld : kButtonFill);
            outline_rect(renderer, ok, kButtonEdge);
            if (font) text::centered_box(renderer, font, strings().get("DIALOG_OK"), ok.x, ok.y + 4, ok.w, {255, 255, 255, 255});
        }
        frontend_present(renderer);
    }
    return result;
}

bool run_campaign_scenario_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                  SDL_Texture* background, TTF_Font* font, int number) {
    // Texts and picture come from the same row, so a number outside 1..9 shows scenario 1 throughout.
    const int row = campaign_row_of_number(number);
    const ScenarioText& s = k_scenario_data[row];
    return run_scenario_announcement_core(renderer, archive, palette, background, font, row,
                                          localized_scenario_title(s.title), localized_scenario_desc(s.intro));
}

bool run_spirit_scenario_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                SDL_Texture* background, TTF_Font* font, int index) {
    if (index < 0 || index > 3) index = 0;
    const SpiritScenario& s = k_spirit_data[index];
    return run_scenario_announcement_core(renderer, archive, palette, background, font, index,
                                          spirit_tr(s.title_key, s.title), spirit_tr(s.intro_key, s.intro));
}

TTF_Font* restart_question_font(TTF_Font* font, TTF_Font* small) {
    std::vector<std::string> words = split_words_any_space(strings().get("SCEN_RESTART_CONFIRM1"));
    for (std::string& w : split_words_any_space(strings().get("SCEN_RESTART_CONFIRM2"))) words.push_back(std::move(w));
    return text::font_keeping_words(words, kConfirmWrapWidth, font, small);
}

bool run_restart_question(SDL_Renderer* renderer, const Resources& res, TTF_Font* font, TTF_Font* small) {
    const std::string question = strings().get("SCEN_RESTART_CONFIRM1");
    const std::string note = strings().get("SCEN_RESTART_CONFIRM2");
    OwnedTexture snap(snap_screen(renderer));
    return run_buybuild_confirm(renderer, res, restart_question_font(font, small), snap.tex, question.c_str(),
                                note.c_str());
}

NewGameConfig run_campaign_victory_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                          TTF_Font* font, const NewGameConfig& config, const CampaignCarryover&,
                                          bool show_victory) {
    const CampaignStep step = next_campaign_step(config);
    const bool spirit = config.campaign_id == CAMPAIGN_SPIRIT_WORLD;
    if (show_victory) show_victory_screen_core(renderer, archive, palette, font, campaign_won_text(config));
    if (step.has_next) {
        SDL_Texture* background = load_bmp_tex(renderer, archive, palette, "VELDAR.BMP");
        const bool closed =
            spirit ? run_spirit_scenario_screen(renderer, archive, palette, background, font, step.announce)
                   : run_campaign_scenario_screen(renderer, archive, palette, background, font, step.announce);
        destroy_texture(background);
        if (!closed) end_process();
    }
    return advance_campaign(config, step);
}

}  // namespace vorn1
