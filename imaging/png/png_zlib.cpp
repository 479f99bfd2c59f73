// Whole-buffer inflation and deflation for the compressed text chunks.
#include <zlib.h>

#include <cstring>
#include <functional>

#include "imaging/png/png_chunks.h"

namespace {

enum class TZlibDirection { Inflate, Deflate };

// Runs one zlib stream over the whole input: each block of output goes to
// take, which may stop the stream by returning false with a message. True
// when the stream ended; on failure message says why.
bool RunZlibStream(TZlibDirection direction, int level, const Byte* input, std::size_t size,
                   const std::function<bool(const Byte* block, std::size_t count, String& message)>& take,
                   String& message) {
    const bool inflating = direction == TZlibDirection::Inflate;
    z_stream z;
    std::memset(&z, 0, sizeof z);
    int result = inflating ? inflateInit(&z) : deflateInit(&z, level);
    if (result != Z_OK) {
        message = zError(result);
        return false;
    }
    z.next_in = const_cast<Byte*>(input);
    z.avail_in = uInt(size);
    Byte block[256];
    bool ok = true;
    for (;;) {
        z.next_out = block;
        z.avail_out = sizeof block;
        result = inflating ? inflate(&z, Z_NO_FLUSH) : deflate(&z, Z_FINISH);
        std::size_t produced = sizeof block - z.avail_out;
        if (result < 0 || result == Z_NEED_DICT) {
            message = zError(result);
            ok = false;
            break;
        }
        if (!take(block, produced, message)) {
            ok = false;
            break;
        }
        if (result == Z_STREAM_END) break;
        if (produced == 0 && z.avail_in == 0) {  // the data ends before the stream does
            message = zError(Z_DATA_ERROR);
            ok = false;
            break;
        }
    }
    if (inflating)
        inflateEnd(&z);
    else
        deflateEnd(&z);
    return ok;
}

}  // namespace

bool InflateBuffer(const Byte* input, std::size_t size, String& output, String& message, std::size_t maxOutput) {
    output.clear();
    bool ok = RunZlibStream(
        TZlibDirection::Inflate, 0, input, size,
        [&](const Byte* block, std::size_t count, String& error) {
            if (output.size() + count > maxOutput) {
                error = "text too large";
                return false;
            }
            output.append(reinterpret_cast<const char*>(block), count);
            return true;
        },
        message);
    if (!ok) output.clear();
    return ok;
}

bool DeflateBuffer(const Byte* input, std::size_t size, int level, std::vector<Byte>& output, String& message) {
    output.clear();
    bool ok = RunZlibStream(
        TZlibDirection::Deflate, level, input, size,
        [&](const Byte* block, std::size_t count, String&) {
            output.insert(output.end(), block, block + count);
            return true;
        },
        message);
    if (!ok) output.clear();
    return ok;
}
