#include "adventure/render_ui.h"

#include <algorithm>
#include <array>
#include <string>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/new_day_panel.h"
#include "adventure/render_map.h"
#include "adventure/render_viewport.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "world/town_names.h"
#include "world/game_state.h"
#include "world/buildings.h"
#include "world/map.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kText{240, 232, 200, 255};
constexpr SDL_Color kPanelFill{56, 48, 40, 255};

void fill(SDL_Renderer* r, const SDL_Rect& rc, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
    SDL_RenderFillRect(r, &rc);
}
void frame_rect(SDL_Renderer* r, const SDL_Rect& rc, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, 255);
    SDL_RenderDrawRect(r, &rc);
}
// Copies a frame at a point in its own size; false when the set has no such frame.
bool blit(SDL_Renderer* r, const SpriteSet& set, int frame, int x, int y) {
    const SpriteFrame* f = set.get(frame);
    if (!f) return false;
    SDL_Rect dst{x, y, f->w, f->h};
    SDL_RenderCopy(r, f->tex, nullptr, &dst);
    return true;
}
// Copies a frame into a rectangle, whatever the frame's own size.
bool blit_into(SDL_Renderer* r, const SpriteSet& set, int frame, const SDL_Rect& dst) {
    const SpriteFrame* f = set.get(frame);
    if (!f) return false;
    SDL_RenderCopy(r, f->tex, nullptr, &dst);
    return true;
}
uint32_t argb(SDL_Color c) { return 0xFF000000u | (uint32_t)c.r << 16 | (uint32_t)c.g << 8 | c.b; }

// Black around the minimap and in the lower panel: with the map view's own black and the minimap the
// frame then covers the whole screen, so it needs no clear first.
void fill_panel_background(SDL_Renderer* r) {
    static_assert(kMapViewRect.w == kMinimapRect.x && kMinimapRect.y + kMinimapRect.h == kLowerPanelRect.y &&
                  kLowerPanelRect.x == kMinimapRect.x && kLowerPanelRect.y + kLowerPanelRect.h == kScreenRect.h);
    const int right = kMinimapRect.x + kMinimapRect.w;
    const SDL_Rect around[3] = {{kMinimapRect.x, 0, kScreenRect.w - kMinimapRect.x, kMinimapRect.y},
                                {right, kMinimapRect.y, kScreenRect.w - right, kMinimapRect.h},
                                kLowerPanelRect};
    SDL_BlendMode mode;
    SDL_GetRenderDrawBlendMode(r, &mode);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderFillRects(r, around, 3);
    SDL_SetRenderDrawBlendMode(r, mode);
}

void draw_border(SDL_Renderer* r, const AdventureResources& res) {
    if (!res.border) return;
    if (res.border_cut.empty() || !res.border_opaque) {
        SDL_RenderCopy(r, res.border, nullptr, &kScreenRect);
        return;
    }
    for (const BorderPart& p : res.border_cut)
        SDL_RenderCopy(r, p.opaque ? res.border_opaque : res.border, &p.rect, &p.rect);
}

}  // namespace

// ---------------------------------------------------------------- minimap

void draw_minimap(SDL_Renderer* r, const AdventureResources& res, const GameState& state, const GameMap& map,
                  int player, int view_x, int view_y) {
    const int W = kMinimapRect.w, H = kMinimapRect.h;
    std::vector<uint32_t>& px = res.minimap_scratch;
    px.assign((size_t)W * H, 0xFF000000u);
    const FogOfWar* fog = is_player_index(player) ? &state.fog[(size_t)player] : nullptr;
    auto seen = [&](int x, int y) { return !fog || fog->is_explored(x, y); };
    if (map.has_tiles() && map.width > 0 && map.height > 0) {
        std::array<int, kMinimapRect.w> column{};
        for (int i = 0; i < W; ++i) column[(size_t)i] = i * map.width / W;
        for (int j = 0; j < H; ++j) {
            const int ty = j * map.height / H;
            for (int i = 0; i < W; ++i) {
                const int tx = column[(size_t)i];
                if (!seen(tx, ty)) continue;
                const MapTile& t = map.tiles[(size_t)ty * map.width + tx];
                SDL_Color c = res.ground_rgb[t.ground];
                if (t.impassable() && t.object_type == 0) c = {(uint8_t)(c.r / 2), (uint8_t)(c.g / 2), (uint8_t)(c.b / 2), 255};
                px[(size_t)j * W + i] = argb(c);
            }
        }
    }
    auto mark = [&](int x, int y, SDL_Color c, int grow) {
        if (!map.in_bounds(x, y) || !seen(x, y)) return;
        SDL_Rect rc = minimap_tile_rect(map, x, y);
        rc.x -= kMinimapRect.x + grow;
        rc.y -= kMinimapRect.y + grow;
        rc.w += 2 * grow;
        rc.h += 2 * grow;
        for (int yy = std::max(rc.y, 0); yy < std::min(rc.y + rc.h, H); ++yy)
            for (int xx = std::max(rc.x, 0); xx < std::min(rc.x + rc.w, W); ++xx) px[(size_t)yy * W + xx] = argb(c);
    };
    const SDL_Color neutral{232, 232, 232, 255};
    for (const MineState& m : state.mines)
        if (m.live) mark(m.x, m.y, owner_colour(state, m.owner) >= 0 ? player_rgb(owner_colour(state, m.owner)) : neutral, 0);
    for (const CastleState& c : state.castles)
        if (c.live) mark(c.x, c.y, owner_colour(state, c.owner) >= 0 ? player_rgb(owner_colour(state, c.owner)) : neutral, 1);
    for (const HeroState& h : state.heroes)
        if (h.live) mark(h.x, h.y, player_rgb(owner_colour(state, h.owner)), 0);

    if (res.minimap) {
        SDL_UpdateTexture(res.minimap, nullptr, px.data(), W * 4);
        SDL_RenderCopy(r, res.minimap, nullptr, &kMinimapRect);
    } else {
        fill(r, kMinimapRect, {0, 0, 0, 255});
    }
    const SDL_Rect v = minimap_view_rect(map, view_x, view_y);
    if (v.w > 0 && v.h > 0) frame_rect(r, v, {255, 255, 255, 255});
}

void draw_dim_door_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int hero,
                         TTF_Font* font, TTF_Font* small_font) {
    (void)res;
    fill(r, kMinimapRect, {24, 16, 48, 255});
    frame_rect(r, kMinimapRect, {160, 120, 232, 255});
    const int cx = kMinimapRect.x + kMinimapRect.w / 2;
    text::centered_cx(r, font, strings().get("ADV_DIMDOOR_TITLE"), cx, kMinimapRect.y + 12, kText);
    text::wrapped_centered_cx(r, small_font, strings().get("ADV_DIMDOOR_HINT"), cx, kMinimapRect.y + 44,
                              kMinimapRect.w - 12, kText);
    if (state.valid_hero(hero)) {
        const int casts = state.heroes[(size_t)hero].spell_charges[25];
        text::centered_cx(r, small_font, strings().format("ADV_DIMDOOR_CASTS", {std::to_string(casts)}), cx,
                          kMinimapRect.y + 112, kText);
    }
}

// ---------------------------------------------------------------- locator

void scroll_locator(LocatorPanelState& loc, bool towns, int delta, int count) {
    int& row = towns ? loc.town_scroll : loc.hero_scroll;
    const int64_t next = (int64_t)row + delta;
    row = (int)std::clamp<int64_t>(next, 0, std::max(count - kLocatorRows, 0));
}

int locator_list_index(const LocatorPanelState& loc, int hit_row, int count, bool towns) {
    if (hit_row < 0 || hit_row >= kLocatorRows) return -1;
    const int i = (towns ? loc.town_scroll : loc.hero_scroll) + hit_row;
    return i >= 0 && i < count ? i : -1;
}

SDL_Rect town_build_mark_rect(const SDL_Rect& row) { return SDL_Rect{row.x + row.w - 14, row.y + 3, 10, 10}; }

void draw_locator_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state,
                        const LocatorPanelState& loc, const std::vector<int>& hero_order,
                        const std::vector<int>& town_order, const std::vector<int>* hero_move_points,
                        TTF_Font* small_font, const GameMap* build_map) {
    for (int towns = 0; towns < 2; ++towns) {
        const std::vector<int>& order = towns ? town_order : hero_order;
        const int scroll = towns ? loc.town_scroll : loc.hero_scroll;
        const int selected = towns ? loc.selected_town_row : loc.selected_hero_row;
        for (int row = 0; row < kLocatorRows; ++row) {
            const SDL_Rect rc = locator_row_rect(towns, row);
            fill(r, rc, {24, 20, 16, 255});
            const int64_t i = (int64_t)scroll + row;
            if (i < 0 || i >= (int64_t)order.size()) continue;
            const int id = order[(size_t)i];
            bool can_build = false;
            if (!towns && state.valid_hero(id)) {
                const HeroState& h = state.heroes[(size_t)id];
                if (!blit(r, res.mini_portraits, h.portrait, rc.x + 2, rc.y + 5))
                    fill(r, {rc.x + 2, rc.y + 5, 30, 22}, player_rgb(owner_colour(state, h.owner)));
                // Movement left today, as a bar of up to 60 points.
                if (hero_move_points && id < (int)hero_move_points->size()) {
                    const int mp = std::clamp((*hero_move_points)[(size_t)id], 0, 60);
                    const int bh = mp * 22 / 60;
                    fill(r, {rc.x + 36, rc.y + 27 - bh, 5, bh}, {64, 200, 64, 255});
                }
                text::at(r, small_font, std::to_string(h.level), rc.x + 46, rc.y + 8, kText);
            } else if (towns && id >= 0 && id < (int)state.castles.size()) {
                const CastleState& c = state.castles[(size_t)id];
                const int frame = (c.faction & 3) * 2 + (c.is_castle ? 1 : 0);
                if (!blit(r, res.locators, frame, rc.x + 2, rc.y + 1))
                    fill(r, {rc.x + 2, rc.y + 1, 60, 30}, {168, 152, 120, 255});
                can_build = build_map && town_can_build_today(c, state, *build_map);
            }
            if (i == selected && !blit(r, res.locators, kLocatorSelectFrame, rc.x, rc.y))
                frame_rect(r, rc, {252, 224, 0, 255});
            if (can_build) {
                const SDL_Rect mark = town_build_mark_rect(rc);
                fill(r, mark, {40, 24, 8, 255});
                fill(r, {mark.x + 2, mark.y + 2, mark.w - 4, mark.h - 4}, {255, 208, 32, 255});
            }
        }
    }
    const SDL_Rect ups[2] = {kHeroUpArrow, kTownUpArrow}, downs[2] = {kHeroDownArrow, kTownDownArrow};
    for (int k = 0; k < 2; ++k) {
        if (!blit_into(r, res.locators, kLocatorUpFrame, ups[k])) fill(r, ups[k], {120, 104, 80, 255});
        if (!blit_into(r, res.locators, kLocatorDownFrame, downs[k])) fill(r, downs[k], {120, 104, 80, 255});
    }
}

// ---------------------------------------------------------------- buttons and info panels

void draw_adv_buttons(SDL_Renderer* r, const AdventureResources& res, int pressed) {
    for (int b = 0; b < kAdvButtonCount; ++b) {
        const SDL_Rect rc = adv_button_rect(b);
        if (blit(r, res.buttons, 2 * b + (b == pressed ? 1 : 0), rc.x, rc.y)) continue;
        fill(r, rc, b == pressed ? SDL_Color{96, 80, 56, 255} : SDL_Color{160, 136, 96, 255});
        frame_rect(r, rc, {40, 32, 24, 255});
    }
}

void draw_info_panel_text(SDL_Renderer* r, TTF_Font* font, const std::string& text) {
    fill(r, kInfoPanelRect, kPanelFill);
    const std::vector<std::string> lines = text::wrap_in_box(font, text, kInfoPanelRect.w - 8, kInfoPanelRect.h - 8);
    const int skip = font ? TTF_FontLineSkip(font) : 0;
    const int top = kInfoPanelRect.y + (kInfoPanelRect.h - skip * (int)lines.size()) / 2;
    text::draw_lines_box(r, font, lines, kInfoPanelRect.x, top, kInfoPanelRect.w, kText);
}

void draw_summary_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int player, int kind,
                        TTF_Font* font, TTF_Font* small_font) {
    if (kind != SUMMARY_FUNDS && kind != SUMMARY_DATE) return;
    if (kind == SUMMARY_DATE) {
        draw_info_panel_text(r, font, strings().format("ADV_DATE", {std::to_string(state.month),
                                                                    std::to_string(state.week),
                                                                    std::to_string(state.day)}));
        return;
    }
    fill(r, kInfoPanelRect, kPanelFill);
    const int x0 = kInfoPanelRect.x, y0 = kInfoPanelRect.y;
    if (!is_player_index(player)) return;
    const PlayerResources& pr = state.resources[(size_t)player];
    // Gold across the bottom, the six others in two rows of three.
    for (int i = 1; i < RES_COUNT; ++i) {
        const int col = (i - 1) % 3, row = (i - 1) / 3;
        const int x = x0 + 4 + col * 48, y = y0 + 2 + row * 28;
        blit(r, res.resources, i, x, y);
        text::at(r, small_font, std::to_string(pr[i]), x + 22, y + 14, kText);
    }
    blit(r, res.resources, RES_GOLD, x0 + 4, y0 + 58);
    text::at(r, small_font, std::to_string(pr[RES_GOLD]), x0 + 40, y0 + 66, kText);
}

std::string panel_hero_name(TTF_Font* font, const std::string& name, int width) {
    if (text::measure(font, name).x <= width) return name;
    const std::size_t space = name.find(' ');
    return text::fit_width(font, space == std::string::npos ? name : name.substr(space + 1), width);
}

std::string panel_army_count(TTF_Font* font, int count, int width) {
    const std::string whole = std::to_string(count);
    if (text::measure(font, whole).x <= width) return whole;
    // Thousands, rounded down: a count is never overstated, and never cut to a smaller number.
    return std::to_string(count / 1000) + "K";
}

void draw_mini_hero_panel(SDL_Renderer* r, const AdventureResources& res, const GameState& state, int hero,
                          TTF_Font* font, TTF_Font* small_font) {
    fill(r, kInfoPanelRect, kPanelFill);
    const int x0 = kInfoPanelRect.x, y0 = kInfoPanelRect.y;
    if (!state.valid_hero(hero) || !state.heroes[(size_t)hero].live) {
        text::centered_box(r, small_font, strings().get("ADV_NO_HERO"), x0, y0 + 36, kInfoPanelRect.w, kText);
        return;
    }
    const HeroState& h = state.heroes[(size_t)hero];
    if (!blit(r, res.mini_portraits, h.portrait, x0 + 2, y0 + 2))
        fill(r, {x0 + 2, y0 + 2, 30, 22}, player_rgb(owner_colour(state, h.owner)));
    text::at(r, font, panel_hero_name(font, localized_hero_name(h.name), kInfoPanelRect.w - 38), x0 + 36, y0 + 1, kText);
    const std::string skills = std::to_string(h.attack) + " " + std::to_string(h.defense) + " " +
                               std::to_string(h.power) + " " + std::to_string(h.knowledge);
    text::at(r, small_font, skills, x0 + 36, y0 + 18, kText);
    for (int s = 0; s < ARMY_SLOTS; ++s) {
        const int x = x0 + 2 + s * 28, y = y0 + 34;
        if (h.army.slot_empty(s)) continue;
        if (!blit(r, res.creatures, h.army.ids[(size_t)s], x, y)) fill(r, {x, y, 26, 26}, {120, 96, 72, 255});
        text::centered_box(r, small_font, panel_army_count(small_font, h.army.counts[(size_t)s], 27), x, y + 34, 28,
                           kText);
    }
}

// ---------------------------------------------------------------- the frame

void draw_adventure_screen(SDL_Renderer* r, const AdventureFrame& f) {
    if (!r || !f.res || !f.state || !f.map) return;
    static const std::vector<HeroMoveState> kNoMoves;
    static const std::vector<RouteMarker> kNoMarkers;
    static const std::vector<int> kNone;
    const AdventureResources& res = *f.res;
    render_viewport_passes(r, res, *f.state, *f.map, f.view_x, f.view_y, f.moves ? *f.moves : kNoMoves,
                           f.current_player, f.markers ? *f.markers : kNoMarkers, f.anim_tick);
    if (f.dim_door_open)
        draw_dim_door_panel(r, res, *f.state, f.selected_hero, f.font, f.small_font);
    else
        draw_minimap(r, res, *f.state, *f.map, f.current_player, f.view_x, f.view_y);
    fill_panel_background(r);
    draw_border(r, res);
    static const LocatorPanelState kNoLocator;
    draw_locator_panel(r, res, *f.state, f.locator ? *f.locator : kNoLocator, f.hero_order ? *f.hero_order : kNone,
                       f.town_order ? *f.town_order : kNone, f.hero_move_points, f.small_font,
                       f.build_status ? f.map : nullptr);
    draw_adv_buttons(r, res, f.pressed_button);
    if (f.new_day && f.new_day->active)
        draw_new_day_panel(r, f.new_day_res, *f.new_day, *f.state, f.font, f.small_font);
    else if (f.summary.kind != SUMMARY_NONE)
        draw_summary_panel(r, res, *f.state, f.current_player, f.summary.kind, f.font, f.small_font);
    else
        draw_mini_hero_panel(r, res, *f.state, f.selected_hero, f.font, f.small_font);
}

void render_full_frame(SDL_Renderer* r, const AdventureFrame& f) {
    if (!r) return;
    draw_adventure_screen(r, f);
    SDL_RenderPresent(r);
}

}  // namespace vorn1
