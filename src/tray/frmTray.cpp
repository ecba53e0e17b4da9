#include "frmTray.h"

#include <QCloseEvent>
#include <QMenu>

frmTray::frmTray(const app::Services &services, files::FileRoutines &files, QWidget *parent)
    : QWidget(parent), m_services(services), m_files(files)
{
    setObjectName(QStringLiteral("frmTray"));
}

frmTray::~frmTray()
{
    removeIcon();
}

void frmTray::Load()
{
    showIcon();
    m_marked = true;
    m_services.state.FirstStart = false;
}

void frmTray::showIcon()
{
    if (m_icon != nullptr) {
        return;
    }
    m_menu = std::make_unique<QMenu>();
    m_icon = std::make_unique<QSystemTrayIcon>(QIcon(QStringLiteral(":/vellumor/app.png")));
    connect(m_icon.get(), &QSystemTrayIcon::activated, this, &frmTray::activated);
    UpdateView(0);
    m_icon->show();
    m_menuEnabled = true;
}

void frmTray::removeIcon()
{
    if (m_icon != nullptr) {
        m_icon->hide();
    }
    m_icon.reset();
    m_menu.reset();
}

void frmTray::UpdateView(qint32 /*value*/)
{
    if (m_menu == nullptr) {
        return;
    }
    m_menu->clear();
    QAction *open = m_menu->addAction(QStringLiteral("&Open VLM"));
    connect(open, &QAction::triggered, this, [this] { MenuClick(QStringLiteral("open")); });
    if (m_services.options.SysTrayDef == 1) {
        m_menu->setDefaultAction(open);
    }
    m_menu->addSeparator();
    QAction *exit = m_menu->addAction(QStringLiteral("&Exit VLM"));
    connect(exit, &QAction::triggered, this, [this] { MenuClick(QStringLiteral("close")); });
    m_icon->setToolTip(QStringLiteral("Vellumor!"));
}

void frmTray::activated(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Context:
        if (m_menuEnabled) {
            m_menu->popup(QCursor::pos());
        }
        break;
    case QSystemTrayIcon::DoubleClick:
        OpenMainWindow();
        break;
    default:
        break;
    }
}

void frmTray::MenuClick(const QString &key)
{
    if (key == QStringLiteral("open")) {
        OpenMainWindow();
    } else if (key == QStringLiteral("close")) {
        close();
    }
}

void frmTray::OpenMainWindow()
{
    if (!m_menuEnabled) {
        return;
    }
    m_services.state.TrayMode = false;
    m_services.state.requestSwitch();
    close();
}

void frmTray::HandOver(const QByteArray &payload)
{
    m_files.ReceiveHandOver(this, payload);
}

void frmTray::closeEvent(QCloseEvent *event)
{
    app::RunState &state = m_services.state;
    if (!state.SwitchWindow() && !m_files.ConfirmExit()) {
        event->ignore();
        return;
    }
    removeIcon();
    m_marked = false;
    if (!state.SwitchWindow()) {
        state.requestExit();
    }
    event->accept();
}
