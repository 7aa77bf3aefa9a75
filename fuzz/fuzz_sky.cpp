// The battlefield sky reader: any bytes either make a picture of the stated size or none.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "assets/battle_sky_cycle.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn1::Palette pal{};
    for (int i = 0; i < 256; ++i) pal[i] = vorn1::Color{uint8_t(i), uint8_t(i), uint8_t(i)};
    vorn1::BattleSkyCycle sky;
    sky.init(nullptr, pal);
    sky.set_source(std::vector<uint8_t>(data, data + size));
    if (sky.active && (sky.w <= 0 || sky.h <= 0 || static_cast<size_t>(sky.w) * sky.h + 6 > size)) std::abort();
    sky.tick(1000);
    sky.tick(5000);
    return 0;
}
