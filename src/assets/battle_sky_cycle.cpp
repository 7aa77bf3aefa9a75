#include "assets/battle_sky_cycle.h"

#include "assets/image.h"
#include "assets/palette_cycle.h"

namespace vorn1 {

void BattleSkyCycle::init(SDL_Renderer* renderer, const Palette& palette) {
    reset();
    renderer_ = renderer;
    palette_ = palette;
}

void BattleSkyCycle::set_source(const std::vector<uint8_t>& bkg) {
    reset();
    if (bkg.size() < 6) return;
    const int64_t width = bkg[2] | (bkg[3] << 8);
    const int64_t height = bkg[4] | (bkg[5] << 8);
    if (width == 0 || height == 0 || width * height > kMaxImagePixels) return;
    if (static_cast<int64_t>(bkg.size()) < 6 + width * height) return;
    indices_.assign(bkg.begin() + 6, bkg.begin() + 6 + width * height);
    rgba_.assign(static_cast<std::size_t>(width * height) * 4, 255);
    w = static_cast<int>(width);
    h = static_cast<int>(height);
    active = true;
    if (renderer_) {
        texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, w, h);
        if (texture) SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    }
    rebuild(0);
}

void BattleSkyCycle::rebuild(uint32_t phase) {
    phase_ = phase;
    if (!texture) return;
    const Palette pal = cycle_palette(palette_, kPaletteCycleRanges, phase);
    for (std::size_t i = 0; i < indices_.size(); ++i) {
        const Color& c = pal[indices_[i]];
        rgba_[i * 4] = c.r;
        rgba_[i * 4 + 1] = c.g;
        rgba_[i * 4 + 2] = c.b;
    }
    SDL_UpdateTexture(texture, nullptr, rgba_.data(), w * 4);
}

void BattleSkyCycle::tick(uint32_t ms) {
    if (!active) return;
    const uint32_t phase = cycle_phase(ms, kPeriodMs);
    if (phase != phase_) rebuild(phase);
}

void BattleSkyCycle::reset() {
    if (texture) SDL_DestroyTexture(texture);
    texture = nullptr;
    active = false;
    w = h = 0;
    indices_.clear();
    rgba_.clear();
    phase_ = 0;
}

}  // namespace vorn1
