#pragma once
// The new-day pause: a rising sun and the date in the panel below the buttons while a day turns over.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <functional>

#include "adventure/adventure_resources.h"

namespace vorn1 {

class AggArchive;
struct GameState;
struct NewDayState;

constexpr float kNewDayMs = 3000.0f;
constexpr const char* kNewDayEntry = "NEWDAY.ICN";

struct NewDayResources {
    NewDayResources() = default;
    ~NewDayResources() { unload(); }
    NewDayResources(const NewDayResources&) = delete;
    NewDayResources& operator=(const NewDayResources&) = delete;

    // False (with "  WARNING: NEWDAY.ICN missing") when the sun frames are missing or corrupt.
    bool load(SDL_Renderer* r, const AggArchive& archive, const Palette& palette);
    void unload();

    SpriteSet sun;  // frames of the sunrise, first to last
};

// Starts the pause and keeps which seats are out of the game (the panel shows only the others).
// The jingle stands for the new-day music with the ambient sounds paused; it plays only with audio on.
void begin_new_day_animation(NewDayState& nd, const NewDayResources* res, const GameState& state, bool audio_on,
                             const std::function<void()>& play_jingle,
                             const std::array<bool, 4>& eliminated = {});
// The seats the new-day panel shows: in play when the day turned and not eliminated (bit p).
unsigned new_day_players_shown(const NewDayState& nd, const GameState& state);
// Advances the pause; true on the tick that ends it (the flag is cleared then).
bool tick_new_day_animation(NewDayState& nd, float ms);
// Frame of the sun for the time elapsed, 0 .. frames - 1 (0 for an empty set).
int new_day_sun_frame(const NewDayState& nd, int frames);

void draw_new_day_panel(SDL_Renderer* r, const NewDayResources* res, const NewDayState& nd, const GameState& state,
                        TTF_Font* font, TTF_Font* small_font);

}  // namespace vorn1
