// JPEG pictures: decoding pictures made here with libjpeg's compressor.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <functional>

#include "classlib/ui/jpeg.h"
#include "ui_test_support.h"

extern "C" {
#include <jpeglib.h>
}

namespace {

// A width x height JPEG of the given colour type whose pixel at x, y is
// pixel(x, y) (red, green, blue; grey images take the red).
using TPixelFn = std::function<LongWord(int x, int y)>;

std::vector<Byte> MakeJpeg(int width, int height, bool gray, const TPixelFn& pixel) {
    jpeg_compress_struct info{};
    jpeg_error_mgr err{};
    info.err = jpeg_std_error(&err);
    jpeg_create_compress(&info);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = JDIMENSION(width);
    info.image_height = JDIMENSION(height);
    info.input_components = gray ? 1 : 3;
    info.in_color_space = gray ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 95, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<Byte> row(size_t(width) * 3);
    while (info.next_scanline < info.image_height) {
        int y = int(info.next_scanline);
        for (int x = 0; x < width; ++x) {
            LongWord c = pixel(x, y);
            if (gray) {
                row[size_t(x)] = Byte(c);
            } else {
                row[size_t(x) * 3] = Byte(c);
                row[size_t(x) * 3 + 1] = Byte(c >> 8);
                row[size_t(x) * 3 + 2] = Byte(c >> 16);
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&info, rows, 1);
    }
    jpeg_finish_compress(&info);
    std::vector<Byte> out(buffer, buffer + size);
    jpeg_destroy_compress(&info);
    free(buffer);
    return out;
}

void Load(TGraphic& graphic, const std::vector<Byte>& bytes) {
    TMemoryStream stream;
    if (!bytes.empty()) stream.WriteBuffer(bytes.data(), Int64(bytes.size()));
    stream.SetPosition(0);
    graphic.LoadFromStream(stream);
}

// Left half red, right half blue, with a green bottom band.
LongWord Quarters(int x, int y) {
    if (y >= 16) return Rgb(0, 255, 0);
    return x < 16 ? Rgb(255, 0, 0) : Rgb(0, 0, 255);
}

TEST(JpegTest, DecodesColourPictures) {
    std::vector<Byte> bytes = MakeJpeg(32, 24, false, Quarters);
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    EXPECT_FALSE(jpeg.Empty());
    EXPECT_EQ(jpeg.Width(), 32);
    EXPECT_EQ(jpeg.Height(), 24);
    EXPECT_FALSE(jpeg.Grayscale());
    EXPECT_FALSE(jpeg.Transparent());

    auto target = MakeBitmap(40, 30, clWhite);
    target->Canvas()->Draw(4, 3, &jpeg);
    const int tolerance = 12;
    ExpectNear(PixelAt(*target, 4 + 4, 3 + 4), Rgb(255, 0, 0), tolerance);
    ExpectNear(PixelAt(*target, 4 + 27, 3 + 4), Rgb(0, 0, 255), tolerance);
    ExpectNear(PixelAt(*target, 4 + 8, 3 + 20), Rgb(0, 255, 0), tolerance);
    EXPECT_EQ(PixelAt(*target, 1, 1), Rgb(255, 255, 255));
    EXPECT_EQ(PixelAt(*target, 37, 28), Rgb(255, 255, 255));

    // The file is written back byte for byte.
    TMemoryStream saved;
    jpeg.SaveToStream(saved);
    ASSERT_EQ(saved.Size(), Int64(bytes.size()));
    EXPECT_EQ(std::memcmp(saved.Memory(), bytes.data(), bytes.size()), 0);
}

TEST(JpegTest, GreyPicturesAndBitmapCopies) {
    std::vector<Byte> bytes = MakeJpeg(16, 16, true, [](int x, int) { return LongWord(x < 8 ? 40 : 200); });
    TJPEGImage jpeg;
    Load(jpeg, bytes);
    EXPECT_TRUE(jpeg.Grayscale());
    TBitmap bitmap;
    bitmap.Assign(&jpeg);
    EXPECT_EQ(bitmap.PixelFormat(), pf24bit);
    ASSERT_EQ(bitmap.Width(), 16);
    const Byte* row = static_cast<const Byte*>(bitmap.ScanLine(8));
    EXPECT_NEAR(row[2 * 3], 40, 6);
    EXPECT_EQ(row[2 * 3], row[2 * 3 + 1]);
    EXPECT_EQ(row[2 * 3], row[2 * 3 + 2]);
    EXPECT_NEAR(row[13 * 3], 200, 6);

    TJPEGImage copy;
    copy.Assign(&jpeg);
    EXPECT_EQ(copy.Width(), 16);
    EXPECT_TRUE(copy.Grayscale());
}

TEST(JpegTest, BadDataRaisesAndLeavesThePicture) {
    std::vector<Byte> good = MakeJpeg(8, 8, false, Quarters);
    TJPEGImage jpeg;
    Load(jpeg, good);
    for (const std::vector<Byte>& bad : {std::vector<Byte>{}, std::vector<Byte>{'G', 'I', 'F', '8', '9', 'a'},
                                         std::vector<Byte>(good.begin(), good.begin() + 20)}) {
        EXPECT_THROW(Load(jpeg, bad), EJPEG);
        EXPECT_EQ(jpeg.Width(), 8);
    }
    try {
        Load(jpeg, {0x00, 0x01, 0x02, 0x03});
        FAIL() << "no exception";
    } catch (const EJPEG& e) {
        EXPECT_EQ(e.Message().rfind("JPEG error #", 0), 0u) << e.Message();
    }
    // A header with the data cut off: the error comes with the pixels.
    std::vector<Byte> large = MakeJpeg(64, 64, false, [](int x, int y) { return Rgb(x * 4, y * 4, (x ^ y) * 4); });
    std::vector<Byte> cut(large.begin(), large.begin() + Int64(large.size()) * 3 / 4);
    TJPEGImage partial;
    Load(partial, cut);
    EXPECT_EQ(partial.Width(), 64);
    auto target = MakeBitmap(64, 64, clWhite);
    target->Canvas()->Draw(0, 0, &partial);  // libjpeg fills in what is missing
}

}  // namespace
