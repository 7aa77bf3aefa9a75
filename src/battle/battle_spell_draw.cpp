// Spell pictures: the effect over a stack, the area splashes, the Storm and Armageddon screen, spell
// hits, the glow and badge of a stack under a spell, and the aiming cursor. Only reads the spell state.
#include <SDL.h>

#include <algorithm>

#include "battle/battle_combat.h"
#include "battle/battle_draw.h"
#include "battle/battle_screen.h"
#include "world/creature_table.h"
#include "battle/hex_field.h"
#include "world/spell_table.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kRedSteps[4] = {{200, 40, 40, 180}, {220, 60, 40, 200}, {240, 80, 40, 220}, {255, 100, 50, 240}};
constexpr SDL_Color kBlueSteps[4] = {
    {80, 130, 255, 180}, {100, 160, 255, 200}, {120, 190, 255, 220}, {160, 220, 255, 240}};
constexpr int kInvalidTargetIcon = 29;

// "SPELLS.ICN" frame shown beside the count of a stack under a status; -1 none.
int badge_frame(int status) {
    switch (status) {
        case kSpellBless: return 8;
        case kSpellCurse: return 10;
        case kSpellProtection: return 9;
        case kSpellSlow: return 6;
        case kSpellAntiMagic: return 12;
        case kSpellBlind: return 7;
        case kSpellHaste: return 5;
        case kSpellBerserker: return 14;
        case kSpellParalyze: return 18;
        default: return -1;
    }
}

const BattleSprite* sized(const std::vector<BattleSprite>& set, int frame) {
    if (set.empty()) return nullptr;
    const BattleSprite* f = frame_at(set, std::clamp(frame, 0, static_cast<int>(set.size()) - 1));
    return f && f->w > 0 && f->h > 0 ? f : nullptr;
}

void copy_at(SDL_Renderer* r, const BattleSprite& f, int x, int y, bool mirrored = false) {
    copy_texture(r, f.tex, SDL_Rect{x, y, f.w, f.h}, mirrored);
}

void hex_anchor(int row, int col, int& x, int& y) {
    BattleScreen::hex_to_screen(row, col, x, y);
    x += 39;
    y += 79;
}

}  // namespace

void BattleScreen::ensure_spell_icn_loaded() { ensure_art_loaded(spell_icons, "SPELLS.ICN", nullptr); }

void BattleScreen::ensure_splash_icns_loaded() {
    const char* names[3] = {"FIREBALL.ICN", "METEOR.ICN", "STORM.ICN"};
    for (size_t i = 0; i < splash_icns.size(); ++i) {
        ensure_art_loaded(splash_icns[i], names[i], nullptr);
        spells.splash_frames[i] = static_cast<int32_t>(splash_icns[i].frames.size());
    }
}

void BattleScreen::ensure_attack_dmg_icns_loaded() {
    ensure_art_loaded(spell_dmg_icns[0], "ELECFIRE.ICN", nullptr);
    ensure_art_loaded(spell_dmg_icns[1], "REDDEATH.ICN", nullptr);
}

void BattleScreen::release_spell_art() {
    spell_icons.release();
    for (SpriteList& s : splash_icns) s.release();
    for (SpriteList& s : spell_dmg_icns) s.release();
}

void BattleScreen::draw_spell_anim() {
    if (spells.cast_kind == -2) {
        draw_splash_anim();
        return;
    }
    const BattleUnit* t = unit_by_index(spells.cast_target);
    if (!t || !battle_res || spells.cast_kind < 0 || spells.cast_kind > 7) return;
    const BattleSprite* f = sized(battle_res->magic_sprites[static_cast<size_t>(spells.cast_kind)], spells.cast_frame);
    if (!f) return;
    int x = 0, y = 0;
    hex_to_screen(t->row, t->col, x, y);
    y += 79;
    if (is_two_hex_creature(t->creature)) x += t->side == 0 ? -26 : 103;
    else x += 39;
    copy_at(renderer, *f, x + f->ox, y + f->oy);
}

void BattleScreen::draw_splash_anim() {
    ensure_splash_icns_loaded();
    const bool fireball = spell_id == kSpellFireball;
    const BattleSprite* f = sized(splash_icns[fireball ? 0 : 1].frames, spells.area_frame);
    if (!f) return;
    if (fireball) {
        int x = 0, y = 0;
        hex_anchor(spells.area_row, spells.area_col, x, y);
        copy_at(renderer, *f, x + f->ox, y + f->oy);
        copy_at(renderer, *f, x - f->ox - f->w, y + f->oy, true);
        return;
    }
    for (const auto& hex : spell_area_hexes(spells.area_row, spells.area_col)) {
        if (!hex_in_field(hex[0], hex[1])) continue;
        int x = 0, y = 0;
        hex_anchor(hex[0], hex[1], x, y);
        copy_at(renderer, *f, x + f->ox, y + f->oy);
    }
}

void BattleScreen::draw_spell_screen_overlay() {
    const float f = static_cast<float>(spells.overlay_level) / 10.0f;
    const SDL_Rect view{0, 0, 640, 460};
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
    if (spells.armageddon) SDL_SetRenderDrawColor(renderer, 120, 0, 0, static_cast<uint8_t>(static_cast<int>(f * 180.0f) % 256));
    else SDL_SetRenderDrawColor(renderer, 10, 10, 10, static_cast<uint8_t>(static_cast<int>(f * 180.0f) % 256));
    SDL_RenderFillRect(renderer, &view);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    if (spells.armageddon) return;
    ensure_splash_icns_loaded();
    const BattleSprite* rain = sized(splash_icns[2].frames, spells.splash_frame);
    if (!rain) return;
    SDL_SetTextureBlendMode(rain->tex, SDL_BLENDMODE_BLEND);
    SDL_SetTextureAlphaMod(rain->tex, static_cast<uint8_t>(static_cast<int>(f * 220.0f + 35.0f) % 256));
    SDL_RenderSetClipRect(renderer, &view);
    for (int y = 0; y < view.h; y += rain->h)
        for (int x = 0; x < view.w; x += rain->w) copy_at(renderer, *rain, x, y);
    SDL_RenderSetClipRect(renderer, nullptr);
    SDL_SetTextureAlphaMod(rain->tex, 255);
}

void BattleScreen::draw_spell_dmg_anim() {
    ensure_damage_icns_loaded();
    ensure_attack_dmg_icns_loaded();
    const int frame = spells.hit_frame;
    for (const SpellDmgTarget& t : spells.hits) {
        if (t.frames < frame) continue;
        const std::vector<BattleSprite>& set = t.kind == DMG_ELECTRIC   ? spell_dmg_icns[0].frames
                                               : t.kind == DMG_PHYSICAL ? spell_dmg_icns[1].frames
                                                                        : damage_icns.kinds[DMG_REDFIRE];
        if (const BattleSprite* f = sized(set, frame)) copy_at(renderer, *f, t.x + f->ox, t.y + f->oy);
    }
}

void BattleScreen::draw_status_glow(const BattleSprite& sprite, bool flip, int x, int y, float t, bool blue) {
    const int step = glow_step(t);
    draw_tinted_outline(renderer, sprite, flip, x, y, blue ? kBlueSteps[step] : kRedSteps[step]);
}

void BattleScreen::draw_spell_status_badge(int x, int y, uint8_t status, bool flip) {
    const int frame = badge_frame(status);
    if (frame < 0) return;
    ensure_spell_icn_loaded();
    const BattleSprite* f = frame_at(spell_icons.frames, frame);
    if (!f) return;
    copy_at(renderer, *f, flip ? x - f->w - 1 : x + 21, y + (11 - f->h) / 2);
}

void BattleScreen::draw_spell_target_cursor() {
    ensure_spell_icn_loaded();
    const int spell = spells.aim_spell;
    const SpellInfo* info = spell_info(spell);
    bool valid = true;
    if (spell == kSpellFireball || spell == kSpellMeteor) {
        if (spells.hover_col >= 0) {
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(renderer, 255, 200, 50, 60);
            for (const auto& hex : spell_area_hexes(spells.hover_row, spells.hover_col)) {
                if (!hex_in_field(hex[0], hex[1])) continue;
                const SDL_Rect r = hex_rect(hex[0], hex[1]);
                SDL_RenderFillRect(renderer, &r);
            }
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        }
    } else if (spell != kSpellLightning && !(spell == kSpellTeleport && spells.teleport_unit >= 0)) {
        const BattleUnit* u = unit_at_screen(mouse_x, mouse_y);
        valid = u && is_living(*u) && !creature_is_magic_immune(u->creature) && u->spell_status != kSpellAntiMagic;
        if (valid && (spell == kSpellTeleport || spell == kSpellResurrect)) valid = u->side == casting_side;
        if (valid && spell == kSpellTurnUndead) valid = u->side != casting_side && u->creature == 26;
    }
    const std::vector<BattleSprite>& icons = spell_icons.frames;
    const BattleSprite* f = valid && info ? frame_at(icons, info->icon) : nullptr;
    if (!valid && static_cast<int>(icons.size()) > kInvalidTargetIcon) f = frame_at(icons, kInvalidTargetIcon);
    if (!f) {
        // Without the icons the combat cursor's own spell shape stands in.
        if (icons.empty()) draw_combat_cursor(CursorSpell);
        return;
    }
    const int w = std::max(f->w, 1), h = std::max(f->h, 1);
    const int dw = w >= h ? 32 : 32 * w / h, dh = w >= h ? 32 * h / w : 32;
    const SDL_Rect dst{mouse_x - dw / 2, mouse_y - dh / 2, dw, dh};
    SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
}

}  // namespace vorn1
