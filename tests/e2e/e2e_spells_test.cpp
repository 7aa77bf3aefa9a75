// The spellbook and a spell cast on the real program: on the adventure map with the casting key, and
// in battle from the hero options dialog.
#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <thread>

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
    g.keys({"n", "s", "Return"});
    g.mouse("255 290", 300);
    g.keys({"Return"}, 3500);  // the turn's date summary runs out
    const vorn1::Image start = g.shot("spells_map_start.png");
    ASSERT_GT(start.width, 0) << "no screenshot";

    // The hero's tile has its top-left at (239, 240): the shrines north and south of it.
    int visit = 0;
    for (const char* tile : {"255 224", "255 288"}) {
        g.mouse(std::string(tile) + " click 1", 500);
        g.mouse(std::string(tile) + " click 1", 2000);
        g.shot("spells_shrine_" + std::to_string(visit++) + ".png");
        g.keys({"Return"}, 1000);
    }
    g.mouse("100 100", 300);
    g.keys({"c"}, 1000);
    const vorn1::Image book = g.shot("spells_adventure_book.png");
    ASSERT_GT(book.width, 0);
    EXPECT_GT(changed_pixels(start, book, 100, 100, 300, 250), 20000) << "no book over the map";
    g.keys({"Escape"}, 800);

    g.mouse("351 256 click 1", 500);
    g.mouse("351 256 click 1", 2500);
    g.keys({"n"}, 3000);
    const vorn1::Image field = g.shot("spells_field.png");
    ASSERT_GT(field.width, 0);
    g.mouse("38 207 click 1", 800);  // the hero's tent
    g.mouse("231 301 click 1", 800);  // the options dialog's spell button
    const vorn1::Image battle_book = g.shot("spells_battle_book.png");
    ASSERT_GT(battle_book.width, 0);
    EXPECT_GT(changed_pixels(field, battle_book, 150, 120, 320, 180), 20000) << "no book over the field";
    g.mouse("234 154 click 1", 800);  // Meteor Shower, the book's one combat spell
    // The ogres stand in column 7: the pointer on row 2 lights that hex and its six neighbours.
    g.mouse("534 262", 800);
    const vorn1::Image aim = g.shot("spells_aim.png");
    ASSERT_GT(aim.width, 0);
    EXPECT_GT(changed_pixels(field, aim, 420, 140, 220, 240), 5000) << "no lit hexes";
    g.mouse("534 262 click 1", 250);
    const vorn1::Image meteor = g.shot("spells_meteor.png");
    ASSERT_GT(meteor.width, 0);
    EXPECT_GT(changed_pixels(aim, meteor, 420, 100, 220, 320), 3000) << "no splashes";
    g.mouse("100 40", 2500);
    const vorn1::Image after = g.shot("spells_after.png");
    ASSERT_GT(after.width, 0);
    EXPECT_GT(changed_pixels(meteor, after, 420, 100, 220, 320), 3000) << "the splashes stayed";
    // The stacks' turn is not spent: the field is as before the spell but for the counts.
    EXPECT_LT(changed_pixels(field, after, 420, 100, 220, 320), 1500) << "something of the spell is left";
    ::kill(g.pid, SIGTERM);
    EXPECT_EQ(exit_status(g.pid, 20), 0);
}
