#include "shell/frmSplash.h"

#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QScreen>
#include <algorithm>

#include "language/parser.h"
#include "platform/qt_twips.h"
#include "shell/qt_images.h"
#include "shell/version.h"

namespace shell {
namespace {

const QString kSubtitle = QStringLiteral("Mission script editor for Independence War");
const QString kCreditLine = QStringLiteral("Written in C++ with Qt. Independence War is a trademark of its owners.");

QRect TwipsToPixels(int left, int top, int width, int height)
{
    return QRect(platform::TwipsToPixelsX(left), platform::TwipsToPixelsY(top),
                 platform::TwipsToPixelsX(width), platform::TwipsToPixelsY(height));
}

QFont DesignFont(const QString& family, double points, bool bold)
{
    QFont font(family);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

// A label with a transparent background, so the picture shows around its text.
QLabel* AddLabel(QWidget& form, const QString& text, const QRect& place, const QColor& color,
                 Qt::Alignment alignment)
{
    auto* label = new QLabel(text, &form);
    label->setGeometry(place);
    label->setAlignment(alignment | Qt::AlignTop);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, color);
    label->setPalette(palette);
    return label;
}

}  // namespace

frmSplash::frmSplash()
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint),
      Label1(AddLabel(*this, QStringLiteral("Orbiscribe"), TwipsToPixels(3720, 1560, 6975, 855),
                      Qt::white, Qt::AlignLeft)),
      Label2(AddLabel(*this, kSubtitle, TwipsToPixels(3120, 2400, 6855, 495), QColor(128, 255, 255),
                      Qt::AlignRight)),
      Label3(AddLabel(*this, QStringLiteral("Windows 95"), TwipsToPixels(720, 5880, 2655, 375),
                      Qt::white, Qt::AlignLeft)),
      Label4(AddLabel(*this, QString(), TwipsToPixels(720, 6240, 2655, 375), Qt::white, Qt::AlignLeft)),
      Label5(AddLabel(*this, QString(), TwipsToPixels(120, 7800, 10815, 255), Qt::white, Qt::AlignHCenter)),
      ProgressBar1(new QProgressBar(this)),
      picture_(SplashPicture())
{
    Label1->setFont(DesignFont(QStringLiteral("Times New Roman"), 36, true));
    Label2->setFont(DesignFont(QStringLiteral("MS Sans Serif"), 13.5, false));
    Label3->setFont(DesignFont(QStringLiteral("Times New Roman"), 12, true));
    Label4->setFont(DesignFont(QStringLiteral("Times New Roman"), 12, true));
    ProgressBar1->setGeometry(TwipsToPixels(240, 7200, 6855, 255));
    ProgressBar1->setRange(0, 250);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    setFixedSize(platform::TwipsToPixelsX(11085), platform::TwipsToPixelsY(8130));
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    Form_Load();
}

// QProgressBar::setValue repaints at once whenever the bar's look changes, and only then.
void frmSplash::AdvanceProgress()
{
    ProgressBar1->setValue(std::min(ProgressBar1->value() + 1, ProgressBar1->maximum()));
}

void frmSplash::paintEvent(QPaintEvent*)
{
    QPainter(this).drawPixmap(0, 0, picture_);
}

void frmSplash::mouseReleaseEvent(QMouseEvent* event)
{
    if (rect().contains(event->position().toPoint()))
        Form_Click();
}

void frmSplash::Form_Load()
{
    language::InitParser();
    Label4->setText(VersionText(kProgramVersion));
    Label5->setText(kCreditLine);
}

void frmSplash::Form_Click()
{
    hide();
}

}  // namespace shell
