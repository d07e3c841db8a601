// The keyword loader and the colouring on arbitrary bytes: the input is read once as the
// keyword file and once as a script coloured with the keywords loaded from it, by the fast and
// by the literal colouring.

#include <QDir>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>

#include "language/colorize.h"
#include "language/command_table.h"
#include "platform/memory_rich_text_box.h"
#include "platform/text_file.h"
#include "shell/options.h"
#include "support/literal_passes.h"

namespace {

void Require(bool condition)
{
    if (!condition)
        std::abort();
}

void EnterScratchFolder()
{
    static const QTemporaryDir folder;
    static const bool entered = folder.isValid() && QDir::setCurrent(folder.path());
    Require(entered);
}

// Loading, saving and loading again gives the same table: the first save normalises the file.
language::CommandSlots LoadTwice(const QByteArray& keywordFile)
{
    Require(platform::ReplaceFile("commands.dat", keywordFile).ok());
    language::ResetCommandTable();
    language::LoadCommands();
    const language::CommandSlots loaded = language::CommandTable;
    Require(language::SaveCommands().ok());
    language::ResetCommandTable();
    language::LoadCommands();
    Require(language::CommandTable == loaded);
    return loaded;
}

// The runs cover the text in order, each non-empty and of another colour than the one before.
void CheckRuns(const QString& script, const language::CommandSlots& keywords)
{
    const language::ColorScheme colors{1, 2, 3};
    const std::vector<platform::ColorRun> runs =
        language::ComputeColorRuns(script, keywords, colors);
    qsizetype covered = 0;
    for (std::size_t i = 0; i < runs.size(); ++i) {
        Require(runs[i].start == covered && runs[i].length > 0);
        Require(i == 0 || runs[i].color != runs[i - 1].color);
        Require(runs[i].color >= colors.command && runs[i].color <= colors.normal);
        covered += runs[i].length;
    }
    Require(covered == script.size());
}

// The table loaded is the one in CommandTable.
void CheckAgainstLiteralColouring(const QString& script)
{
    shell::options = {};
    platform::MemoryRichTextBox fast(script), literal(script);
    language::ColorizeScript(fast);
    support::LiteralColorizeScript(literal);
    Require(fast.colors() == literal.colors());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EnterScratchFolder();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    const QString script = platform::DecodeText(bytes);
    CheckRuns(script, LoadTwice(bytes));
    CheckAgainstLiteralColouring(script);
    return 0;
}
