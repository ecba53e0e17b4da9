#pragma once

// A main window for the about box and the tip window to sit over, with the
// test services, and a clean settings file for each case.

#include "TestServices.h"

#include <QSettings>
#include <QTest>

namespace abouttest {

using MainWindow = WidgetMainWindow;

struct Fixture
{
    TestServices t;
    MainWindow main;

    Fixture()
    {
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;
};

inline void clearSavedSettings()
{
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

// Where a test saves what a window looks like, when asked to.
inline void saveLook(QWidget &window, const QString &name)
{
    const QByteArray folder = qgetenv("VELLUMOR_SHOTS");
    if (!folder.isEmpty()) {
        window.grab().save(QString::fromLocal8Bit(folder) + QLatin1Char('/') + name + ".png");
    }
}

} // namespace abouttest
