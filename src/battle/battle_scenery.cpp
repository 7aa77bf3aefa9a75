// The battlefield picture: sky and horizon, ground tiles and obstacles chosen by the terrain under
// the battle, composed once per battle from the battle's seed.
#include <SDL.h>

#include <algorithm>
#include <random>

#include "assets/agg.h"
#include "assets/render_utils.h"
#include "battle/battle_scenery.h"
#include "battle/battle_screen.h"
#include "battle/creature_sprites.h"
#include "battle/hex_field.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr uint8_t kGraveyardSet = 7;
constexpr uint8_t kMountainSet = 8;
constexpr uint8_t kForestSet = 9;

uint32_t read_u16(const std::vector<uint8_t>& b, size_t at) { return b[at] | (b[at + 1] << 8); }

bool layer_uses(const MapTile& t, uint8_t set) { return t.layer1_set == set || t.layer2_set == set; }

void release_frames(std::vector<BattleSprite>& list) {
    for (BattleSprite& f : list)
        if (f.tex) SDL_DestroyTexture(f.tex);
    list.clear();
}

bool ends_with(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// Obstacles drawn over the stacks of their own row.
bool obstacle_in_front(const std::string& stem, int kind) {
    return (stem == "swamp" && kind == 1) || (stem == "snow" && kind == 2) ||
           (stem == "desert" && (kind == 0 || kind == 2)) || (stem == "grass" && kind == 0);
}

}  // namespace

int battle_terrain_for_ground(int g) {
    if (g >= 20 && g <= 39) return TerrainGrass;
    if (g >= 40 && g <= 59) return TerrainSnow;
    if (g >= 60 && g <= 79) return TerrainSwamp;
    if (g >= 80 && g <= 99) return TerrainLava;
    if (g >= 100 && g <= 119) return TerrainDesert;
    if (g >= 120 && g <= 254) return TerrainDirt;
    return TerrainWater;
}

Image decode_bkg(const std::vector<uint8_t>& bytes, const Palette& pal) {
    if (bytes.size() < 6) return {};
    const uint32_t w = read_u16(bytes, 2), h = read_u16(bytes, 4);
    if (w == 0 || h == 0 || bytes.size() < static_cast<size_t>(w) * h + 6) return {};
    Image img(static_cast<int32_t>(w), static_cast<int32_t>(h));
    for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        const Color& c = pal[bytes[6 + i]];
        uint8_t* px = &img.pixels[i * 4];
        px[0] = c.r, px[1] = c.g, px[2] = c.b, px[3] = 255;
    }
    return img;
}

std::vector<XtlImage> decode_xtl(const std::vector<uint8_t>& bytes, const Palette& pal) {
    std::vector<XtlImage> out;
    if (bytes.size() < 6) return out;
    const uint32_t n = read_u16(bytes, 0);
    if (n == 0) return out;
    out.resize(n);
    for (uint32_t i = 0; i < n; ++i) {
        if (bytes.size() < 12 * static_cast<size_t>(i) + 18) break;
        const size_t rec = 6 + 12 * static_cast<size_t>(i);
        out[i].x = static_cast<int16_t>(read_u16(bytes, rec));
        out[i].y = static_cast<int16_t>(read_u16(bytes, rec + 2));
        const uint64_t d = bytes[rec + 8] | (bytes[rec + 9] << 8) | (static_cast<uint32_t>(bytes[rec + 10]) << 16);
        if (d + 6 < bytes.size()) out[i].img = decode_creature_stream(bytes, d + 6, bytes.size(), pal, StreamPaint::Palette);
    }
    return out;
}

void pick_scene_files(const GameMap& map, int x, int y, int terrain, std::string& bkg, std::string& xtl,
                      std::string& obj, bool graveyard) {
    if (graveyard) {
        bkg = "gravyard.bkg", xtl = "dirt.xtl", obj = "dgrass.obj";
        return;
    }
    int mountains = 0, forests = 0;
    for (int d = 0; d <= 2; ++d)
        for (int dy = -1; dy <= 1; ++dy)
            for (int dx = -1; dx <= 1; ++dx) {
                if (dx == 0 && dy == 0) continue;
                const MapTile* t = map.tile(x + dx * d, y + dy * d);
                if (!t) continue;
                if (layer_uses(*t, kMountainSet)) ++mountains;
                else if (layer_uses(*t, kForestSet)) ++forests;
            }
    const bool forest = mountains < forests;
    std::string b, t, o;
    switch (terrain) {
    case TerrainDirt: b = forest ? "frstwdrt" : "mtnwdrtf", t = "dirt", o = "dgrass"; break;
    case TerrainSnow: b = forest ? "snowfrst" : "snowmtnf", t = o = "snow"; break;
    case TerrainSwamp: b = t = o = "swamp"; break;
    case TerrainLava: b = t = o = "lava"; break;
    case TerrainDesert: b = t = o = "desert"; break;
    case TerrainWater: b = t = o = "boat"; break;
    case TerrainGrass: b = forest ? "frstwgrs" : "mtnwgrsf", t = o = "grass"; break;
    default: b = "frstwgrs", t = o = "grass"; break;
    }
    bkg = b + ".bkg", xtl = t + ".xtl", obj = o + ".obj";
}

SDL_Texture* BattleScreen::load_bkg_texture(const std::string& name) {
    if (!battle_res || !battle_res->archive || !renderer) return nullptr;
    const Image img = decode_bkg(battle_res->archive->get(name), battle_res->palette);
    return img.empty() ? nullptr : img_to_tex(renderer, img, false);
}

std::vector<BattleSprite> BattleScreen::load_xtl(const std::string& name) {
    std::vector<BattleSprite> frames;
    if (!battle_res || !battle_res->archive || !renderer) return frames;
    for (const XtlImage& f : decode_xtl(battle_res->archive->get(name), battle_res->palette)) {
        BattleSprite s{nullptr, f.img.width, f.img.height, f.x, f.y};
        if (!f.img.empty()) s.tex = img_to_tex(renderer, f.img, true);
        frames.push_back(s);
    }
    return frames;
}

void BattleScreen::build_background(const GameMap& map, int x, int y, unsigned seed, bool graveyard) {
    if (background) SDL_DestroyTexture(background);
    background = nullptr;
    int terrain = TerrainGrass;
    bool grave = graveyard;
    if (x < 0 || x >= map.width || y < 0) {
        terrain = graveyard ? TerrainDirt : TerrainGrass;
    } else if (!graveyard) {
        const MapTile* t = map.tile(x, y);
        if (!t) terrain = TerrainGrass;
        else if (layer_uses(*t, kGraveyardSet)) grave = true;
        else terrain = battle_terrain_for_ground(t->ground);
    }
    std::string bkg, xtl, obj;
    pick_scene_files(map, x, y, terrain, bkg, xtl, obj, grave);
    background = render_scene(bkg, xtl, obj, seed);
    background_w = 640;
    background_h = 460;
}

SDL_Texture* BattleScreen::render_scene(const std::string& bkg, const std::string& xtl, const std::string& obj,
                                        unsigned seed) {
    release_frames(scene_frames);
    field_objects.clear();
    scene_blocked = {};
    if (!renderer) return nullptr;
    SDL_Texture* sky_picture = load_bkg_texture(bkg);
    std::vector<BattleSprite> tiles = load_xtl(xtl);
    std::vector<BattleSprite> obstacles = load_xtl(obj);

    if (battle_res) sky.init(renderer, battle_res->palette);
    if (battle_res && battle_res->archive && (ends_with(bkg, "boat.bkg") || ends_with(bkg, "frstwgrs.bkg")))
        sky.set_source(battle_res->archive->get(bkg));
    else
        sky.reset();

    SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, 640, 460);
    if (!target) {
        if (sky_picture) SDL_DestroyTexture(sky_picture);
        release_frames(tiles);
        release_frames(obstacles);
        return nullptr;
    }
    // The field is opaque: copied every frame without blending.
    SDL_SetTextureBlendMode(target, SDL_BLENDMODE_NONE);
    SDL_Texture* old = SDL_GetRenderTarget(renderer);
    SDL_SetRenderTarget(renderer, target);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);

    auto tile_at = [&](int i) -> const BattleSprite* {
        return i >= 0 && i < static_cast<int>(tiles.size()) && tiles[i].tex ? &tiles[i] : nullptr;
    };
    auto put = [&](const BattleSprite* f, int px, int py) {
        if (!f) return;
        SDL_Rect dst{px, py, f->w, f->h};
        SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
    };
    std::vector<int> decorations;
    for (int i = 4; i <= 7; ++i)
        if (tile_at(i)) decorations.push_back(i);

    std::mt19937 g(seed);
    for (int r = -3; r <= 8; ++r) {
        const int py = 80 * r + 68;
        if (r & 1) {
            put(tile_at(0), 0, py - 6);
            put(tile_at(3), 612, py);
        } else {
            put(tile_at(1), 0, py);
            put(tile_at(2), 573, py - 6);
        }
    }
    struct Candidate {
        int x, y, row, col;
    };
    std::vector<Candidate> candidates;
    auto ground_row = [&](int r) {
        for (int c = 1; c <= 7; ++c) {
            const int rx = (r & 1) ? ROW_B_ALL_X[c] : ROW_A_ALL_X[c];
            if (!decorations.empty())
                put(tile_at(decorations[g() % decorations.size()]), rx, 80 * r + 62);
            if (r >= 0 && r <= 4 && c >= 3 && c <= 5) candidates.push_back({rx + 39, 80 * r + 141, r, c});
        }
    };
    for (int r = -3; r <= -1; ++r) ground_row(r);
    for (int r = 5; r <= 8; ++r) ground_row(r);
    for (int r = 0; r <= 4; ++r) ground_row(r);
    const uint32_t details = g() % 8 + 8;
    for (uint32_t k = 0; k < details; ++k) {
        const uint32_t a = g(), b = g(), c = g();
        const int row = static_cast<int>(a % 5), col = static_cast<int>(b % 7) + 1;
        put(tile_at(static_cast<int>(c % 3) + 8), hex_row_x(row, col), 80 * row + 62);
    }
    if (opt_hex_outline) {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(renderer, 255, 140, 0, 200);
        std::vector<SDL_Point> pts;
        for (int r = 0; r < 5; ++r)
            for (int c = 1; c <= 7; ++c) {
                const int x0 = hex_row_x(r, c), y0 = 80 * r + 62;
                for (int k = 0; k <= 18; ++k) {
                    const int ux = x0 + 36 - 2 * k, lx = x0 + 2 * k;
                    pts.push_back({ux, y0 + k});
                    pts.push_back({2 * x0 + 73 - ux, y0 + k});
                    pts.push_back({lx, y0 + 80 + k});
                    pts.push_back({2 * x0 + 77 - lx, y0 + 80 + k});
                }
                SDL_RenderDrawLine(renderer, x0, y0 + 19, x0, y0 + 79);
                SDL_RenderDrawLine(renderer, x0 + 77, y0 + 19, x0 + 77, y0 + 79);
            }
        SDL_RenderDrawPoints(renderer, pts.data(), static_cast<int>(pts.size()));
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    }
    if (sky_picture) {
        int w = 0, h = 0;
        SDL_QueryTexture(sky_picture, nullptr, nullptr, &w, &h);
        SDL_Rect dst{0, 0, w, h};
        SDL_RenderCopy(renderer, sky_picture, nullptr, &dst);
        SDL_DestroyTexture(sky_picture);
    }

    if (!obstacles.empty() && !candidates.empty()) {
        std::mt19937 h(seed + 1);
        // A hand-written shuffle: the library's differs between implementations, and a battle must
        // lay out the same field from the same seed everywhere.
        for (size_t i = candidates.size() - 1; i > 0; --i) std::swap(candidates[i], candidates[h() % (i + 1)]);
        const std::string stem = obj.substr(0, obj.rfind('.'));
        if (!siege) {
            const uint32_t m = h() % 4;
            std::vector<FieldObject> back, front;
            for (uint32_t j = 0; j < m && j < candidates.size(); ++j) {
                int kind = static_cast<int>(h() % 3);
                if ((stem == "boat" || stem == "lava") && kind == 2) kind = 0;
                if (kind >= static_cast<int>(obstacles.size())) kind = 0;
                const BattleSprite& f = obstacles[static_cast<size_t>(kind)];
                if (!f.tex || f.w <= 0 || f.h <= 0) continue;
                const Candidate& at = candidates[j];
                FieldObject o;
                o.rect = SDL_Rect{at.x - f.w / 2, at.y + 11 - f.h, f.w, f.h};
                o.row = at.row;
                o.col = at.col;
                o.kind = kind;
                o.layer = obstacle_in_front(stem, kind) ? 1 : 0;
                scene_blocked[static_cast<size_t>(at.row)][static_cast<size_t>(at.col)] = 1;
                (o.layer ? front : back).push_back(o);
            }
            field_objects = back;
            field_objects.insert(field_objects.end(), front.begin(), front.end());
        }
    }
    scene_frames = std::move(obstacles);
    release_frames(tiles);
    SDL_SetRenderTarget(renderer, old);
    return target;
}

}  // namespace vorn1
