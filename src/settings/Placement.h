#pragma once

#include <QString>

class QWidget;
class Settings;
struct ProgramOptions;

// Window placement, kept per window under its tag: "<tag>-State" (0 normal,
// 1 minimized, 2 maximized) and "<tag>-X", "-Y", "-W", "-H" in twips (1/1440
// inch, 15 to a pixel at 96 dpi), as 16-bit values where they fit and as
// 32-bit values beyond (a window on a second monitor to the right).
// A restored window that would lie off every screen is centred.

// From a window's load code: centre it over the main window (or the screen
// when there is none, it is hidden, or it is this window), then, with
// "AutoLoadWin", put back the state and geometry it had.
void RestorePlacement(QWidget &window, const QString &tag, const QWidget *mainWindow,
                      const ProgramOptions &options, Settings &settings);

// From a window's unload code, with "AutoSaveWin".
void SavePlacement(const QWidget &window, const QString &tag, const ProgramOptions &options,
                   Settings &settings);

void CenterOnScreen(QWidget &window);

// Twips of one pixel on this desktop (15 at 96 dpi).
int twipsPerPixel();
