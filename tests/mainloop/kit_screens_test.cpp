// The demo data against the screens that draw it: each screen laid out from the sizes and offsets of
// the kit's pictures keeps its pictures, buttons and text boxes on the screen and apart from each other
// where the layout means them apart, and marks that frame something leave the middle clear.
#include <SDL_ttf.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/icn.h"
#include "battle/battle_result.h"
#include "datakit/kit_demo.h"
#include "datakit/kit_maps.h"
#include "frontend/hotseat_screen.h"
#include "frontend/localized_texts.h"
#include "frontend/map_discovery.h"
#include "frontend/map_select.h"
#include "frontend/setup_page.h"
#include "lang/language.h"
#include "temp_dir.h"
#include "town/castle_screen.h"

namespace vorn1 {
namespace {

struct Piece {
    std::string name;
    SDL_Rect r;
};

// Text boxes are as high as their font's size.
constexpr int kLarge = kLargeFontSize, kSmall = kSmallFontSize;

class KitScreens : public ::testing::Test {
protected:
    static inline std::unique_ptr<AggArchive> archive;
    const Palette pal = kit::demo_palette();

    static void SetUpTestSuite() { archive = std::make_unique<AggArchive>(AggArchive::from_bytes(kit::demo_archive_bytes())); }
    static void TearDownTestSuite() { archive.reset(); }

    IcnFrames icn(const std::string& name) const { return decode_icn(archive->get(name), pal); }
    SDL_Point size(const IcnFrames& set, int frame) const {
        if (frame < 0 || frame >= (int)set.headers.size()) return {0, 0};
        return {set.headers[(size_t)frame].width, set.headers[(size_t)frame].height};
    }
    SDL_Point bmp(const std::string& name) const {
        const Image img = decode_bmp(archive->get(name), pal);
        return {img.width, img.height};
    }
    // The middle pixel of a frame is clear.
    static bool clear_middle(const IcnFrames& set, int frame) {
        const Image& img = set.frames.at((size_t)frame);
        return img.width > 0 && img.at(img.width / 2, img.height / 2)[3] == 0;
    }
};

bool inside(const SDL_Rect& in, const SDL_Rect& r) {
    return r.w > 0 && r.h > 0 && r.x >= in.x && r.y >= in.y && r.x + r.w <= in.x + in.w && r.y + r.h <= in.y + in.h;
}

void expect_laid_out(const std::string& screen, const std::vector<Piece>& pieces) {
    const SDL_Rect whole{0, 0, 640, 480};
    for (size_t i = 0; i < pieces.size(); ++i) {
        EXPECT_TRUE(inside(whole, pieces[i].r)) << screen << ": " << pieces[i].name << " at " << pieces[i].r.x << ","
                                                << pieces[i].r.y << " " << pieces[i].r.w << "x" << pieces[i].r.h;
        for (size_t j = i + 1; j < pieces.size(); ++j)
            EXPECT_FALSE(SDL_HasIntersection(&pieces[i].r, &pieces[j].r))
                << screen << ": " << pieces[i].name << " under " << pieces[j].name;
    }
}

TEST_F(KitScreens, SetupPagesAndMapListKeepTheirPiecesOnScreenAndApart) {
    const IcnFrames icons = icn("NEWGAME.ICN"), tents = icn("TENT.ICN"), scroll = icn("SCROLL.ICN");
    ASSERT_GE(icons.headers.size(), 29u);
    auto f = [&](int i) { return size(icons, i); };
    const SDL_Point panel = bmp("NEWGAME.BMP");
    EXPECT_TRUE(inside({0, 0, 640, 480}, {312, 11, panel.x, panel.y})) << "set-up panel";
    EXPECT_TRUE(clear_middle(icons, 25)) << "the difficulty highlight hides its icon";

    const StandardLayout s = StandardLayout::from_sizes(panel, f(1), f(7), f(11), f(18), f(23), f(27));
    std::vector<Piece> page = {{"difficulty title", {312, 29, s.pw, kLarge}},
                               {"opponents title", {312, s.w1.y + 77, s.pw, kLarge}},
                               {"colour title", {334, s.R + 31, s.half, kLarge}},
                               {"king title", {334 + s.half, s.R + 31, s.half, kLarge}},
                               {"colour gem", {s.gem_x, s.gem_y, s.w11.x, s.w11.y}},
                               {"king icon", {s.koth_x, s.koth_y, s.w27.x, s.w27.y}},
                               {"faction box", {s.fac_x, s.fac_y, 24, 22}},
                               {"faction label", {s.fac_x - 6, s.fac_y + 22, 36, kSmall}},
                               {"scenario title", {312, s.SL, s.pw, kLarge}},
                               {"scenario box", {336, s.SL + 16, s.w18.x, s.w18.y}},
                               {"arrow", {336 + s.w18.x, s.SL + 16, f(19).x, f(19).y}},
                               {"rating", {312, s.SL + 16 + s.w18.y + 12, s.pw, kLarge}},
                               {"OK", s.ok_rect()},
                               {"Cancel", s.cancel_rect()}};
    for (int i = 0; i < 4; ++i) {
        page.push_back({"difficulty " + std::to_string(i), {s.diff_x[i], 49, s.w1.x, s.w1.y}});
        page.push_back({"difficulty label " + std::to_string(i), {s.diff_x[i], s.w1.y + 56, s.w1.x, kSmall}});
    }
    for (int j = 0; j < 3; ++j) {
        page.push_back({"opponent " + std::to_string(j), {s.opp_x[j], s.opp_y, s.w7.x, s.w7.y}});
        page.push_back({"opponent label " + std::to_string(j), {s.opp_x[j], s.opp_y + s.w7.y + 3, s.w7.x, kSmall}});
    }
    expect_laid_out("set-up page", page);
    for (int i = 8; i < 12; ++i) {
        const SDL_Point t = size(tents, i);
        EXPECT_TRUE(t.x <= 24 && t.y <= 22) << "faction emblem " << i << " is " << t.x << "x" << t.y;
    }

    const HotseatLayout h =
        HotseatLayout::from_sizes(panel, f(1), f(7), f(26), f(11), f(18), f(19), f(23), f(27));
    std::vector<Piece> hot = {{"opponents title", {312, h.w1.y + 77, h.pw, kLarge}},
                              {"colour title", {334, h.R + 31, h.half, kLarge}},
                              {"colour gem", {h.gem_x, h.gem_y, h.w11.x, h.w11.y}},
                              {"king icon", {h.koth_x, h.koth_y, h.w27.x, h.w27.y}},
                              {"scenario title", {312, h.SL, h.pw, kLarge}},
                              {"scenario box", {336, h.SL + 16, h.w18.x, h.w18.y}},
                              {"arrow", {336 + h.w18.x, h.SL + 16, h.w19.x, h.w19.y}},
                              {"rating", {312, h.SL + 16 + h.w18.y + 12, h.pw, kLarge}},
                              {"OK", {336, h.button_y, h.w23.x, h.w23.y}},
                              {"Cancel", {h.pw + 288 - h.w23.x, h.button_y, h.w23.x, h.w23.y}}};
    for (int j = 0; j < 3; ++j) {
        hot.push_back({"slot " + std::to_string(j), {h.slot_x[j], h.slot_y, h.cw, h.rh}});
        hot.push_back({"slot labels " + std::to_string(j), {h.slot_x[j], h.slot_y + h.rh + 3, h.cw, 16 + kSmall}});
    }
    expect_laid_out("hot-seat page", hot);

    // Every kit scenario's name shows whole in the scenario box in the large font, the one written in
    // the DOS code page too.
    test::TempDir dir("kit_screens");
    ASSERT_TRUE(kit::write_kit_maps(dir.dir()));
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    ASSERT_NE(font, nullptr) << TTF_GetError();
    const std::vector<MapFileInfo> maps = discover_maps(dir.dir());
    for (int i = 0; i < (int)maps.size(); ++i)
        EXPECT_EQ(fitted_map_label(font, maps, i, s.scen_w - 6), localized_map_name(maps[i].stem, maps[i].name));
    TTF_CloseFont(font);
    TTF_Quit();

    // The map list: its panel and details panel, list box, scroll track, buttons and texts.
    const SDL_Point req = bmp("REQUEST.BMP"), extra = bmp("REQEXTRA.BMP"), button = f(23);
    const int W = req.x, H = req.y;
    EXPECT_TRUE(inside({0, 0, 640, 480}, {312, 0, W, H})) << "list panel";
    EXPECT_TRUE(inside({0, 0, 640, 480}, {312, H - 12, extra.x, extra.y})) << "details panel";
    const std::vector<Piece> list = {
        {"title", {312, 18, W, kLarge}},
        {"list", {366, 44, W - 110, 194}},
        {"scroll track", {W + 275, 54, size(scroll, 4).x, 162 + size(scroll, 4).y}},
        {"chosen name", {354, 256, 160, kLarge}},
        {"OK", {348, H - 27 - button.y, button.x, button.y}},
        {"Cancel", {W + 276 - button.x, H - 27 - button.y, button.x, button.y}},
        {"size", {362, H + 22, 120, kLarge}},
        {"difficulty", {497, H + 22, 120, kLarge}},
        {"three lines of description", {342, H + 53, extra.x - 32, 3 * (kLarge + 3)}}};
    expect_laid_out("map list", list);
    EXPECT_LE(H + 53 + 3 * (kLarge + 3), H - 12 + extra.y) << "the description leaves its panel";
}

TEST_F(KitScreens, TownScreenWellAndControlPanelArtFitsTheirPlaces) {
    // Town picture: each building's frame 0 lies in the town picture above the lower panel and its
    // animation pieces lie on it (their headers hold screen positions).
    const SDL_Rect town{0, 0, 640, 248};
    std::vector<std::string> sets = {"THIEVESG.ICN", "TAVERN.ICN", "WELL.ICN", "DOCK.ICN", "PLNS_E0.ICN"};
    for (const char* stem : {"FARM", "PLNS", "FRST", "MTN"}) {
        for (int d = 0; d < 6; ++d) sets.push_back(std::string(stem) + "_D" + std::to_string(d) + ".ICN");
        sets.push_back(std::string(stem) + "TENT.ICN");
        sets.push_back(std::string(stem) + "CAST.ICN");
    }
    for (const std::string& name : sets) {
        const IcnFrames set = icn(name);
        ASSERT_GE(set.headers.size(), 2u) << name << " does not animate";
        const SpriteHeader& h0 = set.headers[0];
        const SDL_Rect base{h0.x, h0.y, h0.width, h0.height};
        EXPECT_TRUE(inside(town, base)) << name << " leaves the town picture";
        for (size_t k = 1; k < set.headers.size(); ++k) {
            const SpriteHeader& hk = set.headers[k];
            EXPECT_TRUE(inside(base, {hk.x, hk.y, hk.width, hk.height})) << name << " frame " << k << " is off its building";
        }
    }
    // The tavern's figure walks inside the window's box (its offsets count from 14 pixels left of it).
    const IcnFrames tavern = icn("TAVWIN.ICN");
    ASSERT_GE(tavern.headers.size(), 9u);
    for (size_t k = 1; k < 9; ++k) {
        const SpriteHeader& hk = tavern.headers[k];
        EXPECT_TRUE(inside({237, 130, 165, 100}, {223 + hk.x, 130 + hk.y, hk.width, hk.height})) << "tavern frame " << k;
    }
    for (int f = 0; f < 4; ++f) {
        const IcnFrames dwelling = icn(std::string(f == 0 ? "FARM" : f == 1 ? "PLNS" : f == 2 ? "FRST" : "MTN") + "_D0.ICN");
        EXPECT_EQ(dwelling.headers[0].x, DWELLING_X[(size_t)f][0]);
        EXPECT_EQ(dwelling.headers[0].y, DWELLING_Y[(size_t)f][0]);
    }

    // Army rows: the lower panel, slot backdrops, the no-hero box and a selection mark that leaves the
    // stack under it visible.
    const IcnFrames strip = icn("STRIP.ICN");
    ASSERT_GE(strip.headers.size(), 9u);
    EXPECT_EQ(size(strip, 0).x, 640);
    EXPECT_EQ(size(strip, 0).y, 212);
    for (int i = 1; i <= 7; ++i) EXPECT_TRUE(size(strip, i).x == 82 && size(strip, i).y == 93) << "strip frame " << i;
    EXPECT_TRUE(clear_middle(strip, 1)) << "the selected-slot mark hides the stack";
    const IcnFrames wind = icn("TOWNWIND.ICN");
    ASSERT_GE(wind.headers.size(), 22u);
    EXPECT_TRUE(clear_middle(wind, 18)) << "the portrait border hides the portrait";

    // The well: three rows of plate and four text lines per column, above its status bar and exit.
    const SDL_Point plate = size(wind, 2);
    EXPECT_LE(plate.x, 110);
    std::vector<Piece> well = {{"status bar", {6, 241, 538, 19}}, {"exit", {554, 237, 80, 25}}};
    for (int y : {2, 81, 160}) {
        const std::string row = " of row " + std::to_string(y);
        well.push_back({"plate" + row, {206 + (110 - plate.x) / 2, y, plate.x, plate.y}});
        for (int line : {1, 16, 31, 46})
            well.push_back({"line " + std::to_string(line) + row, {206, y + plate.y + line, 110, 14}});
    }
    expect_laid_out("well", well);

    // The control panel draws every one of its 27 frames on its 322 x 459 panel.
    EXPECT_GE(icn("CPANEL.ICN").headers.size(), 27u);
    const SDL_Point cpanel = bmp("CPANEL.BMP");
    EXPECT_TRUE(cpanel.x == 322 && cpanel.y == 459) << cpanel.x << "x" << cpanel.y;
}

TEST_F(KitScreens, CreatureAndBattleResultPanelArtFitTheirPanels) {
    // Both screens stretch frame 0 over the panel and the buttons over their boxes, and draw the count
    // plate in its own size in the picture half, the count centred 142 wide 10 pixels below its top.
    const IcnFrames set = icn("VIEWARMY.ICN");
    ASSERT_GE(set.headers.size(), 6u);
    EXPECT_TRUE(size(set, 0).x == 402 && size(set, 0).y == 229);
    for (int i = 2; i <= 5; ++i) EXPECT_TRUE(size(set, i).x == 72 && size(set, i).y == 27) << "button frame " << i;
    const SDL_Point plate = size(set, 1);
    for (int top : {115, 125}) {
        const SDL_Rect plate_at{119 + (201 - 116) / 2, top + 229 - 53, plate.x, plate.y};
        EXPECT_TRUE(inside({119, top, 201, 229}, plate_at)) << "the plate leaves the picture half";
        EXPECT_TRUE(inside(plate_at, {plate_at.x, top + 229 - 43, 142, kLarge})) << "the count leaves its plate";
    }
    expect_laid_out("army view", {{"plate", {119 + (201 - 116) / 2, 354 - 53, plate.x, plate.y}},
                                  {"dismiss", {331, 307, 72, 27}},
                                  {"exit", {413, 307, 72, 27}}});

    // The battle result: the panel in its stretched size; the retreat strip and its walker, placed as the
    // result places them, stay in the strip's window and above the first line of text at y 179.
    const SDL_Point panel = bmp("WINLOSE.BMP"), strip = bmp("LOSECMBT.BMP");
    EXPECT_TRUE(panel.x == 320 && panel.y == 458) << panel.x << "x" << panel.y;
    const SDL_Rect above_text{kResultStripClip.x, kResultStripClip.y, kResultStripClip.w, 179 - kResultStripClip.y};
    EXPECT_TRUE(inside(above_text, {208, 39, kResultStripClip.w, std::min(strip.y, 176)})) << "strip " << strip.y << " high";
    const IcnFrames walk = icn("LOSEWALK.ICN");
    ASSERT_GE(walk.headers.size(), 1u);
    for (const SpriteHeader& h : walk.headers)
        EXPECT_TRUE(inside(above_text, {(274 - h.width) / 2 + 158 + h.x, (176 - h.height) / 2 + 67 + h.y, h.width, h.height}))
            << "a walker frame leaves the strip";
}

}  // namespace
}  // namespace vorn1
