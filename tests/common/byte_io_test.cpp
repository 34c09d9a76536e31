#include "common/byte_io.h"

#include <gtest/gtest.h>

namespace typeloom {
namespace {

TEST(ByteReader, ReadsLittleEndianValues) {
    const std::vector<std::uint8_t> bytes = {0x01, 0x34, 0x12, 0x78, 0x56, 0x34,
                                             0x12, 0xFE, 0xFF, 0xFF, 0xFF};
    ByteReader r(bytes);
    EXPECT_EQ(r.u8(), 0x01);
    EXPECT_EQ(r.u16(), 0x1234);
    EXPECT_EQ(r.u32(), 0x12345678u);
    EXPECT_EQ(r.i32(), -2);
    EXPECT_TRUE(r.atEnd());
}

TEST(ByteReader, RefusesToReadPastTheEndAndReportsTheOffset) {
    const std::vector<std::uint8_t> bytes = {1, 2, 3};
    ByteReader r(bytes);
    r.u16();
    try {
        r.u16();
        FAIL() << "read past the end";
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::EndOfFile);
        EXPECT_EQ(e.offset(), 2u);
    }
    // The failed read consumed nothing.
    EXPECT_EQ(r.u8(), 3);
    EXPECT_THROW(r.bytes(1), FileError);
    EXPECT_THROW(r.skip(1), FileError);
    EXPECT_THROW(r.seek(4), FileError);
}

TEST(ByteReader, RequireItemsGuardsCountsBeforeAllocation) {
    const std::vector<std::uint8_t> bytes(10, 0);
    ByteReader r(bytes);
    EXPECT_NO_THROW(r.requireItems(5, 2, "words"));
    EXPECT_THROW(r.requireItems(6, 2, "words"), FileError);
    // A count near the top of the 64-bit range must not overflow the multiplication.
    EXPECT_THROW(r.requireItems(0x8000000000000001ull, 2, "words"), FileError);
}

TEST(ByteWriter, WritesLittleEndianAndPatches) {
    ByteWriter w;
    w.u8(0xAB);
    w.u16(0x1234);
    w.u32(0xDEADBEEF);
    w.i32(-1);
    w.patchU16(1, 0xBEEF);
    EXPECT_EQ(w.data(), (std::vector<std::uint8_t>{0xAB, 0xEF, 0xBE, 0xEF, 0xBE, 0xAD, 0xDE, 0xFF,
                                                   0xFF, 0xFF, 0xFF}));
}

TEST(ReadWholeFile, MissingFileIsAnIoError) {
    try {
        readWholeFile("/nonexistent/folder/file.bin");
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.kind(), FileError::Kind::Io);
    }
}

}  // namespace
}  // namespace typeloom
