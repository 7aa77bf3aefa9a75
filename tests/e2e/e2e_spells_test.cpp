// The spellbook and a spell cast on the real program: on the adventure map with the casting key, and
// in battle from the hero options dialog.
#include <gtest/gtest.h>

#include <signal.h>

#include <string>

#include "e2e_support.h"

using namespace vorn1::e2e;

// On the kit's spell map the hero, who has a spellbook, visits the shrines of View All (north) and
// Meteor Shower (south). The casting key opens the book on its adventure half. Then the ogres east
// are attacked, the quick-combat result declined, and on the battle screen the hero's tent opens the
// options dialog, its spell button the book, Meteor Shower is picked and an ogre stack clicked: the
// splashes show over the seven hexes and are gone once the spell is over.
TEST(EndToEnd, TheBookOnTheMapAndAMeteorShowerInBattle) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("spells", true);
    remove_maps(folder, "KITSPELL.MAP");
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("spells_turn.png");
    g.mouse("255 290", 0);
    const vorn1::Image start = g.close_announcement(turn, "spells_map_start.png");
    ASSERT_GT(start.width, 0) << "no screenshot";

    // The hero's tile has its top-left at (239, 240): the shrines north and south of it. Each visit
    // ends with a message box over the middle of the map.
    constexpr Box kMessage{100, 135, 280, 210};
    vorn1::Image map = start;
    int visit = 0;
    for (const int y : {224, 288}) {
        const int x = 255;
        const std::string n = std::to_string(visit++);
        plan_route(g, x, y, map, "spells_route_" + n + ".png");
        g.click_at(x, y, 0);
        const vorn1::Image shrine = g.wait_for_change("spells_shrine_" + n + ".png", map, kMessage, 30000);
        g.keys({"Return"}, 0);
        map = g.wait_for_change("spells_shrine_" + n + "_closed.png", shrine, kMessage, 30000);
    }
    g.mouse("100 100", 0);
    g.keys({"c"}, 0);
    const vorn1::Image book = g.wait_for_change("spells_adventure_book.png", map, Box{100, 100, 300, 250}, 20000);
    ASSERT_GT(book.width, 0);
    EXPECT_GT(changed_pixels(start, book, 100, 100, 300, 250), 20000) << "no book over the map";
    g.keys({"Escape"}, 0);
    const vorn1::Image closed = g.wait_for_change("spells_book_closed.png", book, Box{100, 100, 300, 250}, 20000);

    // The ogres stand east of the hero. A quick combat the hero would win shows its result over the
    // map first (n declines it); a lost one opens the battle field at once. The field's sky moves.
    plan_route(g, 351, 256, closed, "spells_route_ogres.png");
    g.mouse("351 256 click 1", 0);
    g.wait_for_change("spells_preview.png", closed, Box{160, 100, 320, 358}, 20000);
    g.keys({"n"}, 0);
    constexpr Box kField{0, 100, 640, 360};
    const auto on_field = [&](const vorn1::Image& now, const vorn1::Image& before) {
        return changed_pixels(closed, now, Box{0, 100, 150, 360}) > 20000 && still(before, now, kField);
    };
    const vorn1::Image field = g.wait_for_screen("spells_field.png", "the battle field", on_field);
    ASSERT_GT(field.width, 0);
    constexpr Box kMiddle{150, 120, 320, 180};
    g.mouse("38 207 click 1", 0);  // the hero's tent
    const vorn1::Image options = g.wait_for_change("spells_options.png", field, kMiddle, 10000);
    g.mouse("231 301 click 1", 0);  // the options dialog's spell button
    const vorn1::Image battle_book = g.wait_for_change("spells_battle_book.png", options, kMiddle, 10000);
    ASSERT_GT(battle_book.width, 0);
    EXPECT_GT(changed_pixels(field, battle_book, 150, 120, 320, 180), 20000) << "no book over the field";
    g.mouse("234 154 click 1", 0);  // Meteor Shower, the book's one combat spell
    const vorn1::Image picked = g.wait_for_change("spells_picked.png", battle_book, kMiddle, 20000);
    // The ogres stand in column 7: the pointer on row 2 lights that hex and its six neighbours.
    g.mouse("534 262", 0);
    const vorn1::Image aim = g.wait_for_change("spells_aim.png", picked, Box{420, 140, 220, 240}, 5000);
    ASSERT_GT(aim.width, 0);
    EXPECT_GT(changed_pixels(field, aim, 420, 140, 220, 240), 5000) << "no lit hexes";

    // The splashes last about a second: shots as fast as they come, and the first one that differs
    // both from the lit hexes and from the plain field keeps them.
    constexpr Box kOgres{420, 100, 220, 320};
    const auto splashes = [&](const vorn1::Image& now, const vorn1::Image&) {
        return changed_pixels(aim, now, kOgres) > 3000 && changed_pixels(field, now, kOgres) > 3000;
    };
    g.mouse("534 262 click 1", 0);
    const vorn1::Image meteor = g.wait_for_screen("spells_meteor.png", "the splashes", splashes, 30, 0);
    ASSERT_GT(meteor.width, 0);
    EXPECT_GT(changed_pixels(aim, meteor, 420, 100, 220, 320), 3000) << "no splashes";
    g.mouse("100 40", 0);
    const vorn1::Image after = g.wait_for_change("spells_after.png", meteor, kOgres, 3000);
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(meteor, after, 420, 100, 220, 320), 3000) << "the splashes stayed";
    // The stacks' turn is not spent: the field is as before the spell but for the counts.
    EXPECT_LT(changed_pixels(field, after, 420, 100, 220, 320), 1500) << "something of the spell is left";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
