// What the frame loop draws of the towns and heroes, on the demo art: the meeting window's artifact
// panel, the town list's can-build marks, a new building's dissolve into the town picture, the map's
// dissolve back from the town, the thieves' guild's signpost, the creature view's animation and the hero screen's information bar under the
// spellbook; and the sites of a kit goal map drawn on the map and named by a right press.
#include <SDL_ttf.h>

#include <map>
#include <memory>

#include "adventure/adv_geometry.h"
#include "adventure/adventure_resources.h"
#include "adventure/quikinfo.h"
#include "adventure/render_ui.h"
#include "assets/icn.h"
#include "assets/resources.h"
#include "datakit/kit_adventure.h"
#include "datakit/kit_goals.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_maps.h"
#include "lang/runtime_strings.h"
#include "loop_fixture.h"
#include "mainloop/town_screens.h"
#include "town/build_screen.h"
#include "town/castle_screen.h"
#include "town/castle_screen_resources.h"
#include "town/heroscrn_tooltip.h"
#include "town/swapwin.h"
#include "town/troop_move.h"
#include "town/thieves_guild_screen.h"
#include "temp_dir.h"

namespace vorn1::test {
namespace {

class TownViewsTest : public LoopTest {
protected:
    SDL_Surface* surface = nullptr;
    std::unique_ptr<Resources> res;

    void SetUp() override {
        LoopTest::SetUp();
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA32);
        ASSERT_NE(surface, nullptr);
        m.renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(m.renderer, nullptr);
        static const kit::Bytes demo = kit::demo_archive_bytes();
        ::testing::internal::CaptureStdout();
        ::testing::internal::CaptureStderr();
        res = std::make_unique<Resources>(m.renderer, std::make_unique<AggArchive>(AggArchive::from_bytes(demo)));
        load_adventure_groups(*res);
        load_town_groups(*res);
        ::testing::internal::GetCapturedStderr();
        ::testing::internal::GetCapturedStdout();
        m.res = res.get();
        m.adv = res->adventure.get();
        m.new_day_res = res->new_day.get();
        make_game();
    }
    void TearDown() override {
        end_game(m);
        m.res = nullptr;
        m.adv = nullptr;
        m.new_day_res = nullptr;
        res.reset();
        SDL_DestroyRenderer(m.renderer);
        m.renderer = nullptr;
        SDL_FreeSurface(surface);
        LoopTest::TearDown();
    }
    // The pixels of a rectangle of the last frame, RGBA.
    std::vector<uint8_t> shot(const SDL_Rect& r) const {
        std::vector<uint8_t> px;
        for (int y = r.y; y < r.y + r.h; ++y) {
            const uint8_t* row = static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + r.x * 4;
            px.insert(px.end(), row, row + r.w * 4);
        }
        return px;
    }
    static int differing(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
        int n = 0;
        for (size_t i = 0; i + 3 < a.size() && i + 3 < b.size(); i += 4)
            n += a[i] != b[i] || a[i + 1] != b[i + 1] || a[i + 2] != b[i + 2];
        return n;
    }
    static void push_right(bool down, SDL_Point p) {
        SDL_Event e{};
        e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        e.button.button = SDL_BUTTON_RIGHT;
        e.button.x = p.x;
        e.button.y = p.y;
        SDL_PushEvent(&e);
    }
    static SDL_Point mid(const SDL_Rect& r) { return {r.x + r.w / 2, r.y + r.h / 2}; }
    int add_castle(int x, int y) {
        const int t = add_town(x, y, 0);
        CastleState& c = state().castles[(size_t)t];
        c.is_castle = 1;
        c.faction = FACTION_KNIGHT;
        c.buildings = BLD_CASTLE;
        return t;
    }
};

TEST_F(TownViewsTest, ARightPressOnAMeetingArtifactShowsItsPanelUntilTheRelease) {
    const int a = add_hero(4, 5, 0), b = add_hero(5, 5, 0);
    state().heroes[(size_t)b].artifacts[3] = 13;
    open_meeting(m, a, b);
    ASSERT_TRUE(loop().screens.swap.open);
    frames(1);
    const SDL_Rect panel{177, 0, 286, 352};
    const std::vector<uint8_t> bare = shot(panel);
    const HeroTooltipState& tip = loop().screens.meeting_tip;

    const SDL_Point art = mid(swap_artifact_cell(1, 3));
    push_right(true, art);
    frames(1);
    ASSERT_TRUE(tip.open);
    EXPECT_EQ(tip.zone, HS_ARTIFACT_FIRST + 3);
    EXPECT_GT(differing(shot(panel), bare), 1000) << "the panel is not drawn over the meeting window";
    push_right(false, art);
    frames(1);
    EXPECT_FALSE(tip.open);
    EXPECT_EQ(differing(shot(panel), bare), 0);

    // A stack still shows its creature panel, and no artifact panel.
    push_right(true, mid(swap_army_cell(0, 0)));
    frames(1);
    EXPECT_TRUE(loop().screens.army_view.tip.open);
    EXPECT_FALSE(tip.open);
}

// A town is marked when its build screen sells something today: not after a build that day, not
// without a castle, and no town with the option off.
TEST_F(TownViewsTest, TheTownListMarksTheTownsThatCanBuildToday) {
    const int can = add_castle(3, 3);
    const int built_today = add_castle(8, 3);
    state().castles[(size_t)built_today].built_today = 1;
    const int tent = add_castle(13, 3);
    state().castles[(size_t)tent].is_castle = 0;
    state().castles[(size_t)tent].buildings = 0;
    state().resources[0].gold = 10000;
    sync_owned_lists(loop(), state());
    ASSERT_EQ(loop().town_order, (std::vector<int>{can, built_today, tent}));
    const auto marked = [&](int row) {
        const SDL_Point p = mid(town_build_mark_rect(locator_row_rect(true, row)));
        return shot({p.x, p.y, 1, 1}) == std::vector<uint8_t>{255, 208, 32, 255};
    };
    ASSERT_TRUE(m.settings.build_status);
    frames(1);
    EXPECT_TRUE(marked(0));
    EXPECT_FALSE(marked(1));
    EXPECT_FALSE(marked(2));

    m.settings.build_status = false;
    frames(1);
    EXPECT_FALSE(marked(0));
}

// After a build the town picture changes cell by cell: the frames between differ from the old
// picture and from the new one, then the new building stands. The town's own animation is held still.
TEST_F(TownViewsTest, ANewBuildingDissolvesIntoTheTownPicture) {
    const int town = add_castle(6, 5);
    state().resources[0].gold = 10000;
    open_town_screen(m, town);
    TownScreenView& ts = loop().screens.town;
    const auto still_frame = [&] {
        ts.anim_ms = 0.0f;
        frames(1, 50.0f);
    };
    const SDL_Rect picture{0, 0, 640, kTownPictureH};
    still_frame();
    const std::vector<uint8_t> before = shot(picture);

    push_click(CAST_X[0] + 20, 40);
    still_frame();
    ASSERT_TRUE(ts.build_open);
    const SDL_Point cell = build_cell_origin(2);
    push_click(cell.x + 60, cell.y + 30);
    still_frame();
    ASSERT_TRUE(g().events.dialog_open);
    push_key(SDLK_RETURN);
    std::vector<std::vector<uint8_t>> between;
    for (int i = 0; i < 9; ++i) {
        still_frame();
        between.push_back(shot(picture));
    }
    ASSERT_TRUE(state().castles[(size_t)town].buildings & BLD_DWELLING1);
    still_frame();
    const std::vector<uint8_t> after = shot(picture);
    EXPECT_GT(differing(after, before), 500) << "the archery range does not show";
    for (size_t i = 0; i < between.size(); ++i) {
        EXPECT_GT(differing(between[i], before), 0) << i;
        EXPECT_GT(differing(between[i], after), 0) << i;
        if (i > 0) {
            EXPECT_LT(differing(between[i], after), differing(between[i - 1], after)) << i;
        }
    }
}

// Leaving the town by its exit or by Escape dissolves the map view from the castle screen to the map;
// a town that goes with its game (the game's end, a new game or a load) dissolves nothing.
TEST_F(TownViewsTest, LeavingTheTownDissolvesFromTheCastleScreenToTheMap) {
    const int town = add_castle(6, 5);
    const auto pixels = [&](SDL_Texture* t) {
        int w = 0, h = 0;
        SDL_QueryTexture(t, nullptr, nullptr, &w, &h);
        std::vector<uint8_t> px((size_t)w * h * 4);
        SDL_Texture* target = SDL_GetRenderTarget(m.renderer);
        SDL_SetRenderTarget(m.renderer, t);
        SDL_RenderReadPixels(m.renderer, nullptr, SDL_PIXELFORMAT_RGBA32, px.data(), w * 4);
        SDL_SetRenderTarget(m.renderer, target);
        return px;
    };
    std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> runs;
    m.map_dissolve = [&](SDL_Texture* from, SDL_Texture* to) { runs.emplace_back(pixels(from), pixels(to)); };
    for (const bool by_key : {false, true}) {
        open_town_screen(m, town);
        frames(1);
        const std::vector<uint8_t> castle = shot(kMapViewArea);
        runs.clear();
        if (by_key) push_key(SDLK_ESCAPE);
        else push_click(mid(kCastleExitRect).x, mid(kCastleExitRect).y);
        frames(1);
        ASSERT_FALSE(loop().screens.town.open) << by_key;
        ASSERT_EQ(runs.size(), 1u) << by_key;
        const std::vector<uint8_t> map_view = shot(kMapViewArea);
        EXPECT_GT(differing(castle, map_view), 100000) << "the map did not come back";
        EXPECT_EQ(differing(runs[0].first, castle), 0) << "not from the castle screen";
        EXPECT_EQ(differing(runs[0].second, map_view), 0) << "not to the map";
    }
    open_town_screen(m, town);
    frames(1);
    runs.clear();
    end_game(m);
    EXPECT_TRUE(runs.empty());
}

// The thieves' guild's way to the trading post is the program's own large signpost: drawn while trading
// is on, and a click anywhere on it, beyond where a small sign would stand too, opens the trading post.
TEST_F(TownViewsTest, TheGuildsLargeSignpostOpensTheTradingPost) {
    const int town = add_castle(6, 5);
    state().castles[(size_t)town].buildings |= BLD_THIEVES_GUILD | BLD_TAVERN;
    open_town_screen(m, town);
    open_thieves_guild_screen(loop().screens.town.thieves);
    const SDL_Rect beyond_small{30, 60, 49, 36};
    m.settings.enable_trade = false;
    frames(1);
    const std::vector<uint8_t> bare = shot(beyond_small);
    m.settings.enable_trade = true;
    frames(1);
    EXPECT_GT(differing(shot(beyond_small), bare), 300) << "no large signpost";
    push_click(60, 75);
    frames(1);
    EXPECT_TRUE(loop().trading_post.open);
}

// The creature view's stack stands animated, one picture every 150 ms of the running clock.
TEST_F(TownViewsTest, TheCreatureViewAnimatesItsStackEvery150Ms) {
    ::testing::internal::CaptureStderr();
    g().battle_res.load(*res->archive, res->palette, m.renderer, "");
    ::testing::internal::GetCapturedStderr();
    const int town = add_castle(6, 5);
    state().castles[(size_t)town].garrison.ids[0] = 0;
    state().castles[(size_t)town].garrison.counts[0] = 10;
    ASSERT_GT(g().battle_res.creatures[0].standing().size(), 1u);
    open_town_screen(m, town);
    const SDL_Point stack = mid(castle_screen_slot_rect(SLOT_GARRISON, 0));
    push_click(stack.x, stack.y);
    push_click(stack.x, stack.y);
    frames(1);
    ASSERT_TRUE(loop().screens.army_view.view.open);
    const SDL_Rect picture{119, 125, 201, 170};
    const auto at = [&](uint32_t ms) {
        m.now_ms = ms;
        frames(1);
        return shot(picture);
    };
    const std::vector<uint8_t> first = at(1000 * 150);
    EXPECT_EQ(differing(at(1000 * 150 + 149), first), 0);
    EXPECT_GT(differing(at(1001 * 150), first), 0);
}

// The open spellbook writes its hint where the hero screen's information bar stands, so the bar
// leaves off telling what lies under the pointer until the book is closed.
TEST_F(TownViewsTest, TheOpenSpellbookSilencesTheHeroScreenInformationBar) {
    ASSERT_EQ(TTF_Init(), 0);
    TTF_Font* font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", 14);
    ASSERT_NE(font, nullptr);
    m.fonts.def = font;
    const int h = add_hero(4, 5, 0);
    HeroState& hero = state().heroes[(size_t)h];
    hero.has_spellbook = 1;
    hero.artifacts[0] = kMagicBook;
    hero.spell_charges[5] = 1;
    open_hero_screen(m, h);
    const auto bar_over = [&](SDL_Point p) {
        SDL_Event e{};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = p.x;
        e.motion.y = p.y;
        SDL_PushEvent(&e);
        frames(1);
        return shot({0, 461, 640, 19});
    };
    const SDL_Point exit{615, 380}, nothing{620, 20};  // both beside the book
    EXPECT_GT(differing(bar_over(exit), bar_over(nothing)), 0) << "the bar names neither place";

    push_click(80, 340);  // the magic book
    frames(1);
    ASSERT_TRUE(loop().screens.hero.book.open);
    EXPECT_EQ(differing(bar_over(exit), bar_over(nothing)), 0);

    m.fonts.def = nullptr;
    TTF_CloseFont(font);
    TTF_Quit();
}

// The visit-the-sites goal map on the demo art: each site stands on the map in its own picture, and a
// right press on it names the site, not the ground.
TEST_F(TownViewsTest, TheSitesOfTheVisitGoalMapAreDrawnAndNamed) {
    strings().load_from_text("", kit::catalogue_json(kit::adventure_english_strings()));
    test::TempDir dir("visit_goal");
    NewGameConfig cfg;
    for (const auto& [file, goal] : kit::kit_goal_maps())
        if (goal.victory_kind == VICTORY_VISIT_SITES) {
            dir.put("maps/" + file, kit::write_map_bytes(goal));
            cfg.map_path = dir.dir() + "maps/" + file;
        }
    ASSERT_FALSE(cfg.map_path.empty());
    archive = std::make_unique<AggArchive>(AggArchive::from_bytes(kit::demo_archive_bytes()));
    ASSERT_TRUE(setup_game(m, cfg, archive.get(), 5));
    frames(1);
    accept_dialogs();
    frames(1);

    ASSERT_TRUE(archive->has(object_set_entry(kit::KSET_SITE))) << "the demo archive has no site pictures";
    const IcnFrames art = decode_icn(archive->get(object_set_entry(kit::KSET_SITE)), res->palette);
    const std::map<uint8_t, std::string> names{{OBJ_FOUNTAIN, "Fountain"}, {OBJ_FAERIE_RING, "Faerie ring"}};
    int seen = 0;
    for (int y = 0; y < map().height; ++y)
        for (int x = 0; x < map().width; ++x) {
            const MapTile& t = *map().tile(x, y);
            if (!names.count(t.object_type)) continue;
            ++seen;
            const size_t frame = t.object_type - OBJ_EVENT_FIRST;
            ASSERT_LT(frame, art.frames.size());
            const Image& img = art.frames[frame];
            const SpriteHeader& hdr = art.headers[frame];
            const SDL_Point p = tile_point(x, y);
            const std::vector<uint8_t> px = shot({p.x - 16 + hdr.x, p.y - 16 + hdr.y, img.width, img.height});
            int opaque = 0, differ = 0;
            for (int i = 0; i < img.width * img.height; ++i) {
                const uint8_t* want = &img.pixels[(size_t)i * 4];
                if (want[3] != 255) continue;
                ++opaque;
                differ += px[(size_t)i * 4] != want[0] || px[(size_t)i * 4 + 1] != want[1] || px[(size_t)i * 4 + 2] != want[2];
            }
            EXPECT_GT(opaque, 300) << names.at(t.object_type);
            EXPECT_EQ(differ, 0) << names.at(t.object_type) << " is not drawn at " << x << "," << y;

            push_right(true, p);
            frames(1);
            ASSERT_TRUE(loop().quick_info.open);
            EXPECT_EQ(loop().quick_info.tile_x, x);
            EXPECT_EQ(loop().quick_info.tile_y, y);
            EXPECT_EQ(quick_info_lines(state(), map(), loop().current_player, x, y, false),
                      std::vector<std::string>{names.at(t.object_type)});
            push_right(false, p);
            frames(1);
            EXPECT_FALSE(loop().quick_info.open);
        }
    EXPECT_EQ(seen, 2);
    EXPECT_NE(art.frames[OBJ_FOUNTAIN - OBJ_EVENT_FIRST].pixels, art.frames[OBJ_FAERIE_RING - OBJ_EVENT_FIRST].pixels);
    strings().load_from_text("", "");
}

}  // namespace
}  // namespace vorn1::test
