#include <gtest/gtest.h>

#include <limits>

#include "world/recruit_rules.h"
#include "town/town_fixture.h"

using namespace vorn1;

namespace {

constexpr uint8_t ORC = 7;
constexpr uint8_t DRAGON = 23;

RecruitResult town_purchase(int castle, int dwelling, uint8_t creature, int count) {
    RecruitResult r;
    r.castle = castle;
    r.dwelling = dwelling;
    r.creature = creature;
    r.count = count;
    r.cost = creature_cost_for_count(creature, count);
    return r;
}

}  // namespace

TEST(RecruitRules, CreaturePrices) {
    const CreatureCost dragon = creature_recruit_cost(DRAGON);
    EXPECT_EQ(dragon.gold, 3000);
    EXPECT_EQ(dragon.sulfur, 1);
    EXPECT_EQ(dragon.wood + dragon.ore + dragon.mercury + dragon.crystal + dragon.gems, 0);
    EXPECT_EQ(creature_recruit_cost(11).crystal, 1);
    EXPECT_EQ(creature_recruit_cost(17).mercury, 1);
    EXPECT_EQ(creature_recruit_cost(27).gems, 1);
    EXPECT_EQ(creature_recruit_cost(26), CreatureCost{});
    EXPECT_EQ(creature_recruit_cost(28), CreatureCost{});
    EXPECT_EQ(creature_recruit_cost(255), CreatureCost{});
    // Only the four rare-priced creatures cost anything but gold.
    for (int id = 0; id < CREATURE_COUNT; ++id) {
        const CreatureCost c = creature_recruit_cost(static_cast<uint8_t>(id));
        const int rare = c.mercury + c.sulfur + c.crystal + c.gems;
        EXPECT_EQ(rare, (id == 11 || id == 17 || id == 23 || id == 27) ? 1 : 0) << id;
        EXPECT_EQ(c.wood + c.ore, 0);
    }

    const CreatureCost three = creature_cost_for_count(DRAGON, 3);
    EXPECT_EQ(three.gold, 9000);
    EXPECT_EQ(three.sulfur, 3);
    EXPECT_EQ(three.wood, 0);
    EXPECT_EQ(three.ore, 0);
    EXPECT_EQ(creature_cost_for_count(DRAGON, 0), CreatureCost{});
    EXPECT_EQ(creature_cost_for_count(DRAGON, 2000000).gold, std::numeric_limits<int32_t>::max());
}

TEST(RecruitRules, CostOrderMapsByName) {
    CreatureCost c{1, 2, 3, 4, 5, 6, 7};  // gold, wood, ore, mercury, sulfur, crystal, gems
    const PlayerResources r = creature_cost_as_resources(c);
    EXPECT_EQ(r.gold, 1);
    EXPECT_EQ(r.wood, 2);
    EXPECT_EQ(r.ore, 3);
    EXPECT_EQ(r.mercury, 4);
    EXPECT_EQ(r.sulfur, 5);
    EXPECT_EQ(r.crystal, 6);
    EXPECT_EQ(r.gems, 7);
    EXPECT_EQ(creature_cost_from_resources(r), c);
    PlayerResources t = r;
    EXPECT_TRUE(can_pay_cost(t, c));
    t.sulfur = 4;
    EXPECT_FALSE(can_pay_cost(t, c));
}

TEST(RecruitRules, GrowthWithWellAndComputerLevel) {
    EXPECT_EQ(dwelling_effective_growth(0, 0, true, 4), 19);
    EXPECT_EQ(dwelling_effective_growth(0, 0, true, 0), 14);
    EXPECT_EQ(dwelling_effective_growth(0, 0, false, 3), 15);
    EXPECT_EQ(dwelling_effective_growth(0, 0, false, 2), 12);
    // Faction bytes outside 0..3 read the knight row and get no bonus.
    EXPECT_EQ(dwelling_effective_growth(255, 0, true, 4), 14);
    EXPECT_EQ(dwelling_effective_growth(4, 1, false, 3), 8);
    EXPECT_EQ(dwelling_effective_growth(3, 5, false, 4), 2);
    EXPECT_EQ(dwelling_effective_growth(2, 5, true, 3), 3);
    EXPECT_EQ(dwelling_effective_growth(1, 0, false, 4), 14);
    EXPECT_EQ(dwelling_effective_growth(0, 6, true, 4), 0);
    EXPECT_EQ(dwelling_effective_growth(0, -1, true, 4), 0);

    EXPECT_EQ(ai_growth_bonus(4, 4, 0), 0);
    EXPECT_EQ(ai_growth_bonus(5, 0, 0), 0);

    // Every cell of the computer bonuses, and each town sells its own six creatures in slot order.
    const int smart[4][6] = {{3, 2, 1, 1, 1, 0}, {2, 2, 1, 1, 1, 0}, {2, 1, 1, 1, 1, 0}, {2, 1, 1, 1, 1, 0}};
    const int genius[4][6] = {{5, 3, 2, 2, 1, 1}, {4, 3, 2, 2, 1, 1}, {3, 2, 2, 1, 1, 1}, {3, 2, 2, 1, 1, 1}};
    for (uint8_t f = 0; f < 4; ++f)
        for (int slot = 0; slot < 6; ++slot) {
            EXPECT_EQ(ai_growth_bonus(3, f, slot), smart[f][slot]) << int(f) << " " << slot;
            EXPECT_EQ(ai_growth_bonus(4, f, slot), genius[f][slot]) << int(f) << " " << slot;
            EXPECT_EQ(dwelling_slot_creature(f, slot), f * 6 + slot);
        }
    EXPECT_EQ(dwelling_slot_creature(255, 1), 1);
    EXPECT_EQ(dwelling_slot_creature(0, 6), -1);
    EXPECT_EQ(dwelling_slot_creature(0, -1), -1);
}

TEST(RecruitRules, TownGrowthSetUpAndWeekly) {
    GameState g = make_game(2);
    g.player_ai_level[0] = 4;
    add_castle(g, 0, 0, 0x10 | 0x100 | 0x1000);  // well, slots 1 and 5
    add_castle(g, -1, 1, 0x200);                                        // neutral barbarian, slot 2
    add_castle(g, 1, 2, 0x800).live = 0;
    set_town_available_counts(g);
    const auto& k = g.castles[0].available;
    EXPECT_EQ(k[0], 19);
    EXPECT_EQ(k[1], 8 + 2 + 3);
    EXPECT_EQ(k[2], 0);
    EXPECT_EQ(k[5], 2 + 2 + 1);
    const auto& b = g.castles[1].available;
    EXPECT_EQ(b[0], 10);
    EXPECT_EQ(b[2], 5);
    EXPECT_EQ(b[1], 0);
    EXPECT_EQ(g.castles[2].available[0], 0);  // not live

    add_town_weekly_growth(g);
    EXPECT_EQ(k[0], 38);
    EXPECT_EQ(k[2], 0);
    EXPECT_EQ(b[2], 10);
    g.castles[0].available[0] = std::numeric_limits<int32_t>::max() - 1;
    add_town_weekly_growth(g);
    EXPECT_EQ(k[0], std::numeric_limits<int32_t>::max());
}

TEST(RecruitRules, MaxAffordable) {
    GameState g = make_game(2);
    add_castle(g, 0, 0, 0);
    add_castle(g, -1, 0, 0);
    g.resources[0].gold = 1000;
    CreatureCost archer;
    archer.gold = 150;
    EXPECT_EQ(max_affordable(g, 0, -1, 10, archer), 6);
    EXPECT_EQ(max_affordable(g, 0, -1, 4, archer), 4);
    EXPECT_EQ(max_affordable(g, 0, -1, 10, CreatureCost{}), 10);  // a ghost costs nothing
    EXPECT_EQ(max_affordable(g, 0, -1, -3, CreatureCost{}), 0);
    EXPECT_EQ(max_affordable(g, 1, -1, 10, archer), 0);  // neutral town: no treasury
    CreatureCost dragon = creature_recruit_cost(DRAGON);
    g.resources[0].gold = 100000;
    g.resources[0].sulfur = 2;
    EXPECT_EQ(max_affordable(g, 0, -1, 10, dragon), 2);

    // A map dwelling pays from the visiting hero's owner.
    g.resources[1].gold = 300;
    const int h = add_hero(g, 1);
    EXPECT_EQ(max_affordable(g, -1, h, 10, archer), 2);
    EXPECT_EQ(max_affordable(g, 99, h, 10, archer), 2);
    EXPECT_EQ(max_affordable(g, -1, -1, 10, archer), 0);
    EXPECT_EQ(max_affordable(g, -1, 42, 10, archer), 0);
}

TEST(RecruitRules, PurchaseMergesIntoFirstStackOfTheCreature) {
    GameState g = make_game(1);
    CastleState& c = add_castle(g, 0, 1, 0);
    c.available[1] = 20;
    g.resources[0].gold = 10000;
    set_army(c, {{ORC, 5}, {255, 0}, {ORC, 0}, {1, 3}, {255, 0}});
    bool no_room = true;
    apply_recruit_result(town_purchase(0, 1, ORC, 4), g, no_room);
    EXPECT_FALSE(no_room);
    EXPECT_EQ(c.garrison.counts[0], 9);
    EXPECT_EQ(c.garrison.counts[2], 0);
    EXPECT_EQ(c.available[1], 16);
    EXPECT_EQ(g.resources[0].gold, 10000 - 4 * 140);

    // A stack further right is preferred to an earlier empty slot.
    set_army(c, {{255, 0}, {ORC, 5}, {255, 0}, {255, 0}, {255, 0}});
    apply_recruit_result(town_purchase(0, 1, ORC, 2), g, no_room);
    EXPECT_EQ(c.garrison.counts[1], 7);
    EXPECT_EQ(c.garrison.ids[0], 255);

    // A slot holding the creature with a count of 0 counts as empty.
    set_army(c, {{1, 2}, {ORC, 0}, {255, 0}, {255, 0}, {255, 0}});
    apply_recruit_result(town_purchase(0, -1, ORC, 3), g, no_room);
    EXPECT_EQ(c.garrison.ids[1], ORC);
    EXPECT_EQ(c.garrison.counts[1], 3);
    EXPECT_EQ(c.available[1], 14);  // no dwelling named: counts untouched
}

TEST(RecruitRules, FullGarrisonAndUnaffordableChangeNothing) {
    GameState g = make_game(1);
    CastleState& c = add_castle(g, 0, 1, 0);
    c.available[1] = 20;
    g.resources[0].gold = 10000;
    set_army(c, {{1, 1}, {2, 1}, {3, 1}, {4, 1}, {5, 1}});
    const GameState before = g;
    bool no_room = false;
    apply_recruit_result(town_purchase(0, 1, ORC, 4), g, no_room);
    EXPECT_TRUE(no_room);
    expect_same_town_and_treasury(before, g, 0, 0);

    set_army(c, {{255, 0}, {255, 0}, {255, 0}, {255, 0}, {255, 0}});
    g.resources[0].gold = 139;
    const GameState poor = g;
    apply_recruit_result(town_purchase(0, 1, ORC, 1), g, no_room);
    EXPECT_FALSE(no_room);
    expect_same_town_and_treasury(poor, g, 0, 0);

    // Invalid results: count, town index, neutral owner, the empty marker, unknown ids.
    g.resources[0].gold = 10000;
    const GameState rich = g;
    apply_recruit_result(town_purchase(0, 1, ORC, 0), g, no_room);
    apply_recruit_result(town_purchase(1, 1, ORC, 1), g, no_room);
    apply_recruit_result(town_purchase(-1, 1, ORC, 1), g, no_room);
    RecruitResult empty = town_purchase(0, 1, 255, 5);
    empty.cost.gold = 100;
    apply_recruit_result(empty, g, no_room);
    apply_recruit_result(town_purchase(0, 1, 28, 5), g, no_room);
    RecruitResult refund = town_purchase(0, 1, ORC, 1);
    refund.cost.gold = -5000;
    apply_recruit_result(refund, g, no_room);
    EXPECT_FALSE(no_room);
    expect_same_town_and_treasury(rich, g, 0, 0);
    g.castles[0].owner = 7;
    apply_recruit_result(town_purchase(0, 1, ORC, 1), g, no_room);
    EXPECT_EQ(g.resources[0].gold, 10000);
    EXPECT_EQ(g.castles[0].garrison.ids[0], 255);
}

TEST(RecruitRules, StaleDialogAndStackCap) {
    GameState g = make_game(1);
    CastleState& c = add_castle(g, 0, 3, 0);
    g.resources[0].gold = 1000000;
    g.resources[0].sulfur = 100;
    c.available[5] = 3;
    bool no_room = false;
    apply_recruit_result(town_purchase(0, 5, DRAGON, 5), g, no_room);
    EXPECT_EQ(c.available[5], 0);
    EXPECT_EQ(c.garrison.ids[0], DRAGON);
    EXPECT_EQ(c.garrison.counts[0], 5);
    EXPECT_EQ(g.resources[0].gold, 1000000 - 15000);
    EXPECT_EQ(g.resources[0].sulfur, 95);

    // 500 short of the cap, 1000 more: the stack holds 65535 and only 500 are paid for.
    set_army(c, {{ORC, 65035}, {255, 0}, {255, 0}, {255, 0}, {255, 0}});
    c.available[1] = 2000;
    g.resources[0].gold = 1000000;
    apply_recruit_result(town_purchase(0, 1, ORC, 1000), g, no_room);
    EXPECT_FALSE(no_room);
    EXPECT_EQ(c.garrison.counts[0], 65535);
    EXPECT_EQ(c.available[1], 1500);
    EXPECT_EQ(g.resources[0].gold, 1000000 - 500 * 140);

    // A full stack takes no more and reports no room, with nothing paid.
    apply_recruit_result(town_purchase(0, 1, ORC, 1), g, no_room);
    EXPECT_TRUE(no_room);
    EXPECT_EQ(g.resources[0].gold, 1000000 - 500 * 140);
    EXPECT_EQ(c.available[1], 1500);

    // A count above the cap into an empty slot is limited the same way.
    set_army(c, {{255, 0}, {255, 0}, {255, 0}, {255, 0}, {255, 0}});
    g.resources[0].gold = std::numeric_limits<int32_t>::max();
    c.available[0] = 100000;
    apply_recruit_result(town_purchase(0, 0, 18, 100000), g, no_room);
    EXPECT_EQ(c.garrison.counts[0], 65535);
    EXPECT_EQ(c.available[0], 100000 - 65535);
    EXPECT_EQ(g.resources[0].gold, std::numeric_limits<int32_t>::max() - 65535 * 60);
}
