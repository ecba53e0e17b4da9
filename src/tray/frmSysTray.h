#pragma once

#include "PopupMenu.h"

#include <memory>
#include <optional>
#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class QWidget;

// The program's icon in the notification area and the popup menu shown from
// it. It knows nothing about passwords: the tray window fills the menu and
// reacts to the events. Items are numbered from 1; an item named by a number
// outside the menu, or by a key no item has, is "subscript out of range":
// the operations then answer false (or nothing) and change nothing.
class frmSysTray : public QObject
{
    Q_OBJECT

public:
    static constexpr qsizetype TipCapacity = 63; // characters, as the tip field holds

    explicit frmSysTray(QObject *parent = nullptr);
    ~frmSysTray() override;

    // Shows the icon with the program's name as its tip.
    void Initialise(const QIcon &icon, QWidget *owner);

    QString ToolTip() const { return m_tip; }
    void setToolTip(const QString &tip);
    QIcon IconHandle() const { return m_iconImage; }
    void setIconHandle(const QIcon &icon);
    void setImageList(std::shared_ptr<const controls::ImageList> images);
    controls::PopupMenu &PopupMenuObject() { return m_menu; }

    int AddMenuItem(const QString &caption, const QString &key, bool isDefault, qint64 itemData,
                    int parent, const QString &image, bool checked, bool enabled);
    bool EnableMenuItem(int item, bool enabled);
    bool EnableMenuItem(const QString &key, bool enabled);
    bool RemoveMenuItem(int item);
    bool RemoveMenuItem(const QString &key);
    std::optional<bool> Default(int item) const;
    bool setDefault(int item, bool value);
    std::optional<bool> Checked(int item) const;
    bool setChecked(int item, bool value);
    void ClearMenu() { m_menu.clear(); }
    // Shows the menu at the pointer and waits; a choice raises MenuClick.
    void ShowMenu();

    // A mouse message of the icon, by its number: 512 move, 513/514/515 left
    // down/up/double, 516/517/518 right down/up/double; others are ignored.
    void mouseMessage(int message);

    QSystemTrayIcon *icon() const { return m_icon.get(); }

Q_SIGNALS:
    void SysTrayMouseDown(int button);
    void SysTrayMouseUp(int button);
    void SysTrayDoubleClick(int button);
    void SysTrayMouseMove();
    void MenuClick(int item, const QString &key);

private:
    void activated(QSystemTrayIcon::ActivationReason reason);
    int resolve(const QString &key) const;

    std::unique_ptr<QSystemTrayIcon> m_icon;
    controls::PopupMenu m_menu;
    QIcon m_iconImage;
    QString m_tip;
    QWidget *m_owner = nullptr;
};
