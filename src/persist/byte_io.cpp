#include "persist/byte_io.h"

namespace vorn1 {

void ByteWriter::u16(uint16_t v) {
    bytes.push_back(static_cast<uint8_t>(v));
    bytes.push_back(static_cast<uint8_t>(v >> 8));
}

void ByteWriter::u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

void ByteWriter::str(const std::string& s) {
    const std::size_t n = s.size() > 65535 ? 65535 : s.size();
    u16(static_cast<uint16_t>(n));
    raw(reinterpret_cast<const uint8_t*>(s.data()), n);
}

uint8_t ByteReader::u8() {
    if (pos >= size) {
        fail = true;
        return 0;
    }
    return data[pos++];
}

uint16_t ByteReader::u16() {
    uint16_t v = u8();
    v = static_cast<uint16_t>(v | (u8() << 8));
    return v;
}

uint32_t ByteReader::u32() {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= static_cast<uint32_t>(u8()) << (8 * i);
    return v;
}

std::string ByteReader::str() {
    if (left() < 2) {
        pos = size;
        fail = true;
        return {};
    }
    const uint64_t n = u16();
    if (n > left()) {
        fail = true;
        return {};
    }
    std::string s(reinterpret_cast<const char*>(data + pos), static_cast<std::size_t>(n));
    pos += n;
    return s;
}

uint32_t ByteReader::count(uint64_t min_record_bytes) {
    const uint64_t n = u32();
    if (fail) return 0;
    if (min_record_bytes > 0 && n > left() / min_record_bytes) {
        fail = true;
        return 0;
    }
    return static_cast<uint32_t>(n);
}

}  // namespace vorn1
