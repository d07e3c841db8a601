// The script window's Enter key in a real text box, offscreen: the colouring and both analysis
// passes, beside QTextEdit::setPlainText of the same script. Each step includes the events it
// posts (the repaint), and with the second argument 1 also the layout of the whole document,
// which the view otherwise finishes lazily while idle.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextDocument>
#include <stdexcept>

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
        window.show();
        QApplication::processEvents();
    }

    QWidget window;
    platform::QtRichTextBox rtfText{&window};
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

void Settle(QPlainTextEdit& edit, bool wholeLayout)
{
    QApplication::processEvents();
    if (wholeLayout) {
        const QTextDocument& document = *edit.document();
        document.documentLayout()->blockBoundingRect(document.lastBlock());
    }
}

void BM_SetPlainText(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    QPlainTextEdit& edit = *window.rtfText.widget();
    for (auto _ : state) {
        edit.setPlainText(script.text);
        Settle(edit, state.range(1));
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

void BM_Open(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    for (auto _ : state) {
        if (!window.rtfText.LoadFile(script.path))
            state.SkipWithError("cannot load the script");
        Settle(*window.rtfText.widget(), state.range(1));
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
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
        Settle(*window.rtfText.widget(), state.range(1));
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

// What the script window's key handler does for Enter.
void EnterHandler(platform::QtRichTextBox& box)
{
    language::ColorizeScript(box);
    language::ParseVariables(box);
    language::ParseStarships(box);
}

void PressEnter(QPlainTextEdit& edit)
{
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QStringLiteral("\r"));
    QApplication::sendEvent(&edit, &enter);
}

// A loaded, coloured and laid out script with the caret at the end of a line in its middle.
void PrepareForEnter(platform::QtRichTextBox& box, const ScriptFile& script, benchmark::State& state)
{
    if (!box.LoadFile(script.path))
        state.SkipWithError("cannot load the script");
    language::ColorizeScript(box);
    box.setSelStart(qint32(script.text.indexOf(u'\r', script.text.size() / 2)));
    Settle(*box.widget(), true);
}

// Enter in the middle of a script that is already coloured: the text box's own line break
// (about what any key costs in a QTextEdit of that size), then the handler.
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
        Settle(*box.widget(), state.range(1));
    }
}

// The handler alone: the colouring and both passes after the line break.
void BM_EnterHandler(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window;
    platform::QtRichTextBox& box = window.rtfText;
    PrepareForEnter(box, script, state);
    for (auto _ : state) {
        state.PauseTiming();
        PressEnter(*box.widget());
        Settle(*box.widget(), state.range(1));
        state.ResumeTiming();
        EnterHandler(box);
        Settle(*box.widget(), state.range(1));
    }
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int wholeLayout : {0, 1}) {
        for (const int size : {10'000, 100'000, 1'000'000})
            benchmark->Args({size, wholeLayout});
    }
    benchmark->ArgNames({"bytes", "layout"})->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_SetPlainText)->Apply(Sizes);
BENCHMARK(BM_Open)->Apply(Sizes);
BENCHMARK(BM_FirstColoring)->Apply(Sizes);
BENCHMARK(BM_EnterKey)->Apply(Sizes);
BENCHMARK(BM_EnterHandler)->Apply(Sizes);

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
