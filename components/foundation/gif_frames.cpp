#include "components/foundation/gif_frames.h"

namespace {

// The control block is 8 bytes (0x21 0xF9 0x04, 4 data bytes, terminator),
// the image descriptor 10 (0x2C, 4 values of 2 bytes, packed byte).
constexpr size_t kControlBlockSize = 8;
constexpr size_t kDescriptorSize = 10;

bool FrameStartsAt(std::span<const Byte> data, size_t i) {
    if (data.size() < kControlBlockSize + kDescriptorSize || i > data.size() - kControlBlockSize - kDescriptorSize)
        return false;
    return data[i] == 0x21 && data[i + 1] == 0xF9 && data[i + 2] == 0x04 && data[i + kControlBlockSize] == 0x2C;
}

Word ReadWord(std::span<const Byte> data, size_t at) { return Word(data[at] | (data[at + 1] << 8)); }

std::vector<size_t> FrameStarts(std::span<const Byte> data) {
    std::vector<size_t> starts;
    for (size_t i = 0; i < data.size(); ++i)
        if (FrameStartsAt(data, i)) starts.push_back(i);
    return starts;
}

}  // namespace

bool IsGifData(std::span<const Byte> data) {
    return data.size() >= 5 && data[0] == 'G' && data[1] == 'I' && data[2] == 'F' && data[3] == '8';
}

int CountGifFrames(std::span<const Byte> data) {
    if (!IsGifData(data)) return -1;
    return int(FrameStarts(data).size());
}

TGifFrameSelection SelectGifFrame(std::span<const Byte> data, int frame) {
    TGifFrameSelection result;
    std::vector<size_t> starts = IsGifData(data) ? FrameStarts(data) : std::vector<size_t>();
    if (starts.empty()) {
        result.Bytes.assign(data.begin(), data.end());
        return result;
    }
    // A frame start lies at offset 4 or later and has 18 bytes, so the
    // logical screen (offsets 6 to 9) is there.
    result.ScreenWidth = ReadWord(data, 6);
    result.ScreenHeight = ReadWord(data, 8);
    if (frame <= 1) {
        result.Bytes.assign(data.begin(), data.end());
    } else {
        result.Bytes.assign(data.begin(), data.begin() + std::ptrdiff_t(starts[0]));
        if (size_t(frame) <= starts.size())
            result.Bytes.insert(result.Bytes.end(), data.begin() + std::ptrdiff_t(starts[size_t(frame) - 1]),
                                data.end());
    }
    if (frame >= 1 && size_t(frame) <= starts.size()) {
        size_t d = starts[size_t(frame) - 1] + kControlBlockSize + 1;
        result.FrameLeft = ReadWord(data, d);
        result.FrameTop = ReadWord(data, d + 2);
        result.FrameWidth = ReadWord(data, d + 4);
        result.FrameHeight = ReadWord(data, d + 6);
    }
    return result;
}
