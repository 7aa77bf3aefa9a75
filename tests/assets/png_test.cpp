#include <gtest/gtest.h>

#include <zlib.h>

#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "assets/png_decode.h"
#include "datakit/datakit.h"

using namespace vorn1;
using Bytes = std::vector<uint8_t>;

namespace {

void be32(Bytes& b, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) b.push_back(static_cast<uint8_t>(v >> s));
}

void chunk(Bytes& out, const std::string& type, const Bytes& data) {
    be32(out, static_cast<uint32_t>(data.size()));
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    be32(out, 0);  // the reader leaves the check value to zlib's own check of the image data
}

Bytes zip(const Bytes& raw) {
    uLongf n = compressBound(static_cast<uLong>(raw.size()));
    Bytes z(n);
    compress(z.data(), &n, raw.data(), static_cast<uLong>(raw.size()));
    z.resize(n);
    return z;
}

// A PNG from already-filtered scanlines (each with its filter byte) and optional extra chunks
// placed before the image data.
Bytes make_png(uint32_t w, uint32_t h, int depth, int colour, const Bytes& scanlines,
               const std::vector<std::pair<std::string, Bytes>>& extra = {}, int interlace = 0) {
    Bytes out = {137, 80, 78, 71, 13, 10, 26, 10};
    Bytes ihdr;
    be32(ihdr, w);
    be32(ihdr, h);
    ihdr.insert(ihdr.end(), {static_cast<uint8_t>(depth), static_cast<uint8_t>(colour), 0, 0, static_cast<uint8_t>(interlace)});
    chunk(out, "IHDR", ihdr);
    for (const auto& [t, d] : extra) chunk(out, t, d);
    const Bytes z = zip(scanlines);
    // Image data split over two chunks.
    chunk(out, "IDAT", Bytes(z.begin(), z.begin() + static_cast<long>(z.size() / 2)));
    chunk(out, "IDAT", Bytes(z.begin() + static_cast<long>(z.size() / 2), z.end()));
    chunk(out, "IEND", {});
    return out;
}

std::string error_of(const Bytes& b) {
    try {
        decode_png(b);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

std::array<int, 4> px(const Image& img, int x, int y) {
    const uint8_t* p = img.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

}  // namespace

TEST(Png, EncodeDecodeRoundTrip) {
    Image img(29, 17);
    for (std::size_t i = 0; i < img.pixels.size(); ++i) img.pixels[i] = static_cast<uint8_t>(i * 37 + i / 7);
    const Bytes png = encode_png(img);
    const Image back = decode_png(png);
    EXPECT_EQ(back.width, 29);
    EXPECT_EQ(back.height, 17);
    EXPECT_EQ(back.pixels, img.pixels);
    // Every chunk carries a correct check value.
    std::size_t pos = 8;
    int chunks = 0;
    while (pos + 12 <= png.size()) {
        const uint32_t len = png[pos] << 24 | png[pos + 1] << 16 | png[pos + 2] << 8 | png[pos + 3];
        const uint32_t crc = crc32(0, png.data() + pos + 4, len + 4);
        const std::size_t at = pos + 8 + len;
        EXPECT_EQ(crc, uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3]);
        pos += 12 + len;
        ++chunks;
    }
    EXPECT_EQ(chunks, 3);
    EXPECT_EQ(pos, png.size());
    EXPECT_THROW(encode_png(Image()), std::runtime_error);
}

TEST(Png, ColourTypesAndDepths) {
    // Grey 8 with a transparent key.
    Image g = decode_png(make_png(2, 1, 8, 0, {0, 7, 200}, {{"tRNS", {0, 7}}}));
    EXPECT_EQ(px(g, 0, 0), (std::array<int, 4>{7, 7, 7, 0}));
    EXPECT_EQ(px(g, 1, 0), (std::array<int, 4>{200, 200, 200, 255}));
    // Grey 1-bit, 9 pixels: spans two bytes, scaled to 0/255.
    g = decode_png(make_png(9, 1, 1, 0, {0, 0b10100000, 0b10000000}));
    EXPECT_EQ(px(g, 0, 0)[0], 255);
    EXPECT_EQ(px(g, 1, 0)[0], 0);
    EXPECT_EQ(px(g, 2, 0)[0], 255);
    EXPECT_EQ(px(g, 8, 0)[0], 255);
    // Grey 2 and 4 bits.
    g = decode_png(make_png(3, 1, 2, 0, {0, 0b00011011}));
    EXPECT_EQ(px(g, 0, 0)[0], 0);
    EXPECT_EQ(px(g, 1, 0)[0], 85);
    EXPECT_EQ(px(g, 2, 0)[0], 170);
    g = decode_png(make_png(2, 1, 4, 0, {0, 0xF3}));
    EXPECT_EQ(px(g, 0, 0)[0], 255);
    EXPECT_EQ(px(g, 1, 0)[0], 51);
    // Grey + alpha, RGB with a key, RGBA 16-bit.
    g = decode_png(make_png(1, 1, 8, 4, {0, 9, 99}));
    EXPECT_EQ(px(g, 0, 0), (std::array<int, 4>{9, 9, 9, 99}));
    g = decode_png(make_png(2, 1, 8, 2, {0, 1, 2, 3, 4, 5, 6}, {{"tRNS", {0, 4, 0, 5, 0, 6}}}));
    EXPECT_EQ(px(g, 0, 0), (std::array<int, 4>{1, 2, 3, 255}));
    EXPECT_EQ(px(g, 1, 0), (std::array<int, 4>{4, 5, 6, 0}));
    g = decode_png(make_png(1, 1, 16, 6, {0, 0x12, 0x34, 0x56, 0x78, 0x9A, 0xBC, 0xDE, 0xF0}));
    EXPECT_EQ(px(g, 0, 0), (std::array<int, 4>{0x12, 0x56, 0x9A, 0xDE}));
    // Palette, 4-bit, with partial alpha table.
    g = decode_png(make_png(3, 1, 4, 3, {0, 0x01, 0x20}, {{"PLTE", {10, 11, 12, 20, 21, 22, 30, 31, 32}}, {"tRNS", {50}}}));
    EXPECT_EQ(px(g, 0, 0), (std::array<int, 4>{10, 11, 12, 50}));
    EXPECT_EQ(px(g, 1, 0), (std::array<int, 4>{20, 21, 22, 255}));
    EXPECT_EQ(px(g, 2, 0), (std::array<int, 4>{30, 31, 32, 255}));
}

TEST(Png, Filters) {
    // Grey 8, 3 pixels, rows: none, sub, up, average, paeth.
    const Bytes rows = {0, 10, 20, 30,  //
                        1, 5, 1, 1,     // sub: 5 6 7
                        2, 1, 1, 1,     // up: 6 7 8
                        3, 3, 2, 2,     // average rounds down: (0+6)/2+3=6, (6+7)/2+2=8, (8+8)/2+2=10
                        4, 1, 1, 1};    // paeth: b=6 -> 7; a=7,b=8,c=6: p=9 -> b, 9; a=9,b=10,c=8: p=11 -> b, 11
    const Image img = decode_png(make_png(3, 5, 8, 0, rows));
    const int want[5][3] = {{10, 20, 30}, {5, 6, 7}, {6, 7, 8}, {6, 8, 10}, {7, 9, 11}};
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 3; ++x) EXPECT_EQ(px(img, x, y)[0], want[y][x]) << x << "," << y;
    // Paeth picking the left neighbour, then the upper-left one.
    Image p = decode_png(make_png(2, 2, 8, 0, {0, 30, 30, 4, 5, 1}));
    EXPECT_EQ(px(p, 0, 1)[0], 35);
    EXPECT_EQ(px(p, 1, 1)[0], 36);
    p = decode_png(make_png(2, 2, 8, 0, {0, 20, 0, 4, 20, 3}));
    EXPECT_EQ(px(p, 0, 1)[0], 40);
    EXPECT_EQ(px(p, 1, 1)[0], 23);
    // RGB: the sub filter reaches back one whole pixel (3 bytes).
    const Image rgb = decode_png(make_png(2, 1, 8, 2, {1, 1, 2, 3, 1, 1, 1}));
    EXPECT_EQ(px(rgb, 1, 0), (std::array<int, 4>{2, 3, 4, 255}));
    EXPECT_NE(error_of(make_png(1, 1, 8, 0, {5, 0})).find("filter"), std::string::npos);
}

TEST(Png, BadInput) {
    EXPECT_EQ(error_of({}), "decode_png: bad PNG signature");
    EXPECT_EQ(error_of({137, 80, 78, 71, 13, 10, 26}), "decode_png: bad PNG signature");
    EXPECT_EQ(error_of({137, 80, 78, 71, 13, 10, 26, 11, 0}), "decode_png: bad PNG signature");
    const Bytes good = make_png(4, 4, 8, 6, Bytes(4 * 17, 0));
    EXPECT_EQ(error_of(good), "");
    // Cut anywhere: always a decode_png error, never a crash.
    for (std::size_t len = 0; len + 12 < good.size(); ++len) {
        const std::string e = error_of(Bytes(good.begin(), good.begin() + static_cast<long>(len)));
        EXPECT_EQ(e.rfind("decode_png: ", 0), 0u) << len << " " << e;
    }
    // Too few and too many rows for the declared size.
    EXPECT_EQ(error_of(make_png(4, 5, 8, 6, Bytes(4 * 17, 0))), "decode_png: image data truncated");
    EXPECT_EQ(error_of(make_png(4, 3, 8, 6, Bytes(4 * 17, 0))), "decode_png: too much image data");
    EXPECT_NE(error_of(make_png(1, 1, 8, 6, {0, 1, 2, 3, 4}, {}, 1)).find("interlaced"), std::string::npos);
    EXPECT_NE(error_of(make_png(1, 1, 3, 0, {0, 0})).find("unsupported"), std::string::npos);
    EXPECT_NE(error_of(make_png(1, 1, 8, 3, {0, 0})).find("without palette"), std::string::npos);
    EXPECT_NE(error_of(make_png(2, 1, 8, 3, {0, 0, 1}, {{"PLTE", {1, 2, 3}}})).find("out of range"), std::string::npos);
    EXPECT_NE(error_of(make_png(0, 1, 8, 0, {0})).find("zero size"), std::string::npos);
    // A huge claimed size is refused before inflating (no giant allocation).
    EXPECT_NE(error_of(make_png(4000, 4000, 8, 6, {0, 0})).find("too short"), std::string::npos);
    EXPECT_NE(error_of(make_png(100000, 100000, 8, 6, {0, 0})).find("too large"), std::string::npos);
    // Corrupt deflate data.
    Bytes corrupt = good;
    corrupt[8 + 25 + 8] ^= 0xFF;  // first byte of the zlib header in the first IDAT
    EXPECT_EQ(error_of(corrupt).rfind("decode_png: ", 0), 0u);
}

TEST(Png, LoadFile) {
    // Unique per process: several checkouts may run this suite at once.
    const auto dir = std::filesystem::temp_directory_path() / ("vorn1_png_test_" + std::to_string(getpid()));
    Image img(3, 2);
    img.pixels[5] = 77;
    vorn1::kit::write_file((dir / "a.png").string(), encode_png(img));
    EXPECT_EQ(load_png_file((dir / "a.png").string()).pixels, img.pixels);
    EXPECT_THROW(load_png_file((dir / "missing.png").string()), std::runtime_error);
    std::filesystem::remove_all(dir);
}
