// TStream's whole-buffer operations, the memory streams and the file stream.
#include "classlib/core/streams.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>
#include <new>
#include <stdexcept>

#include "classlib/core/sysutils.h"
#include "classlib/core/typinfo.h"

#ifdef _WIN32
#include <io.h>
#include <share.h>
#else
#include <unistd.h>
#endif

// ---- TStream -----------------------------------------------------------------

TClass TStream::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStream>("TStream").Build();
    return &info;
}

Int64 TStream::Size() {
    Int64 pos = Seek(0, soCurrent);
    Int64 size = Seek(0, soEnd);
    Seek(pos, soBeginning);
    return size;
}

void TStream::SetSize(Int64 size) {}

void TStream::ReadBuffer(void* buffer, Int64 count) {
    if (count < 0) throw EReadError("Stream read error");
    Byte* p = static_cast<Byte*>(buffer);
    while (count > 0) {
        Int64 n = Read(p, count);
        if (n <= 0) throw EReadError("Stream read error");
        p += n;
        count -= n;
    }
}

void TStream::WriteBuffer(const void* buffer, Int64 count) {
    if (count < 0) throw EWriteError("Stream write error");
    const Byte* p = static_cast<const Byte*>(buffer);
    while (count > 0) {
        Int64 n = Write(p, count);
        if (n <= 0) throw EWriteError("Stream write error");
        p += n;
        count -= n;
    }
}

Int64 TStream::CopyFrom(TStream& source, Int64 count) {
    if (count <= 0) {
        source.SetPosition(0);
        count = source.Size();
    }
    const Int64 total = count;
    std::vector<Byte> buffer(size_t(std::min<Int64>(count, 0x10000)));
    while (count > 0) {
        Int64 n = std::min<Int64>(count, Int64(buffer.size()));
        source.ReadBuffer(buffer.data(), n);
        WriteBuffer(buffer.data(), n);
        count -= n;
    }
    return total;
}

// ---- TMemoryStream -------------------------------------------------------------

TClass TMemoryStream::StaticClass() {
    static const TClassInfo info = TClassBuilder<TMemoryStream>("TMemoryStream").Build();
    return &info;
}

namespace {

// The most a memory stream holds: what the vector can, and on a 64-bit
// program no more than the 47 bits of address space a process has.
std::uint64_t MaxMemoryStreamSize(const std::vector<Byte>& data) {
    constexpr std::uint64_t addressSpace = sizeof(void*) >= 8 ? std::uint64_t(1) << 47 : SIZE_MAX;
    return std::min<std::uint64_t>(data.max_size(), addressSpace);
}

// A size the address space cannot hold is refused before it reaches the
// vector: on a 32-bit program size_t(size) would cut it to a smaller one.
void Resize(std::vector<Byte>& data, Int64 size) {
    if (std::uint64_t(size) > MaxMemoryStreamSize(data))
        throw EStreamError("Out of memory while expanding memory stream");
    try {
        data.resize(size_t(size));
    } catch (const std::bad_alloc&) {
        throw EStreamError("Out of memory while expanding memory stream");
    } catch (const std::length_error&) {
        throw EStreamError("Out of memory while expanding memory stream");
    }
}

}  // namespace

Int64 TMemoryStream::Read(void* buffer, Int64 count) {
    Int64 size = Size();
    if (count <= 0 || FPosition < 0 || FPosition >= size) return 0;
    Int64 n = std::min(count, size - FPosition);
    std::memcpy(buffer, FData.data() + FPosition, size_t(n));
    FPosition += n;
    return n;
}

Int64 TMemoryStream::Write(const void* buffer, Int64 count) {
    if (count <= 0 || FPosition < 0) return 0;
    if (count > INT64_MAX - FPosition) return 0;
    Int64 end = FPosition + count;
    if (end > Size()) Resize(FData, end);
    std::memcpy(FData.data() + FPosition, buffer, size_t(count));
    FPosition = end;
    return count;
}

Int64 TMemoryStream::Seek(Int64 offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = Size() + offset; break;
    }
    return FPosition;
}

void TMemoryStream::SetSize(Int64 size) {
    if (size < 0) size = 0;
    Resize(FData, size);
    if (FPosition > size) FPosition = size;
}

void TMemoryStream::Clear() {
    FData.clear();
    FData.shrink_to_fit();
    FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream& stream) {
    stream.SetPosition(0);
    Int64 count = stream.Size();
    SetSize(count);
    if (count != 0) stream.ReadBuffer(FData.data(), count);
}

void TMemoryStream::SaveToStream(TStream& stream) {
    if (!FData.empty()) stream.WriteBuffer(FData.data(), Size());
}

void TMemoryStream::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(file);
}

void TMemoryStream::SaveToFile(const String& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
    file.Flush();
}

// ---- TBytesStream and TStringStream ---------------------------------------------

TClass TBytesStream::StaticClass() {
    static const TClassInfo info = TClassBuilder<TBytesStream>("TBytesStream").Build();
    return &info;
}

TBytesStream::TBytesStream(const std::vector<Byte>& bytes) { FData = bytes; }

std::vector<Byte> TBytesStream::Bytes() const { return FData; }

TClass TStringStream::StaticClass() {
    static const TClassInfo info = TClassBuilder<TStringStream>("TStringStream").Build();
    return &info;
}

TStringStream::TStringStream(const String& data) { FData.assign(data.begin(), data.end()); }

String TStringStream::DataString() const { return String(FData.begin(), FData.end()); }

String TStringStream::ReadString(Int64 count) {
    Int64 size = Size();
    if (count <= 0 || FPosition < 0 || FPosition >= size) return String();
    Int64 n = std::min(count, size - FPosition);
    String s(reinterpret_cast<const char*>(FData.data() + FPosition), size_t(n));
    FPosition += n;
    return s;
}

void TStringStream::WriteString(const String& s) { WriteBuffer(s.data(), Int64(s.size())); }

// ---- TFileStream -------------------------------------------------------------------

TClass TFileStream::StaticClass() {
    static const TClassInfo info = TClassBuilder<TFileStream>("TFileStream").Build();
    return &info;
}

namespace {

Int64 FileTell(std::FILE* f) {
#ifdef _WIN32
    return _ftelli64(f);
#else
    return ftello(f);
#endif
}

int FileSeek(std::FILE* f, Int64 offset, int whence) {
#ifdef _WIN32
    return _fseeki64(f, offset, whence);
#else
    return fseeko(f, off_t(offset), whence);
#endif
}

String ErrorText(int code) {
    String s = std::strerror(code);
    return s;
}

}  // namespace

TFileStream::TFileStream(const String& fileName, unsigned mode) : FFileName(fileName) {
    const bool create = (mode & 0xFF00) == fmCreate;
    const unsigned access = mode & 3;
    const char* how;
    if (create) {
        how = "w+b";
        FCanRead = FCanWrite = true;
    } else if (access == fmOpenRead) {
        how = "rb";
        FCanRead = true;
    } else {
        how = "r+b";
        FCanWrite = true;
        FCanRead = access == fmOpenReadWrite;
    }
    errno = 0;
#ifdef _WIN32
    // The system keeps others to the share mode asked for while the file
    // is open (compatibility mode shares as deny-none does).
    int share = _SH_DENYNO;
    switch (mode & 0xF0) {
    case fmShareExclusive: share = _SH_DENYRW; break;
    case fmShareDenyWrite: share = _SH_DENYWR; break;
    case fmShareDenyRead: share = _SH_DENYRD; break;
    default: break;
    }
    FFile = fileName.empty() ? nullptr : ::_fsopen(fileName.c_str(), how, share);
#else
    FFile = fileName.empty() ? nullptr : std::fopen(fileName.c_str(), how);
#endif
    if (!FFile) {
        int code = errno ? errno : ENOENT;
        String name = fileName.empty() ? fileName : ExpandFileName(fileName);
        if (create) throw EFCreateError("Cannot create file \"" + name + "\". " + ErrorText(code));
        throw EFOpenError("Cannot open file \"" + name + "\". " + ErrorText(code));
    }
}

TFileStream::~TFileStream() {
    if (FFile) std::fclose(FFile);
}

void TFileStream::Switch(TLastOp op) {
    // Between reading and writing the C library needs a seek.
    if (FLastOp != opNone && FLastOp != op) FileSeek(FFile, 0, SEEK_CUR);
    FLastOp = op;
}

Int64 TFileStream::Read(void* buffer, Int64 count) {
    if (count <= 0 || !FCanRead) return 0;
    Switch(opRead);
    return Int64(std::fread(buffer, 1, size_t(count), FFile));
}

Int64 TFileStream::Write(const void* buffer, Int64 count) {
    if (count <= 0 || !FCanWrite) return 0;
    Switch(opWrite);
    return Int64(std::fwrite(buffer, 1, size_t(count), FFile));
}

Int64 TFileStream::Seek(Int64 offset, TSeekOrigin origin) {
    if (!(origin == soCurrent && offset == 0)) {
        int whence = origin == soBeginning ? SEEK_SET : origin == soCurrent ? SEEK_CUR : SEEK_END;
        if (FileSeek(FFile, offset, whence) != 0) return -1;
        FLastOp = opNone;
    }
    return FileTell(FFile);
}

Int64 TFileStream::Size() {
    Int64 pos = FileTell(FFile);
    if (FileSeek(FFile, 0, SEEK_END) != 0) return -1;
    Int64 size = FileTell(FFile);
    FileSeek(FFile, pos, SEEK_SET);
    FLastOp = opNone;
    return size;
}

void TFileStream::SetSize(Int64 size) {
    if (!FCanWrite || size < 0) throw EStreamError("Stream write error");
    Int64 pos = FileTell(FFile);
    std::fflush(FFile);
    int rc;
#ifdef _WIN32
    rc = _chsize_s(_fileno(FFile), size);
#else
    rc = ftruncate(fileno(FFile), off_t(size));
#endif
    if (rc != 0) throw EStreamError("Stream write error");
    FileSeek(FFile, std::min(pos, size), SEEK_SET);
    FLastOp = opNone;
}

void TFileStream::Flush() {
    if (std::fflush(FFile) != 0) throw EWriteError("Stream write error");
}
