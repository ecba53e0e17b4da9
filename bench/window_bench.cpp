// Main-window benchmarks: the real window (tree, password grid, view state and
// the file routines behind them) over a generated file, offscreen. For each
// size on the command line (default 1000 10000 100000) the file is written
// first and a fresh process of this program opens it and times what a user
// waits for, so each size's peak memory is its own; a second one does the
// same with the notes shown under the rows ("notes_" figures).
//
// Prints one key=value line per figure with its budget and "ok" or "over".
// Times are in ms and include the repaint the action asks for; the key
// derivation of an open is left out (it is slow on purpose). Stalls are the
// median of a few runs.

#include "FileRoutines.h"
#include "frmMain.h"
#include "Grid.h"
#include "Measure.h"
#include "PasswordStore.h"
#include "RecordGenerator.h"
#include "Services.h"
#include "ShowWindows.h"
#include "StartUp.h"
#include "TransferRoutines.h"
#include "Tree.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QHeaderView>
#include <QProcess>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <vector>

namespace {

using bench::median;
using bench::ms;
using bench::peakRssMiB;
using bench::report;

const QString BenchPassword = QStringLiteral("bench-password");
constexpr int Runs = 3;
constexpr double StallBudgetMs = 100;
constexpr double StartBudgetMs = 400;
constexpr double MemoryBudgetMb = 150;

// Runs the action, then lets the window repaint; answers the time in ms.
double stall(const std::function<void()> &action)
{
    QCoreApplication::processEvents();
    QElapsedTimer timer;
    timer.start();
    action();
    QCoreApplication::processEvents();
    return ms(timer.nsecsElapsed());
}

class BenchPasswords final : public files::FilePasswordAsker
{
public:
    QString askFilePassword(const QString &) override { return BenchPassword; }
};

class NoOpenDialog final : public files::OpenDialogHost
{
public:
    files::OpenDialogResult showOpenDialog(const files::OpenDialogRequest &, QWidget *) override
    {
        return {};
    }
};

// The program's services with doubles only where a person would answer.
struct Program
{
    app::RunState state;
    app::WindowStack windows{state};
    ProgramOptions options;
    RecentFiles recent;
    Settings settings;
    platform::ScriptedPrompt prompt;
    platform::ScriptedFileDialogs dialogs;
    const platform::Clock clock;
    app::Services services{state, windows, options, recent, settings, prompt, dialogs, clock};
    BenchPasswords passwords;
    NoOpenDialog openDialog;
    files::FileRoutines files{services, passwords, openDialog};
    platform::RecordingClipboard clipboard;
    platform::RecordingShell shell;
    platform::RecordingKeyTyper typer;
    transfer::TransferRoutines transfers{services, clipboard, shell, typer};
    ShowWindows openers{services, transfers, QStringLiteral("vellumor")};
    WindowRoutines routines{files, transfers, openers};

    Program()
    {
        options.ViewTips = false;
        options.ViewWizard = false;
        state.Store = std::make_unique<PasswordStore>();
        state.FirstStart = true;
    }
};

QPoint sectionCentre(const QHeaderView &header, int column)
{
    const int section = column - 1;
    return {header.sectionViewportPosition(section) + header.sectionSize(section) / 2,
            header.height() / 2};
}

// One size, in a process of its own: start, then the grid's costly gestures.
// With notes, the notes show on a line under each row (rows of many heights):
// its figures carry "notes_" in front.
int measure(int size, const QString &path, bool notes)
{
    Program p;
    p.options.ShowNotes = notes;
    QElapsedTimer timer;
    timer.start();
    if (!p.files.OpenPasswordFile(path)) {
        std::fprintf(stderr, "cannot open the generated file\n");
        return 1;
    }
    const qint64 kdf = p.state.Store->LastKdfNanoseconds();
    const double openMs = ms(timer.nsecsElapsed() - kdf);
    const qint64 opened = timer.nsecsElapsed();
    const double fileMb = peakRssMiB();
    frmMain window(p.services, p.routines);
    p.state.setCurrentMainWindow(&window);
    const qint64 made = timer.nsecsElapsed();
    window.Load();
    const qint64 loaded = timer.nsecsElapsed();
    QCoreApplication::processEvents();
    const double startMs = ms(timer.nsecsElapsed() - kdf);
    const double loadedMb = peakRssMiB();

    controls::Grid &grid = *window.grid();
    controls::Tree &tree = *window.tree();
    QHeaderView &header = *grid.findChild<QTableView *>()->horizontalHeader();
    const auto click = [](QWidget *on, QPoint at) {
        QTest::mouseClick(on, Qt::LeftButton, {}, at);
    };
    const auto clickHeader = [&](const char *key) {
        click(header.viewport(), sectionCentre(header, grid.columnIndex(QString::fromUtf8(key))));
    };

    // Another column than the one sorted by: a full sort each time.
    std::vector<double> columnSorts;
    columnSorts.reserve(size_t{2} * Runs);
    for (int i = 0; i < Runs; ++i) {
        columnSorts.push_back(stall([&] { clickHeader("UserName"); }));
        columnSorts.push_back(stall([&] { clickHeader("ExpDate"); }));
    }
    // The same column again: the order turns.
    clickHeader("Service");
    std::vector<double> reverseSorts;
    reverseSorts.reserve(Runs);
    for (int i = 0; i < Runs; ++i)
        reverseSorts.push_back(stall([&] { clickHeader("Service"); }));

    // The root after a category: the grid filled with every record.
    const int root = tree.firstNode();
    const int category = tree.firstChild(root);
    std::vector<double> nodeClicks;
    nodeClicks.reserve(Runs);
    for (int i = 0; i < Runs; ++i) {
        click(tree.viewport(), tree.nodeRect(category).center());
        QCoreApplication::processEvents();
        nodeClicks.push_back(stall([&] { click(tree.viewport(), tree.nodeRect(root).center()); }));
    }
    const int rows = grid.rowCount();

    std::vector<double> refreshes;
    refreshes.reserve(Runs);
    for (int i = 0; i < Runs; ++i)
        refreshes.push_back(stall([&] { window.UpdateView(0); }));

    // A later start hands the file over: it is read again and shown.
    std::vector<double> handOvers;
    handOvers.reserve(Runs);
    for (int i = 0; i < Runs; ++i) {
        const double total = stall([&] {
            window.HandOver(app::instancePayload(QLatin1Char('"') + path + QLatin1Char('"')));
        });
        handOvers.push_back(total - ms(p.state.Store->LastKdfNanoseconds()));
    }

    if (notes) {
        // The same gestures; only the stalls differ.
        report("notes_window_start_ms", size, startMs, StartBudgetMs);
        report("notes_grid_sort_column_ms", size, median(columnSorts), StallBudgetMs);
        report("notes_grid_node_click_ms", size, median(nodeClicks), StallBudgetMs);
        report("notes_window_refresh_ms", size, median(refreshes), StallBudgetMs);
        report("notes_window_peak_rss_mb", size, peakRssMiB(), MemoryBudgetMb);
    } else {
        std::printf("window_rows[%d]=%d\n", size, rows);
        // The part of the start spent reading the file, for what it is worth.
        std::printf("window_start_file_ms[%d]=%.0f\n", size, openMs);
        std::printf("window_start_make_ms[%d]=%.0f\n", size, ms(made - opened));
        std::printf("window_start_load_ms[%d]=%.0f\n", size, ms(loaded - made));
        std::printf("window_start_paint_ms[%d]=%.0f\n", size, startMs - ms(loaded - kdf));
        report("window_start_ms", size, startMs, StartBudgetMs);
        report("grid_sort_column_ms", size, median(columnSorts), StallBudgetMs);
        report("grid_sort_reverse_ms", size, median(reverseSorts), StallBudgetMs);
        report("grid_node_click_ms", size, median(nodeClicks), StallBudgetMs);
        report("window_refresh_ms", size, median(refreshes), StallBudgetMs);
        report("window_handover_ms", size, median(handOvers), StallBudgetMs);
        // The store's share, before any window.
        std::printf("window_peak_rss_file_mb[%d]=%.0f\n", size, fileMb);
        report("window_peak_rss_loaded_mb", size, loadedMb, MemoryBudgetMb);
        report("window_peak_rss_mb", size, peakRssMiB(), MemoryBudgetMb);
    }
    p.state.setCurrentMainWindow(nullptr);
    p.state.TrayMode = true; // closing asks nothing
    return rows == size ? 0 : 1;
}

bool writeFile(int size, const QString &path)
{
    const bench::Dataset content = bench::generateBase(size);
    PasswordStore store;
    QString error;
    if (!bench::populate(store, content, error)) {
        std::fprintf(stderr, "%s\n", qPrintable(error));
        return false;
    }
    store.SetKdfParams(KdfParams::Minimum());
    store.SetPassword(BenchPassword);
    return store.SaveFile(path, false, false);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    const bool notes = argc == 4 && qstrcmp(argv[1], "--measure-notes") == 0;
    if (notes || (argc == 4 && qstrcmp(argv[1], "--measure") == 0)) {
        const QApplication app(argc, argv);
        return measure(QByteArray(argv[2]).toInt(), QString::fromLocal8Bit(argv[3]), notes);
    }

    const QCoreApplication app(argc, argv);
    // A file to profile against: window_bench --write N FILE, then --measure N FILE.
    if (argc == 4 && qstrcmp(argv[1], "--write") == 0)
        return writeFile(QByteArray(argv[2]).toInt(), QString::fromLocal8Bit(argv[3])) ? 0 : 1;
    std::vector<int> sizes;
    for (int i = 1; i < argc; ++i) {
        bool ok = false;
        const int size = QByteArray(argv[i]).toInt(&ok);
        if (!ok || size < 1) {
            std::fprintf(stderr, "usage: window_bench [record count ...] | --write N FILE | "
                                 "--measure[-notes] N FILE\n");
            return 2;
        }
        sizes.push_back(size);
    }
    if (sizes.empty())
        sizes = {1000, 10000, 100000};

    const QTemporaryDir dir;
    int status = 0;
    for (const int size : sizes) {
        const QString path = dir.filePath(QStringLiteral("bench%1.vlm").arg(size));
        if (!writeFile(size, path))
            return 1;
        for (const char *mode : {"--measure", "--measure-notes"}) {
            QProcess child;
            child.setProcessChannelMode(QProcess::ForwardedChannels);
            child.start(QCoreApplication::applicationFilePath(),
                        {QString::fromLatin1(mode), QString::number(size), path});
            if (!child.waitForFinished(-1) || child.exitStatus() != QProcess::NormalExit ||
                child.exitCode() != 0)
                status = 1;
        }
    }
    return status;
}
