#include "persist/byte_io.h"

#include <gtest/gtest.h>

namespace vorn1 {
namespace {

TEST(ByteIo, WriterIsLittleEndianAndClampsStrings) {
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.u32(0xDEADBEEF);
    w.i32(-1);
    w.str("");
    w.str("hi");
    const std::vector<uint8_t> want = {0xAB, 0x34, 0x12, 0xEF, 0xBE, 0xAD, 0xDE, 0xFF, 0xFF,
                                       0xFF, 0xFF, 0x00, 0x00, 0x02, 0x00, 'h',  'i'};
    EXPECT_EQ(w.bytes, want);

    ByteWriter big;
    big.str(std::string(70000, 'q') + "tail");
    ASSERT_EQ(big.size(), 2u + 65535u);
    EXPECT_EQ(big.bytes[0], 0xFF);
    EXPECT_EQ(big.bytes[1], 0xFF);
    ByteReader r(big.bytes);
    EXPECT_EQ(r.str(), std::string(65535, 'q'));
    EXPECT_FALSE(r.fail);
    EXPECT_EQ(r.left(), 0u);
}

TEST(ByteIo, ShortReadsYieldWhatIsThereAndStayFailed) {
    const std::vector<uint8_t> two = {0x34, 0x12};
    ByteReader r(two);
    EXPECT_EQ(r.u32(), 0x1234u);
    EXPECT_TRUE(r.fail);
    EXPECT_EQ(r.pos, 2u);
    EXPECT_EQ(r.u8(), 0);
    EXPECT_TRUE(r.fail);

    // Length 10 with 4 bytes behind it: empty, failed, cursor behind the length.
    const std::vector<uint8_t> s = {10, 0, 'a', 'b', 'c', 'd'};
    ByteReader rs(s);
    EXPECT_EQ(rs.str(), "");
    EXPECT_TRUE(rs.fail);
    EXPECT_EQ(rs.pos, 2u);

    const std::vector<uint8_t> one = {5};
    ByteReader r1(one);
    EXPECT_EQ(r1.str(), "");
    EXPECT_TRUE(r1.fail);
    EXPECT_EQ(r1.pos, 1u);
}

TEST(ByteIo, CountsTheRestCannotHoldAreRefused) {
    ByteWriter w;
    w.u32(3);
    for (int i = 0; i < 3 * 14; ++i) w.u8(0);
    ByteReader ok(w.bytes);
    EXPECT_EQ(ok.count(14), 3u);
    EXPECT_FALSE(ok.fail);

    ByteReader too_many(w.bytes);
    EXPECT_EQ(too_many.count(15), 0u);
    EXPECT_TRUE(too_many.fail);

    ByteWriter huge;
    huge.u32(0xFFFFFFFFu);
    ByteReader rh(huge.bytes);
    EXPECT_EQ(rh.count(1), 0u);
    EXPECT_TRUE(rh.fail);
}

}  // namespace
}  // namespace vorn1
