#include "ai/ai_trading.h"

#include "ai/ai_records.h"
#include "world/trade_rates.h"

namespace vorn1 {

namespace {
constexpr int kGoldReserve = 3000;
constexpr TradeRes kOrder[6] = {TR_WOOD, TR_ORE, TR_MERCURY, TR_SULFUR, TR_CRYSTAL, TR_GEMS};
}  // namespace

void ai_run_trading_post(GameState& s, int p, AiIntelligence level) {
    if (!is_player_index(p) || !player_has_trading_network(s, p)) return;
    const int m = count_player_thieves_guilds(s, p);
    if (m <= 0) return;

    for (TradeRes r : kOrder) {
        const bool common = tp_res_class(r) == TC_COMMON;
        const int want = common ? 5 : 2;
        const int held = tp_player_amount(s, p, r);
        if (held >= want) continue;
        const int gold = tp_player_amount(s, p, TR_GOLD);
        if (gold <= kGoldReserve) break;
        const TradeRatio q = trade_rate(m, TR_GOLD, r);
        if (q.give <= 0 || q.get <= 0) continue;
        int64_t price = static_cast<int64_t>((want - held + q.get - 1) / q.get) * q.give;
        if (price > gold - kGoldReserve) {
            const int lots = (gold - kGoldReserve) / q.give;
            if (lots < 1) continue;
            price = static_cast<int64_t>(lots) * q.give;
        }
        if (price == 0) continue;
        const int got = apply_trade(s, p, m, TR_GOLD, r, static_cast<int>(price));
        if (got > 0) ai_log(s, p, "trading post: buy %d %s for %d gold (m=%d)", got, tp_res_name(r), static_cast<int>(price), m);
    }

    if (level != AI_SMART && level != AI_GENIUS) return;
    for (TradeRes r : kOrder) {
        const bool common = tp_res_class(r) == TC_COMMON;
        const int surplus = tp_player_amount(s, p, r) - (common ? 20 : 5);
        if (surplus <= 0) continue;
        const TradeRatio q = trade_rate(m, r, TR_GOLD);
        if (q.give <= 0 || q.get <= 0) continue;
        const int amount = trade_max_give(q, surplus);
        if (amount <= 0) continue;
        const int got = apply_trade(s, p, m, r, TR_GOLD, amount);
        if (got > 0) ai_log(s, p, "trading post: sell %d %s for %d gold (m=%d)", amount, tp_res_name(r), got, m);
    }
}

}  // namespace vorn1
