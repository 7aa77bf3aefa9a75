#include "adventure/adv_geometry.h"

#include <algorithm>
#include <cstdint>

#include "world/map.h"

namespace vorn1 {

namespace {
constexpr int kBorderPx = kViewBorderTiles * kTileSize;

// Floor division for possibly negative numerators.
int floor_div(int64_t a, int64_t b) {
    int64_t q = a / b;
    if ((a % b != 0) && ((a < 0) != (b < 0))) --q;
    return (int)q;
}

int map_w(const GameMap& m) { return std::max(1, m.width); }
int map_h(const GameMap& m) { return std::max(1, m.height); }
}  // namespace

bool point_in(const SDL_Rect& r, int x, int y) { return x >= r.x && y >= r.y && x < r.x + r.w && y < r.y + r.h; }

SDL_Point tile_screen_pos(int tx, int ty, int view_x, int view_y) {
    return SDL_Point{(tx + kViewBorderTiles) * kTileSize - view_x, (ty + kViewBorderTiles) * kTileSize - view_y};
}

bool tile_rect_on_view(int px, int py) {
    return px < kMapViewRect.w && px > -kTileSize && py < kMapViewRect.h && py > -kTileSize;
}

bool screen_to_tile(const GameMap& map, int view_x, int view_y, int sx, int sy, int& tx, int& ty) {
    tx = ty = -1;
    if (!point_in(kMapViewRect, sx, sy)) return false;
    const int x = floor_div((int64_t)sx + view_x, kTileSize) - kViewBorderTiles;
    const int y = floor_div((int64_t)sy + view_y, kTileSize) - kViewBorderTiles;
    if (!map.in_bounds(x, y)) return false;
    tx = x;
    ty = y;
    return true;
}

int view_max_x(const GameMap& map) { return (map_w(map) - 1) * kTileSize + 17; }
int view_max_y(const GameMap& map) { return (map_h(map) - 1) * kTileSize + 16; }

void clamp_view(const GameMap& map, int& view_x, int& view_y) {
    view_x = std::clamp(view_x, 0, view_max_x(map));
    view_y = std::clamp(view_y, 0, view_max_y(map));
}

void centre_view_on_tile(const GameMap& map, int tx, int ty, int& view_x, int& view_y) {
    view_x = tx * kTileSize + 17;
    view_y = ty * kTileSize + 16;
    clamp_view(map, view_x, view_y);
}

void visible_tile_range(int view_x, int view_y, int& x0, int& y0, int& x1, int& y1) {
    x0 = floor_div(view_x, kTileSize) - kViewBorderTiles;
    y0 = floor_div(view_y, kTileSize) - kViewBorderTiles;
    x1 = floor_div((int64_t)view_x + kMapViewRect.w - 1, kTileSize) - kViewBorderTiles;
    y1 = floor_div((int64_t)view_y + kMapViewRect.h - 1, kTileSize) - kViewBorderTiles;
}

SDL_Rect minimap_view_rect(const GameMap& map, int view_x, int view_y) {
    const int64_t mw = (int64_t)map_w(map) * kTileSize, mh = (int64_t)map_h(map) * kTileSize;
    int x0 = kMinimapRect.x + (int)(((int64_t)view_x - kBorderPx) * kMinimapRect.w / mw);
    int y0 = kMinimapRect.y + (int)(((int64_t)view_y - kBorderPx) * kMinimapRect.h / mh);
    int x1 = kMinimapRect.x + (int)(((int64_t)view_x - kBorderPx + kMapViewRect.w) * kMinimapRect.w / mw);
    int y1 = kMinimapRect.y + (int)(((int64_t)view_y - kBorderPx + kMapViewRect.h) * kMinimapRect.h / mh);
    x0 = std::max(x0, kMinimapRect.x);
    y0 = std::max(y0, kMinimapRect.y);
    x1 = std::min(x1, kMinimapRect.x + kMinimapRect.w);
    y1 = std::min(y1, kMinimapRect.y + kMinimapRect.h);
    return SDL_Rect{x0, y0, std::max(0, x1 - x0), std::max(0, y1 - y0)};
}

bool minimap_point_to_view(const GameMap& map, int sx, int sy, int& view_x, int& view_y) {
    if (!point_in(kMinimapRect, sx, sy)) return false;
    const int64_t mw = (int64_t)map_w(map) * kTileSize, mh = (int64_t)map_h(map) * kTileSize;
    view_x = (int)((int64_t)(sx - kMinimapRect.x) * mw / kMinimapRect.w) + kBorderPx - kMapViewRect.w / 2;
    view_y = (int)((int64_t)(sy - kMinimapRect.y) * mh / kMinimapRect.h) + kBorderPx - kMapViewRect.h / 2;
    clamp_view(map, view_x, view_y);
    return true;
}

SDL_Rect minimap_tile_rect(const GameMap& map, int tx, int ty) {
    const int w = map_w(map), h = map_h(map);
    const int x0 = tx * kMinimapRect.w / w, x1 = (tx + 1) * kMinimapRect.w / w;
    const int y0 = ty * kMinimapRect.h / h, y1 = (ty + 1) * kMinimapRect.h / h;
    return SDL_Rect{kMinimapRect.x + x0, kMinimapRect.y + y0, std::max(1, x1 - x0), std::max(1, y1 - y0)};
}

SDL_Rect adv_button_rect(int button) {
    if (button < 0 || button >= kAdvButtonCount) return SDL_Rect{0, 0, 0, 0};
    return SDL_Rect{kAdvButtonX + (button % 3) * kAdvButtonW, kAdvButtonY + (button / 3) * kAdvButtonH, kAdvButtonW,
                    kAdvButtonH};
}

int adv_button_at(int sx, int sy) {
    for (int b = 0; b < kAdvButtonCount; ++b)
        if (point_in(adv_button_rect(b), sx, sy)) return b;
    return -1;
}

SDL_Rect locator_row_rect(bool towns, int visible_row) {
    const SDL_Rect& col = towns ? kLocatorTownCol : kLocatorHeroCol;
    return SDL_Rect{col.x, col.y + visible_row * kLocatorRowH, col.w, kLocatorRowH};
}

LocatorHit locator_hit(int sx, int sy) {
    if (point_in(kHeroUpArrow, sx, sy)) return {LocatorHitKind::HeroUp, -1};
    if (point_in(kHeroDownArrow, sx, sy)) return {LocatorHitKind::HeroDown, -1};
    if (point_in(kTownUpArrow, sx, sy)) return {LocatorHitKind::TownUp, -1};
    if (point_in(kTownDownArrow, sx, sy)) return {LocatorHitKind::TownDown, -1};
    if (point_in(kLocatorHeroCol, sx, sy)) return {LocatorHitKind::HeroRow, (sy - kLocatorHeroCol.y) / kLocatorRowH};
    if (point_in(kLocatorTownCol, sx, sy)) return {LocatorHitKind::TownRow, (sy - kLocatorTownCol.y) / kLocatorRowH};
    return {};
}

}  // namespace vorn1
