#include "frontend/control_panel.h"

#include <cstdio>

#include "assets/dialog_utils.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "frontend/builtin_art.h"
#include "frontend/frontend_common.h"
#include "frontend/localized_texts.h"
#include "frontend/options_dialogs.h"
#include "lang/runtime_strings.h"
#include "media/sound_levels.h"
#include "persist/save_dialogs.h"
#include "persist/save_paths.h"
#include "persist/savegame.h"

namespace vorn1 {
namespace {

constexpr SDL_Color kGold{220, 180, 60, 255};
constexpr SDL_Color kWhite{200, 200, 200, 255};

struct ElementDef {
    SDL_Rect rect;
    int frame;    // normal frame (-1: the compiled-in rules button)
    int pressed;  // pressed frame
};

// In PanelElement order.
constexpr ElementDef kElements[] = {
    {{205, 41, 96, 56}, 0, 1},    {{338, 41, 96, 56}, 2, 3},   {{205, 117, 96, 56}, 4, 5},
    {{338, 117, 96, 56}, 6, 7},   {{195, 204, 65, 65}, 10, 10}, {{287, 204, 65, 65}, 12, 12},
    {{379, 204, 65, 65}, 14, 14}, {{195, 324, 65, 65}, 19, 19}, {{287, 324, 65, 65}, 21, 21},
    {{379, 324, 65, 65}, 23, 23}, {{183, 417, 96, 27}, 8, 9},   {{285, 417, 69, 27}, -1, -1},
    {{360, 417, 96, 27}, 25, 26},
};

const ElementDef& def(PanelElement e) { return kElements[static_cast<int>(e)]; }

std::string lookup_key_or(const char* key, const char* english) { return lookup_or(key, english); }

}  // namespace

SDL_Rect panel_element_rect(PanelElement e) { return e == PanelElement::None ? SDL_Rect{0, 0, 0, 0} : def(e).rect; }

PanelElement panel_element_at(int x, int y) {
    for (int i = 0; i < static_cast<int>(std::size(kElements)); ++i)
        if (point_in(kElements[i].rect, x, y)) return static_cast<PanelElement>(i);
    return PanelElement::None;
}

bool apply_panel_setting(PanelElement e, ControlPanelSettings& s, bool audio_enabled) {
    switch (e) {
    case PanelElement::Music:
        s.music_level = (s.music_level + 10) % 11;
        if (audio_enabled) apply_music_volume(s.music_level);
        return true;
    case PanelElement::Effects:
        s.sfx_level = (s.sfx_level + 10) % 11;
        if (audio_enabled) apply_sfx_volume(s.sfx_level);
        return true;
    case PanelElement::Speed: s.move_speed = (s.move_speed + 1) % 5; return true;
    case PanelElement::Autosave: s.autosave = !s.autosave; return true;
    case PanelElement::ShowPath: s.show_path = !s.show_path; return true;
    case PanelElement::ViewEnemy: s.view_enemy_moves = !s.view_enemy_moves; return true;
    default: return false;
    }
}

std::string panel_on_off(bool on) { return on ? lookup_key_or("CP_ON", "On") : lookup_key_or("CP_OFF", "Off"); }

std::string panel_speed_name(int speed) {
    static constexpr const char* keys[5] = {"CP_SPEED_WALK", "CP_SPEED_TROT", "CP_SPEED_CANTER", "CP_SPEED_GALLOP",
                                            "CP_SPEED_JUMP"};
    static constexpr const char* english[5] = {"Walk", "Trot", "Canter", "Gallop", "Jump"};
    const int i = speed >= 0 && speed <= 4 ? speed : 0;
    return lookup_key_or(keys[i], english[i]);
}

bool run_save_game_flow(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                        const Resources& resources, TTF_Font* font, const NewGameConfig& config,
                        const GameState* state, const GameMap* map, int day, int week, int month,
                        const PuzzleMapState* puzzle, int current_player, const SavedEliminationState* elim) {
    if (!state || !map) return false;
    const bool campaign = config.mode == MODE_CAMPAIGN;
    OwnedTexture snap(snap_screen(renderer));
    const SaveDialogResult chosen = run_save_dialog(renderer, &archive, palette, resources, font, snap.tex, campaign,
                                                    config.scenario_index + 1);
    if (!chosen.accepted || chosen.name.empty()) return false;
    SaveOutcome saved;
    if (campaign)
        save_campaign_game(compose_campaign_save_path(chosen.name), *state, *map, config, day, week, month, puzzle,
                           false, elim, &saved);
    else
        save_game(compose_save_path(chosen.name), *state, *map, config, day, week, month, puzzle, current_player,
                  elim, &saved);
    if (saved.ok) return true;
    std::fprintf(stderr, "control_panel: save failed for %s (%s)\n", saved.path.c_str(), saved.reason.c_str());
    // Told here, over the screen the save began from (the window still shows the dialog's last
    // frame, perhaps its replace question): the panel stays open for another try.
    show_saved_alert(renderer, resources, font, snap.tex, save_outcome_text(saved));
    return false;
}

ControlPanelResult run_control_panel(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette,
                                     const Resources& resources, TTF_Font* dialog_font, TTF_Font* text_font,
                                     const NewGameConfig& config, ControlPanelSettings& settings, bool audio_enabled,
                                     SDL_Texture* background, const GameState* state, const GameMap* map, int day,
                                     int week, int month, const PuzzleMapState* puzzle, int current_player,
                                     const SavedEliminationState* elim) {
    OwnedTexture panel(load_bmp_voiced(renderer, archive, palette, "CPANEL.BMP", LoaderVoice::ControlPanel));
    OwnedFrames frames(load_icn_voiced(renderer, archive, palette, "CPANEL.ICN", LoaderVoice::ControlPanel));
    OwnedTexture rules(bmp_to_tex_keyed(renderer, rules_button_image()));
    PanelElement marked = PanelElement::None;
    bool done = false;
    ControlPanelResult result = ControlPanelResult::Closed;

    auto confirm = [&](const char* key) {
        return confirm_over_snapshot(renderer, resources, dialog_font, key);
    };
    auto act = [&](PanelElement e) {
        if (apply_panel_setting(e, settings, audio_enabled)) return;
        switch (e) {
        case PanelElement::NewGame:
            if (confirm("CP_CONFIRM_RESTART")) done = true, result = ControlPanelResult::NewGame;
            break;
        case PanelElement::Load:
            if (confirm("CP_CONFIRM_LOAD")) done = true, result = ControlPanelResult::Load;
            break;
        case PanelElement::Quit:
            if (confirm("CP_CONFIRM_QUIT")) done = true, result = ControlPanelResult::Quit;
            break;
        case PanelElement::Save:
            if (state && map &&
                run_save_game_flow(renderer, archive, palette, resources, dialog_font, config, state, map, day, week,
                                   month, puzzle, current_player, elim))
                done = true, result = ControlPanelResult::Saved;
            break;
        case PanelElement::Rules: {
            OwnedTexture snap(snap_screen(renderer));
            ControlPanelSettings& s = settings;
            run_mod_options_dialog(renderer, resources, dialog_font, text_font, snap.tex, &s.ab_spells, &s.stack_split,
                                   &s.alt_hydra, &s.build_status, &s.hex_outline, &s.ab_resolver, &s.enable_trade,
                                   &s.hero_horse, &s.bad_luck, &s.catapult_tower);
            break;
        }
        case PanelElement::Close: done = true, result = ControlPanelResult::Closed; break;
        case PanelElement::Info: done = true, result = ControlPanelResult::ScenarioInfo; break;
        default: break;
        }
    };

    auto draw = [&] {
        const SDL_Rect full{0, 0, 640, 480};
        if (background) {
            SDL_RenderCopy(renderer, background, nullptr, &full);
        } else {
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
        }
        const SDL_Rect panel_rc{159, 10, 322, 459};
        if (panel.tex) SDL_RenderCopy(renderer, panel.tex, nullptr, &panel_rc);
        for (int i = 0; i < static_cast<int>(std::size(kElements)); ++i) {
            const PanelElement e = static_cast<PanelElement>(i);
            const ElementDef& d = kElements[i];
            const bool held = e == marked;
            if (e == PanelElement::Rules) {
                SDL_Rect rc = d.rect;
                if (held) ++rc.y;
                if (rules.tex) SDL_RenderCopy(renderer, rules.tex, nullptr, &rc);
                continue;
            }
            int frame = held ? d.pressed : d.frame;
            if (e == PanelElement::Music) frame = settings.music_level == 0 ? 10 : 11;
            if (e == PanelElement::Effects) frame = settings.sfx_level == 0 ? 12 : 13;
            if (e == PanelElement::Speed) frame = 14 + settings.move_speed;
            if (e == PanelElement::Autosave) frame = settings.autosave ? 20 : 19;
            if (e == PanelElement::ShowPath) frame = settings.show_path ? 22 : 21;
            if (e == PanelElement::ViewEnemy) frame = settings.view_enemy_moves ? 24 : 23;
            if (SDL_Texture* t = frames.at(frame)) SDL_RenderCopy(renderer, t, nullptr, &d.rect);
        }
        if (!text_font) return;
        auto label = [&](const char* key, int x, int y) {
            text::centered_box(renderer, text_font, strings().get(key), x, y, 65, kGold);
        };
        auto value = [&](const std::string& t, int x, int y) { text::centered_box(renderer, text_font, t, x, y, 65, kWhite); };
        label("CP_MUSIC", 195, 191);
        label("CP_EFFECTS", 287, 191);
        label("CP_SPEED", 379, 191);
        // The lower row's labels end two rows clear of their pictures, and the two lines of the
        // enemy-movement label stand a line apart, so neither touches what lies below it.
        const int lower = def(PanelElement::Autosave).rect.y - TTF_FontAscent(text_font) - 2;
        label("CP_AUTOSAVE", 195, lower);
        label("CP_SHOW_PATH", 287, lower);
        label("CP_VIEW_ENEMY", 379, lower - TTF_FontLineSkip(text_font));
        label("CP_MOVEMENT", 379, lower);
        value(panel_on_off(settings.music_level != 0), 195, 270);
        if (settings.music_level >= 1 && settings.music_level <= 9)
            value(strings().get("CP_VOLUME") + std::to_string(settings.music_level), 195, 283);
        value(panel_on_off(settings.sfx_level != 0), 287, 270);
        if (settings.sfx_level >= 1 && settings.sfx_level <= 9)
            value(strings().get("CP_VOLUME") + std::to_string(settings.sfx_level), 287, 283);
        value(panel_speed_name(settings.move_speed), 379, 270);
        value(panel_on_off(settings.autosave), 195, 392);
        value(panel_on_off(settings.show_path), 287, 392);
        value(panel_on_off(settings.view_enemy_moves), 379, 392);
    };

    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) return ControlPanelResult::Quit;
            if (ng_try_fullscreen_key(e)) continue;
            if (e.type == SDL_KEYDOWN) {
                if (close_key(e)) {
                    done = true;
                    result = ControlPanelResult::Closed;
                }
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                marked = panel_element_at(e.button.x, e.button.y);
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                const PanelElement was = marked;
                marked = PanelElement::None;
                if (was != PanelElement::None && point_in(panel_element_rect(was), e.button.x, e.button.y)) act(was);
            }
        }
        if (done) return result;
        draw();
        frontend_present(renderer);
    }
}

}  // namespace vorn1
