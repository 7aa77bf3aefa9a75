#include <cstddef>
#include <cstdint>
#include <vector>

#include "battle/creature_sprites.h"

// First byte picks the creature and set; the rest is a creature sprite file.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 1) return 0;
    const int creature = data[0] % 28;
    const auto anim = static_cast<vorn1::CreatureAnim>((data[0] / 28) % 4);
    std::vector<uint8_t> bytes(data + 1, data + size);
    vorn1::Palette pal{};
    vorn1::CreatureImages c;
    vorn1::decode_creature_set(bytes, creature, anim, pal, c);
    vorn1::decode_creature_set(bytes, creature, vorn1::STD, pal, c);
    vorn1::build_composite_images(creature, c);
    for (const auto& list : c.sets)
        for (const vorn1::SpriteImage& s : list)
            if (s.img.pixels.size() != static_cast<size_t>(s.img.width) * s.img.height * 4) __builtin_trap();
    return 0;
}
