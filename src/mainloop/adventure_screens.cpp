#include "mainloop/adventure_screens.h"

#include "adventure/apanel.h"
#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/puzzle_map.h"
#include "lang/runtime_strings.h"
#include "mainloop/frame_loop.h"
#include "mainloop/hero_move.h"
#include "mainloop/transitions.h"
#include "mainloop/victory_check.h"
#include "mainloop/visit_results.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

int hero_points(const LoopState& l, int hero) {
    return hero >= 0 && hero < (int)l.hero_move_points.size() ? l.hero_move_points[(size_t)hero] : 0;
}

// The hero stands somewhere new: no plan, the view on it.
void hero_relocated(MainState& m, int hero) {
    GameSession& g = game_of(m);
    reset_planned_route(g, hero);
    centre_view_on_hero(g, hero);
}

bool is_release(const SDL_Event& e) { return e.type == SDL_MOUSEBUTTONUP || e.type == SDL_KEYDOWN; }

}  // namespace

void panel_button_step(MainState& m, AdventurePanelButton button) {
    AdventurePanelState& p = game_of(m).loop.apanel;
    open_adventure_panel(p);
    p.pressed = (int)button;
    for (const AdventurePanelButtonDef& b : draw_adventure_panel::BUTTONS) {
        if (b.id != button) continue;
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.state = SDL_RELEASED;
        e.button.x = b.x + kAdventurePanelX;
        e.button.y = b.y + kAdventurePanelY;
        // Handed straight to the loop's input: SDL defers an event pushed while the queue is being
        // drained to the next frame, and the button is to act in this one.
        handle_input(m, e);
    }
}

void run_panel_action(MainState& m, int button) {
    GameSession& g = game_of(m);
    switch ((AdventurePanelButton)button) {
    case AdventurePanelButton::ViewWorld:
        stop_hero_movement(m);
        open_world_map(g.loop.world_map, g.loop.current_player, 0);
        break;
    case AdventurePanelButton::ViewPuzzle: open_puzzle_screen(m); break;
    case AdventurePanelButton::CastSpell: begin_cast_spell(m); break;
    case AdventurePanelButton::Dig: dig_with_selected_hero(m); break;
    default: break;
    }
}

void open_puzzle_screen(MainState& m) {
    GameSession& g = game_of(m);
    stop_hero_movement(m);
    if (m.puzzle_reveal) m.puzzle_reveal(m);
    else dissolve_puzzle_reveal(m);
    g.puzzle.open = true;
    g.puzzle.newly_revealed = 0;
}

void begin_cast_spell(MainState& m) {
    GameSession& g = game_of(m);
    const int hero = g.loop.selected_hero;
    if (!g.state.valid_hero(hero)) return;
    stop_hero_movement(m);
    const HeroState& h = g.state.heroes[(size_t)hero];
    if (!h.has_spellbook) {
        show_notice(g, strings().get("GAME_NO_ADVENTURE_SPELLS"));
        return;
    }
    open_spellbook_for(g.loop.spellbook, h, hero, SB_ADVENTURE, [&m](int spell) { cast_selected_hero_spell(m, spell); });
}

void cast_selected_hero_spell(MainState& m, int spell) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    const int hero = l.selected_hero;
    if (!g.state.valid_hero(hero)) return;
    const AdventureCast c = cast_adventure_spell(g.state, g.map, l.identify, hero, spell, hero_points(l, hero));
    switch (c.kind) {
    case AdventureCast::ShowWorldMap: open_world_map(l.world_map, l.current_player, c.reveal); break;
    case AdventureCast::ChooseLanding: open_dim_door(l.dim_door, hero); break;
    case AdventureCast::Moved: hero_relocated(m, hero); break;
    case AdventureCast::BoatSummoned:
    case AdventureCast::HeroesIdentified: break;
    case AdventureCast::Refused: {
        const std::string text = cast_refusal_message(c.refusal);
        if (!text.empty()) show_notice(g, text);
        break;
    }
    }
}

void dig_with_selected_hero(MainState& m) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    const int hero = l.selected_hero;
    if (!g.state.valid_hero(hero) || hero >= (int)l.hero_move_points.size()) return;
    stop_hero_movement(m);
    const DigResult r = dig_for_artifact(g.puzzle, g.state, g.map, hero, l.hero_move_points[(size_t)hero]);
    if (r == DigResult::NoHero) return;
    if ((r == DigResult::Nothing || r == DigResult::Found) && m.audio_on && m.sounds.dig) m.sounds.dig();
    if (r == DigResult::Found) {
        reset_planned_route(g, hero);
        run_victory_check(m);
    } else if (r == DigResult::Nothing) {
        reset_planned_route(g, hero);
    }
    show_notice(g, dig_result_message(r, g.puzzle.ultimate_artifact));
}

namespace {

void land_dim_door(MainState& m, int hero, int x, int y) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    if (!g.state.valid_hero(hero) || hero >= (int)l.hero_move_points.size()) return;
    if (!apply_dim_door(g.state, g.map, hero, x, y, l.hero_move_points[(size_t)hero])) return;
    hero_relocated(m, hero);
    const MapTile* t = g.map.tile(x, y);
    if (t && t->object_type >= OBJ_EVENT_FIRST) visit_tile(m, hero, x, y, VisitSite::Landing);
}

}  // namespace

bool open_quick_info_at(MainState& m, int sx, int sy) {
    GameSession& g = game_of(m);
    return open_quick_info(g.loop.quick_info, g.map, g.loop.view_x, g.loop.view_y, sx, sy);
}

bool any_screen_open(const GameSession& g) {
    const LoopState& l = g.loop;
    return l.kingdom.open || l.world_map.open || g.puzzle.open || spellbook_modal_active(l.spellbook) || l.apanel.open ||
           l.dim_door.open || l.quick_info.open;
}

bool handle_screen_input(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    // First: a pick's release is the book's even when the pick opened another screen.
    if (spellbook_modal_active(l.spellbook)) {
        if (g.state.valid_hero(l.spellbook.hero))
            handle_spellbook_modal(e, l.spellbook, g.state.heroes[(size_t)l.spellbook.hero]);
        else
            l.spellbook = SpellbookModal{};
        return true;
    }
    if (l.kingdom.open) {
        handle_kingdom_overview_event(e, l.kingdom, (int)l.hero_order.size());
        return true;
    }
    if (l.world_map.open) return handle_world_map_event(e, l.world_map);
    if (g.puzzle.open) {
        if (is_release(e)) g.puzzle.open = false;
        return true;
    }
    if (l.apanel.open) {
        const int fired = handle_adventure_panel_event(e, l.apanel);
        if (fired >= 0 && fired != (int)AdventurePanelButton::Exit) {
            close_adventure_panel(l.apanel);
            run_panel_action(m, fired);
        }
        return true;
    }
    if (l.dim_door.open) {
        const int hero = l.dim_door.hero;
        const DimDoorAction a = handle_dim_door_event(e, l.dim_door, g.state, g.map, l.view_x, l.view_y);
        if (a.kind == DimDoorAction::Land) land_dim_door(m, hero, a.x, a.y);
        // The side panels and keys stay usable for scrolling while a landing is chosen.
        return a.kind != DimDoorAction::None || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP;
    }
    if (l.quick_info.open) return handle_quick_info_event(e, l.quick_info);
    return false;
}

void draw_screens(MainState& m) {
    if (!m.renderer || !m.adv) return;
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    const int player = l.current_player;
    if (l.quick_info.open)
        draw_quick_info(m.renderer, *m.adv, g.state, g.map, l.quick_info, player, m.fonts.small,
                        identify_hero_active(l.identify, player));
    if (l.kingdom.open)
        draw_kingdom_overview(m.renderer, *m.adv, g.state, l.kingdom, player, m.fonts.def, m.fonts.small);
    if (l.world_map.open) draw_world_map(m.renderer, *m.adv, g.state, g.map, l.world_map);
    if (g.puzzle.open) draw_puzzle_map(m.renderer, *m.adv, g.state, g.map, g.puzzle, player);
    if (l.apanel.open) draw_adventure_options_panel(m.renderer, *m.adv, l.apanel);
    if (m.res) draw_spellbook(m.renderer, *m.res, l.spellbook.book, m.fonts.def, m.fonts.small);
}

}  // namespace vorn1
