#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "assets/png_decode.h"
#include "datakit/datakit.h"
#include "lang/lang_icn_override.h"

namespace vorn1 {
namespace {

namespace fs = std::filesystem;

// A w x h picture whose red channel holds `tag`, so frames can be told apart after decoding.
Image tagged(int w, int h, uint8_t tag) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* p = img.at(x, y);
            p[0] = tag, p[1] = static_cast<uint8_t>(x), p[2] = static_cast<uint8_t>(y), p[3] = 255;
        }
    return img;
}

struct OverrideDir {
    fs::path root = fs::temp_directory_path() / ("vorn1_override_" + std::to_string(::getpid()));
    OverrideDir() { fs::remove_all(root); }
    ~OverrideDir() { fs::remove_all(root); }
    void png(const std::string& rel, const Image& img) const { kit::write_file((root / rel).string(), encode_png(img)); }
    void text(const std::string& rel, const std::string& s) const {
        fs::create_directories((root / rel).parent_path());
        std::ofstream(root / rel, std::ios::binary) << s;
    }
};

struct CerrCapture {
    std::ostringstream buf;
    std::streambuf* old = std::cerr.rdbuf(buf.rdbuf());
    ~CerrCapture() { std::cerr.rdbuf(old); }
};

TEST(LangOverride, FrameNumbersFromFileNames) {
    EXPECT_EQ(override_frame_number("0.png"), 0);
    EXPECT_EQ(override_frame_number("007.PNG"), 7);
    EXPECT_EQ(override_frame_number("frame_12.png"), 12);
    EXPECT_EQ(override_frame_number("4095.png"), kMaxOverrideFrame);
    EXPECT_EQ(override_frame_number("4096.png"), -1);
    EXPECT_EQ(override_frame_number("999999999999999999999.png"), -1);
    EXPECT_EQ(override_frame_number("x.png"), -1);
    EXPECT_EQ(override_frame_number(".png"), -1);
    EXPECT_EQ(override_frame_number("12.bmp"), -1);
    EXPECT_EQ(override_frame_number("12.png.bak"), -1);
}

TEST(LangOverride, SpecGivesOffsetsPerFrame) {
    auto spec = parse_override_spec(R"(<?xml version="1.0"?>
<icn name="VIEWARMY">
  <frame index="0" x="-3" y="5"/>
  <frame y='7' index='2'/>
  <frame index="3" x="99999" y="-99999" />
  <frame x="1" y="1"/>
  <frame index="-1" x="1"/>
  <frame index="5000" x="1"/>
  <frame index="abc" x="1"/>
  <frameset index="6" x="1"/>
  <frame index="4" x="12)");
    ASSERT_EQ(spec.size(), 3u);
    EXPECT_EQ(spec[0].x, -3);
    EXPECT_EQ(spec[0].y, 5);
    EXPECT_EQ(spec[2].x, 0);
    EXPECT_EQ(spec[2].y, 7);
    EXPECT_EQ(spec[3].x, INT16_MAX);
    EXPECT_EQ(spec[3].y, INT16_MIN);
    EXPECT_TRUE(parse_override_spec("").empty());
    EXPECT_TRUE(parse_override_spec("<frame").empty());
}

TEST(LangOverride, LoadsNumberedFramesCaseInsensitively) {
    OverrideDir d;
    d.png("ru/ViewArmy/0.png", tagged(3, 2, 10));
    d.png("ru/ViewArmy/002.png", tagged(4, 4, 12));
    d.png("ru/ViewArmy/2.png", tagged(1, 1, 99));       // same frame: "002.png" sorts first and wins
    d.png("ru/ViewArmy/9999.png", tagged(1, 1, 1));     // beyond the cap: ignored
    d.png("ru/ViewArmy/cover.png", tagged(1, 1, 1));    // no number: ignored
    d.text("ru/ViewArmy/5.png", "not a png at all");    // undecodable: skipped with a warning
    d.text("ru/ViewArmy/SPEC.XML", R"(<frame index="2" x="4" y="-6"/><frame index="7" x="1" y="1"/>)");
    d.png("EN/VIEWARMY/0.png", tagged(2, 2, 50));
    const std::string root = d.root.string();

    CerrCapture cap;
    auto frames = load_lang_icn_override_frames(root, "RU", "VIEWARMY");
    ASSERT_EQ(frames.size(), 2u);
    ASSERT_TRUE(frames.count(0) && frames.count(2));
    EXPECT_EQ(frames[0].image.width, 3);
    EXPECT_EQ(frames[0].image.height, 2);
    EXPECT_EQ(frames[0].image.at(2, 1)[0], 10);
    EXPECT_EQ(frames[0].image.at(2, 1)[1], 2);
    EXPECT_FALSE(frames[0].has_offset);
    EXPECT_EQ(frames[2].image.at(0, 0)[0], 12);
    EXPECT_TRUE(frames[2].has_offset);
    EXPECT_EQ(frames[2].offset.x, 4);
    EXPECT_EQ(frames[2].offset.y, -6);
    EXPECT_NE(cap.buf.str().find("5.png"), std::string::npos);

    auto images = load_lang_icn_override(root, "ru", "viewarmy");
    ASSERT_EQ(images.size(), 2u);
    EXPECT_EQ(images[2].width, 4);

    // English never takes overrides; absent languages and sets give nothing.
    EXPECT_TRUE(load_lang_icn_override(root, "EN", "VIEWARMY").empty());
    EXPECT_TRUE(load_lang_icn_override(root, "en", "VIEWARMY").empty());
    EXPECT_TRUE(load_lang_icn_override(root, "DE", "VIEWARMY").empty());
    EXPECT_TRUE(load_lang_icn_override(root, "RU", "HEROSCRN").empty());
    EXPECT_TRUE(load_lang_icn_override((d.root / "missing").string(), "RU", "VIEWARMY").empty());
}

TEST(LangOverride, SinglePictures) {
    OverrideDir d;
    d.png("RU/veldar.png", tagged(5, 3, 77));
    d.text("RU/BROKEN.png", "\x89PNG\r\n\x1a\n truncated");
    d.png("EN/VELDAR.png", tagged(1, 1, 1));
    const std::string root = d.root.string();

    Image img = tagged(1, 1, 5);
    EXPECT_TRUE(load_lang_png_override(root, "ru", "VELDAR", img));
    EXPECT_EQ(img.width, 5);
    EXPECT_EQ(img.at(4, 2)[0], 77);

    CerrCapture cap;
    Image keep = tagged(2, 2, 9);
    EXPECT_FALSE(load_lang_png_override(root, "RU", "BROKEN", keep));
    EXPECT_FALSE(load_lang_png_override(root, "RU", "ABSENT", keep));
    EXPECT_FALSE(load_lang_png_override(root, "EN", "VELDAR", keep));
    EXPECT_EQ(keep.width, 2);  // a failed look-up leaves the picture alone
    EXPECT_EQ(keep.at(0, 0)[0], 9);
}

}  // namespace
}  // namespace vorn1
