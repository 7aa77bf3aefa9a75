#include <gtest/gtest.h>

#include <tuple>

#include <memory>

#include "assets/dialog_utils.h"
#include "assets/icn.h"
#include "assets/resources.h"
#include "datakit/kit_demo.h"
#include "events/event.h"

namespace vorn1 {
namespace {

struct Canvas {
    SDL_Surface* surf = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA32);
    SDL_Renderer* r = SDL_CreateSoftwareRenderer(surf);
    ~Canvas() {
        SDL_DestroyRenderer(r);
        SDL_FreeSurface(surf);
    }
    void clear(SDL_Color bg = {0, 0, 0, 255}) {
        SDL_SetRenderDrawColor(r, bg.r, bg.g, bg.b, 255);
        SDL_RenderClear(r);
    }
    SDL_Color at(int x, int y) const {
        const uint8_t* p = static_cast<const uint8_t*>(surf->pixels) + y * surf->pitch + x * 4;
        return {p[0], p[1], p[2], p[3]};
    }
};

bool same(SDL_Color a, SDL_Color b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

TEST(EventDialogDraw, FrameAndButtonsWithoutArtAndPressedLook) {
    Canvas c;
    ASSERT_NE(c.r, nullptr);
    EventSystem ev;
    EventDef d;
    d.text = "x";
    d.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    d.mode = 2;
    ev.open_announcement(d, {0, 0, 640, 480}, nullptr);
    c.clear();
    ev.draw(c.r);
    const DialogLayout& l = ev.current_dialog()->layout;
    EXPECT_TRUE(same(c.at(l.x + 5, l.y + 5), {72, 48, 24, 255}));  // frame
    EXPECT_TRUE(same(c.at(l.x - 2, l.y + 5), {0, 0, 0, 255}));      // outside untouched
    const SDL_Rect yes = l.buttons[0], no = l.buttons[1];
    const SDL_Color up = c.at(yes.x + 5, yes.y + 5);
    EXPECT_TRUE(same(up, c.at(no.x + 5, no.y + 5)));
    EXPECT_FALSE(same(up, {72, 48, 24, 255}));

    // Pressing the decline button changes its look, not the other one's.
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = no.x + 5;
    e.button.y = no.y + 5;
    ev.handle_sdl_event(e);
    c.clear();
    ev.draw(c.r);
    EXPECT_FALSE(same(c.at(no.x + 5, no.y + 5), up));
    EXPECT_TRUE(same(c.at(yes.x + 5, yes.y + 5), up));

    // Closed: nothing drawn.
    ev.close_dialog(EVENT_BUTTON_DECLINE);
    c.clear();
    ev.draw(c.r);
    EXPECT_TRUE(same(c.at(l.x + 5, l.y + 5), {0, 0, 0, 255}));
}

// Counts the opaque pixels of `art` (every `step`-th in both directions) that the canvas shows
// at (x0, y0), mirrored left to right when asked; returns {matching, compared}.
std::pair<int, int> art_shown(const Canvas& c, const Image& art, int x0, int y0, bool mirrored, int step = 3) {
    int match = 0, total = 0;
    for (int j = 0; j < art.height; j += step)
        for (int i = 0; i < art.width; i += step) {
            const uint8_t* p = art.at(i, j);
            if (p[3] != 255) continue;
            const int sx = mirrored ? x0 + art.width - 1 - i : x0 + i;
            ++total;
            if (same(c.at(sx, y0 + j), {p[0], p[1], p[2], 255})) ++match;
        }
    return {match, total};
}

TEST(EventDialogDraw, RealFrameAndButtonArtFromTheDemoArchive) {
    Canvas c;
    ASSERT_NE(c.r, nullptr);
    const std::vector<uint8_t> bytes = kit::demo_archive_bytes();
    Resources res(c.r, std::make_unique<AggArchive>(AggArchive::from_bytes(bytes)));
    ASSERT_NE(res.buybuild.at(2), nullptr);
    ASSERT_NE(res.system_btn.at(8), nullptr);
    // What the pieces look like, decoded straight from the archive.
    const AggArchive agg = AggArchive::from_bytes(bytes);
    const IcnFrames frame_art = decode_icn(agg.get("BUYBUILD.ICN"), res.palette);
    const IcnFrames button_art = decode_icn(agg.get("SYSTEM.ICN"), res.palette);

    EventSystem ev;
    ev.load(&res, res.archive.get(), nullptr, nullptr, false);
    std::vector<EventResult> got;
    EventDef d;
    d.text = "1\n2\n3\n4\n5\n6\n7\n8";
    d.buttons = {EVENT_BUTTON_ACCEPT, EVENT_BUTTON_DECLINE};
    ev.open_announcement(d, {0, 0, 479, 480}, [&](EventResult r) { got.push_back(r); });
    c.clear();
    ev.draw(c.r);
    const DialogLayout l = ev.current_dialog()->layout;
    const int button_h = button_art.frames[5].height;
    ASSERT_EQ(l.h, 40 + 8 * 16 + 8 + button_h + 11);

    // Frame: each piece mirrored on the left half and plain on the right; the top piece whole, then
    // one whole middle piece, the next one cut short by the bottom piece at the foot.
    const int row_y = l.y + frame_art.frames[0].height;
    const int bottom_y = l.y + l.h - frame_art.frames[2].height;
    ASSERT_LT(row_y + 45, bottom_y);
    ASSERT_GT(row_y + 90, bottom_y);
    for (const auto& [piece, x, y, mirrored] :
         {std::tuple{0, l.x, l.y, true}, std::tuple{0, l.x + 143, l.y, false}, std::tuple{1, l.x + 3, row_y, true},
          std::tuple{1, l.x + 143, row_y, false}}) {
        const auto [match, total] = art_shown(c, frame_art.frames[piece], x, y, mirrored);
        EXPECT_GT(total, 100) << piece;
        EXPECT_EQ(match, total) << "piece " << piece << " at " << x << "," << y;
    }
    // The cut middle piece shows its upper rows; the bottom piece ends the frame (left of the decline button).
    const Image& mid = frame_art.frames[1];
    const Image& foot = frame_art.frames[2];
    for (int j = 0; j < bottom_y - (row_y + 45); j += 4)
        EXPECT_TRUE(same(c.at(l.x + 150, row_y + 45 + j), {mid.at(7, j)[0], mid.at(7, j)[1], mid.at(7, j)[2], 255}));
    for (int j = 0; j < foot.height; ++j)
        EXPECT_TRUE(same(c.at(l.x + 150, bottom_y + j), {foot.at(7, j)[0], foot.at(7, j)[1], foot.at(7, j)[2], 255}))
            << j;
    EXPECT_TRUE(same(c.at(l.x - 1, l.y + 10), {0, 0, 0, 255}));
    EXPECT_TRUE(same(c.at(l.x + 150, l.y + l.h), {0, 0, 0, 255}));

    // Buttons: accept and decline pictures, bottom of the frame, at their own size.
    const SDL_Rect yes = ev.current_dialog()->layout.buttons[0];
    const SDL_Rect no = ev.current_dialog()->layout.buttons[1];
    EXPECT_EQ(yes.w, button_art.frames[5].width);
    EXPECT_EQ(yes.y, l.y + l.h - 36);
    auto shows = [&](const SDL_Rect& b, int frame) {
        const auto [match, total] = art_shown(c, button_art.frames[frame], b.x, b.y, false, 2);
        return total > 20 && match == total;
    };
    EXPECT_TRUE(shows(yes, 5));
    EXPECT_TRUE(shows(no, 7));
    EXPECT_FALSE(shows(no, 8));

    // Pressing decline shows its pressed picture; releasing over it closes with button 3.
    SDL_Event e{};
    e.type = SDL_MOUSEBUTTONDOWN;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = no.x + no.w / 2;
    e.button.y = no.y + no.h / 2;
    EXPECT_TRUE(ev.handle_sdl_event(e));
    c.clear();
    ev.draw(c.r);
    EXPECT_TRUE(shows(no, 8));
    EXPECT_TRUE(shows(yes, 5));
    EXPECT_TRUE(got.empty());
    e.type = SDL_MOUSEBUTTONUP;
    EXPECT_TRUE(ev.handle_sdl_event(e));
    ASSERT_EQ(got.size(), 1u);
    EXPECT_EQ(got[0].button, EVENT_BUTTON_DECLINE);
    c.clear({1, 2, 3, 255});  // a colour the palette does not hold
    ev.draw(c.r);
    EXPECT_EQ(art_shown(c, frame_art.frames[0], l.x + 143, l.y, false).first, 0);

    // A one-button dialog with a resource icon: the OK picture and the icon's own art.
    EventDef ok;
    ok.text = "y";
    ok.icons = {{"RESOURCE.ICN", 6, ""}};
    ev.open_announcement(ok, {0, 0, 640, 480}, nullptr);
    c.clear();
    ev.draw(c.r);
    const SDL_Rect ok_rect = ev.current_dialog()->layout.buttons[0];
    EXPECT_EQ(ok_rect.x + ok_rect.w / 2, 320);
    EXPECT_TRUE(shows(ok_rect, 9));
    const IcnFrames resource_art = decode_icn(agg.get("RESOURCE.ICN"), res.palette);
    const Image& gold = resource_art.frames[6];
    bool found = false;
    const DialogLayout ol = ev.current_dialog()->layout;
    for (int y = ol.y; y < ol.y + ol.h - gold.height && !found; ++y)
        for (int x = ol.x; x < ol.x + ol.w - gold.width && !found; ++x) {
            const auto [match, total] = art_shown(c, gold, x, y, false, 2);
            found = total > 10 && match == total;
        }
    ASSERT_TRUE(found);
    // The captured-artifact notice: the picture sits 8 pixels above the OK button, with only the frame
    // between them.
    EventDef captured;
    captured.text = "You have captured an enemy artifact: Magic Book.";
    captured.icons = {{"RESOURCE.ICN", 7, ""}};
    ev.close_dialog(EVENT_BUTTON_OK);
    ev.open_announcement(captured, {0, 0, 479, 480}, nullptr);
    c.clear();
    ev.draw(c.r);
    const DialogLayout cl = ev.current_dialog()->layout;
    const Image& pic = resource_art.frames[7];
    const int pic_x = cl.picture_x + (cl.slot_w - pic.width) / 2;
    const auto [pic_match, pic_total] = art_shown(c, pic, pic_x, cl.picture_y, false, 1);
    EXPECT_EQ(pic_match, pic_total);
    const SDL_Rect cok = cl.buttons[0];
    EXPECT_EQ(cok.y - (cl.picture_y + pic.height), 8);
    EXPECT_TRUE(shows(cok, 9));
    const SDL_Color fill = c.at(cl.x + 20, cl.picture_y + pic.height + 1);
    for (int y = cl.picture_y + pic.height; y < cok.y; ++y)
        EXPECT_TRUE(same(c.at(cl.x + cl.w / 2, y), fill)) << "row " << y;
    EXPECT_EQ(cl.h, 40 + 2 * 16 + 6 + pic.height + 8 + cok.h + 11);
}

TEST(EventDialogDraw, FrameOfAnySize) {
    Canvas c;
    EventSystem ev;
    c.clear();
    ev.draw_buybuild_border(c.r, 100, 50, 320, 160);
    EXPECT_TRUE(same(c.at(101 + 150, 51 + 70), {72, 48, 24, 255}));
    EXPECT_TRUE(same(c.at(100 + 321, 50 + 10), {0, 0, 0, 255}));
    ev.draw_buybuild_border(c.r, 0, 0, -5, 10);  // nothing, no crash
    ev.draw_buybuild_border(nullptr, 0, 0, 5, 10);

    // With the art: the standard frame's pieces at their own size. The split dialog's 286 x 215 is the
    // standard frame of two rows; the garrison notice's 320 is wider without stretching a piece.
    const std::vector<uint8_t> bytes = kit::demo_archive_bytes();
    Resources res(c.r, std::make_unique<AggArchive>(AggArchive::from_bytes(bytes)));
    const IcnFrames art = decode_icn(AggArchive::from_bytes(bytes).get("BUYBUILD.ICN"), res.palette);
    ev.load(&res, res.archive.get(), nullptr, nullptr, false);
    const auto screen = [&] {
        const auto* p = static_cast<const uint8_t*>(c.surf->pixels);
        return std::vector<uint8_t>(p, p + c.surf->pitch * 480);
    };
    c.clear({40, 80, 40, 255});
    draw_buybuild_border(c.r, res, 177, 132, 2);
    const std::vector<uint8_t> standard = screen();
    c.clear({40, 80, 40, 255});
    ev.draw_buybuild_border(c.r, 177, 132, 286, 215);
    EXPECT_TRUE(screen() == standard) << "the split dialog's frame is not the standard one";
    c.clear({40, 80, 40, 255});
    ev.draw_buybuild_border(c.r, 160, 160, 320, 160);
    for (const auto& [piece, x, y, mirrored] :
         {std::tuple{0, 160, 160, true}, std::tuple{0, 337, 160, false}, std::tuple{2, 337, 272, false}}) {
        const auto [match, total] = art_shown(c, art.frames[size_t(piece)], x, y, mirrored);
        EXPECT_GT(total, 100) << piece;
        EXPECT_EQ(match, total) << "piece " << piece << " at " << x << "," << y;
    }
    EXPECT_TRUE(same(c.at(300, 220), c.at(340, 220))) << "the widened middle";
    EXPECT_TRUE(same(c.at(160 + 320, 200), {40, 80, 40, 255}));
}

}  // namespace
}  // namespace vorn1

#include "datakit/kit_events.h"
#include "lang/runtime_strings.h"

namespace vorn1 {
namespace {

// Every key the visit dialogs format has an English text in the kit catalogue.
TEST(EventTexts, KitCatalogueCoversTheDialogKeys) {
    const auto& texts = kit::events_english_strings();
    StringTable t;
    t.load_from_text(kit::catalogue_json(texts), "");
    for (const char* key : {"EVENT_CHEST_TEXT", "EVENT_GRAVEYARD_TEXT", "EVENT_AMBUSH_TEXT", "EVENT_MINE_TEXT",
                            "EVENT_CAMPFIRE_TEXT", "EVENT_DWELLING_TEXT", "EVENT_BONUS_VISITED"})
        EXPECT_TRUE(t.has(key)) << key;
    EXPECT_EQ(t.format("EVENT_RESOURCE_TEXT", {"5", "ore"}), "You find 5 ore.");
}

}  // namespace
}  // namespace vorn1
