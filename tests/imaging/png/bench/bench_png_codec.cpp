// Decode and encode throughput of this codec against libpng on the same
// images: a photo-like 24-bit image, a 32-bit image with alpha, a palette
// image and an interlaced 24-bit image. Both use the same zlib. libpng
// decodes into the same form as this codec holds (blue-green-red order,
// indices for the palette image); both encoders write Sub rows at level 7.
#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <csetjmp>
#include <cstring>
#include <ctime>
#include <vector>

#include "classlib/core/streams.h"
#include "imaging/png/png_image.h"

namespace {

using TBytes = std::vector<Byte>;

constexpr int W = 1024, H = 768;

struct TSource {
    int ColorType, Channels;
    bool Interlaced;
    TBytes Pixels;  // top-down, PNG sample order
};

// Smooth shapes with a little noise, like a photograph.
TSource MakeSource(int colorType, bool interlaced) {
    TSource s{colorType, colorType == 6 ? 4 : colorType == 3 ? 1 : 3, interlaced, {}};
    s.Pixels.resize(std::size_t(W) * H * s.Channels);
    unsigned seed = 12345;
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            Byte* p = &s.Pixels[(std::size_t(y) * W + x) * s.Channels];
            seed = seed * 1103515245u + 12345u;
            int noise = int((seed >> 16) % 9) - 4;
            double u = x / double(W), v = y / double(H);
            int r = int(128 + 100 * std::sin(6 * u + 2 * v) + noise);
            int g = int(128 + 90 * std::cos(5 * v - 3 * u * v) + noise);
            int b = int(128 + 80 * std::sin(9 * u * v + 1) - noise);
            auto clamp = [](int c) { return Byte(c < 0 ? 0 : c > 255 ? 255 : c); };
            if (colorType == 3) {
                p[0] = Byte((clamp(r) / 32) * 32 + (clamp(g) / 64) * 4 + clamp(b) / 64);
            } else {
                p[0] = clamp(r);
                p[1] = clamp(g);
                p[2] = clamp(b);
                if (s.Channels == 4) p[3] = clamp(int(255 * (0.5 + 0.5 * std::sin(4 * u + 7 * v))) + noise);
            }
        }
    return s;
}

void WriteCallback(png_structp png, png_bytep data, png_size_t n) {
    auto* out = static_cast<TBytes*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}
void FlushCallback(png_structp) {}

// libpng writing: its default filter choice and level, or Sub at level 7.
TBytes LibpngEncode(const TSource& s, bool sameAsOurs) {
    TBytes out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, WriteCallback, FlushCallback);
    png_set_IHDR(png, info, W, H, 8, s.ColorType, s.Interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[256];
    for (int i = 0; i < 256; ++i) palette[i] = {Byte((i >> 5) * 36), Byte(((i >> 2) & 7) * 36), Byte((i & 3) * 85)};
    if (s.ColorType == 3) png_set_PLTE(png, info, palette, 256);
    if (sameAsOurs) {
        png_set_compression_level(png, 7);
        png_set_filter(png, 0, PNG_FILTER_SUB);
    }
    png_write_info(png, info);
    std::vector<png_bytep> rows(H);
    for (int y = 0; y < H; ++y) rows[y] = const_cast<Byte*>(&s.Pixels[std::size_t(y) * W * s.Channels]);
    png_write_image(png, rows.data());
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return out;
}

struct TReader {
    const TBytes* Data;
    std::size_t Position;
};
void ReadCallback(png_structp png, png_bytep out, png_size_t n) {
    auto* r = static_cast<TReader*>(png_get_io_ptr(png));
    std::memcpy(out, r->Data->data() + r->Position, n);
    r->Position += n;
}

// libpng reading into bottom-up rows in blue-green-red order.
void LibpngDecode(const TBytes& file, TBytes& pixels) {
    TReader reader{&file, 0};
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        return;
    }
    png_set_read_fn(png, &reader, ReadCallback);
    png_read_info(png, info);
    png_set_bgr(png);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    std::size_t rowBytes = png_get_rowbytes(png, info);
    std::size_t stride = (rowBytes + 3) & ~std::size_t(3);
    pixels.resize(stride * H);
    png_bytep rows[H];
    for (int y = 0; y < H; ++y) rows[y] = pixels.data() + stride * (H - 1 - y);
    png_read_image(png, rows);
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
}

struct TCase {
    const char* Name;
    int ColorType;
    bool Interlaced;
};
const TCase Cases[] = {{"photo24", 2, false}, {"alpha32", 6, false}, {"palette8", 3, false}, {"interlaced24", 2, true}};

const TSource& Source(int index) {
    static std::vector<TSource> sources;
    if (sources.empty())
        for (const TCase& c : Cases) sources.push_back(MakeSource(c.ColorType, c.Interlaced));
    return sources[std::size_t(index)];
}

// The file both decoders read: as libpng writes it by default.
const TBytes& File(int index) {
    static std::vector<TBytes> files;
    if (files.empty())
        for (int i = 0; i < 4; ++i) files.push_back(LibpngEncode(Source(i), false));
    return files[std::size_t(index)];
}

void DecodeOurs(benchmark::State& state) {
    int i = int(state.range(0));
    const TBytes& file = File(i);
    TMemoryStream stream;
    stream.Write(file.data(), Int64(file.size()));
    TPNGObjectCore png;
    for (auto _ : state) {
        stream.SetPosition(0);
        png.LoadFromStream(stream);
        benchmark::DoNotOptimize(png.HeaderChunk()->PixelBits());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(W) * H * Source(i).Channels);
    state.SetLabel(Cases[i].Name);
}

void DecodeLibpng(benchmark::State& state) {
    int i = int(state.range(0));
    const TBytes& file = File(i);
    TBytes pixels;
    for (auto _ : state) {
        LibpngDecode(file, pixels);
        benchmark::DoNotOptimize(pixels.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(W) * H * Source(i).Channels);
    state.SetLabel(Cases[i].Name);
}

// The thread's processor time in seconds: on a busy machine the clock on
// the wall also counts the time the thread waited for a processor.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// Both decoders on the same file, interleaved: each iteration decodes it
// once with each, in turns of order, and the counters give libpng's time
// over this codec's for the pair (median and range): above 1 this codec
// is the faster.
void DecodeSpeedRatio(benchmark::State& state) {
    int i = int(state.range(0));
    const TBytes& file = File(i);
    TMemoryStream stream;
    stream.Write(file.data(), Int64(file.size()));
    TPNGObjectCore png;
    TBytes pixels;
    std::vector<double> ratios;
    bool oursFirst = true;
    for (auto _ : state) {
        double ours = 0, theirs = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = ThreadSeconds();
            if ((turn == 0) == oursFirst) {
                stream.SetPosition(0);
                png.LoadFromStream(stream);
                benchmark::DoNotOptimize(png.HeaderChunk()->PixelBits());
                ours = ThreadSeconds() - start;
            } else {
                LibpngDecode(file, pixels);
                benchmark::DoNotOptimize(pixels.data());
                theirs = ThreadSeconds() - start;
            }
        }
        oursFirst = !oursFirst;
        ratios.push_back(theirs / ours);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["libpng_over_ours_median"] = ratios[ratios.size() / 2];
    state.counters["min"] = ratios.front();
    state.counters["max"] = ratios.back();
    state.SetLabel(Cases[i].Name);
}

void EncodeOurs(benchmark::State& state) {
    int i = int(state.range(0));
    TMemoryStream in;
    in.Write(File(i).data(), Int64(File(i).size()));
    in.SetPosition(0);
    TPNGObjectCore png;
    png.LoadFromStream(in);
    png.SetInterlacing(Cases[i].Interlaced ? ilAdam7 : ilNone);
    for (auto _ : state) {
        TMemoryStream out;
        png.SaveToStream(out);
        benchmark::DoNotOptimize(out.Memory());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(W) * H * Source(i).Channels);
    state.SetLabel(Cases[i].Name);
}

void EncodeLibpng(benchmark::State& state) {
    int i = int(state.range(0));
    for (auto _ : state) {
        TBytes out = LibpngEncode(Source(i), true);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * std::int64_t(W) * H * Source(i).Channels);
    state.SetLabel(Cases[i].Name);
}

}  // namespace

BENCHMARK(DecodeOurs)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeLibpng)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(DecodeSpeedRatio)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(2.0);
BENCHMARK(EncodeOurs)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);
BENCHMARK(EncodeLibpng)->DenseRange(0, 3)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
