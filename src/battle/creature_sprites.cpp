#include "battle/creature_sprites.h"

#include <algorithm>

namespace vorn1 {

const char* const CREATURE_STEMS[28] = {
    "peasant", "archer",  "pikeman", "swrdsman", "cavalry", "paladin", "goblin",  "orc",      "wolf",    "ogre",
    "troll",   "cyclops", "sprite",  "dwarf",    "elf",     "druid",   "unicorn", "phoenix",  "centaur", "gargoyle",
    "griffin", "minotaur", "hydra",  "dragon",   "rogue",   "nomad",   "ghost",   "genie"};

const char* const CREATURE_STEMS_FR[28] = {
    "paysan",  nullptr,    "fantassi",     "spadassi", "chevalie", nullptr,  "gobelin",  nullptr,
    "loup",    nullptr,    nullptr,        "cyclope",  "f\x82""e", "nain",   "elfe",     "druide",
    "licorne", "ph\x82nix", "centaure",   "gargouil", "griffon",  nullptr,  "hydre",    nullptr,
    "pillard", "nomade",   "spectre",      "g\x82nie"};

const char* creature_anim_ext(CreatureAnim anim) {
    switch (anim) {
    case STD: return "STD";
    case WLK: return "WLK";
    case ATK: return "ATK";
    case WIP: return "WIP";
    }
    return "STD";
}

bool creature_has_shoot_sfx(int c) { return c == 1 || c == 7 || c == 10 || c == 14 || c == 15 || c == 18; }
bool creature_has_nine_poses(int c) { return c == 11 || c == 17 || c == 23; }

namespace {

constexpr int kHydra = 22;

uint16_t rd16(const std::vector<uint8_t>& b, uint64_t at) { return uint16_t(b[at] | (b[at + 1] << 8)); }

bool tiny(const CreatureFrameHeader& h) { return h.width <= 1 && h.height <= 1; }

// Where frame i's data ends: the next larger offset, or the end of the file.
uint64_t data_end(const std::vector<uint32_t>& offsets, uint32_t own, uint64_t file_size) {
    auto it = std::upper_bound(offsets.begin(), offsets.end(), own);
    return it == offsets.end() ? file_size : std::min<uint64_t>(file_size, 6ull + *it);
}

SpriteImage decode_frame(const std::vector<uint8_t>& bytes, const CreatureFrameHeader& h,
                         const std::vector<uint32_t>& offsets, const Palette& pal, StreamPaint paint) {
    SpriteImage s;
    const uint64_t begin = 6ull + h.offset;
    const uint64_t end = data_end(offsets, h.offset, bytes.size());
    if (begin >= bytes.size() || begin >= end) return s;
    s.img = decode_creature_stream(bytes, begin, end, pal, paint);
    s.x = h.x;
    s.y = h.y;
    return s;
}

// Standing shadows never land on frame 0 (the first colour frame sits at 1 before compaction).
void merge_shadow(std::vector<SpriteImage>& list, int target, const SpriteImage& shadow, int lowest = 1) {
    if (target < lowest || target >= static_cast<int>(list.size()) || !list[target].present() || !shadow.present()) return;
    SpriteImage merged = compose_over(shadow, list[target]);
    if (merged.present()) list[target] = std::move(merged);
}

}  // namespace

bool read_creature_headers(const std::vector<uint8_t>& bytes, std::vector<CreatureFrameHeader>& out) {
    out.clear();
    if (bytes.size() < 6) return false;
    const uint64_t n = rd16(bytes, 0);
    if (n == 0 || bytes.size() < 6 + 12 * n) return false;
    out.resize(n);
    for (uint64_t i = 0; i < n; ++i) {
        const uint64_t at = 6 + 12 * i;
        CreatureFrameHeader& h = out[i];
        h.x = static_cast<int16_t>(rd16(bytes, at));
        h.y = static_cast<int16_t>(rd16(bytes, at + 2));
        h.width = rd16(bytes, at + 4);
        h.height = rd16(bytes, at + 6);
        h.offset = uint32_t(bytes[at + 8]) | (uint32_t(bytes[at + 9]) << 8) | (uint32_t(bytes[at + 10]) << 16);
    }
    return true;
}

Image decode_creature_stream(const std::vector<uint8_t>& bytes, uint64_t begin, uint64_t end, const Palette& pal,
                             StreamPaint paint) {
    end = std::min<uint64_t>(end, bytes.size());
    if (begin >= end) return {};
    // Measure first: the widest column reached and the number of rows.
    int64_t width = 0, rows = 1, col = 0;
    for (uint64_t p = begin; p < end; ++p) {
        const uint8_t c = bytes[p];
        if (c == 0x80) break;
        if (c == 0x00) {
            ++rows;
            col = 0;
        } else if (c < 0x80) {
            const uint64_t run = std::min<uint64_t>(c, end - p - 1);
            col += static_cast<int64_t>(run);
            p += run;
            width = std::max(width, col);
        } else {
            col += c - 0x80;
            width = std::max(width, col);
        }
    }
    if (width <= 0 || width * rows > kMaxImagePixels) return {};
    Image img(static_cast<int32_t>(width), static_cast<int32_t>(rows));
    int32_t x = 0, y = 0;
    for (uint64_t p = begin; p < end; ++p) {
        const uint8_t c = bytes[p];
        if (c == 0x80) break;
        if (c == 0x00) {
            ++y;
            x = 0;
        } else if (c < 0x80) {
            for (int k = 0; k < c && p + 1 < end; ++k) {
                const uint8_t idx = bytes[++p];
                uint8_t* px = img.at(x++, y);
                if (paint == StreamPaint::Palette) {
                    px[0] = pal[idx].r, px[1] = pal[idx].g, px[2] = pal[idx].b, px[3] = 255;
                } else if (paint == StreamPaint::Shadow) {
                    px[0] = px[1] = px[2] = 0, px[3] = 128;
                } else {
                    px[0] = px[1] = px[2] = px[3] = 255;
                }
            }
        } else {
            x += c - 0x80;
        }
    }
    return img;
}

void decode_creature_set(const std::vector<uint8_t>& bytes, int creature, CreatureAnim anim, const Palette& pal,
                         CreatureImages& c) {
    if (creature < 0 || creature > 27) return;
    if (bytes.size() < 6 || rd16(bytes, 0) == 0) return;
    std::vector<SpriteImage>& list = c.sets[anim];
    list.clear();
    std::vector<CreatureFrameHeader> headers;
    if (!read_creature_headers(bytes, headers)) return;
    std::vector<uint32_t> offsets;
    offsets.reserve(headers.size());
    for (const CreatureFrameHeader& h : headers) offsets.push_back(h.offset);
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());

    const int n = static_cast<int>(headers.size());
    list.assign(headers.size(), SpriteImage{});
    for (int i = 0; i < n; ++i) {
        const CreatureFrameHeader& h = headers[i];
        if (tiny(h)) continue;
        bool decode = false;
        switch (anim) {
        case WLK:
        case WIP: decode = h.height > 20; break;
        case ATK: decode = i <= 9 || h.height > 20; break;
        case STD: decode = i != 0 && (i <= 8 || h.height > 20); break;
        }
        if (decode) list[i] = decode_frame(bytes, h, offsets, pal, StreamPaint::Palette);
    }

    if (anim == ATK) c.attack_shadows.assign(4, SpriteImage{});
    const bool hydra = creature == kHydra;
    const bool nine = creature_has_nine_poses(creature);
    if (anim == STD && !hydra) c.pose_shadows.assign(nine ? 9 : 3, SpriteImage{});
    for (int i = 0; i < n && anim != WIP; ++i) {
        const CreatureFrameHeader& h = headers[i];
        if (anim == STD && i == 0) {
            c.outline_mask = tiny(h) ? SpriteImage{} : decode_frame(bytes, h, offsets, pal, StreamPaint::Mask);
            continue;
        }
        if (h.height > 20) continue;
        if (anim == WLK) {
            if (i >= 6 && i <= 11) merge_shadow(list, i - 6, decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow), 0);
        } else if (anim == ATK) {
            if (i >= 10 && i <= 13) c.attack_shadows[i - 10] = decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow);
        } else if (anim == STD && !tiny(h)) {
            if (nine) {
                if (i >= 16 && i <= 19) merge_shadow(list, i - 15, decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow));
                else if (i >= 21 && i <= 29) c.pose_shadows[i - 21] = decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow);
            } else if (hydra) {
                if (i >= 9 && i <= 15) merge_shadow(list, i - 8, decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow));
            } else {
                if (i >= 10 && i <= 13) merge_shadow(list, i - 9, decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow));
                else if (i >= 15 && i <= 17) c.pose_shadows[i - 15] = decode_frame(bytes, h, offsets, pal, StreamPaint::Shadow);
            }
        }
    }
    list.erase(std::remove_if(list.begin(), list.end(), [](const SpriteImage& s) { return !s.present(); }), list.end());
    c.loaded = true;
}

SpriteImage compose_over(const SpriteImage& under, const SpriteImage& over) {
    SpriteImage out;
    if (!under.present() || !over.present()) return out;
    const int64_t left = std::min(under.x, over.x), top = std::min(under.y, over.y);
    const int64_t right = std::max<int64_t>(int64_t(under.x) + under.img.width, int64_t(over.x) + over.img.width);
    const int64_t bottom = std::max<int64_t>(int64_t(under.y) + under.img.height, int64_t(over.y) + over.img.height);
    const int64_t w = right - left, h = bottom - top;
    if (w < 1 || h < 1 || w * h > kMaxImagePixels) return out;
    out.img = Image(static_cast<int32_t>(w), static_cast<int32_t>(h));
    out.x = static_cast<int>(left);
    out.y = static_cast<int>(top);
    for (const SpriteImage* s : {&under, &over}) {
        const int dx = static_cast<int>(s->x - left), dy = static_cast<int>(s->y - top);
        for (int y = 0; y < s->img.height; ++y)
            for (int x = 0; x < s->img.width; ++x) {
                const uint8_t* src = s->img.at(x, y);
                if (src[3] != 0) std::copy(src, src + 4, out.img.at(dx + x, dy + y));
            }
    }
    return out;
}

void build_composite_images(int creature, CreatureImages& c) {
    if (creature < 0 || creature > 27) return;
    c.attack_frames.clear();
    c.projectiles.clear();
    const std::vector<SpriteImage>& standing = c.sets[STD];
    if (creature != kHydra && standing.size() >= 6 && standing[4].present()) {
        const int last = creature_has_nine_poses(creature) ? 13 : 7;
        for (int k = 5; k <= last; ++k) {
            if (k < static_cast<int>(standing.size()) && standing[k].present())
                c.attack_frames.push_back(compose_over(standing[4], standing[k]));
            else
                c.attack_frames.emplace_back();
        }
    }
    const size_t np = std::min(c.pose_shadows.size(), c.attack_frames.size());
    for (size_t i = 0; i < np; ++i) {
        if (!c.attack_frames[i].present() || !c.pose_shadows[i].present()) continue;
        SpriteImage merged = compose_over(c.pose_shadows[i], c.attack_frames[i]);
        if (merged.present()) c.attack_frames[i] = std::move(merged);
    }
    c.pose_shadows.clear();

    std::vector<SpriteImage>& parts = c.sets[ATK];
    if (parts.empty() || !parts[0].present()) return;
    if (parts.size() >= 2) {
        const size_t last = std::min<size_t>(parts.size(), 5);
        for (size_t k = 1; k < last; ++k) {
            if (!parts[k].present()) continue;
            SpriteImage pose = compose_over(parts[0], parts[k]);
            if (pose.present()) c.attack_frames.push_back(std::move(pose));
        }
        if (parts.size() > 5) {
            for (size_t k = 5; k < parts.size(); ++k)
                if (parts[k].present()) c.projectiles.push_back(std::move(parts[k]));
            parts.resize(5);
        }
    }
    const size_t na = std::min(c.attack_shadows.size(), c.attack_frames.size());
    const size_t first = c.attack_frames.size() - na;
    for (size_t j = 0; j < na; ++j) {
        SpriteImage& pose = c.attack_frames[first + j];
        if (!pose.present() || !c.attack_shadows[j].present()) continue;
        SpriteImage merged = compose_over(c.attack_shadows[j], pose);
        if (merged.present()) pose = std::move(merged);
    }
    c.attack_shadows.clear();
}

}  // namespace vorn1
