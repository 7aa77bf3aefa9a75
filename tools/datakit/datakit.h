#pragma once
// Writers of every data format the game reads, used by the tests, the fuzz seeds and the demo data.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1::kit {

using Bytes = std::vector<uint8_t>;

}  // namespace vorn1::kit
