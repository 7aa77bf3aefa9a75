#include "assets/palette_cycle.h"

#include <array>

namespace vorn1 {

bool in_cycle(int index, std::span<const CycleRange> ranges) {
    for (const CycleRange& r : ranges)
        if (index >= r.first && index < r.first + r.count) return true;
    return false;
}

Palette cycle_palette(const Palette& pal, std::span<const CycleRange> ranges, uint32_t phase) {
    Palette out = pal;
    for (const CycleRange& r : ranges) {
        if (r.count <= 0 || r.first < 0 || r.first + r.count > 256) continue;
        for (int k = 0; k < r.count; ++k)
            out[r.first + k] = pal[r.first + static_cast<int>((k + phase % r.count) % r.count)];
    }
    return out;
}

CyclePixels find_cycle_pixels(const Image& img, const Palette& pal, std::span<const CycleRange> ranges) {
    CyclePixels px;
    if (img.empty()) return px;
    // 24-bit colour -> entry, built from a sorted list to keep memory small.
    struct Key {
        uint32_t rgb;
        int index;
    };
    std::vector<Key> cycling;
    std::vector<uint32_t> fixed;
    for (int i = 0; i < 256; ++i) {
        const uint32_t rgb = (uint32_t(pal[i].r) << 16) | (uint32_t(pal[i].g) << 8) | pal[i].b;
        if (in_cycle(i, ranges)) cycling.push_back({rgb, i});
        else fixed.push_back(rgb);
    }
    std::vector<Key> usable;
    for (const Key& k : cycling) {
        bool clash = false;
        for (uint32_t f : fixed) clash |= f == k.rgb;
        bool dup = false;
        for (const Key& u : usable) dup |= u.rgb == k.rgb;
        if (!clash && !dup) usable.push_back(k);
    }
    if (usable.empty()) return px;
    const std::size_t n = static_cast<std::size_t>(img.width) * img.height;
    for (std::size_t i = 0; i < n; ++i) {
        const uint8_t* p = img.pixels.data() + i * 4;
        if (p[3] == 0) continue;
        const uint32_t rgb = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
        for (const Key& k : usable) {
            if (k.rgb == rgb) {
                px.offsets.push_back(static_cast<uint32_t>(i));
                px.indices.push_back(static_cast<uint8_t>(k.index));
                break;
            }
        }
    }
    return px;
}

void recolour(Image& img, const CyclePixels& px, const Palette& cycled) {
    const std::size_t limit = img.pixels.size() / 4;
    for (std::size_t i = 0; i < px.offsets.size(); ++i) {
        if (px.offsets[i] >= limit) continue;
        uint8_t* p = img.pixels.data() + static_cast<std::size_t>(px.offsets[i]) * 4;
        const Color& c = cycled[px.indices[i]];
        p[0] = c.r;
        p[1] = c.g;
        p[2] = c.b;
    }
}

}  // namespace vorn1
