// The rewrite of a compiler's "settings.ini" of 10 KB, 1 MB and 10 MB
// (read, rewrite, write) against a plain read and write of the same file,
// and against the class library's string-list load and save.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <map>
#include <vector>

#include "app/settings_rewrite.h"
#include "classlib/core/strings.h"

namespace {

// A settings file of about the given size: the IDE's sections, with other
// windows' sections before them and long option and gutter sections (half
// of the filler lies in sections the rewrite walks).
String MakeSettings(std::size_t size) {
    String text = "[Version]\r\nVersion=6.2.1\r\n[frmMain]\r\nLastLayout=Default\r\nShowCmd=1\r\nFlags=0\r\n"
                  "NormPos=44,44,1290,905\r\nMessagesColumn0Width=30\r\n\r\n[frmFindResults]\r\nShowCmd=1\r\n";
    int n = 0;
    while (text.size() < size / 2) {
        const std::string unit = std::to_string(++n);
        text += "[frmUnit" + unit +
                "]\r\nShowCmd=1\r\nFlags=0\r\nNormPos=10,10,600,300\r\n"
                "MRU_File=C:\\Projects\\Led Blinking\\LedBlinking" +
                unit + ".c\r\n";
    }
    text += "[frmOptions2]\r\ncbColorScheme_ItemIndex=Default\r\nCheckBox2=False\r\nRadioGroup1=0\r\n";
    while (text.size() < size * 9 / 10) {
        const std::string key = std::to_string(++n);
        text += "Editor_Key" + key + "=value of the key\r\nAdvOfficeCheckBox" + key + "_Checked=False\r\n";
    }
    text += "[frmOptions2\\SynEdit1_Gutter]\r\nGradientStartColor=clWindow\r\n";
    while (text.size() < size) text += "GutterMark" + std::to_string(++n) + "=12\r\n";
    text += "[frmOptions2\\SynEdit1_Gutter\\Font]\r\nColor=clLime\r\n[frmOptions2\\SynEdit1_Gutter\\Font\\Style]\r\n";
    return text;
}

String ReadAll(const std::string& name) {
    String data(std::filesystem::file_size(name), '\0');
    std::FILE* f = std::fopen(name.c_str(), "rb");
    data.resize(std::fread(data.data(), 1, data.size(), f));
    std::fclose(f);
    return data;
}

void WriteAll(const std::string& name, const String& data) {
    std::FILE* f = std::fopen(name.c_str(), "wb");
    std::fwrite(data.data(), 1, data.size(), f);
    std::fclose(f);
}

// One input file per size, made once.
const std::string& InputFile(std::size_t size) {
    static std::map<std::size_t, std::string> files;
    auto it = files.find(size);
    if (it == files.end()) {
        std::string name =
            (std::filesystem::temp_directory_path() / ("qm-bench-settings-" + std::to_string(size) + ".ini")).string();
        WriteAll(name, MakeSettings(size));
        it = files.emplace(size, name).first;
    }
    return it->second;
}

std::string OutputFile() { return (std::filesystem::temp_directory_path() / "qm-bench-settings-out.ini").string(); }

TCompilerOptions Options() {
    TCompilerOptions o;
    o.Layout = "Debug Wide";
    o.ColorScheme = "Dark";
    o.CheckBox.fill(true);
    return o;
}

void PlainReadWrite(benchmark::State& state) {
    const std::string& in = InputFile(std::size_t(state.range(0)));
    const std::string out = OutputFile();
    for (auto _ : state) WriteAll(out, ReadAll(in));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void StringListLoadSave(benchmark::State& state) {
    const std::string& in = InputFile(std::size_t(state.range(0)));
    const std::string out = OutputFile();
    for (auto _ : state) {
        TStringList list;
        list.LoadFromFile(in);
        list.SaveToFile(out);
    }
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

void Rewrite(benchmark::State& state) {
    const std::string& in = InputFile(std::size_t(state.range(0)));
    const std::string out = OutputFile();
    const TCompilerOptions options = Options();
    for (auto _ : state) WriteAll(out, RewriteCompilerSettingsText(ReadAll(in), options));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}

// The same 10 MB file with LF or CR breaks only: still one pass over it.
void RewriteOtherBreaks(benchmark::State& state) {
    const char* lineBreak = state.range(0) == 0 ? "\n" : "\r";
    String text;
    for (const String& line : SplitLines(MakeSettings(10 << 20))) text += line + lineBreak;
    const TCompilerOptions options = Options();
    for (auto _ : state) benchmark::DoNotOptimize(RewriteCompilerSettingsText(text, options));
    state.SetBytesProcessed(state.iterations() * Int64(text.size()));
    state.SetLabel(state.range(0) == 0 ? "LF only, in memory" : "CR only, in memory");
}

// The thread's processor time (its own and the system's work for it), in
// seconds: on a busy machine the clock on the wall also counts the time
// the thread waited for a processor.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The rewrite of a 10 MB file (read, rewrite, write) against a plain read
// and write of it, both with the files in memory (the system's file cache),
// interleaved: each iteration times one of each, in turns of order, and the
// counters give the ratio of the pair's processor times (median and range).
void RewriteToPlainRatio(benchmark::State& state) {
    const std::string& in = InputFile(10 << 20);
    const std::string out = OutputFile();
    const TCompilerOptions options = Options();
    std::vector<double> ratios;
    bool plainFirst = true;
    for (auto _ : state) {
        double plain = 0, rewrite = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const double start = ThreadSeconds();
            if ((turn == 0) == plainFirst) {
                WriteAll(out, ReadAll(in));
                plain = ThreadSeconds() - start;
            } else {
                WriteAll(out, RewriteCompilerSettingsText(ReadAll(in), options));
                rewrite = ThreadSeconds() - start;
            }
        }
        plainFirst = !plainFirst;
        ratios.push_back(rewrite / plain);
    }
    std::sort(ratios.begin(), ratios.end());
    state.counters["ratio_median"] = ratios[ratios.size() / 2];
    state.counters["ratio_min"] = ratios.front();
    state.counters["ratio_max"] = ratios.back();
    state.SetLabel("rewrite / plain read and write, 10 MB, processor time");
}

}  // namespace

BENCHMARK(RewriteToPlainRatio)->Unit(benchmark::kMicrosecond)->MinTime(2.0);
BENCHMARK(RewriteOtherBreaks)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainReadWrite)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(StringListLoadSave)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);
BENCHMARK(Rewrite)->Arg(10 << 10)->Arg(1 << 20)->Arg(10 << 20)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
