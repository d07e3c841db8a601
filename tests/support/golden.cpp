#include "support/golden.h"

#include <QFile>

namespace support {
namespace {

QString Unescaped(const QString& field)
{
    QString text;
    for (qsizetype i = 0; i < field.size(); ++i) {
        const QChar c = field[i];
        if (c != u'\\' || i + 1 == field.size()) {
            text += c;
            continue;
        }
        const QChar next = field[++i];
        text += next == u'r' ? QChar(u'\r') : next == u'n' ? QChar(u'\n') : next == u't' ? QChar(u'\t') : next;
    }
    return text;
}

}  // namespace

std::vector<QStringList> GoldenCases(const QString& relativePath)
{
    QFile file(QStringLiteral(ORBISCRIBE_TESTS_DIR "/") + relativePath);
    std::vector<QStringList> cases;
    if (!file.open(QIODevice::ReadOnly))
        return cases;
    for (const QString& line : QString::fromUtf8(file.readAll()).split(u'\n')) {
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        QStringList fields = line.split(u'\t');
        for (QString& field : fields)
            field = Unescaped(field);
        cases.push_back(fields);
    }
    return cases;
}

}  // namespace support
