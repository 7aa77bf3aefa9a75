#pragma once
#include <SDL.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace vorn1 {

// How the area changes from the old picture to the new one.
enum class DissolveMode : int {
    Cut = 0,        // the new picture at once
    Wipe = 1,       // column by column, left to right
    RandomCells = 2 // cell by cell in the mask's random order
};

// The cell grid of a dissolve with each cell's reveal phase in [0, 1).
class DissolveMask {
public:
    DissolveMask() = default;
    ~DissolveMask() { free_textures(); }
    DissolveMask(const DissolveMask&) = delete;
    DissolveMask& operator=(const DissolveMask&) = delete;

    // Sizes the grid for a w x h area in cells of `cell` pixels (the last row and column may be
    // partial) and orders the cells at random from a Mersenne Twister seeded with `seed`; cells
    // are revealed in groups of `group` (1 = one at a time). Sizes are clamped to sane bounds.
    void reset(int w, int h, int group, int cell, uint32_t seed);
    // The working texture of the last run.
    void free_textures();

    int width() const { return w_; }
    int height() const { return h_; }
    int cell() const { return cell_; }
    int cols() const { return cols_; }
    int rows() const { return rows_; }
    int cell_count() const { return cols_ * rows_; }
    // Reveal phase of cell (col, row) in [0, 1); 0 for a cell outside the grid.
    float phase(int col, int row) const;
    // Whether the cell shows the new picture at progress t in [0, 1] for a mode.
    bool revealed(DissolveMode mode, int col, int row, float t) const;

    SDL_Texture* work = nullptr;  // render target of the dissolving area

private:
    friend void dissolve_draw(SDL_Renderer*, DissolveMode, DissolveMask&, SDL_Texture*, SDL_Texture*,
                              const SDL_Rect&, float);
    int w_ = 0, h_ = 0, cell_ = 1, cols_ = 0, rows_ = 0;
    std::vector<float> phases_;
    std::vector<uint8_t> shown_;  // cells already copied into `work`
    SDL_Texture* last_from_ = nullptr;
    SDL_Texture* last_to_ = nullptr;
    float last_t_ = 0.0f;
};

// A new render-target texture of w x h into which `redraw` has drawn (cleared to black first);
// the previous render target is restored. Null when the texture cannot be made.
SDL_Texture* dissolve_capture(SDL_Renderer* renderer, int w, int h, const std::function<void()>& redraw);

// Draws the dissolving area at progress t: each cell from `from` or `to` (both the size of
// `rect`) into rect on the current target.
void dissolve_draw(SDL_Renderer* renderer, DissolveMode mode, DissolveMask& mask, SDL_Texture* from,
                   SDL_Texture* to, const SDL_Rect& rect, float t);

// Dissolves rect from `from` to `to` over `ms` milliseconds. Every frame: `below` draws the
// scene, the area is drawn over it, `above` draws what lies on top (a border), then the frame
// is presented. Returns after the frame that shows the whole new picture. Either callback may
// be empty.
void dissolve_run(SDL_Renderer* renderer, DissolveMode mode, DissolveMask& mask, SDL_Texture* from,
                  SDL_Texture* to, const SDL_Rect& rect, int ms, const std::function<void()>& below,
                  const std::function<void()>& above);

}  // namespace vorn1
