#include "adventure/quikinfo.h"

#include <algorithm>

#include "adventure/adv_geometry.h"
#include "adventure/render_map.h"
#include "assets/text_render.h"
#include "world/creature_table.h"
#include "events/event_actions.h"
#include "lang/runtime_strings.h"
#include "world/spell_table.h"
#include "world/town_names.h"
#include "world/game_state.h"
#include "world/map.h"

namespace vorn1 {

bool open_quick_info(QuickInfoState& s, const GameMap& map, int view_x, int view_y, int sx, int sy) {
    int tx, ty;
    if (!screen_to_tile(map, view_x, view_y, sx, sy, tx, ty)) return false;
    s.open = true;
    s.tile_x = tx;
    s.tile_y = ty;
    s.screen_x = sx;
    s.screen_y = sy;
    return true;
}

void close_quick_info(QuickInfoState& s) { s = QuickInfoState{}; }

bool handle_quick_info_event(const SDL_Event& e, QuickInfoState& s) {
    if (!s.open) return false;
    if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_RIGHT) close_quick_info(s);
    return e.type == SDL_MOUSEBUTTONUP || e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_KEYDOWN;
}

int monster_count_band(int count) {
    if (count < 5) return 0;
    if (count < 10) return 1;
    if (count < 20) return 2;
    if (count < 50) return 3;
    return 4;
}

namespace {

std::string owner_line(const GameState& state, int owner) {
    const int c = owner_colour(state, owner);
    return c < 0 ? strings().get("ADV_QI_NEUTRAL") : strings().get("ADV_COLOR_" + std::to_string(c));
}

std::string terrain_key(const MapTile& t) {
    if (t.layer1_set == SET_TREES) return "ADV_QI_FOREST";
    if (t.layer1_set == SET_MOUNTAINS) return "ADV_QI_MOUNTAINS";
    const int g = t.ground;
    if (g < 20 || g == 255) return "ADV_QI_WATER";
    if (g < 40) return "ADV_QI_GRASS";
    if (g < 80) return "ADV_QI_ROUGH";
    if (g < 100) return "ADV_QI_DIRT";
    if (g < 120) return "ADV_QI_SWAMP";
    return "ADV_QI_SAND";
}

}  // namespace

std::vector<std::string> quick_info_lines(const GameState& state, const GameMap& map, int player, int x, int y,
                                          bool identify) {
    const MapTile* t = map.tile(x, y);
    if (!t) return {};
    if (is_player_index(player) && !state.fog[(size_t)player].is_explored(x, y))
        return {strings().get("ADV_QI_UNEXPLORED")};
    const StringTable& st = strings();
    if (const int h = state.hero_at(x, y); h >= 0) {
        const HeroState& hero = state.heroes[(size_t)h];
        std::vector<std::string> lines{localized_hero_name(hero.name), owner_line(state, hero.owner)};
        const bool full = identify || !is_player_index(player) || hero.owner == player;
        if (full) {
            lines.push_back(st.format("ADV_QI_HERO_LEVEL", {std::to_string(hero.level)}));
            lines.push_back(st.format("ADV_QI_HERO_SKILLS", {std::to_string(hero.attack), std::to_string(hero.defense),
                                                             std::to_string(hero.power),
                                                             std::to_string(hero.knowledge)}));
        }
        for (int slot = 0; slot < ARMY_SLOTS; ++slot) {
            if (hero.army.slot_empty(slot)) continue;
            const int count = hero.army.counts[(size_t)slot];
            const std::string amount =
                full ? std::to_string(count) : st.get("ADV_QI_COUNT_" + std::to_string(monster_count_band(count)));
            lines.push_back(st.format("ADV_QI_STACK", {amount, creature_name_nom(hero.army.ids[(size_t)slot])}));
        }
        return lines;
    }
    if (const int c = state.castle_at(x, y); c >= 0) {
        const CastleState& town = state.castles[(size_t)c];
        return {localized_castle_name(town.name), st.get(town.is_castle ? "ADV_QI_CASTLE" : "ADV_QI_TOWN"),
                owner_line(state, town.owner)};
    }
    if (const int m = state.mine_at(x, y); m >= 0) {
        const MineState& mine = state.mines[(size_t)m];
        return {st.get("ADV_QI_MINE_" + std::to_string(std::min<int>(mine.kind, MINE_GOLD))),
                owner_line(state, mine.owner)};
    }
    if (t->is_monster()) {
        const int s = state.monster_at(x, y);
        const int count = s >= 0 ? state.monsters[(size_t)s].count : t->object_detail;
        const uint8_t id = s >= 0 ? state.monsters[(size_t)s].creature : t->layer1_frame;
        return {st.get("ADV_QI_COUNT_" + std::to_string(monster_count_band(count))), creature_name_nom(id)};
    }
    switch (t->object_type) {
    case OBJ_CHEST: return {st.get("ADV_QI_CHEST")};
    case OBJ_RESOURCE: {
        for (const ResourcePileState& p : state.resource_piles)
            if (!p.taken && p.x == x && p.y == y)
                return {st.get("ADV_QI_RESOURCE_" + std::to_string(std::min<int>(p.kind, MINE_GOLD)))};
        return {st.get("ADV_QI_RESOURCE")};
    }
    case OBJ_ARTIFACT:
    case OBJ_ARTIFACT_AMBUSH:
    case OBJ_ARTIFACT_AMBUSH_B: {
        for (const ArtifactState& a : state.map_artifacts)
            if (!a.taken && a.x == x && a.y == y)
                if (auto name = artifact_display_name(a.artifact)) return {*name};
        return {st.get("ADV_QI_ARTIFACT")};
    }
    case OBJ_SHRINE: {
        for (const ShrineState& s : state.shrines)
            if (s.x == x && s.y == y && spell_info(s.spell))
                return {st.get("ADV_QI_SHRINE"), spell_name(s.spell)};
        return {st.get("ADV_QI_SHRINE")};
    }
    case OBJ_DWELLING: {
        for (const MapCreatureHutState& d : state.huts)
            if (d.live && d.x == x && d.y == y) return {st.get("ADV_QI_DWELLING"), creature_name_nom(d.creature)};
        return {st.get("ADV_QI_DWELLING")};
    }
    case OBJ_GRAVEYARD: return {st.get("ADV_QI_GRAVEYARD")};
    case OBJ_LIGHTHOUSE: return {st.get("ADV_QI_LIGHTHOUSE"), owner_line(state, state.lighthouse.owner)};
    case OBJ_MILL: return {st.get("ADV_QI_MILL")};
    case OBJ_DRAGON_CITY: return {st.get("ADV_QI_DRAGON_CITY"), owner_line(state, state.dragon_city.owner)};
    case OBJ_OBELISK: return {st.get("ADV_QI_OBELISK")};
    case OBJ_CAMPFIRE: return {st.get("ADV_QI_CAMPFIRE")};
    case OBJ_SHIPWRECK: return {st.get("ADV_QI_SHIPWRECK")};
    case OBJ_PORTAL: return {st.get("ADV_QI_PORTAL")};
    case OBJ_TRADING_POST: return {st.get("ADV_QI_TRADING_POST")};
    case OBJ_THIEVES_DEN: return {st.get("ADV_QI_THIEVES_DEN")};
    case OBJ_OASIS: return {st.get("ADV_QI_OASIS")};
    case OBJ_FAERIE_RING: return {st.get("ADV_QI_FAERIE_RING")};
    case OBJ_FOUNTAIN: return {st.get("ADV_QI_FOUNTAIN")};
    case OBJ_ANGEL_STATUE: return {st.get("ADV_QI_ANGEL_STATUE")};
    case OBJ_BUOY: return {st.get("ADV_QI_BUOY")};
    default: break;
    }
    if (t->boat || state.boat_at(x, y) >= 0) return {st.get("ADV_QI_BOAT")};
    return {st.get(terrain_key(*t))};
}

SDL_Rect quick_info_rect(int sx, int sy, int height) {
    const int h = std::clamp(height, kQuickInfoH, kMapViewRect.h);
    int x = sx + 8, y = sy - h / 2;
    if (x + kQuickInfoW > kMapViewRect.w) x = sx - 8 - kQuickInfoW;
    x = std::clamp(x, 0, kMapViewRect.w - kQuickInfoW);
    y = std::clamp(y, 0, kMapViewRect.h - h);
    return SDL_Rect{x, y, kQuickInfoW, h};
}

void draw_quick_info(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                     const QuickInfoState& s, int player, TTF_Font* font, bool identify) {
    (void)res;
    if (!s.open) return;
    const std::vector<std::string> lines = quick_info_lines(state, map, player, s.tile_x, s.tile_y, identify);
    const int skip = font ? TTF_FontLineSkip(font) : 16;
    const SDL_Rect rc = quick_info_rect(s.screen_x, s.screen_y, skip * (int)lines.size() + 12);
    SDL_SetRenderDrawColor(r, 48, 40, 32, 255);
    SDL_RenderFillRect(r, &rc);
    SDL_SetRenderDrawColor(r, 216, 192, 128, 255);
    SDL_RenderDrawRect(r, &rc);
    int y = rc.y + (rc.h - skip * (int)lines.size()) / 2;
    for (const std::string& line : lines) {
        text::centered_box(r, font, line, rc.x, y, rc.w, SDL_Color{240, 232, 200, 255});
        y += skip;
    }
}

}  // namespace vorn1
