#pragma once

#include <QStringList>
#include <cstdint>
#include <vector>

// Test data: cases and expected results kept in golden files, and generated scripts.
namespace support {

// The cases of a golden file under tests/ (a path such as "language/golden/colorize.txt"):
// one case a line, its fields separated by tabs, with \r, \n, \t and \\ standing for CR, LF,
// tab and backslash. Blank lines and lines that begin with # are left out. A file without cases
// ends the program, so that no test passes on missing data.
std::vector<QStringList> GoldenCases(const QString& relativePath);

// A deterministic mission script of about targetBytes characters (CR LF line ends): keyword
// statements, declarations, CREATE_SHIP statements, and all three kinds of comment. The same
// seed always gives the same script.
QString GenerateScript(qsizetype targetBytes, std::uint32_t seed = 1);

// A deterministic string of seed-chosen pieces that stress the passes: keyword fragments,
// comment markers, quotes, delimiters, lone CR or LF, type keywords in odd case, CREATE_SHIP
// with odd indentation. Length about maxLength.
QString GenerateAdversarialText(qsizetype maxLength, std::uint32_t seed);

// The texts on which each fast pass is compared with its literal version: generated scripts and
// adversarial texts, with and without a last line break, and lines of declarations and of
// CREATE_SHIP statements with every kind of indentation, delimiter and number.
const std::vector<QString>& PassTexts();

}  // namespace support
