// The keys a user presses in a big script, as the user meets them: the real main window opens a
// generated script through File > Open into a maximised script window, shown and painted, and
// every key goes to its box with the window's own handler (Enter colours the script and runs
// both analysis passes). A plain QPlainTextEdit of the same size and font, holding the same text
// in a window of its own, is measured beside it in the same run. Each step includes the events it
// posts (the repaint of what is shown); the counters give the paint events and painted pixels of
// the viewport per key.
#include <benchmark/benchmark.h>

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QKeyEvent>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <memory>
#include <stdexcept>

#include "language/colorize.h"
#include "language/command_table.h"
#include "language/parser.h"
#include "platform/qt_common_dialog.h"
#include "platform/qt_message_box.h"
#include "platform/text_file.h"
#include "shell/frmDocument.h"
#include "shell/frmMain.h"
#include "shell/options.h"
#include "support/script_generator.h"
#include "support/test_environment.h"
#include "resident_memory.h"

namespace {

constexpr int kTypedPerLine = 32;

void Settle()
{
    // A paint that asks for another one is seen too.
    for (int round = 0; round < 3; ++round)
        QApplication::processEvents();
}

// The script on disk, in a private settings and working folder, as File > Open finds it.
struct ScriptFile {
    explicit ScriptFile(qsizetype size, bool withoutBlockComments = false)
        : text(Generate(size, withoutBlockComments)), path(environment.root() + "/script.scr")
    {
        if (!platform::WriteTextFile(path, text))
            throw std::runtime_error("cannot write the script");
    }

    // Without "/*" and "*/", a "/*" typed at the top turns the whole rest into a comment.
    static QString Generate(qsizetype size, bool withoutBlockComments)
    {
        QString text = support::GenerateScript(size);
        if (withoutBlockComments)
            text.replace(QStringLiteral("/*"), QStringLiteral("//")).replace(QStringLiteral("*/"), QStringLiteral("  "));
        return text;
    }

    support::TestEnvironment environment;
    const QString text;
    const QString path;
};

// Paint events and painted pixels of a viewport while counting is on.
class PaintCounter : public QObject {
public:
    explicit PaintCounter(QWidget* viewport) { viewport->installEventFilter(this); }

    bool eventFilter(QObject* /*watched*/, QEvent* event) override
    {
        if (!on || event->type() != QEvent::Paint)
            return false;
        ++paints;
        for (const QRect& rect : static_cast<QPaintEvent*>(event)->region())
            pixels += qint64(rect.width()) * rect.height();
        return false;
    }

    void report(benchmark::State& state) const
    {
        const auto perKey = benchmark::Counter::kAvgIterations;
        state.counters["paints_per_key"] = benchmark::Counter(double(paints), perKey);
        state.counters["pixels_per_key"] = benchmark::Counter(double(pixels), perKey);
    }

    bool on = false;
    qint64 paints = 0;
    qint64 pixels = 0;
};

void Press(QWidget& widget, Qt::Key key, const QString& text)
{
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(&widget, &release);
}

void PressEnter(QWidget& widget)
{
    Press(widget, Qt::Key_Return, QStringLiteral("\r"));
}

void TypeCharacter(QWidget& widget)
{
    Press(widget, Qt::Key_X, QStringLiteral("x"));
}

// The end of a line in the middle of the text.
void PutCaretInTheMiddle(QPlainTextEdit& edit)
{
    QTextCursor cursor(edit.document()->findBlockByNumber(edit.document()->blockCount() / 2));
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit.setTextCursor(cursor);
}

// So that typed lines stay of a script's length.
void PutCaretOnTheNextLine(QPlainTextEdit& edit)
{
    QTextCursor cursor = edit.textCursor();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.movePosition(QTextCursor::EndOfBlock);
    edit.setTextCursor(cursor);
}

void Focus(QPlainTextEdit& edit)
{
    edit.window()->activateWindow();
    edit.setFocus();
    Settle();
}

// The program's main window, shown as a user sees it, before any script is opened.
struct MainWindow {
    MainWindow()
    {
        window.resize(1024, 768);
        window.show();
        Settle();
    }

    // File > Open of the script, in a maximised script window.
    shell::frmDocument& Open(const QString& path)
    {
        platform::CommonDialog::setAnswerHook([&path](const QString&, platform::CommonDialog& dialog) {
            dialog.FileName = path;
            return true;
        });
        window.mnuFileOpen->trigger();
        platform::CommonDialog::setAnswerHook(nullptr);
        shell::frmDocument& document = *window.activeScriptWindow();
        document.parentWidget()->showMaximized();
        Settle();
        return document;
    }

    // Closing the script window, without saving.
    static void Close(shell::frmDocument& document)
    {
        platform::setMsgBoxHook([](const QString&, const QString&) { return platform::MsgBoxResult::No; });
        document.parentWidget()->close();
        platform::setMsgBoxHook(nullptr);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        Settle();
    }

    shell::frmMain window;
};

// A script window holding the script, with its box's viewport counted.
struct ScriptWindow {
    explicit ScriptWindow(const ScriptFile& script)
        : document(main.Open(script.path)), box(*document.rtfText.widget()), counter(box.viewport())
    {
        Focus(box);
    }

    MainWindow main;
    shell::frmDocument& document;
    QPlainTextEdit& box;
    PaintCounter counter;
};

// The baseline: a plain QPlainTextEdit of the box's size and font with the same text.
struct PlainWindow {
    explicit PlainWindow(const ScriptFile& script) : counter(edit.viewport())
    {
        // The main window opens with an empty script window.
        const MainWindow reference;
        QWidget& window = *reference.window.activeScriptWindow()->parentWidget();
        window.showMaximized();
        Settle();
        const QPlainTextEdit& box = *reference.window.activeScriptWindow()->rtfText.widget();
        edit.setFont(box.font());
        edit.resize(box.size());
        edit.setPlainText(script.text);
        edit.show();
        Focus(edit);
    }

    QPlainTextEdit edit;
    PaintCounter counter;
};

// Runs the key for each iteration with the counter on, and what goes between keys unmeasured.
template <typename Key, typename Between>
void Measure(benchmark::State& state, PaintCounter& counter, Key key, Between between)
{
    for (auto _ : state) {
        counter.on = true;
        key();
        Settle();
        counter.on = false;
        state.PauseTiming();
        between();
        Settle();
        state.ResumeTiming();
    }
    counter.report(state);
}

template <typename Key>
void Measure(benchmark::State& state, PaintCounter& counter, Key key)
{
    counter.on = true;
    for (auto _ : state) {
        key();
        Settle();
    }
    counter.on = false;
    counter.report(state);
}

void BM_PlainOpen(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    PlainWindow plain(script);
    for (auto _ : state) {
        QString text;
        if (!platform::ReadTextFile(script.path, text))
            state.SkipWithError("cannot read the script");
        plain.edit.setPlainText(text);
        Settle();
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

// File > Open to the painted script window, and its closing.
void BM_Open(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    MainWindow main;
    for (auto _ : state) {
        shell::frmDocument& document = main.Open(script.path);
        state.PauseTiming();
        main.Close(document);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * script.text.size());
}

void BM_PlainEnter(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    PlainWindow plain(script);
    PutCaretInTheMiddle(plain.edit);
    Settle();
    Measure(state, plain.counter, [&] { PressEnter(plain.edit); });
}

// Enter at the end of a line in the middle of the script: the line break, the colouring and
// both analysis passes.
void BM_EnterKey(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window(script);
    PutCaretInTheMiddle(window.box);
    Settle();
    Measure(state, window.counter, [&] { PressEnter(window.box); });
}

// Enter right after "/*" is typed at the top of a script without "*/": the colouring turns the
// whole script into a comment. Between the measured Enters the comment is taken back and the
// script coloured again.
void BM_EnterOpeningAComment(benchmark::State& state)
{
    const ScriptFile script(state.range(0), true);
    ScriptWindow window(script);
    platform::QtRichTextBox& box = window.document.rtfText;
    const auto openComment = [&box] {
        box.setSelStart(0);
        box.setSelText(QStringLiteral("/*"));
    };
    openComment();
    Settle();
    Measure(state, window.counter, [&] { PressEnter(window.box); },
            [&] {
                box.setSelStart(0);
                box.setSelLength(4);
                box.setSelText({});
                window.document.rtfText_KeyDown(13, 0);
                Settle();
                openComment();
            });
}

void TypeCharacters(benchmark::State& state, QPlainTextEdit& edit, PaintCounter& counter)
{
    PutCaretInTheMiddle(edit);
    Settle();
    int typed = 0;
    Measure(state, counter, [&] { TypeCharacter(edit); },
            [&] {
                if (++typed % kTypedPerLine == 0)
                    PutCaretOnTheNextLine(edit);
            });
}

void BM_PlainTypeCharacter(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    PlainWindow plain(script);
    TypeCharacters(state, plain.edit, plain.counter);
}

// A letter typed at the end of a line in the middle of the script.
void BM_TypeCharacter(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window(script);
    TypeCharacters(state, window.box, window.counter);
}

// The box's text as the Enter key's handler first reads it after the line break: built anew
// from the document after every change.
void BM_TextAfterAChange(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window(script);
    PutCaretInTheMiddle(window.box);
    for (auto _ : state) {
        state.PauseTiming();
        TypeCharacter(window.box);
        state.ResumeTiming();
        benchmark::DoNotOptimize(window.document.rtfText.Text());
    }
}

// A colouring whose runs are those already shown: counts the lines laid out again.
void BM_EqualColoring(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    ScriptWindow window(script);
    platform::QtRichTextBox& box = window.document.rtfText;
    const std::vector<platform::ColorRun> runs =
        language::ComputeColorRuns(box.Text(), language::CommandTable, {0xFF0000, 0x008000, 0});
    box.ApplyColorRuns(runs);
    Settle();
    int laidOut = 0;
    const QAbstractTextDocumentLayout* layout = window.box.document()->documentLayout();
    QObject::connect(layout, &QAbstractTextDocumentLayout::update, [&] { ++laidOut; });
    QObject::connect(layout, &QAbstractTextDocumentLayout::updateBlock, [&] { ++laidOut; });
    Measure(state, window.counter, [&] { box.ApplyColorRuns(runs); });
    state.counters["laid_out"] = laidOut;
}

// Peak: the highest resident size while a script window opens the script and takes 10 Enters and
// 50 typed letters, above the size before the open, over the file's size. After close: the
// resident size once the window has closed, over the size before the open (and, kept, the
// difference over the file's size).
void BM_EditMemory(benchmark::State& state)
{
    const ScriptFile script(state.range(0));
    const double fileSize = double(script.text.size());
    MainWindow main;
    double peak = 0;
    double before = 0;
    double after = 0;
    for (auto _ : state) {
        before = bench::ResidentBytes("VmRSS:");
        if (!bench::ResetPeakResident())
            state.SkipWithError("cannot reset the peak resident size");
        shell::frmDocument& document = main.Open(script.path);
        QPlainTextEdit& box = *document.rtfText.widget();
        PutCaretInTheMiddle(box);
        for (int enter = 0; enter < 10; ++enter) {
            PressEnter(box);
            Settle();
        }
        for (int typed = 0; typed < 50; ++typed) {
            TypeCharacter(box);
            Settle();
        }
        peak = bench::ResidentBytes("VmHWM:") - before;
        main.Close(document);
        after = bench::ResidentBytes("VmRSS:");
    }
    state.counters["peak_x_file"] = peak / fileSize;
    state.counters["after_close_x_before"] = after / before;
    state.counters["kept_x_file"] = (after - before) / fileSize;
}

void Sizes(benchmark::internal::Benchmark* benchmark)
{
    for (const int size : {100'000, 1'000'000, 10'000'000})
        benchmark->Arg(size);
    benchmark->ArgName("bytes")->Unit(benchmark::kMillisecond);
}

BENCHMARK(BM_EditMemory)->Arg(10'000'000)->ArgName("bytes")->Iterations(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlainOpen)->Apply(Sizes);
BENCHMARK(BM_Open)->Apply(Sizes);
BENCHMARK(BM_PlainEnter)->Apply(Sizes);
BENCHMARK(BM_EnterKey)->Apply(Sizes);
BENCHMARK(BM_EnterOpeningAComment)->Apply(Sizes);
BENCHMARK(BM_PlainTypeCharacter)->Apply(Sizes);
BENCHMARK(BM_TypeCharacter)->Apply(Sizes);
BENCHMARK(BM_TextAfterAChange)->Apply(Sizes);
BENCHMARK(BM_EqualColoring)->Apply(Sizes);

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A blinking caret would add paints that no key caused.
    QApplication::setCursorFlashTime(0);
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
