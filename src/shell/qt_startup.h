#pragma once

namespace shell {

// Shows the splash while the settings and keywords load, holds it for five seconds, then shows
// the main window. Returns at once after that; the event loop runs the program. A write past
// the file-size limit fails from then on instead of ending the program.
void Main();

// Waits the given seconds while processing window messages (at least once, also for zero).
// Robust across midnight.
void Pause(double seconds);

}  // namespace shell
