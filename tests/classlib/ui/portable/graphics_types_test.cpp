// The portable graphics types: colour names and their stored form, font
// character sets, the drawing enumerations, points and rectangles.
#include <gtest/gtest.h>

#include "classlib/core/filer.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics_types.h"

namespace {

class TSwatch : public TComponent {
    QL_CLASS(TSwatch, TComponent)
public:
    explicit TSwatch(TComponent* owner) : TComponent(owner) {}
    TColor FColor = clWindow;
    TColor FFrame = clNone;
    TFontCharset FCharset = 1;
    TBrushStyle FStyle = bsSolid;
};

TClass TSwatch::StaticClass() {
    static const TClassInfo info = TClassBuilder<TSwatch>("TSwatch")
                                       .Prop("Color", &TSwatch::FColor, &TSwatch::FColor)
                                       .Default(clWindow)
                                       .Prop("Frame", &TSwatch::FFrame, &TSwatch::FFrame)
                                       .Default(clNone)
                                       .Prop("Charset", &TSwatch::FCharset, &TSwatch::FCharset)
                                       .Type(&TypeInfoFontCharset)
                                       .Default(1)
                                       .Prop("Style", &TSwatch::FStyle, &TSwatch::FStyle)
                                       .Default(bsSolid)
                                       .Build();
    return &info;
}

TEST(GraphicsTypesTest, SystemColoursAreIndexesAboveFF000000) {
    EXPECT_EQ(unsigned(clScrollBar), 0xFF000000u);
    EXPECT_EQ(unsigned(clBtnFace), 0xFF00000Fu);
    EXPECT_EQ(unsigned(clMenuBar), 0xFF00001Eu);
    EXPECT_TRUE(IsSystemColor(clInfoBk));
    EXPECT_FALSE(IsSystemColor(clRed));
    EXPECT_FALSE(IsSystemColor(clNone));
    EXPECT_EQ(int(clNone), 0x1FFFFFFF);
    EXPECT_EQ(int(clDefault), 0x20000000);
}

TEST(GraphicsTypesTest, EveryNameReadsBackToItsColour) {
    for (const TIdentMapEntry& e : ColorIdents()) {
        EXPECT_EQ(int(StringToColor(e.Name)), int(e.Value)) << e.Name;
        String written = ColorToString(TColor(int(e.Value)));
        EXPECT_EQ(int(StringToColor(written)), int(e.Value)) << written;
    }
    EXPECT_EQ(ColorToString(TColor(0x00010203)), "$00010203");
    EXPECT_EQ(TypeInfoOf(static_cast<TColor*>(nullptr))->Name, "TColor");
}

TEST(GraphicsTypesTest, StoredLayoutWritesAndReadsNames) {
    TSwatch swatch(nullptr);
    swatch.SetName("Swatch1");
    swatch.FColor = clBtnFace;
    swatch.FFrame = TColor(0x00808000);  // clTeal
    swatch.FCharset = 204;
    swatch.FStyle = bsClear;
    String text = TWriter().WriteRootComponent(&swatch);
    EXPECT_NE(text.find("Color = clBtnFace"), String::npos) << text;
    EXPECT_NE(text.find("Frame = clTeal"), String::npos) << text;
    EXPECT_NE(text.find("Charset = RUSSIAN_CHARSET"), String::npos) << text;
    EXPECT_NE(text.find("Style = bsClear"), String::npos) << text;

    TSwatch read(nullptr);
    TReader(text).ReadRootComponent(&read);
    EXPECT_EQ(read.FColor, clBtnFace);
    EXPECT_EQ(read.FFrame, clTeal);
    EXPECT_EQ(read.FCharset, 204);
    EXPECT_EQ(read.FStyle, bsClear);

    // Numbers, and names without a colour.
    TReader("object S: TSwatch\n  Color = $00FF8040\n  Frame = 4278190095\n  Charset = 0\nend\n")
        .ReadRootComponent(&read);
    EXPECT_EQ(read.FColor, TColor(0x00FF8040));
    EXPECT_EQ(read.FFrame, clBtnFace);
    EXPECT_EQ(read.FCharset, 0);
    TSwatch bad(nullptr);
    EXPECT_THROW(TReader("object S: TSwatch\n  Color = clNoSuch\nend\n").ReadRootComponent(&bad), EReadError);
    EXPECT_THROW(TReader("object S: TSwatch\n  Charset = 256\nend\n").ReadRootComponent(&bad), EReadError);
}

TEST(GeometryTest, RectanglesHoldTheirLeftAndTopButNotTheirRightAndBottom) {
    TRect r = Bounds(10, 20, 30, 40);
    EXPECT_EQ(r, Rect(10, 20, 40, 60));
    EXPECT_EQ(r.Width(), 30);
    EXPECT_EQ(r.Height(), 40);
    EXPECT_EQ(r.TopLeft(), Point(10, 20));
    EXPECT_EQ(r.BottomRight(), Point(40, 60));
    EXPECT_TRUE(r.Contains(Point(10, 20)));
    EXPECT_FALSE(r.Contains(Point(40, 20)));
    EXPECT_FALSE(r.Contains(Point(10, 60)));
    EXPECT_TRUE(Rect(5, 5, 5, 9).IsEmpty());
    EXPECT_FALSE(r.IsEmpty());
    static_assert(sizeof(TRect) == 16 && sizeof(TPoint) == 8);
}

}  // namespace

TEST(GraphicsTypesTest, AlignmentNamesAreThoseOfTheStoredLayout) {
    const TTypeInfo* type = TypeInfoOf(static_cast<TAlignment*>(nullptr));
    EXPECT_EQ(GetEnumName(type, taLeftJustify), "taLeftJustify");
    EXPECT_EQ(GetEnumName(type, taRightJustify), "taRightJustify");
    EXPECT_EQ(GetEnumValue(type, "taCenter"), taCenter);
}
