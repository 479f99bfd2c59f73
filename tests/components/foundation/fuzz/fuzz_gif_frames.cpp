// GIF frame counting and selection on arbitrary bytes: the first byte picks
// the frame (-1 to 4), the rest is the file. Selection never reads past the
// data and gives the bytes before the first frame followed by a tail of
// the data.
#include <cstdlib>
#include <cstring>

#include "components/foundation/gif_frames.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    int frame = int(data[0] % 6) - 1;
    std::vector<Byte> file(data + 1, data + size);
    int count = CountGifFrames(file);
    TGifFrameSelection s = SelectGifFrame(file, frame);
    if (s.Bytes.size() > file.size()) std::abort();
    if (count <= 0 || frame <= 1) {
        if (s.Bytes != file) std::abort();
        return 0;
    }
    // A prefix of the file, then (for an existing frame) a tail of it.
    size_t n = s.Bytes.size();
    size_t prefix = 0;
    while (prefix < n && s.Bytes[prefix] == file[prefix]) ++prefix;
    size_t tail = n - prefix;
    if (tail > 0 && std::memcmp(s.Bytes.data() + prefix, file.data() + file.size() - tail, tail) != 0) std::abort();
    if (frame > count && tail != 0 && s.FrameWidth != 0) std::abort();
    return 0;
}
