#pragma once
// The computer player's constant tables: creature worth, count curves, hero skill and spell worth.
#include <array>
#include <cstdint>

namespace vorn1 {

struct AIMonsterRecord {
    int32_t value;      // worth of one creature
    uint32_t flags;     // 0x04 narrow count curve, 0x08 a top-tier creature
    int8_t rating;      // grows with the creature's tier
};
constexpr uint32_t AIM_NARROW = 0x04;
constexpr uint32_t AIM_TOP_TIER = 0x08;
extern const std::array<AIMonsterRecord, 28> gMonsterDatabase;

// AI value of a creature; 0 for ids above 27.
int32_t ai_creature_value(int id);

// The count-curve factor of a stack (f32 values widened); 0 for a count of 0.
double ai_count_factor(int creature, int count);

extern const std::array<float, 41> gStatPower;        // by attack + defense + 20
extern const std::array<float, 21> gSpellCastNumMod;  // by casts held of one spell
extern const std::array<int16_t, 29> gSpellAIValue;
extern const std::array<uint8_t, 29> gSpellAIFlags;   // 0x01 scales with power, 0x02 counts, 0x04 never counted
constexpr uint8_t SPELL_AI_SCALES = 0x01;
constexpr uint8_t SPELL_AI_COUNTS = 0x02;

// Single-precision constants the rules widen to double.
constexpr double AI_F32_073 = static_cast<double>(0.73f);
// The creature purchase's weight, a double as it stands (not widened from single precision).
constexpr double AI_PURCHASE_WEIGHT = 1.1576250118285416;

}  // namespace vorn1
