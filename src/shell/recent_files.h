#pragma once

#include <QString>
#include <array>

namespace shell {

// The recent-file list: the paths of the last files opened, entry 0 the newest, exactly as they
// were opened. An entry not yet filled is the empty text. The same path may stand in several
// entries.
class RecentFiles {
public:
    static constexpr int kEntries = 3;

    // Reads "MRU1" to "MRU3" of section "MRU"; a missing key is an empty entry.
    void Load();
    // Writes all three keys, empty entries included.
    void Save() const;

    // Puts the path in front; every entry moves one down and the oldest drops off.
    void Push(const QString& path);

    const QString& Entry(int index) const { return entries_[index]; }
    // An entry is shown when it holds any text at all, blanks included.
    bool IsShown(int index) const { return !entries_[index].isEmpty(); }
    bool AnyShown() const;

private:
    std::array<QString, kEntries> entries_;
};

}  // namespace shell
