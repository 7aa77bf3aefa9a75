#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>

#include "assets/agg.h"
#include "datakit/kit_formats.h"
#include "datakit/kit_sound.h"
#include "events/event.h"

namespace vorn1 {
namespace {

struct Audio {
    bool ok = false;
    Audio() {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return;
        ok = Mix_OpenAudio(22050, AUDIO_S16SYS, 2, 1024) == 0;
        if (ok) Mix_AllocateChannels(29);
    }
    ~Audio() {
        if (ok) Mix_CloseAudio();
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }
};

TEST(EventSound, ArchiveEntryPlaysOnTheMapChannelAndMissingStaysSilent) {
    Audio audio;
    if (!audio.ok) GTEST_SKIP() << "no audio device";
    const AggArchive agg = AggArchive::from_bytes(
        kit::write_agg({{"PICKUP01.82M", kit::write_raw_tone(VORN_FMT_82M, 440.0, 200)}}));
    EventSystem ev;
    ev.load(nullptr, &agg, nullptr, nullptr, true);

    ev.play_sound("NOSUCH.82M");
    EXPECT_EQ(Mix_Playing(0), 0);

    ev.play_sound("PICKUP01.82M");
    ASSERT_EQ(Mix_Playing(0), 1);
    Mix_Chunk* first = Mix_GetChunk(0);
    ASSERT_NE(first, nullptr);
    // 200 ms of mono 8-bit source becomes 200 ms of the device's 16-bit stereo.
    EXPECT_NEAR(static_cast<double>(first->alen), 22050 * 0.2 * 4, 64.0);

    Mix_HaltChannel(0);
    ev.play_sound("PICKUP01.82M");  // loaded once, played again from the cache
    EXPECT_EQ(Mix_GetChunk(0), first);
}

}  // namespace
}  // namespace vorn1
