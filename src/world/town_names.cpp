#include "world/town_names.h"

#include <cstring>

#include "lang/runtime_strings.h"

namespace vorn1 {

const NameKeyPair kCityKey[kCityKeyCount] = {
    {"Oskarn", "CITYNAME_00"},       {"Algary", "CITYNAME_01"},      {"Atlantium", "CITYNAME_02"},
    {"Basenji", "CITYNAME_03"},      {"Baywatch", "CITYNAME_04"},    {"Blackfang", "CITYNAME_05"},
    {"Blackridge", "CITYNAME_06"},   {"Blackwind", "CITYNAME_07"},   {"Bloodreign", "CITYNAME_08"},
    {"Burlock", "CITYNAME_09"},      {"Dragadune", "CITYNAME_10"},   {"Dragontooth", "CITYNAME_11"},
    {"Dusk", "CITYNAME_12"},         {"Erliquin", "CITYNAME_13"},    {"Fountainhead", "CITYNAME_14"},
    {"Greywind", "CITYNAME_15"},     {"Hillstone", "CITYNAME_16"},   {"Kalindra", "CITYNAME_17"},
    {"Lakeside", "CITYNAME_18"},     {"Middle Gate", "CITYNAME_19"}, {"Necropolis", "CITYNAME_20"},
    {"NightShadow", "CITYNAME_21"},  {"Olympus", "CITYNAME_22"},     {"Pinehurst", "CITYNAME_23"},
    {"Portsmith", "CITYNAME_24"},    {"Sansobar", "CITYNAME_25"},    {"Sandcaster", "CITYNAME_26"},
    {"Tremwick", "CITYNAME_27"},     {"Tundara", "CITYNAME_28"},     {"Vertigo", "CITYNAME_29"},
    {"Vulcania", "CITYNAME_30"},     {"Whiteshield", "CITYNAME_31"}, {"Wildabar", "CITYNAME_32"},
    {"Winterkill", "CITYNAME_33"},   {"Woodhaven", "CITYNAME_34"},   {"Xabran", "CITYNAME_35"},
    {"Gateway", "CAMP1_CITYNAME"},   {"Castle Varkhelm", "CAMP5_CITYNAME"},
    {"Castle Brudek", "CAMP6_CITYNAME"}, {"Castle Selvina", "CAMP7_CITYNAME"},
    {"Castle Oskarn", "CAMP8_CITYNAME"}, {"PYRAMID", "STRUCT_PYRAMID"},
};

const NameKeyPair kHeroKey[kHeroKeyCount] = {
    {"Lord Zevoraz", "HERONAME_00"}, {"Lord Vaziv", "HERONAME_01"}, {"Sir Gallant", "HERONAME_02"},
    {"Arturius", "HERONAME_03"},     {"Tyro", "HERONAME_04"},       {"Maxiumus", "HERONAME_05"},
    {"Ector", "HERONAME_06"},        {"Zureriz", "HERONAME_07"},    {"Zedarov", "HERONAME_08"},
    {"Zerarur", "HERONAME_09"},      {"Ergon", "HERONAME_10"},      {"Kelzen", "HERONAME_11"},
    {"Razud", "HERONAME_12"},        {"Vaza Zide", "HERONAME_13"},  {"Diduvo", "HERONAME_14"},
    {"Atlas", "HERONAME_15"},        {"Yog", "HERONAME_16"},        {"Ruvuvaz", "HERONAME_17"},
    {"Rerev", "HERONAME_18"},        {"Redazur", "HERONAME_19"},    {"Ziriduz", "HERONAME_20"},
    {"Vizedav", "HERONAME_21"},      {"Luna", "HERONAME_22"},       {"Razov", "HERONAME_23"},
    {"Zivozer", "HERONAME_24"},      {"Gem", "HERONAME_25"},        {"Zurizu", "HERONAME_26"},
    {"Rero", "HERONAME_27"},         {"Zorud", "HERONAME_28"},      {"Dazezir", "HERONAME_29"},
    {"Rovod", "HERONAME_30"},        {"Arie", "HERONAME_31"},       {"Zivozoz", "HERONAME_32"},
    {"Revuza", "HERONAME_33"},       {"Zazizuviv", "HERONAME_34"},  {"Dodora", "HERONAME_35"},
};

const NameKeyPair kKey[kStructureKeyCount] = {
    {"Mage Guild, Level 1", "STRUCT_MAGE_LVL1"},
    {"Mage Guild, Level 2", "STRUCT_MAGE_LVL2"},
    {"Mage Guild, Level 3", "STRUCT_MAGE_LVL3"},
    {"Mage Guild, Level 4", "STRUCT_MAGE_LVL4"},
    {"Shipyard", "STRUCT_SHIPYARD"},
    {"Thieves' Guild", "STRUCT_THIEVES"},
    {"Well", "STRUCT_WELL"},
    {"Tavern", "STRUCT_TAVERN"},
    {"Thatched Hut", "STRUCT_THATCHED_HUT"},
    {"Archery Range", "STRUCT_ARCHERY_RANGE_K"},  // knight and sorceress share this one text
    {"Blacksmith", "STRUCT_BLACKSMITH"},
    {"Armory", "STRUCT_ARMORY"},
    {"Jousting Arena", "STRUCT_JOUSTING_ARENA"},
    {"Cathedral", "STRUCT_CATHEDRAL"},
    {"Hut", "STRUCT_HUT"},
    {"Stick Hut", "STRUCT_STICK_HUT"},
    {"Den", "STRUCT_DEN"},
    {"Adobe", "STRUCT_ADOBE"},
    {"Bridge", "STRUCT_BRIDGE"},
    {"Pyramid", "STRUCT_PYRAMID"},
    {"Treehouse", "STRUCT_TREEHOUSE"},
    {"Cottage", "STRUCT_COTTAGE"},
    {"Stonehenge", "STRUCT_STONEHENGE"},
    {"Fenced Meadow", "STRUCT_FENCED_MEADOW"},
    {"Red Tower", "STRUCT_RED_TOWER"},
    {"Cave", "STRUCT_CAVE"},
    {"Crypt", "STRUCT_CRYPT"},
    {"Nest", "STRUCT_NEST"},
    {"Maze", "STRUCT_MAZE"},
    {"Swamp", "STRUCT_SWAMP"},
    {"Black Tower", "STRUCT_BLACK_TOWER"},
};

const NameIdPair kId[kCreaturePluralCount] = {
    {"Peasants", 0}, {"Archers", 1},  {"Pikemen", 2},    {"Swordsmen", 3},  {"Cavalry", 4},    {"Paladins", 5},
    {"Goblins", 6},  {"Orcs", 7},     {"Wolves", 8},     {"Ogres", 9},      {"Trolls", 10},    {"Cyclopes", 11},
    {"Sprites", 12}, {"Dwarves", 13}, {"Elves", 14},     {"Druids", 15},    {"Unicorns", 16},  {"Phoenixes", 17},
    {"Centaurs", 18}, {"Gargoyles", 19}, {"Griffins", 20}, {"Minotaurs", 21}, {"Hydras", 22}, {"Dragons", 23},
};

namespace {

template <size_t N>
std::string find_key(const NameKeyPair (&table)[N], const char* name) {
    for (const NameKeyPair& p : table)
        if (std::strcmp(p.name, name) == 0) return p.key;
    return "";
}

// A name holding an embedded NUL is not a table name, so only whole strings are looked up.
bool has_nul(const std::string& s) { return s.find('\0') != std::string::npos; }

std::string localized(const std::string& key, const std::string& english) {
    if (key.empty()) return english;
    return strings().get(key);
}

}  // namespace

std::string castle_name_key(const std::string& english) {
    return has_nul(english) ? "" : find_key(kCityKey, english.c_str());
}

std::string hero_name_key(const std::string& english) {
    return has_nul(english) ? "" : find_key(kHeroKey, english.c_str());
}

std::string structure_name_key(const char* english) { return english ? find_key(kKey, english) : ""; }

std::string creature_plural_key(const char* english) {
    if (!english) return "";
    for (const NameIdPair& p : kId)
        if (std::strcmp(p.name, english) == 0) return std::string("CREATURE_") + kCreatureKeyStem[p.id] + "_PLURAL";
    return "";
}

std::string localized_castle_name(const std::string& english) { return localized(castle_name_key(english), english); }

std::string localized_hero_name(const std::string& english) { return localized(hero_name_key(english), english); }

std::string localized_structure_name(const char* english) {
    if (!english) return "";
    return localized(structure_name_key(english), english);
}

std::string localized_creature_plural_en(const char* english) {
    if (!english) return "";
    const std::string key = creature_plural_key(english);
    if (key.empty()) return english;
    return std::string(strings().get(key).c_str());  // ends at the first NUL
}

}  // namespace vorn1
