#include "app/compiler_keys.h"

#include "classlib/core/sysutils.h"

String CompilerRegistryKey(const String& compilerCaption, const String& family) {
    return "Software\\zodozElektronika\\" + compilerCaption + " " + family + "\\";
}

String ItemAt(const std::vector<String>& items, int index) {
    if (index < 0 || std::size_t(index) >= items.size()) return String();
    return items[std::size_t(index)];
}

String CompilerChangedMessage(const String& compilerCaption, const String& family) {
    return compilerCaption + " " + family + " settings succesfully changed.";
}

String AllCompilersChangedMessage(int failures) {
    return IntToStr(3 - failures) + " out of 3 settings succesfully changed.";
}

String LayoutNotCopiedMessage(const String& sourceFile, const String& targetFile) {
    return "The layout file " + sourceFile + " could not be copied to " + ExtractFilePath(targetFile) +
           "\r\nThe compiler's settings were not changed.";
}
