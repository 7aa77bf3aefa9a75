#pragma once
#include <cstdint>
#include <map>
#include <string>

#include "assets/image.h"

namespace vorn1 {

// Highest frame number an override folder may use; larger numbers are ignored, so a stray file
// name cannot make callers grow their frame lists without bound.
constexpr int kMaxOverrideFrame = 4095;

struct FrameOffset {
    int16_t x = 0;
    int16_t y = 0;
};

struct OverrideFrame {
    Image image;
    bool has_offset = false;  // spec.xml gave this frame's x/y
    FrameOffset offset;
};

// Replacement frames of a sprite set for a language, from the folder root/code/stem (each part
// found case-insensitively): files "<digits>.png" (leading zeros and a non-digit prefix allowed,
// the frame number is the trailing digit run) and an optional "spec.xml" with per-frame x/y.
// Empty for "EN" or when there is no such folder. Files that do not decode are skipped with a warning.
std::map<int, OverrideFrame> load_lang_icn_override_frames(const std::string& root, const std::string& code,
                                                           const std::string& stem);
// The numbered PNG frames and optional spec.xml of one folder, as above (alternative art).
std::map<int, OverrideFrame> load_png_frames(const std::string& folder);
// The same, pictures only.
std::map<int, Image> load_lang_icn_override(const std::string& root, const std::string& code,
                                            const std::string& stem);

// True and fills `out` when root/code/name.png exists (found case-insensitively) and decodes;
// false when absent or undecodable, and always false for "EN".
bool load_lang_png_override(const std::string& root, const std::string& code, const std::string& name, Image& out);

// Reads the frame offsets of a spec.xml: every element <frame index="N" x="X" y="Y"/> (attributes in
// any order, either quote). Elements without a valid index, or with an index above kMaxOverrideFrame,
// are skipped; a missing x or y is 0; values are clamped to 16 bits.
std::map<int, FrameOffset> parse_override_spec(const std::string& xml);

// The trailing frame number of a picture name such as "12.png" or "frame_007.PNG"; -1 when the name
// is no numbered PNG or the number exceeds kMaxOverrideFrame.
int override_frame_number(const std::string& file_name);

}  // namespace vorn1
