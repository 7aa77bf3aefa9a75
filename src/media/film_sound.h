#pragma once
// A film's sound for both film players: the whole track gathered before the film within a budget
// of time and bytes and converted for the mixer as it comes, or a private device fed as the film
// plays. With it the pieces its waits share with the players: the film clock, the results and
// the event drain.
#include <SDL.h>
#include <SDL_mixer.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace vorn1 {

// Results of a playback.
enum : int { kFilmEnded = 0, kFilmSkipped = 1, kFilmQuit = 2, kFilmFailed = 3 };

// The time a film is paced by: milliseconds now, and a sleep. Left empty, SDL's ticks and delay.
struct FilmClock {
    std::function<uint32_t()> now;
    std::function<void(uint32_t ms)> sleep;
};
uint32_t film_now(const FilmClock& clock);
void film_sleep(const FilmClock& clock, uint32_t ms);

// Drains pending events: kFilmQuit on a window close or a termination request (it wins),
// kFilmSkipped on a key or mouse button when skippable, else -1.
int drain_film_events(bool skippable);

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

// The most channels a film's sound is handed over in: the mixer's (1 or 2) for the mixer, else
// (or while the mixer is closed) 2. A decoder that has more mixes them down to these.
int film_sound_channels(bool use_mixer);

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

// The highest rate a film's sound may have; a track above it plays silent. SDL's resampler
// overflows past 2^22 Hz, and a damaged film can claim 2^24.
constexpr int kFilmSoundMaxRate = 384000;

// A sample format, channel count (1 to 8) and rate, of a track or of the mixer.
struct FilmSoundFormat {
    SDL_AudioFormat format = AUDIO_S16LSB;
    int channels = 2;
    int rate = 22050;
};

// A film's sound converted for the mixer while its pass gathers it: pieces in the track's format
// go through SDL's streaming converter, which keeps its state between pieces, into one buffer with
// room for the budget, so the track is never held whole in either format.
struct FilmSoundConverter {
    SDL_AudioStream* stream = nullptr;
    uint8_t* memory = nullptr;  // SDL_malloc'd, `capacity` bytes of the mixer's format
    size_t capacity = 0;
    size_t size = 0;
    uint64_t budget = 0;  // the most bytes of the track it takes
    uint64_t taken = 0;   // bytes of the track put in
    int frame = 1;        // bytes of one sample frame of the track, and of the mixer's
    int mix_frame = 1;
    int rate = 0;
    int mix_rate = 0;
    uint8_t silence = 0;  // the track format's
    // SDL converts the middle of a buffer with vector instructions that round differently from the
    // plain code at its ends: blocks of whole sample frames keep every piece's ends on the vector
    // path, so the mixer gets what one conversion of the whole track gives. The rest of a piece
    // waits in `carry`, one block of the track's frames.
    static constexpr size_t kBlockFrames = 64;
    std::vector<uint8_t> carry;
    size_t carried = 0;
};
// Opens it from the track's format to the mixer's, with room for the sound's budget; false, logged,
// when the mixer is closed or SDL cannot convert.
bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, SDL_AudioFormat format, int channels, int rate);
bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, const FilmSoundFormat& track,
                         const FilmSoundFormat& mixer);
// Converts a piece of the track; pieces need not be whole sample frames. Past the budget nothing is taken.
void film_converter_put(FilmSoundConverter& c, const uint8_t* data, size_t size);
// Converts what is still held back: `memory` then has `size` bytes of whole sample frames of the
// mixer's format, as many as one conversion of the whole track gives.
void film_converter_finish(FilmSoundConverter& c);
void film_converter_close(FilmSoundConverter& c);
// After a pass that filled the budget of a film that runs on past it, the log says that the rest
// of the film plays silent, and why.
void note_film_sound_cut(const FilmSound& s, uint64_t gathered, double film_seconds, int rate, int channels,
                         int bytes_per_sample);
// Finishes the converter and starts what it made once on a free channel; the sound takes its memory.
void film_sound_start_mixer(FilmSound& s, FilmSoundConverter& c);
// The mixer's road for both players: `gather` hands the whole track to its `take` piece by piece,
// converted as it comes, and the sound then starts. Returns -1, or the pass's own result (a quit or a
// skip during it), when nothing starts.
using FilmSoundTake = std::function<void(const uint8_t* data, size_t size)>;
int film_sound_through_mixer(FilmSound& s, SDL_AudioFormat format, int channels, int rate, double film_seconds,
                             const std::function<int(const FilmSoundTake& take)>& gather);
// What the private device is asked for: exactly the film's format, 2048-sample buffers.
SDL_AudioSpec film_device_spec(SDL_AudioFormat format, int channels, int rate);
// Opens the default device in exactly that format; false (logged by the caller) on failure, and for
// a rate above kFilmSoundMaxRate.
bool film_sound_open_device(FilmSound& s, SDL_AudioFormat format, int channels, int rate);
void film_sound_queue(FilmSound& s, const uint8_t* data, size_t size);
// Stops the sound at once (skip or quit).
void film_sound_stop(FilmSound& s);
// Waits at most 400 ms for the device queue to empty; kFilmQuit on a window close, else kFilmEnded.
int film_sound_finish(FilmSound& s, bool skippable, const FilmClock& clock);
void film_sound_close(FilmSound& s);

}  // namespace vorn1
