#include "datakit/kit_formats.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "assets/agg.h"

namespace vorn1::kit {

namespace {

void put16(Bytes& b, uint32_t v) {
    b.push_back(static_cast<uint8_t>(v));
    b.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(Bytes& b, uint32_t v) {
    put16(b, v & 0xFFFF);
    put16(b, v >> 16);
}
void set16(Bytes& b, std::size_t at, uint32_t v) {
    b[at] = static_cast<uint8_t>(v);
    b[at + 1] = static_cast<uint8_t>(v >> 8);
}
void set32(Bytes& b, std::size_t at, uint32_t v) {
    set16(b, at, v & 0xFFFF);
    set16(b, at + 2, v >> 16);
}

void check_size(int w, int h, const char* what) {
    if (w < 0 || h < 0 || w > 0xFFFF || h > 0xFFFF) throw std::runtime_error(std::string(what) + ": size out of range");
}

}  // namespace

// ---------------------------------------------------------------- archive

Bytes write_agg(const std::vector<AggFile>& files) {
    if (files.size() > 0xFFFF) throw std::runtime_error("write_agg: too many files");
    const uint32_t n = static_cast<uint32_t>(files.size());
    Bytes out;
    put16(out, n);
    out.resize(2 + 12 * static_cast<std::size_t>(n));
    for (uint32_t i = 0; i < n; ++i) {
        const std::string name = upper_ascii(files[i].name).substr(0, 13);
        const std::size_t rec = 2 + 12 * static_cast<std::size_t>(i);
        set32(out, rec, agg_name_hash(name));
        set32(out, rec + 4, static_cast<uint32_t>(out.size()));
        set32(out, rec + 8, static_cast<uint32_t>(files[i].data.size()));
        out.insert(out.end(), files[i].data.begin(), files[i].data.end());
    }
    for (const AggFile& f : files) {
        std::string name = upper_ascii(f.name).substr(0, 13);
        name.resize(15, '\0');
        out.insert(out.end(), name.begin(), name.end());
    }
    return out;
}

// ---------------------------------------------------------------- pictures

IndexGrid::IndexGrid(int w, int h, uint8_t fill) : width(std::max(0, w)), height(std::max(0, h)) {
    index.assign(static_cast<std::size_t>(width) * height, fill);
}

void IndexGrid::set_kind(int x, int y, uint8_t k) {
    if (mask.empty()) mask.assign(index.size(), kOpaque);
    mask[static_cast<std::size_t>(y) * width + x] = k;
}

namespace {

void emit_skip(Bytes& b, int n, int max_run) {
    while (n > 0) {
        const int k = std::min(n, max_run);
        b.push_back(static_cast<uint8_t>(0x80 + k));
        n -= k;
    }
}

void emit_shadow(Bytes& b, int n) {
    while (n > 0) {
        const int k = std::min(n, 255);
        b.push_back(0xC0);
        if (k < 4) {
            b.push_back(static_cast<uint8_t>(k));
        } else {
            b.push_back(0x00);
            b.push_back(static_cast<uint8_t>(k));
        }
        n -= k;
    }
}

void emit_repeat(Bytes& b, int n, uint8_t colour) {
    while (n > 0) {
        const int k = std::min(n, 255);
        if (k >= 2 && k <= 63) {
            b.push_back(static_cast<uint8_t>(0xC0 + k));
        } else {
            b.push_back(0xC1);
            b.push_back(static_cast<uint8_t>(k));
        }
        b.push_back(colour);
        n -= k;
    }
}

}  // namespace

Bytes encode_icn_frame(const IndexGrid& g, IcnEncoding enc) {
    Bytes b;
    for (int y = 0; y < g.height; ++y) {
        const std::size_t row = static_cast<std::size_t>(y) * g.width;
        // Trailing transparent pixels need no code: the end of the row covers them.
        int last = g.width;
        while (last > 0 && g.kind(last - 1, y) == kTransparent) --last;
        int x = 0;
        while (x < last) {
            const uint8_t kind = g.kind(x, y);
            int run = 1;
            if (enc == IcnEncoding::Mono) {
                const bool solid = kind != kTransparent;
                while (x + run < last && (g.kind(x + run, y) != kTransparent) == solid) ++run;
                if (solid) {
                    for (int left = run; left > 0; left -= 127) b.push_back(static_cast<uint8_t>(std::min(left, 127)));
                } else {
                    emit_skip(b, run, 127);
                }
                x += run;
                continue;
            }
            if (kind != kOpaque) {
                while (x + run < last && g.kind(x + run, y) == kind) ++run;
                if (kind == kTransparent)
                    emit_skip(b, run, 63);
                else
                    emit_shadow(b, run);
            } else {
                auto same_run = [&](int at) {
                    int r = 1;
                    while (at + r < last && g.kind(at + r, y) == kOpaque && g.index[row + at + r] == g.index[row + at]) ++r;
                    return r;
                };
                const int same = same_run(x);
                if (enc == IcnEncoding::Runs && same >= 3) {
                    emit_repeat(b, same, g.index[row + x]);
                    x += same;
                    continue;
                }
                // Literal run up to the next non-opaque pixel, or (for Runs) the next run of three.
                run = 0;
                while (x + run < last && run < 127 && g.kind(x + run, y) == kOpaque &&
                       !(enc == IcnEncoding::Runs && run > 0 && same_run(x + run) >= 3))
                    ++run;
                b.push_back(static_cast<uint8_t>(run));
                b.insert(b.end(), g.index.begin() + static_cast<long>(row + x), g.index.begin() + static_cast<long>(row + x + run));
            }
            x += run;
        }
        b.push_back(0x00);
    }
    b.push_back(0x80);
    return b;
}

Bytes write_icn(const std::vector<IcnFrame>& frames) {
    if (frames.size() > 0xFFFF) throw std::runtime_error("write_icn: too many frames");
    Bytes out;
    put16(out, static_cast<uint32_t>(frames.size()));
    put32(out, 0);  // total size, filled in below
    out.resize(6 + 13 * frames.size());
    for (std::size_t i = 0; i < frames.size(); ++i) {
        const IcnFrame& f = frames[i];
        check_size(f.pixels.width, f.pixels.height, "write_icn");
        const std::size_t h = 6 + 13 * i;
        set16(out, h, static_cast<uint16_t>(f.x));
        set16(out, h + 2, static_cast<uint16_t>(f.y));
        set16(out, h + 4, static_cast<uint32_t>(f.pixels.width));
        set16(out, h + 6, static_cast<uint32_t>(f.pixels.height));
        const bool mono = f.encoding == IcnEncoding::Mono;
        out[h + 8] = mono ? static_cast<uint8_t>(f.type | kIcnMonoType) : static_cast<uint8_t>(f.type & ~kIcnMonoType);
        set32(out, h + 9, static_cast<uint32_t>(out.size() - 6));
        if (f.pixels.width > 0 && f.pixels.height > 0) {
            const Bytes data = encode_icn_frame(f.pixels, f.encoding);
            out.insert(out.end(), data.begin(), data.end());
        }
    }
    set32(out, 2, static_cast<uint32_t>(out.size() - 6));
    return out;
}

Bytes write_til(int width, int height, const std::vector<IndexGrid>& tiles) {
    check_size(width, height, "write_til");
    if (tiles.size() > 0xFFFF) throw std::runtime_error("write_til: too many tiles");
    Bytes out;
    put16(out, static_cast<uint32_t>(tiles.size()));
    put16(out, static_cast<uint32_t>(width));
    put16(out, static_cast<uint32_t>(height));
    for (const IndexGrid& t : tiles) {
        if (t.width != width || t.height != height) throw std::runtime_error("write_til: tile of another size");
        out.insert(out.end(), t.index.begin(), t.index.end());
    }
    return out;
}

Bytes write_bmp(const IndexGrid& g) {
    check_size(g.width, g.height, "write_bmp");
    Bytes out;
    put16(out, 0x0021);
    put16(out, static_cast<uint32_t>(g.width));
    put16(out, static_cast<uint32_t>(g.height));
    out.insert(out.end(), g.index.begin(), g.index.end());
    return out;
}

// ---------------------------------------------------------------- palettes

Bytes write_palette(const Palette& pal) {
    Bytes out;
    out.reserve(768);
    for (const Color& c : pal) {
        out.push_back(c.r >> 2);
        out.push_back(c.g >> 2);
        out.push_back(c.b >> 2);
    }
    return out;
}

namespace {
constexpr uint8_t kCubeLevels[6] = {0, 48, 100, 152, 200, 252};
constexpr int kCubeStart = 16;  // 16..231: 6x6x6 colour cube, index = 16 + 36r + 6g + b
constexpr uint8_t kWhite = kCubeStart + 215;
}  // namespace

Palette standard_palette() {
    Palette p{};
    for (int i = 1; i < 16; ++i) {
        const uint8_t v = static_cast<uint8_t>(i * 16);
        p[i] = Color{v, v, v};
    }
    for (int r = 0; r < 6; ++r)
        for (int g = 0; g < 6; ++g)
            for (int b = 0; b < 6; ++b)
                p[kCubeStart + 36 * r + 6 * g + b] = Color{kCubeLevels[r], kCubeLevels[g], kCubeLevels[b]};
    // Four six-step ramps (gold, sea, skin, violet) fill the rest.
    const Color ramp_ends[4] = {{252, 200, 0}, {0, 120, 252}, {252, 172, 128}, {160, 0, 220}};
    for (int k = 0; k < 4; ++k)
        for (int s = 0; s < 6; ++s) {
            const auto lv = [&](uint8_t c) { return static_cast<uint8_t>((c * (s + 1) / 6) & ~3); };
            p[232 + 6 * k + s] = Color{lv(ramp_ends[k].r), lv(ramp_ends[k].g), lv(ramp_ends[k].b)};
        }
    return p;
}

uint8_t set_colour(const std::string& name) {
    const uint32_t h = agg_name_hash(name) * 2654435761u;
    // Middle cube levels only, so both the colour and its contrasting text stay visible.
    const int r = 1 + static_cast<int>((h >> 8) % 4), g = 1 + static_cast<int>((h >> 16) % 4),
              b = 1 + static_cast<int>((h >> 24) % 4);
    return static_cast<uint8_t>(kCubeStart + 36 * r + 6 * g + b);
}

uint8_t contrast_colour(uint8_t i) {
    const Color c = standard_palette()[i];
    return (c.r * 3 + c.g * 6 + c.b) / 10 >= 120 ? 0 : kWhite;
}

// ---------------------------------------------------------------- small pixel font

namespace {

// 3x5 glyphs, written as their five rows of three pixels run together; top row first.
uint16_t glyph(char ch) {
    auto g = [](const char* rows) {
        uint16_t v = 0;
        for (int i = 0; i < 15; ++i) v = static_cast<uint16_t>(v << 1 | (rows[i] == '#'));
        return v;
    };
    if (ch >= 'a' && ch <= 'z') ch = static_cast<char>(ch - 'a' + 'A');
    static const char* digits[10] = {"####.##.##.####", ".#.##..#..#.###", "###..#####..###", "###..#.##..####", "#.##.####..#..#", "####..###..####", "####..####.####", "###..#..#.#..#.", "####.#####.####", "####.####..####"};
    static const char* letters[26] = {
        ".#.#.#####.##.#",
        "##.#.###.#.###.",
        ".###..#..#...##",
        "##.#.##.##.###.",
        "####..##.#..###",
        "####..##.#..#..",
        ".###..#.##.#.##",
        "#.##.#####.##.#",
        "###.#..#..#.###",
        "..#..#..##.#.#.",
        "#.##.###.#.##.#",
        "#..#..#..#..###",
        "#.########.##.#",
        "##.#.##.##.##.#",
        ".#.#.##.##.#.#.",
        "##.#.###.#..#..",
        ".#.#.##.###..##",
        "##.#.###.#.##.#",
        ".###...#...###.",
        "###.#..#..#..#.",
        "#.##.##.##.####",
        "#.##.##.##.#.#.",
        "#.##.########.#",
        "#.##.#.#.#.##.#",
        "#.##.#.#..#..#.",
        "###..#.#.#..###"};
    if (ch >= '0' && ch <= '9') return g(digits[ch - '0']);
    if (ch >= 'A' && ch <= 'Z') return g(letters[ch - 'A']);
    switch (ch) {
        case ' ': return 0;
        case '.': return g(".............#.");
        case '-': return g("......###......");
        case '_': return g("............###");
        case '#': return g("#.#####.#####.#");
        default: return 0x7FFF;
    }
}

void draw_text_scaled(IndexGrid& g, int x, int y, const std::string& text, uint8_t colour, int scale) {
    for (std::size_t k = 0; k < text.size(); ++k) {
        const uint16_t bits = glyph(text[k]);
        for (int row = 0; row < 5; ++row)
            for (int col = 0; col < 3; ++col) {
                if (!(bits >> (14 - (row * 3 + col)) & 1)) continue;
                for (int dy = 0; dy < scale; ++dy)
                    for (int dx = 0; dx < scale; ++dx) {
                        const int px = x + (static_cast<int>(k) * 4 + col) * scale + dx, py = y + row * scale + dy;
                        if (px < 0 || py < 0 || px >= g.width || py >= g.height) continue;
                        g.at(px, py) = colour;
                        if (!g.mask.empty()) g.set_kind(px, py, kOpaque);
                    }
            }
    }
}

}  // namespace

void draw_small_text(IndexGrid& g, int x, int y, const std::string& text, uint8_t colour) {
    draw_text_scaled(g, x, y, text, colour, 1);
}

IndexGrid labelled_picture(int width, int height, const std::string& name, int frame) {
    const uint8_t fill = set_colour(name), ink = contrast_colour(fill);
    IndexGrid g(width, height, fill);
    if (g.index.empty()) return g;
    for (int x = 0; x < g.width; ++x) g.at(x, 0) = g.at(x, g.height - 1) = ink;
    for (int y = 0; y < g.height; ++y) g.at(0, y) = g.at(g.width - 1, y) = ink;
    const std::string number = std::to_string(frame);
    const int chars = static_cast<int>(std::max(name.size(), number.size()));
    const int scale = std::clamp(std::min((width - 4) / std::max(1, chars * 4), (height - 4) / 12), 1, 4);
    draw_text_scaled(g, 2, 2, name, ink, scale);
    draw_text_scaled(g, 2, 2 + 6 * scale, number, ink, scale);
    return g;
}

Bytes labelled_icn(const std::string& name, int count, int width, int height) {
    std::vector<IcnFrame> frames(static_cast<std::size_t>(std::max(0, count)));
    for (int i = 0; i < count; ++i) frames[i].pixels = labelled_picture(width, height, name, i);
    return write_icn(frames);
}

Bytes labelled_bmp(const std::string& name, int width, int height) {
    return write_bmp(labelled_picture(width, height, name, 0));
}

Bytes labelled_til(const std::string& name, int count, int width, int height) {
    std::vector<IndexGrid> tiles;
    for (int i = 0; i < count; ++i) tiles.push_back(labelled_picture(width, height, name, i));
    return write_til(width, height, tiles);
}

// ---------------------------------------------------------------- raw PCM

namespace {

// A sine tone with 5 ms fades at both ends, in -1..1.
double tone(double freq, int i, int n) {
    const double t = static_cast<double>(i) / kPcmRate;
    const int fade = kPcmRate / 200;
    const double env = std::min({1.0, static_cast<double>(i) / fade, static_cast<double>(n - 1 - i) / fade});
    return std::sin(2.0 * std::numbers::pi * freq * t) * std::max(0.0, env);
}

int samples(int ms) { return static_cast<int>(static_cast<int64_t>(std::max(0, ms)) * kPcmRate / 1000); }

}  // namespace

Bytes write_pcm_82m(double freq_hz, int ms) {
    const int n = samples(ms);
    Bytes out(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) out[i] = static_cast<uint8_t>(std::lround(128 + 100 * tone(freq_hz, i, n)));
    return out;
}

Bytes write_pcm_82s(double freq_hz, int ms) {
    const int n = samples(ms);
    Bytes out;
    out.reserve(static_cast<std::size_t>(n) * 2);
    for (int i = 0; i < n; ++i) {
        out.push_back(static_cast<uint8_t>(std::lround(128 + 100 * tone(freq_hz, i, n))));
        out.push_back(static_cast<uint8_t>(std::lround(128 + 100 * tone(freq_hz * 1.5, i, n))));
    }
    return out;
}

Bytes write_pcm_62s(double freq_hz, int ms) {
    const int n = samples(ms);
    Bytes out;
    out.reserve(static_cast<std::size_t>(n) * 4);
    for (int i = 0; i < n; ++i) {
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(12000 * tone(freq_hz, i, n)))));
        put16(out, static_cast<uint16_t>(static_cast<int16_t>(std::lround(12000 * tone(freq_hz * 1.5, i, n)))));
    }
    return out;
}

}  // namespace vorn1::kit
