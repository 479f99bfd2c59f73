// Differential checks against libpng (host only): the conformance images
// and a few thousand random images decode to the same pixels in both, and
// every image this codec writes decodes in libpng to what it holds.
//
// Where the two are meant to differ, the images are left out:
// - gAMA: this codec maps colour samples and palettes through its gamma
//   table on reading, libpng (without gamma transforms) does not;
// - filter types above 4: taken as None here, refused by libpng;
// - a zlib stream that ends before the image data does: the rows that came
//   are kept here, libpng fails ("Not enough image data");
// - filter methods other than 0: not checked here, refused by libpng.
// Saving writes 16-bit samples with a low byte of 0; an image with a key
// reads back in libpng transparent at the same pixels (a pixel that is not
// the key but would be written as it gets a low byte of 1).
#include <gtest/gtest.h>
#include <png.h>

#include <csetjmp>
#include <cstdlib>
#include <random>
#include <sstream>

#include "png_test_support.h"

using namespace pngtest;

namespace {

// Pixels as 16-bit red, green, blue and alpha; 8-bit images use the low
// half. Depth16 tells which.
struct TRgbaImage {
    int Width = 0, Height = 0;
    bool Depth16 = false;
    std::vector<Word> Pixels;
};

struct TMemoryReader {
    const Byte* Data;
    std::size_t Size, Position;
};

void ReadCallback(png_structp png, png_bytep out, png_size_t count) {
    auto* r = static_cast<TMemoryReader*>(png_get_io_ptr(png));
    if (r->Position + count > r->Size) png_error(png, "read past the end");
    std::memcpy(out, r->Data + r->Position, count);
    r->Position += count;
}

void Silent(png_structp, png_const_charp) {}
[[noreturn]] void Fail(png_structp png, png_const_charp) { png_longjmp(png, 1); }

// Decodes with libpng: palettes and small grey samples expanded, tRNS made
// into alpha, grey made colour, opaque images given alpha 0xFFFF.
bool LibpngDecode(const TBytes& file, TRgbaImage& out) {
    TMemoryReader reader{file.data(), file.size(), 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, Fail, Silent);
    png_infop info = png_create_info_struct(png);
    // Plain memory only past setjmp: a libpng error jumps back over it.
    Byte* volatile buffer = nullptr;
    png_bytep* volatile rows = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        std::free(buffer);
        std::free(rows);
        png_destroy_read_struct(&png, &info, nullptr);
        return false;
    }
    png_set_read_fn(png, &reader, ReadCallback);
    png_set_benign_errors(png, 1);
    png_read_info(png, info);
    int depth = png_get_bit_depth(png, info);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xFFFF, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    int w = int(png_get_image_width(png, info)), h = int(png_get_image_height(png, info));
    std::size_t rowBytes = png_get_rowbytes(png, info);
    buffer = static_cast<Byte*>(std::malloc(rowBytes * std::size_t(h)));
    rows = static_cast<png_bytep*>(std::malloc(sizeof(png_bytep) * std::size_t(h)));
    for (int y = 0; y < h; ++y) rows[y] = buffer + rowBytes * std::size_t(y);
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    out.Width = w;
    out.Height = h;
    out.Depth16 = depth == 16;
    out.Pixels.assign(std::size_t(w) * h * 4, 0);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w * 4; ++x) {
            const Byte* p = rows[y];
            out.Pixels[std::size_t(y) * w * 4 + x] = out.Depth16 ? Word((p[2 * x] << 8) | p[2 * x + 1]) : p[x];
        }
    std::free(buffer);
    std::free(rows);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

// The same form from this codec's buffers. Colour-keyed grey and colour
// images get alpha 0 on pixels of the key colour.
TRgbaImage OurImage(const TPNGObjectCore& png) {
    TRgbaImage out;
    TChunkIHDR& h = png.Header();
    out.Width = png.Width();
    out.Height = png.Height();
    out.Depth16 = h.BitDepth == 16;
    bool keyed = png.TransparencyKind() == tkColorKey && h.ColorType != COLOR_PALETTE;
    out.Pixels.resize(std::size_t(out.Width) * out.Height * 4);
    for (int y = 0; y < out.Height; ++y)
        for (int x = 0; x < out.Width; ++x) {
            Byte p[8];
            RenderedPixel(png, x, y, p);
            Word* d = &out.Pixels[(std::size_t(y) * out.Width + x) * 4];
            for (int c = 0; c < 3; ++c) d[c] = out.Depth16 ? Word((p[c] << 8) | p[4 + c]) : p[c];
            Byte a = p[3];
            if (keyed && png.IsKeyPixel(x, y)) a = 0;
            d[3] = out.Depth16 ? Word(a << 8) : a;
        }
    return out;
}

// Equal pixels; of a 16-bit alpha only the high byte is held here.
::testing::AssertionResult SamePixels(const TRgbaImage& ours, const TRgbaImage& theirs) {
    if (ours.Width != theirs.Width || ours.Height != theirs.Height || ours.Depth16 != theirs.Depth16)
        return ::testing::AssertionFailure() << "different size or depth";
    for (std::size_t i = 0; i < ours.Pixels.size(); ++i) {
        Word a = ours.Pixels[i], b = theirs.Pixels[i];
        if (i % 4 == 3 && ours.Depth16) b &= 0xFF00;
        if (a != b)
            return ::testing::AssertionFailure()
                   << "pixel " << i / 4 << " channel " << i % 4 << ": ours " << a << ", libpng " << b;
    }
    return ::testing::AssertionSuccess();
}

// The image less the low bytes of 16-bit samples (which saving drops).
TRgbaImage HighBytes(TRgbaImage image) {
    if (image.Depth16)
        for (Word& p : image.Pixels) p &= 0xFF00;
    return image;
}

// Writes png with the given settings, and checks that libpng reads the
// result as what png holds, less the low bytes of 16-bit samples; keyed
// images transparent at the same pixels.
::testing::AssertionResult WrittenReadsBack(TPNGObjectCore& png) {
    TBytes saved = Save(png);
    TRgbaImage expected = HighBytes(OurImage(png));
    TRgbaImage theirs;
    if (!LibpngDecode(saved, theirs)) return ::testing::AssertionFailure() << "libpng refused the written image";
    TPNGObjectCore again;
    if (LoadError(again, saved) != 0) return ::testing::AssertionFailure() << "the written image does not load here";
    TRgbaImage ourAgain = HighBytes(OurImage(again));
    if (!SamePixels(ourAgain, expected)) return ::testing::AssertionFailure() << "reads back differently here";
    return SamePixels(expected, HighBytes(theirs));
}

struct TFormat {
    Byte ColorType, Depth;
};
const TFormat Formats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8}, {0, 16}, {2, 8}, {2, 16}, {3, 1},
                           {3, 2}, {3, 4}, {3, 8}, {4, 8}, {4, 16}, {6, 8}, {6, 16}};

// A random image written by hand: random filter bytes (0 to 4) over random
// filtered bytes, a full palette, sometimes a tRNS, random zlib level and
// random IDAT chunk sizes.
TBytes RandomPng(std::mt19937& rng) {
    auto pick = [&](int n) { return int(rng() % unsigned(n)); };
    TFormat f = Formats[pick(15)];
    LongWord w = LongWord(1 + (pick(10) == 0 ? pick(300) : pick(48)));
    LongWord h = LongWord(1 + (pick(10) == 0 ? pick(200) : pick(48)));
    bool interlaced = pick(2) == 1;
    TBytes filtered;
    auto addRows = [&](std::uint64_t width, LongWord rows) {
        std::size_t rb = RowBytesFor(width, f.ColorType, f.Depth);
        if (rb == 0) return;
        for (LongWord y = 0; y < rows; ++y) {
            filtered.push_back(Byte(pick(5)));
            int style = pick(4);  // runs of equal bytes compress and repeat
            Byte run = Byte(rng());
            for (std::size_t i = 0; i < rb; ++i) filtered.push_back(style == 0 ? run : Byte(rng()));
        }
    };
    if (!interlaced) {
        addRows(w, h);
    } else {
        for (const TAdam7Pass& pass : Adam7Passes)
            if (LongWord(pass.RowStart) < h)
                addRows(Adam7PassWidth(pass, w), (h - pass.RowStart + pass.RowStep - 1) / pass.RowStep);
    }
    TBytes out = Signature();
    auto append = [&](const TBytes& c) { out.insert(out.end(), c.begin(), c.end()); };
    append(Chunk("IHDR", HeaderData(w, h, f.Depth, f.ColorType, interlaced ? 1 : 0)));
    if (f.ColorType == COLOR_PALETTE) {
        int entries = 1 << f.Depth;
        TBytes plte(std::size_t(entries) * 3);
        for (Byte& b : plte) b = Byte(rng());
        append(Chunk("PLTE", plte));
        if (pick(2)) {
            TBytes trns(std::size_t(1 + pick(entries)));
            for (Byte& b : trns) b = pick(3) == 0 ? Byte(rng()) : Byte(pick(2) * 255);
            append(Chunk("tRNS", trns));
        }
    } else if ((f.ColorType == COLOR_GRAYSCALE || f.ColorType == COLOR_RGB) && pick(2)) {
        // A key that the image holds when it is the first pixel's value;
        // a 16-bit key then often differs from other samples only in the
        // low byte (rows of equal bytes).
        int samples = f.ColorType == COLOR_RGB ? 3 : 1;
        bool fromPixel = !interlaced && filtered.size() > std::size_t(2 * samples) && filtered[0] == 0;
        TBytes trns;
        for (int s = 0; s < samples; ++s) {
            int v = pick(1 << std::min<int>(f.Depth, 16));
            if (fromPixel && f.Depth == 8) v = filtered[1 + s];
            if (fromPixel && f.Depth == 16) v = (filtered[1 + 2 * s] << 8) | (filtered[2 + 2 * s] ^ Byte(pick(2)));
            trns.push_back(Byte(v >> 8));
            trns.push_back(Byte(v));
        }
        append(Chunk("tRNS", trns));
    }
    TBytes data = Compress(filtered, pick(10));
    std::size_t pos = 0;
    int sizeStyle = pick(3);
    while (pos < data.size()) {
        std::size_t n = sizeStyle == 0   ? data.size()
                        : sizeStyle == 1 ? std::size_t(1 + pick(40))
                                         : std::size_t(1 + pick(5000));
        n = std::min(n, data.size() - pos);
        append(Chunk("IDAT", TBytes(data.begin() + long(pos), data.begin() + long(pos + n))));
        pos += n;
    }
    append(Chunk("IEND"));
    return out;
}

bool MeantToDiffer(const std::string& name) {
    return (name[0] == 'g' && name != "gbadn2c08")  // gamma
           || name.rfind("fxx", 0) == 0             // filter types above 4
           || name == "cshn2c08"                    // short zlib stream
           || name == "cfmn2c08";                   // filter method 1: not checked here
}

}  // namespace

TEST(PngLibpng, ConformanceImagesDecodeAlike) {
    std::ifstream cases("cases.txt");
    std::string line;
    int compared = 0;
    while (std::getline(cases, line)) {
        std::istringstream in(line);
        std::string name, outcome;
        in >> name >> outcome;
        if (outcome != "pixels" || MeantToDiffer(name)) continue;
        SCOPED_TRACE(name);
        TBytes file = ReadFile(name + ".png");
        TPNGObjectCore png;
        ASSERT_EQ(LoadError(png, file), 0);
        TRgbaImage theirs;
        ASSERT_TRUE(LibpngDecode(file, theirs));
        EXPECT_TRUE(SamePixels(OurImage(png), theirs));
        EXPECT_TRUE(WrittenReadsBack(png));
        ++compared;
    }
    EXPECT_GT(compared, 250);
}

TEST(PngLibpng, RandomImagesDecodeAlike) {
    std::mt19937 rng(20240229);
    int failures = 0;
    for (int i = 0; i < 3000 && failures < 5; ++i) {
        TBytes file = RandomPng(rng);
        SCOPED_TRACE("random image " + std::to_string(i));
        TPNGObjectCore png;
        int id = LoadError(png, file);
        TRgbaImage theirs;
        bool theirsOk = LibpngDecode(file, theirs);
        if (id != 0 || !theirsOk) {
            ADD_FAILURE() << "ours " << id << ", libpng " << theirsOk;
            ++failures;
            continue;
        }
        if (!SamePixels(OurImage(png), theirs)) {
            ADD_FAILURE() << SamePixels(OurImage(png), theirs).message();
            ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}

TEST(PngLibpng, WrittenImagesReadBackInLibpng) {
    std::mt19937 rng(7);
    const TPngRowFilters filterSets[] = {{rfSub},         {rfNone},   {}, {rfNone, rfSub, rfUp, rfAverage, rfPaeth},
                                         {rfUp, rfPaeth}, {rfAverage}};
    int failures = 0;
    for (int i = 0; i < 600 && failures < 5; ++i) {
        TBytes file = RandomPng(rng);
        TPNGObjectCore png;
        ASSERT_EQ(LoadError(png, file), 0);
        SCOPED_TRACE("random image " + std::to_string(i));
        png.SetRowFilters(filterSets[i % 6]);
        png.SetDeflateLevel(Byte(i % 10));
        png.SetInterlacing(i % 3 == 0 ? ilAdam7 : ilNone);
        if (i % 4 == 0) png.SetMaxDataChunkSize(65535 + i);
        auto result = WrittenReadsBack(png);
        if (!result) {
            ADD_FAILURE() << result.message();
            ++failures;
        }
    }
    EXPECT_EQ(failures, 0);
}
