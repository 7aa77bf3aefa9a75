#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <unistd.h>
#include <sstream>

#include "assets/dialog_utils.h"
#include "assets/icn.h"
#include "assets/png_decode.h"
#include "assets/resources.h"
#include "assets/screens_canvas.h"
#include "datakit/kit_demo.h"

using namespace vorn1;
using namespace vorn1::testing_canvas;

namespace {

std::unique_ptr<AggArchive> archive_of(const std::vector<kit::AggFile>& files) {
    return std::make_unique<AggArchive>(AggArchive::from_bytes(kit::write_agg(files)));
}

std::vector<std::string> lines_with(const std::string& text, const std::string& prefix) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(prefix, 0) == 0) out.push_back(line);
    return out;
}

// The demo archive is large; build it once.
const std::vector<uint8_t>& demo_bytes() {
    static const std::vector<uint8_t> bytes = kit::demo_archive_bytes();
    return bytes;
}

}  // namespace

TEST(Resources, DemoArchiveLoadsEveryEntryWithoutWarnings) {
    Canvas c;
    ::testing::internal::CaptureStderr();
    Resources res(c.r, std::make_unique<AggArchive>(AggArchive::from_bytes(demo_bytes())));
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(res.warnings, 0) << err;
    EXPECT_TRUE(err.empty()) << err;
    EXPECT_TRUE(res.palette_loaded);
    EXPECT_EQ(res.palette, kit::demo_palette());

    const std::map<std::string, const IcnTextures*> sets = {
        {"SYSTEM.ICN", &res.system_btn}, {"BUYBUILD.ICN", &res.buybuild}, {"MONS32.ICN", &res.mons32},
        {"MONSTERS.ICN", &res.monsters}, {"STRIP.ICN", &res.strip},       {"ARTIFACT.ICN", &res.artifact},
        {"RESOURCE.ICN", &res.resource}, {"SPELLS.ICN", &res.spells},     {"BOOK.ICN", &res.book},
        {"TOWNWIND.ICN", &res.townwind}, {"LEGEND.ICN", &res.legend},     {"RSRC32.ICN", &res.rsrc32},
        {"FLAG32.ICN", &res.flag32},     {"BOAT32.ICN", &res.boat32},     {"OBJ32-07.ICN", &res.obj32_07},
        {"CAMPAIGN.ICN", &res.campaign}};
    for (const ResourceEntry& e : resource_entries()) {
        auto it = sets.find(e.name);
        if (it == sets.end()) continue;
        EXPECT_GE(it->second->count(), e.min_frames) << e.name;
        for (int i = 0; i < it->second->count(); ++i) EXPECT_NE(it->second->at(i), nullptr) << e.name << " " << i;
        EXPECT_EQ(it->second->headers.size(), it->second->frames.size());
    }
    for (SDL_Texture* t : res.portraits) EXPECT_NE(t, nullptr);
    for (SDL_Texture* t : res.crests) EXPECT_NE(t, nullptr);
    for (SDL_Texture* t : res.colour_crests) EXPECT_NE(t, nullptr);
    EXPECT_NE(res.second_crest, nullptr);
    EXPECT_NE(res.adv_border, nullptr);
    EXPECT_EQ(res.cursors.frames.size(), 10u);
    EXPECT_EQ(res.buybuild.size(1).x, 140);  // the frame pieces have their real sizes
    EXPECT_EQ(res.buybuild.size(2).y, 48);

    // The frame drawn from the loaded pieces covers its full extent.
    draw_buybuild_border(c.r, res, 100, 50, 2);
    EXPECT_NE(c.px(101, 51), (Rgba{0, 0, 0, 255}));
    EXPECT_NE(c.px(380, 50 + border_height(2) - 2), (Rgba{0, 0, 0, 255}));
}

TEST(Resources, MissingEntriesWarnOncePerEntryAndLeaveNulls) {
    Canvas c;
    ::testing::internal::CaptureStderr();
    Resources res(c.r, archive_of({{"SYSTEM.ICN", kit::labelled_icn("SYSTEM", 13, 66, 25)},
                                   {"PORT0007.ICN", kit::labelled_icn("PORT", 1, 10, 10)}}));
    const std::string err = ::testing::internal::GetCapturedStderr();
    const auto warn = lines_with(err, "  WARNING: ");
    // Everything but the two entries present is reported, each once.
    EXPECT_EQ(warn.size(), resource_entries().size() - 2) << err;
    EXPECT_EQ(res.warnings, static_cast<int>(warn.size()));
    EXPECT_EQ(lines_with(err, "  WARNING: BUYBUILD.ICN missing").size(), 1u);
    EXPECT_EQ(lines_with(err, "  WARNING: QV.PAL missing").size(), 1u);
    EXPECT_EQ(lines_with(err, "  WARNING: PORT0007.ICN").size(), 0u);
    EXPECT_FALSE(res.palette_loaded);
    EXPECT_EQ(res.system_btn.count(), 13);
    EXPECT_EQ(res.buybuild.count(), 0);
    EXPECT_EQ(res.portraits[0], nullptr);
    EXPECT_NE(res.portraits[7], nullptr);
    EXPECT_EQ(res.adv_border, nullptr);
    EXPECT_TRUE(res.cursors.frames.empty());

    // Drawing with what is missing draws nothing and does not fail.
    draw_buybuild_border(c.r, res, 0, 0, 3);
    EXPECT_EQ(c.px(10, 10), (Rgba{0, 0, 0, 255}));
    const SDL_Rect r = draw_system_button(c.r, res, static_cast<EventButtonId>(1), 320, 400, false, nullptr);
    EXPECT_EQ(r.w, 66);  // frame 9 exists in the 13-frame set: its own size
    EXPECT_EQ(r.h, 25);
}

TEST(Resources, CorruptEntriesAreReportedAndTreatedAsMissing) {
    Canvas c;
    ::testing::internal::CaptureStderr();
    Resources res(c.r, archive_of({{"QV.PAL", kit::Bytes(767, 1)},
                                   {"BUYBUILD.ICN", kit::Bytes{1, 0, 9}},
                                   {CursorManager::kEntry, kit::Bytes{0xFF}},
                                   {"CRST0003.ICN", kit::Bytes(40, 0xEE)}}));
    const std::string err = ::testing::internal::GetCapturedStderr();
    for (const char* name : {"QV.PAL", "BUYBUILD.ICN", "ADVMCO.ICN", "CRST0003.ICN"})
        EXPECT_EQ(lines_with(err, std::string("  WARN ") + name + ": ").size(), 1u) << name << "\n" << err;
    EXPECT_FALSE(res.palette_loaded);
    EXPECT_EQ(res.buybuild.count(), 0);
    EXPECT_EQ(res.crests[3], nullptr);
}

TEST(Resources, WithoutArchiveOrRendererNothingIsLoaded) {
    Resources none(nullptr, nullptr);
    EXPECT_EQ(none.system_btn.count(), 0);
    EXPECT_FALSE(none.palette_loaded);
    EXPECT_EQ(none.palette[200], (Color{200, 200, 200}));  // grey fallback

    // No renderer: sets decode but hold no textures; nothing crashes.
    ::testing::internal::CaptureStderr();
    Resources headless(nullptr, std::make_unique<AggArchive>(AggArchive::from_bytes(demo_bytes())));
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(headless.system_btn.count(), 13);
    EXPECT_EQ(headless.system_btn.at(0), nullptr);
}

TEST(Resources, ReloadLanguageTakesReplacementFramesAndRestoresStockArt) {
    namespace fs = std::filesystem;
    const fs::path root = fs::temp_directory_path() / ("vorn1_res_lang_" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "DE" / "system");  // folder names match ignoring case
    auto png = [&](const fs::path& p, int w, int h) {
        const std::vector<uint8_t> b = encode_png(solid(w, h, {250, 250, 0, 255}));
        std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), b.size());
    };
    png(root / "DE" / "system" / "9.png", 70, 26);
    png(root / "DE" / "system" / "20.png", 3, 3);

    Canvas c;
    ::testing::internal::CaptureStderr();
    Resources res(c.r, std::make_unique<AggArchive>(AggArchive::from_bytes(demo_bytes())));
    ::testing::internal::GetCapturedStderr();
    const Language before = g_language;
    res.reload_language(DE, root.string());
    EXPECT_EQ(res.language, DE);
    EXPECT_EQ(g_language, DE);
    EXPECT_EQ(res.system_btn.count(), 21);
    EXPECT_EQ(res.system_btn.size(9).x, 70);
    EXPECT_EQ(res.system_btn.size(8).x, 66);  // frames without a replacement stay
    EXPECT_EQ(res.overridden, std::vector<std::string>{"SYSTEM.ICN"});
    const SDL_Rect r = draw_system_button(c.r, res, static_cast<EventButtonId>(1), 320, 0, false, nullptr);
    EXPECT_EQ(r.w, 70);

    res.reload_language(EN, root.string());
    EXPECT_EQ(res.system_btn.count(), 13);
    EXPECT_EQ(res.system_btn.size(9).x, 66);
    EXPECT_TRUE(res.overridden.empty());
    res.reload_language(before, root.string());
    fs::remove_all(root);
}

TEST(DemoKit, TableCoversTheCacheAndNamesFitTheArchive) {
    std::map<std::string, int> frames;
    for (const kit::DemoEntry& e : kit::demo_entries()) {
        EXPECT_LE(e.name.size(), 13u) << e.name;
        EXPECT_TRUE(frames.emplace(upper_ascii(e.name), e.frames).second) << "duplicate " << e.name;
    }
    for (const ResourceEntry& e : resource_entries()) {
        ASSERT_TRUE(frames.count(e.name)) << e.name;
        EXPECT_GE(frames[e.name], e.min_frames) << e.name;
    }
    const AggArchive a = AggArchive::from_bytes(demo_bytes());
    for (const char* n : {"VELDAR.BMP", "COMBAT.PAL", "BUILDING.ICN", "MTNCAST.ICN", "genie.WIP", "boat.bkg",
                          "LOOP0020.82M", "HISCORE.ICN"})
        EXPECT_FALSE(a.get(n).empty()) << n;
}

// Pictures the program writes on or lays out tightly: the battle hero dialog's stat lines and title
// stay on plain dark art, and the artifact pictures fit the meeting window's 32 x 32 cells, which
// sit right under its army counts.
TEST(DemoKit, ArtUnderTextIsPlainAndArtifactsFitTheirCells) {
    const AggArchive a = AggArchive::from_bytes(demo_bytes());
    const Palette pal = kit::demo_palette();
    // One colour, dark enough for white text, over the box (x0, y0, w, h) of a frame.
    auto plain_dark = [](const Image& img, int x0, int y0, int w, int h) {
        const uint8_t* first = &img.pixels[(static_cast<size_t>(y0) * img.width + x0) * 4];
        if ((first[0] * 3 + first[1] * 6 + first[2]) / 10 >= 100) return false;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x)
                if (!std::equal(first, first + 4, &img.pixels[(static_cast<size_t>(y) * img.width + x) * 4])) return false;
        return true;
    };
    const IcnFrames dialog = decode_icn(a.get("VIEWGEN.ICN"), pal);
    ASSERT_GE(dialog.frames.size(), 15u);
    // The background is stretched to 250 x 202 with the title 11 pixels down; the panels are
    // stretched to 111 x 105 and the six lines fill them from 6 pixels down.
    ASSERT_EQ(dialog.frames[0].width, 250);
    ASSERT_EQ(dialog.frames[0].height, 202);
    EXPECT_TRUE(plain_dark(dialog.frames[0], 1, 11, 248, 22));
    for (int i = 1; i <= 4; ++i) {
        ASSERT_EQ(dialog.frames[i].width, 111) << i;
        ASSERT_EQ(dialog.frames[i].height, 105) << i;
        EXPECT_TRUE(plain_dark(dialog.frames[i], 1, 1, 109, 94)) << "stat panel " << i;
    }
    const IcnFrames artifacts = decode_icn(a.get("ARTIFACT.ICN"), pal);
    ASSERT_EQ(artifacts.frames.size(), 38u);
    for (const Image& f : artifacts.frames) {
        EXPECT_LE(f.width, 32);
        EXPECT_LE(f.height, 32);
    }
}

TEST(DemoKit, BattleLayoutSetsHaveTwelveByteHeadersAndOffsetsFromByteSix) {
    kit::IcnFrame f0, f1;
    f0.x = -3;
    f0.pixels = kit::IndexGrid(2, 2, 7);
    f1.pixels = kit::IndexGrid(3, 1, 9);
    f1.pixels.set_kind(0, 0, kit::kTransparent);
    const kit::Bytes b = kit::write_sprite12({f0, f1});
    ASSERT_GE(b.size(), 30u);
    EXPECT_EQ(b[0] | b[1] << 8, 2);
    EXPECT_EQ(static_cast<int16_t>(b[6] | b[7] << 8), -3);
    EXPECT_EQ(b[10] | b[11] << 8, 2);  // width
    const int off0 = b[14] | b[15] << 8 | b[16] << 16;
    const int off1 = b[26] | b[27] << 8 | b[28] << 16;
    EXPECT_EQ(off0, 24);  // data right after both headers, counted from byte 6
    // Frame 0: two literal pixels, end of row, two more, end of frame.
    const kit::Bytes want0 = {2, 7, 7, 0x00, 2, 7, 7, 0x80};
    EXPECT_EQ(kit::Bytes(b.begin() + 6 + off0, b.begin() + 6 + off1), want0);
    const kit::Bytes want1 = {0x81, 2, 9, 9, 0x80};
    EXPECT_EQ(kit::Bytes(b.begin() + 6 + off1, b.end()), want1);

    // The sky picture: width and height at bytes 2 and 4, then every index.
    const kit::Bytes bkg = kit::make_demo_entry({"boat.bkg", kit::DemoKind::Bkg, 1, 40, 10});
    EXPECT_EQ(bkg.size(), 6u + 400u);
    EXPECT_EQ(bkg[2] | bkg[3] << 8, 40);
    EXPECT_EQ(bkg[4] | bkg[5] << 8, 10);
}
