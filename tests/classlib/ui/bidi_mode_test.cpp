// BiDiMode and ParentBiDiMode: a child follows its parent's mode while
// ParentBiDiMode is set, through every level; setting BiDiMode clears it;
// the mode is stored only for a control that does not follow its parent.
// No painting: the modes are read back from the controls.
#include <gtest/gtest.h>

#include <string>

#include "classlib/core/filer.h"
#include "classlib/ui/forms.h"

namespace {

// A container that publishes both properties, as a component that shows
// its mode does.
class TMirrorBox : public TCustomControl {
    QL_CLASS(TMirrorBox, TCustomControl)
public:
    explicit TMirrorBox(TComponent* owner) : TCustomControl(owner) {
        FControlStyle.Include(csAcceptsControls);
        FWidth = 50;
        FHeight = 20;
    }
    int ModeChanges = 0;
    void WndProc(TMessage& m) override {
        if (m.Msg == CM_BIDIMODECHANGED) ++ModeChanges;
        TCustomControl::WndProc(m);
    }
};

TClass TMirrorBox::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TMirrorBox>("TMirrorBox").Publish({"BiDiMode", "ParentBiDiMode"}).Build();
    return &info;
}

constexpr TBiDiMode kModes[] = {bdLeftToRight, bdRightToLeft, bdRightToLeftNoAlign, bdRightToLeftReadingOnly};

std::string ModeName(TBiDiMode mode) {
    static const char* const names[] = {"bdLeftToRight", "bdRightToLeft", "bdRightToLeftNoAlign",
                                        "bdRightToLeftReadingOnly"};
    return names[mode];
}

TEST(BiDiMode, AChildFollowsItsParentOnlyWhileParentBiDiModeIsSet) {
    for (TBiDiMode own : kModes)
        for (bool follows : {false, true})
            for (TBiDiMode parentMode : kModes) {
                SCOPED_TRACE(ModeName(own) + (follows ? " following " : " own, parent ") + ModeName(parentMode));
                TMirrorBox parent(nullptr), child(nullptr), grandchild(nullptr);
                // The parent starts in a mode of its own, different from
                // the one it changes to below.
                const TBiDiMode first = parentMode == bdRightToLeft ? bdRightToLeftNoAlign : bdRightToLeft;
                parent.SetBiDiMode(first);
                child.SetParent(&parent);
                grandchild.SetParent(&child);
                EXPECT_EQ(child.BiDiMode(), first) << "a new child takes its parent's mode";
                EXPECT_EQ(grandchild.BiDiMode(), first);

                child.SetBiDiMode(own);
                EXPECT_FALSE(child.ParentBiDiMode()) << "setting the mode clears ParentBiDiMode";
                EXPECT_EQ(child.BiDiMode(), own);
                EXPECT_EQ(grandchild.BiDiMode(), own) << "the child's change reaches its own children";
                child.SetParentBiDiMode(follows);
                EXPECT_EQ(child.BiDiMode(), follows ? first : own) << "ParentBiDiMode takes the parent's at once";

                const int changesBefore = child.ModeChanges;
                parent.SetBiDiMode(parentMode);
                const TBiDiMode expected = follows ? parentMode : own;
                EXPECT_EQ(parent.BiDiMode(), parentMode);
                EXPECT_FALSE(parent.ParentBiDiMode());
                EXPECT_EQ(child.BiDiMode(), expected);
                EXPECT_EQ(child.ParentBiDiMode(), follows);
                EXPECT_EQ(grandchild.BiDiMode(), expected);
                EXPECT_TRUE(grandchild.ParentBiDiMode());
                // A changed mode is announced once; an unchanged one not at all.
                EXPECT_EQ(child.ModeChanges - changesBefore, follows && parentMode != first ? 1 : 0);
                EXPECT_EQ(child.IsRightToLeft(), expected != bdLeftToRight);
                EXPECT_EQ(child.UseRightToLeftAlignment(), expected == bdRightToLeft);

                // Moved to a parent of another mode, it follows that one or keeps its own.
                TMirrorBox other(nullptr);
                other.SetBiDiMode(bdRightToLeftReadingOnly);
                child.SetParent(&other);
                EXPECT_EQ(child.BiDiMode(), follows ? bdRightToLeftReadingOnly : own);
                EXPECT_EQ(grandchild.BiDiMode(), child.BiDiMode());
                child.SetParent(nullptr);
            }
}

TEST(BiDiMode, SettingTheParentsModeAgainClearsParentBiDiModeWithoutAChange) {
    TMirrorBox parent(nullptr), child(nullptr);
    parent.SetBiDiMode(bdRightToLeft);
    child.SetParent(&parent);
    ASSERT_TRUE(child.ParentBiDiMode());
    const int changes = child.ModeChanges;
    child.SetBiDiMode(bdRightToLeft);
    EXPECT_FALSE(child.ParentBiDiMode());
    EXPECT_EQ(child.ModeChanges, changes);
    // No longer following: the parent's next change passes it by.
    parent.SetBiDiMode(bdLeftToRight);
    EXPECT_EQ(child.BiDiMode(), bdRightToLeft);
}

const char* const kLayout = R"(object Form1: TForm
  ClientHeight = 100
  ClientWidth = 200
  object Outer: TMirrorBox
    BiDiMode = bdRightToLeft
    object Follower: TMirrorBox
    end
    object Keeper: TMirrorBox
      BiDiMode = bdLeftToRight
    end
    object Released: TMirrorBox
      BiDiMode = bdRightToLeftReadingOnly
      ParentBiDiMode = True
    end
  end
end
)";

TEST(BiDiMode, IsStoredOnlyForAControlThatDoesNotFollowItsParent) {
    RegisterClasses({TMirrorBox::StaticClass()});
    TForm* form = new TForm(Application);
    form->ReadLayout(kLayout, "test");
    auto find = [&](const char* name) { return dynamic_cast<TMirrorBox*>(form->FindComponent(name)); };
    TMirrorBox *outer = find("Outer"), *follower = find("Follower"), *keeper = find("Keeper"),
               *released = find("Released");
    ASSERT_TRUE(outer && follower && keeper && released);
    EXPECT_EQ(outer->BiDiMode(), bdRightToLeft);
    EXPECT_EQ(follower->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(follower->ParentBiDiMode());
    EXPECT_EQ(keeper->BiDiMode(), bdLeftToRight);
    EXPECT_FALSE(keeper->ParentBiDiMode());
    // ParentBiDiMode read after the mode gives the parent's back.
    EXPECT_EQ(released->BiDiMode(), bdRightToLeft);
    EXPECT_TRUE(released->ParentBiDiMode());

    const String text = TWriter().WriteRootComponent(form);
    auto block = [&](const char* name) {
        const size_t at = text.find(String("object ") + name);
        return at == String::npos ? String() : text.substr(at, text.find("object ", at + 1) - at);
    };
    EXPECT_NE(block("Outer").find("BiDiMode = bdRightToLeft"), String::npos) << text;
    EXPECT_EQ(block("Follower").find("BiDiMode"), String::npos) << text;
    EXPECT_NE(block("Keeper").find("BiDiMode = bdLeftToRight"), String::npos) << text;
    EXPECT_NE(block("Keeper").find("ParentBiDiMode = False"), String::npos) << text;
    EXPECT_EQ(block("Released").find("BiDiMode"), String::npos) << text;
    delete form;
}

}  // namespace
