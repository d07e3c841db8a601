#pragma once

#include <QString>
#include <QStringView>

namespace shell {

// The caption of a script window created empty: "Script " and its window number.
QString ScriptCaption(qint32 number);

// Whether a caption marks its window as having no file yet: its first six characters are
// exactly "Script". Every other caption is the path the window saves to.
bool IsUntitled(QStringView caption);

}  // namespace shell
