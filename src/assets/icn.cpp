#include "assets/icn.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace vorn1 {

namespace {

constexpr uint64_t kFileHeader = 6;    // u16 frame count, u32 total data size
constexpr uint64_t kFrameHeader = 13;  // i16 x, i16 y, u16 w, u16 h, u8 type, u32 offset
constexpr uint8_t kMonoTypeBit = 0x20;

uint16_t rd16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t rd32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 | static_cast<uint32_t>(p[2]) << 16 |
           static_cast<uint32_t>(p[3]) << 24;
}

// Writes pixels left to right along a row; anything outside the frame is dropped.
struct Painter {
    Image& img;
    int64_t x = 0, y = 0;
    void put(uint8_t r, uint8_t g, uint8_t b, uint8_t a) {
        if (x < img.width && y < img.height) {
            uint8_t* px = img.at(static_cast<int32_t>(x), static_cast<int32_t>(y));
            px[0] = r, px[1] = g, px[2] = b, px[3] = a;
        }
        ++x;
    }
    void colour(const Palette& pal, uint8_t i) { put(pal[i].r, pal[i].g, pal[i].b, 255); }
    void shadow() { put(0, 0, 0, 0x80); }
    bool done() const { return y >= img.height; }
};

void decode_runs(const uint8_t* p, const uint8_t* end, const Palette& pal, Image& img) {
    Painter out{img};
    while (p < end && !out.done()) {
        const uint8_t c = *p++;
        if (c == 0x00) {
            ++out.y, out.x = 0;
        } else if (c < 0x80) {
            for (int n = 0; n < c && p < end; ++n) out.colour(pal, *p++);
        } else if (c == 0x80) {
            break;
        } else if (c < 0xC0) {
            out.x += c - 0x80;
        } else if (c == 0xC0) {
            if (p >= end) break;
            int n = *p++ % 4;
            if (n == 0) {
                if (p >= end) break;
                n = *p++;
            }
            for (int k = 0; k < n; ++k) out.shadow();
        } else {
            int n = c - 0xC0;
            if (c == 0xC1) {
                if (p >= end) break;
                n = *p++;
            }
            if (p >= end) break;
            const uint8_t i = *p++;
            for (int k = 0; k < n; ++k) out.colour(pal, i);
        }
    }
}

void decode_mono_runs(const uint8_t* p, const uint8_t* end, Image& img) {
    Painter out{img};
    while (p < end && !out.done()) {
        const uint8_t c = *p++;
        if (c == 0x00) {
            ++out.y, out.x = 0;
        } else if (c < 0x80) {
            for (int n = 0; n < c; ++n) out.put(0, 0, 0, 255);
        } else if (c == 0x80) {
            break;
        } else {
            out.x += c - 0x80;
        }
    }
}

void paint_black(Image& img) {
    for (std::size_t i = 0; i + 3 < img.pixels.size(); i += 4)
        if (img.pixels[i + 3] == 255) img.pixels[i] = img.pixels[i + 1] = img.pixels[i + 2] = 0;
}

}  // namespace

bool MonoMode::selects(int frame) const {
    if (all) return true;
    if (start != 0xFFFFFFFFu && frame >= 0 && static_cast<uint32_t>(frame) >= start) return true;
    return std::find(frames.begin(), frames.end(), frame) != frames.end();
}

IcnFrames decode_icn(const std::vector<uint8_t>& bytes, const Palette& pal, const MonoMode& mono) {
    const uint64_t size = bytes.size();
    if (size < kFileHeader) throw std::runtime_error("ICN file too small");
    const uint64_t count = rd16(bytes.data());
    if (kFileHeader + count * kFrameHeader > size) throw std::runtime_error("ICN file too small");

    IcnFrames out;
    out.headers.reserve(count);
    int64_t total_pixels = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* h = bytes.data() + kFileHeader + i * kFrameHeader;
        SpriteHeader sh;
        sh.x = static_cast<int16_t>(rd16(h));
        sh.y = static_cast<int16_t>(rd16(h + 2));
        sh.width = rd16(h + 4);
        sh.height = rd16(h + 6);
        sh.type = h[8];
        sh.offset = rd32(h + 9);
        if (sh.width != 0 && sh.height != 0) {
            if (kFileHeader + static_cast<uint64_t>(sh.offset) > size)
                throw std::runtime_error("ICN frame " + std::to_string(i) + " data offset " +
                                         std::to_string(sh.offset) + " past end of file");
            total_pixels += static_cast<int64_t>(sh.width) * sh.height;
            if (total_pixels > kMaxImagePixels) throw std::runtime_error("ICN frames too large");
        }
        out.headers.push_back(sh);
    }

    out.frames.reserve(count);
    const uint8_t* end = bytes.data() + size;
    for (uint64_t i = 0; i < count; ++i) {
        const SpriteHeader& sh = out.headers[i];
        if (sh.width == 0 || sh.height == 0) {
            out.frames.emplace_back();
            continue;
        }
        Image img(sh.width, sh.height);
        const uint8_t* p = bytes.data() + kFileHeader + sh.offset;
        if (sh.type & kMonoTypeBit)
            decode_mono_runs(p, end, img);
        else
            decode_runs(p, end, pal, img);
        if (mono.selects(static_cast<int>(i))) paint_black(img);
        out.frames.push_back(std::move(img));
    }
    return out;
}

}  // namespace vorn1
