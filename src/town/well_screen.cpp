#include "town/well_screen.h"

#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "world/recruit_rules.h"
#include "world/town_names.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<uint16_t, 6> DWELLING_BIT = {0, 0x100, 0x200, 0x400, 0x800, 0x1000};
const std::array<std::array<int, 6>, 4> FACTION_BLD_FRAME = {{
    {8, 9, 10, 11, 12, 13},
    {22, 23, 24, 25, 26, 27},
    {15, 16, 17, 18, 19, 20},
    {29, 30, 31, 32, 33, 34},
}};
const std::array<std::array<int, 6>, 4> FACTION_CREATURE_ID = {{
    {0, 1, 2, 3, 4, 5},
    {6, 7, 8, 9, 10, 11},
    {12, 13, 14, 15, 16, 17},
    {18, 19, 20, 21, 22, 23},
}};
const std::array<std::array<const char*, 6>, 4> FACTION_DWELLING_NAME = {{
    {"Thatched Hut", "Archery Range", "Blacksmith", "Armory", "Jousting Arena", "Cathedral"},
    {"Hut", "Stick Hut", "Den", "Adobe", "Bridge", "Pyramid"},
    {"Treehouse", "Cottage", "Archery Range", "Stonehenge", "Fenced Meadow", "Red Tower"},
    {"Cave", "Crypt", "Nest", "Maze", "Swamp", "Black Tower"},
}};
const std::array<int, 3> WS_ROW_Y = {2, 81, 160};

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};

void draw_panel(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const CastleState& town,
                int f, int d, int y, bool right, TTF_Font* font) {
    const int px = right ? 499 : 4;
    const int frame = FACTION_BLD_FRAME[(size_t)f][(size_t)d];
    if ((size_t)frame < cres.building_pictures.size()) blit_into(r, cres.building_pictures[(size_t)frame], {px, y, 137, 61});
    if (!cres.building_pictures.empty()) blit_into(r, cres.building_pictures[0], SDL_Rect{px, y + 61, 137, 14});
    text::centered_xy(r, font, localized_structure_name(FACTION_DWELLING_NAME[(size_t)f][(size_t)d]), px, y + 61, 137,
                      14, kWhite);
    const uint8_t creature = (uint8_t)FACTION_CREATURE_ID[(size_t)f][(size_t)d];
    if (SDL_Texture* t = res.monsters.at(creature)) {
        const SDL_Point s = texture_size(t);
        const SDL_Rect dst{(right ? 434 : 141) + (65 - s.x) / 2, y + (75 - s.y) / 2, s.x, s.y};
        SDL_RenderCopyEx(r, t, nullptr, &dst, 0.0, nullptr, right ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
    }
    const int cx = right ? 324 : 206;
    int plate_w = 110, plate_h = 14;
    if (SDL_Texture* plate = res.townwind.at(2)) {
        const SDL_Point s = texture_size(plate);
        plate_w = std::min(s.x, 110);
        plate_h = s.y;
        blit_into(r, plate, SDL_Rect{cx + (110 - plate_w) / 2, y, plate_w, plate_h});
    }
    const StringTable& t = strings();
    text::centered_xy(r, font, t.get(std::string("CREATURE_") + kCreatureKeyStem[creature] + "_PLURAL"),
                      cx + (110 - plate_w) / 2, y, plate_w, plate_h, kWhite);
    const bool built = d == 0 || (town.buildings & DWELLING_BIT[(size_t)d]);
    const int p = y + plate_h;
    text::centered_box(r, font, t.get("WELL_AVAILABLE"), cx, p + 1, 110, kWhite);
    text::centered_box(r, font, built ? std::to_string(town.available[(size_t)d]) : t.get("WELL_NONE"), cx, p + 16, 110,
                       kWhite);
    text::centered_box(r, font, t.get("WELL_GROWTH_RATE"), cx, p + 31, 110, kWhite);
    text::centered_box(r, font,
                       built ? t.format("WELL_PER_WEEK", {std::to_string(well_shown_growth(town.faction, d))})
                             : t.get("WELL_NA"),
                       cx, p + 46, 110, kWhite);
}

}  // namespace

bool well_sprite_hit(int x, int y, const CastleState& town) {
    return (town.buildings & BLD_WELL) && x >= 175 && x <= 224 && y >= 200 && y <= 255;
}

void open_well_screen(WellScreenState& s) {
    s.open = true;
    s.exit_pressed = false;
}

void close_well_screen(WellScreenState& s) { s = WellScreenState{}; }

bool sub_screen_exit_event(const SDL_Event& e, bool& exit_pressed) {
    const auto over = [](int x, int y) { return x >= 554 && x <= 633 && y >= 237 && y <= 261; };
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT && over(e.button.x, e.button.y)) {
        exit_pressed = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && exit_pressed) {
        exit_pressed = false;
        return over(e.button.x, e.button.y);
    }
    return e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_ESCAPE;
}

int handle_well_event(const SDL_Event& e, WellScreenState& s) {
    if (!s.open || !sub_screen_exit_event(e, s.exit_pressed)) return 0;
    close_well_screen(s);
    return 1;
}

int well_shown_growth(uint8_t faction, int dwelling) { return dwelling_weekly_growth(faction, dwelling) + 2; }

void draw_town_status_bar(SDL_Renderer* r, const Resources& res) {
    SDL_Texture* bar = res.system_btn.at(0);
    if (!bar) {
        fill_rect(r, SDL_Rect{6, 241, 538, 19}, SDL_Color{40, 0, 60, 255});
        return;
    }
    const SDL_Rect left{6, 241, 269, 19}, right{275, 241, 269, 19};
    SDL_RenderCopyEx(r, bar, nullptr, &left, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
    SDL_RenderCopy(r, bar, nullptr, &right);
}

void draw_well_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const GameState& game,
                      int castle, const WellScreenState& s, TTF_Font* font) {
    if (!r || !s.open || castle < 0 || (size_t)castle >= game.castles.size()) return;
    const CastleState& town = game.castles[(size_t)castle];
    const int f = town.faction >= 1 && town.faction <= 3 ? town.faction : 0;
    blit_into(r, cres.build_background, SDL_Rect{0, 0, 640, 262});
    for (int row = 0; row < 3; ++row) {
        draw_panel(r, cres, res, town, f, row, WS_ROW_Y[(size_t)row], false, font);
        draw_panel(r, cres, res, town, f, row + 3, WS_ROW_Y[(size_t)row], true, font);
    }
    if (res.system_btn.at(0)) draw_town_status_bar(r, res);
    text::centered_xy(r, font, strings().get("CASTLE_TOWN_POP_STATS"), 6, 241, 538, 19, SDL_Color{255, 215, 0, 255});
    blit_frame_into(r, res.legend, s.exit_pressed ? 1 : 0, kSubScreenExit);
}

}  // namespace vorn1
