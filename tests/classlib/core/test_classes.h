// Small component classes for the object-model, type-information and
// stored-layout tests (and the layout-reader fuzzer).
#pragma once

#include <string>
#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/filer.h"
#include "classlib/core/strings.h"

// What the test components saw, in order.
inline std::vector<std::string>& TestLog() {
    static std::vector<std::string> log;
    return log;
}

enum TShape { shCircle, shSquare, shTriangle };
QL_DECLARE_ENUM(TShape);
inline QL_DEFINE_ENUM(TShape, "shCircle", "shSquare", "shTriangle") using TShapes = TSet<TShape>;

class TTestFont : public TPersistent {
    QL_CLASS(TTestFont, TPersistent)
public:
    String FName = "Tahoma";
    int FSize = 8;
    TShapes FStyle;
    int Changes = 0;

    void SetName(const String& v) {
        FName = v;
        ++Changes;
    }
    void Assign(TPersistent* source) override {
        if (auto* f = dynamic_cast<TTestFont*>(source)) {
            FName = f->FName;
            FSize = f->FSize;
            FStyle = f->FStyle;
            return;
        }
        TPersistent::Assign(source);
    }
};

inline TClass TTestFont::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestFont>("TTestFont")
                                       .Prop("Name", &TTestFont::FName, &TTestFont::SetName)
                                       .Default("Tahoma")
                                       .Prop("Size", &TTestFont::FSize, &TTestFont::FSize)
                                       .Default(8)
                                       .Prop("Style", &TTestFont::FStyle, &TTestFont::FStyle)
                                       .Default(TShapes{})
                                       .Build();
    return &info;
}

class TTestItem : public TCollectionItem {
    QL_CLASS(TTestItem, TCollectionItem)
public:
    explicit TTestItem(TCollection* c) : TCollectionItem(c) {}
    String FCaption;
    int FValue = 0;
    Variant FExtra;
    void Assign(TPersistent* source) override {
        if (auto* i = dynamic_cast<TTestItem*>(source)) {
            FCaption = i->FCaption;
            FValue = i->FValue;
            FExtra = i->FExtra;
            return;
        }
        TCollectionItem::Assign(source);
    }
};

inline TClass TTestItem::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestItem>("TTestItem")
                                       .Prop("Caption", &TTestItem::FCaption, &TTestItem::FCaption)
                                       .Prop("Value", &TTestItem::FValue, &TTestItem::FValue)
                                       .Default(0)
                                       .Prop("Extra", &TTestItem::FExtra, &TTestItem::FExtra)
                                       .Build();
    return &info;
}

class TTestItems : public TOwnedCollection {
    QL_CLASS(TTestItems, TOwnedCollection)
public:
    explicit TTestItems(TPersistent* owner) : TOwnedCollection(owner, TTestItem::StaticClass()) {}
    int Updates = 0;

protected:
    void Update(TCollectionItem*) override { ++Updates; }
};

inline TClass TTestItems::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestItems>("TTestItems").Build();
    return &info;
}

// A component with one property of every kind the layout holds, a custom
// stored integer "FullHeight" and binary "Data".
class TTestWidget : public TComponent {
    QL_CLASS(TTestWidget, TComponent)
public:
    explicit TTestWidget(TComponent* owner) : TComponent(owner) {
        FFont = new TTestFont;
        FItems = new TTestItems(this);
        FLines = new TStringList;
    }
    ~TTestWidget() override {
        SetParentComponent(nullptr);
        for (TTestWidget* c : FChildren) c->FParent = nullptr;
        TestLog().push_back("destroy " + Name());
        delete FFont;
        delete FItems;
        delete FLines;
    }

    String FCaption;
    int FWidth = 75;
    bool FEnabled = true;
    TShape FShape = shCircle;
    TShapes FShapes{shCircle};
    double FRatio = 0;
    char FLetter = 'a';
    Int64 FBig = 0;
    TTestFont* FFont;
    TTestItems* FItems;
    TStringList* FLines;
    TTestWidget* FBuddy = nullptr;
    TNotifyEvent FOnClick;
    int FFullHeight = 0;
    String FData;
    TTestWidget* FParent = nullptr;
    std::vector<TTestWidget*> FChildren;

    const String& Caption() const { return FCaption; }
    void SetCaption(const String& v) { FCaption = v; }
    TTestFont* Font() const { return FFont; }
    TTestItems* Items() const { return FItems; }
    TStrings* Lines() const { return FLines; }
    void SetLines(TStrings* lines) { FLines->Assign(lines); }
    void SetBuddy(TTestWidget* b) {
        FBuddy = b;
        if (b) b->FreeNotification(this);
    }
    bool IsRatioStored() const { return FRatio != 1.5; }

    void Loaded() override {
        TComponent::Loaded();
        TestLog().push_back("loaded " + Name());
    }
    bool HasParent() const override { return FParent != nullptr; }
    TComponent* GetParentComponent() const override { return FParent; }
    void SetParentComponent(TComponent* parent) override {
        if (FParent) std::erase(FParent->FChildren, this);
        FParent = dynamic_cast<TTestWidget*>(parent);
        if (FParent) FParent->FChildren.push_back(this);
    }
    void GetChildren(const TGetChildProc& proc, TComponent* root) override {
        for (TTestWidget* c : FChildren)
            if (c->Owner() == root) proc(c);
    }
    void DefineProperties(TFiler* filer) override {
        filer->DefineProperty(
            "FullHeight", [this](TReader* r) { FFullHeight = int(r->ReadInteger()); },
            [this](TWriter* w) { w->WriteInteger(FFullHeight); }, FFullHeight != 0);
        filer->DefineBinaryProperty(
            "Data",
            [this](TStream* s) {
                FData.assign(size_t(s->Size()), '\0');
                s->Read(FData.data(), Int64(FData.size()));
            },
            [this](TStream* s) { s->Write(FData.data(), Int64(FData.size())); }, !FData.empty());
    }

protected:
    void Notification(TComponent* component, TOperation operation) override {
        TComponent::Notification(component, operation);
        if (operation == opRemove && component == FBuddy) {
            FBuddy = nullptr;
            TestLog().push_back(Name() + " lost buddy");
        }
    }
};

inline TClass TTestWidget::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestWidget>("TTestWidget")
                                       .Prop("Caption", &TTestWidget::Caption, &TTestWidget::SetCaption)
                                       .Prop("Width", &TTestWidget::FWidth, &TTestWidget::FWidth)
                                       .Default(75)
                                       .Prop("Enabled", &TTestWidget::FEnabled, &TTestWidget::FEnabled)
                                       .Default(true)
                                       .Prop("Shape", &TTestWidget::FShape, &TTestWidget::FShape)
                                       .Default(shCircle)
                                       .Prop("Shapes", &TTestWidget::FShapes, &TTestWidget::FShapes)
                                       .Default(TShapes{shCircle})
                                       .Prop("Ratio", &TTestWidget::FRatio, &TTestWidget::FRatio)
                                       .Stored(&TTestWidget::IsRatioStored)
                                       .Prop("Letter", &TTestWidget::FLetter, &TTestWidget::FLetter)
                                       .Default('a')
                                       .Prop("Big", &TTestWidget::FBig, &TTestWidget::FBig)
                                       .Default(Int64(0))
                                       .Prop("Font", &TTestWidget::Font, nullptr)
                                       .Prop("Items", &TTestWidget::Items, nullptr)
                                       .Prop("Lines", &TTestWidget::Lines, &TTestWidget::SetLines)
                                       .Prop("Buddy", &TTestWidget::FBuddy, &TTestWidget::SetBuddy)
                                       .Prop("OnClick", &TTestWidget::FOnClick, &TTestWidget::FOnClick)
                                       .Build();
    return &info;
}

// A root with published fields and methods, like a form.
class TTestRoot : public TComponent {
    QL_CLASS(TTestRoot, TComponent)
public:
    explicit TTestRoot(TComponent* owner) : TComponent(owner) {}
    ~TTestRoot() override { DestroyComponents(); }

    TTestWidget* Widget1 = nullptr;
    TTestWidget* Widget2 = nullptr;
    String FTitle;
    TNotifyEvent FOnShow;
    std::vector<std::string> Clicks;

    void ButtonClick(TObject* sender) { Clicks.push_back("ButtonClick " + static_cast<TComponent*>(sender)->Name()); }
    void FormShow(TObject*) { Clicks.push_back("FormShow"); }
    void Resize(TObject*, int) {}

    void Loaded() override {
        TComponent::Loaded();
        TestLog().push_back("loaded root " + Name());
    }
};

inline TClass TTestRoot::StaticClass() {
    static const TClassInfo info = TClassBuilder<TTestRoot>("TTestRoot")
                                       .Prop("Title", &TTestRoot::FTitle, &TTestRoot::FTitle)
                                       .Prop("OnShow", &TTestRoot::FOnShow, &TTestRoot::FOnShow)
                                       .Method<TNotifyEvent, &TTestRoot::ButtonClick>("ButtonClick")
                                       .Method<TNotifyEvent, &TTestRoot::FormShow>("FormShow")
                                       .Method<TEvent<TObject*, int>, &TTestRoot::Resize>("Resize")
                                       .Field("Widget1", &TTestRoot::Widget1)
                                       .Field("Widget2", &TTestRoot::Widget2)
                                       .Build();
    return &info;
}

inline void RegisterTestClasses() { RegisterClasses({TTestWidget::StaticClass(), TTestRoot::StaticClass()}); }
