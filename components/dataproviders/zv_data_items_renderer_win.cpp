#include "components/dataproviders/zv_data_items_renderer_win.h"

#include "classlib/core/sysutils.h"

namespace {

const char* const kNoText = "(item does not support the IZvDataItemText interface)";

String ItemText(IZvDataItem* item) {
    auto* text = Supports<IZvDataItemText>(static_cast<IInterface*>(item));
    return text ? text->GetText() : String(kNoText);
}

}  // namespace

TClass TZvBaseDataItemsRenderer::StaticClass() {
    static const TClassInfo info =
        TClassBuilder<TZvBaseDataItemsRenderer>("TZvBaseDataItemsRenderer").Implements<IZvDataItemsRenderer>().Build();
    return &info;
}

TIntfPtr<IZvDataItem> TZvBaseDataItemsRenderer::CheckedItem(int index) {
    IZvDataItems* items = Items();
    if (!items || index < 0 || index >= items->GetCount())
        throw EZVLDataItems(Format("List index out of bounds (%d)", {index}));
    return items->GetItem(index);
}

void TZvBaseDataItemsRenderer::DrawItemByIndex(TCanvas* canvas, TRect& rect, int index) {
    TIntfPtr<IZvDataItem> item = CheckedItem(index);
    DrawItem(canvas, rect, item.Get());
}

TSize TZvBaseDataItemsRenderer::MeasureItemByIndex(TCanvas* canvas, int index) {
    if (index == -1) return AvgItemSize(canvas);
    TIntfPtr<IZvDataItem> item = CheckedItem(index);
    return MeasureItem(canvas, item.Get());
}

void TZvBaseDataItemsRenderer::DrawItem(TCanvas* canvas, TRect& rect, IZvDataItem* item) {
    if (auto* self = Supports<IZvDataItemRenderer>(static_cast<IInterface*>(item)))
        self->Draw(canvas, rect);
    else
        DoDrawItem(canvas, rect, item);
}

TSize TZvBaseDataItemsRenderer::MeasureItem(TCanvas* canvas, IZvDataItem* item) {
    if (auto* self = Supports<IZvDataItemRenderer>(static_cast<IInterface*>(item))) return self->Measure(canvas);
    return DoMeasureItem(canvas, item);
}

TClass TZvCustomDataItemsTextRenderer::StaticClass() {
    static const TClassInfo info = TClassBuilder<TZvCustomDataItemsTextRenderer>("TZvCustomDataItemsTextRenderer")
                                       .QL_EXTENSION_CONSTRUCTOR.Build();
    return &info;
}

TSize TZvCustomDataItemsTextRenderer::AvgItemSize(TCanvas* canvas) {
    return canvas->TextExtent("WyWyWyWyWyWyWyWyWyWy");
}

void TZvCustomDataItemsTextRenderer::DoDrawItem(TCanvas* canvas, TRect& rect, IZvDataItem* item) {
    canvas->TextRect(rect, rect.Left, rect.Top, ItemText(item));
}

TSize TZvCustomDataItemsTextRenderer::DoMeasureItem(TCanvas* canvas, IZvDataItem* item) {
    return canvas->TextExtent(ItemText(item));
}
