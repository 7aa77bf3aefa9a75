#pragma once
#include <SDL.h>
#include <SDL_ttf.h>

#include <string>
#include <vector>

namespace vorn1::text {

// Every function draws UTF-8 text blended at the font's own size, and draws nothing for a null
// renderer, a null font or an empty text.

// One line with its top-left corner at (x, y).
void at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour);
// One line centred on cx, top at y.
void centered_cx(SDL_Renderer* r, TTF_Font* font, const std::string& text, int cx, int y, SDL_Color colour);
// One line with its left edge at x + (w - text width) / 2, top at y.
void centered_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w,
                  SDL_Color colour);
// As centered_box, with the top at y + (h - text height) / 2.
void centered_xy(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
                 SDL_Color colour);
// One line with its left edge at x + w - text width - margin, top at y.
void right_in(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, SDL_Color colour,
              int margin);
// One line whose right edge lies margin pixels left of x.
void right_at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, SDL_Color colour,
              int margin);
// One line right-aligned in the rectangle and centred vertically.
void right_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
               SDL_Color colour);

// The text broken at spaces (and at line feeds) into lines no wider than `width` pixels; a word
// wider than that gets a line of its own. Empty for a null font or an empty text.
std::vector<std::string> wrap_pixels(TTF_Font* font, const std::string& text, int width);

// A word wider than `width` pixels (a file's path, a typed name) in pieces of whole characters, each
// at most `width` wide (a single wider character stands alone); a path breaks after a folder's "/"
// where one lies in the piece. The word itself when it fits or for a null font.
std::vector<std::string> split_word(TTF_Font* font, const std::string& word, int width);
// wrap_pixels with a word wider than `width` in split_word's pieces, so no line is wider (a single
// character wider than the width still stands alone).
std::vector<std::string> wrap_within(TTF_Font* font, const std::string& text, int width);
// True when split_word keeps every part of the word whole: the word fits the width, or it is a path
// whose folders and file name each fit (it breaks only after a "/"). True for a null font.
bool word_stays_whole(TTF_Font* font, const std::string& word, int width);
// The font to set these words in lines of `width`: `main` when it keeps each of them whole, else
// `small` (a file's name that `main` would cut may stand whole in it); `main` without a small font.
TTF_Font* font_keeping_words(const std::vector<std::string>& words, int width, TTF_Font* main, TTF_Font* small);

// The text when it is at most `width` pixels wide; else its longest start that is: cut after a
// whole word, or after a whole character when not even the first word fits. Empty for a null font.
std::string fit_width(TTF_Font* font, const std::string& text, int width);
// The longest start of the text of whole characters at most `width` pixels wide (a name, which is
// recognised by its start). Empty for a null font.
std::string fit_chars(TTF_Font* font, const std::string& text, int width);
// The text when it is at most `width` pixels wide; else the longest start fit_chars keeps beside a
// "..." that marks the cut (a title must not pass for whole). Empty for a null font.
std::string fit_chars_marked(TTF_Font* font, const std::string& text, int width);
// Keeps the first `room` lines; when that leaves some out, the last kept one ends in "..." within
// `width` (words, else characters, give way to it), so a cut never passes unseen.
void keep_lines(TTF_Font* font, std::vector<std::string>& lines, int room, int width);
// wrap_pixels with every line fitted to the width, and only as many lines as fit in `height` (the
// last marked when some are left out).
std::vector<std::string> wrap_in_box(TTF_Font* font, const std::string& text, int width, int height);

// wrap_in_box's lines drawn from (x, y) down, one line skip apart.
void wrapped_in_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, int h,
                    SDL_Color colour);
// Wrapped to w and drawn from (x, y) down, one line skip apart.
void wrapped_at(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w, SDL_Color colour);
// Wrapped to w and drawn from y down, each line centred in the box of width w at x.
void wrapped_box(SDL_Renderer* r, TTF_Font* font, const std::string& text, int x, int y, int w,
                 SDL_Color colour);
// Wrapped to width and drawn from y down, each line centred on cx.
void wrapped_centered_cx(SDL_Renderer* r, TTF_Font* font, const std::string& text, int cx, int y, int width,
                         SDL_Color colour);
// The lines drawn from y down one line skip apart, each centred in the box of width w at x.
void draw_lines_box(SDL_Renderer* r, TTF_Font* font, const std::vector<std::string>& lines, int x, int y, int w,
                    SDL_Color colour);

// The font for a column of lines drawn from y = top down, one line skip plus `gap` apart: `main` when
// every line is at most `width` wide and the last ends at or above `bottom`, else `small` (the fonts
// the game ships may be wider than those a panel was laid out for); `main` when there is no small font.
TTF_Font* column_font(const std::vector<std::string>& lines, int width, int top, int bottom, int gap, TTF_Font* main,
                      TTF_Font* small);

// The distance from one line's top to the next's (the font's height when it reports no line skip).
int line_skip(TTF_Font* font);

// Width and height of one line (0, 0 for a null font or an empty text).
SDL_Point measure(TTF_Font* font, const std::string& text);

}  // namespace vorn1::text
