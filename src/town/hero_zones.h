#pragma once
// Mouse regions of the hero screen, shared by its information bar and its tooltips.

namespace vorn1 {

enum HsZone : int {
    HS_PORTRAIT = 1,
    HS_ATTACK = 2,
    HS_DEFENSE = 3,
    HS_SPELL_POWER = 4,
    HS_KNOWLEDGE = 5,
    HS_STATUS_TOP = 6,
    HS_MORALE = 7,
    HS_LUCK = 8,
    HS_EXPERIENCE = 9,
    HS_STATUS_BOTTOM = 10,
    HS_CREST = 11,
    HS_ARMY_FIRST = 12,     // army slots 12..16
    HS_ARMY_LAST = 16,
    HS_ARTIFACT_FIRST = 17, // artifact slots 17..30 (hero artifact slot = zone - 17)
    HS_ARTIFACT_LAST = 30,
    HS_EXIT = 31,
    HS_DISMISS = 32,
    HS_NONE = 33,
};

// The top of the information bar along the bottom of the screen; panels stay above it.
constexpr int kHeroInfoBarY = 461;

// The zone of a point of the 640x480 screen; HS_NONE outside every region.
HsZone hero_screen_hover_zone(int x, int y);

// The army slot 0..4 of an army zone, else -1.
int hs_zone_army_slot(HsZone zone);
// The hero artifact slot 0..13 of an artifact zone, else -1.
int hs_zone_artifact_slot(HsZone zone);

// The information-bar key of a zone. Army and dismiss zones give their base key (the caller
// falls back to "HERO_INFO_HERO_SCREEN" for an empty slot or an unavailable dismiss);
// artifact zones give null, their text depends on the artifact shown.
const char* hs_zone_info_key(HsZone zone);

}  // namespace vorn1
