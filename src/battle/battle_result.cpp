// The result overlay's rules: the quick-combat preview, its timers and its input.
#include <SDL_mixer.h>

#include <algorithm>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "battle/battle_screen.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

std::vector<std::pair<uint8_t, int32_t>> casualty_pairs(const uint8_t* ids, const int32_t* casualties) {
    std::vector<std::pair<uint8_t, int32_t>> out;
    for (int i = 0; i < 5; ++i)
        if (ids[i] != kNoCreature && casualties[i] > 0) out.emplace_back(ids[i], casualties[i]);
    return out;
}

std::vector<std::string> result_lines(ResultKind kind, const ResultSubject& who, int experience) {
    const StringTable& t = strings();
    const bool named = !who.name.empty();
    switch (kind) {
        case ResultKind::Victory: {
            if (!who.hero) return {};
            std::string exp = t.format("BATTLE_RECEIVES_EXP2", {std::to_string(experience)});
            if (!named) return {exp};
            return {t.format("BATTLE_FOR_VALOR2", {who.name}), exp};
        }
        case ResultKind::Retreat:
            return {named      ? t.format("BATTLE_COWARDLY_FLEES", {who.name})
                    : who.own ? t.get("BATTLE_HERO_FALLBACK")
                              : t.get_or("BATTLE_ENEMY_HERO_FLEES", "The enemy hero flees"),
                    t.get("BATTLE_FROM_BATTLE")};
        case ResultKind::Surrender:
            return {named      ? t.format("BATTLE_SURRENDERS_TO", {who.name})
                    : who.own ? t.get("BATTLE_YOUR_HERO")
                              : t.get_or("BATTLE_ENEMY_HERO_SURRENDERS", "The enemy hero surrenders,"),
                    t.get("BATTLE_ENEMY_DEPARTS")};
        case ResultKind::Defeat:
            if (!who.hero) return {t.get_or("BATTLE_FORCES_DEFEATED", "Your forces suffer a bitter defeat.")};
            return {t.get("BATTLE_YOUR_FORCES_BITTER"),
                    named ? t.format("BATTLE_DEFEAT_AND", {who.name}) : t.get("BATTLE_YOUR_HERO_LC"),
                    t.get("BATTLE_ABANDONS")};
    }
    return {};
}

FittedLines fit_column_lines(const std::vector<std::string>& lines, int width, TTF_Font* main, TTF_Font* small) {
    if (!small) small = main;
    const auto fits = [width](TTF_Font* f, const std::vector<std::string>& ls) {
        return std::all_of(ls.begin(), ls.end(), [&](const std::string& l) { return text::measure(f, l).x <= width; });
    };
    if (!main || fits(main, lines)) return {main, lines};
    std::string sentence;
    for (const std::string& l : lines)
        if (!l.empty()) sentence += (sentence.empty() ? "" : " ") + l;
    for (TTF_Font* f : {main, small}) {
        std::vector<std::string> wrapped = text::wrap_pixels(f, sentence, width);
        if (wrapped.size() <= lines.size() && fits(f, wrapped)) return {f, wrapped};
    }
    std::vector<std::string> wrapped = text::wrap_pixels(small, sentence, width);
    wrapped.resize(std::min(wrapped.size(), lines.size()));
    for (std::string& l : wrapped) l = text::fit_width(small, l, width);
    return {small, wrapped};
}

void layout_preview_buttons(SDL_Point accept_size, SDL_Point decline_size, SDL_Rect& accept, SDL_Rect& decline) {
    const int gap = (304 - (accept_size.x + decline_size.x)) / 2;
    const int y = 444 - std::max(accept_size.y, decline_size.y);
    accept = SDL_Rect{gap + 160, y, accept_size.x, accept_size.y};
    decline = SDL_Rect{accept_size.x + gap + 176, y, decline_size.x, decline_size.y};
}

void BattleScreen::open_autobattle_preview(const std::string& title, int experience,
                                           const std::array<uint8_t, 5>& att_ids,
                                           const std::array<int32_t, 5>& att_before,
                                           const std::array<int32_t, 5>& att_after,
                                           const std::array<uint8_t, 5>& def_ids,
                                           const std::array<int32_t, 5>& def_before,
                                           const std::array<int32_t, 5>& def_after, SDL_Texture* portrait) {
    outcome = OutcomeAttackerWon;
    attacker_won = 1;
    result_experience = experience;
    for (int i = 0; i < 5; ++i) {
        casualty_ids[i] = att_ids[i];
        casualties[i] = std::max(0, att_before[i] - std::max(att_after[i], 0));
        casualty_ids[5 + i] = def_ids[i];
        casualties[5 + i] = std::max(0, def_before[i] - std::max(def_after[i], 0));
    }
    if (result_screen.preview_portrait && result_screen.preview_portrait != portrait)
        SDL_DestroyTexture(result_screen.preview_portrait);
    result_screen = BattleResultState{};
    result_screen.preview_portrait = portrait;
    result_screen.preview_title = title;
    result_screen.preview = 1;
    if (res) {
        auto size_of = [&](int frame) {
            const SDL_Point p = res->system_btn.size(frame);
            return res->system_btn.at(frame) ? p : SDL_Point{96, 25};
        };
        layout_preview_buttons(size_of(5), size_of(7), result_screen.accept_rect, result_screen.decline_rect);
    }
    overlay = BattleOverlay::Result;
    active = 1;
    if (SDL_WasInit(SDL_INIT_VIDEO)) SDL_ShowCursor(SDL_DISABLE);
}

void BattleScreen::tick_result_screen(float dt_ms) {
    BattleResultState& r = result_screen;
    if (r.open_ms < kResultInputDelayMs) r.open_ms += dt_ms;
    if (result_kind() == ResultKind::Victory) {
        r.victory_ms += dt_ms;
        while (r.victory_ms >= 83.0f) {
            r.victory_ms -= 83.0f;
            r.victory_frame = (r.victory_frame + 1) % 6;
        }
        return;
    }
    r.strip_x += dt_ms / 1000.0f * 20.0f;
    r.strip_ms += dt_ms;
    const int walk_frames =
        battle_res && !battle_res->lose_walk_sprites.empty() ? static_cast<int>(battle_res->lose_walk_sprites.size()) : 8;
    while (r.strip_ms >= 125.0f) {
        r.strip_ms -= 125.0f;
        r.walk_frame = (r.walk_frame + 1) % walk_frames;
    }
    const int strip_w = battle_res ? battle_res->losecmbt_picture.w : 0;
    if (strip_w >= 1 && r.strip_x >= static_cast<float>(strip_w)) r.strip_x -= static_cast<float>(strip_w);
}

namespace {
bool inside(const SDL_Rect& r, int x, int y) { return x >= r.x && x < r.x + r.w && y >= r.y && y < r.y + r.h; }
}  // namespace

int BattleScreen::handle_result_event(const SDL_Event& e) {
    BattleResultState& r = result_screen;
    if (r.open_ms < kResultInputDelayMs) return 1;
    auto finish = [&](int answer) {
        r.preview_answer = static_cast<uint8_t>(answer);
        r.acknowledged = 1;
        if (Mix_QuerySpec(nullptr, nullptr, nullptr) != 0 && Mix_Playing(1)) Mix_HaltChannel(1);
        close();
    };
    const bool left = (e.type == SDL_MOUSEBUTTONDOWN || e.type == SDL_MOUSEBUTTONUP) && e.button.button == SDL_BUTTON_LEFT;
    if (r.preview) {
        if (left && e.type == SDL_MOUSEBUTTONDOWN) {
            if (inside(r.accept_rect, e.button.x, e.button.y)) r.accept_pressed = 1;
            if (inside(r.decline_rect, e.button.x, e.button.y)) r.decline_pressed = 1;
        } else if (left) {
            const bool accept = r.accept_pressed && inside(r.accept_rect, e.button.x, e.button.y);
            const bool decline = r.decline_pressed && inside(r.decline_rect, e.button.x, e.button.y);
            r.accept_pressed = r.decline_pressed = 0;
            if (accept) finish(1);
            else if (decline) finish(0);
        } else if (e.type == SDL_KEYDOWN) {
            const int answer = e.key.keysym.sym == SDLK_SPACE ? 1 : confirm_key(e);
            if (answer >= 0) finish(answer);
        }
        return 1;
    }
    if (left && e.type == SDL_MOUSEBUTTONDOWN) {
        if (inside(r.done_rect, e.button.x, e.button.y)) r.done_pressed = 1;
    } else if (left) {
        if (r.done_pressed) finish(0);
    } else if (close_key(e) || (e.type == SDL_KEYDOWN && e.key.keysym.sym == SDLK_SPACE)) {
        finish(0);
    }
    return 1;
}

}  // namespace vorn1
