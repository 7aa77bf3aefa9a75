#include "datakit/kit_town.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <vector>

#include "world/spell_table.h"
#include "world/town_names.h"

namespace vorn1::kit {

std::map<std::string, std::string> town_english_strings() {
    std::map<std::string, std::string> m;
    for (const NameKeyPair& p : kCityKey) m.emplace(p.key, p.name);
    m["STRUCT_PYRAMID"] = "Pyramid";
    for (const NameKeyPair& p : kHeroKey) m[p.key] = p.name;
    for (const NameKeyPair& p : kKey) m[p.key] = p.name;
    for (const NameIdPair& p : kId) m[creature_plural_key(p.name)] = p.name;
    for (const SpellInfo& s : SPELL_TABLE) {
        char key[16];
        std::snprintf(key, sizeof key, "SPELLNAME_%02d", s.id);
        m[key] = s.name;
    }
    m["SPELLNAME_19"] = "Resurrect";
    static const char* const kDescriptions[kSpellCount] = {
        "Raises a friendly stack's damage to its best roll.",
        "Lowers an enemy stack's damage to its worst roll.",
        "Strips every spell from one stack.",
        "Halves the damage a friendly stack takes from missiles.",
        "Slows an enemy stack to half its speed.",
        "Shows every mine on the world map.",
        "Shows every resource heap on the world map.",
        "Makes a friendly stack immune to magic.",
        "Blinds an enemy stack for a time.",
        "Heals a friendly stack and removes harmful spells.",
        "Speeds a friendly stack up.",
        "Strikes an enemy stack with lightning.",
        "Calls the nearest free boat to the hero's shore.",
        "Burns the undead of one stack.",
        "Shows every artifact on the world map.",
        "Drives an enemy stack to attack its nearest neighbour.",
        "Bursts into flame over a stack and the hexes around it.",
        "Shows other players' heroes in full until the turn ends.",
        "Holds an enemy stack where it stands.",
        "Brings the fallen of a friendly stack back to life.",
        "Calls a storm down on the field.",
        "Moves a friendly stack to any free hex.",
        "Shows every hero on the world map.",
        "Shows every town on the world map.",
        "Burns every creature on the field.",
        "Carries the hero to a nearby tile.",
        "Rains rock on a stack and the hexes around it.",
        "Carries the hero to the nearest free town of his own.",
        "Shows the whole world map.",
    };
    for (int id = 0; id < kSpellCount; ++id) {
        char key[16];
        std::snprintf(key, sizeof key, "SPELLDESC_%02d", id);
        m[key] = kDescriptions[id];
    }
    m["SPELLBOOK_NO_SPELLS"] = "You have no spells to cast.";
    m["SPELLBOOK_INFO_NEXT"] = "View next page";
    m["SPELLBOOK_INFO_PREV"] = "View previous page";
    m["SPELLBOOK_INFO_ADV"] = "View adventure spells";
    m["SPELLBOOK_INFO_CMB"] = "View combat spells";
    m["SPELLBOOK_INFO_EXIT"] = "Close Spellbook";
    return m;
}

void write_town_seeds(const std::string& out_dir) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(out_dir) / "town_rules";
    fs::create_directories(dir);
    // Byte programs of the fuzz target: a 16-byte set-up, then 8-byte operations
    // (0 purchase, 1 trade, 2 weekly growth, 3 affordable count).
    const std::vector<std::vector<uint8_t>> seeds = {
        {0x10, 0x27, 0, 0, 5, 0, 5, 0, 0x11, 0x05, 0, 0, 0, 0, 0, 0},
        {0x10, 0x27, 0, 0, 5, 0, 5, 0, 0x11, 0x05, 0, 0, 0, 0, 0, 0,  // rich knight town
         0, 0, 0, 5, 3, 0, 0, 0,                                      // buy 3 of slot 5
         1, 6, 0, 1, 0x88, 0x13, 0, 0,                                // trade 5000 gold for wood
         2, 0, 0, 0, 0, 0, 0, 0,                                      // new week
         0, 0, 0, 1, 0xff, 0xff, 0, 0},                               // buy 65535 of slot 1
        {0xff, 0xff, 0xff, 0x7f, 0xff, 0xff, 0xff, 0x7f, 0x1f, 0x13, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff,
         1, 5, 6, 9, 0xff, 0xff, 0xff, 0x7f,
         4, 255, 1, 2, 9, 0, 0, 0,
         3, 1, 0, 5, 0xff, 0xff, 0, 0},
    };
    int n = 0;
    for (const auto& s : seeds) {
        std::ofstream out(dir / ("seed" + std::to_string(n++)), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(s.data()), static_cast<std::streamsize>(s.size()));
    }
}

}  // namespace vorn1::kit
