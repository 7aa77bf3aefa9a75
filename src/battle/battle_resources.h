#pragma once
// What the battle rules read of the battle's art and sounds. Loading fills these; without it every
// field stays empty and the rules fall back to their fixed sizes and silence.
#include <array>
#include <vector>

struct SDL_Texture;
struct Mix_Chunk;

namespace vorn1 {

// One decoded frame: texture (may be null), size and drawing offsets.
struct BattleSprite {
    SDL_Texture* tex = nullptr;
    int w = 0;
    int h = 0;
    int ox = 0;
    int oy = 0;
};

enum CreatureAnim : int { STD = 0, WLK = 1, ATK = 2, WIP = 3 };

struct CreatureSprites {
    bool loaded = false;
    std::array<std::vector<BattleSprite>, 4> anims;
};

struct BattleResources {
    std::array<CreatureSprites, 28> creatures;
    // Hero figure on the field by hero class 0..3; a null texture means the art is missing.
    std::array<BattleSprite, 4> hero_figures;
    Mix_Chunk* bad_morale_sound = nullptr;
};

}  // namespace vorn1
