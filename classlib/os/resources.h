// TResourceStream: reads a resource compiled into a module (the program's
// stored form layouts, pictures, version data) as a read-only stream.
//
//   TResourceStream s(HInstance, "TFRMMAIN", RT_RCDATA);
#pragma once

#include "classlib/core/streams.h"
#include "classlib/os/win.h"

QL_EXCEPTION(EResNotFound, Exception);

class TResourceStream : public TStream {
public:
    // The resource of the given name (or "#number") and type in the
    // module; a missing one raises EResNotFound "Resource %s not found".
    TResourceStream(HINSTANCE instance, const String& resName, const char* resType);
    // The resource with the given number.
    TResourceStream(HINSTANCE instance, int resId, const char* resType);

    Int64 Read(void* buffer, Int64 count) override;
    // Resources cannot be changed: raises EStreamError
    // "Can't write to a read-only resource stream".
    Int64 Write(const void* buffer, Int64 count) override;
    Int64 Seek(Int64 offset, TSeekOrigin origin) override;
    Int64 Size() override { return FSize; }
    // Raises EStreamError as Write does.
    void SetSize(Int64 size) override;

    // The resource's bytes, valid for as long as the module is loaded.
    const void* Memory() const { return FMemory; }

private:
    void Initialize(HINSTANCE instance, const char* name, const char* type, const String& displayName);

    const Byte* FMemory = nullptr;
    Int64 FSize = 0;
    Int64 FPosition = 0;
};
