#include <string>

#include "assets/text_render.h"
#include "battle/battle_resources.h"
#include "world/creature_table.h"
#include "town/army_view.h"
#include "town/dialog_art.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kWhite{255, 255, 255, 255};
constexpr int kPictureHalf = 201;

}  // namespace

void ArmyViewSystem::render_text(const std::string& s, int x, int y, SDL_Color c, bool centre, int width,
                                 TTF_Font* font) {
    TTF_Font* f = font ? font : main_font;
    if (centre && width > 0) text::centered_box(renderer, f, s, x, y, width, c);
    else text::at(renderer, f, s, x, y, c);
}

SDL_Rect ArmyViewSystem::draw_viewarmy_bg() {
    const SDL_Rect p = kPanelRect;
    ensure_viewarmy_loaded();
    if (!frames.empty() && frames[0].tex) {
        blit_into(renderer, frames[0].tex, p);
    } else {
        fill_rect(renderer, p, SDL_Color{30, 30, 50, 230});
        outline_rect(renderer, p, SDL_Color{100, 100, 150, 255});
    }
    return p;
}

void ArmyViewSystem::draw_creature_and_count(const ArmyViewInfo& info, const SDL_Rect& panel, int tick) {
    if (battle_res && info.creature < battle_res->creatures.size()) {
        const auto& anim = battle_res->creatures[info.creature].anims[STD];
        if (!anim.empty()) {
            const int n = static_cast<int>(anim.size());
            const BattleSprite& f = anim[static_cast<size_t>(((tick % n) + n) % n)];
            if (f.tex) blit_into(renderer, f.tex, SDL_Rect{panel.x + (kPictureHalf - f.w) / 2 + 10, panel.y + 25, f.w, f.h});
        }
    }
    const int plate_x = panel.x + (kPictureHalf - 116) / 2;
    const int bottom = panel.y + panel.h;
    if (frames.size() > 1 && frames[1].tex)
        blit_into(renderer, frames[1].tex, SDL_Rect{plate_x, bottom - 53, frames[1].w, frames[1].h});
    render_text(std::to_string(info.count), plate_x, bottom - 43, SDL_Color{255, 255, 0, 255}, true, 142, main_font);
}

void ArmyViewSystem::draw_dialog(int tick) {
    if (!renderer || !view.open) return;
    const SDL_Rect panel = draw_viewarmy_bg();
    draw_creature_and_count(view, panel, tick);
    draw_stat_block(panel.x + 205, panel.y + 6, 193, view.creature, view.count, view.attack, view.defense,
                    view.morale, view.luck);

    auto frame = [this](int i) -> const ViewArmyFrame* {
        return i < static_cast<int>(frames.size()) && frames[static_cast<size_t>(i)].tex ? &frames[static_cast<size_t>(i)]
                                                                                           : nullptr;
    };
    if (const ViewArmyFrame* f = frame(exit_pressed ? 5 : 4)) {
        blit_into(renderer, f->tex, exit_rect);
    } else {
        fill_rect(renderer, exit_rect, SDL_Color{60, 60, 100, 255});
        render_text("EXIT", exit_rect.x, exit_rect.y + 6, kWhite, true, exit_rect.w, main_font);
    }
    if (read_only) return;
    if (const ViewArmyFrame* f = frame(dismiss_pressed ? 3 : 2)) {
        SDL_SetTextureAlphaMod(f->tex, dismiss_locked ? 128 : 255);
        blit_into(renderer, f->tex, dismiss_rect);
        SDL_SetTextureAlphaMod(f->tex, 255);
    } else {
        fill_rect(renderer, dismiss_rect, dismiss_locked ? SDL_Color{80, 80, 80, 255} : SDL_Color{60, 60, 100, 255});
        render_text("DISMISS", dismiss_rect.x, dismiss_rect.y + 6,
                    dismiss_locked ? SDL_Color{150, 150, 150, 255} : kWhite, true, dismiss_rect.w, main_font);
    }
}

void ArmyViewSystem::draw_tooltip() {
    if (!renderer || !tip.open) return;
    const SDL_Rect panel = draw_viewarmy_bg();
    draw_creature_and_count(tip, panel, 0);
    draw_stat_block(panel.x + 205, panel.y + 6, 193, tip.creature, tip.count, tip.attack, tip.defense, tip.morale,
                    tip.luck);
}

void ArmyViewSystem::draw_stat_block(int x, int y, int width, uint8_t creature, int count, int attack, int defense,
                                     int8_t morale, int8_t luck) {
    render_text(creature_name_nom(creature), x - 12, y + 11, SDL_Color{255, 215, 50, 255}, true, width, main_font);
    const std::vector<std::string> lines = army_view_stat_lines(creature, count, attack, defense, morale, luck);
    // The lines stay inside their column and above the buttons (the panel without buttons keeps the
    // same layout).
    const int first_y = y + 11 + (main_font ? TTF_FontLineSkip(main_font) : 14) + 4;
    TTF_Font* f = text::column_font(lines, width, first_y, kButtonTop, 2, main_font, small_font);
    const int step = f ? TTF_FontLineSkip(f) + 2 : 16;
    int line_y = first_y;
    for (const std::string& line : lines) {
        render_text(line, x - 12, line_y, kWhite, true, width, f);
        line_y += step;
    }
}

}  // namespace vorn1
