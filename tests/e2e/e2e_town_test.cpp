// The town road on the real program: the town screen, the hero screen, the spellbook, a meeting.
#include <gtest/gtest.h>

#include <signal.h>


#include "datakit/kit_maps.h"
#include "e2e_support.h"

using namespace vorn1::e2e;

// The town road on the kit's road map: the hero walks into its castle (the town screen), buys a book
// in the mage guild, the portrait opens the hero screen and the book slot the spellbook, and after
// leaving the town the hero walks to the second hero (the meeting window). The screenshots are kept
// as e2e_shots/road_*.png.
TEST(EndToEnd, TownHeroScreenAndMeetingOnTheRoadMap) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("road", true);
    remove_maps(folder);
    ASSERT_TRUE(vorn1::kit::write_map_file((folder.root / "maps" / "ROAD.MAP").string(), vorn1::kit::make_road_map()));
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("road_turn.png");
    const vorn1::Image map_view = g.close_announcement(turn, "road_map.png");
    ASSERT_GT(map_view.width, 0) << "no screenshot";

    // The castle's entrance is the tile up and left of the hero (centre 255, 256).
    plan_route(g, 223, 224, map_view, "road_route_town.png");
    g.click_at(223, 224, 0);
    const vorn1::Image town = g.wait_for_change("road_town.png", map_view, Box{0, 0, 479, 256}, 60000);
    ASSERT_GT(town.width, 0);
    EXPECT_GT(changed_pixels(map_view, town, 0, 0, 479, 256), 60000) << "no town screen";

    // The tavern is drawn over the thieves' guild: a click on its picture where their rectangles overlap
    // opens the tavern's small dialog, which leaves the town picture beside it (the guild's screen would
    // cover the picture; the buildings there animate, the background above them does not).
    g.click_at(230, 110, 0);
    const vorn1::Image tavern = g.wait_for_change("road_tavern.png", town, Box{177, 64, 286, 330}, 30000);
    ASSERT_GT(tavern.width, 0);
    ASSERT_TRUE(still(town, tavern, Box{0, 0, 170, 80})) << "the thieves' guild opened";
    g.click_at(320, 381, 0);  // OK
    g.wait_for_return("road_tavern_closed.png", town, Box{0, 0, 640, 256});

    // The mage guild sells the visitor a book and teaches him its spells.
    g.click_at(340, 100, 0);
    const vorn1::Image guild = g.wait_for_change("road_guild.png", town, Box{}, 30000);
    g.click_at(249, 336, 0);  // Buy
    g.wait_for_change("road_bought.png", guild, Box{}, 200);
    g.keys({"Escape"}, 0);  // out of the guild
    g.wait_for_return("road_town_again.png", town, Box{0, 256, 640, 224});
    g.click_at(55, 400, 0);  // the visiting hero's portrait
    const vorn1::Image hero = g.wait_for_change("road_hero.png", town, Box{0, 256, 640, 224}, 30000);
    ASSERT_GT(hero.width, 0);
    EXPECT_GT(changed_pixels(town, hero, 0, 256, 640, 224), 30000) << "no hero screen";

    g.click_at(80, 340, 0);  // the magic book, in the first artifact slot
    const vorn1::Image book = g.wait_for_change("road_spellbook.png", hero, Box{146, 119, 326, 192}, 30000);
    ASSERT_GT(book.width, 0);
    EXPECT_GT(changed_pixels(hero, book, 146, 119, 326, 192), 30000) << "no spellbook";
    g.keys({"Escape"}, 0);  // the book closes, the hero screen stays
    g.wait_for_return("road_hero_again.png", hero, Box{146, 119, 326, 192});
    g.keys({"Escape"}, 0);
    g.wait_for_return("road_town_last.png", town, Box{0, 256, 640, 224});
    g.click_at(590, 440, 0);  // the town's exit: the map dissolves back over the whole map view
    const vorn1::Image back = g.wait_for_change("road_back.png", town, kMapView, 60000);
    ASSERT_GT(back.width, 0);
    // The second hero stands two tiles east of where the first one started.
    plan_route(g, 319, 256, back, "road_route_meeting.png");
    g.click_at(319, 256, 0);
    const vorn1::Image meeting = g.wait_for_change("road_meeting.png", back, Box{16, 16, 448, 448}, 60000);
    ASSERT_GT(meeting.width, 0);
    EXPECT_GT(changed_pixels(back, meeting, 16, 16, 448, 448), 60000) << "no meeting window";
    stop(g.pid);
}
