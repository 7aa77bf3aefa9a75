#pragma once
// Full-screen film playback on the 640 x 480 logical screen: a blocking loop of its own with
// pacing, skip and quit, an optional text overlay and the film's sound through the mixer or a
// private audio device (media/film_sound.h). The MP4 player shares the records and the pieces
// declared below.
#include <SDL.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/film_sound.h"

namespace vorn1 {

class SmkVideo;

struct SmkOverlay {
    std::vector<std::string> lines;  // UTF-8
    uint32_t show_after_ms = 0;
    int32_t x = 0;
    int32_t bottom = 0;  // distance of the last line's bottom from y = 480
    SDL_Color colour{255, 255, 255, 255};
    TTF_Font* font = nullptr;  // nothing is drawn while null
    int32_t extra_gap = 0;
};

struct SmkPlayOptions {
    uint8_t skippable = 1;
    uint8_t hold_last_frame = 0;
    const SmkOverlay* overlay = nullptr;
    uint32_t base_ms = 0;  // added to the playing time when deciding whether the overlay shows
    uint8_t use_mixer = 1;
    FilmClock clock;
};

int play_smk_file(SDL_Renderer* renderer, const std::string& path, const SmkPlayOptions& options);
int play_lose_video(SDL_Renderer* renderer, const std::string& path);

// ---- pieces shared by the film players

// The most pixels a film's picture may have, those of a 3840 x 2160 picture: its frames, their
// colours and its texture take about ten bytes a pixel, and a damaged header can claim 8192 x 8192.
constexpr int64_t kFilmMaxPixels = int64_t{3840} * 2160;
// Whether a film of that size may play; a larger one is refused, and the log says so naming the
// player (`who`) and the file.
bool film_size_playable(const char* who, const std::string& path, int width, int height);

// Where a film of that width and shown height lands on the 640 x 480 screen (fitted, centred).
SDL_Rect film_dest_rect(int width, int display_height);
void draw_overlay(SDL_Renderer* renderer, const SmkOverlay& overlay);
// Upload, clear to black, copy to the destination, overlay when due, present.
void present_film_frame(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* rgba, int pitch,
                        const SDL_Rect& dest, const SmkPlayOptions& options, uint32_t start_ms);
// Drains and sleeps (8 ms at most at a time) until the deadline; a result as drain_film_events, else -1.
int wait_film_deadline(const FilmClock& clock, uint32_t deadline_ms, bool skippable);
// After a film that ended by itself: redraws the frame every 16 ms until a key or button
// (kFilmEnded) or a window close or termination request (kFilmQuit).
int hold_film_frame(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* rgba, int pitch, const SDL_Rect& dest,
                    const SmkPlayOptions& options, uint32_t start_ms);

// A Smacker film's sound before it plays, handed to `take` piece by piece: no chunk unpacks past
// what the budget still holds and the pass ends once it is full. A result of the pass's events
// ends it at once (else -1); the film is rewound either way.
int gather_smk_sound(SmkVideo& video, uint64_t budget, bool skippable,
                     const std::function<void(const uint8_t* data, size_t size)>& take);

}  // namespace vorn1
