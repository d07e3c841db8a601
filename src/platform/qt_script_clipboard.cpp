#include "platform/qt_script_clipboard.h"

#include <QMimeData>

namespace platform {
namespace {

const QString kRtfFormat = QStringLiteral("text/rtf");
const QString kScriptMark = QStringLiteral("application/x-orbiscribe-script");

}  // namespace

QMimeData* ScriptMimeData(const QString& plainText, const QString& rtf)
{
    auto* data = new QMimeData;
    // A CR would show as a stray character at every line end in a terminal or another editor.
    data->setText(QString(plainText).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    // Our RTF is 7-bit text: every other character is written as a control word.
    data->setData(kRtfFormat, rtf.toLatin1());
    data->setData(kScriptMark, QByteArrayLiteral("1"));
    return data;
}

// Another program's RTF can hold what the box cannot show (tables, pictures): it is pasted as
// the plain text that program offers beside it.
QString PastedText(const QMimeData& data)
{
    if (data.hasFormat(kScriptMark) && data.hasFormat(kRtfFormat))
        return QString::fromLatin1(data.data(kRtfFormat));
    return data.text();
}

}  // namespace platform
