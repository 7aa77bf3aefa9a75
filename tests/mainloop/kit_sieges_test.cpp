// The kit's sieges are decided by their maps: the whole-program tests that play them show a computer's band
// taking a human's castle, the short campaign's hero taking the rival town above it, and the program seeds
// each battle from its tick count.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "datakit/kit_battle_road.h"
#include "datakit/kit_game_end.h"
#include "datakit/kit_roads.h"
#include "frontend/campaign_data.h"
#include "loop_fixture.h"
#include "mainloop/battle_launch.h"
#include "mainloop/game_end.h"
#include "world/game_setup.h"

namespace vorn1::test {
namespace {

// A kit map's siege: the band's tile and the castle it takes. A short campaign's band comes on each day
// up to `last_day`, the rival playing the days before; the others wait at the gate when the game starts.
struct KitSiege {
    std::string name;
    GameMap map;
    NewGameConfig cfg;
    int band_x, band_y, castle_x, castle_y;
    int last_day = 0;
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
// up to five minutes), and the short campaign's on each day of the first week for 100 battle seeds: the human
// side plays it out automatically, as a player and the whole-program tests press the automatic-combat button,
// the other side fights by the computer's rules, and the band takes the castle every time (in the campaign,
// and with it the scenario).
TEST_F(LoopTest, EveryKitSiegeIsTheBandsWhateverTheDraws) {
    using namespace kit;
    const int sx = kSiegeMapCastleX, sy = kSiegeMapCastleY;
    const int* hx = kHotSeatCastleX;
    const int* hy = kHotSeatCastleY;
    std::vector<KitSiege> sieges = {
        {"Siege at Dawn", make_siege_map(), NewGameConfig{}, sx + 2, sy + 2, sx, sy},
        {"Shared Siege I", make_hot_seat_siege_map(0), hot_seat_config(), hx[0] + 2, hy[0] + 2, hx[0], hy[0]},
        {"Shared Siege II", make_hot_seat_siege_map(1), hot_seat_config(), hx[1] + 2, hy[1] + 2, hx[1], hy[1]},
        {"Twin Sieges, Westwatch", make_hot_seat_rout_map(), hot_seat_config(), hx[0] + 2, hy[0] + 2, hx[0], hy[0]},
        {"Twin Sieges, Eastwatch", make_hot_seat_rout_map(), hot_seat_config(), hx[1] + 2, hy[1] + 2, hx[1], hy[1]},
    };
    // The short campaign's four scenarios, each under another of the lords the program draws.
    for (int row = 0; row < 4; ++row)
        sieges.push_back({"Short campaign " + std::to_string(row + 1), make_short_campaign_map(row),
                          spirit_campaign_config("", row), kQuickWinTownX, kQuickWinTownY + 1, kQuickWinTownX,
                          kQuickWinTownY, 7});
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
    SDL_Renderer* renderer = SDL_CreateSoftwareRenderer(surface);
    // A game of the siege's map with no art: the pictures and the frame time set no draw of a battle (the
    // kit's art and frames of 7 to 50 ms gave these battles the same results, to the casualty).
    const auto open_game = [&](const KitSiege& siege) {
        m.game = std::make_unique<GameSession>();
        g().config = siege.cfg;
        g().campaign = siege.cfg.mode == MODE_CAMPAIGN;
        g().hot_seat = siege.cfg.mode == MODE_HOTSEAT;
        g().map = siege.map;
        g().events.load(nullptr, nullptr, nullptr, nullptr, false);
        g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    };
    for (const KitSiege& siege : sieges) {
        SCOPED_TRACE(siege.name);
        // The short campaign's game, played a day at a time: its human ends each day at once.
        std::unique_ptr<GameSession> road;
        if (siege.last_day > 0) {
            open_game(siege);
            init_game_state(state(), map(), siege.cfg, 4242);
            rebuild_monster_guard_map(map());
            begin_session(m, false);
            g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
            road = std::move(m.game);
        }
        for (int day = 1; day <= std::max(siege.last_day, 1); ++day) {
            SCOPED_TRACE("day " + std::to_string(day));
            if (day > 1) {
                m.game = std::move(road);
                accept_dialogs();
                for (size_t h = 0; h < state().heroes.size(); ++h)
                    if (state().heroes[h].owner == 0) loop().hero_move_points[h] = 0;
                request_end_turn(m);
                for (int i = 0; i < 20000 && !loop().battle_open && (loop().current_player != 0 || loop().day_over);
                     ++i) {
                    if (g().events.dialog_open) push_key(SDLK_RETURN);
                    frames(1);
                }
                ASSERT_FALSE(loop().battle_open) << "the rival came for the band";
                ASSERT_EQ(state().day, day);
                road = std::move(m.game);
            }
            std::vector<uint32_t> lost;
            for (uint32_t seed = 1; seed < 300000; seed += siege.last_day > 0 ? 3000 : 300) {
                open_game(siege);
                if (road) {
                    g().map = road->map;
                    state() = road->state;
                } else {
                    init_game_state(state(), map(), siege.cfg, seed * 7 + 3);
                    rebuild_monster_guard_map(map());
                }
                sync_hero_vectors(g());
                const int band = state().hero_at(siege.band_x, siege.band_y);
                const int town = state().castle_at(siege.castle_x, siege.castle_y);
                ASSERT_GE(band, 0);
                ASSERT_GE(town, 0);
                const int owner = state().heroes[(size_t)band].owner;
                loop().current_player = owner;
                m.now_ms = seed;
                launch_town_battle(m, band, siege.castle_x, siege.castle_y);
                BattleScreen& b = g().battle;
                if (loop().battle_open) {
                    ASSERT_EQ(b.siege, 1);
                    ASSERT_EQ(b.defender_side.hero, state().hero_at(siege.castle_x, siege.castle_y));
                    ASSERT_EQ(b.control.human[0] + b.control.human[1], 1) << "one side is human";
                    ASSERT_TRUE(play_battle_out(b, b.control.human[0] ? 0 : 1));
                    b.close();
                    after_battle_step(m);
                }
                if (state().castles[(size_t)town].owner != owner ||
                    (g().campaign && game_outcome(g()) != GameOutcome::CampaignScenarioWon))
                    lost.push_back(seed);
                end_game(m);
            }
            EXPECT_TRUE(lost.empty()) << "the band did not take the castle with " << lost.size()
                                      << " seeds, the first " << lost.front();
        }
        m.game = std::move(road);
        end_game(m);
    }
    SDL_DestroyRenderer(renderer);
    SDL_FreeSurface(surface);
}

}  // namespace
}  // namespace vorn1::test
