// Both analysis passes on any bytes, read as a script file is read. Short inputs also run the
// step-by-step passes from the same starting tables and must give the same tables.
#include <cstdint>
#include <cstdlib>

#include "language/parser.h"
#include "language/starships.h"
#include "platform/memory_rich_text_box.h"
#include "platform/text_file.h"
#include "support/literal_passes.h"

namespace {

// The step-by-step passes are quadratic; longer inputs run the fast passes alone.
constexpr size_t kLiteralLimit = 4096;

void RunBoth(const platform::RichTextBox& box)
{
    language::ParseVariables(box);
    language::ParseStarships(box);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    language::InitParser();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const platform::MemoryRichTextBox box(platform::DecodeText(QByteArrayView(data, qsizetype(size))));
    if (size > kLiteralLimit) {
        RunBoth(box);
        return 0;
    }
    // Failed conversions read the earlier records back, so both start from the same table.
    const auto earlier = language::StarshipTable;
    support::LiteralParseVariables(box);
    support::LiteralParseStarships(box);
    const auto variables = language::VarTable;
    const auto ships = language::StarshipTable;
    language::StarshipTable = earlier;
    RunBoth(box);
    if (language::VarTable != variables || language::StarshipTable != ships)
        std::abort();
    return 0;
}
