#include "language/frmAnalysisDialog.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include "platform/qt_form.h"

namespace language {
namespace {

constexpr platform::Twips kClientArea{2760, 3750, 6030, 3195};
constexpr platform::Twips kOKButtonPlace{4800, 2760, 1215, 375};
// Half the gap the designs leave between a caption and its value.
constexpr int kCaptionShift = 60;

}  // namespace

// Without an owner a dialog is still transient for the program, which keeps it out of the task bar.
AnalysisDialog::AnalysisDialog(const QString& caption)
    : QDialog(nullptr, platform::kFixedDialogFlags)
{
    setWindowTitle(caption);
    setWindowModality(Qt::ApplicationModal);
    platform::UseDialogFont(this);
    const QRect client = platform::TwipsToPixels(kClientArea);
    setGeometry(client);
    setFixedSize(client.size());
    OKButton = platform::AddControl<QPushButton>(this, "OKButton", kOKButtonPlace, QStringLiteral("OK"));
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
    auto* list = platform::AddControl<QListWidget>(this, name, place);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    setTabOrder(OKButton, list);
    return list;
}

QLabel* AnalysisDialog::AddCaption(const char* name, const platform::Twips& place,
                                   const QString& caption)
{
    // This platform's font needs more than the design's width for the longest captions, which
    // would grow into the list's border; moved halfway into the gap before the values, the
    // column leaves room on both sides.
    const platform::Twips shifted{place.left + kCaptionShift, place.top, place.width, place.height};
    auto* label = platform::AddControl<QLabel>(this, name, shifted, caption);
    label->setAlignment(Qt::AlignRight | Qt::AlignTop);
    const int designRight = platform::TwipsToPixels(shifted).right();
    label->move(label->x() - (label->geometry().right() - designRight), label->y());
    return label;
}

QLabel* AnalysisDialog::AddValue(const char* name, const platform::Twips& place)
{
    auto* label = platform::AddControl<QLabel>(this, name, place);
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
