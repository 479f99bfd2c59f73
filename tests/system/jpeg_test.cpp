// libjpeg, cross-built for Windows, compresses and decompresses in memory.
#include <gtest/gtest.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

extern "C" {
#include <jpeglib.h>
}

namespace {

constexpr int kWidth = 16, kHeight = 8;

// A smooth colour ramp: JPEG keeps it close at high quality.
std::vector<unsigned char> MakeImage() {
    std::vector<unsigned char> rgb(kWidth * kHeight * 3);
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x) {
            unsigned char* p = &rgb[(y * kWidth + x) * 3];
            p[0] = static_cast<unsigned char>(x * 16);
            p[1] = static_cast<unsigned char>(y * 32);
            p[2] = 128;
        }
    return rgb;
}

std::vector<unsigned char> Compress(const std::vector<unsigned char>& rgb) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = kWidth;
    c.image_height = kHeight;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    for (int i = 0; i < c.num_components; ++i)  // no chroma subsampling
        c.comp_info[i].h_samp_factor = c.comp_info[i].v_samp_factor = 1;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<unsigned char*>(&rgb[c.next_scanline * kWidth * 3]);
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    std::vector<unsigned char> data(out, out + size);
    jpeg_destroy_compress(&c);
    std::free(out);
    return data;
}

// Errors leave the decoder by longjmp instead of ending the program.
struct JumpError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<JumpError*>(info->err)->jump, 1); }
void Silent(j_common_ptr, int) {}

// Decodes into rgb; false when libjpeg reports an error.
bool Decompress(const std::vector<unsigned char>& data, std::vector<unsigned char>& rgb, int& width, int& height) {
    jpeg_decompress_struct d{};
    JumpError err{};
    d.err = jpeg_std_error(&err.mgr);
    err.mgr.error_exit = ErrorExit;
    err.mgr.emit_message = Silent;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&d);
        return false;
    }
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, data.data(), static_cast<unsigned long>(data.size()));
    jpeg_read_header(&d, TRUE);
    d.out_color_space = JCS_RGB;
    jpeg_start_decompress(&d);
    width = static_cast<int>(d.output_width);
    height = static_cast<int>(d.output_height);
    rgb.assign(static_cast<std::size_t>(width) * height * 3, 0);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &rgb[d.output_scanline * static_cast<std::size_t>(width) * 3];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    return true;
}

TEST(LibJpeg, RoundTripsAnImageInMemory) {
    std::vector<unsigned char> original = MakeImage();
    std::vector<unsigned char> data = Compress(original);
    ASSERT_GT(data.size(), 4u);
    EXPECT_EQ(data[0], 0xFF);  // SOI marker
    EXPECT_EQ(data[1], 0xD8);

    std::vector<unsigned char> decoded;
    int width = 0, height = 0;
    ASSERT_TRUE(Decompress(data, decoded, width, height));
    EXPECT_EQ(width, kWidth);
    EXPECT_EQ(height, kHeight);
    ASSERT_EQ(decoded.size(), original.size());
    int worst = 0;
    for (std::size_t i = 0; i < original.size(); ++i)
        worst = std::max(worst, std::abs(int(decoded[i]) - int(original[i])));
    EXPECT_LE(worst, 8);
}

TEST(LibJpeg, CorruptDataIsReportedNotFatal) {
    std::vector<unsigned char> data = {0xFF, 0xD8, 0xFF, 0xC0, 0x00, 0x02, 0x12, 0x34};
    std::vector<unsigned char> decoded;
    int width = 0, height = 0;
    EXPECT_FALSE(Decompress(data, decoded, width, height));
}

}  // namespace
