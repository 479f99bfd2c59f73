// The wrappers against Wine's GDI+: drawing into a 32-bit DIB and reading
// the pixels back (with a tolerance where GDI+ anti-aliases or blends),
// images read from streams, the status rule on real failures, and the
// native objects balancing over many paints.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <string>
#include <vector>

#include <zlib.h>

#include "components/foundation/gdiplus_win.h"
#include "object_tally.h"
#include "paint_harness.h"

namespace {

// A 2 x 2 PNG: red, green / blue, white.
const Byte Png2x2[] = {
    0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A, 0x00, 0x00, 0x00, 0x0D, 0x49, 0x48, 0x44, 0x52, 0x00, 0x00, 0x00,
    0x02, 0x00, 0x00, 0x00, 0x02, 0x08, 0x02, 0x00, 0x00, 0x00, 0xFD, 0xD4, 0x9A, 0x73, 0x00, 0x00, 0x00, 0x12, 0x49,
    0x44, 0x41, 0x54, 0x78, 0xDA, 0x63, 0xF8, 0xCF, 0xC0, 0xC0, 0x00, 0xC2, 0x0C, 0xFF, 0x81, 0x00, 0x00, 0x1F, 0xEE,
    0x05, 0xFB, 0xF1, 0xAB, 0xBA, 0x77, 0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4E, 0x44, 0xAE, 0x42, 0x60, 0x82,
};

// A Windows bitmap file, 24 bits, bottom-up: width x height pixels, each
// from pixel(x, y) (0x00BBGGRR, y from the top).
template <class F>
std::vector<Byte> BitmapFile(int width, int height, F pixel) {
    int stride = (width * 3 + 3) & ~3;
    std::vector<Byte> file(14 + 40 + std::size_t(stride) * height);
    auto put16 = [&](std::size_t at, unsigned v) {
        file[at] = Byte(v);
        file[at + 1] = Byte(v >> 8);
    };
    auto put32 = [&](std::size_t at, unsigned v) {
        put16(at, v & 0xFFFF);
        put16(at + 2, v >> 16);
    };
    file[0] = 'B';
    file[1] = 'M';
    put32(2, unsigned(file.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, unsigned(width));
    put32(22, unsigned(height));
    put16(26, 1);
    put16(28, 24);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            unsigned c = pixel(x, y);
            std::size_t at = 54 + std::size_t(height - 1 - y) * stride + std::size_t(x) * 3;
            file[at] = Byte(c >> 16);     // blue
            file[at + 1] = Byte(c >> 8);  // green
            file[at + 2] = Byte(c);       // red
        }
    return file;
}

// A PNG file, 8 bits a sample, of colour type 6 (colour and alpha) or 2
// (colour): width x height pixels, each from pixel(x, y) (0xAARRGGBB, y
// from the top), with one more chunk before the image data when extraType
// is given.
template <class F>
std::vector<Byte> PngFile(int width, int height, Byte colorType, F pixel, const char* extraType = nullptr,
                          std::vector<Byte> extraData = {}) {
    std::vector<Byte> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto put32 = [](std::vector<Byte>& to, unsigned v) {
        for (int shift : {24, 16, 8, 0}) to.push_back(Byte(v >> shift));
    };
    auto chunk = [&](const char* type, const std::vector<Byte>& data) {
        put32(file, unsigned(data.size()));
        std::vector<Byte> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        file.insert(file.end(), body.begin(), body.end());
        put32(file, unsigned(crc32(0, body.data(), uInt(body.size()))));
    };
    std::vector<Byte> header;
    put32(header, unsigned(width));
    put32(header, unsigned(height));
    header.insert(header.end(), {8, colorType, 0, 0, 0});
    chunk("IHDR", header);
    if (extraType) chunk(extraType, extraData);
    std::vector<Byte> raw;
    for (int y = 0; y < height; ++y) {
        raw.push_back(0);  // no filter
        for (int x = 0; x < width; ++x) {
            const unsigned c = pixel(x, y);
            raw.insert(raw.end(), {Byte(c >> 16), Byte(c >> 8), Byte(c)});
            if (colorType == 6) raw.push_back(Byte(c >> 24));
        }
    }
    uLongf size = compressBound(uLong(raw.size()));
    std::vector<Byte> packed(size);
    compress(packed.data(), &size, raw.data(), uLong(raw.size()));
    packed.resize(size);
    chunk("IDAT", packed);
    chunk("IEND", {});
    return file;
}

// A stream over a copy of bytes; released by the holder.
class TMemoryIStream {
public:
    TMemoryIStream(const void* data, std::size_t size) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, size);
        std::memcpy(GlobalLock(memory), data, size);
        GlobalUnlock(memory);
        CreateStreamOnHGlobal(memory, TRUE, &FStream);
    }
    ~TMemoryIStream() {
        if (FStream) FStream->Release();
    }
    IStream* Get() const { return FStream; }

private:
    IStream* FStream = nullptr;
};

// Channels within tolerance of each other.
::testing::AssertionResult Near(TColor actual, TColor expected, int tolerance = 8) {
    auto channel = [](TColor c, int shift) { return int((unsigned(c) >> shift) & 0xFF); };
    for (int shift : {0, 8, 16})
        if (std::abs(channel(actual, shift) - channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure()
                   << "colour $" << std::hex << unsigned(actual) << ", expected $" << unsigned(expected);
    return ::testing::AssertionSuccess();
}

int Brightness(TColor c) {
    return (int(unsigned(c) & 0xFF) + int((unsigned(c) >> 8) & 0xFF) + int(unsigned(c) >> 16)) / 3;
}

// A font family the prefix has: GDI+ finds no family that is not installed.
std::wstring InstalledFamily() {
    for (const WCHAR* name : {L"Tahoma", L"Arial", L"Liberation Sans", L"DejaVu Sans"}) {
        TGPFontFamily family(name);
        if (family.Native()) return name;
    }
    return L"";
}

class GdiplusDrawing : public ::testing::Test {
protected:
    TPaintTarget target{64, 48, clWhite};
};

}  // namespace

TEST_F(GdiplusDrawing, FillRectangleFillsTheRectangleOnly) {
    {
        TGPGraphics graphics(target.DC());
        ASSERT_EQ(graphics.GetLastStatus(), TStatus::Ok);
        TGPSolidBrush brush(ColorToARGB(clRed));
        EXPECT_EQ(graphics.FillRectangle(&brush, MakeRect(10, 8, 30, 20)), TStatus::Ok);
        TGPSolidBrush blue(ColorToARGB(clBlue));
        EXPECT_EQ(graphics.FillRectangle(&blue, 44, 30, 10, 10), TStatus::Ok);
    }
    EXPECT_TRUE(Near(target.PixelAt(25, 18), clRed));
    EXPECT_TRUE(Near(target.PixelAt(11, 9), clRed));
    EXPECT_TRUE(Near(target.PixelAt(38, 26), clRed));
    EXPECT_TRUE(Near(target.PixelAt(5, 5), clWhite));
    EXPECT_TRUE(Near(target.PixelAt(42, 18), clWhite));
    EXPECT_TRUE(Near(target.PixelAt(49, 35), clBlue));
}

TEST_F(GdiplusDrawing, DrawRectangleDrawsTheOutline) {
    {
        TGPGraphics graphics(target.DC());
        TGPPen pen(ColorToARGB(clBlack), 3);
        EXPECT_EQ(graphics.DrawRectangle(&pen, 10, 10, 40, 30), TStatus::Ok);
    }
    EXPECT_LT(Brightness(target.PixelAt(10, 25)), 64);   // the left edge
    EXPECT_LT(Brightness(target.PixelAt(30, 40)), 64);   // the bottom edge
    EXPECT_TRUE(Near(target.PixelAt(30, 25), clWhite));  // inside
}

TEST_F(GdiplusDrawing, ALinearGradientRunsFromTheFirstColourToTheSecond) {
    {
        TGPGraphics graphics(target.DC());
        TGPLinearGradientBrush brush(MakeRect(0, 0, 64, 48), ColorToARGB(clBlack), ColorToARGB(clWhite),
                                     LinearGradientModeHorizontal);
        ASSERT_EQ(brush.GetLastStatus(), TStatus::Ok);
        graphics.FillRectangle(&brush, 0, 0, 64, 48);
        TGPLinearGradientBrush vertical(MakeRect(0, 0, 64, 48), ColorToARGB(clRed), ColorToARGB(clBlue),
                                        LinearGradientModeVertical);
        graphics.FillRectangle(&vertical, 0, 40, 64, 8);
    }
    int left = Brightness(target.PixelAt(4, 20)), middle = Brightness(target.PixelAt(32, 20)),
        right = Brightness(target.PixelAt(60, 20));
    EXPECT_LT(left, 40);
    EXPECT_NEAR(middle, 128, 24);
    EXPECT_GT(right, 215);
    EXPECT_EQ(Brightness(target.PixelAt(20, 20)), Brightness(target.PixelAt(20, 30)));  // horizontal only
    // Near the bottom of the vertical one: mostly blue.
    TColor bottom = target.PixelAt(30, 47);
    EXPECT_GT(int(unsigned(bottom) >> 16), 200);
    EXPECT_LT(int(unsigned(bottom) & 0xFF), 56);
}

TEST_F(GdiplusDrawing, AClipRegionFromAPathLimitsTheFill) {
    {
        TGPGraphics graphics(target.DC());
        TGPGraphicsPath path;
        EXPECT_EQ(path.AddEllipse(8, 4, 48, 40), TStatus::Ok);
        TGPRegion region(&path);
        ASSERT_EQ(region.GetLastStatus(), TStatus::Ok);
        EXPECT_EQ(graphics.SetClip(&region), TStatus::Ok);
        TGPSolidBrush green(ColorToARGB(clLime));
        graphics.FillRectangle(&green, 0, 0, 64, 48);
        EXPECT_EQ(graphics.ResetClip(), TStatus::Ok);
        TGPSolidBrush blue(ColorToARGB(clBlue));
        graphics.FillRectangle(&blue, 0, 46, 64, 2);  // after the reset: everywhere
    }
    EXPECT_TRUE(Near(target.PixelAt(32, 24), clLime));  // centre
    EXPECT_TRUE(Near(target.PixelAt(10, 24), clLime));  // just inside the left end
    EXPECT_TRUE(Near(target.PixelAt(9, 6), clWhite));   // the bounding box's corner
    EXPECT_TRUE(Near(target.PixelAt(54, 42), clWhite));
    EXPECT_TRUE(Near(target.PixelAt(2, 47), clBlue));
}

TEST_F(GdiplusDrawing, DrawPathStrokesLinesArcsAndCurves) {
    {
        TGPGraphics graphics(target.DC());
        graphics.SetSmoothingMode(SmoothingModeAntiAlias);
        TGPPen pen(ColorToARGB(clNavy), 4);
        TGPGraphicsPath path;
        path.AddLine(4, 10, 60, 10);
        path.CloseFigure();
        path.AddArc(10, 20, 20, 20, 0, 180);  // lower half of a circle round (20, 30)
        path.CloseFigure();
        path.AddBezier(MakePoint(36, 40), MakePoint(40, 40), MakePoint(56, 40), MakePoint(60, 40));
        const TGPPoint curve[] = {MakePoint(36, 22), MakePoint(48, 22), MakePoint(60, 22)};
        path.AddCurve(curve, 3, 0.5f);
        EXPECT_EQ(path.GetLastStatus(), TStatus::Ok);
        EXPECT_EQ(graphics.DrawPath(&pen, &path), TStatus::Ok);
    }
    EXPECT_TRUE(Near(target.PixelAt(32, 10), clNavy, 24));  // the line
    EXPECT_TRUE(Near(target.PixelAt(20, 40), clNavy, 48));  // the arc's lowest point
    EXPECT_TRUE(Near(target.PixelAt(48, 40), clNavy, 24));  // the straight Bézier
    EXPECT_TRUE(Near(target.PixelAt(48, 22), clNavy, 24));  // the curve
    EXPECT_TRUE(Near(target.PixelAt(20, 22), clWhite));     // above the arc: the open side
    EXPECT_TRUE(Near(target.PixelAt(32, 4), clWhite));
}

TEST_F(GdiplusDrawing, APathGradientRunsFromTheCentreToTheOutline) {
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 64, 48);
    TGPPathGradientBrush brush(&path);
    ASSERT_EQ(brush.GetLastStatus(), TStatus::Ok);
    int points = brush.GetPointCount();
    ASSERT_GT(points, 0);
    EXPECT_EQ(brush.SetCenterColor(ColorToARGB(clWhite)), TStatus::Ok);
    std::vector<ARGB> black(std::size_t(points), ColorToARGB(clBlack));
    int count = points;
    EXPECT_EQ(brush.SetSurroundColors(black.data(), count), TStatus::Ok);
    EXPECT_EQ(count, points);
    EXPECT_EQ(brush.SetCenterPoint(MakePoint(32, 24)), TStatus::Ok);
    target.Fill(clRed);
    {
        TGPGraphics graphics(target.DC());
        graphics.FillRectangle(&brush, 0, 0, 64, 48);
    }
    EXPECT_GT(Brightness(target.PixelAt(32, 24)), 200);
    EXPECT_LT(Brightness(target.PixelAt(3, 24)), 80);
    EXPECT_GT(Brightness(target.PixelAt(32, 24)), Brightness(target.PixelAt(16, 24)));
    EXPECT_GT(Brightness(target.PixelAt(16, 24)), Brightness(target.PixelAt(3, 24)));
}

TEST(GdiplusPathGradient, SurroundColorsBeyondThePointsAreRefusedWithCountUnchanged) {
    TGPGraphicsPath path;
    path.AddEllipse(0, 0, 20, 20);
    TGPPathGradientBrush brush(&path);
    int points = brush.GetPointCount();
    ASSERT_GT(points, 0);
    std::vector<ARGB> colors(std::size_t(points) + 1, MakeARGB(1, 2, 3));
    int count = points + 1;
    EXPECT_EQ(brush.SetSurroundColors(colors.data(), count), TStatus::InvalidParameter);
    EXPECT_EQ(count, points + 1);
    EXPECT_EQ(brush.GetLastStatus(), TStatus::InvalidParameter);
    int one = 1;
    EXPECT_EQ(brush.SetSurroundColors(nullptr, one), TStatus::InvalidParameter);
    EXPECT_EQ(brush.SetSurroundColors(colors.data(), one), TStatus::Ok);
    EXPECT_EQ(one, 1);
    EXPECT_EQ(brush.GetLastStatus(), TStatus::InvalidParameter);  // a later success does not clear it
}

namespace {

const ARGB Black = MakeARGB(0, 0, 0);

// GdipDrawString in front of the real one: what it was handed.
struct TDrawn {
    int Length = -99;
    std::wstring Text;
} drawn;
TStatus WINAPI RecordingDrawString(GpGraphics* graphics, const WCHAR* text, INT length, const GpFont* font,
                                   const TGPRectF* layout, const GpStringFormat* format, const GpBrush* brush) {
    drawn.Length = length;
    drawn.Text.assign(text, length < 0 ? std::wcslen(text) : std::size_t(length));
    return GdipDrawString(graphics, text, length, font, layout, format, brush);
}

}  // namespace

TEST_F(GdiplusDrawing, EightBitDrawStringNeverPassesMoreThanTheConvertedText) {
    TGdiplusApiOverride api;
    api->GdipDrawString = &RecordingDrawString;
    TGPGraphics graphics(target.DC());
    TGPSolidBrush brush(Black);
    std::wstring name = InstalledFamily();
    TGPFontFamily family(name.c_str());
    TGPFont font(&family, 10);
    struct Case {
        int Length;
        int Passed;
    };
    for (Case c : {Case{3, 3}, Case{2, 2}, Case{0, 0}, Case{10, 3}, Case{-1, 3}, Case{-5, 3}}) {
        drawn = TDrawn{};
        graphics.DrawString(String("abc"), c.Length, &font, MakeRect(0, 0, 64, 20), nullptr, &brush);
        EXPECT_EQ(drawn.Length, c.Passed) << c.Length;
        EXPECT_EQ(drawn.Text, std::wstring(L"abc").substr(0, std::size_t(c.Passed))) << c.Length;
    }
    drawn = TDrawn{};
    graphics.DrawString(String(), 5, &font, MakeRect(0, 0, 64, 20), nullptr, &brush);
    EXPECT_EQ(drawn.Length, 0);
}

TEST_F(GdiplusDrawing, DrawStringPaintsTextAndMeasureStringSizesIt) {
    std::wstring name = InstalledFamily();
    ASSERT_FALSE(name.empty()) << "no font family GDI+ knows in this prefix";
    TGPFontFamily family(name.c_str());
    TGPFont font(&family, 16, FontStyleBold, UnitPixel);
    ASSERT_EQ(font.GetLastStatus(), TStatus::Ok);
    TGPStringFormat format;
    EXPECT_EQ(format.SetAlignment(StringAlignmentNear), TStatus::Ok);
    EXPECT_EQ(format.SetLineAlignment(StringAlignmentNear), TStatus::Ok);
    EXPECT_EQ(format.SetTrimming(StringTrimmingEllipsisCharacter), TStatus::Ok);
    EXPECT_EQ(format.SetHotkeyPrefix(HotkeyPrefixShow), TStatus::Ok);
    TGPRectF two, four;
    int fitted = 0, lines = 0;
    {
        TGPGraphics graphics(target.DC());
        EXPECT_EQ(graphics.SetTextRenderingHint(TextRenderingHintAntiAliasGridFit), TStatus::Ok);
        TGPSolidBrush brush(Black);
        EXPECT_EQ(graphics.DrawString(String("WWW"), 3, &font, MakeRect(2, 2, 60, 24), &format, &brush), TStatus::Ok);
        EXPECT_EQ(graphics.DrawString(L"WW", -1, &font, MakeRect(2, 24, 60, 24), &format, &brush), TStatus::Ok);
        EXPECT_EQ(graphics.MeasureString(L"WW", 2, &font, MakeRect(0, 0, 200, 40), &format, two), TStatus::Ok);
        EXPECT_EQ(graphics.MeasureString(L"WWWW", 4, &font, MakeRect(0, 0, 200, 40), &format, four, &fitted, &lines),
                  TStatus::Ok);
    }
    int dark = 0;
    for (int y = 2; y < 24; ++y)
        for (int x = 2; x < 62; ++x) dark += Brightness(target.PixelAt(x, y)) < 100;
    EXPECT_GT(dark, 20);
    EXPECT_GT(two.Width, 10);
    EXPECT_GT(four.Width, two.Width * 1.5f);
    EXPECT_GT(two.Height, 10);
    EXPECT_EQ(fitted, 4);
    EXPECT_EQ(lines, 1);
}

TEST(GdiplusImages, APngStreamReportsFormatSixAndItsSize) {
    TMemoryIStream stream(Png2x2, sizeof Png2x2);
    TGPImage image(stream.Get());
    ASSERT_EQ(image.GetLastStatus(), TStatus::Ok);
    EXPECT_EQ(image.GetFormat(), 6);
    EXPECT_EQ(image.GetWidth(), 2u);
    EXPECT_EQ(image.GetHeight(), 2u);

    TMemoryIStream again(Png2x2, sizeof Png2x2);
    TGPBitmap bitmap(again.Get());
    EXPECT_EQ(bitmap.GetFormat(), ifPNG);
    ARGB pixel = 0;
    EXPECT_EQ(bitmap.GetPixel(0, 0, pixel), TStatus::Ok);
    EXPECT_EQ(pixel, 0xFFFF0000u);  // red
    EXPECT_EQ(bitmap.GetPixel(0, 1, pixel), TStatus::Ok);
    EXPECT_EQ(pixel, 0xFF0000FFu);  // blue
    EXPECT_EQ(bitmap.GetPixel(1, 1, pixel), TStatus::Ok);
    EXPECT_EQ(pixel, 0xFFFFFFFFu);  // white
}

namespace {

// The wrappers' calls that make GDI+ read a stream itself, counted.
const TGdiplusApi* gRealGdiplus = nullptr;
int gStreamReads = 0;
TStatus WINAPI CountedLoadImage(IStream* stream, GpImage** image) {
    ++gStreamReads;
    return gRealGdiplus->GdipLoadImageFromStream(stream, image);
}
TStatus WINAPI CountedCreateBitmap(IStream* stream, GpImage** image) {
    ++gStreamReads;
    return gRealGdiplus->GdipCreateBitmapFromStream(stream, image);
}

}  // namespace

TEST(GdiplusImages, APlainPngOfColourAndAlphaReachesGdiplusDecodedWithTheSamePixels) {
    const auto pixel = [](int x, int y) {
        return unsigned(x * 40 + y * 7) << 24 | unsigned(x * 31) << 16 | unsigned(y * 53) << 8 | unsigned(x * y * 11);
    };
    const struct {
        const char* Name;
        std::vector<Byte> File;
        bool Decoded;  // by the codec, not by GDI+
    } rows[] = {
        {"colour and alpha", PngFile(6, 5, 6, pixel), true},
        {"with a text chunk", PngFile(6, 5, 6, pixel, "tEXt", {'K', 0, 'v'}), true},
        {"with a gamma", PngFile(6, 5, 6, pixel, "gAMA", {0, 0, 0xB1, 0x8F}), false},
        {"colour only", PngFile(6, 5, 2, pixel), false},
        {"a Windows bitmap", BitmapFile(6, 5, [&](int x, int y) { return pixel(x, y) & 0xFFFFFF; }), false},
    };
    TGdiplusApiOverride api;
    gRealGdiplus = &api.Saved();
    api->GdipLoadImageFromStream = &CountedLoadImage;
    api->GdipCreateBitmapFromStream = &CountedCreateBitmap;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        gStreamReads = 0;
        TMemoryIStream stream(row.File.data(), row.File.size());
        TGPBitmap bitmap(stream.Get());
        ASSERT_EQ(bitmap.GetLastStatus(), TStatus::Ok);
        TMemoryIStream streamForImage(row.File.data(), row.File.size());
        TGPImage image(streamForImage.Get());
        ASSERT_EQ(image.GetLastStatus(), TStatus::Ok);
        EXPECT_EQ(gStreamReads, row.Decoded ? 0 : 2);
        EXPECT_EQ(bitmap.GetFormat(), image.GetFormat());
        EXPECT_EQ(bitmap.GetWidth(), 6u);
        EXPECT_EQ(bitmap.GetHeight(), 5u);
        EXPECT_EQ(image.GetWidth(), 6u);

        // GDI+'s own reading of the same bytes.
        TMemoryIStream again(row.File.data(), row.File.size());
        GpImage* own = nullptr;
        ASSERT_EQ(gRealGdiplus->GdipCreateBitmapFromStream(again.Get(), &own), TStatus::Ok);
        TGUID format{};
        gRealGdiplus->GdipGetImageRawFormat(own, &format);
        EXPECT_EQ(bitmap.GetFormat(), ImageFormatFromGUID(format));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 6; ++x) {
                ARGB ours = 0, theirs = 1;
                bitmap.GetPixel(x, y, ours);
                gRealGdiplus->GdipBitmapGetPixel(own, x, y, &theirs);
                EXPECT_EQ(ours, theirs) << x << "," << y;
            }
        gRealGdiplus->GdipDisposeImage(own);
    }
}

TEST(GdiplusImages, AWindowsBitmapStreamReportsFormatTwo) {
    auto file = BitmapFile(3, 2, [](int x, int y) { return y == 0 ? 0x0000FF : (x == 2 ? 0x00FF00 : 0xFF0000); });
    TMemoryIStream stream(file.data(), file.size());
    TGPBitmap bitmap(stream.Get());
    ASSERT_EQ(bitmap.GetLastStatus(), TStatus::Ok);
    EXPECT_EQ(bitmap.GetFormat(), 2);
    EXPECT_EQ(bitmap.GetWidth(), 3u);
    EXPECT_EQ(bitmap.GetHeight(), 2u);
    ARGB pixel = 0;
    bitmap.GetPixel(1, 0, pixel);
    EXPECT_EQ(pixel, 0xFFFF0000u);  // red: the top row
    bitmap.GetPixel(2, 1, pixel);
    EXPECT_EQ(pixel, 0xFF00FF00u);
}

TEST(GdiplusImages, BytesThatAreNoImageMakeNoImage) {
    const char junk[] = "no picture at all, only text";
    TMemoryIStream stream(junk, sizeof junk);
    TGPImage image(stream.Get());
    EXPECT_EQ(image.Native(), nullptr);
    EXPECT_NE(image.GetLastStatus(), TStatus::Ok);
    EXPECT_EQ(image.GetFormat(), 0);
    EXPECT_EQ(image.GetWidth(), 0u);
}

TEST_F(GdiplusDrawing, DrawImageScalesTheImageAndAColourKeyLeavesItsColourOut) {
    // Left half red, right half blue.
    auto file = BitmapFile(8, 8, [](int x, int) { return x < 4 ? 0x0000FF : 0xFF0000; });
    TMemoryIStream stream(file.data(), file.size());
    TGPBitmap bitmap(stream.Get());
    ASSERT_EQ(bitmap.GetLastStatus(), TStatus::Ok);
    TGPImageAttributes attributes;
    ASSERT_EQ(attributes.GetLastStatus(), TStatus::Ok);
    EXPECT_EQ(attributes.SetColorKey(ColorToARGB(clRed), ColorToARGB(clRed)), TStatus::Ok);
    {
        TGPGraphics graphics(target.DC());
        EXPECT_EQ(graphics.DrawImage(&bitmap, 0, 0, 32, 16), TStatus::Ok);
        EXPECT_EQ(graphics.DrawImage(&bitmap, MakeRect(0, 24, 32, 16), 0, 0, 8, 8, UnitPixel, &attributes),
                  TStatus::Ok);
    }
    EXPECT_TRUE(Near(target.PixelAt(6, 8), clRed));
    EXPECT_TRUE(Near(target.PixelAt(26, 8), clBlue));
    EXPECT_TRUE(Near(target.PixelAt(40, 8), clWhite));  // beyond the scaled image
    EXPECT_TRUE(Near(target.PixelAt(6, 32), clWhite));  // keyed out
    EXPECT_TRUE(Near(target.PixelAt(26, 32), clBlue));
}

TEST_F(GdiplusDrawing, FailuresLeaveANullHandleAndTheLastStatus) {
    TGPFontFamily missing(L"Qm No Such Font Family");
    EXPECT_EQ(missing.Native(), nullptr);
    EXPECT_EQ(missing.GetLastStatus(), TStatus::FontFamilyNotFound);
    TGPFont font(&missing, 12);
    EXPECT_EQ(font.Native(), nullptr);
    EXPECT_EQ(font.GetLastStatus(), TStatus::InvalidParameter);

    TGPGraphics graphics(target.DC());
    TGPSolidBrush brush(Black);
    EXPECT_EQ(graphics.DrawString(L"text", 4, &font, MakeRect(0, 0, 60, 20), nullptr, &brush),
              TStatus::InvalidParameter);
    EXPECT_EQ(graphics.DrawPath(nullptr, nullptr), TStatus::InvalidParameter);
    EXPECT_EQ(graphics.FillRectangle(&brush, 0, 0, 4, 4), TStatus::Ok);
    EXPECT_EQ(graphics.GetLastStatus(), TStatus::InvalidParameter);  // kept through the success
    EXPECT_EQ(graphics.FillRectangle(nullptr, 0, 0, 4, 4), TStatus::InvalidParameter);

    TGPGraphics nowhere(nullptr);
    EXPECT_EQ(nowhere.Native(), nullptr);
    EXPECT_NE(nowhere.GetLastStatus(), TStatus::Ok);
    EXPECT_NE(nowhere.FillRectangle(&brush, 0, 0, 4, 4), TStatus::Ok);  // and drawing on it goes on
}

TEST_F(GdiplusDrawing, EveryNativeObjectIsFreedOverManyPaints) {
    std::wstring name = InstalledFamily();
    auto file = BitmapFile(4, 4, [](int, int) { return 0x00FF00; });
    TObjectBalance balance;
    for (int i = 0; i < 200; ++i) {
        // As a component paints: everything made for the paint, the
        // graphics freed last. Half of them on the heap.
        auto* graphics = new TGPGraphics(target.DC());
        graphics->SetSmoothingMode(SmoothingModeAntiAlias);
        TGPPen pen(Black, 2);
        pen.SetDashStyle(DashStyleDot);
        auto* path = new TGPGraphicsPath(FillModeWinding);
        path->AddEllipse(4, 4, 40, 30);
        TGPRegion region(path);
        TGPSolidBrush solid(MakeARGB(200, 10, 10));
        TGPLinearGradientBrush linear(MakeRect(0, 0, 64, 48), Black, MakeARGB(255, 255, 255),
                                      LinearGradientModeVertical);
        auto* radial = new TGPPathGradientBrush(path);
        TGPFontFamily family(name.c_str());
        TGPFont font(&family, 9);
        TGPStringFormat format(StringFormatFlagsNoWrap);
        TMemoryIStream stream(file.data(), file.size());
        TGPBitmap bitmap(stream.Get());
        TGPImageAttributes attributes;
        graphics->SetClip(&region);
        graphics->FillRectangle(&linear, 0, 0, 64, 48);
        graphics->FillRectangle(radial, 0, 0, 64, 48);
        graphics->ResetClip();
        graphics->DrawPath(&pen, path);
        graphics->DrawString(String("Paint"), -1, &font, MakeRect(0, 0, 64, 20), &format, &solid);
        graphics->DrawImage(&bitmap, 50, 30, 8, 8);
        delete radial;
        delete path;
        delete graphics;
    }
    EXPECT_GE(balance.Created(okGdiPlus), 200 * 11);
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
}
