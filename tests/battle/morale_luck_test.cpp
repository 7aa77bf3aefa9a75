#include <gtest/gtest.h>

#include "battle/morale_luck.h"

using namespace vorn1;

namespace {
MoraleLuckInputs army(std::initializer_list<std::pair<int, int>> slots, uint8_t hero_class = 1) {
    MoraleLuckInputs in;
    in.hero_class = hero_class;
    int i = 0;
    for (auto [id, count] : slots) {
        in.army_ids[i] = static_cast<uint8_t>(id);
        in.army_counts[i] = count;
        ++i;
    }
    return in;
}
}  // namespace

TEST(Morale, KnightAndArmyMix) {
    EXPECT_EQ(battle_morale(army({{0, 10}}, 0), false), 1);              // knight, lone stack
    EXPECT_EQ(battle_morale(army({{0, 10}, {1, 5}}, 0), false), 2);      // knight, one faction
    EXPECT_EQ(battle_morale(army({{0, 10}, {24, 5}}), false), 0);        // Peasants + Rogues: two
    EXPECT_EQ(battle_morale(army({{0, 1}, {6, 1}, {12, 1}}), false), -1);
    EXPECT_EQ(battle_morale(army({{0, 1}, {6, 1}, {200, 1}}), false), -1);  // 200 joins the 24+ group
    // A slot with troops but no creature still counts as a stack.
    EXPECT_EQ(battle_morale(army({{255, 3}, {0, 1}}), false), 1);
    // Empty and zero-count slots do not.
    EXPECT_EQ(battle_morale(army({{0, 0}, {6, 1}}), false), 0);
    MoraleLuckInputs k = army({{0, 10}, {1, 5}}, 0);
    k.bonus_flags = 0x04;
    EXPECT_EQ(battle_morale(k, false), 3);
    EXPECT_EQ(creature_faction_group(23), 3);
    EXPECT_EQ(creature_faction_group(24), 4);
    EXPECT_EQ(creature_faction_group(255), -1);
}

TEST(Morale, FlagsMedalsZizezoAndClamp) {
    MoraleLuckInputs in = army({{0, 1}}, 2);
    in.morale = 2;
    in.artifacts[0] = 8;
    in.artifacts[5] = 11;
    in.bonus_flags = 0x04;
    EXPECT_EQ(battle_morale(in, false), 3);  // 2 + 2 + 2 clamps to 3

    MoraleLuckInputs f = army({}, 2);
    f.bonus_flags = 0x08 | 0x10;
    EXPECT_EQ(battle_morale(f, false), 2);
    f.bonus_flags = 0x20 | 0x40;
    EXPECT_EQ(battle_morale(f, false), -2);

    MoraleLuckInputs z = army({}, 2);
    z.artifacts[3] = 12;
    z.artifacts[9] = 12;
    EXPECT_EQ(battle_morale(z, false), -3);  // -2 per slot, clamped
    EXPECT_EQ(battle_morale(z, true), 0);    // the option moves the penalty to luck
    z.morale = -120;
    EXPECT_EQ(battle_morale(z, true), -3);
}

TEST(Luck, SourcesAndTheBadLuckOption) {
    MoraleLuckInputs in;
    in.luck = 1;
    in.artifacts[0] = 31;
    in.artifacts[1] = 32;
    EXPECT_EQ(battle_luck(in, false), 3);
    in.bonus_flags = 0x03;
    in.artifacts[2] = 34;
    EXPECT_EQ(battle_luck(in, false), 3);  // clamp

    MoraleLuckInputs z;
    z.artifacts[4] = 12;
    z.artifacts[7] = 12;
    EXPECT_EQ(battle_luck(z, false), 0);   // never negative without the option
    EXPECT_EQ(battle_luck(z, true), -3);   // -3 once, however many
    z.luck = 2;
    z.bonus_flags = 0x01;
    EXPECT_EQ(battle_luck(z, true), 0);
    MoraleLuckInputs neg;
    neg.luck = -2;
    EXPECT_EQ(battle_luck(neg, false), 0);
    EXPECT_EQ(battle_luck(neg, true), -2);
}
