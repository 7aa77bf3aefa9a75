#pragma once
// Stacks placed by hand on a battle record that never opened: the rules need no renderer.
#include <string>
#include <vector>

#include "battle/battle_screen.h"
#include "world/creature_table.h"

namespace vorn1::test {

// Stack index 0..4 attacker slots, 5..9 defender slots; full top creature and table shots.
inline BattleUnit& put(BattleScreen& b, int index, uint8_t id, int count, int row, int col) {
    BattleUnit& u = *b.unit_by_index(index);
    u = BattleUnit{};
    u.creature = id;
    u.count = count;
    u.side = index < 5 ? 0 : 1;
    u.row = row;
    u.col = col;
    CreatureStats cs = creature_stats(id);
    u.top_hp = cs.hp;
    u.shots = cs.shots;
    return u;
}

// A queue of every living stack in index order, the first one acting.
inline void queue_all(BattleScreen& b, int acting = 0) {
    b.queue.clear();
    for (int i = 0; i < 10; ++i)
        if (is_living(*b.unit_by_index(i))) b.queue.push_back({static_cast<uint8_t>(i < 5 ? 0 : 1), i % 5});
    b.current = 0;
    for (int k = 0; k < static_cast<int>(b.queue.size()); ++k)
        if ((b.queue[k].side == 0 ? b.queue[k].slot : b.queue[k].slot + 5) == acting) b.current = k;
}

// Records every sound the rules ask for.
struct SfxLog {
    struct Entry {
        BattleSfx kind;
        int creature;
        int channel;
        int volume;
    };
    std::vector<Entry> entries;
    void attach(BattleScreen& b) {
        b.sfx_hook = [this](BattleSfx k, int c, int ch, int v) { entries.push_back({k, c, ch, v}); };
    }
    int count(BattleSfx k) const {
        int n = 0;
        for (const Entry& e : entries) n += e.kind == k;
        return n;
    }
};

// Steps the frame machine with a fixed dt until the phase leaves `from` (at most `limit` ms).
inline float run_phase(BattleScreen& b, ActionPhase from, float dt = 5.0f, float limit = 10000.0f) {
    float t = 0.0f;
    while (b.phase == from && t < limit) {
        b.tick_combat(dt);
        t += dt;
    }
    return t;
}

}  // namespace vorn1::test
