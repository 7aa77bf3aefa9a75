// The kit's goal maps in their default set-up (the easiest start against an average computer): the
// player's castle holds while the player waits, and the Dragon City's fight is the player's whatever
// the draws (the program seeds each battle from its tick count).
#include "datakit/kit_goals.h"
#include "events/event_actions.h"
#include "loop_fixture.h"
#include "mainloop/battle_launch.h"
#include "mainloop/game_end.h"
#include "world/game_setup.h"
#include "world/recruit_rules.h"

namespace vorn1::test {
namespace {

GameMap goal_map_named(const std::string& name) {
    for (auto& [file, map] : kit::kit_goal_maps())
        if (map.name == name) return map;
    ADD_FAILURE() << "no goal map " << name;
    return GameMap{};
}

// Each map set up as the program does, the player ending every turn at once: no battle comes to the
// player and the castle stays the player's for a week, on The Long Watch until the month has turned.
TEST_F(LoopTest, TheKitGoalMapsCastleHoldsWhileThePlayerWaits) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    for (const auto& [file, goal_map] : kit::kit_goal_maps()) {
        SCOPED_TRACE(goal_map.name);
        const bool watch = file == kit::kCalendarGoalFile;
        m.game = std::make_unique<GameSession>();
        g().map = goal_map;
        init_game_state(state(), map(), NewGameConfig{}, 4242);
        rebuild_monster_guard_map(map());
        begin_session(m, false);
        g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
        const int home = state().castle_at(kit::kGoalCastleX, kit::kGoalCastleY);
        ASSERT_GE(home, 0);
        const int days = watch ? 28 : 7;
        for (int day = 1; day <= days; ++day) {
            SCOPED_TRACE("day " + std::to_string(day));
            accept_dialogs();
            ASSERT_EQ(loop().current_player, 0);
            for (size_t h = 0; h < state().heroes.size(); ++h)
                if (state().heroes[h].owner == 0) loop().hero_move_points[h] = 0;
            request_end_turn(m);
            for (int i = 0; i < 20000 && !loop().battle_open && (loop().current_player != 0 || loop().day_over); ++i) {
                if (g().events.dialog_open) push_key(SDLK_RETURN);
                frames(1);
            }
            const bool held = !loop().battle_open && state().castles[(size_t)home].owner == 0;
            EXPECT_TRUE(held) << (loop().battle_open ? "a rival came for the player" : "the castle was taken");
            if (!held) break;
            if (day == days) {
                EXPECT_EQ(state().month, watch ? 2 : 1);
                EXPECT_EQ(game_outcome(g()), watch ? GameOutcome::StandardWon : GameOutcome::None);
            }
        }
        end_game(m);
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

// Dragon's Roost: the hero hires every paladin of the dwelling beside it that the easiest start's gold
// buys, and with them beats the five dragons of the city, fought out automatically, for battle seeds of
// tick counts up to five minutes.
TEST_F(LoopTest, DragonsRoostsPaladinsBeatTheCitysDragonsWhateverTheDraws) {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    const GameMap roost = goal_map_named("Dragon's Roost");
    m.game = std::make_unique<GameSession>();
    g().events.load(nullptr, nullptr, nullptr, nullptr, false);
    g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    BattleScreen& b = g().battle;
    std::vector<uint32_t> lost;
    for (uint32_t seed = 1; seed < 300000; seed += 600) {
        g().map = roost;
        init_game_state(state(), map(), NewGameConfig{}, seed * 7 + 3);
        rebuild_monster_guard_map(map());
        sync_hero_vectors(g());
        const int hero = state().hero_at(kit::kGoalHeroX, kit::kGoalHeroY);
        ASSERT_GE(hero, 0);
        ASSERT_EQ(state().huts.size(), 1u);
        const MapCreatureHutState& hut = state().huts[0];
        const CreatureCost unit = creature_recruit_cost(hut.creature);
        const int count = max_affordable(state(), -1, hero, hut.available, unit);
        ASSERT_EQ(count, kit::kRoostPaladins) << "the start's gold buys every paladin";
        ASSERT_TRUE(add_creatures_to_army(state().heroes[(size_t)hero].army, hut.creature, count));
        loop().current_player = 0;
        m.now_ms = seed;
        EventResult r;
        r.hero = hero;
        r.x = state().dragon_city.x;
        r.y = state().dragon_city.y;
        r.site_kind = GUARDED_DRAGON_CITY;
        launch_site_battle(m, r);
        ASSERT_TRUE(loop().battle_open);
        if (!play_battle_out(b, 0) || b.outcome != OutcomeAttackerWon) lost.push_back(seed);
        b.close();
        loop().battle_open = false;
    }
    EXPECT_TRUE(lost.empty()) << "the dragons won with " << lost.size() << " seeds, the first " << lost.front();
    end_game(m);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

}  // namespace
}  // namespace vorn1::test
