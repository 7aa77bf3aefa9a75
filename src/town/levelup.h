#pragma once
// Level-ups waiting to be shown. The rules append records; the dialog shows and removes them in order.
#include <SDL.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

#include "world/levels.h"

namespace vorn1 {

class EventSystem;
struct EventDef;
struct GameState;
struct Resources;

// Catalogue keys of the four skills in the order of LevelUpEvent::gains.
extern const std::array<const char*, 4> kStatKey;

// The event dialog of one record: title, one body line per raised skill, mode 3 + extra lines.
EventDef levelup_event_def(const LevelUpEvent& ev);

class LevelUpSystem {
public:
    // Producers append at the back; only the dialog's close removes, from the front.
    std::deque<LevelUpEvent> queue;

    // Shows the front record unless the queue is empty or an event dialog is already open; the
    // record stays queued while its dialog shows, so calling every frame opens it once.
    void try_open_next(EventSystem& events, const Resources& res, SDL_Rect area);
    // The same without loaded art (null): the dialog opens without its picture.
    void try_open_next(EventSystem& events, const Resources* res, SDL_Rect area);
    // The experience box of a hero centred in the area; nothing for an unknown hero.
    void draw_exp_info_box(SDL_Renderer* r, const Resources& res, const GameState& game, int hero, SDL_Rect area,
                           TTF_Font* font) const;
};

}  // namespace vorn1
