#pragma once
// A headless main state: SDL's event queue on the dummy video driver, no window or renderer, and a
// game built by hand on a small grass map (or set up from the kit's demo archive).
#include <SDL.h>
#include <gtest/gtest.h>

#include <memory>

#include "assets/agg.h"
#include "datakit/kit_demo.h"
#include "mainloop/frame_loop.h"
#include "mainloop/hero_move.h"
#include "mainloop/main_state.h"
#include "mainloop/turns.h"
#include "persist/savegame.h"
#include "world/hero_pool.h"
#include "world/tile_rules.h"

namespace vorn1::test {

class LoopTest : public ::testing::Test {
protected:
    MainState m;
    std::vector<int> autosave_days;

    void SetUp() override {
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS), 0) << SDL_GetError();
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        m.autosave = [this](const AutosaveRequest& r) {
            autosave_days.push_back(r.day);
            return SaveOutcome{true, "autosave.sav", {}};
        };
    }
    void TearDown() override {
        end_game(m);
        SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
        SDL_Quit();
    }

    GameSession& g() { return *m.game; }
    LoopState& loop() { return m.game->loop; }
    GameState& state() { return m.game->state; }
    GameMap& map() { return m.game->map; }

    // A w x h grass map, seats 0 (human) and 1 (computer) in play, everything explored, no heroes.
    void make_game(int w = 20, int h = 20) {
        m.game = std::make_unique<GameSession>();
        GameMap& mp = map();
        mp.width = w;
        mp.height = h;
        mp.tiles.assign((size_t)w * h, MapTile{});
        for (MapTile& t : mp.tiles) t.ground = 30;
        GameState& s = state();
        s.map_width = w;
        s.map_height = h;
        s.player_in_play = {1, 1, 0xFF, 0xFF};
        s.player_color = {COLOR_RED, COLOR_GREEN, COLOR_NONE, COLOR_NONE};
        s.player_is_human = {1, 0, 0, 0};
        for (FogOfWar& f : s.fog) f.explored.fill(1);
        // The computer seat holds nothing, which counts as every rival defeated: the game's goal is a sum
        // of gold nobody gathers here, so that only a goal a test sets decides the game.
        s.victory.kind = VICTORY_GATHER_GOLD;
        g().events.load(nullptr, nullptr, nullptr, nullptr, false);
        loop().player_order = {0, 1};
        rebuild_monster_guard_map(mp);
    }
    // Hot seat at one table: seat 2 (Blue) a second human after the computer.
    void make_hot_seat_game() {
        make_game();
        g().hot_seat = true;
        state().player_in_play[2] = 1;
        state().player_color[2] = COLOR_BLUE;
        state().player_is_human[2] = 1;
        loop().player_order = {0, 1, 2};
    }
    // A hero of `owner` at (x, y) with `points` movement points; its index.
    int add_hero(int x, int y, int owner, int points = 60) {
        HeroState h;
        h.live = 1;
        h.x = x;
        h.y = y;
        h.owner = owner;
        h.level = 1;  // as every hero of a game starts
        h.name = "Hero" + std::to_string(state().heroes.size());
        h.army.ids[0] = 1;
        h.army.counts[0] = 5;
        state().heroes.push_back(h);
        place_hero_on_map(map(), h);
        sync_hero_vectors(g());
        const int i = (int)state().heroes.size() - 1;
        loop().hero_move_points[i] = loop().hero_day_points[i] = points;
        return i;
    }
    int add_town(int x, int y, int owner) {
        CastleState c;
        c.live = 1;
        c.x = x;
        c.y = y;
        c.owner = owner;
        state().castles.push_back(c);
        map().tile(x, y)->object_type = OBJ_TOWN_ENTRANCE;
        return (int)state().castles.size() - 1;
    }
    // A game with seat 0's hero at (5, 5) and seat 1's castle at (10, 10), done building for the day and
    // with gold for a hero, so the computer's turn start weighs hiring one.
    void game_with_a_hiring_computer() {
        make_game();
        add_hero(5, 5, 0, 0);
        init_hero_pool(state().pool);
        const int castle = add_town(10, 10, 1);
        state().castles[castle].is_castle = 1;
        state().castles[castle].built_today = 1;
        state().resources[1].gold = 6000;
    }
    // A game with water from column 10 on, a selected hero ashore at (9, 5) and an empty boat (index 0)
    // beside it at (10, 5); the hero's index.
    int hero_beside_a_boat() {
        make_game();
        for (int y = 0; y < 20; ++y)
            for (int x = 10; x < 20; ++x) map().tile(x, y)->ground = 5;
        const int h = add_hero(9, 5, 0);
        state().boats.push_back(BoatState{1, 10, 5, -1, 0, -1});
        map().tile(10, 5)->boat = 1;
        sync_owned_lists(loop(), state());
        select_hero(g(), h);
        return h;
    }
    // The game of the kit's demo archive, set up as the program does without a front end.
    void setup_demo() {
        static const std::vector<uint8_t> bytes = kit::write_agg(kit::build_demo_data().archive);
        archive = std::make_unique<AggArchive>(AggArchive::from_bytes(bytes));
        setup_game(m, NewGameConfig{}, archive.get(), 12345);
    }

    // Input as SDL delivers it.
    static void push_key(SDL_Keycode k, bool repeat = false) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        e.key.repeat = repeat ? 1 : 0;
        SDL_PushEvent(&e);
        e.type = SDL_KEYUP;
        SDL_PushEvent(&e);
    }
    static void push_click(int x, int y) {
        SDL_Event e{};
        e.type = SDL_MOUSEBUTTONDOWN;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        SDL_PushEvent(&e);
        e.type = SDL_MOUSEBUTTONUP;
        SDL_PushEvent(&e);
    }
    // The screen point at the middle of a map tile in the current view.
    SDL_Point tile_point(int tx, int ty) {
        return SDL_Point{(tx + 8) * 32 - loop().view_x + 16, (ty + 8) * 32 - loop().view_y + 16};
    }
    void click_tile(int tx, int ty) {
        const SDL_Point p = tile_point(tx, ty);
        push_click(p.x, p.y);
    }
    void frames(int n, float dt = 16.0f) {
        for (int i = 0; i < n && m.game; ++i) run_frame(m, dt);
    }
    // Plays the open battle out with no art: the automatic combat gives `side`'s orders (0 the attacker,
    // 1 the defender) as a player's press of its button would, the other side fights by the computer's
    // rules. True when the result came.
    static bool play_battle_out(BattleScreen& b, int side) {
        for (int f = 0; f < 200000 && b.overlay != BattleOverlay::Result; ++f) {
            const BattleUnit* u = b.active_unit();
            const bool engaged = side == 0 ? b.auto_attacker : b.auto_defender;
            if (!engaged && b.phase == ActionPhase::Idle && u && u->side == side) b.engage_auto_combat();
            b.tick(16.0f);
        }
        return b.overlay == BattleOverlay::Result;
    }
    // Closes every dialog with its first button, as Enter does.
    void accept_dialogs() {
        for (int i = 0; i < 16 && g().events.dialog_open; ++i) {
            push_key(SDLK_RETURN);
            frames(1);
        }
    }

    std::unique_ptr<AggArchive> archive;
};

}  // namespace vorn1::test
