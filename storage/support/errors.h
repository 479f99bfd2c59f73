// The error classes of the support library the settings store stands on.
// Every one descends from EZevError, itself the class library's Exception,
// so a handler that catches Exception sees them all.
#pragma once

#include "classlib/core/exceptions.h"

QL_EXCEPTION(EZevError, Exception);

// A failed Windows call: keeps the last-error code and the system's text for
// it. The message is "Win32 error: <text> (<code>)", CR LF and the caller's
// own text.
class EZevWin32Error : public EZevError {
public:
    EZevWin32Error(LongWord lastError, String systemText, const String& callerText);

    LongWord LastError() const { return FLastError; }
    const String& LastErrorMsg() const { return FLastErrorMsg; }

private:
    LongWord FLastError;
    String FLastErrorMsg;
};

QL_EXCEPTION(EZevMutexError, EZevWin32Error);
QL_EXCEPTION(EZevStringError, EZevError);
QL_EXCEPTION(ESharedMemError, EZevError);
QL_EXCEPTION(EZevInternalError, EZevError);
QL_EXCEPTION(EZevFileVersionInfoError, EZevError);
QL_EXCEPTION(EZevRTTIError, EZevError);

// The library's message texts.
namespace ZevText {
inline constexpr const char* BlankSearchString = "Search string cannot be blank";
inline constexpr const char* CreateMutexFailed = "Failed to create mutex";
inline constexpr const char* NoReplacementChar = "Failed to get ANSI replacement character";
inline constexpr const char* FileDoesNotExist = "The file %s does not exist";
inline constexpr const char* NoVersionInfo = "File contains no version information";
}  // namespace ZevText
