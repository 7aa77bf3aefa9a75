// Goals that a seat meets at the scenario's start by what it holds: the game goes on past the first
// turn on the real program, in the kit's short campaign and in a hot-seat game.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include "datakit/kit_goal_starts.h"
#include "e2e_support.h"

using namespace vorn1::e2e;

namespace {

// The info panel shows the date: one flat colour under a line of pale text, where the hero's panel has
// his portrait and his army in colour.
bool date_shown(const vorn1::Image& shot) {
    std::map<uint32_t, int> colours;
    int colourful = 0;
    for (int y = kInfoPanel.y; y < kInfoPanel.y + kInfoPanel.h; ++y)
        for (int x = kInfoPanel.x; x < kInfoPanel.x + kInfoPanel.w; ++x) {
            const uint8_t* p = shot.at(x, y);
            ++colours[p[0] << 16 | p[1] << 8 | p[2]];
            colourful += std::max({p[0], p[1], p[2]}) - std::min({p[0], p[1], p[2]}) > 80;
        }
    int most = 0;
    for (const auto& [colour, n] : colours) most = std::max(most, n);
    return most > kInfoPanel.w * kInfoPanel.h * 7 / 10 && colourful < 10;
}

// A dialog over the map's middle (its brown page where the grass and the town were): the question to
// go on after a won campaign scenario.
bool dialog_over_map(const vorn1::Image& shot) {
    constexpr Box kMiddle{200, 190, 240, 120};
    int brown = 0;
    for (int y = kMiddle.y; y < kMiddle.y + kMiddle.h; ++y)
        for (int x = kMiddle.x; x < kMiddle.x + kMiddle.w; ++x) {
            const uint8_t* p = shot.at(x, y);
            brown += p[0] > p[1] + 10 && p[1] > p[2] + 10;
        }
    return brown > kMiddle.w * kMiddle.h * 6 / 10;
}

struct TurnOpened {
    vorn1::Image date;  // the info panel on the date, as the turn opens
    vorn1::Image map;   // once the date has made way for the panel of the turn
};

// Return closes the turn's announcement `announced`: the turn opens on the date for a few seconds, then
// the info panel gives way to the turn's own; the shots are kept as `<name>_date.png` and `<name>_map.png`.
TurnOpened open_turn(const RunningGame& g, const vorn1::Image& announced, const std::string& name) {
    g.keys({"Return"}, 0);
    TurnOpened t;
    t.date = g.wait_for_screen(
        g.tag + "_" + name + "_date.png", "the date as the turn opens",
        [&](const vorn1::Image& now, const vorn1::Image& before) {
            return changed_pixels(announced, now, kMapView) > 20000 && date_shown(now) && still(before, now, kInfoPanel);
        },
        kPatience, 0);
    t.map = g.wait_for_screen(g.tag + "_" + name + "_map.png", "the turn's panel after the date",
                              [&](const vorn1::Image& now, const vorn1::Image& before) {
                                  return !date_shown(now) && still(before, now, Box{});
                              });
    return t;
}

// Two dates differ in the day's number only: a few dozen pixels at the end of the line.
void expect_next_day(const vorn1::Image& first, const vorn1::Image& second) {
    const int changed = changed_pixels(first, second, kInfoPanel);
    EXPECT_GT(changed, 10) << "the same date: the day did not turn";
    EXPECT_LT(changed, 400) << "not a date of the same week";
}

}  // namespace

// The kit campaign's first scenario, whose target the rival holds from the start: e ends the first
// turn, the rival plays its own, and the second day opens on the map with the same hero, no defeat
// film; then taking the rival town above the hero, by a siege now, still wins it. The screenshots are kept as
// e2e_shots/goal_campaign_*.png.
TEST(EndToEnd, ACampaignScenarioWhoseTargetTheRivalHoldsGoesOnPastItsFirstTurn) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("goal_campaign", true);
    remove_maps(folder);  // the scenario maps; the campaign files stay
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image story = g.open_kit_campaign(g.tag);
    g.keys({"Return"}, 0);
    const vorn1::Image turn = g.wait_for_change(g.tag + "_4_turn.png", story, kAdventurePanel,
                                                kAdventurePanel.w * kAdventurePanel.h / 4);
    g.mouse("20 470", 0);  // the pointer off the map, as in every shot to compare
    const TurnOpened first = open_turn(g, turn, "5_day1");

    end_turn_past_question(g, first.map, g.tag + "_6_question.png");
    bool film = false;
    const vorn1::Image second_turn = g.wait_for_screen(
        g.tag + "_7_day2_turn.png", "the second day's announcement",
        [&](const vorn1::Image& now, const vorn1::Image& before) {
            film = film || defeat_film_frame(now);
            return film || (still(turn, now, kMapView) && still(before, now, Box{}));
        },
        kPatience, 0);
    ASSERT_FALSE(film) << "the defeat film played after the first turn";
    const TurnOpened second = open_turn(g, second_turn, "8_day2");
    expect_next_day(first.date, second.date);
    EXPECT_TRUE(still(first.map, second.map, kMapView)) << "not the hero's map as the first day left it";

    // The rival town's entrance is the tile above the hero, who stands in the middle of the view. The
    // rival, if it had the means, has made it a castle with a garrison by now: the hero's band wins the
    // siege first.
    plan_route(g, 255, 224, second.map, g.tag + "_9_route.png");
    g.click_at(255, 224, 0);
    const auto question_shown = [](const vorn1::Image& now, const vorn1::Image& before) {
        return dialog_over_map(now) && still(before, now, Box{});
    };
    vorn1::Image question = g.wait_for_screen(
        g.tag + "_10_siege_or_question.png", "the siege or the question to go on",
        [&](const vorn1::Image& now, const vorn1::Image& before) {
            return question_shown(now, before) ||
                   (changed_pixels(second.map, now, Box{0, 0, 640, 460}) > 100000 && still(before, now, Box{}));
        });
    if (!dialog_over_map(question)) {
        const vorn1::Image result = g.fight_out_automatically(question, g.tag + "_11_result.png");
        g.close_battle_result(result, g.tag + "_12_result_closed.png");
        question = g.wait_for_screen(g.tag + "_13_question.png", "the question to go on", question_shown);
    }
    g.keys({"Return"}, 0);  // go on
    const vorn1::Image victory = g.wait_for_change(g.tag + "_14_victory.png", question, Box{}, 100000);
    EXPECT_GT(changed_pixels(question, victory, Box{}), 100000) << "no victory page";
    EXPECT_FALSE(defeat_film_frame(victory)) << "the defeat film, not the victory page";
    stop(g.pid);
}

// Hot seat for two on the kit's map whose target is Blue's home castle: Blue and Red end their first
// turns and the day turns with no winner: Blue's second turn is announced over the hidden map and opens
// on the next day's date. The screenshots are kept as e2e_shots/goal_hotseat_*.png.
TEST(EndToEnd, AHotSeatTargetHeldFromTheStartWinsNobodyTheFirstRound) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("goal_hotseat", true);
    remove_maps(folder, vorn1::kit::kHeldTargetFile);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image blue = start_hot_seat(g);
    g.mouse("20 470", 0);
    const TurnOpened blue_first = open_turn(g, blue, "blue1");
    end_turn_past_question(g, blue_first.map, g.tag + "_blue1_question.png");
    const auto announced = [](const vorn1::Image& now, const vorn1::Image& before) {
        return dialog_over_hidden_map(now) && still(before, now, Box{});
    };
    const vorn1::Image red = g.wait_for_screen(g.tag + "_red1_turn.png", "Red's turn announced", announced);
    ASSERT_GT(changed_pixels(blue, red, kAnnouncement), 1000) << "Blue's turn again, not Red's";
    const TurnOpened red_first = open_turn(g, red, "red1");
    end_turn_past_question(g, red_first.map, g.tag + "_red1_question.png");
    // The victory page takes the whole window, lit where the hidden map is black.
    bool won = false;
    const vorn1::Image blue_again = g.wait_for_screen(
        g.tag + "_blue2_turn.png", "Blue's second turn announced",
        [&](const vorn1::Image& now, const vorn1::Image& before) {
            won = won || (changed_pixels(red_first.map, now, Box{}) > 100000 && lit(now, Box{480, 0, 160, 480}) &&
                          lit(now, Box{0, 0, 480, 150}));
            return won || announced(now, before);
        });
    ASSERT_FALSE(won) << "a seat won by the castle it held from the start";
    EXPECT_TRUE(still(blue, blue_again, kAnnouncement)) << "not Blue's turn";
    const TurnOpened blue_second = open_turn(g, blue_again, "blue2");
    expect_next_day(blue_first.date, blue_second.date);
    stop(g.pid);
}
