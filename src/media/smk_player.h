#pragma once
// Full-screen film playback on the 640 x 480 logical screen: a blocking loop of its own with
// pacing, skip and quit, an optional text overlay and the film's sound through the mixer or a
// private audio device. The MP4 player shares the records and the pieces declared below.
#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

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

// The time a film is paced by: milliseconds now, and a sleep. Left empty, SDL's ticks and delay.
struct FilmClock {
    std::function<uint32_t()> now;
    std::function<void(uint32_t ms)> sleep;
};
uint32_t film_now(const FilmClock& clock);
void film_sleep(const FilmClock& clock, uint32_t ms);

struct SmkPlayOptions {
    uint8_t skippable = 1;
    uint8_t hold_last_frame = 0;
    const SmkOverlay* overlay = nullptr;
    uint32_t base_ms = 0;  // added to the playing time when deciding whether the overlay shows
    uint8_t use_mixer = 1;
    FilmClock clock;
};

// Results of a playback.
enum : int { kFilmEnded = 0, kFilmSkipped = 1, kFilmQuit = 2, kFilmFailed = 3 };

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
// Drains pending events: kFilmQuit on a window close or a termination request (it wins),
// kFilmSkipped on a key or mouse button when skippable, else -1.
int drain_film_events(bool skippable);
// Drains and sleeps (8 ms at most at a time) until the deadline; a result as above, else -1.
int wait_film_deadline(const FilmClock& clock, uint32_t deadline_ms, bool skippable);
// After a film that ended by itself: redraws the frame every 16 ms until a key or button
// (kFilmEnded) or a window close or termination request (kFilmQuit).
int hold_film_frame(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* rgba, int pitch, const SDL_Rect& dest,
                    const SmkPlayOptions& options, uint32_t start_ms);

// A film's sound pass stays answerable: on its first step, on every 16th and after each MiB of
// sound it drains pending events (a result as drain_film_events, else -1).
struct FilmPassPoll {
    uint32_t steps = 0;
    uint64_t bytes = 0;
};
int poll_film_pass(FilmPassPoll& poll, size_t new_bytes, bool skippable);

// The longest sound track a film of this game can need, and the most bytes it may hold: ten
// minutes, and never more than ten minutes of 48 kHz 16-bit stereo whatever rate a track claims.
// Past that the rest of the film plays silent.
constexpr double kFilmSoundMaxSeconds = 600.0;
constexpr uint64_t kFilmSoundMaxBytes = uint64_t{600} * 48000 * 2 * 2;

// The most sound bytes a film may bring: its length plus ten seconds at its format, within the
// bounds above (a damaged film can claim far more than it plays).
uint64_t film_sound_budget(double film_seconds, int rate, int channels, int bytes_per_sample);

// The sound pass's pieces: no step unpacks or converts more than this.
constexpr uint64_t kFilmSoundPiece = uint64_t{256} << 10;

// A Smacker film's sound before it plays, handed to `take` piece by piece: no chunk unpacks past
// what the budget still holds and the pass ends once it is full. A result of the pass's events
// ends it at once (else -1); the film is rewound either way.
int gather_smk_sound(SmkVideo& video, uint64_t budget, bool skippable,
                     const std::function<void(const uint8_t* data, size_t size)>& take);

// The film's sound: one mixer chunk of the whole track, or a private device fed frame by frame.
struct FilmSound {
    const char* who = "";  // log prefix, the player's name
    Mix_Chunk* chunk = nullptr;
    uint8_t* memory = nullptr;
    int channel = -1;
    SDL_AudioDeviceID device = 0;
    bool own_audio = false;
    uint64_t budget = 0;
    uint64_t queued = 0;
};

// A film's sound converted for the mixer while its pass gathers it: pieces in the track's format
// go through SDL's streaming converter, which keeps its state between pieces, into one buffer with
// room for the budget, so the track is never held whole in either format.
struct FilmSoundConverter {
    SDL_AudioStream* stream = nullptr;
    uint8_t* memory = nullptr;  // SDL_malloc'd, `capacity` bytes of the mixer's format
    size_t capacity = 0;
    size_t size = 0;
    uint64_t taken = 0;  // bytes of the track put in
    int frame = 1;       // bytes of one sample frame of the track, and of the mixer's
    int mix_frame = 1;
    int rate = 0;
    int mix_rate = 0;
    uint8_t silence = 0;  // the track format's
    // SDL converts the middle of a buffer with vector instructions that round differently from the
    // plain code at its ends: blocks of whole sample frames keep every piece's ends on the vector
    // path, so the mixer gets what one conversion of the whole track gives. The rest of a piece
    // waits here for the next.
    static constexpr size_t kBlockFrames = 64;
    uint8_t carry[kBlockFrames * 4] = {};
    size_t carried = 0;
};
// Opens it from the track's format (`format`, channels, rate) to the mixer's, with room for the
// sound's budget; false, logged, when the mixer is closed or SDL cannot convert.
bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, SDL_AudioFormat format, int channels, int rate);
// Converts a piece of the track; pieces need not be whole sample frames.
void film_converter_put(FilmSoundConverter& c, const uint8_t* data, size_t size);
void film_converter_close(FilmSoundConverter& c);
// After a pass that filled the budget of a film that runs on past it, the log says that the rest
// of the film plays silent, and why.
void note_film_sound_cut(const FilmSound& s, uint64_t gathered, double film_seconds, int rate, int channels,
                         int bytes_per_sample);
// Flushes the converter and starts what it made once on a free channel; the sound takes its memory.
void film_sound_start_mixer(FilmSound& s, FilmSoundConverter& c);
// The mixer's road for both players: `gather` hands the whole track to its `take` piece by piece,
// converted as it comes, and the sound then starts. Returns -1, or the pass's own result (a quit or a
// skip during it), when nothing starts.
using FilmSoundTake = std::function<void(const uint8_t* data, size_t size)>;
int film_sound_through_mixer(FilmSound& s, SDL_AudioFormat format, int channels, int rate, double film_seconds,
                             const std::function<int(const FilmSoundTake& take)>& gather);
// What the private device is asked for: exactly the film's format, 2048-sample buffers.
SDL_AudioSpec film_device_spec(SDL_AudioFormat format, int channels, int rate);
// Opens the default device in exactly that format; false (logged by the caller) on failure.
bool film_sound_open_device(FilmSound& s, SDL_AudioFormat format, int channels, int rate);
void film_sound_queue(FilmSound& s, const uint8_t* data, size_t size);
// Stops the sound at once (skip or quit).
void film_sound_stop(FilmSound& s);
// Waits at most 400 ms for the device queue to empty; kFilmQuit on a window close, else kFilmEnded.
int film_sound_finish(FilmSound& s, bool skippable, const FilmClock& clock);
void film_sound_close(FilmSound& s);

}  // namespace vorn1
