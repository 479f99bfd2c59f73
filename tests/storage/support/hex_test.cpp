// Hexadecimal texts of binary values and the keyed XOR form.
#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "storage/support/hex.h"

namespace {

TEST(ZevHex, BytesToHex) {
    const Byte bytes[] = {0x00, 0x0F, 0xA5, 0xFF};
    EXPECT_EQ(BytesToHex(bytes, 4), "000FA5FF");
    EXPECT_EQ(BytesToHex(bytes, 0), "");
    double value = 1.5;
    EXPECT_EQ(BytesToHex(&value, sizeof(value)), "000000000000F83F");
}

TEST(ZevHex, HexToBytes) {
    struct Case {
        const char* Text;
        size_t BufferSize;
        std::vector<Byte> Expected;
    } cases[] = {
        {"ABC", 4, {0x0A, 0xBC}},
        {"000FA5FF", 4, {0x00, 0x0F, 0xA5, 0xFF}},
        {"000fa5ff", 4, {0x00, 0x0F, 0xA5, 0xFF}},
        {"000FA5FF", 2, {0x00, 0x0F}},
        {"", 4, {}},
        {"F", 4, {0x0F}},
        {"000FA5FF", 0, {}},
    };
    for (const Case& c : cases) {
        Byte buffer[8];
        std::fill(std::begin(buffer), std::end(buffer), 0xEE);
        size_t n = HexToBytes(c.Text, buffer, c.BufferSize);
        EXPECT_EQ(std::vector<Byte>(buffer, buffer + n), c.Expected) << c.Text;
        EXPECT_EQ(buffer[n], 0xEE) << c.Text;  // nothing written beyond the count
    }
}

TEST(ZevHex, HexToBytesRaisesTheConversionErrorForAnInvalidPair) {
    struct Case {
        const char* Text;
        const char* Message;
    } cases[] = {
        {"00G1", "'$G1' is not a valid integer value"}, {"zz", "'$zz' is not a valid integer value"},
        {" 1", "'$ 1' is not a valid integer value"},   {"-1", "'$-1' is not a valid integer value"},
        {"x1", "'$x1' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        Byte buffer[4];
        try {
            HexToBytes(c.Text, buffer, sizeof(buffer));
            ADD_FAILURE() << c.Text << ": no error";
        } catch (const EConvertError& e) {
            EXPECT_EQ(e.Message(), c.Message);
        }
    }
}

TEST(ZevHex, XorToHex) {
    EXPECT_EQ(XorToHex("", "AZ\x01\xff"), "415a01ff");
    EXPECT_EQ(XorToHex("k", "k"), "00");
    EXPECT_EQ(XorToHex("ab", "abcd"), "0000"
                                      "0206");
    EXPECT_EQ(XorToHex("key", ""), "");
}

TEST(ZevHex, XorFromHex) {
    EXPECT_EQ(XorFromHex("", "zz"), " ");
    EXPECT_EQ(XorFromHex("", "415A"), "AZ");
    EXPECT_EQ(XorFromHex("", "415"), "A");  // the odd last digit is ignored
    EXPECT_EQ(XorFromHex("", ""), "");
    EXPECT_EQ(XorFromHex("a", "zz"), String(1, char(' ' ^ 'a')));
    EXPECT_EQ(XorFromHex("ab", "00000206"), "abcd");
}

TEST(ZevHex, XorRoundTripsForEveryKey) {
    String allBytes;
    for (int c = 0; c < 256; ++c) allBytes += char(c);
    const String keys[] = {"", "k", "secret", String("\0\xff", 2), String(300, 'q')};
    const String texts[] = {"", "Left=10", allBytes, String(1000, '\0')};
    for (const String& key : keys)
        for (const String& text : texts) {
            String hex = XorToHex(key, text);
            EXPECT_EQ(hex.size(), text.size() * 2);
            EXPECT_EQ(XorFromHex(key, hex), text) << "key of " << key.size();
        }
}

}  // namespace
