#pragma once
// Every media test runs with the mixer open on the dummy driver at the game's device format, the
// 29 channels allocated, all channels silent and the levels at their start values.
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

// A folder of its own under the system's temporary folder, removed at the end.
struct TempDir {
    std::filesystem::path path;
    explicit TempDir(const std::string& tag) {
        static int counter = 0;
        path = std::filesystem::temp_directory_path() /
               ("vorn1_media_" + tag + "_" + std::to_string(::getpid()) + "_" + std::to_string(counter++));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~TempDir() {
        std::error_code ec;
        std::filesystem::remove_all(path, ec);
    }
    // The folder as the players take it: with its trailing separator.
    std::string dir() const { return path.string() + "/"; }
    void put(const std::string& rel, const kit::Bytes& bytes) const { kit::write_file((path / rel).string(), bytes); }
};

}  // namespace vorn1::test
