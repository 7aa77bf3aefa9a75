#pragma once
// The depth list of the battle field, rebuilt and sorted every frame; drawing reads it.
#include <vector>

#include "battle/battle_screen.h"

namespace vorn1 {

struct DrawEntry {
    int kind = 0;  // 0 stack, 1 obstacle sprite, 2 hero tent
    const BattleUnit* unit = nullptr;
    int side_flag = 0;
    const BattleScreen::FieldObject* object = nullptr;
    int depth = 0;
    int secondary = 0;
    int tent = -1;  // 0 attacker, 1 defender
};

// Side 1's stacks, side 0's, the obstacles, then the tents, stably sorted by depth, secondary key
// and (between stacks) side 1 first.
std::vector<DrawEntry> build_draw_list(const BattleScreen& b);

// Copies a texture, mirrored and turned only when asked: the software renderer's plain copy is far
// cheaper than its turning one.
void copy_texture(SDL_Renderer* r, SDL_Texture* tex, const SDL_Rect& dst, bool mirrored, double angle = 0.0);

// Frame i of a list when it exists and has a texture; null otherwise.
const BattleSprite* frame_at(const std::vector<BattleSprite>& list, int i);

// The pulsing outline of a stack: the sprite tinted to `c`, four copies 2 px out at half alpha, four
// 1 px out at full alpha; colour, alpha and blend mode are reset afterwards.
void draw_tinted_outline(SDL_Renderer* r, const BattleSprite& s, bool mirrored, int x, int y, SDL_Color c);
// The step 0..3 of a glow that runs through four colours a second.
int glow_step(float seconds);

// Whether a stack is drawn this frame: living stacks always, dead ones while their blow plays.
bool unit_drawn(const BattleScreen& b, const BattleUnit& u);

}  // namespace vorn1
