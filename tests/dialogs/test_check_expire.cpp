// The expiration list as a user meets it: which records are listed with which
// message, date and colour, in which order; the message when nothing is due;
// editing from the list; the window stack and the placement around it; sorting
// by the date columns.

#include "frmCheckExpire.h"
#include "Grid.h"
#include "TestServices.h"

#include <QHeaderView>
#include <QLocale>
#include <QPushButton>
#include <QSettings>
#include <QTest>

using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

namespace {

// The day the fixed clock of the test services stands on.
const QDate Today(2026, 12, 7);
// A date offset that stands for "no date at all".
constexpr int NoDate = 9999;

QString shortDate(int daysFromToday)
{
    return QLocale::system().toString(Today.addDays(daysFromToday), QLocale::ShortFormat);
}

struct Dates
{
    bool expire = false;
    int expireIn = 0;
    bool notifyExpire = false;
    int expireNotice = 0;
    bool change = false;
    int changeIn = 0;
    bool notifyChange = false;
    int changeNotice = 0;
};

QDate dateIn(int days)
{
    return days == NoDate ? QDate() : Today.addDays(days);
}

PasswordEntry record(const QString &service, const Dates &d)
{
    PasswordEntry e;
    e.service = service;
    e.Password = service + QStringLiteral("-secret");
    e.blExpire = d.expire;
    e.Dt_Expire = dateIn(d.expireIn);
    e.blNotExpire = d.notifyExpire;
    e.ggNotExpire = static_cast<qint16>(d.expireNotice);
    e.blChange = d.change;
    e.Dt_Change = dateIn(d.changeIn);
    e.blNotChange = d.notifyChange;
    e.ggNotChange = static_cast<qint16>(d.changeNotice);
    return e;
}

Dates expiring(int in, bool notify = true, int notice = 0)
{
    Dates d;
    d.expire = true;
    d.expireIn = in;
    d.notifyExpire = notify;
    d.expireNotice = notice;
    return d;
}

Dates changing(int in, bool notify = true, int notice = 0)
{
    Dates d;
    d.change = true;
    d.changeIn = in;
    d.notifyChange = notify;
    d.changeNotice = notice;
    return d;
}

QString colourName(const QColor &colour)
{
    if (!colour.isValid()) {
        return {};
    }
    if (colour == QColor(255, 0, 0)) {
        return QStringLiteral("red");
    }
    if (colour == QColor(0, 255, 0)) {
        return QStringLiteral("green");
    }
    return colour.name();
}

// Every row as "service|exp. date|chg. date|status", a cell's colour after "@".
QStringList rowsOf(const controls::Grid &grid)
{
    QStringList rows;
    for (int row = 1; row <= grid.rowCount(); ++row) {
        QStringList cells;
        for (int column = 1; column <= grid.columnCount(); ++column) {
            QString cell = grid.cellText(row, column);
            const QString colour = colourName(grid.cellForeColour(row, column));
            if (!colour.isEmpty()) {
                cell += QLatin1Char('@') + colour;
            }
            cells << cell;
        }
        rows << cells.join(QLatin1Char('|'));
    }
    return rows;
}

// A main window with a real widget, so the window stack has something to
// disable and a refresh to leave.
struct MainWindow final : app::MainWindowOps
{
    QWidget widget;
    void UpdateView(qint32) override {}
    void ReloadMenu() override {}
    void ReInitMenu() override {}
    void GotoSysTray() override {}
    void SetMenuEnabled(bool) override {}
    QWidget *window() override { return &widget; }
};

// Notes the moment a message is asked, as a user would see the screen then.
class WatchingPrompt final : public platform::ScriptedPrompt
{
public:
    using Prompt::ask;
    platform::PromptAnswer ask(const PromptRequest &request) override
    {
        if (onAsk) {
            onAsk();
        }
        return ScriptedPrompt::ask(request);
    }
    std::function<void()> onAsk;
};

struct Fixture
{
    TestServices t;
    MainWindow main;
    QStringList edited;

    Fixture()
    {
        t.state.Store->NewFile();
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    void add(const QString &service, const Dates &d)
    {
        QVERIFY2(t.state.Store->AddPassword(record(service, d)),
                 qPrintable(t.state.Store->LastError()));
    }
    dialogs::EditPassword editor()
    {
        return [this](const QString &service) { edited << service; };
    }
};

const PromptRequest NothingDue{QStringLiteral("No password in expiration/changing!"), QString(),
                               PromptIcon::None, PromptButtons::Ok};
const PromptRequest SelectFirst{QStringLiteral("You must select a service before trying to edit!"),
                                QStringLiteral("VLM"), PromptIcon::Exclamation, PromptButtons::Ok};

QHeaderView *headerOf(const controls::Grid &grid)
{
    for (QHeaderView *header : grid.findChildren<QHeaderView *>()) {
        if (header->orientation() == Qt::Horizontal) {
            return header;
        }
    }
    return nullptr;
}

void clickHeader(const controls::Grid &grid, int column)
{
    QHeaderView *header = headerOf(grid);
    QVERIFY(header != nullptr);
    const int section = column - 1;
    const QPoint at(header->sectionViewportPosition(section) + header->sectionSize(section) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

Q_DECLARE_METATYPE(Dates)

class TestCheckExpire : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void columns_data();
    void columns();
    void listsRecordsDue_data();
    void listsRecordsDue();
    void timeOfDayDoesNotCount_data();
    void timeOfDayDoesNotCount();
    void collectionOrderExpirationBeforeChange();
    void nothingDue_data();
    void nothingDue();
    void nothingDueThroughCheckExpiration();
    void dueShowsWindowOnStack();
    void closing_data();
    void closing();
    void editWithoutSelection();
    void editOpensSelectedService_data();
    void editOpensSelectedService();
    void editedRecordGoneSinceFilling();
    void passwordDialogStacksOverList();
    void dateColumnsSortByDate();
    void placementKeptBetweenLists();
    void statusColumnFitsLongMessages_data();
    void statusColumnFitsLongMessages();
};

void TestCheckExpire::init()
{
    // Placement saved by one case must not move the window of the next.
    QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
}

void TestCheckExpire::columns_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("header");
    QTest::addColumn<int>("width");
    QTest::addColumn<bool>("fixedWidth");
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("sortCode");
    QTest::newRow("1") << "Service"
                       << "Service" << 150 << true << "" << int(controls::SortText);
    QTest::newRow("2") << "ExpDate"
                       << "Exp. Date" << 100 << false << "dd/mm/yyyy" << 200;
    QTest::newRow("3") << "ChangeDate"
                       << "Chg. Date" << 100 << false << "dd/mm/yyyy" << 200;
    QTest::newRow("4") << "Status"
                       << "Status" << 160 << false << "" << int(controls::SortText);
}

void TestCheckExpire::columns()
{
    QFETCH(QString, key);
    QFETCH(QString, header);
    QFETCH(int, width);
    QFETCH(bool, fixedWidth);
    QFETCH(QString, format);
    QFETCH(int, sortCode);
    TestServices t;
    const frmCheckExpire list(t.services, {});
    const controls::Grid &grid = *list.grid;
    QCOMPARE(grid.columnCount(), 4);
    const int column = QString::fromLatin1(QTest::currentDataTag()).toInt();
    QCOMPARE(grid.columnIndex(key), column);
    QCOMPARE(grid.columnHeader(column), header);
    QCOMPARE(grid.columnWidth(column), width);
    QCOMPARE(grid.columnFixedWidth(column), fixedWidth);
    QCOMPARE(grid.columnFormat(column), format);
    QCOMPARE(grid.columnSortCode(column), sortCode);
    QCOMPARE(grid.columnHeaderImage(column), 0);
    QCOMPARE(grid.defaultRowHeight(), 16);
    QCOMPARE(list.cmdEdit->text(), QStringLiteral("Edit"));
    QCOMPARE(list.cmdcancel->text(), QStringLiteral("Cancel"));
}

void TestCheckExpire::listsRecordsDue_data()
{
    QTest::addColumn<Dates>("dates");
    QTest::addColumn<QStringList>("rows");
    const auto expired = [](int days) { return QStringLiteral("Expired from ") + shortDate(days); };
    const auto changed = [](int days) { return QStringLiteral("Changed from ") + shortDate(days); };

    QTest::newRow("expires today")
        << expiring(0, false) << QStringList{"svc|07/12/2026@red||" + expired(0) + "@red"};
    QTest::newRow("expired three days ago")
        << expiring(-3, true, 1) << QStringList{"svc|04/12/2026@red||" + expired(-3) + "@red"};
    QTest::newRow("notice exactly reached")
        << expiring(5, true, 5) << QStringList{"svc|12/12/2026@green||5 days to expiration@green"};
    QTest::newRow("a day before the notice") << expiring(5, true, 4) << QStringList{};
    QTest::newRow("notify off") << expiring(5, false, 5) << QStringList{};
    QTest::newRow("tomorrow, one day notice")
        << expiring(1, true, 1) << QStringList{"svc|08/12/2026@green||1 days to expiration@green"};
    QTest::newRow("tomorrow, no notice") << expiring(1, true, 0) << QStringList{};
    QTest::newRow("notice longer than the time left")
        << expiring(25, true, 30)
        << QStringList{"svc|01/01/2027@green||25 days to expiration@green"};
    QTest::newRow("negative notice") << expiring(1, true, -3) << QStringList{};
    Dates off = expiring(-30, true, 60);
    off.expire = false;
    QTest::newRow("expiration off, date long past") << off << QStringList{};
    QTest::newRow("expiration on without a date") << expiring(NoDate, true, 5) << QStringList{};

    QTest::newRow("change today") << changing(0, false)
                                  << QStringList{"svc||07/12/2026@red|" + changed(0) + "@red"};
    QTest::newRow("change overdue")
        << changing(-40, false) << QStringList{"svc||28/10/2026@red|" + changed(-40) + "@red"};
    QTest::newRow("change in notice")
        << changing(2, true, 2) << QStringList{"svc||09/12/2026@green|2 days to changing@green"};
    QTest::newRow("change a day before the notice") << changing(3, true, 2) << QStringList{};
    QTest::newRow("change notify off") << changing(2, false, 9) << QStringList{};
    Dates changeOff = changing(-1);
    changeOff.change = false;
    QTest::newRow("change off, date past") << changeOff << QStringList{};

    Dates both = expiring(-1, false);
    both.change = true;
    both.changeIn = 3;
    both.notifyChange = true;
    both.changeNotice = 3;
    QTest::newRow("both due: expiration row first")
        << both
        << QStringList{"svc|06/12/2026@red||" + expired(-1) + "@red",
                       "svc||10/12/2026@green|3 days to changing@green"};
    Dates onlyExpiration = both;
    onlyExpiration.changeNotice = 2;
    QTest::newRow("both set, only expiration due")
        << onlyExpiration << QStringList{"svc|06/12/2026@red||" + expired(-1) + "@red"};
    Dates onlyChange = both;
    onlyChange.expireIn = 4;
    QTest::newRow("both set, only change due")
        << onlyChange << QStringList{"svc||10/12/2026@green|3 days to changing@green"};
}

void TestCheckExpire::listsRecordsDue()
{
    QFETCH(Dates, dates);
    QFETCH(QStringList, rows);
    Fixture f;
    f.add(QStringLiteral("svc"), dates);
    frmCheckExpire list(f.t.services, f.editor());
    QCOMPARE(list.FillExpirationList(), !rows.isEmpty());
    QCOMPARE(rowsOf(*list.grid), rows);
}

void TestCheckExpire::timeOfDayDoesNotCount_data()
{
    QTest::addColumn<QTime>("time");
    QTest::newRow("first second of the day") << QTime(0, 0, 0);
    QTest::newRow("last second of the day") << QTime(23, 59, 59);
}

void TestCheckExpire::timeOfDayDoesNotCount()
{
    QFETCH(QTime, time);
    Fixture f;
    f.t.clock.set(QDateTime(Today, time));
    f.add(QStringLiteral("today"), expiring(0));
    f.add(QStringLiteral("tomorrow"), expiring(1, true, 1));
    f.add(QStringLiteral("two days"), expiring(2, true, 1));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.FillExpirationList());
    QCOMPARE(rowsOf(*list.grid),
             (QStringList{"today|07/12/2026@red||Expired from " + shortDate(0) + "@red",
                          "tomorrow|08/12/2026@green||1 days to expiration@green"}));
}

void TestCheckExpire::collectionOrderExpirationBeforeChange()
{
    Fixture f;
    Dates both = expiring(0);
    both.change = true;
    both.changeIn = 0;
    f.add(QStringLiteral("zeta"), both);
    f.add(QStringLiteral("quiet"), expiring(300, true, 5));
    f.add(QStringLiteral("Alpha"), changing(1, true, 1));
    f.add(QStringLiteral("beta"), expiring(2, true, 2));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.FillExpirationList());
    QCOMPARE(rowsOf(*list.grid),
             (QStringList{"Alpha||08/12/2026@green|1 days to changing@green",
                          "beta|09/12/2026@green||2 days to expiration@green",
                          "zeta|07/12/2026@red||Expired from " + shortDate(0) + "@red",
                          "zeta||07/12/2026@red|Changed from " + shortDate(0) + "@red"}));

    // Filling again starts from an empty list.
    QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("zeta")));
    QVERIFY(list.FillExpirationList());
    QCOMPARE(list.grid->rowCount(), 2);
}

void TestCheckExpire::nothingDue_data()
{
    QTest::addColumn<bool>("withRecords");
    QTest::newRow("records, none due") << true;
    QTest::newRow("empty file") << false;
}

void TestCheckExpire::nothingDue()
{
    QFETCH(bool, withRecords);
    Fixture f;
    f.t.options.AutoSaveWin = true;
    if (withRecords) {
        f.add(QStringLiteral("later"), expiring(30, true, 29));
        f.add(QStringLiteral("silent"), expiring(3, false, 10));
        Dates off = expiring(-5, true, 5);
        off.expire = false;
        f.add(QStringLiteral("off"), off);
    }
    // The message is shown while the list still holds the window below.
    WatchingPrompt prompt;
    bool mainEnabledDuringMessage = true;
    prompt.onAsk = [&f, &mainEnabledDuringMessage] {
        mainEnabledDuringMessage = f.main.widget.isEnabled();
    };
    const app::Services services{f.t.state,    f.t.windows, f.t.options, f.t.recent,
                                 f.t.settings, prompt,      f.t.dialogs, f.t.clock};
    frmCheckExpire list(services, f.editor());
    QVERIFY(!list.View_Expires());
    QCOMPARE(prompt.asked, QList<PromptRequest>{NothingDue});
    QVERIFY(!mainEnabledDuringMessage);
    QVERIFY(!list.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    // The window never showed, so it left no placement behind.
    QCOMPARE(f.t.settings.OpenLayoutSettings().GetInteger(QStringLiteral("frmCheckExpire-W"), -1),
             qint16(-1));
}

void TestCheckExpire::nothingDueThroughCheckExpiration()
{
    Fixture f;
    f.add(QStringLiteral("later"), expiring(30, true, 5));
    const QPointer<frmCheckExpire> list = dialogs::CheckExpiration(f.t.services, f.editor());
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{NothingDue});
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(list.isNull());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.edited.isEmpty());
}

void TestCheckExpire::dueShowsWindowOnStack()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    const QPointer<frmCheckExpire> list = dialogs::CheckExpiration(f.t.services, f.editor());
    QVERIFY(!list.isNull());
    QVERIFY(list->isVisible());
    QVERIFY(f.t.prompt.asked.isEmpty());
    QCOMPARE(f.t.windows.count(), 1);
    QCOMPARE(f.t.windows.top(), list.data());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    QCOMPARE(list->grid->rowCount(), 1);
    QCOMPARE(list->windowTitle(), QStringLiteral("Check Expiration/Change"));
    list->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(list.isNull());
    QVERIFY(f.main.widget.isEnabled());
}

void TestCheckExpire::closing_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Cancel button") << "cancel";
    QTest::newRow("Escape key") << "escape";
    QTest::newRow("title bar") << "close";
}

void TestCheckExpire::closing()
{
    QFETCH(QString, how);
    Fixture f;
    f.add(QStringLiteral("due"), expiring(-2));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    QVERIFY(!f.main.widget.isEnabled());
    QVERIFY(!f.t.state.RefreshRequested());
    if (how == QLatin1String("cancel")) {
        QTest::mouseClick(list.cmdcancel, Qt::LeftButton);
    } else if (how == QLatin1String("escape")) {
        QTest::keyClick(list.grid->focusProxy(), Qt::Key_Escape);
    } else {
        list.close();
    }
    QVERIFY(!list.isVisible());
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QVERIFY(!f.t.state.MenuOnlyRefresh());
    QCOMPARE(f.t.state.RefreshValue(), 0);
    QVERIFY(f.t.prompt.asked.isEmpty());
    QVERIFY(f.edited.isEmpty());
}

void TestCheckExpire::editWithoutSelection()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    list.grid->setSelectedRow(0);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QCOMPARE(f.t.prompt.asked, QList<PromptRequest>{SelectFirst});
    QVERIFY(f.edited.isEmpty());
    QVERIFY(list.isVisible());
    QCOMPARE(f.t.windows.count(), 1);
}

void TestCheckExpire::editOpensSelectedService_data()
{
    QTest::addColumn<QString>("how");
    QTest::newRow("Edit button") << "button";
    QTest::newRow("double click") << "double";
    QTest::newRow("Return key") << "return";
}

void TestCheckExpire::editOpensSelectedService()
{
    QFETCH(QString, how);
    Fixture f;
    f.add(QStringLiteral("first"), expiring(0));
    Dates both = expiring(1, true, 1);
    both.change = true;
    both.changeIn = -1;
    f.add(QStringLiteral("second"), both);
    f.add(QStringLiteral("third"), expiring(-9));
    // The dialog behind the callback makes the record due no more.
    frmCheckExpire list(f.t.services, [&f](const QString &service) {
        f.edited << service;
        QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("first")));
    });
    QVERIFY(list.View_Expires());
    const QStringList before = rowsOf(*list.grid);
    QCOMPARE(before.size(), 4);
    if (how == QLatin1String("double")) {
        list.grid->setSelectedRow(1);
        QTest::mouseDClick(list.grid->viewport(), Qt::LeftButton, {},
                           list.grid->cellRect(2, 1).center());
    } else {
        list.grid->setSelectedRow(2);
        if (how == QLatin1String("button")) {
            QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
        } else {
            QTest::keyClick(list.grid->focusProxy(), Qt::Key_Return);
        }
    }
    QCOMPARE(f.edited, QStringList{QStringLiteral("second")});
    QVERIFY(f.t.prompt.asked.isEmpty());
    // Not refilled: the record that is no longer due is still listed.
    QCOMPARE(rowsOf(*list.grid), before);
    QVERIFY(list.isVisible());
}

void TestCheckExpire::editedRecordGoneSinceFilling()
{
    Fixture f;
    f.add(QStringLiteral("doomed"), expiring(0));
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    QVERIFY(f.t.state.Store->DeletePassword(QStringLiteral("doomed")));
    list.grid->setSelectedRow(1);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QVERIFY(f.edited.isEmpty());
    QCOMPARE(f.t.prompt.asked,
             (QList<PromptRequest>{
                 {QStringLiteral("The service \"doomed\" is no longer in the file!"),
                  QStringLiteral("VLM"), PromptIcon::Exclamation, PromptButtons::Ok}}));
    QVERIFY(list.isVisible());
}

void TestCheckExpire::passwordDialogStacksOverList()
{
    Fixture f;
    f.add(QStringLiteral("due"), expiring(0));
    QWidget passwordDialog;
    frmCheckExpire list(f.t.services, [&](const QString &) {
        // What the password dialog does on load.
        f.t.windows.PushWindow(&passwordDialog);
        passwordDialog.show();
    });
    QVERIFY(list.View_Expires());
    list.grid->setSelectedRow(1);
    QTest::mouseClick(list.cmdEdit, Qt::LeftButton);
    QCOMPARE(f.t.windows.count(), 2);
    QVERIFY(!list.isEnabled());
    QVERIFY(!f.main.widget.isEnabled());

    // The password dialog closes with its own refresh request.
    passwordDialog.hide();
    f.t.windows.PopWindow(true, false, 7);
    QVERIFY(list.isEnabled());
    QVERIFY(!f.main.widget.isEnabled());
    QCOMPARE(f.t.state.RefreshValue(), 7);
    f.t.state.clearRefresh();

    QTest::mouseClick(list.cmdcancel, Qt::LeftButton);
    QVERIFY(f.t.windows.isEmpty());
    QVERIFY(f.main.widget.isEnabled());
    QVERIFY(f.t.state.RefreshRequested());
    QCOMPARE(f.t.state.RefreshValue(), 0);
}

void TestCheckExpire::dateColumnsSortByDate()
{
    Fixture f;
    f.add(QStringLiteral("a"), expiring(3, true, 30));  // 10/12/2026
    f.add(QStringLiteral("b"), expiring(26, true, 30)); // 02/01/2027
    f.add(QStringLiteral("c"), expiring(-7));           // 30/11/2026
    f.add(QStringLiteral("d"), changing(-400));         // no expiration date
    frmCheckExpire list(f.t.services, f.editor());
    QVERIFY(list.View_Expires());
    const controls::Grid &grid = *list.grid;
    const auto servicesInOrder = [&grid] {
        QStringList services;
        for (int row = 1; row <= grid.rowCount(); ++row) {
            services << grid.cellText(row, 1);
        }
        return services;
    };
    const int expColumn = grid.columnIndex(QStringLiteral("ExpDate"));
    clickHeader(grid, expColumn);
    // As text "02/01/2027" would come before "10/12/2026".
    QCOMPARE(servicesInOrder(), (QStringList{"d", "c", "a", "b"}));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortAscending));
    clickHeader(grid, expColumn);
    QCOMPARE(servicesInOrder(), (QStringList{"b", "a", "c", "d"}));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortDescending));

    const int changeColumn = grid.columnIndex(QStringLiteral("ChangeDate"));
    clickHeader(grid, changeColumn);
    QCOMPARE(servicesInOrder().constLast(), QStringLiteral("d"));
    QCOMPARE(grid.columnSortOrder(changeColumn), int(controls::SortAscending));
    QCOMPARE(grid.columnSortOrder(expColumn), int(controls::SortNone));
}

void TestCheckExpire::placementKeptBetweenLists()
{
    Fixture f;
    f.t.options.AutoSaveWin = true;
    f.t.options.AutoLoadWin = true;
    f.add(QStringLiteral("due"), expiring(0));
    {
        frmCheckExpire first(f.t.services, f.editor());
        QVERIFY(first.View_Expires());
        first.resize(620, 345);
        first.move(40, 60);
        first.close();
    }
    frmCheckExpire second(f.t.services, f.editor());
    QVERIFY(second.View_Expires());
    QCOMPARE(second.size(), QSize(620, 345));
    QCOMPARE(second.pos(), QPoint(40, 60));
}

void TestCheckExpire::statusColumnFitsLongMessages_data()
{
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<bool>("wider");
    QTest::newRow("small font keeps 160") << 6 << false;
    QTest::newRow("large font widens") << 24 << true;
}

void TestCheckExpire::statusColumnFitsLongMessages()
{
    QFETCH(int, pointSize);
    QFETCH(bool, wider);
    Fixture f;
    f.add(QStringLiteral("svc"), changing(2, true, 2));
    frmCheckExpire list(f.t.services, f.editor());
    QFont font = list.grid->font();
    font.setPointSize(pointSize);
    list.grid->setFont(font);
    const int before = list.width();
    QVERIFY(list.View_Expires());
    const controls::Grid &grid = *list.grid;
    const int status = grid.columnIndex(QStringLiteral("Status"));
    const int textWidth =
        QFontMetrics(font).horizontalAdvance(QStringLiteral("2 days to changing"));
    QCOMPARE(grid.columnWidth(status) > 160, wider);
    QVERIFY(grid.columnWidth(status) > textWidth);
    int columns = 0;
    for (int column = 1; column <= grid.columnCount(); ++column) {
        columns += grid.columnWidth(column);
    }
    QCOMPARE(list.width() > before, wider);
    QVERIFY(list.width() > columns);
}

QTEST_MAIN(TestCheckExpire)
#include "test_check_expire.moc"
