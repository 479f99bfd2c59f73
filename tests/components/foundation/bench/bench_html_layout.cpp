// The renderer's own share of a caption's cost: laying out the typical
// caption of the Windows benchmark (bench_html_text_win.cpp) on the
// fixed-pitch measurer, which costs next to nothing, so what is timed is
// the parsing, line breaking and hit-testing alone, against the measurer's
// extent of the caption's plain text.
//
//   cmake --preset bench && cmake --build --preset bench
//   build/bench/tests/components/foundation/bench_html_layout
#include <benchmark/benchmark.h>

#include "components/foundation/html_layout.h"

namespace {

const char* const kCaption =
    "Rewrites <B>settings.ini</B> of the chosen <I>compiler</I> with the <FONT color=\"clNavy\">layout</FONT> "
    "and <U>colour scheme</U> you picked; see <A href=\"help\">the help</A> or <A href=\"log\">the last log</A> "
    "for <B>details</B>.";

THtmlParams Caption() {
    THtmlParams params;
    params.Text = kCaption;
    params.Bounds = Rect(0, 0, 300, 100);
    params.StartFont = {{"Tahoma", -11}, TColor(0)};
    params.MouseX = 150;
    params.MouseY = 20;
    return params;
}

void PlainTextExtent(benchmark::State& state) {
    TFixedPitchMeasurer measurer;
    THtmlParams params = Caption();
    params.MeasureOnly = true;
    THtmlResult result;
    LayoutHtml(measurer, nullptr, nullptr, params, result);
    for (auto _ : state) benchmark::DoNotOptimize(measurer.TextExtent(result.PlainText));
}
BENCHMARK(PlainTextExtent);

void Layout(benchmark::State& state, bool measureOnly, bool hitTestOnly) {
    TFixedPitchMeasurer measurer;
    THtmlParams params = Caption();
    params.MeasureOnly = measureOnly;
    params.HitTestOnly = hitTestOnly;
    for (auto _ : state) {
        THtmlResult result;
        benchmark::DoNotOptimize(LayoutHtml(measurer, nullptr, nullptr, params, result));
    }
}
BENCHMARK_CAPTURE(Layout, MeasureOnly, true, false);
BENCHMARK_CAPTURE(Layout, HitTest, false, true);
BENCHMARK_CAPTURE(Layout, PaintWithoutTarget, false, false);

}  // namespace

BENCHMARK_MAIN();
