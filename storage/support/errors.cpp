#include "storage/support/errors.h"

#include <string>

EZevWin32Error::EZevWin32Error(LongWord lastError, String systemText, const String& callerText)
    : EZevError("Win32 error: " + systemText + " (" + std::to_string(lastError) + ")\r\n" + callerText),
      FLastError(lastError), FLastErrorMsg(std::move(systemText)) {}
