// The INI store reading a "Settings.ini" of any content, as the program
// does at start-up (the placement values and the stored properties of the
// main form), then every value it finds in every typed form. Nothing may
// crash, and the content must survive being written and read again.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

#include "classlib/core/strings.h"
#include "classlib/core/typinfo.h"
#include "storage/ini_file_storage.h"
#include "storage/storage_files.h"
#include "storage/support/errors.h"

namespace {

enum TFuzzColor { fcRed, fcGreen, fcBlue };
QL_DECLARE_ENUM(TFuzzColor);
QL_DEFINE_ENUM(TFuzzColor, "fcRed", "fcGreen", "fcBlue")

// One folder per run (in TMPDIR), removed when the run ends. Its name is
// never freed: the exit handler that removes it runs after the statics go.
const String& RunFolder() {
    static const String* folder = [] {
        const char* tmp = std::getenv("TMPDIR");
        std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/fuzz-ini-storage.XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        std::atexit([] {
            std::remove((RunFolder() + "/Settings.ini").c_str());
            rmdir(RunFolder().c_str());
        });
        return new String(pattern);
    }();
    return *folder;
}

const String& SettingsFile() {
    static const String* name = new String(RunFolder() + "/Settings.ini");
    return *name;
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
    ZvStorageFileSystem().WriteWholeFile(SettingsFile(), content);

    TZvAppIniFileStorage store(nullptr);
    store.SetFlushOnDestroy(false);
    store.SetLocation(flCustom);
    store.SetFileName(SettingsFile());  // reads the file
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
