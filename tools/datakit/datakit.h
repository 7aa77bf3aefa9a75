#pragma once
// Writers of every data format the game reads, used by the tests, the fuzz seeds and the demo data.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1::kit {

using Bytes = std::vector<uint8_t>;

// Writes bytes to a file, creating its folders; throws std::runtime_error on failure.
void write_file(const std::string& path, const Bytes& data);

// Seed corpora for make_fuzz_seeds: each area writes OUT/<corpus>/<file> through write_seed from a
// function of its own, listed in kSeedWriters (main_make_fuzz_seeds.cpp).
void write_seed(const std::string& out_dir, const std::string& corpus, const std::string& file, const Bytes& data);
void write_asset_seeds(const std::string& out_dir);  // agg, icn, til, bmp, png, palette

}  // namespace vorn1::kit
