#include "shell/script_caption.h"

namespace shell {

QString ScriptCaption(qint32 number)
{
    return QStringLiteral("Script ") + QString::number(number);
}

bool IsUntitled(QStringView caption)
{
    return caption.startsWith(u"Script", Qt::CaseSensitive);
}

}  // namespace shell
