#include "town/heroscrn.h"

#include <algorithm>
#include <iostream>

#include "assets/agg.h"
#include "assets/render_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "battle/morale_luck.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_art.h"
#include "town/heroscrn_tooltip.h"
#include "world/town_names.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<int, 28> MONSTER_W = {26, 32, 24, 34, 68, 35, 29, 34, 61, 38, 33, 32, 35, 25,
                                       34, 27, 61, 69, 61, 35, 58, 36, 70, 68, 23, 61, 31, 40};
const std::array<int, 28> MONSTER_H = {64, 64, 68, 65, 68, 68, 53, 63, 43, 67, 70, 65, 62, 49,
                                       64, 65, 70, 70, 65, 65, 70, 68, 62, 66, 65, 70, 63, 46};

namespace {

constexpr SDL_Color kGold{255, 255, 160, 255};
constexpr int kArtRowY[2] = {308, 387};

SDL_Texture* frame(const HeroScreenResources& h, int i) {
    return i >= 0 && i < (int)h.icn.size() ? h.icn[(size_t)i] : nullptr;
}

// Morale or luck as a row of pictures: the good picture value times, the neutral once, the bad |value| times.
void draw_sign_row(SDL_Renderer* r, const HeroScreenResources& h, int value, int good, int bad, int neutral, int y) {
    SDL_Texture* t = frame(h, value > 0 ? good : value < 0 ? bad : neutral);
    if (!t) return;
    const SDL_Point s = texture_size(t);
    const int n = std::max(1, std::abs(value));
    const int w = std::min(74 / n, s.x);
    const int hh = std::min(s.y, 22);
    int x = 512 + (74 - n * w) / 2;
    for (int i = 0; i < n; ++i, x += w) blit_into(r, t, SDL_Rect{x, y, w, hh});
}

}  // namespace

void HeroScreenResources::load(SDL_Renderer* r, const AggArchive& archive, const Palette& pal) {
    unload();
    renderer = r;
    background = town_picture(r, archive, pal, "HEROSCRN.BMP");
    if (!background) std::cerr << "  heroscrn: WARNING \xE2\x80\x94 HEROSCRN.BMP not found in AGG\n";
    if (!town_sprite_set(r, archive, pal, "HEROSCRN.ICN", icn,
                         "  heroscrn: WARNING \xE2\x80\x94 HEROSCRN.ICN not found in AGG\n"))
        return;
    if (g_language == EN) return;
    for (const auto& [index, img] : load_lang_icn_override(lang_assets_root(), lang_code(g_language), "HEROSCRN")) {
        if (index < 0) continue;
        if ((size_t)index >= icn.size()) icn.resize((size_t)index + 1, nullptr);
        if (icn[(size_t)index]) SDL_DestroyTexture(icn[(size_t)index]);
        icn[(size_t)index] = img_to_tex(r, img, true);
    }
}

void HeroScreenResources::unload() {
    if (background) SDL_DestroyTexture(background);
    background = nullptr;
    for (SDL_Texture* t : icn)
        if (t) SDL_DestroyTexture(t);
    icn.clear();
    renderer = nullptr;
}

std::string hero_display_name(const HeroState& hero) {
    return hero.name.empty() ? strings().get("HERO_GENERIC") : localized_hero_name(hero.name);
}

std::string hero_class_name(const HeroState& hero) {
    static const char* const kClass[4] = {"CLASS_KNIGHT", "CLASS_BARBARIAN", "CLASS_SORCERESS", "CLASS_WARLOCK"};
    return strings().get((hero.crest & 0x0C) == 0 ? kClass[hero.crest & 0x03] : "HERO_GENERIC");
}

int hero_shown_skill(const HeroState& hero, int skill) {
    const uint8_t base[4] = {hero.attack, hero.defense, hero.power, hero.knowledge};
    if (skill < 0 || skill > 3) return 0;
    return std::min(base[skill] + hero.artifact_bonus[(size_t)skill], 127);
}

void draw_hero_screen(SDL_Renderer* r, const HeroScreenResources& h, const Resources& res, const GameState& game,
                      int index, bool exit_pressed, TTF_Font* font, TTF_Font* small_font, bool dismiss_hidden,
                      bool dismiss_pressed) {
    if (!r || index < 0 || (size_t)index >= game.heroes.size()) return;
    draw_hero_screen(r, h, res, game.heroes[(size_t)index], exit_pressed, font, small_font, dismiss_hidden,
                     dismiss_pressed);
}

void draw_hero_screen(SDL_Renderer* r, const HeroScreenResources& h, const Resources& res, const HeroState& hero,
                      bool exit_pressed, TTF_Font* font, TTF_Font* small_font, bool dismiss_hidden,
                      bool dismiss_pressed) {
    if (!r) return;
    if (!blit_into(r, h.background, SDL_Rect{0, 0, 640, 480})) fill_rect(r, SDL_Rect{0, 0, 640, 480}, {0, 30, 50, 255});
    text::centered_box(r, font, strings().format("HERO_NAME_THE_CLASS", {hero_display_name(hero), hero_class_name(hero)}),
                       95, 70, 450, kGold);
    const SDL_Rect portrait{49, 100, 101, 93};
    if (hero.portrait >= 36 || !blit_into(r, res.portraits[hero.portrait], portrait))
        fill_rect(r, portrait, {30, 30, 30, 255});

    static const int kSkillFrame[4] = {4, 1, 2, 0};
    static const char* const kSkillKey[4] = {"HERO_ATTACK_SKILL", "HERO_DEFENSE_SKILL", "HERO_SPELL_POWER",
                                             "HERO_KNOWLEDGE"};
    for (int i = 0; i < 4; ++i) {
        const int x = 156 + 88 * i;
        if (!blit_into(r, frame(h, kSkillFrame[i]), SDL_Rect{x, 100, 82, 93})) fill_rect(r, {x, 100, 82, 93}, {40, 20, 60, 255});
        text::centered_box(r, small_font, strings().get(kSkillKey[i]), x, 104, 82, SDL_Color{200, 180, 255, 255});
        text::centered_box(r, font, std::to_string(hero_shown_skill(hero, i)), x, 175, 82, kGold);
    }
    blit_into(r, frame(h, 3), SDL_Rect{508, 100, 82, 93});
    draw_sign_row(r, h, hero_battle_morale(hero), 13, 14, 17, 104);
    draw_sign_row(r, h, hero_battle_luck(hero), 11, 12, 16, 132);
    if (SDL_Texture* xp = h.icn.size() >= 11 ? frame(h, 10) : nullptr) {
        const SDL_Point s = texture_size(xp);
        blit_into(r, xp, SDL_Rect{508 + (42 - s.x) / 2, 162 + (28 - s.y) / 2, s.x, s.y});
    }
    text::centered_box(r, small_font, std::to_string(hero.experience), 508, 176, 112, SDL_Color{255, 220, 100, 255});

    const int crest = (hero.crest & 0x0F) + 4 * (hero.crest >> 4);
    const SDL_Rect crest_box{49, 200, 101, 93};
    if (crest >= 16 || !blit_into(r, res.crests[(size_t)crest], crest_box)) fill_rect(r, crest_box, {50, 50, 50, 255});

    for (int i = 0; i < ARMY_SLOTS; ++i) {
        const int x = 156 + 88 * i;
        const uint8_t id = hero.army.ids[i];
        const bool empty = id == EMPTY_ID || hero.army.counts[i] == 0;
        const int strip = empty ? 2 : id < 6 ? 3 : id < 12 ? 4 : id < 18 ? 5 : id < 24 ? 6 : 7;
        if (!blit_frame_into(r, res.strip, strip, SDL_Rect{x, 200, 82, 93})) fill_rect(r, {x, 200, 82, 93}, {30, 30, 30, 255});
        if (empty) continue;
        if (SDL_Texture* t = res.monsters.at(id)) {
            const SDL_Rect d = id < 28 ? SDL_Rect{x + (82 - MONSTER_W[id]) / 2, 279 - MONSTER_H[id], MONSTER_W[id], MONSTER_H[id]}
                                       : SDL_Rect{x + 25, 215, 32, 64};
            blit_into(r, t, d);
        }
        text::right_in(r, small_font, std::to_string(hero.army.counts[i]), x, 279, 82, kGold, 2);
    }
    for (int slot = 0; slot < ARTIFACT_SLOTS; ++slot) {
        const uint8_t a = hero.artifacts[(size_t)slot];
        if (a == EMPTY_ID) continue;
        const int x = 51 + 79 * (slot % 7), y = kArtRowY[slot / 7];
        if (SDL_Texture* t = res.artifact.at(a)) {
            const SDL_Point s = texture_size(t);
            blit_into(r, t, SDL_Rect{x + (64 - s.x) / 2, y + (64 - s.y) / 2, s.x, s.y});
        } else {
            fill_rect(r, SDL_Rect{x + 8, y + 8, 48, 48}, {100, 80, 30, 255});
        }
    }
    blit_into(r, frame(h, exit_pressed ? 7 : 6), SDL_Rect{602, 319, 28, 121});
    if (!dismiss_hidden && !blit_into(r, frame(h, dismiss_pressed ? 9 : 8), SDL_Rect{4, 319, 28, 121}))
        fill_rect(r, SDL_Rect{4, 319, 28, 121}, {120, 80, 20, 255});
}

std::string hero_dismiss_question(const HeroState& hero) {
    std::string text = strings().format("HERO_DISMISS_NAME_CLASS", {hero_display_name(hero), hero_class_name(hero)});
    // The catalogues word it as the bar's statement: its closing stop becomes the question mark, and a
    // catalogue that already asks keeps its own mark.
    while (!text.empty() && (text.back() == '.' || text.back() == ' ')) text.pop_back();
    if (!text.empty() && text.back() != '?') text += '?';
    return text;
}

std::string hero_screen_infobar_text(HsZone zone, const HeroState& hero, bool dismiss_hidden) {
    const StringTable& t = strings();
    if (zone == HS_MORALE) return t.format("HERO_VIEW_MORALE_INFO", {morale_label_loc(hero_battle_morale(hero))});
    if (zone == HS_LUCK) return t.format("HERO_VIEW_LUCK_INFO", {luck_label_loc(hero_battle_luck(hero))});
    if (zone == HS_DISMISS) {
        if (dismiss_hidden) return t.get("HERO_INFO_HERO_SCREEN");
        return t.format("HERO_DISMISS_NAME_CLASS", {hero_display_name(hero), hero_class_name(hero)});
    }
    const int slot = hs_zone_army_slot(zone);
    if (slot >= 0) {
        const uint8_t id = hero.army.ids[(size_t)slot];
        if (id == EMPTY_ID || hero.army.counts[(size_t)slot] == 0) return t.get("HERO_INFO_HERO_SCREEN");
        const std::string name = id < 28 ? t.get(std::string("CREATURE_") + kCreatureKeyStem[id] + "_SG") : "monster";
        return t.format("HERO_SELECT_CREATURE", {name});
    }
    const int art = hs_zone_artifact_slot(zone);
    if (art >= 0) {
        const uint8_t id = hero.artifacts[(size_t)art];
        if (id == EMPTY_ID) return t.get("HERO_INFO_EMPTY");
        if (!artifact_info(id)) return t.get("HERO_VIEW_ARTIFACT_GENERIC");
        if (id == kMagicBook) return t.get("HERO_VIEW_SPELLS");
        return t.format("HERO_VIEW_ARTIFACT_INFO", {localized_artifact_name(id)});
    }
    return t.get(hs_zone_info_key(zone));
}

void draw_hero_infobar(SDL_Renderer* r, TTF_Font* font, const std::string& text) {
    if (!r || !font || text.empty()) return;
    const SDL_Point s = text::measure(font, text);
    text::at(r, font, text, (640 - s.x) / 2, kHeroInfoBarY + (19 - s.y) / 2, SDL_Color{255, 230, 140, 255});
}

}  // namespace vorn1
