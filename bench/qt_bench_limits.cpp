// Oversized inputs through the windows that meet them, offscreen: a long keyword file loaded
// under the shown splash, and Window > Errors of a debug log that is one long line or many
// ordinary ones.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include "language/command_table.h"
#include "launcher/frmErrors.h"
#include "launcher/launch.h"
#include "launcher/qt_launch_view.h"
#include "platform/text_file.h"
#include "shell/frmSplash.h"
#include "shell/options.h"

namespace {

// A temporary folder made the working directory while it lives.
struct WorkingFolder {
    WorkingFolder() : saved(QDir::currentPath()) { QDir::setCurrent(folder.path()); }
    ~WorkingFolder() { QDir::setCurrent(saved); }

    bool write(const QString& name, const QByteArray& bytes) const
    {
        return platform::ReplaceFile(folder.filePath(name), bytes).ok();
    }

    QTemporaryDir folder;
    const QString saved;
};

// The keyword file of state.range(0) lines, loaded as the start-up loads it, with the splash
// shown and its bar advanced for every line.
void BM_SplashLoadsKeywordFile(benchmark::State& state)
{
    const WorkingFolder work;
    QByteArray lines;
    for (qint64 line = 0; line < state.range(0); ++line)
        lines += "KEYWORD_" + QByteArray::number(line) + "\r\n";
    if (!work.write(QStringLiteral("commands.dat"), lines))
        state.SkipWithError("cannot write the keyword file");
    const language::CommandSlots kept = language::CommandTable;  // the other benchmarks' table
    for (auto _ : state) {
        shell::frmSplash splash;
        splash.show();
        QApplication::processEvents();
        language::ResetCommandTable();
        language::CommandAdded = [&splash] { splash.AdvanceProgress(); };
        language::LoadCommands();
        language::CommandAdded = nullptr;
        QApplication::processEvents();
    }
    language::ResetCommandTable();
    language::CommandTable = kept;
}

// Window > Errors of a log of state.range(0) bytes in lines of state.range(1) characters, up to
// the shown window's first paint.
void BM_ErrorsWindowListsLog(benchmark::State& state)
{
    const WorkingFolder work;
    const qint64 lineLength = state.range(1);
    QByteArray log;
    while (log.size() < state.range(0))
        log += QByteArray(lineLength, 'x') + "\r\n";
    if (!work.write(QStringLiteral("debug.txt"), log))
        state.SkipWithError("cannot write the log");
    shell::options.LaunchPath = work.folder.filePath(QStringLiteral("IWAR.EXE"));
    launcher::QtLaunchView view(nullptr);
    for (auto _ : state) {
        launcher::ListErrors(view);
        QApplication::processEvents();
        state.PauseTiming();
        launcher::UnloadErrorsWindow();
        QDir::setCurrent(work.folder.path());
        state.ResumeTiming();
    }
    shell::options = {};
}

BENCHMARK(BM_SplashLoadsKeywordFile)->Arg(10'000)->Arg(100'000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ErrorsWindowListsLog)
    ->Args({1'000'000, 1'000'000})
    ->Args({10'000'000, 10'000'000})
    ->Args({10'000'000, 80})
    ->Unit(benchmark::kMillisecond);

}  // namespace
