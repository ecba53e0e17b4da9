// Tray menu benchmarks: the tray window over a generated file, its menu shown
// through a right-click on the icon as the user does it. For each size given
// on the command line (default 1,000, 10,000 and 100,000 records) it prints
// one key=value line per figure with its budget:
//   tray_menu_first_show_ms   the first right-click until the menu has painted
//   tray_menu_second_show_ms  the same again, nothing changed (median)
//   tray_refresh_same_ms      a refresh of the window with the same content (median)
//   tray_menu_show_after_same_ms   the right-click after it
//   tray_refresh_changed_ms   a refresh after one record was renamed (median)
//   tray_menu_show_after_change_ms the right-click after it
//   tray_submenu_show_ms      the first sub-menu opened from the shown menu
// and whether the menu built before an unchanged refresh was kept, and one
// built before a change replaced. Times are wall-clock milliseconds.
//
// With --x11-tray it runs under an X server with a tray host (see
// run-all.sh): the icon sits in the tray, and each right-click is a real
// button press sent to it through XTest. Otherwise (offscreen) the click is
// the signal the icon gives for one.

#include "frmSysTray.h"
#include "frmTray.h"
#include "Measure.h"
#include "RecordGenerator.h"
#include "TestRoutines.h"
#include "X11Click.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QIcon>
#include <QKeyEvent>
#include <QMenu>
#include <QPixmap>
#include <QPointer>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <utility>
#include <vector>

namespace {

using bench::median;
using bench::ms;
using bench::peakRssMiB;
using bench::report;

constexpr int Repeats = 5;

// The budget a right-click or a refresh has at this size.
double budgetMs(int records)
{
    return records <= 10'000 ? 20.0 : 150.0 * std::max(1.0, records / 100'000.0);
}

double msSince(const QElapsedTimer &timer)
{
    return static_cast<double>(timer.nsecsElapsed()) / 1e6;
}

// Notes when a popup menu (any, or the one given) has painted for the first
// time since arm(), then runs the step given for it.
class PaintWatch : public QObject
{
public:
    void arm(std::function<void(QMenu *)> then, const QMenu *only = nullptr)
    {
        m_then = std::move(then);
        m_only = only;
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // The icon paints once the tray host has taken it in and shows it.
        if (event->type() == QEvent::Paint &&
            qstrcmp(watched->metaObject()->className(), "QSystemTrayIconSys") == 0)
            iconShown = true;
        auto *menu = qobject_cast<QMenu *>(watched);
        if (event->type() == QEvent::Paint && menu != nullptr && m_then &&
            (m_only == nullptr || menu == m_only)) {
            // After the paint has been handled, on the next turn of the loop.
            QTimer::singleShot(0, menu, [then = std::exchange(m_then, {}), menu] { then(menu); });
        }
        return false;
    }

public:
    bool iconShown = false;

private:
    std::function<void(QMenu *)> m_then;
    const QMenu *m_only = nullptr;
};

bool realClicks = false;

struct Bench
{
    TestRoutines r;
    std::unique_ptr<frmTray> tray;
    PaintWatch watch;
    bench::Dataset content;
    int renamed = 0;
    qsizetype subMenuEntries = 0;

    explicit Bench(int records) : content(bench::generateBase(records))
    {
        QString error;
        if (!bench::populate(*r.t.state.Store, content, error)) {
            std::fprintf(stderr, "tray_bench: %s\n", qPrintable(error));
            std::exit(1);
        }
        r.t.options.ViewMenuIcon = true;
        r.t.state.TrayMode = true;
        tray = std::make_unique<frmTray>(r.t.services, r.routines);
        r.t.state.setCurrentMainWindow(tray.get());
        tray->Load();
        qApp->installEventFilter(&watch);
        // The tray host embeds the icon a moment after it was shown.
        if (realClicks && !QTest::qWaitFor([this] { return watch.iconShown; }, 10'000)) {
            std::fprintf(stderr, "tray_bench: the tray host did not take the icon\n");
            std::exit(1);
        }
    }

    QPoint iconCentre() const
    {
        const QRect where = tray->sysTray()->icon()->geometry();
        return where.isValid() && !where.isEmpty() ? where.center() : QPoint();
    }

    ~Bench()
    {
        qApp->removeEventFilter(&watch);
        r.t.state.setCurrentMainWindow(nullptr);
    }

    Bench(const Bench &) = delete;
    Bench &operator=(const Bench &) = delete;

    QMenu *builtMenu() const { return tray->sysTray()->PopupMenuObject().menu(); }

    // A right-click on the icon until the menu has painted; then it is
    // dismissed. With a step, the step runs on the shown menu instead and
    // answers the time to report.
    double rightClick(const std::function<double(QMenu *)> &onShown = {})
    {
        QElapsedTimer timer;
        double ms = -1.0;
        QEventLoop wait;
        watch.arm([&](QMenu *menu) {
            ms = onShown ? onShown(menu) : msSince(timer);
            menu->close();
            wait.quit();
        });
        // Nothing should take this long; a menu that never shows ends the run.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (QWidget *popup = QApplication::activePopupWidget())
                popup->close();
        });
        guard.start(120'000);
        QObject::connect(&guard, &QTimer::timeout, &wait, &QEventLoop::quit);
        // Two presses in quick succession make a double-click, which opens no menu.
        if (realClicks)
            QTest::qWait(QApplication::doubleClickInterval() + 50);
        timer.start();
        if (realClicks)
            bench::x11RightClick(iconCentre());
        else
            Q_EMIT tray->sysTray()->icon()->activated(QSystemTrayIcon::Context);
        if (ms < 0)
            wait.exec();
        return ms;
    }

    // From the shown menu, its first sub-menu opened by the keyboard, until it
    // has painted: the first category, or in a large file the first group of
    // consecutive entries, the longest sub-menu there is.
    double openFirstSubMenu(QMenu *shown)
    {
        const QList<QAction *> actions = shown->actions();
        const auto entry = std::find_if(actions.begin(), actions.end(),
                                        [](const QAction *a) { return a->menu() != nullptr; });
        if (entry == actions.end())
            return -1.0;
        QAction *first = *entry;
        QElapsedTimer timer;
        double ms = -1.0;
        QEventLoop wait;
        watch.arm(
            [&](QMenu *sub) {
                ms = msSince(timer);
                sub->close();
                wait.quit();
            },
            first->menu());
        shown->setActiveAction(first);
        timer.start();
        QKeyEvent right(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
        QApplication::sendEvent(shown, &right);
        if (ms < 0)
            wait.exec();
        subMenuEntries = first->menu()->actions().size();
        return ms;
    }

    // Renames one record, a different one each time, through the store.
    void renameOne()
    {
        const PasswordEntry &original =
            content.passwords[content.passwords.size() / 2 + static_cast<size_t>(renamed)];
        const PasswordStore &store = *r.t.state.Store;
        const PasswordEntry *current = store.Passwords().Item(original.service);
        if (current == nullptr) {
            std::fprintf(stderr, "tray_bench: record %s not found\n", qPrintable(original.service));
            std::exit(1);
        }
        PasswordEntry changed = *current;
        changed.service = original.service + QStringLiteral(" (renamed)");
        if (!r.t.state.Store->UpdatePassword(changed, current->service, current->codcat,
                                             current->CodSCat)) {
            std::fprintf(stderr, "tray_bench: renaming failed\n");
            std::exit(1);
        }
        ++renamed;
    }

    double refresh()
    {
        QElapsedTimer timer;
        timer.start();
        tray->UpdateView(0);
        return msSince(timer);
    }
};

// Answers false when the menu did not behave as it must (not a matter of time).
bool run(int records)
{
    Bench b(records);
    const double budget = budgetMs(records);
    std::printf("tray_records[%d]=%d\n", records, b.r.t.state.Store->Passwords().Count());
    std::printf("tray_menu_items[%d]=%d\n", records, b.tray->sysTray()->PopupMenuObject().count());

    const double first = b.rightClick();
    std::vector<double> again;
    again.reserve(Repeats);
    for (int i = 0; i < Repeats; ++i)
        again.push_back(b.rightClick());
    std::printf("tray_menu_top_entries[%d]=%lld\n", records,
                static_cast<long long>(b.builtMenu()->actions().size()));

    std::vector<double> refreshSame;
    std::vector<double> showSame;
    refreshSame.reserve(Repeats);
    showSame.reserve(Repeats);
    const QPointer<QAction> before = b.builtMenu()->actions().constFirst();
    for (int i = 0; i < Repeats; ++i) {
        refreshSame.push_back(b.refresh());
        showSame.push_back(b.rightClick());
    }
    const bool kept = !before.isNull() && b.builtMenu()->actions().constFirst() == before;

    std::vector<double> refreshChanged;
    std::vector<double> showChanged;
    refreshChanged.reserve(Repeats);
    showChanged.reserve(Repeats);
    bool rebuilt = true;
    for (int i = 0; i < Repeats; ++i) {
        const QPointer<QAction> last = b.builtMenu()->actions().constFirst();
        b.renameOne();
        refreshChanged.push_back(b.refresh());
        showChanged.push_back(b.rightClick());
        rebuilt = rebuilt && (last.isNull() || b.builtMenu()->actions().constFirst() != last);
    }
    const double sub = b.rightClick([&b](QMenu *shown) { return b.openFirstSubMenu(shown); });

    report("tray_menu_first_show_ms", records, first, budget, 1);
    report("tray_menu_second_show_ms", records, median(again), budget, 1);
    report("tray_refresh_same_ms", records, median(refreshSame), budget, 1);
    report("tray_menu_show_after_same_ms", records, median(showSame), budget, 1);
    report("tray_refresh_changed_ms", records, median(refreshChanged), budget, 1);
    report("tray_menu_show_after_change_ms", records, median(showChanged), budget, 1);
    report("tray_submenu_show_ms", records, sub, budget, 1);
    std::printf("tray_submenu_entries[%d]=%lld\n", records,
                static_cast<long long>(b.subMenuEntries));
    std::printf("tray_menu_kept_after_same_refresh[%d]=%s expected=yes %s\n", records,
                kept ? "yes" : "no", kept ? "ok" : "FAIL");
    std::printf("tray_menu_rebuilt_after_change[%d]=%s expected=yes %s\n", records,
                rebuilt ? "yes" : "no", rebuilt ? "ok" : "FAIL");
    std::fflush(stdout);
    return kept && rebuilt && first >= 0 && sub >= 0;
}

} // namespace

// The offscreen platform says at every popup that it cannot raise it or grab
// the keyboard; the figures are easier to read without that.
void quietPlatform(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (!message.startsWith(u"This plugin does not support"))
        qt_message_output(type, context, message);
}

// The first menu a process shows loads fonts and the style's resources; a
// small one shown beforehand keeps that out of the first size's figures.
void warmUp()
{
    QMenu menu;
    menu.addAction(QStringLiteral("warm-up"));
    menu.popup(QPoint(10, 10));
    QCoreApplication::processEvents();
    menu.close();
}

int main(int argc, char **argv)
{
    const bool wantsX11 = std::any_of(
        argv + 1, argv + argc, [](const char *arg) { return qstrcmp(arg, "--x11-tray") == 0; });
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", wantsX11 ? "xcb" : "offscreen");
    qInstallMessageHandler(quietPlatform);
    const QApplication app(argc, argv);

    std::vector<int> sizes;
    QStringList args = QApplication::arguments().mid(1);
    realClicks = args.removeAll(QStringLiteral("--x11-tray")) > 0;
    if (realClicks && (QGuiApplication::platformName() != u"xcb" ||
                       !QTest::qWaitFor(QSystemTrayIcon::isSystemTrayAvailable, 10'000))) {
        std::fprintf(stderr, "tray_bench: --x11-tray needs an X server with a tray host\n");
        return 2;
    }
    std::printf("tray_click=%s\n", realClicks ? "x11" : "signal");
    // The program's icon comes with its resources; a tray host shows no icon
    // without one, and this one is as good for clicking.
    QPixmap icon(22, 22);
    icon.fill(Qt::darkCyan);
    QApplication::setWindowIcon(QIcon(icon));
    for (const QString &arg : std::as_const(args)) {
        bool ok = false;
        const int n = arg.toInt(&ok);
        if (!ok || n < 1 || n > 1'000'000) {
            std::fprintf(stderr,
                         "usage: tray_bench [--x11-tray] [RECORDS...] (1 to 1000000 each)\n");
            return 2;
        }
        sizes.push_back(n);
    }
    if (sizes.empty())
        sizes = {1'000, 10'000, 100'000};
    warmUp();
    bool behaved = true;
    for (const int n : sizes)
        behaved = run(n) && behaved;
    return behaved ? 0 : 1;
}
