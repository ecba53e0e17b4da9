#include "frmCalendar.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QCloseEvent>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

frmCalendar::frmCalendar(QWidget *owner) : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("frmCalendar"));
    setWindowTitle(QStringLiteral("Calendar"));
    // A click on the owner's drop-down button that closes the calendar must
    // not reach the button and drop the calendar down again.
    setAttribute(Qt::WA_NoMouseReplay);

    auto *host = new QFrame(this);
    host->setObjectName(QStringLiteral("ddctrl"));
    host->setFrameShape(QFrame::StyledPanel);
    ddctrl = host;

    tearOff = new QLabel(QStringLiteral("Drag to make this menu float"), ddctrl);
    tearOff->setObjectName(QStringLiteral("tearOff"));
    tearOff->setAlignment(Qt::AlignCenter);
    tearOff->setAutoFillBackground(true);
    tearOff->setBackgroundRole(QPalette::Highlight);
    tearOff->setForegroundRole(QPalette::HighlightedText);
    tearOff->setCursor(Qt::SizeAllCursor);
    tearOff->setContentsMargins(4, 2, 4, 2);
    tearOff->installEventFilter(this);

    VBCalendar1 = new QCalendarWidget(ddctrl);
    VBCalendar1->setObjectName(QStringLiteral("VBCalendar1"));
    VBCalendar1->setGridVisible(true);

    auto *hostLayout = new QVBoxLayout(ddctrl);
    hostLayout->setContentsMargins(1, 1, 1, 1);
    hostLayout->setSpacing(0);
    hostLayout->addWidget(tearOff);
    hostLayout->addWidget(VBCalendar1);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(ddctrl);

    connect(VBCalendar1, &QCalendarWidget::selectionChanged, this, &frmCalendar::Change);
    connect(VBCalendar1, &QCalendarWidget::clicked, this, &frmCalendar::picked);
    connect(VBCalendar1, &QCalendarWidget::activated, this, &frmCalendar::picked);
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                hostActivationChanged(state == Qt::ApplicationActive);
            });
}

QDate frmCalendar::Value() const
{
    return VBCalendar1->selectedDate();
}

void frmCalendar::setValue(const QDate &value)
{
    // The owner sets the date it already shows: no change to report.
    const QSignalBlocker blocker(VBCalendar1);
    VBCalendar1->setSelectedDate(value);
}

void frmCalendar::setShowState(int state)
{
    if (state != DroppedDown && state != Floating) {
        return;
    }
    if (state == m_showState) {
        return;
    }
    m_showState = state;
    applyWindowFlags();
}

void frmCalendar::applyWindowFlags()
{
    // Changing the kind of window hides it; it stays where it was.
    const bool wasVisible = isVisible();
    const QPoint at = pos();
    if (m_showState == Floating) {
        setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
        tearOff->hide();
    } else {
        setWindowFlags(Qt::Popup | Qt::FramelessWindowHint);
        tearOff->show();
    }
    move(at);
    if (wasVisible) {
        show();
    }
}

void frmCalendar::hostActivationChanged(bool active)
{
    // A closed drop-down is gone until its owner drops it down again.
    if (m_showState != Floating || m_closed) {
        return;
    }
    setVisible(active);
}

void frmCalendar::picked()
{
    Q_EMIT Change();
    close();
}

void frmCalendar::closeEvent(QCloseEvent *event)
{
    Q_EMIT CloseUp();
    m_closed = true;
    event->accept();
}

void frmCalendar::showEvent(QShowEvent *event)
{
    m_closed = false;
    QWidget::showEvent(event);
}

bool frmCalendar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != tearOff) {
        return QWidget::eventFilter(watched, event);
    }
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (mouse->button() == Qt::LeftButton) {
            m_dragging = true;
            m_dragStart = mouse->globalPosition().toPoint();
            return true;
        }
        break;
    }
    case QEvent::MouseMove: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const QPoint moved = mouse->globalPosition().toPoint() - m_dragStart;
        if (m_dragging && moved.manhattanLength() >= QApplication::startDragDistance()) {
            m_dragging = false;
            const QPoint to = pos() + moved;
            setShowState(Floating);
            move(to);
            return true;
        }
        break;
    }
    case QEvent::MouseButtonRelease:
        m_dragging = false;
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
