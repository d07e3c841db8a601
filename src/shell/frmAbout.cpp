#include "shell/frmAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <type_traits>

#include "platform/qt_message_box.h"
#include "platform/qt_form.h"
#include "shell/options.h"
#include "shell/qt_images.h"
#include "shell/system_info.h"
#include "shell/version.h"

namespace shell {
namespace {

constexpr double kTitleFontPoints = 18;
constexpr int kIconPixels = 32;
constexpr double kMarginTwips = 120;

const QString kDescription = QStringLiteral(
    "An editor for the mission scripts of Independence War, the space combat game made by "
    "Particle Systems and published by Infogrames.");

QLabel* AddLabel(QWidget* dialog, const char* name, const platform::Twips& place, const QString& text = {})
{
    auto* label = new QLabel(text, dialog);
    label->setTextFormat(Qt::PlainText);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    label->setObjectName(QLatin1String(name));
    platform::PlaceControl(label, place);
    return label;
}

// A line one pixel high from (left, top) to (right, top), in twips.
QFrame* AddLine(QWidget* dialog, int left, int right, int top, const QColor& color)
{
    auto* line = new QFrame(dialog);
    line->setObjectName(QStringLiteral("Line1"));
    line->setAutoFillBackground(true);
    QPalette palette = line->palette();
    palette.setColor(QPalette::Window, color);
    line->setPalette(palette);
    const int x = platform::TwipsToPixelsX(left);
    line->setGeometry(x, top, platform::TwipsToPixelsX(right) - x + 1, 1);
    return line;
}

}  // namespace

frmAbout::frmAbout(QWidget* owner)
    : QDialog(owner, platform::kFixedDialogFlags)
{
    setWindowTitle(QStringLiteral("About Orbiscribe"));
    platform::UseDialogFont(this);

    picIcon = AddLabel(this, "picIcon", {240, 240, 540, 540});
    picIcon->setPixmap(ProgramIcon().pixmap(kIconPixels, kIconPixels));
    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = font();
    titleFont.setPointSizeF(kTitleFontPoints);
    titleFont.setBold(true);
    lblTitle->setFont(titleFont);
    lblTitle->setTextFormat(Qt::PlainText);
    lblTitle->setText(kApplicationName);
    platform::PlaceControl(lblTitle, {1050, 240, 4092, 480});
    lblVersion = AddLabel(this, "lblVersion", {1050, 780, 4092, 225});
    lblDescription = AddLabel(this, "lblDescription", {1050, 1125, 4092, 1170}, kDescription);
    const int greyTop = platform::TwipsToPixelsY(2430);
    Line1[1] = AddLine(this, 225, 5657, greyTop, QColor(128, 128, 128));
    Line1[0] = AddLine(this, 240, 5657, greyTop + 1, Qt::white);
    lblDisclaimer = AddLabel(this, "lblDisclaimer", {255, 2625, 3870, 825});
    cmdOK = platform::AddControl<QPushButton>(this, "cmdOK", {4245, 2625, 1467, 345}, QStringLiteral("OK"));
    cmdSysInfo = platform::AddControl<QPushButton>(this, "cmdSysInfo", {4260, 3075, 1452, 345},
                                  QStringLiteral("&System Info..."));
    // Enter presses OK as the default button; Esc closes the box as OK does.
    cmdOK->setDefault(true);
    cmdSysInfo->setAutoDefault(false);
    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);

    // Grown controls may reach past the design's client area; the box grows with them.
    const QRect controls = childrenRect();
    const int margin = platform::TwipsToPixelsX(kMarginTwips);
    setFixedSize(QSize(platform::TwipsToPixelsX(5865), platform::TwipsToPixelsY(3540))
                     .expandedTo(QSize(controls.right() + margin, controls.bottom() + margin)));
    Form_Load();
}

void frmAbout::Form_Load()
{
    lblDisclaimer->setText(QStringLiteral("%1 %2 comes with no warranty. Independence War is a "
                                          "trademark of its owners. %3")
                               .arg(kApplicationName, VersionNumber(kProgramVersion), kProgramComments));
    lblVersion->setText(VersionText(kProgramVersion));
}

void frmAbout::cmdOK_Click()
{
    accept();
}

void frmAbout::cmdSysInfo_Click()
{
    StartSysInfo();
}

void frmAbout::StartSysInfo()
{
    if (!StartSystemInformation())
        platform::MsgBox(this, QStringLiteral("System Information Is Unavailable At This Time"),
                         kApplicationName);
}

void ShowAboutBox(QWidget* owner)
{
    auto* about = new frmAbout(owner);
    // Gone once exec returns: the next opening starts afresh.
    about->setAttribute(Qt::WA_DeleteOnClose);
    about->exec();
}

}  // namespace shell
