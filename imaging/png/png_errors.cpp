#include "imaging/png/png_errors.h"

#include <zlib.h>

const char* PngMessageText(int messageId) {
    switch (messageId) {
    case SPngInvalidNewChunk: return "It's not allowed to add a new chunk because the current image is invalid.";
    case SPngOutMemory:
        return "Some operation could not be performed because the system is out of resources. "
               "Close some windows and try again.";
    case SPngHeaderNotPresent: return "This operation is not valid because the current image contains no valid header.";
    case SPngInvalidNewSize: return "The new size provided for image resizing is invalid.";
    case SPngInvalidCRC:
        return "This \"Portable Network Graphics\" image is not valid because it contains invalid "
               "pieces of data (crc error)";
    case SPngInvalidIHDR:
        return "The \"Portable Network Graphics\" image could not be loaded because one of its main "
               "piece of data (ihdr) might be corrupted";
    case SPngMissingMultipleIDAT:
        return "This \"Portable Network Graphics\" image is invalid because it has missing image parts.";
    case SPngZLIBError:
        return "Could not decompress the image because it contains invalid compressed data.\r\n"
               " Description: ";
    case SPngInvalidPalette: return "The \"Portable Network Graphics\" image contains an invalid palette.";
    case SPngInvalidFileHeader:
        return "The file being readed is not a valid \"Portable Network Graphics\" image because it "
               "contains an invalid header. This file may be corruped, try obtaining it again.";
    case SPngIHDRNotFirst:
        return "This \"Portable Network Graphics\" image is not supported or it might be invalid.\r\n"
               "(IHDR chunk is not the first)";
    case SPngSizeExceeds:
        return "This \"Portable Network Graphics\" image is not supported because either it's width "
               "or height exceeds the maximum size, which is 65535 pixels length.";
    case SPngUnknownPalEntry: return "There is no such palette entry.";
    case SPngUnknownCriticalChunk:
        return "This \"Portable Network Graphics\" image contains an unknown critical part which "
               "could not be decoded.";
    case SPngUnknownCompression:
        return "This \"Portable Network Graphics\" image is encoded with an unknown compression "
               "scheme which could not be decoded.";
    case SPngUnknownInterlace:
        return "This \"Portable Network Graphics\" image uses an unknown interlace scheme which "
               "could not be decoded.";
    case SPngCannotAssignChunk: return "The chunks must be compatible to be assigned.";
    case SPngUnexpectedEnd:
        return "This \"Portable Network Graphics\" image is invalid because the decoder found an "
               "unexpected end of the file.";
    case SPngNoImageData: return "This \"Portable Network Graphics\" image contains no data.";
    case SPngExistentCriticalChunk:
        return "The program tried to add a existent critical chunk to the current image which is "
               "not allowed.";
    default: return "";
    }
}

void FailWithZlibError(int zlibResult) {
    String message = PngMessageText(SPngZLIBError);
    if (const char* text = zError(zlibResult)) message.append(text);
    throw EPNGZLIBError(SPngZLIBError, std::move(message));
}

int PngErrorId(const std::exception& e) noexcept {
#define QL_PNG_TRY(Name)                                                                                               \
    if (auto* p = dynamic_cast<const Name*>(&e)) return p->MessageId();
    QL_PNG_TRY(EPngError)
    QL_PNG_TRY(EPNGOutMemory)
    QL_PNG_TRY(EPNGHeaderNotPresent)
    QL_PNG_TRY(EPNGInvalidNewSize)
    QL_PNG_TRY(EPngInvalidCRC)
    QL_PNG_TRY(EPngInvalidIHDR)
    QL_PNG_TRY(EPNGMissingMultipleIDAT)
    QL_PNG_TRY(EPNGZLIBError)
    QL_PNG_TRY(EPNGInvalidPalette)
    QL_PNG_TRY(EPNGInvalidFileHeader)
    QL_PNG_TRY(EPNGIHDRNotFirst)
    QL_PNG_TRY(EPNGSizeExceeds)
    QL_PNG_TRY(EPNGUnknownCriticalChunk)
    QL_PNG_TRY(EPNGUnknownCompression)
    QL_PNG_TRY(EPNGUnknownInterlace)
    QL_PNG_TRY(EPngUnexpectedEnd)
    QL_PNG_TRY(EPNGNoImageData)
#undef QL_PNG_TRY
    return 0;
}
