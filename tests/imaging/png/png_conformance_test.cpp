// Every generated conformance image decodes to the expected pixels (or
// raises the expected error), and every image this codec writes back reads
// back identically.
#include <gtest/gtest.h>

#include <sstream>

#include "png_test_support.h"

using namespace pngtest;

namespace {

struct TCase {
    std::string Name, Outcome;
    int Width = 0, Height = 0, ErrorId = 0;
    std::string Kind;
    TPngColor Key = 0;
};

std::vector<TCase> ReadCases() {
    std::vector<TCase> cases;
    std::ifstream f("cases.txt");
    std::string line;
    while (std::getline(f, line)) {
        std::istringstream in(line);
        TCase c;
        in >> c.Name >> c.Outcome;
        if (c.Outcome == "error") {
            in >> c.ErrorId;
        } else {
            in >> c.Width >> c.Height >> c.Kind >> std::hex >> c.Key;
        }
        if (!c.Name.empty()) cases.push_back(c);
    }
    return cases;
}

const char* KindName(TPngTransparencyKind k) {
    switch (k) {
    case tkNone: return "none";
    case tkPartial: return "partial";
    default: return "key";
    }
}

}  // namespace

TEST(PngConformance, EveryCaseDecodesAsExpected) {
    std::vector<TCase> cases = ReadCases();
    ASSERT_GT(cases.size(), 300u) << "run make_conformance_images.py into the working folder first";
    int pixelCases = 0, errorCases = 0;
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        TBytes file = ReadFile(c.Name + ".png");
        TPNGObjectCore png;
        int id = LoadError(png, file);
        if (c.Outcome == "error") {
            EXPECT_EQ(id, c.ErrorId);
            ++errorCases;
            continue;
        }
        ++pixelCases;
        ASSERT_EQ(id, 0);
        ASSERT_EQ(png.Width(), c.Width);
        ASSERT_EQ(png.Height(), c.Height);
        TBytes expected = ReadFile(c.Name + ".exp");
        TBytes got = RenderedImage(png);
        ASSERT_EQ(got.size(), expected.size());
        if (got != expected) {
            std::size_t i = 0;
            while (got[i] == expected[i]) ++i;
            ADD_FAILURE() << "first difference at pixel " << i / 8 << " byte " << i % 8 << ": got " << int(got[i])
                          << " expected " << int(expected[i]);
            continue;
        }
        EXPECT_STREQ(KindName(png.TransparencyKind()), c.Kind.c_str());
        EXPECT_EQ(png.KeyColor(), c.Key);

        // Written back: the same pixels, less the low bytes of 16-bit samples.
        for (TPngInterlacing interlacing : {ilNone, ilAdam7}) {
            png.SetInterlacing(interlacing);
            TBytes saved = Save(png);
            TPNGObjectCore again;
            ASSERT_EQ(LoadError(again, saved), 0);
            // A 16-bit pixel that is not the key but would be written as the
            // key gets a low byte of 1, so that it stays opaque.
            if (png.TransparencyKind() == tkColorKey)
                EXPECT_EQ(WithoutLowBytes(RenderedImage(again)), WithoutLowBytes(expected));
            else
                EXPECT_EQ(RenderedImage(again), WithoutLowBytes(expected));
            for (int y = 0; y < png.Height(); ++y)
                for (int x = 0; x < png.Width(); ++x)
                    EXPECT_EQ(again.IsKeyPixel(x, y), png.IsKeyPixel(x, y)) << x << "," << y;
            EXPECT_STREQ(KindName(again.TransparencyKind()), c.Kind.c_str());
            for (const TRawChunk& chunk : ChunksOf(saved)) EXPECT_NE(chunk.Type, "cHRM");
        }
    }
    EXPECT_GT(pixelCases, 250);
    EXPECT_GT(errorCases, 40);
}
