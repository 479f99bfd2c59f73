// Pictures: TGraphic, the base of every kind of picture (bitmap, icon,
// JPEG, PNG...), and TPicture, which holds one graphic of any registered
// kind and picks the kind of a file by its extension.
#pragma once

#include <vector>

#include "classlib/core/classes.h"
#include "classlib/core/filer.h"
#include "classlib/core/streams.h"
#include "classlib/os/win.h"
#include "classlib/ui/geometry.h"
#include "classlib/ui/graphics.h"

class TBitmap;
class TIcon;

// A picture that draws itself on a canvas and stores itself in a stream.
//
// In a stored layout a graphic is the binary property "Data", written when
// the graphic is not empty. Reading hands ReadData a stream that holds
// exactly the property's bytes; by default they are what SaveToStream
// writes (TBitmap puts a size in front, see there).
class TGraphic : public TPersistent {
    QL_CLASS(TGraphic, TPersistent)
public:
    // Draws the whole picture into rect, stretched to its size.
    virtual void Draw(TCanvas* canvas, const TRect& rect) = 0;

    bool Empty() { return GetEmpty(); }
    int Width() { return GetWidth(); }
    int Height() { return GetHeight(); }
    virtual void SetWidth(int value) = 0;
    virtual void SetHeight(int value) = 0;
    // Whether drawing leaves some pixels of the canvas as they were.
    bool Transparent() { return GetTransparent(); }
    virtual void SetTransparent(bool value);
    HPALETTE Palette() { return GetPalette(); }
    virtual void SetPalette(HPALETTE value) {}
    // Set by every change; cleared by whoever saved the picture.
    bool Modified() const { return FModified; }
    void SetModified(bool value);

    // Reads a picture from the stream's position; raises EInvalidGraphic
    // (or the kind's own exception) for data it cannot read.
    virtual void LoadFromStream(TStream& stream) = 0;
    virtual void SaveToStream(TStream& stream) = 0;
    // Through a file stream (EFOpenError, EFCreateError).
    virtual void LoadFromFile(const String& fileName);
    virtual void SaveToFile(const String& fileName);
    // Clipboard exchange; kinds without a clipboard format do nothing.
    virtual void LoadFromClipboardFormat(Word format, HANDLE data, HPALETTE palette) {}
    virtual void SaveToClipboardFormat(Word& format, HANDLE& data, HPALETTE& palette) {}

    void DefineProperties(TFiler* filer) override;

    TNotifyEvent OnChange;

protected:
    virtual bool GetEmpty() = 0;
    virtual int GetWidth() = 0;
    virtual int GetHeight() = 0;
    virtual bool GetTransparent() { return FTransparent; }
    virtual HPALETTE GetPalette() { return nullptr; }
    // A bitmap destination gets the graphic drawn on a white bitmap of its
    // size.
    void AssignTo(TPersistent* dest) override;
    // Marks the picture modified and raises OnChange.
    virtual void Changed(TObject* sender);
    // The stored "Data": by default the stream format.
    virtual void ReadData(TStream* stream);
    virtual void WriteData(TStream* stream);

    bool FTransparent = false;

private:
    friend class TPicture;
    bool FModified = false;
};

// A kind of graphic: its class and how to make an empty one.
struct TGraphicClass {
    TClass Class = nullptr;
    TGraphic* (*Create)() = nullptr;
    explicit operator bool() const { return Class != nullptr; }
};

template <class G>
TGraphicClass GraphicClassOf() {
    return {G::StaticClass(), []() -> TGraphic* { return new G; }};
}

// Holds one graphic (or none) and owns it.
//
// In a stored layout a picture is the binary property "Data":
//   one byte n, the n characters of the graphic's class name ("TBitmap"),
//   then the graphic's own "Data" bytes (what its WriteData writes) to the
//   end of the property.
// The class name must be one of a registered file format.
class TPicture : public TPersistent {
    QL_CLASS(TPicture, TPersistent)
public:
    TPicture() = default;
    ~TPicture() override;

    TGraphic* Graphic() const { return FGraphic; }
    // Keeps a copy of value (a new graphic of its class, assigned from it);
    // nullptr empties the picture. The class must be registered.
    void SetGraphic(TGraphic* value);
    // The graphic as a bitmap (or icon): a graphic of another kind is
    // replaced by an empty bitmap (icon) first.
    TBitmap* Bitmap();
    TIcon* Icon();

    int Width() { return FGraphic ? FGraphic->Width() : 0; }
    int Height() { return FGraphic ? FGraphic->Height() : 0; }

    // The kind comes from the file's extension (case ignored); an unknown
    // one raises EInvalidGraphic "Unknown picture file extension (.%s)".
    // The picture is unchanged when loading fails.
    void LoadFromFile(const String& fileName);
    // An empty picture writes nothing and creates no file.
    void SaveToFile(const String& fileName);

    void Assign(TPersistent* source) override;
    void DefineProperties(TFiler* filer) override;

    // The picture-format registry. extension is without the dot ("PNG");
    // the latest registration of an extension wins.
    static void RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass);
    // Removes every file format of the class.
    static void UnregisterGraphicClass(TClass graphicClass);
    // The kind registered for an extension (with or without the dot), or an
    // empty TGraphicClass.
    static TGraphicClass FindFileFormat(const String& extension);
    // The registered kind of that class name, or an empty TGraphicClass.
    static TGraphicClass FindGraphicClass(const String& className);

    TNotifyEvent OnChange;

protected:
    void AssignTo(TPersistent* dest) override;
    virtual void Changed(TObject* sender);

private:
    void TakeGraphic(TGraphic* graphic);
    void ReadData(TStream* stream);
    void WriteData(TStream* stream);

    TGraphic* FGraphic = nullptr;
};
