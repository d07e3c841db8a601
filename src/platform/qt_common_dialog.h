#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "platform/rich_text_box.h"
#include "platform/status.h"

class QPrinter;
class QWidget;

namespace platform {

// The open, save, colour and print dialogs, with the properties the program uses. Every
// property keeps its value until it is written again.
class CommonDialog {
public:
    static constexpr int kCancelErrorNumber = 32755;

    // Print dialog option bits of Flags.
    static constexpr qint32 kPrintSelection = 0x1;
    static constexpr qint32 kNoPageNumbers = 0x8;
    static constexpr qint32 kReturnPrinter = 0x100;  // hDC gives the printer chosen

    explicit CommonDialog(QWidget* owner = nullptr);
    ~CommonDialog();

    QString DialogTitle;
    QString Filter;      // "Description|pattern|Description|pattern;pattern|..."
    QString InitDir;     // program path (Windows or host)
    QString FileName;    // last chosen path; shown by the next file dialog; empty after a cancel
    platform::Color Color = 0;
    qint32 Flags = 0;
    bool CancelError = false;

    // Each returns a failure numbered kCancelErrorNumber when the user cancelled and
    // CancelError is set; otherwise Ok.
    Status ShowOpen();
    Status ShowSave();
    Status ShowColor();
    Status ShowPrinter();

    // The printer of the print dialogs (nullptr before the first one); PrinterOf turns it back
    // into the QPrinter.
    PrinterHandle* hDC() const;

    // Tests answer the dialogs instead of a user: the hook gets the kind of dialog ("Open",
    // "Save", "Color", "Printer") and the dialog object, sets FileName / Color as a user would
    // (the printer already stands behind hDC), and returns false for a cancel. While a hook is
    // set no real dialog is shown.
    using AnswerHook = std::function<bool(const QString& kind, CommonDialog& dialog)>;
    static void setAnswerHook(AnswerHook hook);

private:
    Status showFileDialog(bool save);
    Status finish(bool accepted) const;

    QWidget* owner_;
    std::unique_ptr<QPrinter> printer_;
};

// Turns "Script Files (*.scr)|*.scr|Ship Files (*.shp)|*.shp" into Qt's name filters, each
// description followed by its patterns in parentheses.
QStringList QtNameFilters(const QString& filter);

}  // namespace platform
