#include "mainloop/frame_loop.h"

#include <filesystem>
#include <string>

#include "town/castle_screen_resources.h"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>

#include "adventure/adv_geometry.h"
#include "adventure/new_day_panel.h"
#include "adventure/render_ui.h"
#include "assets/agg.h"
#include "assets/resources.h"
#include "frontend/control_panel.h"
#include "lang/runtime_strings.h"
#include "mainloop/adventure_screens.h"
#include "mainloop/battle_launch.h"
#include "mainloop/computer_turn.h"
#include "mainloop/game_end.h"
#include "mainloop/game_files.h"
#include "mainloop/hero_move.h"
#include "mainloop/transitions.h"
#include "mainloop/town_screens.h"
#include "mainloop/turns.h"
#include "mainloop/victory_check.h"
#include "mainloop/visit_results.h"
#include "media/ambient_sound.h"
#include "media/sound_levels.h"
#include "world/ambient_grid.h"
#include "world/game_setup.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr int kScrollStep = 32;
constexpr float kAnimFrameMs = 250.0f;

// The tile of the selected hero while he stands on the map, else null.
const MapTile* selected_hero_tile(const GameSession& g) {
    const int h = g.loop.selected_hero;
    if (!g.state.valid_hero(h) || !g.state.heroes[(size_t)h].live) return nullptr;
    return g.map.tile(g.state.heroes[(size_t)h].x, g.state.heroes[(size_t)h].y);
}

}  // namespace

void show_notice(GameSession& g, const std::string& text) {
    EventDef def;
    def.text = text;
    def.buttons = {EVENT_BUTTON_OK};
    g.events.open_announcement(def, kMapViewArea, [](EventResult) {});
}

void sync_hero_vectors(GameSession& g) {
    LoopState& l = g.loop;
    const size_t n = g.state.heroes.size();
    const size_t old = l.hero_move_points.size();
    l.hero_move_points.resize(std::max(old, n), 0);
    l.hero_day_points.resize(std::max(l.hero_day_points.size(), n), 0);
    for (size_t i = old; i < n; ++i) {
        const int mp = g.state.heroes[i].live ? hero_day_mp(g.state, g.map, (int)i) : 0;
        l.hero_day_points[i] = mp;
        l.hero_move_points[i] = mp;
    }
    if (l.moves.size() < n) {
        const size_t from = l.moves.size();
        l.moves.resize(n);
        for (size_t i = from; i < n; ++i) reset_hero_move_state(l.moves[i]);
    }
    grow_hero_routes(l, g.state);
}

bool setup_game(MainState& m, const NewGameConfig& cfg, const AggArchive* archive, uint32_t seed,
                std::string* failure) {
    MapSource source = MapSource::Empty;
    GameMap map = load_game_map(cfg, archive, &source, failure);
    // A map the player named that does not load never becomes another map's game.
    const bool named = (cfg.mode == MODE_CAMPAIGN && !cfg.campaign_map_path.empty()) || !cfg.map_path.empty();
    if (named && source != MapSource::CampaignMap && source != MapSource::ChosenMap) return false;
    end_game(m);
    m.game = std::make_unique<GameSession>();
    GameSession& g = *m.game;
    g.config = cfg;
    if (archive) m.archive = archive;
    g.map = std::move(map);
    init_game_state(g.state, g.map, cfg, seed);
    rebuild_monster_guard_map(g.map);
    g.campaign = cfg.mode == MODE_CAMPAIGN;
    g.hot_seat = cfg.mode == MODE_HOTSEAT;
    setup_puzzle_map(g.puzzle, g.map, seed ^ 0x9E3779B9u);
    begin_session(m, false);
    return true;
}

void begin_session(MainState& m, bool from_save) {
    GameSession& g = game_of(m);
    watch_mouse();
    build_ambient_grid(g.map);  // not saved: built from the tiles
    point_ambient_sounds(m);
    g.events.load(m.res, m.archive, m.fonts.def, m.fonts.small, m.audio_on);
    if (m.archive && m.renderer && m.res)
        g.battle_res.load(*m.archive, m.res->palette, m.renderer, m.base_dir);
    g.battle.init(&g.battle_res, m.res, m.renderer, m.fonts.def, m.fonts.small);
    g.loop.day = g.state.day;
    g.loop.week = g.state.week;
    g.loop.month = g.state.month;
    sync_hero_vectors(g);
    if (from_save)
        for (size_t i = 0; i < g.state.heroes.size(); ++i)
            g.loop.hero_move_points[i] = g.state.heroes[i].live ? std::max(0, (int)g.state.heroes[i].saved_mp) : 0;
    g.loop.player_order.clear();
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (g.state.seat_active(p) && g.state.player_in_play[p] != 0xFF) g.loop.player_order.push_back(p);
    apply_game_options(m);
    // A loaded game's turn goes on once the rest of the save is in place.
    if (!from_save) start_player_turn(m, opening_seat(g, -1));
}

void apply_game_options(MainState& m) {
    GameSession& g = game_of(m);
    OptionTargets targets;
    targets.battle = &g.battle;
    targets.events = &g.events;
    targets.speed = &m.speed;
    targets.troops = {&g.loop.screens.troops, &g.loop.screens.swap.troops};
    targets.res = m.res;
    targets.music_volume = apply_music_volume;
    targets.sfx_volume = apply_sfx_volume;
    apply_options(m.settings, m.audio_on, targets);
}

void end_game(MainState& m) {
    if (!m.game) return;
    free_fadeouts(m.game->loop);
    m.game->battle.shutdown();
    m.game.reset();
    point_ambient_sounds(m);
}

void point_ambient_sounds(MainState& m) {
    if (!m.res || !m.res->ambient) return;
    m.res->ambient->grid = m.game ? m.game->map.ambient.data() : empty_sound_map();
}

void hear_ambient_sounds(MainState& m, int x, int y) {
    point_ambient_sounds(m);
    if (!m.res || !m.res->ambient) return;
    AmbientSoundEngine& a = *m.res->ambient;
    a.active = a.enabled;
    a.update(x, y);
}

void start_hero_music(MainState& m) {
    GameSession& g = game_of(m);
    const MapTile* t = selected_hero_tile(g);
    g.loop.music_waits_for_hero = !t;
    if (m.sounds.terrain_restart) m.sounds.terrain_restart(t ? t->ground : -1);
}

namespace {

void scroll_view(GameSession& g, int dx, int dy) {
    g.loop.view_x += dx;
    g.loop.view_y += dy;
    clamp_view(g.map, g.loop.view_x, g.loop.view_y);
}

// Key i and the control panel's information button.
void open_scenario_info(MainState& m) {
    if (m.scenario_info && m.scenario_info(m)) m.queued_action = restart_scenario;
}

// Key g and the SYS button.
void open_control_panel(MainState& m) {
    stop_hero_movement(m);
    if (!m.control_panel) return;
    const ControlPanelResult r = m.control_panel(m);
    if (m.game) apply_game_options(m);
    // The panel asked its own confirmations; what replaces the game runs after the frame's input.
    switch (r) {
        case ControlPanelResult::NewGame: m.queued_action = start_new_game; break;
        case ControlPanelResult::Load: m.queued_action = load_chosen_game; break;
        case ControlPanelResult::Quit: m.quit = true; break;
        case ControlPanelResult::Saved: report_save_result(m, SaveOutcome{true, {}, {}}); break;
        case ControlPanelResult::ScenarioInfo: open_scenario_info(m); break;
        default: break;
    }
}

void click_adv_button(MainState& m, int button) {
    GameSession& g = game_of(m);
    switch (button) {
        case ADVBTN_NEXT_HERO: select_next_hero(m); break;
        case ADVBTN_CONTINUE:
            if (g.loop.route_dest_x >= 0) start_walk(m);
            break;
        case ADVBTN_KINGDOM: open_kingdom_overview(m); break;
        case ADVBTN_END_TURN: request_end_turn(m); break;
        case ADVBTN_OPTIONS: open_adventure_panel(g.loop.apanel); break;
        case ADVBTN_SYSTEM: open_control_panel(m); break;
        default: break;
    }
}

void click_map_tile(MainState& m, int tx, int ty) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    // A click while walking only stops the hero.
    if (l.walk_step_index >= 0) {
        stop_hero_movement(m);
        return;
    }
    // An own town opens when no hero is selected or the selected one stands in it.
    const int town = own_town_at(g, tx, ty);
    if (town >= 0 && (!g.state.valid_hero(l.selected_hero) ||
                      (g.state.heroes[l.selected_hero].x == tx && g.state.heroes[l.selected_hero].y == ty))) {
        open_town_screen(m, town);
        return;
    }
    const int other = g.state.hero_at(tx, ty);
    const bool can_walk = g.state.valid_hero(l.selected_hero) && l.selected_hero < (int)l.hero_move_points.size() &&
                          l.hero_move_points[(size_t)l.selected_hero] > 0;
    if (other >= 0 && other == l.selected_hero) {
        plan_hero_route(m, other, tx, ty);  // drops the plan, as a click on its own tile does
        open_hero_screen(m, other);
        return;
    }
    // Another own hero: the selected hero walks to meet it; without one that can walk it is selected.
    if (other >= 0 && g.state.heroes[other].owner == l.current_player && !can_walk) {
        select_hero(g, other);
        return;
    }
    if (l.selected_hero < 0) return;
    if (tx == l.route_dest_x && ty == l.route_dest_y && !l.active_route.empty()) start_walk(m);
    else plan_hero_route(m, l.selected_hero, tx, ty);
}

void click_locator(MainState& m, const LocatorHit& hit) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    switch (hit.kind) {
        case LocatorHitKind::HeroRow: {
            const int idx = locator_list_index(l.locator, hit.row, (int)l.hero_order.size(), false);
            if (idx < 0) return;
            if (l.hero_order[idx] == l.selected_hero) {
                open_hero_screen(m, l.selected_hero);
                return;
            }
            stop_hero_movement(m);
            select_hero(g, l.hero_order[idx]);
            centre_view_on_hero(g, l.selected_hero);
            break;
        }
        case LocatorHitKind::TownRow: {
            const int idx = locator_list_index(l.locator, hit.row, (int)l.town_order.size(), true);
            if (idx < 0) return;
            if (l.locator.selected_town_row == idx) {
                open_town_screen(m, l.town_order[idx]);
                return;
            }
            l.locator.selected_town_row = idx;
            const CastleState& c = g.state.castles[l.town_order[idx]];
            centre_view_on_tile(g.map, c.x, c.y, l.view_x, l.view_y);
            break;
        }
        case LocatorHitKind::HeroUp: scroll_locator(l.locator, false, -1, (int)l.hero_order.size()); break;
        case LocatorHitKind::HeroDown: scroll_locator(l.locator, false, 1, (int)l.hero_order.size()); break;
        case LocatorHitKind::TownUp: scroll_locator(l.locator, true, -1, (int)l.town_order.size()); break;
        case LocatorHitKind::TownDown: scroll_locator(l.locator, true, 1, (int)l.town_order.size()); break;
        default: break;
    }
}

void handle_adventure_key(MainState& m, SDL_Keycode key) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    switch (key) {
        case SDLK_e: request_end_turn(m); break;
        case SDLK_h:
            if (!l.hero_order.empty()) select_next_hero(m);
            break;
        case SDLK_k: open_kingdom_overview(m); break;
        case SDLK_t:
            if (!l.town_order.empty()) {
                const CastleState& c = g.state.castles[l.town_order[0]];
                centre_view_on_tile(g.map, c.x, c.y, l.view_x, l.view_y);
                open_town_screen(m, l.town_order[0]);
            }
            break;
        case SDLK_v: panel_button_step(m, AdventurePanelButton::ViewWorld); break;
        case SDLK_p: panel_button_step(m, AdventurePanelButton::ViewPuzzle); break;
        case SDLK_c: panel_button_step(m, AdventurePanelButton::CastSpell); break;
        case SDLK_d: panel_button_step(m, AdventurePanelButton::Dig); break;
        case SDLK_q: confirm_then(m, "CP_CONFIRM_QUIT", [](MainState& mm) { mm.quit = true; }); break;
        case SDLK_n: confirm_then(m, "CP_CONFIRM_RESTART", start_new_game); break;
        case SDLK_l: confirm_then(m, "CP_CONFIRM_LOAD", load_chosen_game); break;
        case SDLK_s: save_game_now(m); break;
        case SDLK_i: open_scenario_info(m); break;
        case SDLK_g: open_control_panel(m); break;
        case SDLK_LEFT: scroll_view(g, -kScrollStep, 0); break;
        case SDLK_RIGHT: scroll_view(g, kScrollStep, 0); break;
        case SDLK_UP: scroll_view(g, 0, -kScrollStep); break;
        case SDLK_DOWN: scroll_view(g, 0, kScrollStep); break;
        default: break;
    }
}

void handle_adventure_map(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (e.type == SDL_KEYDOWN) {
        handle_adventure_key(m, e.key.keysym.sym);
    } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        const int sx = e.button.x, sy = e.button.y;
        l.pressed_button = adv_button_at(sx, sy);
        if (l.pressed_button >= 0) return;
        int tx, ty;
        if (screen_to_tile(g.map, l.view_x, l.view_y, sx, sy, tx, ty)) {
            click_map_tile(m, tx, ty);
            return;
        }
        int vx, vy;
        if (minimap_point_to_view(g.map, sx, sy, vx, vy)) {
            l.view_x = vx;
            l.view_y = vy;
            return;
        }
        if (point_in(kInfoPanelRect, sx, sy)) {
            // The status panel steps from the hero to the kingdom's resources, the date, and back.
            const uint8_t next = l.summary_view.kind == SUMMARY_NONE    ? SUMMARY_FUNDS
                                 : l.summary_view.kind == SUMMARY_FUNDS ? SUMMARY_DATE
                                                                        : SUMMARY_NONE;
            l.summary_view = next == SUMMARY_NONE ? SummaryView{} : SummaryView{next, m.now_ms + kSummaryViewMs};
            return;
        }
        click_locator(m, locator_hit(sx, sy));
    } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT) {
        if (l.walk_step_index < 0) open_quick_info_at(m, e.button.x, e.button.y);
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int pressed = l.pressed_button;
        l.pressed_button = -1;
        if (pressed >= 0 && adv_button_at(e.button.x, e.button.y) == pressed) click_adv_button(m, pressed);
    }
}

// Whichever loop takes a mouse event (the map's or a screen's own), SDL hands it to this watch as it is
// queued, so the buttons down are the mouse's, not what one loop last saw. A motion tells them as SDL
// has them, in case a release was lost.
std::atomic<uint32_t> buttons_down{0};

int watch_mouse_buttons(void*, SDL_Event* e) {
    if (e->type == SDL_MOUSEBUTTONDOWN || e->type == SDL_MOUSEBUTTONUP) {
        const uint32_t bit = SDL_BUTTON((e->button.button - 1u) % 32u + 1u);
        if (e->type == SDL_MOUSEBUTTONDOWN) buttons_down |= bit;
        else buttons_down &= ~bit;
    } else if (e->type == SDL_MOUSEMOTION) {
        buttons_down = e->motion.state;
    }
    return 1;
}

}  // namespace

void handle_input(MainState& m, const SDL_Event& e) {
    if (e.type == SDL_QUIT) {
        m.quit = true;
        return;
    }
    // F11 belongs to the window on every screen, the battle and its result included; a held key
    // steps nothing and reaches no screen, so none takes it for its own "any key".
    if (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_F11) {
        if (!e.key.repeat) cycle_window_scale(m);
        return;
    }
    if (!m.game) return;
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (l.battle_open) {
        battle_input(m, e);
        return;
    }
    if (l.trading_post.handle_sdl_event(e)) {
        run_victory_check(m);  // the gold a trade buys may make the goal's sum
        return;
    }
    if (g.new_day.active) {
        if (g.events.dialog_open) g.events.handle_sdl_event(e);
        return;
    }
    if (g.events.handle_sdl_event(e)) return;
    if (l.recruit.handle_sdl_event(e, g.state)) return;
    if (l.computer_turn_pending) return;
    // A won or lost game's map takes nothing more: its end screens come next.
    if (game_outcome(g) != GameOutcome::None) return;
    if (handle_screen_input(m, e)) return;
    if (handle_town_screens_input(m, e)) return;
    handle_adventure_map(m, e);
}

void run_frame(MainState& m, float dt_ms) {
    if (!m.game) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) handle_input(m, e);
        return;
    }
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    g.events.tick(dt_ms);
    battle_tick(m, dt_ms);

    if (l.computer_turn_pending && !g.new_day.active && !g.events.dialog_open && !l.battle_open &&
        game_outcome(g) == GameOutcome::None)
        run_computer_turn(m, dt_ms);
    if (!g.new_day.active && !l.battle_open) update_walk(m, dt_ms);

    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        handle_input(m, e);
        if (!m.game) return;
        // A confirmed new game or load replaces the game: the rest of this frame belongs to the old one.
        if (run_queued_game_action(m)) return;
    }

    if (g.new_day.active && tick_new_day_animation(g.new_day, dt_ms)) on_new_day_finished(m);
    if (!m.game) return;
    after_battle_step(m);
    open_pending_monster_battle(m);
    artifact_notice_step(m);
    levelup_step(m);
    own_elimination_step(m);
    update_map_sounds(m);
    update_fadeouts(m, dt_ms);
    tick_town_screens(m, dt_ms);
    if (l.summary_view.kind != SUMMARY_NONE && m.now_ms >= l.summary_view.end_ms) l.summary_view = SummaryView{};
    l.anim_ms += dt_ms;
    while (l.anim_ms >= kAnimFrameMs) {
        l.anim_ms -= kAnimFrameMs;
        ++l.anim_tick;
    }
    draw_frame(m);
}

void watch_mouse() {
    // Again on every set-up: SDL forgets its watches when it is shut down.
    SDL_DelEventWatch(watch_mouse_buttons, nullptr);
    buttons_down = SDL_GetMouseState(nullptr, nullptr);
    SDL_AddEventWatch(watch_mouse_buttons, nullptr);
}

bool mouse_button_down_or_queued() {
    return buttons_down != 0 ||
           SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP) > 0;
}

void cycle_window_scale(MainState& m) { m.scale_index = set_window_scale(m.window, m.res, m.scale_index + 1); }

void update_map_sounds(MainState& m) {
    GameSession& g = game_of(m);
    const LoopState& l = g.loop;
    if (!m.audio_on || l.battle_open || g.new_day.active || l.computer_turn_pending || town_screens_open(g)) return;
    const MapTile* t = selected_hero_tile(g);
    if (!t) {
        // No hero to hear from: the loops around a fallen one stop, though a battle or the new day's
        // pause resumed them, until a hero is selected again.
        hear_ambient_sounds(m, -1, -1);
        return;
    }
    // The band rule alone would wait for the hero to reach the first tiles of a band.
    if (l.music_waits_for_hero) start_hero_music(m);
    if (m.sounds.terrain) m.sounds.terrain(t->ground);
    const HeroState& h = g.state.heroes[(size_t)l.selected_hero];
    hear_ambient_sounds(m, h.x, h.y);
}

void draw_frame(MainState& m) {
    if (!m.renderer) return;
    // The adventure screen covers the whole window itself.
    if (!m.game || m.game->loop.battle_open || !m.adv) {
        SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
        SDL_RenderClear(m.renderer);
    }
    if (m.game && m.game->loop.battle_open) {
        draw_battle(m);
    } else if (m.game) {
        redraw_adventure_screen(m);
        draw_fadeouts(m);
        draw_screens(m);
        draw_town_screens(m);
        GameSession& g = game_of(m);
        if (m.res && m.res->castle) {
            g.loop.recruit.draw(m.renderer, *m.res, m.res->castle->recruit, g.events, m.fonts.def, m.fonts.small);
            if (g.loop.trading_post.open)
                g.loop.trading_post.draw(m.renderer, *m.res, m.res->castle->recruit, m.fonts.def, m.fonts.small);
        }
        if (hot_seat_map_hidden(g)) {
            SDL_SetRenderDrawColor(m.renderer, 0, 0, 0, 255);
            SDL_RenderFillRect(m.renderer, nullptr);
        }
        g.events.draw(m.renderer);
    }
    SDL_RenderPresent(m.renderer);
}

}  // namespace vorn1
