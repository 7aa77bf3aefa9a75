#include "assets/cursor.h"

#include <algorithm>
#include <exception>

#include "assets/agg.h"
#include "assets/icn.h"
#include "assets/image.h"

namespace vorn1 {

CursorFrame scale_cursor_frame(const CursorFrame& src, int factor) {
    if (factor < 1 || src.w < 1 || src.h < 1) return {};
    if (src.pixels.size() < static_cast<std::size_t>(src.w) * src.h * 4) return {};
    const int64_t w = static_cast<int64_t>(src.w) * factor;
    const int64_t h = static_cast<int64_t>(src.h) * factor;
    if (w * h > kMaxImagePixels) return {};
    CursorFrame out;
    out.w = static_cast<int>(w);
    out.h = static_cast<int>(h);
    out.pixels.resize(static_cast<std::size_t>(w * h) * 4);
    for (int y = 0; y < out.h; ++y)
        for (int x = 0; x < out.w; ++x) {
            const uint8_t* s = src.pixels.data() + (static_cast<std::size_t>(y / factor) * src.w + x / factor) * 4;
            uint8_t* d = out.pixels.data() + (static_cast<std::size_t>(y) * out.w + x) * 4;
            d[0] = s[0], d[1] = s[1], d[2] = s[2], d[3] = s[3];
        }
    return out;
}

bool CursorManager::load_frames(const AggArchive& archive, const Palette& pal, std::string* error) {
    frames.clear();
    const std::vector<uint8_t> bytes = archive.get(kEntry);
    if (bytes.empty()) return false;
    try {
        IcnFrames set = decode_icn(bytes, pal);
        for (std::size_t i = 0; i < set.frames.size() && frames.size() < kMaxCursors; ++i) {
            Image& img = set.frames[i];
            frames.push_back(CursorFrame{img.width, img.height, std::move(img.pixels)});
        }
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        frames.clear();
        return false;
    }
    return true;
}

void CursorManager::free_cursors() {
    for (SDL_Cursor*& c : cursors) {
        if (c && backend.destroy) backend.destroy(c);
        c = nullptr;
    }
    ready = false;
}

void CursorManager::rebuild(int factor) {
    if (factor < 1) factor = 1;
    if (built_factor == factor) return;
    free_cursors();
    const std::size_t n = std::min<std::size_t>(frames.size(), kMaxCursors);
    for (std::size_t i = 0; i < n; ++i) {
        const CursorFrame scaled = scale_cursor_frame(frames[i], factor);
        if (scaled.pixels.empty()) continue;
        SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(const_cast<uint8_t*>(scaled.pixels.data()), scaled.w,
                                                            scaled.h, 32, scaled.w * 4, SDL_PIXELFORMAT_RGBA32);
        if (!s) continue;
        cursors[i] = backend.create ? backend.create(s) : nullptr;
        SDL_FreeSurface(s);
        if (cursors[i]) ready = true;
    }
    built_factor = factor;
    if (current >= 0 && current < kMaxCursors && cursors[current] && backend.show) backend.show(cursors[current]);
}

void CursorManager::set_current(int index) {
    current = index;
    if (index >= 0 && index < kMaxCursors && cursors[index] && backend.show) backend.show(cursors[index]);
}

}  // namespace vorn1
