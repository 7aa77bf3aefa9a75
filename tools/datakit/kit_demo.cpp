#include "datakit/kit_demo.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "assets/resources.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "datakit/kit_screen_art.h"
#include "datakit/kit_sound.h"

namespace vorn1::kit {

namespace {

constexpr const char* kShooterAtk[] = {"archer", "orc", "troll", "elf", "druid", "centaur"};
constexpr const char* kCreatureStems[28] = {
    "peasant", "archer",  "pikeman", "swrdsman", "cavalry", "paladin", "goblin",  "orc",      "wolf",    "ogre",
    "troll",   "cyclops", "sprite",  "dwarf",    "elf",     "druid",   "unicorn", "phoenix",  "centaur", "gargoyle",
    "griffin", "minotaur", "hydra",  "dragon",   "rogue",   "nomad",   "ghost",   "genie"};
std::string num(const char* fmt, int n) {
    char buf[40];
    std::snprintf(buf, sizeof buf, fmt, n);
    return buf;
}

// Rows without a frame count of their own in the resource table.
std::vector<DemoEntry> build_table() {
    std::vector<DemoEntry> t;
    auto icn = [&](const std::string& n, int frames, int w, int h) { t.push_back({n, DemoKind::Icn, frames, w, h}); };
    auto bmp = [&](const std::string& n, int w, int h) { t.push_back({n, DemoKind::Bmp, 1, w, h}); };
    auto snd = [&](const std::string& n) { t.push_back({n, DemoKind::Pcm82M, 1, 0, 0}); };

    // The asset cache (sizes chosen to look like the real pieces on screen).
    t.push_back({Resources::kPaletteEntry, DemoKind::Palette});
    icn("SYSTEM.ICN", 13, 66, 25);
    icn("BUYBUILD.ICN", 4, 143, 77);  // pieces sized in make_demo_entry
    icn("MONS32.ICN", 28, 32, 32);
    icn("MONSTERS.ICN", 28, 60, 64);
    icn("STRIP.ICN", 9, 82, 93);
    icn("ARTIFACT.ICN", 38, 32, 32);  // drawn in kit_screen_art
    icn("RESOURCE.ICN", 8, 32, 32);
    icn("SPELLS.ICN", 40, 32, 32);
    icn("BOOK.ICN", 6, 150, 180);
    icn("TOWNWIND.ICN", 22, 80, 40);
    icn("LEGEND.ICN", 2, 40, 30);
    icn("RSRC32.ICN", 68, 32, 32);
    icn("FLAG32.ICN", 7, 16, 16);
    icn("BOAT32.ICN", 27, 64, 40);
    icn("OBJ32-07.ICN", 1, 32, 32);
    icn("CAMPAIGN.ICN", 14, 120, 90);
    for (int i = 0; i < 36; ++i) icn(num("PORT%04d.ICN", i), 1, 100, 92);
    for (int i = 0; i < 21; ++i) icn(num("CRST%04d.ICN", i), 1, 50, 50);
    icn("ADVBORD.ICN", 1, 640, 480);
    t.push_back({"GROUND32.TIL", DemoKind::Til, 255, 32, 32});
    icn(CursorManager::kEntry, 10, 24, 24);
    for (int i = 0; i <= 20; ++i) snd(num("LOOP%04d.82M", i));
    snd("BUILDTWN.82M");
    snd("DIGSOUND.82M");

    // Town, hero and exchange screens.
    for (int i = 0; i < 4; ++i) bmp(num("TOWNBKG%d.BMP", i), 640, 256);
    bmp("STONEBAK.BMP", 640, 480);
    bmp("RECRUIT.BMP", 320, 240);
    bmp("RECRUIT2.BMP", 320, 240);
    bmp("HEROSCRN.BMP", 640, 480);
    bmp("SWAPWIN.BMP", 640, 480);
    icn("BIGBAR.ICN", 1, 640, 16);
    icn("BUILDING.ICN", 34, 137, 61);
    for (const char* n : {"PLNS_E0.ICN", "THIEVESG.ICN", "TAVERN.ICN", "WELL.ICN", "MAGEGLD.ICN", "DOCK.ICN", "TAVWIN.ICN"})
        icn(n, 8, 100, 80);
    icn("HEROSCRN.ICN", 24, 60, 40);
    icn("SWAPBTN.ICN", 4, 60, 30);
    for (const char* stem : {"FARM", "PLNS", "FRST", "MTN"}) {
        for (int d = 0; d < 6; ++d) icn(std::string(stem) + num("_D%d.ICN", d), 6, 100, 80);
        icn(std::string(stem) + "TENT.ICN", 6, 100, 80);
        icn(std::string(stem) + "CAST.ICN", 6, 160, 120);
    }

    // Battle.
    t.push_back({"COMBAT.PAL", DemoKind::Palette});
    bmp("SURRENDR.BMP", 320, 200);
    bmp("WINLOSE.BMP", 320, 458);  // drawn in kit_screen_art, as LOSECMBT and LOSEWALK
    bmp("LOSECMBT.BMP", 320, 136);
    icn("TENT.ICN", 12, 76, 100);
    icn("TEXTBAR.ICN", 16, 64, 20);
    icn("CMBTMOUS.ICN", 30, 24, 24);
    icn("OVERVIEW.ICN", 16, 60, 60);
    for (int i = 1; i <= 8; ++i) icn(num("MAGIC%02d.ICN", i), 10, 64, 64);
    for (const char* n : {"MORALEG.ICN", "MORALEB.ICN", "RAINBLUK.ICN", "CLOUDLUK.ICN"}) icn(n, 8, 64, 64);
    icn("WINCMBT.ICN", 9, 100, 80);  // the victory picture, its six steps, Done up and pressed
    icn("LOSECMBT.ICN", 8, 100, 80);
    icn("LOSEWALK.ICN", 8, 64, 64);
    for (int i = 0; i < 4; ++i) icn(num("CASTLE%02d.ICN", i), 20, 80, 80);
    for (int i = 0; i < 4; ++i) icn(num("KEEP%02d.ICN", i), 4, 80, 100);
    icn("CATAPULT.ICN", 16, 80, 60);
    icn("BOULDER.ICN", 4, 16, 16);
    for (const char* n : {"BLUEFIRE.ICN", "CLOUD.ICN", "ELECFIRE.ICN", "ELECTRIC.ICN", "FIREBALL.ICN", "METEOR.ICN",
                          "PHYSICAL.ICN", "REDDEATH.ICN", "REDFIRE.ICN", "STORM.ICN"})
        icn(n, 10, 64, 64);
    icn("VIEWGEN.ICN", 20, 60, 40);  // pieces sized in kit_screen_art
    icn("VIEWARMY.ICN", 6, 402, 229);  // pieces sized in kit_screen_art
    icn("SURRENDR.ICN", 8, 60, 30);
    // A creature of two hexes is drawn across both.
    auto creature_w = [](const std::string& stem) {
        for (int id : {4, 8, 16, 17, 18, 20, 22, 23, 25})
            if (stem == kCreatureStems[id]) return 96;
        return 48;
    };
    for (int id = 0; id < 28; ++id) {
        for (const char* ext : {"STD", "WLK", "WIP"})
            t.push_back({std::string(kCreatureStems[id]) + "." + ext, DemoKind::Creature, 12,
                         creature_w(kCreatureStems[id]), 56});
    }
    for (const char* stem : kShooterAtk) t.push_back({std::string(stem) + ".ATK", DemoKind::Creature, 14, creature_w(stem), 56});
    for (const char* n : {"gravyard", "frstwgrs", "mtnwgrsf", "frstwdrt", "mtnwdrtf", "snowfrst", "snowmtnf", "swamp",
                          "lava", "desert", "boat"})
        t.push_back({std::string(n) + ".bkg", DemoKind::Bkg, 1, 640, 102});
    for (const char* n : {"grass", "dirt", "snow", "swamp", "lava", "desert", "boat"})
        t.push_back({std::string(n) + ".xtl", DemoKind::Sprite12, 11, 80, 80});
    for (const char* n : {"grass", "dgrass", "snow", "swamp", "lava", "desert", "boat"})
        t.push_back({std::string(n) + ".obj", DemoKind::Sprite12, 3, 60, 70});
    for (int i = 0; i < 28; ++i) {
        snd(num("MOVE%02d.82M", i));
        snd(num("ATKSND%02d.82M", i));
        snd(num("WINCE%02d.82M", i));
    }
    for (int id : {1, 7, 10, 14, 15, 18}) snd(num("SHOOT%02d.82M", id));
    for (int i = 0; i <= 18; ++i) snd(num("SPELL%02d.82M", i));
    for (const char* n : {"GOODMRLE.82M", "BADMRLE.82M", "GOODLUCK.82M", "BADLUCK.82M", "CATSND00.82M", "CATSND02.82M",
                          "RSBRYFZL.82M", "KILLFADE.82M", "PREBATTL.82M", "VELDAR16.82M", "PICKUP01.82M", "VELDAR18.82M"})
        snd(n);
    for (int i : {0, 3, 4, 5, 6, 20, 23, 24, 25, 26}) snd(num("WSND%02d.82M", i));

    // Front end, saves and high scores (VELDAR.BMP is drawn separately).
    for (const char* n : {"CREDITS.BMP", "CONGRATS.BMP", "HISCORE.BMP"}) bmp(n, 640, 480);
    for (const char* n : {"NEWGAME.BMP", "CPANEL.BMP", "SCENINFO.BMP"}) bmp(n, 322, 459);  // side panels
    bmp("CAMPBACK.BMP", 442, 303);
    bmp("REDBACK.BMP", 210, 426);
    bmp("REQUEST.BMP", 320, 400);
    bmp("REQEXTRA.BMP", 320, 120);
    icn("BTNMAIN.ICN", 10, 138, 40);
    icn("BTNNEWGM.ICN", 8, 138, 40);
    icn("BTNCMPGN.ICN", 10, 138, 40);
    icn("BTNMP.ICN", 10, 138, 40);
    icn("BTNHOTST.ICN", 8, 138, 40);
    icn("SCROLL.ICN", 5, 20, 20);
    icn("NEWGAME.ICN", 29, 40, 40);
    icn("CPANEL.ICN", 27, 65, 65);
    icn("SCENINFO.ICN", 4, 60, 30);
    icn("HISCORE.ICN", 6, 60, 30);
    // The adventure screen's own art (kit_adventure draws it; the rows only list it).
    for (const auto& entry : adventure_entry_counts())
        if (std::none_of(t.begin(), t.end(), [&](const DemoEntry& e) { return e.name == entry.first; }))
            icn(entry.first, entry.second, 0, 0);
    return t;
}

IndexGrid with_mask(IndexGrid g) {
    if (g.mask.empty()) g.mask.assign(g.index.size(), kOpaque);
    return g;
}

// The adventure border: an opaque frame around a transparent map view.
Bytes make_border() {
    IndexGrid g = with_mask(labelled_picture(640, 480, "ADVBORD", 0));
    for (int y = 16; y < 464; ++y)
        for (int x = 16; x < 463; ++x) g.set_kind(x, y, kTransparent);
    IcnFrame f;
    f.pixels = g;
    return write_icn({f});
}

// Arrow-shaped cursors in the set colour, numbered.
Bytes make_cursors(const DemoEntry& e) {
    std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
    for (int i = 0; i < e.frames; ++i) {
        IndexGrid g = with_mask(labelled_picture(e.w, e.h, num("%d", i), i));
        for (int y = 0; y < e.h; ++y)
            for (int x = 0; x < e.w; ++x)
                if (x > y || (x > 2 && y > e.h - 6)) g.set_kind(x, y, kTransparent);
        frames[i].pixels = g;
    }
    return write_icn(frames);
}

// Spell effects and hits: a disc that grows frame by frame, centred above the point it is drawn at.
// The Storm set is rain instead: slanted streaks on a clear tile.
Bytes make_spell_effect(const DemoEntry& e, const std::string& stem) {
    std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
    const uint8_t ink = contrast_colour(set_colour(stem));
    for (int i = 0; i < e.frames; ++i) {
        IndexGrid g = with_mask(labelled_picture(e.w, e.h, stem, i));
        const bool rain = stem == "STORM";
        const double r = e.w / 2.0 * (0.35 + 0.65 * (i + 1) / e.frames);
        for (int y = 0; y < e.h; ++y)
            for (int x = 0; x < e.w; ++x) {
                const double d = std::hypot(x - e.w / 2.0, y - e.h / 2.0);
                const bool keep = rain ? (x + 2 * y + 7 * i) % 16 < 2 : d <= r;
                if (!keep) g.set_kind(x, y, kTransparent);
                else if (rain || d > r - 2) g.at(x, y) = ink;
            }
        frames[i].pixels = g;
        if (!rain) frames[i].x = static_cast<int16_t>(-e.w / 2), frames[i].y = static_cast<int16_t>(-e.h);
    }
    return write_icn(frames);
}

bool is_spell_effect(const std::string& name) {
    static const char* const names[] = {"FIREBALL.ICN", "METEOR.ICN", "STORM.ICN", "ELECFIRE.ICN", "REDDEATH.ICN",
                                        "PHYSICAL.ICN", "BLUEFIRE.ICN", "REDFIRE.ICN", "ELECTRIC.ICN", "CLOUD.ICN"};
    return name.rfind("MAGIC0", 0) == 0 || std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// Battlefield sky: horizontal bands, the lower ones in the cycling water colours.
Bytes make_bkg(const DemoEntry& e) {
    IndexGrid g = labelled_picture(e.w, e.h, e.name, 0);
    for (int y = e.h / 2; y < e.h - 1; ++y)
        for (int x = 1; x < e.w - 1; ++x) g.at(x, y) = static_cast<uint8_t>(214 + ((x / 6 + y / 4) % 8));
    Bytes out(6 + g.index.size());
    out[2] = uint8_t(e.w), out[3] = uint8_t(e.w >> 8), out[4] = uint8_t(e.h), out[5] = uint8_t(e.h >> 8);
    std::copy(g.index.begin(), g.index.end(), out.begin() + 6);
    return out;
}

// The simple run-length stream of the battle layout.
Bytes encode_stream12(const IndexGrid& g) {
    Bytes s;
    for (int y = 0; y < g.height; ++y) {
        if (y > 0) s.push_back(0x00);
        int x = 0;
        while (x < g.width) {
            const bool clear = g.kind(x, y) == kTransparent;
            int run = 1;
            while (x + run < g.width && run < 127 && (g.kind(x + run, y) == kTransparent) == clear) ++run;
            if (clear) {
                s.push_back(static_cast<uint8_t>(0x80 + run));
            } else {
                s.push_back(static_cast<uint8_t>(run));
                for (int k = 0; k < run; ++k) s.push_back(g.index[static_cast<std::size_t>(y) * g.width + x + k]);
            }
            x += run;
        }
    }
    s.push_back(0x80);
    return s;
}

}  // namespace

Bytes write_sprite12(const std::vector<IcnFrame>& frames) {
    const std::size_t n = frames.size();
    Bytes out(6 + 12 * n, 0);
    out[0] = static_cast<uint8_t>(n);
    out[1] = static_cast<uint8_t>(n >> 8);
    for (std::size_t i = 0; i < n; ++i) {
        const IcnFrame& f = frames[i];
        const std::size_t offset = out.size() - 6;
        uint8_t* h = out.data() + 6 + 12 * i;
        h[0] = uint8_t(f.x), h[1] = uint8_t(uint16_t(f.x) >> 8);
        h[2] = uint8_t(f.y), h[3] = uint8_t(uint16_t(f.y) >> 8);
        h[4] = uint8_t(f.pixels.width), h[5] = uint8_t(f.pixels.width >> 8);
        h[6] = uint8_t(f.pixels.height), h[7] = uint8_t(f.pixels.height >> 8);
        h[8] = uint8_t(offset), h[9] = uint8_t(offset >> 8), h[10] = uint8_t(offset >> 16);
        h[11] = f.type;
        const Bytes s = encode_stream12(f.pixels);
        out.insert(out.end(), s.begin(), s.end());
    }
    return out;
}

void DemoData::add_entry(const std::string& name, Bytes data) {
    if (has_entry(name)) return;
    archive.push_back({name, std::move(data)});
}

bool DemoData::has_entry(const std::string& name) const {
    const std::string up = upper_ascii(name);
    for (const AggFile& f : archive)
        if (upper_ascii(f.name) == up) return true;
    return false;
}

const std::vector<DemoEntry>& demo_entries() {
    static const std::vector<DemoEntry> table = build_table();
    return table;
}

Palette demo_palette() {
    Palette p = standard_palette();
    // Water and fire in the cycling runs, 6-bit exact and unlike any fixed entry.
    for (int k = 0; k < 8; ++k) p[214 + k] = Color{uint8_t(4 * k), uint8_t(60 + 12 * k), uint8_t(160 + 8 * k)};
    return p;
}

Bytes make_demo_entry(const DemoEntry& e) {
    if (const Bytes* art = adventure_entry_bytes(e.name)) return *art;
    if (const Bytes* art = screen_art_bytes(e.name)) return *art;
    const std::string stem = e.name.substr(0, e.name.find('.'));
    switch (e.kind) {
    case DemoKind::Palette:
        return write_palette(demo_palette());
    case DemoKind::Bmp:
        return labelled_bmp(stem, e.w, e.h);
    case DemoKind::Bkg:
        return make_bkg(e);
    case DemoKind::Pcm82M:
        if (e.name.rfind("LOOP", 0) == 0) return write_ambient_loop(std::stoi(e.name.substr(4, 4)));
        return write_raw_tone(VORN_FMT_82M, 220.0 + 40.0 * (set_colour(e.name) % 16), 120);
    case DemoKind::Til: {
        std::vector<IndexGrid> tiles;
        for (int i = 0; i < e.frames; ++i) tiles.push_back(labelled_picture(e.w, e.h, num("%d", i), i));
        return write_til(e.w, e.h, tiles);
    }
    case DemoKind::Sprite12:
    case DemoKind::Creature: {
        std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
        for (int i = 0; i < e.frames; ++i) {
            frames[i].pixels = labelled_picture(e.w, e.h, stem, i);
            if (e.kind != DemoKind::Creature) continue;
            // Offsets from the hex's foot point, as real art carries them: the feet on the foot line,
            // the body centred on the hex (on the middle of both hexes for a wide creature, whose
            // anchor the battle moves 65 pixels back).
            frames[i].x = static_cast<int16_t>(e.w > 48 ? 26 - e.w / 2 : -e.w / 2);
            frames[i].y = static_cast<int16_t>(-e.h);
        }
        return write_sprite12(frames);
    }
    case DemoKind::Icn:
        break;
    }
    if (e.name == "ADVBORD.ICN") return make_border();
    if (e.name == CursorManager::kEntry) return make_cursors(e);
    if (is_spell_effect(e.name)) return make_spell_effect(e, stem);
    if (e.name == "TOWNWIND.ICN") {
        // Frame 18 frames a hero's portrait (meeting window): open in the middle.
        std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
        for (int i = 0; i < e.frames; ++i) frames[i].pixels = with_mask(labelled_picture(e.w, e.h, stem, i));
        if (e.frames > 18)
            for (int y = 4; y < e.h - 4; ++y)
                for (int x = 4; x < e.w - 4; ++x) frames[18].pixels.set_kind(x, y, kTransparent);
        return write_icn(frames);
    }
    if (e.name == "WINCMBT.ICN" || e.name == "LOSECMBT.ICN") {
        // The result screen's Done button up and pressed: 7 and 8 after a victory, 0 and 1 otherwise.
        const int first = e.name == "WINCMBT.ICN" ? 7 : 0;
        std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
        for (int i = 0; i < e.frames; ++i) {
            const bool done = i == first || i == first + 1;
            frames[i].pixels = labelled_picture(done ? 96 : e.w, done ? 25 : e.h, stem, i);
        }
        return write_icn(frames);
    }
    if (e.name == "TEXTBAR.ICN") {
        // The bar's half, the two buttons up and pressed, and the small plate under a stack's count.
        std::vector<IcnFrame> frames(static_cast<std::size_t>(e.frames));
        for (int i = 0; i < e.frames; ++i) {
            const int w = i == 0 ? 272 : i == 5 ? 20 : 48, h = i == 5 ? 11 : 20;
            frames[i].pixels = labelled_picture(w, h, stem, i);
        }
        // The bar and the count plate carry the battle's texts: plain frames, their labels left off.
        const uint8_t plain = frames[0].pixels.at(1, 1);
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 272; ++x) frames[0].pixels.at(x, y) = plain;
        if (e.frames > 5)
            for (int y = 1; y < 10; ++y)
                for (int x = 1; x < 19; ++x) frames[5].pixels.at(x, y) = plain;
        return write_icn(frames);
    }
    if (e.name == "BUYBUILD.ICN") {
        const int sizes[4][2] = {{143, 77}, {140, 45}, {141, 48}, {250, 30}};
        std::vector<IcnFrame> frames(4);
        // Dialog texts are written over the frame and its left half is drawn mirrored: the name sits
        // at the outer edge of the top piece only.
        for (int i = 0; i < 4; ++i) {
            // Dark, as the dialogs write white and grey on it; edges only where the frame ends, so
            // the middle pieces tile under the dialog's rows.
            const uint8_t fill = nearest_index(standard_palette(), 72, 48, 32), ink = contrast_colour(fill);
            IndexGrid g(sizes[i][0], sizes[i][1], fill);
            for (int x = 0; x < g.width; ++x) {
                if (i == 0 || i == 3) g.at(x, 0) = ink;
                if (i >= 2) g.at(x, g.height - 1) = ink;
            }
            if (i == 0) draw_small_text(g, g.width - 36, 4, stem, ink);
            frames[i].pixels = g;
        }
        return write_icn(frames);
    }
    return labelled_icn(stem, e.frames, e.w, e.h);
}

namespace {

// The title picture: labelled, with a sea of cycling colours in its lower part.
Bytes make_title() {
    IndexGrid g = labelled_picture(640, 480, "VELDAR", 0);
    for (int y = 300; y < 479; ++y)
        for (int x = 1; x < 639; ++x)
            g.at(x, y) = static_cast<uint8_t>(214 + ((x / 10 + y / 6 + static_cast<int>(4 * std::sin(x / 25.0))) & 7));
    return write_bmp(g);
}

void add_demo_map(DemoData& d) { d.add_entry("DEMO.MAP", demo_map_bytes()); }

// Add your area's function here.
const DemoContributor kDemoContributors[] = {
    add_sound_files,
    add_demo_map,
};

}  // namespace

DemoData build_demo_data() {
    DemoData d;
    d.add_entry("VELDAR.BMP", make_title());
    for (const DemoEntry& e : demo_entries()) d.add_entry(e.name, make_demo_entry(e));
    for (DemoContributor c : kDemoContributors) c(d);
    return d;
}

Bytes demo_archive_bytes() {
    DemoData d;
    d.add_entry("VELDAR.BMP", make_title());
    for (const DemoEntry& e : demo_entries()) d.add_entry(e.name, make_demo_entry(e));
    add_demo_map(d);
    return write_agg(d.archive);
}

void write_demo_data(const std::string& out_dir) {
    const DemoData d = build_demo_data();
    write_file(out_dir + "/VELDAR.AGG", write_agg(d.archive));
    for (const auto& [path, bytes] : d.files) write_file(out_dir + "/" + path, bytes);
    if (!write_lang_folder(out_dir)) throw std::runtime_error("cannot write " + out_dir + "/LANG");
    for (const char* dir : {"maps", "ANIM", "SOUND", "LANG"}) std::filesystem::create_directories(out_dir + "/" + dir);
}

void write_screens_seeds(const std::string& out_dir) {
    write_seed(out_dir, "sky", "boat.bkg", make_demo_entry({"boat.bkg", DemoKind::Bkg, 1, 64, 12}));
    write_seed(out_dir, "sky", "short.bkg", Bytes{0, 0, 4, 0, 4, 0, 214, 215});
    write_seed(out_dir, "sky", "zero.bkg", Bytes{0, 0, 0, 0, 9, 0});
    // Small archives: a few cache entries, one of them broken.
    std::vector<AggFile> files = {
        {"QV.PAL", write_palette(demo_palette())},
        {"SYSTEM.ICN", labelled_icn("SYSTEM", 13, 6, 4)},
        {"BUYBUILD.ICN", labelled_icn("BUYBUILD", 4, 5, 3)},
        {"ADVMCO.ICN", labelled_icn("ADVMCO", 3, 4, 4)},
        {"GROUND32.TIL", write_til(4, 4, {labelled_picture(4, 4, "G", 0), labelled_picture(4, 4, "G", 1)})},
        {"PORT0001.ICN", labelled_icn("PORT", 1, 4, 4)},
    };
    write_seed(out_dir, "resources", "small.agg", write_agg(files));
    files[1].data.resize(9);
    files[0].data.resize(700);
    write_seed(out_dir, "resources", "broken.agg", write_agg(files));
}

}  // namespace vorn1::kit
