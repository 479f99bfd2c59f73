// Memory, string and file streams: reads, writes, short reads, seeking,
// sizes and the open errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "classlib/core/streams.h"
#include "classlib/core/sysutils.h"
#include "text_test_support.h"

namespace {

TEST(MemoryStream, WriteReadSeek) {
    TMemoryStream m;
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Write("hello", 5), 5);
    EXPECT_EQ(m.Position(), 5);
    EXPECT_EQ(m.Size(), 5);
    m.SetPosition(1);
    char buf[8] = {};
    EXPECT_EQ(m.Read(buf, 3), 3);
    EXPECT_STREQ(buf, "ell");
    // A short read returns what there is; at the end, 0.
    std::memset(buf, 0, sizeof buf);
    EXPECT_EQ(m.Read(buf, 8), 1);
    EXPECT_STREQ(buf, "o");
    EXPECT_EQ(m.Read(buf, 8), 0);
    EXPECT_EQ(m.Seek(-2, soEnd), 3);
    EXPECT_EQ(m.Seek(1, soCurrent), 4);
    EXPECT_EQ(std::memcmp(m.Memory(), "hello", 5), 0);
    // Writing past the end fills the gap with zeros.
    m.SetPosition(8);
    m.Write("!", 1);
    EXPECT_EQ(m.Size(), 9);
    EXPECT_EQ(std::memcmp(m.Memory(), "hello\0\0\0!", 9), 0);
    // Nothing is read or written at a negative position.
    m.SetPosition(-1);
    EXPECT_EQ(m.Read(buf, 1), 0);
    EXPECT_EQ(m.Write("x", 1), 0);
}

TEST(MemoryStream, SetSizeAndClear) {
    TMemoryStream m;
    m.Write("abcdef", 6);
    m.SetSize(3);
    EXPECT_EQ(m.Size(), 3);
    EXPECT_EQ(m.Position(), 3);
    m.SetSize(5);
    EXPECT_EQ(std::memcmp(m.Memory(), "abc\0\0", 5), 0);
    EXPECT_EQ(m.Position(), 3);
    m.Clear();
    EXPECT_EQ(m.Size(), 0);
    EXPECT_EQ(m.Position(), 0);
}

// A size the address space cannot hold (past the vector's max_size() on a
// 32-bit program, where size_t would cut it) is refused with the
// out-of-memory error, and the stream stays as it was.
TEST(MemoryStream, RefusesSizesTheAddressSpaceCannotHold) {
    const Int64 sizes[] = {INT64_MAX, Int64(std::min<std::uint64_t>(std::vector<Byte>().max_size(), INT64_MAX)),
                           Int64(1) << 48};
    for (Int64 size : sizes) {
        TMemoryStream m;
        m.Write("abc", 3);
        try {
            m.SetSize(size);
            ADD_FAILURE() << size;
        } catch (const EStreamError& e) {
            EXPECT_EQ(e.Message(), "Out of memory while expanding memory stream");
        }
        EXPECT_EQ(m.Size(), 3) << size;
        m.Seek(size - 1, soBeginning);
        EXPECT_THROW(m.WriteBuffer("x", 1), EStreamError) << size;
        EXPECT_EQ(m.Size(), 3) << size;
    }
}

TEST(Stream, ReadBufferWriteBufferErrors) {
    TMemoryStream m;
    m.WriteBuffer("abc", 3);
    m.SetPosition(0);
    char buf[4] = {};
    m.ReadBuffer(buf, 3);
    EXPECT_STREQ(buf, "abc");
    m.SetPosition(1);
    EXPECT_THROW_MSG(m.ReadBuffer(buf, 3), EReadError, "Stream read error");
    m.ReadBuffer(buf, 0);  // nothing asked, nothing raised
    m.SetPosition(-5);
    EXPECT_THROW_MSG(m.WriteBuffer("x", 1), EWriteError, "Stream write error");
}

TEST(Stream, CopyFrom) {
    TStringStream src("0123456789");
    TMemoryStream dst;
    src.SetPosition(7);
    EXPECT_EQ(dst.CopyFrom(src, 0), 10);  // 0: all of it, from the start
    EXPECT_EQ(dst.Size(), 10);
    src.SetPosition(2);
    dst.Clear();
    EXPECT_EQ(dst.CopyFrom(src, 3), 3);
    EXPECT_EQ(String(static_cast<const char*>(dst.Memory()), 3), "234");
    src.SetPosition(8);
    EXPECT_THROW_MSG(dst.CopyFrom(src, 5), EReadError, "Stream read error");
    // Large copies go through the buffer more than once.
    TMemoryStream big, copy;
    std::vector<Byte> bytes(200000);
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = Byte(i * 7);
    big.WriteBuffer(bytes.data(), Int64(bytes.size()));
    EXPECT_EQ(copy.CopyFrom(big, 0), Int64(bytes.size()));
    EXPECT_EQ(std::memcmp(copy.Memory(), bytes.data(), bytes.size()), 0);
}

TEST(StringStream, DataStringAndPieces) {
    TStringStream s("abc");
    EXPECT_EQ(s.DataString(), "abc");
    EXPECT_EQ(s.Position(), 0);
    EXPECT_EQ(s.ReadString(2), "ab");
    EXPECT_EQ(s.ReadString(10), "c");
    EXPECT_EQ(s.ReadString(1), "");
    s.WriteString(String("d\0e", 3));
    EXPECT_EQ(s.DataString(), String("abcd\0e", 6));
    TBytesStream b({1, 2, 3});
    EXPECT_EQ(b.Size(), 3);
    b.SetPosition(3);
    Byte four = 4;
    b.WriteBuffer(&four, 1);
    EXPECT_EQ(b.Bytes(), (std::vector<Byte>{1, 2, 3, 4}));
}

TEST(MemoryStream, LoadAndSave) {
    TStringStream src("payload");
    TMemoryStream m;
    src.SetPosition(4);
    m.LoadFromStream(src);  // the whole source, from its start
    EXPECT_EQ(m.Size(), 7);
    TStringStream out;
    out.WriteString(">");
    m.SaveToStream(out);
    EXPECT_EQ(out.DataString(), ">payload");

    TScratchFile f(".bin");
    m.SaveToFile(f.Name());
    EXPECT_EQ(f.Read(), "payload");
    TMemoryStream back;
    back.LoadFromFile(f.Name());
    EXPECT_EQ(String(static_cast<const char*>(back.Memory()), size_t(back.Size())), "payload");
}

TEST(FileStream, CreateWriteReopenRead) {
    TScratchFile f(".bin");
    {
        TFileStream s(f.Name(), fmCreate);
        EXPECT_EQ(s.FileName(), f.Name());
        s.WriteBuffer("line1\r\nline2", 12);
        EXPECT_EQ(s.Size(), 12);
        EXPECT_EQ(s.Position(), 12);
        // Reading after writing, in the same stream.
        s.SetPosition(0);
        char buf[6] = {};
        s.ReadBuffer(buf, 5);
        EXPECT_STREQ(buf, "line1");
        s.WriteBuffer("!!", 2);
    }
    EXPECT_EQ(f.Read(), "line1!!line2");
    {
        TFileStream s(f.Name(), fmOpenRead | fmShareDenyWrite);
        EXPECT_EQ(s.Size(), 12);
        char buf[20] = {};
        EXPECT_EQ(s.Read(buf, 20), 12);  // short read
        EXPECT_EQ(s.Read(buf, 20), 0);
        EXPECT_EQ(s.Write("x", 1), 0);  // opened for reading only
        EXPECT_THROW_MSG(s.WriteBuffer("x", 1), EWriteError, "Stream write error");
        s.SetPosition(6);
        EXPECT_THROW_MSG(s.ReadBuffer(buf, 10), EReadError, "Stream read error");
    }
    {
        TFileStream s(f.Name(), fmOpenReadWrite);
        s.Seek(0, soEnd);
        s.WriteBuffer("+", 1);
        s.SetSize(4);
        EXPECT_EQ(s.Size(), 4);
        EXPECT_EQ(s.Position(), 4);
    }
    EXPECT_EQ(f.Read(), "line");
    {
        TFileStream s(f.Name(), fmOpenWrite | fmShareExclusive);
        char c;
        EXPECT_EQ(s.Read(&c, 1), 0);  // opened for writing only
        s.WriteBuffer("LI", 2);
    }
    EXPECT_EQ(f.Read(), "LIne");
    {
        // fmCreate empties an existing file.
        TFileStream s(f.Name(), fmCreate);
        EXPECT_EQ(s.Size(), 0);
    }
    EXPECT_EQ(f.Read(), "");
}

#ifdef _WIN32
// While a stream is open, the system holds others to its share mode.
TEST(FileStream, OthersAreHeldToTheShareModeAskedFor) {
    TScratchFile f(".bin");
    { TFileStream(f.Name(), fmCreate).WriteBuffer("data", 4); }
    const struct {
        unsigned First;
        unsigned Second;
        bool SecondOpens;
    } cases[] = {
        {fmOpenRead | fmShareDenyWrite, fmOpenWrite, false},
        {fmOpenRead | fmShareDenyWrite, fmOpenReadWrite, false},
        {fmOpenRead | fmShareDenyWrite, fmOpenRead, true},
        {fmOpenRead | fmShareDenyRead, fmOpenRead, false},
        {fmOpenWrite | fmShareExclusive, fmOpenRead, false},
        {fmOpenRead | fmShareDenyNone, fmOpenWrite, true},
        {fmOpenRead, fmOpenWrite, true},  // compatibility mode shares
    };
    for (const auto& c : cases) {
        TFileStream first(f.Name(), c.First);
        if (c.SecondOpens)
            EXPECT_NO_THROW(TFileStream(f.Name(), c.Second)) << std::hex << c.First << " " << c.Second;
        else
            EXPECT_THROW(TFileStream(f.Name(), c.Second), EFOpenError) << std::hex << c.First << " " << c.Second;
    }
}
#endif

TEST(FileStream, SixtyFourBitPositions) {
    TScratchFile f(".bin");
    TFileStream s(f.Name(), fmCreate);
    const Int64 far = Int64(5) << 30;  // 5 GiB: past any 32-bit position
    EXPECT_EQ(s.Seek(far, soBeginning), far);
    EXPECT_EQ(s.Position(), far);
    s.SetPosition(0);
    EXPECT_EQ(s.Seek(far, soCurrent), far);
}

TEST(FileStream, OpenErrors) {
    TScratchFile f(".bin");
    ASSERT_FALSE(f.Exists());
    try {
        TFileStream s(f.Name(), fmOpenRead);
        ADD_FAILURE() << "opened a missing file";
    } catch (const EFOpenError& e) {
        String expected = "Cannot open file \"" + ExpandFileName(f.Name()) + "\". ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
        EXPECT_GT(e.Message().size(), expected.size()) << "the reason is missing";
    }
    EXPECT_THROW(TFileStream(f.Name(), fmOpenReadWrite), EFOpenError);
    String inMissingFolder = "no-such-folder-here/x.bin";
    try {
        TFileStream s(inMissingFolder, fmCreate);
        ADD_FAILURE() << "created a file in a missing folder";
    } catch (const EFCreateError& e) {
        String expected = "Cannot create file \"" + ExpandFileName(inMissingFolder) + "\". ";
        EXPECT_EQ(e.Message().substr(0, expected.size()), expected);
    }
    // Both are stream errors.
    EXPECT_THROW(TFileStream("", fmOpenRead), EStreamError);
}

}  // namespace
