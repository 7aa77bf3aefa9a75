#include "town/heroscrn_tooltip.h"

#include <algorithm>
#include <cstdio>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "battle/morale_luck.h"
#include "lang/runtime_strings.h"
#include "town/dialog_art.h"
#include "world/game_state.h"

namespace vorn1 {

const std::array<ArtifactInfo, kArtifactInfoCount> ARTIFACT_INFO = {{
    {0, "Ultimate Book", "The Ultimate Book of Knowledge increases your knowledge by 12.", "Ultimate Book of Knowledge"},
    {1, "Ultimate Sword", "The Ultimate Sword of Dominion increases your attack skill by 12.", "Ultimate Sword of Dominion"},
    {2, "Ultimate Cloak", "The Ultimate Cloak of Protection increases your defense skill by 12.", "Ultimate Cloak of Protection"},
    {3, "Ultimate Wand", "The Ultimate Wand of Magic increases your spell power by 12.", "Ultimate Wand of Magic"},
    {4, "Arcane Necklace (+4 Spell Power)", "The Arcane Necklace of Magic increases your spell power by 4.", "Arcane Necklace of Magic"},
    {5, "Caster's Bracelet (+2 Spell Power)", "The Caster's Bracelet of Magic increases your spell power by 2.", "Caster's Bracelet of Magic"},
    {6, "Mage's Ring (+2 Spell Power)", "The Mage's Ring of Power increases your spell power by 2.", "Mage's Ring of Power"},
    {7, "Witch's Broach (+3 Spell Power)", "The Witch's Broach of Magic increases your spell power by 3.", "Witch's Broach of Magic"},
    {8, "Medal of Valor", "The Medal of Valor increases your morale.", "Medal of Valor"},
    {9, "Medal of Courage", "The Medal of Courage increases your morale.", "Medal of Courage"},
    {10, "Medal of Honor", "The Medal of Honor increases your morale.", "Medal of Honor"},
    {11, "Medal of Distinction", "The Medal of Distinction increases your morale.", "Medal of Distinction"},
    {12, "Zizezo of Misfortune", "The Zizezo of Misfortune greatly decreases your morale.", "Zizezo of Misfortune"},
    {13, "Thunder Mace (+1 Attack)", "The Thunder Mace of Dominion increases your attack skill by 1.", "Thunder Mace of Dominion"},
    {14, "Armored Gauntlets (+1 Defense)", "The Armored Gauntlets of Protection increases your defense skill by 1.", "Armored Gauntlets of Protection"},
    {15, "Defender Helm (+1 Defense)", "The Defender Helm of Protection increases your defense skill by 1.", "Defender Helm of Protection"},
    {16, "Giant Flail (+1 Attack)", "The Giant Flail of Dominion increases your attack skill by 1.", "Giant Flail of Dominion"},
    {17, "Ballista", "The Ballista of Quickness lets your catapult fire twice per combat round.", "Ballista of Quickness"},
    {18, "Stealth Shield (+2 Defense)", "The Stealth Shield of Protection increases your defense skill by 2.", "Stealth Shield of Protection"},
    {19, "Dragon Sword (+3 Attack)", "The Dragon Sword of Dominion increases your attack skill by 3.", "Dragon Sword of Dominion"},
    {20, "Power Axe (+2 Attack)", "The Power Axe of Dominion increases your attack skill by 2.", "Power Axe of Dominion"},
    {21, "Divine Breastplate (+3 Defense)", "The Divine Breastplate of Protection increases your defense skill by 3.", "Divine Breastplate of Protection"},
    {22, "Minor Scroll (+2 Knowledge)", "The Minor Scroll of Knowledge increases your Knowledge by 2.", "Minor Scroll of Knowledge"},
    {23, "Major Scroll (+3 Knowledge)", "The Major Scroll of Knowledge increases your Knowledge by 3.", "Major Scroll of Knowledge"},
    {24, "Superior Scroll (+4 Knowledge)", "The Superior Scroll of Knowledge increases your Knowledge by 4.", "Superior Scroll of Knowledge"},
    {25, "Foremost Scroll (+5 Knowledge)", "The Foremost Scroll of Knowledge increases your Knowledge by 5.", "Foremost Scroll of Knowledge"},
    {26, "Endless Sack of Gold", "The Endless Sack of Gold provides you with 1000 gold per day.", "Endless Sack of Gold"},
    {27, "Endless Bag of Gold", "The Endless Bag of Gold provides you with 750 gold per day.", "Endless Bag of Gold"},
    {28, "Endless Purse of Gold", "The Endless Purse of Gold provides you with 500 gold per day.", "Endless Purse of Gold"},
    {29, "Nomad Boots", "The Nomad Boots of Mobility increases your movement on land.", "Nomad Boots of Mobility"},
    {30, "Traveler's Boots", "The Traveler's Boots of Mobility increases your movement on land.", "Traveler's Boots of Mobility"},
    {31, "Rabbit's Foot", "The Lucky Rabbit's Foot increases your luck in combat.", "Lucky Rabbit's Foot"},
    {32, "Horseshoe", "The Golden Horseshoe increases your luck in combat.", "Golden Horseshoe"},
    {33, "Gambler's Lucky Coin", "The Gambler's Lucky Coin increases your luck in combat.", "Gambler's Lucky Coin"},
    {34, "Clover", "The Four-Leaf Clover increases your luck in combat.", "Four-Leaf Clover"},
    {35, "Compass", "The True Compass of Mobility increases your movement on land and sea.", "True Compass of Mobility"},
    {36, "Astrolabe", "The Sailor's Astrolabe of Mobility increases your movement on sea.", "Sailor's Astrolabe of Mobility"},
    {37, "Magic Book", "The Magic Book enables you to cast spells.", "Magic Book"},
}};

namespace {

constexpr int kWrapWidth = 28;
constexpr SDL_Color kTitleColour{255, 220, 80, 255};
constexpr SDL_Color kBodyColour{220, 220, 220, 255};

std::string text_of(const char* key) { return strings().get(key); }

std::string keyed(const char* fmt, int id) {
    char key[40];
    std::snprintf(key, sizeof key, fmt, id);
    return strings().get(key);
}

std::string label_of(int value, const char* const keys[7]) { return text_of(keys[std::clamp(value, -3, 3) + 3]); }

// The column the panels' lines keep to, inside the edges of their 286-pixel frame.
constexpr int kPanelTextW = 266;

bool too_wide(TTF_Font* font, const std::string& line) { return font && text::measure(font, line).x > kPanelTextW; }

// wrap_body's lines; the text wrapped to the column in `font` instead when one of them is wider.
std::vector<std::string> wrap_panel(const std::string& text, TTF_Font* font) {
    std::vector<std::string> lines = wrap_body(text);
    if (std::none_of(lines.begin(), lines.end(), [&](const std::string& l) { return too_wide(font, l); })) return lines;
    return text::wrap_pixels(font, text, kPanelTextW);
}

// A title on one line, or on as many as it takes in the column.
std::vector<std::string> title_lines(const std::string& title, TTF_Font* font) {
    if (title.empty()) return {};
    return too_wide(font, title) ? text::wrap_pixels(font, title, kPanelTextW) : std::vector<std::string>{title};
}

void append_wrapped(std::vector<std::string>& out, const std::string& text, TTF_Font* font) {
    for (std::string& l : wrap_panel(text, font)) out.push_back(std::move(l));
}

int line_skip(TTF_Font* font) { return font ? TTF_FontLineSkip(font) : 14; }

// The artifact dialog: its title from this far below the frame's top, as in the event notices, and the
// room its OK button takes at the bottom (36 from the bottom, with a gap above it).
constexpr int kInfoTextTop = 40;
constexpr int kInfoButtonSpace = 44;
int title_height(TTF_Font* font) { return font ? TTF_FontHeight(font) : 14; }
int info_line_skip(TTF_Font* font) { return font ? TTF_FontLineSkip(font) : 16; }

// Where the panel's text starts below the frame's top, the gap under the title lines, and how much of
// the frame's bottom edge the text may use.
constexpr int kPanelTitleTop = 81;
constexpr int kPanelBodyGap = 6;
constexpr int kPanelBottomUse = kBorderBottomH / 2;
constexpr int kMostPanelRows = (kHeroInfoBarY - border_height(0)) / kBorderRowH;

// The rows the text asks for, at most as many as fit above the information bar.
int panel_rows(const HeroTooltipState& s, TTF_Font* font) {
    const int n = (int)(title_lines(s.title, font).size() + s.lines.size());
    return std::clamp(((n + 1) * line_skip(font) + kBorderRowH - 1) / kBorderRowH, 1, kMostPanelRows);
}

bool panel_fits(const HeroTooltipState& s, TTF_Font* font) {
    const int room = hero_panel_body_room(panel_rows(s, font), (int)title_lines(s.title, font).size(), line_skip(font));
    return (int)s.lines.size() <= room;
}

// Keeps the lines the tallest frame holds; the last one kept ends in "..." (words give way to it).
void cut_lines(HeroTooltipState& s, TTF_Font* font) {
    const int room =
        std::max(hero_panel_body_room(kMostPanelRows, (int)title_lines(s.title, font).size(), line_skip(font)), 0);
    text::keep_lines(font, s.lines, room, kPanelTextW);
}

// The frame ends above the information bar: as many rows as the lines ask for in the panel's font and
// the space holds.
void lay_out(HeroTooltipState& s, TTF_Font* font) {
    cut_lines(s, font);
    s.x = 177;
    s.rows = panel_rows(s, font);
    s.y = std::clamp(kHeroInfoBarY - border_height(s.rows), 0, 200);
    s.open = true;
}

// Title, the description of the sign and the list of what applies (each once).
void fill_panel(HeroTooltipState& s, const std::string& title, const char* body_key,
                const std::vector<std::string>& modifiers, const char* header_key, TTF_Font* font) {
    s.title = title;
    append_wrapped(s.lines, text_of(body_key), font);
    if (modifiers.empty()) return;
    s.lines.emplace_back();
    s.lines.push_back(text_of(header_key));
    for (const std::string& mod : modifiers) append_wrapped(s.lines, "  " + mod, font);
}

void build_luck_tooltip(HeroTooltipState& s, const HeroState& hero, TTF_Font* font) {
    const int value = hero_battle_luck(hero);
    std::vector<std::string> mods;
    if (hero.visit_flags & 0x01) mods.push_back(text_of("MOD_FAERIE_RING"));
    if (hero.visit_flags & 0x02) mods.push_back(text_of("MOD_FOUNTAIN"));
    static const char* const kArt[4] = {"MOD_RABBIT_FOOT", "MOD_HORSESHOE", "MOD_LUCKY_COIN", "MOD_CLOVER"};
    for (int a = 31; a <= 34; ++a)
        if (hero.has_artifact(a)) mods.push_back(text_of(kArt[a - 31]));
    if (g_zizezo_bad_luck && hero.has_artifact(12)) mods.push_back(text_of("MOD_ZIZEZO_M3"));
    const char* body = value < 0 ? "HERO_LUCK_BAD" : value > 0 ? "HERO_LUCK_GOOD" : "HERO_LUCK_NEUTRAL";
    fill_panel(s, strings().format("HERO_LUCK_TITLE", {luck_label_loc(value)}), body, mods, "HERO_LUCK_MODIFIERS",
               font);
}

}  // namespace

const ArtifactInfo* artifact_info(uint8_t id) { return id < kArtifactInfoCount ? &ARTIFACT_INFO[id] : nullptr; }

std::string localized_artifact_name(uint8_t id) {
    if (id == kMagicBook) return text_of("ARTIFACT_SPELLBOOK_TITLE");
    return keyed("ARTIFACTNAME_%02d", id);
}

std::string artifact_body_text(const ArtifactInfo* row) {
    if (!row) return {};
    if (row->id == 12 && g_zizezo_bad_luck) return text_of("ARTIFACTDESC_ZIZEZO_BADLUCK");
    return keyed("ARTIFACTDESC_%02d", row->id);
}

std::vector<std::string> wrap_body(const std::string& text) {
    std::vector<std::string> out;
    size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    const std::string indent = text.substr(0, i);
    std::vector<std::string> words;
    std::string word;
    for (; i <= text.size(); ++i) {
        const char ch = i < text.size() ? text[i] : ' ';
        if (ch == ' ' || ch == '\t' || ch == '\n' || ch == '\r') {
            if (!word.empty()) words.push_back(std::move(word));
            word.clear();
        } else {
            word += ch;
        }
    }
    std::string line;
    for (const std::string& w : words) {
        const size_t lead = out.empty() ? indent.size() : 0;
        if (line.empty()) line = w;
        else if (lead + line.size() + 1 + w.size() <= (size_t)kWrapWidth) line += " " + w;
        else {
            out.push_back(out.empty() ? indent + line : line);
            line = w;
        }
    }
    if (!line.empty()) out.push_back(out.empty() ? indent + line : line);
    return out;
}

std::string morale_label_loc(int value) {
    static const char* const kKeys[7] = {"MORALE_TREASON", "MORALE_AWFUL", "MORALE_POOR", "MORALE_NORMAL",
                                         "MORALE_GOOD",    "MORALE_GREAT", "MORALE_BLOOD"};
    return label_of(value, kKeys);
}

std::string luck_label_loc(int value) {
    static const char* const kKeys[7] = {"LUCK_CURSED", "LUCK_AWFUL", "LUCK_BAD", "LUCK_NORMAL",
                                         "LUCK_GOOD",   "LUCK_GREAT", "LUCK_IRISH"};
    return label_of(value, kKeys);
}

void HeroTooltipState::clear() {
    open = false;
    zone = 0;
    title.clear();
    lines.clear();
    rows = 1;
    small_font = false;
}

void build_morale_tooltip(HeroTooltipState& s, const HeroState& hero, TTF_Font* font) {
    const int value = hero_battle_morale(hero);
    std::vector<std::string> mods;
    static const char* const kFlag[5] = {"MOD_ANGEL_STATUE", "MOD_BUOY", "MOD_OASIS", "MOD_GRAVE_ROBBER", "MOD_SHIPWRECK"};
    for (int b = 0; b < 5; ++b)
        if (hero.visit_flags & (0x04 << b)) mods.push_back(text_of(kFlag[b]));
    if (hero.hero_class() == 0) mods.push_back(text_of("MOD_KNIGHT_BONUS"));
    int stacks = 0, groups = 0, group = -1;
    bool seen[5] = {};
    for (int i = 0; i < ARMY_SLOTS; ++i) {
        if (hero.army.counts[i] == 0) continue;
        ++stacks;
        const int f = creature_faction_group(hero.army.ids[i]);
        if (f >= 0 && !seen[f]) {
            seen[f] = true;
            ++groups;
            group = f;
        }
    }
    static const char* const kGroup[5] = {"MORALE_FACTION_HUMAN", "MORALE_FACTION_PLAINS", "MORALE_FACTION_FOREST",
                                          "MORALE_FACTION_MOUNTAIN", "MORALE_FACTION_NEUTRAL"};
    if (stacks >= 2 && groups == 1) mods.push_back(strings().format("MORALE_ALL_TROOPS", {text_of(kGroup[group])}));
    if (stacks >= 2 && groups >= 3) mods.push_back(text_of("MOD_MIXED_ALIGN"));
    static const char* const kMedal[4] = {"MOD_MEDAL_VALOR", "MOD_MEDAL_COURAGE", "MOD_MEDAL_HONOR",
                                          "MOD_MEDAL_DISTINCTION"};
    for (int a = 8; a <= 11; ++a)
        if (hero.has_artifact(a)) mods.push_back(text_of(kMedal[a - 8]));
    if (!g_zizezo_bad_luck && hero.has_artifact(12)) mods.push_back(text_of("MOD_ZIZEZO_M2"));
    const char* body = value < 0 ? "HERO_MORALE_BAD" : value > 0 ? "HERO_MORALE_GOOD" : "HERO_MORALE_NEUTRAL";
    fill_panel(s, strings().format("HERO_MORALE_TITLE", {morale_label_loc(value)}), body, mods,
               "HERO_MORALE_MODIFIERS", font);
}

namespace {

void fill_tooltip(HeroTooltipState& s, HsZone zone, const HeroState& hero, uint8_t artifact, TTF_Font* font) {
    s.clear();
    s.zone = (uint8_t)zone;
    static const struct {
        HsZone zone;
        const char* title;
        const char* body;
    } kPlain[] = {{HS_ATTACK, "HERO_ATTACK_SKILL", "HERO_TT_ATTACK"},
                  {HS_DEFENSE, "HERO_DEFENSE_SKILL", "HERO_TT_DEFENSE"},
                  {HS_SPELL_POWER, "HERO_SPELL_POWER", "HERO_TT_SPELLPOWER"},
                  {HS_KNOWLEDGE, "HERO_KNOWLEDGE", "HERO_TT_KNOWLEDGE"},
                  {HS_EXPERIENCE, "HERO_EXPERIENCE", "HERO_TT_EXPERIENCE"}};
    for (const auto& p : kPlain)
        if (p.zone == zone) {
            s.title = text_of(p.title);
            s.lines = wrap_panel(text_of(p.body), font);
        }
    if (zone == HS_MORALE) build_morale_tooltip(s, hero, font);
    if (zone == HS_LUCK) build_luck_tooltip(s, hero, font);
    if (hs_zone_artifact_slot(zone) >= 0) {
        const ArtifactInfo* row = artifact == 255 ? nullptr : artifact_info(artifact);
        if (row) {
            s.title = localized_artifact_name(artifact);
            s.lines = wrap_panel(artifact_body_text(row), font);
        }
    }
}

}  // namespace

int hero_panel_body_room(int rows, int title_lines, int skip) {
    // The drawing: title lines from kPanelTitleTop, the gap, then one line per skip while it ends inside.
    const int space = border_height(rows) - kPanelBottomUse - kPanelTitleTop - title_lines * skip - kPanelBodyGap;
    return space / std::max(skip, 1);
}

void open_hero_tooltip(HeroTooltipState& s, HsZone zone, const HeroState& hero, uint8_t artifact, TTF_Font* font,
                       TTF_Font* small_font) {
    fill_tooltip(s, zone, hero, artifact, font);
    if (s.title.empty()) return;
    if (small_font && !panel_fits(s, font)) {
        fill_tooltip(s, zone, hero, artifact, small_font);
        s.small_font = true;
    }
    lay_out(s, s.small_font ? small_font : font);
}

void draw_hero_tooltip_if_open(SDL_Renderer* r, const Resources& res, const HeroTooltipState& s, TTF_Font* font,
                               TTF_Font* small_font) {
    if (!r || !s.open) return;
    if (s.small_font && small_font) font = small_font;
    draw_buybuild_border(r, res, s.x, s.y, std::max(s.rows, 1));
    const int skip = line_skip(font);
    int y = s.y + kPanelTitleTop;
    for (const std::string& l : title_lines(s.title, font)) {
        text::centered_box(r, font, l, s.x, y, 286, kTitleColour);
        y += skip;
    }
    y += kPanelBodyGap;
    for (const std::string& l : s.lines) {
        if (!l.empty()) text::centered_box(r, font, l, s.x, y, 286, kBodyColour);
        y += skip;
    }
}

void open_artifact_info_dialog(ArtifactInfoDialog& d, uint8_t artifact, TTF_Font* font) {
    d.ok_pressed = false;
    d.title.clear();
    d.lines.clear();
    const ArtifactInfo* row = artifact == 255 || artifact == kMagicBook ? nullptr : artifact_info(artifact);
    if (!row) return;
    d.open = true;
    d.artifact = artifact;
    d.title = localized_artifact_name(artifact);
    d.lines = wrap_panel(artifact_body_text(row), font);
    // As many middle rows as the title, the lines and the OK button below them need; a text taller than
    // the screen keeps the lines the tallest frame holds, the last of them ending in "...".
    const int titles = (int)title_lines(d.title, font).size();
    const int around = kInfoTextTop + title_height(font) + (titles - 1) * info_line_skip(font) + 8 + kInfoButtonSpace;
    constexpr int kMostRows = (480 - border_height(0)) / kBorderRowH;
    text::keep_lines(font, d.lines, (border_height(kMostRows) - around) / info_line_skip(font), kPanelTextW);
    const int content = around + (int)d.lines.size() * info_line_skip(font);
    d.rows = std::clamp((content - border_height(0) + kBorderRowH - 1) / kBorderRowH, 1, kMostRows);
    d.height = border_height(d.rows);
    d.x = 177;
    d.y = (480 - d.height) / 2;
    d.ok_rect = SDL_Rect{287, d.y + d.height - 36, 66, 25};
}

bool handle_artifact_info_dialog(ArtifactInfoDialog& d, const SDL_Event& e) {
    if (!d.open) return false;
    const SDL_Rect& b = d.ok_rect;
    const auto inside = [&](int x, int y) { return x >= b.x && x < b.x + b.w && y >= b.y && y < b.y + b.h; };
    if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT && inside(e.button.x, e.button.y)) {
        d.ok_pressed = true;
    } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT && d.ok_pressed) {
        d.ok_pressed = false;
        if (inside(e.button.x, e.button.y)) d.open = false;
    }
    return true;  // every other event, keys included, is swallowed
}

void draw_artifact_info_dialog(SDL_Renderer* r, const Resources& res, const ArtifactInfoDialog& d, TTF_Font* font) {
    if (!r || !d.open) return;
    draw_buybuild_border(r, res, d.x, d.y, d.rows);
    const int fh = title_height(font);
    const int skip = info_line_skip(font);
    int y = d.y + kInfoTextTop;
    for (const std::string& l : title_lines(d.title, font)) {
        text::centered_box(r, font, l, d.x, y, 286, kTitleColour);
        y += skip;
    }
    y += fh - skip + 8;
    for (const std::string& l : d.lines) {
        text::centered_box(r, font, l, d.x, y, 286, kBodyColour);
        y += skip;
    }
    if (!blit_frame_into(r, res.system_btn, d.ok_pressed ? 10 : 9, d.ok_rect)) {
        fill_rect(r, d.ok_rect, d.ok_pressed ? SDL_Color{120, 140, 40, 255} : SDL_Color{180, 140, 40, 255});
        outline_rect(r, d.ok_rect, SDL_Color{220, 190, 60, 255});
        if (font)
            text::centered_box(r, font, text_of("DIALOG_OK"), d.ok_rect.x, d.ok_rect.y + (d.ok_rect.h - fh) / 2,
                               d.ok_rect.w, SDL_Color{255, 255, 255, 255});
    }
}

}  // namespace vorn1
