#pragma once
#include <SDL.h>

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "assets/palette.h"

namespace vorn1 {

class AggArchive;

// One cursor picture: RGBA bytes (R, G, B, A), width x height.
struct CursorFrame {
    int w = 0;
    int h = 0;
    std::vector<uint8_t> pixels;
};

// The colour mouse cursors, rebuilt at the window's scale factor so they keep their size.
class CursorManager {
public:
    static constexpr int kMaxCursors = 10;
    static constexpr const char* kEntry = "ADVMCO.ICN";

    CursorManager() = default;
    ~CursorManager() { free_cursors(); }
    CursorManager(const CursorManager&) = delete;
    CursorManager& operator=(const CursorManager&) = delete;

    // Reads the cursor frames from the archive's cursor set (first kMaxCursors frames).
    // False when the set is missing or broken (the system cursor stays).
    bool load_frames(const AggArchive& archive, const Palette& pal, std::string* error = nullptr);
    // Frees the cursors and builds them again at `factor` (1..3 in practice), unless they were
    // already built at that factor. Frames without pixels leave their slot empty.
    void rebuild(int factor);
    // Makes cursor `index` current when its slot holds one; the index is remembered either way.
    void set_current(int index);
    void free_cursors();

    // How cursors are made, freed and shown; SDL's colour cursors unless replaced (tests).
    struct Backend {
        std::function<SDL_Cursor*(SDL_Surface*)> create = [](SDL_Surface* s) { return SDL_CreateColorCursor(s, 0, 0); };
        std::function<void(SDL_Cursor*)> destroy = [](SDL_Cursor* c) { SDL_FreeCursor(c); };
        std::function<void(SDL_Cursor*)> show = [](SDL_Cursor* c) { SDL_SetCursor(c); };
    };
    Backend backend;

    std::array<SDL_Cursor*, kMaxCursors> cursors{};
    std::vector<CursorFrame> frames;
    int current = 0;
    bool ready = false;
    int built_factor = 0;
};

// Nearest-neighbour enlargement: target (X, Y) takes source (X / f, Y / f). An empty frame, a
// factor below 1 or a result above the image size limit gives an empty frame.
CursorFrame scale_cursor_frame(const CursorFrame& src, int factor);

}  // namespace vorn1
