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

Bytes scene_set(const std::vector<Bytes>& streams) {
    Bytes out{static_cast<uint8_t>(streams.size()), static_cast<uint8_t>(streams.size() >> 8), 0, 0, 0, 0};
    const size_t table = 6 + 12 * streams.size();
    size_t at = table;
    for (size_t i = 0; i < streams.size(); ++i) {
        const size_t d = at - 6;
        const Bytes rec{static_cast<uint8_t>(i), 0, static_cast<uint8_t>(256 - i), 255, 0, 0, 0, 0,
                        static_cast<uint8_t>(d), static_cast<uint8_t>(d >> 8), static_cast<uint8_t>(d >> 16), 0};
        out.insert(out.end(), rec.begin(), rec.end());
        at += streams[i].size();
    }
    for (const Bytes& s : streams) out.insert(out.end(), s.begin(), s.end());
    return out;
}

void write_battle_scene_seeds(const std::string& out_dir) {
    auto with_selector = [](uint8_t sel, const Bytes& b) {
        Bytes out{sel};
        out.insert(out.end(), b.begin(), b.end());
        return out;
    };
    Bytes sky{0, 0, 4, 0, 2, 0};
    for (int i = 0; i < 8; ++i) sky.push_back(static_cast<uint8_t>(200 + i));
    write_seed(out_dir, "battle_scene", "sky", with_selector(0, sky));
    write_seed(out_dir, "battle_scene", "sky_short", with_selector(2, Bytes{0, 0, 9, 0, 9, 0, 1}));
    write_seed(out_dir, "battle_scene", "set", with_selector(1, scene_set({{2, 10, 11, 0, 0x83, 1, 12, 0x80},
                                                                            {0x80},
                                                                            {0x85, 3, 7, 7, 7, 0, 1, 9}})));
    write_seed(out_dir, "battle_scene", "set_cut", with_selector(3, Bytes{3, 0, 0, 0, 0, 0, 1, 2, 3, 4, 5}));
}

}  // namespace vorn1::kit
