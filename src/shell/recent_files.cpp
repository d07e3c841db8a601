#include "shell/recent_files.h"

#include <algorithm>

#include "platform/settings_store.h"
#include "shell/options.h"

namespace shell {
namespace {

const QString kSection = QStringLiteral("MRU");

QString KeyOf(int index)
{
    return QStringLiteral("MRU") + QString::number(index + 1);
}

}  // namespace

void RecentFiles::Load()
{
    for (int index = 0; index < kEntries; ++index)
        entries_[index] = platform::GetSetting(kApplicationName, kSection, KeyOf(index), QString());
}

void RecentFiles::Save() const
{
    for (int index = 0; index < kEntries; ++index)
        platform::SaveSetting(kApplicationName, kSection, KeyOf(index), entries_[index]);
}

void RecentFiles::Push(const QString& path)
{
    std::shift_right(entries_.begin(), entries_.end(), 1);
    entries_[0] = path;
}

bool RecentFiles::AnyShown() const
{
    for (int index = 0; index < kEntries; ++index)
        if (IsShown(index))
            return true;
    return false;
}

}  // namespace shell
