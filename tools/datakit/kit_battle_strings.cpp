#include "datakit/kit_battle_strings.h"

namespace vorn1::kit {

std::map<std::string, std::string> battle_english_strings() {
    return {
        {"BATTLE_BEGINS", "The battle begins!"},
        {"BATTLE_SIEGE_BEGINS", "The siege begins!"},
        {"BATTLE_NEW_ROUND", "A new round begins."},
        {"BATTLE_BAD_MORALE", "Low morale causes the {0} to freeze in panic."},
        {"MORALE_TREASON", "Treason"},
        {"MORALE_AWFUL", "Awful"},
        {"MORALE_POOR", "Poor"},
        {"MORALE_NORMAL", "Normal"},
        {"MORALE_GOOD", "Good"},
        {"MORALE_GREAT", "Great"},
        {"MORALE_BLOOD", "Blood!"},
        {"LUCK_CURSED", "Cursed"},
        {"LUCK_AWFUL", "Awful"},
        {"LUCK_BAD", "Bad"},
        {"LUCK_NORMAL", "Normal"},
        {"LUCK_GOOD", "Good"},
        {"LUCK_GREAT", "Great"},
        {"LUCK_IRISH", "Irish"},
    };
}

}  // namespace vorn1::kit
