// The result overlay: its figures, its input delay and buttons, the preview, and what it draws.
#include <gtest/gtest.h>

#include <SDL.h>
#include <SDL_mixer.h>
#include <SDL_ttf.h>

#include <array>
#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "battle/battle_resources.h"
#include "battle/battle_screen.h"
#include "datakit/kit_battle_road.h"
#include "datakit/kit_lang.h"
#include "datakit/kit_sound.h"
#include "lang/language.h"
#include "lang/runtime_strings.h"
#include "temp_dir.h"
#include "world/creature_table.h"

using namespace vorn1;

namespace {

struct ResultFixture : testing::Test {
    SDL_Surface* surface = nullptr;
    SDL_Renderer* renderer = nullptr;
    BattleResources res;
    BattleScreen b;

    void SetUp() override {
        surface = SDL_CreateRGBSurfaceWithFormat(0, 640, 480, 32, SDL_PIXELFORMAT_RGBA8888);
        renderer = SDL_CreateSoftwareRenderer(surface);
        ASSERT_NE(renderer, nullptr);
        b.init(&res, nullptr, renderer, nullptr, nullptr);
        b.active = 1;
        b.tick_source = [] { return 0u; };
    }
    void TearDown() override {
        b.shutdown();
        res.shutdown();
        SDL_DestroyRenderer(renderer);
        SDL_FreeSurface(surface);
    }
    static SDL_Event mouse(Uint32 type, int x, int y) {
        SDL_Event e{};
        e.type = type;
        e.button.button = SDL_BUTTON_LEFT;
        e.button.x = x;
        e.button.y = y;
        return e;
    }
    static SDL_Event key(SDL_Keycode k) {
        SDL_Event e{};
        e.type = SDL_KEYDOWN;
        e.key.keysym.sym = k;
        return e;
    }
    void stack(int index, uint8_t id, int start, int left) {
        BattleUnit& u = *b.unit_by_index(index);
        u = BattleUnit{};
        u.creature = id;
        u.count = left;
        u.alive = left > 0;
        u.side = index < 5 ? 0 : 1;
        (index < 5 ? b.attacker_start_counts[index] : b.defender_start_counts[index - 5]) = start;
    }
    uint32_t pixel(int x, int y) {
        uint32_t p = 0;
        SDL_Rect r{x, y, 1, 1};
        SDL_RenderReadPixels(renderer, &r, SDL_PIXELFORMAT_RGBA8888, &p, 4);
        return p;
    }
};

TEST_F(ResultFixture, AWonBattleCountsKilledCreaturesOnlyAndTheDoneButtonClosesAfterTheDelay) {
    stack(0, 3, 10, 7);   // three swordsmen lost
    stack(5, 6, 4, 0);    // four goblins killed
    stack(6, 12, 5, 5);   // untouched
    b.defenders[1].top_hp = 1;  // a wound is not a kill
    b.bonus_experience = 500;
    b.control.human = {1, 0};
    b.open_result_screen(OutcomeAttackerWon);
    EXPECT_EQ(b.overlay, BattleOverlay::Result);
    EXPECT_EQ(b.casualties[0], 3);
    EXPECT_EQ(b.casualties[5], 4);
    EXPECT_EQ(b.casualties[6], 0);
    using Row = std::vector<std::pair<uint8_t, int32_t>>;
    EXPECT_EQ(casualty_pairs(&b.casualty_ids[0], &b.casualties[0]), (Row{{3, 3}})) << "each row its own side's";
    EXPECT_EQ(casualty_pairs(&b.casualty_ids[5], &b.casualties[5]), (Row{{6, 4}}));
    EXPECT_EQ(b.result_experience, 4 * creature_stats(6).hp + 500);
    EXPECT_EQ(b.result_screen.losing_side, 1);
    EXPECT_TRUE(b.player_won());

    b.handle_result_event(key(SDLK_RETURN));
    EXPECT_EQ(b.active, 1) << "input waits 400 ms";
    for (int i = 0; i < 25; ++i) b.tick(16.0f);
    b.handle_result_event(mouse(SDL_MOUSEBUTTONDOWN, 300, 430));
    EXPECT_EQ(b.result_screen.done_pressed, 1);
    b.handle_result_event(mouse(SDL_MOUSEBUTTONUP, 10, 10));
    EXPECT_EQ(b.active, 0) << "a release anywhere after pressing Done closes";
    EXPECT_EQ(b.outcome, OutcomeAttackerWon) << "the record stays readable";
    EXPECT_EQ(b.result_screen.losing_side, 1);

    // Return, Escape and Space close it too; the keypad's Enter is another key.
    for (const SDL_Keycode k : {SDLK_RETURN, SDLK_ESCAPE, SDLK_SPACE}) {
        b.active = 1;
        b.open_result_screen(OutcomeAttackerWon);
        b.tick(500.0f);
        for (const SDL_Keycode other : {SDLK_a, SDLK_KP_ENTER}) b.handle_result_event(key(other));
        EXPECT_EQ(b.active, 1) << "another key closes nothing";
        b.handle_result_event(key(k));
        EXPECT_EQ(b.active, 0) << k;
    }
}

TEST_F(ResultFixture, ThePlayerDefendingAndLosingSeesTheDefeatAndTheStripWalks) {
    stack(0, 3, 10, 10);
    stack(5, 6, 4, 0);
    b.control.human = {0, 1};
    b.open_result_screen(OutcomeAttackerWon);
    EXPECT_TRUE(b.player_defends());
    EXPECT_FALSE(b.player_won());
    b.tick(1000.0f);
    EXPECT_EQ(b.result_screen.walk_frame, 0) << "eight steps of 125 ms come round again";
    b.tick(250.0f);
    EXPECT_EQ(b.result_screen.walk_frame, 2);
    EXPECT_FLOAT_EQ(b.result_screen.strip_x, 25.0f) << "20 pixels a second";
    EXPECT_EQ(b.result_screen.victory_frame, 0);
    b.draw();
    EXPECT_EQ(pixel(272 + 5, 419 + 5), 0x786400FFu) << "the Done button's stand-in";

    // The Done art at the button's corner plus its offset, in its own size (not stretched to 96 x 25).
    SDL_Texture* red = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA8888, SDL_TEXTUREACCESS_TARGET, 40, 12);
    SDL_SetRenderTarget(renderer, red);
    SDL_SetRenderDrawColor(renderer, 255, 0, 0, 255);
    SDL_RenderClear(renderer);
    SDL_SetRenderTarget(renderer, nullptr);
    res.lose_sprites = {BattleSprite{red, 40, 12, 3, 4}};
    b.draw();
    EXPECT_EQ(pixel(272 + 3, 419 + 4), 0xFF0000FFu);
    EXPECT_EQ(pixel(272 + 3 + 39, 419 + 4 + 11), 0xFF0000FFu);
    EXPECT_NE(pixel(272 + 3 + 40, 419 + 4), 0xFF0000FFu);
    EXPECT_NE(pixel(272 + 3, 419 + 4 + 12), 0xFF0000FFu);
    EXPECT_NE(pixel(272 + 2, 419 + 4), 0xFF0000FFu);
}

// A retreat and a surrender are told in the bar, naming the side that left; their lines, long names
// included, stay in the panel's text column (no lit pixel beside it from the first line to the casualties)
// and the bar's message between the bar's buttons.
TEST_F(ResultFixture, ARetreatOrASurrenderIsToldInTheBarAndItsLinesStayInTheTextColumn) {
    strings().load_from_text("", kit::catalogue_json(kit::battle_road_english_strings()));
    ASSERT_EQ(TTF_Init(), 0);
    b.font = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans-Bold.ttf", kLargeFontSize);
    b.font_small = TTF_OpenFont(VORN1_FONT_DIR "/DejaVuSans.ttf", kSmallFontSize);
    ASSERT_TRUE(b.font && b.font_small);
    stack(0, 3, 10, 10);
    stack(5, 6, 4, 4);
    b.control.human = {1, 0};
    b.defender_side.name = "Lady Mirabel";
    const auto lit_beside_column = [&] {
        SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
        SDL_RenderClear(renderer);
        b.draw_result_screen();
        int lit = 0, inside = 0;
        for (int y = 179; y < 239; ++y)
            for (int x = 0; x < 640; ++x) {
                const bool on = (pixel(x, y) >> 8) != 0;
                (x >= kResultTextX && x < kResultTextX + kResultTextW ? inside : lit) += on;
            }
        EXPECT_GT(inside, 200) << "no text drawn";
        return lit;
    };
    for (const char* name : {"Lord Zevoraz", "Lord Zevoraz the Unconquered of the Northern Moors"}) {
        b.attacker_side.name = name;
        b.retreating_side = 1;
        b.open_result_screen(OutcomeRetreat);
        EXPECT_EQ(b.message, "The cowardly Lady Mirabel flees from the battle.");
        b.retreating_side = 0;
        b.open_result_screen(OutcomeRetreat);
        EXPECT_EQ(b.message, std::string("The cowardly ") + name + " flees from the battle.");
        EXPECT_EQ(lit_beside_column(), 0) << name;
        b.surrendered_side = 0;
        b.surrender_gold_paid = 250;
        b.open_result_screen(OutcomeSurrender);
        EXPECT_EQ(b.message, std::string(name) + " surrenders to the enemy, and departs in shame.");
        EXPECT_EQ(lit_beside_column(), 0) << name;
        b.draw_textbar();
        int in_bar = 0, beside = 0;
        for (int x = 0; x < 640; ++x)
            for (int y = 460; y < 480; ++y)
                (x >= kBarTextX && x < kBarTextX + kBarTextW ? in_bar : beside) += pixel(x, y) == 0xFFFFFFFFu;
        EXPECT_GT(in_bar, 50) << name;
        EXPECT_EQ(beside, 0) << name;
    }
    TTF_CloseFont(b.font);
    TTF_CloseFont(b.font_small);
    b.font = b.font_small = nullptr;
    TTF_Quit();
    strings().load_from_text("", "");
}

// The sentence speaks of the hero the side had: a garrison alone neither earns experience nor has a hero
// abandon the cause; the enemy's having a hero or not changes nothing of the player's lines.
TEST_F(ResultFixture, TheResultSentenceNamesOnlyAHeroTheSideHad) {
    strings().load_from_text("", kit::catalogue_json(kit::battle_road_english_strings()));
    stack(0, 3, 10, 4);
    stack(5, 6, 4, 1);
    using Lines = std::vector<std::string>;
    const Lines bare_defeat{"Your forces suffer a bitter defeat."};
    const Lines hero_defeat{"Your forces suffer a bitter defeat,", "and Lady Mirabel abandons", "your cause."};
    for (const bool enemy_hero : {false, true}) {
        SCOPED_TRACE(enemy_hero ? "the attacker has a hero" : "the attacker has none");
        b.attacker_side.hero = enemy_hero ? 0 : -1;
        b.attacker_side.name = enemy_hero ? "Lord Zevoraz" : "";
        b.control.human = {0, 1};  // the player holds the town
        for (const bool own_hero : {false, true}) {
            b.defender_side.hero = own_hero ? 1 : -1;
            b.defender_side.name = own_hero ? "Lady Mirabel" : "";
            b.open_result_screen(OutcomeAttackerWon);
            EXPECT_EQ(b.result_kind(), ResultKind::Defeat);
            EXPECT_EQ(b.result_sentence(), own_hero ? hero_defeat : bare_defeat);
            b.open_result_screen(OutcomeDefenderWon);
            EXPECT_EQ(b.result_kind(), ResultKind::Victory);
            EXPECT_EQ(b.result_sentence(), own_hero ? (Lines{"For valor in combat, Lady Mirabel",
                                                             "receives " + std::to_string(b.result_experience) +
                                                                 " experience."})
                                                    : Lines{})
                << "a garrison earns no experience";
        }
    }
    // The player attacking: its own hero is named whether the town had a hero or not.
    b.control.human = {1, 0};
    b.attacker_side = BattleSide{};
    b.attacker_side.hero = 0;
    b.attacker_side.name = "Lord Zevoraz";
    for (const int defender : {-1, 1}) {
        b.defender_side.hero = defender;
        b.open_result_screen(OutcomeDefenderWon);
        EXPECT_EQ(b.result_sentence(),
                  (Lines{"Your forces suffer a bitter defeat,", "and Lord Zevoraz abandons", "your cause."}));
        b.open_result_screen(OutcomeAttackerWon);
        EXPECT_EQ(b.result_sentence().at(0), "For valor in combat, Lord Zevoraz");
    }
    // An unnamed hero that leaves is the player's or the enemy's as its side is.
    b.defender_side.name = "";
    b.retreating_side = 1;
    b.open_result_screen(OutcomeRetreat);
    EXPECT_EQ(b.result_sentence(), (Lines{"The enemy hero flees", "from the battle."}));
    b.attacker_side.name = "";
    b.retreating_side = 0;
    b.open_result_screen(OutcomeRetreat);
    EXPECT_EQ(b.message, "Your hero flees from the battle.");
    strings().load_from_text("", "");
}

// The result page starts its music over the battle's track: the victory track whenever the player's
// side won, attacking or defending, the defeat track for a loss or a retreat.
TEST_F(ResultFixture, TheResultStartsTheVictoryOrTheDefeatMusic) {
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0) << SDL_GetError();
    if (!Mix_QuerySpec(nullptr, nullptr, nullptr)) {
        ASSERT_EQ(Mix_OpenAudio(22050, AUDIO_S16LSB, 2, 1024), 0);
    }
    const test::TempDir program("result_music");
    for (const int n : {40, 43, 44}) {
        const std::string name = "SOUND/VELDAR" + std::to_string(n) + ".82M";
        program.put(name, kit::write_raw_tone(VORN_FMT_82M, kit::music_tone_hz(n), 300));
    }
    res.sound_dir = program.dir();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    res.load_battle_music();
    res.load_result_music();
    testing::internal::GetCapturedStdout();
    testing::internal::GetCapturedStderr();
    ASSERT_TRUE(res.battle_music[0].chunk && res.result_music[0].chunk && res.result_music[1].chunk);
    stack(0, 3, 10, 5);
    stack(5, 6, 4, 2);
    const Mix_Chunk* won = res.result_music[0].chunk;
    const Mix_Chunk* lost = res.result_music[1].chunk;
    for (const auto& [human, outcome, heard] :
         {std::tuple{std::array<uint8_t, 2>{1, 0}, OutcomeAttackerWon, won}, {{0, 1}, OutcomeDefenderWon, won},
          {{1, 0}, OutcomeDefenderWon, lost}, {{0, 1}, OutcomeAttackerWon, lost}, {{1, 0}, OutcomeRetreat, lost}}) {
        SCOPED_TRACE(std::to_string(outcome) + (human[0] ? ", the player attacking" : ", the player defending"));
        res.play_battle_music(42, 64);  // the first battle track
        ASSERT_EQ(Mix_GetChunk(1), res.battle_music[0].chunk);
        b.control.human = human;
        b.retreating_side = 0;
        b.open_result_screen(outcome);
        EXPECT_TRUE(Mix_Playing(1));
        EXPECT_EQ(Mix_GetChunk(1), heard);
    }
    Mix_HaltChannel(-1);
}

TEST_F(ResultFixture, ThePreviewAnswersOnlyByItsOwnButtonsOrKeys) {
    b.active = 0;
    b.open_autobattle_preview("Sir Test", 812, {3, 255, 255, 255, 255}, {10, 0, 0, 0, 0}, {8, 0, 0, 0, 0},
                              {6, 6, 255, 255, 255}, {3, 3, 0, 0, 0}, {0, -1, 0, 0, 0}, nullptr);
    EXPECT_EQ(b.active, 1);
    EXPECT_EQ(b.result_experience, 812);
    EXPECT_EQ(b.casualties[0], 2);
    EXPECT_EQ(b.casualties[6], 3) << "a negative survivor count counts as none";
    EXPECT_EQ(b.result_screen.accept_rect.x, 216);
    EXPECT_EQ(b.result_screen.decline_rect.x, 328);
    EXPECT_EQ(b.result_screen.accept_rect.y, 419);
    // With art, each button takes its frame's size; the pair stays centred, tops on one line.
    SDL_Rect accept{}, decline{};
    layout_preview_buttons({80, 30}, {100, 25}, accept, decline);
    EXPECT_EQ((std::array{accept.x, accept.y, accept.w, accept.h}), (std::array{222, 414, 80, 30}));
    EXPECT_EQ((std::array{decline.x, decline.y, decline.w, decline.h}), (std::array{318, 414, 100, 25}));
    b.tick(500.0f);
    b.handle_result_event(mouse(SDL_MOUSEBUTTONDOWN, 220, 425));
    b.handle_result_event(mouse(SDL_MOUSEBUTTONUP, 10, 10));
    EXPECT_EQ(b.active, 1) << "released outside: no answer";
    EXPECT_EQ(b.result_screen.accept_pressed, 0);
    b.draw();
    EXPECT_EQ(pixel(5, 5), 0x000000FFu) << "no map picture: black behind the result";
    EXPECT_EQ(pixel(330, 425), 0x786400FFu);
    b.handle_result_event(mouse(SDL_MOUSEBUTTONDOWN, 330, 425));
    b.handle_result_event(mouse(SDL_MOUSEBUTTONUP, 331, 426));
    EXPECT_EQ(b.active, 0);
    EXPECT_EQ(b.result_screen.preview_answer, 0);

    // The question's keys: y, Return and Space accept; n and Escape decline; the keypad's Enter is another key.
    for (const auto& [k, answer] : {std::pair{SDLK_y, 1}, {SDLK_RETURN, 1}, {SDLK_SPACE, 1}, {SDLK_n, 0}, {SDLK_ESCAPE, 0}}) {
        b.open_autobattle_preview("Sir Test", 0, {}, {}, {}, {}, {}, {}, nullptr);
        b.tick(500.0f);
        for (const SDL_Keycode other : {SDLK_a, SDLK_KP_ENTER}) b.handle_result_event(key(other));
        EXPECT_EQ(b.active, 1) << "another key answers nothing";
        b.handle_result_event(key(k));
        EXPECT_EQ(b.active, 0) << k;
        EXPECT_EQ(b.result_screen.preview_answer, answer) << k;
    }
}

}  // namespace
