#include <gtest/gtest.h>

#include "assets/battle_sky_cycle.h"
#include "assets/castle_pal_cycle.h"
#include "assets/palette_cycle.h"
#include "assets/screens_canvas.h"
#include "assets/title_sea_cycle.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;

namespace {

// Every entry a distinct colour: entry i = (i, 255 - i, i / 2).
Palette test_palette() {
    Palette p{};
    for (int i = 0; i < 256; ++i) p[i] = Color{uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
    return p;
}

Rgba entry(const Palette& p, int i, uint8_t a = 255) { return {p[i].r, p[i].g, p[i].b, a}; }

constexpr int kSea = 214;    // first entry of a four-entry run
constexpr int kFixed = 100;  // outside every run

}  // namespace

TEST(PaletteCycle, RotatesEachRunAndWraps) {
    const Palette p = test_palette();
    const CycleRange runs[] = {{10, 4}, {300, 4}, {-5, 3}};  // the last two lie outside: ignored
    const Palette p1 = cycle_palette(p, runs, 1);
    EXPECT_EQ(p1[10], p[11]);
    EXPECT_EQ(p1[13], p[10]);
    EXPECT_EQ(p1[9], p[9]);
    EXPECT_EQ(p1[14], p[14]);
    EXPECT_EQ(cycle_palette(p, runs, 4), p);  // a whole turn
    EXPECT_EQ(cycle_palette(p, runs, 4000000001u)[10], p[11]);
    EXPECT_EQ(cycle_phase(399, 200), 1u);
    EXPECT_EQ(cycle_phase(5, 0), 0u);
}

TEST(PaletteCycle, FindsOnlyUnambiguousOpaqueCyclingPixels) {
    Palette p = test_palette();
    p[kFixed] = p[kSea + 1];  // a fixed entry shares this colour: such pixels never move
    Image img(4, 1);
    put(img, 0, 0, entry(p, kSea));
    put(img, 1, 0, entry(p, kSea + 1));
    put(img, 2, 0, entry(p, kSea, 0));  // transparent
    put(img, 3, 0, entry(p, 5));
    const CyclePixels px = find_cycle_pixels(img, p, kPaletteCycleRanges);
    ASSERT_EQ(px.offsets.size(), 1u);
    EXPECT_EQ(px.offsets[0], 0u);
    EXPECT_EQ(px.indices[0], kSea);
}

TEST(TitleSeaCycle, AnimatesOnlySeaPixelsWhenThePhaseChanges) {
    Canvas c;
    const Palette p = test_palette();
    Image img = solid(8, 4, entry(p, kFixed));
    put(img, 3, 2, entry(p, kSea));
    TitleSeaCycle sea;
    sea.init(c.r, p);
    EXPECT_EQ(sea.active, 0);
    sea.set_source(img);
    ASSERT_EQ(sea.active, 1);
    ASSERT_NE(sea.texture, nullptr);
    EXPECT_EQ(get(read_texture(c.r, sea.texture), 3, 2), entry(p, kSea));

    sea.tick(TitleSeaCycle::kPeriodMs - 1);  // still phase 0
    EXPECT_EQ(get(read_texture(c.r, sea.texture), 3, 2), entry(p, kSea));
    sea.tick(TitleSeaCycle::kPeriodMs * 2);  // phase 2
    const Image shown = read_texture(c.r, sea.texture);
    EXPECT_EQ(get(shown, 3, 2), entry(p, kSea + 2));
    EXPECT_EQ(get(shown, 0, 0), entry(p, kFixed));

    sea.reset();
    EXPECT_EQ(sea.active, 0);
    EXPECT_EQ(sea.texture, nullptr);
    sea.tick(5000);  // no source: nothing happens
    EXPECT_EQ(sea.texture, nullptr);
    sea.set_source(Image{});
    EXPECT_EQ(sea.active, 0);
}

TEST(BattleSkyCycle, RejectsMalformedEntriesAndCyclesIndexes) {
    Canvas c;
    const Palette p = test_palette();
    BattleSkyCycle sky;
    sky.init(c.r, p);
    const std::vector<std::vector<uint8_t>> bad = {
        {},                               // empty
        {0, 0, 2, 0, 1},                  // shorter than the header
        {0, 0, 0, 0, 1, 0, 9},            // zero width
        {0, 0, 2, 0, 2, 0, 1, 2, 3},      // 4 indexes promised, 3 given
        {0, 0, 0xFF, 0xFF, 0xFF, 0xFF},   // huge size, no data: no allocation
    };
    for (const auto& b : bad) {
        sky.set_source(b);
        EXPECT_FALSE(sky.active);
        EXPECT_EQ(sky.texture, nullptr);
    }
    std::vector<uint8_t> bkg = {7, 7, 3, 0, 1, 0, kFixed, kSea, kSea + 3};
    sky.set_source(bkg);
    ASSERT_TRUE(sky.active);
    ASSERT_NE(sky.texture, nullptr);
    EXPECT_EQ(sky.w, 3);
    EXPECT_EQ(sky.h, 1);
    sky.tick(BattleSkyCycle::kPeriodMs);  // phase 1
    const Image shown = read_texture(c.r, sky.texture);
    EXPECT_EQ(get(shown, 0, 0), entry(p, kFixed));
    EXPECT_EQ(get(shown, 1, 0), entry(p, kSea + 1));
    EXPECT_EQ(get(shown, 2, 0), entry(p, kSea));  // wraps within the run
    sky.reset();
    EXPECT_FALSE(sky.active);
    EXPECT_EQ(sky.w, 0);
}

TEST(CastlePalCycle, RecoloursRegisteredSlotsUntilReset) {
    Canvas c;
    const Palette p = test_palette();
    Image moving = solid(2, 2, entry(p, kFixed));
    put(moving, 1, 1, entry(p, kSea));
    const Image still = solid(2, 2, entry(p, kFixed));
    SDL_Texture* slot_a = c.tex(moving);
    SDL_Texture* slot_b = c.tex(still);
    SDL_Texture* const b_before = slot_b;

    CastlePalCycle cyc;
    cyc.init(c.r, p);
    cyc.register_frame(moving, &slot_a, true);
    cyc.register_frame(still, &slot_b, true);  // nothing to cycle: not kept
    cyc.register_frame(moving, nullptr, true);
    EXPECT_EQ(cyc.registered(), 1);

    cyc.tick(CastlePalCycle::kPeriodMs * 3);
    EXPECT_EQ(get(read_texture(c.r, slot_a), 1, 1), entry(p, kSea + 3));
    EXPECT_EQ(get(read_texture(c.r, slot_a), 0, 0), entry(p, kFixed));
    EXPECT_EQ(slot_b, b_before);

    // A slot whose texture no longer fits gets a new one of the picture's size.
    SDL_DestroyTexture(slot_a);
    slot_a = c.tex(solid(5, 5, {1, 2, 3, 255}));
    cyc.tick(CastlePalCycle::kPeriodMs * 4);
    int w = 0, h = 0;
    SDL_QueryTexture(slot_a, nullptr, nullptr, &w, &h);
    EXPECT_EQ(w, 2);
    EXPECT_EQ(get(read_texture(c.r, slot_a), 1, 1), entry(p, kSea));

    cyc.reset();
    EXPECT_EQ(cyc.registered(), 0);
    SDL_Texture* const a_after = slot_a;
    cyc.tick(CastlePalCycle::kPeriodMs * 9);
    EXPECT_EQ(slot_a, a_after);
    EXPECT_EQ(get(read_texture(c.r, slot_a), 1, 1), entry(p, kSea));
    SDL_DestroyTexture(slot_a);
    SDL_DestroyTexture(slot_b);
}
