#include "Placement.h"

#include "ProgramOptions.h"
#include "Settings.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

enum : qint16
{
    StateNormal = 0,
    StateMinimized = 1,
    StateMaximized = 2,
};

qint16 stateOf(const QWidget &window)
{
    if (window.isMinimized()) {
        return StateMinimized;
    }
    if (window.isMaximized()) {
        return StateMaximized;
    }
    return StateNormal;
}

void applyState(QWidget &window, qint16 state)
{
    Qt::WindowStates states = window.windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    if (state == StateMinimized) {
        states |= Qt::WindowMinimized;
    } else if (state == StateMaximized) {
        states |= Qt::WindowMaximized;
    }
    window.setWindowState(states);
}

QRect availableArea(const QWidget &window)
{
    const QScreen *screen =
        window.screen() != nullptr ? window.screen() : QGuiApplication::primaryScreen();
    return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

bool onSomeScreen(const QRect &geometry)
{
    for (const QScreen *screen : QGuiApplication::screens()) {
        // Enough of the title bar must be reachable to move the window back.
        if (screen->availableGeometry().intersected(geometry).width() >= 40) {
            return true;
        }
    }
    return false;
}

qint32 toTwips(int pixels)
{
    const qint64 twips = qint64{pixels} * twipsPerPixel();
    return static_cast<qint32>(std::clamp<qint64>(twips, std::numeric_limits<qint32>::min(),
                                                  std::numeric_limits<qint32>::max()));
}

int toPixels(qint32 twips)
{
    return static_cast<int>(std::lround(double(twips) / twipsPerPixel()));
}

// 16 bits where the value fits, as placements have always been kept; a window
// on a second monitor lies beyond 32767 twips (about 2,184 pixels) and gets
// 32 bits. Reading takes either.
void saveTwips(SettingsComponent &s, const QString &name, int pixels)
{
    const qint32 twips = toTwips(pixels);
    if (twips >= std::numeric_limits<qint16>::min() &&
        twips <= std::numeric_limits<qint16>::max()) {
        s.SaveInteger(name, static_cast<qint16>(twips));
    } else {
        s.SaveLong(name, twips);
    }
}

} // namespace

int twipsPerPixel()
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen != nullptr ? screen->logicalDotsPerInch() : 96.0;
    const int perPixel = static_cast<int>(std::lround(1440.0 / (dpi > 0 ? dpi : 96.0)));
    return perPixel > 0 ? perPixel : 15;
}

void CenterOnScreen(QWidget &window)
{
    const QRect area = availableArea(window);
    const QSize own = window.frameGeometry().size();
    window.move(area.x() + (area.width() - own.width()) / 2,
                area.y() + (area.height() - own.height()) / 2);
}

void RestorePlacement(QWidget &window, const QString &tag, const QWidget *mainWindow,
                      const ProgramOptions &options, Settings &settings)
{
    if (mainWindow == nullptr || !mainWindow->isVisible() || mainWindow == &window) {
        CenterOnScreen(window);
    } else {
        // Outer frames on both sides, as the user sees the windows.
        const QRect main = mainWindow->frameGeometry();
        const QRect own = window.frameGeometry();
        window.move(main.x() + (main.width() - own.width()) / 2,
                    main.y() + (main.height() - own.height()) / 2);
    }
    if (!options.AutoLoadWin) {
        return;
    }
    SettingsComponent &s = settings.OpenLayoutSettings();
    const qint16 state = s.GetInteger(tag + QStringLiteral("-State"), stateOf(window));
    if (state == StateNormal) {
        const QRect restored(
            toPixels(s.GetLong(tag + QStringLiteral("-X"), toTwips(window.x()))),
            toPixels(s.GetLong(tag + QStringLiteral("-Y"), toTwips(window.y()))),
            toPixels(s.GetLong(tag + QStringLiteral("-W"), toTwips(window.width()))),
            toPixels(s.GetLong(tag + QStringLiteral("-H"), toTwips(window.height()))));
        if (restored.width() > 0 && restored.height() > 0) {
            window.resize(restored.size());
            if (onSomeScreen(restored)) {
                window.move(restored.topLeft());
            } else {
                CenterOnScreen(window);
            }
        }
    }
    applyState(window, state);
    settings.ReleaseLayoutSettings();
}

void SavePlacement(const QWidget &window, const QString &tag, const ProgramOptions &options,
                   Settings &settings)
{
    if (!options.AutoSaveWin) {
        return;
    }
    SettingsComponent &s = settings.OpenLayoutSettings();
    const qint16 state = stateOf(window);
    s.SaveInteger(tag + QStringLiteral("-State"), state);
    if (state == StateNormal) {
        saveTwips(s, tag + QStringLiteral("-X"), window.x());
        saveTwips(s, tag + QStringLiteral("-Y"), window.y());
        saveTwips(s, tag + QStringLiteral("-W"), window.width());
        saveTwips(s, tag + QStringLiteral("-H"), window.height());
    }
    settings.ReleaseLayoutSettings();
}
