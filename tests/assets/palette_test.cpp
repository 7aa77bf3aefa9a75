#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "assets/palette.h"
#include "datakit/kit_formats.h"

using namespace vorn1;
using vorn1::kit::Bytes;

TEST(Palette, SixBitValuesTimesFourCapped) {
    Bytes raw(768, 0);
    raw[0] = 63;   // 252
    raw[1] = 64;   // 256 -> 255
    raw[2] = 255;  // capped
    raw[3] = 1;
    raw[767] = 10;
    const Palette p = load_palette(raw);
    EXPECT_EQ(p[0], (Color{252, 255, 255}));
    EXPECT_EQ(p[1], (Color{4, 0, 0}));
    EXPECT_EQ(p[255], (Color{0, 0, 40}));
}

TEST(Palette, SizeLimits) {
    EXPECT_THROW(load_palette(Bytes(767, 1)), std::runtime_error);
    EXPECT_THROW(load_palette({}), std::runtime_error);
    Bytes big(800, 2);
    big[768] = 63;  // beyond the 768 bytes read
    const Palette p = load_palette(big);
    for (const Color& c : p) EXPECT_EQ(c, (Color{8, 8, 8}));
}

TEST(Palette, StandardPaletteRoundTripsAndIsDistinct) {
    const Palette std_pal = kit::standard_palette();
    EXPECT_EQ(std_pal[0], (Color{0, 0, 0}));
    const Bytes raw = kit::write_palette(std_pal);
    ASSERT_EQ(raw.size(), 768u);
    for (uint8_t b : raw) EXPECT_LE(b, 63);
    EXPECT_EQ(load_palette(raw), std_pal);
    std::set<std::tuple<int, int, int>> seen;
    for (const Color& c : std_pal) seen.insert({c.r, c.g, c.b});
    EXPECT_GE(seen.size(), 240u);
}

TEST(Palette, Remap) {
    Palette p{};
    for (int i = 0; i < 256; ++i) p[i] = Color{static_cast<uint8_t>(i), static_cast<uint8_t>(255 - i), 7};
    EXPECT_EQ(remap_palette(p, std::nullopt), p);
    PaletteRemap t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(255 - i);
    t[10] = 10;
    const Palette r = remap_palette(p, t);
    EXPECT_EQ(r[0], p[255]);
    EXPECT_EQ(r[255], p[0]);
    EXPECT_EQ(r[10], p[10]);
    EXPECT_EQ(r[100], p[155]);
}
