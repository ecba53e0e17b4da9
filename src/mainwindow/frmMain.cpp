#include "frmMain.h"

#include "PasswordStore.h"
#include "Placement.h"

#include <QCloseEvent>
#include <QTreeWidget>

frmMain::frmMain(const app::Services &services, files::FileRoutines &files, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_files(files)
{
    setObjectName(QStringLiteral("frmMain"));
    setMinimumSize(500, 300);
    resize(760, 480);
    m_tree = new QTreeWidget(this);
    m_tree->setObjectName(QStringLiteral("tvtreeview"));
    m_tree->setHeaderHidden(true);
    setCentralWidget(m_tree);
}

frmMain::~frmMain() = default;

void frmMain::Load()
{
    app::RunState &state = m_services.state;
    RestorePlacement(*this, Tag, this, m_services.options, m_services.settings);
    m_marked = true;
    if (state.FirstStart) {
        show();
        activateWindow();
        state.FirstStart = false;
        const ProgramOptions &options = m_services.options;
        if (state.Store->FileName().isEmpty() && options.StartupType < 2 && options.ViewWizard) {
            m_files.OpenOrNew(true);
        }
        UpdateView(0);
        if (m_services.options.StartupType == 1) {
            showMinimized();
        }
    } else {
        UpdateView(0);
        show();
        activateWindow();
    }
    setWindowTitle(state.AppTitle);
}

void frmMain::UpdateView(qint32 value)
{
    if (value != 0) {
        return; // only a node's records change; the grid is not here yet
    }
    m_tree->clear();
    const PasswordStore &store = *m_services.state.Store;
    auto *root = new QTreeWidgetItem(m_tree, QStringList{store.Title()});
    root->setData(0, Qt::UserRole, QStringLiteral("Root"));
}

void frmMain::ReloadMenu() {}

void frmMain::ReInitMenu() {}

void frmMain::GotoSysTray()
{
    m_services.state.TrayMode = true;
    m_services.state.requestSwitch();
    close();
}

void frmMain::SetMenuEnabled(bool /*enabled*/) {}

void frmMain::HandOver(const QByteArray &payload)
{
    m_files.ReceiveHandOver(this, payload);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    app::RunState &state = m_services.state;
    // A switch to the tray is not a goodbye: nothing is asked.
    if (!state.TrayMode && !m_files.ConfirmExit()) {
        event->ignore();
        return;
    }
    SavePlacement(*this, Tag, m_services.options, m_services.settings);
    m_marked = false;
    if (!state.SwitchWindow()) {
        state.requestExit();
    }
    event->accept();
}
