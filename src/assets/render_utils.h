#pragma once
#include <SDL.h>

#include <map>
#include <string>
#include <vector>

#include "assets/icn.h"
#include "assets/image.h"
#include "assets/palette.h"

namespace vorn1 {

class AggArchive;

// A texture of the picture (ABGR8888, bytes R, G, B, A as in Image), alpha-blended when `blend`.
// Null for an empty picture or when the texture cannot be made; the caller owns it.
SDL_Texture* img_to_tex(SDL_Renderer* renderer, const Image& img, bool blend);

// The pixel format a picture without transparency copies fastest in onto what the renderer draws to:
// the window's own (the software renderer then copies rows instead of converting each pixel), or the
// renderer's first texture format without a window. RGBA32 when that is not four 8-bit channels.
Uint32 opaque_texture_format(SDL_Renderer* renderer);

// An unblended texture of the picture in opaque_texture_format, for an opaque picture or the opaque
// parts of one (a format without alpha drops the rest's transparency).
SDL_Texture* opaque_img_to_tex(SDL_Renderer* renderer, const Image& img);

// A blended texture of a copy of the picture in which near-black pixels (red < 31, green and
// blue < 11) are fully transparent.
SDL_Texture* bmp_to_tex_keyed(SDL_Renderer* renderer, const Image& img);

// The colour-key rule of bmp_to_tex_keyed, applied in place.
void key_out_near_black(Image& img);

// Textures of one sprite set, one per frame in set order (null for empty frames), with the
// set's frame headers. Owns its textures only through destroy_textures.
struct IcnTextures {
    std::vector<SDL_Texture*> frames;
    std::vector<SpriteHeader> headers;
    std::vector<SDL_Point> sizes;  // texture size per frame (0 x 0 for a null frame)

    int count() const { return static_cast<int>(frames.size()); }
    // Null for an index out of range or an empty frame.
    SDL_Texture* at(int i) const { return i >= 0 && i < count() ? frames[i] : nullptr; }
    SDL_Point size(int i) const { return i >= 0 && i < count() ? sizes[i] : SDL_Point{0, 0}; }
};

void destroy_textures(IcnTextures& set);

enum class IcnLoad { Ok, Missing, Corrupt };

struct IcnLoadResult {
    IcnLoad status = IcnLoad::Missing;
    std::string error;  // the decoder's message for Corrupt
};

// Decodes the archive entry into `out` (emptied first; its old textures are destroyed).
// A missing or undecodable entry leaves `out` empty; messages are the caller's.
IcnLoadResult load_icn_textures(SDL_Renderer* renderer, const AggArchive& archive, const Palette& pal,
                                const std::string& name, bool blend, IcnTextures& out,
                                const MonoMode& mono = {});

// Puts replacement frames into a set: the list grows to index + 1 where needed (new entries
// empty), a replaced texture is destroyed, the entry takes the replacement's size and a blended
// texture of it, and keeps its header's x and y. Negative indexes are ignored.
void apply_icn_override(SDL_Renderer* renderer, const std::map<int, Image>& replacements, IcnTextures& set);

// Decodes an archive picture into a texture; null when missing or undecodable (error set then).
SDL_Texture* load_bmp_texture(SDL_Renderer* renderer, const AggArchive& archive, const Palette& pal,
                              const std::string& name, bool blend, std::string* error = nullptr);

// Reads the pixels of a texture back (tests and screenshots); empty Image on failure.
Image read_texture(SDL_Renderer* renderer, SDL_Texture* tex);

}  // namespace vorn1
