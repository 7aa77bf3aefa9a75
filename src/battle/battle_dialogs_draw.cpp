// Hero tents, the hero options dialog, the creature panels, the surrender dialog and the retreat
// question. Every picture
// has a drawn stand-in, so each dialog stays usable without its art.
#include <SDL.h>
#include <SDL_ttf.h>

#include <algorithm>
#include <cstdio>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/dialog_utils.h"
#include "assets/icn.h"
#include "assets/render_utils.h"
#include "assets/text_render.h"
#include "battle/battle_draw.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "lang/runtime_strings.h"
#include "world/town_names.h"
#include "world/game_state.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr SDL_Color kGold{255, 215, 0, 255};
constexpr SDL_Rect kOptionsRect{195, 129, 250, 202};
constexpr SDL_Rect kPanelRect = kCreaturePanelRect;
constexpr SDL_Rect kSurrenderRect{77, 129, 486, 221};
constexpr const char* kClassKey[4] = {"CLASS_KNIGHT", "CLASS_BARBARIAN", "CLASS_SORCERESS", "CLASS_WARLOCK"};

const BattleSprite* frame_of(const std::vector<BattleSprite>& list, int i) {
    if (i < 0 || i >= static_cast<int>(list.size()) || !list[i].tex) return nullptr;
    return &list[static_cast<size_t>(i)];
}

void fill(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c, bool blend) {
    SDL_SetRenderDrawBlendMode(r, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(r, &rect);
    SDL_SetRenderDrawBlendMode(r, SDL_BLENDMODE_NONE);
}

void outline(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderDrawRect(r, &rect);
}

void stretch(SDL_Renderer* r, const BattleSprite& f, const SDL_Rect& dst) { SDL_RenderCopy(r, f.tex, nullptr, &dst); }

int line_skip(TTF_Font* font, int fallback) { return font ? TTF_FontLineSkip(font) : fallback; }

const char* speed_key(int speed) {
    if (speed == 1) return "SPEED_SLOW";
    if (speed == 3) return "SPEED_FAST";
    return "SPEED_MEDIUM";
}

}  // namespace

SpriteList::~SpriteList() { release(); }

void SpriteList::release() {
    for (BattleSprite& s : frames)
        if (s.tex) SDL_DestroyTexture(s.tex);
    frames.clear();
    if (picture) SDL_DestroyTexture(picture);
    picture = nullptr;
    loaded = false;
}

void BattleScreen::release_dialog_art() {
    viewgen_art.release();
    viewarmy_art.release();
    surrender_art.release();
}

// ---- hero tents

SDL_Texture* BattleScreen::hero_figure(int hero_class, int& w, int& h) const {
    const int cls = (hero_class & 0x0F) > 3 ? 0 : (hero_class & 0x0F);
    if (!battle_res) return nullptr;
    if (opt_hero_horse && battle_res->hero_standing_art.figure(cls)) {
        w = battle_res->hero_standing_art.w[cls];
        h = battle_res->hero_standing_art.h[cls];
        return battle_res->hero_standing_art.figure(cls);
    }
    const BattleSprite* f = frame_of(battle_res->tent_sprites, cls);
    if (!f) return nullptr;
    w = f->w;
    h = f->h;
    return f->tex;
}

bool BattleScreen::resolve_hero_tent_geom(int side_index, HeroTentGeom& g) const {
    g = HeroTentGeom{};
    g.side = side_index;
    if (side_index != 0 && (side_index != 1 || defender_side.hero < 0)) return false;
    const BattleSide& s = side(side_index);
    const int cls = (s.hero_class & 0x0F) > 3 ? 0 : (s.hero_class & 0x0F);
    const int nibble = s.hero_colour & 0x0F;
    const std::vector<BattleSprite>* tents = battle_res ? &battle_res->tent_sprites : nullptr;
    g.figure = hero_figure(s.hero_class, g.rect.w, g.rect.h);
    g.alt_art = g.figure && opt_hero_horse && battle_res->hero_standing_art.figure(cls);
    g.mirrored = side_index == 1;
    if (side_index == 0) {
        g.base_y = 257;
        g.rect.x = 0;
    } else {
        g.base_y = siege && defender_tent_rect.h > 0 ? defender_tent_rect.y + defender_tent_rect.h : 417;
        g.rect.x = 640 - g.rect.w;
    }
    g.rect.y = g.base_y - g.rect.h;
    if (tents) {
        g.banner = frame_of(*tents, nibble >= 1 && nibble <= 3 ? 4 + nibble : 4);
        g.emblem = frame_of(*tents, 8 + ((s.hero_class & 0x0F) <= 3 ? cls : 0));
    }
    if (g.banner) {
        g.banner_x = side_index == 0 ? g.rect.w + 4 - g.banner->w : 636 - g.rect.w;
        g.banner_y = side_index == 0 ? 260 - g.banner->h : g.base_y + 3 - g.banner->h;
    }
    return g.figure != nullptr;
}

void BattleScreen::draw_hero_tent_body(int side_index) {
    HeroTentGeom g;
    if (resolve_hero_tent_geom(side_index, g)) copy_texture(renderer, g.figure, g.rect, g.mirrored);
    else if (side_index == 0 || defender_side.hero >= 0) fill(renderer, g.rect, SDL_Color{110, 80, 40, 255}, false);
}

void BattleScreen::draw_hero_tent_banners() {
    for (int s = 0; s < 2; ++s) {
        HeroTentGeom g;
        if (!resolve_hero_tent_geom(s, g) || g.alt_art || !g.banner) continue;
        SDL_Rect dst{g.banner_x, g.banner_y, g.banner->w, g.banner->h};
        copy_texture(renderer, g.banner->tex, dst, g.mirrored);
        if (!g.emblem) continue;
        SDL_Rect e{dst.x + (dst.w - g.emblem->w) / 2, dst.y + (dst.h - g.emblem->h) / 2 - 27, g.emblem->w,
                   g.emblem->h};
        SDL_RenderCopy(renderer, g.emblem->tex, nullptr, &e);
    }
}

SDL_Texture* BattleScreen::load_hero_portrait(uint8_t id) {
    if (!battle_res || !battle_res->archive || !renderer || id == 255) return nullptr;
    char name[24];
    std::snprintf(name, sizeof name, "PORT%04d.ICN", id);
    try {
        const IcnFrames f = decode_icn(battle_res->archive->get(name), battle_res->palette);
        if (f.frames.empty() || f.frames[0].empty()) return nullptr;
        return img_to_tex(renderer, f.frames[0], true);
    } catch (const std::exception&) {
        return nullptr;
    }
}

void BattleScreen::ensure_art_loaded(SpriteList& art, const char* icn, const char* bmp) {
    if (art.loaded) return;
    art.loaded = true;
    if (!battle_res || !battle_res->archive || !renderer) return;
    const AggArchive& ar = *battle_res->archive;
    if (icn) battle_res->load_icn_sprites(ar, battle_res->palette, icn, art.frames);
    if (!bmp) return;
    const std::vector<uint8_t> bytes = ar.get(bmp);
    if (bytes.empty()) return;
    try {
        art.picture = img_to_tex(renderer, decode_bmp(bytes, battle_res->palette), false);
    } catch (const std::exception&) {
        art.picture = nullptr;
    }
}

// ---- hero options dialog

void BattleScreen::draw_general_options() {
    ensure_art_loaded(viewgen_art, "VIEWGEN.ICN", nullptr);
    const std::vector<BattleSprite>& art = viewgen_art.frames;
    const BattleSide& s = side(options_side);
    if (const BattleSprite* bg = frame_of(art, 0)) stretch(renderer, *bg, kOptionsRect);
    else fill(renderer, kOptionsRect, SDL_Color{30, 20, 50, 230}, true);
    const int nibble = s.hero_colour & 0x0F;
    if (const BattleSprite* panel = frame_of(art, 1 + nibble % 4)) stretch(renderer, *panel, SDL_Rect{328, 165, 111, 105});

    const StringTable& t = strings();
    auto n = [](int v) { return std::to_string(v); };
    const std::string lines[6] = {t.format("BATTLE_STAT_ATTACK", {n(s.attack)}),
                                  t.format("BATTLE_STAT_DEFENSE", {n(s.defense)}),
                                  t.format("BATTLE_STAT_SPELLPOWER", {n(s.power)}),
                                  t.format("BATTLE_STAT_KNOWLEDGE", {n(s.knowledge)}),
                                  t.format("BATTLE_STAT_MORALE", {morale_label(s.morale)}),
                                  t.format("BATTLE_STAT_LUCK", {luck_label(s.luck)})};
    const int step = font_small ? TTF_FontLineSkip(font_small) + 1 : 14;
    for (int i = 0; i < 6; ++i) text::centered_box(renderer, font_small, lines[i], 328, 171 + i * step, 111, kWhite);

    if (SDL_Texture* portrait = load_hero_portrait(s.portrait)) {
        int w = 0, h = 0;
        SDL_QueryTexture(portrait, nullptr, nullptr, &w, &h);
        SDL_Rect dst{206, 172, w, h};
        SDL_RenderCopy(renderer, portrait, nullptr, &dst);
        SDL_DestroyTexture(portrait);
    } else {
        fill(renderer, SDL_Rect{206, 172, 100, 90}, SDL_Color{50, 50, 70, 200}, true);
    }
    const int cls = s.hero_class & 0x0F;
    const std::string name = s.name.empty() ? t.get("HERO_GENERIC") : localized_hero_name(s.name);
    const std::string class_text = cls <= 3 ? t.get(kClassKey[cls]) : t.get("HERO_GENERIC");
    text::centered_box(renderer, font, t.format("HERO_NAME_THE_CLASS", {name, class_text}), 195, 140, 250, kGold);

    static const char* const labels[4] = {"SPL", "RUN", "SUR", "EXIT"};
    const bool enabled[4] = {hand_caster(options_side) != nullptr, retreat_allowed(options_side),
                             surrender_allowed(), true};
    for (int i = 0; i < 4; ++i) {
        const SDL_Rect r{210 + 59 * i, 277, 43, 48};
        option_button_rects[static_cast<size_t>(i)] = r;
        const bool shown_pressed = (view_only && i < 3) || (!view_only && !enabled[i]) || option_button_pressed[i];
        if (const BattleSprite* f = frame_of(art, 7 + 2 * i + (shown_pressed ? 1 : 0))) {
            stretch(renderer, *f, r);
        } else {
            fill(renderer, r, SDL_Color{60, 40, 90, 255}, false);
            text::centered_box(renderer, font, labels[i], r.x, 293, 43, kWhite);
        }
    }
}

// ---- creature panels

SDL_Rect BattleScreen::draw_viewarmy_bg() {
    ensure_art_loaded(viewarmy_art, "VIEWARMY.ICN", nullptr);
    if (const BattleSprite* bg = frame_of(viewarmy_art.frames, 0)) {
        stretch(renderer, *bg, kPanelRect);
    } else {
        fill(renderer, kPanelRect, SDL_Color{30, 30, 50, 230}, true);
        outline(renderer, kPanelRect, SDL_Color{100, 100, 150, 255});
    }
    return kPanelRect;
}

std::vector<std::string> battle_stack_stat_lines(const BattleUnit& u, int attack_bonus, int defense_bonus,
                                                 int8_t morale, int8_t luck) {
    const CreatureStats s = creature_stats(u.creature);
    const StringTable& t = strings();
    auto n = [](long long v) { return std::to_string(v); };
    std::vector<std::string> lines;
    lines.push_back(t.format("BATTLE_STAT_ATK_SKILL", {n(s.attack), n(s.attack + attack_bonus)}));
    lines.push_back(t.format("BATTLE_STAT_DEF_SKILL", {n(s.defense), n(s.defense + defense_bonus)}));
    if (s.shots > 0) lines.push_back(t.format("BATTLE_STAT_SHOTS", {n(u.shots)}));
    lines.push_back(t.format("BATTLE_STAT_DAMAGE", {n(s.min_dmg), n(s.max_dmg)}));
    lines.push_back(t.format("BATTLE_STAT_HP", {n(u.top_hp), n(s.hp), n(static_cast<long long>(u.count) * s.hp)}));
    lines.push_back(t.format("BATTLE_STAT_SPEED", {t.get(speed_key(s.speed))}));
    lines.push_back(t.format("BATTLE_STAT_MORALE", {morale_label(morale)}));
    lines.push_back(t.format("BATTLE_STAT_LUCK", {luck_label(luck)}));
    return lines;
}

void BattleScreen::draw_creature_stat_block(int x, int y, int w, const BattleUnit& u, int attack_bonus,
                                            int defense_bonus, int8_t morale, int8_t luck) {
    text::centered_box(renderer, font, creature_stats(u.creature).name, x, y + 11, w, SDL_Color{255, 215, 50, 255});
    const int first_y = font ? y + 11 + TTF_FontLineSkip(font) + 4 : y + 29;
    const std::vector<std::string> lines = battle_stack_stat_lines(u, attack_bonus, defense_bonus, morale, luck);
    // The lines stay inside their column and end 2 pixels above the panel's exit button.
    TTF_Font* f = text::column_font(lines, w, first_y, kCreaturePanelButtonTop - 2, 2, font, font_small);
    int line_y = first_y;
    const int step = line_skip(f, 14) + 2;
    for (const std::string& line : lines) {
        text::centered_box(renderer, f, line, x, line_y, w, kWhite);
        line_y += step;
    }
}

void BattleScreen::draw_creature_tooltip(const BattleUnit& u) {
    const SDL_Rect p = draw_viewarmy_bg();
    const int half = p.w / 2;
    if (u.creature <= 27 && battle_res && battle_res->creatures[u.creature].loaded) {
        if (const BattleSprite* f = frame_of(battle_res->creatures[u.creature].walking(), 1)) {
            SDL_Rect dst{p.x + 10 + (half - f->w) / 2, p.y + 25, f->w, f->h};
            SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
        }
    }
    const int plate_x = p.x + (half - 116) / 2;
    if (const BattleSprite* plate = frame_of(viewarmy_art.frames, 1)) {
        SDL_Rect dst{plate_x, p.y + p.h - 53, plate->w, plate->h};
        SDL_RenderCopy(renderer, plate->tex, nullptr, &dst);
    }
    text::centered_box(renderer, font, std::to_string(u.count), plate_x, p.y + p.h - 43, 142,
                       SDL_Color{255, 255, 0, 255});
    const BattleSide& s = side(u.side == 1 ? 1 : 0);
    draw_creature_stat_block(p.x + half + 4, p.y + 6, p.w - half - 8, u, s.attack, s.defense, s.morale, s.luck);
}

void BattleScreen::draw_creature_view_dialog(const BattleUnit& u) {
    draw_creature_tooltip(u);
    const SDL_Rect r{kPanelRect.x + kPanelRect.w - 108, kCreaturePanelButtonTop, 72, 27};
    view_close_rect = r;
    if (const BattleSprite* f = frame_of(viewarmy_art.frames, 4 + (view_close_pressed ? 1 : 0))) {
        stretch(renderer, *f, r);
    } else {
        fill(renderer, r, SDL_Color{60, 60, 100, 255}, false);
        text::centered_box(renderer, font, strings().get("BATTLE_EXIT"), r.x, r.y + 6, 72,
                           kWhite);
    }
}

// ---- surrender dialog

void BattleScreen::draw_surrender_confirm() {
    ensure_art_loaded(surrender_art, "SURRENDR.ICN", "SURRENDR.BMP");
    const std::vector<BattleSprite>& art = surrender_art.frames;
    if (surrender_art.picture) {
        SDL_RenderCopy(renderer, surrender_art.picture, nullptr, &kSurrenderRect);
    } else {
        fill(renderer, kSurrenderRect, SDL_Color{25, 25, 25, 235}, true);
        outline(renderer, kSurrenderRect, SDL_Color{200, 170, 60, 255});
    }
    if (const BattleSprite* frame = frame_of(art, 4)) stretch(renderer, *frame, SDL_Rect{121, 167, 101, 93});
    if (SDL_Texture* portrait = load_hero_portrait(surrender_enemy_portrait)) {
        int w = 0, h = 0;
        SDL_QueryTexture(portrait, nullptr, nullptr, &w, &h);
        SDL_Rect dst{121 + (101 - w) / 2, 167 + (93 - h) / 2, w, h};
        SDL_RenderCopy(renderer, portrait, nullptr, &dst);
        SDL_DestroyTexture(portrait);
    }
    const StringTable& t = strings();
    const int step = line_skip(font, 15) + 1;
    const std::string enemy = surrender_enemy_name.empty() ? t.get("BATTLE_THE_ENEMY") : surrender_enemy_name;
    text::centered_box(renderer, font, t.format("BATTLE_STATES", {enemy}), 234, 149, 317, kGold);
    text::centered_box(renderer, font, t.get("BATTLE_ACCEPT1"), 234, 149 + 2 * step, 317, kWhite);
    text::centered_box(renderer, font, t.get("BATTLE_ACCEPT2"), 234, 149 + 3 * step, 317, kWhite);
    text::centered_box(renderer, font, t.get("BATTLE_ACCEPT3"), 234, 149 + 4 * step, 317, kWhite);
    text::centered_box(renderer, font, t.format("BATTLE_PRICE_OF", {std::to_string(surrender_cost)}), 234,
                       149 + 5 * step, 317, kWhite);

    surrender_accept_rect = SDL_Rect{152, 281, 116, 27};
    surrender_decline_rect = SDL_Rect{356, 281, 116, 27};
    auto button = [&](const SDL_Rect& r, int frame, const char* word) {
        if (const BattleSprite* f = frame_of(art, frame)) {
            stretch(renderer, *f, r);
            return;
        }
        fill(renderer, r, SDL_Color{180, 140, 40, 255}, false);
        outline(renderer, r, SDL_Color{220, 190, 60, 255});
        text::centered_xy(renderer, font, word, r.x, r.y, r.w, r.h, kWhite);
    };
    button(surrender_accept_rect, surrender_accept_pressed ? 1 : 0, "ACCEPT");
    button(surrender_decline_rect, 2 + (surrender_decline_pressed ? 1 : 0), "DECLINE");
}

// ---- retreat question

void BattleScreen::draw_retreat_question() {
    constexpr int kRows = 2;
    const int top = (460 - border_height(kRows)) / 2;
    const int button_y = top + border_height(kRows) - 36;
    if (res) {
        draw_buybuild_border(renderer, *res, 177, top, kRows);
    } else {
        const SDL_Rect box{177, top, kBorderWidth, border_height(kRows)};
        fill(renderer, box, SDL_Color{25, 25, 25, 235}, true);
        outline(renderer, box, SDL_Color{200, 170, 60, 255});
    }
    const std::string question =
        strings().get_or("BATTLE_RETREAT_QUESTION", "Retreat? Your hero and army will leave the battle and the map.");
    const std::vector<std::string> lines = text::wrap_pixels(font, question, 246);
    const int step = line_skip(font, 15);
    const int text_h = static_cast<int>(lines.size()) * step;
    const int slack = kBorderRowH * kRows - 28 - text_h;
    text::draw_lines_box(renderer, font, lines, 177, top + kBorderTopH + std::max(slack / 2, 0), kBorderWidth, kGold);
    if (res) {
        retreat_accept_rect = draw_system_button(renderer, *res, static_cast<EventButtonId>(2), 249, button_y,
                                                 retreat_accept_pressed, font);
        retreat_decline_rect = draw_system_button(renderer, *res, static_cast<EventButtonId>(3), 391, button_y,
                                                  retreat_decline_pressed, font);
        return;
    }
    retreat_accept_rect = SDL_Rect{249 - 33, button_y, 66, 25};
    retreat_decline_rect = SDL_Rect{391 - 33, button_y, 66, 25};
    for (const SDL_Rect* r : {&retreat_accept_rect, &retreat_decline_rect}) {
        fill(renderer, *r, SDL_Color{180, 140, 40, 255}, false);
        outline(renderer, *r, SDL_Color{220, 190, 60, 255});
    }
}

}  // namespace vorn1
