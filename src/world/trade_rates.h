#pragma once
// Exchange rates of the trading post and the one trade transaction.
#include <array>
#include <cstdint>

namespace vorn1 {

struct GameState;
struct PlayerResources;

enum TradeRes : uint8_t {
    TR_WOOD = 0,
    TR_ORE = 1,
    TR_MERCURY = 2,
    TR_SULFUR = 3,
    TR_CRYSTAL = 4,
    TR_GEMS = 5,
    TR_GOLD = 6,
};
constexpr int kTradeResCount = 7;

enum TradeClass : int {
    TC_GOLD = 0,
    TC_COMMON = 1,  // wood, ore
    TC_RARE = 2,    // mercury, sulfur, crystal, gems
};

struct TradeRatio {
    int32_t give = 0;
    int32_t get = 0;
};

constexpr int kMaxMarkets = 9;

// [markets - 1][class given][class received].
extern const std::array<std::array<std::array<TradeRatio, 3>, 3>, kMaxMarkets> TP_TABLE;

// Picture frame, English name and class; a value above 6 gives frame 6, "?" and rare.
int tp_res_icon_id(TradeRes r);
const char* tp_res_name(TradeRes r);
TradeClass tp_res_class(TradeRes r);

// Markets are clamped to 1..9; class values outside 0..2 read as rare.
TradeRatio trade_rate(int markets, TradeClass give, TradeClass get);
TradeRatio trade_rate(int markets, TradeRes give, TradeRes get);

// Units received for giving `amount` (whole lots only).
int trade_get_amount(const TradeRatio& ratio, int amount);
// The largest whole multiple of `give` not above `owned`.
int trade_max_give(const TradeRatio& ratio, int owned);

// The field of a treasury that holds a tradable resource (gold for a value above 6).
int32_t& tp_resource(PlayerResources& res, TradeRes r);
int32_t tp_resource(const PlayerResources& res, TradeRes r);

// The player's amount of a resource; 0 for a player outside 0..3.
int tp_player_amount(const GameState& game, int player, TradeRes r);

// One trade of whole lots; returns the units received, 0 when nothing happened (state untouched).
// The lots are limited so that the received resource never exceeds the 32-bit range.
int apply_trade(GameState& game, int player, int markets, TradeRes give, TradeRes get, int amount);

// Live towns of the player with a thieves' guild: the number of markets.
int count_player_thieves_guilds(const GameState& game, int player);
// Some live town of the player has both a thieves' guild and a tavern.
bool player_has_trading_network(const GameState& game, int player);

}  // namespace vorn1
