// Frames of an animated GIF as a byte transform: counting the frames of a
// GIF file, and the file a decoder is given to show one of them.
//
// A frame starts where a graphic control extension (0x21 0xF9 0x04, four
// bytes of data and the block terminator) is followed by an image
// descriptor (0x2C and four 16-bit little-endian values: left, top, width,
// height, then the packed byte). A start counts only when the whole
// control block and the whole descriptor are in the data, so a file cut
// short inside them has no frame there and nothing is read past its end.
// Frames are numbered from 1 in the order they are met.
#pragma once

#include <span>
#include <vector>

#include "classlib/core/types.h"

// The data begins with "GIF8" and has at least 5 bytes.
bool IsGifData(std::span<const Byte> data);

// -1 when the data is not a GIF, else the number of frame starts in it.
int CountGifFrames(std::span<const Byte> data);

struct TGifFrameSelection {
    // What the decoder gets: the whole data unchanged, or for a GIF with
    // frames the bytes before the first frame followed by everything from
    // the start of the selected frame on.
    std::vector<Byte> Bytes;
    // The GIF's logical screen; 0 for data that is not a GIF with frames.
    Word ScreenWidth = 0;
    Word ScreenHeight = 0;
    // The selected frame's image descriptor; 0 when that frame is not there.
    Word FrameLeft = 0;
    Word FrameTop = 0;
    Word FrameWidth = 0;
    Word FrameHeight = 0;
};

// The bytes that show frame (1-based) of data. A frame of 0 or less keeps
// every frame; one beyond the last leaves only the bytes before the first.
TGifFrameSelection SelectGifFrame(std::span<const Byte> data, int frame);
