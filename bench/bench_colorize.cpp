#include <benchmark/benchmark.h>

#include "language/colorize.h"
#include "platform/memory_rich_text_box.h"
#include "shell/options.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace {

void UseBuiltInKeywords()
{
    shell::options = {};
    language::ResetCommandTable();
    for (const QString& keyword : language::BuiltInCommands())
        language::AddCommand(keyword);
}

template <void (*Colorize)(platform::RichTextBox&)>
void BM_Colorize(benchmark::State& state)
{
    UseBuiltInKeywords();
    const QString script = support::GenerateScript(state.range(0));
    platform::MemoryRichTextBox box(script);
    for (auto _ : state) {
        Colorize(box);
        benchmark::DoNotOptimize(box.colors().data());
    }
    state.SetBytesProcessed(state.iterations() * script.size());
}

void BM_ColorizeScript(benchmark::State& state)
{
    BM_Colorize<language::ColorizeScript>(state);
}

// The colour runs alone, without the box that takes them.
void BM_ComputeColorRuns(benchmark::State& state)
{
    UseBuiltInKeywords();
    const QString script = support::GenerateScript(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(language::ComputeColorRuns(script, language::CommandTable, {1, 2, 3}));
    state.SetBytesProcessed(state.iterations() * script.size());
}

void BM_LiteralColorizeScript(benchmark::State& state)
{
    BM_Colorize<support::LiteralColorizeScript>(state);
}

BENCHMARK(BM_ColorizeScript)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ComputeColorRuns)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Arg(10'000'000)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralColorizeScript)
    ->Arg(10'000)
    ->Arg(100'000)
    ->Arg(1'000'000)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
