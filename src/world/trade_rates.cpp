#include "world/trade_rates.h"

#include <algorithm>
#include <limits>

#include "world/game_state.h"

namespace vorn1 {

namespace {


struct ResRow {
    const char* name;
    int icon;
    TradeClass cls;
};

constexpr std::array<ResRow, kTradeResCount> RES_ROWS = {{
    {"Wood", 0, TC_COMMON},
    {"Ore", 2, TC_COMMON},
    {"Mercury", 1, TC_RARE},
    {"Sulfur", 3, TC_RARE},
    {"Crystal", 4, TC_RARE},
    {"Gems", 5, TC_RARE},
    {"Gold", 6, TC_GOLD},
}};

}  // namespace

// Rows by markets; within a row: gold to (gold, common, rare), common to ..., rare to ...
const std::array<std::array<std::array<TradeRatio, 3>, 3>, kMaxMarkets> TP_TABLE = {{
    {{{{{1, 1}, {2500, 1}, {5000, 1}}}, {{{1, 25}, {10, 1}, {20, 1}}}, {{{1, 50}, {5, 1}, {10, 1}}}}},
    {{{{{1, 1}, {1667, 1}, {3333, 1}}}, {{{1, 37}, {7, 1}, {13, 1}}}, {{{1, 75}, {3, 1}, {7, 1}}}}},
    {{{{{1, 1}, {1250, 1}, {2500, 1}}}, {{{1, 50}, {5, 1}, {10, 1}}}, {{{1, 100}, {3, 1}, {5, 1}}}}},
    {{{{{1, 1}, {1000, 1}, {2000, 1}}}, {{{1, 62}, {4, 1}, {8, 1}}}, {{{1, 125}, {2, 1}, {4, 1}}}}},
    {{{{{1, 1}, {833, 1}, {1667, 1}}}, {{{1, 75}, {3, 1}, {7, 1}}}, {{{1, 150}, {2, 1}, {3, 1}}}}},
    {{{{{1, 1}, {714, 1}, {1429, 1}}}, {{{1, 88}, {3, 1}, {6, 1}}}, {{{1, 175}, {1, 1}, {3, 1}}}}},
    {{{{{1, 1}, {625, 1}, {1250, 1}}}, {{{1, 100}, {3, 1}, {5, 1}}}, {{{1, 200}, {1, 1}, {3, 1}}}}},
    {{{{{1, 1}, {556, 1}, {1111, 1}}}, {{{1, 112}, {2, 1}, {4, 1}}}, {{{1, 225}, {1, 1}, {2, 1}}}}},
    {{{{{1, 1}, {500, 1}, {1000, 1}}}, {{{1, 125}, {2, 1}, {4, 1}}}, {{{1, 250}, {1, 1}, {2, 1}}}}},
}};

int tp_res_icon_id(TradeRes r) { return r < kTradeResCount ? RES_ROWS[r].icon : 6; }

const char* tp_res_name(TradeRes r) { return r < kTradeResCount ? RES_ROWS[r].name : "?"; }

TradeClass tp_res_class(TradeRes r) { return r < kTradeResCount ? RES_ROWS[r].cls : TC_RARE; }

TradeRatio trade_rate(int markets, TradeClass give, TradeClass get) {
    const int row = std::clamp(markets, 1, kMaxMarkets) - 1;
    const auto cls = [](TradeClass c) { return (c >= TC_GOLD && c <= TC_RARE) ? static_cast<int>(c) : 2; };
    return TP_TABLE[row][cls(give)][cls(get)];
}

TradeRatio trade_rate(int markets, TradeRes give, TradeRes get) {
    return trade_rate(markets, tp_res_class(give), tp_res_class(get));
}

int trade_get_amount(const TradeRatio& ratio, int amount) {
    if (ratio.give < 1 || ratio.get < 1 || amount < 1) return 0;
    const int64_t v = static_cast<int64_t>(ratio.get) * (amount / ratio.give);
    return static_cast<int>(std::min<int64_t>(v, std::numeric_limits<int32_t>::max()));
}

int trade_max_give(const TradeRatio& ratio, int owned) {
    if (ratio.give < 1 || owned < 1) return 0;
    return owned - owned % ratio.give;
}

int32_t& tp_resource(PlayerResources& res, TradeRes r) {
    switch (r) {
    case TR_WOOD: return res.wood;
    case TR_ORE: return res.ore;
    case TR_MERCURY: return res.mercury;
    case TR_SULFUR: return res.sulfur;
    case TR_CRYSTAL: return res.crystal;
    case TR_GEMS: return res.gems;
    default: return res.gold;
    }
}

int32_t tp_resource(const PlayerResources& res, TradeRes r) {
    return tp_resource(const_cast<PlayerResources&>(res), r);
}

int tp_player_amount(const GameState& game, int player, TradeRes r) {
    if (!is_player_index(player)) return 0;
    return tp_resource(game.resources[static_cast<size_t>(player)], r);
}

int apply_trade(GameState& game, int player, int markets, TradeRes give, TradeRes get, int amount) {
    // A value above 6 would read as gold yet trade at the rare rate; no caller sends one.
    if (give == get || !is_player_index(player) || give >= kTradeResCount || get >= kTradeResCount) return 0;
    const TradeRatio ratio = trade_rate(markets, give, get);
    if (ratio.give < 1 || ratio.get < 1) return 0;
    PlayerResources& res = game.resources[static_cast<size_t>(player)];
    int32_t& from = tp_resource(res, give);
    int32_t& to = tp_resource(res, get);
    const int64_t n = std::min<int64_t>(amount, from);
    if (n < 1) return 0;
    int64_t lots = n / ratio.give;
    // Never let the received resource pass the 32-bit range.
    const int64_t room = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) - to;
    lots = std::min<int64_t>(lots, room > 0 ? room / ratio.get : 0);
    const int64_t spent = lots * ratio.give;
    const int64_t received = lots * ratio.get;
    if (spent == 0 || received == 0) return 0;
    from = static_cast<int32_t>(from - spent);
    to = static_cast<int32_t>(to + received);
    if (from < 0) from = 0;
    return static_cast<int>(received);
}

int count_player_thieves_guilds(const GameState& game, int player) {
    if (!is_player_index(player)) return 0;  // neutral towns belong to no one
    int n = 0;
    for (const CastleState& c : game.castles)
        if (c.live && c.owner == player && (c.buildings & BLD_THIEVES_GUILD)) ++n;
    return n;
}

bool player_has_trading_network(const GameState& game, int player) {
    if (!is_player_index(player)) return false;
    for (const CastleState& c : game.castles)
        if (c.live && c.owner == player && (c.buildings & BLD_THIEVES_GUILD) && (c.buildings & BLD_TAVERN))
            return true;
    return false;
}

}  // namespace vorn1
