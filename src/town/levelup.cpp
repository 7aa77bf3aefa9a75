#include "town/levelup.h"

#include <algorithm>
#include <cstdio>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event.h"
#include "lang/runtime_strings.h"
#include "world/levels.h"

namespace vorn1 {

const std::array<const char*, 4> kStatKey = {"HERO_ATTACK_SKILL", "HERO_DEFENSE_SKILL", "HERO_SPELL_POWER",
                                             "HERO_KNOWLEDGE"};

namespace {
constexpr uint8_t kLevelUpType = 255;
constexpr int kPictureFrame = 18;
}  // namespace

EventDef levelup_event_def(const LevelUpEvent& ev) {
    const StringTable& t = strings();
    EventDef def;
    def.type = kLevelUpType;
    def.title = ev.levels_gained < 2 ? t.format("LEVELUP_GAINED_ONE", {ev.name})
                                     : t.format("LEVELUP_GAINED_MANY", {ev.name, std::to_string(ev.levels_gained)});
    int lines = 0;
    for (size_t i = 0; i < kStatKey.size(); ++i) {
        if (ev.gains[i] <= 0) continue;
        if (lines > 0) def.text += "\n";
        def.text += t.format("LEVELUP_STAT", {t.get(kStatKey[i]), std::to_string(ev.gains[i])});
        ++lines;
    }
    def.buttons = {EVENT_BUTTON_OK};
    def.mode = 3 + std::max(lines - 1, 0);
    def.sound = "VELDAR18.82M";
    char icn[32];
    std::snprintf(icn, sizeof icn, "PORT%04d.ICN", static_cast<int>(ev.portrait));
    def.icons.push_back(EventIcon{icn, 0, ""});
    return def;
}

void LevelUpSystem::try_open_next(EventSystem& events, const Resources& res, SDL_Rect area) {
    try_open_next(events, &res, area);
}

void LevelUpSystem::try_open_next(EventSystem& events, const Resources* res, SDL_Rect area) {
    if (queue.empty() || events.dialog_open) return;
    const LevelUpEvent& front = queue.front();
    const EventDef def = levelup_event_def(front);
    events.register_def(def);
    SDL_Texture* picture =
        res && res->townwind.count() > kPictureFrame ? res->townwind.at(kPictureFrame) : nullptr;
    events.open_levelup_dialog(def, area, front.hero, -1, -1, picture, [this](EventResult) {
        if (!queue.empty()) queue.pop_front();
    });
}

void LevelUpSystem::draw_exp_info_box(SDL_Renderer* r, const Resources& res, const GameState& game, int hero,
                                      SDL_Rect area, TTF_Font* font) const {
    if (!r || !game.valid_hero(hero)) return;
    const HeroState& h = game.heroes[static_cast<size_t>(hero)];
    const int x = area.x + (area.w - kBorderWidth) / 2;
    const int y = area.y + (area.h - 170) / 2;
    draw_buybuild_border(r, res, x, y, 1);
    if (!font) return;
    const StringTable& t = strings();
    const int fh = TTF_FontHeight(font);
    const int top = y + kBorderTopH + (kBorderRowH - (3 * fh + 12)) / 2;
    constexpr SDL_Color kWhite{255, 255, 255, 255};
    const std::string lines[3] = {
        t.format("LEVELUP_LEVEL", {std::to_string(h.level)}),
        t.format("LEVELUP_CURRENT_XP", {std::to_string(h.experience)}),
        h.level < MAX_HERO_LEVEL ? t.format("LEVELUP_NEXT_LEVEL", {std::to_string(LEVEL_XP[h.level])})
                                 : t.get("LEVELUP_MAX"),
    };
    for (int i = 0; i < 3; ++i) text::centered_cx(r, font, lines[i], x + kBorderWidth / 2, top + i * (fh + 6), kWhite);
}

}  // namespace vorn1
