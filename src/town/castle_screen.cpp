#include "town/castle_screen.h"

#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/magegld_screen.h"
#include "town/recruit.h"
#include "town/tavern_screen.h"
#include "town/thieves_guild_screen.h"
#include "town/well_screen.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<MageGuildRecord, 8> MAGE_GLD_DATA = {{
    {0, 297, 97, 87, 56},
    {1, 312, 55, 58, 43},
    {2, 314, 78, 54, 20},
    {3, 312, 38, 58, 43},
    {4, 314, 61, 54, 20},
    {5, 312, 21, 58, 42},
    {6, 314, 44, 54, 19},
    {7, 312, 4, 58, 42},
}};

const std::array<std::array<int, 6>, 4> DWELLING_ORDER = {{
    {1, 0, 4, 3, 2, 5},
    {0, 1, 2, 3, 4, 5},
    {2, 5, 0, 1, 3, 4},
    {0, 1, 2, 3, 4, 5},
}};
const std::array<std::array<int, 6>, 4> DWELLING_X = {{
    {81, 0, 406, 308, 388, 556},
    {82, 334, 532, 437, 8, 478},
    {512, 83, 10, 389, 324, 521},
    {528, 573, 423, 363, 0, 68},
}};
const std::array<std::array<int, 6>, 4> DWELLING_Y = {{
    {90, 89, 124, 144, 71, 9},
    {72, 137, 30, 82, 102, 75},
    {24, 41, 24, 107, 24, 15},
    {9, 106, 0, 131, 116, 7},
}};

const std::array<int, 28> CS_MONSTER_W = {26, 32, 24, 34, 68, 35, 29, 34, 61, 38, 33, 32, 35, 25,
                                          34, 27, 61, 69, 61, 35, 58, 36, 70, 68, 23, 61, 31, 40};
const std::array<int, 28> CS_MONSTER_H = {64, 64, 68, 65, 68, 68, 53, 63, 43, 67, 70, 65, 62, 49,
                                          64, 65, 70, 70, 65, 65, 70, 68, 62, 66, 65, 70, 63, 46};

const std::array<int, 4> CAST_X = {182, 220, 268, 186};
const std::array<int, 4> CAST_Y = {0, 0, 0, 0};
const std::array<int, 4> CAST_W = {214, 292, 195, 224};
const std::array<int, 4> CAST_H = {122, 118, 120, 130};
const std::array<int, 4> TENT_X = {58, 377, 375, 369};
const std::array<int, 4> TENT_Y = {35, 52, 69, 78};
const std::array<int, 4> TENT_W = {56, 64, 48, 64};
const std::array<int, 4> TENT_H = {42, 57, 48, 64};

namespace {

int row_of(uint8_t faction) { return faction >= 1 && faction <= 3 ? faction : 0; }

bool inside(int x, int y, int left, int top, int w, int h) {
    return x >= left && x < left + w && y >= top && y < top + h;
}

}  // namespace

int castle_mage_guild_level(uint16_t buildings) {
    if (buildings & BLD_GUILD4) return 4;
    if (buildings & BLD_GUILD3) return 3;
    if (buildings & BLD_GUILD2) return 2;
    if (buildings & BLD_GUILD1) return 1;
    return 0;
}

std::array<int, 8> mage_guild_records(int level, int& count) {
    static const std::array<std::array<int, 8>, 5> kRecords = {{
        {},
        {0, 1},
        {0, 2, 3},
        {0, 2, 3, 4, 5},
        {0, 2, 3, 4, 5, 6, 7},
    }};
    static const std::array<int, 5> kCounts = {0, 2, 3, 5, 7};
    const int l = level >= 0 && level <= 4 ? level : 0;
    count = kCounts[static_cast<size_t>(l)];
    return kRecords[static_cast<size_t>(l)];
}

int castle_anim_frame(int n, int anim_step) {
    if (n < 2) return -1;
    const int m = n - 1;
    return 1 + ((anim_step % m) + m) % m;
}

int castle_visiting_hero(const GameState& game, int castle) {
    if (castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return -1;
    const CastleState& c = game.castles[static_cast<size_t>(castle)];
    for (size_t i = 0; i < game.heroes.size(); ++i) {
        const HeroState& h = game.heroes[i];
        if (h.live && h.x == c.x && h.y == c.y && h.owner == c.owner) return static_cast<int>(i);
    }
    return -1;
}

int castle_colour_crest_index(int colour) {
    switch (colour) {
        case 0: return 2;
        case 1: return 1;
        case 3: return 3;
        default: return 0;
    }
}

bool castle_sprite_hit(int x, int y, uint8_t faction, int w, int h) {
    const int f = row_of(faction);
    return inside(x, y, CAST_X[f], CAST_Y[f], w >= 1 ? w : CAST_W[f], h >= 1 ? h : CAST_H[f]);
}

bool tent_sprite_hit(int x, int y, uint8_t faction) {
    const int f = row_of(faction);
    return inside(x, y, TENT_X[f], TENT_Y[f], TENT_W[f], TENT_H[f]);
}

bool dock_sprite_hit(int x, int y, const CastleScreenResources& cres) {
    if (cres.dock_frames.empty() || !cres.dock_frames[0]) return x >= 0 && x <= 119 && y >= 165 && y <= 255;
    SDL_Point s = texture_size(cres.dock_frames[0]);
    if (s.x < 1) s.x = 120;
    if (s.y < 1) s.y = 91;
    return x >= 0 && x < s.x && y >= 165 && y < 165 + s.y;
}

std::array<TownSpot, kMaxTownLayers> town_picture_layers(uint8_t faction, uint16_t buildings, bool is_castle,
                                                         int& count) {
    std::array<TownSpot, kMaxTownLayers> out{};
    count = 0;
    const auto add = [&](TownSpotKind kind, int dwelling) { out[static_cast<size_t>(count++)] = {kind, dwelling}; };
    if (!is_castle) add(TOWN_SPOT_TENT, -1);
    else if (buildings & BLD_CASTLE) add(TOWN_SPOT_CASTLE, -1);
    if (castle_mage_guild_level(buildings) >= 1) add(TOWN_SPOT_MAGE_GUILD, -1);
    for (int d : DWELLING_ORDER[static_cast<size_t>(row_of(faction))])
        if (dwelling_built(buildings, d)) add(TOWN_SPOT_DWELLING, d);
    const std::pair<uint16_t, TownSpotKind> shared[] = {{BLD_THIEVES_GUILD, TOWN_SPOT_THIEVES_GUILD},
                                                        {BLD_TAVERN, TOWN_SPOT_TAVERN},
                                                        {BLD_WELL, TOWN_SPOT_WELL},
                                                        {BLD_SHIPYARD, TOWN_SPOT_DOCK}};
    for (const auto& [bit, kind] : shared)
        if (buildings & bit) add(kind, -1);
    return out;
}

TownSpot town_picture_hit(int x, int y, const CastleState& town, const CastleScreenResources* cres) {
    if (x < 0 || x >= 640 || y < 0 || y >= kTownPictureH) return {};
    const int f = row_of(town.faction);
    const auto holds = [&](const TownSpot& s) {
        switch (s.kind) {
            case TOWN_SPOT_CASTLE: {
                SDL_Point size{0, 0};
                if (cres && !cres->faction_building_frames[static_cast<size_t>(f)][kCastleEntry].empty())
                    size = texture_size(cres->faction_building_frames[static_cast<size_t>(f)][kCastleEntry][0]);
                return castle_sprite_hit(x, y, town.faction, size.x, size.y);
            }
            case TOWN_SPOT_TENT: return tent_sprite_hit(x, y, town.faction);
            case TOWN_SPOT_MAGE_GUILD: return mage_guild_hit(x, y, town);
            case TOWN_SPOT_DWELLING: {
                const SDL_Rect r = dwelling_sprite_rect(town.faction, s.dwelling);
                return inside(x, y, r.x, r.y, r.w, r.h);
            }
            case TOWN_SPOT_THIEVES_GUILD: return thieves_guild_sprite_hit(x, y, town);
            case TOWN_SPOT_TAVERN: return tavern_sprite_hit(x, y, town);
            case TOWN_SPOT_WELL: return well_sprite_hit(x, y, town);
            case TOWN_SPOT_DOCK: return cres ? dock_sprite_hit(x, y, *cres) : inside(x, y, 0, 165, 120, 91);
            case TOWN_SPOT_NONE: break;
        }
        return false;
    };
    int n = 0;
    const auto layers = town_picture_layers(town.faction, town.buildings, town.is_castle != 0, n);
    for (int i = n - 1; i >= 0; --i)
        if (holds(layers[static_cast<size_t>(i)])) return layers[static_cast<size_t>(i)];
    return {};
}

}  // namespace vorn1
