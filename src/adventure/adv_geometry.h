#pragma once
// Where things are on the adventure screen, and the conversions between screen points, map tiles
// and the view position. The frame loop and every adventure drawing share these.
#include <SDL.h>

namespace vorn1 {

struct GameMap;

constexpr int kTileSize = 32;
// The view position counts pixels from a point eight tiles above and left of the map's corner.
constexpr int kViewBorderTiles = 8;
constexpr SDL_Rect kMapViewRect{0, 0, 479, 480};
constexpr SDL_Rect kScreenRect{0, 0, 640, 480};
constexpr SDL_Rect kPanelColumnRect{479, 0, 161, 480};
constexpr SDL_Rect kLowerPanelRect{479, 160, 161, 320};
constexpr SDL_Rect kMinimapRect{479, 16, 146, 144};

// Side panel: hero list (left) and town list (right), four rows each, with scroll arrows.
constexpr int kLocatorRows = 4;
constexpr int kLocatorRowH = 32;
constexpr int kLocatorTop = 176;
constexpr SDL_Rect kLocatorHeroCol{484, kLocatorTop, 64, kLocatorRows * kLocatorRowH};
constexpr SDL_Rect kLocatorTownCol{560, kLocatorTop, 64, kLocatorRows * kLocatorRowH};
constexpr int kLocatorArrowH = 12;
constexpr SDL_Rect kHeroUpArrow{484, kLocatorTop - kLocatorArrowH - 2, 64, kLocatorArrowH};
constexpr SDL_Rect kHeroDownArrow{484, kLocatorTop + kLocatorRows * kLocatorRowH + 2, 64, kLocatorArrowH};
constexpr SDL_Rect kTownUpArrow{560, kLocatorTop - kLocatorArrowH - 2, 64, kLocatorArrowH};
constexpr SDL_Rect kTownDownArrow{560, kLocatorTop + kLocatorRows * kLocatorRowH + 2, 64, kLocatorArrowH};

// The 3 x 2 adventure buttons.
constexpr int kAdvButtonX = 480, kAdvButtonY = 320, kAdvButtonW = 48, kAdvButtonH = 36;
constexpr int kAdvButtonCount = 6;
enum AdvButton : int {
    ADVBTN_NEXT_HERO = 0,
    ADVBTN_CONTINUE = 1,
    ADVBTN_KINGDOM = 2,
    ADVBTN_END_TURN = 3,
    ADVBTN_OPTIONS = 4,
    ADVBTN_SYSTEM = 5,
};
// Below the buttons: the summary or mini hero panel, and the new-day panel.
constexpr SDL_Rect kInfoPanelRect{480, 392, 144, 88};

bool point_in(const SDL_Rect& r, int x, int y);

// Top-left of tile (x, y) on the screen for a view position.
SDL_Point tile_screen_pos(int tx, int ty, int view_x, int view_y);
// Some pixel of a tile at that screen position lies in the map view.
bool tile_rect_on_view(int px, int py);
// The map tile under a screen point; false outside the map view or off the map.
bool screen_to_tile(const GameMap& map, int view_x, int view_y, int sx, int sy, int& tx, int& ty);

// Largest view position: every tile can be brought to the centre.
int view_max_x(const GameMap& map);
int view_max_y(const GameMap& map);
void clamp_view(const GameMap& map, int& view_x, int& view_y);
// View position that centres a tile (clamped).
void centre_view_on_tile(const GameMap& map, int tx, int ty, int& view_x, int& view_y);
// First and last tile (inclusive, may lie off the map) that the view shows.
void visible_tile_range(int view_x, int view_y, int& x0, int& y0, int& x1, int& y1);

// The view rectangle as drawn on the minimap, clipped to the minimap.
SDL_Rect minimap_view_rect(const GameMap& map, int view_x, int view_y);
// A click on the minimap: the view position that centres the clicked point; false outside it.
bool minimap_point_to_view(const GameMap& map, int sx, int sy, int& view_x, int& view_y);
// Minimap pixel span of a tile (x0 inclusive, x1 exclusive), at least one pixel wide.
SDL_Rect minimap_tile_rect(const GameMap& map, int tx, int ty);

// Adventure button under a screen point, -1 none.
int adv_button_at(int sx, int sy);
SDL_Rect adv_button_rect(int button);

enum class LocatorHitKind { None, HeroRow, TownRow, HeroUp, HeroDown, TownUp, TownDown };
struct LocatorHit {
    LocatorHitKind kind = LocatorHitKind::None;
    int row = -1;  // visible row 0..3 for the row kinds
};
LocatorHit locator_hit(int sx, int sy);
SDL_Rect locator_row_rect(bool towns, int visible_row);

}  // namespace vorn1
