#include "classlib/os/resources.h"

#include <cstring>

namespace {

[[noreturn]] void RaiseReadOnly() { throw EStreamError("Can't write to a read-only resource stream"); }

}  // namespace

TResourceStream::TResourceStream(HINSTANCE instance, const String& resName, const char* resType) {
    Initialize(instance, resName.c_str(), resType, resName);
}

TResourceStream::TResourceStream(HINSTANCE instance, int resId, const char* resType) {
    Initialize(instance, MAKEINTRESOURCEA(resId), resType, std::to_string(resId));
}

void TResourceStream::Initialize(HINSTANCE instance, const char* name, const char* type, const String& displayName) {
    // A resource is part of the loaded module image: LoadResource and
    // LockResource only return its address, and there is nothing to free.
    HRSRC info = FindResourceA(instance, name, type);
    HGLOBAL data = info ? LoadResource(instance, info) : nullptr;
    const void* memory = data ? LockResource(data) : nullptr;
    if (!memory) throw EResNotFound("Resource " + displayName + " not found");
    FMemory = static_cast<const Byte*>(memory);
    FSize = SizeofResource(instance, info);
}

Int64 TResourceStream::Read(void* buffer, Int64 count) {
    if (count <= 0 || FPosition >= FSize) return 0;
    Int64 n = count < FSize - FPosition ? count : FSize - FPosition;
    std::memcpy(buffer, FMemory + FPosition, static_cast<std::size_t>(n));
    FPosition += n;
    return n;
}

Int64 TResourceStream::Write(const void*, Int64) { RaiseReadOnly(); }

Int64 TResourceStream::Seek(Int64 offset, TSeekOrigin origin) {
    switch (origin) {
    case soBeginning: FPosition = offset; break;
    case soCurrent: FPosition += offset; break;
    case soEnd: FPosition = FSize + offset; break;
    }
    // Like a memory stream: the position may lie past the end (reads there
    // return nothing) but never before the start.
    if (FPosition < 0) FPosition = 0;
    return FPosition;
}

void TResourceStream::SetSize(Int64) { RaiseReadOnly(); }
