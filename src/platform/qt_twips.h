#pragma once

namespace platform {

// Twips (1/1440 inch) to pixels and back, at the primary screen's logical DPI.
int TwipsToPixelsX(double twips);
int TwipsToPixelsY(double twips);
double PixelsToTwipsX(int pixels);
double PixelsToTwipsY(int pixels);

}  // namespace platform
