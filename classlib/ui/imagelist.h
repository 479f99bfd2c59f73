// Image lists: a row of same-sized images over the common controls' image
// list (32-bit colour, with a mask unless Masked is off), shared by the
// controls that show images by index.
#pragma once

#include <vector>

#include "classlib/ui/bitmaps.h"

#include <commctrl.h>

enum TDrawingStyle { dsFocus, dsSelected, dsNormal, dsTransparent };
QL_DECLARE_ENUM(TDrawingStyle);
enum TImageType { itImage, itMask };
QL_DECLARE_ENUM(TImageType);

class TCustomImageList;

// How a control hears of changes to an image list it shows: it registers a
// link with the list (RegisterChanges), and the link's OnChange runs with
// the list as sender after every change. A link unregisters itself when
// freed; a freed list leaves its links without a sender.
class TChangeLink : public TObject {
public:
    TChangeLink() = default;
    ~TChangeLink() override;

    TCustomImageList* Sender() const { return FSender; }
    virtual void Change();

    TNotifyEvent OnChange;

private:
    friend class TCustomImageList;
    TCustomImageList* FSender = nullptr;
};

// The image list. The native list is made when first needed; Handle() makes
// it, Count() is 0 without it.
//
// The fourteen list operations (Add ... ReplaceMasked) are virtual, so a
// list that keeps its images in another form (PNG pictures) redefines them
// and every caller reaches its versions. Drawing goes through the virtual
// DoDraw, the stored "Bitmap" through the virtual ReadData and WriteData.
class TCustomImageList : public TComponent {
    QL_CLASS(TCustomImageList, TComponent)
public:
    explicit TCustomImageList(TComponent* owner);
    ~TCustomImageList() override;

    // Copies the sizes, options and images of another image list.
    void Assign(TPersistent* source) override;

    // Appends the image (a bitmap Width() wide, or a multiple of it for
    // several images) with its mask bitmap (nullptr: none); returns the
    // index of the first new image, -1 when nothing was added.
    virtual int Add(TBitmap* image, TBitmap* mask);
    virtual int AddIcon(TIcon* image);
    // Appends a copy of image index of value; -1 for a bad index.
    virtual int AddImage(TCustomImageList* value, int index);
    virtual void AddImages(TCustomImageList* value);
    // Appends the image with the pixels of maskColor transparent (clNone:
    // no transparent pixels). The bitmap itself is left unchanged.
    virtual int AddMasked(TBitmap* image, TColor maskColor);
    virtual void Clear();
    // Removes image index; -1 removes all. Raises EInvalidOperation
    // "Invalid ImageList Index" for an index past the end.
    virtual void Delete(int index);
    // Inserts before index (0 to Count()); EInvalidOperation for others.
    virtual void Insert(int index, TBitmap* image, TBitmap* mask);
    virtual void InsertIcon(int index, TIcon* image);
    virtual void InsertMasked(int index, TBitmap* image, TColor maskColor);
    // Moves image curIndex to newIndex, shifting those between.
    virtual void Move(int curIndex, int newIndex);
    // Replace image index; EInvalidOperation "Invalid ImageList Index" for a
    // bad index, "Unable to Replace Image" when the list refuses.
    virtual void Replace(int index, TBitmap* image, TBitmap* mask);
    virtual void ReplaceIcon(int index, TIcon* image);
    virtual void ReplaceMasked(int index, TBitmap* newImage, TColor maskColor);

    // Draws image index at x, y in the list's drawing style (disabled: in
    // the embossed grey of disabled controls). Both reach DoDraw.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true);
    void Draw(TCanvas* canvas, int x, int y, int index, TDrawingStyle drawingStyle, TImageType imageType,
              bool enabled = true);
    // Makes image a Width x Height bitmap holding image index drawn on
    // white; false (image unchanged) for a bad index.
    bool GetBitmap(int index, TBitmap* image);
    // Gives image an icon of image index.
    void GetIcon(int index, TIcon* image);
    void GetIcon(int index, TIcon* image, TDrawingStyle drawingStyle, TImageType imageType);
    // The native list's own strips of images and masks (the list keeps
    // them); nullptr for an empty list.
    HBITMAP GetImageBitmap();
    HBITMAP GetMaskBitmap();

    int Count();
    HIMAGELIST Handle();
    // Takes over a native list (its size becomes the list's); the old one
    // is destroyed unless ShareImages is set.
    void SetHandle(HIMAGELIST value);
    bool HandleAllocated() const { return FHandle != nullptr; }

    int Width() const { return FWidth; }
    // A new size empties the list.
    virtual void SetWidth(int value);
    int Height() const { return FHeight; }
    virtual void SetHeight(int value);
    bool Masked() const { return FMasked; }
    void SetMasked(bool value);
    // How many images the native list grows by.
    int AllocBy() const { return FAllocBy; }
    void SetAllocBy(int value) { FAllocBy = value > 0 ? value : 1; }
    TColor BkColor() const { return FBkColor; }
    void SetBkColor(TColor value);
    TColor BlendColor() const { return FBlendColor; }
    void SetBlendColor(TColor value);
    TDrawingStyle DrawingStyle() const { return FDrawingStyle; }
    void SetDrawingStyle(TDrawingStyle value);
    TImageType ImageType() const { return FImageType; }
    void SetImageType(TImageType value);
    // A list that shares its handle never destroys it.
    bool ShareImages() const { return FShareImages; }
    void SetShareImages(bool value) { FShareImages = value; }

    // Changes between BeginUpdate and EndUpdate are announced once, at the
    // end.
    void BeginUpdate();
    void EndUpdate();
    // Tells the registered links, then OnChange.
    virtual void Change();
    void RegisterChanges(TChangeLink* link);
    void UnRegisterChanges(TChangeLink* link);

    void DefineProperties(TFiler* filer) override;
    void Loaded() override;

    TNotifyEvent OnChange;

protected:
    // style: ILD_* flags of the drawing style and image type.
    virtual void DoDraw(int index, TCanvas* canvas, int x, int y, UINT style, bool enabled = true);
    // The stored "Bitmap": the native list in the common controls' stream
    // format. A failure raises EReadError "Failed to read ImageList data
    // from stream" (EWriteError "Failed to write ImageList data to stream").
    virtual void ReadData(TStream* stream);
    virtual void WriteData(TStream* stream);

    void HandleNeeded();
    void FreeHandle();
    // EInvalidOperation "Invalid ImageList Index" unless 0 <= index < Count()
    // (<= Count() with allowEnd).
    void CheckIndex(int index, bool allowEnd = false);

private:
    void CreateImageList();
    int AddMaskedNative(TBitmap* image, TColor maskColor);
    void MoveNative(int curIndex, int newIndex);

    HIMAGELIST FHandle = nullptr;
    int FWidth = 16;
    int FHeight = 16;
    bool FMasked = true;
    int FAllocBy = 4;
    TColor FBkColor = clNone;
    TColor FBlendColor = clNone;
    TDrawingStyle FDrawingStyle = dsNormal;
    TImageType FImageType = itImage;
    bool FShareImages = false;
    int FUpdateCount = 0;
    bool FChanged = false;
    std::vector<TChangeLink*> FClients;
};

// The image list component of forms: publishes the list's properties.
class TImageList : public TCustomImageList {
    QL_CLASS(TImageList, TCustomImageList)
public:
    explicit TImageList(TComponent* owner) : TCustomImageList(owner) {}
};
