#include "UpDown.h"

#include <algorithm>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>
#include <QVBoxLayout>
#include <QWheelEvent>

namespace dialogs {

namespace {

QToolButton *arrowButton(Qt::ArrowType arrow, QWidget *parent)
{
    auto *button = new QToolButton(parent);
    button->setArrowType(arrow);
    button->setAutoRepeat(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    button->setFixedWidth(16);
    return button;
}

} // namespace

UpDown::UpDown(QWidget *parent) : QWidget(parent)
{
    m_up = arrowButton(Qt::UpArrow, this);
    m_down = arrowButton(Qt::DownArrow, this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_up);
    layout->addWidget(m_down);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    connect(m_up, &QToolButton::clicked, this, [this] { stepBy(1); });
    connect(m_down, &QToolButton::clicked, this, [this] { stepBy(-1); });
}

void UpDown::setBuddy(QLineEdit *buddy)
{
    if (m_buddy != nullptr) {
        m_buddy->removeEventFilter(this);
    }
    m_buddy = buddy;
    if (m_buddy != nullptr) {
        m_buddy->installEventFilter(this);
        setFixedHeight(m_buddy->sizeHint().height());
    }
}

void UpDown::setRange(int minimum, int maximum)
{
    m_minimum = minimum;
    m_maximum = std::max(minimum, maximum);
}

int UpDown::value() const
{
    if (m_buddy == nullptr) {
        return 0;
    }
    bool ok = false;
    const int number = m_buddy->text().trimmed().toInt(&ok);
    return ok ? number : 0;
}

void UpDown::stepBy(int steps)
{
    if (m_buddy == nullptr || !isEnabled()) {
        return;
    }
    const int next = std::clamp(value() + steps, m_minimum, m_maximum);
    m_buddy->setText(QString::number(next));
}

bool UpDown::eventFilter(QObject *watched, QEvent *event)
{
    // Only keys and the wheel matter; other events also reach here while the
    // buddy is being destroyed, when it must not be looked at as a line edit.
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::Wheel) {
        return QWidget::eventFilter(watched, event);
    }
    if (watched == m_buddy && m_buddy->isEnabled() && !m_buddy->isReadOnly()) {
        if (event->type() == QEvent::KeyPress) {
            const auto *key = static_cast<QKeyEvent *>(event);
            if (key->key() == Qt::Key_Up || key->key() == Qt::Key_Down) {
                stepBy(key->key() == Qt::Key_Up ? 1 : -1);
                return true;
            }
        } else if (event->type() == QEvent::Wheel) {
            const int delta = static_cast<QWheelEvent *>(event)->angleDelta().y();
            if (delta != 0) {
                stepBy(delta > 0 ? 1 : -1);
                return true;
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace dialogs
