#pragma once

#include <QPointer>
#include <QWidget>

class QLineEdit;
class QToolButton;

namespace dialogs {

// A pair of arrow buttons that counts the number in a buddy text field up or
// down, within a range. The buddy's text is the value: a user may type in it
// and the next step starts from what was typed (text that is not a number
// counts as 0). The arrow keys and the mouse wheel over the buddy step too.
class UpDown : public QWidget
{
    Q_OBJECT

public:
    explicit UpDown(QWidget *parent = nullptr);

    void setBuddy(QLineEdit *buddy);
    void setRange(int minimum, int maximum);

    // The buddy's number, 0 when its text is not one.
    int value() const;
    void stepBy(int steps);

    QToolButton *upButton() const { return m_up; }
    QToolButton *downButton() const { return m_down; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QPointer<QLineEdit> m_buddy;
    QToolButton *m_up = nullptr;
    QToolButton *m_down = nullptr;
    int m_minimum = 0;
    int m_maximum = 100;
};

} // namespace dialogs
