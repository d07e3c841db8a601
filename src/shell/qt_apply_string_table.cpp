#include "shell/qt_apply_string_table.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTableWidget>
#include <QToolBar>
#include <QTreeWidget>
#include <QVariant>
#include <QWidget>
#include <cmath>
#include <functional>
#include <limits>
#include <optional>

#include "shell/string_table.h"

// The resources live in a static library, which links only what is named: naming them here
// brings them into every program that reads the string table, registered before main runs.
[[maybe_unused]] static const bool kResourcesRegistered = [] {
    Q_INIT_RESOURCE(resources);
    return true;
}();

namespace shell {
namespace {

using Id = std::optional<qint16>;

// A text that is, as a whole, a decimal number in the 16-bit range (blanks around it allowed).
Id WholeNumber(const QString& text)
{
    bool isNumber = false;
    const qint16 n = text.toShort(&isNumber);
    return isNumber ? Id(n) : std::nullopt;
}

// The decimal number that a text begins with, blanks anywhere ignored, rounded to the nearest
// 16-bit integer; 0 when the text begins with no number or the number does not fit.
qint16 LeadingNumber(const QString& text)
{
    QString number;
    bool hasPoint = false;
    for (QChar c : text) {
        if (c == u' ')
            continue;
        const bool isDigit = c >= u'0' && c <= u'9';
        const bool isSign = number.isEmpty() && (c == u'-' || c == u'+');
        const bool isPoint = c == u'.' && !hasPoint;
        if (!isDigit && !isSign && !isPoint)
            break;
        hasPoint = hasPoint || isPoint;
        number += c;
    }
    bool isNumber = false;
    const double value = std::nearbyint(number.toDouble(&isNumber));
    const bool fits = value >= std::numeric_limits<qint16>::min() &&
                      value <= std::numeric_limits<qint16>::max();
    return isNumber && fits ? qint16(value) : 0;
}

Id PositiveLeadingNumber(const QString& text)
{
    const qint16 n = LeadingNumber(text);
    return n > 0 ? Id(n) : std::nullopt;
}

// Hands the row of the id to apply; an absent id or a missing row changes nothing.
void WithRow(Id id, const std::function<void(const QString&)>& apply)
{
    if (!id)
        return;
    if (const std::optional<QString> row = LoadResString(*id))
        apply(*row);
}

QString Tag(const QObject& object)
{
    return object.property("tag").toString();
}

bool IsMenuItem(const QObject& object)
{
    return object.objectName().startsWith(QLatin1String("mnu"));
}

void ApplyToMenuItem(QAction& item)
{
    WithRow(WholeNumber(item.text()), [&](const QString& row) { item.setText(row); });
}

void ApplyToToolbar(QToolBar& toolbar)
{
    for (QAction* button : toolbar.actions())
        WithRow(WholeNumber(button->toolTip()), [&](const QString& row) { button->setToolTip(row); });
}

void ApplyToTabStrip(QTabBar& tabs)
{
    for (int i = 0; i < tabs.count(); ++i) {
        WithRow(WholeNumber(tabs.tabData(i).toString()), [&](const QString& row) { tabs.setTabText(i, row); });
        WithRow(WholeNumber(tabs.tabToolTip(i)), [&](const QString& row) { tabs.setTabToolTip(i, row); });
    }
}

// A column header's tag is its user data.
void ApplyToListView(QTreeWidget& list)
{
    QTreeWidgetItem* header = list.headerItem();
    for (int column = 0; column < list.columnCount(); ++column) {
        const Id id = WholeNumber(header->data(column, Qt::UserRole).toString());
        WithRow(id, [&](const QString& row) { header->setText(column, row); });
    }
}

void ApplyToListView(QTableWidget& table)
{
    for (int column = 0; column < table.columnCount(); ++column) {
        if (QTableWidgetItem* header = table.horizontalHeaderItem(column))
            WithRow(WholeNumber(header->data(Qt::UserRole).toString()),
                    [&](const QString& row) { header->setText(row); });
    }
}

// Only buttons and frames have a caption besides labels and menu items.
void SetCaption(QWidget& control, const QString& caption)
{
    if (auto* button = qobject_cast<QAbstractButton*>(&control))
        button->setText(caption);
    else if (auto* frame = qobject_cast<QGroupBox*>(&control))
        frame->setTitle(caption);
}

void ApplyToOtherControl(QWidget& control)
{
    WithRow(PositiveLeadingNumber(Tag(control)), [&](const QString& row) { SetCaption(control, row); });
    WithRow(PositiveLeadingNumber(control.toolTip()), [&](const QString& row) { control.setToolTip(row); });
}

void ApplyToControl(QObject& control)
{
    if (auto* action = qobject_cast<QAction*>(&control)) {
        if (IsMenuItem(*action))
            ApplyToMenuItem(*action);
    } else if (auto* menu = qobject_cast<QMenu*>(&control); menu && IsMenuItem(*menu)) {
        ApplyToMenuItem(*menu->menuAction());
    } else if (auto* label = qobject_cast<QLabel*>(&control)) {
        WithRow(WholeNumber(Tag(*label)), [&](const QString& row) { label->setText(row); });
    } else if (auto* toolbar = qobject_cast<QToolBar*>(&control)) {
        ApplyToToolbar(*toolbar);
    } else if (auto* tabs = qobject_cast<QTabBar*>(&control)) {
        ApplyToTabStrip(*tabs);
    } else if (auto* list = qobject_cast<QTreeWidget*>(&control)) {
        ApplyToListView(*list);
    } else if (auto* table = qobject_cast<QTableWidget*>(&control)) {
        ApplyToListView(*table);
    } else if (auto* widget = qobject_cast<QWidget*>(&control)) {
        ApplyToOtherControl(*widget);
    }
}

// Rows 20 and 21, when the table has them, name the font of the form and of all its controls.
void ApplyFontRows(QWidget& form)
{
    QFont font = form.font();
    WithRow(20, [&](const QString& family) { font.setFamily(family); });
    WithRow(21, [&](const QString& size) {
        if (const Id points = WholeNumber(size); points && *points > 0)
            font.setPointSize(*points);
    });
    if (font != form.font())
        form.setFont(font);
}

}  // namespace

void ApplyStringTable(QWidget& form)
{
    WithRow(WholeNumber(Tag(form)), [&](const QString& row) { form.setWindowTitle(row); });
    ApplyFontRows(form);
    for (QObject* control : form.findChildren<QObject*>()) {
        if (auto* widget = qobject_cast<QWidget*>(control))
            widget->setFont(form.font());
        ApplyToControl(*control);
    }
}

}  // namespace shell
