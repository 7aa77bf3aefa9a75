#include "assets/render_utils.h"

#include <algorithm>
#include <exception>

#include "assets/agg.h"
#include "assets/bmp.h"

namespace vorn1 {

SDL_Texture* img_to_tex(SDL_Renderer* renderer, const Image& img, bool blend) {
    if (!renderer || img.empty()) return nullptr;
    if (img.pixels.size() < static_cast<std::size_t>(img.width) * img.height * 4) return nullptr;
    SDL_Texture* tex =
        SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_STATIC, img.width, img.height);
    if (!tex) return nullptr;
    if (SDL_UpdateTexture(tex, nullptr, img.pixels.data(), img.width * 4) != 0) {
        SDL_DestroyTexture(tex);
        return nullptr;
    }
    SDL_SetTextureBlendMode(tex, blend ? SDL_BLENDMODE_BLEND : SDL_BLENDMODE_NONE);
    return tex;
}

namespace {
bool four_8bit_channels(Uint32 format) {
    switch (format) {
        case SDL_PIXELFORMAT_RGB888:
        case SDL_PIXELFORMAT_BGR888:
        case SDL_PIXELFORMAT_RGBX8888:
        case SDL_PIXELFORMAT_BGRX8888:
        case SDL_PIXELFORMAT_ARGB8888:
        case SDL_PIXELFORMAT_ABGR8888:
        case SDL_PIXELFORMAT_RGBA8888:
        case SDL_PIXELFORMAT_BGRA8888: return true;
        default: return false;
    }
}
}  // namespace

Uint32 opaque_texture_format(SDL_Renderer* renderer) {
    Uint32 format = SDL_PIXELFORMAT_UNKNOWN;
    if (SDL_Window* window = renderer ? SDL_RenderGetWindow(renderer) : nullptr) {
        format = SDL_GetWindowPixelFormat(window);
    } else if (SDL_RendererInfo info; renderer && SDL_GetRendererInfo(renderer, &info) == 0 && info.num_texture_formats > 0) {
        format = info.texture_formats[0];
    }
    return four_8bit_channels(format) ? format : (Uint32)SDL_PIXELFORMAT_RGBA32;
}

SDL_Texture* opaque_img_to_tex(SDL_Renderer* renderer, const Image& img) {
    if (!renderer || img.empty()) return nullptr;
    if (img.pixels.size() < static_cast<std::size_t>(img.width) * img.height * 4) return nullptr;
    const Uint32 format = opaque_texture_format(renderer);
    std::vector<uint8_t> converted(img.pixels.size());
    if (SDL_ConvertPixels(img.width, img.height, SDL_PIXELFORMAT_RGBA32, img.pixels.data(), img.width * 4, format,
                          converted.data(), img.width * 4) != 0)
        return nullptr;
    SDL_Texture* tex = SDL_CreateTexture(renderer, format, SDL_TEXTUREACCESS_STATIC, img.width, img.height);
    if (!tex) return nullptr;
    if (SDL_UpdateTexture(tex, nullptr, converted.data(), img.width * 4) != 0) {
        SDL_DestroyTexture(tex);
        return nullptr;
    }
    SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_NONE);
    return tex;
}

void key_out_near_black(Image& img) {
    const std::size_t n = img.pixels.size() / 4;
    for (std::size_t i = 0; i < n; ++i) {
        uint8_t* p = img.pixels.data() + i * 4;
        if (p[0] < 31 && p[1] < 11 && p[2] < 11) p[0] = p[1] = p[2] = p[3] = 0;
    }
}

SDL_Texture* bmp_to_tex_keyed(SDL_Renderer* renderer, const Image& img) {
    if (!renderer || img.empty()) return nullptr;
    Image copy = img;
    key_out_near_black(copy);
    return img_to_tex(renderer, copy, true);
}

void destroy_textures(IcnTextures& set) {
    for (SDL_Texture* t : set.frames)
        if (t) SDL_DestroyTexture(t);
    set.frames.clear();
    set.headers.clear();
    set.sizes.clear();
}

IcnLoadResult load_icn_textures(SDL_Renderer* renderer, const AggArchive& archive, const Palette& pal,
                                const std::string& name, bool blend, IcnTextures& out, const MonoMode& mono) {
    destroy_textures(out);
    IcnLoadResult result;
    const std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) return result;
    IcnFrames decoded;
    try {
        decoded = decode_icn(bytes, pal, mono);
    } catch (const std::exception& e) {
        result.status = IcnLoad::Corrupt;
        result.error = e.what();
        return result;
    }
    const std::size_t n = decoded.frames.size();
    out.headers = std::move(decoded.headers);
    out.headers.resize(n);
    out.frames.assign(n, nullptr);
    out.sizes.assign(n, SDL_Point{0, 0});
    for (std::size_t i = 0; i < n; ++i) {
        const Image& img = decoded.frames[i];
        out.frames[i] = img_to_tex(renderer, img, blend);
        if (out.frames[i]) out.sizes[i] = SDL_Point{img.width, img.height};
    }
    result.status = IcnLoad::Ok;
    return result;
}

void apply_icn_override(SDL_Renderer* renderer, const std::map<int, Image>& replacements, IcnTextures& set) {
    for (const auto& [index, img] : replacements) {
        if (index < 0) continue;
        const std::size_t i = static_cast<std::size_t>(index);
        if (set.frames.size() <= i) {
            set.frames.resize(i + 1, nullptr);
            set.sizes.resize(i + 1, SDL_Point{0, 0});
        }
        if (set.headers.size() < set.frames.size()) set.headers.resize(set.frames.size());
        if (set.frames[i]) SDL_DestroyTexture(set.frames[i]);
        set.frames[i] = img_to_tex(renderer, img, true);
        set.sizes[i] = set.frames[i] ? SDL_Point{img.width, img.height} : SDL_Point{0, 0};
        set.headers[i].width = static_cast<uint16_t>(std::max(0, img.width));
        set.headers[i].height = static_cast<uint16_t>(std::max(0, img.height));
    }
}

SDL_Texture* load_bmp_texture(SDL_Renderer* renderer, const AggArchive& archive, const Palette& pal,
                              const std::string& name, bool blend, std::string* error) {
    const std::vector<uint8_t> bytes = archive.get(name);
    if (bytes.empty()) return nullptr;
    try {
        return img_to_tex(renderer, decode_bmp(bytes, pal), blend);
    } catch (const std::exception& e) {
        if (error) *error = e.what();
        return nullptr;
    }
}

Image read_texture(SDL_Renderer* renderer, SDL_Texture* tex) {
    int w = 0, h = 0;
    if (!renderer || !tex || SDL_QueryTexture(tex, nullptr, nullptr, &w, &h) != 0) return {};
    Image img(w, h);
    if (img.empty()) return {};
    SDL_Texture* target = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGBA32, SDL_TEXTUREACCESS_TARGET, w, h);
    if (!target) return {};
    SDL_Texture* old_target = SDL_GetRenderTarget(renderer);
    SDL_BlendMode old_mode = SDL_BLENDMODE_NONE;
    SDL_GetTextureBlendMode(tex, &old_mode);
    SDL_SetRenderTarget(renderer, target);
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 0);
    SDL_RenderClear(renderer);
    SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_NONE);
    SDL_RenderCopy(renderer, tex, nullptr, nullptr);
    SDL_SetTextureBlendMode(tex, old_mode);
    const bool ok = SDL_RenderReadPixels(renderer, nullptr, SDL_PIXELFORMAT_RGBA32, img.pixels.data(), w * 4) == 0;
    SDL_SetRenderTarget(renderer, old_target);
    SDL_DestroyTexture(target);
    return ok ? img : Image{};
}

}  // namespace vorn1
