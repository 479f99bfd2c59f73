#include "classlib/ui/pictures.h"

#include <algorithm>
#include <memory>
#include <mutex>

#include "classlib/core/sysutils.h"
#include "classlib/ui/bitmaps.h"
#include "classlib/ui/jpeg.h"

// ---- TGraphic ---------------------------------------------------------------------

TClass TGraphic::StaticClass() {
    static const TClassInfo info = TClassBuilder<TGraphic>("TGraphic").Build();
    return &info;
}

void TGraphic::SetTransparent(bool value) {
    if (FTransparent == value) return;
    FTransparent = value;
    Changed(this);
}

void TGraphic::SetModified(bool value) {
    if (value)
        Changed(this);
    else
        FModified = false;
}

void TGraphic::Changed(TObject*) {
    FModified = true;
    OnChange(this);
}

void TGraphic::LoadFromFile(const String& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TGraphic::SaveToFile(const String& fileName) {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

void TGraphic::DefineProperties(TFiler* filer) {
    filer->DefineBinaryProperty(
        "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, !Empty());
}

void TGraphic::ReadData(TStream* stream) { LoadFromStream(*stream); }

void TGraphic::WriteData(TStream* stream) { SaveToStream(*stream); }

void TGraphic::AssignTo(TPersistent* dest) {
    // Any graphic can become a bitmap by drawing itself on one.
    if (auto* bitmap = dynamic_cast<TBitmap*>(dest)) {
        if (Empty()) {
            bitmap->Assign(nullptr);
            return;
        }
        bitmap->SetSize(Width(), Height());
        bitmap->Canvas()->Brush()->SetColor(clWhite);
        bitmap->Canvas()->FillRect(Rect(0, 0, Width(), Height()));
        bitmap->Canvas()->Draw(0, 0, this);
        return;
    }
    TPersistent::AssignTo(dest);
}

// ---- The picture-format registry ----------------------------------------------------

namespace {

struct TFileFormat {
    String Extension;  // lower case, without the dot
    String Description;
    TGraphicClass GraphicClass;
};

std::mutex& FormatsLock() {
    static std::mutex lock;
    return lock;
}

// The kinds every program knows; the latest registration comes last.
std::vector<TFileFormat>& FileFormats() {
    static std::vector<TFileFormat> formats = {
        {"bmp", "Bitmaps", GraphicClassOf<TBitmap>()},
        {"ico", "Icons", GraphicClassOf<TIcon>()},
        {"jpeg", "JPEG Image File", GraphicClassOf<TJPEGImage>()},
        {"jpg", "JPEG Image File", GraphicClassOf<TJPEGImage>()},
    };
    return formats;
}

String NormalizeExtension(const String& extension) {
    String ext = LowerCase(extension);
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return ext;
}

}  // namespace

void TPicture::RegisterFileFormat(const String& extension, const String& description, TGraphicClass graphicClass) {
    if (!graphicClass || !graphicClass.Create) throw EInvalidArgument("A file format needs a graphic class");
    std::lock_guard lock(FormatsLock());
    FileFormats().push_back({NormalizeExtension(extension), description, graphicClass});
}

void TPicture::UnregisterGraphicClass(TClass graphicClass) {
    std::lock_guard lock(FormatsLock());
    std::erase_if(FileFormats(), [&](const TFileFormat& f) { return f.GraphicClass.Class == graphicClass; });
}

TGraphicClass TPicture::FindFileFormat(const String& extension) {
    String ext = NormalizeExtension(extension);
    std::lock_guard lock(FormatsLock());
    const auto& formats = FileFormats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (it->Extension == ext) return it->GraphicClass;
    return {};
}

TGraphicClass TPicture::FindGraphicClass(const String& className) {
    std::lock_guard lock(FormatsLock());
    const auto& formats = FileFormats();
    for (auto it = formats.rbegin(); it != formats.rend(); ++it)
        if (SameText(it->GraphicClass.Class->Name, className)) return it->GraphicClass;
    return {};
}

// ---- TPicture ---------------------------------------------------------------------------

TClass TPicture::StaticClass() {
    static const TClassInfo info = TClassBuilder<TPicture>("TPicture").Build();
    return &info;
}

TPicture::~TPicture() { delete FGraphic; }

void TPicture::TakeGraphic(TGraphic* graphic) {
    delete FGraphic;
    FGraphic = graphic;
    if (FGraphic) FGraphic->OnChange = TNotifyEvent::Bind<&TPicture::Changed>(this);
    Changed(this);
}

void TPicture::SetGraphic(TGraphic* value) {
    if (!value) {
        TakeGraphic(nullptr);
        return;
    }
    if (value == FGraphic) return;
    TGraphicClass cls = FindGraphicClass(value->ClassName());
    if (!cls || cls.Class != value->ClassType())
        throw EInvalidGraphic(Format("Unknown picture format %s", {value->ClassName()}));
    std::unique_ptr<TGraphic> copy(cls.Create());
    copy->Assign(value);
    TakeGraphic(copy.release());
}

TBitmap* TPicture::Bitmap() {
    if (auto* b = dynamic_cast<TBitmap*>(FGraphic)) return b;
    TakeGraphic(new TBitmap);
    return static_cast<TBitmap*>(FGraphic);
}

TIcon* TPicture::Icon() {
    if (auto* i = dynamic_cast<TIcon*>(FGraphic)) return i;
    TakeGraphic(new TIcon);
    return static_cast<TIcon*>(FGraphic);
}

void TPicture::LoadFromFile(const String& fileName) {
    String ext = ExtractFileExt(fileName);
    TGraphicClass cls = FindFileFormat(ext);
    if (!cls) throw EInvalidGraphic(Format("Unknown picture file extension (%s)", {ext}));
    std::unique_ptr<TGraphic> graphic(cls.Create());
    graphic->LoadFromFile(fileName);
    TakeGraphic(graphic.release());
}

void TPicture::SaveToFile(const String& fileName) {
    if (FGraphic) FGraphic->SaveToFile(fileName);
}

void TPicture::Assign(TPersistent* source) {
    if (!source) {
        SetGraphic(nullptr);
    } else if (auto* p = dynamic_cast<TPicture*>(source)) {
        SetGraphic(p->FGraphic);
    } else if (auto* g = dynamic_cast<TGraphic*>(source)) {
        SetGraphic(g);
    } else {
        TPersistent::Assign(source);
    }
}

void TPicture::AssignTo(TPersistent* dest) {
    if (FGraphic && dest && FGraphic->InheritsFrom(dest->ClassType())) {
        dest->Assign(FGraphic);
        return;
    }
    TPersistent::AssignTo(dest);
}

void TPicture::Changed(TObject*) { OnChange(this); }

void TPicture::DefineProperties(TFiler* filer) {
    filer->DefineBinaryProperty(
        "Data", [this](TStream* s) { ReadData(s); }, [this](TStream* s) { WriteData(s); }, FGraphic != nullptr);
}

void TPicture::ReadData(TStream* stream) {
    Byte length = 0;
    String name;
    if (stream->Read(&length, 1) == 1 && length > 0) {
        name.resize(length);
        if (stream->Read(name.data(), length) != length) name.clear();
    }
    if (name.empty()) throw EInvalidGraphic("Picture data has no graphic class");
    TGraphicClass cls = FindGraphicClass(name);
    if (!cls) throw EInvalidGraphic(Format("Unknown picture format %s", {name}));
    // The graphic reads exactly its own bytes.
    TMemoryStream payload;
    Int64 rest = stream->Size() - stream->Position();
    if (rest > 0) payload.CopyFrom(*stream, rest);
    payload.SetPosition(0);
    std::unique_ptr<TGraphic> graphic(cls.Create());
    // An empty graphic stores no bytes of its own and stays empty.
    if (payload.Size() > 0) graphic->ReadData(&payload);
    TakeGraphic(graphic.release());
}

void TPicture::WriteData(TStream* stream) {
    if (!FGraphic) return;
    String name = FGraphic->ClassName();
    if (name.size() > 255) throw EInvalidGraphic("Graphic class name too long");
    Byte length = Byte(name.size());
    stream->WriteBuffer(&length, 1);
    stream->WriteBuffer(name.data(), Int64(name.size()));
    FGraphic->WriteData(stream);
}
