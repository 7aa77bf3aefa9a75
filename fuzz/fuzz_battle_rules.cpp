// Arbitrary armies, skills and stack states through the headless battle, the turn order and the
// hex queries: nothing may crash, hang or grow without bound.
#include <cstddef>
#include <cstdint>

#include "battle/battle_screen.h"
#include "battle/headless_battle.h"

using namespace vorn1;

namespace {
struct Reader {
    const uint8_t* p;
    size_t n;
    size_t at = 0;
    uint8_t u8() { return at < n ? p[at++] : 0; }
    int32_t i32() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(u8()) << (8 * i);
        return static_cast<int32_t>(v);
    }
};

HeadlessSideInput read_side(Reader& r) {
    HeadlessSideInput s;
    for (auto& id : s.ids) id = r.u8();
    for (auto& c : s.counts) c = r.i32();
    s.attack = r.i32();
    s.defense = r.i32();
    s.luck = r.i32();
    s.morale = r.i32();
    return s;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Reader r{data, size};
    uint32_t seed = static_cast<uint32_t>(r.i32());
    HeadlessSideInput a = read_side(r);
    HeadlessSideInput d = read_side(r);
    HeadlessResult res = simulate_headless_battle(a, d, seed);
    if (res.experience < 0) __builtin_trap();

    BattleScreen b;
    b.siege = r.u8() & 1;
    b.rng = seed | 1u;
    b.attacker_side.morale = static_cast<int8_t>(a.morale);
    b.defender_side.morale = static_cast<int8_t>(d.morale);
    for (int i = 0; i < 10; ++i) {
        BattleUnit& u = *b.unit_by_index(i);
        const HeadlessSideInput& in = i < 5 ? a : d;
        u.creature = in.ids[i % 5];
        u.count = in.counts[i % 5];
        u.side = i < 5 ? 0 : 1;
        u.row = i % 5;
        u.col = static_cast<int>(r.u8() % 9);
        u.spell_status = r.u8();
        u.status_rounds = r.u8();
        u.disabled = r.u8() & 1;
        u.paralysed = u.disabled;
    }
    b.build_turn_queue();
    b.current = -1;
    for (int k = 0; k < 64; ++k) b.advance_turn();
    for (int row = -1; row <= 5; ++row)
        for (int col = -1; col <= 9; ++col) {
            (void)b.unit_at_hex(row, col);
            (void)b.adjacent_enemy(row, col, false);
            if (row >= 0 && row < 5)
                for (int i = 0; i < 10; ++i) {
                    (void)b.can_occupy(*b.unit_by_index(i), row, col);
                    (void)b.flyer_landing_col(*b.unit_by_index(i), row, col);
                }
        }
    return 0;
}
