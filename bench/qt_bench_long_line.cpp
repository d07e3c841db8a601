// Opening a script of one long line in the script window's text box, offscreen, beside the same
// bytes spread over ordinary lines: the load, both analysis passes and the colouring, as File >
// Open does them, up to the painted window (the program's main comes with the Enter benchmark).
// A long line is either a script's words with blanks between them or, the worst case for the
// layout, its letters and digits with an underscore for every other character: no place where
// a line may wrap.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <malloc.h>
#include <stdexcept>

#include "language/colorize.h"
#include "language/parser.h"
#include "language/starships.h"
#include "platform/qt_rich_text_box.h"
#include "platform/text_file.h"
#include "support/script_generator.h"
#include "resident_memory.h"

namespace {

enum Shape { kLines, kWords, kNoBlanks };

// A generated script of about size characters in the shape asked for, all of the same length.
QString Script(qsizetype size, Shape shape)
{
    QString text = support::GenerateScript(size);
    if (shape != kLines)
        text.replace(QStringLiteral("\r\n"), QStringLiteral("  "));
    if (shape == kNoBlanks)
        std::ranges::replace_if(text, [](QChar c) { return !c.isLetterOrNumber(); }, u'_');
    return text;
}

struct ScriptFile {
    ScriptFile(qsizetype size, Shape shape) : text(Script(size, shape)), path(folder.filePath("script.scr"))
    {
        if (!platform::WriteTextFile(path, text))
            throw std::runtime_error("cannot write the script");
    }

    QTemporaryDir folder;
    const QString text;
    const QString path;
};

// A script window's box, shown and painted, with the script opened in it.
struct ScriptWindow {
    ScriptWindow(const ScriptFile& script, benchmark::State& state)
    {
        window.resize(900, 700);
        rtfText.widget()->setGeometry(8, 8, 884, 684);
        window.show();
        QApplication::processEvents();
        if (!rtfText.LoadFile(script.path))
            state.SkipWithError("cannot load the script");
        language::ParseVariables(rtfText);
        language::ParseStarships(rtfText);
        language::ColorizeScript(rtfText);
        rtfText.widget()->viewport()->repaint();
        QApplication::processEvents();
    }

    QWidget window;
    platform::QtRichTextBox rtfText{&window};
};

void BM_OpenShape(benchmark::State& state, Shape shape)
{
    const ScriptFile script(state.range(0), shape);
    for (auto _ : state)
        ScriptWindow window(script, state);
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

// Shown: the heap the open window holds; peak: the highest resident size while it opens, above
// the size before. Both over the file's size.
void BM_OpenShapeMemory(benchmark::State& state, Shape shape)
{
    const ScriptFile script(state.range(0), shape);
    const double fileSize = double(script.text.size());
    double shown = 0;
    double peak = 0;
    for (auto _ : state) {
        const double heapBefore = HeapInUse();
        const double residentBefore = bench::ResidentBytes("VmRSS:");
        if (!bench::ResetPeakResident())
            state.SkipWithError("cannot reset the peak resident size");
        ScriptWindow window(script, state);
        shown = std::max(shown, HeapInUse() - heapBefore);
        peak = std::max(peak, bench::ResidentBytes("VmHWM:") - residentBefore);
    }
    state.counters["shown_x_file"] = shown / fileSize;
    state.counters["peak_x_file"] = peak / fileSize;
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int size : {100'000, 1'000'000, 10'000'000})
        benchmark->Arg(size);
    benchmark->ArgName("bytes")->Unit(benchmark::kMillisecond);
}

void Memory(benchmark::internal::Benchmark* benchmark)
{
    benchmark->Arg(10'000'000)->ArgName("bytes")->Iterations(1)->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_OpenShapeMemory, lines, kLines)->Apply(Memory);
BENCHMARK_CAPTURE(BM_OpenShapeMemory, words_line, kWords)->Apply(Memory);
BENCHMARK_CAPTURE(BM_OpenShapeMemory, no_blank_line, kNoBlanks)->Apply(Memory);
BENCHMARK_CAPTURE(BM_OpenShape, lines, kLines)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_OpenShape, words_line, kWords)->Apply(Sizes);
BENCHMARK_CAPTURE(BM_OpenShape, no_blank_line, kNoBlanks)->Apply(Sizes);

}  // namespace
