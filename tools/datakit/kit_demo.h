#pragma once
// The demo data set: a whole data folder (archive, language files, sounds) drawn procedurally.
#include <string>
#include <utility>
#include <vector>

#include "assets/palette.h"
#include "datakit/datakit.h"
#include "datakit/kit_formats.h"

namespace vorn1::kit {

enum class DemoKind {
    Icn,       // sprite set of labelled frames
    Sprite12,  // battle sprite layout (12-byte headers): .xtl, .obj
    Creature,  // a creature set in the battle sprite layout, its frames placed as real art places them
    Bmp,       // labelled picture
    Bkg,       // battlefield sky picture
    Til,       // tile set of labelled tiles
    Palette,   // the demo palette
    Pcm82M,    // short 8-bit mono tone
};

// One archive entry of the demo archive. Frames is the frame (or tile) count.
struct DemoEntry {
    std::string name;
    DemoKind kind;
    int frames = 1;
    int w = 0;
    int h = 0;
};

// What make_demo_data writes: the archive's entries and other files under OUT_DIR.
struct DemoData {
    std::vector<AggFile> archive;
    std::vector<std::pair<std::string, Bytes>> files;  // path relative to OUT_DIR
    // Adds an entry unless one of that name is there (first wins, as in the archive).
    void add_entry(const std::string& name, Bytes data);
    bool has_entry(const std::string& name) const;
};

// Every archive entry the game loads, with frame counts at least those its users index.
// Extend this table (kit_demo.cpp) when a subsystem loads something new.
const std::vector<DemoEntry>& demo_entries();

// The game palette of the demo: the standard palette with distinct water colours in the
// cycling runs so the palette animations show.
Palette demo_palette();

// The bytes of one table row.
Bytes make_demo_entry(const DemoEntry& e);

// Areas that add files of their own (a map, language catalogues) register here.
using DemoContributor = void (*)(DemoData& data);

// The whole data set: the table's entries, the title picture, then every contributor.
DemoData build_demo_data();
// The archive alone, as bytes (tests).
Bytes demo_archive_bytes();
// Writes OUT_DIR/VELDAR.AGG, LANG/, SOUND/, and empty maps/ and ANIM/.
void write_demo_data(const std::string& out_dir);

// Seeds of the sky picture and asset cache fuzz targets: OUT/sky/*, OUT/resources/*.
void write_screens_seeds(const std::string& out_dir);

// A sprite set in the battle layout: u16 count, 4 unused bytes, 12-byte headers
// {i16 x, i16 y, u16 w, u16 h, u24 offset from byte 6, u8 type}, then the pixel streams.
Bytes write_sprite12(const std::vector<IcnFrame>& frames);

}  // namespace vorn1::kit
