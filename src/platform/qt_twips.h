#pragma once

#include <QRect>

class QGroupBox;
class QWidget;

namespace platform {

// Twips (1/1440 inch) to pixels and back, at the primary screen's logical DPI.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

// A control's place in its container, in twips, as a form's design gives it.
struct Twips {
    int left;
    int top;
    int width;
    int height;
};

QRect TwipsToPixels(const Twips& place);

// Puts a control at its design place, grown where this platform's fonts need more room than
// the design gives: a caption is always shown whole. Text boxes keep their width and show
// their text from its start.
void PlaceControl(QWidget* control, const Twips& place);

// Makes a frame hold its placed controls whole: where this platform draws the caption above the
// frame's border, or a control has been widened past it, the controls move inside the border and
// the frame grows to keep a margin of marginTwips around them.
void FitFrame(QGroupBox* frame, int marginTwips);

}  // namespace platform
