// The map's ambient loops as the player hears them: the waves by the kit harbour's shore, and silence
// a few tiles inland.
#include <gtest/gtest.h>

#include "datakit/kit_roads.h"
#include "datakit/kit_sound.h"
#include "e2e_audio.h"
#include "world/ambient_grid.h"

using namespace vorn1::e2e;

// The harbour map's hero starts beside the water; five tiles east no source is within reach. The loose
// music files are taken away (their folder stays), so that only the archive's sounds play on the map.
// The screenshots are kept as e2e_shots/ambient_*.png.
TEST(EndToEnd, TheWavesSoundBesideTheShoreAndNotInland) {
    if (!have_screen_tools()) GTEST_SKIP() << "Xvfb, xdotool or import not installed";
    GameFolder folder("ambient", true);
    remove_maps(folder, vorn1::kit::kHarbourMapFile);
    for (const auto& music : fs::directory_iterator(folder.root / "SOUND")) fs::remove(music.path());
    const DiskAudio audio(folder);
    VirtualDisplay x;
    ASSERT_FALSE(x.display.empty()) << "Xvfb did not start";
    RunningGame g;
    ASSERT_NO_FATAL_FAILURE(start_game(folder, x, g));
    const vorn1::Image turn = g.open_first_turn("ambient_0_turn.png");
    const vorn1::Image map = g.close_announcement(turn, "ambient_1_shore.png");
    ASSERT_GT(map.width, 0);
    const double waves_hz = vorn1::kit::ambient_loop_hz(vorn1::AMB_SHORE);
    const std::vector<int16_t> shore = audio.listen(0.5, 1.0);
    EXPECT_GT(sounding_share(shore), 0.5) << "no sound beside the water";
    EXPECT_GT(tone_share(shore, waves_hz), 0.5) << "what sounds beside the water is not the waves";

    // The hero stands in the middle of the view; the tile five to the east of him.
    const vorn1::Image route = plan_route(g, 415, 256, map, "ambient_2_route.png");
    g.click_at(415, 256, 0);
    g.wait_for_change("ambient_3_inland.png", route, kMapView, 800);
    const std::vector<int16_t> inland = audio.listen(0.5, 1.0);
    EXPECT_LT(sounding_share(inland), 0.02) << "the waves still sound five tiles from the water";
    stop(g.pid);
}
