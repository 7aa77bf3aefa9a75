#include <gtest/gtest.h>

#include "battle/creature_sprites.h"
#include "datakit/kit_battledraw.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"

using namespace vorn1;

namespace {

Palette test_palette() {
    Palette p{};
    for (int i = 0; i < 256; ++i) p[i] = Color{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
    return p;
}

std::array<uint8_t, 4> px(const SpriteImage& s, int x, int y) {
    const uint8_t* p = s.img.at(x, y);
    return {p[0], p[1], p[2], p[3]};
}

// A sprite file with frames given as raw streams.
std::vector<uint8_t> raw_file(const std::vector<std::pair<std::array<int, 4>, std::vector<uint8_t>>>& frames) {
    std::vector<uint8_t> out(6 + 12 * frames.size(), 0);
    out[0] = uint8_t(frames.size());
    for (size_t i = 0; i < frames.size(); ++i) {
        const auto& [hdr, data] = frames[i];
        const size_t off = out.size() - 6;
        uint8_t* h = out.data() + 6 + 12 * i;
        h[0] = uint8_t(hdr[0]), h[1] = uint8_t(uint16_t(hdr[0]) >> 8);
        h[2] = uint8_t(hdr[1]), h[3] = uint8_t(uint16_t(hdr[1]) >> 8);
        h[4] = uint8_t(hdr[2]), h[6] = uint8_t(hdr[3]);
        h[8] = uint8_t(off), h[9] = uint8_t(off >> 8);
        out.insert(out.end(), data.begin(), data.end());
    }
    return out;
}

}  // namespace

TEST(CreatureStream, MeasuresFromTheStreamNotTheHeader) {
    const Palette pal = test_palette();
    // Row 0: skip 2, 1 literal; row 1: 4 literals (widens the frame); row 2: skips only.
    std::vector<uint8_t> b = {0x82, 0x01, 7, 0x00, 0x04, 1, 2, 3, 4, 0x00, 0x83, 0x80, 0x09};
    Image img = decode_creature_stream(b, 0, b.size(), pal, StreamPaint::Palette);
    ASSERT_EQ(img.width, 4);
    ASSERT_EQ(img.height, 3);
    EXPECT_EQ(img.at(0, 0)[3], 0);
    EXPECT_EQ(img.at(2, 0)[0], 7);
    EXPECT_EQ(img.at(3, 0)[3], 0);  // shorter row stays transparent past its end
    EXPECT_EQ(img.at(3, 1)[0], 4);
    EXPECT_EQ(img.at(3, 1)[3], 255);
    for (int x = 0; x < 4; ++x) EXPECT_EQ(img.at(x, 2)[3], 0);

    // Only skips and row ends: sized, fully transparent.
    std::vector<uint8_t> skips = {0x85, 0x00, 0x82, 0x80};
    Image empty = decode_creature_stream(skips, 0, skips.size(), pal, StreamPaint::Shadow);
    EXPECT_EQ(empty.width, 5);
    EXPECT_EQ(empty.height, 2);
    for (size_t i = 3; i < empty.pixels.size(); i += 4) EXPECT_EQ(empty.pixels[i], 0);

    // A literal run cut by the end of the data stops there; mask and shadow values.
    std::vector<uint8_t> cut = {0x05, 1, 2};
    Image m = decode_creature_stream(cut, 0, cut.size(), pal, StreamPaint::Mask);
    ASSERT_EQ(m.width, 2);
    EXPECT_EQ(m.at(1, 0)[0], 255);
    EXPECT_EQ(m.at(1, 0)[3], 255);
    Image s = decode_creature_stream(cut, 0, cut.size(), pal, StreamPaint::Shadow);
    EXPECT_EQ(s.at(0, 0)[0], 0);
    EXPECT_EQ(s.at(0, 0)[3], 128);

    // Width 0 gives no frame; a hostile size is refused, not allocated.
    std::vector<uint8_t> rows = {0x00, 0x00, 0x80};
    EXPECT_TRUE(decode_creature_stream(rows, 0, rows.size(), pal, StreamPaint::Palette).empty());
    std::vector<uint8_t> huge(200000, 0xFF);  // one row of 25 million skipped pixels
    EXPECT_TRUE(decode_creature_stream(huge, 0, huge.size(), pal, StreamPaint::Palette).empty());
}

TEST(CreatureSets, StandingShadowsMaskAndMeleePoses) {
    const Palette pal = test_palette();
    CreatureImages c;
    decode_creature_set(kit::creature_std_with_shadows(), 3, STD, pal, c);
    ASSERT_TRUE(c.loaded);
    const auto& st = c.sets[STD];
    ASSERT_EQ(st.size(), 8u);  // headers 1..8; the outline, tiny and shadow headers leave no frame
    // Frames 0..3 carry the merged shadow: union box 40 x 44 from (-20, -40).
    EXPECT_EQ(st[0].img.width, 40);
    EXPECT_EQ(st[0].img.height, 44);
    EXPECT_EQ(st[0].x, -20);
    EXPECT_EQ(st[0].y, -40);
    EXPECT_EQ(px(st[0], 20, 10), (std::array<uint8_t, 4>{11, 244, 5, 255}));  // body over the shadow
    EXPECT_EQ(px(st[0], 1, 40), (std::array<uint8_t, 4>{0, 0, 0, 128}));
    EXPECT_EQ(st[4].img.width, 30);  // no shadow for header 5
    EXPECT_EQ(c.outline_mask.img.width, 30);
    EXPECT_EQ(px(c.outline_mask, 5, 5), (std::array<uint8_t, 4>{255, 255, 255, 255}));
    ASSERT_EQ(c.pose_shadows.size(), 3u);
    EXPECT_TRUE(c.pose_shadows[2].present());

    build_composite_images(3, c);
    ASSERT_EQ(c.attack_frames.size(), 3u);
    for (int k = 0; k < 3; ++k) {
        const SpriteImage& pose = c.attack_frames[k];
        EXPECT_EQ(pose.img.width, 44) << k;  // pose shadow merged under
        EXPECT_EQ(px(pose, 22, 10)[0], 16 + k) << k;  // the part paints over the base
    }
    EXPECT_TRUE(c.pose_shadows.empty());
    EXPECT_TRUE(c.projectiles.empty());
}

TEST(CreatureSets, NinePoseAndHydraGroups) {
    const Palette pal = test_palette();
    CreatureImages dragon;
    decode_creature_set(kit::creature_std_with_shadows(), 23, STD, pal, dragon);
    // Headers 10..13 are not shadows of this group and 16, 17 land on frames 1, 2.
    EXPECT_EQ(dragon.sets[STD][0].img.width, 44);
    EXPECT_EQ(dragon.sets[STD][1].img.width, 44);
    EXPECT_EQ(dragon.sets[STD][2].img.width, 30);
    EXPECT_EQ(dragon.pose_shadows.size(), 9u);
    build_composite_images(23, dragon);
    ASSERT_EQ(dragon.attack_frames.size(), 9u);
    EXPECT_TRUE(dragon.attack_frames[2].present());  // part 7 exists
    EXPECT_FALSE(dragon.attack_frames[3].present());  // parts 8..13 do not: positions stay

    CreatureImages hydra;
    decode_creature_set(kit::creature_std_with_shadows(), 22, STD, pal, hydra);
    EXPECT_TRUE(hydra.pose_shadows.empty());
    EXPECT_EQ(hydra.sets[STD][0].img.width, 30);  // header 9 is tiny; 10..15 merge onto 2..7
    EXPECT_EQ(hydra.sets[STD][1].img.width, 40);
    build_composite_images(22, hydra);
    EXPECT_TRUE(hydra.attack_frames.empty());
}

TEST(CreatureSets, ShooterPosesMissilesAndShadows) {
    const Palette pal = test_palette();
    CreatureImages c;
    decode_creature_set(kit::creature_std_with_shadows(), 1, STD, pal, c);
    decode_creature_set(kit::creature_atk_with_parts(), 1, ATK, pal, c);
    ASSERT_EQ(c.sets[ATK].size(), 10u);
    ASSERT_EQ(c.attack_shadows.size(), 4u);
    CreatureImages missing_part = c;
    build_composite_images(1, c);
    ASSERT_EQ(c.attack_frames.size(), 7u);
    EXPECT_EQ(c.sets[ATK].size(), 5u);
    ASSERT_EQ(c.projectiles.size(), 5u);
    EXPECT_EQ(px(c.projectiles[0], 0, 0)[0], 65);
    EXPECT_EQ(c.attack_frames[2].img.width, 44);  // melee pose keeps its pose shadow only
    for (int k = 3; k < 7; ++k) EXPECT_EQ(c.attack_frames[k].img.width, 42) << k;  // base, part and shadow
    EXPECT_TRUE(c.attack_shadows.empty());

    // Without shooting part 2 there are three shooting poses; shadow 0 falls on the last melee pose.
    missing_part.sets[ATK][2] = SpriteImage{};
    missing_part.attack_shadows[0].y = 20;  // told apart by where it lies
    build_composite_images(1, missing_part);
    ASSERT_EQ(missing_part.attack_frames.size(), 6u);
    EXPECT_EQ(missing_part.attack_frames[2].img.height, 68);  // from -40 down to the moved shadow's 28
    for (int k = 3; k < 6; ++k) EXPECT_EQ(missing_part.attack_frames[k].img.width, 42) << k;

    // No shooting base: composition stops, attack shadows stay pending.
    CreatureImages no_base;
    no_base.sets[ATK].push_back(SpriteImage{});
    no_base.attack_shadows.assign(4, SpriteImage{});
    build_composite_images(1, no_base);
    EXPECT_EQ(no_base.attack_shadows.size(), 4u);
    EXPECT_TRUE(no_base.attack_frames.empty());
}

TEST(CreatureSets, BadFilesAndShortSets) {
    const Palette pal = test_palette();
    CreatureImages c;
    c.sets[WLK].push_back(SpriteImage{Image(2, 2), 0, 0});
    decode_creature_set({1, 0, 0}, 0, WLK, pal, c);           // under 6 bytes: untouched
    decode_creature_set({0, 0, 0, 0, 0, 0}, 0, WLK, pal, c);  // no frames: untouched
    EXPECT_EQ(c.sets[WLK].size(), 1u);
    decode_creature_set({2, 0, 0, 0, 0, 0, 1, 2, 3}, 0, WLK, pal, c);  // headers cut: emptied
    EXPECT_TRUE(c.sets[WLK].empty());
    EXPECT_FALSE(c.loaded);

    // A shared offset, an offset past the end, and a walk shadow landing on frame 0.
    const std::vector<uint8_t> body = {0x02, 5, 5, 0x00, 0x02, 5, 5, 0x80};
    auto file = raw_file({{{0, 0, 2, 30}, body}, {{0, 0, 2, 30}, {}}, {{0, 0, 2, 30}, {0x03, 1, 1, 1, 0x80}},
                          {{0, 0, 2, 30}, {}}});
    file[6 + 12 + 8] = file[6 + 8];  // header 1 shares header 0's data
    file[6 + 36 + 10] = 0x7F;        // header 3 points far past the end
    decode_creature_set(file, 0, WIP, pal, c);
    ASSERT_EQ(c.sets[WIP].size(), 3u);
    EXPECT_EQ(c.sets[WIP][1].img.width, 2);
    EXPECT_EQ(c.sets[WIP][1].img.height, 2);
    EXPECT_EQ(c.sets[WIP][2].img.width, 3);

    std::vector<std::pair<std::array<int, 4>, std::vector<uint8_t>>> walk(7, {{0, 0, 2, 30}, body});
    walk[6] = {{-2, 0, 6, 4}, {0x06, 9, 9, 9, 9, 9, 9, 0x80}};
    decode_creature_set(raw_file(walk), 0, WLK, pal, c);
    ASSERT_EQ(c.sets[WLK].size(), 6u);
    EXPECT_EQ(c.sets[WLK][0].img.width, 6);
    EXPECT_EQ(c.sets[WLK][0].x, -2);
    EXPECT_EQ(c.sets[WLK][1].img.width, 2);

    // Fewer than 6 standing frames: no melee poses, pose shadows dropped.
    CreatureImages few;
    few.sets[STD].assign(5, SpriteImage{Image(2, 2), 0, 0});
    few.pose_shadows.assign(3, SpriteImage{Image(2, 2), 0, 0});
    build_composite_images(0, few);
    EXPECT_TRUE(few.attack_frames.empty());
    EXPECT_TRUE(few.pose_shadows.empty());
    // A tiny header 0 gives no outline mask.
    CreatureImages tiny;
    decode_creature_set(raw_file({{{0, 0, 1, 1}, body}, {{0, 0, 2, 30}, body}}), 0, STD, pal, tiny);
    EXPECT_FALSE(tiny.outline_mask.present());
    EXPECT_EQ(tiny.sets[STD].size(), 1u);
}
