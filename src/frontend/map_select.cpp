#include "frontend/map_select.h"

#include <algorithm>

#include "assets/dialog_utils.h"
#include "assets/text_encoding.h"
#include "assets/text_render.h"
#include "assets/title_sea_cycle.h"
#include "frontend/frontend_common.h"
#include "frontend/localized_texts.h"
#include "frontend/map_discovery.h"
#include "lang/runtime_strings.h"

namespace vorn1 {

std::string fitted_map_label(TTF_Font* font, const std::vector<MapFileInfo>& maps, int index, int width) {
    const std::string label = map_list_label(maps, index);
    if (text::measure(font, label).x <= width) return label;
    const MapFileInfo& m = maps[(size_t)index];
    const std::string name = localized_map_name(m.stem, m.name);
    if (label.size() <= name.size()) return text::fit_chars_marked(font, label, width);
    // Two maps share the name. The name is what the player reads, so the file's name gives way:
    // first its extension (every file of the list has the same), then its start, since names of a
    // series differ at the end (KITBAT1, KITBAT2).
    const auto fits = [&](const std::string& file) { return text::measure(font, name + " (" + file + ")").x <= width; };
    const std::string& stem = m.stem;
    if (fits(stem)) return name + " (" + stem + ")";
    for (std::size_t cut = 1; cut < stem.size(); ++cut) {
        if (text::is_utf8_continuation(stem[cut])) continue;  // not inside a UTF-8 letter
        const std::string file = ".." + stem.substr(cut);
        if (fits(file)) return name + " (" + file + ")";
    }
    return text::fit_chars_marked(font, name, width);
}

int map_list_row_height(TTF_Font* font) {
    const int h = font ? TTF_FontLineSkip(font) : 0;
    return h < 1 ? 16 : h;
}

MapListView MapListView::open(int count, int row_height, int initial) {
    MapListView v;
    v.count = count;
    v.visible = row_height >= 1 ? 194 / row_height : 12;
    if (initial < 0) {
        v.selection = 0;
        v.top = 0;
    } else {
        v.selection = initial;
        v.top = initial < v.visible ? 0 : initial - v.visible + 1;
    }
    return v;
}

void MapListView::key_up() {
    if (selection >= 1) --selection;
    top = std::min(top, selection);
}

void MapListView::key_down() {
    if (selection < count - 1) ++selection;
    if (selection >= top + visible) top = selection - visible + 1;
}

void MapListView::wheel(int dy) {
    const int range = count - visible;
    top = range < 0 ? 0 : std::clamp(top - dy, 0, range);
}

void MapListView::track_click(int y) {
    top = 0;
    const int range = count - visible;
    if (range < 0) return;
    const double t = static_cast<double>(y - 54) / 162.0 * range + 0.5;
    top = std::clamp(static_cast<int>(t), 0, range);
}

int MapListView::row_at(int y, int row_height) const { return top + (y - 44) / row_height; }

const char* map_size_key(int size) {
    return size == 0 ? "NEWGAME_SMALL" : size == 1 ? "NEWGAME_MEDIUM" : "NEWGAME_LARGE";
}

const char* map_difficulty_key(int difficulty) {
    switch (difficulty) {
    case 0: return "NEWGAME_EASY";
    case 1: return "NEWGAME_NORMAL";
    case 2: return "NEWGAME_TOUGH";
    default: return "NEWGAME_IMPOSSIBLE";
    }
}

int run_map_select_screen(SDL_Renderer* renderer, AggArchive& archive, const Palette& palette, TTF_Font* font,
                          SDL_Texture* background, const std::vector<MapFileInfo>& maps, int initial,
                          TitleSeaCycle* sea) {
    OwnedTexture request(load_bmp_tex(renderer, archive, palette, "REQUEST.BMP"));
    OwnedTexture extra(load_bmp_tex(renderer, archive, palette, "REQEXTRA.BMP"));
    OwnedFrames scroll(load_icn_frames(renderer, archive, palette, "SCROLL.ICN"));
    OwnedFrames icons(load_icn_frames(renderer, archive, palette, "NEWGAME.ICN"));
    const SDL_Point rq = tex_size(request.tex);
    const int W = rq.x, H = rq.y, EW = tex_size(extra.tex).x;
    SDL_Point b{0, 0};
    if (icons.count() >= 25 && icons.at(23)) b = tex_size(icons.at(23));
    const int BW = b.x, BH = b.y;
    const int row_h = map_list_row_height(font);
    const int N = static_cast<int>(maps.size());
    MapListView view = MapListView::open(N, font && TTF_FontLineSkip(font) >= 1 ? row_h : 0, initial);
    const SDL_Rect ok{348, H - 27 - BH, BW, BH};
    const SDL_Rect cancel{W + 276 - BW, H - 27 - BH, BW, BH};
    int result = -1;
    bool ok_pressed = false, cancel_pressed = false, running = true;
    const SDL_Color gold{255, 215, 0, 255}, grey{200, 200, 200, 255}, white{255, 255, 255, 255};
    auto valid = [&](int i) { return i >= 0 && i < N; };

    while (running) {
        SDL_Event e;
        while (running && SDL_PollEvent(&e)) {
            if (e.type == SDL_QUIT) {
                hand_on_quit_request();  // the set-up page beneath decides
                result = -1;
                running = false;
            } else if (e.type == SDL_KEYDOWN) {
                if (ng_try_fullscreen_key(e)) continue;
                switch (e.key.keysym.sym) {
                case SDLK_RETURN:  // only Return takes the map, not the keypad's Enter
                    result = view.selection;
                    running = false;
                    break;
                case SDLK_ESCAPE:
                    result = -1;
                    running = false;
                    break;
                case SDLK_UP: view.key_up(); break;
                case SDLK_DOWN: view.key_down(); break;
                default: break;
                }
            } else if (e.type == SDL_MOUSEWHEEL) {
                view.wheel(e.wheel.y);
            } else if (e.type == SDL_MOUSEBUTTONDOWN && e.button.button == SDL_BUTTON_LEFT) {
                const int x = e.button.x, y = e.button.y;
                if (x >= 366 && x <= W + 255 && y >= 44 && y <= 237) {
                    const int row = view.row_at(y, row_h);
                    if (valid(row)) view.selection = row;
                }
                if (x >= W + 275 && x <= W + 294 && y >= 54 && y <= 215) view.track_click(y);
                if (BW > 0 && point_in(ok, x, y)) ok_pressed = true;
                if (BW > 0 && point_in(cancel, x, y)) cancel_pressed = true;
            } else if (e.type == SDL_MOUSEBUTTONUP && e.button.button == SDL_BUTTON_LEFT) {
                if (ok_pressed && point_in(ok, e.button.x, e.button.y)) {
                    result = view.selection;
                    running = false;
                } else if (cancel_pressed) {
                    result = -1;
                    running = false;
                }
                ok_pressed = cancel_pressed = false;
            }
        }
        if (!running) break;

        // Backdrop.
        const SDL_Rect full{0, 0, 640, 480};
        if (sea) sea->tick(SDL_GetTicks());
        if (sea && sea->active && sea->texture) {
            SDL_RenderCopy(renderer, sea->texture, nullptr, &full);
        } else if (background) {
            SDL_RenderCopy(renderer, background, nullptr, &full);
        } else {
            SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
            SDL_RenderClear(renderer);
        }
        if (request.tex) {
            blit(renderer, request.tex, 312, 0);
        } else {
            fill_rect(renderer, {312, 0, 161, 300}, {30, 30, 30, 255});
        }
        if (extra.tex) blit(renderer, extra.tex, 312, H - 12);
        if (font) {
            text::centered_box(renderer, font, strings().get("LOAD_FILE_TITLE"), 312, 18, W, gold);
            const SDL_Rect clip{366, 44, W - 110, 194};
            SDL_RenderSetClipRect(renderer, &clip);
            for (int i = 0; i < view.visible && view.top + i < N; ++i) {
                const int idx = view.top + i, y = 44 + i * row_h;
                const bool sel = idx == view.selection;
                if (sel) fill_rect(renderer, {366, y, W - 110, row_h}, {0, 180, 0, 30});
                text::at(renderer, font, fitted_map_label(font, maps, idx, W - 118), 370, y,
                         sel ? SDL_Color{150, 255, 50, 255} : white);
            }
            SDL_RenderSetClipRect(renderer, nullptr);
        }
        if (N > view.visible && scroll.at(4))
            blit(renderer, scroll.at(4), W + 275,
                 54 + static_cast<int>(static_cast<double>(view.top) / (N - view.visible) * 162.0));
        if (font && valid(view.selection))
            text::centered_box(renderer, font, fitted_map_label(font, maps, view.selection, 156), 354, 256, 160, gold);
        blit(renderer, icons.at(ok_pressed && icons.count() >= 25 ? 24 : 23), ok.x, ok.y);
        blit(renderer, icons.at(cancel_pressed && icons.count() >= 23 ? 22 : 21), cancel.x, cancel.y);
        if (font && extra.tex && valid(view.selection)) {
            const MapFileInfo& m = maps[view.selection];
            text::at(renderer, font, strings().get(map_size_key(m.size)), 362, H + 22, grey);
            text::at(renderer, font, strings().get(map_difficulty_key(m.difficulty)), 497, H + 22, grey);
            // The description stays inside the lower panel, and on the screen.
            const int top = H + 53, bottom = std::min(H - 12 + tex_size(extra.tex).y - 8, 480);
            text::wrapped_in_box(renderer, font, localized_map_desc(m.stem, m.description), 342, top,
                                 EW >= 1 ? EW - 32 : 128, bottom - top, white);
        }
        frontend_present(renderer);
    }
    return result;
}

}  // namespace vorn1
