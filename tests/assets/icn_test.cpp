#include <gtest/gtest.h>

#include <stdexcept>

#include "assets/icn.h"
#include "datakit/kit_formats.h"

using namespace vorn1;
using kit::Bytes;
using kit::IcnEncoding;
using kit::IcnFrame;
using kit::IndexGrid;

namespace {

const Palette& pal() {
    static const Palette p = kit::standard_palette();
    return p;
}

std::string error_of(const Bytes& b) {
    try {
        decode_icn(b, pal());
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

// A frame exercising every pixel kind: long equal runs, varied literals, skips and shadows.
IndexGrid mixed_grid(int w, int h) {
    IndexGrid g(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            g.at(x, y) = static_cast<uint8_t>(x < w / 2 ? 40 + y % 3 : (x * 7 + y * 13) % 256);
            if ((x + y) % 11 == 0) g.set_kind(x, y, kit::kTransparent);
            if (x > 2 && x < 9 && y % 4 == 1) g.set_kind(x, y, kit::kShadow);
            if (y == h - 1) g.set_kind(x, y, kit::kTransparent);  // an all-transparent last row
        }
    return g;
}

// Checks every pixel of a decoded frame against the grid it was written from.
void expect_frame(const Image& img, const IndexGrid& g, bool black = false) {
    ASSERT_EQ(img.width, g.width);
    ASSERT_EQ(img.height, g.height);
    for (int y = 0; y < g.height; ++y)
        for (int x = 0; x < g.width; ++x) {
            const uint8_t* px = img.at(x, y);
            const Color c = black ? Color{0, 0, 0} : pal()[g.index[y * g.width + x]];
            switch (g.kind(x, y)) {
                case kit::kTransparent: EXPECT_EQ(px[0] | px[1] | px[2] | px[3], 0) << x << "," << y; break;
                case kit::kShadow: EXPECT_TRUE(px[0] == 0 && px[1] == 0 && px[2] == 0 && px[3] == 0x80) << x << "," << y; break;
                default:
                    EXPECT_TRUE(px[0] == c.r && px[1] == c.g && px[2] == c.b && px[3] == 255) << x << "," << y;
            }
        }
}

}  // namespace

TEST(Icn, RoundTripHeadersAndPixelsInEveryEncoding) {
    std::vector<IcnFrame> frames(4);
    frames[0] = {-5, 7, 3, IcnEncoding::Runs, mixed_grid(300, 9)};  // rows longer than any single code
    frames[1] = {32000, -32000, 0x41, IcnEncoding::Literal, mixed_grid(17, 6)};
    frames[2] = {0, 0, 0, IcnEncoding::Runs, IndexGrid(0, 0)};
    frames[3] = {1, 2, 0, IcnEncoding::Runs, kit::labelled_picture(64, 32, "SYSTEM.ICN", 3)};
    const Bytes raw = kit::write_icn(frames);
    const IcnFrames out = decode_icn(raw, pal());
    ASSERT_EQ(out.headers.size(), 4u);
    ASSERT_EQ(out.frames.size(), 4u);
    EXPECT_EQ(out.headers[0].x, -5);
    EXPECT_EQ(out.headers[0].y, 7);
    EXPECT_EQ(out.headers[0].width, 300);
    EXPECT_EQ(out.headers[0].height, 9);
    EXPECT_EQ(out.headers[0].type, 3);
    EXPECT_EQ(out.headers[0].offset, 4u * 13);
    EXPECT_EQ(out.headers[1].x, 32000);
    EXPECT_EQ(out.headers[1].y, -32000);
    EXPECT_EQ(out.headers[1].type, 0x41);
    EXPECT_GT(out.headers[1].offset, out.headers[0].offset);
    expect_frame(out.frames[0], frames[0].pixels);
    expect_frame(out.frames[1], frames[1].pixels);
    EXPECT_TRUE(out.frames[2].empty());
    EXPECT_EQ(out.headers[2].width, 0);
    expect_frame(out.frames[3], frames[3].pixels);
    // The total size field counts every byte after the 6-byte file header.
    EXPECT_EQ(raw[2] | raw[3] << 8 | raw[4] << 16 | raw[5] << 24, static_cast<int>(raw.size() - 6));
}

TEST(Icn, RunsEncodingIsSmallerThanLiteral) {
    const IndexGrid g = kit::labelled_picture(200, 100, "BIG", 0);
    EXPECT_LT(kit::encode_icn_frame(g, IcnEncoding::Runs).size() * 4, kit::encode_icn_frame(g, IcnEncoding::Literal).size());
}

TEST(Icn, MonoFramesAndMonoMode) {
    std::vector<IcnFrame> frames(3);
    for (int i = 0; i < 3; ++i) frames[i].pixels = mixed_grid(12, 5);
    frames[1].encoding = IcnEncoding::Mono;
    const Bytes raw = kit::write_icn(frames);
    EXPECT_EQ(raw[6 + 13 + 8], kit::kIcnMonoType);

    // The one-colour frame draws every non-transparent pixel opaque black.
    IcnFrames out = decode_icn(raw, pal());
    IndexGrid solid = frames[1].pixels;
    for (int y = 0; y < solid.height; ++y)
        for (int x = 0; x < solid.width; ++x)
            if (solid.kind(x, y) == kit::kShadow) solid.set_kind(x, y, kit::kOpaque);
    expect_frame(out.frames[0], frames[0].pixels);
    expect_frame(out.frames[1], solid, true);
    expect_frame(out.frames[2], frames[2].pixels);

    MonoMode listed;
    listed.frames = {2, 99, -1};
    out = decode_icn(raw, pal(), listed);
    expect_frame(out.frames[0], frames[0].pixels);
    expect_frame(out.frames[2], frames[2].pixels, true);  // shadows stay shadows

    MonoMode from;
    from.start = 1;
    out = decode_icn(raw, pal(), from);
    expect_frame(out.frames[0], frames[0].pixels);
    expect_frame(out.frames[2], frames[2].pixels, true);

    MonoMode every;
    every.all = true;
    out = decode_icn(raw, pal(), every);
    expect_frame(out.frames[0], frames[0].pixels, true);

    EXPECT_FALSE(MonoMode{}.selects(0));
    EXPECT_FALSE(MonoMode{}.selects(-1));
    EXPECT_TRUE(from.selects(7));
    EXPECT_FALSE(from.selects(-3));
}

TEST(Icn, ExactErrorsOnTruncation) {
    EXPECT_EQ(error_of({}), "ICN file too small");
    EXPECT_EQ(error_of({1, 0, 0, 0, 0}), "ICN file too small");
    Bytes raw = kit::labelled_icn("X", 3, 8, 8);
    // Every cut inside the frame headers is "too small".
    for (std::size_t len = 0; len < 6 + 3 * 13; ++len)
        EXPECT_EQ(error_of(Bytes(raw.begin(), raw.begin() + static_cast<long>(len))), "ICN file too small") << len;
    EXPECT_EQ(error_of({0, 0, 0, 0, 0, 0}), "");
    EXPECT_TRUE(decode_icn({0, 0, 0, 0, 0, 0}, pal()).frames.empty());
}

TEST(Icn, TruncatedPixelDataDecodesWhatIsThere) {
    const Bytes raw = kit::labelled_icn("X", 2, 10, 10);
    // Cut in the middle of the last frame's stream: no throw, no read past the end.
    for (std::size_t cut = 1; cut < 30; ++cut) {
        Bytes part(raw.begin(), raw.end() - static_cast<long>(cut));
        const std::size_t last_start = 6 + (part[6 + 13 + 9] | part[6 + 13 + 10] << 8);
        if (part.size() < last_start) break;
        IcnFrames out = decode_icn(part, pal());
        ASSERT_EQ(out.frames.size(), 2u);
        EXPECT_EQ(out.frames[1].width, 10);
    }
}

TEST(Icn, OffsetsAndSizesChecked) {
    Bytes raw = kit::labelled_icn("X", 2, 4, 4);
    // Frame 1's offset just past the end.
    Bytes bad = raw;
    const uint32_t past = static_cast<uint32_t>(raw.size() - 6 + 1);
    for (int k = 0; k < 4; ++k) bad[6 + 13 + 9 + k] = static_cast<uint8_t>(past >> (8 * k));
    EXPECT_NE(error_of(bad).find("past end"), std::string::npos);
    // 0xFFFFFFFF must not wrap around in 32 bits.
    for (int k = 0; k < 4; ++k) bad[6 + 13 + 9 + k] = 0xFF;
    EXPECT_NE(error_of(bad).find("past end"), std::string::npos);
    // An offset exactly at the end is an empty stream: a transparent frame.
    const uint32_t at_end = static_cast<uint32_t>(raw.size() - 6);
    for (int k = 0; k < 4; ++k) bad[6 + 13 + 9 + k] = static_cast<uint8_t>(at_end >> (8 * k));
    IcnFrames out = decode_icn(bad, pal());
    EXPECT_EQ(out.frames[1].pixels, std::vector<uint8_t>(4 * 4 * 4, 0));
    // A zero-size frame with a wild offset is simply empty.
    bad = raw;
    bad[6 + 13 + 4] = 0;
    for (int k = 0; k < 4; ++k) bad[6 + 13 + 9 + k] = 0xFF;
    out = decode_icn(bad, pal());
    EXPECT_TRUE(out.frames[1].empty());
    EXPECT_EQ(out.headers[1].height, 4);
    // Huge declared frames with tiny data are refused before allocating.
    bad = raw;
    for (int f = 0; f < 2; ++f)
        for (int k = 4; k < 8; ++k) bad[6 + 13 * f + k] = 0xFF;
    EXPECT_EQ(error_of(bad), "ICN frames too large");
}

TEST(Icn, HandWrittenStreamCodes) {
    // One 8x3 frame: row 0 skip 2, literal 2 (idx 5, 6), shadow 1; row 1 C1 long repeat of 10 (clipped
    // to the width), row 2 short repeat C3 of idx 9 then shadow with the count in the next byte.
    Bytes raw = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 8, 0, 3, 0, 0, 13, 0, 0, 0};
    const Bytes data = {0x82, 0x02, 5, 6, 0xC0, 0x01, 0x00, 0xC1, 10, 7, 0x00, 0xC3, 9, 0xC0, 0x04, 2, 0x00, 0x80};
    raw.insert(raw.end(), data.begin(), data.end());
    const IcnFrames out = decode_icn(raw, pal());
    const Image& img = out.frames[0];
    auto rgba = [&](int x, int y) { const uint8_t* p = img.at(x, y); return std::array<int, 4>{p[0], p[1], p[2], p[3]}; };
    const auto col = [&](int i) { return std::array<int, 4>{pal()[i].r, pal()[i].g, pal()[i].b, 255}; };
    EXPECT_EQ(rgba(0, 0), (std::array<int, 4>{0, 0, 0, 0}));
    EXPECT_EQ(rgba(2, 0), col(5));
    EXPECT_EQ(rgba(3, 0), col(6));
    EXPECT_EQ(rgba(4, 0), (std::array<int, 4>{0, 0, 0, 0x80}));
    EXPECT_EQ(rgba(5, 0), (std::array<int, 4>{0, 0, 0, 0}));
    for (int x = 0; x < 8; ++x) EXPECT_EQ(rgba(x, 1), col(7));
    for (int x = 0; x < 3; ++x) EXPECT_EQ(rgba(x, 2), col(9));
    EXPECT_EQ(rgba(3, 2), (std::array<int, 4>{0, 0, 0, 0x80}));
    EXPECT_EQ(rgba(4, 2), (std::array<int, 4>{0, 0, 0, 0x80}));
    EXPECT_EQ(rgba(5, 2), (std::array<int, 4>{0, 0, 0, 0}));
}
