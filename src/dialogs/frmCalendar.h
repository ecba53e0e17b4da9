#pragma once

#include <QDate>
#include <QPoint>
#include <QWidget>

class QCalendarWidget;
class QCloseEvent;
class QLabel;

// The date drop-down: a month calendar that drops down under a date field,
// reports the date the user moves to or picks, and closes itself once a day
// is picked. Dragging its caption strip tears it off into a small floating
// window that stays until closed. The owner creates it once and shows it
// again for each drop-down.
class frmCalendar : public QWidget
{
    Q_OBJECT

public:
    static constexpr int DroppedDown = 1;
    static constexpr int Floating = 2;

    explicit frmCalendar(QWidget *owner = nullptr);

    // Nothing dismisses the drop-down without a choice: closing it keeps the
    // calendar's date.
    bool Cancelled() const { return false; }
    QDate Value() const;
    void setValue(const QDate &value);
    int ShowState() const { return m_showState; }
    void setShowState(int state);

    // The owner application became active or inactive: a floating drop-down
    // follows it, like the tool windows of other programs.
    void hostActivationChanged(bool active);

    QWidget *ddctrl = nullptr;
    QLabel *tearOff = nullptr;
    QCalendarWidget *VBCalendar1 = nullptr;

Q_SIGNALS:
    // The calendar's date changed or a day was picked.
    void Change();
    // The drop-down is closing.
    void CloseUp();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void picked();
    void applyWindowFlags();

    int m_showState = DroppedDown;
    bool m_dragging = false;
    bool m_closed = true;
    QPoint m_dragStart;
};
