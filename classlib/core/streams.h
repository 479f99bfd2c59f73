// Streams: TStream and the memory and file streams.
#pragma once

#include <cstdio>
#include <vector>

#include "classlib/core/exceptions.h"
#include "classlib/core/object.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

class TStream : public TObject {
    QL_CLASS(TStream, TObject)
public:
    // Reads up to count bytes; returns how many were read (0 at the end).
    virtual Int64 Read(void* buffer, Int64 count) = 0;
    // Writes up to count bytes; returns how many were written.
    virtual Int64 Write(const void* buffer, Int64 count) = 0;
    // Moves the position; returns the new position.
    virtual Int64 Seek(Int64 offset, TSeekOrigin origin) = 0;

    Int64 Position() { return Seek(0, soCurrent); }
    void SetPosition(Int64 pos) { Seek(pos, soBeginning); }
    virtual Int64 Size();
    virtual void SetSize(Int64 size);

    // Whole-buffer forms: a short read raises EReadError "Stream read error",
    // a short write EWriteError "Stream write error".
    void ReadBuffer(void* buffer, Int64 count);
    void WriteBuffer(const void* buffer, Int64 count);
    // Copies count bytes from source's position (count 0: all of source,
    // from its beginning); returns the number copied.
    Int64 CopyFrom(TStream& source, Int64 count);
};

// A stream over a block of memory that grows as it is written. Seeking past
// the end is allowed; writing there fills the gap with zeros.
class TMemoryStream : public TStream {
    QL_CLASS(TMemoryStream, TStream)
public:
    TMemoryStream() = default;

    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override { return Int64(FData.size()); }
    // Grows with zeros or cuts; a position past the new end moves to it.
    void SetSize(Int64 size) override;

    // The bytes (Size() of them); valid until the stream next grows.
    void* Memory() { return FData.data(); }
    const void* Memory() const { return FData.data(); }
    void Clear();

    // The whole of stream (from its beginning) replaces the content; the
    // position stays where it was, within the new size.
    void LoadFromStream(TStream& stream);
    // Writes the whole content to stream at its position.
    void SaveToStream(TStream& stream);
    // Raise EFOpenError / EFCreateError as TFileStream does.
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

protected:
    std::vector<Byte> FData;  // exactly the content
    Int64 FPosition = 0;
};

// A memory stream made from, and read back as, a byte array.
class TBytesStream : public TMemoryStream {
    QL_CLASS(TBytesStream, TMemoryStream)
public:
    TBytesStream() = default;
    explicit TBytesStream(const std::vector<Byte>& bytes);
    // A copy of the Size() bytes.
    std::vector<Byte> Bytes() const;
};

// A memory stream made from, and read back as, 8-bit text.
class TStringStream : public TMemoryStream {
    QL_CLASS(TStringStream, TMemoryStream)
public:
    TStringStream() = default;
    explicit TStringStream(const String& data);
    // The whole content as text.
    String DataString() const;
    // Up to count bytes from the position, as text.
    String ReadString(Int64 count);
    void WriteString(const String& s);
};

// Open modes of TFileStream; one access mode, optionally or-ed with one
// share mode (share modes are accepted and have no effect).
enum : unsigned {
    fmOpenRead = 0x0000,
    fmOpenWrite = 0x0001,
    fmOpenReadWrite = 0x0002,
    fmShareCompat = 0x0000,
    fmShareExclusive = 0x0010,
    fmShareDenyWrite = 0x0020,
    fmShareDenyRead = 0x0030,
    fmShareDenyNone = 0x0040,
    // Creates the file, or empties an existing one, for reading and writing.
    fmCreate = 0xFF00,
};

// A stream over a file. Opening raises EFOpenError "Cannot open file
// \"%s\". <reason>"; creating raises EFCreateError "Cannot create file
// \"%s\". <reason>".
class TFileStream : public TStream {
    QL_CLASS(TFileStream, TStream)
public:
    TFileStream(const String& fileName, unsigned mode);
    ~TFileStream() override;

    Int64 Read(void* buffer, Int64 count) override;
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override;
    // Cuts or extends (with zeros) the file; raises EStreamError on failure.
    void SetSize(Int64 size) override;
    // Hands buffered bytes to the system; raises EWriteError "Stream write
    // error" when that fails.
    void Flush();

    const String& FileName() const { return FFileName; }
    std::FILE* Handle() const { return FFile; }

private:
    enum TLastOp { opNone, opRead, opWrite };
    void Switch(TLastOp op);

    String FFileName;
    std::FILE* FFile = nullptr;
    bool FCanRead = false;
    bool FCanWrite = false;
    TLastOp FLastOp = opNone;
};
