// Drawing of the event dialogs. Without the asset cache the frame and buttons are drawn as
// plain filled rectangles so a dialog stays usable.
#include <algorithm>
#include <cstdio>

#include "assets/dialog_utils.h"
#include "assets/resources.h"
#include "assets/text_render.h"
#include "events/event.h"

namespace vorn1 {

namespace {

constexpr SDL_Color kTitle{255, 220, 80, 255};
constexpr SDL_Color kText{230, 230, 230, 255};
constexpr SDL_Color kFrameFill{72, 48, 24, 255};
constexpr SDL_Color kFrameEdge{200, 160, 60, 255};
constexpr SDL_Color kButtonUp{180, 140, 40, 255};
constexpr SDL_Color kButtonDown{120, 140, 40, 255};

void fill(SDL_Renderer* r, const SDL_Rect& rc, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderFillRect(r, &rc);
}

void outline(SDL_Renderer* r, const SDL_Rect& rc, SDL_Color c) {
    SDL_SetRenderDrawColor(r, c.r, c.g, c.b, c.a);
    SDL_RenderDrawRect(r, &rc);
}

}  // namespace

SDL_Texture* EventSystem::icon_texture(const std::string& icn, int frame) const {
    if (icon_provider) return icon_provider(icn, frame);
    if (!res_) return nullptr;
    if (icn == "RESOURCE.ICN") return res_->resource.at(frame);
    if (icn == "ARTIFACT.ICN") return res_->artifact.at(frame);
    if (icn == "MONS32.ICN") return res_->mons32.at(frame);
    int portrait = -1;
    if (std::sscanf(icn.c_str(), "PORT%04d.ICN", &portrait) == 1 && portrait >= 0 && portrait < 36)
        return res_->portraits[portrait];
    return nullptr;
}

void EventSystem::draw_buybuild_border(SDL_Renderer* r, int x, int y, int w, int h) const {
    if (!r || w <= 0 || h <= 0) return;
    if (res_ && res_->buybuild.at(0)) {
        vorn1::draw_buybuild_frame(r, *res_, x, y, h, w);
        return;
    }
    fill(r, {x, y, w, h}, kFrameFill);
    outline(r, {x, y, w, h}, kFrameEdge);
}

std::vector<std::pair<SDL_Texture*, std::string>> EventSystem::dialog_pictures(const Dialog& d) const {
    std::vector<std::pair<SDL_Texture*, std::string>> pics;
    if (d.crest) pics.push_back({d.crest, ""});
    if (d.crest2) pics.push_back({d.crest2, ""});
    if (d.picture) pics.push_back({d.picture, ""});
    for (const EventIcon& ic : d.def.icons) pics.push_back({icon_texture(ic.icn, ic.frame), ic.label});
    return pics;
}

void EventSystem::draw(SDL_Renderer* r) {
    if (!r || !dialog_open) return;
    Dialog& d = dialog_;
    const DialogLayout& l = d.layout;
    draw_buybuild_border(r, l.x, l.y, l.w, l.h);

    const int line_h = font_ ? TTF_FontLineSkip(font_) : 16;
    for (size_t i = 0; i < d.title_lines.size(); ++i)
        text::centered_box(r, font_, d.title_lines[i], l.x, l.title_y + static_cast<int>(i) * line_h, l.w, kTitle);
    for (int i = 0; i < l.lines_shown && i < static_cast<int>(d.lines.size()); ++i)
        text::centered_box(r, font_, d.lines[static_cast<size_t>(i)], l.x, l.text_y + i * line_h, l.w, kText);
    int px = l.picture_x;
    for (const auto& [tex, label] : dialog_pictures(d)) {
        if (tex) {
            int tw = 0, th = 0;
            SDL_QueryTexture(tex, nullptr, nullptr, &tw, &th);
            tw = std::min({tw, kDialogPictureMaxW, l.slot_w - 6});
            th = std::min(th, kDialogPictureMaxH);
            SDL_Rect dst{px + (l.slot_w - tw) / 2, l.picture_y, tw, th};
            SDL_RenderCopy(r, tex, nullptr, &dst);
        }
        if (!label.empty())
            text::centered_box(r, small_font_ ? small_font_ : font_, label, px, l.label_y, l.slot_w, kText);
        px += l.slot_w;
    }
    for (size_t i = 0; i < d.def.buttons.size() && i < l.buttons.size(); ++i) {
        const SDL_Rect& b = l.buttons[i];
        const bool pressed = d.pressed == static_cast<int>(i);
        const int cx = b.x + b.w / 2;
        if (res_ && res_->system_btn.at(system_button_frame(d.def.buttons[i], pressed))) {
            // The real button picture decides the hit area from now on.
            d.layout.buttons[i] = draw_system_button(r, *res_, d.def.buttons[i], cx, b.y, pressed, font_);
        } else {
            fill(r, b, pressed ? kButtonDown : kButtonUp);
            outline(r, b, kFrameEdge);
        }
    }
}

}  // namespace vorn1
