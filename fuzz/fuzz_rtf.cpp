#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "platform/rtf.h"

// Any bytes read without harm, and what was read survives being written and read again.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(data, qsizetype(size));
    platform::LooksLikeRtf(bytes);
    const platform::ColoredText read = platform::ReadRtf(bytes);
    if (read.colors.size() != size_t(read.text.size()))
        std::abort();
    const platform::ColoredText again = platform::ReadRtf(platform::WriteRtf(read.text, read.colors));
    if (again.text != read.text || again.colors != read.colors)
        std::abort();
    return 0;
}
