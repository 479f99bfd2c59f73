// The error classes of the support routines and their texts.
#include "storage/support/errors.h"

#include <gtest/gtest.h>

namespace {

template <class E>
bool IsZevError() {
    try {
        throw E("x");
    } catch (const EZevError&) {
        return true;
    } catch (...) {
        return false;
    }
}

TEST(ZevErrors, EveryClassIsAZevErrorAndAnException) {
    EXPECT_TRUE(IsZevError<EZevStringError>());
    EXPECT_TRUE(IsZevError<ESharedMemError>());
    EXPECT_TRUE(IsZevError<EZevInternalError>());
    EXPECT_TRUE(IsZevError<EZevFileVersionInfoError>());
    EXPECT_TRUE(IsZevError<EZevRTTIError>());
    EXPECT_TRUE((std::is_base_of_v<Exception, EZevError>));
    EXPECT_TRUE((std::is_base_of_v<EZevWin32Error, EZevMutexError>));
    EXPECT_TRUE((std::is_base_of_v<EZevError, EZevWin32Error>));
}

TEST(ZevErrors, Win32ErrorKeepsTheCodeAndTheSystemText) {
    EZevMutexError e(5, "Access denied", "Failed to create mutex");
    EXPECT_EQ(e.Message(), "Win32 error: Access denied (5)\r\nFailed to create mutex");
    EXPECT_EQ(e.LastError(), 5u);
    EXPECT_EQ(e.LastErrorMsg(), "Access denied");
    EZevWin32Error big(0xFFFFFFFF, "?", "");
    EXPECT_EQ(big.Message(), "Win32 error: ? (4294967295)\r\n");
}

TEST(ZevErrors, Texts) {
    EXPECT_STREQ(ZevText::BlankSearchString, "Search string cannot be blank");
    EXPECT_STREQ(ZevText::CreateMutexFailed, "Failed to create mutex");
    EXPECT_STREQ(ZevText::NoReplacementChar, "Failed to get ANSI replacement character");
    EXPECT_STREQ(ZevText::FileDoesNotExist, "The file %s does not exist");
    EXPECT_STREQ(ZevText::NoVersionInfo, "File contains no version information");
}

}  // namespace
