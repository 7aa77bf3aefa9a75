#include <gtest/gtest.h>

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
    void clear() {
        SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
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

TEST(EventDialogDraw, FrameOfAnySize) {
    Canvas c;
    EventSystem ev;
    c.clear();
    ev.draw_buybuild_border(c.r, 100, 50, 320, 160);
    EXPECT_TRUE(same(c.at(101 + 150, 51 + 70), {72, 48, 24, 255}));
    EXPECT_TRUE(same(c.at(100 + 321, 50 + 10), {0, 0, 0, 255}));
    ev.draw_buybuild_border(c.r, 0, 0, -5, 10);  // nothing, no crash
    ev.draw_buybuild_border(nullptr, 0, 0, 5, 10);
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
