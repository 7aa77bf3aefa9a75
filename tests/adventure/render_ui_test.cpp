// Side panels, hit tests, geometry and the whole frame.
#include "adv_fixture.h"

#include "adventure/adv_geometry.h"
#include "adventure/render_map.h"
#include "adventure/render_ui.h"
#include "adventure/render_viewport.h"
#include "assets/text_render.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

using namespace advtest;

TEST(AdvGeometry, TileScreenPositionsAndTheViewEdges) {
    const SDL_Point p = tile_screen_pos(0, 0, 0, 0);
    EXPECT_EQ(p.x, 256);
    EXPECT_EQ(p.y, 256);
    EXPECT_TRUE(tile_rect_on_view(-31, 0));
    EXPECT_FALSE(tile_rect_on_view(-32, 0));
    EXPECT_TRUE(tile_rect_on_view(478, 479));
    EXPECT_FALSE(tile_rect_on_view(479, 0));
    EXPECT_FALSE(tile_rect_on_view(0, 480));
}

TEST(AdvGeometry, ViewClampingCentringAndMouseToTile) {
    GameMap m = make_empty_map();
    int vx = -5, vy = 1 << 30;
    clamp_view(m, vx, vy);
    EXPECT_EQ(vx, 0);
    EXPECT_EQ(vy, 71 * 32 + 16);
    centre_view_on_tile(m, 10, 20, vx, vy);
    EXPECT_EQ(vx, 10 * 32 + 17);
    EXPECT_EQ(vy, 20 * 32 + 16);
    // The centred tile lies under the middle of the view.
    int tx, ty;
    ASSERT_TRUE(screen_to_tile(m, vx, vy, 239 + 16, 240, tx, ty));
    EXPECT_EQ(tx, 10);
    EXPECT_EQ(ty, 20);
    // Every corner tile can be centred, and a view at its maximum still maps clicks correctly.
    centre_view_on_tile(m, 71, 71, vx, vy);
    EXPECT_EQ(vx, view_max_x(m));
    ASSERT_TRUE(screen_to_tile(m, vx, vy, 250, 250, tx, ty));
    EXPECT_EQ(tx, 71);
    EXPECT_FALSE(screen_to_tile(m, vx, vy, 300, 250, tx, ty)) << "east of the map";
    EXPECT_EQ(tx, -1);
    // A map of zero size gives sane maxima.
    GameMap z;
    z.width = z.height = 0;
    EXPECT_EQ(view_max_x(z), 17);
}

TEST(AdvGeometry, ButtonAndLocatorHitTests) {
    EXPECT_EQ(adv_button_at(480, 320), ADVBTN_NEXT_HERO);
    EXPECT_EQ(adv_button_at(527, 355), ADVBTN_NEXT_HERO);
    EXPECT_EQ(adv_button_at(528, 320), ADVBTN_CONTINUE);
    EXPECT_EQ(adv_button_at(576 + 47, 356 + 35), ADVBTN_SYSTEM);
    EXPECT_EQ(adv_button_at(480, 356), ADVBTN_END_TURN);
    EXPECT_EQ(adv_button_at(479, 330), -1);
    EXPECT_EQ(adv_button_at(624, 330), -1);
    EXPECT_EQ(adv_button_at(500, 392), -1);

    LocatorHit h = locator_hit(kLocatorHeroCol.x + 3, kLocatorTop + 2 * kLocatorRowH + 1);
    EXPECT_EQ(h.kind, LocatorHitKind::HeroRow);
    EXPECT_EQ(h.row, 2);
    h = locator_hit(kLocatorTownCol.x, kLocatorTop + 4 * kLocatorRowH - 1);
    EXPECT_EQ(h.kind, LocatorHitKind::TownRow);
    EXPECT_EQ(h.row, 3);
    EXPECT_EQ(locator_hit(kHeroUpArrow.x + 1, kHeroUpArrow.y + 1).kind, LocatorHitKind::HeroUp);
    EXPECT_EQ(locator_hit(kTownDownArrow.x + 1, kTownDownArrow.y + 1).kind, LocatorHitKind::TownDown);
    EXPECT_EQ(locator_hit(kLocatorHeroCol.x + kLocatorHeroCol.w, kLocatorTop + 5).kind, LocatorHitKind::None);
    // Nothing of the side panel overlaps the minimap or the buttons.
    EXPECT_GE(kHeroUpArrow.y, kMinimapRect.y + kMinimapRect.h);
    EXPECT_LE(kHeroDownArrow.y + kHeroDownArrow.h, kAdvButtonY);
}

TEST(AdvGeometry, MinimapViewRectangleAndClicks) {
    GameMap m = make_empty_map();
    int vx, vy;
    centre_view_on_tile(m, 36, 36, vx, vy);
    const SDL_Rect r = minimap_view_rect(m, vx, vy);
    // 479 / (72 * 32) of the 146 pixels, around the middle.
    EXPECT_NEAR(r.w, 479 * 146 / (72 * 32), 1);
    EXPECT_NEAR(r.x + r.w / 2, kMinimapRect.x + 73, 2);
    EXPECT_NEAR(r.y + r.h / 2, kMinimapRect.y + 72, 2);
    // At the corner the rectangle is clipped to the minimap.
    const SDL_Rect c = minimap_view_rect(m, 0, 0);
    EXPECT_EQ(c.x, kMinimapRect.x);
    EXPECT_EQ(c.y, kMinimapRect.y);
    EXPECT_GT(c.w, 0);
    // A click re-centres the view on the clicked point.
    ASSERT_TRUE(minimap_point_to_view(m, kMinimapRect.x + 73, kMinimapRect.y + 72, vx, vy));
    int tx, ty;
    ASSERT_TRUE(screen_to_tile(m, vx, vy, 239, 240, tx, ty));
    EXPECT_NEAR(tx, 36, 1);
    EXPECT_NEAR(ty, 36, 1);
    EXPECT_FALSE(minimap_point_to_view(m, kMinimapRect.x - 1, 50, vx, vy));
}

TEST(LocatorRules, ScrollStaysWithinTheList) {
    LocatorPanelState loc;
    scroll_locator(loc, false, 5, 6);
    EXPECT_EQ(loc.hero_scroll, 2);
    scroll_locator(loc, false, -9, 6);
    EXPECT_EQ(loc.hero_scroll, 0);
    scroll_locator(loc, true, 1, 3);
    EXPECT_EQ(loc.town_scroll, 0) << "a list of three never scrolls";
    scroll_locator(loc, true, 1 << 30, 9);
    EXPECT_EQ(loc.town_scroll, 5);
    EXPECT_EQ(locator_list_index(loc, 3, 9, true), 8);
    EXPECT_EQ(locator_list_index(loc, 0, 9, false), 0);
    EXPECT_EQ(locator_list_index(loc, 4, 9, false), -1);
    loc.hero_scroll = 2;
    EXPECT_EQ(locator_list_index(loc, 1, 3, false), -1) << "row past the end";
}

class PanelTest : public Canvas {
protected:
    void SetUp() override {
        Canvas::SetUp();
        load(solid_archive_files());
        map_ = make_empty_map();
        state_.player_color = {COLOR_RED, COLOR_GREEN, COLOR_BLUE, COLOR_YELLOW};
    }
    GameMap map_;
    GameState state_;
};

TEST_F(PanelTest, MinimapShowsTheViewRectangleTerrainAndFog) {
    for (int x = 0; x < 36; ++x)
        for (int y = 0; y < 72; ++y) state_.fog[0].set_explored(x, y);
    int vx, vy;
    centre_view_on_tile(map_, 20, 36, vx, vy);
    draw_minimap(r_, res_, state_, map_, 0, vx, vy);
    const SDL_Rect v = minimap_view_rect(map_, vx, vy);
    EXPECT_EQ(pixel(v.x, v.y + v.h / 2), 0xFFFFFFu);
    EXPECT_EQ(pixel(v.x + v.w - 1, v.y + v.h / 2), 0xFFFFFFu);
    EXPECT_EQ(pixel(v.x + v.w / 2, v.y), 0xFFFFFFu);
    EXPECT_EQ(pixel(v.x + v.w / 2, v.y + 2), rgb_of(ground_index(map_.tile(0, 0)->ground)))
        << "inside: the mean colour of the grass tile";
    EXPECT_EQ(pixel(kMinimapRect.x + 140, kMinimapRect.y + 70), 0u) << "the east half is unexplored";
    EXPECT_EQ(pixel(kMinimapRect.x + kMinimapRect.w, kMinimapRect.y + 70), 0xFF00FFu) << "drawn in its area only";
}

TEST_F(PanelTest, MinimapMarksOwnedTownsAndHeroes) {
    for (auto& f : state_.fog) f.explored.fill(1);
    CastleState c;
    c.live = 1, c.x = 10, c.y = 10, c.owner = 3;
    state_.castles.push_back(c);
    HeroState h;
    h.live = 1, h.x = 50, h.y = 60, h.owner = 1;
    state_.heroes.push_back(h);
    draw_minimap(r_, res_, state_, map_, 0, 0, 0);
    const SDL_Rect tr = minimap_tile_rect(map_, 10, 10), hr = minimap_tile_rect(map_, 50, 60);
    const SDL_Color y = player_rgb(COLOR_YELLOW), g = player_rgb(COLOR_GREEN);
    EXPECT_EQ(pixel(tr.x, tr.y), (uint32_t)(y.r << 16 | y.g << 8 | y.b));
    EXPECT_EQ(pixel(hr.x, hr.y), (uint32_t)(g.r << 16 | g.g << 8 | g.b));
}

TEST_F(PanelTest, LocatorRowsFollowTheScrollAndTheSelection) {
    std::vector<int> heroes;
    for (int i = 0; i < 6; ++i) {
        HeroState h;
        h.live = 1, h.owner = 0, h.portrait = (uint8_t)(10 + i);
        state_.heroes.push_back(h);
        heroes.push_back(5 - i);  // the list order is not the record order
    }
    LocatorPanelState loc;
    scroll_locator(loc, false, 2, (int)heroes.size());
    loc.selected_hero_row = 3;
    draw_locator_panel(r_, res_, state_, loc, heroes, {}, nullptr, nullptr);
    for (int row = 0; row < 4; ++row) {
        if (row == 1) continue;  // under the (solid) selection frame
        const SDL_Rect rc = locator_row_rect(false, row);
        const int hero = heroes[(size_t)(2 + row)];
        EXPECT_EQ(pixel(rc.x + 10, rc.y + 15), rgb_of(40 + state_.heroes[(size_t)hero].portrait)) << row;
    }
    // Row 3 of the list shows on visible row 1 with the selection frame (locator frame 8) over it.
    const SDL_Rect sel = locator_row_rect(false, 1);
    EXPECT_EQ(pixel(sel.x + 50, sel.y + 20), rgb_of(120 + kLocatorSelectFrame));
    const SDL_Rect other = locator_row_rect(false, 0);
    EXPECT_NE(pixel(other.x + 50, other.y + 20), rgb_of(120 + kLocatorSelectFrame));
}

TEST_F(PanelTest, LocatorTownRowsShowFactionPictures) {
    for (int i = 0; i < 3; ++i) {
        CastleState c;
        c.live = 1, c.owner = 0, c.faction = (uint8_t)i, c.is_castle = (uint8_t)(i == 1);
        state_.castles.push_back(c);
    }
    draw_locator_panel(r_, res_, state_, LocatorPanelState{}, {}, {2, 1, 0}, nullptr, nullptr);
    EXPECT_EQ(pixel(kLocatorTownCol.x + 10, kLocatorTop + 10), rgb_of(120 + 4));
    EXPECT_EQ(pixel(kLocatorTownCol.x + 10, kLocatorTop + kLocatorRowH + 10), rgb_of(120 + 3));
    EXPECT_EQ(pixel(kLocatorTownCol.x + 10, kLocatorTop + 3 * kLocatorRowH + 10), 0x181410u) << "an empty row";
}

TEST_F(PanelTest, PressedButtonShowsItsDownFrame) {
    draw_adv_buttons(r_, res_, ADVBTN_END_TURN);
    for (int b = 0; b < kAdvButtonCount; ++b) {
        const SDL_Rect rc = adv_button_rect(b);
        EXPECT_EQ(pixel(rc.x + 5, rc.y + 5), rgb_of(140 + 2 * b + (b == ADVBTN_END_TURN))) << b;
    }
}

TEST_F(PanelTest, SummaryAndHeroTextsStayInsideTheStatusPanel) {
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kLargeFontSize);
    ASSERT_NE(font, nullptr);
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    state_.month = 12, state_.week = 4, state_.day = 7;
    HeroState h;
    h.live = 1;
    h.name = "Lord Zevoraz the Unyielding";
    state_.heroes.push_back(h);
    auto outside = [this] {
        int n = 0;
        for (int y = kInfoPanelRect.y - 8; y < 480; ++y)
            for (int x = 470; x < 640; ++x)
                if (!point_in(kInfoPanelRect, x, y) && pixel(x, y) != 0xFF00FF) ++n;
        return n;
    };
    draw_summary_panel(r_, res_, state_, 0, SUMMARY_DATE, font, font);
    EXPECT_EQ(outside(), 0) << "the date sticks out";
    int text = 0;
    for (int y = kInfoPanelRect.y; y < kInfoPanelRect.y + kInfoPanelRect.h; ++y)
        for (int x = kInfoPanelRect.x; x < kInfoPanelRect.x + kInfoPanelRect.w; ++x) text += pixel(x, y) != pixel(481, 393);
    EXPECT_GT(text, 100) << "no date drawn";
    fill_screen(0xFF00FF);
    draw_mini_hero_panel(r_, res_, state_, 0, font, font);
    EXPECT_EQ(outside(), 0) << "the name sticks out";
    // The title gives way to the name; a name that fits stays whole.
    const int w = kInfoPanelRect.w - 38;
    EXPECT_EQ(panel_hero_name(font, "Lord Zevoraz the Unyielding", w).rfind("Zevoraz", 0), 0u);
    const int bart = vorn1::text::measure(font, "Bartholomew").x;
    EXPECT_EQ(panel_hero_name(font, "Lord Bartholomew", bart), "Bartholomew");
    EXPECT_EQ(panel_hero_name(font, "Lord Bartholomew", vorn1::text::measure(font, "Lord Bartholomew").x),
              "Lord Bartholomew");
    EXPECT_EQ(panel_hero_name(font, "Ann", w), "Ann");
    EXPECT_LE(vorn1::text::measure(font, panel_hero_name(font, "Lord Zevorazzzzzzzzzzzzzzzzz", w)).x, w);
    // A large count gives way to thousands (rounded down), so neighbouring slots' counts never run together.
    TTF_Font* small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_NE(small, nullptr);
    EXPECT_EQ(panel_army_count(small, 25, 27), "25");
    EXPECT_EQ(panel_army_count(small, 3999, 27), "3K");
    EXPECT_EQ(panel_army_count(small, 65535, 27), "65K");
    EXPECT_LE(vorn1::text::measure(small, "65K").x, 27);
    TTF_CloseFont(small);
    strings().load_from_text("", "");
    TTF_CloseFont(font);
    TTF_Quit();
}

// The frame draws over whatever the screen held before (it does not clear): every pixel is its own.
// The border is copied where opaque, blended where not, and a mirrored ground tile is drawn mirrored.
TEST_F(PanelTest, FullFrameCoversTheScreenWithTheBorderOverIt) {
    constexpr int kBorderIndex = 240, kRightHalf = 241;
    std::vector<kit::AggFile> files = solid_archive_files();
    std::vector<kit::IndexGrid> tiles;
    for (int t = 0; t < 256; ++t) tiles.push_back(solid(32, 32, ground_index(t)));
    for (int y = 0; y < 32; ++y)
        for (int x = 16; x < 32; ++x) tiles[7].at(x, y) = (uint8_t)kRightHalf;
    files[0] = {adv_entry::GROUND, kit::write_til(32, 32, tiles)};
    // Clear over the map and the minimap, a shadow along the map's right edge, opaque elsewhere but
    // for one clear pixel in the top strip.
    std::vector<kit::IcnFrame> border(1);
    border[0].pixels = solid(640, 480, kBorderIndex);
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) {
            const bool over_minimap = x >= 479 && x < 625 && y >= 16 && y < 160;
            if (x < 464 || over_minimap || (x == 500 && y == 5)) border[0].pixels.set_kind(x, y, kit::kTransparent);
            else if (x < 479) border[0].pixels.set_kind(x, y, kit::kShadow);
        }
    files.push_back({adv_entry::BORDER, kit::write_icn(border)});
    load(files);
    ASSERT_FALSE(res_.border_cut.empty());

    map_.tile(3, 3)->ground = 7;
    map_.tile(3, 4)->ground = 7;
    map_.tile(3, 4)->flip = kFlipGround;
    AdventureFrame f;
    f.res = &res_;
    f.state = &state_;
    f.map = &map_;
    centre_view_on_tile(map_, 3, 3, f.view_x, f.view_y);
    render_full_frame(r_, f);
    int magenta = 0;
    for (int y = 0; y < 480; ++y)
        for (int x = 0; x < 640; ++x) magenta += pixel(x, y) == 0xFF00FFu;
    EXPECT_EQ(magenta, 0) << "pixels left from before the frame";
    EXPECT_EQ(pixel(630, 100), rgb_of(kBorderIndex));
    EXPECT_EQ(pixel(500, 5), 0u) << "a clear border pixel in an opaque stretch";
    EXPECT_EQ(pixel(500, 6), rgb_of(kBorderIndex));
    const uint32_t shadowed = pixel(474, 300), grass = rgb_of(ground_index(20));
    EXPECT_EQ(pixel(463, 300), grass);
    EXPECT_TRUE(shadowed != grass && shadowed != rgb_of(kBorderIndex) && shadowed != 0u);
    const SDL_Point plain = tile_screen_pos(3, 3, f.view_x, f.view_y), flipped = tile_screen_pos(3, 4, f.view_x, f.view_y);
    EXPECT_EQ(pixel(plain.x + 2, plain.y + 2), rgb_of(ground_index(7)));
    EXPECT_EQ(pixel(plain.x + 29, plain.y + 2), rgb_of(kRightHalf));
    EXPECT_EQ(pixel(flipped.x + 2, flipped.y + 2), rgb_of(kRightHalf));
    EXPECT_EQ(pixel(flipped.x + 29, flipped.y + 2), rgb_of(ground_index(7)));
}

TEST_F(PanelTest, FullFrameNeverChangesTheGameState) {
    kit::MapBuilder b(30, 30, kit::G_GRASS, "Frame");
    b.town(5, 5, 0, 0, true, "Alpha");
    b.hero(6, 6, 0, 0);
    b.hero(7, 7, 9, 1);
    b.mine(9, 9, 2, 1);
    b.boat(12, 12);
    b.fill(11, 11, 14, 14, kit::G_WATER);
    map_ = b.map;
    state_ = kit::adventure_state_for_map(map_, false);
    state_.fog[0].reveal_radius(6, 6, 5);
    std::vector<HeroMoveState> moves(2);
    moves[1].active = true;
    moves[1].from_x = 7, moves[1].from_y = 7, moves[1].to_x = 8, moves[1].to_y = 8, moves[1].elapsed_ms = 50;
    std::vector<RouteMarker> markers{{7, 7, DIR_SE, DIR_SE, 1, 0}, {8, 8, DIR_SE, DIR_NONE, 1, 1}};
    std::vector<int> hero_order{0}, town_order{0}, mp{12, 30};
    LocatorPanelState loc;
    NewDayState nd;
    AdventureFrame f;
    f.res = &res_;
    f.state = &state_;
    f.map = &map_;
    centre_view_on_tile(map_, 6, 6, f.view_x, f.view_y);
    f.moves = &moves;
    f.markers = &markers;
    f.current_player = 0;
    f.selected_hero = 0;
    f.hero_order = &hero_order;
    f.town_order = &town_order;
    f.locator = &loc;
    f.hero_move_points = &mp;
    f.new_day = &nd;
    const uint64_t before = state_hash(state_, map_);
    for (int kind = 0; kind < 3; ++kind) {
        f.summary.kind = (uint8_t)kind;
        render_full_frame(r_, f);
    }
    nd.active = true;
    f.dim_door_open = true;
    render_full_frame(r_, f);
    EXPECT_EQ(state_hash(state_, map_), before);
    EXPECT_EQ(moves[1].elapsed_ms, 50.0f);
    EXPECT_EQ(markers.size(), 2u);
    // A frame without optional parts still draws.
    AdventureFrame bare;
    bare.res = &res_;
    bare.state = &state_;
    bare.map = &map_;
    render_full_frame(r_, bare);
    EXPECT_EQ(state_hash(state_, map_), before);
}

}  // namespace
}  // namespace vorn1
