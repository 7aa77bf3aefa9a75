#include "assets/text_render.h"

#include <algorithm>

#include "assets/text_encoding.h"

namespace vorn1::text {

namespace {

bool drawable(SDL_Renderer* r, TTF_Font* font, const std::string& text) {
    return r != nullptr && font != nullptr && !text.empty();
}

// Renders one line with its top-left at (x, y).
void blit_line(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    SDL_Surface* surf = TTF_RenderUTF8_Blended(font, text.c_str(), colour);
    if (!surf) return;
    SDL_Texture* tex = SDL_CreateTextureFromSurface(r, surf);
    if (tex) {
        SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
        SDL_Rect dst{x, y, surf->w, surf->h};
        SDL_RenderCopy(r, tex, nullptr, &dst);
        SDL_DestroyTexture(tex);
    }
    SDL_FreeSurface(surf);
}

}  // namespace

int line_skip(TTF_Font* font) {
    int skip = TTF_FontLineSkip(font);
    return skip > 0 ? skip : TTF_FontHeight(font);
}

SDL_Point measure(TTF_Font* font, const std::string& text) {
    SDL_Point size{0, 0};
    if (!font || text.empty()) return size;
    if (TTF_SizeUTF8(font, text.c_str(), &size.x, &size.y) != 0) return SDL_Point{0, 0};
    return size;
}

TTF_Font* column_font(const std::vector<std::string>& lines, int width, int top, int bottom, int gap, TTF_Font* main,
                      TTF_Font* small) {
    if (!small) return main;
    if (!main) return small;
    const int n = static_cast<int>(lines.size());
    if (n > 0 && top + (n - 1) * (TTF_FontLineSkip(main) + gap) + TTF_FontHeight(main) > bottom) return small;
    for (const std::string& line : lines)
        if (measure(main, line).x > width) return small;
    return main;
}

void at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour) {
    blit_line(r, font, text, x, y, colour);
}

void centered_cx(SDL_Renderer* r, TTF_Font* font, const std::string& text, int cx, int y, SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    blit_line(r, font, text, cx - measure(font, text).x / 2, y, colour);
}

void centered_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w,
                  SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    blit_line(r, font, text, x + (w - measure(font, text).x) / 2, y, colour);
}

void centered_xy(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
                 SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    SDL_Point size = measure(font, text);
    blit_line(r, font, text, x + (w - size.x) / 2, y + (h - size.y) / 2, colour);
}

void right_in(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, SDL_Color colour,
              int margin) {
    if (!drawable(r, font, text)) return;
    blit_line(r, font, text, x + w - measure(font, text).x - margin, y, colour);
}

void right_at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour,
              int margin) {
    if (!drawable(r, font, text)) return;
    blit_line(r, font, text, x - margin - measure(font, text).x, y, colour);
}

void right_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
               SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    SDL_Point size = measure(font, text);
    blit_line(r, font, text, x + w - size.x, y + (h - size.y) / 2, colour);
}

std::vector<std::string> wrap_pixels(TTF_Font* font, const std::string& text, int width) {
    std::vector<std::string> lines;
    if (!font || text.empty()) return lines;

    std::string line;
    bool line_open = false;  // an explicit line feed can leave an empty line open
    auto flush = [&] {
        if (line_open || !line.empty()) lines.push_back(line);
        line.clear();
        line_open = false;
    };

    std::size_t i = 0;
    const std::size_t n = text.size();
    while (i < n) {
        char c = text[i];
        if (c == ' ') {
            ++i;
            continue;
        }
        if (c == '\n') {
            flush();
            line_open = true;
            ++i;
            continue;
        }
        std::size_t j = i;
        while (j < n && text[j] != ' ' && text[j] != '\n') ++j;
        std::string word = text.substr(i, j - i);
        i = j;  // always advances past the word
        if (line.empty()) {
            line = std::move(word);
            continue;
        }
        std::string candidate = line + " " + word;
        if (measure(font, candidate).x <= width) {
            line = std::move(candidate);
        } else {
            lines.push_back(line);
            line = std::move(word);
        }
        line_open = false;
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

std::vector<std::string> split_word(TTF_Font* font, const std::string& word, int width) {
    if (!font || measure(font, word).x <= width) return {word};
    std::vector<std::string> pieces;
    std::string rest = word;
    while (!rest.empty()) {
        std::string piece = fit_chars(font, rest, width);
        if (piece.size() == rest.size()) {
            pieces.push_back(std::move(rest));
            break;
        }
        // At least one character a piece, however narrow the width.
        if (piece.empty()) piece = rest.substr(0, std::max<std::size_t>(1, utf8_char_length(rest, 0)));
        // A path breaks after a folder's "/" inside the piece, so the file's name stays whole.
        const std::size_t slash = piece.rfind('/');
        if (slash != std::string::npos && slash > 0) piece.resize(slash + 1);
        rest.erase(0, piece.size());
        pieces.push_back(std::move(piece));
    }
    return pieces;
}

std::vector<std::string> wrap_within(TTF_Font* font, const std::string& text, int width) {
    std::vector<std::string> out;
    for (const std::string& line : wrap_pixels(font, text, width))
        for (std::string& piece : split_word(font, line, width)) out.push_back(std::move(piece));
    return out;
}

bool word_stays_whole(TTF_Font* font, const std::string& word, int width) {
    const std::vector<std::string> pieces = split_word(font, word, width);
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
        if (pieces[i].back() != '/') return false;
    return !font || measure(font, pieces.back()).x <= width;
}

TTF_Font* font_keeping_words(const std::vector<std::string>& words, int width, TTF_Font* main, TTF_Font* small) {
    if (!small || !main) return main ? main : small;
    for (const std::string& word : words)
        if (!word_stays_whole(main, word, width)) return small;
    return main;
}

std::string fit_chars(TTF_Font* font, const std::string& text, int width) {
    if (!font) return std::string();
    std::size_t fits = 0;
    for (std::size_t next = 1; next <= text.size(); ++next) {
        while (next < text.size() && is_utf8_continuation(text[next])) ++next;
        if (measure(font, text.substr(0, next)).x > width) break;
        fits = next;
    }
    return text.substr(0, fits);
}

std::string fit_chars_marked(TTF_Font* font, const std::string& text, int width) {
    if (!font) return std::string();
    if (measure(font, text).x <= width) return text;
    std::string start = fit_chars(font, text, width - measure(font, "...").x);
    while (!start.empty() && start.back() == ' ') start.pop_back();
    return start + "...";
}

std::string fit_width(TTF_Font* font, const std::string& text, int width) {
    if (!font) return std::string();
    if (measure(font, text).x <= width) return text;
    std::string best;
    for (std::size_t space = text.find(' '); space != std::string::npos; space = text.find(' ', space + 1)) {
        const std::size_t end = text.find_last_not_of(' ', space);
        if (end == std::string::npos) continue;
        const std::string head = text.substr(0, end + 1);
        if (measure(font, head).x > width) break;
        best = head;
    }
    return best.empty() ? fit_chars(font, text, width) : best;
}

void keep_lines(TTF_Font* font, std::vector<std::string>& lines, int room, int width) {
    const std::size_t keep = static_cast<std::size_t>(std::max(room, 0));
    if (lines.size() <= keep) return;
    lines.resize(keep);
    if (keep == 0) return;
    std::string& last = lines.back();
    last = (font ? fit_width(font, last, width - measure(font, "...").x) : last) + "...";
}

std::vector<std::string> wrap_in_box(TTF_Font* font, const std::string& text, int width, int height) {
    std::vector<std::string> lines = wrap_pixels(font, text, width);
    if (lines.empty()) return lines;
    for (std::string& line : lines) line = fit_width(font, line, width);
    keep_lines(font, lines, height / line_skip(font), width);
    return lines;
}

void draw_lines_box(SDL_Renderer* r, TTF_Font* font, const std::vector<std::string>& lines, int x, int y, int w,
                    SDL_Color colour) {
    if (!r || !font || lines.empty()) return;
    const int skip = line_skip(font);
    for (const std::string& line : lines) {
        centered_box(r, font, line, x, y, w, colour);
        y += skip;
    }
}

void wrapped_in_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
                    SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    const int skip = line_skip(font);
    for (const std::string& line : wrap_in_box(font, text, w, h)) {
        blit_line(r, font, line, x, y, colour);
        y += skip;
    }
}

void wrapped_at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    const int skip = line_skip(font);
    for (const std::string& line : wrap_pixels(font, text, w)) {
        blit_line(r, font, line, x, y, colour);
        y += skip;
    }
}

void wrapped_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w,
                 SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    draw_lines_box(r, font, wrap_pixels(font, text, w), x, y, w, colour);
}

void wrapped_centered_cx(SDL_Renderer* r, TTF_Font* font, const std::string& text, int cx, int y, int width,
                         SDL_Color colour) {
    if (!drawable(r, font, text)) return;
    const int skip = line_skip(font);
    for (const std::string& line : wrap_pixels(font, text, width)) {
        centered_cx(r, font, line, cx, y, colour);
        y += skip;
    }
}

}  // namespace vorn1::text
