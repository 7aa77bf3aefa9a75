#include "town/thieves_guild_screen.h"

#include <algorithm>
#include <cstdlib>

#include "adventure/puzzle_map_state.h"
#include "assets/image.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/well_screen.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<CreaturePair, 28> CREATURE_STATS = {{
    {1, 1},  {5, 3},  {5, 9},  {7, 9},   {10, 12}, {11, 12}, {3, 4},  {5, 4},  {6, 4},  {9, 5},
    {10, 5}, {12, 9}, {4, 2},  {6, 6},   {6, 3},   {7, 5},   {10, 9}, {12, 10}, {3, 6}, {4, 6},
    {8, 8},  {12, 9}, {8, 11}, {15, 12}, {6, 1},   {7, 6},   {8, 6},  {10, 9},
}};
const std::array<int, 8> TG_ROW_Y = {30, 56, 82, 108, 134, 160, 186, 212};
const std::array<int, 4> TG_COL_CX = {294, 391, 488, 585};
const std::array<int, 4> TG_COL_LABEL_X = {254, 351, 448, 545};

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};

int64_t army_value(const Army& a) {
    int64_t v = 0;
    for (int i = 0; i < ARMY_SLOTS; ++i)
        if (a.ids[i] < 28 && a.counts[i] != 0)
            v += int64_t(CREATURE_STATS[a.ids[i]].first + CREATURE_STATS[a.ids[i]].second) * a.counts[i];
    return v;
}

int guilds_of(const GameState& game, int owner) {
    if (owner < 0) return 0;
    int g = 0;
    for (const CastleState& c : game.castles)
        if (c.live && c.owner == owner && (c.buildings & BLD_THIEVES_GUILD)) ++g;
    return g;
}

}  // namespace

bool thieves_guild_sprite_hit(int x, int y, const CastleState& town) {
    return (town.buildings & BLD_THIEVES_GUILD) && x >= 138 && x <= 253 && y >= 84 && y <= 183;
}

void open_thieves_guild_screen(ThievesGuildState& s) {
    s.open = true;
    s.exit_pressed = false;
}

void close_thieves_guild_screen(ThievesGuildState& s) {
    s.open = false;
    s.exit_pressed = false;
}

bool trading_post_signpost_visible(const GameState& game, int castle, bool trade_enabled) {
    if (!trade_enabled || castle < 0 || (size_t)castle >= game.castles.size()) return false;
    const uint16_t b = game.castles[(size_t)castle].buildings;
    return (b & BLD_THIEVES_GUILD) && (b & BLD_TAVERN);
}

SDL_Rect trading_post_signpost_rect(bool big) { return big ? SDL_Rect{7, 60, 72, 36} : SDL_Rect{7, 60, 22, 32}; }

const Image& trading_post_signpost_image() {
    static const Image img = [] {
        Image out(72, 36);
        const auto put = [&](int x, int y, SDL_Color c) {
            uint8_t* p = out.at(x, y);
            p[0] = c.r, p[1] = c.g, p[2] = c.b, p[3] = 255;
        };
        // A post with two boards, the upper one pointing right and the lower one left.
        const auto post = [](int x, int y) { return x >= 33 && x <= 38 && y >= 3; };
        const auto board = [](int x, int y, int top, int left, int right, bool tip_right) {
            if (y < top || y > top + 10) return false;
            const int reach = 5 - std::abs(y - (top + 5));  // the tip narrows to a point
            return tip_right ? x >= left && x <= right + reach : x >= left - reach && x <= right;
        };
        const auto on_board = [&](int which, int x, int y) {
            return which == 0 ? board(x, y, 5, 6, 60, true) : board(x, y, 19, 12, 66, false);
        };
        for (int y = 0; y < 36; ++y)
            for (int x = 0; x < 72; ++x) {
                put(x, y, SDL_Color{0, 0, 0, 255});
                const int which = on_board(0, x, y) ? 0 : on_board(1, x, y) ? 1 : -1;
                if (which >= 0) {
                    const auto in = [&](int dx, int dy) { return on_board(which, x + dx, y + dy); };
                    const bool edge = !in(-1, 0) || !in(1, 0) || !in(0, -1) || !in(0, 1);
                    const bool grain = !edge && (y == 8 || y == 13 || y == 22 || y == 27) && (x / 3) % 4 != 0;
                    put(x, y, edge ? SDL_Color{90, 55, 20, 255} : grain ? SDL_Color{160, 112, 52, 255}
                                                                         : SDL_Color{196, 146, 74, 255});
                } else if (post(x, y)) {
                    put(x, y, x == 33 ? SDL_Color{150, 100, 45, 255} : x == 38 ? SDL_Color{70, 44, 20, 255}
                                                                             : SDL_Color{112, 72, 32, 255});
                }
            }
        return out;
    }();
    return img;
}

int64_t player_army_strength(const GameState& game, int player) {
    int64_t v = 0;
    for (const HeroState& h : game.heroes)
        if (h.live && h.owner == player) v += army_value(h.army);
    for (const CastleState& c : game.castles)
        if (c.live && c.owner == player) v += army_value(c.garrison);
    return v;
}

RankingData compute_ranking(const GameState& game, const PuzzleMapState* puzzle) {
    RankingData d;
    for (int p = 0; p < 4; ++p) {
        int64_t towns = 0, castles = 0, heroes = 0;
        for (const CastleState& c : game.castles)
            if (c.live && c.owner == p) ++(c.is_castle ? castles : towns);
        for (const HeroState& h : game.heroes)
            if (h.live && h.owner == p) ++heroes;
        auto& v = d.value[(size_t)p];
        if (towns + castles + heroes == 0) {
            v.fill(-1);
            continue;
        }
        const PlayerResources& r = game.resources[(size_t)p];
        v = {towns,
             castles,
             heroes,
             r.gold,
             int64_t(r.wood) + r.ore + r.crystal,
             int64_t(r.mercury) + r.gems + r.sulfur,
             puzzle ? puzzle->visited_count[(size_t)p] : 0,
             player_army_strength(game, p)};
    }
    return d;
}

int thieves_guild_rows_shown(int guilds) {
    if (guilds >= 4) return 8;
    if (guilds == 3) return 7;
    if (guilds == 2) return 5;
    return guilds == 1 ? 3 : 0;
}

std::vector<std::vector<int>> rank_for_row(const RankingData& data, int row) {
    std::vector<std::pair<int, int64_t>> entries;
    for (int p = 0; p < 4; ++p)
        if (data.value[(size_t)p][(size_t)row] >= 0) entries.push_back({p, data.value[(size_t)p][(size_t)row]});
    std::stable_sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    std::vector<std::vector<int>> places;
    for (size_t i = 0; i < entries.size(); ++i) {
        if (i == 0 || entries[i].second != entries[i - 1].second) {
            if (places.size() == 4) break;
            places.emplace_back();
        }
        places.back().push_back(entries[i].first);
    }
    return places;
}

std::vector<int> flag_offsets(int n) {
    std::vector<int> out;
    for (int k = 0; k < n; ++k) out.push_back(n % 2 ? -((n - 1) / 2) * 25 + 25 * k : (25 - 25 * n + 50 * k) / 2);
    return out;
}

int handle_thieves_guild_event(const SDL_Event& e, ThievesGuildState& s, const GameState* game, int castle,
                               bool trade_enabled, bool* open_trading_post, bool big) {
    if (!s.open) return 0;
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT && game && !s.full_view &&
        trading_post_signpost_visible(*game, castle, trade_enabled)) {
        const SDL_Rect sign = trading_post_signpost_rect(big);
        if (e.button.x >= sign.x && e.button.x < sign.x + sign.w && e.button.y >= sign.y && e.button.y < sign.y + sign.h) {
            if (open_trading_post) *open_trading_post = true;
            return 1;
        }
    }
    if (sub_screen_exit_event(e, s.exit_pressed)) close_thieves_guild_screen(s);
    return 1;
}

void draw_thieves_guild_screen(SDL_Renderer* r, const CastleScreenResources& cres, const Resources& res,
                               const GameState& game, int castle, const ThievesGuildState& s, TTF_Font* font,
                               const PuzzleMapState* puzzle, SDL_Texture* signpost_small, bool trade_enabled,
                               SDL_Texture* signpost_big) {
    if (!r || !s.open) return;
    const bool valid = castle >= 0 && (size_t)castle < game.castles.size();
    if (!s.full_view && !valid) return;
    const int shown = s.full_view ? 8 : thieves_guild_rows_shown(guilds_of(game, game.castles[(size_t)castle].owner));
    blit_into(r, cres.build_background, SDL_Rect{0, 0, 640, 262});
    static const char* const kCols[4] = {"THIEVES_COL_FIRST", "THIEVES_COL_SECOND", "THIEVES_COL_THIRD",
                                         "THIEVES_COL_FOURTH"};
    for (int c = 0; c < 4; ++c) text::centered_box(r, font, strings().get(kCols[c]), TG_COL_LABEL_X[(size_t)c], 3, 81, kWhite);
    static const char* const kRows[8] = {"THIEVES_ROW_TOWNS", "THIEVES_ROW_CASTLES", "THIEVES_ROW_HEROES",
                                         "THIEVES_ROW_GOLD",  "THIEVES_ROW_WCO",     "THIEVES_ROW_GSM",
                                         "THIEVES_ROW_OBELISKS", "THIEVES_ROW_ARMY"};
    for (int row = 0; row < 8; ++row) text::right_box(r, font, strings().get(kRows[row]), 13, TG_ROW_Y[(size_t)row], 225, 16, kWhite);
    const RankingData data = compute_ranking(game, puzzle);
    static const int kFlag[4] = {4, 2, 0, 6};
    for (int row = 0; row < shown; ++row) {
        const auto places = rank_for_row(data, row);
        for (size_t c = 0; c < places.size(); ++c) {
            const std::vector<int> off = flag_offsets((int)places[c].size());
            for (size_t k = 0; k < places[c].size(); ++k) {
                const int colour = game.player_color[(size_t)places[c][k]];
                const int f = colour >= 0 && colour <= 3 ? kFlag[colour] : 0;
                SDL_Texture* t = res.flag32.at(f);
                if (!t) continue;
                const SDL_Point sz = res.flag32.size(f);
                const int w = sz.x > 0 ? sz.x : 25, h = sz.y > 0 ? sz.y : 25;
                blit_into(r, t, SDL_Rect{TG_COL_CX[c] + off[k] - w / 2, TG_ROW_Y[(size_t)row] + 8 - h / 2, w, h});
            }
        }
    }
    if (res.system_btn.at(0)) draw_town_status_bar(r, res);
    text::centered_xy(r, font, strings().get("THIEVES_TITLE"), 6, 241, 538, 19, kWhite);
    blit_frame_into(r, res.legend, s.exit_pressed ? 1 : 0, kSubScreenExit);
    if (!s.full_view && trading_post_signpost_visible(game, castle, trade_enabled)) {
        if (signpost_big) blit_into(r, signpost_big, trading_post_signpost_rect(true));
        else if (signpost_small) blit_into(r, signpost_small, trading_post_signpost_rect(false));
    }
}

}  // namespace vorn1
