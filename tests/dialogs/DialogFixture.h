#pragma once

// What the dialog tests share: a file under a main window, a fixed day, a user's hand.

#include "DialogChecks.h"
#include "frmCalendar.h"
#include "frmCategory.h"
#include "frmChangeCat.h"
#include "frmCheckExpire.h"
#include "frmOptions.h"
#include "frmPW.h"
#include "frmSubCategory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QSettings>

inline const QDate Today(2026, 12, 7); // the fixed clock's day

inline QString shortDate(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

// Bank (empty), Mail ("gmail", "proton", "posteo"), Web with the subcategories
// Shops ("amazon", "ebay") and Forums (empty), and "loose" in no category.
struct Fixture
{
    TestServices t;
    WidgetMainWindow main;

    Fixture()
    {
        QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
        store().NewFile();
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
        for (const char *name : {"Bank", "Mail", "Web"}) {
            store().AddCategory(name);
        }
        store().AddSubCategory(code("Web"), "Shops");
        store().AddSubCategory(code("Web"), "Forums");
        for (const char *service : {"gmail", "proton", "posteo", "amazon", "ebay", "loose"}) {
            PasswordEntry e;
            e.service = service;
            const bool shop = e.service == "amazon" || e.service == "ebay";
            e.codcat = shop ? code("Web") : e.service == "loose" ? qint16(0) : code("Mail");
            e.CodSCat = shop ? subCode("Web", "Shops") : qint16(0);
            add(e);
        }
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }

    PasswordStore &store() { return *t.state.Store; }
    qint16 code(const QString &category) { return store().Categories().Item(category)->codcat; }
    qint16 subCode(const QString &category, const QString &sub)
    {
        return store().SubCategories().Item(QString::number(code(category)) + '!' + sub)->CodSCat;
    }
    void add(const PasswordEntry &e) { QVERIFY2(store().AddPassword(e), qPrintable(e.service)); }
    const PasswordEntry *record(const QString &key) { return store().Passwords().Item(key); }
    QStringList asked() const
    {
        QStringList texts;
        for (const platform::PromptRequest &request : t.prompt.asked) {
            texts << request.text;
        }
        return texts;
    }
};

// Expiring in `expireIn` days and changing in `changeIn`, 0 for neither.
inline PasswordEntry dated(const QString &service, int expireIn, int changeIn = 0, int notice = 0)
{
    PasswordEntry e;
    e.service = service;
    e.blExpire = expireIn != 0;
    e.Dt_Expire = Today.addDays(expireIn);
    e.blChange = changeIn != 0;
    e.Dt_Change = Today.addDays(changeIn);
    e.blNotExpire = e.blNotChange = true;
    e.ggNotExpire = e.ggNotChange = qint16(notice);
    return e;
}

// A data row per entry of a table, named by the entry's first member.
template <typename Row, std::size_t N> void addRows(const Row (&rows)[N])
{
    QTest::addColumn<int>("row");
    for (std::size_t i = 0; i < N; ++i) {
        QTest::newRow(rows[i].name) << int(i);
    }
}

inline QStringList linesOf(const QListWidget &list)
{
    QStringList out;
    for (int row = 0; row < list.count(); ++row) {
        out << list.item(row)->text();
    }
    out.sort(Qt::CaseInsensitive);
    return out;
}

inline void clickLine(QListWidget &list, const QString &text)
{
    const QList<QListWidgetItem *> found = list.findItems(text, Qt::MatchExactly);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(found[0]).center());
}

// With the keyboard, as a user picks an entry of a drop-down list.
inline void chooseItem(QComboBox &combo, const QString &text)
{
    QTest::keyClick(&combo, Qt::Key_Home);
    for (int step = combo.findText(text); step > 0; --step) {
        QTest::keyClick(&combo, Qt::Key_Down);
    }
    QCOMPARE(combo.currentText(), text);
}

inline void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

// Near the left edge: a check box takes clicks on its box and text only.
inline void click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(std::min(8, button->width() / 2), 8));
}
