#include <gtest/gtest.h>

#include <limits>

#include "world/trade_rates.h"
#include "town/town_fixture.h"

using namespace vorn1;

TEST(TradeRates, ResourceTable) {
    EXPECT_EQ(tp_res_class(TR_ORE), TC_COMMON);
    EXPECT_EQ(tp_res_class(TR_GEMS), TC_RARE);
    // Ore and mercury swap their pictures; the others keep their own order.
    const int icons[kTradeResCount] = {0, 2, 1, 3, 4, 5, 6};
    for (int r = 0; r < kTradeResCount; ++r) EXPECT_EQ(tp_res_icon_id(static_cast<TradeRes>(r)), icons[r]) << r;
    const TradeRes bad = static_cast<TradeRes>(7);
    EXPECT_STREQ(tp_res_name(bad), "?");
    EXPECT_EQ(tp_res_icon_id(bad), 6);
    EXPECT_EQ(tp_res_class(bad), TC_RARE);
}

TEST(TradeRates, RowsAndMarketClamp) {
    const auto check_row = [](int markets, const int (&cells)[9][2]) {
        int i = 0;
        for (TradeClass g : {TC_GOLD, TC_COMMON, TC_RARE})
            for (TradeClass r : {TC_GOLD, TC_COMMON, TC_RARE}) {
                const TradeRatio t = trade_rate(markets, g, r);
                EXPECT_EQ(t.give, cells[i][0]) << markets << " " << i;
                EXPECT_EQ(t.get, cells[i][1]) << markets << " " << i;
                ++i;
            }
    };
    // Every row, one to nine markets: a single wrong cell changes what a trade yields.
    const int rows[9][9][2] = {
        {{1, 1}, {2500, 1}, {5000, 1}, {1, 25}, {10, 1}, {20, 1}, {1, 50}, {5, 1}, {10, 1}},
        {{1, 1}, {1667, 1}, {3333, 1}, {1, 37}, {7, 1}, {13, 1}, {1, 75}, {3, 1}, {7, 1}},
        {{1, 1}, {1250, 1}, {2500, 1}, {1, 50}, {5, 1}, {10, 1}, {1, 100}, {3, 1}, {5, 1}},
        {{1, 1}, {1000, 1}, {2000, 1}, {1, 62}, {4, 1}, {8, 1}, {1, 125}, {2, 1}, {4, 1}},
        {{1, 1}, {833, 1}, {1667, 1}, {1, 75}, {3, 1}, {7, 1}, {1, 150}, {2, 1}, {3, 1}},
        {{1, 1}, {714, 1}, {1429, 1}, {1, 88}, {3, 1}, {6, 1}, {1, 175}, {1, 1}, {3, 1}},
        {{1, 1}, {625, 1}, {1250, 1}, {1, 100}, {3, 1}, {5, 1}, {1, 200}, {1, 1}, {3, 1}},
        {{1, 1}, {556, 1}, {1111, 1}, {1, 112}, {2, 1}, {4, 1}, {1, 225}, {1, 1}, {2, 1}},
        {{1, 1}, {500, 1}, {1000, 1}, {1, 125}, {2, 1}, {4, 1}, {1, 250}, {1, 1}, {2, 1}},
    };
    for (int m = 1; m <= 9; ++m) check_row(m, rows[m - 1]);
    check_row(0, rows[0]);
    check_row(-5, rows[0]);
    check_row(12, rows[8]);
    // Same-class resources trade at the diagonal.
    const TradeRatio wo = trade_rate(1, TR_WOOD, TR_ORE);
    EXPECT_EQ(wo.give, 10);
    EXPECT_EQ(wo.get, 1);
}

TEST(TradeRates, AmountsAndMaxGive) {
    EXPECT_EQ(trade_get_amount({10, 1}, 37), 3);
    EXPECT_EQ(trade_get_amount({1, 25}, 3), 75);
    EXPECT_EQ(trade_get_amount({10, 1}, 9), 0);
    EXPECT_EQ(trade_get_amount({0, 1}, 100), 0);
    EXPECT_EQ(trade_get_amount({1, 0}, 100), 0);
    EXPECT_EQ(trade_get_amount({1, 250}, -3), 0);
    EXPECT_EQ(trade_get_amount({1, 250}, std::numeric_limits<int>::max()), std::numeric_limits<int>::max());
    EXPECT_EQ(trade_max_give({10, 1}, 37), 30);
    EXPECT_EQ(trade_max_give({1, 25}, 37), 37);
    EXPECT_EQ(trade_max_give({10, 1}, 0), 0);
    EXPECT_EQ(trade_max_give({0, 1}, 37), 0);
}

TEST(TradeRates, ApplyTradeWholeLots) {
    GameState g = make_game(1);
    PlayerResources& r = g.resources[0];
    r.gold = 2499;
    EXPECT_EQ(apply_trade(g, 0, 1, TR_GOLD, TR_WOOD, 2499), 0);
    EXPECT_EQ(r.gold, 2499);
    EXPECT_EQ(r.wood, 0);

    r.gold = 6000;
    EXPECT_EQ(apply_trade(g, 0, 1, TR_GOLD, TR_WOOD, 5000), 2);
    EXPECT_EQ(r.gold, 1000);
    EXPECT_EQ(r.wood, 2);

    // Asking for more than owned trades the whole lots of what is owned.
    r.crystal = 12;
    EXPECT_EQ(apply_trade(g, 0, 1, TR_CRYSTAL, TR_WOOD, 1000), 2);
    EXPECT_EQ(r.crystal, 2);
    EXPECT_EQ(r.wood, 4);

    r.gems = 3;
    EXPECT_EQ(apply_trade(g, 0, 9, TR_GEMS, TR_GOLD, 3), 750);
    EXPECT_EQ(r.gems, 0);
    EXPECT_EQ(r.gold, 1750);

    r.wood = 9;
    EXPECT_EQ(apply_trade(g, 0, 1, TR_WOOD, TR_ORE, 9), 0);
    r.wood = 10;
    EXPECT_EQ(apply_trade(g, 0, 1, TR_WOOD, TR_ORE, 10), 1);
    EXPECT_EQ(r.wood, 0);
    EXPECT_EQ(r.ore, 1);
}

// The trade itself uses the clamped row: no market trades like one, twelve like nine.
TEST(TradeRates, ApplyTradeAtClampedMarketCounts) {
    GameState g = make_game(1);
    PlayerResources& r = g.resources[0];
    r.gold = 5100;
    EXPECT_EQ(apply_trade(g, 0, 0, TR_GOLD, TR_WOOD, 5100), 2);
    EXPECT_EQ(r.gold, 100);
    EXPECT_EQ(r.wood, 2);
    r.ore = 7;
    EXPECT_EQ(apply_trade(g, 0, -3, TR_ORE, TR_MERCURY, 7), 0);  // a lot is 20 ore
    EXPECT_EQ(r.ore, 7);
    r.mercury = 5;
    EXPECT_EQ(apply_trade(g, 0, 12, TR_MERCURY, TR_ORE, 5), 5);  // 1:1
    EXPECT_EQ(r.mercury, 0);
    EXPECT_EQ(r.ore, 12);
    EXPECT_EQ(apply_trade(g, 0, 12, TR_ORE, TR_SULFUR, 11), 2);  // 4:1, three ore stay
    EXPECT_EQ(r.ore, 4);
    EXPECT_EQ(r.sulfur, 2);
}

TEST(TradeRates, ApplyTradeRefusals) {
    GameState g = make_game(2);
    g.resources[1].wood = 50;
    g.resources[1].gold = 50;
    const GameState before = g;
    EXPECT_EQ(apply_trade(g, 1, 1, TR_WOOD, TR_WOOD, 50), 0);
    EXPECT_EQ(apply_trade(g, 4, 1, TR_WOOD, TR_GOLD, 50), 0);
    EXPECT_EQ(apply_trade(g, -1, 1, TR_WOOD, TR_GOLD, 50), 0);
    EXPECT_EQ(apply_trade(g, 1, 1, TR_WOOD, TR_GOLD, 0), 0);
    EXPECT_EQ(apply_trade(g, 1, 1, TR_WOOD, TR_GOLD, -10), 0);
    EXPECT_EQ(apply_trade(g, 1, 1, TR_ORE, TR_GOLD, 10), 0);  // owns no ore
    // A value above 6 would read the gold field at the rare rate.
    EXPECT_EQ(apply_trade(g, 1, 1, static_cast<TradeRes>(7), TR_GOLD, 50), 0);
    EXPECT_EQ(apply_trade(g, 1, 1, TR_GOLD, static_cast<TradeRes>(9), 50), 0);
    EXPECT_EQ(g.resources[1], before.resources[1]);
    EXPECT_EQ(tp_player_amount(g, 1, TR_WOOD), 50);
    EXPECT_EQ(tp_player_amount(g, 7, TR_WOOD), 0);
    EXPECT_EQ(tp_player_amount(g, 1, static_cast<TradeRes>(200)), 50);  // gold
}

TEST(TradeRates, ApplyTradeNeverOverflows) {
    GameState g = make_game(1);
    PlayerResources& r = g.resources[0];
    const int32_t max = std::numeric_limits<int32_t>::max();
    r.gems = max;
    r.gold = max - 1000;
    // 1000 gold of room buys 4 lots of 250 at nine markets; the rest of the gems stay.
    EXPECT_EQ(apply_trade(g, 0, 9, TR_GEMS, TR_GOLD, max), 1000);
    EXPECT_EQ(r.gold, max);
    EXPECT_EQ(r.gems, max - 4);
    // No room at all: nothing happens.
    EXPECT_EQ(apply_trade(g, 0, 9, TR_GEMS, TR_GOLD, 10), 0);
    EXPECT_EQ(r.gems, max - 4);
    EXPECT_EQ(r.gold, max);
    // A large sale into an empty resource is limited to the 32-bit range.
    r.gold = 0;
    const int got = apply_trade(g, 0, 9, TR_GEMS, TR_GOLD, max);
    EXPECT_GT(got, 0);
    EXPECT_LE(static_cast<int64_t>(got), static_cast<int64_t>(max));
    EXPECT_EQ(r.gold, got);
    EXPECT_EQ(got % 250, 0);
    EXPECT_EQ(static_cast<int64_t>(r.gems), static_cast<int64_t>(max) - 4 - got / 250);
}

TEST(TradeRates, MarketsAndNetwork) {
    GameState g = make_game(3);
    add_castle(g, 0, 0, 0x2);
    add_castle(g, 0, 0, 0x2 | 0x4 | 0x10);
    add_castle(g, 1, 0, 0x2);
    add_castle(g, 1, 0, 0x4);
    add_castle(g, 2, 0, 0x2 | 0x4).live = 0;
    add_castle(g, -1, 0, 0x2 | 0x4);
    EXPECT_EQ(count_player_thieves_guilds(g, 0), 2);
    EXPECT_EQ(count_player_thieves_guilds(g, 1), 1);
    EXPECT_EQ(count_player_thieves_guilds(g, 2), 0);
    EXPECT_TRUE(player_has_trading_network(g, 0));
    EXPECT_FALSE(player_has_trading_network(g, 1));  // guild and tavern in different towns
    EXPECT_FALSE(player_has_trading_network(g, 2));
    EXPECT_FALSE(player_has_trading_network(g, 3));
    EXPECT_EQ(count_player_thieves_guilds(g, -1), 0);  // the neutral town is nobody's market
    EXPECT_FALSE(player_has_trading_network(g, -1));
}
