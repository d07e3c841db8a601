#include "platform/qt_common_dialog.h"

#include <QColorDialog>
#include <QDir>
#include <QFileDialog>
#include <QFileIconProvider>
#include <QFileInfo>
#include <QMimeDatabase>
#include <QPrintDialog>
#include <QPrinter>

#include "platform/qt_color.h"
#include "platform/qt_rich_text_box.h"
#include "platform/win_path.h"

namespace platform {
namespace {

CommonDialog::AnswerHook answerHook;

QString CancelMessage()
{
    return QStringLiteral("The dialog was cancelled (%1).").arg(CommonDialog::kCancelErrorNumber);
}

// The folder a file dialog starts in: the nearest one that exists. A dialog told to start in a
// missing folder would open somewhere else, with the folder's name in its file-name box.
QString StartFolder(const QString& initDir)
{
    if (initDir.isEmpty())
        return {};
    QString folder = QDir::cleanPath(HostPath(initDir));
    while (!QFileInfo(folder).isDir() && folder != u"/")
        folder = QFileInfo(folder).path();
    return folder;
}

// Windows' "*.*" matches every name, with a dot or without.
QString QtPattern(const QString& pattern)
{
    return pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern;
}

// Qt's own provider tells a file's type by reading its first bytes when the name says too
// little, and a read of some files (/proc/kmsg) waits for ever: the dialog would freeze the
// program. This one goes by name and kind alone.
class NameOnlyIconProvider : public QFileIconProvider {
public:
    QIcon icon(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QFileIconProvider::icon(Drive);
        return QFileIconProvider::icon(info.isDir() ? Folder : File);
    }

    QString type(const QFileInfo& info) const override
    {
        if (info.isRoot())
            return QStringLiteral("Drive");
        if (info.isDir())
            return QStringLiteral("Folder");
        return mimeDatabase_.mimeTypeForFile(info, QMimeDatabase::MatchExtension).comment();
    }

private:
    QMimeDatabase mimeDatabase_;
};

}  // namespace

QStringList QtNameFilters(const QString& filter)
{
    const QStringList fields = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < fields.size(); i += 2) {
        QStringList patterns;
        for (const QString& pattern : fields[i + 1].split(u';', Qt::SkipEmptyParts))
            patterns += QtPattern(pattern.trimmed());
        filters += QStringLiteral("%1 (%2)").arg(fields[i], patterns.join(u' '));
    }
    return filters;
}

CommonDialog::CommonDialog(QWidget* owner) : owner_(owner) {}

CommonDialog::~CommonDialog() = default;

void CommonDialog::setAnswerHook(AnswerHook hook)
{
    answerHook = std::move(hook);
}

PrinterHandle* CommonDialog::hDC() const
{
    return HandleOf(printer_.get());
}

Status CommonDialog::ShowOpen()
{
    return showFileDialog(false);
}

Status CommonDialog::ShowSave()
{
    return showFileDialog(true);
}

Status CommonDialog::showFileDialog(bool save)
{
    bool accepted = false;
    if (answerHook) {
        accepted = answerHook(save ? QStringLiteral("Save") : QStringLiteral("Open"), *this);
    } else {
        NameOnlyIconProvider iconProvider;  // outlives the dialog, which uses it
        // An empty title gives the dialog its own ("Open", "Save As").
        QFileDialog dialog(owner_, DialogTitle, StartFolder(InitDir));
        dialog.setIconProvider(&iconProvider);
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        // The descriptions show as written; the patterns stay behind them.
        dialog.setOption(QFileDialog::HideNameFilterDetails);
        if (const QStringList filters = QtNameFilters(Filter); !filters.isEmpty())
            dialog.setNameFilters(filters);
        // Shows the last file, in its folder.
        if (!FileName.isEmpty())
            dialog.selectFile(HostPath(FileName));
        accepted = dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty();
        if (accepted)
            FileName = dialog.selectedFiles().constFirst();
    }
    if (!accepted)
        FileName.clear();
    return finish(accepted);
}

Status CommonDialog::ShowColor()
{
    const platform::Color previous = Color;
    bool accepted = false;
    if (answerHook) {
        accepted = answerHook(QStringLiteral("Color"), *this);
    } else {
        QColorDialog dialog(ToQColor(Color), owner_);
        if (!DialogTitle.isEmpty())
            dialog.setWindowTitle(DialogTitle);
        accepted = dialog.exec() == QDialog::Accepted;
        if (accepted)
            Color = FromQColor(dialog.selectedColor());
    }
    if (!accepted)
        Color = previous;
    return finish(accepted);
}

Status CommonDialog::ShowPrinter()
{
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const bool selection = Flags & kPrintSelection;
    printer_->setPrintRange(selection ? QPrinter::Selection : QPrinter::AllPages);
    bool accepted = false;
    if (answerHook) {
        accepted = answerHook(QStringLiteral("Printer"), *this);
    } else {
        QPrintDialog dialog(printer_.get(), owner_);
        if (!DialogTitle.isEmpty())
            dialog.setWindowTitle(DialogTitle);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, selection);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, !(Flags & kNoPageNumbers));
        dialog.setPrintRange(selection ? QAbstractPrintDialog::Selection
                                       : QAbstractPrintDialog::AllPages);
        accepted = dialog.exec() == QDialog::Accepted;
    }
    return finish(accepted);
}

Status CommonDialog::finish(bool accepted) const
{
    if (accepted || !CancelError)
        return Status::Ok();
    return Status::Failed(CancelMessage());
}

}  // namespace platform
