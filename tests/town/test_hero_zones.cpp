#include <gtest/gtest.h>

#include "town/hero_zones.h"

using namespace vorn1;

TEST(HeroZones, StatusPanelAndSkillBoxBoundaries) {
    const struct { int x, y; HsZone z; } cases[] = {
        {508, 101, HS_STATUS_TOP}, {508, 102, HS_STATUS_TOP}, {508, 103, HS_MORALE}, {589, 132, HS_MORALE},
        {508, 133, HS_LUCK},       {508, 160, HS_LUCK},       {508, 161, HS_EXPERIENCE}, {508, 189, HS_EXPERIENCE},
        {508, 190, HS_STATUS_BOTTOM}, {589, 192, HS_STATUS_BOTTOM}, {590, 150, HS_NONE}, {508, 193, HS_NONE},
        {508, 99, HS_NONE},        {49, 100, HS_PORTRAIT},    {149, 192, HS_PORTRAIT}, {150, 150, HS_NONE},
        {156, 150, HS_ATTACK},     {237, 150, HS_ATTACK},     {238, 150, HS_NONE},     {244, 150, HS_DEFENSE},
        {413, 150, HS_SPELL_POWER}, {501, 150, HS_KNOWLEDGE}, {502, 150, HS_NONE},     {100, 196, HS_NONE},
    };
    for (const auto& c : cases) EXPECT_EQ(hero_screen_hover_zone(c.x, c.y), c.z) << c.x << "," << c.y;
}

TEST(HeroZones, ArmyAndArtifactCells) {
    EXPECT_EQ(hero_screen_hover_zone(49, 200), HS_CREST);
    for (int i = 0; i < 5; ++i) {
        const int left = 156 + 88 * i;
        const HsZone z = hero_screen_hover_zone(left, 200);
        EXPECT_EQ(hs_zone_army_slot(z), i);
        EXPECT_EQ(hero_screen_hover_zone(left + 81, 292), z);
        EXPECT_EQ(hero_screen_hover_zone(left + 82, 250), HS_NONE);
    }
    EXPECT_EQ(hero_screen_hover_zone(156, 293), HS_NONE);
    for (int c = 0; c < 7; ++c) {
        const int x0 = 51 + 79 * c, x1 = 114 + 79 * c;
        EXPECT_EQ(hs_zone_artifact_slot(hero_screen_hover_zone(x0, 308)), c);
        EXPECT_EQ(hs_zone_artifact_slot(hero_screen_hover_zone(x1, 371)), c);
        EXPECT_EQ(hs_zone_artifact_slot(hero_screen_hover_zone(x0, 387)), 7 + c);
        EXPECT_EQ(hs_zone_artifact_slot(hero_screen_hover_zone(x1, 450)), 7 + c);
        EXPECT_EQ(hero_screen_hover_zone(x1 + 1, 320), HS_NONE);
    }
    EXPECT_EQ(hero_screen_hover_zone(115, 320), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(60, 380), HS_NONE);
    EXPECT_EQ(hs_zone_info_key(HS_ARTIFACT_FIRST), nullptr);
    EXPECT_STREQ(hs_zone_info_key(HS_ARMY_LAST), "HERO_SELECT_CREATURE");
}

TEST(HeroZones, SideButtonsAndOutside) {
    EXPECT_EQ(hero_screen_hover_zone(602, 319), HS_EXIT);
    EXPECT_EQ(hero_screen_hover_zone(629, 439), HS_EXIT);
    EXPECT_EQ(hero_screen_hover_zone(630, 400), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(602, 440), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(4, 319), HS_DISMISS);
    EXPECT_EQ(hero_screen_hover_zone(31, 439), HS_DISMISS);
    EXPECT_EQ(hero_screen_hover_zone(3, 400), HS_NONE);
    EXPECT_EQ(hero_screen_hover_zone(-1, -1), HS_NONE);
    EXPECT_STREQ(hs_zone_info_key(HS_NONE), "HERO_INFO_HERO_SCREEN");
    EXPECT_STREQ(hs_zone_info_key(HS_STATUS_BOTTOM), "HERO_INFO_ADDITIONAL");
}
