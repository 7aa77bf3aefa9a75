#pragma once
// Every media test runs with the mixer open on the dummy driver at the game's device format, the
// 29 channels allocated, all channels silent and the levels at their start values.
#include "temp_dir.h"
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "datakit/datakit.h"
#include "media/sound_levels.h"

namespace vorn1::test {

class AudioTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
            setenv("SDL_AUDIODRIVER", "dummy", 0);  // also when run outside ctest
            ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
            ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0) << Mix_GetError();
        }
        Mix_AllocateChannels(kMixerChannels);
    }
    void SetUp() override {
        Mix_HaltChannel(-1);
        Mix_Resume(-1);
        Mix_Volume(-1, MIX_MAX_VOLUME);
        g_music_level() = 5;
        g_sfx_level() = 4;
    }
    void TearDown() override { Mix_HaltChannel(-1); }
};


}  // namespace vorn1::test
