#include <benchmark/benchmark.h>

#include "language/parser.h"
#include "language/starships.h"
#include "platform/memory_rich_text_box.h"
#include "support/literal_passes.h"
#include "support/script_generator.h"

namespace {

template <void (*Pass)(const platform::RichTextBox&)>
void BM_Pass(benchmark::State& state)
{
    language::TypeKeywords.fill(QString());
    language::InitParser();
    const QString script = support::GenerateScript(state.range(0));
    const platform::MemoryRichTextBox box(script);
    for (auto _ : state) {
        Pass(box);
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * script.size());
}

void BM_ParseVariables(benchmark::State& state)
{
    BM_Pass<language::ParseVariables>(state);
}

void BM_LiteralParseVariables(benchmark::State& state)
{
    BM_Pass<support::LiteralParseVariables>(state);
}

void BM_ParseStarships(benchmark::State& state)
{
    BM_Pass<language::ParseStarships>(state);
}

void BM_LiteralParseStarships(benchmark::State& state)
{
    BM_Pass<support::LiteralParseStarships>(state);
}

BENCHMARK(BM_ParseVariables)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralParseVariables)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_ParseStarships)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LiteralParseStarships)->Arg(10'000)->Arg(100'000)->Arg(1'000'000)->Unit(benchmark::kMicrosecond);

}  // namespace
