#include "shell/qt_images.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <QRandomGenerator>

namespace shell {
namespace {

// The toolbar pictures keep to the sixteen standard colours, drawn pixel by pixel (no smoothing)
// on a transparent 16 x 16 sheet.
using DrawFunction = void (*)(QPainter&);

void Outline(QPainter& painter, const QColor& fill)
{
    painter.setPen(Qt::black);
    painter.setBrush(fill);
}

void DrawTextLines(QPainter& painter, int left, int right, std::initializer_list<int> rows)
{
    painter.setPen(Qt::darkBlue);
    for (int y : rows)
        painter.drawLine(left, y, right, y);
}

void DrawNew(QPainter& painter)
{
    Outline(painter, Qt::white);
    painter.drawPolygon(QPolygon({{2, 0}, {9, 0}, {13, 4}, {13, 15}, {2, 15}}));
    painter.drawPolyline(QPolygon({{9, 0}, {9, 4}, {13, 4}}));
}

void DrawOpen(QPainter& painter)
{
    Outline(painter, Qt::darkYellow);
    painter.drawPolygon(QPolygon({{0, 3}, {5, 3}, {6, 4}, {12, 4}, {12, 13}, {0, 13}}));
    Outline(painter, Qt::yellow);
    painter.drawPolygon(QPolygon({{3, 7}, {15, 7}, {12, 13}, {0, 13}}));
}

void DrawSave(QPainter& painter)
{
    Outline(painter, Qt::darkBlue);
    painter.drawRect(1, 1, 13, 13);
    painter.fillRect(4, 2, 7, 4, Qt::white);
    painter.fillRect(8, 3, 2, 2, Qt::darkBlue);
    painter.fillRect(3, 8, 9, 6, Qt::white);
    DrawTextLines(painter, 4, 10, {10, 12});
}

void DrawCamera(QPainter& painter)
{
    Outline(painter, Qt::darkGray);
    painter.drawRect(4, 2, 4, 2);
    painter.drawRect(1, 4, 13, 9);
    Outline(painter, Qt::black);
    painter.drawEllipse(5, 6, 5, 5);
    painter.fillRect(7, 8, 2, 2, Qt::cyan);
    painter.fillRect(11, 5, 2, 2, Qt::yellow);
}

void DrawPrint(QPainter& painter)
{
    Outline(painter, Qt::white);
    painter.drawRect(4, 0, 7, 5);
    Outline(painter, Qt::darkGray);
    painter.drawRect(1, 5, 13, 6);
    Outline(painter, Qt::white);
    painter.drawRect(3, 10, 9, 5);
    painter.fillRect(12, 7, 1, 1, Qt::green);
}

void DrawCut(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.drawLine(4, 10, 10, 1);
    painter.drawLine(11, 10, 5, 1);
    Outline(painter, Qt::transparent);
    painter.setPen(Qt::darkBlue);
    painter.drawEllipse(1, 10, 4, 4);
    painter.drawEllipse(10, 10, 4, 4);
}

void DrawCopy(QPainter& painter)
{
    Outline(painter, Qt::white);
    painter.drawRect(1, 0, 8, 10);
    DrawTextLines(painter, 3, 6, {2, 4});
    Outline(painter, Qt::white);
    painter.drawRect(6, 5, 8, 10);
    DrawTextLines(painter, 8, 12, {8, 10, 12});
}

void DrawPaste(QPainter& painter)
{
    Outline(painter, Qt::darkYellow);
    painter.drawRect(1, 2, 11, 13);
    Outline(painter, Qt::darkGray);
    painter.drawRect(4, 0, 5, 3);
    Outline(painter, Qt::white);
    painter.drawRect(6, 6, 9, 9);
    DrawTextLines(painter, 8, 13, {9, 11, 13});
}

void DrawBold(QPainter& painter)
{
    const QColor ink = Qt::black;
    painter.fillRect(3, 2, 3, 12, ink);
    painter.fillRect(6, 2, 4, 2, ink);
    painter.fillRect(9, 3, 3, 4, ink);
    painter.fillRect(6, 7, 5, 2, ink);
    painter.fillRect(10, 8, 3, 5, ink);
    painter.fillRect(6, 12, 5, 2, ink);
}

void DrawItalic(QPainter& painter)
{
    painter.setPen(Qt::black);
    painter.drawLine(7, 2, 12, 2);
    painter.drawLine(3, 13, 8, 13);
    painter.setPen(QPen(Qt::black, 2));
    painter.drawLine(10, 3, 6, 12);
}

void DrawUnderline(QPainter& painter)
{
    const QColor ink = Qt::black;
    painter.fillRect(3, 1, 3, 9, ink);
    painter.fillRect(10, 1, 3, 9, ink);
    painter.fillRect(4, 10, 8, 2, ink);
    painter.fillRect(2, 14, 12, 1, ink);
}

// Six lines, long and short in turn, lined up along one side or the middle.
void DrawAlignedLines(QPainter& painter, Qt::Alignment alignment)
{
    painter.setPen(Qt::black);
    for (int line = 0; line < 6; ++line) {
        const int length = line % 2 == 0 ? 12 : 8;
        const int left = alignment == Qt::AlignLeft    ? 2
                         : alignment == Qt::AlignRight ? 14 - length
                                                       : 8 - length / 2;
        const int y = 2 + 2 * line;
        painter.drawLine(left, y, left + length - 1, y);
    }
}

struct ToolbarPicture {
    const char16_t* key;
    DrawFunction draw;
};

const ToolbarPicture kToolbarPictures[] = {
    {u"New", DrawNew},
    {u"Open", DrawOpen},
    {u"Save", DrawSave},
    {u"Camera", DrawCamera},
    {u"Print", DrawPrint},
    {u"Cut", DrawCut},
    {u"Copy", DrawCopy},
    {u"Paste", DrawPaste},
    {u"Bold", DrawBold},
    {u"Italic", DrawItalic},
    {u"Underline", DrawUnderline},
    {u"Align Left", [](QPainter& painter) { DrawAlignedLines(painter, Qt::AlignLeft); }},
    {u"Center", [](QPainter& painter) { DrawAlignedLines(painter, Qt::AlignHCenter); }},
    {u"Align Right", [](QPainter& painter) { DrawAlignedLines(painter, Qt::AlignRight); }},
};

QPixmap DrawToolbarPicture(DrawFunction draw)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    draw(painter);
    return pixmap;
}

// The program's sign, drawn on a 32-unit square at any size: a planet in space, circled by an
// orbit with a moon on it.
QPixmap DrawProgramSign(int size)
{
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(0, 0, 64));
    painter.drawEllipse(QRectF(0.5, 0.5, 31, 31));
    QRadialGradient planet(QPointF(13, 13), 9, QPointF(11, 11));
    planet.setColorAt(0, QColor(128, 224, 255));
    planet.setColorAt(1, QColor(0, 64, 160));
    painter.setBrush(planet);
    painter.drawEllipse(QPointF(16, 16), 8, 8);
    painter.setPen(QPen(Qt::yellow, 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(16, 16), 14, 5);
    painter.setPen(Qt::NoPen);
    painter.setBrush(Qt::white);
    painter.drawEllipse(QPointF(26, 19.5), 2, 2);
    return pixmap;
}

// A sheet of script: a keyword line in red, then lines of text.
QPixmap DrawScriptSheet()
{
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    Outline(painter, Qt::white);
    painter.drawPolygon(QPolygon({{5, 1}, {20, 1}, {27, 8}, {27, 30}, {5, 30}}));
    painter.drawPolyline(QPolygon({{20, 1}, {20, 8}, {27, 8}}));
    painter.setPen(Qt::red);
    painter.drawLine(8, 6, 16, 6);
    painter.setPen(Qt::darkBlue);
    for (int y = 11; y <= 26; y += 3)
        painter.drawLine(8, y, y % 2 == 0 ? 18 : 24, y);
    return pixmap;
}

void PaintSpace(QPainter& painter, const QRect& area)
{
    QLinearGradient space(area.topLeft(), area.bottomLeft());
    space.setColorAt(0, QColor(0, 0, 8));
    space.setColorAt(1, QColor(8, 12, 48));
    painter.fillRect(area, space);
}

// The same stars every time: the generator starts from a fixed seed.
void PaintStars(QPainter& painter, const QRect& area)
{
    QRandomGenerator random(1997);
    painter.setPen(Qt::NoPen);
    for (int star = 0; star < 600; ++star) {
        const QPointF centre(random.bounded(area.width()), random.bounded(area.height()));
        const int brightness = 96 + random.bounded(160);
        const double radius = random.bounded(10) == 0 ? 1.4 : 0.7;
        painter.setBrush(QColor(brightness, brightness, qMin(255, brightness + 24)));
        painter.drawEllipse(centre, radius, radius);
    }
}

// A planet lit from the upper left, with a thin halo of atmosphere and an orbit around it.
void PaintPlanet(QPainter& painter, const QPointF& centre, double radius)
{
    QRadialGradient halo(centre, radius * 1.12);
    halo.setColorAt(0.88, QColor(96, 176, 255, 160));
    halo.setColorAt(1, QColor(96, 176, 255, 0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(centre, radius * 1.12, radius * 1.12);

    QRadialGradient surface(centre, radius, centre - QPointF(radius, radius) * 0.45);
    surface.setColorAt(0, QColor(120, 200, 240));
    surface.setColorAt(0.55, QColor(24, 80, 150));
    surface.setColorAt(1, QColor(4, 12, 40));
    painter.setBrush(surface);
    painter.drawEllipse(centre, radius, radius);

    painter.save();
    painter.translate(centre);
    painter.rotate(-18);
    painter.setPen(QPen(QColor(255, 224, 128, 170), 2));
    painter.setBrush(Qt::NoBrush);
    painter.drawEllipse(QPointF(), radius * 1.55, radius * 0.45);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(230, 230, 220));
    painter.drawEllipse(QPointF(0, radius * 0.45), radius * 0.09, radius * 0.09);
    painter.restore();
}

}  // namespace

const std::vector<std::pair<QString, QIcon>>& ToolbarImages()
{
    static const std::vector<std::pair<QString, QIcon>> images = [] {
        std::vector<std::pair<QString, QIcon>> list;
        for (const ToolbarPicture& picture : kToolbarPictures)
            list.emplace_back(QString::fromUtf16(picture.key), QIcon(DrawToolbarPicture(picture.draw)));
        return list;
    }();
    return images;
}

QIcon ToolbarImage(const QString& key)
{
    for (const auto& [imageKey, icon] : ToolbarImages()) {
        if (imageKey == key)
            return icon;
    }
    return QIcon();
}

QIcon ProgramIcon()
{
    QIcon icon;
    for (int size : {16, 32, 48})
        icon.addPixmap(DrawProgramSign(size));
    return icon;
}

QIcon ScriptWindowIcon()
{
    return QIcon(DrawScriptSheet());
}

QPixmap SplashPicture()
{
    QImage picture(800, 600, QImage::Format_RGB32);
    QPainter painter(&picture);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintSpace(painter, picture.rect());
    PaintStars(painter, picture.rect());
    PaintPlanet(painter, QPointF(120, 140), 100);
    painter.end();
    return QPixmap::fromImage(picture);
}

}  // namespace shell
