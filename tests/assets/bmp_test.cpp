#include <gtest/gtest.h>

#include <stdexcept>

#include "assets/bmp.h"
#include "datakit/kit_formats.h"

using namespace vorn1;
using kit::Bytes;

namespace {
std::string error_of(const Bytes& b) {
    try {
        decode_bmp(b, kit::standard_palette());
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}
}  // namespace

TEST(Bmp, RoundTripEveryPixel) {
    const Palette pal = kit::standard_palette();
    const kit::IndexGrid g = kit::labelled_picture(37, 23, "VELDAR.BMP", 0);
    const Bytes raw = kit::write_bmp(g);
    ASSERT_EQ(raw.size(), 6u + 37 * 23);
    EXPECT_EQ(raw[0], 0x21);
    EXPECT_EQ(raw[1], 0x00);
    const Image img = decode_bmp(raw, pal);
    ASSERT_EQ(img.width, 37);
    ASSERT_EQ(img.height, 23);
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 37; ++x) {
            const Color c = pal[g.index[y * 37 + x]];
            const uint8_t* px = img.at(x, y);
            ASSERT_TRUE(px[0] == c.r && px[1] == c.g && px[2] == c.b && px[3] == 255) << x << "," << y;
        }
    // Extra bytes after the pixels are ignored.
    Bytes longer = raw;
    longer.push_back(1);
    EXPECT_EQ(decode_bmp(longer, pal).pixels, img.pixels);
}

TEST(Bmp, BadInput) {
    EXPECT_NE(error_of({}), "");
    EXPECT_NE(error_of({0x21, 0, 1, 0, 1}), "");
    EXPECT_NE(error_of({0x22, 0, 1, 0, 1, 0, 5}).find("magic"), std::string::npos);
    EXPECT_NE(error_of({0x21, 0, 0, 0, 1, 0}).find("zero size"), std::string::npos);
    EXPECT_NE(error_of({0x21, 0, 2, 0, 0, 0}).find("zero size"), std::string::npos);
    EXPECT_NE(error_of({0x21, 0, 2, 0, 2, 0, 1, 2, 3}).find("truncated"), std::string::npos);
    // 65535 x 65535 claimed with a few bytes: refused before any allocation.
    EXPECT_NE(error_of({0x21, 0, 0xFF, 0xFF, 0xFF, 0xFF, 1, 2}).find("truncated"), std::string::npos);
    EXPECT_EQ(error_of({0x21, 0, 1, 0, 1, 0, 5}), "");
}
