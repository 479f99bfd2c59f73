// Whole-buffer inflation and deflation for the compressed text chunks.
#include <zlib.h>

#include <cstring>

#include "imaging/png/png_chunks.h"

bool InflateBuffer(const Byte* input, std::size_t size, String& output, String& message, std::size_t maxOutput) {
    output.clear();
    z_stream z;
    std::memset(&z, 0, sizeof z);
    int result = inflateInit(&z);
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
        result = inflate(&z, Z_NO_FLUSH);
        std::size_t produced = sizeof block - z.avail_out;
        if (result < 0 || result == Z_NEED_DICT) {
            message = zError(result);
            ok = false;
            break;
        }
        if (output.size() + produced > maxOutput) {
            message = "text too large";
            ok = false;
            break;
        }
        output.append(reinterpret_cast<const char*>(block), produced);
        if (result == Z_STREAM_END) break;
        if (produced == 0 && z.avail_in == 0) {  // the data ends before the stream does
            message = zError(Z_DATA_ERROR);
            ok = false;
            break;
        }
    }
    inflateEnd(&z);
    if (!ok) output.clear();
    return ok;
}

bool DeflateBuffer(const Byte* input, std::size_t size, int level, std::vector<Byte>& output, String& message) {
    output.clear();
    z_stream z;
    std::memset(&z, 0, sizeof z);
    int result = deflateInit(&z, level);
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
        result = deflate(&z, Z_FINISH);
        if (result < 0) {
            message = zError(result);
            ok = false;
            break;
        }
        output.insert(output.end(), block, block + (sizeof block - z.avail_out));
        if (result == Z_STREAM_END) break;
    }
    deflateEnd(&z);
    if (!ok) output.clear();
    return ok;
}
