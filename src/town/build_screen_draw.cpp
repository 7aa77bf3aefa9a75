#include <string>
#include <vector>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event_types.h"
#include "lang/runtime_strings.h"
#include "town/build_screen.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "world/town_names.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kPale{255, 255, 180, 255};
constexpr int kSwampFrame = 33;

SDL_Texture* building(const CastleScreenResources& cres, int frame) {
    return frame >= 0 && frame < static_cast<int>(cres.building_pictures.size())
               ? cres.building_pictures[static_cast<size_t>(frame)]
               : nullptr;
}

// A building picture, the warlock swamp replaced by the alternative art where it is on.
SDL_Texture* cell_picture(const CastleScreenResources& cres, const Resources& res, int frame) {
    if (frame == kSwampFrame && (cres.alt_hydra_enabled || res.alt_hydra) && cres.alt_hydra.loaded &&
        cres.alt_hydra.build_picture)
        return cres.alt_hydra.build_picture;
    return building(cres, frame);
}

void name_plate(SDL_Renderer* r, const CastleScreenResources& cres, const SDL_Rect& plate, const std::string& text,
                TTF_Font* font) {
    if (!blit_into(r, building(cres, 0), plate)) fill_rect(r, plate, SDL_Color{60, 0, 100, 255});
    text::centered_xy(r, font, text, plate.x, plate.y, plate.w, plate.h, kWhite);
}

int scaled_width(SDL_Texture* t, int height) {
    const SDL_Point s = texture_size(t);
    return s.y > 0 ? s.x * height / s.y : s.x;
}

void draw_marker(SDL_Renderer* r, const Resources& res, int frame, SDL_Point cell) {
    SDL_Texture* t = res.townwind.at(frame);
    if (!t) return;
    const SDL_Point s = texture_size(t);
    blit_into(r, t, SDL_Rect{cell.x + 137 - s.x / 2, cell.y + 56 - s.y, s.x, s.y});
}

void draw_info_panel(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const StructureDef& def,
                     uint8_t faction, int rows, TTF_Font* font, TTF_Font* small_font) {
    draw_buybuild_border(r, res, 177, 20, rows);
    blit_into(r, cell_picture(cres, res, def.picture), SDL_Rect{252, 68, 137, 61});
    const std::string name = localized_structure_name(def.name);
    name_plate(r, cres, SDL_Rect{252, 129, 137, 13}, name, small_font);

    const std::string body = def.creature_plural && def.creature_plural[0]
                                 ? strings().format("STRUCT_PRODUCES", {name, localized_creature_plural_en(def.creature_plural)})
                                 : localized_structure_desc(def.name, def.description);
    const std::vector<std::string> lines = text::wrap_pixels(font, body, 278);
    for (size_t i = 0; i < lines.size(); ++i)
        text::centered_box(r, font, lines[i], 177, 150 + 18 * static_cast<int>(i), 286, kWhite);
    const int R = lines.empty() ? 156 : 150 + 18 * (static_cast<int>(lines.size()) - 1) + 24;

    const std::vector<std::string> needs = build_requirement_names(def, faction);
    int T = R;
    if (!needs.empty()) {
        text::centered_box(r, font, strings().get("CASTLE_REQUIRES"), 177, R, 286, kWhite);
        for (size_t k = 0; k < needs.size(); ++k)
            text::centered_box(r, font, localized_structure_name(needs[k].c_str()), 177, R + 18 + 16 * static_cast<int>(k),
                               286, SDL_Color{200, 200, 200, 255});
        T = R + 18 + 16 * static_cast<int>(needs.size());
    }

    // Cost order: wood, mercury, ore, sulfur, crystal, gems, gold (record order gold, wood, ore, crystal, gems,
    // mercury, sulfur).
    const int amounts[7] = {def.cost[1], def.cost[5], def.cost[2], def.cost[6], def.cost[3], def.cost[4], def.cost[0]};
    std::vector<int> icons, values, widths;
    for (int frame = 0; frame < 7; ++frame) {
        if (amounts[frame] <= 0 || !res.resource.at(frame)) continue;
        icons.push_back(frame);
        values.push_back(amounts[frame]);
        widths.push_back(scaled_width(res.resource.at(frame), 28));
    }
    const size_t first = static_cast<size_t>(build_cost_first_row(widths));
    auto draw_row = [&](size_t from, size_t to, int y) {
        int w = -12;
        for (size_t i = from; i < to; ++i) w += widths[i] + 12;
        int x = 320 - w / 2;
        for (size_t i = from; i < to; ++i) {
            blit_into(r, res.resource.at(icons[i]), SDL_Rect{x, y, widths[i], 28});
            text::centered_box(r, small_font, std::to_string(values[i]), x, y + 30, widths[i] + 4, kPale);
            x += widths[i] + 12;
        }
    };
    if (!icons.empty()) draw_row(0, first, T + 8);
    if (first < icons.size()) draw_row(first, icons.size(), T + 56);
}

}  // namespace

void draw_build_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const EventSystem&,
                       const GameState& game, const GameMap& map, int castle, int hover_cell, int info_cell,
                       bool exit_pressed, TTF_Font* font, TTF_Font* small_font) {
    if (!r || castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return;
    const CastleState& town = game.castles[static_cast<size_t>(castle)];
    const PlayerResources* treasury =
        is_player_index(town.owner) ? &game.resources[static_cast<size_t>(town.owner)] : nullptr;

    bool hero_in_town = false;
    for (const HeroState& h : game.heroes)
        if (h.live && h.owner == town.owner && h.x == town.x && h.y == town.y) hero_in_town = true;
    bool has_max_heroes = false;
    if (town.owner >= 0) has_max_heroes = HeroPool::count_player_heroes(town.owner, game) > 7;
    const bool hero_blocked = hero_in_town || has_max_heroes;
    const bool cannot_afford_hero = treasury && treasury->gold < 2500;

    if (!blit_into(r, cres.build_background, SDL_Rect{0, 0, 640, 262}))
        fill_rect(r, SDL_Rect{0, 0, 640, 262}, SDL_Color{60, 60, 60, 255});

    std::string hover_text;
    for (int cell = 0; cell < 12; ++cell) {
        const BuildSlot slot = SLOT_ORDER[static_cast<size_t>(cell)];
        const SDL_Point o = build_cell_origin(cell);
        const SDL_Rect pic{o.x, o.y, 137, 61};
        const SDL_Rect plate{o.x, o.y + 61, 137, 13};
        BuildStatus status = BUILD_NOT_ALLOWED;
        if (slot == BS_RECRUIT_HERO) {
            status = hero_blocked ? BUILD_NOT_ALLOWED : cannot_afford_hero ? BUILD_CANNOT_AFFORD : BUILD_OK;
            if (!blit_into(r, building(cres, 6), pic)) fill_rect(r, pic, SDL_Color{30, 30, 50, 255});
            name_plate(r, cres, plate, strings().get("RECRUIT_HERO"), small_font);
            if (status != BUILD_OK) draw_marker(r, res, 10 + status, o);
        } else {
            const StructureDef* def = build_cell_def(slot, town);
            if (!def) continue;
            if (treasury) status = get_build_status(slot, town, *treasury, map, town.built_today != 0);
            if (!blit_into(r, cell_picture(cres, res, def->picture), pic)) fill_rect(r, pic, SDL_Color{30, 30, 50, 255});
            name_plate(r, cres, plate, localized_structure_name(def->name), small_font);
            if (status >= BUILD_BUILT && status <= BUILD_CANNOT_AFFORD) draw_marker(r, res, 10 + status, o);
        }
        if (hover_cell == cell)
            hover_text = build_hover_text(slot, town, status, hero_in_town, has_max_heroes, cannot_afford_hero);
    }

    if (SDL_Texture* bar = res.system_btn.at(0)) {
        const SDL_Rect left{6, 241, 269, 19}, right{275, 241, 269, 19};
        SDL_RenderCopyEx(r, bar, nullptr, &left, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
        SDL_RenderCopy(r, bar, nullptr, &right);
    } else {
        fill_rect(r, SDL_Rect{6, 241, 538, 19}, SDL_Color{40, 0, 60, 255});
    }
    text::centered_box(r, font, hover_text.empty() ? strings().get("CASTLE_OPTIONS") : hover_text, 6, 243, 538, kWhite);

    if (!blit_frame_into(r, res.legend, exit_pressed ? 1 : 0, kBuildExitRect)) {
        fill_rect(r, kBuildExitRect, SDL_Color{180, 140, 20, 255});
        text::centered_box(r, font, strings().get("CASTLE_EXIT"), 554, 242, 80, SDL_Color{0, 0, 0, 255});
    }

    if (info_cell < 0 || info_cell > 11) return;
    const BuildSlot slot = SLOT_ORDER[static_cast<size_t>(info_cell)];
    if (slot == BS_RECRUIT_HERO) return;
    const StructureDef* def = build_cell_def(slot, town);
    if (!def) return;
    draw_info_panel(r, cres, res, *def, town.faction, slot == BS_MAGE_GUILD ? 5 : def->panel_rows, font, small_font);
}

void draw_build_castle_dialog(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                              BuildCastleDialogState& state, uint8_t faction, TTF_Font* font, TTF_Font* small_font) {
    if (!r || !state.open) return;
    draw_buybuild_border(r, res, 177, 65, 5);
    text::centered_box(r, font, strings().get("CASTLE_BUILD_IMPROVEMENT"), 177, 115, 286, kWhite);
    static const int kCastleFrame[4] = {7, 21, 14, 28};
    const int frame = kCastleFrame[faction >= 1 && faction <= 3 ? faction : 0];
    const SDL_Rect pic{252, 135, 137, 61};
    if (!blit_into(r, building(cres, frame), pic)) fill_rect(r, pic, SDL_Color{30, 30, 60, 255});
    name_plate(r, cres, SDL_Rect{252, 196, 137, 13}, strings().get("CASTLE_TITLE"), small_font);

    const std::vector<std::string> lines = text::wrap_pixels(font, strings().get("CASTLE_IMPROVES_TOWN"), 278);
    for (size_t i = 0; i < lines.size(); ++i)
        text::centered_box(r, font, lines[i], 177, 217 + 14 * static_cast<int>(i), 286, kWhite);
    const int L = lines.empty() ? 203 : 217 + 14 * (static_cast<int>(lines.size()) - 1);

    int widths[3];
    int total = -12;
    for (size_t i = 0; i < COSTS.size(); ++i) {
        SDL_Texture* t = res.resource.at(COSTS[i].icon);
        widths[i] = t ? scaled_width(t, 28) : 28;
        total += widths[i] + 12;
    }
    int x = 320 - total / 2;
    for (size_t i = 0; i < COSTS.size(); ++i) {
        blit_into(r, res.resource.at(COSTS[i].icon), SDL_Rect{x, L + 22, widths[i], 28});
        text::centered_box(r, small_font, std::to_string(COSTS[i].amount), x, L + 52, widths[i] + 4, kPale);
        x += widths[i] + 12;
    }
    state.ok_rect = draw_system_button(r, res, EVENT_BUTTON_OK, 249, 363, state.ok_pressed || !state.can_build, font);
    state.cancel_rect = draw_system_button(r, res, EVENT_BUTTON_DECLINE, 391, 363, state.cancel_pressed, font);
}

}  // namespace vorn1
