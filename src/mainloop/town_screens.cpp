#include "mainloop/town_screens.h"

#include <algorithm>

#include <SDL_mixer.h>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "events/event_actions.h"
#include "events/visits.h"
#include "lang/runtime_strings.h"
#include "mainloop/frame_loop.h"
#include "mainloop/hero_move.h"
#include "mainloop/transitions.h"
#include "mainloop/turns.h"
#include "town/build_screen.h"
#include "town/castle_screen.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/heroscrn.h"
#include "world/spell_table.h"
#include "world/trade_rates.h"
#include "media/music_players.h"
#include "town/recruit.h"
#include "world/town_names.h"
#include "world/buildings.h"
#include "world/hero_pool.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr float kTownAnimMs = 300.0f;
constexpr uint32_t kDoubleClickMs = 400;
constexpr SDL_Rect kHeroBox{5, 361, 101, 93};

bool in(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }
bool is_press(const SDL_Event& e, uint8_t b) { return e.type == SDL_MOUSEBUTTONDOWN && e.button.button == b; }
bool is_release(const SDL_Event& e, uint8_t b) { return e.type == SDL_MOUSEBUTTONUP && e.button.button == b; }
bool is_key(const SDL_Event& e, SDL_Keycode k) { return e.type == SDL_KEYDOWN && e.key.keysym.sym == k; }

TownScreensState& screens(MainState& m) { return game_of(m).loop.screens; }

// Channels of the map's own sounds that wait while a town is open: terrain music and ambient loops.
constexpr int kTerrainChannel = 6;
constexpr int kAmbientFirst = 8, kAmbientLast = 28;

void pause_map_sounds(bool pause) {
    pause ? Mix_Pause(kTerrainChannel) : Mix_Resume(kTerrainChannel);
    for (int c = kAmbientFirst; c <= kAmbientLast; ++c) pause ? Mix_Pause(c) : Mix_Resume(c);
}

void play_town_music(MainState& m, int faction) {
    if (!m.audio_on) return;
    TownScreensState& s = game_of(m).loop.screens;
    if (!s.music) {
        s.music = std::make_shared<CastleMusic>();
        s.music->init(m.base_dir);
    }
    s.music->play(faction);
}

void init_army_view(MainState& m) {
    GameSession& g = game_of(m);
    g.loop.screens.army_view.init(&g.battle_res, m.res, m.renderer, m.fonts.def, m.fonts.small, &g.events);
}

constexpr float kTownDissolveMs = 500.0f;
constexpr SDL_Rect kTownPictureRect{0, 0, 640, kTownPictureH};

// The town picture dissolves from `before` (taken) to the town as it is now.
void start_town_dissolve(MainState& m, SDL_Texture* before, int castle) {
    TownDissolve& d = screens(m).dissolve;
    d.stop();
    d.from = before;
    d.to = before ? snapshot_town_picture(m, castle) : nullptr;
    if (!d.running()) {
        d.stop();
        return;
    }
    d.mask.reset(kTownPictureRect.w, kTownPictureRect.h, 1, 10, 0);
}

// The build confirmation of a cell: name, question and the price as resource icons.
void open_build_confirmation(MainState& m, int castle, BuildSlot slot) {
    GameSession& g = game_of(m);
    const CastleState& c = g.state.castles[(size_t)castle];
    const StructureDef* def = build_cell_def(slot, c);
    if (!def) return;
    // Price record order gold, wood, ore, crystal, gems, mercury, sulfur; RESOURCE.ICN frames by kind.
    static const int kFrame[7] = {6, 0, 2, 4, 5, 1, 3};
    std::vector<EventIcon> costs;
    for (int i = 0; i < 7; ++i)
        if (def->cost[i] > 0) costs.push_back({"RESOURCE.ICN", kFrame[i], std::to_string(def->cost[i])});
    const std::string name = localized_structure_name(def->name);
    const std::string text = build_hover_text(slot, c, BUILD_OK, false, false, false);
    g.events.open_build_dialog(name, text, costs, castle, (int)slot, kFullScreenArea, [&m](EventResult r) {
        if (!m.game || r.button != EVENT_BUTTON_ACCEPT) return;
        GameSession& gg = game_of(m);
        SDL_Texture* before = snapshot_town_picture(m, r.x);
        const bool built = apply_build_result(r.x, r.y, gg.state, gg.map, gg.events);
        TownScreenView& t = gg.loop.screens.town;
        t.build_open = false;
        t.hover_cell = t.info_cell = -1;
        if (built) start_town_dissolve(m, before, r.x);
        else if (before) SDL_DestroyTexture(before);
    });
}

void upgrade_to_castle(MainState& m, int castle) {
    GameSession& g = game_of(m);
    CastleState& c = g.state.castles[(size_t)castle];
    if (!is_player_index(c.owner) || c.is_castle) return;
    PlayerResources& have = g.state.resources[(size_t)c.owner];
    const PlayerResources cost = castle_upgrade_cost();
    if (!have.covers(cost)) return;
    have -= cost;
    upgrade_town_to_castle(g.map, c);
    c.built_today = 1;
}

bool handle_build_screen(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreenView& t = g.loop.screens.town;
    const CastleState& c = g.state.castles[(size_t)t.castle];
    if (e.type == SDL_MOUSEMOTION) {
        t.hover_cell = build_screen_cell_hit(e.motion.x, e.motion.y);
    } else if (is_press(e, SDL_BUTTON_RIGHT)) {
        const int cell = build_screen_cell_hit(e.button.x, e.button.y);
        if (cell < 0) return true;
        if (SLOT_ORDER[(size_t)cell] == BS_RECRUIT_HERO) t.recruit_hero.open_tooltip(t.castle, g.state);
        else t.info_cell = cell;
    } else if (is_release(e, SDL_BUTTON_RIGHT)) {
        t.info_cell = -1;
    } else if (is_press(e, SDL_BUTTON_LEFT)) {
        const int x = e.button.x, y = e.button.y;
        if (in(kBuildExitRect, x, y)) {
            t.build_exit_pressed = true;
            return true;
        }
        const int cell = build_screen_cell_hit(x, y);
        if (cell < 0) return true;
        const BuildSlot slot = SLOT_ORDER[(size_t)cell];
        if (slot == BS_RECRUIT_HERO) {
            if (castle_visiting_hero(g.state, t.castle) < 0 && g.state.hero_at(c.x, c.y) < 0 &&
                HeroPool::count_player_heroes(c.owner, g.state) < MAX_HEROES_PER_PLAYER)
                t.recruit_hero.open_dialog(t.castle, g.state);
            return true;
        }
        if (is_player_index(c.owner) && build_screen_sells(slot, c, g.state.resources[(size_t)c.owner], g.map))
            open_build_confirmation(m, t.castle, slot);
    } else if (is_release(e, SDL_BUTTON_LEFT)) {
        if (t.build_exit_pressed && in(kBuildExitRect, e.button.x, e.button.y)) {
            t.build_open = false;
            t.hover_cell = t.info_cell = -1;
        }
        t.build_exit_pressed = false;
    } else if (is_key(e, SDLK_ESCAPE)) {
        t.build_open = false;
        t.hover_cell = t.info_cell = -1;
    }
    return true;
}

bool handle_castle_dialog(MainState& m, const SDL_Event& e) {
    TownScreenView& t = screens(m).town;
    BuildCastleDialogState& d = t.castle_dialog;
    if (is_press(e, SDL_BUTTON_LEFT)) {
        if (d.can_build && in(d.ok_rect, e.button.x, e.button.y)) d.ok_pressed = true;
        else if (in(d.cancel_rect, e.button.x, e.button.y)) d.cancel_pressed = true;
    } else if (is_release(e, SDL_BUTTON_LEFT)) {
        const bool ok = d.ok_pressed && in(d.ok_rect, e.button.x, e.button.y);
        const bool cancel = d.cancel_pressed && in(d.cancel_rect, e.button.x, e.button.y);
        d.ok_pressed = d.cancel_pressed = false;
        if (ok) upgrade_to_castle(m, t.castle);
        if (ok || cancel) d = BuildCastleDialogState{};
    } else if (const int answer = yes_no_key(e); answer >= 0) {
        if (answer == 1 && d.can_build) upgrade_to_castle(m, t.castle);
        d = BuildCastleDialogState{};
    }
    return true;
}

// A left press on an army slot: a second plain press on the same slot soon after opens the creature
// view, otherwise the press selects, moves or splits (Shift) through the troop mover.
void click_army_slot(MainState& m, const SlotAddr& slot, int castle, int hero, SlotAddr& last, uint32_t& last_ms,
                     uint32_t now) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    const bool split = (SDL_GetModState() & KMOD_SHIFT) != 0;
    if (!split && last == slot && now - last_ms < kDoubleClickMs) {
        last = SlotAddr{};
        s.troops.clear();
        init_army_view(m);
        s.army_view.open_dialog(slot, g.state, castle, hero, false);
        return;
    }
    last = slot;
    last_ms = now;
    s.troops.handle_slot_click(slot, g.state, castle, hero, split);
}

const CastleScreenResources* castle_res(const MainState& m) { return m.res ? m.res->castle.get() : nullptr; }

// A left press on the town picture opens what the building in front under the point opens.
void open_town_building(MainState& m, int x, int y) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    TownScreenView& t = s.town;
    CastleState& c = g.state.castles[(size_t)t.castle];
    const TownSpot spot = town_picture_hit(x, y, c, castle_res(m));
    switch (spot.kind) {
        case TOWN_SPOT_MAGE_GUILD: {
            const int hero = castle_visiting_hero(g.state, t.castle);
            t.mage_hero = hero;
            if (hero < 0) {
                t.mage = MageGuildState{};
                t.mage.open = true;
            } else if (g.state.heroes[(size_t)hero].has_spellbook) {
                open_mage_guild_screen(t.mage, g.state.heroes[(size_t)hero], c);
            } else {
                open_buy_spellbook_dialog(t.mage);
            }
            break;
        }
        case TOWN_SPOT_THIEVES_GUILD: open_thieves_guild_screen(t.thieves); break;
        case TOWN_SPOT_TAVERN:
            s.tavern.open = true;
            s.tavern.ok_pressed = false;
            s.tavern.ok_rect = SDL_Rect{320 - 33, 369, 66, 25};
            if (m.audio_on && m.res && m.res->tavern_music) m.res->tavern_music->play(s.music.get());
            break;
        case TOWN_SPOT_WELL: open_well_screen(t.well); break;
        case TOWN_SPOT_DOCK: open_shipyard_dialog(t.shipyard, g.state, g.map, t.castle); break;
        case TOWN_SPOT_CASTLE:
            t.build_open = true;
            t.hover_cell = t.info_cell = -1;
            t.build_exit_pressed = false;
            break;
        case TOWN_SPOT_TENT:
            t.castle_dialog = BuildCastleDialogState{};
            t.castle_dialog.open = true;
            t.castle_dialog.can_build =
                is_player_index(c.owner) && g.state.resources[(size_t)c.owner].covers(castle_upgrade_cost());
            break;
        case TOWN_SPOT_DWELLING:
            g.loop.recruit.open_dialog(t.castle, spot.dwelling, g.state,
                                       town_recruit_callback(g.loop.recruit, g.state));
            break;
        case TOWN_SPOT_NONE: break;
    }
}

// Input of an open sub-screen; false when none is open.
bool handle_sub_screen(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    TownScreenView& t = s.town;
    CastleState& c = g.state.castles[(size_t)t.castle];
    if (s.tavern.open) {
        if (handle_tavern_event(e, s.tavern) && m.audio_on) {
            if (m.res && m.res->tavern_music) m.res->tavern_music->stop();
            play_town_music(m, c.faction);
        }
        return true;
    }
    if (t.mage.open) {
        if (t.mage.buy_prompt) {
            if (g.state.valid_hero(t.mage_hero) && is_player_index(c.owner))
                handle_buy_spellbook_event(e, t.mage, g.state.heroes[(size_t)t.mage_hero],
                                           g.state.resources[(size_t)c.owner], c);
            else if (is_key(e, SDLK_ESCAPE))
                close_mage_guild_screen(t.mage);
        } else {
            handle_mage_guild_event(e, t.mage, c);
        }
        return true;
    }
    if (t.well.open) {
        handle_well_event(e, t.well);
        return true;
    }
    if (t.thieves.open) {
        bool trade = false;
        const CastleScreenResources* cres = castle_res(m);
        handle_thieves_guild_event(e, t.thieves, &g.state, t.castle, m.settings.enable_trade, &trade,
                                   cres && cres->signpost_big);
        if (trade && is_player_index(c.owner))
            g.loop.trading_post.open_dialog(c.owner, count_player_thieves_guilds(g.state, c.owner), &g.state);
        return true;
    }
    if (t.shipyard.open) {
        if (handle_shipyard_event(e, t.shipyard, g.state, g.map, t.castle) && m.audio_on && m.res && m.res->build_sound)
            m.res->build_sound->play();
        return true;
    }
    return false;
}

// The player leaves the town: the map view dissolves from the castle screen as it stood to the map.
void leave_town_screen(MainState& m) {
    SDL_Texture* picture = snapshot_castle_screen(m, screens(m).town.castle);
    close_town_screen(m);
    dissolve_to_adventure_screen(m, picture);
}

bool handle_town_picture(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    TownScreenView& t = s.town;
    const CastleState& c = g.state.castles[(size_t)t.castle];
    const int hero = castle_visiting_hero(g.state, t.castle);
    if (is_key(e, SDLK_ESCAPE)) {
        leave_town_screen(m);
        return true;
    }
    if (is_press(e, SDL_BUTTON_RIGHT)) {
        const int x = e.button.x, y = e.button.y;
        const SlotAddr slot = castle_screen_slot_hit(x, y, hero);
        if (slot.valid()) {
            init_army_view(m);
            s.army_view.open_tooltip(slot, g.state, t.castle, hero);
            return true;
        }
        const TownSpot spot = town_picture_hit(x, y, c, castle_res(m));
        if (spot.kind == TOWN_SPOT_DWELLING) g.loop.recruit.open_tooltip(t.castle, spot.dwelling, g.state);
        return true;
    }
    if (is_release(e, SDL_BUTTON_RIGHT)) {
        s.army_view.tip = ArmyViewInfo{};
        return true;
    }
    if (is_release(e, SDL_BUTTON_LEFT)) {
        const bool leave = t.exit_pressed && in(kCastleExitRect, e.button.x, e.button.y);
        t.exit_pressed = false;
        if (leave) leave_town_screen(m);
        return true;
    }
    if (!is_press(e, SDL_BUTTON_LEFT)) return true;
    const int x = e.button.x, y = e.button.y;
    if (in(kCastleExitRect, x, y)) {
        t.exit_pressed = true;
        return true;
    }
    const SlotAddr slot = castle_screen_slot_hit(x, y, hero);
    if (slot.valid()) {
        click_army_slot(m, slot, t.castle, hero, t.last_slot, t.last_slot_ms, e.button.timestamp);
        return true;
    }
    if (hero >= 0 && in(kHeroBox, x, y)) {
        open_hero_screen(m, hero);
        return true;
    }
    open_town_building(m, x, y);
    return true;
}


void confirm_dismissal(MainState& m, int hero) {
    GameSession& g = game_of(m);
    const HeroState& h = g.state.heroes[(size_t)hero];
    EventDef def;
    def.text = hero_dismiss_question(h);
    def.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    g.events.open_announcement(def, kFullScreenArea, [&m, hero](EventResult r) {
        if (!m.game || r.button != EVENT_BUTTON_ACCEPT) return;
        close_hero_screen(m);
        // A meeting with the dismissed hero ends with it: nothing may go to a hero out of play.
        SwapWinState& w = game_of(m).loop.screens.swap;
        if (w.open && (w.hero_a == hero || w.hero_b == hero)) w.open = false;
        dismiss_hero_from_play(m, hero);
    });
}

// A press on an offered portrait of the hire dialog: that pool hero as hiring would bring it.
void show_offered_hero(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreenView& t = g.loop.screens.town;
    const int slot = t.recruit_hero.portrait_clicked;
    t.recruit_hero.portrait_clicked = -1;
    if (slot < 0 || slot > 1 || t.castle < 0 || (size_t)t.castle >= g.state.castles.size()) return;
    const int pool_index = t.recruit_hero.offered[(size_t)slot];
    if (pool_index < 0) return;
    t.pool_hero.open = true;
    t.pool_hero.held = e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_RIGHT;
    t.pool_hero.hero = hero_state_from_pool_entry(g.state, pool_index, g.state.castles[(size_t)t.castle].owner);
}

void handle_pool_hero_view(PoolHeroView& v, const SDL_Event& e) {
    const bool close = v.held ? is_release(e, SDL_BUTTON_RIGHT)
                              : e.type == SDL_MOUSEBUTTONDOWN || notice_key(e);
    if (close) v = PoolHeroView{};
}

bool handle_hero_screen(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    HeroScreenView& v = s.hero;
    if (!g.state.valid_hero(v.hero) || !g.state.heroes[(size_t)v.hero].live) {
        close_hero_screen(m);
        return true;
    }
    HeroState& hero = g.state.heroes[(size_t)v.hero];
    if (e.type == SDL_MOUSEMOTION) {
        v.mouse_x = e.motion.x;
        v.mouse_y = e.motion.y;
    }
    if (v.book.open) {
        handle_spellbook_event(e, v.book, hero);
        return true;
    }
    if (s.troops.split.open) {
        s.troops.handle_sdl_event(e, g.state);
        return true;
    }
    // The creature view leaves the keys to the screen beneath it.
    if (s.army_view.view.open && (s.army_view.handle_event(e, g.state) || e.type != SDL_KEYDOWN)) return true;
    if (is_key(e, SDLK_ESCAPE)) {
        close_hero_screen(m);
        return true;
    }
    if (handle_artifact_info_dialog(v.artifact, e)) return true;
    if (e.type != SDL_MOUSEBUTTONDOWN && e.type != SDL_MOUSEBUTTONUP) return true;
    const int x = e.button.x, y = e.button.y;
    const HsZone zone = hero_screen_hover_zone(x, y);
    if (is_press(e, SDL_BUTTON_RIGHT)) {
        const SlotAddr slot = hero_screen_slot_hit(x, y);
        if (slot.valid()) {
            init_army_view(m);
            s.army_view.open_tooltip(slot, g.state, -1, v.hero);
        } else {
            const int art = hs_zone_artifact_slot(zone);
            open_hero_tooltip(v.tip, zone, hero, art >= 0 ? hero.artifacts[(size_t)art] : EMPTY_ID, m.fonts.def,
                              m.fonts.small);
        }
        return true;
    }
    if (is_release(e, SDL_BUTTON_RIGHT)) {
        v.tip.clear();
        s.army_view.tip = ArmyViewInfo{};
        return true;
    }
    if (is_release(e, SDL_BUTTON_LEFT)) {
        v.exp_box = false;
        const bool leave = v.exit_pressed && zone == HS_EXIT;
        const bool dismiss = v.dismiss_pressed && zone == HS_DISMISS;
        v.exit_pressed = v.dismiss_pressed = false;
        if (leave) close_hero_screen(m);
        else if (dismiss) confirm_dismissal(m, v.hero);
        return true;
    }
    if (!is_press(e, SDL_BUTTON_LEFT)) return true;
    if (zone == HS_EXIT) {
        v.exit_pressed = true;
        return true;
    }
    if (zone == HS_DISMISS && !v.dismiss_hidden) {
        v.dismiss_pressed = true;
        return true;
    }
    if (zone == HS_EXPERIENCE) {
        v.exp_box = true;
        return true;
    }
    const SlotAddr slot = hero_screen_slot_hit(x, y);
    if (slot.valid()) {
        click_army_slot(m, slot, -1, v.hero, v.last_slot, v.last_slot_ms, e.button.timestamp);
        return true;
    }
    const int art = hs_zone_artifact_slot(zone);
    if (art >= 0) {
        const uint8_t id = hero.artifacts[(size_t)art];
        if (id == kMagicBook && hero.has_spellbook) open_spellbook(v.book, hero, SB_VIEW);
        else open_artifact_info_dialog(v.artifact, id, m.fonts.def);
    }
    return true;
}

// A right press on an artifact of the meeting window: that artifact's hero-screen panel, while no
// notice, split dialog or creature view holds the window's input.
void open_meeting_artifact_tip(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    const SwapWinState& w = s.swap;
    const bool held_elsewhere = w.notice_open || w.troops.split.open || (w.army_view && w.army_view->view.open);
    if (!is_press(e, SDL_BUTTON_RIGHT) || held_elsewhere) return;
    int side = 0, slot = 0;
    if (!swap_artifact_cell_at(e.button.x, e.button.y, side, slot)) return;
    const int hero = side == 0 ? w.hero_a : w.hero_b;
    if (!g.state.valid_hero(hero)) return;
    const HeroState& h = g.state.heroes[(size_t)hero];
    open_hero_tooltip(s.meeting_tip, static_cast<HsZone>(HS_ARTIFACT_FIRST + slot), h, h.artifacts[(size_t)slot],
                      m.fonts.def, m.fonts.small);
}

bool handle_meeting(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    SwapWinState& w = g.loop.screens.swap;
    open_meeting_artifact_tip(m, e);
    if (is_release(e, SDL_BUTTON_RIGHT)) g.loop.screens.meeting_tip.clear();
    handle_swap_event(e, w, g.state, m.fonts.def, m.res);
    if (w.portrait_request == 0 || w.portrait_request == 1) {
        const int hero = w.portrait_request == 0 ? w.hero_a : w.hero_b;
        w.portrait_request = -1;
        open_hero_screen(m, hero);
    }
    if (!w.open) {
        g.loop.screens.army_view.clear();
        g.loop.screens.meeting_tip.clear();
    }
    return true;
}

}  // namespace

int own_town_at(const GameSession& g, int x, int y) {
    for (size_t i = 0; i < g.state.castles.size(); ++i) {
        const CastleState& c = g.state.castles[i];
        if (c.live && c.x == x && c.y == y && c.owner == g.loop.current_player) return (int)i;
    }
    return -1;
}

void open_town_screen(MainState& m, int castle) {
    GameSession& g = game_of(m);
    if (castle < 0 || (size_t)castle >= g.state.castles.size()) return;
    const CastleState& c = g.state.castles[(size_t)castle];
    if (!c.live || c.owner != g.loop.current_player) return;
    stop_hero_movement(m);
    TownScreensState& s = g.loop.screens;
    const bool was_open = s.town.open;
    s.town = TownScreenView{};
    s.dissolve.stop();
    s.town.open = true;
    s.town.castle = castle;
    if (m.audio_on) {
        if (!was_open) pause_map_sounds(true);
        Mix_HaltChannel(5);  // footsteps
        play_town_music(m, c.faction);
    }
    s.troops.clear();
    s.army_view.clear();
    init_army_view(m);
    const auto it = std::find(g.loop.town_order.begin(), g.loop.town_order.end(), castle);
    if (it != g.loop.town_order.end()) g.loop.locator.selected_town_row = (int)(it - g.loop.town_order.begin());
}

void close_town_screen(MainState& m) {
    TownScreensState& s = screens(m);
    if (m.audio_on && s.town.open) {
        if (s.music) s.music->stop();
        if (m.res && m.res->tavern_music) m.res->tavern_music->stop();
        pause_map_sounds(false);
    }
    s.tavern.open = false;
    s.town = TownScreenView{};
    s.dissolve.stop();
    s.troops.clear();
    s.army_view.clear();
}

void open_hero_screen(MainState& m, int hero) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero) || !g.state.heroes[(size_t)hero].live ||
        g.state.heroes[(size_t)hero].owner != g.loop.current_player)
        return;
    stop_hero_movement(m);
    TownScreensState& s = g.loop.screens;
    s.hero = HeroScreenView{};
    s.hero.open = true;
    s.hero.hero = hero;
    s.meeting_tip.clear();
    s.troops.clear();
    s.army_view.clear();
    init_army_view(m);
}

void close_hero_screen(MainState& m) {
    TownScreensState& s = screens(m);
    s.hero = HeroScreenView{};
    s.troops.clear();
    s.army_view.clear();
}

void open_meeting(MainState& m, int hero_a, int hero_b) {
    GameSession& g = game_of(m);
    if (!g.state.valid_hero(hero_a) || !g.state.valid_hero(hero_b) || hero_a == hero_b) return;
    stop_hero_movement(m);
    TownScreensState& s = g.loop.screens;
    s.army_view.clear();
    s.meeting_tip.clear();
    init_army_view(m);
    open_swap_window(s.swap, hero_a, hero_b, &s.army_view);
}

void on_hero_hired(MainState& m, int hero) {
    if (!m.game) return;
    GameSession& g = game_of(m);
    LoopState& l = g.loop;
    sync_hero_vectors(g);
    if (!g.state.valid_hero(hero)) return;
    forget_hero_visits(g.events.visits, hero);
    const int mp = hero_day_mp(g.state, g.map, hero);
    l.hero_move_points[(size_t)hero] = l.hero_day_points[(size_t)hero] = mp;
    reset_planned_route(g, hero);
    if (m.play_sound) m.play_sound("BUILDTWN.82M");
    TownScreenView& t = l.screens.town;
    t.build_open = false;
    t.hover_cell = t.info_cell = -1;
    sync_owned_lists(l, g.state);
    if (!l.hero_order.empty() && l.hero_order.back() != l.selected_hero) select_hero(g, l.hero_order.back());
    else sync_hero_list_row(l);
    l.locator.selected_town_row = -1;
}

bool town_screens_open(const GameSession& g) {
    const TownScreensState& s = g.loop.screens;
    return s.town.open || s.hero.open || s.swap.open || s.thieves_full.open;
}

void open_thieves_guild_full_view(MainState& m) {
    ThievesGuildState& s = screens(m).thieves_full;
    s.full_view = true;
    open_thieves_guild_screen(s);
}

bool handle_town_screens_input(MainState& m, const SDL_Event& e) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    TownScreenView& t = s.town;
    if (s.thieves_full.open) {
        handle_thieves_guild_event(e, s.thieves_full, &g.state, -1, false, nullptr, false);
        return true;
    }
    if (s.hero.open) return handle_hero_screen(m, e);
    if (s.swap.open) return handle_meeting(m, e);
    if (!t.open) return false;
    if (t.castle < 0 || (size_t)t.castle >= g.state.castles.size()) {
        close_town_screen(m);
        return true;
    }
    if (s.troops.split.open) {
        s.troops.handle_sdl_event(e, g.state);
        return true;
    }
    if (s.army_view.view.open) {
        if (s.army_view.handle_event(e, g.state) || e.type != SDL_KEYDOWN) return true;
        return handle_town_picture(m, e);  // the key reaches the town screen beneath the view
    }
    if (t.pool_hero.open) {
        handle_pool_hero_view(t.pool_hero, e);
        return true;
    }
    if (t.recruit_hero.open) {
        if (t.recruit_hero.handle_sdl_event(e, g.state, g.map, [&m](int hero) { on_hero_hired(m, hero); })) return true;
        if (t.recruit_hero.portrait_clicked >= 0) {
            show_offered_hero(m, e);
            return true;
        }
        if (t.recruit_hero.open || !t.build_open) return true;
    }
    if (t.castle_dialog.open) return handle_castle_dialog(m, e);
    if (handle_sub_screen(m, e)) return true;
    if (t.build_open) return handle_build_screen(m, e);
    return handle_town_picture(m, e);
}

void tick_town_screens(MainState& m, float dt_ms) {
    TownScreenView& t = screens(m).town;
    if (!t.open) return;
    TownDissolve& d = screens(m).dissolve;
    if (d.running()) {
        d.elapsed_ms += dt_ms;
        if (d.elapsed_ms >= kTownDissolveMs) d.stop();
    }
    t.anim_ms += dt_ms;
    while (t.anim_ms >= kTownAnimMs) {
        t.anim_ms -= kTownAnimMs;
        ++t.anim_step;
    }
}

namespace {

void draw_town(MainState& m) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    TownScreenView& t = s.town;
    if (!t.open || !m.res->castle || t.castle < 0 || (size_t)t.castle >= g.state.castles.size()) return;
    SDL_Renderer* r = m.renderer;
    const Resources& res = *m.res;
    CastleScreenResources& cres = *m.res->castle;
    cres.palette_cycle.tick(m.now_ms);
    draw_castle_screen(r, cres, res, g.state, t.castle, t.exit_pressed, m.fonts.def, m.fonts.small, t.anim_step);
    if (s.dissolve.running())
        dissolve_draw(r, DissolveMode::RandomCells, s.dissolve.mask, s.dissolve.from, s.dissolve.to, kTownPictureRect,
                      s.dissolve.elapsed_ms / kTownDissolveMs);
    s.troops.draw_selection(r, res, true);
    const CastleState& c = g.state.castles[(size_t)t.castle];
    if (t.build_open)
        draw_build_screen(r, cres, res, g.events, g.state, g.map, t.castle, t.hover_cell, t.info_cell,
                          t.build_exit_pressed, m.fonts.def, m.fonts.small);
    if (t.castle_dialog.open) draw_build_castle_dialog(r, cres, res, t.castle_dialog, c.faction, m.fonts.def, m.fonts.small);
    if (t.recruit_hero.open) t.recruit_hero.draw(r, res, g.state, m.fonts.def, m.fonts.small);
    if (t.pool_hero.open) {
        static const HeroScreenResources kNoHeroArt;
        draw_hero_screen(r, res.hero_screen ? *res.hero_screen : kNoHeroArt, res, t.pool_hero.hero, false, m.fonts.def,
                         m.fonts.small, true, false);
    }
    if (t.mage.open && t.mage.buy_prompt)
        draw_buy_spellbook_dialog(r, cres, res, g.state, t.mage_hero, t.mage, m.fonts.def, m.fonts.small);
    else if (t.mage.open)
        draw_mage_guild_screen(r, cres, res, g.state, t.castle, t.mage_hero, t.mage, m.fonts.def, m.fonts.small);
    draw_well_screen(r, cres, res, g.state, t.castle, t.well, m.fonts.small);
    draw_thieves_guild_screen(r, cres, res, g.state, t.castle, t.thieves, m.fonts.small, &g.puzzle,
                              res.obj32_07.at(0), m.settings.enable_trade, cres.signpost_big);
    draw_shipyard_dialog(r, cres, res, t.shipyard, m.fonts.def, m.fonts.small);
    draw_tavern_screen(r, cres, res, s.tavern, m.fonts.def, m.now_ms);
}

void draw_hero(MainState& m) {
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    HeroScreenView& v = s.hero;
    if (!v.open || !g.state.valid_hero(v.hero)) return;
    SDL_Renderer* r = m.renderer;
    static const HeroScreenResources kNone;
    const HeroScreenResources& hres = m.res->hero_screen ? *m.res->hero_screen : kNone;
    const HeroState& hero = g.state.heroes[(size_t)v.hero];
    draw_hero_screen(r, hres, *m.res, g.state, v.hero, v.exit_pressed, m.fonts.def, m.fonts.small, v.dismiss_hidden,
                     v.dismiss_pressed);
    if (s.troops.selected.valid()) s.troops.draw_selection(r, *m.res, false);
    draw_hero_tooltip_if_open(r, *m.res, v.tip, m.fonts.def, m.fonts.small);
    if (v.exp_box) g.loop.levelups.draw_exp_info_box(r, *m.res, g.state, v.hero, kMapViewArea, m.fonts.def);
    draw_artifact_info_dialog(r, *m.res, v.artifact, m.fonts.def);
    // The open book writes its own hint where the bar stands.
    if (!v.book.open)
        draw_hero_infobar(r, m.fonts.def,
                          hero_screen_infobar_text(hero_screen_hover_zone(v.mouse_x, v.mouse_y), hero, v.dismiss_hidden));
    draw_spellbook(r, *m.res, v.book, m.fonts.def, m.fonts.small);
}

}  // namespace

void draw_town_screens(MainState& m) {
    if (!m.renderer || !m.res || !m.game) return;
    GameSession& g = game_of(m);
    TownScreensState& s = g.loop.screens;
    draw_town(m);
    static const SwapWinResources kNoSwapArt;
    if (s.swap.open)
        draw_swap_screen(m.renderer, m.res->swap_win ? *m.res->swap_win : kNoSwapArt, *m.res, s.swap, g.state,
                         m.fonts.def, m.fonts.small);
    if (s.swap.open && !s.hero.open)
        draw_hero_tooltip_if_open(m.renderer, *m.res, s.meeting_tip, m.fonts.def, m.fonts.small);
    draw_hero(m);
    if (s.thieves_full.open && m.res->castle)
        draw_thieves_guild_screen(m.renderer, *m.res->castle, *m.res, g.state, -1, s.thieves_full, m.fonts.small,
                                  &g.puzzle, nullptr, false, nullptr);
    if (!s.town.open && !s.hero.open && !s.swap.open) return;
    s.troops.draw(m.renderer, *m.res, g.events, m.fonts.def);
    if (s.swap.troops.split.open) s.swap.troops.draw(m.renderer, *m.res, g.events, m.fonts.def);
    // The stack's standing pictures by the running clock: one every 150 ms, the first eight of them.
    if (s.army_view.view.open) s.army_view.draw_dialog((int)(m.now_ms / 150 % 8));
    if (s.army_view.tip.open) s.army_view.draw_tooltip();
}

}  // namespace vorn1
