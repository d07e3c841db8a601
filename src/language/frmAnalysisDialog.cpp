#include "language/frmAnalysisDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

namespace language {
namespace {

// The places were made for the 8-point dialog font; a larger one would cut the captions.
constexpr double kDialogFontPoints = 8;
constexpr platform::Twips kClientArea{2760, 3750, 6030, 3195};
constexpr platform::Twips kOKButtonPlace{4800, 2760, 1215, 375};

template <typename Control>
Control* Add(QWidget* dialog, const char* name, const platform::Twips& place, Control* control)
{
    control->setParent(dialog);
    control->setObjectName(QLatin1String(name));
    platform::PlaceControl(control, place);
    return control;
}

}  // namespace

// Without an owner a dialog is still transient for the program, which keeps it out of the task bar.
AnalysisDialog::AnalysisDialog(const QString& caption)
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    QFont dialogFont = font();
    dialogFont.setPointSizeF(kDialogFontPoints);
    setFont(dialogFont);
    const QRect client = platform::TwipsToPixels(kClientArea);
    setGeometry(client);
    setFixedSize(client.size());
    OKButton = Add(this, "OKButton", kOKButtonPlace, new QPushButton(QStringLiteral("OK")));
    connect(OKButton, &QPushButton::clicked, this, &AnalysisDialog::OKButton_Click);
}

void AnalysisDialog::ShowModal()
{
    exec();
}

void AnalysisDialog::OKButton_Click()
{
    hide();
}

QListWidget* AnalysisDialog::AddList(const char* name, const platform::Twips& place)
{
    auto* list = Add(this, name, place, new QListWidget);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    setTabOrder(OKButton, list);
    return list;
}

QLabel* AnalysisDialog::AddCaption(const char* name, const platform::Twips& place,
                                   const QString& caption)
{
    auto* label = Add(this, name, place, new QLabel(caption));
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int designRight = platform::TwipsToPixels(place).right();
    label->move(label->x() - (label->geometry().right() - designRight), label->y());
    return label;
}

QLabel* AnalysisDialog::AddValue(const char* name, const platform::Twips& place)
{
    auto* label = Add(this, name, place, new QLabel);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setTextFormat(Qt::PlainText);
    return label;
}

int AnalysisDialog::SelectedRow(const QListWidget& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.first());
}

void AnalysisDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    Form_Activate();
}

}  // namespace language
