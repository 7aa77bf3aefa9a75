#include "media/film_sound.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "assets/quit_request.h"

namespace vorn1 {

uint32_t film_now(const FilmClock& clock) { return clock.now ? clock.now() : SDL_GetTicks(); }

void film_sleep(const FilmClock& clock, uint32_t ms) {
    if (clock.sleep) clock.sleep(ms);
    else SDL_Delay(ms);
}

int drain_film_events(bool skippable) {
    bool quit = false, skip = false;
    SDL_Event e;
    while (SDL_PollEvent(&e)) {
        if (e.type == SDL_QUIT) quit = true;
        else if (skippable && (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN)) skip = true;
    }
    // The quit event a termination request posts may have been taken by a loop before the film.
    if (termination_requested()) quit = true;
    return quit ? kFilmQuit : skip ? kFilmSkipped : -1;
}

int poll_film_pass(FilmPassPoll& poll, size_t new_bytes, bool skippable) {
    poll.bytes += new_bytes;
    if (poll.steps++ % 16 != 0 && poll.bytes < (uint64_t{1} << 20)) return -1;
    poll.bytes = 0;
    return drain_film_events(skippable);
}

uint64_t film_sound_budget(double film_seconds, int rate, int channels, int bytes_per_sample) {
    if (rate < 1 || channels < 1 || bytes_per_sample < 1 || !(film_seconds >= 0)) return 0;
    const double seconds = std::min(film_seconds + 10.0, kFilmSoundMaxSeconds);
    const double bytes = seconds * rate * channels * bytes_per_sample;
    return bytes >= static_cast<double>(kFilmSoundMaxBytes) ? kFilmSoundMaxBytes : static_cast<uint64_t>(bytes);
}

int film_sound_channels(bool use_mixer) {
    int channels = 0;
    if (!use_mixer || !Mix_QuerySpec(nullptr, nullptr, &channels)) return 2;
    return std::clamp(channels, 1, 2);
}

namespace {

// The sample frames a whole conversion makes of that many bytes of the track.
uint64_t converted_frames(const FilmSoundConverter& c, uint64_t bytes) {
    return bytes / static_cast<uint64_t>(c.frame) * static_cast<uint64_t>(c.mix_rate) / static_cast<uint64_t>(c.rate);
}

int frame_bytes(const FilmSoundFormat& f) { return f.channels * static_cast<int>(SDL_AUDIO_BITSIZE(f.format)) / 8; }

bool convertible(const FilmSoundFormat& f) {
    return f.channels >= 1 && f.channels <= 8 && f.rate >= 1 && f.rate <= kFilmSoundMaxRate && frame_bytes(f) >= 1;
}

void converter_drain(FilmSoundConverter& c) {
    while (c.size < c.capacity) {
        const int n = SDL_AudioStreamGet(c.stream, c.memory + c.size, static_cast<int>(c.capacity - c.size));
        if (n <= 0) break;
        c.size += static_cast<size_t>(n);
    }
}

void converter_feed(FilmSoundConverter& c, const uint8_t* data, size_t size) {
    if (SDL_AudioStreamPut(c.stream, data, static_cast<int>(size)) == 0) converter_drain(c);
}

}  // namespace

bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, SDL_AudioFormat format, int channels, int rate) {
    FilmSoundFormat mixer;
    Uint16 mix_format = 0;
    if (!Mix_QuerySpec(&mixer.rate, &mix_format, &mixer.channels)) {
        SDL_Log("%s: Mix_QuerySpec failed \xE2\x80\x94 is the mixer open? %s", s.who, Mix_GetError());
        return false;
    }
    mixer.format = mix_format;
    return film_converter_open(c, s, FilmSoundFormat{format, channels, rate}, mixer);
}

bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, const FilmSoundFormat& track,
                         const FilmSoundFormat& mixer) {
    if (s.budget == 0) return false;
    if (!convertible(track) || !convertible(mixer)) {
        SDL_Log("%s: no conversion of the film's sound (%d Hz, %d channels, format 0x%04X) for the mixer", s.who,
                track.rate, track.channels, static_cast<unsigned>(track.format));
        return false;
    }
    c.stream = SDL_NewAudioStream(track.format, static_cast<Uint8>(track.channels), track.rate, mixer.format,
                                  static_cast<Uint8>(mixer.channels), mixer.rate);
    if (!c.stream) {
        SDL_Log("%s: SDL_NewAudioStream failed: %s", s.who, SDL_GetError());
        return false;
    }
    c.frame = frame_bytes(track);
    c.mix_frame = frame_bytes(mixer);
    c.rate = track.rate;
    c.mix_rate = mixer.rate;
    c.silence = SDL_AUDIO_ISSIGNED(track.format) ? 0 : 0x80;
    c.budget = s.budget;
    c.taken = 0;
    c.size = 0;
    c.carry.assign(FilmSoundConverter::kBlockFrames * static_cast<size_t>(c.frame), c.silence);
    c.carried = 0;
    // What the budget becomes at the mixer's rate.
    const uint64_t out_frame = static_cast<uint64_t>(c.mix_frame);
    const uint64_t out_frames = converted_frames(c, s.budget) + 1;
    c.capacity = static_cast<size_t>(std::min<uint64_t>(out_frames, (uint64_t{INT_MAX} / 2) / out_frame) * out_frame);
    // Pages are only taken as the sound fills them.
    c.memory = static_cast<uint8_t*>(SDL_malloc(c.capacity));
    if (!c.memory) {
        SDL_Log("%s: no memory for %zu bytes of sound", s.who, c.capacity);
        film_converter_close(c);
        return false;
    }
    return true;
}

void film_converter_put(FilmSoundConverter& c, const uint8_t* data, size_t size) {
    if (!c.stream || c.taken >= c.budget) return;
    size = static_cast<size_t>(std::min<uint64_t>(size, c.budget - c.taken));
    if (size == 0) return;
    c.taken += size;
    const size_t block = c.carry.size();
    if (c.carried > 0) {
        const size_t n = std::min(block - c.carried, size);
        std::memcpy(c.carry.data() + c.carried, data, n);
        c.carried += n;
        data += n;
        size -= n;
        if (c.carried < block) return;
        converter_feed(c, c.carry.data(), block);
        c.carried = 0;
    }
    const size_t whole = size - size % block;
    const size_t most = kFilmSoundPiece - kFilmSoundPiece % block;
    for (size_t at = 0; at < whole;) {
        const size_t n = std::min(whole - at, most);
        converter_feed(c, data + at, n);
        at += n;
    }
    std::memcpy(c.carry.data(), data + whole, size - whole);
    c.carried = size - whole;
}

void film_converter_finish(FilmSoundConverter& c) {
    if (!c.stream) return;
    // A sample frame cut at the end of the track stays behind: a stray byte would shift every later sample.
    const size_t frame = static_cast<size_t>(c.frame);
    if (c.carried >= frame) converter_feed(c, c.carry.data(), c.carried - c.carried % frame);
    c.carried = 0;
    if (c.rate != c.mix_rate) {
        // The resampler holds the end of the track back for what would follow: silence pushes it
        // out, and the sound keeps the length one conversion of the whole track gives.
        c.capacity = std::min(c.capacity, static_cast<size_t>(converted_frames(c, c.taken)) * c.mix_frame);
        std::fill(c.carry.begin(), c.carry.end(), c.silence);
        const uint64_t pad = 512 * (static_cast<uint64_t>(c.rate) / static_cast<uint64_t>(c.mix_rate) + 1) + 64;
        for (uint64_t n = 0; n < pad && c.size < c.capacity; n += FilmSoundConverter::kBlockFrames)
            converter_feed(c, c.carry.data(), c.carry.size());
    }
    if (SDL_AudioStreamFlush(c.stream) == 0) converter_drain(c);
}

void film_converter_close(FilmSoundConverter& c) {
    if (c.stream) SDL_FreeAudioStream(c.stream);
    c.stream = nullptr;
    if (c.memory) SDL_free(c.memory);
    c.memory = nullptr;
    c.capacity = c.size = 0;
    c.carried = 0;
}

void note_film_sound_cut(const FilmSound& s, uint64_t gathered, double film_seconds, int rate, int channels,
                         int bytes_per_sample) {
    const double per_second = static_cast<double>(rate) * channels * bytes_per_sample;
    if (gathered < s.budget || per_second <= 0) return;
    const double kept = static_cast<double>(s.budget) / per_second;
    if (kept >= film_seconds) return;
    SDL_Log("%s: the film's sound stops after %.1f s of its %.1f s, the most a film's track may hold (ten minutes, "
            "%llu bytes at most); the rest of the film plays silent",
            s.who, kept, film_seconds, static_cast<unsigned long long>(kFilmSoundMaxBytes));
}

void film_sound_start_mixer(FilmSound& s, FilmSoundConverter& c) {
    if (!c.stream) return;
    film_converter_finish(c);
    if (c.size == 0) return;
    s.chunk = Mix_QuickLoad_RAW(c.memory, static_cast<Uint32>(c.size));
    if (!s.chunk) {
        SDL_Log("%s: Mix_QuickLoad_RAW failed: %s", s.who, Mix_GetError());
        return;
    }
    s.memory = c.memory;
    c.memory = nullptr;
    film_converter_close(c);
    s.channel = Mix_PlayChannel(-1, s.chunk, 0);
    if (s.channel < 0) SDL_Log("%s: Mix_PlayChannel failed: %s", s.who, Mix_GetError());
}

int film_sound_through_mixer(FilmSound& s, SDL_AudioFormat format, int channels, int rate, double film_seconds,
                             const std::function<int(const FilmSoundTake& take)>& gather) {
    FilmSoundConverter converter;
    int result = -1;
    if (film_converter_open(converter, s, format, channels, rate)) {
        result = gather([&converter](const uint8_t* data, size_t size) { film_converter_put(converter, data, size); });
        if (result < 0) {
            note_film_sound_cut(s, converter.taken, film_seconds, rate, channels, SDL_AUDIO_BITSIZE(format) / 8);
            film_sound_start_mixer(s, converter);
        }
    }
    film_converter_close(converter);
    return result;
}

SDL_AudioSpec film_device_spec(SDL_AudioFormat format, int channels, int rate) {
    SDL_AudioSpec want{};
    want.freq = rate;
    want.format = format;
    want.channels = static_cast<Uint8>(channels);
    want.samples = 2048;
    return want;
}

bool film_sound_open_device(FilmSound& s, SDL_AudioFormat format, int channels, int rate) {
    if (!SDL_WasInit(SDL_INIT_AUDIO)) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            SDL_Log("%s: SDL_InitSubSystem(AUDIO) failed: %s", s.who, SDL_GetError());
            return false;
        }
        s.own_audio = true;
    }
    if (rate > kFilmSoundMaxRate) {
        SDL_SetError("a film's sound may have at most %d Hz", kFilmSoundMaxRate);
        return false;
    }
    const SDL_AudioSpec want = film_device_spec(format, channels, rate);
    SDL_AudioSpec have{};
    s.device = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (s.device == 0) return false;
    SDL_ClearQueuedAudio(s.device);
    SDL_PauseAudioDevice(s.device, 0);
    return true;
}

void film_sound_queue(FilmSound& s, const uint8_t* data, size_t size) {
    if (s.device == 0 || size == 0 || s.queued >= s.budget) return;
    const uint64_t n = std::min<uint64_t>(size, s.budget - s.queued);
    if (SDL_QueueAudio(s.device, data, static_cast<Uint32>(n)) == 0) s.queued += n;
}

void film_sound_stop(FilmSound& s) {
    if (s.device) SDL_ClearQueuedAudio(s.device);
    if (s.channel >= 0) Mix_HaltChannel(s.channel);
}

int film_sound_finish(FilmSound& s, bool skippable, const FilmClock& clock) {
    if (s.device == 0) return kFilmEnded;
    const uint32_t until = film_now(clock) + 400;
    while (SDL_GetQueuedAudioSize(s.device) > 0 && !SDL_TICKS_PASSED(film_now(clock), until)) {
        const int r = drain_film_events(skippable);
        if (r == kFilmQuit) return kFilmQuit;
        if (r == kFilmSkipped) break;
        film_sleep(clock, 8);
    }
    return kFilmEnded;
}

void film_sound_close(FilmSound& s) {
    if (s.channel >= 0) Mix_HaltChannel(s.channel);
    s.channel = -1;
    if (s.chunk) Mix_FreeChunk(s.chunk);
    s.chunk = nullptr;
    if (s.memory) SDL_free(s.memory);
    s.memory = nullptr;
    if (s.device) {
        SDL_ClearQueuedAudio(s.device);
        SDL_CloseAudioDevice(s.device);
        s.device = 0;
    }
    if (s.own_audio) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    s.own_audio = false;
}

}  // namespace vorn1
