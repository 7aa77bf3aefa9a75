#pragma once
// Textures of the adventure screen, decoded once from the archive; drawing never decodes.
#include <SDL.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

class AggArchive;

// One decoded frame: its texture (null when empty or missing) and the stored offset and size.
struct SpriteFrame {
    SDL_Texture* tex = nullptr;
    int x = 0, y = 0, w = 0, h = 0;
};

struct SpriteSet {
    std::vector<SpriteFrame> frames;
    // Null when the index is outside the set or the frame has no texture.
    const SpriteFrame* get(int i) const;
    int size() const { return (int)frames.size(); }
};

// Archive entries of the adventure screen.
namespace adv_entry {
inline constexpr const char* GROUND = "GROUND32.TIL";
inline constexpr const char* BOAT = "BOAT32.ICN";
inline constexpr const char* FLAGS = "FLAG32.ICN";
inline constexpr const char* ROUTE = "ROUTE.ICN";
inline constexpr const char* BORDER = "ADVBORD.ICN";
inline constexpr const char* BUTTONS = "ADVBTNS.ICN";
inline constexpr const char* LOCATORS = "LOCATORS.ICN";
inline constexpr const char* MINI_PORTRAITS = "MINIPORT.ICN";
inline constexpr const char* CREATURES = "MONS32.ICN";
inline constexpr const char* RESOURCES = "RESOURCE.ICN";
inline constexpr const char* PUZZLE = "PUZZLE.ICN";
inline constexpr const char* PANEL = "APANEL.ICN";
inline constexpr const char* SPELLS = "SPELLS.ICN";
// Hero figures by class (knight, barbarian, sorceress, warlock).
inline constexpr std::array<const char*, 4> HEROES{"KNGT32.ICN", "BARB32.ICN", "SORC32.ICN", "WRLK32.ICN"};
}  // namespace adv_entry

// Sprite set of object layer set `set` (1..254): "OBJ32-" + two or three digits + ".ICN".
std::string object_set_entry(int set);

// Frames of the route arrows: next direction 0..7, the destination cross 8; plus 9 beyond the points.
constexpr int kRouteDestFrame = 8;
constexpr int kRouteFramesPerKind = 9;
int route_marker_frame(uint8_t next_dir, bool is_destination, bool reachable);
// FLAG32 frame of a seat colour byte (two animation frames each).
int flag_frame_for_colour(int colour);
// Adventure button frames: up 2 b, down 2 b + 1.
// Locator frames: 0..7 town pictures (faction x 2 + castle), 8 selection frame, 9 up arrow, 10 down arrow.
constexpr int kLocatorSelectFrame = 8;
constexpr int kLocatorUpFrame = 9;
constexpr int kLocatorDownFrame = 10;

// RGB of a seat colour byte (red, green, blue, yellow); grey for any other value.
SDL_Color player_rgb(int colour);
// Minimap colour of a ground band when no tile picture gives one.
SDL_Color ground_band_rgb(int ground);

// A rectangle of the border picture drawn in one copy: from its unblended copy where every pixel is
// opaque, blended where any pixel is not.
struct BorderPart {
    SDL_Rect rect{0, 0, 0, 0};
    bool opaque = false;
};

// The picture cut into cells of `cell` pixels, left out where wholly transparent, merged along each
// row of cells and then down rows of the same pattern. Opaque parts hold only pixels of alpha 255.
std::vector<BorderPart> border_parts(const Image& img, int cell);

struct AdventureResources {
    AdventureResources() = default;
    ~AdventureResources();
    AdventureResources(const AdventureResources&) = delete;
    AdventureResources& operator=(const AdventureResources&) = delete;

    // Decodes every entry present; a missing one is reported as "  WARNING: <NAME> missing" and a
    // corrupt one as "  WARN <NAME>: <reason>" on the error stream. Returns how many were missing or
    // corrupt. Loading again frees the previous textures first.
    int load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette);
    void unload();

    SDL_Renderer* renderer = nullptr;
    std::vector<SDL_Texture*> ground;             // by ground index
    std::vector<SDL_Texture*> ground_mirrored;    // the same mirrored, for opaque tiles (else null)
    std::array<SDL_Color, 256> ground_rgb{};      // minimap colour by ground index
    std::array<SpriteSet, 256> objects;           // by layer sprite set
    std::array<SpriteSet, 4> heroes;              // by class
    SpriteSet boat, flags, route, buttons, locators, mini_portraits, creatures, resources, puzzle, panel, spells;
    SDL_Texture* border = nullptr;                // 640 x 480
    SDL_Texture* border_opaque = nullptr;         // its colours unblended, for the opaque parts
    std::vector<BorderPart> border_cut;           // empty unless the border is 640 x 480
    SDL_Texture* minimap = nullptr;               // streaming, rewritten by draw_minimap
    mutable std::vector<uint32_t> minimap_scratch;  // pixels of the minimap before upload
    int warnings = 0;
};

struct Resources;
// Loads the adventure screen's textures and the new-day pictures from the asset cache's archive and
// palette into its `adventure` and `new_day` groups, replacing what they held. Both groups exist
// afterwards (empty without an archive). Returns the number of entries missing or corrupt.
int load_adventure_groups(Resources& res);

}  // namespace vorn1
