#pragma once
// Little-endian byte image of the save format: an append-only writer and a bounds-checked reader.
#include <cstdint>
#include <string>
#include <vector>

namespace vorn1 {

struct ByteWriter {
    std::vector<uint8_t> bytes;

    void u8(uint8_t v) { bytes.push_back(v); }
    void u16(uint16_t v);
    void u32(uint32_t v);
    void i32(int32_t v) { u32(static_cast<uint32_t>(v)); }
    void flag(bool v) { u8(v ? 1 : 0); }
    // u16 length then the bytes; longer strings are cut to their first 65535 bytes.
    void str(const std::string& s);
    void raw(const uint8_t* p, std::size_t n) { bytes.insert(bytes.end(), p, p + n); }
    std::size_t size() const { return bytes.size(); }
};

// A cursor over bytes it does not own. Reading past the end yields zeros and sets `fail`,
// which no read ever clears.
struct ByteReader {
    const uint8_t* data = nullptr;
    uint64_t size = 0;
    uint64_t pos = 0;
    bool fail = false;

    ByteReader() = default;
    ByteReader(const uint8_t* d, uint64_t n) : data(d), size(n) {}
    explicit ByteReader(const std::vector<uint8_t>& v) : data(v.data()), size(v.size()) {}

    uint64_t left() const { return pos < size ? size - pos : 0; }
    uint8_t u8();
    uint16_t u16();
    uint32_t u32();
    int32_t i32() { return static_cast<int32_t>(u32()); }
    bool flag() { return u8() != 0; }
    std::string str();
    // A list count whose records take at least `min_record_bytes` each. A count the bytes left
    // cannot hold sets fail and yields 0, so no caller allocates for it.
    uint32_t count(uint64_t min_record_bytes);
};

}  // namespace vorn1
