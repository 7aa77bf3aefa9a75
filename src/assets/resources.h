#pragma once
#include <SDL.h>

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "assets/agg.h"
#include "assets/cursor.h"
#include "assets/palette.h"
#include "assets/render_utils.h"
#include "lang/language.h"

namespace vorn1 {

// Groups of later subsystems; null until their loaders exist.
struct CastleScreenResources;
struct HeroScreenResources;
struct SwapWinResources;
struct NewDayResources;
struct AdventureResources;
class TitleMusic;
class NewDayMusic;
class TavernMusic;
class BuildSound;
class DigSound;
class AmbientSoundEngine;

// Owner of a group whose type a later subsystem defines: the deleter comes with the object, so
// the cache compiles and destroys it while the type is still incomplete here.
template <typename T>
using Owned = std::unique_ptr<T, void (*)(T*)>;
template <typename T, typename... Args>
Owned<T> make_owned(Args&&... args) {
    return Owned<T>(new T(std::forward<Args>(args)...), [](T* p) { delete p; });
}

// One archive entry that Resources loads, with the smallest frame count its users index.
struct ResourceEntry {
    std::string name;
    int min_frames;  // 0 for pictures, palettes and tile sets
};

// Every archive entry the asset cache itself loads (the data kit writes each of them).
const std::vector<ResourceEntry>& resource_entries();

// The asset cache built once at start-up; it keeps the archive open for the run.
// Every list may be shorter than its users expect and every texture may be null.
struct Resources {
    static constexpr const char* kPaletteEntry = "QV.PAL";

    // Loads everything; a missing entry prints "  WARNING: <NAME> missing" to the error stream,
    // a corrupt one "  WARN <NAME>: <reason>", and is then treated as missing.
    Resources(SDL_Renderer* renderer, std::unique_ptr<AggArchive> archive);
    ~Resources();
    Resources(const Resources&) = delete;
    Resources& operator=(const Resources&) = delete;

    // Makes the language current in the cache and reloads the language-dependent pictures
    // (shared sets that have replacement frames in the language folder).
    void reload_language(Language lang);
    // The same with replacement frames from another language folder (tests).
    void reload_language(Language lang, const std::string& lang_root);

    SDL_Renderer* renderer = nullptr;
    std::unique_ptr<AggArchive> archive;
    Palette palette{};
    bool palette_loaded = false;
    Language language = EN;
    bool alt_hydra = false;  // the options' alternative hydra art, read by the drawing that offers it

    IcnTextures system_btn;  // SYSTEM.ICN
    IcnTextures buybuild;    // BUYBUILD.ICN: 0 top, 1 middle, 2 bottom, 3 text field
    IcnTextures mons32;      // MONS32.ICN by creature id
    IcnTextures monsters;    // MONSTERS.ICN by creature id
    IcnTextures strip;
    IcnTextures artifact;
    IcnTextures resource;
    IcnTextures spells;
    IcnTextures book;
    IcnTextures townwind;
    IcnTextures legend;
    IcnTextures rsrc32;
    IcnTextures flag32;  // headers keep each flag's stored size
    IcnTextures boat32;
    IcnTextures obj32_07;
    IcnTextures campaign;  // frame scenario + 4 = scenario picture

    std::array<SDL_Texture*, 36> portraits{};     // PORT%04d.ICN frame 0 by portrait number
    std::array<SDL_Texture*, 16> crests{};        // CRST0000..0015: class + 4 * colour
    std::array<SDL_Texture*, 4> colour_crests{};  // CRST0016..0019 by player colour
    SDL_Texture* second_crest = nullptr;          // CRST0020.ICN, announcements
    SDL_Texture* adv_border = nullptr;            // ADVBORD.ICN frame 0, 640 x 480

    CursorManager cursors;

    Owned<CastleScreenResources> castle{nullptr, nullptr};
    Owned<HeroScreenResources> hero_screen{nullptr, nullptr};
    Owned<SwapWinResources> swap_win{nullptr, nullptr};
    Owned<NewDayResources> new_day{nullptr, nullptr};
    Owned<AdventureResources> adventure{nullptr, nullptr};  // filled by load_adventure_groups (ground tiles too)

    Owned<TitleMusic> title_music{nullptr, nullptr};
    Owned<NewDayMusic> new_day_music{nullptr, nullptr};
    Owned<TavernMusic> tavern_music{nullptr, nullptr};
    Owned<BuildSound> build_sound{nullptr, nullptr};
    Owned<DigSound> dig_sound{nullptr, nullptr};
    Owned<AmbientSoundEngine> ambient{nullptr, nullptr};

    int warnings = 0;  // missing or corrupt entries met while loading
    std::vector<std::string> overridden;  // shared sets now showing replacement frames

private:
    void load_all();
    void apply_language(const std::string& lang_root);
    void load_set(const char* name, IcnTextures& out);
    SDL_Texture* load_frame0(const std::string& name);
    void warn_missing(const std::string& name);
    void warn_corrupt(const std::string& name, const std::string& why);
    void free_all();
};

}  // namespace vorn1
