#pragma once
// Writers of the archive, sprite-set, tile-set, picture, palette and raw PCM layouts that the asset
// readers take, plus procedural pictures and a standard palette for fixtures and the demo data.
#include <cstdint>
#include <string>
#include <vector>

#include "assets/palette.h"
#include "datakit/datakit.h"

namespace vorn1::kit {

// ---- archive
struct AggFile {
    std::string name;  // stored upper-cased, at most 13 bytes (longer names are cut)
    Bytes data;
};
// Entry data in list order after the records, then the name table.
Bytes write_agg(const std::vector<AggFile>& files);

// ---- 8-bit pictures
enum PixelKind : uint8_t { kOpaque = 0, kTransparent = 1, kShadow = 2 };

// A grid of palette indexes; `mask` is empty (all opaque) or holds one PixelKind a pixel.
struct IndexGrid {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> index;
    std::vector<uint8_t> mask;

    IndexGrid() = default;
    IndexGrid(int w, int h, uint8_t fill = 0);
    uint8_t& at(int x, int y) { return index[static_cast<std::size_t>(y) * width + x]; }
    uint8_t kind(int x, int y) const { return mask.empty() ? uint8_t{kOpaque} : mask[static_cast<std::size_t>(y) * width + x]; }
    void set_kind(int x, int y, uint8_t k);
};

// ---- sprite sets
enum class IcnEncoding {
    Runs,     // skips, shadow runs, repeated-colour runs for 3+ equal pixels, literal runs otherwise
    Literal,  // skips, shadow runs and literal runs only
    Mono,     // the one-colour encoding (type bit 0x20): every opaque or shadow pixel is drawn black
};
constexpr uint8_t kIcnMonoType = 0x20;

struct IcnFrame {
    int16_t x = 0;
    int16_t y = 0;
    uint8_t type = 0;  // kIcnMonoType is added for Mono frames
    IcnEncoding encoding = IcnEncoding::Runs;
    IndexGrid pixels;  // width and height become the header's; 0x0 gives an empty frame
};
// The encoded pixel stream of one frame (ends with 0x80).
Bytes encode_icn_frame(const IndexGrid& g, IcnEncoding enc);
Bytes write_icn(const std::vector<IcnFrame>& frames);

// ---- tile sets and pictures
Bytes write_til(int width, int height, const std::vector<IndexGrid>& tiles);  // each tile width x height
Bytes write_bmp(const IndexGrid& g);                                        // mask ignored

// ---- palettes
// 256 entries stored as six-bit values (each 8-bit channel >> 2).
Bytes write_palette(const Palette& pal);
// The standard game palette: index 0 black, then grey, colour ramps and a colour cube, all
// 6-bit exact so write_palette/load_palette give it back unchanged.
Palette standard_palette();
// The palette index of a colour that stands for a named set (stable per name, never 0).
uint8_t set_colour(const std::string& name);
// The nearest standard-palette index whose colour contrasts with index `i` (for text and outlines).
uint8_t contrast_colour(uint8_t i);

// ---- procedural pictures
// A picture filled with the set's colour, with an outline and the name and frame number written
// in small pixel letters, clipped to the size.
IndexGrid labelled_picture(int width, int height, const std::string& name, int frame);
// Draws text in a 3x5 pixel font (digits, A-Z, a few signs; other characters as a box) at (x, y).
void draw_small_text(IndexGrid& g, int x, int y, const std::string& text, uint8_t colour);
// A sprite set of `count` labelled frames of the given size (offsets 0, 0).
Bytes labelled_icn(const std::string& name, int count, int width, int height);
Bytes labelled_bmp(const std::string& name, int width, int height);
// A tile set of `count` labelled tiles.
Bytes labelled_til(const std::string& name, int count, int width, int height);

// ---- raw PCM at 22050 Hz
constexpr int kPcmRate = 22050;
Bytes write_pcm_82m(double freq_hz, int ms);  // 8-bit unsigned mono
Bytes write_pcm_82s(double freq_hz, int ms);  // 8-bit unsigned stereo (the right channel a fifth higher)
Bytes write_pcm_62s(double freq_hz, int ms);  // 16-bit signed little-endian stereo

}  // namespace vorn1::kit
