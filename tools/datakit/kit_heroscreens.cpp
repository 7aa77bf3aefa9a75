#include "datakit/kit_heroscreens.h"

#include <cstdio>

#include "town/heroscrn_tooltip.h"

namespace vorn1::kit {

std::map<std::string, std::string> heroscreens_english_strings() {
    std::map<std::string, std::string> m = {
        {"HERO_NAME_THE_CLASS", "{0} the {1}"},
        {"HERO_GENERIC", "Hero"},
        {"HERO_EXPERIENCE", "Experience"},
        {"HERO_INFO_HERO_SCREEN", "Hero Screen"},
        {"HERO_INFO_ATTACK", "View Attack Skill Info"},
        {"HERO_INFO_DEFENSE", "View Defense Skill Info"},
        {"HERO_INFO_SPELLPOWER", "View Spell Power Info"},
        {"HERO_INFO_KNOWLEDGE", "View Knowledge Info"},
        {"HERO_INFO_ADDITIONAL", "View Additional Stats"},
        {"HERO_INFO_EXPERIENCE", "View Experience Info"},
        {"HERO_INFO_KINGDOM", "Your Kingdom"},
        {"HERO_INFO_EXIT", "Exit Hero Screen"},
        {"HERO_INFO_EMPTY", "Empty artifact slot"},
        {"HERO_VIEW_MORALE_INFO", "View Morale Info: {0}"},
        {"HERO_VIEW_LUCK_INFO", "View Luck Info: {0}"},
        {"HERO_DISMISS_NAME_CLASS", "Dismiss {0} the {1}"},
        {"HERO_SELECT_CREATURE", "Select {0}"},
        {"HERO_VIEW_ARTIFACT_GENERIC", "View Artifact"},
        {"HERO_VIEW_ARTIFACT_INFO", "View {0} Info"},
        {"HERO_VIEW_SPELLS", "View Spells"},
        {"HERO_TT_ATTACK", "Your attack skill is a bonus added to each creature's attack skill."},
        {"HERO_TT_DEFENSE", "Your defense skill is a bonus added to each creature's defense skill."},
        {"HERO_TT_SPELLPOWER", "Your spell power determines the length or power of a spell."},
        {"HERO_TT_KNOWLEDGE", "Your knowledge determines how many spells you can learn, and how many times each."},
        {"HERO_TT_EXPERIENCE", "Experience gained in battle raises your hero's level and skills."},
        {"HERO_MORALE_TITLE", "{0} Morale"},
        {"HERO_LUCK_TITLE", "{0} Luck"},
        {"HERO_MORALE_BAD", "Bad morale may cause your armies to freeze in combat."},
        {"HERO_MORALE_GOOD", "Good morale may give your armies extra attacks in combat."},
        {"HERO_MORALE_NEUTRAL", "Neutral morale means your armies will never be blessed with extra attacks or "
                                "freeze in combat."},
        {"HERO_LUCK_BAD", "Bad luck sometimes falls on your armies in combat, causing their attacks to only do "
                          "half damage."},
        {"HERO_LUCK_GOOD", "Good luck sometimes lets your armies get lucky in combat, doubling their damage."},
        {"HERO_LUCK_NEUTRAL", "Neutral luck means your armies will never get lucky or unlucky attacks on the "
                              "enemy."},
        {"HERO_MORALE_MODIFIERS", "Current Morale Modifiers:"},
        {"HERO_LUCK_MODIFIERS", "Current Luck Modifiers:"},
        {"MOD_ANGEL_STATUE", "Statue visited +2"},
        {"MOD_BUOY", "Buoy visited +1"},
        {"MOD_OASIS", "Oasis visited +1"},
        {"MOD_GRAVE_ROBBER", "Grave robber -1"},
        {"MOD_SHIPWRECK", "Shipwreck robber -1"},
        {"MOD_KNIGHT_BONUS", "Knight bonus +1"},
        {"MOD_MIXED_ALIGN", "Troops of 3 alignments -1"},
        {"MOD_MEDAL_VALOR", "Medal of Valor +1"},
        {"MOD_MEDAL_COURAGE", "Medal of Courage +1"},
        {"MOD_MEDAL_HONOR", "Medal of Honor +1"},
        {"MOD_MEDAL_DISTINCTION", "Medal of Distinction +1"},
        {"MOD_ZIZEZO_M2", "Zizezo of Misfortune -2"},
        {"MOD_ZIZEZO_M3", "Zizezo of Misfortune -3"},
        {"MOD_FAERIE_RING", "Faerie ring visited +1"},
        {"MOD_FOUNTAIN", "Fountain visited +1"},
        {"MOD_RABBIT_FOOT", "Rabbit's Foot +1"},
        {"MOD_HORSESHOE", "Horseshoe +1"},
        {"MOD_LUCKY_COIN", "Lucky Coin +1"},
        {"MOD_CLOVER", "Four-Leaf Clover +1"},
        {"MORALE_ALL_TROOPS", "All {0} troops +1"},
        {"MORALE_FACTION_HUMAN", "human"},
        {"MORALE_FACTION_PLAINS", "plains"},
        {"MORALE_FACTION_FOREST", "forest"},
        {"MORALE_FACTION_MOUNTAIN", "mountain"},
        {"MORALE_FACTION_NEUTRAL", "neutral"},
        {"ARTIFACTDESC_ZIZEZO_BADLUCK", "The Zizezo of Misfortune greatly decreases your luck."},
        {"SWAP_HERO_MEETS", "{0} meets {1}"},
        {"SWAP_CANNOT_TRADE", "The spellbook cannot be traded."},
        {"MAGEGUILD_SPELLS_ADDED", "The above spells have been added to your book."},
        {"MAGEGUILD_SPELLS_AVAILABLE", "The above spells are available here."},
        {"MAGEGUILD_BUY_SPELLBOOK", "Buy a spellbook?"},
        {"MAGEGUILD_RESOURCE_COST", "Resource cost:"},
        {"MAGEGUILD_NOT_ENOUGH_GOLD", "You cannot afford a spellbook."},
        {"MAGEGUILD_NO_ARTIFACT_SLOT", "Your hero has no room for a spellbook."},
        {"WELL_AVAILABLE", "Available:"},
        {"WELL_NONE", "None"},
        {"WELL_GROWTH_RATE", "Growth rate:"},
        {"WELL_PER_WEEK", "{0} per week"},
        {"WELL_NA", "N/A"},
        {"CASTLE_TOWN_POP_STATS", "Town Population Information and Statistics"},
        {"THIEVES_COL_FIRST", "1st"},
        {"THIEVES_COL_SECOND", "2nd"},
        {"THIEVES_COL_THIRD", "3rd"},
        {"THIEVES_COL_FOURTH", "4th"},
        {"THIEVES_ROW_TOWNS", "Number of Towns:"},
        {"THIEVES_ROW_CASTLES", "Number of Castles:"},
        {"THIEVES_ROW_HEROES", "Number of Heroes:"},
        {"THIEVES_ROW_GOLD", "Gold in Treasury:"},
        {"THIEVES_ROW_WCO", "Wood, Ore & Crystal:"},
        {"THIEVES_ROW_GSM", "Gems, Sulfur & Mercury:"},
        {"THIEVES_ROW_OBELISKS", "Obelisks Found:"},
        {"THIEVES_ROW_ARMY", "Total Army Strength:"},
        {"THIEVES_TITLE", "Thieves' Guild: Player Rankings"},
        {"TAVERN_TITLE", "The barkeep whispers a rumor:"},
        {"TAVERN_BODY", "The roads are quiet this week; travellers speak only of the weather."},
        {"SHIPYARD_BUILD", "Build a new ship:"},
        {"SHIPYARD_COST", "Resource cost:"},
    };
    for (const ArtifactInfo& a : ARTIFACT_INFO) {
        char key[24];
        std::snprintf(key, sizeof key, "ARTIFACTDESC_%02d", a.id);
        m[key] = a.description;
    }
    return m;
}

}  // namespace vorn1::kit
