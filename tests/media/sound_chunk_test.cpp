#include <cstdio>
#include <cstring>

#include "assets/agg.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "media/audio_fixture.h"
#include "media/sound_chunk.h"

namespace vorn1 {
namespace {

using test::AudioTest;
using test::TempDir;

std::string hex(const std::vector<uint8_t>& b) {
    std::string s;
    char buf[3];
    for (uint8_t v : b) {
        std::snprintf(buf, sizeof buf, "%02x", v);
        s += buf;
    }
    return s;
}

uint32_t u32(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t u16(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

// Each sample of the chunk within one step of the expected value (the device's conversion goes
// through floating point and may round the extremes inwards).
void expect_samples(const Mix_Chunk* c, const std::vector<int>& want) {
    ASSERT_EQ(c->alen, want.size() * 2);
    for (size_t i = 0; i < want.size(); ++i) {
        int16_t v;
        std::memcpy(&v, c->abuf + 2 * i, 2);
        EXPECT_NEAR(v, want[i], 1) << "sample " << i;
    }
}

TEST(SoundWave, EightBitMonoImageIsTheFixedHeaderAndConvertedSamples) {
    std::vector<uint8_t> wav;
    ASSERT_TRUE(build_vorn1_wav({0x00, 0x7F, 0x80, 0xFF}, VORN_FMT_82M, wav));
    EXPECT_EQ(hex(wav),
              "524946462800000057415645666d74201000000001000100225600002256000001000800646174610400000080ff007f");
    // An unknown format byte is the mono format.
    std::vector<uint8_t> other;
    ASSERT_TRUE(build_vorn1_wav({0x00, 0x7F, 0x80, 0xFF}, static_cast<VornAudioFmt>(7), other));
    EXPECT_EQ(other, wav);
    ASSERT_TRUE(build_vorn1_wav({0x00, 0x7F, 0x80, 0xFF}, static_cast<VornAudioFmt>(-1), other));
    EXPECT_EQ(other, wav);
}

TEST(SoundWave, HeadersOfTheStereoFormats) {
    std::vector<uint8_t> wav;
    ASSERT_TRUE(build_vorn1_wav({0x01, 0x80, 0xFE, 0x7F}, VORN_FMT_62S, wav));
    ASSERT_EQ(wav.size(), 48u);
    EXPECT_EQ(u32(wav, 4), 40u);
    EXPECT_EQ(u16(wav, 20), 1);
    EXPECT_EQ(u16(wav, 22), 2);
    EXPECT_EQ(u32(wav, 24), 22050u);
    EXPECT_EQ(u32(wav, 28), 88200u);
    EXPECT_EQ(u16(wav, 32), 4);
    EXPECT_EQ(u16(wav, 34), 16);
    EXPECT_EQ(u32(wav, 40), 4u);
    EXPECT_EQ(std::vector<uint8_t>(wav.begin() + 44, wav.end()), (std::vector<uint8_t>{0x01, 0x80, 0xFE, 0x7F}));

    ASSERT_TRUE(build_vorn1_wav({0x01, 0x80, 0xFE, 0x7F, 0x00, 0x10}, VORN_FMT_82S, wav));
    EXPECT_EQ(u32(wav, 4), 42u);
    EXPECT_EQ(u16(wav, 22), 2);
    EXPECT_EQ(u32(wav, 28), 44100u);
    EXPECT_EQ(u16(wav, 32), 2);
    EXPECT_EQ(u16(wav, 34), 8);
    EXPECT_EQ(u32(wav, 40), 6u);
    EXPECT_EQ(std::vector<uint8_t>(wav.begin() + 44, wav.end()),
              (std::vector<uint8_t>{0x81, 0x00, 0x7E, 0xFF, 0x80, 0x90}));
}

TEST(SoundWave, EveryEightBitValueIsShiftedByHalfTheRange) {
    std::vector<uint8_t> raw(256);
    for (int i = 0; i < 256; ++i) raw[i] = static_cast<uint8_t>(i);
    for (VornAudioFmt f : {VORN_FMT_82M, VORN_FMT_82S}) {
        std::vector<uint8_t> wav;
        ASSERT_TRUE(build_vorn1_wav(raw, f, wav));
        for (int i = 0; i < 256; ++i) ASSERT_EQ(wav[44 + i], static_cast<uint8_t>(i ^ 0x80)) << f << " " << i;
    }
}

TEST(SoundWave, EmptyAndOversizedBuffersGiveNothing) {
    std::vector<uint8_t> wav{1, 2, 3};
    EXPECT_FALSE(build_vorn1_wav({}, VORN_FMT_82M, wav));
    EXPECT_TRUE(wav.empty());
    std::vector<uint8_t> big(kMaxRawSoundBytes + 1);
    wav = {1};
    EXPECT_FALSE(build_vorn1_wav(big, VORN_FMT_62S, wav));
    EXPECT_TRUE(wav.empty());
}

class SoundChunk : public AudioTest {};

TEST_F(SoundChunk, MixerReceivesTheSamplesConvertedToTheDeviceFormat) {
    int freq = 0, channels = 0;
    Uint16 format = 0;
    ASSERT_TRUE(Mix_QuerySpec(&freq, &format, &channels));
    ASSERT_EQ(freq, 22050);
    ASSERT_EQ(format, AUDIO_S16LSB);
    ASSERT_EQ(channels, 2);

    // Signed 8-bit mono: 0 is silence, 0x7F the top, 0x80 the bottom; each doubled to both sides.
    std::vector<uint8_t> wav;
    Mix_Chunk* mono = load_vorn1_chunk({0x00, 0x7F, 0x80, 0xFF}, VORN_FMT_82M, wav);
    ASSERT_NE(mono, nullptr);
    EXPECT_EQ(wav.size(), 48u);  // kept for the chunk's lifetime
    expect_samples(mono, {0, 0, 32512, 32512, -32768, -32768, -256, -256});
    Mix_FreeChunk(mono);

    // Signed 8-bit stereo keeps left and right apart.
    Mix_Chunk* st8 = load_vorn1_chunk({0x40, 0xC0}, VORN_FMT_82S, wav);
    ASSERT_NE(st8, nullptr);
    expect_samples(st8, {0x4000, -0x4000});
    Mix_FreeChunk(st8);

    // 16-bit stereo reaches the device unchanged.
    const std::vector<uint8_t> raw16{0x34, 0x12, 0xCC, 0xED, 0x01, 0x80, 0xFF, 0x7F};
    Mix_Chunk* st16 = load_vorn1_chunk(raw16, VORN_FMT_62S, wav);
    ASSERT_NE(st16, nullptr);
    ASSERT_EQ(st16->alen, raw16.size());
    EXPECT_EQ(std::memcmp(st16->abuf, raw16.data(), raw16.size()), 0);
    Mix_FreeChunk(st16);
}

TEST_F(SoundChunk, EmptyDataGivesNullAndAnEmptyImage) {
    std::vector<uint8_t> wav{9, 9};
    EXPECT_EQ(load_vorn1_chunk({}, VORN_FMT_82M, wav), nullptr);
    EXPECT_TRUE(wav.empty());
}

TEST_F(SoundChunk, DiskSearchPrefersTheSixteenBitFileThenTheNameAsGiven) {
    TempDir t("search");
    t.put("SOUND/VELDAR48.82M", kit::write_raw_tone(VORN_FMT_82M, 440, 50));
    t.put("SOUND/VELDAR48.62S", kit::write_raw_tone(VORN_FMT_62S, 440, 50));
    std::vector<uint8_t> wav;
    std::string found = "unchanged";
    Mix_Chunk* c = load_best_sound_from_disk(t.dir(), "VELDAR48", wav, &found);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(found, "VELDAR48.62S");
    EXPECT_EQ(u16(wav, 34), 16);
    EXPECT_EQ(u16(wav, 22), 2);
    Mix_FreeChunk(c);

    // Only a lower-case mono file: found after the upper-case names fail.
    TempDir lower("lower");
    lower.put("SOUND/veldar48.82m", kit::write_raw_tone(VORN_FMT_82M, 440, 50));
    c = load_best_sound_from_disk(lower.dir(), "VELDAR48", wav, &found);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(found, "veldar48.82m");
    EXPECT_EQ(u16(wav, 22), 1);
    Mix_FreeChunk(c);

    // Nothing at all: null, an empty image and the name left alone.
    found = "kept";
    EXPECT_EQ(load_best_sound_from_disk(lower.dir(), "VELDAR99", wav, &found), nullptr);
    EXPECT_TRUE(wav.empty());
    EXPECT_EQ(found, "kept");
    EXPECT_EQ(load_best_sound_from_disk(lower.dir(), "VELDAR99", wav, nullptr), nullptr);
}

TEST_F(SoundChunk, DiskSearchOrderOfFoldersAndEmptyFiles) {
    TempDir t("folders");
    const std::string data = (t.path / "data").string() + "/";
    // "../SOUND/" beats "SOUND/", which beats the data folder itself; stereo 8-bit tells them apart by length.
    t.put("SOUND/VELDAR31.82S", kit::write_raw_tone(VORN_FMT_82S, 300, 30));
    t.put("data/SOUND/VELDAR31.82S", kit::write_raw_tone(VORN_FMT_82S, 300, 20));
    t.put("data/VELDAR31.82S", kit::write_raw_tone(VORN_FMT_82S, 300, 10));
    std::vector<uint8_t> wav;
    Mix_Chunk* c = load_best_sound_from_disk(data, "VELDAR31", wav, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(wav.size(), 44 + kit::write_raw_tone(VORN_FMT_82S, 300, 30).size());
    Mix_FreeChunk(c);

    // An empty file is passed over for the next candidate.
    t.put("SOUND/VELDAR31.82S", {});
    c = load_best_sound_from_disk(data, "VELDAR31", wav, nullptr);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(wav.size(), 44 + kit::write_raw_tone(VORN_FMT_82S, 300, 20).size());
    Mix_FreeChunk(c);

    // An empty data folder means the working folder's relatives.
    TempDir cwd("cwd");
    cwd.put("SOUND/VELDAR30.82M", kit::write_raw_tone(VORN_FMT_82M, 300, 10));
    const auto old = std::filesystem::current_path();
    std::filesystem::current_path(cwd.path);
    std::string found;
    c = load_best_sound_from_disk("", "VELDAR30", wav, &found);
    std::filesystem::current_path(old);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(found, "VELDAR30.82M");
    Mix_FreeChunk(c);
}

TEST_F(SoundChunk, OversizedFilesAreNotRead) {
    TempDir t("big");
    const auto path = t.path / "HUGE.82M";
    t.put("HUGE.82M", {1});
    std::filesystem::resize_file(path, kMaxRawSoundBytes + 1);  // sparse: nothing is written
    EXPECT_TRUE(read_sound_file(path.string()).empty());
    std::filesystem::resize_file(path, 3);
    EXPECT_EQ(read_sound_file(path.string()), (std::vector<uint8_t>{1, 0, 0}));
    EXPECT_TRUE(read_sound_file((t.path / "none.82M").string()).empty());
}

TEST_F(SoundChunk, ArchiveEntriesTellMissingFromPresent) {
    const AggArchive agg = AggArchive::from_bytes(kit::write_agg({{"BUILDTWN.82M", kit::write_raw_tone(VORN_FMT_82M, 300, 10)}}));
    std::vector<uint8_t> wav;
    bool found = false;
    Mix_Chunk* c = load_archive_chunk(&agg, "buildtwn.82m", wav, &found);
    ASSERT_NE(c, nullptr);
    EXPECT_TRUE(found);
    EXPECT_EQ(u16(wav, 22), 1);  // archive sounds are always mono 8-bit
    free_sound(c, wav);
    EXPECT_EQ(c, nullptr);
    EXPECT_TRUE(wav.empty());

    EXPECT_EQ(load_archive_chunk(&agg, "DIGSOUND.82M", wav, &found), nullptr);
    EXPECT_FALSE(found);
    EXPECT_EQ(load_archive_chunk(nullptr, "BUILDTWN.82M", wav, &found), nullptr);
    EXPECT_FALSE(found);
}

}  // namespace
}  // namespace vorn1
