#include "frontend/frontend_driver.h"

#include <filesystem>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/campaign_data.h"
#include "frontend/campaign_screens.h"
#include "frontend/hotseat_screen.h"
#include "frontend/map_discovery.h"
#include "frontend/menu_screen.h"
#include "frontend/setup_page.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "media/music_players.h"
#include "persist/highscore.h"
#include "persist/highscore_screens.h"
#include "persist/save_dialogs.h"

namespace vorn1 {
namespace {

std::string g_folder_override;

const std::vector<MenuBtnDef>& new_game_rows() {
    static const std::vector<MenuBtnDef> rows{{0, 1}, {2, 3}, {4, 5}, {-1, -1}, {6, 7}};
    return rows;
}
const std::vector<MenuBtnDef>& lord_rows() {
    static const std::vector<MenuBtnDef> rows{{0, 1}, {2, 3}, {4, 5}, {6, 7}, {8, 9}};
    return rows;
}
const std::vector<MenuBtnDef>& hotseat_rows() {
    static const std::vector<MenuBtnDef> rows{{0, 1}, {-1, -1}, {-1, -1}, {-1, -1}, {8, 9}};
    return rows;
}
const std::vector<MenuBtnDef>& player_count_rows() {
    static const std::vector<MenuBtnDef> rows{{0, 1}, {2, 3}, {4, 5}, {-1, -1}, {6, 7}};
    return rows;
}
const MenuKeys& load_menu_keys() {
    static const MenuKeys keys{{SDLK_s, 0}, {SDLK_c, 1}, {SDLK_m, 2}, {SDLK_ESCAPE, 4}};
    return keys;
}

constexpr int kChoiceCancel = 4;
constexpr int kClosed = -2;

// The menus the driver draws itself (new game, hot seat, player count): the menu column's
// layout; -2 when the window was closed.
int run_inline_menu(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TitleSeaCycle& sea,
                    SDL_Texture* title, const std::string& icn, const std::vector<MenuBtnDef>& rows,
                    const MenuKeys& keys, bool grey_substitute) {
    OwnedTexture panel(load_bmp_tex(renderer, archive, palette, "REDBACK.BMP"));
    OwnedFrames frames(load_icn_frames(renderer, archive, palette, icn));
    int marked = -1, choice = -1;
    while (choice < 0) {
        SDL_Event e;
        while (choice < 0 && SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) return kClosed;
            if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                if (e.key.keysym.sym == SDLK_ESCAPE) {
                    choice = kChoiceCancel;
                    continue;
                }
                for (const auto& [code, row] : keys)
                    if (code == e.key.keysym.sym) {
                        choice = row;
                        break;
                    }
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                marked = -1;
                for (int i = 0; i < static_cast<int>(rows.size()); ++i)
                    if (rows[i].normal >= 0 && point_in(menu_button_rect(i), e.button.x, e.button.y)) {
                        marked = i;
                        break;
                    }
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                if (marked >= 0 && point_in(menu_button_rect(marked), e.button.x, e.button.y)) choice = marked;
                marked = -1;
            }
        }
        sea.tick(SDL_GetTicks());
        draw_title_backdrop(renderer, &sea, title);
        if (panel.tex) SDL_RenderCopy(renderer, panel.tex, nullptr, &kMenuPanelRect);
        for (int i = 0; i < static_cast<int>(rows.size()); ++i) {
            if (rows[i].normal < 0) continue;
            const SDL_Rect rc = menu_button_rect(i);
            if (SDL_Texture* t = frames.at(i == marked ? rows[i].pressed : rows[i].normal)) {
                SDL_RenderCopy(renderer, t, nullptr, &rc);
            } else if (grey_substitute) {
                fill_rect(renderer, rc, {80, 80, 80, 255});
            }
        }
        frontend_present(renderer);
    }
    return choice;
}

std::vector<MapFileInfo> scan_maps(const std::string& folder) {
    std::vector<MapFileInfo> maps = discover_maps(folder + "maps");
    if (maps.empty()) maps = known_map_infos(folder);
    return maps;
}

void start_sea(TitleSeaCycle& sea, SDL_Renderer* renderer, AggArchive& archive, const Palette& palette) {
    sea.init(renderer, palette);
    if (g_language == RU) return;  // the still title picture
    Image image;
    if (load_lang_png_override(lang_assets_root(), lang_code(g_language), "VELDAR", image)) {
        sea.set_source(image);
        return;
    }
    const std::vector<uint8_t> bytes = archive.get("VELDAR.BMP");
    if (bytes.empty()) return;
    try {
        sea.set_source(decode_bmp(bytes, palette));
    } catch (const std::exception&) {
        // A damaged title picture leaves the still background.
    }
}

enum class PassEnd { Return, ReEnter };

// One run from the title screen; `out` holds the result when it returns.
PassEnd run_front_end_pass(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font*& font,
                           TTF_Font*& font2, const Resources* resources, const FullscreenCallback& fullscreen,
                           const LanguageCallback& language, NewGameConfig& out) {
    NgCallbackScope scope(&fullscreen, &language);
    const std::string folder = front_end_folder();
    OwnedTexture title(load_bmp_tex(renderer, archive, palette, "VELDAR.BMP"));
    TitleSeaCycle sea;
    start_sea(sea, renderer, archive, palette);
    auto end_now = [&]() {
        title.reset();
        sea.reset();
        end_process();
    };
    title_music_play(resources);

    enum class State { MainMenu, HighScores, Credits, LoadMenu, NewGameMenu, Standard, CampaignChoice, LordMenu,
                       HotseatMenu };
    State state = State::MainMenu;
    std::vector<MapFileInfo> maps;
    for (;;) {
        switch (state) {
        case State::MainMenu: {
            title_music_play(resources);
            const int row = run_menu_screen(renderer, archive, palette, title.tex, "BTNMAIN.ICN", main_menu_buttons(),
                                            &sea, main_menu_keys(), true, &font, &font2);
            if (row == 0) state = State::NewGameMenu;
            else if (row == 1) state = State::LoadMenu;
            else if (row == 2) state = State::HighScores;
            else if (row == 3) state = State::Credits;
            else end_now();
            break;
        }
        case State::HighScores:
            run_highscores_page(renderer, &archive, palette, font, HighScoreTable::Standard, folder, -1);
            state = State::MainMenu;
            break;
        case State::Credits:
            run_credits_screen(renderer, archive, palette, font);
            state = State::MainMenu;
            break;
        case State::LoadMenu: {
            const int row = run_menu_screen(renderer, archive, palette, title.tex, "BTNNEWGM.ICN", new_game_rows(),
                                            nullptr, load_menu_keys(), false, nullptr, nullptr);
            if (row == kClosed) end_now();
            state = State::MainMenu;
            if ((row == 0 || row == 1) && resources) {
                OwnedTexture back(load_bmp_tex(renderer, archive, palette, "VELDAR.BMP"));
                const LoadDialogResult chosen =
                    row == 0 ? run_load_dialog(renderer, &archive, palette, *resources, font, back.tex)
                             : run_campaign_load_dialog(renderer, &archive, palette, *resources, font, back.tex);
                if (chosen.accepted && !chosen.path.empty()) {
                    out = NewGameConfig{};
                    out.mode = row == 0 ? MODE_STANDARD : MODE_CAMPAIGN;
                    out.save_path = chosen.path;
                    return PassEnd::Return;
                }
            }
            break;
        }
        case State::NewGameMenu: {
            const MenuKeys keys{{SDLK_s, 0}, {SDLK_c, 1}, {SDLK_m, 2}};
            const int row = run_inline_menu(renderer, archive, palette, sea, title.tex, "BTNNEWGM.ICN",
                                            new_game_rows(), keys, true);
            if (row == kClosed) end_now();
            if (row == 0) state = State::Standard;
            else if (row == 1) state = State::CampaignChoice;
            else if (row == 2) state = State::HotseatMenu;
            else return PassEnd::ReEnter;
            break;
        }
        case State::Standard: {
            title.reset();
            maps = scan_maps(folder);
            NewGameConfig config;
            const SetupOutcome outcome =
                run_standard_setup_page(renderer, archive, palette, font, font2, &sea, maps, config);
            if (outcome == SetupOutcome::Cancel) return PassEnd::ReEnter;
            out = config;
            return PassEnd::Return;
        }
        case State::CampaignChoice: {
            // From the choice to the first scenario's page; the title music comes back after a cancel.
            campaign_music(true);
            const int choice = run_campaign_choice_menu(renderer, archive, palette, title.tex, font, &sea);
            if (choice == kClosed) end_now();
            if (choice == -1) {
                campaign_music(false);
                return PassEnd::ReEnter;
            }
            if (choice == 0) {
                state = State::LordMenu;
                break;
            }
            const int lord = draw_spirit_lord(SDL_GetTicks());
            NewGameConfig config = spirit_campaign_config(folder, lord);
            if (!run_spirit_scenario_screen(renderer, archive, palette, title.tex, font, 0)) end_now();
            out = config;
            return PassEnd::Return;
        }
        case State::LordMenu: {
            const int lord = run_menu_screen(renderer, archive, palette, title.tex, "BTNCMPGN.ICN", lord_rows(), &sea,
                                             {}, false, nullptr, nullptr);
            if (lord == kClosed) end_now();
            if (lord < 0 || lord > 3) {
                campaign_music(false);
                return PassEnd::ReEnter;
            }
            NewGameConfig config = original_campaign_config(folder, lord);
            if (!run_campaign_scenario_screen(renderer, archive, palette, title.tex, font, 1)) end_now();
            out = config;
            return PassEnd::Return;
        }
        case State::HotseatMenu: {
            maps = scan_maps(folder);
            NewGameConfig hot;
            hot.quit = true;
            const int row = run_inline_menu(renderer, archive, palette, sea, title.tex, "BTNMP.ICN", hotseat_rows(), {},
                                            false);
            if (row == kClosed) end_now();
            if (row != 0) return PassEnd::ReEnter;
            const int count = run_inline_menu(renderer, archive, palette, sea, title.tex, "BTNHOTST.ICN",
                                              player_count_rows(), {}, false);
            if (count == kClosed) end_now();
            if (count < 0 || count > 2) return PassEnd::ReEnter;
            if (!run_mp_config_screen(renderer, archive, palette, font, font2, count + 2, maps, hot, &sea))
                return PassEnd::ReEnter;
            hot.quit = false;
            out = hot;
            return PassEnd::Return;
        }
        }
    }
}

}  // namespace

std::string missing_data_notice(const std::string& folder, const std::string& font_warning) {
    std::string text = font_warning;
    const auto add_if_missing = [&](const char* sub, const char* key, const char* english) {
        std::error_code ec;
        if (std::filesystem::is_directory(resolve_ci(folder + sub), ec)) return;
        if (!text.empty()) text += "\n";
        text += strings().get_or(key, english);
    };
    add_if_missing("ANIM", "TITLE_NO_FILMS", "The films folder ANIM is missing: the game plays without its films.");
    add_if_missing("SOUND", "TITLE_NO_SOUNDS", "The sounds folder SOUND is missing: the game plays without music.");
    return text;
}

std::string front_end_folder() { return g_folder_override.empty() ? path_folder(agg_base_path()) : g_folder_override; }

void set_front_end_folder(const std::string& folder) { g_folder_override = folder; }

void run_credits_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font) {
    OwnedTexture picture(load_bmp_tex(renderer, archive, palette, "CREDITS.BMP"));
    if (!picture.tex) return;
    for (;;) {
        SDL_Event e;
        bool done = false, quit = false;
        while (SDL_PollEvent(&e)) {
            if (ng_try_fullscreen_key(e)) continue;
            if (e.type == SDL_KEYDOWN) {
                done = true;
            } else if (e.type == SDL_MOUSEBUTTONUP || e.type == SDL_QUIT) {
                done = true;
                quit = quit || e.type == SDL_QUIT;
            }
        }
        if (quit) hand_on_quit_request();
        if (done) return;
        const SDL_Rect full{0, 0, 640, 480};
        SDL_RenderCopy(renderer, picture.tex, nullptr, &full);
        if (font)
            text::centered_box(renderer, font, "Dravenmoor I: made by its own small team, on the classic data.", 0,
                               474 - TTF_FontHeight(font), 640, {255, 255, 255, 255});
        frontend_present(renderer);
    }
}

NewGameConfig run_new_game_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                                  TTF_Font* font2, const Resources* resources, const FullscreenCallback& fullscreen_cb,
                                  const LanguageCallback& language_cb) {
    TTF_Font* f1 = font;
    TTF_Font* f2 = font2;
    FullscreenCallback fullscreen = fullscreen_cb;
    LanguageCallback language = language_cb;
    // Cancelling back to the title starts the front end again in this same call, so that no
    // number of cancels piles up screens, pictures or stack.
    for (;;) {
        NewGameConfig out;
        if (run_front_end_pass(renderer, archive, palette, f1, f2, resources, fullscreen, language, out) ==
            PassEnd::Return)
            return out;
        language = nullptr;  // a re-entered front end shows no language selector
    }
}

}  // namespace vorn1
