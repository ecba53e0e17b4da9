#pragma once

// A file with categories, subcategories and records in them, a main window
// for the editors to sit over, and helpers to drive the editors as a user does.

#include "ListBoxSink.h"
#include "TestServices.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTest>

namespace cattest {

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;
using platform::PromptRequest;

using MainWindow = WidgetMainWindow;

// Collects what the store lists, as "name=code".
class Lines final : public ListSink
{
public:
    void Clear() override { lines.clear(); }
    void AddItem(const QString &text, int itemData) override
    {
        lines << text + QLatin1Char('=') + QString::number(itemData);
    }
    QStringList lines;
};

inline QStringList sorted(QStringList list)
{
    list.sort(Qt::CaseInsensitive);
    return list;
}

inline QStringList names(const QStringList &lines)
{
    QStringList out;
    for (const QString &line : lines) {
        out << line.section(QLatin1Char('='), 0, 0);
    }
    return out;
}

// Bank (empty), Mail (records "gmail", "proton", "posteo") and Web (a
// subcategory Shops with "amazon", "ebay", and Forums, empty), and a record
// "loose" in no category.
struct Fixture
{
    TestServices t;
    MainWindow main;

    Fixture()
    {
        QSettings(QStringLiteral("Quorvan"), QStringLiteral("VLM")).clear();
        t.state.Store->SetKdfParams(KdfParams::Minimum());
        t.state.Store->NewFile();
        main.widget.resize(700, 500);
        main.widget.show();
        t.state.setCurrentMainWindow(&main);
        for (const QString &name :
             {QStringLiteral("Bank"), QStringLiteral("Mail"), QStringLiteral("Web")}) {
            QVERIFY(store().AddCategory(name));
        }
        QVERIFY(store().AddSubCategory(code(QStringLiteral("Web")), QStringLiteral("Shops")));
        QVERIFY(store().AddSubCategory(code(QStringLiteral("Web")), QStringLiteral("Forums")));
        for (const QString &service :
             {QStringLiteral("gmail"), QStringLiteral("proton"), QStringLiteral("posteo")}) {
            add(service, code(QStringLiteral("Mail")), 0);
        }
        for (const QString &service : {QStringLiteral("amazon"), QStringLiteral("ebay")}) {
            add(service, code(QStringLiteral("Web")),
                subCode(QStringLiteral("Web"), QStringLiteral("Shops")));
        }
        add(QStringLiteral("loose"), 0, 0);
    }
    ~Fixture() { t.state.setCurrentMainWindow(nullptr); }
    Fixture(const Fixture &) = delete;
    Fixture &operator=(const Fixture &) = delete;

    PasswordStore &store() { return *t.state.Store; }
    qint16 code(const QString &category)
    {
        const Category *c = store().Categories().Item(category);
        return c != nullptr ? c->codcat : qint16(-1);
    }
    qint16 subCode(const QString &category, const QString &sub)
    {
        const SubCategory *s =
            store().SubCategories().Item(QString::number(code(category)) + QLatin1Char('!') + sub);
        return s != nullptr ? s->CodSCat : qint16(-1);
    }
    void add(const QString &service, qint16 codcat, qint16 CodSCat)
    {
        PasswordEntry e;
        e.service = service;
        e.Password = service + QStringLiteral("-secret");
        e.codcat = codcat;
        e.CodSCat = CodSCat;
        QVERIFY2(store().AddPassword(e), qPrintable(store().LastError()));
    }
    // The store keeps its own order; these are sorted for comparing.
    QStringList categories()
    {
        Lines lines;
        store().FillCategoryList(lines, QString());
        return sorted(names(lines.lines));
    }
    QStringList subcategories(const QString &category)
    {
        Lines lines;
        store().FillSubCategoryList(lines, code(category), QString());
        return sorted(names(lines.lines));
    }
    // Every record as "service:category/subcategory", by name.
    QStringList records()
    {
        QStringList out;
        for (const PasswordEntry &e : store().Passwords()) {
            out << e.service + QLatin1Char(':') + store().CategoryName(e.codcat) +
                       QLatin1Char('/') + store().SubCategoryName(e.CodSCat);
        }
        out.sort();
        return out;
    }
};

inline QStringList linesOf(const QListWidget &list)
{
    QStringList out;
    for (int row = 0; row < list.count(); ++row) {
        out << list.item(row)->text();
    }
    return out;
}

inline QStringList itemsOf(const QComboBox &combo)
{
    QStringList out;
    for (int index = 0; index < combo.count(); ++index) {
        out << combo.itemText(index);
    }
    return out;
}

// The selected line's text, or "" when none is selected.
inline QString selectedLine(const QListWidget &list)
{
    const int row = dialogs::SelectedRow(list);
    return row < 0 ? QString() : list.item(row)->text();
}

// Clicks the line showing `text`, as a user picks it.
inline bool clickLine(QListWidget &list, const QString &text)
{
    const QList<QListWidgetItem *> found = list.findItems(text, Qt::MatchExactly);
    if (found.isEmpty()) {
        return false;
    }
    list.scrollToItem(found.constFirst());
    QTest::mouseClick(list.viewport(), Qt::LeftButton, Qt::NoModifier,
                      list.visualItemRect(found.constFirst()).center());
    return list.currentItem() == found.constFirst() && found.constFirst()->isSelected();
}

// Picks an entry of a drop-down list with the keyboard, as a user does.
inline bool chooseItem(QComboBox &combo, const QString &text)
{
    const int wanted = combo.findText(text);
    if (wanted < 0) {
        return false;
    }
    combo.setFocus();
    QTest::keyClick(&combo, Qt::Key_Home);
    for (int step = 0; step < wanted; ++step) {
        QTest::keyClick(&combo, Qt::Key_Down);
    }
    return combo.currentIndex() == wanted;
}

// Replaces a field's text the way a user does: select all, type.
inline void retype(QLineEdit *field, const QString &text)
{
    field->setFocus();
    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(field, Qt::Key_Backspace);
    QTest::keyClicks(field, text);
}

inline PromptRequest critical(const QString &text)
{
    return {text, QStringLiteral("VLM"), PromptIcon::Critical, PromptButtons::Ok};
}

inline PromptRequest errore()
{
    return {QStringLiteral("Errore"), QString(), PromptIcon::None, PromptButtons::Ok};
}

inline PromptRequest deleteQuestion(const QString &group, int count)
{
    return {QStringLiteral("There are ") + QString::number(count) +
                QStringLiteral(" password in this ") + group +
                QStringLiteral(".\rYES to Move, No to Delete, Cancel to abort operation."),
            QStringLiteral("VLM"), PromptIcon::Question, PromptButtons::YesNoCancel};
}

} // namespace cattest

Q_DECLARE_METATYPE(cattest::PromptAnswer)
Q_DECLARE_METATYPE(cattest::PromptRequest)
