#pragma once

// The life of any dialog, checked from a row: while open it holds the window
// below; closed by one path it gives it back, asks for its refresh and is
// placed where it was left when opened again.

#include "TestServices.h"

#include <functional>
#include <QAbstractButton>
#include <QApplication>
#include <QPointer>
#include <QTest>

struct DialogRow
{
    std::function<QWidget *()> open; // shown, as the program shows it
    QString close; // "esc", "enter", "close", "destroy", "enter:<button>" or "<button>"
    // On the window stack, else modal or a popup; what closing asks for.
    bool stacked = true, refresh = true, menuOnly = false, placement = true;
    qint32 value = 0;
};

inline void closeDialog(QWidget &dialog, const QString &how)
{
    QWidget *focus = dialog.focusWidget() != nullptr ? dialog.focusWidget() : &dialog;
    if (how.startsWith("enter:")) {
        focus = dialog.findChild<QAbstractButton *>(how.mid(6));
        focus->setFocus();
    }
    if (how == "esc" || how.startsWith("enter")) {
        QTest::keyClick(focus, how == "esc" ? Qt::Key_Escape : Qt::Key_Return);
    } else if (how == "close") {
        dialog.close();
    } else if (how == "destroy") {
        delete &dialog;
    } else {
        QTest::mouseClick(dialog.findChild<QAbstractButton *>(how), Qt::LeftButton);
    }
}

inline void checkDialog(TestServices &t, const QWidget &below, const DialogRow &row)
{
    const qsizetype depth = t.windows.count();
    QPointer<QWidget> dialog = row.open();
    QVERIFY(dialog->isVisible() && !t.state.RefreshRequested());
    QCOMPARE(t.windows.count(), depth + (row.stacked ? 1 : 0));
    QCOMPARE(t.windows.top() == dialog, row.stacked);
    QVERIFY(!below.isEnabled() || QApplication::activeModalWidget() == dialog ||
            QApplication::activePopupWidget() == dialog);
    const QRect moved = dialog->geometry().translated(37, 23).adjusted(0, 0, 40, 30);
    dialog->setGeometry(moved);
    const QRect placed = dialog->geometry(); // a fixed-size window only moves
    closeDialog(*dialog, row.close);
    QVERIFY(dialog.isNull() || !dialog->isVisible());
    QCOMPARE(t.windows.count(), depth);
    QVERIFY(below.isEnabled() && QApplication::activeModalWidget() == nullptr);
    QCOMPARE(t.state.RefreshRequested(), row.refresh);
    QCOMPARE(t.state.MenuOnlyRefresh(), row.menuOnly);
    QCOMPARE(t.state.RefreshValue(), row.value);
    // Deleting the closed window leaves nothing more to do.
    t.state.clearRefresh();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(!t.state.RefreshRequested());
    const QPointer<QWidget> again = row.open();
    QCOMPARE(again->geometry() == placed, row.placement);
    again->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
