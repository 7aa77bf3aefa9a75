#include "datakit/kit_battle.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace vorn1::kit {

std::map<std::string, std::string> battle_english_strings() {
    return {
        {"BATTLE_BEGINS", "The battle begins!"},
        {"BATTLE_SELECT_TARGET_HEX", "Select the spell's target."},
        {"BATTLE_SELECT_SPELL_TARGET", "Select a creature to cast the spell on."},
        {"BATTLE_SELECT_TELEPORT", "Select a creature of yours to teleport."},
        {"BATTLE_SELECT_TELEPORT_DEST", "Select where the creature goes."},
        {"BATTLE_CANNOT_TELEPORT", "The creature cannot be teleported there."},
        {"BATTLE_TELEPORTING", "Teleporting..."},
        {"BATTLE_SELECT_RESURRECT", "Select a creature of yours to resurrect."},
        {"BATTLE_SELECT_UNDEAD", "Select an undead creature."},
        {"BATTLE_RESIST", "The {0} resist the spell."},
        {"BATTLE_TURN_UNDEAD_LIVING", "The spell has no power over the living."},
        {"BATTLE_TURN_UNDEAD", "The {0} are destroyed."},
        {"BATTLE_RESURRECT", "{0} hit points are restored to the {1}."},
        {"BATTLE_DISPEL", "Every spell on the field is dispelled."},
        {"BATTLE_CURE", "Your creatures are cured of {0} hit points."},
        {"BATTLE_SPELL_STRIKES", "{0} deals {1} damage to every creature."},
        {"BATTLE_SIEGE_BEGINS", "The siege begins!"},
        {"BATTLE_BALLISTA_SECTION", "A section of the wall is destroyed!"},
        {"BATTLE_BALLISTA_WALL", "The wall is damaged."},
        {"BATTLE_WALLS_FALLEN", "The walls have fallen!"},
        {"BATTLE_KEEP_DESTROYED", "The keep is destroyed!"},
        {"BATTLE_NEW_ROUND", "A new round begins."},
        {"BATTLE_BAD_MORALE", "Low morale causes the {0} to freeze in panic."},
        {"BATTLE_CANNOT_MOVE", "That stack cannot move there."},
        {"BATTLE_STACK_TURN", "The {0} take their turn."},
        {"BATTLE_AUTO_ENGAGED", "Automatic combat engaged."},
        {"BATTLE_AUTO_ALREADY", "Automatic combat is already on."},
        {"BATTLE_ATTACKS", "The {0} attack the {1}."},
        {"BATTLE_SHOOTS", "The {0} shoot at the {1}."},
        {"BATTLE_DOES_DAMAGE", "The {0} do {1} damage to the {2}."},
        {"BATTLE_RETALIATES", "The {0} strike back for {1} damage."},
        {"BATTLE_STRIKES_AGAIN", "The {0} strike again."},
        {"BATTLE_BERSERK_ATTACKS", "The berserk {0} attack the {1}."},
        {"BATTLE_BREATH_HITS", "The breath of the {0} hits the {1} for {2} damage."},
        {"BATTLE_ALSO_HIT", "The {0} behind are hit for {1} damage."},
        {"BATTLE_HYDRA_STRIKES", "The Hydra's heads strike the {0} for {1} damage."},
        {"BATTLE_GENIE", "The Genies' curse halves the {0}!"},
        {"BATTLE_GHOST_ABSORB", "{0} of the slain rise as Ghosts."},
        {"BATTLE_GOOD_LUCK", "Good luck shines on the {0}."},
        {"BATTLE_BAD_LUCK", "Bad luck befalls the {0}."},
        {"BATTLE_GOOD_MORALE", "High morale gives the {0} another turn."},
        {"BATTLE_KEEP_FIRES", "The keep fires at the {0} for {1} damage."},
        {"BATTLE_STAT_ATTACK", "Attack: {0}"},
        {"BATTLE_STAT_DEFENSE", "Defense: {0}"},
        {"BATTLE_STAT_SPELLPOWER", "Spell Power: {0}"},
        {"BATTLE_STAT_KNOWLEDGE", "Knowledge: {0}"},
        {"BATTLE_STAT_SHOTS", "Shots Left: {0}"},
        {"BATTLE_STAT_HP", "Hit Points: {0} of {1} ({2})"},
        {"BATTLE_EXIT", "EXIT"},
        {"HERO_NAME_THE_CLASS", "{0} the {1}"},
        {"HERO_GENERIC", "Hero"},
        {"BATTLE_STATES", "{0} states:"},
        {"BATTLE_THE_ENEMY", "The enemy"},
        {"BATTLE_ACCEPT1", "\"I will accept your surrender"},
        {"BATTLE_ACCEPT2", "and grant you and your troops"},
        {"BATTLE_ACCEPT3", "safe passage for the price of"},
        {"BATTLE_PRICE_OF", "{0} gold.\""},
        {"BATTLE_RETREAT_QUESTION", "Retreat? Your hero and army will leave the battle and the map."},
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

namespace {
void put_i32(std::vector<uint8_t>& v, int32_t x) {
    for (int i = 0; i < 4; ++i) v.push_back(static_cast<uint8_t>(static_cast<uint32_t>(x) >> (8 * i)));
}

// One side of the fuzz input: 5 ids, 5 counts, attack, defense, luck, morale.
void put_side(std::vector<uint8_t>& v, std::vector<uint8_t> ids, std::vector<int32_t> counts, int32_t attack,
              int32_t defense, int32_t luck, int32_t morale) {
    for (uint8_t id : ids) v.push_back(id);
    for (int32_t c : counts) put_i32(v, c);
    for (int32_t x : {attack, defense, luck, morale}) put_i32(v, x);
}
}  // namespace

void write_battle_seeds(const std::string& out_dir) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(out_dir) / "battle_rules";
    fs::create_directories(dir);
    std::vector<std::vector<uint8_t>> seeds;
    {
        std::vector<uint8_t> v;
        put_i32(v, 2024);
        put_side(v, {4, 0, 255, 255, 255}, {5, 50, 0, 0, 0}, 3, 1, 0, 0);
        put_side(v, {8, 6, 13, 255, 255}, {4, 20, 8, 0, 0}, 0, 2, 0, -1);
        seeds.push_back(v);
    }
    {
        std::vector<uint8_t> v;
        put_i32(v, 0);
        put_side(v, {1, 14, 23, 26, 27}, {900, 700, 40, 500, 10}, 127, -5, 3, -3);
        put_side(v, {10, 22, 17, 200, 12}, {300, 120, 60, 2147483647, -4}, 40, 127, -3, 3);
        v.push_back(1);  // siege
        for (int i = 0; i < 10; ++i) {
            v.push_back(static_cast<uint8_t>(i * 7));  // status
            v.push_back(static_cast<uint8_t>(i));      // rounds
            v.push_back(static_cast<uint8_t>(i & 1));  // disabled
        }
        seeds.push_back(v);
    }
    seeds.push_back({});
    int n = 0;
    for (const auto& s : seeds) {
        std::ofstream out(dir / ("seed" + std::to_string(n++)), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(s.data()), static_cast<std::streamsize>(s.size()));
    }
}

}  // namespace vorn1::kit
