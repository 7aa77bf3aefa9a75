#include "battle/battle_draw.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "assets/agg.h"
#include "assets/icn.h"
#include "assets/render_utils.h"
#include "assets/text_render.h"
#include "world/creature_table.h"

namespace vorn1 {

namespace {

const char* const ICN_NAMES[5] = {"PHYSICAL.ICN", "BLUEFIRE.ICN", "REDFIRE.ICN", "ELECTRIC.ICN", "CLOUD.ICN"};
const SDL_Color FALLBACK_COLORS[5] = {
    {180, 20, 20, 180}, {20, 80, 220, 180}, {220, 80, 20, 180}, {220, 220, 20, 180}, {150, 150, 150, 180}};
const SDL_Color STEPS[4] = {{139, 90, 43, 200}, {218, 165, 32, 220}, {255, 215, 0, 240}, {255, 255, 80, 255}};

bool is_breather(uint8_t c) { return c == 11 || c == 17 || c == 23; }

void anchor_of(int row, int col, int& x, int& y) {
    BattleScreen::hex_to_screen(row, col, x, y);
    x += 39;
    y += 79;
}

bool in_splash(const BattleScreen& b, int index) {
    for (const auto& s : b.splash)
        if (s.unit == index) return true;
    return false;
}

}  // namespace

const BattleSprite* frame_at(const std::vector<BattleSprite>& list, int i) {
    if (i < 0 || i >= static_cast<int>(list.size()) || !list[i].tex) return nullptr;
    return &list[i];
}

void copy_texture(SDL_Renderer* r, SDL_Texture* tex, const SDL_Rect& dst, bool mirrored, double angle) {
    if (!mirrored && angle == 0.0) SDL_RenderCopy(r, tex, nullptr, &dst);
    else SDL_RenderCopyEx(r, tex, nullptr, &dst, angle, nullptr, mirrored ? SDL_FLIP_HORIZONTAL : SDL_FLIP_NONE);
}

DamageIcnSet::~DamageIcnSet() { release(); }

void DamageIcnSet::release() {
    for (auto& list : kinds) {
        for (BattleSprite& s : list)
            if (s.tex) SDL_DestroyTexture(s.tex);
        list.clear();
    }
    loaded = false;
}

std::vector<DrawEntry> build_draw_list(const BattleScreen& b) {
    std::vector<DrawEntry> list;
    list.reserve(b.field_objects.size() + 12);
    const BattleUnit* active = b.active_unit();
    const BattleUnit* striker = b.unit_by_index(b.striker);
    const BattleUnit* struck = b.unit_by_index(b.struck);
    for (int side : {1, 0}) {
        const auto& units = side == 1 ? b.defenders : b.attackers;
        for (const BattleUnit& u : units) {
            DrawEntry e;
            e.kind = 0;
            e.unit = &u;
            e.side_flag = side;
            e.depth = u.row;
            const bool flying_walk = b.phase == ActionPhase::Moving && &u == active && creature_can_fly(u.creature) &&
                                     b.move_step < static_cast<int>(b.move_path.size());
            if ((b.phase == ActionPhase::MeleeStrike && &u == striker) ||
                (b.phase == ActionPhase::Retaliation && &u == struck) || flying_walk)
                e.depth = 6;
            list.push_back(e);
        }
    }
    for (const BattleScreen::FieldObject& o : b.field_objects) {
        DrawEntry e;
        e.kind = 1;
        e.object = &o;
        e.depth = o.row;
        e.secondary = o.layer + 1;
        list.push_back(e);
    }
    list.push_back(DrawEntry{2, nullptr, 0, nullptr, 2, -1, 0});
    if (b.defender_side.hero >= 0) list.push_back(DrawEntry{2, nullptr, 0, nullptr, 3, -1, 1});
    std::stable_sort(list.begin(), list.end(), [](const DrawEntry& a, const DrawEntry& c) {
        if (a.depth != c.depth) return a.depth < c.depth;
        if (a.secondary != c.secondary) return a.secondary < c.secondary;
        if (a.kind == 0 && c.kind == 0) return a.side_flag > c.side_flag;
        return false;
    });
    return list;
}

bool unit_drawn(const BattleScreen& b, const BattleUnit& u) {
    if (u.creature == kNoCreature) return false;
    // A spell's victim stays until the fourth frame of its hit.
    bool spell_killed = false;
    if (b.phase == ActionPhase::SpellDamageAnim) {
        int x = 0, y = 0;
        anchor_of(u.row, u.col, x, y);
        for (const SpellDmgTarget& t : b.spells.hits) spell_killed |= t.killed && t.x == x && t.y == y;
        if (spell_killed) return b.spells.hit_frame <= 3;
    }
    if (is_living(u)) return true;
    const int idx = b.unit_index(&u);
    const bool victim = idx == b.struck || (b.breath.active && idx == b.breath.target) || in_splash(b, idx);
    const bool retal_victim = idx == b.striker || (b.retal_breath.active && idx == b.retal_breath.target);
    switch (b.phase) {
    case ActionPhase::MeleeStrike: return victim;
    case ActionPhase::Retaliation: return retal_victim;
    case ActionPhase::TargetWince:
        if (b.wince_frame >= 4 && in_splash(b, idx))
            for (const auto& s : b.splash)
                if (s.unit == idx && s.killed) return false;
        return victim && b.wince_frame <= 3;
    case ActionPhase::RetaliationWince: return retal_victim && b.wince_frame <= 3;
    case ActionPhase::ShotWince: return idx == b.shot_target && b.wince_frame <= 3;
    default: return false;
    }
}

void BattleScreen::ensure_damage_icns_loaded() {
    if (damage_icns.loaded) return;
    damage_icns.loaded = true;
    if (!battle_res || !battle_res->archive) return;
    for (int k = 0; k < 5; ++k) {
        auto& list = damage_icns.kinds[k];
        try {
            const std::vector<uint8_t> bytes = battle_res->archive->get(ICN_NAMES[k]);
            if (bytes.empty()) throw std::runtime_error("missing");
            IcnFrames f = decode_icn(bytes, battle_res->palette);
            for (size_t i = 0; i < f.headers.size(); ++i) {
                BattleSprite s;
                if (i < f.frames.size() && !f.frames[i].empty()) {
                    s = BattleSprite{img_to_tex(renderer, f.frames[i], true), f.frames[i].width, f.frames[i].height,
                                     f.headers[i].x, f.headers[i].y};
                }
                list.push_back(s);
            }
        } catch (const std::exception&) {
            for (BattleSprite& s : list)
                if (s.tex) SDL_DestroyTexture(s.tex);
            list.clear();
            const SDL_Color c = FALLBACK_COLORS[k];
            for (int n = 0; n < 10; ++n) {
                const int size = 20 + 8 * n;
                Image img(size, size);
                for (size_t p = 0; p < img.pixels.size(); p += 4)
                    img.pixels[p] = c.r, img.pixels[p + 1] = c.g, img.pixels[p + 2] = c.b, img.pixels[p + 3] = c.a;
                list.push_back(BattleSprite{img_to_tex(renderer, img, true), size, size, -size / 2, -size});
            }
        }
    }
}

void BattleScreen::draw_damage_anim(int x, int y, int kind, int frame) {
    if (kind < 0 || kind > 4 || frame < 0) return;
    const BattleSprite* f = frame_at(damage_icns.kinds[kind], frame);
    if (!f) return;
    SDL_Rect dst{x + f->ox, y + f->oy, f->w, f->h};
    SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
}

void BattleScreen::draw_unit_badge(int x, int y, int count) {
    const BattleSprite* f = battle_res ? frame_at(battle_res->textbar_sprites, 5) : nullptr;
    SDL_Rect box{x, y, 20, 11};
    if (f) {
        SDL_Rect dst{x, y, f->w, f->h};
        SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
    } else {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
        SDL_SetRenderDrawColor(renderer, 80, 0, 120, 200);
        SDL_RenderFillRect(renderer, &box);
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
    }
    if (font_small) {
        char text[8];
        std::snprintf(text, sizeof text, "%d", count);
        text::centered_xy(renderer, font_small, text, box.x, box.y, box.w, box.h, SDL_Color{255, 255, 0, 255});
    }
}

int glow_step(float seconds) {
    int step = static_cast<int>(std::floor(seconds * 4.0f)) % 4;
    return step < 0 ? step + 4 : step;
}

void BattleScreen::draw_glow_outline(const BattleSprite& s, bool mirrored, int x, int y, float seconds) {
    draw_tinted_outline(renderer, s, mirrored, x, y, STEPS[glow_step(seconds)]);
}

void draw_tinted_outline(SDL_Renderer* renderer, const BattleSprite& s, bool mirrored, int x, int y, SDL_Color c) {
    if (!s.tex || s.w <= 0 || s.h <= 0) return;
    SDL_SetTextureBlendMode(s.tex, SDL_BLENDMODE_BLEND);
    SDL_SetTextureColorMod(s.tex, c.r, c.g, c.b);
    const int bx = mirrored ? x - s.w - s.ox : x + s.ox;
    const int by = y + s.oy;
    const int outer[4][2] = {{-2, 0}, {2, 0}, {0, -2}, {0, 2}};
    const int inner[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    SDL_SetTextureAlphaMod(s.tex, static_cast<uint8_t>(c.a / 2));
    for (const auto& o : outer) {
        SDL_Rect dst{bx + o[0], by + o[1], s.w, s.h};
        copy_texture(renderer, s.tex, dst, mirrored);
    }
    SDL_SetTextureAlphaMod(s.tex, c.a);
    for (const auto& o : inner) {
        SDL_Rect dst{bx + o[0], by + o[1], s.w, s.h};
        copy_texture(renderer, s.tex, dst, mirrored);
    }
    SDL_SetTextureColorMod(s.tex, 255, 255, 255);
    SDL_SetTextureAlphaMod(s.tex, 255);
    SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
}

void BattleScreen::draw_unit(const BattleUnit& u, bool mirrored, bool active_flag, int row, int col) {
    const CreatureSprites* set = u.creature <= 27 && battle_res ? &battle_res->creatures[u.creature] : nullptr;
    if (!set || !set->loaded || !frame_at(set->standing(), 0)) {
        // No art for this creature: a box in its side's colour on its hex, with the count.
        int ax = 0, ay = 0;
        anchor_of(row >= 0 ? row : u.row, col >= 0 ? col : u.col, ax, ay);
        SDL_Rect box{ax - 20, ay - 56, 40, 56};
        if (is_two_hex_creature(u.creature)) box = SDL_Rect{mirrored ? ax - 20 : ax - 98, ay - 56, 118, 56};
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        if (u.side == 0) SDL_SetRenderDrawColor(renderer, 70, 110, 190, 255);
        else SDL_SetRenderDrawColor(renderer, 190, 80, 60, 255);
        SDL_RenderFillRect(renderer, &box);
        if (active_flag && phase == ActionPhase::Idle) {
            SDL_SetRenderDrawColor(renderer, 255, 215, 0, 255);
            SDL_RenderDrawRect(renderer, &box);
        }
        if (u.count > 0) draw_unit_badge(box.x + box.w / 2 - 10, ay - 13, u.count);
        if (u.spell_status != 255 && u.status_rounds > 0)
            draw_spell_status_badge(box.x + box.w / 2 - 10, ay - 13, u.spell_status, mirrored);
        return;
    }
    const CreatureSprites& cs = *set;
    const std::vector<BattleSprite>& standing = cs.standing();
    const int idx = unit_index(&u);
    const bool side_flag = mirrored;
    int x0 = 0, y0 = 0;
    anchor_of(row >= 0 ? row : u.row, col >= 0 ? col : u.col, x0, y0);
    const BattleSprite* f = nullptr;
    bool walking = false, reversed = false, tilt = false;

    const BattleUnit* act = active_unit();
    // 2: walking between the previous and the current path hex.
    if (phase == ActionPhase::Moving && &u == act && move_step < static_cast<int>(move_path.size())) {
        const HexStep& cell = move_path[move_step];
        const std::vector<BattleSprite>& walk = cs.walking();
        if (!walk.empty()) {
            const int n = static_cast<int>(walk.size());
            int fi = static_cast<int>(std::floor(walk_clock / (80.0f / move_scale))) % n;
            int px = 0, py = 0, cx = 0, cy = 0;
            hex_to_screen(u.row, u.col, px, py);
            hex_to_screen(cell.row, cell.col, cx, cy);
            if (creature_can_fly(u.creature) && ((u.side == 0 && cx < px) || (u.side == 1 && cx > px))) fi = n - 1 - fi;
            f = frame_at(walk, fi);
            walking = f != nullptr;
        } else {
            f = frame_at(standing, 0);
        }
        const float span = move_step_span_dur(u.row, u.col, cell.row, cell.col);
        const float frac = span > 0.0f ? std::min(1.0f, move_timer / span) : 1.0f;
        int ax = 0, ay = 0, bx = 0, by = 0;
        anchor_of(u.row, u.col, ax, ay);
        anchor_of(cell.row, cell.col, bx, by);
        x0 = static_cast<int>(ax + (bx - ax) * frac);
        y0 = static_cast<int>(ay + (by - ay) * frac);
    } else if (phase == ActionPhase::Shot && idx == shooter) {
        const int dir = std::clamp(missile_dir, 0, 3);
        f = frame_at(cs.attack_frames, std::min(dir, 3) + 3);
        if (!f) f = frame_at(cs.attack_frames, 1);
        if (!f) return;
    } else if ((phase == ActionPhase::MeleeStrike && idx == striker) ||
               (phase == ActionPhase::Retaliation && idx == struck)) {
        const bool retal = phase == ActionPhase::Retaliation;
        const float t = retal ? retal_timer : strike_timer;
        const int n_std = static_cast<int>(standing.size());
        if (u.creature == 22 && n_std > 2) {
            const int fi = std::min(2 + static_cast<int>(std::floor(t / (315.0f / (n_std - 2)))), n_std - 1);
            f = frame_at(standing, fi);
            if (!f) f = frame_at(standing, 0);
        } else if (!cs.attack_frames.empty()) {
            const int n = static_cast<int>(cs.attack_frames.size());
            int fi = retal ? retal_dir : strike_dir;
            if (is_breather(u.creature) && n >= 9 && static_cast<int>(std::floor(t / 105.0f)) != 0)
                fi += 3 * (second_strike ? 1 : 0) + 3;
            f = frame_at(cs.attack_frames, std::min(fi, n - 1));
            reversed = (retal ? retal_backward : strike_backward) != 0;
            tilt = (retal ? retal_flag : strike_flag) != 0;
        }
    }
    if (!f && !walking) {
        const bool wincing =
            (phase == ActionPhase::Dying && idx == dying_unit) ||
            (phase == ActionPhase::TargetWince &&
             (idx == struck || (breath.active && idx == breath.target) || in_splash(*this, idx))) ||
            (phase == ActionPhase::RetaliationWince && (idx == striker || (retal_breath.active && idx == retal_breath.target))) ||
            (phase == ActionPhase::ShotWince && idx == shot_target);
        if (wincing && standing.size() >= 2) f = frame_at(standing, 1);
    }
    if (!f && !walking && idx == recovering && recovering >= 0) {
        const float hold = is_breather(u.creature) ? 525.0f : 315.0f;
        if (recover_timer < hold) {
            const int step = static_cast<int>(std::floor(recover_timer / 105.0f));
            const int d = std::clamp(recover_dir, 0, 2);
            const int n = static_cast<int>(cs.attack_frames.size());
            if (n >= 9) {
                const int pick[5] = {d + 6, d + 3, d, -3, -2};
                if (step < 5) f = pick[step] >= 0 ? frame_at(cs.attack_frames, pick[step]) : frame_at(standing, -pick[step]);
            } else if (n >= 1) {
                f = step == 0 ? frame_at(cs.attack_frames, std::min(d, n - 1)) : frame_at(standing, step == 1 ? 3 : 2);
            }
            if (f) {
                reversed = recover_backward != 0;
                tilt = recover_flag != 0;
            }
        }
    }
    if (!f) f = frame_at(standing, 0);
    if (!f) return;

    bool draw_mirrored = reversed ? !side_flag : side_flag;
    if (is_two_hex_creature(u.creature) && !walking && !reversed) x0 += draw_mirrored ? 64 : -65;

    // Glows go under the sprite.
    const float seconds = battle_clock / 1000.0f;
    const bool under_spell = u.spell_status != 255 && u.status_rounds > 0;
    if (active_flag && phase == ActionPhase::Idle) {
        draw_glow_outline(cs.outline_mask, draw_mirrored, x0, y0, seconds);
    } else if (under_spell) {
        draw_status_glow(cs.outline_mask, draw_mirrored, x0, y0, seconds, is_beneficial_status(u.spell_status));
    }

    SDL_Rect dst{walking ? x0 - f->w / 2 : (draw_mirrored ? x0 - f->ox - f->w : x0 + f->ox), y0 + f->oy, f->w, f->h};
    double angle = 0.0;
    if (tilt) angle = draw_mirrored != side_flag ? -45.0 : 45.0;
    copy_texture(renderer, f->tex, dst, draw_mirrored, angle);

    const int bx = dst.x + f->w / 2 - 10, by = y0 - 13;
    if (u.count > 0) draw_unit_badge(bx, by, u.count);
    if (under_spell) draw_spell_status_badge(bx, by, u.spell_status, draw_mirrored);
}

void BattleScreen::draw_units() {
    const std::vector<DrawEntry> list = build_draw_list(*this);
    const BattleUnit* act = active_unit();
    for (const DrawEntry& e : list) {
        if (e.kind == 1) {
            if (e.object->kind >= 0 && e.object->kind < static_cast<int>(scene_frames.size()) &&
                scene_frames[e.object->kind].tex)
                SDL_RenderCopy(renderer, scene_frames[e.object->kind].tex, nullptr, &e.object->rect);
            continue;
        }
        if (e.kind == 2) {
            draw_hero_tent_body(e.tent);
            continue;
        }
        if (!unit_drawn(*this, *e.unit)) continue;
        draw_unit(*e.unit, e.side_flag != 0, e.unit == act, -1, -1);
        const float t = spells.teleport_timer;
        int alpha = 255;
        if (unit_index(e.unit) == spells.teleport_unit) {
            if (phase == ActionPhase::TeleportOut) alpha = t > 200.0f ? 0 : static_cast<int>(255.0f * (1.0f - t / 200.0f));
            if (phase == ActionPhase::TeleportIn) alpha = t > 200.0f ? 255 : static_cast<int>(255.0f * t / 200.0f);
        }
        if (alpha < 250) {
            const SDL_Rect r = unit_sprite_rect(*e.unit, e.side_flag != 0);
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, static_cast<uint8_t>(255 - alpha));
            SDL_RenderFillRect(renderer, &r);
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        }
    }
    ensure_damage_icns_loaded();
    const int frame = wince_frame;
    if (phase == ActionPhase::TargetWince || phase == ActionPhase::ShotWince) {
        if (hit.reaction >= 0 && frame <= hit.reaction) draw_damage_anim(hit.x, hit.y, hit.kind, frame);
        if (phase == ActionPhase::TargetWince) {
            if (breath.active && frame <= breath.hit.reaction)
                draw_damage_anim(breath.hit.x, breath.hit.y, breath.hit.kind, frame);
            for (const auto& s : splash)
                if (frame <= s.reaction) draw_damage_anim(s.x, s.y, s.kind, frame);
        }
    } else if (phase == ActionPhase::RetaliationWince && retal_hit.reaction >= 0 && frame <= retal_hit.reaction) {
        draw_damage_anim(retal_hit.x, retal_hit.y, retal_hit.kind, frame);
    }
    if (phase == ActionPhase::ShotFlight) {
        const BattleUnit* s = unit_by_index(shooter);
        if (s && s->creature <= 27 && battle_res && !battle_res->creatures[s->creature].projectiles.empty()) {
            const auto& pr = battle_res->creatures[s->creature].projectiles;
            // The missile's frames are its five directions: the flight's own, not the draw's last frame.
            const BattleSprite* f = frame_at(pr, std::clamp(missile_dir, 0, static_cast<int>(pr.size()) - 1));
            if (f) {
                SDL_Rect dst{static_cast<int>(missile_x) + f->ox, static_cast<int>(missile_y) + f->oy, f->w, f->h};
                copy_texture(renderer, f->tex, dst, missile_mirror != 0);
            }
        }
    }
    if (phase == ActionPhase::SpellDamageAnim) draw_spell_dmg_anim();
    if (phase == ActionPhase::SpellCast) draw_spell_anim();
}

void BattleScreen::draw_morale_luck_anim() {
    const std::vector<BattleSprite>* set = nullptr;
    if (!battle_res) return;
    switch (phase) {
    case ActionPhase::GoodLuck: set = &battle_res->good_luck_sprites; break;
    case ActionPhase::BadLuck: set = &battle_res->bad_luck_sprites; break;
    case ActionPhase::GoodMorale: set = &battle_res->good_morale_sprites; break;
    case ActionPhase::BadMorale: set = &battle_res->bad_morale_sprites; break;
    default: return;
    }
    const BattleUnit* u = unit_by_index(effect_unit);
    if (!u) u = active_unit();
    if (!u || u->creature > 27 || set->empty() || !battle_res->creatures[u->creature].loaded) return;
    const BattleSprite* stand = frame_at(battle_res->creatures[u->creature].standing(), 0);
    const BattleSprite* f = frame_at(*set, std::clamp(effect_frame, 0, static_cast<int>(set->size()) - 1));
    if (!stand || !f) return;
    int hx = 0, hy = 0;
    hex_to_screen(u->row, u->col, hx, hy);
    int ax = hx + 39;
    if (is_two_hex_creature(u->creature)) ax = u->side == 0 ? hx - 26 : hx + 103;
    const int cx = u->side == 1 ? ax - stand->ox - stand->w / 2 : ax + stand->ox + stand->w / 2;
    const int cy = hy + 79 + stand->oy;
    SDL_Rect dst{cx - f->w / 2, cy - f->h / 2, f->w, f->h};
    SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
}

void BattleScreen::draw() {
    if (!active || !renderer) return;
    if (result_screen.preview) {
        SDL_Rect all{0, 0, 640, 480};
        if (result_screen.preview_portrait) {
            SDL_RenderCopy(renderer, result_screen.preview_portrait, nullptr, &all);
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_BLEND);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 96);
        } else {
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        }
        SDL_RenderFillRect(renderer, &all);
        draw_result_screen();
        return;
    }
    if (background) {
        SDL_Rect dst{0, 0, background_w, background_h};
        SDL_RenderCopy(renderer, background, nullptr, &dst);
    } else {
        SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
        SDL_SetRenderDrawColor(renderer, 20, 20, 60, 255);
        SDL_Rect r{0, 0, 640, 460};
        SDL_RenderFillRect(renderer, &r);
    }
    sky.tick(tick_source ? tick_source() : SDL_GetTicks());
    if (sky.active && sky.texture) {
        SDL_Rect dst{0, 0, sky.w, sky.h};
        SDL_RenderCopy(renderer, sky.texture, nullptr, &dst);
    }
    if (siege) {
        draw_castle_floor();
        if (sky.active && sky.texture) {
            SDL_Rect dst{0, 0, sky.w, sky.h};
            SDL_RenderCopy(renderer, sky.texture, nullptr, &dst);
        } else if (background) {
            SDL_Rect band{0, 0, background_w, 102};
            SDL_RenderCopy(renderer, background, &band, &band);
        }
        draw_castle_bg_wall();
        draw_keep();
        draw_castle_walls();
        draw_catapult();
    }
    draw_units();
    draw_hero_tent_banners();
    if (siege) {
        if (phase == ActionPhase::BoulderFlight || (phase == ActionPhase::CatapultThrow && catapult_frame > 6))
            draw_boulder();
        if (phase == ActionPhase::KeepShot) draw_keep_projectile();
        if (phase == ActionPhase::SiegeShotDone) draw_damage_anim(impact_x, impact_y, 4, impact_frame);
    }
    draw_morale_luck_anim();
    if (phase == ActionPhase::MassSpellOverlay || phase == ActionPhase::MassSpellFlash) draw_spell_screen_overlay();
    draw_textbar();
    const BattleUnit* inspected = unit_by_index(inspected_unit);
    switch (overlay) {
    case BattleOverlay::CreatureInfo:
        if (inspected) draw_creature_tooltip(*inspected);
        break;
    case BattleOverlay::CreatureView:
        if (inspected) draw_creature_view_dialog(*inspected);
        break;
    case BattleOverlay::HeroInfo:
    case BattleOverlay::HeroOptions: draw_general_options(); break;
    case BattleOverlay::SurrenderConfirm: draw_surrender_confirm(); break;
    case BattleOverlay::RetreatConfirm: draw_retreat_question(); break;
    case BattleOverlay::Result: draw_result_screen(); break;
    case BattleOverlay::Spellbook:
        if (book_draw_hook) book_draw_hook(*this);
        break;
    default: break;
    }
    switch (overlay) {
    case BattleOverlay::CreatureView:
    case BattleOverlay::HeroOptions:
    case BattleOverlay::Spellbook:
    case BattleOverlay::Result:
    case BattleOverlay::SurrenderConfirm:
    case BattleOverlay::RetreatConfirm: draw_combat_cursor(6); break;
    case BattleOverlay::None:
        if (spell_aiming) draw_spell_target_cursor();
        else draw_combat_cursor(cursor_for_position(mouse_x, mouse_y));
        break;
    case BattleOverlay::CreatureInfo:
    case BattleOverlay::HeroInfo:
        if (spell_aiming) draw_spell_target_cursor();
        break;
    }
}

namespace {

void copy_at(SDL_Renderer* r, const BattleSprite* f, int x, int y, bool mirrored = false) {
    if (!f) return;
    SDL_Rect dst{x, y, f->w, f->h};
    copy_texture(r, f->tex, dst, mirrored);
}

}  // namespace

void BattleScreen::draw_castle_floor() {
    if (!battle_res || castle < 0 || castle > 3) return;
    const auto& set = battle_res->castle_sprites[castle];
    for (int r = 0; r < 5; ++r) {
        const int frames[4] = {r % 2 == 0 ? 6 : 5, 4, 4, r % 2 == 0 ? 2 : 3};
        for (int k = 0; k < 4; ++k) {
            const BattleSprite* f = frame_at(set, frames[k]);
            if (!f) continue;
            int x = 0, y = 0;
            anchor_of(r, 5 + k, x, y);
            copy_at(renderer, f, x + f->ox, y + f->oy);
        }
    }
}

void BattleScreen::draw_castle_bg_wall() {
    if (!battle_res || castle < 0 || castle > 3) return;
    const BattleSprite* f = frame_at(battle_res->castle_sprites[castle], 7);
    if (!f || f->w <= 0 || f->h <= 0) return;
    copy_at(renderer, f, 639 + f->ox, 141 + f->oy);
    copy_at(renderer, f, 529 + f->ox, 141 + f->oy);
}

void BattleScreen::draw_keep() {
    if (!battle_res || castle < 0 || castle > 3 || !keep_alive) return;
    const BattleSprite* f = frame_at(battle_res->keep_sprites[castle], 0);
    if (f) copy_at(renderer, f, 640 - f->w, 0);
}

void BattleScreen::draw_castle_walls() {
    if (!battle_res || castle < 0 || castle > 3) return;
    const auto& set = battle_res->castle_sprites[castle];
    for (int r = 0; r < 5; ++r) {
        if (wall_hp[r] <= 0) continue;
        int x = 0, y = 0;
        hex_to_screen(r, 5, x, y);
        if (const BattleSprite* f = frame_at(set, wall_hp[r] == 1 ? 8 : 10))
            copy_at(renderer, f, x + 67 - (f->ox + f->w), y + 79 + f->oy, true);
        const BattleSprite* joint = r < 4 ? frame_at(set, 9) : nullptr;
        if (!joint) continue;
        if (r % 2 == 0)
            copy_at(renderer, joint, x + 39 + joint->ox, y + 79 + joint->oy);
        else
            copy_at(renderer, joint, x + 67 - (joint->ox + joint->w), y + 79 + joint->oy, true);
    }
}

void BattleScreen::draw_catapult() {
    if (!battle_res) return;
    const auto& set = battle_res->catapult_sprites;
    const bool throwing = phase == ActionPhase::CatapultThrow || phase == ActionPhase::BoulderFlight;
    const int n = throwing ? std::clamp(catapult_frame, 0, 14) : 0;
    const int x = catapult_pos[0], y = catapult_pos[1];
    const BattleSprite* base = frame_at(set, throwing && catapult_frame == 7 ? 16 : 15);
    if (base) copy_at(renderer, base, x + base->ox, y + base->oy);
    if (const BattleSprite* f = frame_at(set, n)) copy_at(renderer, f, x + f->ox, y + f->oy);
}

void BattleScreen::draw_boulder() {
    if (!battle_res) return;
    const BattleSprite* f = frame_at(battle_res->boulder_sprites, boulder_spin);
    if (f) copy_at(renderer, f, static_cast<int>(boulder_x) - f->w / 2, static_cast<int>(boulder_y) - f->h / 2);
}

void BattleScreen::draw_keep_projectile() {
    if (!battle_res || castle < 0 || castle > 3) return;
    const BattleSprite* f = frame_at(battle_res->keep_sprites[castle], keep_arrow_frame);
    if (f) copy_at(renderer, f, static_cast<int>(keep_arrow_x) - f->w / 2, static_cast<int>(keep_arrow_y) - f->h / 2);
}

void BattleScreen::draw_textbar() {
    const std::vector<BattleSprite>* bar = battle_res ? &battle_res->textbar_sprites : nullptr;
    auto button = [&](int frame, const SDL_Rect& fallback) {
        const BattleSprite* f = bar ? frame_at(*bar, frame) : nullptr;
        if (f) {
            SDL_Rect dst{fallback.x, fallback.y, f->w, f->h};
            SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
        } else {
            SDL_SetRenderDrawBlendMode(renderer, SDL_BLENDMODE_NONE);
            SDL_SetRenderDrawColor(renderer, 120, 100, 0, 255);
            SDL_RenderFillRect(renderer, &fallback);
        }
    };
    button(1 + (textbar_left_pressed ? 1 : 0), status_left_button);
    if (const BattleSprite* f = bar ? frame_at(*bar, 0) : nullptr) {
        SDL_Rect right{320, 460, f->w, f->h};
        SDL_RenderCopy(renderer, f->tex, nullptr, &right);
        SDL_Rect left{48, 460, f->w, f->h};
        SDL_RenderCopyEx(renderer, f->tex, nullptr, &left, 0.0, nullptr, SDL_FLIP_HORIZONTAL);
    }
    button(3 + (textbar_right_pressed ? 1 : 0), status_right_button);
    // An open spellbook writes its own hints on the bar.
    if (font && !message.empty() && overlay != BattleOverlay::Spellbook) {
        const FittedLines fit = fit_column_lines({message}, kBarTextW, font, font_small);
        if (!fit.lines.empty())
            text::centered_xy(renderer, fit.font, fit.lines[0], kBarTextX, 460, kBarTextW, 20, SDL_Color{255, 255, 255, 255});
    }
}

void BattleScreen::draw_combat_cursor(int shape) {
    const BattleSprite* f = battle_res ? frame_at(battle_res->cursor_sprites, shape) : nullptr;
    if (!f) return;
    SDL_Rect dst{mouse_x - f->ox, mouse_y - f->oy, f->w, f->h};
    SDL_RenderCopy(renderer, f->tex, nullptr, &dst);
}

}  // namespace vorn1
