// The INI store reading a "Settings.ini" of any content, as the program
// does at start-up (the placement values and the stored properties of the
// main form), then every value it finds in every typed form. Nothing may
// crash, and the content must survive being written and read again.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "classlib/core/exceptions.h"
#include "classlib/core/strings.h"
#include "classlib/core/typinfo.h"
#include "storage/ini_file_storage.h"
#include "storage/storage_files.h"
#include "storage/support/errors.h"

namespace {

enum TFuzzColor { fcRed, fcGreen, fcBlue };
QL_DECLARE_ENUM(TFuzzColor);
QL_DEFINE_ENUM(TFuzzColor, "fcRed", "fcGreen", "fcBlue")

// The store's file lives in memory: the store finds, reads and writes it
// through the file services as it does a file on disk, without a disk
// write and read per run, and without a file left behind when a run is cut
// short.
class TMemoryFileSystem : public TZvStorageFileSystem {
public:
    String Content;
    bool FileExists(const String& fileName) override { return fileName == SettingsFile; }
    bool FileIsReadOnly(const String&) override { return false; }
    bool ForceDirectories(const String&) override { return true; }
    String ReadWholeFile(const String& fileName) override {
        if (fileName != SettingsFile) throw EFOpenError("Cannot open file \"" + fileName + "\".");
        return Content;
    }
    void WriteWholeFile(const String& fileName, const String& content) override {
        if (fileName == SettingsFile) Content = content;
    }
    static constexpr const char* SettingsFile = "/fuzz/Settings.ini";
};

TMemoryFileSystem& MemoryFiles() {
    // Never freed: a store destroyed at exit may still ask for it.
    static TMemoryFileSystem* files = [] {
        auto* f = new TMemoryFileSystem;
        ZvInstallStorageFileSystem(f);
        return f;
    }();
    return *files;
}

void ReadAsTheProgramDoes(TZvAppIniFileStorage& store) {
    const String s = "frmMain\\";
    store.ReadInteger(s + "FormVersion", 0);
    store.ReadInteger(s + "ShowCmd", 0);
    store.ReadInteger(s + "Flags", 0);
    store.ReadInteger(s + "PixelsPerInch", 96);
    store.ReadString(s + "MinMaxPos(1024x768)", store.ReadString(s + "MinMaxPos", ""));
    store.ReadString(s + "NormPos(1024x768)", store.ReadString(s + "NormPos", ""));
    for (int i = 1; i <= 20; ++i) store.ReadBoolean(s + "LumOfficeCheckBox" + std::to_string(i) + "_Checked", false);
    store.ReadInteger(s + "RadioGroup1_ItemIndex", 0);
    store.ReadInteger(s + "Image1_Tag", 0);
    store.ReadString(s + "Pager1_ActivePage", "");
}

template <class F>
void Tolerant(F f) {
    try {
        f();
    } catch (const EConvertError&) {
    } catch (const EZevError&) {
    } catch (const EZVLAppStorageError&) {}
}

void ReadEverything(TZvAppIniFileStorage& store) {
    TStringList folders;
    store.GetStoredFolders("", &folders);
    for (int f = 0; f < folders.Count() && f < 16; ++f) {
        String folder = folders[f];
        TStringList values, sub;
        store.GetStoredValues(folder, &values, false);
        store.GetStoredFolders(folder, &sub);
        store.PathExists(folder);
        Tolerant([&] {
            if (store.ListStored(folder) && store.ReadInteger(folder + "\\Count", 0) <= 256) {
                TStringList list;
                store.ReadStringList(folder, &list);
            }
        });
        Tolerant([&] { store.ReadSet(folder, TSet<TFuzzColor>{fcRed}); });
        for (int v = 0; v < values.Count() && v < 32; ++v) {
            String path = TZvCustomAppStorage::ConcatPaths({folder, values[v]});
            if (path.find('\\') == String::npos) continue;  // a value outside any folder
            Tolerant([&] { store.ReadInteger(path, 1); });
            Tolerant([&] { store.ReadBoolean(path, true); });
            Tolerant([&] { store.ReadFloat(path, 1.5); });
            Tolerant([&] { store.ReadDateTime(path, 2.5); });
            Tolerant([&] { store.ReadWideString(path); });
            Tolerant([&] { store.ReadEnumeration(path, fcGreen); });
            Byte buffer[16];
            Tolerant([&] { store.ReadBinary(path, buffer, sizeof(buffer)); });
            store.StorageOptions()->SetSetAsString(true);
            Tolerant([&] { store.ReadSet(path, TSet<TFuzzColor>{fcBlue}); });
            store.StorageOptions()->SetSetAsString(false);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1 << 16) return 0;
    String content(reinterpret_cast<const char*>(data), size);
    MemoryFiles().Content = content;

    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.SetLocation(flCustom);
    store.SetFileName(TMemoryFileSystem::SettingsFile);  // reads the file
    store.StorageOptions()->SetDefaultIfReadConvertError(true);
    ReadAsTheProgramDoes(store);
    store.StorageOptions()->SetDefaultIfReadConvertError(false);
    ReadEverything(store);
    store.IniStorageOptions()->SetReplaceCRLF(true);
    store.IniStorageOptions()->SetPreserveLeadingTrailingBlanks(true);
    ReadEverything(store);

    // What the store writes reads back as the same content.
    String written = store.AsString();
    TZvAppIniFileStorage again(nullptr);
    again.SetFlushOnDestroy(false);
    again.Reload();
    again.SetAsString(written);
    if (again.AsString() != written) std::abort();
    return 0;
}
