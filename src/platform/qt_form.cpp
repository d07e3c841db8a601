#include "platform/qt_form.h"

namespace platform {

void UseDialogFont(QWidget* form, double points)
{
    QFont font = form->font();
    font.setPointSizeF(points);
    form->setFont(font);
}

}  // namespace platform
