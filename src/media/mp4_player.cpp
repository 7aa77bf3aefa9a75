#include "media/mp4_player.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/mathematics.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include "media/film_sound.h"

namespace vorn1 {

namespace {

// The default layout for that many channels; a count with none (9 to 15) takes the first channels
// of the sixteen-channel one, as the resampler cannot mix channels that have no places.
void usual_layout(AVChannelLayout& layout, int channels) {
    av_channel_layout_default(&layout, channels);
    if (layout.order != AV_CHANNEL_ORDER_UNSPEC || channels > 16) return;
    uint64_t mask = 0;
    for (uint64_t rest = AV_CH_LAYOUT_HEXADECAGONAL; av_popcount64(mask) < channels; rest &= rest - 1)
        mask |= rest & (~rest + 1);
    av_channel_layout_from_mask(&layout, mask);
}

struct Mp4Decoder {
    AVFormatContext* format = nullptr;
    int video_stream = -1;
    int audio_stream = -1;
    AVCodecContext* video = nullptr;
    AVCodecContext* audio = nullptr;
    SwsContext* scaler = nullptr;
    SwrContext* resampler = nullptr;
    AVPacket* packet = nullptr;
    AVFrame* frame = nullptr;
    int out_rate = 0;
    int out_channels = 2;
    bool audio_usable = false;
    std::string error;

    ~Mp4Decoder() {
        sws_freeContext(scaler);
        swr_free(&resampler);
        av_packet_free(&packet);
        av_frame_free(&frame);
        avcodec_free_context(&video);
        avcodec_free_context(&audio);
        if (format) avformat_close_input(&format);
    }

    bool fail(const char* text) {
        error = text;
        return false;
    }

    // `most_channels`: the sound is mixed down to at most that many channels.
    bool open(const std::string& path, int most_channels) {
        if (avformat_open_input(&format, path.c_str(), nullptr, nullptr) < 0) return fail("avformat_open_input failed");
        if (avformat_find_stream_info(format, nullptr) < 0) return fail("avformat_find_stream_info failed");
        for (unsigned i = 0; i < format->nb_streams; ++i) {
            const AVMediaType t = format->streams[i]->codecpar->codec_type;
            if (t == AVMEDIA_TYPE_VIDEO && video_stream < 0) video_stream = static_cast<int>(i);
            if (t == AVMEDIA_TYPE_AUDIO && audio_stream < 0) audio_stream = static_cast<int>(i);
        }
        if (video_stream < 0) return fail("no video stream");
        const AVCodecParameters* vp = format->streams[video_stream]->codecpar;
        const AVCodec* vcodec = avcodec_find_decoder(vp->codec_id);
        if (!vcodec) return fail("no video decoder");
        video = avcodec_alloc_context3(vcodec);
        if (!video || avcodec_parameters_to_context(video, vp) < 0) return fail("video ctx init failed");
        if (avcodec_open2(video, vcodec, nullptr) < 0) return fail("video avcodec_open2 failed");
        scaler = sws_getContext(video->width, video->height, video->pix_fmt, video->width, video->height,
                                AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
        if (!scaler) return fail("sws_getContext failed");
        if (audio_stream >= 0) open_audio(most_channels);
        packet = av_packet_alloc();
        frame = av_frame_alloc();
        if (!packet || !frame) return fail("packet/frame alloc failed");
        return true;
    }

    // Any failure here only leaves the film silent.
    void open_audio(int most_channels) {
        const AVCodecParameters* ap = format->streams[audio_stream]->codecpar;
        const AVCodec* acodec = avcodec_find_decoder(ap->codec_id);
        if (!acodec) return;
        audio = avcodec_alloc_context3(acodec);
        if (!audio || avcodec_parameters_to_context(audio, ap) < 0 || avcodec_open2(audio, acodec, nullptr) < 0) return;
        out_rate = audio->sample_rate;
        const int in_channels = audio->ch_layout.nb_channels < 1 ? 2 : audio->ch_layout.nb_channels;
        out_channels = std::min(in_channels, most_channels);
        if (out_rate < 1) return;
        // Zeroed: a copy into a layout first clears its destination, which must hold a valid layout.
        AVChannelLayout out_layout{};
        av_channel_layout_default(&out_layout, out_channels);
        // Channels of no named layout are taken in the usual order, so that they can be mixed down.
        AVChannelLayout in_layout{};
        if (audio->ch_layout.nb_channels < 1 || audio->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC)
            usual_layout(in_layout, in_channels);
        else av_channel_layout_copy(&in_layout, &audio->ch_layout);
        const int r = swr_alloc_set_opts2(&resampler, &out_layout, AV_SAMPLE_FMT_S16, out_rate, &in_layout,
                                          audio->sample_fmt, audio->sample_rate, 0, nullptr);
        av_channel_layout_uninit(&in_layout);
        av_channel_layout_uninit(&out_layout);
        if (r < 0 || !resampler || swr_init(resampler) < 0) {
            swr_free(&resampler);
            return;
        }
        audio_usable = true;
    }

    void audio_to_s16(AVFrame* f, std::vector<uint8_t>& out) {
        if (!resampler) return;
        const int64_t count = av_rescale_rnd(swr_get_delay(resampler, out_rate) + f->nb_samples, out_rate, out_rate,
                                             AV_ROUND_UP);
        if (count < 1 || count > (int64_t{1} << 24)) return;
        std::vector<uint8_t> buf(static_cast<size_t>(count) * static_cast<size_t>(out_channels) * 2, 0);
        uint8_t* dst = buf.data();
        const int n = swr_convert(resampler, &dst, static_cast<int>(count), const_cast<const uint8_t**>(f->extended_data),
                                  f->nb_samples);
        if (n > 0) out.insert(out.end(), buf.begin(), buf.begin() + static_cast<std::ptrdiff_t>(n) * out_channels * 2);
    }

    void decode_audio_packet(const AVPacket* p, std::vector<uint8_t>& out) {
        if (avcodec_send_packet(audio, p) < 0) return;
        while (avcodec_receive_frame(audio, frame) == 0) {
            audio_to_s16(frame, out);
            av_frame_unref(frame);
        }
    }

    // The whole sound track in one pass over the file, handed to `take` a packet at a time up to
    // the budget, then back to the start for the pictures. A result of the pass's events ends it at
    // once (else -1).
    int whole_track(uint64_t budget, bool skippable, const std::function<void(const uint8_t*, size_t)>& take) {
        av_seek_frame(format, audio_stream, 0, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(audio);
        FilmPassPoll poll;
        std::vector<uint8_t> pcm;
        uint64_t gathered = 0;
        const auto hand_on = [&] {
            const size_t n = static_cast<size_t>(std::min<uint64_t>(pcm.size(), budget - gathered));
            if (n > 0) take(pcm.data(), n);
            gathered += n;
        };
        while (gathered < budget) {
            const int r = poll_film_pass(poll, pcm.size(), skippable);
            if (r >= 0) return r;
            pcm.clear();
            if (av_read_frame(format, packet) < 0) break;
            if (packet->stream_index == audio_stream) decode_audio_packet(packet, pcm);
            av_packet_unref(packet);
            hand_on();
        }
        pcm.clear();
        if (gathered < budget) decode_audio_packet(nullptr, pcm);
        hand_on();
        av_seek_frame(format, video_stream, 0, AVSEEK_FLAG_BACKWARD);
        avcodec_flush_buffers(video);
        avcodec_flush_buffers(audio);
        return -1;
    }
};

}  // namespace

uint64_t film_channel_mask(int channels) {
    AVChannelLayout layout{};
    usual_layout(layout, channels);
    const uint64_t mask = layout.order == AV_CHANNEL_ORDER_NATIVE ? layout.u.mask : 0;
    av_channel_layout_uninit(&layout);
    return mask;
}

int play_mp4_file(SDL_Renderer* renderer, const std::string& path, const SmkPlayOptions& options) {
    Mp4Decoder d;
    if (!d.open(path, film_sound_channels(options.use_mixer != 0))) {
        SDL_Log("play_mp4_file: open failed for %s: %s", path.c_str(), d.error.c_str());
        return kFilmFailed;
    }
    const int w = d.video->width, h = d.video->height;
    if (!film_size_playable("play_mp4_file", path, w, h)) return kFilmFailed;
    SDL_Texture* texture = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ABGR8888, SDL_TEXTUREACCESS_STREAMING, w, h);
    if (!texture) {
        SDL_Log("play_mp4_file: CreateTexture failed: %s", SDL_GetError());
        return kFilmFailed;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    const SDL_Rect dest = film_dest_rect(w, h);

    FilmSound sound;
    sound.who = "play_mp4_file";
    const double seconds =
        d.format->duration > 0 ? static_cast<double>(d.format->duration) / AV_TIME_BASE : 3600.0;
    sound.budget = film_sound_budget(seconds, d.out_rate, d.out_channels, 2);
    if (d.audio_usable) {
        if (options.use_mixer) {
            const int r = film_sound_through_mixer(sound, AUDIO_S16LSB, d.out_channels, d.out_rate, seconds,
                                                   [&](const FilmSoundTake& take) {
                                                       return d.whole_track(sound.budget, options.skippable != 0,
                                                                            take);
                                                   });
            if (r >= 0) {
                SDL_DestroyTexture(texture);
                return r;
            }
        } else if (!film_sound_open_device(sound, AUDIO_S16LSB, d.out_channels, d.out_rate)) {
            if (SDL_WasInit(SDL_INIT_AUDIO))
                SDL_Log("play_mp4_file: SDL_OpenAudioDevice failed (%d Hz, %dch): %s", d.out_rate, d.out_channels,
                        SDL_GetError());
        }
    }

    const int pitch = w * 4;
    std::vector<uint8_t> rgba(static_cast<size_t>(pitch) * h, 0);
    const AVRational tb = d.format->streams[d.video_stream]->time_base;
    const uint32_t start = film_now(options.clock);
    int result = -1;
    bool shown = false;
    int64_t last_ms = 0;
    int shown_count = 0;
    // One frame's time: the step between the last two frames, or the stream's frame rate.
    const AVRational rate = d.format->streams[d.video_stream]->r_frame_rate;
    int64_t step_ms = rate.num > 0 && rate.den > 0 ? int64_t{1000} * rate.den / rate.num : 0;
    std::vector<uint8_t> pcm;

    auto show_frames = [&]() {
        while (result < 0 && avcodec_receive_frame(d.video, d.frame) == 0) {
            AVFrame* f = d.frame;
            // Frames whose size or format changed mid-stream are scaled to the film's size.
            d.scaler = sws_getCachedContext(d.scaler, f->width, f->height, static_cast<AVPixelFormat>(f->format), w, h,
                                            AV_PIX_FMT_RGBA, SWS_BILINEAR, nullptr, nullptr, nullptr);
            if (d.scaler) {
                uint8_t* dst[4] = {rgba.data(), nullptr, nullptr, nullptr};
                const int dst_pitch[4] = {pitch, 0, 0, 0};
                sws_scale(d.scaler, f->data, f->linesize, 0, f->height, dst, dst_pitch);
            }
            int64_t ts = f->best_effort_timestamp;
            if (ts == AV_NOPTS_VALUE) ts = f->pts;
            int64_t frame_ms = 0;
            if (ts != AV_NOPTS_VALUE && tb.den != 0) {
                const double ms = static_cast<double>(tb.num) / tb.den * static_cast<double>(ts) * 1000.0 + 0.5;
                frame_ms = static_cast<int64_t>(std::clamp(ms, -1e9, 1e9));
            }
            av_frame_unref(f);
            // A frame shows at its own time and stays until the next one's.
            int r = wait_film_deadline(options.clock, start + static_cast<uint32_t>(frame_ms), options.skippable != 0);
            if (r < 0) {
                present_film_frame(renderer, texture, rgba.data(), pitch, dest, options, start);
                shown = true;
                step_ms = shown_count++ > 0 ? frame_ms - last_ms : step_ms;
                last_ms = frame_ms;
                r = drain_film_events(options.skippable != 0);
            }
            if (r >= 0) result = r;
        }
    };

    while (result < 0 && av_read_frame(d.format, d.packet) >= 0) {
        if (d.packet->stream_index == d.audio_stream && d.audio_usable && sound.device) {
            pcm.clear();
            d.decode_audio_packet(d.packet, pcm);
            film_sound_queue(sound, pcm.data(), pcm.size());
        } else if (d.packet->stream_index == d.video_stream) {
            avcodec_send_packet(d.video, d.packet);
            show_frames();
        }
        av_packet_unref(d.packet);
    }
    if (result < 0) {
        avcodec_send_packet(d.video, nullptr);
        show_frames();
    }
    // The last frame keeps the screen for one frame's time.
    if (result < 0 && shown) {
        const int64_t end_ms = last_ms + std::clamp<int64_t>(step_ms, 0, 1000);
        result = wait_film_deadline(options.clock, start + static_cast<uint32_t>(end_ms), options.skippable != 0);
    }
    if (result < 0) result = film_sound_finish(sound, options.skippable != 0, options.clock);
    else film_sound_stop(sound);
    film_sound_close(sound);
    if (result == kFilmEnded && options.hold_last_frame && shown)
        result = hold_film_frame(renderer, texture, rgba.data(), pitch, dest, options, start);
    SDL_DestroyTexture(texture);
    return result;
}

}  // namespace vorn1
