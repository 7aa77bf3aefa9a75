#include "datakit/kit_adventure.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "adventure/adventure_resources.h"
#include "adventure/new_day_panel.h"
#include "assets/agg.h"
#include "datakit/kit_maps.h"
#include "world/game_state.h"
#include "world/route.h"
#include "world/tile_rules.h"

namespace vorn1::kit {

uint8_t nearest_index(const Palette& pal, uint8_t r, uint8_t g, uint8_t b) {
    int best = 1, best_d = 1 << 30;
    for (int i = 1; i < 256; ++i) {
        if (i >= 214 && i <= 221) continue;  // the demo palette cycles these (water, fire)
        const int dr = pal[i].r - r, dg = pal[i].g - g, db = pal[i].b - b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < best_d) best_d = d, best = i;
    }
    if (r == 0 && g == 0 && b == 0) return 0;
    return (uint8_t)best;
}

namespace {

const Palette& pal() {
    static const Palette p = standard_palette();
    return p;
}
uint8_t idx(SDL_Color c) { return nearest_index(pal(), c.r, c.g, c.b); }
uint8_t idx(int r, int g, int b) { return nearest_index(pal(), (uint8_t)r, (uint8_t)g, (uint8_t)b); }

// A transparent grid of the given size.
IndexGrid clear_grid(int w, int h) {
    IndexGrid g(w, h, 0);
    g.mask.assign((size_t)w * h, kTransparent);
    return g;
}
void put(IndexGrid& g, int x, int y, uint8_t c) {
    if (x < 0 || y < 0 || x >= g.width || y >= g.height) return;
    g.at(x, y) = c;
    g.set_kind(x, y, kOpaque);
}
void box(IndexGrid& g, int x0, int y0, int x1, int y1, uint8_t c) {
    for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) put(g, x, y, c);
}
void outline(IndexGrid& g, int x0, int y0, int x1, int y1, uint8_t c) {
    for (int x = x0; x <= x1; ++x) put(g, x, y0, c), put(g, x, y1, c);
    for (int y = y0; y <= y1; ++y) put(g, x0, y, c), put(g, x1, y, c);
}
void text(IndexGrid& g, int x, int y, const std::string& s, uint8_t c) {
    IndexGrid tmp(g.width, g.height, (uint8_t)(c == 1 ? 2 : 1));
    draw_small_text(tmp, x, y, s, c);
    for (int yy = 0; yy < g.height; ++yy)
        for (int xx = 0; xx < g.width; ++xx)
            if (tmp.at(xx, yy) == c) put(g, xx, yy, c);
}
// Upward triangle filling the grid's lower part.
void triangle(IndexGrid& g, int cx, int top, int bottom, int half, uint8_t c) {
    for (int y = top; y <= bottom; ++y) {
        const int w = (y - top) * half / std::max(1, bottom - top);
        for (int x = cx - w; x <= cx + w; ++x) put(g, x, y, c);
    }
}

Bytes frames_icn(std::vector<IndexGrid> grids, int ox = 0, int oy = 0) {
    std::vector<IcnFrame> frames(grids.size());
    for (size_t i = 0; i < grids.size(); ++i) {
        frames[i].x = (int16_t)ox;
        frames[i].y = (int16_t)oy;
        frames[i].pixels = std::move(grids[i]);
    }
    return write_icn(frames);
}

// ---- ground: bands of water, grass, rough, dirt, swamp and sand with a speckle per tile
Bytes ground_til() {
    std::vector<IndexGrid> tiles;
    for (int t = 0; t < 255; ++t) {
        const SDL_Color base = ground_band_rgb(t);
        IndexGrid g(32, 32, idx(base));
        const uint8_t dark = idx(base.r * 3 / 4, base.g * 3 / 4, base.b * 3 / 4);
        const uint8_t light = idx(std::min(255, base.r + 40), std::min(255, base.g + 40), std::min(255, base.b + 40));
        uint32_t s = 2166136261u ^ (uint32_t)t;
        for (int k = 0; k < 10; ++k) {
            s = s * 1103515245u + 12345u;
            const int x = (int)((s >> 8) % 31), y = (int)((s >> 16) % 31);
            if (t < 20 || t == 255) {
                for (int dx = 0; dx < 4; ++dx) g.at(std::min(31, x + dx), y) = light;  // waves
            } else {
                g.at(x, y) = dark;
                g.at(x + 1, y) = dark;
            }
        }
        tiles.push_back(std::move(g));
    }
    return write_til(32, 32, tiles);
}

// ---- object sets: trees, mountains, and a rounded marker with the frame number for the others
IndexGrid tree_frame(int f) {
    IndexGrid g = clear_grid(32, 32);
    triangle(g, 16, 2 + f % 3, 24, 9 + f % 3, idx(24, 104, 32));
    box(g, 14, 25, 17, 30, idx(96, 64, 24));
    return g;
}
IndexGrid mountain_frame(int f) {
    IndexGrid g = clear_grid(32, 32);
    triangle(g, 16, 3 + f % 4, 31, 15, idx(120, 112, 104));
    triangle(g, 16, 3 + f % 4, 9 + f % 4, 3, idx(236, 236, 236));
    return g;
}
IndexGrid marker_frame(int set, int f) {
    IndexGrid g = clear_grid(32, 32);
    const uint8_t fill = set_colour("SET" + std::to_string(set)), ink = contrast_colour(fill);
    box(g, 4, 6, 27, 29, fill);
    outline(g, 4, 6, 27, 29, ink);
    text(g, 7, 9, std::to_string(set), ink);
    text(g, 7, 17, std::to_string(f), ink);
    return g;
}
// Sites without a record of their own share one set, frame = object type - OBJ_EVENT_FIRST; each
// marker carries the site's short name so the sites tell apart on the map.
const char* site_label(int type) {
    switch (type) {
    case OBJ_TRADING_POST: return "TRADE";
    case OBJ_THIEVES_DEN: return "DEN";
    case OBJ_OASIS: return "OASIS";
    case OBJ_FAERIE_RING: return "RING";
    case OBJ_FOUNTAIN: return "FOUNT";
    case OBJ_ANGEL_STATUE: return "ANGEL";
    case OBJ_BUOY: return "BUOY";
    case OBJ_SHIPWRECK: return "WRECK";
    default: return nullptr;
    }
}
IndexGrid site_frame(int f) {
    const char* label = site_label(OBJ_EVENT_FIRST + f);
    if (!label) return marker_frame(KSET_SITE, f);
    IndexGrid g = clear_grid(32, 32);
    const uint8_t fill = set_colour(label), ink = contrast_colour(fill);
    box(g, 3, 6, 28, 29, fill);
    outline(g, 3, 6, 28, 29, ink);
    text(g, 6, 9, label, ink);
    text(g, 6, 17, std::to_string(f), ink);
    return g;
}
Bytes object_set(int set, int count) {
    std::vector<IndexGrid> v;
    for (int f = 0; f < count; ++f)
        v.push_back(set == SET_TREES       ? tree_frame(f)
                    : set == SET_MOUNTAINS ? mountain_frame(f)
                    : set == KSET_SITE     ? site_frame(f)
                                           : marker_frame(set, f));
    return frames_icn(std::move(v));
}

// ---- hero figures: a body in the class colour and a pointer toward the facing
const int kDirDx[5] = {0, 1, 1, 1, 0}, kDirDy[5] = {-1, -1, 0, 1, 1};
IndexGrid figure_frame(SDL_Color body, int f, bool boat) {
    IndexGrid g = clear_grid(32, 32);
    const int dir = std::min(4, f / 9), stride = f % 9;
    if (boat) {
        box(g, 3, 20, 28, 27, idx(112, 72, 32));
        box(g, 15, 6, 16, 20, idx(96, 64, 24));
        triangle(g, 16, 7, 18, 7, idx(236, 236, 220));
    } else {
        box(g, 11, 10 + (stride & 1), 20, 27, idx(body));
        box(g, 13, 4, 18, 9, idx(232, 188, 150));
        box(g, 10, 28, 13, 30 - (stride & 1), idx(60, 40, 20));
        box(g, 18, 28, 21, 29 + (stride & 1), idx(60, 40, 20));
    }
    const uint8_t ink = idx(255, 255, 255);
    for (int k = 0; k < 6; ++k) put(g, 16 + kDirDx[dir] * (4 + k), 18 + kDirDy[dir] * (4 + k), ink);
    return g;
}
Bytes figure_set(SDL_Color body, bool boat) {
    std::vector<IndexGrid> v;
    for (int f = 0; f < 45; ++f) v.push_back(figure_frame(body, f, boat));
    return frames_icn(std::move(v));
}

// ---- flags: two frames per colour, frame order of flag_frame_for_colour
Bytes flag_set() {
    std::vector<IcnFrame> frames(8);
    for (int colour = 0; colour < 4; ++colour) {
        const SDL_Color c = player_rgb(colour);
        for (int k = 0; k < 2; ++k) {
            IndexGrid g = clear_grid(10, 9);
            box(g, 0, 0, 0, 8, idx(80, 56, 32));
            box(g, 1, k, 9, 4 + k, idx(c));
            IcnFrame& fr = frames[(size_t)flag_frame_for_colour(colour) + k];
            fr.x = 21;
            fr.y = 1;
            fr.pixels = std::move(g);
        }
    }
    return write_icn(frames);
}

// ---- route arrows: a dot with a stroke toward the next tile; a cross at the destination
const int kArrowDx[8] = {0, 1, 1, 1, 0, -1, -1, -1}, kArrowDy[8] = {-1, -1, 0, 1, 1, 1, 0, -1};
Bytes route_set() {
    std::vector<IcnFrame> frames(2 * kRouteFramesPerKind);
    for (int kind = 0; kind < 2; ++kind)
        for (int f = 0; f < kRouteFramesPerKind; ++f) {
            const uint8_t c = kind == 0 ? idx(40, 208, 40) : idx(216, 40, 40);
            IndexGrid g = clear_grid(16, 16);
            if (f == kRouteDestFrame) {
                for (int k = 2; k < 14; ++k) put(g, k, k, c), put(g, 15 - k, k, c), put(g, k + 1, k, c),
                    put(g, 14 - k, k, c);
            } else {
                box(g, 6, 6, 9, 9, c);
                for (int k = 0; k < 7; ++k) {
                    put(g, 8 + kArrowDx[f] * k, 8 + kArrowDy[f] * k, c);
                    put(g, 7 + kArrowDx[f] * k, 8 + kArrowDy[f] * k, c);
                }
            }
            IcnFrame& fr = frames[(size_t)(kind * kRouteFramesPerKind + f)];
            fr.x = 8;
            fr.y = 8;
            fr.pixels = std::move(g);
        }
    return write_icn(frames);
}

// ---- side panel pictures
Bytes border_icn() {
    IndexGrid g = clear_grid(640, 480);
    const uint8_t stone = idx(92, 84, 72), edge = idx(148, 136, 112);
    box(g, 479, 0, 639, 479, stone);
    // Holes where the minimap shows through.
    for (int y = 16; y < 160; ++y)
        for (int x = 479; x < 625; ++x) g.set_kind(x, y, kTransparent);
    outline(g, 478, 15, 625, 160, edge);
    return frames_icn({std::move(g)});
}
Bytes button_set() {
    static const char* kLabels[6] = {"NEXT", "MOVE", "KING", "END", "ADV", "SYS"};
    std::vector<IndexGrid> v;
    for (int b = 0; b < 6; ++b)
        for (int down = 0; down < 2; ++down) {
            IndexGrid g(48, 36, down ? idx(96, 80, 56) : idx(160, 136, 96));
            outline(g, 0, 0, 47, 35, down ? idx(40, 32, 24) : idx(232, 216, 176));
            text(g, 6 + down, 15 + down, kLabels[b], idx(24, 16, 8));
            v.push_back(std::move(g));
        }
    return frames_icn(std::move(v));
}
Bytes locator_set() {
    std::vector<IndexGrid> v;
    for (int t = 0; t < 8; ++t) {
        IndexGrid g(60, 30, set_colour("TOWN" + std::to_string(t / 2)));
        triangle(g, 30, 4, 24, 12 + 6 * (t % 2), idx(200, 192, 176));
        outline(g, 0, 0, 59, 29, idx(32, 24, 16));
        v.push_back(std::move(g));
    }
    IndexGrid sel = clear_grid(64, 32);
    outline(sel, 0, 0, 63, 31, idx(252, 224, 0));
    outline(sel, 1, 1, 62, 30, idx(252, 224, 0));
    v.push_back(std::move(sel));
    for (int k = 0; k < 2; ++k) {
        IndexGrid a(64, 12, idx(120, 104, 80));
        if (k == 0) triangle(a, 32, 2, 9, 6, idx(240, 232, 200));
        else
            for (int y = 2; y <= 9; ++y)
                for (int x = 32 - (9 - y) * 6 / 7; x <= 32 + (9 - y) * 6 / 7; ++x) put(a, x, y, idx(240, 232, 200));
        v.push_back(std::move(a));
    }
    return frames_icn(std::move(v));
}
Bytes mini_portrait_set() {
    std::vector<IndexGrid> v;
    for (int p = 0; p < 36; ++p) {
        IndexGrid g(30, 22, set_colour("PORT" + std::to_string(p)));
        box(g, 11, 3, 18, 10, idx(232, 188, 150));
        box(g, 8, 12, 21, 21, idx(player_rgb(p / 9)));
        text(g, 1, 1, std::to_string(p), contrast_colour(g.at(0, 0)));
        v.push_back(std::move(g));
    }
    return frames_icn(std::move(v));
}
Bytes puzzle_set() {
    // 48 pieces of 8 x 6 over the 479 x 480 view: 60 x 80 each (the last column one pixel narrower).
    std::vector<IndexGrid> v;
    for (int i = 0; i < 48; ++i) {
        const int w = (i % 8 == 7) ? 59 : 60;
        IndexGrid g(w, 80, idx(168, 140, 96));
        outline(g, 0, 0, w - 1, 79, idx(96, 72, 40));
        text(g, 4, 4, std::to_string(i), idx(64, 48, 24));
        v.push_back(std::move(g));
    }
    return frames_icn(std::move(v));
}
Bytes panel_set() {
    // Frame 10 is the panel backdrop; 0..9 the buttons up and down.
    static const char* kLabels[5] = {"WORLD", "PUZZLE", "SPELL", "DIG", "EXIT"};
    std::vector<IndexGrid> v;
    for (int b = 0; b < 5; ++b)
        for (int down = 0; down < 2; ++down) {
            const int h = b == 4 ? 25 : 56;
            IndexGrid g(96, h, down ? idx(96, 80, 56) : idx(176, 152, 104));
            outline(g, 0, 0, 95, h - 1, idx(40, 32, 24));
            text(g, 8 + down, h / 2 - 2 + down, kLabels[b], idx(24, 16, 8));
            v.push_back(std::move(g));
        }
    IndexGrid back(321, 236, idx(120, 100, 72));
    outline(back, 0, 0, 320, 235, idx(232, 216, 176));
    v.push_back(std::move(back));
    return frames_icn(std::move(v));
}

Bytes sun_set() {
    std::vector<IndexGrid> v;
    for (int f = 0; f < 8; ++f) {
        IndexGrid g(60, 44, idx(40 + f * 16, 56 + f * 12, 112 + f * 8));
        const int cy = 38 - f * 4;
        for (int y = 0; y < 44; ++y)
            for (int x = 0; x < 60; ++x)
                if ((x - 30) * (x - 30) + (y - cy) * (y - cy) <= 81) g.at(x, y) = idx(252, 208, 40);
        box(g, 0, 38, 59, 43, idx(48, 96, 40));
        v.push_back(std::move(g));
    }
    return frames_icn(std::move(v));
}

}  // namespace

std::vector<AggFile> adventure_archive_files() {
    std::vector<AggFile> files;
    files.push_back({adv_entry::GROUND, ground_til()});
    // Object sets the kit maps use, each with room for every frame they index.
    const std::pair<int, int> sets[] = {
        {SET_GRAVEYARD, 120},    {SET_MOUNTAINS, 8},  {SET_TREES, 6},   {SET_MONSTER, CREATURE_COUNT},
        {KSET_CHEST, 1},         {KSET_RESOURCE, 7},  {KSET_ARTIFACT, 38}, {KSET_CAMPFIRE, 1},
        {KSET_SHRINE, SPELL_COUNT}, {KSET_DWELLING, CREATURE_COUNT}, {KSET_MILL, 1}, {KSET_DRAGON_CITY, 1},
        {KSET_LIGHTHOUSE, 1},    {KSET_OBELISK, 1},   {KSET_PORTAL, 1},
        {KSET_SITE, OBJ_MONSTER_E - OBJ_EVENT_FIRST + 1}, {SET_TOWN, 48}, {KSET_MINE, MINE_KIND_COUNT}};
    for (const auto& [set, count] : sets) files.push_back({object_set_entry(set), object_set(set, count)});
    const SDL_Color class_rgb[4] = {{200, 200, 216, 255}, {168, 96, 48, 255}, {176, 64, 200, 255}, {56, 56, 72, 255}};
    for (int c = 0; c < 4; ++c) files.push_back({adv_entry::HEROES[(size_t)c], figure_set(class_rgb[c], false)});
    files.push_back({adv_entry::BOAT, figure_set({0, 0, 0, 255}, true)});
    files.push_back({adv_entry::FLAGS, flag_set()});
    files.push_back({adv_entry::ROUTE, route_set()});
    files.push_back({adv_entry::BORDER, border_icn()});
    files.push_back({adv_entry::BUTTONS, button_set()});
    files.push_back({adv_entry::LOCATORS, locator_set()});
    files.push_back({adv_entry::MINI_PORTRAITS, mini_portrait_set()});
    files.push_back({adv_entry::CREATURES, labelled_icn("MONS32", 28, 32, 32)});
    files.push_back({adv_entry::RESOURCES, labelled_icn("RESOURCE", 8, 32, 32)});
    files.push_back({adv_entry::PUZZLE, puzzle_set()});
    files.push_back({adv_entry::PANEL, panel_set()});
    files.push_back({adv_entry::SPELLS, labelled_icn("SPELLS", 40, 32, 32)});
    files.push_back({kNewDayEntry, sun_set()});
    return files;
}

const Bytes* adventure_entry_bytes(const std::string& name) {
    static const std::vector<AggFile> files = adventure_archive_files();
    const std::string up = upper_ascii(name);
    for (const AggFile& f : files)
        if (upper_ascii(f.name) == up) return &f.data;
    return nullptr;
}

std::vector<std::pair<std::string, int>> adventure_entry_counts() {
    std::vector<std::pair<std::string, int>> v;
    for (const AggFile& f : adventure_archive_files())
        v.push_back({f.name, f.data.size() >= 2 ? f.data[0] | f.data[1] << 8 : 0});
    return v;
}

GameState adventure_state_for_map(GameMap& map, bool explore_all) {
    GameState st;
    st.map_name = map.name;
    st.map_width = map.width;
    st.map_height = map.height;
    for (const MapObject& o : map.objects)
        if (is_player_index(o.owner)) {
            st.player_in_play[(size_t)o.owner] = 1;
            st.player_color[(size_t)o.owner] = (uint8_t)o.owner;
        }
    for (int p = 0; p < MAX_PLAYERS; ++p)
        if (st.player_in_play[(size_t)p] == 1) {
            ++st.num_players;
            st.resources[(size_t)p] = PlayerResources{7500, 20, 20, 5, 5, 5, 5};
            if (explore_all) st.fog[(size_t)p].explored.fill(1);
        }
    for (const MapObject& o : map.objects) {
        switch (o.kind) {
        case MOBJ_TOWN:
        case MOBJ_CASTLE: {
            CastleState c;
            c.live = 1;
            c.x = o.x;
            c.y = o.y;
            c.is_castle = o.kind == MOBJ_CASTLE;
            c.faction = o.a & 3;
            c.owner = o.owner;
            c.name = o.name;
            c.buildings = o.value;
            st.castles.push_back(c);
            break;
        }
        case MOBJ_MINE: st.mines.push_back(MineState{1, o.x, o.y, o.a, o.owner}); break;
        case MOBJ_LIGHTHOUSE: st.lighthouse = MapSiteState{1, o.x, o.y, o.owner}; break;
        case MOBJ_DRAGON_CITY: st.dragon_city = MapSiteState{1, o.x, o.y, o.owner}; break;
        case MOBJ_BOAT: st.boats.push_back(BoatState{1, o.x, o.y, -1, DIR_E, -1}); break;
        case MOBJ_MONSTER: st.monsters.push_back(MonsterStackState{o.x, o.y, o.a, o.value ? o.value : 10, 0, 0, 0}); break;
        case MOBJ_CHEST: st.chests.push_back(TreasureChestState{o.x, o.y, o.value ? o.value : 1000, 0}); break;
        case MOBJ_ARTIFACT: st.map_artifacts.push_back(ArtifactState{o.x, o.y, o.a, 0, o.b}); break;
        case MOBJ_RESOURCE: st.resource_piles.push_back(ResourcePileState{o.x, o.y, o.a, o.value ? o.value : 5, 0}); break;
        case MOBJ_HERO: {
            HeroState h;
            h.live = 1;
            h.x = o.x;
            h.y = o.y;
            h.owner = o.owner;
            h.portrait = (uint8_t)(o.a % 36);
            h.crest = (uint8_t)((is_player_index(o.owner) ? o.owner : 0) | (o.owner & 3) << 4);
            h.name = "Hero " + std::to_string(o.a);
            h.army.ids[0] = (uint8_t)(o.a % CREATURE_COUNT);
            h.army.counts[0] = 10;
            h.level = 1;
            st.heroes.push_back(h);
            break;
        }
        default: break;
        }
    }
    for (const HeroState& h : st.heroes) place_hero_on_map(map, h);
    return st;
}

std::map<std::string, std::string> adventure_english_strings() {
    return {
        {"ADV_DIMDOOR_TITLE", "Dimension Door"},
        {"ADV_DIMDOOR_HINT", "Choose a tile within 7 tiles of the hero."},
        {"ADV_DIMDOOR_CASTS", "Casts left: {0}"},
        {"ADV_DATE", "Month {0}, Week {1}, Day {2}"},
        {"ADV_NO_HERO", "No hero selected"},
        {"ADV_NEW_DAY", "Day {0}"},
        {"ADV_NEW_WEEK", "Week {0} begins"},
        {"ADV_NEW_MONTH", "Month {1} begins"},
        {"ADV_COLOR_0", "Red"}, {"ADV_COLOR_1", "Green"}, {"ADV_COLOR_2", "Blue"}, {"ADV_COLOR_3", "Yellow"},
        {"ADV_QI_NEUTRAL", "Neutral"},
        {"ADV_QI_UNEXPLORED", "Uncharted territory"},
        {"ADV_QI_CASTLE", "Castle"}, {"ADV_QI_TOWN", "Town"},
        {"ADV_QI_MINE_0", "Sawmill"}, {"ADV_QI_MINE_1", "Alchemist's lab"}, {"ADV_QI_MINE_2", "Ore mine"},
        {"ADV_QI_MINE_3", "Sulfur mine"}, {"ADV_QI_MINE_4", "Crystal mine"}, {"ADV_QI_MINE_5", "Gem mine"},
        {"ADV_QI_MINE_6", "Gold mine"},
        {"ADV_QI_RESOURCE_0", "Wood"}, {"ADV_QI_RESOURCE_1", "Mercury"}, {"ADV_QI_RESOURCE_2", "Ore"},
        {"ADV_QI_RESOURCE_3", "Sulfur"}, {"ADV_QI_RESOURCE_4", "Crystal"}, {"ADV_QI_RESOURCE_5", "Gems"},
        {"ADV_QI_RESOURCE_6", "Gold"}, {"ADV_QI_RESOURCE", "Resource"},
        {"ADV_QI_COUNT_0", "A few"}, {"ADV_QI_COUNT_1", "Several"}, {"ADV_QI_COUNT_2", "A pack of"},
        {"ADV_QI_COUNT_3", "Lots of"}, {"ADV_QI_COUNT_4", "A horde of"},
        {"ADV_QI_CHEST", "Treasure chest"}, {"ADV_QI_ARTIFACT", "Artifact"}, {"ADV_QI_SHRINE", "Shrine"},
        {"ADV_QI_DWELLING", "Dwelling"}, {"ADV_QI_GRAVEYARD", "Graveyard"}, {"ADV_QI_LIGHTHOUSE", "Lighthouse"},
        {"ADV_QI_MILL", "Mill"}, {"ADV_QI_DRAGON_CITY", "Dragon City"}, {"ADV_QI_OBELISK", "Obelisk"},
        {"ADV_QI_CAMPFIRE", "Campfire"}, {"ADV_QI_SHIPWRECK", "Shipwreck"}, {"ADV_QI_PORTAL", "Portal"},
        {"ADV_QI_TRADING_POST", "Trading post"}, {"ADV_QI_BOAT", "Boat"},
        {"ADV_QI_THIEVES_DEN", "Thieves' den"}, {"ADV_QI_OASIS", "Oasis"}, {"ADV_QI_FAERIE_RING", "Faerie ring"},
        {"ADV_QI_FOUNTAIN", "Fountain"}, {"ADV_QI_ANGEL_STATUE", "Angel statue"}, {"ADV_QI_BUOY", "Buoy"},
        {"ADV_QI_FOREST", "Forest"}, {"ADV_QI_MOUNTAINS", "Mountains"}, {"ADV_QI_WATER", "Water"},
        {"ADV_QI_GRASS", "Grassland"}, {"ADV_QI_ROUGH", "Rough land"}, {"ADV_QI_DIRT", "Dirt"},
        {"ADV_QI_SWAMP", "Swamp"}, {"ADV_QI_SAND", "Sand"},
        {"ADV_KINGDOM_TITLE", "Kingdom Overview"}, {"ADV_KINGDOM_HEROES", "Heroes"}, {"ADV_KINGDOM_TOWNS", "Towns"},
        {"ADV_KINGDOM_MINES", "Mines"}, {"ADV_KINGDOM_LEVEL", "Level {0}"},
        {"ADV_KINGDOM_INCOME", "Income a day"}, {"ADV_KINGDOM_EXIT", "Exit"},
        {"ADV_QI_HERO_LEVEL", "Level {0}"}, {"ADV_QI_HERO_SKILLS", "Att {0} Def {1} Pow {2} Kno {3}"},
        {"ADV_QI_STACK", "{0} {1}"},
        {"ADV_CAST_NO_BOOK", "The hero has no spell book."},
        {"ADV_CAST_NO_CHARGES", "No casts of that spell are left."},
        {"ADV_CAST_NOT_ADVENTURE", "That spell is cast in battle only."},
        {"ADV_CAST_ON_BOAT", "That spell cannot be cast at sea."},
        {"ADV_CAST_NO_POINTS", "Not enough movement points left for that spell."},
        {"ADV_CAST_NO_TARGET", "There is nowhere for that spell to take effect."},
        {"ADV_DIG_NOT_HERE", "Try searching on clear ground."},
        {"ADV_DIG_NO_POINTS", "Digging takes a whole day's movement. Try again tomorrow."},
        {"ADV_DIG_NOTHING", "Nothing here. Where could it be?"},
        {"ADV_DIG_NO_ROOM", "Something lies buried here, but the hero can carry nothing more."},
        {"ADV_DIG_FOUND", "After digging for hours the hero finds the {0}!"},
        {"ADV_ELIMINATED", "{0} has been eliminated."},
        {"ADV_ELIM_WARNING", "You hold no town. Take one within {0} days or be eliminated."},
        {"ADV_ELIM_LAST_DAY", "You hold no town. This is your last day to take one."},
    };
}

}  // namespace vorn1::kit
