#include "ai/ai_town_visits.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdlib>

#include "ai/ai_battle.h"
#include "ai/ai_records.h"
#include "ai/ai_tables.h"
#include "world/spell_table.h"
#include "world/tile_rules.h"

namespace vorn1 {

namespace {

constexpr std::array<int, 4> kGuildSpellCount = {3, 5, 7, 9};  // gMageGuildSpellCount
constexpr std::array<double, 6> kTierPower = {1, 2, 4, 7, 12, 25};

int creatures_in(const Army& a) {
    int n = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (a.ids[i] != EMPTY_ID) n += a.counts[i];
    return n;
}

bool holds_creature(const Army& a, uint8_t id) {
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (a.ids[i] == id && a.counts[i] != 0) return true;
    return false;
}

bool has_free_slot(const Army& a) {
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (a.counts[i] == 0) return true;
    return false;
}

double stack_power(const Army& a, int i) {
    return a.slot_empty(i) ? 0.0 : a.counts[i] * pool_creature_unit_power(a.ids[i]);
}

double army_power(const Army& a) {
    double p = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i) p += stack_power(a, i);
    return p;
}

int weakest_stack(const Army& a) {
    int best = -1;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (!a.slot_empty(i) && (best < 0 || stack_power(a, i) < stack_power(a, best))) best = i;
    return best;
}

// Slots strongest first; equal powers keep slot order.
std::array<int, ARMY_SLOTS> strongest_first(const Army& a) {
    std::array<int, ARMY_SLOTS> order{0, 1, 2, 3, 4};
    std::stable_sort(order.begin(), order.end(), [&](int x, int y) { return stack_power(a, x) > stack_power(a, y); });
    return order;
}

// Moves a stack into another army; what would pass the 65535 cap stays behind. True when any moved.
bool move_stack(Army& from, int slot, Army& to) {
    const int moved = ai_merge_into_army(to, from.ids[slot], from.counts[slot]);
    from.counts[slot] = static_cast<uint16_t>(from.counts[slot] - moved);
    if (from.counts[slot] == 0) from.ids[slot] = EMPTY_ID;
    return moved > 0;
}

// `treasury` pays for a spellbook in a visit; null when only valuing.
int spell_part(PlayerResources* treasury, HeroState& hero, const CastleState& town, bool evaluate_only) {
    const int L = mage_guild_level(town);
    if (L <= 0) return 0;
    const int K = std::min(hero.knowledge + hero.artifact_bonus[3], 127);
    if (!evaluate_only) {
        if (hero.knowledge == 0 && !hero.has_spellbook) return 0;
        if (!hero.has_spellbook) {
            if (!treasury || treasury->gold < AI_SPELLBOOK_PRICE) return 0;
            treasury->gold -= AI_SPELLBOOK_PRICE;
            hero.has_spellbook = 1;
        }
    }
    int worth = 0;
    for (int e = 0; e < kGuildSpellCount[std::min(L, 4) - 1]; ++e) {
        const int s = town.guild_spells[e];
        if (s > 28) continue;
        const int c = hero.spell_charges[s];
        double w = (static_cast<double>(gSpellCastNumMod[std::min(K, 20)]) -
                    static_cast<double>(gSpellCastNumMod[std::min(c, 20)])) * gSpellAIValue[s];
        if (gSpellAIFlags[s] & SPELL_AI_SCALES) w *= K;
        worth += static_cast<int>(w);
        if (!evaluate_only && c == 0 && hero.has_spellbook) hero.spell_charges[s] = static_cast<uint8_t>(std::max(K, 1));
    }
    return worth;
}

}  // namespace

double pool_creature_unit_power(int id) {
    if (id >= 0 && id <= 23) return kTierPower[id % 6];
    if (id == 24 || id == 25) return 3;
    if (id == 33) return 12;
    if (id > 25) return 2;
    return 0;
}

int pool_creature_speed_class(int id) {
    switch (id) {
        case 0: case 1: case 7: case 9: case 13: case 22: return 0;
        case 4: case 5: case 8: case 15: case 17: case 19: case 24: case 25: case 33: return 2;
        default: return 1;
    }
}

int ai_merge_into_army(Army& army, uint8_t id, int count) {
    if (count <= 0) return 0;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (army.ids[i] == id && army.counts[i] != 0) {
            const int moved = std::min(count, 65535 - army.counts[i]);
            army.counts[i] = static_cast<uint16_t>(army.counts[i] + moved);
            return moved;
        }
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (army.ids[i] == EMPTY_ID || army.counts[i] == 0) {
            army.ids[i] = id;
            army.counts[i] = static_cast<uint16_t>(std::min(count, 65535));
            return army.counts[i];
        }
    return 0;
}

namespace {

int town_visit(const GameState& state, PlayerResources* treasury, int player, HeroState& hero, CastleState& town,
               bool evaluate_only) {
    int64_t worth = spell_part(evaluate_only ? nullptr : treasury, hero, town, evaluate_only);

    // Wide: five full stacks of the top creature are worth more than 32 bits hold.
    const int64_t h = static_cast<int64_t>(FightValueOfStack(hero.army, nullptr, false));
    const int64_t g = static_cast<int64_t>(FightValueOfStack(town.garrison, nullptr, false));
    const double share = h + g > 0 ? static_cast<double>(g) / (h + g) : 0.0;
    const int s = std::min(std::min(hero.attack + hero.artifact_bonus[0], 127) + std::min(hero.defense + hero.artifact_bonus[1], 127), 10);
    const double T = town.is_castle ? 0.54 - 0.02 * s : 0.33 - 0.01 * s;
    const double dev = std::abs(T - share);
    const bool balanced = 0.15 * T > dev;

    if (evaluate_only && !balanced) {
        const Army& receiver = share > T ? hero.army : town.garrison;
        bool full = true;
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (receiver.counts[i] == 0) full = false;
        bool shared = false;
        for (int i = 0; i < ARMY_SLOTS; ++i)
            if (town.garrison.ids[i] != EMPTY_ID && holds_creature(hero.army, town.garrison.ids[i])) shared = true;
        if (!(full && !shared)) {
            const double wr = is_player_index(player) ? state.ai_vars[player].wealth_ratio : 0.0f;
            const double t = ((dev + 0.78) * (dev + 0.78) - 1) * (h + g) * wr * (h >= g ? 0.13 : 0.25);
            const int64_t troop = static_cast<int64_t>(t);
            if (troop > 0) worth += troop;
        }
    } else if (!evaluate_only && !balanced) {
        const bool hero_gives = !(share > T);
        Army& giver = hero_gives ? hero.army : town.garrison;
        Army& receiver = hero_gives ? town.garrison : hero.army;
        double X = hero_gives ? (h + g) * dev : (h + g) * (dev + 0.04);
        for (int guard = 0; guard < 16; ++guard) {
            if (hero_gives && creatures_in(hero.army) < 2) break;
            int slot = -1;
            for (int i = 0; i < ARMY_SLOTS && slot < 0; ++i)
                if (!giver.slot_empty(i) && holds_creature(receiver, giver.ids[i])) slot = i;
            if (slot < 0) {
                double best = -1;
                for (int i = 0; i < ARMY_SLOTS; ++i) {
                    if (giver.slot_empty(i)) continue;
                    const double v = static_cast<double>(ai_creature_value(giver.ids[i])) * giver.counts[i];
                    if (v > best) { best = v; slot = i; }
                }
            }
            if (slot < 0) break;
            const uint8_t id = giver.ids[slot];
            if (!holds_creature(receiver, id) && !has_free_slot(receiver)) break;
            const double unit = ai_creature_value(id);
            if (unit <= 0) break;
            // More than a stack can hold moves the whole stack; the bound keeps the count an int.
            const int n = static_cast<int>(std::min(X / unit + 0.5, 100000.0));
            if (n < 1) break;
            const int m = giver.counts[slot];
            int amount;
            bool last = false;
            if (m < n) {
                amount = m;
            } else {
                last = true;
                amount = (n >= 0.65 * m || n >= m - 1) ? m : n;
            }
            if (hero_gives && amount >= creatures_in(hero.army)) {
                amount = creatures_in(hero.army) - 1;
                last = true;
            }
            if (unit * amount * 1.2 > X) last = true;
            else X -= unit * amount;
            if (amount < 1) break;
            const int moved = ai_merge_into_army(receiver, id, amount);
            giver.counts[slot] = static_cast<uint16_t>(m - moved);
            if (giver.counts[slot] == 0) giver.ids[slot] = EMPTY_ID;
            if (last || moved < amount) break;
        }
    }
    return static_cast<int>(std::min<int64_t>(worth, INT32_MAX));
}

}  // namespace

void HeroInteractionAtTown(GameState& state, const GameMap& map, int player, HeroState& hero, CastleState& town,
                           bool evaluate_only, int* value) {
    (void)map;
    PlayerResources* treasury = is_player_index(player) ? &state.resources[player] : nullptr;
    const int worth = town_visit(state, treasury, player, hero, town, evaluate_only);
    if (value) *value = worth;
}

void eval_hero_interaction_at_town(const GameState& state, const GameMap& map, int player, const HeroState& hero,
                                   const CastleState& town, int& value) {
    (void)map;
    // Valuing changes nothing; copies keep the callers' records const.
    HeroState h = hero;
    CastleState t = town;
    value = town_visit(state, nullptr, player, h, t, true);
}

void DoAllHeroInteractions(GameState& state, const GameMap& map, int player) {
    for (CastleState& town : state.castles) {
        if (!town.live || town.owner != player) continue;
        for (HeroState& h : state.heroes)
            if (h.live && h.owner == player && h.x == town.x && h.y == town.y) {
                HeroInteractionAtTown(state, map, player, h, town, false, nullptr);
                break;
            }
    }
}

bool move_garrison_stacks_to_hero(CastleState& town, HeroState& hero, int guard) {
    bool moved = false;
    for (int slot : strongest_first(town.garrison)) {
        if (slot == guard || town.garrison.slot_empty(slot)) continue;
        moved |= move_stack(town.garrison, slot, hero.army);
    }
    return moved;
}

void pool_garrison_into_hero(const GameState& state, int player, CastleState& town, HeroState& hero, bool keep_guard) {
    const bool moved = move_garrison_stacks_to_hero(town, hero, keep_guard ? weakest_stack(town.garrison) : -1);
    if (moved)
        ai_log(state, player, "pool garrison into hero (castle @ %d,%d)%s", town.x, town.y, keep_guard ? " [kept guard]" : "");
    if (keep_guard && town.garrison.empty() && hero.army.stack_count() >= 2) {
        const int weak = weakest_stack(hero.army);
        if (weak >= 0 && army_power(hero.army) - stack_power(hero.army, weak) >= 1) {
            town.garrison.ids[0] = hero.army.ids[weak];
            town.garrison.counts[0] = hero.army.counts[weak];
            hero.army.ids[weak] = EMPTY_ID;
            hero.army.counts[weak] = 0;
            ai_log(state, player, "leave garrison guard from hero (castle @ %d,%d)", town.x, town.y);
        }
    }
}

void ai_pool_between_allied_heroes(GameState& state, int player) {
    if (!is_player_index(player)) return;
    const bool courier = is_smart_or_genius(state, player);
    std::vector<int> list;
    for (int i = 0; i < static_cast<int>(state.heroes.size()); ++i)
        if (state.heroes[i].live && state.heroes[i].owner == player) list.push_back(i);
    auto strength = [](const HeroState& h) {
        return army_power(h.army) * (1 + 0.04 * std::min(h.attack + h.artifact_bonus[0], 127) +
                                     0.03 * std::min(h.defense + h.artifact_bonus[1], 127));
    };
    for (size_t ai = 0; ai < list.size(); ++ai)
        for (size_t bi = ai + 1; bi < list.size(); ++bi) {
            HeroState& a = state.heroes[list[ai]];
            HeroState& b = state.heroes[list[bi]];
            if (std::abs(a.x - b.x) > 1 || std::abs(a.y - b.y) > 1) continue;
            const bool a_receives = strength(a) >= strength(b);
            HeroState& recv = a_receives ? a : b;
            HeroState& give = a_receives ? b : a;
            if (give.army.stack_count() < 2) continue;
            int kept = -1;
            if (courier) {
                for (int i = 0; i < ARMY_SLOTS; ++i) {
                    if (give.army.slot_empty(i)) continue;
                    if (kept < 0) { kept = i; continue; }
                    const int ci = pool_creature_speed_class(give.army.ids[i]);
                    const int ck = pool_creature_speed_class(give.army.ids[kept]);
                    if (ci > ck || (ci == ck && stack_power(give.army, i) > stack_power(give.army, kept))) kept = i;
                }
            } else {
                kept = weakest_stack(give.army);
            }
            bool moved = false;
            for (int slot : strongest_first(give.army)) {
                if (give.army.stack_count() < 2) break;
                if (slot == kept || give.army.slot_empty(slot)) continue;
                moved |= move_stack(give.army, slot, recv.army);
            }
            if (moved)
                ai_log(state, player, "pool heroes: %d \u2192 %d @ (%d,%d)%s", a_receives ? list[bi] : list[ai],
                       a_receives ? list[ai] : list[bi], recv.x, recv.y, courier ? " [fast courier]" : "");
        }
}

}  // namespace vorn1
