// Whole-buffer inflation and deflation of the compressed text chunks.
#include <gtest/gtest.h>

#include "png_test_support.h"

using namespace pngtest;

namespace {

String Inflated(const TBytes& compressed, bool& ok, String& message, std::size_t maxOutput = PngMaxTextSize) {
    String text;
    ok = InflateBuffer(compressed.data(), compressed.size(), text, message, maxOutput);
    return text;
}

TEST(PngZlib, DeflatedTextsInflateToThemselves) {
    String mixed;
    for (int i = 0; i < 5000; ++i) mixed += char((i * 7919) % 251);
    for (const String& text :
         {String(), String("hello"), String(255, 'a'), String(256, 'b'), String(100000, 'c'), mixed}) {
        for (int level : {0, 1, 9}) {
            std::vector<Byte> compressed;
            String message;
            ASSERT_TRUE(
                DeflateBuffer(reinterpret_cast<const Byte*>(text.data()), text.size(), level, compressed, message))
                << message;
            bool ok = false;
            EXPECT_EQ(Inflated(TBytes(compressed.begin(), compressed.end()), ok, message), text);
            EXPECT_TRUE(ok) << message;
        }
    }
}

TEST(PngZlib, InflationFailsWithZlibsTextAndNoOutput) {
    String text(3000, 'q');
    for (int i = 0; i < 3000; i += 7) text[size_t(i)] = char(i);
    TBytes whole = Compress(TBytes(text.begin(), text.end()));
    struct TCase {
        const char* Name;
        TBytes Input;
        std::size_t MaxOutput;
        const char* Message;
    };
    const TCase cases[] = {
        // zlib finds no way on: its input is used up.
        {"cut short", TBytes(whole.begin(), whole.begin() + long(whole.size() / 2)), PngMaxTextSize, "buffer error"},
        {"empty", {}, PngMaxTextSize, "buffer error"},
        {"not zlib", {1, 2, 3, 4, 5, 6}, PngMaxTextSize, "data error"},
        {"too large", whole, 2999, "text too large"},
    };
    for (const TCase& c : cases) {
        bool ok = true;
        String message;
        EXPECT_EQ(Inflated(c.Input, ok, message, c.MaxOutput), "") << c.Name;
        EXPECT_FALSE(ok) << c.Name;
        EXPECT_EQ(message, c.Message) << c.Name;
    }
    bool ok = false;
    String message;
    EXPECT_EQ(Inflated(whole, ok, message, 3000), text);
    EXPECT_TRUE(ok);
}

TEST(PngZlib, ABadLevelIsReported) {
    std::vector<Byte> compressed{1, 2};
    String message;
    EXPECT_FALSE(DeflateBuffer(reinterpret_cast<const Byte*>("x"), 1, 42, compressed, message));
    EXPECT_TRUE(compressed.empty());
    EXPECT_EQ(message, "stream error");
}

}  // namespace
