// The data kit's own writers where no reader of ours checks them (sounds, labelled pictures).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>

#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"

using namespace vorn1;

TEST(KitPcm, SizesLevelsAndPitch) {
    const kit::Bytes m = kit::write_pcm_82m(441.0, 1000);
    ASSERT_EQ(m.size(), 22050u);
    const kit::Bytes s = kit::write_pcm_82s(441.0, 500);
    ASSERT_EQ(s.size(), 22050u);
    const kit::Bytes w = kit::write_pcm_62s(441.0, 100);
    ASSERT_EQ(w.size(), 2205u * 4);
    // Unsigned 8-bit around 128, fading in from silence.
    EXPECT_EQ(m.front(), 128);
    EXPECT_EQ(m.back(), 128);
    EXPECT_GE(*std::max_element(m.begin(), m.end()), 220);
    EXPECT_LE(*std::min_element(m.begin(), m.end()), 36);
    // 441 Hz at 22050 Hz is one period every 50 samples: count upward crossings of the middle.
    int crossings = 0;
    for (std::size_t i = 1; i < m.size(); ++i) crossings += m[i - 1] < 128 && m[i] >= 128;
    EXPECT_NEAR(crossings, 441, 2);
    // 16-bit stereo: signed little-endian, left and right differ (a fifth apart).
    int16_t peak = 0;
    bool differ = false;
    for (std::size_t i = 0; i + 3 < w.size(); i += 4) {
        const int16_t l = static_cast<int16_t>(w[i] | w[i + 1] << 8), r = static_cast<int16_t>(w[i + 2] | w[i + 3] << 8);
        peak = std::max<int16_t>(peak, static_cast<int16_t>(std::abs(l)));
        differ |= l != r;
    }
    EXPECT_GT(peak, 10000);
    EXPECT_TRUE(differ);
    EXPECT_TRUE(kit::write_pcm_82m(440.0, 0).empty());
    EXPECT_TRUE(kit::write_pcm_82m(440.0, -5).empty());
}

// The whole-program tests tell the music tracks apart by pitch and ask music_tone_hz which pitch a track
// has, so the pitches are measured here from the files the kit writes: each agrees with music_tone_hz and
// is its own, a semitone above the track numbered before it from 196 Hz up (a swap or a duplicate fails),
// and below every ambient loop.
TEST(KitPcm, EveryMusicTrackHasAPitchOfItsOwn) {
    kit::DemoData d;
    kit::add_sound_files(d);
    std::map<int, double> pitch;  // by track number
    for (const auto& file : d.files) {
        const std::string& path = file.first;
        const kit::Bytes& bytes = file.second;
        ASSERT_EQ(path.rfind("SOUND/VELDAR", 0), 0u) << path;
        const int n = std::stoi(path.substr(12, 2));
        const std::string ext = path.substr(14);
        // The left channel: signed 16-bit little-endian in .62S, signed 8-bit in .82S and .82M.
        const std::size_t step = ext == ".62S" ? 4 : ext == ".82S" ? 2 : 1;
        auto left = [&](std::size_t i) -> int {
            if (step == 4) return static_cast<int16_t>(bytes[i * 4] | bytes[i * 4 + 1] << 8);
            return static_cast<int8_t>(bytes[i * step]);
        };
        const std::size_t frames = bytes.size() / step;
        ASSERT_GT(frames, 22050u) << path;
        int crossings = 0;  // upward through zero: one a period after the first
        for (std::size_t i = 1; i < frames; ++i) crossings += left(i - 1) < 0 && left(i) >= 0;
        pitch[n] = (crossings + 1) * 22050.0 / static_cast<double>(frames);
        EXPECT_NEAR(pitch[n], kit::music_tone_hz(n), kit::music_tone_hz(n) * 0.005) << path;
        EXPECT_LT(pitch[n], kit::ambient_loop_hz(0)) << path;
    }
    ASSERT_EQ(pitch.size(), 20u) << "a track written twice";
    EXPECT_NEAR(pitch.begin()->second, 196.0, 1.0);
    for (auto it = std::next(pitch.begin()); it != pitch.end(); ++it)
        EXPECT_NEAR(it->second / std::prev(it)->second, std::pow(2.0, 1.0 / 12.0), 0.005) << "track " << it->first;
}

TEST(KitPictures, LabelledPictureHasOutlineFillAndText) {
    const kit::IndexGrid g = kit::labelled_picture(40, 20, "AB", 7);
    const uint8_t fill = kit::set_colour("AB"), ink = kit::contrast_colour(fill);
    EXPECT_NE(fill, ink);
    EXPECT_NE(fill, 0);
    for (int x = 0; x < 40; ++x) EXPECT_EQ(g.index[x], ink);
    for (int y = 0; y < 20; ++y) EXPECT_EQ(g.index[y * 40 + 39], ink);
    EXPECT_EQ(g.index[15 * 40 + 30], fill);
    // "A" starts at (2, 2): its top row is .#. so (3, 2) is ink, (2, 2) is fill.
    EXPECT_EQ(g.index[2 * 40 + 3], ink);
    EXPECT_EQ(g.index[2 * 40 + 2], fill);
    // Different frame numbers give different pictures; the same inputs the same one.
    EXPECT_NE(kit::labelled_picture(40, 20, "AB", 8).index, g.index);
    EXPECT_EQ(kit::labelled_picture(40, 20, "AB", 7).index, g.index);
    // Tiny and degenerate sizes do not draw out of bounds.
    EXPECT_EQ(kit::labelled_picture(1, 1, "LONG NAME", 12345).index.size(), 1u);
    EXPECT_TRUE(kit::labelled_picture(0, 5, "X", 0).index.empty());
    // Set colours spread over many names.
    std::set<uint8_t> colours;
    for (int i = 0; i < 40; ++i) colours.insert(kit::set_colour("SET" + std::to_string(i)));
    EXPECT_GE(colours.size(), 20u);
}
