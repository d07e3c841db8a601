#include "support/script_generator.h"

#include <QFile>
#include <QHash>
#include <random>

namespace support {
namespace {

// A seed-chosen piece of one kind of tests/support/pieces.txt.
QString Pick(std::mt19937& random, const QString& kind)
{
    static const QHash<QString, QStringList> pieces = [] {
        QHash<QString, QStringList> byKind;
        for (const QStringList& c : GoldenCases("support/pieces.txt"))
            byKind[c.value(1)] += c[0];
        return byKind;
    }();
    return pieces[kind][random() % pieces[kind].size()];
}

// Lines of a type keyword or CREATE_SHIP, then values and delimiters.
QString StatementScript(std::mt19937& random)
{
    QString text;
    for (int line = int(random() % 12); line > 0; --line) {
        text += random() % 4 == 0 ? QStringLiteral("SET a")
                                  : Pick(random, "indentation") + Pick(random, "keyword") + Pick(random, "delimiter");
        for (int value = int(random() % 14); value > 0; --value)
            text += Pick(random, "value") + Pick(random, "delimiter");
        text += random() % 8 ? "\r\n" : "\n";
    }
    return text;
}

}  // namespace

std::vector<QStringList> GoldenCases(const QString& relativePath)
{
    QFile file(QStringLiteral(ORBISCRIBE_TESTS_DIR "/") + relativePath);
    std::vector<QStringList> cases;
    const QString text = file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    for (const QString& line : text.split(u'\n', Qt::SkipEmptyParts)) {
        if (line.startsWith(u'#'))
            continue;
        cases.push_back(line.split(u'\t'));
        for (QString& field : cases.back())
            field.replace("\\\\", "\x01").replace("\\r", "\r").replace("\\n", "\n").replace("\\t", "\t")
                .replace('\x01', '\\');
    }
    if (cases.empty())
        qFatal("No cases in tests/%s", qPrintable(relativePath));
    return cases;
}

QString GenerateScript(qsizetype targetBytes, std::uint32_t seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> coordinate(-50000, 50000);
    QString script;
    while (script.size() < targetBytes) {
        const int kind = int(random() % 10);
        const QString line =
            kind == 7 ? QStringLiteral("CREATE_SHIP ship%1, hull%2, \"Vessel %1\", 1000, x, %3, %4, %5, 0, 90, 0")
                            .arg(random() % 100).arg(random() % 9)
                            .arg(coordinate(random)).arg(coordinate(random)).arg(coordinate(random))
                      : Pick(random, kind < 5 ? "statement" : kind < 7 ? "declaration" : "comment");
        script += QString(int(random() % 3) * 2, QLatin1Char(' ')) + line + QStringLiteral("\r\n");
    }
    return script;
}

QString GenerateAdversarialText(qsizetype maxLength, std::uint32_t seed)
{
    std::mt19937 random(seed);
    QString text;
    for (const qsizetype length = qsizetype(random() % (maxLength + 1)); text.size() < length;)
        text += Pick(random, "adversarial");
    return text;
}

const std::vector<QString>& PassTexts()
{
    static const std::vector<QString> texts = [] {
        std::vector<QString> all = {QString()};
        std::mt19937 random(11);
        for (std::uint32_t seed = 1; seed <= 300; ++seed) {
            all.push_back(GenerateAdversarialText(300, seed) + (seed % 2 ? "\u20acX\u20ac" : ""));
            all.push_back(StatementScript(random).chopped(seed % 2));
            all.push_back(seed <= 30 ? GenerateScript(2000, seed).chopped(seed % 3) : StatementScript(random));
        }
        return all;
    }();
    return texts;
}

}  // namespace support
