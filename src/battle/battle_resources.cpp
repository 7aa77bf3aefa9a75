#include "battle/battle_resources.h"

#include <SDL.h>
#include <SDL_mixer.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <tuple>

#include "assets/agg.h"
#include "assets/bmp.h"
#include "assets/render_utils.h"
#include "battle/creature_sprites.h"
#include "lang/lang_detect.h"
#include "lang/lang_icn_override.h"
#include "lang/language.h"

namespace vorn1 {

namespace {

std::string lower_ascii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::vector<uint8_t> fetch_either_case(const AggArchive& archive, const std::string& name) {
    std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) bytes = archive.get(lower_ascii(name));
    return bytes;
}

void destroy(BattleSprite& s) {
    if (s.tex) SDL_DestroyTexture(s.tex);
    s = BattleSprite{};
}

void destroy_all(std::vector<BattleSprite>& list) {
    for (BattleSprite& s : list) destroy(s);
    list.clear();
}

BattleSprite upload(SDL_Renderer* renderer, const SpriteImage& s) {
    BattleSprite out{nullptr, s.img.width, s.img.height, s.x, s.y};
    if (s.present() && renderer) out.tex = img_to_tex(renderer, s.img, true);
    return out;
}

// A list of decoded frames as textures; frames without a texture drop out.
std::vector<BattleSprite> upload_compact(SDL_Renderer* renderer, const std::vector<SpriteImage>& list) {
    std::vector<BattleSprite> out;
    for (const SpriteImage& s : list) {
        BattleSprite b = upload(renderer, s);
        if (b.tex) out.push_back(b);
    }
    return out;
}

// Positions matter here (pose numbers): a frame without a texture stays as an empty entry.
std::vector<BattleSprite> upload_keep(SDL_Renderer* renderer, const std::vector<SpriteImage>& list) {
    std::vector<BattleSprite> out;
    for (const SpriteImage& s : list) {
        BattleSprite b = upload(renderer, s);
        if (!b.tex) b = BattleSprite{};
        out.push_back(b);
    }
    return out;
}

void load_picture(SDL_Renderer* renderer, const AggArchive& archive, const Palette& pal, const std::string& name,
                  BattleSprite& out) {
    destroy(out);
    const std::vector<uint8_t> bytes = fetch_either_case(archive, name);
    if (bytes.empty()) {
        std::cerr << "  WARNING: " << name << " not found in AGG\n";
        return;
    }
    try {
        Image img = decode_bmp(bytes, pal);
        out.w = img.width;
        out.h = img.height;
        if (renderer) out.tex = img_to_tex(renderer, img, false);
        std::cout << "  " << name << " loaded (" << img.width << "x" << img.height << ")\n";
    } catch (const std::exception& e) {
        std::cerr << "  WARNING: " << name << " decode failed: " << e.what() << "\n";
        out = BattleSprite{};
    }
}

}  // namespace

BattleResources::BattleResources() = default;
BattleResources::~BattleResources() { shutdown(); }

void BattleResources::load_icn_sprites(const AggArchive& ar, const Palette& pal, const std::string& name,
                                       std::vector<IcnSprite>& out, const MonoMode& mono) {
    destroy_all(out);
    const std::vector<uint8_t> bytes = fetch_either_case(ar, name);
    if (bytes.empty()) {
        std::cerr << "  WARNING: " << name << " not found in AGG\n";
        return;
    }
    IcnFrames frames;
    try {
        frames = decode_icn(bytes, pal, mono);
    } catch (const std::exception& e) {
        std::cerr << "  WARN " << name << ": " << e.what() << "\n";
        return;
    }
    for (size_t i = 0; i < frames.headers.size(); ++i) {
        const SpriteHeader& h = frames.headers[i];
        IcnSprite s{nullptr, h.width, h.height, h.x, h.y};
        if (i < frames.frames.size() && frames.frames[i].width >= 1 && frames.frames[i].height >= 1) {
            s.w = frames.frames[i].width;
            s.h = frames.frames[i].height;
            if (renderer) s.tex = img_to_tex(renderer, frames.frames[i], true);
        }
        out.push_back(s);
    }
    std::cout << "  " << name << " -> " << out.size() << " frames\n";
    if (g_language == EN) return;
    const std::string stem = name.substr(0, name.rfind('.'));
    for (const auto& [index, img] : load_lang_icn_override(lang_assets_root(), lang_code(g_language), stem)) {
        if (index < 0 || img.empty()) continue;
        if (static_cast<size_t>(index) >= out.size()) out.resize(static_cast<size_t>(index) + 1);
        IcnSprite& s = out[static_cast<size_t>(index)];
        if (s.tex) SDL_DestroyTexture(s.tex);
        s.tex = renderer ? img_to_tex(renderer, img, true) : nullptr;
        s.w = img.width;
        s.h = img.height;
    }
}

void BattleResources::load_magic_icns(const AggArchive& ar, const Palette& pal) {
    for (int n = 1; n <= 8; ++n) {
        char name[16];
        std::snprintf(name, sizeof name, "MAGIC%02d.ICN", n);
        std::vector<IcnSprite>& list = magic_sprites[static_cast<size_t>(n - 1)];
        load_icn_sprites(ar, pal, name, list);
        if (list.empty()) {
            std::snprintf(name, sizeof name, "magic%02d.icn", n);
            load_icn_sprites(ar, pal, name, list);
        }
        if (list.empty())
            std::cerr << "  WARNING: MAGIC" << n << ".ICN not found\n";
        else
            std::cout << "  " << name << " -> " << list.size() << " frames\n";
    }
}

void BattleResources::load_morale_luck_assets(const AggArchive& ar, const Palette& pal) {
    load_icn_sprites(ar, pal, "MORALEG.ICN", good_morale_sprites);
    load_icn_sprites(ar, pal, "MORALEB.ICN", bad_morale_sprites);
    load_icn_sprites(ar, pal, "RAINBLUK.ICN", good_luck_sprites);
    load_icn_sprites(ar, pal, "CLOUDLUK.ICN", bad_luck_sprites);
    load_sound_entry(ar, "GOODMRLE.82M", good_morale_sfx);
    load_sound_entry(ar, "BADMRLE.82M", bad_morale_sfx);
    load_sound_entry(ar, "GOODLUCK.82M", good_luck_sfx);
    load_sound_entry(ar, "BADLUCK.82M", bad_luck_sfx);
    const std::pair<const char*, const std::vector<IcnSprite>*> lists[] = {
        {"MORALEG.ICN", &good_morale_sprites},
        {"MORALEB.ICN", &bad_morale_sprites},
        {"RAINBLUK.ICN", &good_luck_sprites},
        {"CLOUDLUK.ICN", &bad_luck_sprites}};
    for (const auto& [name, list] : lists)
        if (list->empty()) std::cerr << "  WARNING: " << name << " not found\n";
    const std::pair<const char*, const SoundEntry*> sounds[] = {{"GOODMRLE.82M", &good_morale_sfx},
                                                                {"BADMRLE.82M", &bad_morale_sfx},
                                                                {"GOODLUCK.82M", &good_luck_sfx},
                                                                {"BADLUCK.82M", &bad_luck_sfx}};
    for (const auto& [name, entry] : sounds)
        if (!entry->chunk) std::cerr << "  WARNING: " << name << " not found\n";
}

void BattleResources::load_creature_sprite(const AggArchive& ar, const Palette&, int creature, const std::string& stem,
                                           CreatureAnim anim, bool alternative_stems) {
    if (creature < 0 || creature > 27) return;
    if (pending_.size() < 28) pending_.resize(28);
    std::vector<uint8_t> bytes;
    const char* alt = CREATURE_STEMS_FR[creature];
    char name[32];
    if (alternative_stems && alt && stem != alt) {
        std::snprintf(name, sizeof name, "%s.%s", alt, creature_anim_ext(anim));
        bytes = ar.get(name);
    }
    if (bytes.empty()) {
        std::snprintf(name, sizeof name, "%s.%s", stem.c_str(), creature_anim_ext(anim));
        bytes = ar.get(name);
    }
    decode_creature_set(bytes, creature, anim, palette, pending_[static_cast<size_t>(creature)]);
}

void BattleResources::build_composite_frames(int creature) {
    if (creature < 0 || creature > 27) return;
    if (pending_.size() < 28) pending_.resize(28);
    CreatureImages& c = pending_[static_cast<size_t>(creature)];
    build_composite_images(creature, c);
    CreatureSprites& out = creatures[static_cast<size_t>(creature)];
    for (auto& list : out.anims) destroy_all(list);
    for (auto* list : {&out.attack_frames, &out.projectiles, &out.attack_shadows, &out.pose_shadows}) destroy_all(*list);
    destroy(out.outline_mask);
    for (int a = 0; a < 4; ++a) out.anims[a] = upload_compact(renderer, c.sets[a]);
    out.attack_frames = upload_keep(renderer, c.attack_frames);
    out.projectiles = upload_compact(renderer, c.projectiles);
    out.attack_shadows = upload_keep(renderer, c.attack_shadows);
    out.outline_mask = upload(renderer, c.outline_mask);
    if (!out.outline_mask.tex) out.outline_mask = BattleSprite{};
    out.loaded = c.loaded;
    c = CreatureImages{};
}

void BattleResources::load(const AggArchive& ar, const Palette& pal, SDL_Renderer* renderer_in,
                           const std::string& sound_dir_in) {
    renderer = renderer_in;
    archive = &ar;
    sound_dir = sound_dir_in;

    const std::vector<uint8_t> pal_bytes = ar.get("COMBAT.PAL");
    const LangDetectResult detected = detect_language(ar);
    if (pal_bytes.size() >= 768) {
        palette = remap_palette(load_palette(pal_bytes), detected.palette_remap);
        std::cout << "  COMBAT.PAL loaded\n";
    } else {
        palette = pal;
        std::cerr << "  WARNING: COMBAT.PAL not found, falling back to QV.PAL\n";
    }

    std::cout << "Loading battle resources...\n";
    if (SDL_WasInit(SDL_INIT_AUDIO) && Mix_AllocateChannels(-1) < 35) Mix_AllocateChannels(35);

    load_icn_sprites(ar, pal, "TENT.ICN", tent_sprites);
    load_icn_sprites(ar, pal, "TEXTBAR.ICN", textbar_sprites);
    load_icn_sprites(ar, pal, "CMBTMOUS.ICN", cursor_sprites);
    if (renderer) hero_standing_art.load(renderer, resolve_ci(alt_assets_root() + "/herostnd"));
    load_icn_sprites(ar, pal, "OVERVIEW.ICN", overview_sprites);

    const bool alternative = g_language == FR || detected.language == FR;
    for (int id = 0; id < 28; ++id) {
        for (CreatureAnim a : {STD, WLK, WIP}) load_creature_sprite(ar, pal, id, CREATURE_STEMS[id], a, alternative);
        if (creature_has_shoot_sfx(id)) load_creature_sprite(ar, pal, id, CREATURE_STEMS[id], ATK, alternative);
        build_composite_frames(id);
    }
    std::cout << "  Creature sprites loaded for " << 28 << " creatures\n";
    load_battle_music();
    load_creature_sounds(ar);

    load_magic_icns(ar, pal);
    load_spell_sfx_entries(ar);
    load_morale_luck_assets(ar, pal);

    load_picture(renderer, ar, palette, "WINLOSE.BMP", winlose_picture);
    load_picture(renderer, ar, palette, "LOSECMBT.BMP", losecmbt_picture);
    load_icn_sprites(ar, pal, "WINCMBT.ICN", win_sprites);
    load_icn_sprites(ar, pal, "LOSECMBT.ICN", lose_sprites);
    load_icn_sprites(ar, pal, "LOSEWALK.ICN", lose_walk_sprites);
    load_result_music();

    for (int n = 0; n < 4; ++n) {
        char name[16];
        for (auto [fmt, list] : {std::pair{"CASTLE%02d.ICN", &castle_sprites[n]}, std::pair{"KEEP%02d.ICN", &keep_sprites[n]}}) {
            std::snprintf(name, sizeof name, fmt, n);
            load_icn_sprites(ar, pal, name, *list);
            if (list->empty())
                std::cerr << "  WARNING: " << name << " not found in AGG\n";
            else
                std::cout << "  " << name << " loaded (" << list->size() << " frames)\n";
        }
    }
    MonoMode catapult_mono;
    catapult_mono.frames = {15, 1};
    for (auto [name, list, mono] : {std::tuple{"CATAPULT.ICN", &catapult_sprites, catapult_mono},
                                    std::tuple{"BOULDER.ICN", &boulder_sprites, MonoMode{}}}) {
        load_icn_sprites(ar, pal, name, *list, mono);
        if (list->empty())
            std::cerr << "  WARNING: " << name << " not found in AGG\n";
        else
            std::cout << "  " << name << " loaded (" << list->size() << " frames)\n";
    }
    load_single_sound(ar, "CATSND00.82M", catsnd00_sfx);
    load_single_sound(ar, "CATSND02.82M", catsnd02_sfx);
    load_single_sound(ar, "RSBRYFZL.82M", rsbryfzl_sfx);
    std::cout << "Battle resources loaded.\n";
    loaded = true;
}

void BattleResources::shutdown() {
    if (SDL_WasInit(SDL_INIT_AUDIO) && Mix_Playing(1)) Mix_HaltChannel(1);
    for (auto* list : {&tent_sprites, &overview_sprites, &textbar_sprites, &cursor_sprites, &good_morale_sprites,
                       &bad_morale_sprites, &good_luck_sprites, &bad_luck_sprites, &win_sprites, &lose_sprites,
                       &lose_walk_sprites, &catapult_sprites, &boulder_sprites})
        destroy_all(*list);
    for (auto& list : magic_sprites) destroy_all(list);
    for (auto& list : castle_sprites) destroy_all(list);
    for (auto& list : keep_sprites) destroy_all(list);
    destroy(winlose_picture);
    destroy(losecmbt_picture);
    for (CreatureSprites& c : creatures) {
        for (auto& list : c.anims) destroy_all(list);
        for (auto* list : {&c.attack_frames, &c.projectiles, &c.attack_shadows, &c.pose_shadows}) destroy_all(*list);
        destroy(c.outline_mask);
        c.loaded = false;
    }
    hero_standing_art.unload();
    pending_.clear();
    loaded = false;
}

std::vector<uint32_t> texture_to_pixels(SDL_Renderer* renderer, SDL_Texture* tex, int width, int height) {
    std::vector<uint32_t> px(static_cast<size_t>(std::max(0, width)) * static_cast<size_t>(std::max(0, height)), 0);
    if (!renderer || !tex || px.empty()) return px;
    SDL_Texture* target =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_TARGET, width, height);
    if (!target) return px;
    SDL_Texture* old = SDL_GetRenderTarget(renderer);
    SDL_SetRenderTarget(renderer, target);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
    SDL_RenderClear(renderer);
    SDL_BlendMode mode;
    SDL_GetTextureBlendMode(tex, &mode);
    SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_NONE);
    SDL_RenderCopy(renderer, tex, nullptr, nullptr);
    SDL_SetTextureBlendMode(tex, mode);
    SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_ABGR8888, px.data(), width * 4);
    SDL_SetRenderTarget(renderer, old);
    SDL_DestroyTexture(target);
    return px;
}

}  // namespace vorn1
