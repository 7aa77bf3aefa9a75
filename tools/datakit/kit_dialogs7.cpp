#include "datakit/kit_dialogs7.h"

namespace vorn1::kit {

std::map<std::string, std::string> dialogs7_english_strings() {
    return {
        {"RECRUIT_TITLE", "Recruit {0}"},
        {"RECRUIT_AVAILABLE", "Available: {0}"},
        {"CASTLE_NUMBER_TO_BUY", "Number to buy:"},
        {"CASTLE_TOTAL_RESOURCE_COST", "Total cost:"},
        {"TROOP_DISMISS_ARMY", "Are you sure you want to dismiss this army?"},
        {"BATTLE_STAT_ATK_SKILL", "Attack: {0} ({1})"},
        {"BATTLE_STAT_DEF_SKILL", "Defense: {0} ({1})"},
        {"BATTLE_STAT_DAMAGE", "Damage: {0} - {1}"},
        {"BATTLE_STAT_SPEED", "Speed: {0}"},
        {"BATTLE_STAT_MORALE", "Morale: {0}"},
        {"BATTLE_STAT_LUCK", "Luck: {0}"},
        {"SPEED_SLOW", "Slow"},
        {"SPEED_MEDIUM", "Medium"},
        {"SPEED_FAST", "Fast"},
        {"TROOP_STAT_SHOTS", "Shots: {0}"},
        {"TROOP_STAT_HP", "Hit Points: {0} ({1})"},
        {"LEVELUP_GAINED_ONE", "{0} has gained a level."},
        {"LEVELUP_GAINED_MANY", "{0} has gained {1} levels."},
        {"LEVELUP_STAT", "{0} +{1}"},
        {"HERO_ATTACK_SKILL", "Attack Skill"},
        {"HERO_DEFENSE_SKILL", "Defense Skill"},
        {"HERO_SPELL_POWER", "Spell Power"},
        {"HERO_KNOWLEDGE", "Knowledge"},
        {"LEVELUP_LEVEL", "Level {0}"},
        {"LEVELUP_CURRENT_XP", "Experience: {0}"},
        {"LEVELUP_NEXT_LEVEL", "Next level: {0}"},
        {"LEVELUP_MAX", "Highest level reached"},
        {"TRADE_POST_TITLE", "Trading Post"},
        {"TRADE_THIEF_FLAVOR", "Please inspect our fine wares. If you feel like offering a trade, click on the items "
                               "you wish to trade with and for."},
        {"TRADE_YOUR_RESOURCES", "Your Resources"},
        {"TRADE_FOR", "Available Trades"},
        {"TRADE_MAX", "MAX"},
        {"TRADE_BTN", "TRADE"},
        {"UI_EXIT", "EXIT"},
        {"HEROPOOL_RECRUIT_HERO", "Recruit Hero"},
        {"CLASS_KNIGHT", "Knight"},
        {"CLASS_BARBARIAN", "Barbarian"},
        {"CLASS_SORCERESS", "Sorceress"},
        {"CLASS_WARLOCK", "Warlock"},
    };
}

}  // namespace vorn1::kit
