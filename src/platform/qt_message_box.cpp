#include "platform/qt_message_box.h"

#include <QMessageBox>

namespace platform {
namespace {

MsgBoxHook msgBoxHook;

QMessageBox::Icon QtIcon(MsgBoxIcon icon)
{
    switch (icon) {
    case MsgBoxIcon::Information: return QMessageBox::Information;
    case MsgBoxIcon::Warning: return QMessageBox::Warning;
    case MsgBoxIcon::Critical: return QMessageBox::Critical;
    case MsgBoxIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

MsgBoxResult ResultOf(int button)
{
    switch (button) {
    case QMessageBox::Yes: return MsgBoxResult::Yes;
    case QMessageBox::No: return MsgBoxResult::No;
    case QMessageBox::Cancel: return MsgBoxResult::Cancel;
    default: return MsgBoxResult::Ok;
    }
}

}  // namespace

MsgBoxResult MsgBox(QWidget* owner, const QString& text, const QString& title,
                    MsgBoxButtons buttons, MsgBoxIcon icon)
{
    if (msgBoxHook)
        return msgBoxHook(text, title);
    const bool question = buttons != MsgBoxButtons::Ok;
    QMessageBox::StandardButtons shown = QMessageBox::Ok;
    if (question)
        shown = buttons == MsgBoxButtons::YesNo
                    ? QMessageBox::Yes | QMessageBox::No
                    : QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    QMessageBox box(QtIcon(icon), title, text, shown, owner);
    // A path such as "/tmp/a<b>c.scr" is shown as it is, never read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(question ? QMessageBox::Yes : QMessageBox::Ok);
    return ResultOf(box.exec());
}

void setMsgBoxHook(MsgBoxHook hook)
{
    msgBoxHook = std::move(hook);
}

}  // namespace platform
