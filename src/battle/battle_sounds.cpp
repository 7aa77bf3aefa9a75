// The battle's sounds: creature and spell effects from the archive, battle and result music from
// the sound folder, played on the battle's own mixer channels.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdio>
#include <iostream>
#include <random>

#include "assets/agg.h"
#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "media/sound_chunk.h"

namespace vorn1 {

namespace {

constexpr const char* BATTLE_MUSIC_STEMS[3] = {"VELDAR40", "VELDAR41", "VELDAR42"};
constexpr const char* RESULT_MUSIC_STEMS[2] = {"VELDAR44", "VELDAR43"};
constexpr int SHOOT_IDS[6] = {1, 7, 10, 14, 15, 18};

bool audio_open() { return SDL_WasInit(SDL_INIT_AUDIO) && Mix_QuerySpec(nullptr, nullptr, nullptr) != 0; }

void play_on(int channel, const SoundEntry& e, int volume, int loops) {
    if (!e.chunk || !audio_open()) return;
    if (Mix_Playing(channel)) Mix_HaltChannel(channel);
    Mix_Volume(channel, volume);
    Mix_PlayChannel(channel, e.chunk, loops);
}

void load_music(const std::string& dir, const char* stem, SoundEntry& out, const char* what) {
    std::string found;
    out.free();
    out.chunk = load_best_sound_from_disk(dir, stem, out.wav, &found);
    if (out.chunk)
        std::cout << "  " << found << " (" << what << ") loaded\n";
    else
        std::cerr << "  WARNING: " << stem << ".* not found\n";
}

}  // namespace

SoundEntry::~SoundEntry() { free(); }

void SoundEntry::free() { free_sound(chunk, wav); }

void BattleResources::load_sound_entry(const AggArchive& ar, const char* name, SoundEntry& out) {
    bool found = false;
    std::vector<uint8_t> wav;
    Mix_Chunk* chunk = load_archive_chunk(&ar, name, wav, &found);
    if (!found) return;
    out.free();
    out.chunk = chunk;
    out.wav = std::move(wav);
}

void BattleResources::load_sound_entries(const AggArchive& ar, const char* pattern, int count,
                                         std::array<SoundEntry, 28>& out) {
    for (int i = 0; i < count && i < 28; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, pattern, i);
        load_sound_entry(ar, name, out[static_cast<size_t>(i)]);
    }
}

void BattleResources::load_spell_sfx_entries(const AggArchive& ar) {
    for (int i = 0; i < static_cast<int>(spell_sfx.size()); ++i) {
        char name[20];
        std::snprintf(name, sizeof name, "SPELL%02d.82M", i);
        load_sound_entry(ar, name, spell_sfx[static_cast<size_t>(i)]);
        if (spell_sfx[static_cast<size_t>(i)].chunk) std::cout << "  " << name << " loaded\n";
    }
}

void BattleResources::load_battle_music() {
    for (int i = 0; i < 3; ++i) load_music(sound_dir, BATTLE_MUSIC_STEMS[i], battle_music[static_cast<size_t>(i)], "battle music");
}

void BattleResources::load_result_music() {
    for (int i = 0; i < 2; ++i) load_music(sound_dir, RESULT_MUSIC_STEMS[i], result_music[static_cast<size_t>(i)], "result music");
}

void BattleResources::load_creature_sounds(const AggArchive& ar) {
    load_sound_entries(ar, "MOVE%02d.82M", 28, move_sfx);
    load_sound_entries(ar, "ATKSND%02d.82M", 28, attack_sfx);
    load_sound_entries(ar, "WINCE%02d.82M", 28, wince_sfx);
    for (int id : SHOOT_IDS) {
        char name[32];
        std::snprintf(name, sizeof name, "SHOOT%02d.82M", id);
        load_sound_entry(ar, name, shoot_sfx[static_cast<size_t>(id)]);
    }
}

void BattleResources::load_single_sound(const AggArchive& ar, const char* name, SoundEntry& out) {
    load_sound_entry(ar, name, out);
    if (out.chunk)
        std::cout << "  " << name << " loaded\n";
    else
        std::cerr << "  WARNING: " << name << " not found in AGG\n";
}

int battle_music_track(unsigned seed) {
    std::mt19937 gen(seed);
    return static_cast<int>(gen() % 3u);
}

void BattleResources::play_battle_music(unsigned seed, int volume) {
    if (audio_open() && Mix_Playing(1)) Mix_HaltChannel(1);
    if (seed == 0) seed = SDL_GetTicks();
    play_on(1, battle_music[static_cast<size_t>(battle_music_track(seed))], volume, -1);
}

void BattleResources::play_result_music(bool won, int volume) { play_on(1, result_music[won ? 0 : 1], volume, 0); }

void BattleResources::play_sfx_entry(const std::array<SoundEntry, 28>& table, int index, int volume) {
    if (index < 0 || index > 27) return;
    play_on(2, table[static_cast<size_t>(index)], volume, 0);
}

void BattleResources::play_spell_sfx(int index, int volume) {
    if (index < 0 || index >= static_cast<int>(spell_sfx.size())) return;
    play_on(3, spell_sfx[static_cast<size_t>(index)], volume, 0);
}

void BattleResources::play_battle_sfx(BattleSfx kind, int creature, int channel, int volume) {
    const SoundEntry* e = nullptr;
    const bool known = creature >= 0 && creature <= 27;
    const size_t c = known ? static_cast<size_t>(creature) : 0;
    switch (kind) {
    case BattleSfx::Attack: e = known ? &attack_sfx[c] : nullptr; break;
    case BattleSfx::Wince: e = known ? &wince_sfx[c] : nullptr; break;
    case BattleSfx::Move: e = known ? &move_sfx[c] : nullptr; break;
    case BattleSfx::Shoot:
    case BattleSfx::KeepShoot: e = known ? &shoot_sfx[c] : nullptr; break;
    case BattleSfx::GoodLuck: e = &good_luck_sfx; break;
    case BattleSfx::BadLuck: e = &bad_luck_sfx; break;
    case BattleSfx::GoodMorale: e = &good_morale_sfx; break;
    case BattleSfx::BadMorale: e = &bad_morale_sfx; break;
    case BattleSfx::Catapult: e = &catsnd00_sfx; break;
    case BattleSfx::BoulderImpact: e = &catsnd02_sfx; break;
    case BattleSfx::SpellFizzle: e = &rsbryfzl_sfx; break;
    }
    if (e) play_on(channel, *e, volume, 0);
}

}  // namespace vorn1
