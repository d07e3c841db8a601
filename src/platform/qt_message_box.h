#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace platform {

enum class MsgBoxButtons { Ok, YesNo, YesNoCancel };
enum class MsgBoxIcon { None, Information, Warning, Critical };
enum class MsgBoxResult { Ok, Yes, No, Cancel };

// A modal message box. Tests answer it through the hook instead of a user: the hook gets the
// text and title and returns the button pressed. While a hook is set nothing is shown.
MsgBoxResult MsgBox(QWidget* owner, const QString& text, const QString& title,
                    MsgBoxButtons buttons = MsgBoxButtons::Ok, MsgBoxIcon icon = MsgBoxIcon::None);

using MsgBoxHook = std::function<MsgBoxResult(const QString& text, const QString& title)>;
void setMsgBoxHook(MsgBoxHook hook);

}  // namespace platform
