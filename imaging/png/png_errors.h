// The PNG codec's exceptions. Each class derives directly from Exception
// and carries the text of one message of the program's string table; the
// number of that message is kept as MessageId so callers and tests can tell
// the failures apart without comparing texts.
#pragma once

#include "classlib/core/exceptions.h"

// Numbers of the codec's messages in the string table.
enum : int {
    SPngInvalidNewChunk = 64992,        // EPngError
    SPngOutMemory = 64993,              // EPNGOutMemory
    SPngHeaderNotPresent = 64994,       // EPNGHeaderNotPresent
    SPngInvalidNewSize = 64995,         // EPNGInvalidNewSize
    SPngInvalidCRC = 65008,             // EPngInvalidCRC
    SPngInvalidIHDR = 65009,            // EPngInvalidIHDR
    SPngMissingMultipleIDAT = 65010,    // EPNGMissingMultipleIDAT
    SPngZLIBError = 65011,              // EPNGZLIBError
    SPngInvalidPalette = 65012,         // EPNGInvalidPalette
    SPngInvalidFileHeader = 65013,      // EPNGInvalidFileHeader
    SPngIHDRNotFirst = 65014,           // EPNGIHDRNotFirst
    SPngSizeExceeds = 65015,            // EPNGSizeExceeds
    SPngUnknownPalEntry = 65016,        // EPngError
    SPngUnknownCriticalChunk = 65017,   // EPNGUnknownCriticalChunk
    SPngUnknownCompression = 65018,     // EPNGUnknownCompression
    SPngUnknownInterlace = 65019,       // EPNGUnknownInterlace
    SPngCannotAssignChunk = 65020,      // EPngError
    SPngUnexpectedEnd = 65021,          // EPngUnexpectedEnd
    SPngNoImageData = 65022,            // EPNGNoImageData
    SPngExistentCriticalChunk = 65023,  // EPngError
};

// The text of one of the messages above ("" for any other number).
const char* PngMessageText(int messageId);

#define QL_PNG_EXCEPTION(Name)                                                                                         \
    class Name : public Exception {                                                                                    \
    public:                                                                                                            \
        explicit Name(int messageId) : Exception(PngMessageText(messageId)), FMessageId(messageId) {}                  \
        Name(int messageId, String message) : Exception(std::move(message)), FMessageId(messageId) {}                  \
        int MessageId() const noexcept { return FMessageId; }                                                          \
                                                                                                                       \
    private:                                                                                                           \
        int FMessageId;                                                                                                \
    }

QL_PNG_EXCEPTION(EPngError);
QL_PNG_EXCEPTION(EPNGOutMemory);
QL_PNG_EXCEPTION(EPNGHeaderNotPresent);
QL_PNG_EXCEPTION(EPNGInvalidNewSize);
QL_PNG_EXCEPTION(EPngInvalidCRC);
QL_PNG_EXCEPTION(EPngInvalidIHDR);
QL_PNG_EXCEPTION(EPNGMissingMultipleIDAT);
QL_PNG_EXCEPTION(EPNGZLIBError);
QL_PNG_EXCEPTION(EPNGInvalidPalette);
QL_PNG_EXCEPTION(EPNGInvalidFileHeader);
QL_PNG_EXCEPTION(EPNGIHDRNotFirst);
QL_PNG_EXCEPTION(EPNGSizeExceeds);
QL_PNG_EXCEPTION(EPNGUnknownCriticalChunk);
QL_PNG_EXCEPTION(EPNGUnknownCompression);
QL_PNG_EXCEPTION(EPNGUnknownInterlace);
QL_PNG_EXCEPTION(EPngUnexpectedEnd);
QL_PNG_EXCEPTION(EPNGNoImageData);

#undef QL_PNG_EXCEPTION

// Raises an exception of class E with the message messageId.
template <class E>
[[noreturn]] void FailWith(int messageId) {
    throw E(messageId);
}

// Raises EPNGZLIBError: the decompression message followed by zlib's own
// text for the result code.
[[noreturn]] void FailWithZlibError(int zlibResult);

// The message number of a PNG exception, 0 for any other exception.
int PngErrorId(const std::exception& e) noexcept;
