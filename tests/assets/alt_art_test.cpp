#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "assets/png_decode.h"
#include "assets/screens_canvas.h"
#include "lang/alt_hydra.h"
#include "lang/hero_horse.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;
namespace fs = std::filesystem;

namespace {

struct TempDir {
    fs::path path;
    TempDir() {
        // The process id keeps runs of other checkouts apart; the counter keeps two folders apart.
        static int counter = 0;
        path = fs::temp_directory_path() /
               ("vorn1_alt_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        fs::remove_all(path);
        fs::create_directories(path);
    }
    ~TempDir() { fs::remove_all(path); }
    void png(const std::string& name, int w, int h) {
        const std::vector<uint8_t> b = encode_png(solid(w, h, {9, 9, 9, 255}));
        std::ofstream(path / name, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    }
    void text(const std::string& name, const std::string& t) { std::ofstream(path / name) << t; }
};

}  // namespace

TEST(HeroHorseArt, OneFigurePerClassFromNumberedFrames) {
    Canvas c;
    TempDir d;
    d.png("0.png", 30, 40);
    d.png("002.png", 31, 41);  // leading zeros allowed
    d.png("7.png", 5, 5);      // no class 7: ignored
    d.text("notes.txt", "x");
    HeroHorseArt art;
    EXPECT_TRUE(art.load(c.r, d.path.string()));
    EXPECT_NE(art.figure(0), nullptr);
    EXPECT_EQ(art.figure(1), nullptr);
    EXPECT_NE(art.figure(2), nullptr);
    EXPECT_EQ(art.figure(4), nullptr);
    EXPECT_EQ(art.figure(-1), nullptr);
    EXPECT_EQ(art.w[2], 31);
    EXPECT_EQ(art.h[0], 40);
    art.unload();
    EXPECT_FALSE(art.loaded);
    EXPECT_EQ(art.figure(0), nullptr);

    EXPECT_FALSE(art.load(c.r, (d.path / "absent").string()));
    EXPECT_FALSE(art.load(c.r, ""));
}

TEST(AltHydraArt, FramesWithOffsetsAndAnOptionalBuildPicture) {
    Canvas c;
    TempDir d;
    for (int i = 0; i < 6; ++i) d.png(std::to_string(i) + ".png", 20 + i, 10);
    d.text("spec.xml", "<frames><frame index=\"0\" x=\"5\" y=\"6\"/><frame index=\"3\" x=\"-4\" y=\"12\"/></frames>");
    d.png("BUILD.PNG", 137, 61);  // found case-insensitively
    AltHydraArt art;
    ASSERT_TRUE(art.load(c.r, d.path.string()));
    for (int i = 0; i < 6; ++i) EXPECT_NE(art.frames[i], nullptr) << i;
    EXPECT_EQ(art.headers[0].x, 5);
    EXPECT_EQ(art.headers[3].x, -4);
    EXPECT_EQ(art.headers[3].y, 12);
    EXPECT_EQ(art.headers[1].x, 0);  // no offset given
    EXPECT_EQ(art.headers[5].width, 25);
    ASSERT_NE(art.build_picture, nullptr);
    EXPECT_EQ(art.build_w, 137);

    // Without frame 0 the art does not count as loaded; a broken build picture is skipped.
    TempDir e;
    e.png("1.png", 4, 4);
    e.text("build.png", "not a png");
    EXPECT_FALSE(art.load(c.r, e.path.string()));
    EXPECT_NE(art.frames[1], nullptr);
    EXPECT_EQ(art.frames[0], nullptr);
    EXPECT_EQ(art.build_picture, nullptr);
    art.unload();
    EXPECT_EQ(art.frames[1], nullptr);
}
