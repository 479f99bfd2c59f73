// The PNG unit is initialised for every test, as the program's unit list
// does it.
#include <gtest/gtest.h>

#include "imaging/png/png_unit_win.h"

namespace {

class TPngUnitEnvironment : public ::testing::Environment {
public:
    void SetUp() override { PngInitialize(); }
    void TearDown() override { PngFinalize(); }
};

const ::testing::Environment* const Environment = ::testing::AddGlobalTestEnvironment(new TPngUnitEnvironment);

}  // namespace
