// Helpers of the program's tests: the fixtures, option records with values
// that tell their sources apart, and line-break conversions.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "app/compiler_options.h"
#include "classlib/core/types.h"

// The bytes of a fixture file (copied beside the test program).
inline String ReadFixture(const char* name) {
    String path = String("fixtures/") + name;
    String out;
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        ADD_FAILURE() << "missing fixture " << path;
        return out;
    }
    char buf[4096];
    std::size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) out.append(buf, n);
    std::fclose(f);
    return out;
}

// The text with every CR LF replaced by the given break.
inline String WithBreaks(const String& crlfText, const String& lineBreak) {
    String out;
    for (std::size_t i = 0; i < crlfText.size(); ++i) {
        if (crlfText[i] == '\r' && i + 1 < crlfText.size() && crlfText[i + 1] == '\n') {
            out += lineBreak;
            ++i;
        } else {
            out += crlfText[i];
        }
    }
    return out;
}

// The options of the window as the stored layout starts it, with layout
// "Debug Wide" and colour scheme "Dark" chosen.
inline TCompilerOptions StartOptions() {
    TCompilerOptions o;
    o.Layout = "Debug Wide";
    o.ColorScheme = "Dark";
    for (int i = 1; i <= 23; ++i) o.CheckBox[std::size_t(i)] = true;
    o.CheckBox[18] = o.CheckBox[20] = o.CheckBox[22] = o.CheckBox[23] = false;
    o.RadioGroup = {-1, 1, 0, 1, 1, 0};
    o.ComboBox1 = 4;
    return o;
}
