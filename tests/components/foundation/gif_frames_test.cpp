// Frame counting and selection of GIF files as a byte transform.
#include "components/foundation/gif_frames.h"

#include <gtest/gtest.h>

#include "gif_test_support.h"

using namespace giftest;

namespace {

size_t HeaderSize() { return GifHeader(1, 1).size(); }

}  // namespace

TEST(GifFrames, CountsFrameStartsOfGifsOnly) {
    struct TCase {
        const char* Name;
        TBytes Data;
        int Count;
    };
    TBytes three = ThreeFrameGif(4, 3);
    TCase cases[] = {
        {"three frames", three, 3},
        {"no frames", MakeGif(4, 3, {}), 0},
        {"GIF87a header", TBytes{'G', 'I', 'F', '8', '7', 'a', 1, 0, 1, 0}, 0},
        {"not a GIF", TBytes{'P', 'N', 'G', '8', 0, 0x21, 0xF9, 0x04}, -1},
        {"four bytes GIF8", TBytes{'G', 'I', 'F', '8'}, -1},
        {"empty", TBytes{}, -1},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Name);
        EXPECT_EQ(CountGifFrames(c.Data), c.Count);
    }
}

TEST(GifFrames, ATruncatedFrameIsNoFrame) {
    TBytes one = MakeGif(4, 3, {{0, 0, 4, 3, 0}});
    size_t start = HeaderSize();
    // Control block (8) and image descriptor (10) complete: a frame, even
    // when the image data after them is cut.
    for (size_t keep = start + 18; keep <= one.size(); ++keep) {
        TBytes cut(one.begin(), one.begin() + std::ptrdiff_t(keep));
        EXPECT_EQ(CountGifFrames(cut), 1) << keep;
    }
    // Cut inside either block: no frame, and selection reads nothing past
    // the end (the sanitizers watch the exact-size copy).
    for (size_t keep = start; keep < start + 18; ++keep) {
        std::vector<Byte> exact(one.begin(), one.begin() + std::ptrdiff_t(keep));
        EXPECT_EQ(CountGifFrames(exact), 0) << keep;
        TGifFrameSelection s = SelectGifFrame(exact, 1);
        EXPECT_EQ(s.Bytes, exact);
        EXPECT_EQ(s.ScreenWidth, 0);
        EXPECT_EQ(s.FrameWidth, 0);
    }
}

TEST(GifFrames, SelectionLeavesOutTheFramesBeforeTheChosenOne) {
    TBytes header = GifHeader(8, 6);
    TGifFrame frames[] = {{0, 0, 8, 6, 0}, {1, 2, 3, 4, 1}, {5, 0, 2, 2, 2}};
    TBytes f1 = FrameBytes(frames[0]), f2 = FrameBytes(frames[1]), f3 = FrameBytes(frames[2]);
    TBytes gif = MakeGif(8, 6, {frames[0], frames[1], frames[2]});
    auto cat = [](std::initializer_list<const TBytes*> parts) {
        TBytes out;
        for (const TBytes* p : parts) out.insert(out.end(), p->begin(), p->end());
        out.push_back(0x3B);
        return out;
    };
    struct TCase {
        int Frame;
        TBytes Bytes;
        TGifFrame Descriptor;
    };
    TCase cases[] = {
        {1, gif, frames[0]},
        {2, cat({&header, &f2, &f3}), frames[1]},
        {3, cat({&header, &f3}), frames[2]},
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.Frame);
        TGifFrameSelection s = SelectGifFrame(gif, c.Frame);
        EXPECT_EQ(s.Bytes, c.Bytes);
        EXPECT_EQ(s.ScreenWidth, 8);
        EXPECT_EQ(s.ScreenHeight, 6);
        EXPECT_EQ(s.FrameLeft, c.Descriptor.Left);
        EXPECT_EQ(s.FrameTop, c.Descriptor.Top);
        EXPECT_EQ(s.FrameWidth, c.Descriptor.Width);
        EXPECT_EQ(s.FrameHeight, c.Descriptor.Height);
    }
    // Frame 0 keeps everything and names no frame; a frame past the last
    // keeps only the header.
    TGifFrameSelection none = SelectGifFrame(gif, 0);
    EXPECT_EQ(none.Bytes, gif);
    EXPECT_EQ(none.FrameWidth, 0);
    EXPECT_EQ(none.ScreenWidth, 8);
    TGifFrameSelection beyond = SelectGifFrame(gif, 4);
    EXPECT_EQ(beyond.Bytes, header);
    EXPECT_EQ(beyond.FrameWidth, 0);
}

TEST(GifFrames, OtherDataPassesUnchanged) {
    TBytes png = {0x89, 'P', 'N', 'G',  13, 10, 26, 10, 0x21, 0xF9, 0x04, 0, 0,
                  0,    0,   0,   0x2C, 1,  0,  1,  0,  1,    0,    1,    0, 0};
    TGifFrameSelection s = SelectGifFrame(png, 2);
    EXPECT_EQ(s.Bytes, png);
    EXPECT_EQ(s.ScreenWidth, 0);
    TBytes noFrames = MakeGif(4, 3, {});
    EXPECT_EQ(SelectGifFrame(noFrames, 2).Bytes, noFrames);
    EXPECT_EQ(SelectGifFrame(noFrames, 2).ScreenWidth, 0);
}
