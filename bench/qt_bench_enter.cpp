// The script window's text box, offscreen, beside a plain QPlainTextEdit holding the same
// script: opening a script, its first colouring, the Enter key (the box's own line break, and
// with the window's handler: the colouring and both analysis passes), Enter after a comment
// opened at the top, and a colouring that changes nothing. Each step includes the events it
// posts (the repaint of what is shown).
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <malloc.h>
#include <memory>
#include <stdexcept>
#include <sys/resource.h>

#include "language/colorize.h"
#include "language/command_table.h"
#include "language/parser.h"
#include "language/starships.h"
#include "platform/qt_rich_text_box.h"
#include "platform/text_file.h"
#include "shell/options.h"
#include "support/script_generator.h"

namespace {

// A window holding one box, shown as a script window shows it.
struct ScriptWindow {
    ScriptWindow()
    {
        window.resize(900, 700);
        rtfText.widget()->setGeometry(8, 8, 884, 684);
        plain.setGeometry(8, 8, 884, 684);
        plain.hide();
        window.show();
        QApplication::processEvents();
    }

    QWidget window;
    platform::QtRichTextBox rtfText{&window};
    QPlainTextEdit plain{&window};  // the baseline, shown instead of the box where measured
};

// The script on disk, as File > Open finds it.
struct ScriptFile {
    explicit ScriptFile(qsizetype size)
        : text(support::GenerateScript(size)), path(folder.filePath("script.scr"))
    {
        if (!platform::WriteTextFile(path, text))
            throw std::runtime_error("cannot write the script");
    }

    QTemporaryDir folder;
    const QString text;
    const QString path;
};

void Settle()
{
    QApplication::processEvents();
}

void PressEnter(QPlainTextEdit& edit)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&edit, &enter);
}

// What the script window's key handler does for Enter.
void EnterHandler(platform::QtRichTextBox& box)
{
    language::ColorizeScript(box);
    language::ParseVariables(box);
    language::ParseStarships(box);
}

// What File > Open does with the box once the file is chosen.
void Open(platform::QtRichTextBox& box, const QString& path, benchmark::State& state)
{
    if (!box.LoadFile(path))
        state.SkipWithError("cannot load the script");
    language::ParseVariables(box);
    language::ParseStarships(box);
    language::ColorizeScript(box);
}

qint32 MiddleLineEnd(const QString& text)
{
    return qint32(text.indexOf(u'\r', text.size() / 2));
}

void BM_PlainSetPlainText(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    window.rtfText.widget()->hide();
    window.plain.show();
    for (auto _ : state) {
        window.plain.setPlainText(script.text);
        Settle();
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

void BM_Open(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    for (auto _ : state) {
        Open(window.rtfText, script.path, state);
        Settle();
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

// Memory in use by the heap, in bytes.
double HeapInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return double(info.uordblks + info.hblkhd);
}

double PeakResident()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) * 1024;
}

// Runs first, so that the process's peak is this one's. Peak: the highest resident size reached
// while a window opens the script, over the file's size; kept: the heap still in use once the
// window has closed, over the file's size.
void BM_OpenMemory(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    const double fileSize = double(script.text.size());
    double peak = 0;
    double kept = 0;
    for (auto _ : state) {
        const double heapBefore = HeapInUse();
        const double residentBefore = PeakResident();
        {
            ScriptWindow window;
            Open(window.rtfText, script.path, state);
            Settle();
            peak = std::max(peak, PeakResident() - residentBefore);
        }
        Settle();
        kept = std::max(kept, HeapInUse() - heapBefore);
    }
    state.counters["peak_x_file"] = peak / fileSize;
    state.counters["kept_x_file"] = kept / fileSize;
}

// The colouring that follows Open's load at once.
void BM_FirstColoring(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    for (auto _ : state) {
        state.PauseTiming();
        if (!window.rtfText.LoadFile(script.path))
            state.SkipWithError("cannot load the script");
        state.ResumeTiming();
        language::ColorizeScript(window.rtfText);
        Settle();
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

// A loaded and coloured script with the caret at the end of a line in its middle.
void PrepareForEnter(platform::QtRichTextBox& box, const ScriptFile& script, benchmark::State& state)
{
    Open(box, script.path, state);
    box.setSelStart(MiddleLineEnd(script.text));
    Settle();
}

// The baseline for the box's own Enter.
void BM_PlainEnter(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    window.rtfText.widget()->hide();
    window.plain.show();
    window.plain.setPlainText(script.text);
    QTextCursor cursor = window.plain.textCursor();
    const QString text = window.plain.toPlainText();
    cursor.setPosition(qint32(text.indexOf(u'\n', text.size() / 2)));
    window.plain.setTextCursor(cursor);
    Settle();
    for (auto _ : state) {
        PressEnter(window.plain);
        Settle();
    }
}

// The box's own line break in the middle of a coloured script, without the window's handler.
void BM_EnterLineBreak(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    PrepareForEnter(window.rtfText, script, state);
    for (auto _ : state) {
        PressEnter(*window.rtfText.widget());
        Settle();
    }
}

// Enter in the middle of a coloured script as the script window has it: the line break, then
// the handler.
void BM_EnterKey(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    platform::QtRichTextBox& box = window.rtfText;
    PrepareForEnter(box, script, state);
    box.KeyDown = [&box](int keyCode, int) {
        if (keyCode == 13)
            EnterHandler(box);
    };
    for (auto _ : state) {
        PressEnter(*box.widget());
        Settle();
    }
}

// Enter right after "/*" is typed at the top: the colouring turns the whole script into a
// comment. Between the measured Enters the comment is taken back and the script recoloured.
void BM_EnterOpeningAComment(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    platform::QtRichTextBox& box = window.rtfText;
    Open(box, script.path, state);
    box.KeyDown = [&box](int keyCode, int) {
        if (keyCode == 13)
            EnterHandler(box);
    };
    for (auto _ : state) {
        state.PauseTiming();
        box.setSelStart(0);
        box.setSelText(QStringLiteral("/*"));
        Settle();
        state.ResumeTiming();
        PressEnter(*box.widget());
        Settle();
        state.PauseTiming();
        box.setSelStart(0);
        box.setSelLength(4);
        box.setSelText({});
        EnterHandler(box);
        Settle();
        state.ResumeTiming();
    }
}

// A colouring whose runs are those already shown: counts the lines laid out again.
void BM_EqualColoring(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    platform::QtRichTextBox& box = window.rtfText;
    PrepareForEnter(box, script, state);
    const std::vector<platform::ColorRun> runs =
        language::ComputeColorRuns(box.Text(), language::CommandTable, {0xFF0000, 0x008000, 0});
    box.ApplyColorRuns(runs);
    Settle();
    int laidOut = 0;
    const QAbstractTextDocumentLayout* layout = box.widget()->document()->documentLayout();
    QObject::connect(layout, &QAbstractTextDocumentLayout::update, [&] { ++laidOut; });
    QObject::connect(layout, &QAbstractTextDocumentLayout::updateBlock, [&] { ++laidOut; });
    for (auto _ : state) {
        box.ApplyColorRuns(runs);
        box.widget()->viewport()->repaint();
        Settle();
    }
    state.counters["laid_out"] = laidOut;
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int size : {100'000, 1'000'000, 10'000'000})
        benchmark->Arg(size);
    benchmark->ArgName("bytes")->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_OpenMemory)->Arg(10'000'000)->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainSetPlainText)->Apply(Sizes);
BENCHMARK(BM_Open)->Apply(Sizes);
BENCHMARK(BM_FirstColoring)->Apply(Sizes);
BENCHMARK(BM_PlainEnter)->Apply(Sizes);
BENCHMARK(BM_EnterLineBreak)->Apply(Sizes);
BENCHMARK(BM_EnterKey)->Apply(Sizes);
BENCHMARK(BM_EnterOpeningAComment)->Apply(Sizes);
BENCHMARK(BM_EqualColoring)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    shell::options = {};
    language::ResetCommandTable();
    for (const QString& keyword : language::BuiltInCommands())
        language::AddCommand(keyword);
    language::InitParser();

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
