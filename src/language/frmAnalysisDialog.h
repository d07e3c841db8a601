#pragma once

#include <QDialog>

#include "platform/qt_twips.h"

class QLabel;
class QListWidget;
class QPushButton;

namespace language {

// What the Variables and Starships dialogs share: a fixed dialog without an owner or a task-bar
// entry, its client area at one place on the screen, an OK button that hides it, and a list
// refilled by Form_Activate at every opening. The dialog is kept, hidden, between openings.
class AnalysisDialog : public QDialog {
    Q_OBJECT

public:
    QPushButton* OKButton = nullptr;

    // Shows the dialog modally; returns once it is hidden.
    void ShowModal();

    void OKButton_Click();

protected:
    explicit AnalysisDialog(const QString& caption);

    virtual void Form_Activate() = 0;

    // An unsorted single-selection list; Tab reaches it after the OK button.
    QListWidget* AddList(const char* name, const platform::Twips& place);
    // A right-aligned caption that grows to the left, so that it never runs into its value.
    QLabel* AddCaption(const char* name, const platform::Twips& place, const QString& caption);
    // An empty label for a value from the script, shown as plain text.
    QLabel* AddValue(const char* name, const platform::Twips& place);

    // The index of the selected row; -1 when none is selected.
    static int SelectedRow(const QListWidget& list);

    void showEvent(QShowEvent* event) override;
};

}  // namespace language
