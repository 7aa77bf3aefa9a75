#include <gtest/gtest.h>

#include "datakit/kit_demo.h"

#include <unistd.h>
#include <zlib.h>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "datakit/datakit.h"
#include "datakit/kit_formats.h"
#include "lang/lang_detect.h"

namespace vorn1 {
namespace {

uint32_t crc_of(const kit::Bytes& b) {
    return static_cast<uint32_t>(crc32(crc32(0L, Z_NULL, 0), b.data(), static_cast<uInt>(b.size())));
}

// Captures std::cout while it lives.
struct CoutCapture {
    std::ostringstream buf;
    std::streambuf* old = std::cout.rdbuf(buf.rdbuf());
    ~CoutCapture() { std::cout.rdbuf(old); }
};

PaletteRemap reversed() {
    PaletteRemap t{};
    for (int i = 0; i < 256; ++i) t[i] = static_cast<uint8_t>(255 - i);
    return t;
}

TEST(LangDetect, FirstMatchingFingerprintWins) {
    const kit::Bytes title = {1, 2, 3, 4, 5};
    const kit::Bytes font = {9, 9, 9};
    AggArchive agg = AggArchive::from_bytes(kit::write_agg({{"TITLE.BMP", title}, {"FONT.ICN", font}}));

    const std::vector<LangFingerprint> table = {
        {"TITLE.BMP", true, crc_of(title) ^ 1u, DE, std::nullopt},  // wrong checksum: skipped
        {"ABSENT.ICN", false, 0, PL, std::nullopt},                 // absent entry: skipped
        {"title.bmp", true, crc_of(title), RU, reversed()},         // names are matched ignoring case
        {"FONT.ICN", true, crc_of(font), IT, std::nullopt},
    };
    CoutCapture cap;
    LangDetectResult r = detect_language(agg, table);
    EXPECT_EQ(r.language, RU);
    ASSERT_TRUE(r.palette_remap.has_value());
    EXPECT_EQ((*r.palette_remap)[0], 255);
    EXPECT_EQ(cap.buf.str().rfind("LANG DETECT: RU", 0), 0u);

    // Presence rows need no checksum; the remap stays empty when the row gives none.
    r = detect_language(agg, {{"FONT.ICN", false, 0, SE, std::nullopt}});
    EXPECT_EQ(r.language, SE);
    EXPECT_FALSE(r.palette_remap.has_value());
}

TEST(LangDetect, EnglishWhenNothingMatches) {
    AggArchive agg = AggArchive::from_bytes(kit::write_agg({{"PEASANT.STD", {1}}, {"EMPTY.BIN", {}}}));
    CoutCapture cap;
    LangDetectResult r = detect_language(agg);
    EXPECT_EQ(r.language, EN);
    EXPECT_FALSE(r.palette_remap.has_value());
    EXPECT_EQ(cap.buf.str().rfind("LANG DETECT: EN", 0), 0u);
    // An empty entry has no checksum, not the checksum of nothing.
    EXPECT_EQ(detect_language(agg, {{"EMPTY.BIN", true, crc_of({}), FI, std::nullopt}}).language, EN);
}

TEST(LangDetect, FrenchCreatureSetsMarkAFrenchArchive) {
    AggArchive agg = AggArchive::from_bytes(kit::write_agg({{"PAYSAN.STD", {1, 2}}, {"LOUP.STD", {3}}}));
    CoutCapture cap;
    EXPECT_EQ(detect_language(agg).language, FR);
}

TEST(LangDetect, TheDemoDataSetIsEnglish) {
    // The kit's data set stands for an English one: it must not carry another language's fingerprints.
    AggArchive agg = AggArchive::from_bytes(kit::demo_archive_bytes());
    CoutCapture cap;
    EXPECT_EQ(detect_language(agg).language, EN);
}

TEST(LangDetect, FileResultsAreCachedUntilTheFileChanges) {
    namespace fs = std::filesystem;
    const fs::path path = fs::temp_directory_path() / ("vorn1_detect_" + std::to_string(::getpid()) + ".agg");
    kit::write_file(path.string(), kit::write_agg({{"PAYSAN.STD", {1}}}));
    CoutCapture cap;
    {
        AggArchive agg(path.string());
        EXPECT_EQ(detect_language(agg).language, FR);
        EXPECT_EQ(detect_language(agg).language, FR);
    }
    // Only the first call inspected the archive.
    const std::string log = cap.buf.str();
    size_t lines = 0;
    for (size_t p = log.find("LANG DETECT: "); p != std::string::npos; p = log.find("LANG DETECT: ", p + 1)) ++lines;
    EXPECT_EQ(lines, 1u);

    // A different file at the same path is looked at again.
    kit::write_file(path.string(), kit::write_agg({{"PEASANT.STD", {1}}, {"OTHER.BIN", {1, 2, 3, 4, 5, 6}}}));
    {
        AggArchive agg(path.string());
        EXPECT_EQ(detect_language(agg).language, EN);
    }
    fs::remove(path);
}

}  // namespace
}  // namespace vorn1
