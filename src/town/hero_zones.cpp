#include "town/hero_zones.h"

namespace vorn1 {

namespace {

// Inclusive ranges on both axes.
bool in(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

HsZone hero_screen_hover_zone(int x, int y) {
    if (in(y, 100, 192)) {
        if (in(x, 49, 149)) return HS_PORTRAIT;
        if (in(x, 156, 237)) return HS_ATTACK;
        if (in(x, 244, 325)) return HS_DEFENSE;
        if (in(x, 332, 413)) return HS_SPELL_POWER;
        if (in(x, 420, 501)) return HS_KNOWLEDGE;
        if (in(x, 508, 589)) {
            if (y <= 102) return HS_STATUS_TOP;
            if (y <= 132) return HS_MORALE;
            if (y <= 160) return HS_LUCK;
            if (y <= 189) return HS_EXPERIENCE;
            return HS_STATUS_BOTTOM;
        }
        return HS_NONE;
    }
    if (in(y, 200, 292)) {
        if (in(x, 49, 149)) return HS_CREST;
        for (int i = 0; i < 5; ++i)
            if (in(x, 156 + 88 * i, 237 + 88 * i)) return static_cast<HsZone>(HS_ARMY_FIRST + i);
        return HS_NONE;
    }
    const bool row1 = in(y, 308, 371);
    const bool row2 = in(y, 387, 450);
    if (row1 || row2) {
        for (int c = 0; c < 7; ++c)
            if (in(x, 51 + 79 * c, 114 + 79 * c))
                return static_cast<HsZone>(HS_ARTIFACT_FIRST + c + (row2 ? 7 : 0));
    }
    // The two side buttons share their rows with the artifact rows.
    if (in(y, 319, 439)) {
        if (in(x, 602, 629)) return HS_EXIT;
        if (in(x, 4, 31)) return HS_DISMISS;
    }
    return HS_NONE;
}

int hs_zone_army_slot(HsZone zone) {
    if (zone < HS_ARMY_FIRST || zone > HS_ARMY_LAST) return -1;
    return zone - HS_ARMY_FIRST;
}

int hs_zone_artifact_slot(HsZone zone) {
    if (zone < HS_ARTIFACT_FIRST || zone > HS_ARTIFACT_LAST) return -1;
    return zone - HS_ARTIFACT_FIRST;
}

const char* hs_zone_info_key(HsZone zone) {
    switch (zone) {
    case HS_PORTRAIT: return "HERO_INFO_HERO_SCREEN";
    case HS_ATTACK: return "HERO_INFO_ATTACK";
    case HS_DEFENSE: return "HERO_INFO_DEFENSE";
    case HS_SPELL_POWER: return "HERO_INFO_SPELLPOWER";
    case HS_KNOWLEDGE: return "HERO_INFO_KNOWLEDGE";
    case HS_STATUS_TOP:
    case HS_STATUS_BOTTOM: return "HERO_INFO_ADDITIONAL";
    case HS_MORALE: return "HERO_VIEW_MORALE_INFO";
    case HS_LUCK: return "HERO_VIEW_LUCK_INFO";
    case HS_EXPERIENCE: return "HERO_INFO_EXPERIENCE";
    case HS_CREST: return "HERO_INFO_KINGDOM";
    case HS_EXIT: return "HERO_INFO_EXIT";
    case HS_DISMISS: return "HERO_DISMISS_NAME_CLASS";
    default: break;
    }
    if (hs_zone_army_slot(zone) >= 0) return "HERO_SELECT_CREATURE";
    if (hs_zone_artifact_slot(zone) >= 0) return nullptr;
    return "HERO_INFO_HERO_SCREEN";
}

}  // namespace vorn1
