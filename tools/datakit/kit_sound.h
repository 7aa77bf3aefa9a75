#pragma once
// Raw PCM sounds as the game stores them (signed samples, no header), the loose music files of the
// demo SOUND folder, and the seeds of the sound fuzz targets.
#include <string>

#include "datakit/datakit.h"
#include "media/sound_chunk.h"

namespace vorn1::kit {

struct DemoData;

// A fading sine tone at 22050 Hz in a stored format: signed 8-bit mono or stereo, or signed 16-bit
// little-endian stereo (the right channel a fifth above the left in the stereo formats).
Bytes write_raw_tone(VornAudioFmt fmt, double freq_hz, int ms);

// The demo archive's ambient loop `id` (0..20, "LOOP00nn.82M"): 0.4 s of signed 8-bit mono, each loop a
// tone of its own, well above every music track's, that a whole-program test can tell apart.
double ambient_loop_hz(int id);
Bytes write_ambient_loop(int id);

// The music files the players look for: SOUND/VELDARnn with nn 00..06 as .62S, 29..32 as .82S,
// the rest (40..49, 54) as .82M, each a tone of its own (music_tone_hz, no two tracks alike) that fills
// the whole track.
void add_sound_files(DemoData& d);
// The pitch of track VELDARnn (of the left channel in the stereo ones); 0 for a number the kit has no
// track of.
double music_tone_hz(int n);

// Seeds of fuzz_sound: OUT/sound/* (first byte the format, the rest the raw samples).
void write_sound_seeds(const std::string& out_dir);
// Seeds of fuzz_film_sound: OUT/film_sound/* (the target's header, then a tone in the track's format).
void write_film_sound_seeds(const std::string& out_dir);

}  // namespace vorn1::kit
