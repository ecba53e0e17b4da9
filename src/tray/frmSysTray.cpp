#include "frmSysTray.h"

#include <QCursor>
#include <QWidget>

frmSysTray::frmSysTray(QObject *parent) : QObject(parent) {}

frmSysTray::~frmSysTray()
{
    if (m_icon != nullptr) {
        m_icon->hide();
    }
}

void frmSysTray::Initialise(const QIcon &icon, QWidget *owner)
{
    m_owner = owner;
    m_iconImage = icon;
    m_icon = std::make_unique<QSystemTrayIcon>(icon);
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &frmSysTray::activated);
    setToolTip(QStringLiteral("Vellumor"));
    m_icon->show();
}

void frmSysTray::setToolTip(const QString &tip)
{
    m_tip = tip.left(TipCapacity);
    if (m_icon != nullptr) {
        m_icon->setToolTip(m_tip);
    }
}

void frmSysTray::setIconHandle(const QIcon &icon)
{
    if (icon.cacheKey() == m_iconImage.cacheKey()) {
        return;
    }
    m_iconImage = icon;
    if (m_icon != nullptr) {
        m_icon->setIcon(icon);
    }
}

void frmSysTray::setImageList(std::shared_ptr<const controls::ImageList> images)
{
    m_menu.setImageList(std::move(images));
}

int frmSysTray::AddMenuItem(const QString &caption, const QString &key, bool isDefault,
                            qint64 itemData, int parent, const QString &image, bool checked,
                            bool enabled)
{
    const int item = m_menu.addItem(caption, key, parent, image, enabled, checked, false, itemData);
    if (item > 0 && isDefault) {
        m_menu.setDefault(item, true);
    }
    return item;
}

int frmSysTray::resolve(const QString &key) const
{
    return m_menu.indexOf(key);
}

bool frmSysTray::EnableMenuItem(int item, bool enabled)
{
    if (!m_menu.contains(item)) {
        return false;
    }
    m_menu.setEnabled(item, enabled);
    return true;
}

bool frmSysTray::EnableMenuItem(const QString &key, bool enabled)
{
    return EnableMenuItem(resolve(key), enabled);
}

bool frmSysTray::RemoveMenuItem(int item)
{
    return m_menu.removeItem(item);
}

bool frmSysTray::RemoveMenuItem(const QString &key)
{
    return RemoveMenuItem(resolve(key));
}

std::optional<bool> frmSysTray::Default(int item) const
{
    return m_menu.contains(item) ? std::optional<bool>(m_menu.isDefault(item)) : std::nullopt;
}

bool frmSysTray::setDefault(int item, bool value)
{
    if (!m_menu.contains(item)) {
        return false;
    }
    m_menu.setDefault(item, value);
    return true;
}

std::optional<bool> frmSysTray::Checked(int item) const
{
    return m_menu.contains(item) ? std::optional<bool>(m_menu.checked(item)) : std::nullopt;
}

bool frmSysTray::setChecked(int item, bool value)
{
    if (!m_menu.contains(item)) {
        return false;
    }
    m_menu.setChecked(item, value);
    return true;
}

void frmSysTray::ShowMenu()
{
    // Our window to the front, so the menu closes when the user clicks elsewhere.
    if (m_owner != nullptr) {
        m_owner->activateWindow();
    }
    const int item = m_menu.exec(QCursor::pos());
    if (item > 0) {
        Q_EMIT MenuClick(item, m_menu.key(item));
    }
}

void frmSysTray::mouseMessage(int message)
{
    switch (message) {
    case 512:
        Q_EMIT SysTrayMouseMove();
        break;
    case 513:
        Q_EMIT SysTrayMouseDown(1);
        break;
    case 514:
        Q_EMIT SysTrayMouseUp(1);
        break;
    case 515:
        Q_EMIT SysTrayDoubleClick(1);
        break;
    case 516:
        Q_EMIT SysTrayMouseDown(2);
        break;
    case 517:
        Q_EMIT SysTrayMouseUp(2);
        break;
    case 518:
        Q_EMIT SysTrayDoubleClick(2);
        break;
    default:
        break;
    }
}

void frmSysTray::activated(QSystemTrayIcon::ActivationReason reason)
{
    // The desktop reports whole clicks; they are told as the press and
    // release (or double click) they stand for. A middle click says nothing.
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        mouseMessage(513);
        mouseMessage(514);
        break;
    case QSystemTrayIcon::Context:
        mouseMessage(516);
        mouseMessage(517);
        break;
    case QSystemTrayIcon::DoubleClick:
        mouseMessage(515);
        break;
    default:
        break;
    }
}
