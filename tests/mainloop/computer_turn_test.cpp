// A computer seat's turn in the loop: its hero walks to the human's hero, the battle screen opens for the
// human, and after it the computer turn resumes and ends.
#include "battle/battle_combat.h"
#include "datakit/kit_battle_road.h"
#include "lang/runtime_strings.h"
#include "loop_fixture.h"

namespace vorn1::test {
namespace {

class ComputerTurnTest : public LoopTest {
protected:
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;

    void SetUp() override {
        LoopTest::SetUp();
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        strings().load_from_text("", kit::catalogue_json(kit::battle_road_english_strings()));
        m.settings.ab_resolver = false;
        m.now_ms = 4242;
    }
    void TearDown() override {
        LoopTest::TearDown();
        if (renderer) SDL_DestroyRenderer(renderer);
        if (surface) SDL_FreeSurface(surface);
    }
};

TEST_F(ComputerTurnTest, AComputerHeroAttacksTheHumansHeroOnTheBattleScreenAndItsTurnThenEnds) {
    make_game();
    g().battle.init(&g().battle_res, nullptr, renderer, nullptr, nullptr);
    const int human = add_hero(5, 5, 0);
    const int computer = add_hero(9, 5, 1);
    state().heroes[human].army = Army{};
    state().heroes[human].army.ids[0] = 0;
    state().heroes[human].army.counts[0] = 2;
    state().heroes[computer].army = Army{};
    state().heroes[computer].army.ids[0] = 23;
    state().heroes[computer].army.counts[0] = 8;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 16; ++x) state().fog[1].set_explored(x, y);
    start_player_turn(m, 0);
    accept_dialogs();
    loop().hero_move_points[human] = 0;
    request_end_turn(m);
    ASSERT_TRUE(loop().computer_turn_pending);
    for (int i = 0; i < 3000 && !loop().battle_open; ++i) frames(1);
    ASSERT_TRUE(loop().battle_open);
    EXPECT_TRUE(loop().ai.waiting_for_battle);
    EXPECT_EQ(g().battle.attacker_side.hero, computer);
    EXPECT_EQ(g().battle.defender_side.hero, human);
    EXPECT_LE(std::abs(state().heroes[computer].x - 5), 1) << "the computer hero walked up to the human's";
    // The human's side fights automatically until the result shows.
    for (int i = 0; i < 40000 && g().battle.overlay != BattleOverlay::Result; ++i) {
        if (!g().battle.auto_defender && g().battle.phase == ActionPhase::Idle) push_click(20, 470);
        frames(1);
    }
    ASSERT_EQ(g().battle.overlay, BattleOverlay::Result);
    frames(30);
    push_key(SDLK_RETURN);
    for (int i = 0; i < 3000 && !loop().day_over; ++i) {
        if (g().events.dialog_open) push_key(SDLK_RETURN);
        frames(1);
    }
    EXPECT_FALSE(loop().ai.waiting_for_battle);
    EXPECT_FALSE(state().heroes[human].live);
    EXPECT_TRUE(state().heroes[computer].live);
    EXPECT_TRUE(loop().day_over);
}

}  // namespace
}  // namespace vorn1::test
