#pragma once
// Small drawing steps shared by the town dialogs: pictures that may be missing, fallback fills.
#include <SDL.h>

namespace vorn1 {

struct IcnTextures;

// Texture size; 0 x 0 for null.
SDL_Point texture_size(SDL_Texture* tex);
// Copies the texture into the rectangle (stretched); false, nothing drawn, for null.
bool blit_into(SDL_Renderer* r, SDL_Texture* tex, const SDL_Rect& dst);
// Frame `frame` of a set at its own size with its top-left at (x, y); false when missing.
bool blit_frame(SDL_Renderer* r, const IcnTextures& set, int frame, int x, int y);
// Frame `frame` of a set stretched into the rectangle; false when missing.
bool blit_frame_into(SDL_Renderer* r, const IcnTextures& set, int frame, const SDL_Rect& dst);
// A fill with alpha blending.
void fill_rect(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c);
void outline_rect(SDL_Renderer* r, const SDL_Rect& rect, SDL_Color c);
// Keeps the aspect ratio: a picture wider than the box takes its width, then one still taller than
// the box takes its height (integer arithmetic). Smaller pictures keep their size.
SDL_Point fit_keep_aspect(int w, int h, int box_w, int box_h);

}  // namespace vorn1
