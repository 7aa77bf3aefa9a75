#include <string>
#include <vector>

#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "world/town_names.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kPale{255, 255, 180, 255};
constexpr std::array<int, 4> kBackgroundOf = {0, 2, 1, 3};

int row_of(uint8_t faction) { return faction >= 1 && faction <= 3 ? faction : 0; }

SDL_Texture* at(const std::vector<SDL_Texture*>& list, int i) {
    return i >= 0 && i < static_cast<int>(list.size()) ? list[static_cast<size_t>(i)] : nullptr;
}

void draw_still(SDL_Renderer* r, const std::vector<SDL_Texture*>& list, int x, int y) {
    SDL_Texture* t = at(list, 0);
    const SDL_Point s = texture_size(t);
    blit_into(r, t, SDL_Rect{x, y, s.x, s.y});
}

// Frames 1..n-1 cycle over frame 0, each at its own header's rectangle.
void draw_anim(SDL_Renderer* r, const std::vector<SDL_Texture*>& list, const std::vector<SpriteHeader>& headers,
               int anim_step) {
    const int k = castle_anim_frame(static_cast<int>(list.size()), anim_step);
    if (k < 0 || k >= static_cast<int>(headers.size())) return;
    const SpriteHeader& h = headers[static_cast<size_t>(k)];
    blit_into(r, at(list, k), SDL_Rect{h.x, h.y, h.width, h.height});
}

void draw_building(SDL_Renderer* r, const std::vector<SDL_Texture*>& list, const std::vector<SpriteHeader>& headers,
                   int x, int y, int anim_step) {
    draw_still(r, list, x, y);
    draw_anim(r, list, headers, anim_step);
}

bool alt_swamp_shown(const CastleScreenResources& cres, const Resources& res, const CastleState& c) {
    return c.faction == FACTION_WARLOCK && (cres.alt_hydra_enabled || res.alt_hydra) && cres.alt_hydra.loaded &&
           !(c.buildings & BLD_SHIPYARD);
}

void draw_alt_swamp(SDL_Renderer* r, const AltHydraArt& art, int x, int y, int anim_step) {
    const SDL_Point s0 = texture_size(art.frames[0]);
    blit_into(r, art.frames[0], SDL_Rect{x, y, s0.x, s0.y});
    const int k = 1 + ((anim_step % 5) + 5) % 5;
    const SDL_Point sk = texture_size(art.frames[static_cast<size_t>(k)]);
    blit_into(r, art.frames[static_cast<size_t>(k)],
              SDL_Rect{x + art.headers[static_cast<size_t>(k)].x - art.headers[0].x,
                       y + art.headers[static_cast<size_t>(k)].y - art.headers[0].y, sk.x, sk.y});
}

void draw_buildings(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res, const CastleState& c,
                    int anim_step) {
    const int f = row_of(c.faction);
    const auto& frames = cres.faction_building_frames[static_cast<size_t>(f)];
    const auto& headers = cres.faction_building_headers[static_cast<size_t>(f)];
    if (f == FACTION_BARBARIAN && !cres.barbarian_extra_frames.empty()) {
        const SpriteHeader h = cres.barbarian_extra_headers.empty() ? SpriteHeader{} : cres.barbarian_extra_headers[0];
        draw_still(r, cres.barbarian_extra_frames, h.x, h.y);
        draw_anim(r, cres.barbarian_extra_frames, cres.barbarian_extra_headers, anim_step);
    }
    // The order the click test walks backwards (town_picture_layers).
    int n = 0;
    const auto layers = town_picture_layers(c.faction, c.buildings, c.is_castle != 0, n);
    for (int i = 0; i < n; ++i) {
        const TownSpot& spot = layers[static_cast<size_t>(i)];
        switch (spot.kind) {
            case TOWN_SPOT_CASTLE: {
                const SDL_Point pos[4] = {{171, 0}, {220, 0}, {268, 1}, {172, 0}};
                draw_building(r, frames[kCastleEntry], headers[kCastleEntry], pos[f].x, pos[f].y, anim_step);
                break;
            }
            case TOWN_SPOT_TENT: {
                const SDL_Point pos[4] = {{58, 35}, {377, 52}, {375, 69}, {369, 78}};
                draw_still(r, frames[kTentEntry], pos[f].x, pos[f].y);
                break;
            }
            case TOWN_SPOT_MAGE_GUILD: {
                int count = 0;
                const std::array<int, 8> records = mage_guild_records(castle_mage_guild_level(c.buildings), count);
                for (int k = 0; k < count; ++k) {
                    const MageGuildRecord& m = MAGE_GLD_DATA[static_cast<size_t>(records[static_cast<size_t>(k)])];
                    blit_into(r, at(cres.mage_guild_frames, m.frame), SDL_Rect{m.x, m.y, m.w, m.h});
                }
                break;
            }
            case TOWN_SPOT_DWELLING: {
                const size_t d = static_cast<size_t>(spot.dwelling);
                const int x = DWELLING_X[static_cast<size_t>(f)][d];
                const int y = DWELLING_Y[static_cast<size_t>(f)][d];
                if (d == 4 && alt_swamp_shown(cres, res, c)) draw_alt_swamp(r, cres.alt_hydra, x, y, anim_step);
                else draw_building(r, frames[d], headers[d], x, y, anim_step);
                break;
            }
            case TOWN_SPOT_THIEVES_GUILD:
                draw_building(r, cres.thieves_guild_frames, cres.thieves_guild_headers, 132, 81, anim_step);
                break;
            case TOWN_SPOT_TAVERN:
                draw_building(r, cres.tavern_frames, cres.tavern_headers, 204, 74, anim_step);
                break;
            case TOWN_SPOT_WELL: draw_building(r, cres.well_frames, cres.well_headers, 174, 200, anim_step); break;
            case TOWN_SPOT_DOCK: draw_building(r, cres.dock_frames, cres.dock_headers, 0, 165, anim_step); break;
            case TOWN_SPOT_NONE: break;
        }
    }
}

// An icon scaled to height 22, keeping its aspect.
SDL_Point icon22(SDL_Texture* t) {
    const SDL_Point s = texture_size(t);
    return {s.y > 0 ? s.x * 22 / s.y : s.x, 22};
}

void draw_treasury(SDL_Renderer* r, const Resources& res, TTF_Font* font, const PlayerResources* t) {
    struct Cell {
        int frame;
        int32_t PlayerResources::*amount;
    };
    const Cell cells[3][2] = {{{0, &PlayerResources::wood}, {3, &PlayerResources::sulfur}},
                              {{4, &PlayerResources::crystal}, {1, &PlayerResources::mercury}},
                              {{2, &PlayerResources::ore}, {5, &PlayerResources::gems}}};
    const int cols[2] = {554, 595};
    const int rows[3] = {288, 329, 370};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 2; ++col) {
            const Cell& c = cells[row][col];
            SDL_Texture* icon = res.resource.at(c.frame);
            if (icon) {
                const SDL_Point s = icon22(icon);
                blit_into(r, icon, SDL_Rect{cols[col] + (38 - s.x) / 2, rows[row] - 24, s.x, s.y});
            }
            text::centered_box(r, font, std::to_string(t ? t->*c.amount : 0), cols[col], rows[row], 38, kPale);
        }
    SDL_Texture* gold = res.resource.at(6);
    if (gold) {
        const SDL_Point s = icon22(gold);
        blit_into(r, gold, SDL_Rect{552 + (82 - s.x) / 2, 387, s.x, s.y});
    }
    text::centered_box(r, font, std::to_string(t ? t->gold : 0), 552, 411, 82, kPale);
}

}  // namespace

void draw_army_row(SDL_Renderer* r, const CastleScreenResources&, const Resources& res, TTF_Font* font, int x, int y,
                   const uint8_t* ids, const uint16_t* counts) {
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int sx = x + 88 * i;
        const bool empty = ids[i] == EMPTY_ID || counts[i] == 0;
        const int frame = empty ? 2 : ids[i] < 6 ? 3 : ids[i] < 12 ? 4 : ids[i] < 18 ? 5 : ids[i] < 24 ? 6 : 7;
        const SDL_Rect slot{sx, y, 82, 93};
        if (!blit_frame_into(r, res.strip, frame, slot)) fill_rect(r, slot, SDL_Color{30, 30, 30, 255});
        if (empty) continue;
        const uint8_t id = ids[i];
        const int w = id < 28 ? CS_MONSTER_W[id] : 32;
        const int h = id < 28 ? CS_MONSTER_H[id] : 64;
        const int px = id < 28 ? sx + (82 - w) / 2 : sx + 25;
        blit_into(r, res.monsters.at(id), SDL_Rect{px, y + 79 - h, w, h});
        text::right_in(r, font, std::to_string(counts[i]), sx, y + 79, 82, SDL_Color{255, 255, 160, 255}, 2);
    }
}

void draw_castle_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                        const GameState& game, int castle, bool exit_pressed, TTF_Font*, TTF_Font* small_font,
                        int anim_step) {
    if (!r || castle < 0 || static_cast<size_t>(castle) >= game.castles.size()) return;
    const CastleState& c = game.castles[static_cast<size_t>(castle)];
    const int f = row_of(c.faction);

    if (!blit_into(r, cres.town_background[static_cast<size_t>(kBackgroundOf[static_cast<size_t>(f)])],
                   SDL_Rect{0, 0, 640, 256}))
        fill_rect(r, SDL_Rect{0, 0, 640, 256}, SDL_Color{20, 20, 60, 255});
    draw_buildings(r, cres, res, c, anim_step);

    if (!blit_frame_into(r, res.strip, 0, SDL_Rect{0, 248, 640, 212}))
        fill_rect(r, SDL_Rect{0, 248, 640, 212}, SDL_Color{40, 30, 10, 255});
    const std::string name = c.name.empty() ? strings().get("CASTLE_TITLE") : localized_castle_name(c.name);
    text::centered_box(r, small_font, name, 144, 248, 352, SDL_Color{255, 255, 255, 255});

    const int hero = castle_visiting_hero(game, castle);
    const SDL_Rect crest_box{5, 262, 101, 93};
    SDL_Texture* crest = nullptr;
    if (hero >= 0) {
        const HeroState& h = game.heroes[static_cast<size_t>(hero)];
        const int idx = h.hero_class() + 4 * h.color();
        if (idx <= 15) crest = res.crests[static_cast<size_t>(idx)];
    } else {
        const int colour = is_player_index(c.owner) ? game.player_color[static_cast<size_t>(c.owner)] : -1;
        crest = res.colour_crests[static_cast<size_t>(castle_colour_crest_index(colour))];
    }
    if (!blit_into(r, crest, crest_box)) fill_rect(r, crest_box, SDL_Color{50, 50, 50, 255});

    draw_army_row(r, cres, res, small_font, 111, 262, c.garrison.ids.data(), c.garrison.counts.data());

    const SDL_Rect hero_box{5, 361, 101, 93};
    if (hero >= 0) {
        const HeroState& h = game.heroes[static_cast<size_t>(hero)];
        SDL_Texture* portrait = h.portrait <= 35 ? res.portraits[h.portrait] : nullptr;
        if (!blit_into(r, portrait, hero_box)) fill_rect(r, hero_box, SDL_Color{40, 40, 80, 255});
        draw_army_row(r, cres, res, small_font, 111, 361, h.army.ids.data(), h.army.counts.data());
    } else {
        if (!blit_frame_into(r, res.strip, 8, hero_box)) fill_rect(r, hero_box, SDL_Color{40, 40, 40, 255});
        const Army none;
        draw_army_row(r, cres, res, small_font, 111, 361, none.ids.data(), none.counts.data());
    }

    draw_treasury(r, res, small_font, is_player_index(c.owner) ? &game.resources[static_cast<size_t>(c.owner)] : nullptr);
    blit_frame_into(r, res.legend, exit_pressed ? 1 : 0, kCastleExitRect);

    if (cres.status_bar) {
        const SDL_Rect left{0, 460, 320, 20}, right{320, 460, 320, 20};
        SDL_RenderCopyEx(r, cres.status_bar, nullptr, &left, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
        SDL_RenderCopy(r, cres.status_bar, nullptr, &right);
    } else {
        fill_rect(r, SDL_Rect{0, 460, 640, 20}, SDL_Color{60, 0, 80, 255});
    }
}

}  // namespace vorn1
