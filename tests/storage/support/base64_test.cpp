// Base64 of 8-bit texts.
#include "storage/support/base64.h"

#include <gtest/gtest.h>

namespace {
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
