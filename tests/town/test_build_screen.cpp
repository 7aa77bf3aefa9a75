#include <gtest/gtest.h>

#include "events/event.h"
#include "lang/runtime_strings.h"
#include "town/build_screen.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_fixture.h"
#include "town/town_fixture.h"
#include "world/map.h"

namespace vorn1 {
namespace {

struct Catalogue {
    Catalogue() {
        strings().load_from_text("", R"({"BUILD_CAN_BUILD":"Build {0}","BUILD_ALREADY_BUILT":"{0} is built",
            "BUILD_CANNOT_BUILD":"Cannot build {0}","BUILD_CANNOT_AFFORD":"Cannot afford {0}",
            "RECRUIT_HAVE_8_HEROES":"eight","RECRUIT_HAVE_HERO_IN_TOWN":"in town","RECRUIT_CANNOT_AFFORD":"poor",
            "RECRUIT_NEW_HERO":"new","STRUCTDESC_WELL":"Well text","STRUCT_WELL":"Well"})");
    }
    ~Catalogue() { strings().load_from_text("", ""); }
};

TEST(BuildScreenRules, CellsAreInclusiveSpansWithGaps) {
    EXPECT_EQ(build_screen_cell_hit(144, 0), 0);
    EXPECT_EQ(build_screen_cell_hit(145, 0), -1);
    EXPECT_EQ(build_screen_cell_hit(8, 74), -1);
    EXPECT_EQ(build_screen_cell_hit(8, 80), 4);
    EXPECT_EQ(build_screen_cell_hit(633, 233), 11);
    EXPECT_EQ(build_screen_cell_hit(634, 233), -1);
    EXPECT_EQ(build_screen_cell_hit(171, 160), 9);
    EXPECT_EQ(build_screen_cell_hit(300, 234), -1);
    EXPECT_EQ(build_screen_cell_hit(7, 10), -1);
    EXPECT_EQ(build_cell_origin(7).x, 8 + 163 * 3);
    EXPECT_EQ(build_cell_origin(7).y, 80);
}

TEST(BuildScreenRules, GuildLevelShownAndHoverTexts) {
    Catalogue cat;
    CastleState town;
    town.faction = FACTION_WARLOCK;
    EXPECT_STREQ(build_cell_def(BS_MAGE_GUILD, town)->name, "Mage Guild, Level 1");
    town.buildings = BLD_GUILD1;
    EXPECT_STREQ(build_cell_def(BS_MAGE_GUILD, town)->name, "Mage Guild, Level 2");
    town.buildings = BLD_GUILD1 | BLD_GUILD2;
    EXPECT_STREQ(build_cell_def(BS_MAGE_GUILD, town)->name, "Mage Guild, Level 3");
    town.buildings = BLD_GUILD1 | BLD_GUILD2 | BLD_GUILD3 | BLD_GUILD4;
    EXPECT_STREQ(build_cell_def(BS_MAGE_GUILD, town)->name, "Mage Guild, Level 4");
    EXPECT_EQ(build_cell_def(BS_RECRUIT_HERO, town), nullptr);

    EXPECT_EQ(build_hover_text(BS_RECRUIT_HERO, town, BUILD_OK, true, true, true), "eight");
    EXPECT_EQ(build_hover_text(BS_RECRUIT_HERO, town, BUILD_OK, true, false, true), "in town");
    EXPECT_EQ(build_hover_text(BS_RECRUIT_HERO, town, BUILD_OK, false, false, true), "poor");
    EXPECT_EQ(build_hover_text(BS_RECRUIT_HERO, town, BUILD_OK, false, false, false), "new");
    EXPECT_EQ(build_hover_text(BS_WELL, town, BUILD_CANNOT_AFFORD, false, false, false), "Cannot afford Well");
    EXPECT_EQ(build_hover_text(BS_WELL, town, BUILD_BUILT, false, false, false), "Well is built");
    EXPECT_EQ(build_hover_text(BS_WELL, town, static_cast<BuildStatus>(9), false, false, false), "");
    town.faction = 7;
    EXPECT_EQ(build_hover_text(BS_WELL, town, BUILD_OK, false, false, false), "") << "no record";

    EXPECT_EQ(localized_structure_desc("Well", "english"), "Well text");
    EXPECT_EQ(localized_structure_desc("Thatched Hut", "english"), "english");
}

TEST(BuildScreenRules, RequirementsListTheFirstDwellingLast) {
    StructureDef def{};
    def.name = "x";
    def.requires_bits = BLD_DWELLING2 | BLD_GUILD1 | BLD_TAVERN;
    def.requires_first_dwelling = true;
    const auto names = build_requirement_names(def, FACTION_KNIGHT);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], "Mage Guild, Level 1");
    EXPECT_EQ(names[1], "Tavern");
    EXPECT_EQ(names[2], get_structure_def(BS_DWELLING_2, FACTION_KNIGHT)->name);
    EXPECT_EQ(names[3], "Thatched Hut");
    EXPECT_EQ(build_requirement_names(def, FACTION_WARLOCK).back(), "Cave");
    EXPECT_EQ(build_requirement_names(def, 9).size(), 2u) << "no dwelling records and no first dwelling";
}

TEST(BuildScreenRules, CostRowsSplitThreeOverFour) {
    EXPECT_EQ(build_cost_first_row({28, 28, 28}), 3);
    EXPECT_EQ(build_cost_first_row(std::vector<int>(7, 40)), 3) << "7 items of 40: 352 wide, halves fit";
    EXPECT_EQ(build_cost_first_row({300, 10, 10}), 3) << "even the first half is too wide";
    EXPECT_EQ(build_cost_first_row({200, 200, 10}), 1);
    EXPECT_EQ(build_cost_first_row({}), 0);
}

using BuildScreenDraw = DialogCanvas;

TEST_F(BuildScreenDraw, FallbacksMarkersAndTheCastleDialog) {
    Catalogue cat;
    Resources& res = load({"QV.PAL", "TOWNWIND.ICN"});
    CastleScreenResources cres;
    EventSystem ev;
    GameMap map;
    GameState g = make_game(1);
    add_castle(g, -1, FACTION_KNIGHT, 0);  // neutral
    clear();
    draw_build_screen(r, cres, res, ev, g, map, 0, -1, -1, false, font, small);
    EXPECT_TRUE(is(20, 20, {30, 30, 50, 255})) << "missing building picture";
    EXPECT_TRUE(is(8, 250, {40, 0, 60, 255})) << "status bar";
    EXPECT_TRUE(is(556, 239, {180, 140, 20, 255})) << "exit fallback";
    EXPECT_TRUE(is(8, 61, {60, 0, 100, 255})) << "name plate";
    EXPECT_TRUE(is(3, 3, {60, 60, 60, 255})) << "background";
    // A neutral town marks every building cell not allowed (TOWNWIND frame 12, standing on the cell's
    // right edge); the recruit-hero cell is not blocked for lack of gold.
    const SDL_Point m12 = res.townwind.size(12);
    ASSERT_GT(m12.y, 0);
    const SDL_Point o = build_cell_origin(5);
    EXPECT_GT(differing({o.x + 137, o.y + 56 - m12.y, 26, m12.y}, {60, 60, 60, 255}), 200);
    const SDL_Point hero = build_cell_origin(11);
    EXPECT_EQ(differing({hero.x + 137, hero.y, 640 - hero.x - 137, 56}, {60, 60, 60, 255}), 0);

    // The panel: never for the recruit-hero cell; for the well, its frame and texts over the grid.
    auto panel_pixels = [&](int info) {
        clear();
        draw_build_screen(r, cres, res, ev, g, map, 0, -1, info, false, font, small);
        std::vector<uint32_t> px;
        for (int y = 20; y < 240; y += 2)
            for (int x = 177; x < 463; x += 2) px.push_back(pixel(x, y));
        return px;
    };
    const auto plain = panel_pixels(-1);
    EXPECT_EQ(panel_pixels(11), plain);
    EXPECT_NE(panel_pixels(5), plain);
    BuildCastleDialogState dlg;
    dlg.open = true;
    dlg.can_build = false;
    clear();
    draw_build_castle_dialog(r, cres, res, dlg, FACTION_KNIGHT, font, small);
    EXPECT_TRUE(is(260, 140, {30, 30, 60, 255}));
    EXPECT_EQ(dlg.ok_rect.x, 249 - 33);
    EXPECT_EQ(dlg.cancel_rect.x, 391 - 33);
    dlg.open = false;
    clear();
    draw_build_castle_dialog(r, cres, res, dlg, FACTION_KNIGHT, font, small);
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0);
}

}  // namespace
}  // namespace vorn1
