#include "battle/headless_battle.h"

#include <algorithm>

#include "battle/battle_types.h"
#include "world/creature_table.h"
#include "battle/morale_luck.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

constexpr uint8_t kGhost = 26;
constexpr int64_t kMaxDamage = 1000000000;
constexpr int64_t kMaxExperience = 2000000000;

struct Stack {
    uint8_t id = 255;
    int64_t count = 0;
    int64_t top_hp = 0;
    int64_t hp = 1;
    int attack = 0;
    int defense = 0;
    int min_dmg = 0;
    int max_dmg = 0;
    int speed = 2;
    bool shooter = false;
    bool flies = false;
    int shots = 0;
    uint8_t side = 0;
    bool present = false;
    int64_t start = 0;
    int slot = 0;
    bool retaliated = false;

    bool fighting() const { return present && count > 0; }
    int64_t total_hp() const { return (count - 1) * hp + top_hp; }
};

struct SideStats {
    int64_t attack;
    int64_t defense;
    int luck;
};

struct Sim {
    uint32_t rng;
    HeadlessTrace* trace;
    Stack stacks[2][5];
    SideStats sides[2];

    bool side_alive(int s) const {
        for (const Stack& st : stacks[s])
            if (st.fighting()) return true;
        return false;
    }

    int64_t side_hp(int s) const {
        int64_t total = 0;
        for (const Stack& st : stacks[s])
            if (st.fighting()) total += st.total_hp();
        return total;
    }

    static int target_class(const Stack& e) {
        if (e.shooter && e.shots > 0) return 0;
        if (e.flies) return 1;
        return 2;
    }

    Stack* pick_target(const Stack& s, bool shoots) {
        static constexpr int kRanged[3] = {0, 1, 2};
        static constexpr int kGround[3] = {0, 2, 1};
        const int* order = (shoots || s.flies) ? kRanged : kGround;
        Stack* enemies = stacks[1 - s.side];
        for (int k = 0; k < 3; ++k) {
            Stack* best = nullptr;
            int64_t best_threat = 0;
            for (int i = 0; i < 5; ++i) {
                Stack& e = enemies[i];
                if (!e.fighting() || target_class(e) != order[k]) continue;
                int64_t threat = e.total_hp() * (static_cast<int64_t>(e.min_dmg) + e.max_dmg + 1);
                bool better = best == nullptr || (s.id == kGhost ? threat < best_threat : threat > best_threat);
                if (better) {
                    best = &e;
                    best_threat = threat;
                }
            }
            if (best) return best;
        }
        return nullptr;
    }

    int64_t strike_damage(const Stack& x, const Stack& y, bool halve) {
        int64_t base = x.min_dmg;
        if (x.max_dmg > x.min_dmg)
            base = x.min_dmg + static_cast<int64_t>(xorshift32_next(rng) % static_cast<uint32_t>(x.max_dmg - x.min_dmg + 1));
        int64_t dmg = base * x.count;
        int64_t a = sides[x.side].attack + x.attack;
        int64_t d = sides[y.side].defense + y.defense;
        if (a > d) dmg += dmg * std::min<int64_t>(a - d, 20) / 10;
        else if (a < d) dmg = std::max<int64_t>(dmg - dmg * std::min<int64_t>(d - a, 16) / 20, 1);
        if (halve) dmg /= 2;
        uint32_t luck_draw = xorshift32_next(rng);
        int luck = sides[x.side].luck;
        if (luck > 0 && luck_draw % 24 < static_cast<uint32_t>(2 * std::min(luck, 3))) dmg *= 2;
        return std::clamp<int64_t>(dmg, 1, kMaxDamage);
    }

    static void apply_damage(Stack& y, int64_t dmg) {
        int64_t total = y.total_hp() - dmg;
        if (total < 1) {
            y.count = 0;
            y.top_hp = 0;
            y.present = false;
            return;
        }
        y.count = (total + y.hp - 1) / y.hp;
        y.top_hp = total - (y.count - 1) * y.hp;
    }

    void act(Stack& s) {
        bool shoots = s.shooter && s.shots > 0;
        Stack* t = pick_target(s, shoots);
        if (!t) return;
        if (shoots) {
            if (trace) ++trace->shots[s.side];
            --s.shots;
            apply_damage(*t, strike_damage(s, *t, false));
            return;
        }
        if (trace) ++trace->melee_strikes[s.side];
        apply_damage(*t, strike_damage(s, *t, s.shooter));
        if (t->fighting() && !t->retaliated) {
            if (trace) ++trace->retaliations[t->side];
            t->retaliated = true;
            apply_damage(s, strike_damage(*t, s, false));
        }
    }
};

void set_up_side(Sim& sim, int side, const HeadlessSideInput& in) {
    sim.sides[side] = {in.attack, in.defense, in.luck};
    for (int i = 0; i < 5; ++i) {
        Stack& st = sim.stacks[side][i];
        st = Stack{};
        st.side = static_cast<uint8_t>(side);
        st.slot = i;
        st.id = in.ids[i];
        if (in.ids[i] == 255 || in.counts[i] < 1) continue;
        CreatureStats cs = creature_stats(in.ids[i]);
        st.present = true;
        st.count = in.counts[i];
        st.start = in.counts[i];
        st.hp = std::max(cs.hp, 1);
        st.top_hp = st.hp;
        st.attack = cs.attack;
        st.defense = cs.defense;
        st.min_dmg = cs.min_dmg;
        st.max_dmg = cs.max_dmg;
        st.speed = cs.speed;
        st.shooter = cs.shooter;
        st.flies = creature_can_fly(in.ids[i]);
        st.shots = cs.shots;
    }
}

}  // namespace

HeadlessSideInput headless_side_from_hero(const HeroState& hero, bool defending) {
    HeadlessSideInput in;
    for (int i = 0; i < 5; ++i) {
        in.ids[i] = hero.army.ids[i];
        in.counts[i] = hero.army.ids[i] == kNoCreature ? 0 : hero.army.counts[i];
    }
    in.attack = std::min(hero.attack + hero.artifact_bonus[0], 127);
    in.defense = std::min(hero.defense + hero.artifact_bonus[1], 127);
    in.luck = hero_battle_luck(hero);
    in.morale = hero_battle_morale(hero);
    in.defending = defending ? 1 : 0;
    return in;
}

HeadlessResult simulate_headless_battle(const HeadlessSideInput& attacker, const HeadlessSideInput& defender,
                                        unsigned seed, HeadlessTrace* trace) {
    HeadlessResult r;
    r.attacker_ids = attacker.ids;
    r.defender_ids = defender.ids;

    Sim sim;
    sim.rng = seed != 0 ? seed : kHeadlessZeroSeed;
    sim.trace = trace;
    set_up_side(sim, 0, attacker);
    set_up_side(sim, 1, defender);

    struct Turn {
        uint8_t side;
        int32_t slot;
        int32_t speed;
    };

    int rounds = 0;
    while (sim.side_alive(0) && sim.side_alive(1) && rounds < kHeadlessMaxRounds) {
        ++rounds;
        if (trace) trace->rounds = rounds;
        Turn turns[10];
        int n = 0;
        for (int s = 0; s < 2; ++s)
            for (int i = 0; i < 5; ++i) {
                Stack& st = sim.stacks[s][i];
                st.retaliated = false;
                if (st.present) turns[n++] = {static_cast<uint8_t>(s), i, st.speed};
            }
        std::stable_sort(turns, turns + n, [](const Turn& a, const Turn& b) { return a.speed > b.speed; });
        for (int k = 0; k < n; ++k) {
            Stack& s = sim.stacks[turns[k].side][turns[k].slot];
            if (!s.fighting()) continue;
            if (!sim.side_alive(1 - s.side)) break;
            sim.act(s);
        }
    }

    bool att = sim.side_alive(0);
    bool def = sim.side_alive(1);
    if (att && def) {
        r.timed_out = 1;
        r.attacker_won = sim.side_hp(0) >= sim.side_hp(1) ? 1 : 0;
    } else {
        r.attacker_won = (att && !def) ? 1 : 0;
    }

    for (int i = 0; i < 5; ++i) {
        const Stack& a = sim.stacks[0][i];
        const Stack& d = sim.stacks[1][i];
        r.attacker_survivors[i] = a.present ? static_cast<int32_t>(a.count) : 0;
        r.defender_survivors[i] = d.present ? static_cast<int32_t>(d.count) : 0;
    }

    int loser = r.attacker_won ? 1 : 0;
    int64_t exp = 0;
    for (const Stack& st : sim.stacks[loser]) {
        if (st.id == 255 || st.start < 1) continue;
        int64_t left = st.present ? st.count : 0;
        exp += std::max<int64_t>(st.start - left, 0) * st.hp;
        if (exp >= kMaxExperience) {
            exp = kMaxExperience;
            break;
        }
    }
    r.experience = static_cast<int32_t>(exp);
    return r;
}

}  // namespace vorn1
