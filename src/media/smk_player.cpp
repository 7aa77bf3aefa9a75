#include "media/smk_player.h"

#include <algorithm>

#include "assets/quit_request.h"
#include "media/smk_video.h"

namespace vorn1 {

// ---- shared pieces

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
