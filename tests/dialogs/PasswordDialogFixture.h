#pragma once

// A store with categories and subcategories, a main window for the record
// dialog to sit over, and helpers to drive the dialog as a user would.

#include "frmCalendar.h"
#include "frmPW.h"
#include "TestServices.h"
#include "UpDown.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

namespace pwtest {

// The day the fixed clock of the test services stands on.
inline const QDate Today(2026, 12, 7);
inline const QDateTime Now(Today, QTime(12, 0));

inline QString shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

inline QString shortDateTime(const QDateTime &at)
{
    return QLocale::system().toString(at, QLocale::ShortFormat);
}

using MainWindow = WidgetMainWindow;

struct Fixture
{
    TestServices t;
    MainWindow main;
    QStringList opened;

    Fixture()
    {
        QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
        t.state.Store->NewFile();
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
        t.options.ExpirationDays = 45;
        t.options.ChangeDays = 20;
        t.options.ExpirationNotify = 7;
        t.options.ChangeNotify = 3;
        for (const QString &name : {QStringLiteral("Bank"), QStringLiteral("Web")}) {
            QVERIFY(store().AddCategory(name));
        }
        QVERIFY(store().AddSubCategory(code(QStringLiteral("Web")), QStringLiteral("Mail")));
        QVERIFY(store().AddSubCategory(code(QStringLiteral("Web")), QStringLiteral("Shops")));
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    PasswordStore &store() { return *t.state.Store; }
    qint16 code(const QString &category) { return store().Categories().Item(category)->codcat; }
    qint16 subCode(const QString &category, const QString &sub)
    {
        return store()
            .SubCategories()
            .Item(QString::number(code(category)) + QLatin1Char('!') + sub)
            ->CodSCat;
    }
    dialogs::OpenUrl opener()
    {
        return [this](const QString &text) { opened << text; };
    }
    const PasswordEntry *record(const QString &service)
    {
        return store().Passwords().Item(service);
    }
};

// A record with every field set, in the "Web" / "Mail" branch.
inline PasswordEntry fullRecord(Fixture &f, const QString &service)
{
    PasswordEntry e;
    e.service = service;
    e.codcat = f.code(QStringLiteral("Web"));
    e.CodSCat = f.subCode(QStringLiteral("Web"), QStringLiteral("Mail"));
    e.UserName = QStringLiteral("jane");
    e.Password = QStringLiteral("s3cr3t");
    e.Notes = QStringLiteral("first line\nsecond line");
    e.URL = QStringLiteral("https://mail.example.org");
    e.ChangeURL = QStringLiteral("https://mail.example.org/change");
    e.ExpURL = QStringLiteral("https://mail.example.org/delete");
    e.Dt_Insert = QDateTime(QDate(2025, 1, 2), QTime(8, 30));
    e.Dt_Modify = QDateTime(QDate(2026, 3, 4), QTime(17, 45));
    e.Dt_Expire = Today.addDays(30);
    e.Dt_Change = Today.addDays(-12);
    e.blExpire = true;
    e.blChange = true;
    e.blNotExpire = false;
    e.blNotChange = true;
    e.ggNotExpire = 9;
    e.ggNotChange = 4;
    return e;
}

inline QStringList items(const QComboBox &combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i) {
        list << combo.itemText(i) + QLatin1Char('=') + combo.itemData(i).toString();
    }
    return list;
}

// Replaces a field's text the way a user does: select all, type.
inline void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty()) {
        QTest::keyClick(field, Qt::Key_Backspace);
    } else {
        QTest::keyClicks(field, text);
    }
}

// Near the left edge: a check box takes clicks on its box and text only,
// and a layout may make it wider than those.
inline void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {},
                      QPoint(std::min(8, button->width() / 2), button->height() / 2));
}

} // namespace pwtest
