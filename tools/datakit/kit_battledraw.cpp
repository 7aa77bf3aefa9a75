#include "datakit/kit_battledraw.h"

#include <vector>

#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"

namespace vorn1::kit {

namespace {

IcnFrame solid(int w, int h, int x, int y, uint8_t index) {
    IcnFrame f;
    f.x = static_cast<int16_t>(x);
    f.y = static_cast<int16_t>(y);
    f.pixels = IndexGrid(w, h, index);
    return f;
}

}  // namespace

Bytes creature_std_with_shadows() {
    std::vector<IcnFrame> f;
    f.push_back(solid(30, 40, -15, -40, 1));  // outline source
    for (int i = 1; i <= 8; ++i) f.push_back(solid(30, 40, -15, -40, uint8_t(10 + i)));
    f.push_back(solid(1, 1, 0, 0, 19));  // 9: tiny, skipped
    for (int i = 10; i <= 13; ++i) f.push_back(solid(40, 8, -20, -4, uint8_t(10 + i)));
    f.push_back(solid(1, 1, 0, 0, 24));  // 14
    for (int i = 15; i <= 17; ++i) f.push_back(solid(44, 8, -22, -4, uint8_t(10 + i)));
    return write_sprite12(f);
}

Bytes creature_atk_with_parts() {
    std::vector<IcnFrame> f;
    f.push_back(solid(30, 40, -15, -40, 60));
    for (int i = 1; i <= 4; ++i) f.push_back(solid(12, 10, 10, -30 + 4 * i, uint8_t(60 + i)));
    for (int i = 5; i <= 9; ++i) f.push_back(solid(8, 4, 0, 0, uint8_t(60 + i)));
    for (int i = 10; i <= 13; ++i) f.push_back(solid(40, 8, -20, -4, uint8_t(60 + i)));
    return write_sprite12(f);
}

void write_creature_sprite_seeds(const std::string& out_dir) {
    auto with_selector = [](uint8_t sel, const Bytes& b) {
        Bytes out{sel};
        out.insert(out.end(), b.begin(), b.end());
        return out;
    };
    write_seed(out_dir, "creature_sprites", "seed_std", with_selector(3, creature_std_with_shadows()));
    write_seed(out_dir, "creature_sprites", "seed_std_nine", with_selector(11, creature_std_with_shadows()));
    write_seed(out_dir, "creature_sprites", "seed_atk", with_selector(2 * 28 + 1, creature_atk_with_parts()));
    write_seed(out_dir, "creature_sprites", "seed_short", with_selector(28 + 5, Bytes{1, 0, 0, 0}));
}

}  // namespace vorn1::kit
