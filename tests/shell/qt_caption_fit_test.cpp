#include <QAbstractButton>
#include <QLabel>
#include <QStyle>
#include <QTabBar>
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

bool IsCaptioned(const QWidget* control)
{
    const auto* label = qobject_cast<const QLabel*>(control);
    const auto* button = qobject_cast<const QAbstractButton*>(control);
    return (label && !label->text().isEmpty() && !label->wordWrap()) || (button && !button->text().isEmpty());
}

// The labels, buttons, check boxes and option buttons whose caption is wider than the control,
// that stand partly out of the control that holds them or over another button.
QStringList Clipped(const QWidget& window)
{
    QStringList clipped;
    for (const QWidget* control : window.findChildren<QWidget*>()) {
        // Inside a frame's border and below its caption.
        const QRect place = control->geometry(), holder = control->parentWidget()->contentsRect();
        bool clips = control->sizeHint().width() > control->width()
                     || (holder.intersects(place) && !holder.contains(place));
        // Transparent labels may overlap by design; a button widened over its neighbour may not.
        for (const QAbstractButton* other : control->parentWidget()->findChildren<QAbstractButton*>(
                 Qt::FindDirectChildrenOnly))
            clips |= other != control && qobject_cast<const QAbstractButton*>(control) && IsCaptioned(other)
                     && other->geometry().intersects(place);
        if (clips && IsCaptioned(control))
            clipped << window.metaObject()->className() + (u'.' + control->objectName());
    }
    return clipped;
}

// Where a control shows in its holder: a line of text by the ink of its glyphs, so that
// transparent labels whose boxes overlap by design do not count, and anything else whole.
QRect ShownPlace(const QWidget& control)
{
    const auto* label = qobject_cast<const QLabel*>(&control);
    if (!IsCaptioned(label))
        return control.geometry();
    const QFontMetrics metrics(label->font());
    const QRect inside = label->contentsRect();
    const QRect line = QStyle::alignedRect(label->layoutDirection(), label->alignment(),
                                           label->sizeHint().boundedTo(inside.size()), inside);
    const QPoint baseline = label->pos() + line.topLeft() + QPoint(0, metrics.ascent());
    return metrics.tightBoundingRect(label->text()).translated(baseline);
}

// The captions on show that cover another control beside them, or for a label's text, touch it:
// a caption grown into a list's border runs into it. A caption stands inside its holder (see
// Clipped), so only the holder's other controls can lie under it.
QStringList Covering(const QWidget& window)
{
    QStringList covering;
    for (const QWidget* caption : window.findChildren<QWidget*>()) {
        const QRect shown(caption->mapTo(&window, QPoint()), caption->size());
        if (!IsCaptioned(caption) || !caption->isVisibleTo(&window) || !window.rect().intersects(shown))
            continue;
        const int margin = qobject_cast<const QLabel*>(caption) ? 1 : 0;
        const QRect clearance = ShownPlace(*caption).adjusted(-margin, -margin, margin, margin);
        for (const QWidget* other : caption->parentWidget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (other != caption && other->isVisibleTo(&window) && clearance.intersects(ShownPlace(*other)))
                covering << window.metaObject()->className() + (u'.' + caption->objectName()) + u'/'
                                + other->objectName();
        }
    }
    return covering;
}

// Every form with captions, made as the program makes it; a form with pages shows each in turn.
// Each caption shows whole and clear of the controls beside it.
TEST(CaptionFit, EveryCaptionOfEveryFormShowsWhole)
{
    std::unique_ptr<QWidget> forms[] = {
        std::make_unique<frmSplash>(),          std::make_unique<launcher::frmOptions>(nullptr),
        std::make_unique<launcher::frmErrors>(), std::make_unique<language::frmVars>(),
        std::make_unique<language::frmStarships>(), std::make_unique<frmAbout>(nullptr),
        std::make_unique<wizard::frmNMW>()};
    QStringList clipped;
    for (const std::unique_ptr<QWidget>& window : forms) {
        window->show();
        auto* tabs = window->findChild<QTabBar*>();
        for (int tab = 0; tab < (tabs ? tabs->count() : 1); ++tab) {
            if (tabs)
                tabs->setCurrentIndex(tab);
            clipped << Clipped(*window) << Covering(*window);
        }
    }
    clipped.removeDuplicates();
    EXPECT_EQ(clipped.join(u' ').toStdString(), "");
}

}  // namespace
}  // namespace shell
