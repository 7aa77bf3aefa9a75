#pragma once
// The pictures of the town screen, its build screen and its sub-screens, loaded once from the archive.
#include <SDL.h>

#include <array>
#include <string>
#include <vector>

#include "assets/castle_pal_cycle.h"
#include "assets/icn.h"
#include "assets/palette.h"
#include "lang/alt_hydra.h"
#include "town/recruit.h"

namespace vorn1 {

class AggArchive;
struct Resources;

extern const std::array<const char*, 4> TOWNBKG_NAMES;
// [faction][entry]: dwellings 0..5, tent 6, castle 7.
extern const std::array<std::array<const char*, 8>, 4> FACTION_BLD_ICNS;
constexpr int kTentEntry = 6;
constexpr int kCastleEntry = 7;

// Loads TAVWIN.ICN into the lists (blended textures and headers); a missing or broken set leaves them
// as they were.
void load_tavwin_resources(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette,
                           std::vector<SDL_Texture*>& textures, std::vector<SpriteHeader>& headers);

// Loading steps shared by the screens' picture groups: the entry under its name or its lower-case
// name; an opaque picture (null when missing or broken, silently); a blended sprite set (a missing
// one writes `missing_note` to the error stream, a broken one "  WARN <NAME>: <reason>").
std::vector<uint8_t> town_entry_bytes(const AggArchive& archive, const std::string& name);
SDL_Texture* town_picture(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name);
bool town_sprite_set(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name,
                     std::vector<SDL_Texture*>& frames, const char* missing_note);

struct CastleScreenResources {
    CastleScreenResources() = default;
    // Resets the palette cycle; the textures are the owner's to release through unload().
    ~CastleScreenResources();
    CastleScreenResources(const CastleScreenResources&) = delete;
    CastleScreenResources& operator=(const CastleScreenResources&) = delete;

    void load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette);
    void unload();

    SDL_Renderer* renderer = nullptr;
    std::array<SDL_Texture*, 4> town_background{};
    SDL_Texture* status_bar = nullptr;
    std::vector<SDL_Texture*> building_pictures;
    SDL_Texture* build_background = nullptr;
    std::vector<SDL_Texture*> thieves_guild_frames, tavern_frames, well_frames, mage_guild_frames, dock_frames;
    std::vector<SpriteHeader> thieves_guild_headers, tavern_headers, well_headers, mage_guild_headers, dock_headers;
    std::vector<SDL_Texture*> tavern_window_frames;
    std::vector<SpriteHeader> tavern_window_headers;
    std::vector<SDL_Texture*> barbarian_extra_frames;
    std::vector<SpriteHeader> barbarian_extra_headers;
    std::array<std::array<std::vector<SDL_Texture*>, 8>, 4> faction_building_frames;
    std::array<std::array<std::vector<SpriteHeader>, 8>, 4> faction_building_headers;
    RecruitResources recruit;
    SDL_Texture* signpost_big = nullptr;  // the thieves' guild's trading-post sign, of the program's own
    AltHydraArt alt_hydra;
    bool alt_hydra_enabled = false;
    CastlePalCycle palette_cycle;
};

// Builds the cache's town group (replacing an earlier one); does nothing without an archive.
void load_town_groups(Resources& res);

}  // namespace vorn1
