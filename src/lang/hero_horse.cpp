#include "lang/hero_horse.h"

#include "assets/render_utils.h"
#include "lang/lang_icn_override.h"

namespace vorn1 {

bool HeroHorseArt::load(SDL_Renderer* renderer, const std::string& folder) {
    unload();
    for (auto& [n, frame] : load_png_frames(folder)) {
        if (n < 0 || n >= kClasses) continue;
        textures[n] = img_to_tex(renderer, frame.image, true);
        if (!textures[n]) continue;
        w[n] = frame.image.width;
        h[n] = frame.image.height;
        loaded = true;
    }
    return loaded;
}

void HeroHorseArt::unload() {
    for (int i = 0; i < kClasses; ++i) {
        if (textures[i]) SDL_DestroyTexture(textures[i]);
        textures[i] = nullptr;
        w[i] = h[i] = 0;
    }
    loaded = false;
}

}  // namespace vorn1
