// Painting a glow button into a 32-bit DIB and probing pixels at the places
// the face, border, caption and picture rules fix.
#include <gtest/gtest.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "classlib/core/streams.h"
#include "classlib/ui/bitmaps.h"
#include "classlib/ui/forms.h"
#include "components/controls/glow_button_win.h"
#include "components/foundation/foundation_unit_win.h"
#include "components/foundation/gdiplus_win.h"
#include "imaging/png/png_imagelist_win.h"
#include "imaging/png/png_unit_win.h"
#include "tests/classlib/ui/support/object_tally.h"
#include "tests/classlib/ui/support/paint_harness.h"

namespace {

class PaintEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        ClasslibUiInitialize();
        FoundationInitialize();
        PngInitialize();
        RegisterGlowButtonClasses();
    }
};
const auto* const environment = ::testing::AddGlobalTestEnvironment(new PaintEnvironment);

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

int Channel(TColor c, int shift) { return (unsigned(c) >> shift) & 0xFF; }

::testing::AssertionResult Near(TColor actual, TColor expected, int tolerance) {
    for (int shift : {0, 8, 16})
        if (std::abs(Channel(actual, shift) - Channel(expected, shift)) > tolerance)
            return ::testing::AssertionFailure() << std::hex << "0x" << unsigned(actual) << " is not within "
                                                 << std::dec << tolerance << " of 0x" << std::hex << unsigned(expected);
    return ::testing::AssertionSuccess();
}

// Dark enough to be text (the faces here are all light).
bool IsInk(TColor c) { return Channel(c, 0) + Channel(c, 8) + Channel(c, 16) < 3 * 140; }

int InkIn(const TPaintTarget& target, const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
        for (int x = r.Left; x < r.Right; ++x) n += IsInk(target.PixelAt(x, y));
    return n;
}

// ---- A PNG of our own: 16 x 16, transparent but for a black square and a
// half-transparent red column. ----

void PutUint32(std::string& s, uLong v) {
    for (int shift : {24, 16, 8, 0}) s.push_back(char((v >> shift) & 0xFF));
}

void PutChunk(std::string& png, const char* type, const std::string& data) {
    PutUint32(png, uLong(data.size()));
    std::string body = std::string(type, 4) + data;
    png += body;
    PutUint32(png, crc32(0, reinterpret_cast<const Bytef*>(body.data()), uInt(body.size())));
}

// A size x size RGBA PNG whose pixels pixel(x, y) gives as 0xAABBGGRR.
template <class F>
std::string MakePng(int size, F pixel) {
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw.push_back(0);  // filter: none
        for (int x = 0; x < size; ++x) {
            const unsigned p = pixel(x, y);
            raw += std::string{char(p & 0xFF), char((p >> 8) & 0xFF), char((p >> 16) & 0xFF), char(p >> 24)};
        }
    }
    uLongf packedSize = compressBound(uLong(raw.size()));
    std::string packed(packedSize, '\0');
    compress(reinterpret_cast<Bytef*>(packed.data()), &packedSize, reinterpret_cast<const Bytef*>(raw.data()),
             uLong(raw.size()));
    packed.resize(packedSize);
    std::string png = "\x89PNG\r\n\x1A\n";
    std::string ihdr;
    PutUint32(ihdr, uLong(size));
    PutUint32(ihdr, uLong(size));
    ihdr += std::string{8, 6, 0, 0, 0};  // 8-bit RGBA
    PutChunk(png, "IHDR", ihdr);
    PutChunk(png, "IDAT", packed);
    PutChunk(png, "IEND", "");
    return png;
}

// Transparent but for a black square and a half-transparent red column.
std::string ArrowPng() {
    return MakePng(16, [](int x, int y) -> unsigned {
        if (x >= 4 && x < 12 && y >= 4 && y < 12) return 0xFF000000;  // black square
        if (x == 13) return 0x800000FF;                               // half-transparent red
        return 0;
    });
}

void LoadPicture(TGDIPPicture* picture, const std::string& bytes) {
    TMemoryStream stream;
    stream.Write(bytes.data(), int(bytes.size()));
    stream.SetPosition(0);
    picture->LoadFromStream(stream);
}

std::string SolidPng(unsigned abgr) {
    return MakePng(8, [abgr](int, int) { return abgr; });
}

class GlowPaintTest : public ::testing::Test {
protected:
    void SetUp() override {
        SetCursorPos(1270, 1010);
        form = new TForm(Application);
        form->SetBounds(40, 40, 300, 200);
        form->SetColor(TColor(0x336699));
        button = new TLumGlowButton(form);
        button->SetName("Button");
        button->SetCaption("");  // the name became the caption
        button->SetParent(form);
        button->SetBounds(20, 20, 100, 41);
    }
    void TearDown() override { FreeAndNil(form); }
    TPaintTarget& Painted() {
        target.Fill(clBlack);
        target.PaintInParents(button);
        return target;
    }
    TForm* form = nullptr;
    TLumGlowButton* button = nullptr;
    TPaintTarget target{100, 41};
};

TEST_F(GlowPaintTest, CornersShowTheParentExactlyAndTheFaceItsGradient) {
    TPaintTarget& t = Painted();
    for (TPoint p : {Point(0, 0), Point(99, 0), Point(0, 40), Point(99, 40)})
        EXPECT_EQ(t.PixelAt(p.X, p.Y), TColor(0x336699)) << p.X << "," << p.Y;
    // Upper half: white to white; lower half (rows 19..40): from the
    // mirror's "to" colour (white) down to the mirror colour ($C0C0C0).
    EXPECT_TRUE(Near(t.PixelAt(50, 5), clWhite, 3));
    EXPECT_TRUE(Near(t.PixelAt(50, 30), TColor(0xDFDFDF), 3));  // 11.5 of 23 rows down
    // The border: $C0C0C0 on the straight edges.
    EXPECT_TRUE(Near(t.PixelAt(50, 0), TColor(0xC0C0C0), 3));
    EXPECT_TRUE(Near(t.PixelAt(0, 20), TColor(0xC0C0C0), 3));
}

// Nearer to one colour than to another.
::testing::AssertionResult Nearer(TColor actual, TColor expected, TColor other) {
    auto distance = [](TColor a, TColor b) {
        int d = 0;
        for (int shift : {0, 8, 16}) d += std::abs(Channel(a, shift) - Channel(b, shift));
        return d;
    };
    if (distance(actual, expected) < distance(actual, other)) return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hex << "0x" << unsigned(actual) << " is nearer 0x" << unsigned(other)
                                         << " than 0x" << unsigned(expected);
}

using TAppearanceColorSetter = void (TGlowButtonAppearance::*)(TColor);
using TAppearanceGradientSetter = void (TGlowButtonAppearance::*)(TGDIPGradient);

// The writers of one look's colours and gradients.
struct TLookWriters {
    const char* Name;
    TAppearanceColorSetter Color, ColorTo, Mirror, MirrorTo;
    TAppearanceGradientSetter Gradient, MirrorGradient;
};

// Gradient kinds x halves x looks: with four far-apart colours the face
// shows each half's start and end (linear) or centre and surround (radial)
// where the rules put them; the lower half's radial centre, the middle of
// the bottom edge, is ColorMirrorTo.
TEST_F(GlowPaintTest, EachGradientKindOfEachHalfInEachLook) {
    using A = TGlowButtonAppearance;
    const TLookWriters looks[] = {
        {"normal", &A::SetColor, &A::SetColorTo, &A::SetColorMirror, &A::SetColorMirrorTo, &A::SetGradient,
         &A::SetGradientMirror},
        {"hot", &A::SetColorHot, &A::SetColorHotTo, &A::SetColorMirrorHot, &A::SetColorMirrorHotTo, &A::SetGradientHot,
         &A::SetGradientMirrorHot},
        {"down", &A::SetColorDown, &A::SetColorDownTo, &A::SetColorMirrorDown, &A::SetColorMirrorDownTo,
         &A::SetGradientDown, &A::SetGradientMirrorDown},
        {"checked", &A::SetColorChecked, &A::SetColorCheckedTo, &A::SetColorMirrorChecked, &A::SetColorMirrorCheckedTo,
         &A::SetGradientChecked, &A::SetGradientMirrorChecked},
        {"disabled", &A::SetColorDisabled, &A::SetColorDisabledTo, &A::SetColorMirrorDisabled,
         &A::SetColorMirrorDisabledTo, &A::SetGradientDisabled, &A::SetGradientMirrorDisabled},
    };
    const TColor color{0x00C000}, colorTo{0xC00000}, mirror{0x0000C0}, mirrorTo{0xC0C000};
    // Where each kind shows a half's first colour and where its second:
    // linear from the start edge, radial the centre (first) and the
    // surround (second).
    struct TProbes {
        TGDIPGradient Kind;
        TPoint UpperFirst, UpperSecond, LowerFirst, LowerSecond;
    };
    const TProbes probes[] = {
        {ggVertical, Point(50, 3), Point(50, 17), Point(50, 23), Point(50, 38)},
        {ggDiagonalForward, Point(5, 3), Point(94, 17), Point(5, 23), Point(94, 37)},
        {ggDiagonalBackward, Point(94, 3), Point(5, 17), Point(94, 23), Point(5, 37)},
        // Upper: ColorTo at the middle of the top, Color around; lower:
        // ColorMirrorTo at the middle of the bottom, ColorMirror around.
        {ggRadial, Point(50, 1), Point(50, 16), Point(50, 39), Point(5, 22)},
    };
    TManualClock clock;
    TClockScope scope(clock);
    for (const TLookWriters& look : looks)
        for (const TProbes& p : probes) {
            SCOPED_TRACE(testing::Message() << look.Name << " gradient " << int(p.Kind));
            FreeAndNil(form);
            SetUp();
            A* a = button->Appearance();
            (a->*look.Color)(color);
            (a->*look.ColorTo)(colorTo);
            (a->*look.Mirror)(mirror);
            (a->*look.MirrorTo)(mirrorTo);
            (a->*look.Gradient)(p.Kind);
            (a->*look.MirrorGradient)(p.Kind);
            const std::string name = look.Name;
            if (name == "hot") button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
            if (name == "down") button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 20));
            if (name == "checked") {
                button->SetGroupIndex(1);
                button->SetDown(true);
            }
            if (name == "disabled") button->SetEnabled(false);
            clock.Advance(6 * kGlowFadeInterval);  // any fade has ended
            ASSERT_FALSE(button->Fade().Running());
            TPaintTarget& t = Painted();
            const bool radial = p.Kind == ggRadial;
            const TColor upperFirst = radial ? colorTo : color, upperSecond = radial ? color : colorTo;
            EXPECT_TRUE(Nearer(t.PixelAt(p.UpperFirst.X, p.UpperFirst.Y), upperFirst, upperSecond)) << "upper";
            EXPECT_TRUE(Nearer(t.PixelAt(p.UpperSecond.X, p.UpperSecond.Y), upperSecond, upperFirst)) << "upper";
            EXPECT_TRUE(Nearer(t.PixelAt(p.LowerFirst.X, p.LowerFirst.Y), mirrorTo, mirror)) << "lower";
            EXPECT_TRUE(Nearer(t.PixelAt(p.LowerSecond.X, p.LowerSecond.Y), mirror, mirrorTo)) << "lower";
            if (name == "down") button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(50, 20));
        }
}

// The default hot look: the lower half's middle of the bottom edge is
// about ColorMirrorHotTo ($FFF8F4), not the darker ColorMirrorHot.
TEST_F(GlowPaintTest, TheDefaultHotButtonIsLightAtTheMiddleOfItsBottom) {
    TManualClock clock;
    TClockScope scope(clock);
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    clock.Advance(6 * kGlowFadeInterval);
    EXPECT_TRUE(Near(Painted().PixelAt(50, 39), TColor(0xFFF8F4), 12));
}

// A transparent button shows its parent until it is hot, or focused with a
// FocusType that lights it.
TEST_F(GlowPaintTest, ATransparentButtonDrawsItsFaceOnlyWhenHotOrFocusHot) {
    button->SetTransparent(true);
    form->Show();
    button->SetFocus();
    Pump();
    ASSERT_TRUE(button->HasFocus());
    EXPECT_EQ(Painted().PixelAt(50, 10), TColor(0x336699));  // ftBorder: only the focus border
    button->SetFocusType(ftHot);
    EXPECT_NE(Painted().PixelAt(50, 10), TColor(0x336699));
}

TEST_F(GlowPaintTest, AMiddleButtonHasSquareCornersAndNoRepair) {
    button->SetPosition(bpMiddle);
    TPaintTarget& t = Painted();
    EXPECT_NE(t.PixelAt(0, 0), TColor(0x336699));
    EXPECT_NE(t.PixelAt(99, 40), TColor(0x336699));
}

TEST_F(GlowPaintTest, PresetColoursShowOnTheFace) {
    // Office 2007 Luna: $EEDBC8 to $F6DDC9 in the upper half (rows 0 to
    // 20), $F7E1D0 to $EDD4C0 in the lower one (rows 19 to 40, over the
    // upper half's last rows).
    button->ApplyStylePreset(4);
    TPaintTarget& t = Painted();
    EXPECT_TRUE(Near(t.PixelAt(50, 1), TColor(0xEEDBC8), 4));
    EXPECT_TRUE(Near(t.PixelAt(50, 18), TColor(0xF6DDC9), 4));
    EXPECT_TRUE(Near(t.PixelAt(50, 19), TColor(0xF7E1D0), 4));
    EXPECT_TRUE(Near(t.PixelAt(50, 39), TColor(0xEDD4C0), 4));
}

TEST_F(GlowPaintTest, TheCaptionInksOnlyItsCentre) {
    button->SetCaption("Hi");
    TPaintTarget& t = Painted();
    EXPECT_GT(InkIn(t, Rect(35, 8, 65, 33)), 10);
    EXPECT_EQ(InkIn(t, Rect(2, 2, 35, 39)), 0);
    EXPECT_EQ(InkIn(t, Rect(65, 2, 98, 39)), 0);
}

TEST_F(GlowPaintTest, ADisabledButtonDrawsInItsDisabledLook) {
    button->SetCaption("Hi");
    button->SetEnabled(false);
    TPaintTarget& t = Painted();
    EXPECT_TRUE(Near(t.PixelAt(10, 5), TColor(0xF2F2F2), 3));
    EXPECT_TRUE(Near(t.PixelAt(50, 1), TColor(0xF2F2F2), 3));
    // Grey text: some pixels darker than the face, none black.
    int grey = 0, black = 0;
    for (int y = 8; y < 33; ++y)
        for (int x = 35; x < 65; ++x) {
            const TColor c = t.PixelAt(x, y);
            grey += Channel(c, 8) < 0xD0;
            black += Channel(c, 8) < 0x60;
        }
    EXPECT_GT(grey, 5);
    EXPECT_EQ(black, 0);
}

TEST_F(GlowPaintTest, AHotButtonFadesToItsHotColours) {
    TManualClock clock;
    TClockScope scope(clock);
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    clock.Advance(2 * kGlowFadeInterval);  // glow 40: between normal and hot
    const TColor midFade = Painted().PixelAt(50, 3);
    clock.Advance(4 * kGlowFadeInterval);  // the fade ended: the hot colours
    ASSERT_FALSE(button->Fade().Running());
    const TColor hot = Painted().PixelAt(50, 3);
    // The hot face is bluish ($F5F0E1 to $F9D2B2), the normal one white.
    EXPECT_GT(Channel(hot, 16) - Channel(hot, 0), 20);
    EXPECT_GT(Channel(midFade, 16) - Channel(midFade, 0), 3);
    EXPECT_LT(Channel(midFade, 16) - Channel(midFade, 0), Channel(hot, 16) - Channel(hot, 0));
}

TEST_F(GlowPaintTest, ThePngPictureKeepsItsAlpha) {
    auto* list = new TPngImageList(form);
    // The item gets its picture inside an update: the list makes its native
    // images once the update ends, from a picture that is there.
    list->PngImages()->BeginUpdate();
    auto* item = dynamic_cast<TPngImageCollectionItem*>(list->PngImages()->Add());
    ASSERT_NE(item, nullptr);
    TMemoryStream bytes;
    const std::string png = ArrowPng();
    bytes.Write(png.data(), int(png.size()));
    bytes.SetPosition(0);
    item->PngObject()->LoadFromStream(bytes);
    list->PngImages()->EndUpdate();
    button->SetBounds(20, 20, 30, 26);
    button->SetImages(list);
    button->SetImageIndex(0);
    TPaintTarget t(30, 26);
    t.PaintInParents(button);
    // No caption: the picture is centred at (7, 5).
    const TColor face = t.PixelAt(8, 6);          // transparent part of the picture
    EXPECT_TRUE(Near(face, clWhite, 3));          // the face shows through: no black
    EXPECT_EQ(t.PixelAt(7 + 8, 5 + 8), clBlack);  // the opaque square
    // The half-transparent red column over the white face: half red.
    EXPECT_TRUE(Near(t.PixelAt(7 + 13, 5 + 2), TColor(0x7F7FFF), 6));
}

TEST_F(GlowPaintTest, PicturesForTheDisabledAndTheHotLookOnlyWhenNotEmpty) {
    LoadPicture(button->Picture(), SolidPng(0xFF0000FF));  // red
    // No caption: the 8 x 8 picture is centred at (46, 16).
    EXPECT_EQ(Painted().PixelAt(49, 19), clRed);
    button->SetEnabled(false);
    EXPECT_EQ(Painted().PixelAt(49, 19), clRed);  // no disabled picture: Picture
    LoadPicture(button->DisabledPicture(), SolidPng(0xFF00FF00));
    EXPECT_EQ(Painted().PixelAt(49, 19), clLime);
    EXPECT_TRUE(Near(Painted().PixelAt(10, 5), TColor(0xF2F2F2), 3));
    button->SetEnabled(true);
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    EXPECT_EQ(Painted().PixelAt(49, 19), clRed);  // no hot picture: Picture
    LoadPicture(button->HotPicture(), SolidPng(0xFFFF0000));
    EXPECT_EQ(Painted().PixelAt(49, 19), clBlue);
}

TEST_F(GlowPaintTest, APictureIsDecodedOnceUntilItChanges) {
    LoadPicture(button->Picture(), SolidPng(0xFF0000FF));  // red
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Painted().PixelAt(49, 19), clRed);
    EXPECT_EQ(button->PictureDecodes(), 1);
    LoadPicture(button->Picture(), SolidPng(0xFFFF0000));  // blue
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Painted().PixelAt(49, 19), clBlue);
    EXPECT_EQ(button->PictureDecodes(), 2);
    // Hot and back: each look's picture is kept.
    LoadPicture(button->HotPicture(), SolidPng(0xFF00FF00));
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    EXPECT_EQ(Painted().PixelAt(49, 19), clLime);
    button->Perform(CM_MOUSELEAVE, 0, LPARAM(button));
    EXPECT_EQ(Painted().PixelAt(49, 19), clBlue);
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    EXPECT_EQ(Painted().PixelAt(49, 19), clLime);
    EXPECT_EQ(button->PictureDecodes(), 3);
}

TEST_F(GlowPaintTest, AListImageIsDecodedOnceUntilTheListChanges) {
    auto* list = new TPngImageList(form);
    list->SetWidth(8);
    list->SetHeight(8);
    const auto load = [&](TPngImageCollectionItem* item, const std::string& png) {
        TMemoryStream bytes;
        bytes.Write(png.data(), int(png.size()));
        bytes.SetPosition(0);
        list->PngImages()->BeginUpdate();
        item->PngObject()->LoadFromStream(bytes);
        list->PngImages()->EndUpdate();
    };
    list->PngImages()->BeginUpdate();
    auto* first = dynamic_cast<TPngImageCollectionItem*>(list->PngImages()->Add());
    auto* second = dynamic_cast<TPngImageCollectionItem*>(list->PngImages()->Add());
    list->PngImages()->EndUpdate();
    ASSERT_TRUE(first && second);
    load(first, SolidPng(0xFF0000FF));   // red
    load(second, SolidPng(0xFF00FF00));  // lime
    button->SetImages(list);
    button->SetImageIndex(0);
    for (int i = 0; i < 5; ++i) EXPECT_EQ(Painted().PixelAt(49, 19), clRed);
    EXPECT_EQ(button->PictureDecodes(), 1);
    button->SetImageIndex(1);
    EXPECT_EQ(Painted().PixelAt(49, 19), clLime);
    EXPECT_EQ(button->PictureDecodes(), 2);
    // A new picture for the shown image: the list tells the button.
    load(second, SolidPng(0xFFFF0000));  // blue
    for (int i = 0; i < 3; ++i) EXPECT_EQ(Painted().PixelAt(49, 19), clBlue);
    EXPECT_EQ(button->PictureDecodes(), 3);
    // An item with an empty picture adds no image to the list: the index
    // counts images, so index 0 is now the second item's and 1 is none.
    list->PngImages()->BeginUpdate();
    auto* empty = dynamic_cast<TPngImageCollectionItem*>(list->PngImages()->Insert(0));
    list->PngImages()->EndUpdate();
    ASSERT_TRUE(empty && empty->PngObject()->Empty());
    ASSERT_EQ(list->Count(), 2);
    button->SetImageIndex(0);
    EXPECT_EQ(Painted().PixelAt(49, 19), clRed);
    button->SetImageIndex(1);
    EXPECT_EQ(Painted().PixelAt(49, 19), clBlue);
    button->SetImageIndex(2);
    EXPECT_TRUE(Near(Painted().PixelAt(49, 19), clWhite, 12));
    // The list goes: nothing kept from it is drawn.
    delete list;
    EXPECT_TRUE(Near(Painted().PixelAt(49, 19), clWhite, 12));
}

TEST_F(GlowPaintTest, ABitmapPictureLeavesOutItsBottomLeftColour) {
    TBitmap bitmap;
    bitmap.SetPixelFormat(pf24bit);
    bitmap.SetSize(8, 8);
    bitmap.Canvas()->Brush()->SetColor(clFuchsia);
    bitmap.Canvas()->FillRect(Rect(0, 0, 8, 8));
    bitmap.Canvas()->Brush()->SetColor(clBlue);
    bitmap.Canvas()->FillRect(Rect(2, 2, 6, 6));
    TMemoryStream stream;
    bitmap.SaveToStream(stream);
    stream.SetPosition(0);
    button->Picture()->LoadFromStream(stream);
    TPaintTarget& t = Painted();
    EXPECT_EQ(t.PixelAt(46 + 3, 16 + 3), clBlue);
    EXPECT_TRUE(Near(t.PixelAt(46, 16), clWhite, 3));  // the key colour shows the face
}

TEST_F(GlowPaintTest, AutoSizeFitsTheContentAndADropDownAdds14Pixels) {
    button->SetCaption("Hi");
    button->SetAutoSize(true);
    form->HandleNeeded();
    button->AdjustAutoSize();
    const int width = button->Width(), height = button->Height();
    EXPECT_LT(width, 60);
    EXPECT_GT(width, 3 * 2 + 2 + 2);
    button->SetDropDownButton(true);
    EXPECT_EQ(button->Width(), width + 14);
    EXPECT_EQ(button->Height(), height);
    button->SetDropDownPosition(dpBottom);
    EXPECT_EQ(button->Width(), width);
    EXPECT_EQ(button->Height(), height + 14);
}

TEST_F(GlowPaintTest, AFontGdiPlusCannotUseIsDrawnByGdi) {
    button->SetParentFont(false);
    button->Appearance()->SetSystemFont(false);
    button->Font()->SetName("No Such Font At All");
    button->SetCaption("Hi");
    TPaintTarget& t = Painted();
    EXPECT_GT(InkIn(t, Rect(35, 8, 65, 33)), 10);
    EXPECT_EQ(InkIn(t, Rect(2, 2, 35, 39)), 0);

    // Notes, in the notes font and its colour, below the caption (the pair
    // near the left edge).
    button->NotesFont()->SetColor(clRed);
    button->Notes()->Add("Notes");
    TPaintTarget& n = Painted();
    auto red = [](TColor c) { return Channel(c, 0) > Channel(c, 8) + 60 && Channel(c, 0) > Channel(c, 16) + 60; };
    int redInk = 0, captionBottom = -1, notesTop = 1000, right = 0;
    for (int y = 2; y < 39; ++y)
        for (int x = 2; x < 98; ++x) {
            const TColor c = n.PixelAt(x, y);
            if (red(c)) {
                ++redInk;
                notesTop = std::min(notesTop, y);
                right = std::max(right, x);
            } else if (IsInk(c)) {
                captionBottom = std::max(captionBottom, y);
                right = std::max(right, x);
            }
        }
    EXPECT_GT(redInk, 10);
    EXPECT_GE(captionBottom, 0);
    EXPECT_LT(captionBottom, notesTop);
    EXPECT_LT(right, 50);
}

TEST_F(GlowPaintTest, ABackslashNInTheCaptionBreaksTheLine) {
    button->SetCaption("Hi\\nHi");
    TPaintTarget& t = Painted();
    // Two lines: ink above and below the middle row, none at the sides.
    EXPECT_GT(InkIn(t, Rect(30, 4, 70, 20)), 5);
    EXPECT_GT(InkIn(t, Rect(30, 21, 70, 38)), 5);
    EXPECT_EQ(InkIn(t, Rect(2, 2, 30, 39)), 0);
}

// The dark pixels of a painted button inside its one-pixel edge (the
// corners show the parent).
std::vector<TPoint> InkInside(const TPaintTarget& t) {
    std::vector<TPoint> ink;
    for (int y = 1; y < t.Height() - 1; ++y)
        for (int x = 1; x < t.Width() - 1; ++x)
            if (IsInk(t.PixelAt(x, y))) ink.push_back(Point(x, y));
    return ink;
}

// The box text takes in a font, one line for each of its line breaks, as
// GDI+ (when it knows the font's family) or DrawText lays it out without a
// width to keep to.
TSize TextBlock(TFont* font, const String& text, bool gdip) {
    if (text.empty()) return {};
    HDC dc = GetDC(nullptr);
    TSize size;
    if (gdip) {
        TGPGraphics g(dc);
        TGPFontFamily family(GdipWideString(font->Name()).c_str());
        TGPFont f(&family, float(font->Size()), FontStyleRegular, UnitPoint);
        TGPStringFormat format;
        const std::wstring wide = GdipWideString(text);
        TGPRectF box{};
        g.MeasureString(wide.c_str(), int(wide.size()), &f, MakeRect(0, 0, 10000, 10000), &format, box);
        size = {int(box.Width + 0.999f), int(box.Height + 0.999f)};
    } else {
        HGDIOBJ old = SelectObject(dc, font->Handle());
        RECT r{0, 0, 10000, 0};
        DrawTextA(dc, text.c_str(), -1, &r, DT_CALCRECT | DT_WORDBREAK);
        SelectObject(dc, old);
        size = {r.right - r.left, r.bottom - r.top};
    }
    ReleaseDC(nullptr, dc);
    return size;
}

// Caption font (one GDI+ draws, one only GDI can) x notes (none, one line,
// several): AutoSize makes the button the block of caption and notes as
// they are drawn (caption on top, each line of the notes below it in the
// notes font) plus its spacing and margins, and the paint fills that block:
// its ink lies inside the button, and the same button made 20 pixels wider
// and higher shows the same ink, 10 pixels down (and right, where the text
// is centred), so nothing of it was cut off or moved.
TEST_F(GlowPaintTest, AutoSizeIsTheBlockThePaintFills) {
    struct TRow {
        const char* Font;
        bool Gdip;
        const char* Notes;
    };
    const TRow rows[] = {
        {"Tahoma", true, ""},
        {"Tahoma", true, "Notes"},
        {"Tahoma", true, "First\nA second, longer line\nThird"},
        {"No Such Font At All", false, ""},
        {"No Such Font At All", false, "Notes"},
        {"No Such Font At All", false, "First\nA second, longer line\nThird"},
    };
    {
        TGPFontFamily tahoma(L"Tahoma"), none(L"No Such Font At All"), arial(L"Arial");
        ASSERT_EQ(tahoma.GetLastStatus(), TStatus::Ok);
        ASSERT_NE(none.GetLastStatus(), TStatus::Ok);
        ASSERT_NE(arial.GetLastStatus(), TStatus::Ok);  // no stand-in: GDI draws that font
    }
    TGlowButtonAppearance* a = button->Appearance();
    for (auto set :
         {&TGlowButtonAppearance::SetColor, &TGlowButtonAppearance::SetColorTo, &TGlowButtonAppearance::SetColorMirror,
          &TGlowButtonAppearance::SetColorMirrorTo, &TGlowButtonAppearance::SetBorderColor})
        (a->*set)(clWhite);
    a->SetSystemFont(false);
    button->SetParentFont(false);
    button->Font()->SetSize(8);
    button->NotesFont()->SetName("Tahoma");
    button->NotesFont()->SetSize(8);
    button->SetCaption("Caption");
    form->HandleNeeded();
    const int s = button->Spacing(), mh = button->MarginHorz(), mv = button->MarginVert();
    for (const TRow& row : rows) {
        SCOPED_TRACE(std::string(row.Font) + " / notes \"" + row.Notes + "\"");
        button->SetAutoSize(false);
        button->SetBounds(20, 20, 100, 41);
        button->Font()->SetName(row.Font);
        button->Notes()->SetText(row.Notes);
        button->SetAutoSize(true);
        button->AdjustAutoSize();
        const int w = button->Width(), h = button->Height();

        const TSize caption = TextBlock(button->Font(), "Caption", row.Gdip);
        const TSize notes = TextBlock(button->NotesFont(), button->Notes()->Text(), row.Gdip);
        const TSize block{std::max(caption.cx, notes.cx), caption.cy + notes.cy};
        ASSERT_GT(block.cy, 0);
        EXPECT_EQ(w, block.cx + 4 * s + 2 * mh + 2);
        EXPECT_EQ(h, block.cy + 3 * s + 2 * mv);

        TPaintTarget fitted(w, h, clBlack);
        fitted.PaintInParents(button);
        const std::vector<TPoint> ink = InkInside(fitted);
        ASSERT_GT(ink.size(), 20u);
        for (TPoint p : ink) {
            ASSERT_GT(p.X, 1) << p.Y;
            ASSERT_LT(p.X, w - 2) << p.Y;
            ASSERT_GT(p.Y, 1) << p.X;
            ASSERT_LT(p.Y, h - 2) << p.X;
        }

        button->SetAutoSize(false);
        button->SetBounds(20, 20, w + 20, h + 20);
        TPaintTarget larger(w + 20, h + 20, clBlack);
        larger.PaintInParents(button);
        // Notes take the text to the left; a caption alone is centred.
        const int dx = *row.Notes ? 0 : 10;
        std::vector<TPoint> moved;
        for (TPoint p : ink) moved.push_back(Point(p.X + dx, p.Y + 10));
        const std::vector<TPoint> shown = InkInside(larger);
        EXPECT_EQ(shown.size(), moved.size());
        EXPECT_TRUE(shown == moved);
    }
}

TEST_F(GlowPaintTest, ASplitButtonDrawsItsPressedPartsApartWithTheArrow) {
    button->SetDropDownButton(true);
    button->SetStyle(bsCheck);
    button->SetDown(true);  // drawn in its down colours
    TPaintTarget& t = Painted();
    // The main part darkened by 10% (not hot: the main part is "under the
    // mouse"), the drop-down part (rightmost 12 pixels) plain.
    const TColor main = t.PixelAt(40, 3), part = t.PixelAt(93, 3);
    EXPECT_LT(Channel(main, 8), Channel(part, 8));
    // The black arrow in the drop-down part, centred 7 pixels from the right.
    EXPECT_EQ(t.PixelAt(93, 20), clBlack);
    EXPECT_EQ(t.PixelAt(93, 21), clBlack);
}

TEST_F(GlowPaintTest, AFocusedButtonDrawsItsFocusBorder) {
    form->Show();
    button->SetFocus();
    ASSERT_TRUE(button->HasFocus());
    TPaintTarget& t = Painted();
    // $E4AD89 one pixel in, on the straight part of the top edge.
    EXPECT_TRUE(Near(t.PixelAt(50, 1), TColor(0xE4AD89), 24));
    button->SetFocusType(ftNone);
    EXPECT_TRUE(Near(Painted().PixelAt(50, 1), clWhite, 3));
}

TEST_F(GlowPaintTest, TheKeyTipWindowIsAGradientInAGreyFrame) {
    TShortCutHintWindow* tip = button->ShortCutHintWindow();
    tip->SetColorTo(TColor(0x0000C0));
    tip->SetCaption("O");
    EXPECT_GE(tip->CalcHintRect(200, "", nullptr).Width(), 8);
    tip->SetBounds(0, 0, 30, 32);
    TPaintTarget t(30, 32, clBlack);
    t.Paint(tip);
    EXPECT_EQ(t.PixelAt(10, 0), TColor(0x808080));  // the frame
    EXPECT_EQ(t.PixelAt(2, 1), clWhite);            // the first band: Color
    EXPECT_EQ(t.PixelAt(2, 30), TColor(0x0000C0));  // the last band: ColorTo
}

TEST_F(GlowPaintTest, OnDrawButtonFollowsThePaintWithItsState) {
    struct TRecorder : TObject {
        std::vector<int> States;
        void Draw(TObject*, TCanvas*, const TRect&, int state) { States.push_back(state); }
    } recorder;
    button->OnDrawButton = TGlowButtonDrawEvent::Bind<&TRecorder::Draw>(&recorder);
    Painted();
    button->Perform(CM_MOUSEENTER, 0, LPARAM(button));
    Painted();
    button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Painted();
    button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
    EXPECT_EQ(recorder.States, (std::vector<int>{0, 1, 2}));
}

TEST_F(GlowPaintTest, PaintingFreesWhatItMakes) {
    button->SetCaption("Balance");
    button->SetDropDownButton(true);
    target.PaintInParents(button);  // the first paint makes what stays (fonts, DCs of the form, the kept look)
    TObjectBalance balance;
    // A new caption each time: every paint draws its look anew.
    for (int i = 0; i < 1000; ++i) {
        button->SetCaption(i % 2 ? "Balance" : "Balances");
        target.PaintInParents(button);
    }
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    EXPECT_GT(balance.Created(okGdiPlus), 1000);  // the paints went through the counted GDI+ calls
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
    // Repaints of one look, and a new size now and then.
    TObjectBalance repaints;
    for (int i = 0; i < 1000; ++i) {
        if (i % 100 == 0) button->SetBounds(20, 20, 100 - i / 100, 41);
        target.PaintInParents(button);
    }
    EXPECT_EQ(repaints.Leaked(okGdi), 0) << repaints.Describe();
    EXPECT_EQ(repaints.Leaked(okGdiPlus), 0);
}

TEST_F(GlowPaintTest, AButtonGoneFreesItsKeptLook) {
    target.PaintInParents(button);  // what the form keeps
    TObjectBalance balance;
    auto* other = new TLumGlowButton(form);
    other->SetParent(form);
    other->SetBounds(20, 20, 100, 41);
    target.PaintInParents(other);
    other->SetBounds(20, 20, 90, 41);
    target.PaintInParents(other);
    EXPECT_EQ(other->LookRenders(), 2);
    delete other;
    EXPECT_EQ(balance.Leaked(okGdi), 0) << balance.Describe();
    EXPECT_EQ(balance.Leaked(okGdiPlus), 0);
}

// Every change of what the button shows draws its look anew, once; a paint
// of an unchanged button copies the kept look and makes no GDI+ object.
TEST_F(GlowPaintTest, AnUnchangedButtonRepaintsFromItsKeptLook) {
    form->Show();
    button->SetFocus();
    ASSERT_TRUE(button->HasFocus());
    LoadPicture(button->Picture(), ArrowPng());
    button->SetCaption("Kept");
    struct TChange {
        const char* Name;
        std::function<void()> Make;
    };
    const std::vector<TChange> changes = {
        {"nothing", [] {}},
        {"caption", [&] { button->SetCaption("Kept look"); }},
        {"size", [&] { button->SetBounds(20, 20, 90, 41); }},
        {"hot", [&] { button->Perform(CM_MOUSEENTER, 0, LPARAM(button)); }},
        {"pressed", [&] { button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }},
        {"released",
         [&] {
             button->Perform(WM_LBUTTONUP, 0, MAKELPARAM(500, 5));
             button->Perform(CM_MOUSELEAVE, 0, LPARAM(button));
         }},
        {"disabled", [&] { button->SetEnabled(false); }},
        {"enabled", [&] { button->SetEnabled(true); }},
        {"focus border", [&] { button->SetFocusType(ftNone); }},
        {"appearance",
         [&] {
             button->Appearance()->SetColor(TColor(0xE0F0FF));
             button->Appearance()->SetColorHot(TColor(0xE0F0FF));
         }},
        {"font", [&] { button->Font()->SetStyle(TFontStyles{fsBold}); }},
        {"font colour", [&] { button->Font()->SetColor(clNavy); }},
        {"picture", [&] { LoadPicture(button->Picture(), SolidPng(0xFF0000FF)); }},
        {"notes", [&] { button->Notes()->SetText("Notes"); }},
        {"layout", [&] { button->SetLayout(blGlyphRight); }},
        {"position", [&] { button->SetPosition(bpLeft); }},
    };
    Pump();
    Painted();
    for (const TChange& change : changes) {
        change.Make();
        Pump();  // the window's own paint, into a DC of another kind
        const int before = button->LookRenders();
        Painted();
        EXPECT_EQ(button->LookRenders() - before, change.Name == std::string("nothing") ? 0 : 1) << change.Name;
        TObjectBalance balance;
        const TColor face = Painted().PixelAt(50, 5);
        EXPECT_EQ(Painted().PixelAt(50, 5), face) << change.Name;
        EXPECT_EQ(button->LookRenders() - before, change.Name == std::string("nothing") ? 0 : 1) << change.Name;
        EXPECT_EQ(balance.Created(okGdiPlus), 0) << change.Name;
    }
}

// The pixels of a paint from the kept look are those of a drawing straight
// into the DC, whatever the DC held before, in every look (the corners
// aside: they show the parent).
TEST_F(GlowPaintTest, AKeptLookPaintsWhatADrawingStraightIntoTheDcPaints) {
    form->Show();
    button->Appearance()->SetSystemFont(false);
    button->SetCaption("Kept look");
    struct TRow {
        const char* Name;
        std::function<void()> Make;
    };
    const std::vector<TRow> rows = {
        {"normal", [] {}},
        {"hot", [&] { button->Perform(CM_MOUSEENTER, 0, LPARAM(button)); }},
        {"pressed", [&] { button->Perform(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5)); }},
        {"disabled", [&] { button->SetEnabled(false); }},
        {"focused", [&] { button->SetFocus(); }},
        {"radial halves",
         [&] {
             button->Appearance()->SetGradient(ggRadial);
             button->Appearance()->SetGradientMirror(ggRadial);
         }},
        {"picture with alpha", [&] { LoadPicture(button->Picture(), ArrowPng()); }},
        {"notes",
         [&] {
             LoadPicture(button->Picture(), ArrowPng());
             button->Notes()->SetText("Some notes");
         }},
        {"split, down",
         [&] {
             button->SetDropDownButton(true);
             button->SetStyle(bsCheck);
             button->SetDown(true);
         }},
        {"square left",
         [&] {
             button->SetRounded(false);
             button->SetPosition(bpLeft);
         }},
        {"middle", [&] { button->SetPosition(bpMiddle); }},
        {"right, no border",
         [&] {
             button->SetPosition(bpRight);
             button->SetBorderStyle(bsNone);
         }},
    };
    for (const TRow& row : rows) {
        TearDown();
        SetUp();
        form->Show();
        button->Appearance()->SetSystemFont(false);
        button->SetCaption("Kept look");
        row.Make();
        // Drawn straight into a black and a white DC.
        TGlowRenderInput input = button->RenderInput();
        input.Font = button->Font();
        input.NotesFont = button->NotesFont();
        TPaintTarget black(100, 41, clBlack), white(100, 41, clWhite);
        RenderGlowButton(black.DC(), input);
        RenderGlowButton(white.DC(), input);
        // Painted twice: drawn into the kept look, then copied from it.
        TPaintTarget& first = Painted();
        std::vector<TColor> firstPixels;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 100; ++x) firstPixels.push_back(first.PixelAt(x, y));
        const int renders = button->LookRenders();
        TPaintTarget& second = Painted();
        EXPECT_EQ(button->LookRenders(), renders) << row.Name;
        int differences = 0;
        for (int y = 0; y < 41; ++y)
            for (int x = 0; x < 100; ++x) {
                if ((x == 0 || x == 99) && (y == 0 || y == 40)) continue;
                const TColor expected = black.PixelAt(x, y);
                differences += white.PixelAt(x, y) != expected;
                differences += firstPixels[std::size_t(y * 100 + x)] != expected;
                differences += second.PixelAt(x, y) != expected;
            }
        EXPECT_EQ(differences, 0) << row.Name;
    }
}

}  // namespace
