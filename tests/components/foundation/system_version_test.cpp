#include "components/foundation/system_version.h"

#include <array>
#include <cstring>

#include <gtest/gtest.h>

TEST(SystemVersion, WindowsXPOrLaterFromTheVersionNumber) {
    struct Case {
        LongWord Major, Minor;
        bool Expected;
        const char* System;
    };
    const Case cases[] = {
        {4, 0, false, "Windows NT 4 / 95"},
        {4, 10, false, "Windows 98"},
        {5, 0, false, "Windows 2000"},
        {5, 1, true, "Windows XP"},
        {5, 2, true, "Windows XP x64 / Server 2003"},
        {6, 0, true, "Windows Vista"},
        {6, 1, true, "Windows 7"},
        {10, 0, true, "Windows 10"},
    };
    for (const Case& c : cases) EXPECT_EQ(IsWinXPVersion(c.Major, c.Minor), c.Expected) << c.System;
}

namespace {

std::array<Byte, FixedFileInfoSize> RootBlock(LongWord signature, LongWord fileVersionMS) {
    std::array<Byte, FixedFileInfoSize> block{};
    auto put = [&](std::size_t at, LongWord v) {
        for (int i = 0; i < 4; ++i) block[at + i] = Byte(v >> (8 * i));
    };
    put(0, signature);
    put(4, 0x00010000);  // record version 1.0
    put(8, fileVersionMS);
    put(12, 0x0B2A0001);  // build and revision: not part of the answer
    return block;
}

}  // namespace

TEST(SystemVersion, TheDllVersionIsTheUpperHalfOfTheFileVersion) {
    auto block = RootBlock(FixedFileInfoSignature, 0x00060000);  // 6.0
    EXPECT_EQ(DllVersionFromRootBlock(block.data(), block.size()), 0x00060000);
    EXPECT_EQ(DllVersionFromRootBlock(block.data(), block.size()) >> 16, 6);

    block = RootBlock(FixedFileInfoSignature, 0x00050050);  // 5.80
    EXPECT_EQ(DllVersionFromRootBlock(block.data(), block.size()), 0x00050050);
}

TEST(SystemVersion, ABlockThatIsNotAFixedFileInfoRecordGivesMinusOne) {
    auto wrongSignature = RootBlock(0xFEEF04BC, 0x00060000);
    EXPECT_EQ(DllVersionFromRootBlock(wrongSignature.data(), wrongSignature.size()), -1);

    auto good = RootBlock(FixedFileInfoSignature, 0x00060000);
    EXPECT_EQ(DllVersionFromRootBlock(good.data(), FixedFileInfoSize - 1), -1);
    EXPECT_EQ(DllVersionFromRootBlock(good.data(), 0), -1);
    EXPECT_EQ(DllVersionFromRootBlock(nullptr, FixedFileInfoSize), -1);
}
