#pragma once
// The xorshift32 step shared by the battle and the creature rules.
#include <cstdint>

namespace vorn1 {

// One step of the battle's xorshift32; the stepped state is the drawn value.
inline uint32_t xorshift32_next(uint32_t& state) {
    uint32_t x = state;
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    state = x;
    return x;
}

}  // namespace vorn1
