#include "world/creature_table.h"

#include "world/xorshift.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

const std::array<CreatureStats, kCreatureCount> CSV_STATS = {{
    {"Peasant", 1, 1, 0, 1, 1, 1, 1, false},
    {"Archer", 5, 3, 12, 2, 3, 10, 1, false},
    {"Pikeman", 5, 9, 0, 3, 4, 15, 2, false},
    {"Swordsman", 7, 9, 0, 4, 6, 25, 2, false},
    {"Cavalry", 10, 9, 0, 5, 10, 30, 3, false},
    {"Paladin", 11, 12, 0, 10, 20, 50, 3, false},
    {"Goblin", 3, 1, 0, 1, 2, 3, 2, false},
    {"Orc", 3, 4, 8, 2, 3, 10, 1, false},
    {"Wolf", 6, 2, 0, 3, 5, 20, 3, false},
    {"Ogre", 9, 5, 0, 4, 6, 40, 1, false},
    {"Troll", 10, 5, 8, 5, 7, 40, 2, false},
    {"Cyclops", 12, 9, 0, 12, 24, 80, 2, false},
    {"Sprite", 4, 2, 0, 1, 2, 2, 2, false},
    {"Dwarf", 6, 5, 0, 2, 4, 20, 1, false},
    {"Elf", 4, 3, 24, 2, 3, 15, 2, false},
    {"Druid", 7, 5, 8, 5, 8, 25, 3, false},
    {"Unicorn", 10, 9, 0, 7, 14, 40, 2, false},
    {"Phoenix", 12, 10, 0, 20, 40, 100, 3, false},
    {"Centaur", 3, 1, 8, 1, 2, 5, 2, false},
    {"Gargoyle", 4, 7, 0, 2, 3, 15, 3, false},
    {"Griffin", 6, 6, 0, 3, 5, 25, 2, false},
    {"Minotaur", 9, 8, 0, 5, 10, 35, 2, false},
    {"Hydra", 8, 9, 0, 6, 12, 75, 1, false},
    {"Dragon", 12, 12, 0, 25, 50, 200, 2, false},
    {"Rogue", 6, 1, 0, 1, 2, 4, 3, false},
    {"Nomad", 7, 6, 0, 2, 5, 20, 3, false},
    {"Ghost", 8, 7, 0, 4, 6, 20, 2, false},
    {"Genie", 10, 9, 0, 20, 30, 50, 3, false},
}};


namespace {
const std::string& unknown_name() {
    static const std::string s = "Unknown";
    return s;
}
}  // namespace

CreatureStats creature_stats(uint8_t id) {
    if (id >= kCreatureCount) {
        CreatureStats s;
        s.speed = 2;
        return s;
    }
    CreatureStats s = CSV_STATS[id];
    s.shooter = s.shots > 0;
    return s;
}

bool creature_can_fly(uint8_t id) {
    switch (id) {
        case 12: case 17: case 19: case 20: case 23: case 26: case 27:
            return true;
        default:
            return false;
    }
}

int creature_speed_rank(uint8_t id) {
    return id < kCreatureCount ? CSV_STATS[id].speed : 2;
}

int movement_range(uint8_t id) {
    if (id >= kCreatureCount) return 2;
    int speed = CSV_STATS[id].speed;
    return creature_can_fly(id) ? speed * 3 : speed;
}

bool creature_is_magic_immune(uint8_t id) { return id == 23; }

const char* creature_name(uint8_t id) {
    return id < kCreatureCount ? CSV_STATS[id].name : "Unknown";
}

const std::string& creature_name_nom(uint8_t id) {
    if (id >= kCreatureCount) return unknown_name();
    return strings().get(std::string("CREATURE_") + kBattleCreatureStem[id] + "_PLURAL");
}

const std::string& creature_name_obj(uint8_t id) {
    if (id >= kCreatureCount) return unknown_name();
    return strings().get(std::string("CREATURE_") + kBattleCreatureStem[id] + "_ACC");
}

bool roll_spell_resistance(uint8_t id, int spell, uint32_t& rng) {
    if (id == 23) return true;
    if (id != 13) return false;
    uint32_t chance = 0;
    switch (spell) {
        case 1: case 4: case 11: case 15: case 18:
            chance = 20;
            break;
        case 16: case 20: case 24: case 26:
            chance = 25;
            break;
        default:
            return false;
    }
    return xorshift32_next(rng) % 100 < chance;
}

const char* morale_label_key(int8_t value) {
    if (value < -2) return "MORALE_TREASON";
    switch (value) {
        case -2: return "MORALE_AWFUL";
        case -1: return "MORALE_POOR";
        case 0: return "MORALE_NORMAL";
        case 1: return "MORALE_GOOD";
        case 2: return "MORALE_GREAT";
        default: return "MORALE_BLOOD";
    }
}

const char* luck_label_key(int8_t value) {
    if (value < -2) return "LUCK_CURSED";
    switch (value) {
        case -2: return "LUCK_AWFUL";
        case -1: return "LUCK_BAD";
        case 0: return "LUCK_NORMAL";
        case 1: return "LUCK_GOOD";
        case 2: return "LUCK_GREAT";
        default: return "LUCK_IRISH";
    }
}

const std::string& morale_label(int8_t value) { return strings().get(morale_label_key(value)); }
const std::string& luck_label(int8_t value) { return strings().get(luck_label_key(value)); }

}  // namespace vorn1
