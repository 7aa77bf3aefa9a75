#include <gtest/gtest.h>

#include <stdexcept>

#include "assets/til.h"
#include "datakit/kit_formats.h"

using namespace vorn1;
using kit::Bytes;

TEST(Til, RoundTripEveryTile) {
    const Palette pal = kit::standard_palette();
    std::vector<kit::IndexGrid> tiles;
    for (int t = 0; t < 5; ++t) tiles.push_back(kit::labelled_picture(32, 32, "GROUND.TIL", t));
    const Bytes raw = kit::write_til(32, 32, tiles);
    EXPECT_EQ(kit::labelled_til("GROUND.TIL", 5, 32, 32), raw);
    ASSERT_EQ(raw.size(), 6u + 5 * 32 * 32);
    const TileSet set = decode_til(raw, pal);
    EXPECT_EQ(set.width, 32);
    EXPECT_EQ(set.height, 32);
    ASSERT_EQ(set.tiles.size(), 5u);
    for (int t = 0; t < 5; ++t)
        for (int i = 0; i < 32 * 32; ++i) {
            const Color c = pal[tiles[t].index[i]];
            const uint8_t* px = set.tiles[t].pixels.data() + i * 4;
            ASSERT_TRUE(px[0] == c.r && px[1] == c.g && px[2] == c.b && px[3] == 255) << t << ":" << i;
        }
    // Tiles differ (their frame numbers are drawn on them).
    EXPECT_NE(set.tiles[0].pixels, set.tiles[1].pixels);
}

TEST(Til, BadInput) {
    const Palette pal = kit::standard_palette();
    EXPECT_THROW(decode_til({}, pal), std::runtime_error);
    EXPECT_THROW(decode_til({1, 0, 2, 0}, pal), std::runtime_error);
    EXPECT_THROW(decode_til({1, 0, 0, 0, 2, 0}, pal), std::runtime_error);
    // Claims 65535 tiles of 65535 x 65535 with 1 byte of data.
    EXPECT_THROW(decode_til({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 1}, pal), std::runtime_error);
    Bytes raw = kit::write_til(2, 2, {kit::IndexGrid(2, 2, 3), kit::IndexGrid(2, 2, 4)});
    raw.pop_back();
    try {
        decode_til(raw, pal);
        FAIL();
    } catch (const std::runtime_error& e) {
        EXPECT_NE(std::string(e.what()).find("truncated"), std::string::npos);
    }
    EXPECT_TRUE(decode_til({0, 0, 0, 0, 0, 0}, pal).tiles.empty());
}
