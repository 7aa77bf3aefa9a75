// The kit's sieges are decided by their maps: the whole-program tests that play them show a computer's band
// taking a human's castle, and the program seeds each battle from its tick count.
#include <string>
#include <vector>

#include "datakit/kit_battle_road.h"
#include "loop_fixture.h"
#include "mainloop/battle_launch.h"
#include "world/game_setup.h"

namespace vorn1::test {
namespace {

// A kit map's siege: the band's tile and the castle it takes.
struct KitSiege {
    std::string name;
    GameMap map;
    bool hot_seat;
    int band_x, band_y, castle_x, castle_y;
};

// Blue and Red human, Green and Yellow computers at the set-up page's level.
NewGameConfig hot_seat_config() {
    NewGameConfig cfg;
    cfg.mode = MODE_HOTSEAT;
    const uint8_t colours[4] = {COLOR_BLUE, COLOR_RED, COLOR_GREEN, COLOR_YELLOW};
    for (int p = 0; p < 4; ++p) {
        cfg.seats[p].color = colours[p];
        cfg.seats[p].kind = p < 2 ? SEAT_HUMAN : SEAT_COMPUTER;
        if (p >= 2) cfg.seats[p].ai_level = OPP_AVERAGE;
    }
    return cfg;
}

// Each siege of the kit's maps, set up as the program sets it up for 1000 games and battle seeds (tick counts
// up to five minutes): the castle's defender plays it out automatically, as the whole-program tests press the
// automatic-combat button, the band fights by the computer's rules, and the band wins every time.
TEST_F(LoopTest, EveryKitSiegeIsTheBandsWhateverTheDraws) {
    using namespace kit;
    const int sx = kSiegeMapCastleX, sy = kSiegeMapCastleY;
    const int* hx = kHotSeatCastleX;
    const int* hy = kHotSeatCastleY;
    const std::vector<KitSiege> sieges = {
        {"Siege at Dawn", make_siege_map(), false, sx + 2, sy + 2, sx, sy},
        {"Shared Siege I", make_hot_seat_siege_map(0), true, hx[0] + 2, hy[0] + 2, hx[0], hy[0]},
        {"Shared Siege II", make_hot_seat_siege_map(1), true, hx[1] + 2, hy[1] + 2, hx[1], hy[1]},
        {"Twin Sieges, Westwatch", make_hot_seat_rout_map(), true, hx[0] + 2, hy[0] + 2, hx[0], hy[0]},
        {"Twin Sieges, Eastwatch", make_hot_seat_rout_map(), true, hx[1] + 2, hy[1] + 2, hx[1], hy[1]},
    };
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    m.game = std::make_unique<GameSession>();
    g().events.load(nullptr, nullptr, nullptr, nullptr, false);
    // No art: the pictures and the frame time set no draw of a battle (the kit's art and frames of 7 to 50 ms
    // gave these battles the same results, to the casualty).
    g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    BattleScreen& b = g().battle;
    for (const KitSiege& siege : sieges) {
        std::vector<uint32_t> lost;
        for (uint32_t seed = 1; seed < 300000; seed += 300) {
            g().map = siege.map;
            init_game_state(state(), map(), siege.hot_seat ? hot_seat_config() : NewGameConfig{}, seed * 7 + 3);
            rebuild_monster_guard_map(map());
            sync_hero_vectors(g());
            const int band = state().hero_at(siege.band_x, siege.band_y);
            const int defender = state().hero_at(siege.castle_x, siege.castle_y);
            ASSERT_GE(band, 0) << siege.name;
            ASSERT_GE(defender, 0) << siege.name;
            loop().current_player = state().heroes[(size_t)band].owner;
            m.now_ms = seed;
            launch_town_battle(m, band, siege.castle_x, siege.castle_y);
            ASSERT_TRUE(loop().battle_open) << siege.name;
            ASSERT_EQ(b.siege, 1) << siege.name;
            ASSERT_EQ(b.defender_side.hero, defender) << siege.name;
            ASSERT_EQ(b.control.human[0] * 2 + b.control.human[1], 1) << siege.name << ": the defender is human";
            if (!play_battle_out(b, 1) || b.outcome != OutcomeAttackerWon) lost.push_back(seed);
            b.close();
            loop().battle_open = false;
        }
        EXPECT_TRUE(lost.empty()) << siege.name << ": the band did not win with " << lost.size()
                                  << " seeds, the first " << lost.front();
    }
    end_game(m);
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

}  // namespace
}  // namespace vorn1::test
