#pragma once
// The battle's art: creature sprite sets, interface, spell, morale and luck, siege and result
// sprite lists and pictures. `load` fills it once per game; the rules read only the creature sets
// and stay usable when nothing was loaded (fixed sizes, silence).
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/icn.h"
#include "assets/palette.h"
#include "lang/hero_horse.h"

struct SDL_Texture;
struct SDL_Renderer;
struct Mix_Chunk;

namespace vorn1 {

class AggArchive;

// One decoded frame: texture (may be null), size and drawing offsets.
struct BattleSprite {
    SDL_Texture* tex = nullptr;
    int w = 0;
    int h = 0;
    int ox = 0;
    int oy = 0;
};
using IcnSprite = BattleSprite;

enum CreatureAnim : int { STD = 0, WLK = 1, ATK = 2, WIP = 3 };

struct CreatureSprites {
    bool loaded = false;
    // By CreatureAnim: standing, walking, attack parts (base and four parts once composed), wincing.
    std::array<std::vector<BattleSprite>, 4> anims;
    std::vector<BattleSprite> attack_frames;   // melee poses, then shooting poses; null entries keep positions
    std::vector<BattleSprite> projectiles;     // the flying missile of a shooter
    std::vector<BattleSprite> attack_shadows;  // shadows left unmerged (no shooting base)
    BattleSprite outline_mask;                 // white silhouette for glow outlines
    std::vector<BattleSprite> pose_shadows;

    const std::vector<BattleSprite>& standing() const { return anims[STD]; }
    const std::vector<BattleSprite>& walking() const { return anims[WLK]; }
    const std::vector<BattleSprite>& wincing() const { return anims[WIP]; }
    const std::vector<BattleSprite>& attack_parts() const { return anims[ATK]; }
};

struct CreatureImages;
enum class BattleSfx : uint8_t;

// One loaded sound: the WAVE image the chunk reads from, kept beside it; no chunk means silence.
struct SoundEntry {
    std::vector<uint8_t> wav;
    Mix_Chunk* chunk = nullptr;
    SoundEntry() = default;
    ~SoundEntry();
    SoundEntry(const SoundEntry&) = delete;
    SoundEntry& operator=(const SoundEntry&) = delete;
    void free();
};

// The battle track a seed picks: the first draw of a Mersenne Twister seeded with it, modulo 3.
int battle_music_track(unsigned seed);

struct BattleResources {
    BattleResources();
    ~BattleResources();
    BattleResources(const BattleResources&) = delete;
    BattleResources& operator=(const BattleResources&) = delete;

    std::vector<IcnSprite> tent_sprites;
    std::vector<IcnSprite> overview_sprites;
    std::vector<IcnSprite> textbar_sprites;
    std::vector<IcnSprite> cursor_sprites;
    std::array<CreatureSprites, 28> creatures;
    // Replacement hero figures by class, used while the hero-horse option is on.
    HeroHorseArt hero_standing_art;
    // Sounds by creature id (shots only for the six shooters), spells 0..18, jingles, siege and music.
    std::array<SoundEntry, 28> move_sfx;
    std::array<SoundEntry, 28> attack_sfx;
    std::array<SoundEntry, 28> wince_sfx;
    std::array<SoundEntry, 28> shoot_sfx;
    std::array<SoundEntry, 19> spell_sfx;
    SoundEntry good_morale_sfx, bad_morale_sfx, good_luck_sfx, bad_luck_sfx;
    SoundEntry catsnd00_sfx, catsnd02_sfx, rsbryfzl_sfx;
    std::array<SoundEntry, 3> battle_music;
    std::array<SoundEntry, 2> result_music;  // won, lost
    std::array<std::vector<IcnSprite>, 8> magic_sprites;
    std::vector<IcnSprite> good_morale_sprites;
    std::vector<IcnSprite> bad_morale_sprites;
    std::vector<IcnSprite> good_luck_sprites;
    std::vector<IcnSprite> bad_luck_sprites;
    BattleSprite winlose_picture;
    std::vector<IcnSprite> win_sprites;
    std::vector<IcnSprite> lose_sprites;
    std::vector<IcnSprite> lose_walk_sprites;
    BattleSprite losecmbt_picture;
    std::array<std::vector<IcnSprite>, 4> castle_sprites;
    std::array<std::vector<IcnSprite>, 4> keep_sprites;
    std::vector<IcnSprite> catapult_sprites;
    std::vector<IcnSprite> boulder_sprites;

    SDL_Renderer* renderer = nullptr;
    Palette palette{};  // the battle palette
    const AggArchive* archive = nullptr;
    std::string sound_dir;  // the program's folder with its separator: the music is looked for in its SOUND folders
    bool loaded = false;

    // Loads every list; a missing entry only warns. `pal` decodes the interface lists and stands
    // in for a missing battle palette.
    void load(const AggArchive& archive, const Palette& pal, SDL_Renderer* renderer, const std::string& sound_dir);
    void load_icn_sprites(const AggArchive& archive, const Palette& pal, const std::string& name,
                          std::vector<IcnSprite>& out, const MonoMode& mono = {});
    void load_magic_icns(const AggArchive& archive, const Palette& pal);
    void load_morale_luck_assets(const AggArchive& archive, const Palette& pal);
    // One set of a creature, decoded with the battle palette (`pal` is not consulted).
    void load_creature_sprite(const AggArchive& archive, const Palette& pal, int creature, const std::string& stem,
                              CreatureAnim anim, bool alternative_stems);
    // Composes the attack poses of a creature whose sets were loaded and makes its textures.
    void build_composite_frames(int creature);
    void shutdown();

    // ---- sounds: a missing entry stays silent
    void load_sound_entry(const AggArchive& archive, const char* name, SoundEntry& out);
    void load_sound_entries(const AggArchive& archive, const char* pattern, int count, std::array<SoundEntry, 28>& out);
    void load_spell_sfx_entries(const AggArchive& archive);
    void load_creature_sounds(const AggArchive& archive);
    void load_single_sound(const AggArchive& archive, const char* name, SoundEntry& out);
    void load_battle_music();
    void load_result_music();
    // Music loops on channel 1; creature sounds and jingles on 2, spells on 3; each cuts the last.
    void play_battle_music(unsigned seed, int volume);
    void play_result_music(bool won, int volume);
    void play_sfx_entry(const std::array<SoundEntry, 28>& table, int index, int volume);
    void play_spell_sfx(int index, int volume);
    void play_battle_sfx(BattleSfx kind, int creature, int channel, int volume);

private:
    std::vector<CreatureImages> pending_;  // decoded sets awaiting composition, by creature id
};

// Reads a texture back as width x height RGBA pixels; zero-filled when the read-back fails.
std::vector<uint32_t> texture_to_pixels(SDL_Renderer* renderer, SDL_Texture* tex, int width, int height);

}  // namespace vorn1
