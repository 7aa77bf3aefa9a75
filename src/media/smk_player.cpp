#include "media/smk_player.h"

#include <algorithm>
#include <climits>
#include <cstring>

#include "assets/quit_request.h"
#include "media/smk_video.h"

namespace vorn1 {

// ---- shared pieces

uint32_t film_now(const FilmClock& clock) { return clock.now ? clock.now() : SDL_GetTicks(); }

void film_sleep(const FilmClock& clock, uint32_t ms) {
    if (clock.sleep) clock.sleep(ms);
    else SDL_Delay(ms);
}

bool film_size_playable(const char* who, const std::string& path, int width, int height) {
    if (int64_t{width} * height <= kFilmMaxPixels) return true;
    SDL_Log("%s: %s is %d x %d, more pixels than a film may have (%lld); not played", who, path.c_str(), width, height,
            static_cast<long long>(kFilmMaxPixels));
    return false;
}

SDL_Rect film_dest_rect(int width, int display_height) {
    if (width < 1 || display_height < 1) return SDL_Rect{0, 0, 640, 480};
    const double s = std::min(480.0 / display_height, 640.0 / width);
    const int w = static_cast<int>(width * s + 0.5), h = static_cast<int>(display_height * s + 0.5);
    return SDL_Rect{(640 - w) / 2, (480 - h) / 2, w, h};
}

void draw_overlay(SDL_Renderer* renderer, const SmkOverlay& overlay) {
    if (!overlay.font || overlay.lines.empty()) return;
    const int step = TTF_FontLineSkip(overlay.font) + overlay.extra_gap;
    const int h = TTF_FontHeight(overlay.font);
    int top = 480 - overlay.bottom - h - step * (static_cast<int>(overlay.lines.size()) - 1);
    for (const std::string& line : overlay.lines) {
        if (!line.empty()) {
            if (SDL_Surface* surf = TTF_RenderUTF8_Blended(overlay.font, line.c_str(), overlay.colour)) {
                if (SDL_Texture* t = SDL_CreateTextureFromSurface(renderer, surf)) {
                    const SDL_Rect dst{overlay.x, top, surf->w, surf->h};
                    SDL_RenderCopy(renderer, t, nullptr, &dst);
                    SDL_DestroyTexture(t);
                }
                SDL_FreeSurface(surf);
            }
        }
        top += step;
    }
}

void present_film_frame(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* rgba, int pitch,
                        const SDL_Rect& dest, const SmkPlayOptions& options, uint32_t start_ms) {
    SDL_UpdateTexture(texture, nullptr, rgba, pitch);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_RenderCopy(renderer, texture, nullptr, &dest);
    const SmkOverlay* ov = options.overlay;
    if (ov && ov->font && options.base_ms + (film_now(options.clock) - start_ms) >= ov->show_after_ms) draw_overlay(renderer, *ov);
    SDL_RenderPresent(renderer);
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

int wait_film_deadline(const FilmClock& clock, uint32_t deadline_ms, bool skippable) {
    for (;;) {
        const uint32_t now = film_now(clock);
        if (SDL_TICKS_PASSED(now, deadline_ms)) return -1;
        film_sleep(clock, std::min<uint32_t>(deadline_ms - now, 8));
        const int r = drain_film_events(skippable);
        if (r >= 0) return r;
    }
}

int hold_film_frame(SDL_Renderer* renderer, SDL_Texture* texture, const uint8_t* rgba, int pitch, const SDL_Rect& dest,
                    const SmkPlayOptions& options, uint32_t start_ms) {
    for (;;) {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) return kFilmQuit;
            if (e.type == SDL_KEYDOWN || e.type == SDL_MOUSEBUTTONDOWN) return kFilmEnded;
        }
        if (termination_requested()) return kFilmQuit;
        present_film_frame(renderer, texture, rgba, pitch, dest, options, start_ms);
        film_sleep(options.clock, 16);
    }
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

namespace {

// The sample frames a whole conversion makes of that many bytes of the track.
uint64_t converted_frames(const FilmSoundConverter& c, uint64_t bytes) {
    return bytes / static_cast<uint64_t>(c.frame) * static_cast<uint64_t>(c.mix_rate) / static_cast<uint64_t>(c.rate);
}

}  // namespace

bool film_converter_open(FilmSoundConverter& c, const FilmSound& s, SDL_AudioFormat format, int channels, int rate) {
    int mix_rate = 0, mix_channels = 0;
    Uint16 mix_format = 0;
    if (!Mix_QuerySpec(&mix_rate, &mix_format, &mix_channels)) {
        SDL_Log("%s: Mix_QuerySpec failed \xE2\x80\x94 is the mixer open? %s", s.who, Mix_GetError());
        return false;
    }
    if (s.budget == 0) return false;
    c.stream = SDL_NewAudioStream(format, static_cast<Uint8>(channels), rate, mix_format,
                                  static_cast<Uint8>(mix_channels), mix_rate);
    if (!c.stream) {
        SDL_Log("%s: SDL_NewAudioStream failed: %s", s.who, SDL_GetError());
        return false;
    }
    c.frame = channels * SDL_AUDIO_BITSIZE(format) / 8;
    c.mix_frame = mix_channels * SDL_AUDIO_BITSIZE(mix_format) / 8;
    c.rate = rate;
    c.mix_rate = mix_rate;
    c.silence = format == AUDIO_U8 ? 0x80 : 0;
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

namespace {

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

void film_converter_put(FilmSoundConverter& c, const uint8_t* data, size_t size) {
    if (!c.stream || size == 0) return;
    c.taken += size;
    const size_t block = FilmSoundConverter::kBlockFrames * static_cast<size_t>(c.frame);
    if (c.carried > 0) {
        const size_t n = std::min(block - c.carried, size);
        std::memcpy(c.carry + c.carried, data, n);
        c.carried += n;
        data += n;
        size -= n;
        if (c.carried < block) return;
        converter_feed(c, c.carry, block);
        c.carried = 0;
    }
    const size_t whole = size - size % block;
    const size_t most = kFilmSoundPiece - kFilmSoundPiece % block;
    for (size_t at = 0; at < whole;) {
        const size_t n = std::min(whole - at, most);
        converter_feed(c, data + at, n);
        at += n;
    }
    std::memcpy(c.carry, data + whole, size - whole);
    c.carried = size - whole;
}

void film_converter_close(FilmSoundConverter& c) {
    if (c.stream) SDL_FreeAudioStream(c.stream);
    c.stream = nullptr;
    if (c.memory) SDL_free(c.memory);
    c.memory = nullptr;
    c.capacity = c.size = 0;
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
    // A sample frame cut at the end of the track stays behind: a stray byte would shift every later sample.
    const size_t frame = static_cast<size_t>(c.frame);
    if (c.carried >= frame) converter_feed(c, c.carry, c.carried - c.carried % frame);
    c.carried = 0;
    if (c.rate != c.mix_rate) {
        // The resampler holds the end of the track back for what would follow: silence pushes it
        // out, and the sound keeps the length one conversion of the whole track gives.
        c.capacity = std::min(c.capacity, static_cast<size_t>(converted_frames(c, c.taken)) * c.mix_frame);
        std::memset(c.carry, c.silence, sizeof c.carry);
        const size_t block = FilmSoundConverter::kBlockFrames * frame;
        const uint64_t pad = 512 * (static_cast<uint64_t>(c.rate) / static_cast<uint64_t>(c.mix_rate) + 1) + 64;
        for (uint64_t n = 0; n < pad && c.size < c.capacity; n += FilmSoundConverter::kBlockFrames)
            converter_feed(c, c.carry, block);
    }
    if (SDL_AudioStreamFlush(c.stream) == 0) converter_drain(c);
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

// ---- Smacker playback

int gather_smk_sound(SmkVideo& video, uint64_t budget, bool skippable,
                     const std::function<void(const uint8_t* data, size_t size)>& take) {
    FilmPassPoll poll;
    uint64_t gathered = 0;
    size_t last = 0;
    int result = -1;
    while (gathered < budget) {
        result = poll_film_pass(poll, last, skippable);
        if (result >= 0) break;
        video.audio_room = budget - gathered;
        const SmkFrame& f = video.decode_next_sound(kFilmSoundPiece);
        if (f.frame_index < 0) break;
        last = f.audio.size();
        gathered += last;
        if (last > 0) take(f.audio.data(), last);
    }
    video.audio_room = UINT64_MAX;
    video.rewind();
    return result;
}

int play_smk_file(SDL_Renderer* renderer, const std::string& path, const SmkPlayOptions& options) {
    SmkVideo video;
    if (!video.load_file(path)) {
        SDL_Log("play_smk_file: load failed for %s: %s", path.c_str(), video.error.c_str());
        return kFilmFailed;
    }
    const int w = static_cast<int>(video.width), h = static_cast<int>(video.height);
    if (!film_size_playable("play_smk_file", path, w, h)) return kFilmFailed;
    const int display_h = (video.interlaced || video.doubled) ? h * 2 : h;
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!texture) {
        SDL_Log("play_smk_file: CreateTexture failed: %s", SDL_GetError());
        return kFilmFailed;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);

    FilmSound sound;
    sound.who = "play_smk_file";
    const double seconds = video.frame_count * video.frame_period_us / 1e6;
    const int channels = video.audio_stereo ? 2 : 1;
    const int rate = static_cast<int>(video.audio_sample_rate);
    const SDL_AudioFormat format = video.audio_16bit ? AUDIO_S16LSB : AUDIO_U8;
    sound.budget = film_sound_budget(seconds, rate, channels, video.audio_16bit ? 2 : 1);
    if (video.audio_decodable) {
        if (options.use_mixer) {
            const int r = film_sound_through_mixer(sound, format, channels, rate, seconds,
                                                   [&](const FilmSoundTake& take) {
                                                       return gather_smk_sound(video, sound.budget,
                                                                               options.skippable != 0, take);
                                                   });
            if (r >= 0) {
                SDL_DestroyTexture(texture);
                return r;
            }
        } else if (!film_sound_open_device(sound, format, channels, rate)) {
            if (SDL_WasInit(SDL_INIT_AUDIO))
                SDL_Log("play_smk_file: SDL_OpenAudioDevice failed (%d Hz, %d-bit, %dch): %s", rate,
                        video.audio_16bit ? 16 : 8, channels, SDL_GetError());
        }
    }

    const SDL_Rect dest = film_dest_rect(w, display_h);
    const int pitch = w * 4;
    const uint32_t start = film_now(options.clock);
    const double period_ms = video.frame_period_us / 1000.0;
    int result = kFilmEnded;
    bool shown = false;
    for (uint64_t n = 1;; ++n) {
        const uint32_t deadline = start + static_cast<uint32_t>(static_cast<uint64_t>(n * period_ms));
        // The mixer already has the whole sound; a device takes what the budget still holds.
        video.audio_room = sound.device ? sound.budget - std::min(sound.queued, sound.budget) : 0;
        const SmkFrame& f = video.decode_next();
        if (f.frame_index < 0) break;
        present_film_frame(renderer, texture, f.rgba.data(), pitch, dest, options, start);
        shown = true;
        film_sound_queue(sound, f.audio.data(), f.audio.size());
        int r = drain_film_events(options.skippable != 0);
        if (r < 0) r = wait_film_deadline(options.clock, deadline, options.skippable != 0);
        if (r >= 0) {
            result = r;
            break;
        }
    }
    if (result == kFilmEnded) result = film_sound_finish(sound, options.skippable != 0, options.clock);
    else film_sound_stop(sound);
    film_sound_close(sound);
    if (result == kFilmEnded && options.hold_last_frame && shown)
        result = hold_film_frame(renderer, texture, video.out.rgba.data(), pitch, dest, options, start);
    SDL_DestroyTexture(texture);
    return result;
}

int play_lose_video(SDL_Renderer* renderer, const std::string& path) {
    SmkPlayOptions o;
    o.skippable = 1;
    o.hold_last_frame = 0;
    o.overlay = nullptr;
    o.base_ms = 0;
    o.use_mixer = 1;
    return play_smk_file(renderer, path, o);
}

}  // namespace vorn1
