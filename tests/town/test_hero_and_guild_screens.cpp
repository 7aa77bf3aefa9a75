// Rules and fallback drawing of the hero screen, its panels, the artifact dialog and the town's
// sub-screens (mage guild, thieves' guild, tavern, shipyard).
#include <gtest/gtest.h>

#include <algorithm>

#include "assets/dialog_utils.h"
#include "assets/text_render.h"
#include "battle/morale_luck.h"
#include "datakit/kit_heroscreens.h"
#include "datakit/kit_lang.h"
#include "lang/runtime_strings.h"
#include "town/castle_screen_resources.h"
#include "town/dialog_fixture.h"
#include "town/heroscrn.h"
#include "town/heroscrn_tooltip.h"
#include "town/magegld_screen.h"
#include "town/shipyard_dialog.h"
#include "town/swapwin.h"
#include "town/tavern_screen.h"
#include "town/thieves_guild_screen.h"
#include "town/town_fixture.h"
#include "world/map.h"

namespace vorn1 {
namespace {

bool has_line(const HeroTooltipState& s, const std::string& l) {
    return std::find(s.lines.begin(), s.lines.end(), l) != s.lines.end();
}

TEST(HeroPanels, WrapAndLayout) {
    EXPECT_TRUE(wrap_body("   ").empty());
    const auto lines = wrap_body("  alpha beta\tgamma\ndelta epsilon zeta eta theta");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "  alpha beta gamma delta");
    EXPECT_EQ(lines[1], "epsilon zeta eta theta");
    EXPECT_EQ(wrap_body("x supercalifragilisticexpialidocious y"),
              (std::vector<std::string>{"x", "supercalifragilisticexpialidocious", "y"}));

    // Artifact dialog: centred on the screen, its OK button at the bottom; the book and an empty slot
    // stay closed.
    ArtifactInfoDialog d;
    open_artifact_info_dialog(d, kMagicBook);
    open_artifact_info_dialog(d, 255);
    EXPECT_FALSE(d.open);
    open_artifact_info_dialog(d, 13);
    ASSERT_TRUE(d.open);
    EXPECT_EQ(d.height, 45 * d.rows + 125);
    EXPECT_EQ(d.y, (480 - d.height) / 2);
    EXPECT_EQ(d.ok_rect.y, d.y + d.height - 36);
    EXPECT_EQ(d.ok_rect.x - d.x, d.x + 286 - (d.ok_rect.x + d.ok_rect.w)) << "OK is not centred";
    handle_artifact_info_dialog(d, mouse_down(d.ok_rect.x, d.ok_rect.y + d.ok_rect.h));  // just below it
    EXPECT_FALSE(d.ok_pressed);
    const SDL_Point ok{d.ok_rect.x + 3, d.ok_rect.y + 3};
    handle_artifact_info_dialog(d, mouse_down(ok.x, ok.y));
    handle_artifact_info_dialog(d, mouse_up(10, 10));  // moved off: stays
    EXPECT_TRUE(d.open);
    EXPECT_FALSE(d.ok_pressed);
    handle_artifact_info_dialog(d, mouse_down(ok.x, ok.y));
    EXPECT_TRUE(handle_artifact_info_dialog(d, mouse_up(ok.x, ok.y)));
    EXPECT_FALSE(d.open);
}

TEST(HeroPanels, MoraleAndLuckSourcesListedOnceAndTheBadLuckOption) {
    HeroState h;
    h.crest = 0;  // knight
    h.artifacts[0] = h.artifacts[1] = 8;
    h.artifacts[2] = 12;
    h.army.ids = {0, 1, 6, 12, EMPTY_ID};
    h.army.counts = {1, 1, 1, 1, 0};
    HeroTooltipState s;
    g_zizezo_bad_luck = false;
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID);
    ASSERT_TRUE(s.open);
    // 0 + knight 1 + three groups -1 + two medals 2 - Zizezo 2 = 0.
    EXPECT_EQ(hero_battle_morale(h), 0);
    EXPECT_EQ(std::count(s.lines.begin(), s.lines.end(), "  MOD_MEDAL_VALOR"), 1);
    for (const char* l : {"  MOD_KNIGHT_BONUS", "  MOD_MIXED_ALIGN", "  MOD_ZIZEZO_M2", "HERO_MORALE_MODIFIERS"})
        EXPECT_TRUE(has_line(s, l)) << l;
    open_hero_tooltip(s, HS_LUCK, h, EMPTY_ID);
    EXPECT_EQ(s.lines, std::vector<std::string>{"HERO_LUCK_NEUTRAL"});  // no modifier block

    g_zizezo_bad_luck = true;
    open_hero_tooltip(s, HS_LUCK, h, EMPTY_ID);
    EXPECT_EQ(s.title, "HERO_LUCK_TITLE");  // no catalogue: the key stands for the text
    EXPECT_TRUE(has_line(s, "  MOD_ZIZEZO_M3"));
    EXPECT_EQ(hero_battle_luck(h), -3);
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID);
    EXPECT_FALSE(has_line(s, "  MOD_ZIZEZO_M2"));
    g_zizezo_bad_luck = false;

    // Portrait and empty artifact slots have no panel; a panel ends above the information bar.
    open_hero_tooltip(s, HS_PORTRAIT, h, EMPTY_ID);
    EXPECT_FALSE(s.open);
    open_hero_tooltip(s, HsZone(HS_ARTIFACT_FIRST + 5), h, EMPTY_ID);
    EXPECT_FALSE(s.open);
    for (const HsZone zone : {HS_ATTACK, HS_MORALE}) {
        open_hero_tooltip(s, zone, h, EMPTY_ID);
        EXPECT_LE(s.y + border_height(s.rows), kHeroInfoBarY) << zone;
    }
}

// Each artifact row sits at its id's index and has its texts; each panel shows its own keys' texts.
TEST(HeroPanels, ArtifactTableAndThePanelsTexts) {
    for (int i = 0; i < kArtifactInfoCount; ++i) {
        const ArtifactInfo& a = ARTIFACT_INFO[(size_t)i];
        EXPECT_EQ(a.id, i);
        EXPECT_EQ(artifact_info((uint8_t)i), &a);
        for (const char* text : {a.short_name, a.description, a.full_name}) EXPECT_TRUE(text && *text) << i;
    }
    EXPECT_EQ(artifact_info(kArtifactInfoCount), nullptr);

    HeroState h;
    h.crest = 1;  // not a knight, no army: morale 0
    HeroTooltipState s;
    const struct {
        HsZone zone;
        const char* title;
        const char* body;
    } plain[] = {{HS_ATTACK, "HERO_ATTACK_SKILL", "HERO_TT_ATTACK"},
                 {HS_DEFENSE, "HERO_DEFENSE_SKILL", "HERO_TT_DEFENSE"},
                 {HS_SPELL_POWER, "HERO_SPELL_POWER", "HERO_TT_SPELLPOWER"},
                 {HS_KNOWLEDGE, "HERO_KNOWLEDGE", "HERO_TT_KNOWLEDGE"},
                 {HS_EXPERIENCE, "HERO_EXPERIENCE", "HERO_TT_EXPERIENCE"},
                 {HS_ARTIFACT_FIRST, "ARTIFACTNAME_13", "ARTIFACTDESC_13"}};
    for (const auto& p : plain) {
        open_hero_tooltip(s, p.zone, h, 13);
        EXPECT_TRUE(s.open) << p.title;
        EXPECT_EQ(s.zone, p.zone);
        EXPECT_EQ(s.title, p.title);
        EXPECT_EQ(s.lines, std::vector<std::string>{p.body});
    }
    s.y = 40;
    s.clear();
    EXPECT_TRUE(!s.open && s.zone == 0 && s.title.empty() && s.lines.empty() && s.rows == 1 && !s.small_font);
    EXPECT_EQ(s.y, 40);

    strings().load_from_text("", kit::catalogue_json({{"HERO_MORALE_TITLE", "{0} Morale"},
                                                      {"MORALE_NORMAL", "Normal"},
                                                      {"MORALE_GOOD", "Good"},
                                                      {"HERO_MORALE_NEUTRAL",
                                                       "Neutral morale means your armies will never be blessed "
                                                       "with extra attacks or freeze in combat."}}));
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID);
    EXPECT_EQ(s.title, "Normal Morale");
    EXPECT_EQ(s.lines, (std::vector<std::string>{"Neutral morale means your", "armies will never be blessed",
                                                  "with extra attacks or freeze", "in combat."}));
    h.morale = 1;
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID);
    EXPECT_EQ(s.title, "Good Morale");
    EXPECT_EQ(s.lines, std::vector<std::string>{"HERO_MORALE_GOOD"});
    h.morale = -1;
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID);
    EXPECT_EQ(s.lines, std::vector<std::string>{"HERO_MORALE_BAD"});
    strings().load_from_text("", "");
}

class HeroScreenDraw : public DialogCanvas {};

TEST_F(HeroScreenDraw, FallbackFillsAndTheHiddenDismissButton) {
    Resources& cache = load({});
    GameState g = make_game(1);
    const int hero = add_hero(g, 0);
    g.heroes[(size_t)hero].portrait = 40;  // beyond the table
    g.heroes[(size_t)hero].crest = 0x50;   // crest index 20
    HeroScreenResources none;
    draw_hero_screen(r, none, cache, g, hero, false, font, small, false, false);
    EXPECT_TRUE(is(300, 20, {0, 30, 50, 255}));
    EXPECT_TRUE(is(52, 103, {30, 30, 30, 255}));
    EXPECT_TRUE(is(158, 140, {40, 20, 60, 255}));
    EXPECT_TRUE(is(52, 203, {50, 50, 50, 255}));
    EXPECT_TRUE(is(6, 330, {120, 80, 20, 255}));
    clear();
    draw_hero_screen(r, none, cache, g, hero, false, font, small, true, false);
    EXPECT_TRUE(is(6, 330, {0, 30, 50, 255}));
    clear();
    draw_hero_screen(r, none, cache, g, 5, false, font, small, false, false);  // no such hero
    EXPECT_EQ(differing({0, 0, 640, 480}, {0, 0, 0, 255}), 0);
}

// The panels hold their text: the morale panel with every source ends above the information bar with
// each line in its frame, and a notice of two lines is no taller than its text and button need.
TEST_F(HeroScreenDraw, PanelsHoldTheirTextAboveTheInformationBar) {
    Resources& none = load({});
    kit::StringMap texts;
    for (const auto& [k, v] : kit::heroscreens_english_strings()) texts[k] = v;
    strings().load_from_text("", kit::catalogue_json(texts));
    const SDL_Color magenta{255, 0, 255, 255};
    // Without the frame's art, everything drawn is text (and the OK button's stand-in).
    const auto outside = [&](const SDL_Rect& b) {
        return differing({0, 0, 640, b.y}, magenta) + differing({0, b.y + b.h, 640, 480 - b.y - b.h}, magenta) +
               differing({0, b.y, b.x, b.h}, magenta) + differing({b.x + b.w, b.y, 640 - b.x - b.w, b.h}, magenta);
    };
    HeroState h;
    h.crest = 0;  // knight
    h.visit_flags = 0x1C;
    for (int i = 0; i < 4; ++i) h.artifacts[(size_t)i] = uint8_t(8 + i);
    h.army.ids = {0, 1, 2, EMPTY_ID, EMPTY_ID};
    h.army.counts = {5, 5, 5, 0, 0};
    HeroTooltipState s;
    open_hero_tooltip(s, HS_MORALE, h, EMPTY_ID, font);
    clear(magenta);
    draw_hero_tooltip_if_open(r, none, s, font);
    const SDL_Rect panel{s.x, s.y, 286, border_height(s.rows)};
    EXPECT_LE(panel.y + panel.h, kHeroInfoBarY) << "the panel reaches over the information bar";
    EXPECT_EQ(outside(panel), 0) << "text outside the panel";
    const int skip = TTF_FontLineSkip(font), last = s.y + 81 + skip + 6 + ((int)s.lines.size() - 1) * skip;
    EXPECT_GT(differing({s.x, last, 286, skip}, magenta), 20) << "the last source is left out";

    ArtifactInfoDialog d;
    open_artifact_info_dialog(d, 8, font);
    ASSERT_EQ(d.lines.size(), 2u);
    clear(magenta);
    draw_artifact_info_dialog(r, none, d, font);
    EXPECT_EQ(outside({d.x, d.y, 286, d.height}), 0) << "text outside the notice";
    EXPECT_EQ(differing({d.x, d.ok_rect.y - 4, 286, 4}, magenta), 0) << "text runs into the OK button";
    EXPECT_GT(differing({d.x, d.ok_rect.y - kBorderRowH, 286, kBorderRowH - 4}, magenta), 20)
        << "a whole empty row over the OK button";
    strings().load_from_text("", "");
}

// An artifact text from a catalogue too long for the screen: the tallest frame, on the screen, holds
// the lines that fit above its OK button, and the last of them ends in "...".
TEST_F(HeroScreenDraw, ALongArtifactTextIsCutToTheScreen) {
    Resources& none = load({});
    std::string text;
    for (int i = 0; i < 120; ++i) text += "abcd ";
    strings().load_from_text("", kit::catalogue_json({{"ARTIFACTDESC_13", text}, {"ARTIFACTNAME_13", "Mace"}}));
    ArtifactInfoDialog d;
    open_artifact_info_dialog(d, 13, font);
    EXPECT_EQ(d.rows, (480 - border_height(0)) / kBorderRowH);
    EXPECT_GE(d.y, 0);
    ASSERT_GT(d.lines.size(), 3u);
    EXPECT_LT(d.lines.size(), 24u);
    EXPECT_EQ(d.lines.back().substr(d.lines.back().size() - 3), "...");
    const SDL_Color magenta{255, 0, 255, 255};
    clear(magenta);
    draw_artifact_info_dialog(r, none, d, font);
    EXPECT_EQ(differing({0, d.y + d.height, 640, 480 - d.y - d.height}, magenta), 0) << "text below the frame";
    EXPECT_EQ(differing({d.x, d.ok_rect.y - 4, 286, 4}, magenta), 0) << "text runs into the OK button";
    strings().load_from_text("", "");
}

// A panel too tall for the room above the information bar is laid out in the small font; one too tall
// even in that keeps the lines the tallest frame holds and ends the last of them in "...".
TEST_F(HeroScreenDraw, TallPanelsTakeTheSmallFontThenMarkTheCut) {
    Resources& none = load({});
    const auto words = [](const char* w, int n) {
        std::string t;
        for (int i = 0; i < n; ++i) t += std::string(w) + " ";
        return t;
    };
    // Five words of "abcd" make a line of 24 characters.
    strings().load_from_text("", kit::catalogue_json({{"HERO_TT_KNOWLEDGE", words("abcd", 10)},
                                                      {"HERO_TT_ATTACK", words("abcd", 95)},
                                                      {"HERO_TT_DEFENSE", words("abcd", 300)},
                                                      {"HERO_TT_SPELLPOWER", words("MMMM", 300)},
                                                      {"HERO_EXPERIENCE", words("abcd", 400)}}));
    const SDL_Color magenta{255, 0, 255, 255};
    const int most = (kHeroInfoBarY - border_height(0)) / kBorderRowH;
    const int big_skip = TTF_FontLineSkip(font), small_skip = TTF_FontLineSkip(small);
    const std::string full = "abcd abcd abcd abcd abcd";
    HeroState h;
    HeroTooltipState s;
    // Draws the panel and checks its frame holds the text, down to a last line at its place.
    const auto drawn_inside = [&](int skip) {
        clear(magenta);
        draw_hero_tooltip_if_open(r, none, s, font, small);
        const int bottom = s.y + border_height(s.rows);
        EXPECT_EQ(bottom, kHeroInfoBarY);
        EXPECT_EQ(differing({0, bottom, 640, 480 - bottom}, magenta) + differing({0, 0, 640, s.y}, magenta), 0)
            << "text outside the panel";
        const int last = s.y + 81 + skip + 6 + ((int)s.lines.size() - 1) * skip;
        EXPECT_GT(differing({s.x, last, 286, skip}, magenta), 20) << "the last line is not drawn";
        EXPECT_EQ(differing({s.x, last + skip, 286, bottom - 24 - last - skip}, magenta), 0) << "a line too many";
    };

    open_hero_tooltip(s, HS_KNOWLEDGE, h, EMPTY_ID, font, small);
    EXPECT_FALSE(s.small_font);
    EXPECT_EQ(s.lines.size(), 2u);

    open_hero_tooltip(s, HS_ATTACK, h, EMPTY_ID, font, small);
    ASSERT_EQ(s.lines.size(), 19u);
    ASSERT_LT(hero_panel_body_room(most, 1, big_skip), 19) << "the test's text fits the main font";
    EXPECT_TRUE(s.small_font);
    EXPECT_EQ(s.lines.back(), full);
    drawn_inside(small_skip);

    open_hero_tooltip(s, HS_DEFENSE, h, EMPTY_ID, font, small);
    EXPECT_TRUE(s.small_font);
    EXPECT_EQ(s.rows, most);
    const int room = hero_panel_body_room(most, 1, small_skip);
    ASSERT_EQ((int)s.lines.size(), room);
    EXPECT_EQ(s.lines[(size_t)room - 2], full);
    EXPECT_EQ(s.lines.back(), full + "...");
    drawn_inside(small_skip);

    // Without a small font the main one keeps what fits; the mark takes the place of words that leave it
    // no room in the column.
    open_hero_tooltip(s, HS_SPELL_POWER, h, EMPTY_ID, font);
    EXPECT_FALSE(s.small_font);
    ASSERT_EQ((int)s.lines.size(), hero_panel_body_room(most, 1, big_skip));
    const std::string& cut = s.lines.back();
    EXPECT_EQ(cut.substr(cut.size() - 7), "MMMM...");
    EXPECT_LE(text::measure(font, cut).x, 266);
    EXPECT_GT(text::measure(font, cut + " MMMM").x, 266);
    drawn_inside(big_skip);
    // A title that takes the whole frame leaves no body line.
    open_hero_tooltip(s, HS_EXPERIENCE, h, EMPTY_ID, font);
    EXPECT_TRUE(s.open);
    EXPECT_TRUE(s.lines.empty());
    strings().load_from_text("", "");
}

TEST_F(HeroScreenDraw, MeetingWindowSelectionsAndItsFallbackFrame) {
    Resources& cache = load({});
    GameState g = make_game(1);
    const int a = add_hero(g, 0), b = add_hero(g, 0);
    g.heroes[(size_t)a].army.ids[0] = 3;
    g.heroes[(size_t)a].army.counts[0] = 4;
    g.heroes[(size_t)a].army.ids[1] = 4;
    g.heroes[(size_t)a].army.counts[1] = 2;
    SwapWinState s;
    open_swap_window(s, a, b, nullptr);
    const SDL_Rect cell = swap_army_cell(0, 0);
    handle_swap_event(mouse_down(cell.x + 5, cell.y + 5), s, g, font, &cache);
    ASSERT_TRUE(s.troops.selected.valid());
    // A press outside the window keeps the selection; one on its background between cells drops it.
    handle_swap_event(mouse_down(500, 300), s, g, font, &cache);
    EXPECT_TRUE(s.troops.selected.valid());
    handle_swap_event(mouse_down(cell.x + 5, cell.y + 5), s, g, font, &cache);
    EXPECT_FALSE(s.troops.selected.valid()) << "the same cell again drops it";
    handle_swap_event(mouse_down(cell.x + 5, cell.y + 5), s, g, font, &cache);
    SwapWinResources none;
    draw_swap_screen(r, none, cache, s, g, font, small);
    EXPECT_TRUE(is(20, 300, {60, 35, 15, 255}));
    EXPECT_TRUE(is(cell.x, cell.y + 10, {255, 220, 0, 255}));
    EXPECT_TRUE(is(cell.x + 1, cell.y + 10, {255, 220, 0, 255}));
    handle_swap_event(mouse_down(250, 420), s, g, font, &cache);
    EXPECT_FALSE(s.troops.selected.valid());
    s.notice_open = true;  // the spellbook's cannot-trade notice
    strings().load_from_text("", kit::catalogue_json(kit::heroscreens_english_strings()));
    draw_swap_screen(r, none, cache, s, g, font, small);
    EXPECT_EQ(differing({17, 214, 160, 46}, {60, 35, 15, 255}), 0) << "the notice runs out of its frame";
    strings().load_from_text("", "");
    handle_swap_event(key_down(SDLK_KP_ENTER), s, g, font, &cache);
    EXPECT_TRUE(s.notice_open) << "the keypad's Enter is not Return";
    handle_swap_event(key_down(SDLK_RETURN), s, g, font, &cache);
    EXPECT_FALSE(s.notice_open);
    EXPECT_TRUE(handle_swap_event(key_down(SDLK_ESCAPE), s, g, font, &cache));
    EXPECT_FALSE(s.open);
}

TEST(MageGuild, TeachingSlotsAndThePurchase) {
    CastleState town;
    town.buildings = BLD_GUILD1 | BLD_GUILD2;
    town.guild_spells = {0, 1, 2, 7, 8, 15, 16, 24, 25};
    HeroState h;
    h.knowledge = 100;
    h.artifact_bonus[3] = 27;
    h.spell_charges[1] = 3;
    teach_mage_guild_spells(h, town);
    EXPECT_EQ(h.spell_charges[0], 0) << "no book, nothing taught";
    h.has_spellbook = 1;
    teach_mage_guild_spells(h, town);
    EXPECT_EQ(h.spell_charges[0], 127);
    EXPECT_EQ(h.spell_charges[8], 127);
    EXPECT_EQ(h.spell_charges[15], 0);
    h.artifact_bonus[3] = 26;
    h.spell_charges[0] = 0;
    teach_mage_guild_spells(h, town);
    EXPECT_EQ(h.spell_charges[0], 126);
    EXPECT_EQ(h.spell_charges[1], 127) << "never lowered";

    // The overlap band belongs to an opened middle slot.
    EXPECT_EQ(mage_guild_spell_at(500, 160, town, 2), 2);
    EXPECT_EQ(mage_guild_spell_at(500, 160, town, 3), 15);
    EXPECT_FALSE(mage_guild_hit(320, 60, CastleState{}));
    EXPECT_TRUE(mage_guild_hit(320, 60, town));

    // The book: 499 gold buys nothing, 500 buys it into the only free slot.
    HeroState v;
    v.artifacts.fill(13);
    v.artifacts[13] = EMPTY_ID;
    PlayerResources treasury;
    treasury.gold = 499;
    MageGuildState s;
    open_buy_spellbook_dialog(s);
    const SDL_Point buy{s.buy_rect.x + 5, s.buy_rect.y + 5};
    handle_buy_spellbook_event(mouse_down(buy.x, buy.y), s, v, treasury, town);
    EXPECT_EQ(handle_buy_spellbook_event(mouse_up(buy.x, buy.y), s, v, treasury, town), 0);
    treasury.gold = 500;
    handle_buy_spellbook_event(mouse_down(buy.x, buy.y), s, v, treasury, town);
    EXPECT_EQ(handle_buy_spellbook_event(mouse_up(buy.x, buy.y), s, v, treasury, town), 1);
    EXPECT_EQ(treasury.gold, 0);
    EXPECT_EQ(v.artifacts[13], kMagicBook);
    EXPECT_TRUE(v.has_spellbook);
    EXPECT_TRUE(s.open);
    EXPECT_FALSE(s.buy_prompt);
    // Escape declines as Cancel does.
    open_buy_spellbook_dialog(s);
    EXPECT_EQ(handle_buy_spellbook_event(key_down(SDLK_ESCAPE), s, v, treasury, town), 2);
    EXPECT_FALSE(s.open);
}

TEST(ThievesGuild, DenseRanksFlagsAndArmyStrength) {
    GameState g = make_game(4);
    for (int p = 0; p < 3; ++p) add_hero(g, p);  // player 3 has nothing
    g.resources[0].gold = 500;
    g.resources[1].gold = 500;
    g.resources[2].gold = 100;
    g.heroes[0].army.ids[0] = 5;
    g.heroes[0].army.counts[0] = 10;
    g.heroes[0].army.ids[1] = 40;  // not a creature: adds nothing
    g.heroes[0].army.counts[1] = 10;
    EXPECT_EQ(player_army_strength(g, 0), 230);
    const RankingData d = compute_ranking(g, nullptr);
    EXPECT_EQ(d.value[3][0], -1);
    const auto gold = rank_for_row(d, 3);
    ASSERT_EQ(gold.size(), 2u);
    EXPECT_EQ(gold[0], (std::vector<int>{0, 1}));
    EXPECT_EQ(gold[1], (std::vector<int>{2}));
    EXPECT_EQ(rank_for_row(d, 0).size(), 1u) << "no towns: all three share first place with 0";
    EXPECT_EQ(flag_offsets(2), (std::vector<int>{-12, 12}));
    EXPECT_EQ(flag_offsets(3), (std::vector<int>{-25, 0, 25}));
    EXPECT_EQ(flag_offsets(4), (std::vector<int>{-37, -12, 12, 37}));
    EXPECT_EQ(thieves_guild_rows_shown(1), 3);
    EXPECT_EQ(thieves_guild_rows_shown(3), 7);
    EXPECT_EQ(thieves_guild_rows_shown(9), 8);
}

TEST(TownSubScreens, TavernTimingAndShipyardHarbour) {
    TavernScreenState t;
    advance_tavern_animation(t, 1000);
    advance_tavern_animation(t, 1199);
    EXPECT_EQ(t.frame, 0);
    for (uint32_t now = 1200; now <= 1200 + 7 * 200; now += 200) advance_tavern_animation(t, now);
    EXPECT_EQ(t.frame, 8);
    advance_tavern_animation(t, 1200 + 8 * 200);
    EXPECT_EQ(t.frame, 1);
    CastleState plain;
    EXPECT_FALSE(tavern_sprite_hit(250, 150, plain));

    // A town on dry land cannot build even with the money: nothing is paid.
    GameState g = make_game(1);
    CastleState& c = add_castle(g, 0, FACTION_KNIGHT, BLD_SHIPYARD);
    c.x = 3;
    c.y = 3;
    g.resources[0].gold = 5000;
    g.resources[0].wood = 50;
    GameMap map;
    map.width = map.height = 8;
    map.tiles.assign(64, MapTile{});
    for (MapTile& t : map.tiles) t.ground = 30;
    EXPECT_FALSE(shipyard_can_build(g, map, 0));
    EXPECT_FALSE(build_shipyard_boat(g, map, 0));
    EXPECT_EQ(g.resources[0].gold, 5000);
    map.tile(2, 4)->ground = 3;
    EXPECT_TRUE(build_shipyard_boat(g, map, 0));
    EXPECT_EQ(g.boat_at(2, 4), 0);
    EXPECT_FALSE(shipyard_can_build(g, map, 0)) << "the harbour holds a boat";

    // The shipyard's question: n and Escape close; y and Return build where a boat can go, else close.
    ShipyardDialogState yard;
    for (SDL_Keycode k : {SDLK_n, SDLK_ESCAPE, SDLK_y, SDLK_RETURN}) {
        yard.open = true;
        EXPECT_FALSE(handle_shipyard_event(key_down(k), yard, g, map, 0));
        EXPECT_FALSE(yard.open);
    }
    for (SDL_Keycode k : {SDLK_y, SDLK_RETURN}) {
        yard.open = true;
        g.boats.clear();
        map.tile(2, 4)->boat = 0;
        ASSERT_TRUE(shipyard_can_build(g, map, 0));
        EXPECT_TRUE(handle_shipyard_event(key_down(k), yard, g, map, 0));
        EXPECT_FALSE(yard.open);
    }
}

}  // namespace
}  // namespace vorn1

namespace vorn1 {
namespace {

class TavernDraw : public DialogCanvas {};

TEST_F(TavernDraw, TheRumourHeadingAndBodyStayInsideTheFrame) {
    Resources& none = load({});
    kit::StringMap texts;
    for (const auto& [k, v] : kit::heroscreens_english_strings()) texts[k] = v;
    strings().load_from_text("", kit::catalogue_json(texts));
    const SDL_Color magenta{255, 0, 255, 255};
    clear(magenta);
    TavernScreenState t;
    t.open = true;
    draw_tavern_screen(r, CastleScreenResources{}, none, t, font, 1000);
    strings().load_from_text("", "");
    // Without the frame's art, everything drawn is text, the picture's fill and the button.
    EXPECT_EQ(differing({0, 0, 177, 480}, magenta), 0) << "text left of the frame";
    EXPECT_EQ(differing({463, 0, 177, 480}, magenta), 0) << "text right of the frame";
    EXPECT_GT(differing({177, 80, 286, 48}, magenta), 100) << "no heading drawn";
}

}  // namespace
}  // namespace vorn1
