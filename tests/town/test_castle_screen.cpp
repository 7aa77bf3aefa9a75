#include <gtest/gtest.h>

#include <algorithm>

#include "town/castle_screen.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_fixture.h"
#include "town/recruit.h"
#include "town/town_fixture.h"

namespace vorn1 {
namespace {

TEST(CastleScreenRules, HitTestsAndTheirEdges) {
    CastleScreenResources none;
    EXPECT_TRUE(dock_sprite_hit(119, 255, none));
    EXPECT_FALSE(dock_sprite_hit(120, 255, none));
    EXPECT_FALSE(dock_sprite_hit(0, 256, none));
    EXPECT_FALSE(dock_sprite_hit(0, 164, none));
    // The sorceress castle is drawn at y 1 but is hit from y 0; a caller size replaces the table's.
    EXPECT_TRUE(castle_sprite_hit(300, 0, FACTION_SORCERESS, 0, 0));
    EXPECT_FALSE(castle_sprite_hit(463, 50, FACTION_SORCERESS, 0, 0));
    EXPECT_TRUE(castle_sprite_hit(463, 50, FACTION_SORCERESS, 300, 0));
    EXPECT_TRUE(castle_sprite_hit(190, 10, 9, 0, 0)) << "unknown faction: knight row";
    EXPECT_FALSE(castle_sprite_hit(181, 10, FACTION_KNIGHT, 0, 0));
    EXPECT_TRUE(tent_sprite_hit(58, 35, FACTION_KNIGHT));
    EXPECT_FALSE(tent_sprite_hit(114, 35, FACTION_KNIGHT));
    EXPECT_TRUE(tent_sprite_hit(432, 141, FACTION_WARLOCK));
}

// Where hit rectangles overlap, the building drawn in front takes the click; elsewhere each keeps its own.
TEST(CastleScreenRules, TownPictureClickOpensTheBuildingInFront) {
    CastleState town;
    town.faction = FACTION_KNIGHT;
    town.is_castle = 1;
    town.buildings = BLD_CASTLE | BLD_THIEVES_GUILD | BLD_TAVERN | BLD_GUILD1 | BLD_DWELLING2 | BLD_DWELLING3 |
                     BLD_DWELLING4 | BLD_SHIPYARD;
    const auto at = [&](int x, int y) {
        const TownSpot s = town_picture_hit(x, y, town, nullptr);
        return std::pair<int, int>{s.kind, s.dwelling};
    };
    using P = std::pair<int, int>;
    // Thieves' guild 138..253 x 84..183 and tavern 205..296 x 80..197: the tavern is drawn over the guild.
    EXPECT_EQ(at(230, 150), P(TOWN_SPOT_TAVERN, -1));
    EXPECT_EQ(at(253, 183), P(TOWN_SPOT_TAVERN, -1));
    EXPECT_EQ(at(190, 170), P(TOWN_SPOT_THIEVES_GUILD, -1));
    EXPECT_EQ(at(204, 150), P(TOWN_SPOT_THIEVES_GUILD, -1));
    EXPECT_EQ(at(280, 190), P(TOWN_SPOT_TAVERN, -1));
    // Dwelling 0 lies under the guild; the castle under the tavern, the mage guild and dwelling 4.
    EXPECT_EQ(at(150, 100), P(TOWN_SPOT_THIEVES_GUILD, -1));
    EXPECT_EQ(at(100, 100), P(TOWN_SPOT_DWELLING, 0));
    EXPECT_EQ(at(250, 100), P(TOWN_SPOT_TAVERN, -1));
    EXPECT_EQ(at(340, 100), P(TOWN_SPOT_MAGE_GUILD, -1));
    EXPECT_EQ(at(392, 100), P(TOWN_SPOT_DWELLING, 4));
    EXPECT_EQ(at(300, 20), P(TOWN_SPOT_CASTLE, -1));
    // Dwelling 2 is drawn after dwellings 3 and 4.
    EXPECT_EQ(at(420, 200), P(TOWN_SPOT_DWELLING, 2));
    EXPECT_EQ(at(420, 140), P(TOWN_SPOT_DWELLING, 2));
    EXPECT_EQ(at(400, 200), P(TOWN_SPOT_DWELLING, 3));
    EXPECT_EQ(at(10, 200), P(TOWN_SPOT_DOCK, -1));
    EXPECT_EQ(at(10, 256), P(TOWN_SPOT_NONE, -1)) << "below the town picture";
    EXPECT_EQ(at(-1, 100), P(TOWN_SPOT_NONE, -1));
    // Without the tavern the guild keeps the whole of its rectangle; without dwelling 4 the castle gets it back.
    town.buildings &= (uint16_t)~(BLD_TAVERN | BLD_DWELLING4);
    EXPECT_EQ(at(230, 150), P(TOWN_SPOT_THIEVES_GUILD, -1));
    EXPECT_EQ(at(392, 100), P(TOWN_SPOT_CASTLE, -1));
    EXPECT_EQ(at(280, 190), P(TOWN_SPOT_NONE, -1));
    // A town without castle: the tent lies under the barbarian's dwelling 3; the castle bit draws nothing.
    town.faction = FACTION_BARBARIAN;
    town.is_castle = 0;
    EXPECT_EQ(at(439, 90), P(TOWN_SPOT_DWELLING, 3));
    EXPECT_EQ(at(400, 90), P(TOWN_SPOT_TENT, -1));
    EXPECT_EQ(at(300, 20), P(TOWN_SPOT_NONE, -1));
}

// Each faction draws every dwelling once; each built dwelling keeps its centre clickable under whatever
// else the town has built, and a dwelling not built takes no click.
TEST(CastleScreenRules, TownLayerTablesGiveEveryBuiltDwellingItsCentre) {
    const std::array<int, 6> slots = {0, 1, 2, 3, 4, 5};
    for (const auto& order : DWELLING_ORDER)
        EXPECT_TRUE(std::is_permutation(order.begin(), order.end(), slots.begin()));
    const uint16_t bits[6] = {0, BLD_DWELLING1, BLD_DWELLING2, BLD_DWELLING3, BLD_DWELLING4, BLD_DWELLING5};
    for (const uint8_t faction : {FACTION_KNIGHT, FACTION_BARBARIAN, FACTION_SORCERESS, FACTION_WARLOCK}) {
        for (const uint8_t is_castle : {0, 1}) {
            int n = 0;
            town_picture_layers(faction, 0xFFFF, is_castle != 0, n);
            EXPECT_EQ(n, kMaxTownLayers) << "every building of a town has its layer";
            for (int d = 0; d < 6; ++d) {
                const SDL_Rect r = dwelling_sprite_rect(faction, d);
                const int cx = r.x + r.w / 2, cy = r.y + r.h / 2;
                CastleState town;
                town.faction = faction;
                town.is_castle = is_castle;
                town.buildings = 0xFFFF;
                TownSpot s = town_picture_hit(cx, cy, town, nullptr);
                EXPECT_EQ(s.kind, TOWN_SPOT_DWELLING) << (int)faction << " " << d;
                EXPECT_EQ(s.dwelling, d) << (int)faction;
                town.buildings = bits[d];
                EXPECT_EQ(town_picture_hit(cx, cy, town, nullptr).dwelling, d) << (int)faction;
                if (d == 0) continue;
                town.buildings = (uint16_t)(0xFFFF & ~bits[d]);
                EXPECT_NE(town_picture_hit(cx, cy, town, nullptr).dwelling, d) << (int)faction;
            }
        }
    }
    // Rectangles are half-open (knight dwelling 0 is {90, 87, 80, 68}); unknown factions take the knight's row.
    CastleState knight;
    knight.faction = FACTION_KNIGHT;
    knight.is_castle = 1;
    EXPECT_EQ(town_picture_hit(169, 154, knight, nullptr).dwelling, 0);
    EXPECT_EQ(town_picture_hit(170, 100, knight, nullptr).kind, TOWN_SPOT_NONE);
    EXPECT_EQ(town_picture_hit(10, 100, knight, nullptr).kind, TOWN_SPOT_NONE);
    knight.faction = 255;
    EXPECT_EQ(town_picture_hit(100, 100, knight, nullptr).dwelling, 0);
    EXPECT_EQ(dwelling_sprite_rect(FACTION_KNIGHT, 6).w, 0);
    EXPECT_EQ(dwelling_sprite_rect(FACTION_KNIGHT, -1).w, 0);
}

TEST(CastleScreenRules, GuildLevelsAnimationAndVisitors) {
    EXPECT_EQ(castle_mage_guild_level(BLD_GUILD1 | BLD_GUILD4), 4);
    EXPECT_EQ(castle_mage_guild_level(BLD_GUILD1 | BLD_GUILD2), 2);
    EXPECT_EQ(castle_mage_guild_level(BLD_GUILD3), 3);
    EXPECT_EQ(castle_mage_guild_level(0), 0);
    int n = 0;
    const auto rec = mage_guild_records(4, n);
    ASSERT_EQ(n, 7);
    EXPECT_EQ(rec[0], 0);
    EXPECT_EQ(rec[1], 2);
    EXPECT_EQ(rec[6], 7);
    mage_guild_records(1, n);
    EXPECT_EQ(n, 2);

    EXPECT_EQ(castle_anim_frame(1, 5), -1);
    EXPECT_EQ(castle_anim_frame(2, 0), 1);
    EXPECT_EQ(castle_anim_frame(2, 7), 1);
    EXPECT_EQ(castle_anim_frame(5, 3), 4);
    EXPECT_EQ(castle_anim_frame(5, 4), 1);

    GameState g = make_game(2);
    add_castle(g, 0, FACTION_KNIGHT, 0);
    const int stranger = add_hero(g, 1);
    g.heroes[stranger].x = g.castles[0].x;
    g.heroes[stranger].y = g.castles[0].y;
    EXPECT_EQ(castle_visiting_hero(g, 0), -1) << "another owner's hero is not shown";
    const int own = add_hero(g, 0);
    g.heroes[own].x = g.castles[0].x;
    g.heroes[own].y = g.castles[0].y;
    EXPECT_EQ(castle_visiting_hero(g, 0), own);
    EXPECT_EQ(castle_visiting_hero(g, 3), -1);
    EXPECT_EQ(castle_colour_crest_index(0), 2);
    EXPECT_EQ(castle_colour_crest_index(3), 3);
    EXPECT_EQ(castle_colour_crest_index(2), 0);
}

using CastleScreenDraw = DialogCanvas;

TEST_F(CastleScreenDraw, FallbackFillsWithoutArt) {
    Resources& res = load({});
    CastleScreenResources cres;
    GameState g = make_game(1);
    CastleState& c = add_castle(g, -1, FACTION_KNIGHT, 0);
    set_army(c, {{EMPTY_ID, 0}, {3, 0}});
    clear();
    draw_castle_screen(r, cres, res, g, 0, false, font, small, 0);
    EXPECT_TRUE(is(10, 10, {20, 20, 60, 255}));
    EXPECT_TRUE(is(115, 300, {30, 30, 30, 255}));
    EXPECT_TRUE(is(203, 300, {30, 30, 30, 255})) << "a count of 0 is an empty slot";
    EXPECT_TRUE(is(50, 400, {40, 40, 40, 255}));
    EXPECT_TRUE(is(320, 470, {60, 0, 80, 255}));
    EXPECT_TRUE(is(50, 300, {50, 50, 50, 255}));
    EXPECT_TRUE(is(10, 258, {40, 30, 10, 255}));
    // The gold of a town without owner reads 0: a little text in the gold box.
    EXPECT_GT(differing({552, 411, 82, 14}, {40, 30, 10, 255}), 5);

    clear();
    draw_castle_screen(r, cres, res, g, 1, false, font, small, 0);
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0) << "no such town";
}

TEST_F(CastleScreenDraw, TownGroupFromTheArchiveDrawsBuildingsAndArmies) {
    Resources& res = load({"QV.PAL", "TOWNBKG0.BMP", "BIGBAR.ICN", "BUILDING.ICN", "STONEBAK.BMP", "FARMCAST.ICN",
                           "FARMTENT.ICN", "FARM_D0.ICN", "MAGEGLD.ICN", "WELL.ICN", "STRIP.ICN", "MONSTERS.ICN",
                           "RECRUIT.BMP", "RECRUIT2.BMP"});
    ::testing::internal::CaptureStderr();
    ::testing::internal::CaptureStdout();
    load_town_groups(res);
    const std::string err = ::testing::internal::GetCapturedStderr();
    const std::string out = ::testing::internal::GetCapturedStdout();
    ASSERT_TRUE(res.castle);
    const CastleScreenResources& cres = *res.castle;
    EXPECT_NE(out.find("  BUILDING.ICN: 34 frames"), std::string::npos);
    EXPECT_NE(out.find("  STONEBAK.BMP loaded"), std::string::npos);
    EXPECT_NE(err.find("  castlescrn: WARNING \xE2\x80\x94 DOCK.ICN not found"), std::string::npos);
    EXPECT_EQ(err.find("DOCK.ICN not found", err.find("DOCK.ICN not found") + 1), std::string::npos) << "once";
    EXPECT_EQ(err.find("TOWNBKG1"), std::string::npos) << "missing backgrounds are silent";
    EXPECT_EQ(cres.building_pictures.size(), 34u);
    EXPECT_EQ(cres.faction_building_frames[0][kCastleEntry].size(), 6u);
    EXPECT_EQ(cres.faction_building_headers[0][kCastleEntry].size(), 6u);
    EXPECT_TRUE(cres.dock_frames.empty());
    EXPECT_NE(cres.town_background[0], nullptr);
    EXPECT_EQ(cres.town_background[1], nullptr);
    EXPECT_NE(cres.status_bar, nullptr);
    EXPECT_NE(cres.recruit.dialog_bg, nullptr);
    EXPECT_TRUE(dock_sprite_hit(119, 255, cres));

    // A knight town without castle: the tent, never the castle picture, whatever bit 0x80 says.
    GameState g = make_game(1);
    CastleState& c = add_castle(g, 0, FACTION_KNIGHT, BLD_CASTLE | BLD_WELL | BLD_GUILD1);
    c.is_castle = 0;
    c.name = "";
    set_army(c, {{5, 12}});
    g.resources[0].gold = 777;
    auto snapshot = [&](SDL_Rect a) {
        std::vector<uint32_t> px;
        for (int y = a.y; y < a.y + a.h; ++y)
            for (int x = a.x; x < a.x + a.w; ++x) px.push_back(pixel(x, y));
        return px;
    };
    auto changes = [](const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
        int n = 0;
        for (size_t i = 0; i < a.size(); ++i) n += a[i] != b[i];
        return n;
    };
    const SDL_Rect tent_area{58, 35, 56, 42};
    clear();
    draw_castle_screen(r, cres, res, g, 0, false, font, small, 0);
    const auto as_town = snapshot(tent_area);
    clear();
    c.is_castle = 1;
    draw_castle_screen(r, cres, res, g, 0, false, font, small, 0);
    EXPECT_GT(changes(as_town, snapshot(tent_area)), 500) << "tent drawn only for a town";
    // With the castle flag but without bit 0x80 neither picture shows: the background is there.
    std::vector<uint32_t> with_castle;
    for (int y = 0; y < 120; ++y)
        for (int x = 171; x < 331; ++x) with_castle.push_back(pixel(x, y));
    c.buildings &= static_cast<uint16_t>(~BLD_CASTLE);
    clear();
    draw_castle_screen(r, cres, res, g, 0, false, font, small, 0);
    int changed = 0;
    for (int y = 0, i = 0; y < 120; ++y)
        for (int x = 171; x < 331; ++x, ++i) changed += with_castle[static_cast<size_t>(i)] != pixel(x, y);
    EXPECT_GT(changed, 1000) << "the castle picture goes with bit 0x80";

    // The garrison's paladins stand in a slot drawn from STRIP.ICN frame 3, not the empty fill.
    EXPECT_FALSE(is(115, 300, {30, 30, 30, 255}));
    EXPECT_GT(differing({111 + 41 - 17, 262 + 79 - 68, 35, 68}, at(113, 264)), 50) << "the creature picture";

    res.castle.reset();  // unload through the cache's deleter, once
}

}  // namespace
}  // namespace vorn1
