#include "platform/rich_text_box.h"

namespace platform {

void RichTextBox::ApplyColorRuns(std::span<const ColorRun> runs)
{
    for (const ColorRun& run : runs) {
        setSelStart(run.start);
        setSelLength(run.length);
        setSelColor(run.color);
    }
}

}  // namespace platform
