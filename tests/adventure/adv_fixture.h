#pragma once
// A 640 x 480 software canvas and an archive of solid-colour sprites whose pixels name their frame,
// so a pixel read back tells which picture was drawn where.
#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "adventure/adventure_resources.h"
#include "adventure/new_day_panel.h"
#include "assets/agg.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_formats.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1::advtest {

// Palette indexes of the solid sprites.
inline int ground_index(int tile) { return 16 + tile % 200; }
inline int hero_index(int cls, int frame) { return 20 + cls * 45 + frame; }  // 20..199
constexpr int kFlagBase = 200;     // + frame (8 frames, 6 x 6 at (24, 2))
constexpr int kRouteBase = 210;    // + frame (18 frames, 8 x 8 at (12, 12))
constexpr int kObjectIndex = 230;  // set 35: left half solid, right half clear
constexpr int kBoatBase = 100;     // + frame

inline kit::IndexGrid solid(int w, int h, int index) { return kit::IndexGrid(w, h, (uint8_t)index); }

inline kit::Bytes solid_icn(int count, int w, int h, int ox, int oy, int base) {
    std::vector<kit::IcnFrame> fr((size_t)count);
    for (int i = 0; i < count; ++i) {
        fr[(size_t)i].x = (int16_t)ox;
        fr[(size_t)i].y = (int16_t)oy;
        fr[(size_t)i].pixels = solid(w, h, base + i);
    }
    return kit::write_icn(fr);
}

inline std::vector<kit::AggFile> solid_archive_files() {
    std::vector<kit::AggFile> f;
    std::vector<kit::IndexGrid> tiles;
    for (int t = 0; t < 256; ++t) tiles.push_back(solid(32, 32, ground_index(t)));
    f.push_back({adv_entry::GROUND, kit::write_til(32, 32, tiles)});
    for (int c = 0; c < 4; ++c) {
        std::vector<kit::IcnFrame> fr(45);
        for (int i = 0; i < 45; ++i) fr[(size_t)i].pixels = solid(32, 32, hero_index(c, i));
        f.push_back({adv_entry::HEROES[(size_t)c], kit::write_icn(fr)});
    }
    f.push_back({adv_entry::FLAGS, solid_icn(8, 6, 6, 24, 2, kFlagBase)});
    f.push_back({adv_entry::ROUTE, solid_icn(18, 8, 8, 12, 12, kRouteBase)});
    f.push_back({adv_entry::BOAT, solid_icn(45, 32, 16, 0, 16, kBoatBase)});
    {
        kit::IndexGrid g(32, 32, (uint8_t)kObjectIndex);
        for (int y = 0; y < 32; ++y)
            for (int x = 16; x < 32; ++x) g.set_kind(x, y, kit::kTransparent);
        std::vector<kit::IcnFrame> fr(1);
        fr[0].pixels = g;
        f.push_back({object_set_entry(35), kit::write_icn(fr)});
    }
    f.push_back({adv_entry::MINI_PORTRAITS, solid_icn(36, 30, 22, 0, 0, 40)});
    f.push_back({adv_entry::LOCATORS, solid_icn(11, 60, 30, 0, 0, 120)});
    f.push_back({adv_entry::BUTTONS, solid_icn(12, 48, 36, 0, 0, 140)});
    return f;
}

inline Palette test_palette() { return kit::standard_palette(); }

inline uint32_t rgb_of(int index) {
    const Color c = test_palette()[(size_t)index];
    return (uint32_t)c.r << 16 | (uint32_t)c.g << 8 | c.b;
}

class Canvas : public ::testing::Test {
protected:
    void SetUp() override {
        surface_ = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_ARGB8888);
        ASSERT_NE(surface_, nullptr);
        r_ = SDL_CreateSoftwareRenderer(surface_);
        ASSERT_NE(r_, nullptr) << SDL_GetError();
        fill_screen(0xFF00FF);
    }
    void TearDown() override {
        res_.unload();
        if (r_) SDL_DestroyRenderer(r_);
        if (surface_) SDL_FreeSurface(surface_);
    }
    void fill_screen(uint32_t rgb) {
        SDL_SetRenderDrawColor(r_, (rgb >> 16) & 255, (rgb >> 8) & 255, rgb & 255, 255);
        SDL_RenderClear(r_);
    }
    void load(const std::vector<kit::AggFile>& files) {
        AggArchive agg = AggArchive::from_bytes(kit::write_agg(files));
        res_.load(r_, agg, test_palette());
    }
    uint32_t pixel(int x, int y) const {
        return static_cast<const uint32_t*>(surface_->pixels)[y * (surface_->pitch / 4) + x] & 0xFFFFFF;
    }

    SDL_Surface* surface_ = nullptr;
    SDL_Renderer* r_ = nullptr;
    AdventureResources res_;
};

// A hash of everything drawing could touch: tiles, records and fog.
inline uint64_t state_hash(const GameState& s, const GameMap& m) {
    uint64_t h = 1469598103934665603ull;
    auto mix = [&](const void* p, size_t n) {
        const auto* b = static_cast<const uint8_t*>(p);
        for (size_t i = 0; i < n; ++i) h = (h ^ b[i]) * 1099511628211ull;
    };
    for (const MapTile& t : m.tiles) mix(&t, sizeof t);
    for (const FogOfWar& f : s.fog) mix(f.explored.data(), f.explored.size());
    for (const HeroState& hs : s.heroes) {
        mix(&hs.live, 1), mix(&hs.x, 4), mix(&hs.y, 4), mix(&hs.owner, 4), mix(&hs.crest, 1);
        mix(hs.spell_charges.data(), hs.spell_charges.size());
        mix(hs.army.ids.data(), 5), mix(hs.army.counts.data(), 10);
    }
    for (const CastleState& c : s.castles) mix(&c.live, 1), mix(&c.owner, 4), mix(&c.x, 4), mix(&c.y, 4);
    for (const MineState& mi : s.mines) mix(&mi.owner, 4);
    for (const BoatState& b : s.boats) mix(&b.active, 1), mix(&b.x, 4), mix(&b.y, 4), mix(&b.hero, 4);
    for (const PlayerResources& r : s.resources) mix(&r, sizeof r);
    mix(&s.day, 4), mix(&s.week, 4), mix(&s.month, 4);
    return h;
}

}  // namespace vorn1::advtest
