// Drawing and measuring a list's items on a canvas: the renderer base and
// the text renderer (list extensions), and the interface of an item that
// draws and measures itself.
#pragma once

#include "classlib/ui/graphics.h"
#include "components/dataproviders/zv_data_items.h"

// An item that draws and measures itself.
class IZvDataItemRenderer : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{9E877A0D-01C2-4204-AA74-84D6516BBEB9}");
    virtual void Draw(TCanvas* canvas, TRect& rect) = 0;
    virtual TSize Measure(TCanvas* canvas) = 0;

protected:
    ~IZvDataItemRenderer() = default;
};

// Drawing a list's items by index.
class IZvDataItemsRenderer : public virtual IInterface {
public:
    static constexpr TGUID IID = GUID("{0A2120DE-EA7B-4427-834E-A4F68E60E65C}");
    virtual void DrawItemByIndex(TCanvas* canvas, TRect& rect, int index) = 0;
    // Index -1: the average size of an item.
    virtual TSize MeasureItemByIndex(TCanvas* canvas, int index) = 0;
    virtual TSize AvgItemSize(TCanvas* canvas) = 0;

protected:
    ~IZvDataItemsRenderer() = default;
};

// Draws an item that cannot draw itself with DoDrawItem; an index outside
// the list raises EZVLDataItems "List index out of bounds (%d)".
class TZvBaseDataItemsRenderer : public TZvDataItemsAggregatedObject, public IZvDataItemsRenderer {
    QL_CLASS(TZvBaseDataItemsRenderer, TZvDataItemsAggregatedObject)
public:
    using TZvDataItemsAggregatedObject::TZvDataItemsAggregatedObject;
    void DrawItemByIndex(TCanvas* canvas, TRect& rect, int index) override;
    TSize MeasureItemByIndex(TCanvas* canvas, int index) override;
    void DrawItem(TCanvas* canvas, TRect& rect, IZvDataItem* item);
    TSize MeasureItem(TCanvas* canvas, IZvDataItem* item);

protected:
    virtual void DoDrawItem(TCanvas* canvas, TRect& rect, IZvDataItem* item) = 0;
    virtual TSize DoMeasureItem(TCanvas* canvas, IZvDataItem* item) = 0;

private:
    TIntfPtr<IZvDataItem> CheckedItem(int index);
};

// Draws an item's text at the rectangle's left and top; an item without a
// text shows "(item does not support the IZvDataItemText interface)".
class TZvCustomDataItemsTextRenderer : public TZvBaseDataItemsRenderer {
    QL_CLASS(TZvCustomDataItemsTextRenderer, TZvBaseDataItemsRenderer)
public:
    using TZvBaseDataItemsRenderer::TZvBaseDataItemsRenderer;
    // The extent of "WyWyWyWyWyWyWyWyWyWy".
    TSize AvgItemSize(TCanvas* canvas) override;

protected:
    void DoDrawItem(TCanvas* canvas, TRect& rect, IZvDataItem* item) override;
    TSize DoMeasureItem(TCanvas* canvas, IZvDataItem* item) override;
};
