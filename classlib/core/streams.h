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
