#include "adventure/adventure_resources.h"

#include <algorithm>
#include <cstdio>
#include <exception>

#include "adventure/adv_geometry.h"
#include "assets/agg.h"
#include "assets/icn.h"
#include "assets/render_utils.h"
#include "assets/til.h"

namespace vorn1 {

const SpriteFrame* SpriteSet::get(int i) const {
    if (i < 0 || i >= (int)frames.size() || !frames[(size_t)i].tex) return nullptr;
    return &frames[(size_t)i];
}

std::string object_set_entry(int set) {
    char buf[24];
    std::snprintf(buf, sizeof buf, "OBJ32-%02d.ICN", set & 0xFF);
    return buf;
}

int route_marker_frame(uint8_t next_dir, bool is_destination, bool reachable) {
    const int base = (is_destination || next_dir > 7) ? kRouteDestFrame : next_dir;
    return base + (reachable ? 0 : kRouteFramesPerKind);
}

int flag_frame_for_colour(int colour) {
    static constexpr int kFrames[4] = {4, 2, 0, 6};
    return colour >= 0 && colour < 4 ? kFrames[colour] : 0;
}

SDL_Color player_rgb(int colour) {
    switch (colour) {
    case 0: return {216, 40, 40, 255};
    case 1: return {40, 176, 56, 255};
    case 2: return {48, 88, 224, 255};
    case 3: return {232, 208, 40, 255};
    default: return {160, 160, 160, 255};
    }
}

SDL_Color ground_band_rgb(int g) {
    if (g < 20 || g == 255) return {32, 64, 160, 255};
    if (g < 40) return {48, 128, 40, 255};
    if (g < 80) return {136, 112, 72, 255};
    if (g < 100) return {112, 80, 48, 255};
    if (g < 120) return {64, 88, 56, 255};
    return {208, 184, 120, 255};
}

namespace {

SDL_Texture* image_texture(SDL_Renderer* r, const Image& img, bool blend) {
    if (!r || img.empty()) return nullptr;
    SDL_Texture* t = SDL_CreateTexture(r, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, img.width, img.height);
    if (!t) return nullptr;
    SDL_UpdateTexture(t, nullptr, img.pixels.data(), img.width * 4);
    SDL_SetTextureBlendMode(t, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    return t;
}

bool opaque(const Image& img) {
    for (size_t i = 3; i < img.pixels.size(); i += 4)
        if (img.pixels[i] != 255) return false;
    return true;
}

Image mirrored(const Image& img) {
    Image out = img;
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x)
            std::copy_n(img.at(img.width - 1 - x, y), 4, out.at(x, y));
    return out;
}

void free_set(SpriteSet& s) {
    for (SpriteFrame& f : s.frames)
        if (f.tex) SDL_DestroyTexture(f.tex);
    s.frames.clear();
}

struct Loader {
    SDL_Renderer* r;
    const AggArchive& agg;
    const Palette& pal;
    int problems = 0;

    bool fetch(const std::string& name, std::vector<uint8_t>& bytes, bool report_missing) {
        bytes = agg.get(name);
        if (bytes.empty()) {
            if (report_missing) {
                std::fprintf(stderr, "  WARNING: %s missing\n", name.c_str());
                ++problems;
            }
            return false;
        }
        return true;
    }

    void set(const std::string& name, SpriteSet& out, bool report_missing = true) {
        free_set(out);
        std::vector<uint8_t> bytes;
        if (!fetch(name, bytes, report_missing)) return;
        try {
            IcnFrames icn = decode_icn(bytes, pal);
            out.frames.resize(icn.headers.size());
            for (size_t i = 0; i < icn.headers.size(); ++i) {
                SpriteFrame& f = out.frames[i];
                f.x = icn.headers[i].x;
                f.y = icn.headers[i].y;
                f.w = icn.headers[i].width;
                f.h = icn.headers[i].height;
                if (i < icn.frames.size()) f.tex = image_texture(r, icn.frames[i], true);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "  WARN %s: %s\n", name.c_str(), e.what());
            ++problems;
            free_set(out);
        }
    }
};

// Mean colour of a tile, used for its minimap pixel.
SDL_Color mean_rgb(const Image& img) {
    uint64_t r = 0, g = 0, b = 0, n = 0;
    for (size_t i = 0; i + 3 < img.pixels.size(); i += 4) {
        r += img.pixels[i];
        g += img.pixels[i + 1];
        b += img.pixels[i + 2];
        ++n;
    }
    if (n == 0) return {0, 0, 0, 255};
    return {(uint8_t)(r / n), (uint8_t)(g / n), (uint8_t)(b / n), 255};
}

}  // namespace

std::vector<BorderPart> border_parts(const Image& img, int cell) {
    std::vector<BorderPart> parts;
    if (img.empty() || cell <= 0) return parts;
    std::vector<BorderPart> row, last;  // `last`: the previous row of cells, still growing down
    for (int y0 = 0; y0 < img.height; y0 += cell) {
        const int h = std::min(cell, img.height - y0);
        row.clear();
        for (int x0 = 0; x0 < img.width; x0 += cell) {
            const int w = std::min(cell, img.width - x0);
            bool any = false, all = true;
            for (int y = y0; y < y0 + h; ++y)
                for (int x = x0; x < x0 + w; ++x) {
                    const uint8_t a = img.at(x, y)[3];
                    any = any || a != 0;
                    all = all && a == 255;
                }
            if (!any) continue;
            if (!row.empty() && row.back().opaque == all && row.back().rect.x + row.back().rect.w == x0)
                row.back().rect.w += w;
            else
                row.push_back(BorderPart{SDL_Rect{x0, y0, w, h}, all});
        }
        const auto same_columns = [](const BorderPart& a, const BorderPart& b) {
            return a.opaque == b.opaque && a.rect.x == b.rect.x && a.rect.w == b.rect.w;
        };
        if (!last.empty() && std::equal(row.begin(), row.end(), last.begin(), last.end(), same_columns)) {
            for (BorderPart& p : last) p.rect.h += h;
            continue;
        }
        parts.insert(parts.end(), last.begin(), last.end());
        last = row;
    }
    parts.insert(parts.end(), last.begin(), last.end());
    return parts;
}

AdventureResources::~AdventureResources() { unload(); }

void AdventureResources::unload() {
    for (SDL_Texture*& t : ground)
        if (t) SDL_DestroyTexture(t);
    ground.clear();
    for (SDL_Texture*& t : ground_mirrored)
        if (t) SDL_DestroyTexture(t);
    ground_mirrored.clear();
    for (SpriteSet& s : objects) free_set(s);
    for (SpriteSet& s : heroes) free_set(s);
    for (SpriteSet* s : {&boat, &flags, &route, &buttons, &locators, &mini_portraits, &creatures, &resources, &puzzle,
                         &panel, &spells})
        free_set(*s);
    for (SDL_Texture* t : {border, border_opaque, minimap})
        if (t) SDL_DestroyTexture(t);
    border = border_opaque = minimap = nullptr;
    border_cut.clear();
    minimap_scratch.clear();
    warnings = 0;
}

int AdventureResources::load(SDL_Renderer* r, const AggArchive& agg, const Palette& pal) {
    unload();
    renderer = r;
    Loader L{r, agg, pal};

    for (int g = 0; g < 256; ++g) ground_rgb[(size_t)g] = ground_band_rgb(g);
    std::vector<uint8_t> bytes;
    if (L.fetch(adv_entry::GROUND, bytes, true)) {
        try {
            TileSet til = decode_til(bytes, pal);
            const size_t n = std::min<size_t>(til.tiles.size(), 256);
            ground.assign(n, nullptr);
            ground_mirrored.assign(n, nullptr);
            for (size_t i = 0; i < n; ++i) {
                const Image& img = til.tiles[i];
                // Opaque tiles in the target's own format copy row by row, the mirrored ones too
                // (a mirrored copy is many times slower than a plain one in the software renderer).
                if (opaque(img)) {
                    ground[i] = opaque_img_to_tex(r, img);
                    ground_mirrored[i] = opaque_img_to_tex(r, mirrored(img));
                } else {
                    ground[i] = image_texture(r, img, true);
                }
                if (!img.empty()) ground_rgb[i] = mean_rgb(img);
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "  WARN %s: %s\n", adv_entry::GROUND, e.what());
            ++L.problems;
        }
    }
    // Object sets are many and sparse: only those the archive holds are loaded, silently.
    for (int s = 1; s < 255; ++s) {
        const std::string name = object_set_entry(s);
        if (agg.has(name)) L.set(name, objects[(size_t)s], false);
    }
    for (int c = 0; c < 4; ++c) L.set(adv_entry::HEROES[(size_t)c], heroes[(size_t)c]);
    L.set(adv_entry::BOAT, boat);
    L.set(adv_entry::FLAGS, flags);
    L.set(adv_entry::ROUTE, route);
    L.set(adv_entry::BUTTONS, buttons);
    L.set(adv_entry::LOCATORS, locators);
    L.set(adv_entry::MINI_PORTRAITS, mini_portraits);
    L.set(adv_entry::CREATURES, creatures);
    L.set(adv_entry::RESOURCES, resources);
    L.set(adv_entry::PUZZLE, puzzle);
    L.set(adv_entry::PANEL, panel);
    L.set(adv_entry::SPELLS, spells);
    if (L.fetch(adv_entry::BORDER, bytes, true)) {
        try {
            const IcnFrames icn = decode_icn(bytes, pal);
            if (!icn.frames.empty()) {
                const Image& img = icn.frames[0];
                border = image_texture(r, img, true);
                // Most of the border is clear (over the map) or opaque: only the rest needs blending.
                if (border && img.width == kScreenRect.w && img.height == kScreenRect.h) {
                    border_opaque = opaque_img_to_tex(r, img);
                    if (border_opaque) border_cut = border_parts(img, 16);
                }
            }
        } catch (const std::exception& e) {
            std::fprintf(stderr, "  WARN %s: %s\n", adv_entry::BORDER, e.what());
            ++L.problems;
        }
    }
    if (r) {
        // Packed 0xAARRGGBB, which a window of RGB888 reads alike and copies row by row.
        const Uint32 format =
            opaque_texture_format(r) == SDL_PIXELFORMAT_RGB888 ? SDL_PIXELFORMAT_RGB888 : SDL_PIXELFORMAT_ARGB8888;
        minimap = SDL_CreateTexture(r, format, SDL_TEXTUREACCESS_STREAMING, kMinimapRect.w, kMinimapRect.h);
        if (minimap) SDL_SetTextureBlendMode(minimap, SDL_BLENDMODE_NONE);
    }
    minimap_scratch.assign((size_t)kMinimapRect.w * kMinimapRect.h, 0);
    warnings = L.problems;
    return warnings;
}

}  // namespace vorn1
