#include "datakit/kit_screen_art.h"

#include <algorithm>
#include <array>
#include <map>
#include <string>
#include <utility>

#include "datakit/kit_adventure.h"
#include "datakit/kit_formats.h"
#include "town/castle_screen.h"

namespace vorn1::kit {

namespace {

// The bottom of the town picture: the lower panel covers the rest of the background.
constexpr int kTownPictureBottom = 248;

// A filled piece with an outline and its name and frame in small letters at its top left.
IndexGrid plate(int w, int h, const std::string& name, int frame) {
    const uint8_t fill = set_colour(name), ink = contrast_colour(fill);
    IndexGrid g(std::max(1, w), std::max(1, h), fill);
    for (int x = 0; x < g.width; ++x) g.at(x, 0) = g.at(x, g.height - 1) = ink;
    for (int y = 0; y < g.height; ++y) g.at(0, y) = g.at(g.width - 1, y) = ink;
    draw_small_text(g, 2, 2, frame < 0 ? name : name + " " + std::to_string(frame), ink);
    return g;
}

// An outline `thick` pixels wide around a clear middle (selection marks, portrait borders).
IndexGrid ring(int w, int h, int thick, uint8_t colour) {
    IndexGrid g(w, h, colour);
    g.mask.assign(g.index.size(), kOpaque);
    for (int y = thick; y < h - thick; ++y)
        for (int x = thick; x < w - thick; ++x) g.set_kind(x, y, kTransparent);
    return g;
}

// Small letters at twice their size (the headings a panel carries in its art).
void draw_heading(IndexGrid& g, int x, int y, const std::string& text, uint8_t colour) {
    const uint8_t bg = colour == 1 ? 2 : 1;
    IndexGrid small(static_cast<int>(text.size()) * 4, 6, bg);
    draw_small_text(small, 0, 0, text, colour);
    for (int yy = 0; yy < small.height * 2; ++yy)
        for (int xx = 0; xx < small.width * 2; ++xx)
            if (small.at(xx / 2, yy / 2) == colour && x + xx < g.width && y + yy < g.height) g.at(x + xx, y + yy) = colour;
}

IcnFrame frame_at(IndexGrid g, int x, int y) {
    IcnFrame f;
    f.x = static_cast<int16_t>(x);
    f.y = static_cast<int16_t>(y);
    f.pixels = std::move(g);
    return f;
}

// One frame per size, each a plate of the set, at offset 0.
Bytes sized_set(const std::string& stem, const std::vector<std::array<int, 2>>& sizes) {
    std::vector<IcnFrame> frames;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        frames.push_back(frame_at(plate(sizes[i][0], sizes[i][1], stem, static_cast<int>(i)), 0, 0));
    return write_icn(frames);
}

// A building of the town picture: frame 0 at its place on the screen, then `count - 1` small
// animation pieces that walk along its top edge, each header holding its screen position.
Bytes town_building(const std::string& stem, int x, int y, int w, int h, int count) {
    w = std::min(w, 640 - x);
    h = std::min(h, kTownPictureBottom - y);
    std::vector<IcnFrame> frames{frame_at(plate(w, h, stem, -1), x, y)};
    const int piece_w = 16, piece_h = 12, travel = std::max(0, w - piece_w - 8);
    for (int k = 1; k < count; ++k) {
        IndexGrid g = plate(piece_w, piece_h, "", -1);
        const uint8_t ink = contrast_colour(set_colour(stem));
        std::fill(g.index.begin(), g.index.end(), ink);
        draw_small_text(g, 2, 3, std::to_string(k), set_colour(stem));
        frames.push_back(frame_at(std::move(g), x + 4 + travel * (k - 1) / std::max(1, count - 2), y + 4));
    }
    return write_icn(frames);
}

void add_town_pictures(std::map<std::string, Bytes>& art) {
    static const char* const kStems[4] = {"FARM", "PLNS", "FRST", "MTN"};
    static const int kCastleAt[4][2] = {{171, 0}, {220, 0}, {268, 1}, {172, 0}};
    for (int f = 0; f < 4; ++f) {
        const std::string stem = kStems[f];
        for (int d = 0; d < 6; ++d) {
            const std::string name = stem + "_D" + std::to_string(d);
            art[name + ".ICN"] = town_building(name, DWELLING_X[f][d], DWELLING_Y[f][d], 88, 60, 6);
        }
        art[stem + "TENT.ICN"] = town_building(stem + "TENT", TENT_X[f], TENT_Y[f], TENT_W[f], TENT_H[f], 6);
        art[stem + "CAST.ICN"] = town_building(stem + "CAST", kCastleAt[f][0], kCastleAt[f][1], CAST_W[f], CAST_H[f], 6);
    }
    art["THIEVESG.ICN"] = town_building("THIEVESG", 132, 81, 60, 48, 8);
    art["TAVERN.ICN"] = town_building("TAVERN", 204, 74, 64, 50, 8);
    art["WELL.ICN"] = town_building("WELL", 174, 200, 50, 48, 8);
    art["DOCK.ICN"] = town_building("DOCK", 0, 165, 120, 83, 8);
    art["PLNS_E0.ICN"] = town_building("PLNS_E0", 232, 204, 100, 40, 8);
    // The tavern's window: a base picture stretched into its 165 x 100 box, then a figure that walks
    // across it (its headers are offsets from 14 pixels left of the box).
    std::vector<IcnFrame> tavern{frame_at(plate(165, 100, "TAVWIN", 0), 0, 0)};
    for (int k = 1; k <= 8; ++k) {
        IndexGrid g(18, 28, contrast_colour(set_colour("TAVWIN")));
        draw_small_text(g, 2, 2, std::to_string(k), set_colour("TAVWIN"));
        tavern.push_back(frame_at(std::move(g), 14 + 8 + 16 * (k - 1), 40));
    }
    art["TAVWIN.ICN"] = write_icn(tavern);
    // The mage guild's pieces are drawn stretched into fixed records: each frame in its record's size.
    std::vector<IcnFrame> guild(8);
    for (const MageGuildRecord& rec : MAGE_GLD_DATA)
        guild[static_cast<std::size_t>(rec.frame)] = frame_at(plate(rec.w, rec.h, "MAGEGLD", rec.frame), rec.x, rec.y);
    art["MAGEGLD.ICN"] = write_icn(guild);
}

// The creature panel of the battle and the town: a dark panel the statistics are written on (stretched
// to 402 x 229), the plate the count is centred on (142 wide, the count 10 pixels below its top), then
// Dismiss and Exit up and pressed, in the 72 x 27 the screens stretch them to.
Bytes army_view_set() {
    auto boxed = [](int w, int h, uint8_t r, uint8_t g, uint8_t b) {
        IndexGrid box(w, h, nearest_index(standard_palette(), r, g, b));
        const uint8_t ink = contrast_colour(box.at(0, 0));
        for (int x = 0; x < w; ++x) box.at(x, 0) = box.at(x, h - 1) = ink;
        for (int y = 0; y < h; ++y) box.at(0, y) = box.at(w - 1, y) = ink;
        return box;
    };
    IndexGrid panel = boxed(402, 229, 36, 32, 60);
    draw_small_text(panel, 4, 221, "VIEWARMY", contrast_colour(panel.at(1, 1)));
    // The count is written over the plate: no label there.
    std::vector<IcnFrame> frames{frame_at(std::move(panel), 0, 0), frame_at(boxed(142, 38, 72, 60, 40), 0, 0)};
    for (const char* word : {"DISMISS", "EXIT"}) {
        for (int pressed : {0, 1}) {
            IndexGrid button = pressed ? boxed(72, 27, 40, 40, 72) : boxed(72, 27, 80, 80, 136);
            const int w = static_cast<int>(std::string(word).size()) * 8;
            draw_heading(button, (72 - w) / 2 + pressed, 8 + pressed, word, contrast_colour(button.at(1, 1)));
            frames.push_back(frame_at(std::move(button), 0, 0));
        }
    }
    return write_icn(frames);
}

// The battle's hero dialog: a dark background stretched to 250 x 202 (the name in its top corner,
// above the title), four stat panels stretched to 111 x 105 that the six stat lines fill from top to
// bottom (plain, the panel's number in its bottom corner), two unused pieces, then the four buttons
// up and pressed in their 43 x 48.
Bytes battle_hero_dialog_set() {
    const Palette pal = standard_palette();
    auto boxed = [](int w, int h, uint8_t fill) {
        IndexGrid box(w, h, fill);
        const uint8_t ink = contrast_colour(fill);
        for (int x = 0; x < w; ++x) box.at(x, 0) = box.at(x, h - 1) = ink;
        for (int y = 0; y < h; ++y) box.at(0, y) = box.at(w - 1, y) = ink;
        return box;
    };
    IndexGrid back = boxed(250, 202, nearest_index(pal, 40, 28, 64));
    draw_small_text(back, 3, 3, "VIEWGEN", contrast_colour(back.at(1, 1)));
    std::vector<IcnFrame> frames{frame_at(std::move(back), 0, 0)};
    const std::array<std::array<uint8_t, 3>, 4> tints{{{24, 36, 72}, {64, 24, 24}, {24, 56, 32}, {56, 40, 16}}};
    for (int i = 1; i <= 4; ++i) {
        const auto& t = tints[(size_t)i - 1];
        IndexGrid panel = boxed(111, 105, nearest_index(pal, t[0], t[1], t[2]));
        draw_small_text(panel, 104, 97, std::to_string(i), contrast_colour(panel.at(1, 1)));
        frames.push_back(frame_at(std::move(panel), 0, 0));
    }
    for (int i = 5; i <= 6; ++i) frames.push_back(frame_at(plate(60, 40, "VIEWGEN", i), 0, 0));
    for (const char* word : {"SPL", "RUN", "SUR", "EXIT"}) {
        for (int pressed : {0, 1}) {
            IndexGrid button = boxed(43, 48, pressed ? nearest_index(pal, 40, 40, 72) : nearest_index(pal, 80, 80, 136));
            const int w = static_cast<int>(std::string(word).size()) * 8;
            draw_heading(button, (43 - w) / 2 + pressed, 18 + pressed, word, contrast_colour(button.at(1, 1)));
            frames.push_back(frame_at(std::move(button), 0, 0));
        }
    }
    for (int i = 15; i < 20; ++i) frames.push_back(frame_at(plate(60, 40, "VIEWGEN", i), 0, 0));
    return write_icn(frames);
}

// Artifact pictures by id, 32 x 32: the meeting window sets them in 32 x 32 cells 35 pixels apart,
// right under its army counts, and the hero screen centres them in its 64 x 64 cells.
Bytes artifact_set() {
    std::vector<IcnFrame> frames;
    for (int id = 0; id < 38; ++id) {
        const std::string number = std::to_string(id);
        IndexGrid g = plate(32, 32, "ART", -1);
        const uint8_t ink = contrast_colour(g.at(1, 1));
        draw_heading(g, 3, 14, number, ink);
        frames.push_back(frame_at(std::move(g), 0, 0));
    }
    return write_icn(frames);
}

void add_army_and_window_pictures(std::map<std::string, Bytes>& art) {
    // Lower panel, the selected-slot mark (clear inside, so the stack stays visible), slot backdrops
    // and the box shown without a visiting hero.
    std::vector<IcnFrame> strip{frame_at(plate(640, 212, "STRIP", 0), 0, 0),
                                frame_at(ring(82, 93, 3, nearest_index(standard_palette(), 255, 230, 0)), 0, 0)};
    for (int i = 2; i <= 7; ++i) strip.push_back(frame_at(plate(82, 93, "STRIP", i), 0, 0));
    strip.push_back(frame_at(plate(101, 93, "STRIP", 8), 0, 0));
    art["STRIP.ICN"] = write_icn(strip);

    // The shared window pieces: guild slots, the well's title plate, the cost panel, count box, arrows,
    // MAX, build markers, the portrait border (clear inside) and the recruit buttons.
    std::vector<std::array<int, 2>> sizes = {{140, 77}, {140, 77}, {110, 16}, {132, 68}, {68, 19}, {26, 14},
                                             {26, 14},  {26, 14},  {26, 14},  {60, 25},  {60, 25}, {28, 28},
                                             {28, 28},  {28, 28},  {40, 40},  {40, 40},  {40, 40}, {40, 40},
                                             {111, 105}, {40, 40}, {111, 24}, {111, 24}};
    std::vector<IcnFrame> wind;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        wind.push_back(frame_at(plate(sizes[i][0], sizes[i][1], "TOWNWIND", static_cast<int>(i)), 0, 0));
    wind[18] = frame_at(ring(111, 105, 5, set_colour("TOWNWIND")), 0, 0);
    // The well's title plate and the count box carry the program's text: plain.
    for (int i : {2, 4}) wind[(size_t)i] = frame_at(IndexGrid(sizes[(size_t)i][0], sizes[(size_t)i][1], set_colour("TOWNWIND")), 0, 0);
    art["TOWNWIND.ICN"] = write_icn(wind);

    // Building pictures of the build screen and the well, after the plain name plate they stand on.
    std::vector<IcnFrame> buildings{frame_at(IndexGrid(137, 13, set_colour("PLATE")), 0, 0)};
    for (int i = 1; i < 34; ++i) buildings.push_back(frame_at(plate(137, 61, "BUILDING", i), 0, 0));
    art["BUILDING.ICN"] = write_icn(buildings);
    // The status strip under the sub-screens' texts is plain; the dialog buttons keep their labels.
    std::vector<IcnFrame> system{frame_at(IndexGrid(269, 19, set_colour("SYSTEM")), 0, 0)};
    for (int i = 1; i < 13; ++i) system.push_back(frame_at(labelled_picture(66, 25, "SYSTEM", i), 0, 0));
    art["SYSTEM.ICN"] = write_icn(system);

    // The hero screen: skill pictures with their name below the skill's title, the plain panel behind
    // morale, luck and experience, exit and dismiss bars, the experience picture and the small morale and
    // luck pictures.
    std::vector<IcnFrame> hero;
    for (int i = 0; i < 24; ++i) {
        IndexGrid g = plate(40, 40, "HEROSCRN", i);
        if (i <= 4 && i != 3) {
            g = IndexGrid(82, 93, set_colour("HEROSCRN"));
            draw_small_text(g, 2, 22, "HEROSCRN " + std::to_string(i), contrast_colour(set_colour("HEROSCRN")));
        } else if (i == 3) {
            g = IndexGrid(82, 93, set_colour("HSPANEL"));
        } else if (i >= 6 && i <= 9) {
            g = plate(28, 121, std::to_string(i), -1);
        } else if (i == 10) {
            g = plate(40, 26, "EXP", -1);
        } else if (i >= 11 && i <= 17 && i != 15) {
            g = plate(22, 20, std::to_string(i), -1);
        }
        hero.push_back(frame_at(std::move(g), 0, 0));
    }
    art["HEROSCRN.ICN"] = write_icn(hero);

    // The spellbook: a page (its left copy mirrored; the name at the outer bottom corner, clear of the
    // spells), the two page corners and the three bookmarks.
    IndexGrid page(163, 192, set_colour("BOOK"));
    for (int x = 0; x < 163; ++x) page.at(x, 0) = page.at(x, 191) = contrast_colour(set_colour("BOOK"));
    draw_small_text(page, 163 - 20, 184, "BOOK", contrast_colour(set_colour("BOOK")));
    std::vector<IcnFrame> book{frame_at(std::move(page), 0, 0)};
    const int marks[5][2] = {{24, 28}, {24, 28}, {31, 61}, {28, 58}, {30, 63}};
    for (int i = 0; i < 5; ++i) book.push_back(frame_at(plate(marks[i][0], marks[i][1], std::to_string(i + 1), -1), 0, 0));
    art["BOOK.ICN"] = write_icn(book);

    art["VIEWARMY.ICN"] = army_view_set();
    art["VIEWGEN.ICN"] = battle_hero_dialog_set();
    art["ARTIFACT.ICN"] = artifact_set();
    art["LEGEND.ICN"] = sized_set("LEGEND", {{80, 25}, {80, 25}});
    // Drawn twice side by side, the left copy mirrored: the name sits at the right end.
    IndexGrid bar(320, 20, set_colour("BIGBAR"));
    for (int x = 0; x < 320; ++x) bar.at(x, 0) = bar.at(x, 19) = contrast_colour(set_colour("BIGBAR"));
    draw_small_text(bar, 288, 8, "BIGBAR", contrast_colour(set_colour("BIGBAR")));
    art["BIGBAR.ICN"] = write_icn({frame_at(std::move(bar), 0, 0)});
}

// The battle result: the panel in the size it is stretched to, the retreat strip and its walker inside
// the strip's window above the first line of text (y 179), the walker centred there by its offsets.
void add_battle_result_pictures(std::map<std::string, Bytes>& art) {
    art["WINLOSE.BMP"] = panel_bmp("WINLOSE", 320, 458);
    art["LOSECMBT.BMP"] = panel_bmp("LOSECMBT", 320, 136);
    std::vector<IcnFrame> walk;
    for (int i = 0; i < 8; ++i) walk.push_back(frame_at(plate(64, 64, "WALK", i), 24, -48));
    art["LOSEWALK.ICN"] = write_icn(walk);
}

void add_front_end_pictures(std::map<std::string, Bytes>& art) {
    // Set-up pages and the map list: icons, gems, the wide scenario box, arrows, buttons, the
    // highlight (clear inside) and the King of the Hill toggle.
    std::vector<std::array<int, 2>> sizes(29, {40, 40});
    for (int i = 1; i <= 4; ++i) sizes[i] = {62, 56};
    for (int i = 5; i <= 9; ++i) sizes[i] = {62, 56};
    for (int i = 10; i <= 17; ++i) sizes[i] = {44, 32};
    sizes[18] = {250, 20};
    sizes[19] = sizes[20] = {24, 20};
    for (int i = 21; i <= 24; ++i) sizes[i] = {90, 28};
    sizes[25] = {66, 60};
    sizes[26] = {62, 56};
    sizes[27] = sizes[28] = {44, 32};
    std::vector<IcnFrame> icons;
    for (std::size_t i = 0; i < sizes.size(); ++i)
        icons.push_back(frame_at(plate(sizes[i][0], sizes[i][1], "NEWGAME", static_cast<int>(i)), 0, 0));
    icons[25] = frame_at(ring(66, 60, 2, set_colour("HIGHLITE")), 0, 0);
    // The scenario name is written over the box: no label there.
    icons[18] = frame_at(IndexGrid(250, 20, set_colour("SCENBOX")), 0, 0);
    art["NEWGAME.ICN"] = write_icn(icons);

    // Hero figures and banners of the battle's tents, then the small class emblems that the set-up
    // page also shows in its faction box.
    std::vector<IcnFrame> tent;
    for (int i = 0; i < 8; ++i) tent.push_back(frame_at(labelled_picture(76, 100, "TENT", i), 0, 0));
    for (int i = 8; i < 12; ++i) tent.push_back(frame_at(plate(22, 20, std::to_string(i), -1), 0, 0));
    art["TENT.ICN"] = write_icn(tent);

    // Campaign pages: OK and restart buttons, then the scenario pictures, which the page writes its
    // title and story over: an outline with its number in a corner.
    std::vector<IcnFrame> campaign;
    for (int i = 0; i < 4; ++i) campaign.push_back(frame_at(plate(i < 2 ? 99 : 160, 28, "CAMPAIGN", i), 0, 0));
    for (int i = 4; i < 14; ++i) {
        IndexGrid g = ring(128, 72, 2, set_colour("CAMPAIGN"));
        draw_small_text(g, 118 - 4 * (i > 9), 64, std::to_string(i), set_colour("CAMPAIGN"));
        campaign.push_back(frame_at(std::move(g), 0, 0));
    }
    art["CAMPAIGN.ICN"] = write_icn(campaign);
    // The story is written in light grey on this panel: a dark one.
    IndexGrid back(442, 303, nearest_index(standard_palette(), 40, 28, 64));
    for (int x = 0; x < 442; ++x) back.at(x, 0) = back.at(x, 302) = contrast_colour(back.at(1, 1));
    draw_small_text(back, 4, 295, "CAMPBACK", contrast_colour(back.at(1, 1)));
    art["CAMPBACK.BMP"] = write_bmp(back);

    // The control panel: four large buttons, close, fifteen option icons, scenario information.
    std::vector<std::array<int, 2>> panel(27, {65, 65});
    for (int i = 0; i <= 7; ++i) panel[i] = {96, 56};
    panel[8] = panel[9] = panel[25] = panel[26] = {96, 27};
    art["CPANEL.ICN"] = sized_set("CPANEL", panel);

    // The map list's panel with its list box and scroll track, and the details panel below it.
    const int W = 320, H = 336;
    IndexGrid request = plate(W, H, "REQUEST", -1);
    const uint8_t well = nearest_index(standard_palette(), 24, 24, 48);
    for (int y = 44; y < 238; ++y)
        for (int x = 54; x <= W - 57; ++x) request.at(x, y) = well;
    for (int y = 54; y < 236; ++y)
        for (int x = W - 37; x < W - 17; ++x) request.at(x, y) = well;
    art["REQUEST.BMP"] = write_bmp(request);
    art["REQEXTRA.BMP"] = panel_bmp("REQEXTRA", W, 150);
    for (const char* n : {"NEWGAME", "CPANEL"}) art[std::string(n) + ".BMP"] = panel_bmp(n, 322, 459);
    // The scenario information panel carries the headings the screen writes its values beside.
    IndexGrid info = plate(322, 459, "SCENINFO", -1);
    const uint8_t heading = contrast_colour(set_colour("SCENINFO"));
    const std::pair<int, const char*> headings[] = {{42, "SCENARIO"},  {76, "DIFFICULTY"},       {114, "OPPONENTS"},
                                                    {160, "COLOR"},    {212, "KING OF THE HILL"}, {246, "RATING"}};
    for (const auto& [y, text] : headings) draw_heading(info, 20, y, text, heading);
    art["SCENINFO.BMP"] = write_bmp(info);
    art["REDBACK.BMP"] = panel_bmp("REDBACK", 210, 426);
    // The high-score page's switch and exit bars, standing at its two sides.
    std::vector<IcnFrame> score_bars;
    for (int i = 0; i < 6; ++i) score_bars.push_back(frame_at(plate(28, 134, "HS", i), 0, 0));
    art["HISCORE.ICN"] = write_icn(score_bars);
    art["SWAPWIN.BMP"] = panel_bmp("SWAPWIN", 448, 448);
    art["SWAPBTN.ICN"] = sized_set("SWAPBTN", {{80, 25}, {80, 25}, {80, 25}, {80, 25}});
    for (const char* n : {"RECRUIT", "RECRUIT2"}) art[std::string(n) + ".BMP"] = panel_bmp(n, 320, 240);
}

const std::map<std::string, Bytes>& art_table() {
    static const std::map<std::string, Bytes> table = [] {
        std::map<std::string, Bytes> art;
        add_town_pictures(art);
        add_army_and_window_pictures(art);
        add_battle_result_pictures(art);
        add_front_end_pictures(art);
        return art;
    }();
    return table;
}

}  // namespace

Bytes panel_bmp(const std::string& name, int w, int h) {
    const uint8_t fill = set_colour(name), ink = contrast_colour(fill);
    IndexGrid g(w, h, fill);
    for (int x = 0; x < w; ++x) g.at(x, 0) = g.at(x, h - 1) = ink;
    for (int y = 0; y < h; ++y) g.at(0, y) = g.at(w - 1, y) = ink;
    draw_small_text(g, 4, h - 8, name, ink);
    return write_bmp(g);
}

const Bytes* screen_art_bytes(const std::string& name) {
    const auto it = art_table().find(name);
    return it == art_table().end() ? nullptr : &it->second;
}

}  // namespace vorn1::kit
