#include <gtest/gtest.h>

#include "town/hero_zones.h"

using namespace vorn1;

TEST(HeroZones, StatusPanelRowBoundaries) {
    EXPECT_EQ(hero_screen_hover_zone(508, 100), HS_STATUS_TOP);
    EXPECT_EQ(hero_screen_hover_zone(508, 101), HS_STATUS_TOP);
    EXPECT_EQ(hero_screen_hover_zone(508, 102), HS_STATUS_TOP);
    EXPECT_EQ(hero_screen_hover_zone(508, 103), HS_MORALE);
    EXPECT_EQ(hero_screen_hover_zone(589, 132), HS_MORALE);
    EXPECT_EQ(hero_screen_hover_zone(508, 133), HS_LUCK);
    EXPECT_EQ(hero_screen_hover_zone(508, 160), HS_LUCK);
    EXPECT_EQ(hero_screen_hover_zone(508, 161), HS_EXPERIENCE);
    EXPECT_EQ(hero_screen_hover_zone(508, 189), HS_EXPERIENCE);
    EXPECT_EQ(hero_screen_hover_zone(508, 190), HS_STATUS_BOTTOM);
    EXPECT_EQ(hero_screen_hover_zone(589, 192), HS_STATUS_BOTTOM);
    EXPECT_EQ(hero_screen_hover_zone(590, 150), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(508, 193), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(508, 99), HS_NONE);
}

TEST(HeroZones, SkillBoxesAndGaps) {
    EXPECT_EQ(hero_screen_hover_zone(49, 100), HS_PORTRAIT);
    EXPECT_EQ(hero_screen_hover_zone(149, 192), HS_PORTRAIT);
    EXPECT_EQ(hero_screen_hover_zone(150, 150), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(156, 150), HS_ATTACK);
    EXPECT_EQ(hero_screen_hover_zone(237, 150), HS_ATTACK);
    EXPECT_EQ(hero_screen_hover_zone(238, 150), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(244, 150), HS_DEFENSE);
    EXPECT_EQ(hero_screen_hover_zone(413, 150), HS_SPELL_POWER);
    EXPECT_EQ(hero_screen_hover_zone(420, 150), HS_KNOWLEDGE);
    EXPECT_EQ(hero_screen_hover_zone(501, 150), HS_KNOWLEDGE);
    EXPECT_EQ(hero_screen_hover_zone(502, 150), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(100, 196), HS_NONE);  // between the two upper rows
}

TEST(HeroZones, ArmySlots) {
    EXPECT_EQ(hero_screen_hover_zone(49, 200), HS_CREST);
    const int left[5] = {156, 244, 332, 420, 508};
    for (int i = 0; i < 5; ++i) {
        const HsZone z = hero_screen_hover_zone(left[i], 200);
        EXPECT_EQ(z, HS_ARMY_FIRST + i);
        EXPECT_EQ(hs_zone_army_slot(z), i);
        EXPECT_EQ(hero_screen_hover_zone(left[i] + 81, 292), z);
        EXPECT_EQ(hero_screen_hover_zone(left[i] + 82, 250), HS_NONE);
    }
    EXPECT_EQ(hero_screen_hover_zone(156, 293), HS_NONE);
    EXPECT_EQ(hs_zone_army_slot(HS_CREST), -1);
}

TEST(HeroZones, ArtifactCellsOfBothRows) {
    for (int c = 0; c < 7; ++c) {
        const int x0 = 51 + 79 * c, x1 = 114 + 79 * c;
        EXPECT_EQ(hero_screen_hover_zone(x0, 308), HS_ARTIFACT_FIRST + c);
        EXPECT_EQ(hero_screen_hover_zone(x1, 371), HS_ARTIFACT_FIRST + c);
        EXPECT_EQ(hero_screen_hover_zone(x0, 387), HS_ARTIFACT_FIRST + 7 + c);
        EXPECT_EQ(hero_screen_hover_zone(x1, 450), HS_ARTIFACT_FIRST + 7 + c);
        EXPECT_EQ(hs_zone_artifact_slot(hero_screen_hover_zone(x0, 400)), 7 + c);
        EXPECT_EQ(hero_screen_hover_zone(x1 + 1, 320), HS_NONE);  // the gap after the column
    }
    EXPECT_EQ(hero_screen_hover_zone(115, 320), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(60, 380), HS_NONE);  // between the rows
    EXPECT_EQ(hero_screen_hover_zone(60, 451), HS_NONE);
    EXPECT_EQ(hs_zone_info_key(HS_ARTIFACT_FIRST), nullptr);
}

TEST(HeroZones, SideButtonsAndOutside) {
    EXPECT_EQ(hero_screen_hover_zone(602, 319), HS_EXIT);
    EXPECT_EQ(hero_screen_hover_zone(629, 439), HS_EXIT);
    EXPECT_EQ(hero_screen_hover_zone(630, 400), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(602, 318), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(602, 440), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(4, 319), HS_DISMISS);
    EXPECT_EQ(hero_screen_hover_zone(31, 439), HS_DISMISS);
    EXPECT_EQ(hero_screen_hover_zone(3, 400), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(-1, -1), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(100000, 100000), HS_NONE);
    EXPECT_STREQ(hs_zone_info_key(HS_NONE), "HERO_INFO_HERO_SCREEN");
    EXPECT_STREQ(hs_zone_info_key(HS_STATUS_BOTTOM), "HERO_INFO_ADDITIONAL");
    EXPECT_STREQ(hs_zone_info_key(static_cast<HsZone>(HS_ARMY_LAST)), "HERO_SELECT_CREATURE");
}
