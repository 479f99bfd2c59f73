// The pictures unit: initialised for every test of this program, as the
// program's unit list does it, and what it registers.
#include <gtest/gtest.h>

#include "classlib/ui/forms.h"
#include "components/foundation/pictures_unit_win.h"

namespace {

class TPicturesEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        PicturesInitialize();
    }
    void TearDown() override { PicturesFinalize(); }
};

const ::testing::Environment* const Environment = ::testing::AddGlobalTestEnvironment(new TPicturesEnvironment);

}  // namespace

TEST(PicturesUnit, TheStoredLayoutFindsThePictureClassesByName) {
    for (const char* name :
         {"TGDIPPicture", "TLumImage", "THTMLPicture", "TPictureContainer", "TPictureItem", "TLumHintInfo"}) {
        TClass cls = GetClass(name);
        ASSERT_NE(cls, nullptr) << name;
        EXPECT_EQ(cls->Name, name);
    }
}
