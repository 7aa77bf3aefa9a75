#pragma once
#include <SDL.h>

#include <cstdint>
#include <vector>

#include "assets/palette.h"

namespace vorn1 {

// The battlefield sky picture (a raw .bkg: u16 unused, u16 width, u16 height, indexes) with its
// cycling colours. Drawn at (0, 0) in its own size while `active` and `texture` is set.
class BattleSkyCycle {
public:
    static constexpr uint32_t kPeriodMs = 180;

    BattleSkyCycle() = default;
    ~BattleSkyCycle() { reset(); }
    BattleSkyCycle(const BattleSkyCycle&) = delete;
    BattleSkyCycle& operator=(const BattleSkyCycle&) = delete;

    void init(SDL_Renderer* renderer, const Palette& palette);
    // A malformed or empty entry leaves the cycle reset.
    void set_source(const std::vector<uint8_t>& bkg);
    void tick(uint32_t ms);
    void reset();

    bool active = false;
    SDL_Texture* texture = nullptr;
    int w = 0;
    int h = 0;

private:
    void rebuild(uint32_t phase);

    SDL_Renderer* renderer_ = nullptr;
    Palette palette_{};
    std::vector<uint8_t> indices_;
    std::vector<uint8_t> rgba_;
    uint32_t phase_ = 0;
};

}  // namespace vorn1
