// The exception tree of the class library. Every error the library or the
// components raise derives from Exception, whose Message is what the user
// sees in the application's error box.
#pragma once

#include <exception>

#include "classlib/core/types.h"

class Exception : public std::exception {
public:
    explicit Exception(String message) : FMessage(std::move(message)) {}
    ~Exception() override = default;

    const String& Message() const noexcept { return FMessage; }
    void SetMessage(String message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    String FMessage;
};

// Declares an exception class that adds nothing but its place in the tree.
#define QL_EXCEPTION(Name, Base)                                                                                       \
    class Name : public Base {                                                                                         \
    public:                                                                                                            \
        using Base::Base;                                                                                              \
    }

QL_EXCEPTION(EAbort, Exception);  // silent: the handler shows nothing
QL_EXCEPTION(EConvertError, Exception);
QL_EXCEPTION(EInvalidOperation, Exception);
QL_EXCEPTION(EInvalidArgument, Exception);
QL_EXCEPTION(EInvalidCast, Exception);
QL_EXCEPTION(EInvalidPointer, Exception);
QL_EXCEPTION(EIntfCastError, Exception);
QL_EXCEPTION(EOutOfMemory, Exception);
QL_EXCEPTION(EListError, Exception);
QL_EXCEPTION(EStringListError, EListError);
QL_EXCEPTION(EStreamError, Exception);
QL_EXCEPTION(EFileStreamError, EStreamError);
QL_EXCEPTION(EFCreateError, EFileStreamError);
QL_EXCEPTION(EFOpenError, EFileStreamError);
QL_EXCEPTION(EFilerError, EStreamError);
QL_EXCEPTION(EReadError, EFilerError);
QL_EXCEPTION(EWriteError, EFilerError);
QL_EXCEPTION(EClassNotFound, EFilerError);
QL_EXCEPTION(EInvalidImage, EFilerError);
QL_EXCEPTION(EComponentError, Exception);
QL_EXCEPTION(EPropertyError, Exception);
QL_EXCEPTION(EPropertyConvertError, Exception);
QL_EXCEPTION(EInOutError, Exception);
QL_EXCEPTION(EIniFileException, Exception);

// An operating-system error: the code is the system's own (GetLastError on
// Windows, errno elsewhere).
class EOSError : public Exception {
public:
    EOSError(String message, LongWord code) : Exception(std::move(message)), ErrorCode(code) {}
    LongWord ErrorCode;
};
