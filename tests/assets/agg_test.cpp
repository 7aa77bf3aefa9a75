#include <gtest/gtest.h>

#include <cstdio>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "assets/agg.h"
#include "datakit/datakit.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_formats.h"

using namespace vorn1;
using vorn1::kit::Bytes;

namespace {

std::string error_of(const Bytes& b) {
    try {
        AggArchive::from_bytes(b);
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return "";
}

void put32(Bytes& b, std::size_t at, uint32_t v) {
    for (int k = 0; k < 4; ++k) b[at + k] = static_cast<uint8_t>(v >> (8 * k));
}

Bytes sample_archive() {
    return kit::write_agg({{"SYSTEM.ICN", {1, 2, 3}}, {"qv.pal", Bytes(768, 7)}, {"EMPTY.BIN", {}}, {"DEMO.MAP", {9}}});
}

}  // namespace

TEST(Agg, RoundTripNamesAndBytes) {
    const Bytes raw = sample_archive();
    // Layout: u16 count, 12-byte records, data, 15-byte name slots at the end.
    ASSERT_EQ(raw[0], 4);
    ASSERT_EQ(raw[1], 0);
    EXPECT_EQ(raw.size(), 2u + 4 * 12 + 3 + 768 + 0 + 1 + 4 * 15);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(raw.data()) + raw.size() - 60), "SYSTEM.ICN");

    AggArchive a = AggArchive::from_bytes(raw);
    EXPECT_EQ(a.names(), (std::vector<std::string>{"SYSTEM.ICN", "QV.PAL", "EMPTY.BIN", "DEMO.MAP"}));
    EXPECT_EQ(a.get("SYSTEM.ICN"), (Bytes{1, 2, 3}));
    EXPECT_EQ(a.get("system.icn"), (Bytes{1, 2, 3}));
    EXPECT_EQ(a.get("Qv.Pal"), Bytes(768, 7));
    EXPECT_EQ(a.get("DEMO.MAP"), Bytes{9});
    EXPECT_TRUE(a.has("demo.map"));
    EXPECT_TRUE(a.has("EMPTY.BIN"));
    EXPECT_TRUE(a.get("EMPTY.BIN").empty());
    EXPECT_FALSE(a.has("MISSING.ICN"));
    EXPECT_TRUE(a.get("MISSING.ICN").empty());
}

TEST(Agg, RecordsCarryHashOffsetAndSize) {
    const Bytes raw = sample_archive();
    auto rd = [&](std::size_t at) { return raw[at] | raw[at + 1] << 8 | raw[at + 2] << 16 | uint32_t(raw[at + 3]) << 24; };
    EXPECT_EQ(rd(2), agg_name_hash("SYSTEM.ICN"));
    EXPECT_EQ(rd(6), 2u + 4 * 12);
    EXPECT_EQ(rd(10), 3u);
    EXPECT_EQ(rd(14), agg_name_hash("QV.PAL"));
    EXPECT_EQ(rd(18), 2u + 4 * 12 + 3);
    EXPECT_EQ(rd(22), 768u);
    // The hash ignores letter case and depends on the order of characters.
    EXPECT_EQ(agg_name_hash("qv.pal"), agg_name_hash("QV.PAL"));
    EXPECT_NE(agg_name_hash("AB"), agg_name_hash("BA"));
}

TEST(Agg, ErrorsOnBadIndex) {
    EXPECT_EQ(error_of({0, 0}), "AGG has zero files");
    EXPECT_EQ(error_of(kit::write_agg({})), "AGG has zero files");
    EXPECT_NE(error_of({}), "");
    EXPECT_NE(error_of({5}), "");
    // Claims 100 entries in a small file.
    Bytes raw = sample_archive();
    raw[0] = 100;
    EXPECT_NE(error_of(raw).find("AGG index truncated"), std::string::npos);
    // Name table cut off.
    raw = sample_archive();
    raw.resize(2 + 4 * 12 + 10);
    EXPECT_NE(error_of(raw), "");
}

// A file cut short or overwritten is refused when it opens, naming what is wrong, rather than
// opening with names read from garbage and entries pointing past its end.
TEST(Agg, DamagedIndexIsRefused) {
    auto damaged = [](const Bytes& b) { return error_of(b).find("AGG index damaged") != std::string::npos; };
    Bytes raw = sample_archive();
    // Entry 0: offset near 4 GiB so that a 32-bit offset + size would wrap to a small value.
    put32(raw, 2 + 4, 0xFFFFFFF0u);
    put32(raw, 2 + 8, 0x20);
    EXPECT_TRUE(damaged(raw)) << error_of(raw);
    // Entry 1 one byte longer: it runs into the name table.
    raw = sample_archive();
    put32(raw, 2 + 12 + 8, 770);
    EXPECT_TRUE(damaged(raw)) << error_of(raw);
    // Entry 1 starting inside the records.
    raw = sample_archive();
    put32(raw, 2 + 12 + 4, 10);
    EXPECT_TRUE(damaged(raw)) << error_of(raw);
    // An empty name, and a name with a control byte.
    raw = sample_archive();
    raw[raw.size() - 15] = 0;
    EXPECT_TRUE(damaged(raw)) << error_of(raw);
    raw = sample_archive();
    raw[raw.size() - 14] = 0x07;
    EXPECT_TRUE(damaged(raw)) << error_of(raw);
    // A name of a single-byte code page is told escaped, never as raw bytes.
    raw = kit::write_agg({{"G\x82NIE.ICN", {1, 2}}});
    put32(raw, 2 + 8, 3);
    EXPECT_NE(error_of(raw).find("(G\\x82NIE.ICN)"), std::string::npos) << error_of(raw);

    // The demo archive cut in half, and random bytes of the same length (fixed seed).
    const Bytes demo = kit::write_agg(kit::build_demo_data().archive);
    EXPECT_NO_THROW(AggArchive::from_bytes(demo));
    const Bytes half(demo.begin(), demo.begin() + (long)demo.size() / 2);
    EXPECT_TRUE(damaged(half)) << error_of(half);
    uint32_t seed = 12345;
    Bytes noise(demo.size());
    for (uint8_t& b : noise) {
        seed = seed * 1103515245u + 12345u;
        b = static_cast<uint8_t>(seed >> 16);
    }
    EXPECT_TRUE(damaged(noise)) << error_of(noise);
    // A zero-length entry is no damage whatever its offset says.
    raw = sample_archive();
    put32(raw, 2 + 24 + 4, 0xFFFFFFFFu);
    EXPECT_TRUE(AggArchive::from_bytes(raw).get("EMPTY.BIN").empty());
}

TEST(Agg, FirstDuplicateWinsAndLongNamesAreCut) {
    Bytes raw = kit::write_agg({{"A.BIN", {1}}, {"a.bin", {2}}, {"ABCDEFGHIJKLMNOP", {3}}, {"HIGH\x82.ICN", {4}}});
    // Fill the two unused bytes after the 13-byte name of entry 2.
    raw[raw.size() - 2 * 15 + 13] = 'X';
    raw[raw.size() - 2 * 15 + 14] = 'Y';
    AggArchive a = AggArchive::from_bytes(raw);
    EXPECT_EQ(a.get("A.BIN"), Bytes{1});
    EXPECT_EQ(a.get("ABCDEFGHIJKLM"), Bytes{3});
    EXPECT_TRUE(a.get("ABCDEFGHIJKLMNOP").empty());
    // Bytes above 127 are kept as they are, not case-mapped.
    EXPECT_EQ(a.get("high\x82.icn"), Bytes{4});
    // A name that fills all 13 bytes has no terminating zero and must not run into the next slot.
    EXPECT_EQ(a.names()[2], "ABCDEFGHIJKLM");
}

TEST(Agg, OpensFromDiskAndReadsLazily) {
    // Unique per process: several checkouts may run this suite at once.
    const auto dir = std::filesystem::temp_directory_path() / ("vorn1_agg_test_" + std::to_string(getpid()));
    const std::string path = (dir / "T.AGG").string();
    kit::write_file(path, sample_archive());
    AggArchive a(path);
    EXPECT_EQ(a.path(), path);
    EXPECT_EQ(a.get("qv.pal"), Bytes(768, 7));
    EXPECT_EQ(a.get("SYSTEM.ICN"), (Bytes{1, 2, 3}));
    // A copy shares the open file.
    AggArchive b = a;
    EXPECT_EQ(b.get("DEMO.MAP"), Bytes{9});

    kit::write_file(path, {0, 0});
    try {
        AggArchive z(path);
        FAIL() << "zero-file archive opened";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "AGG has zero files");
    }
    EXPECT_THROW(AggArchive((dir / "NOPE.AGG").string()), std::runtime_error);

    // An archive whose name is spelt in another case is found.
    kit::write_file((dir / "veldar.agg").string(), sample_archive());
    AggArchive lower((dir / "VELDAR.AGG").string());
    EXPECT_EQ(lower.path(), (dir / "veldar.agg").string());
    EXPECT_EQ(lower.get("DEMO.MAP"), Bytes{9});
    std::filesystem::remove_all(dir);
}

TEST(Agg, Paths) {
    EXPECT_EQ(path_folder("/a/b/VELDAR.AGG"), "/a/b/");
    EXPECT_EQ(path_folder("..\\VELDAR.AGG"), "..\\");
    EXPECT_EQ(path_folder("VELDAR.AGG"), "");
    const std::string& p = agg_base_path();
    EXPECT_EQ(&p, &agg_base_path());
    ASSERT_GE(p.size(), 13u);
    EXPECT_EQ(p.substr(p.size() - 13), "../VELDAR.AGG");
    EXPECT_EQ(upper_ascii("abc.Icn\x82z"), "ABC.ICN\x82Z");
}

TEST(Agg, FailureTextTellsAMissingArchiveFromADamagedOne) {
    const auto dir = std::filesystem::temp_directory_path() / ("vorn1_agg_fail_" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const std::string missing = (dir / "VELDAR.AGG").string();
    std::string why;
    try {
        AggArchive a(missing);
    } catch (const std::runtime_error& e) {
        why = e.what();
    }
    const std::string gone = archive_failure_text(missing, why);
    EXPECT_NE(gone.find("Path tried: " + missing), std::string::npos) << gone;
    EXPECT_EQ(gone.find(missing), gone.rfind(missing)) << "the path is told once: " << gone;
    EXPECT_NE(gone.find("No such file"), std::string::npos) << gone;
    EXPECT_NE(gone.find("Put VELDAR.AGG"), std::string::npos) << gone;

    // A zero-byte file, and a folder in the file's place, are there but cannot be read.
    kit::write_file(missing, {});
    why.clear();
    try {
        AggArchive a(missing);
    } catch (const std::runtime_error& e) {
        why = e.what();
    }
    ASSERT_FALSE(why.empty()) << "an empty archive opened";
    const std::string empty = archive_failure_text(missing, why);
    EXPECT_NE(empty.find("damaged"), std::string::npos) << empty;
    EXPECT_NE(empty.find(missing), std::string::npos) << empty;
    EXPECT_EQ(empty.find(missing), empty.rfind(missing)) << empty;
    EXPECT_EQ(empty.find("Put VELDAR.AGG"), std::string::npos) << empty;
    std::filesystem::remove(missing);
    std::filesystem::create_directory(dir / "veldar.agg");
    const std::string folder = archive_failure_text(missing, "cannot read archive");
    EXPECT_NE(folder.find((dir / "veldar.agg").string()), std::string::npos) << folder;
    std::filesystem::remove_all(dir);
}
