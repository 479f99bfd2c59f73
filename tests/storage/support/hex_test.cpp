#include <gtest/gtest.h>

#include "classlib/core/exceptions.h"
#include "storage/support/base64.h"
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

TEST(ZevBase64, KnownTexts) {
    struct Case {
        String Plain;
        const char* Encoded;
    } cases[] = {
        {"", ""},
        {"f", "Zg=="},
        {"fo", "Zm8="},
        {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="},
        {"fooba", "Zm9vYmE="},
        {"foobar", "Zm9vYmFy"},
        {"\xff", "/w=="},
        {"\xfb\xff", "+/8="},
        {String("\0\0\0", 3), "AAAA"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Base64Text(c.Plain), c.Encoded);
        EXPECT_EQ(Base64EncodeText(c.Plain), c.Encoded);
        EXPECT_EQ(Base64DecodeText(c.Encoded), c.Plain) << c.Encoded;
    }
}

TEST(ZevBase64, EncodeTextBreaksLinesOf76Characters) {
    EXPECT_EQ(Base64EncodeText(String(57, 'x')).size(), 76u);
    EXPECT_EQ(Base64EncodeText(String(57, 'x')).find('\r'), String::npos);
    String two = Base64EncodeText(String(58, 'x'));
    ASSERT_EQ(two.size(), 76u + 2 + 4);
    EXPECT_EQ(two.substr(76, 2), "\r\n");
    EXPECT_EQ(two.substr(0, 76), Base64Text(String(57, 'x')));
    for (size_t n : {1, 56, 57, 58, 113, 114, 115, 171, 1000}) {
        String plain(n, 'y');
        String encoded = Base64EncodeText(plain);
        EXPECT_EQ(encoded.size(), (n + 2) / 3 * 4 + 2 * ((n - 1) / 57)) << n;
        EXPECT_FALSE(encoded.ends_with("\r\n")) << n;
        EXPECT_EQ(Base64DecodeText(encoded), plain) << n;
        EXPECT_EQ(Base64Text(plain).find('\n'), String::npos);
    }
}

TEST(ZevBase64, DecodeSkipsWhatIsNotInTheAlphabet) {
    EXPECT_EQ(Base64DecodeText("Zm9v\r\nYmFy"), "foobar");
    EXPECT_EQ(Base64DecodeText(" Z m 9 v ! "), "foo");
    EXPECT_EQ(Base64DecodeText("Zm9vYg"), "foob");    // 2 characters: 1 byte
    EXPECT_EQ(Base64DecodeText("Zm9vYmE"), "fooba");  // 3 characters: 2 bytes
    EXPECT_EQ(Base64DecodeText("Zm9vY"), "foo");      // 1 character: nothing
    EXPECT_EQ(Base64DecodeText("===="), "");
    EXPECT_EQ(Base64DecodeText("Zg==Zg=="), "f\x06\x60");  // "=" is skipped, not an end
}

TEST(ZevBase64, RoundTripsEveryByte) {
    String allBytes;
    for (int c = 0; c < 256; ++c) allBytes += char(255 - c);
    for (size_t n = 0; n <= allBytes.size(); n += 17) {
        String plain = allBytes.substr(0, n);
        EXPECT_EQ(Base64DecodeText(Base64Text(plain)), plain);
        EXPECT_EQ(Base64DecodeText(Base64EncodeText(plain)), plain);
    }
}

}  // namespace
