#pragma once
// Creature sprite sets of the archive ("stem.STD" and so on), decoded to pictures: the colour
// frames, shadows merged into their frames, attack poses composed from base and part, and the
// white outline mask. Everything here works on pictures, without a renderer; the resources
// turn the result into textures once.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "assets/image.h"
#include "assets/palette.h"
#include "battle/battle_resources.h"

namespace vorn1 {

// One decoded frame: the picture and where its top-left corner lies from the creature's anchor.
// An empty picture means that there is no frame.
struct SpriteImage {
    Image img;
    int x = 0;
    int y = 0;
    bool present() const { return !img.empty(); }
};

// The pictures of one creature, laid out as the textures of CreatureSprites.
struct CreatureImages {
    std::array<std::vector<SpriteImage>, 4> sets;  // by CreatureAnim; ATK holds the attack parts
    std::vector<SpriteImage> attack_frames;
    std::vector<SpriteImage> projectiles;
    std::vector<SpriteImage> attack_shadows;
    std::vector<SpriteImage> pose_shadows;
    SpriteImage outline_mask;
    bool loaded = false;
};

// One 12-byte frame header of a creature sprite file.
struct CreatureFrameHeader {
    int16_t x = 0;
    int16_t y = 0;
    uint16_t width = 0;   // as declared; only selects frames
    uint16_t height = 0;
    uint32_t offset = 0;  // counted from byte 6 of the file
};

enum class StreamPaint { Palette, Shadow, Mask };

extern const char* const CREATURE_STEMS[28];
extern const char* const CREATURE_STEMS_FR[28];  // null where there is no alternative
const char* creature_anim_ext(CreatureAnim anim);
bool creature_has_shoot_sfx(int creature);  // the six shooters
bool creature_has_nine_poses(int creature);  // Cyclops, Phoenix, Dragon

// Headers of a usable file (at least 6 bytes, 1 or more frames, every header inside); false otherwise.
bool read_creature_headers(const std::vector<uint8_t>& bytes, std::vector<CreatureFrameHeader>& out);

// Decodes the run-length stream in bytes [begin, end): size measured from the stream, pixels
// painted from the palette or with the shadow or mask value. An empty picture when the measured
// width is 0 or the picture would pass kMaxImagePixels.
Image decode_creature_stream(const std::vector<uint8_t>& bytes, uint64_t begin, uint64_t end, const Palette& pal,
                             StreamPaint paint);

// Decodes one set of a creature into `c` (the set's list, and for STD/ATK the mask and shadows).
// An empty file, one under 6 bytes or with no frames leaves `c` untouched.
void decode_creature_set(const std::vector<uint8_t>& bytes, int creature, CreatureAnim anim, const Palette& pal,
                         CreatureImages& c);

// Both pictures on a canvas of their union box, `over` painted after `under`; only pixels with a
// non-zero alpha are copied. Empty when either is missing.
SpriteImage compose_over(const SpriteImage& under, const SpriteImage& over);

// Melee poses from the standing set, shooting poses and missiles from the attack parts, and the
// pending pose and attack shadows merged into their poses.
void build_composite_images(int creature, CreatureImages& c);

}  // namespace vorn1
