// The map view read back pixel by pixel: tiles, clipping, fog, heroes, flags, boats, routes.
#include "adv_fixture.h"

#include "adventure/adv_geometry.h"
#include "adventure/render_map.h"
#include "adventure/render_viewport.h"
#include "datakit/kit_maps.h"
#include "world/tile_rules.h"

namespace vorn1 {
namespace {

using namespace advtest;

class ViewTest : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
        load(solid_archive_files());
        kit::MapBuilder b(20, 20, kit::G_GRASS, "View");
        map_ = b.map;
        state_.map_width = state_.map_height = 20;
        state_.player_color = {COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_YELLOW};
        for (auto& f : state_.fog) f.explored.fill(1);
    }
    void draw(int vx, int vy, int player = 0) {
        render_viewport_passes(r_, res_, state_, map_, vx, vy, moves_, player, markers_, 0);
    }
    // Screen position of a tile with the view centred on (cx, cy).
    SDL_Point at(int tx, int ty) const { return tile_screen_pos(tx, ty, vx_, vy_); }
    void centre(int x, int y) { centre_view_on_tile(map_, x, y, vx_, vy_); }

    GameMap map_;
    GameState state_;
    std::vector<HeroMoveState> moves_;
    std::vector<RouteMarker> markers_;
    int vx_ = 0, vy_ = 0;
};

TEST_F(ViewTest, TileDrawnAtItsScreenPositionAndClippedAtTheViewEdge) {
    map_.tile(3, 4)->ground = 130;
    // Put tile (3, 4) so that it starts at x 464: half of it lies beyond the 479-pixel view.
    const int vx = (3 + kViewBorderTiles) * kTileSize - 464, vy = (4 + kViewBorderTiles) * kTileSize - 100;
    draw(vx, vy);
    EXPECT_EQ(pixel(464, 100), rgb_of(ground_index(130)));
    EXPECT_EQ(pixel(478, 131), rgb_of(ground_index(130)));
    EXPECT_EQ(pixel(463, 100), rgb_of(ground_index(kit::G_GRASS)));
    EXPECT_EQ(pixel(479, 100), 0xFF00FFu) << "nothing is drawn right of the view";
    EXPECT_EQ(pixel(470, 132), rgb_of(ground_index(kit::G_GRASS))) << "next row";
}

TEST_F(ViewTest, OffMapAreaIsBlackAndTileUnderPointMatchesDrawing) {
    draw(0, 0);  // the map's corner tile starts at (256, 256)
    EXPECT_EQ(pixel(100, 100), 0u);
    EXPECT_EQ(pixel(256, 256), rgb_of(ground_index(kit::G_GRASS)));
    int tx, ty;
    ASSERT_TRUE(screen_to_tile(map_, 0, 0, 256, 256, tx, ty));
    EXPECT_EQ(tx, 0);
    EXPECT_EQ(ty, 0);
    EXPECT_FALSE(screen_to_tile(map_, 0, 0, 255, 300, tx, ty));
    EXPECT_FALSE(screen_to_tile(map_, 0, 0, 479, 300, tx, ty)) << "the panel column is no map";
}

TEST_F(ViewTest, FogHidesUnexploredTilesOfTheCurrentPlayerOnly) {
    state_.fog[0].set_explored(5, 5, false);
    centre(5, 5);
    const SDL_Point p = at(5, 5), q = at(6, 5);
    draw(vx_, vy_, 0);
    EXPECT_EQ(pixel(p.x + 16, p.y + 16), 0u);
    EXPECT_EQ(pixel(p.x + 31, p.y + 31), 0u);
    EXPECT_EQ(pixel(q.x, q.y), rgb_of(ground_index(kit::G_GRASS)));
    draw(vx_, vy_, 1);
    EXPECT_EQ(pixel(p.x + 16, p.y + 16), rgb_of(ground_index(kit::G_GRASS))) << "player 1 has explored it";
    draw(vx_, vy_, -1);
    EXPECT_EQ(pixel(p.x + 16, p.y + 16), rgb_of(ground_index(kit::G_GRASS))) << "no player, no fog";
}

TEST_F(ViewTest, StandingHeroUsesItsTileFrameAndClassSet) {
    HeroState h;
    h.live = 1;
    h.x = 7;
    h.y = 6;
    h.owner = 1;
    h.crest = CLASS_SORCERESS;
    state_.heroes.push_back(h);
    place_hero_on_map(map_, h);  // frame 18
    map_.tile(7, 6)->hero_frame = 27;
    centre(7, 6);
    draw(vx_, vy_);
    const SDL_Point p = at(7, 6);
    EXPECT_EQ(pixel(p.x + 4, p.y + 16), rgb_of(hero_index(CLASS_SORCERESS, 27)));
    // Owner 1 is green: flag frames 2 and 3, drawn at (24, 2) of the tile.
    EXPECT_EQ(pixel(p.x + 26, p.y + 4), rgb_of(kFlagBase + flag_frame_for_colour(COLOR_GREEN)));
}

TEST_F(ViewTest, WalkingHeroIsBetweenItsTilesWithAStrideFrameMirroredWestward) {
    HeroState h;
    h.live = 1;
    h.x = 8;
    h.y = 8;
    h.owner = 0;
    h.crest = CLASS_KNIGHT;
    state_.heroes.push_back(h);
    HeroMoveState m;
    m.active = true;
    m.from_x = 8;
    m.from_y = 8;
    m.to_x = 7;
    m.to_y = 8;
    m.facing = DIR_W;
    m.step_ms = 200;
    m.elapsed_ms = 100;
    moves_.push_back(m);
    const HeroPose pose = walking_pose(m);
    EXPECT_EQ(pose.px, 8 * 32 - 16);
    EXPECT_EQ(pose.frame, 18 + 1 + 4);
    EXPECT_TRUE(pose.mirrored);
    centre(8, 8);
    draw(vx_, vy_);
    const SDL_Point p = at(8, 8);
    EXPECT_EQ(pixel(p.x - 16 + 2, p.y + 10), rgb_of(hero_index(CLASS_KNIGHT, 23)));
    EXPECT_EQ(pixel(p.x + 20, p.y + 10), rgb_of(ground_index(kit::G_GRASS))) << "half of the old tile is free";
    // Mirrored: the flag sits on the left side of the figure.
    EXPECT_EQ(pixel(p.x - 16 + 4, p.y + 4), rgb_of(kFlagBase + flag_frame_for_colour(COLOR_RED)));
}

TEST_F(ViewTest, StandingFramesByFacing) {
    const int expect[8] = {0, 9, 18, 27, 36, 27, 18, 9};
    for (int f = 0; f < 8; ++f) EXPECT_EQ(standing_frame_for_facing(f), expect[f]);
    EXPECT_EQ(standing_frame_for_facing(-1), 18);
    EXPECT_EQ(standing_frame_for_facing(8), 18);
    HeroMoveState m;
    m.step_ms = 0;  // a zero step shows the arrival
    m.from_x = 1, m.to_x = 2;
    EXPECT_EQ(walking_pose(m).px, 64);
}

TEST_F(ViewTest, SiteFlagsTakeTheOwnersColourAndNeutralSitesHaveNone) {
    CastleState c;
    c.live = 1;
    c.x = 4;
    c.y = 4;
    c.owner = 2;
    state_.castles.push_back(c);
    c.x = 6;
    c.owner = -1;
    state_.castles.push_back(c);
    state_.mines.push_back(MineState{1, 5, 4, 0, 3});
    centre(5, 4);
    draw(vx_, vy_);
    const SDL_Point a = at(4, 4), b = at(6, 4), mi = at(5, 4);
    EXPECT_EQ(pixel(a.x + 26, a.y + 4), rgb_of(kFlagBase + flag_frame_for_colour(COLOR_BLUE)));
    EXPECT_EQ(pixel(mi.x + 26, mi.y + 4), rgb_of(kFlagBase + flag_frame_for_colour(COLOR_YELLOW)));
    EXPECT_EQ(pixel(b.x + 26, b.y + 4), rgb_of(ground_index(kit::G_GRASS)));
}

TEST_F(ViewTest, ObjectLayerHonoursTheFlipBit) {
    MapTile* t = map_.tile(5, 5);
    t->layer1_set = 35;
    t->layer1_frame = 0;
    MapTile* u = map_.tile(6, 5);
    u->layer1_set = 35;
    u->layer1_frame = 0;
    u->flip = kFlipLayer1;
    centre(5, 5);
    draw(vx_, vy_);
    const SDL_Point p = at(5, 5), q = at(6, 5);
    EXPECT_EQ(pixel(p.x + 4, p.y + 4), rgb_of(kObjectIndex));
    EXPECT_EQ(pixel(p.x + 28, p.y + 4), rgb_of(ground_index(kit::G_GRASS)));
    EXPECT_EQ(pixel(q.x + 4, q.y + 4), rgb_of(ground_index(kit::G_GRASS)));
    EXPECT_EQ(pixel(q.x + 28, q.y + 4), rgb_of(kObjectIndex));
    // Frame 255 or set 255 is an empty layer.
    t->layer1_frame = 255;
    u->layer1_set = 255;
    draw(vx_, vy_);
    EXPECT_EQ(pixel(p.x + 4, p.y + 4), rgb_of(ground_index(kit::G_GRASS)));
    EXPECT_EQ(pixel(q.x + 28, q.y + 4), rgb_of(ground_index(kit::G_GRASS)));
}

TEST_F(ViewTest, RouteMarkerOnItsTileByDirectionAndReach) {
    RouteMarker a;
    a.x = 3, a.y = 3, a.next_dir = DIR_E, a.reachable = 1;
    RouteMarker b;
    b.x = 4, b.y = 3, b.next_dir = DIR_NONE, b.is_destination = 1, b.reachable = 0;
    markers_ = {a, b};
    centre(3, 3);
    draw(vx_, vy_);
    const SDL_Point p = at(3, 3), q = at(4, 3);
    EXPECT_EQ(pixel(p.x + 14, p.y + 14), rgb_of(kRouteBase + DIR_E));
    EXPECT_EQ(pixel(q.x + 14, q.y + 14), rgb_of(kRouteBase + kRouteDestFrame + kRouteFramesPerKind));
    EXPECT_EQ(pixel(p.x + 2, p.y + 2), rgb_of(ground_index(kit::G_GRASS)));
}

TEST_F(ViewTest, EmptyBoatFacingWestIsMirroredAndBoardedBoatCarriesTheHero) {
    state_.boats.push_back(BoatState{1, 2, 2, -1, DIR_W, -1});
    state_.boats.push_back(BoatState{1, 3, 2, -1, DIR_E, -1});  // inactive below
    state_.boats.back().active = 0;
    centre(2, 2);
    draw(vx_, vy_);
    const SDL_Point p = at(2, 2);
    EXPECT_EQ(pixel(p.x + 10, p.y + 24), rgb_of(kBoatBase + 18));
    EXPECT_EQ(pixel(p.x + 10, p.y + 8), rgb_of(ground_index(kit::G_GRASS)));
    const SDL_Point q = at(3, 2);
    EXPECT_EQ(pixel(q.x + 10, q.y + 24), rgb_of(ground_index(kit::G_GRASS)));

    HeroState h;
    h.live = 1, h.x = 2, h.y = 3, h.owner = 0, h.on_boat = 1;
    state_.heroes.push_back(h);
    place_hero_on_map(map_, h);
    map_.tile(2, 3)->hero_frame = 36;
    draw(vx_, vy_);
    const SDL_Point s = at(2, 3);
    EXPECT_EQ(pixel(s.x + 10, s.y + 24), rgb_of(kBoatBase + 36));
}

TEST_F(ViewTest, MissingArtDrawsPlaceholdersWithoutCrashing) {
    res_.unload();
    AggArchive agg = AggArchive::from_bytes(kit::write_agg({{"DUMMY.BIN", {1, 2, 3}}}));
    testing::internal::CaptureStderr();
    const int warnings = res_.load(r_, agg, test_palette());
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_GT(warnings, 5);
    EXPECT_NE(log.find("  WARNING: GROUND32.TIL missing"), std::string::npos);
    HeroState h;
    h.live = 1, h.x = 5, h.y = 5, h.owner = 0;
    state_.heroes.push_back(h);
    centre(5, 5);
    draw(vx_, vy_);
    const SDL_Point p = at(5, 5);
    EXPECT_EQ(pixel(p.x + 2, p.y + 2), (uint32_t)(ground_band_rgb(kit::G_GRASS).r << 16 |
                                                   ground_band_rgb(kit::G_GRASS).g << 8 | ground_band_rgb(kit::G_GRASS).b));
    const SDL_Color red = player_rgb(COLOR_RED);
    EXPECT_EQ(pixel(p.x + 16, p.y + 16), (uint32_t)(red.r << 16 | red.g << 8 | red.b));
}

TEST_F(ViewTest, CorruptEntryIsReportedAndTreatedAsMissing) {
    const int baseline = res_.warnings;  // the solid archive leaves some panel sets out
    res_.unload();
    std::vector<kit::AggFile> files = solid_archive_files();
    for (kit::AggFile& f : files)
        if (f.name == adv_entry::FLAGS) f.data.resize(9);
    AggArchive agg = AggArchive::from_bytes(kit::write_agg(files));
    testing::internal::CaptureStderr();
    EXPECT_EQ(res_.load(r_, agg, test_palette()), baseline + 1);
    const std::string log = testing::internal::GetCapturedStderr();
    EXPECT_NE(log.find("  WARN FLAG32.ICN:"), std::string::npos) << log;
    EXPECT_EQ(res_.flags.size(), 0);
    EXPECT_EQ(res_.heroes[0].size(), 45);
}

}  // namespace
}  // namespace vorn1
