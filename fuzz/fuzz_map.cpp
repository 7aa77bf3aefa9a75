// Scenario and campaign map readers on arbitrary bytes.
#include <cstddef>
#include <cstdint>
#include <exception>
#include <vector>

#include "world/map.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<uint8_t> bytes(data, data + size);
    try {
        vorn1::GameMap m = vorn1::load_map_bytes(bytes, "fuzz.map");
        vorn1::rebuild_monster_guard_map(m);
        for (int y = 0; y < m.height; ++y)
            for (int x = 0; x < m.width; ++x) (void)m.guarded(x, y);
    } catch (const std::exception&) {
    }
    try {
        (void)vorn1::load_cmp_bytes(bytes, "fuzz.cmp");
    } catch (const std::exception&) {
    }
    return 0;
}
