#include "shell/string_table.h"

#include <QFile>
#include <QHash>

namespace shell {
namespace {

// Each row is a line: the id, then the text in double quotes, so that a text's trailing blanks
// stay visible and survive editors. Lines of any other shape (the heading comment) are skipped.
QHash<int, QString> ParseStringTable(QStringView text)
{
    QHash<int, QString> rows;
    for (QStringView line : text.tokenize(u'\n')) {
        const qsizetype open = line.indexOf(u'"');
        const qsizetype close = line.lastIndexOf(u'"');
        if (open < 0 || close <= open)
            continue;
        bool isId = false;
        const int id = line.first(open).trimmed().toInt(&isId);
        if (isId)
            rows.insert(id, line.sliced(open + 1, close - open - 1).toString());
    }
    return rows;
}

QString ReadStringTableResource()
{
    QFile file(QStringLiteral(":/string_table.txt"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

}  // namespace

std::optional<QString> LoadResString(int id)
{
    static const QHash<int, QString> table = ParseStringTable(ReadStringTableResource());
    const auto row = table.constFind(id);
    if (row == table.cend())
        return std::nullopt;
    return *row;
}

}  // namespace shell
