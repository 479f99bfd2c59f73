// Bitmaps (pixel formats, transparency, the BMP stream format) and icons.
#include <gtest/gtest.h>

#include <cstring>

#include "classlib/os/resources.h"
#include "classlib/ui/bitmaps.h"
#include "classlib/ui/gdi_helpers.h"
#include "ui_test_support.h"

namespace {

int SectionBits(TBitmap& bitmap) {
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectA(bitmap.Handle(), sizeof ds, &ds), int(sizeof ds));
    return ds.dsBmih.biBitCount;
}

TEST(BitmapTest, NewBitmapIsEmptyUntilItHasASize) {
    TBitmap bitmap;
    EXPECT_TRUE(bitmap.Empty());
    EXPECT_EQ(bitmap.Handle(), nullptr);
    bitmap.SetWidth(5);
    EXPECT_TRUE(bitmap.Empty());
    bitmap.SetHeight(3);
    EXPECT_FALSE(bitmap.Empty());
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 3);
}

TEST(BitmapTest, PixelFormatsMakeSectionsOfTheirDepthFilledWhite) {
    struct Case {
        TPixelFormat Format;
        int Bits;
    };
    const Case cases[] = {{pf1bit, 1},   {pf4bit, 4},   {pf8bit, 8},  {pf15bit, 16},
                          {pf16bit, 16}, {pf24bit, 24}, {pf32bit, 32}};
    for (const Case& c : cases) {
        TBitmap bitmap(7, 3, c.Format);
        EXPECT_EQ(bitmap.PixelFormat(), c.Format);
        EXPECT_EQ(SectionBits(bitmap), c.Bits) << c.Format;
        EXPECT_EQ(bitmap.RowStride(), ((7 * c.Bits + 31) / 32) * 4);
        EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(6, 2)), Rgb(255, 255, 255)) << c.Format;
        EXPECT_EQ(bitmap.Monochrome(), c.Bits == 1);
    }
}

TEST(BitmapTest, ChangingTheFormatKeepsThePicture) {
    auto bitmap = MakeBitmap(4, 4, clRed);
    bitmap->Canvas()->SetPixels(0, 0, clBlue);
    bitmap->SetPixelFormat(pf24bit);
    EXPECT_EQ(SectionBits(*bitmap), 24);
    EXPECT_EQ(LongWord(bitmap->Canvas()->Pixels(0, 0)), Rgb(0, 0, 255));
    EXPECT_EQ(LongWord(bitmap->Canvas()->Pixels(3, 3)), Rgb(255, 0, 0));
    bitmap->SetPixelFormat(pf4bit);  // red and blue are in the 16 colours
    EXPECT_EQ(LongWord(bitmap->Canvas()->Pixels(0, 0)), Rgb(0, 0, 255));
    EXPECT_EQ(LongWord(bitmap->Canvas()->Pixels(3, 3)), Rgb(255, 0, 0));
}

TEST(BitmapTest, GrowingKeepsPixelsTopLeftAndFillsWithTheBrush) {
    auto bitmap = MakeBitmap(2, 2, clRed);
    bitmap->Canvas()->Brush()->SetColor(clWhite);
    bitmap->SetSize(4, 3);
    EXPECT_EQ(PixelAt(*bitmap, 0, 0), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*bitmap, 1, 1), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*bitmap, 3, 0), Rgb(255, 255, 255));
    EXPECT_EQ(PixelAt(*bitmap, 0, 2), Rgb(255, 255, 255));
}

TEST(BitmapTest, ScanLineRowZeroIsTheTop) {
    auto bitmap = MakeBitmap(3, 2, clWhite);
    bitmap->Canvas()->SetPixels(1, 0, TColor(Rgb(10, 20, 30)));
    const Byte* top = static_cast<const Byte*>(bitmap->ScanLine(0));
    EXPECT_EQ(top[4], 30);  // blue, green, red
    EXPECT_EQ(top[5], 20);
    EXPECT_EQ(top[6], 10);
    EXPECT_THROW(bitmap->ScanLine(2), EInvalidGraphic);
    EXPECT_THROW(bitmap->ScanLine(-1), EInvalidGraphic);
}

TEST(BitmapTest, AutomaticTransparentColourIsTheBottomLeftPixel) {
    auto bitmap = MakeBitmap(4, 4, clWhite);
    bitmap->Canvas()->SetPixels(0, 3, TColor(Rgb(1, 2, 3)));
    EXPECT_EQ(bitmap->TransparentMode(), tmAuto);
    EXPECT_EQ(LongWord(bitmap->TransparentColor()), Rgb(1, 2, 3));

    bitmap->SetTransparentColor(clBtnFace);
    EXPECT_EQ(bitmap->TransparentMode(), tmFixed);
    EXPECT_EQ(LongWord(bitmap->TransparentColor()), ColorToRGB(clBtnFace));
    bitmap->SetTransparentMode(tmAuto);
    EXPECT_EQ(LongWord(bitmap->TransparentColor()), Rgb(1, 2, 3));

    TBitmap mono(4, 4, pf1bit);
    EXPECT_EQ(mono.TransparentColor(), clWhite);
}

TEST(BitmapTest, TransparentDrawLeavesTheKeyColoursPixelsUntouched) {
    // Fuchsia everywhere (so also bottom-left) but a red column.
    auto picture = MakeBitmap(4, 4, clFuchsia);
    picture->Canvas()->Brush()->SetColor(clRed);
    picture->Canvas()->FillRect(Rect(1, 0, 2, 4));
    picture->SetTransparent(true);

    auto target = MakeBitmap(8, 8, clWhite);
    target->Canvas()->Brush()->SetColor(clLime);
    target->Canvas()->FillRect(Rect(0, 0, 8, 4));  // top green, bottom white
    target->Canvas()->Draw(2, 2, picture.get());
    EXPECT_EQ(PixelAt(*target, 2, 2), Rgb(0, 255, 0));      // key: green stays
    EXPECT_EQ(PixelAt(*target, 2, 4), Rgb(255, 255, 255));  // key: white stays
    EXPECT_EQ(PixelAt(*target, 3, 2), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*target, 3, 5), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*target, 5, 5), Rgb(255, 255, 255));

    // Stretched: the red column becomes two pixels wide.
    auto wide = MakeBitmap(8, 8, clBlue);
    wide->Canvas()->StretchDraw(Rect(0, 0, 8, 8), picture.get());
    EXPECT_EQ(PixelAt(*wide, 0, 0), Rgb(0, 0, 255));
    EXPECT_EQ(PixelAt(*wide, 2, 7), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*wide, 3, 0), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*wide, 5, 3), Rgb(0, 0, 255));

    // Opaque drawing copies the key colour too.
    picture->SetTransparent(false);
    target->Canvas()->Draw(2, 2, picture.get());
    EXPECT_EQ(PixelAt(*target, 2, 2), Rgb(255, 0, 255));
}

std::vector<Byte> StreamBytes(TGraphic& graphic) {
    TMemoryStream stream;
    graphic.SaveToStream(stream);
    const Byte* p = static_cast<const Byte*>(stream.Memory());
    return std::vector<Byte>(p, p + stream.Size());
}

TEST(BitmapTest, BmpStreamRoundTripInEveryFormat) {
    for (TPixelFormat format : {pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit}) {
        auto bitmap = MakeBitmap(9, 5, clWhite, format);
        bitmap->Canvas()->SetPixels(0, 0, clBlack);
        bitmap->Canvas()->SetPixels(8, 4, clBlack);
        if (format != pf1bit) {
            bitmap->Canvas()->SetPixels(3, 1, clRed);
            bitmap->Canvas()->SetPixels(4, 2, clBlue);
        }
        std::vector<Byte> bytes = StreamBytes(*bitmap);
        ASSERT_GT(bytes.size(), 54u);
        EXPECT_EQ(bytes[0], 'B');
        EXPECT_EQ(bytes[1], 'M');
        std::uint32_t fileSize;
        std::memcpy(&fileSize, &bytes[2], 4);
        EXPECT_EQ(fileSize, bytes.size());

        TBitmap read;
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), Int64(bytes.size()));
        stream.SetPosition(0);
        read.LoadFromStream(stream);
        EXPECT_EQ(stream.Position(), Int64(bytes.size()));
        EXPECT_EQ(read.PixelFormat(), format);
        ASSERT_EQ(read.Width(), 9);
        ASSERT_EQ(read.Height(), 5);
        for (int y = 0; y < 5; ++y)
            EXPECT_EQ(std::memcmp(read.ScanLine(y), bitmap->ScanLine(y), size_t(bitmap->RowStride())), 0)
                << "format " << format << " row " << y;
        EXPECT_EQ(StreamBytes(read), bytes);
    }
}

// A BMP file of a 2 x 2 picture in the given header form.
std::vector<Byte> SmallBmp(bool topDown, bool coreHeader) {
    std::vector<Byte> out = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(Byte(v >> (8 * i)));
    };
    auto put16 = [&](std::uint16_t v) {
        out.push_back(Byte(v));
        out.push_back(Byte(v >> 8));
    };
    std::uint32_t header = coreHeader ? 12 : 40;
    std::uint32_t offBits = 14 + header;
    put32(offBits + 16);
    put32(0);
    put32(offBits);
    put32(header);
    if (coreHeader) {
        put16(2);
        put16(2);
    } else {
        put32(2);
        put32(topDown ? std::uint32_t(-2) : 2u);
    }
    put16(1);
    put16(24);
    if (!coreHeader)
        for (int i = 0; i < 6; ++i) put32(0);
    // First row in the file: red, green; second: blue, white.
    const Byte rows[2][8] = {{0, 0, 255, 0, 255, 0, 0, 0}, {255, 0, 0, 255, 255, 255, 0, 0}};
    for (const auto& row : rows) out.insert(out.end(), row, row + 8);
    return out;
}

void LoadBytes(TBitmap& bitmap, const std::vector<Byte>& bytes) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), Int64(bytes.size()));
    stream.SetPosition(0);
    bitmap.LoadFromStream(stream);
}

TEST(BitmapTest, ReadsTopDownAndCoreHeaderFiles) {
    struct Case {
        bool TopDown, Core;
    };
    for (Case c : {Case{false, false}, Case{true, false}, Case{false, true}}) {
        TBitmap bitmap;
        LoadBytes(bitmap, SmallBmp(c.TopDown, c.Core));
        ASSERT_EQ(bitmap.PixelFormat(), pf24bit);
        // Bottom-up files list the bottom row first.
        LongWord firstRow = LongWord(bitmap.Canvas()->Pixels(0, c.TopDown ? 0 : 1));
        EXPECT_EQ(firstRow, Rgb(255, 0, 0));
        EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(1, c.TopDown ? 1 : 0)), Rgb(255, 255, 255));
    }
}

TEST(BitmapTest, ReadsRle8) {
    std::vector<Byte> out = {'B', 'M'};
    auto put32 = [&](std::uint32_t v) {
        for (int i = 0; i < 4; ++i) out.push_back(Byte(v >> (8 * i)));
    };
    const Byte rle[] = {4, 1, 0, 0, 2, 2, 2, 1, 0, 1};  // row 0: four of 1; row 1: 2, 2, 1, 1; end
    std::uint32_t offBits = 14 + 40 + 3 * 4;
    put32(offBits + sizeof rle);
    put32(0);
    put32(offBits);
    put32(40);
    put32(4);
    put32(2);
    out.insert(out.end(), {1, 0, 8, 0});
    put32(BI_RLE8);
    put32(sizeof rle);
    put32(0);
    put32(0);
    put32(3);
    put32(0);
    out.insert(out.end(), {0, 0, 0, 0, 0, 0, 255, 0, 255, 0, 0, 0});  // black, red, blue
    out.insert(out.end(), rle, rle + sizeof rle);
    TBitmap bitmap;
    LoadBytes(bitmap, out);
    EXPECT_EQ(bitmap.PixelFormat(), pf8bit);
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(0, 1)), Rgb(255, 0, 0));  // bottom row: red
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(0, 0)), Rgb(0, 0, 255));
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(3, 0)), Rgb(255, 0, 0));
}

TEST(BitmapTest, BadDataRaisesAndLeavesTheBitmap) {
    std::vector<Byte> good = SmallBmp(false, false);
    std::vector<std::vector<Byte>> bad = {
        {'X', 'M', 0, 0},
        std::vector<Byte>(good.begin(), good.begin() + 20),  // header cut short
        std::vector<Byte>(good.begin(), good.end() - 1),     // pixels cut short
    };
    std::vector<Byte> hugeWidth = good;
    hugeWidth[18] = 0xFF;
    hugeWidth[19] = 0xFF;
    hugeWidth[20] = 0xFF;
    hugeWidth[21] = 0x7F;
    bad.push_back(hugeWidth);
    std::vector<Byte> badDepth = good;
    badDepth[28] = 7;
    bad.push_back(badDepth);
    for (const auto& bytes : bad) {
        auto bitmap = MakeBitmap(3, 3, clRed);
        EXPECT_THROW(LoadBytes(*bitmap, bytes), EInvalidGraphic);
        EXPECT_EQ(bitmap->Width(), 3);
        EXPECT_EQ(PixelAt(*bitmap, 1, 1), Rgb(255, 0, 0));
    }
    TBitmap emptied(2, 2);
    LoadBytes(emptied, {});  // nothing to read: empty
    EXPECT_TRUE(emptied.Empty());
}

TEST(BitmapTest, AssignCopiesPixelsAndTransparency) {
    auto source = MakeBitmap(3, 3, clRed);
    source->SetTransparent(true);
    source->SetTransparentColor(clRed);
    TBitmap copy;
    copy.Assign(source.get());
    source->Canvas()->SetPixels(0, 0, clBlue);
    EXPECT_EQ(copy.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelAt(copy, 0, 0), Rgb(255, 0, 0));
    EXPECT_TRUE(copy.Transparent());
    EXPECT_EQ(copy.TransparentMode(), tmFixed);
    copy.Assign(nullptr);
    EXPECT_TRUE(copy.Empty());
}

TEST(BitmapTest, HandlesAreTakenOverAndGivenAway) {
    // A device-dependent bitmap becomes a section.
    HBITMAP ddb = CreateCompatibleBitmap(TScreenDC().Handle(), 5, 4);
    TBitmap bitmap;
    bitmap.SetHandle(ddb);
    EXPECT_EQ(bitmap.Width(), 5);
    EXPECT_EQ(bitmap.Height(), 4);
    DIBSECTION ds{};
    EXPECT_EQ(GetObjectA(bitmap.Handle(), sizeof ds, &ds), int(sizeof ds));

    // A section's pixels are taken as they are, top-down ones included.
    Byte* bits = nullptr;
    HBITMAP section = CreateTopDown32BitSection(2, 2, &bits);
    reinterpret_cast<std::uint32_t*>(bits)[0] = 0x00112233;  // top-left
    reinterpret_cast<std::uint32_t*>(bits)[3] = 0x80445566;  // bottom-right, with alpha
    bitmap.SetHandle(section);
    EXPECT_EQ(bitmap.PixelFormat(), pf32bit);
    EXPECT_EQ(PixelAt(bitmap, 0, 0), Rgb(0x11, 0x22, 0x33));
    EXPECT_EQ(static_cast<const std::uint32_t*>(bitmap.ScanLine(1))[1], 0x80445566u);
    HBITMAP handle = bitmap.Handle();
    HBITMAP released = bitmap.ReleaseHandle();
    EXPECT_EQ(released, handle);
    EXPECT_TRUE(bitmap.Empty());
    DeleteObject(released);
}

TEST(BitmapTest, StoredDataHasALengthBeforeTheFile) {
    struct TExposed : TBitmap {
        using TBitmap::ReadData;
        using TBitmap::WriteData;
    };
    auto source = MakeBitmap(2, 2, clBlue, pf24bit);
    std::vector<Byte> file = StreamBytes(*source);
    TMemoryStream data;
    static_cast<TExposed*>(source.get())->WriteData(&data);
    ASSERT_EQ(data.Size(), Int64(file.size() + 4));
    std::uint32_t length;
    std::memcpy(&length, data.Memory(), 4);
    EXPECT_EQ(length, file.size());
    EXPECT_EQ(std::memcmp(static_cast<const Byte*>(data.Memory()) + 4, file.data(), file.size()), 0);

    TExposed read;
    data.SetPosition(0);
    read.ReadData(&data);
    EXPECT_EQ(LongWord(read.Canvas()->Pixels(1, 1)), Rgb(0, 0, 255));
    // A bare BMP file is read too.
    TExposed bare;
    TMemoryStream plain;
    plain.WriteBuffer(file.data(), Int64(file.size()));
    plain.SetPosition(0);
    bare.ReadData(&plain);
    EXPECT_EQ(bare.Width(), 2);
}

// ---- Icons ---------------------------------------------------------------------------------

// A 16 x 16 icon: red, with the left half transparent (black in the
// colour bitmap, white in the mask).
HICON MakeIcon() {
    auto color = MakeBitmap(16, 16, clRed);
    color->Canvas()->Brush()->SetColor(clBlack);
    color->Canvas()->FillRect(Rect(0, 0, 8, 16));
    auto mask = MakeBitmap(16, 16, clBlack, pf1bit);
    mask->Canvas()->Brush()->SetColor(clWhite);
    mask->Canvas()->FillRect(Rect(0, 0, 8, 16));
    ICONINFO ii{TRUE, 0, 0, mask->Handle(), color->Handle()};
    return CreateIconIndirect(&ii);
}

TEST(IconTest, HandleSizeAndDrawing) {
    TIcon icon;
    EXPECT_TRUE(icon.Empty());
    icon.SetHandle(MakeIcon());
    EXPECT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    EXPECT_EQ(icon.Height(), 16);
    EXPECT_TRUE(icon.Transparent());
    EXPECT_THROW(icon.SetWidth(32), EInvalidGraphicOperation);

    auto target = MakeBitmap(20, 20, clLime);
    target->Canvas()->Draw(2, 2, &icon);
    EXPECT_EQ(PixelAt(*target, 3, 3), Rgb(0, 255, 0));  // transparent half
    EXPECT_EQ(PixelAt(*target, 14, 14), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*target, 19, 19), Rgb(0, 255, 0));
}

TEST(IconTest, StreamRoundTrip) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    std::vector<Byte> file = StreamBytes(icon);
    ASSERT_GT(file.size(), 22u);
    EXPECT_EQ(file[2], 1);  // an icon file
    EXPECT_EQ(file[4], 1);  // of one image
    EXPECT_EQ(file[6], 16);

    TIcon read;
    read.SetWidth(16);
    read.SetHeight(16);
    TMemoryStream stream;
    stream.WriteBuffer(file.data(), Int64(file.size()));
    stream.SetPosition(0);
    read.LoadFromStream(stream);
    EXPECT_EQ(read.Width(), 16);
    EXPECT_EQ(StreamBytes(read), file);  // written back as read
    auto target = MakeBitmap(16, 16, clLime);
    target->Canvas()->Draw(0, 0, &read);
    EXPECT_EQ(PixelAt(*target, 1, 1), Rgb(0, 255, 0));
    EXPECT_EQ(PixelAt(*target, 12, 12), Rgb(255, 0, 0));

    TIcon copy;
    copy.Assign(&read);
    EXPECT_NE(copy.Handle(), read.Handle());
    EXPECT_EQ(StreamBytes(copy), file);
}

TEST(IconTest, BadStreamRaises) {
    const std::vector<std::vector<Byte>> bad = {
        {0, 0, 2, 0, 1, 0},                                                            // a cursor file
        {0, 0, 1, 0, 0, 0},                                                            // no images
        {0, 0, 1, 0, 1, 0, 16, 16, 0, 0, 1, 0, 32, 0, 0xFF, 0xFF, 0, 0, 22, 0, 0, 0},  // image past the end
    };
    for (const auto& bytes : bad) {
        TIcon icon;
        TMemoryStream stream;
        stream.WriteBuffer(bytes.data(), Int64(bytes.size()));
        stream.SetPosition(0);
        EXPECT_THROW(icon.LoadFromStream(stream), EInvalidGraphic);
        EXPECT_TRUE(icon.Empty());
    }
}

}  // namespace

namespace {

// ---- Resources (compiled into this test from make_test_resources.py) ----------------------

TEST(BitmapResourceTest, LoadsBitmapResourcesByNameAndNumber) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    TBitmap bitmap;
    bitmap.LoadFromResourceName(module, "QMTESTBITMAP");
    ASSERT_EQ(bitmap.Width(), 3);
    ASSERT_EQ(bitmap.Height(), 2);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(0, 0)), Rgb(255, 0, 0));
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(2, 0)), Rgb(0, 0, 255));
    EXPECT_EQ(LongWord(bitmap.Canvas()->Pixels(2, 1)), Rgb(255, 255, 0));

    TBitmap numbered;
    numbered.LoadFromResourceID(module, 101);
    EXPECT_EQ(LongWord(numbered.Canvas()->Pixels(1, 1)), Rgb(0, 0, 0));
    EXPECT_THROW(numbered.LoadFromResourceName(module, "NOSUCHBITMAP"), EResNotFound);
    EXPECT_EQ(numbered.Width(), 3);
}

TEST(BitmapResourceTest, LoadsIconResources) {
    HINSTANCE module = GetModuleHandleA(nullptr);
    TIcon icon;
    icon.SetWidth(16);
    icon.SetHeight(16);
    icon.LoadFromResourceName(module, "QMTESTICON");
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 16);
    auto target = MakeBitmap(16, 16, clWhite);
    target->Canvas()->Draw(0, 0, &icon);
    EXPECT_EQ(PixelAt(*target, 2, 8), Rgb(255, 0, 0));
    EXPECT_EQ(PixelAt(*target, 13, 8), Rgb(0, 0, 255));

    TIcon standard;  // the system's icon size
    standard.LoadFromResourceName(module, "QMTESTICON");
    EXPECT_EQ(standard.Width(), GetSystemMetrics(SM_CXICON));
    EXPECT_THROW(standard.LoadFromResourceName(module, "NOSUCHICON"), EResNotFound);
}

}  // namespace
