#include <QAbstractButton>
#include <QLabel>
#include <QTabBar>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

#include "language/frmStarships.h"
#include "language/frmVars.h"
#include "launcher/frmErrors.h"
#include "launcher/frmOptions.h"
#include "shell/frmAbout.h"
#include "shell/frmSplash.h"
#include "wizard/frmNMW.h"

namespace shell {
namespace {

// Every form with captions, made as the program makes it; a form with pages shows each in turn.
struct Form {
    const char* name;
    std::function<std::unique_ptr<QWidget>()> make;
};

const Form kForms[] = {
    {"frmSplash", [] { return std::make_unique<frmSplash>(); }},
    {"frmOptions", [] { return std::make_unique<launcher::frmOptions>(nullptr); }},
    {"frmErrors", [] { return std::make_unique<launcher::frmErrors>(); }},
    {"frmVars", [] { return std::make_unique<language::frmVars>(); }},
    {"frmStarships", [] { return std::make_unique<language::frmStarships>(); }},
    {"frmAbout", [] { return std::make_unique<frmAbout>(nullptr); }},
    {"frmNMW", [] { return std::make_unique<wizard::frmNMW>(); }},
};

bool IsCaptioned(const QWidget* control)
{
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return (label && !label->text().isEmpty() && !label->wordWrap())
           || (button && !button->text().isEmpty());
}

// The labels, buttons, check boxes and option buttons whose caption is wider than the control,
// that stand partly out of the control that holds them or over another button, as "form.control".
QStringList Clipped(const char* form, const QWidget& window)
{
    QStringList clipped;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        if (!IsCaptioned(control))
            continue;
        const QRect place = control->geometry();
        // Inside a frame's border and below its caption.
        const QRect holder = control->parentWidget()->contentsRect();
        bool clips = control->sizeHint().width() > control->width()
                     || (holder.intersects(place) && !holder.contains(place));
        // Transparent labels may overlap by design; a button widened over its neighbour may not.
        for (const QAbstractButton* other : control->parentWidget()->findChildren<QAbstractButton*>(
                 Qt::FindDirectChildrenOnly))
            clips |= other != control && qobject_cast<const QAbstractButton*>(control)
                     && IsCaptioned(other) && other->geometry().intersects(place);
        if (clips)
            clipped << QString::fromLatin1(form) + u'.' + control->objectName();
    }
    return clipped;
}

TEST(CaptionFit, EveryCaptionOfEveryFormShowsWhole)
{
    QStringList clipped;
    for (const Form& form : kForms) {
        const std::unique_ptr<QWidget> window = form.make();
        window->show();
        auto* tabs = window->findChild<QTabBar*>();
        for (int tab = 0; tab < (tabs ? tabs->count() : 1); ++tab) {
            if (tabs)
                tabs->setCurrentIndex(tab);
            clipped << Clipped(form.name, *window);
        }
    }
    clipped.removeDuplicates();
    EXPECT_EQ(clipped.join(u' ').toStdString(), "");
}

}  // namespace
}  // namespace shell
