#include "town/recruit.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <utility>

#include "assets/agg.h"
#include "assets/dialog_utils.h"
#include "assets/render_utils.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

namespace {

bool in(const SDL_Rect& r, int x, int y) {
    const SDL_Point p{x, y};
    return SDL_PointInRect(&p, &r);
}

SDL_Texture* load_background(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette,
                             const std::string& name) {
    std::string entry = name;
    if (!archive.has(entry)) {
        std::string lower = name;
        std::transform(lower.begin(), lower.end(), lower.begin(), [](unsigned char c) { return std::tolower(c); });
        entry = lower;
    }
    if (!archive.has(entry)) {
        std::cerr << "  WARNING: " << name << " missing\n";
        return nullptr;
    }
    std::string error;
    SDL_Texture* tex = load_bmp_texture(renderer, archive, palette, entry, false, &error);
    if (!tex) {
        std::cerr << "  WARNING: " << name << " missing\n";
        return nullptr;
    }
    std::cout << "  " << name << ": loaded\n";
    return tex;
}

// {x, y, w, h} of the dwellings on the town picture, [faction][slot].
constexpr SDL_Rect DWELLING_RECT[4][kDwellingSlots] = {
    {{90, 87, 80, 68}, {0, 84, 88, 52}, {418, 130, 170, 124}, {319, 154, 138, 91}, {390, 80, 164, 68},
     {555, 19, 85, 237}},
    {{74, 65, 70, 62}, {334, 164, 140, 90}, {529, 32, 111, 64}, {438, 80, 146, 104}, {0, 95, 105, 62},
     {538, 94, 102, 164}},
    {{532, 121, 108, 135}, {82, 86, 68, 62}, {0, 118, 86, 55}, {392, 105, 124, 76}, {326, 180, 168, 68},
     {524, 12, 52, 118}},
    {{530, 10, 102, 150}, {570, 106, 69, 112}, {421, 0, 52, 48}, {385, 138, 108, 119}, {0, 47, 74, 118},
     {64, 5, 68, 148}},
};

}  // namespace

void RecruitResources::load(SDL_Renderer* renderer, const AggArchive& archive, const Palette& palette) {
    unload();
    dialog_bg = load_background(renderer, archive, palette, kDialogEntry);
    panel_bg = load_background(renderer, archive, palette, kPanelEntry);
}

void RecruitResources::unload() {
    if (dialog_bg) SDL_DestroyTexture(dialog_bg);
    if (panel_bg) SDL_DestroyTexture(panel_bg);
    dialog_bg = nullptr;
    panel_bg = nullptr;
}

int creature_rare_icon(uint8_t creature) {
    switch (creature) {
        case 11: return 4;  // crystal
        case 17: return 1;  // mercury
        case 23: return 3;  // sulfur
        case 27: return 5;  // gems
        default: return -1;
    }
}

int creature_rare_amount(uint8_t creature, const CreatureCost& cost) {
    switch (creature) {
        case 11: return cost.crystal;
        case 17: return cost.mercury;
        case 23: return cost.sulfur;
        case 27: return cost.gems;
        default: return 0;
    }
}

std::string recruit_creature_name(uint8_t creature) {
    if (creature >= CREATURE_COUNT) return "";
    return strings().get(std::string("CREATURE_") + kCreatureKeyStem[creature] + "_ACC");
}

void RecruitSystem::fill_from_town(int town, int slot, const GameState& game) {
    castle = town;
    dwelling = slot;
    if (town < 0 || static_cast<size_t>(town) >= game.castles.size()) return;
    const CastleState& c = game.castles[static_cast<size_t>(town)];
    const int id = dwelling_slot_creature(c.faction, slot);
    if (id < 0) return;
    creature = static_cast<uint8_t>(id);
    unit_cost = creature_recruit_cost(creature);
    available = c.available[static_cast<size_t>(slot)];
}

void RecruitSystem::open_dialog(int town, int slot, const GameState& game, RecruitCallback cb) {
    close();
    on_result = std::move(cb);
    open = true;
    tooltip = false;
    fill_from_town(town, slot, game);
    count = 0;
    compute_layout();
}

void RecruitSystem::open_map_recruit(uint8_t id, int avail, int x, int y, int visitor, RecruitCallback cb) {
    close();
    on_result = std::move(cb);
    open = true;
    creature = id;
    unit_cost = creature_recruit_cost(id);
    available = avail;
    site_x = x;
    site_y = y;
    hero = visitor;
    compute_layout();
}

void RecruitSystem::open_tooltip(int town, int slot, const GameState& game) {
    close();
    open = true;
    tooltip = true;
    fill_from_town(town, slot, game);
    compute_layout();
}

void RecruitSystem::open_no_room() {
    no_room_open = true;
    no_room_ok_pressed = false;
    no_room_rect = {160, 160, 320, 160};
    no_room_ok_rect = {271, 243, 98, 25};
}

void RecruitSystem::close() { *this = RecruitSystem{}; }

void RecruitSystem::compute_layout() {
    if (tooltip) {
        dialog_rect = kPanelRect;
        ok_rect = cancel_rect = up_rect = down_rect = max_rect = count_rect = SDL_Rect{};
        return;
    }
    dialog_rect = kDialogRect;
    ok_rect = {188, 330, 98, 25};
    cancel_rect = {341, 330, 98, 25};
    up_rect = {359, 225, 26, 14};
    down_rect = {359, 240, 26, 14};
    max_rect = {388, 227, 60, 25};
    count_rect = {285, 225, 68, 19};
}

int RecruitSystem::max_affordable(const GameState& game) const {
    return vorn1::max_affordable(game, castle, hero, available, unit_cost);
}

RecruitResult RecruitSystem::build_result() const {
    RecruitResult r;
    r.castle = castle;
    r.dwelling = dwelling;
    r.creature = creature;
    r.count = count;
    // Wood and ore stay 0: no creature costs them.
    r.cost = creature_cost_for_count(creature, count);
    if (castle < 0) {
        r.site_x = site_x;
        r.site_y = site_y;
        r.hero = hero;
    }
    return r;
}

void RecruitSystem::accept() {
    const RecruitResult r = build_result();
    RecruitCallback cb = std::move(on_result);
    close();
    if (cb) cb(r);
}

int RecruitSystem::handle_sdl_event(const SDL_Event& e, const GameState& game) {
    if (no_room_open) {
        if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT &&
            in(no_room_ok_rect, e.button.x, e.button.y)) {
            no_room_ok_pressed = true;
        } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && no_room_ok_pressed) {
            close();
        } else if (notice_key(e)) {
            no_room_open = false;
            no_room_ok_pressed = false;
        }
        return 1;
    }
    if (!open) return 0;

    if (tooltip) {
        if (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_KEYDOWN) close();
        return 1;
    }

    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        if (in(up_rect, x, y)) up_pressed = true;
        else if (in(down_rect, x, y)) down_pressed = true;
        else if (in(max_rect, x, y)) max_pressed = true;
        else if (in(ok_rect, x, y)) ok_pressed = true;
        else if (in(cancel_rect, x, y)) cancel_pressed = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
        const int x = e.button.x, y = e.button.y;
        const bool up = up_pressed, down = down_pressed, max = max_pressed, ok = ok_pressed, cancel = cancel_pressed;
        up_pressed = down_pressed = max_pressed = ok_pressed = cancel_pressed = false;
        if (up) {
            if (in(up_rect, x, y)) count = std::min(count + 1, max_affordable(game));
        } else if (down) {
            if (in(down_rect, x, y)) count = std::max(count - 1, 0);
        } else if (max) {
            if (in(max_rect, x, y)) count = max_affordable(game);
        } else if (ok) {
            if (in(ok_rect, x, y) && count >= 1) accept();
        } else if (cancel) {
            close();  // wherever the button is released
        }
    } else if (e.type == SDL_KEYDOWN) {
        const SDL_Keycode k = e.key.keysym.sym;
        if (k == SDLK_ESCAPE) close();
        else if ((k == SDLK_RETURN || k == SDLK_KP_ENTER) && count >= 1) accept();
    }
    return 1;
}

RecruitCallback town_recruit_callback(RecruitSystem& sys, GameState& game) {
    return [&sys, &game](RecruitResult r) {
        if (r.count < 1) return;
        bool no_room = false;
        apply_recruit_result(r, game, no_room);
        if (no_room) sys.open_no_room();
    };
}

SDL_Rect dwelling_sprite_rect(uint8_t faction, int slot) {
    if (slot < 0 || slot >= kDwellingSlots) return SDL_Rect{};
    return DWELLING_RECT[faction <= 3 ? faction : 0][slot];
}

}  // namespace vorn1
