#include "frontend/builtin_art.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

namespace vorn1 {
namespace {

// 5 x 7 capitals, one byte a row (bit 4 leftmost).
struct Glyph {
    char c;
    uint8_t rows[7];
};
constexpr Glyph kGlyphs[] = {
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}},
    {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}}, {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x19, 0x15, 0x13, 0x11, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}}, {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}},
    {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}}, {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x1B, 0x11}},
};

void put(Image& img, int x, int y, uint8_t r, uint8_t g, uint8_t b) {
    if (x < 0 || y < 0 || x >= img.width || y >= img.height) return;
    uint8_t* p = img.at(x, y);
    p[0] = r, p[1] = g, p[2] = b, p[3] = 255;
}

// A gold face with a bevelled edge and a dark caption centred on it.
Image gold_button(int w, int h, const std::string& caption, bool black_ground) {
    Image img(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const int edge = std::min({x, y, w - 1 - x, h - 1 - y});
            if (black_ground && edge == 0) {
                put(img, x, y, 0, 0, 0);
                continue;
            }
            const int shade = 190 - y * 60 / std::max(1, h);
            if (edge <= 1)
                put(img, x, y, (x < w / 2 || y < h / 2) ? 250 : 120, (x < w / 2 || y < h / 2) ? 220 : 90, 60);
            else
                put(img, x, y, static_cast<uint8_t>(shade + 40), static_cast<uint8_t>(shade), 40);
        }
    const int text_w = static_cast<int>(caption.size()) * 6 - 1;
    const int x0 = (w - text_w) / 2, y0 = (h - 7) / 2;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        for (const Glyph& g : kGlyphs) {
            if (g.c != caption[i]) continue;
            for (int row = 0; row < 7; ++row)
                for (int col = 0; col < 5; ++col)
                    if (g.rows[row] & (0x10 >> col)) put(img, x0 + static_cast<int>(i) * 6 + col, y0 + row, 60, 30, 10);
        }
    }
    return img;
}

}  // namespace

const Image& CAMP_ORIG_BTN_RGBA() {
    static const Image img = gold_button(kCampButtonW, kCampButtonH, "ORIGINAL CAMPAIGN", false);
    return img;
}

const Image& CAMP_SPIRIT_BTN_RGBA() {
    static const Image img = gold_button(kCampButtonW, kCampButtonH, "THE SPIRIT WORLD", false);
    return img;
}

const Image& rules_button_image() {
    static const Image img = gold_button(kRulesButtonW, kRulesButtonH, "RULES", true);
    return img;
}

}  // namespace vorn1
