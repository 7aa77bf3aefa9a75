#include "town/castle_screen_resources.h"

#include "town/heroscrn.h"
#include "town/swapwin.h"
#include "town/thieves_guild_screen.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <iostream>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "lang/language.h"

namespace vorn1 {

const std::array<const char*, 4> TOWNBKG_NAMES = {"TOWNBKG0.BMP", "TOWNBKG1.BMP", "TOWNBKG2.BMP", "TOWNBKG3.BMP"};

const std::array<std::array<const char*, 8>, 4> FACTION_BLD_ICNS = {{
    {"FARM_D0.ICN", "FARM_D1.ICN", "FARM_D2.ICN", "FARM_D3.ICN", "FARM_D4.ICN", "FARM_D5.ICN", "FARMTENT.ICN",
     "FARMCAST.ICN"},
    {"PLNS_D0.ICN", "PLNS_D1.ICN", "PLNS_D2.ICN", "PLNS_D3.ICN", "PLNS_D4.ICN", "PLNS_D5.ICN", "PLNSTENT.ICN",
     "PLNSCAST.ICN"},
    {"FRST_D0.ICN", "FRST_D1.ICN", "FRST_D2.ICN", "FRST_D3.ICN", "FRST_D4.ICN", "FRST_D5.ICN", "FRSTTENT.ICN",
     "FRSTCAST.ICN"},
    {"MTN_D0.ICN", "MTN_D1.ICN", "MTN_D2.ICN", "MTN_D3.ICN", "MTN_D4.ICN", "MTN_D5.ICN", "MTNTENT.ICN",
     "MTNCAST.ICN"},
}};

namespace {

// The entry's bytes under its name, else under the lower-case name; empty when neither holds any.
std::vector<uint8_t> entry_bytes(const AggArchive& archive, const std::string& name) {
    std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        bytes = archive.get(lower);
    }
    return bytes;
}

SDL_Texture* picture(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name,
                     bool report) {
    const std::vector<uint8_t> bytes = entry_bytes(archive, name);
    if (bytes.empty()) {
        if (report) std::cerr << "  WARNING: " << name << " missing\n";
        return nullptr;
    }
    try {
        SDL_Texture* tex = img_to_tex(r, decode_bmp(bytes, pal), false);
        if (report) std::cout << "  " << name << " loaded\n";
        return tex;
    } catch (const std::exception& e) {
        std::cerr << "  WARN " << name << ": " << e.what() << "\n";
        return nullptr;
    }
}

// One blended texture per frame and the headers; lists unchanged when the set is missing or broken.
bool sprite_set(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name,
                std::vector<SDL_Texture*>& frames, std::vector<SpriteHeader>* headers, const char* missing_note) {
    const std::vector<uint8_t> bytes = entry_bytes(archive, name);
    if (bytes.empty()) {
        if (missing_note) std::cerr << missing_note;
        return false;
    }
    try {
        IcnFrames set = decode_icn(bytes, pal);
        for (SDL_Texture* t : frames)
            if (t) SDL_DestroyTexture(t);
        frames.assign(set.frames.size(), nullptr);
        for (size_t i = 0; i < set.frames.size(); ++i) frames[i] = img_to_tex(r, set.frames[i], true);
        if (headers) *headers = set.headers;
        std::cout << "  " << name << ": " << frames.size() << " frames\n";
        return true;
    } catch (const std::exception& e) {
        std::cerr << "  WARN " << name << ": " << e.what() << "\n";
        return false;
    }
}

void town_set(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name,
              std::vector<SDL_Texture*>& frames, std::vector<SpriteHeader>& headers) {
    const std::string note = "  castlescrn: WARNING \xE2\x80\x94 " + name + " not found\n";
    sprite_set(r, archive, pal, name, frames, &headers, note.c_str());
}

// Registers the frames of a set that the list also holds; silent when the set is missing or broken.
void register_cycle(CastlePalCycle& cycle, const AggArchive& archive, const Palette& pal, const std::string& name,
                    std::vector<SDL_Texture*>& list, std::initializer_list<int> only = {}) {
    const std::vector<uint8_t> bytes = entry_bytes(archive, name);
    if (bytes.empty()) return;
    try {
        const IcnFrames set = decode_icn(bytes, pal);
        const size_t n = std::min(set.frames.size(), list.size());
        for (size_t i = 0; i < n; ++i) {
            if (only.size() && std::find(only.begin(), only.end(), static_cast<int>(i)) == only.end()) continue;
            cycle.register_frame(set.frames[i], &list[i], true);
        }
    } catch (const std::exception&) {
    }
}

void destroy_all(std::vector<SDL_Texture*>& list) {
    for (SDL_Texture* t : list)
        if (t) SDL_DestroyTexture(t);
    list.clear();
}

void destroy_one(SDL_Texture*& t) {
    if (t) SDL_DestroyTexture(t);
    t = nullptr;
}

}  // namespace

std::vector<uint8_t> town_entry_bytes(const AggArchive& archive, const std::string& name) {
    return entry_bytes(archive, name);
}

SDL_Texture* town_picture(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name) {
    return picture(r, archive, pal, name, false);
}

bool town_sprite_set(SDL_Renderer* r, const AggArchive& archive, const Palette& pal, const std::string& name,
                     std::vector<SDL_Texture*>& frames, const char* missing_note) {
    return sprite_set(r, archive, pal, name, frames, nullptr, missing_note);
}

void load_tavwin_resources(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette,
                           std::vector<SDL_Texture*>& textures, std::vector<SpriteHeader>& headers) {
    sprite_set(renderer, archive, palette, "TAVWIN.ICN", textures, &headers,
               "  WARNING: TAVWIN.ICN not found \xE2\x80\x94 tavern image disabled\n");
}

CastleScreenResources::~CastleScreenResources() { unload(); }

void CastleScreenResources::load(SDL_Renderer* r, const AggArchive& archive, const Palette& pal) {
    unload();
    renderer = r;
    for (size_t i = 0; i < TOWNBKG_NAMES.size(); ++i) town_background[i] = picture(r, archive, pal, TOWNBKG_NAMES[i], false);

    const std::vector<uint8_t> bar = entry_bytes(archive, "BIGBAR.ICN");
    if (!bar.empty()) {
        try {
            const IcnFrames set = decode_icn(bar, pal);
            if (!set.frames.empty()) status_bar = img_to_tex(r, set.frames[0], false);
        } catch (const std::exception&) {
        }
    }
    sprite_set(r, archive, pal, "BUILDING.ICN", building_pictures, nullptr, "  WARNING: BUILDING.ICN missing\n");
    build_background = picture(r, archive, pal, "STONEBAK.BMP", true);

    town_set(r, archive, pal, "PLNS_E0.ICN", barbarian_extra_frames, barbarian_extra_headers);
    town_set(r, archive, pal, "THIEVESG.ICN", thieves_guild_frames, thieves_guild_headers);
    town_set(r, archive, pal, "TAVERN.ICN", tavern_frames, tavern_headers);
    town_set(r, archive, pal, "WELL.ICN", well_frames, well_headers);
    town_set(r, archive, pal, "MAGEGLD.ICN", mage_guild_frames, mage_guild_headers);
    town_set(r, archive, pal, "DOCK.ICN", dock_frames, dock_headers);
    load_tavwin_resources(r, archive, pal, tavern_window_frames, tavern_window_headers);
    for (size_t f = 0; f < FACTION_BLD_ICNS.size(); ++f)
        for (size_t e = 0; e < FACTION_BLD_ICNS[f].size(); ++e)
            town_set(r, archive, pal, FACTION_BLD_ICNS[f][e], faction_building_frames[f][e],
                     faction_building_headers[f][e]);

    recruit.load(r, archive, pal);
    signpost_big = bmp_to_tex_keyed(r, trading_post_signpost_image());
    alt_hydra.load(r, resolve_ci(alt_assets_root() + "/mtn_d4_alt"));

    // The cycle keeps addresses of list entries: no list may be resized after this point.
    palette_cycle.init(r, pal);
    register_cycle(palette_cycle, archive, pal, "PLNS_E0.ICN", barbarian_extra_frames);
    register_cycle(palette_cycle, archive, pal, "FARMCAST.ICN", faction_building_frames[0][kCastleEntry]);
    register_cycle(palette_cycle, archive, pal, "BUILDING.ICN", building_pictures, {7, 22, 26});
}

void CastleScreenResources::unload() {
    palette_cycle.reset();
    for (SDL_Texture*& t : town_background) destroy_one(t);
    destroy_one(status_bar);
    destroy_all(building_pictures);
    destroy_one(build_background);
    for (auto* list : {&thieves_guild_frames, &tavern_frames, &well_frames, &mage_guild_frames, &dock_frames,
                       &barbarian_extra_frames})
        destroy_all(*list);
    for (auto* h : {&thieves_guild_headers, &tavern_headers, &well_headers, &mage_guild_headers, &dock_headers,
                    &barbarian_extra_headers})
        h->clear();
    for (auto& faction : faction_building_frames)
        for (auto& list : faction) destroy_all(list);
    for (auto& faction : faction_building_headers)
        for (auto& list : faction) list.clear();
    recruit.unload();
    destroy_one(signpost_big);
    alt_hydra.unload();
    destroy_all(tavern_window_frames);
    tavern_window_headers.clear();
}

void load_town_groups(Resources& res) {
    res.castle.reset();
    res.hero_screen.reset();
    res.swap_win.reset();
    if (!res.archive) return;
    // The group releases its textures before the cache lets the renderer go.
    res.castle = Owned<CastleScreenResources>(new CastleScreenResources(), [](CastleScreenResources* p) {
        p->unload();
        delete p;
    });
    res.castle->load(res.renderer, *res.archive, res.palette);
    res.hero_screen = make_owned<HeroScreenResources>();
    res.hero_screen->load(res.renderer, *res.archive, res.palette);
    res.swap_win = make_owned<SwapWinResources>();
    res.swap_win->load(res.renderer, *res.archive, res.palette);
}

}  // namespace vorn1
