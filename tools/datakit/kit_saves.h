#pragma once
// Save images written field by field from the format tables with a little-endian writer of the
// kit's own, so that the game's loader is checked against the layout and not against its writer.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1::kit {

struct Le {
    std::vector<uint8_t> b;
    void u8(unsigned v) { b.push_back(static_cast<uint8_t>(v)); }
    void u16(unsigned v) { u8(v & 0xFF); u8((v >> 8) & 0xFF); }
    void u32(uint32_t v) { u16(v & 0xFFFF); u16(v >> 16); }
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void str(const std::string& s) {
        u16(static_cast<unsigned>(s.size()));
        for (char c : s) u8(static_cast<uint8_t>(c));
    }
};

struct FixtureOptions {
    bool campaign = false;
    bool empty = false;        // every list empty, every string empty, no puzzle, no elimination
    bool puzzle = true;        // (non-empty fixtures) a puzzle section with one obelisk tile
    bool elimination = true;   // (non-empty fixtures) an elimination section
    int map_w = 72, map_h = 72;
    std::string map_stem = "FIXTURE";
    std::string map_path;      // empty: none
    uint32_t version = 0;      // 0: the right one for the kind
    int mode_byte = -1;        // game mode of the configuration block; -1: the kind's own
    int campaign_maps = -1;    // (campaign fixtures) names in the campaign map list; -1: eight
    int goal_progress = 0;     // a last byte when above 0 (bit 0 target town, bit 1 Dragon City)
    bool progress_mark = true; // with that byte, header bytes 6-7 are 1, 0 (saves before the mark: 0, 0)
};

// Offsets of the section boundaries inside the image, for cutting tests.
struct FixtureLayout {
    std::vector<uint8_t> bytes;
    std::vector<std::size_t> boundaries;
};

FixtureLayout make_fixture(const FixtureOptions& o);

// Seeds of the save loader's fuzz target: OUT/save/ (standard, campaign, empty and cut saves).
void write_save_fuzz_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
