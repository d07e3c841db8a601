#pragma once

#include <QStringList>
#include <ostream>
#include <vector>

// Failures show a QString as its text.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace support {

// The cases of a golden file under tests/ (a path such as "language/golden/colorize.txt"):
// one case a line, its fields separated by tabs, with \r, \n, \t and \\ standing for CR, LF,
// tab and backslash. Blank lines and lines that begin with # are left out.
std::vector<QStringList> GoldenCases(const QString& relativePath);

}  // namespace support
