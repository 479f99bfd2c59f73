#include "classlib/os/shell.h"

#include <gtest/gtest.h>

namespace {

// What the shell then shows is not this program's business; a request the
// shell cannot carry out only yields false.
TEST(ShellOpen, MissingDocumentIsAFailureNotAnError) {
    EXPECT_FALSE(ShellOpen(nullptr, "C:\\no such folder\\no such document.qmtest"));
}

}  // namespace
