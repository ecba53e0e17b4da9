#include "frmMain.h"

#include "AdBanner.h"
#include "CategoryTree.h"
#include "CommandEnabling.h"
#include "FileLock.h"
#include "FileRoutines.h"
#include "Grid.h"
#include "MainCommands.h"
#include "MainMenus.h"
#include "PasswordGrid.h"
#include "PasswordStore.h"
#include "Placement.h"
#include "ResourceImages.h"
#include "Tree.h"
#include "ViewState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileInfo>
#include <QLabel>
#include <QSplitter>
#include <QStatusBar>
#include <QVBoxLayout>
#include <QVersionNumber>

frmMain::frmMain(const app::Services &services, const WindowRoutines &routines, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_routines(routines)
{
    setObjectName(QStringLiteral("frmMain"));
    // Coming back to the program brings its open dialogs back above this window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && m_marked) {
                    m_services.windows.RaiseAll();
                    askToUnlock();
                }
            });
    setMinimumSize(500, 300);
    resize(760, 480);
    buildPanes();
    buildStatusBar();
    m_menus = new MainMenus(*this, *m_passwordGrid);
    m_commands = std::make_unique<MainCommands>(services, routines, *this);
    connectCommands();
}

frmMain::~frmMain() = default;

// The banner strip (with the edition link) sits above the tree and the grid.
void frmMain::buildPanes()
{
    auto *central = new QWidget(this);
    auto *layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    pbadv = new QWidget(central);
    pbadv->setObjectName(QStringLiteral("pbadv"));
    auto *strip = new QHBoxLayout(pbadv);
    strip->setContentsMargins(0, 0, 0, 0);
    ad1 = new AdBanner(pbadv);
    m_editionLink = new QLabel(pbadv);
    m_editionLink->setObjectName(QStringLiteral("edition"));
    strip->addStretch();
    strip->addWidget(ad1);
    strip->addWidget(m_editionLink);
    strip->addStretch();
    pbadv->setFixedHeight(ad1->height());
    layout->addWidget(pbadv);

    const auto treeImages = controls::resource_images::imageList(101);
    const auto dragImages = controls::resource_images::imageList(102);
    vbuSplitter = new QSplitter(central);
    vbuSplitter->setObjectName(QStringLiteral("vbuSplitter"));
    tvtreeview = new controls::Tree(vbuSplitter);
    tvtreeview->setObjectName(QStringLiteral("tvtreeview"));
    tvtreeview->setImageList(treeImages);
    grdpw = new controls::Grid(vbuSplitter);
    grdpw->setObjectName(QStringLiteral("grdpw"));
    vbuSplitter->addWidget(tvtreeview);
    vbuSplitter->addWidget(grdpw);
    vbuSplitter->setStretchFactor(1, 1);
    vbuSplitter->setSizes({200, 560});
    layout->addWidget(vbuSplitter, 1);
    setCentralWidget(central);

    m_categoryTree = new CategoryTree(*tvtreeview, m_services.state, this);
    m_categoryTree->LoadDragIcons(dragImages);
    m_categoryTree->setGridSource(grdpw);
    m_categoryTree->setFillGrid([this](int node) { m_passwordGrid->FillGrid(node); });
    m_passwordGrid = new PasswordGrid(*grdpw, *tvtreeview, *m_categoryTree, m_services, this);
    m_passwordGrid->setImages(treeImages, dragImages);
    m_passwordGrid->SetupGridColumns();
    // Reaching for the records of a locked file asks for its password.
    tvtreeview->viewport()->installEventFilter(this);
    grdpw->viewport()->installEventFilter(this);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::MouseButtonPress && m_services.state.Locked()) {
        askToUnlock();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void frmMain::askToUnlock()
{
    if (m_services.state.Locked() && m_routines.lock != nullptr && isVisible()) {
        m_routines.lock->Unlock();
    }
}

void frmMain::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("sbstatusbar"));
    for (int i = 0; i < 3; ++i) {
        auto *panel = new QLabel(bar);
        panel->setObjectName(i == 0 ? QStringLiteral("text")
                                    : QStringLiteral("panel%1").arg(i + 1));
        bar->addWidget(panel, i == 0 ? 1 : 0);
        m_panels.append(panel);
    }
}

QLabel *frmMain::statusPanel(const QString &key) const
{
    for (QLabel *panel : m_panels) {
        if (panel->objectName() == key) {
            return panel;
        }
    }
    return nullptr;
}

QLabel *frmMain::statusPanel(int index) const
{
    return m_panels.value(index);
}

QAction *frmMain::treeViewItem() const
{
    return m_menus->item(QStringLiteral("mnuView"), 2);
}

QAction *frmMain::statusBarItem() const
{
    return m_menus->item(QStringLiteral("mnuView"), 1);
}

void frmMain::connectCommands()
{
    connect(m_menus, &MainMenus::commandTriggered, this, &frmMain::runCommand);
    connect(m_passwordGrid, &PasswordGrid::commandRequested, this, &frmMain::runCommand);
    connect(m_menus, &MainMenus::reloadChosen, this,
            [this](int position) { m_commands->reload(position); });
    connect(m_passwordGrid, &PasswordGrid::recordPopupRequested, m_menus,
            &MainMenus::execRecordPopup);
    connect(m_menus, &MainMenus::editMenuShowing, this, &frmMain::applyRowRules);
    connect(m_menus, &MainMenus::passwordMenuShowing, this, &frmMain::applyRowRules);
    connect(m_passwordGrid, &PasswordGrid::selectionChanged, this, &frmMain::applyRowRules);

    const QString view = QStringLiteral("mnuView");
    connect(m_menus->item(view, 0), &QAction::toggled, this, [this](bool on) {
        if (on) {
            m_menus->buildToolbar();
            ApplyToolbarFileState(*m_menus, !m_services.state.Store->FileName().isEmpty());
        } else {
            m_menus->removeToolbar();
        }
    });
    connect(m_menus->item(view, 1), &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    connect(m_menus->item(view, 2), &QAction::toggled, this, [this](bool on) {
        tvtreeview->setVisible(on);
        if (m_passwordGrid->treeViewChecked() == on) {
            return; // restored before the first fill: the grid shows it already
        }
        m_passwordGrid->setTreeViewChecked(on);
        m_passwordGrid->FillGrid(tvtreeview->selectedNode());
    });
}

void frmMain::runCommand(MainCommand command)
{
    m_commands->run(command);
}

void frmMain::applyRowRules()
{
    SelectedRow row;
    row.selected = m_passwordGrid->rowSelected && grdpw->selectedRow() > 0;
    row.url = m_passwordGrid->selectedCellFilled(QStringLiteral("URL"));
    row.expireUrl = m_passwordGrid->selectedCellFilled(QStringLiteral("ExpURL"));
    row.changeUrl = m_passwordGrid->selectedCellFilled(QStringLiteral("ChangeURL"));
    ApplyEditMenuState(*m_menus, row);
    ApplyPasswordMenuState(*m_menus, row.selected);
}

ViewStateParts frmMain::viewStateParts()
{
    return {*vbuSplitter,    *tvtreeview,      *statusBar(),
            *treeViewItem(), *statusBarItem(), *m_menus->item(QStringLiteral("mnuView"), 0),
            *grdpw,          *m_passwordGrid};
}

void frmMain::saveViewState()
{
    SaveViewState(viewStateParts(), m_services.settings);
}

void frmMain::Load()
{
    app::RunState &state = m_services.state;
    m_editionLink->hide();
    ReInitMenu();
    if (m_menus->item(QStringLiteral("mnuView"), 0)->isChecked()) {
        m_menus->buildToolbar();
    }
    // The window shows before its first refresh (under the New/Open dialog):
    // what it offers must already match the file.
    ApplyFileState(*m_menus, !state.Store->FileName().isEmpty());
    RestorePlacement(*this, Tag, this, m_services.options, m_services.settings);
    view_ad();
    m_menus->loadReloadItems(m_services.recent);
    // The columns and the sort first: the first fill comes out sorted, in one go.
    RestoreGridState(viewStateParts(), m_services.settings);
    m_marked = true;
    if (state.FirstStart) {
        show();
        activateWindow();
        state.FirstStart = false;
        const ProgramOptions &options = m_services.options;
        if (options.ViewTips && options.StartupType < 2) {
            m_routines.windows.ShowTip();
            m_services.windows.waitUntilEmpty();
        }
        const int refreshes = m_refreshes;
        if (state.Store->FileName().isEmpty() && !state.Locked() && options.StartupType < 2 &&
            options.ViewWizard) {
            m_routines.files.OpenOrNew(true);
        }
        // A file opened or made from the wizard has been shown by then.
        if (m_refreshes == refreshes) {
            UpdateView(0);
        }
        if (options.StartupType == 1) {
            showMinimized();
        }
    } else {
        UpdateView(0);
        show();
        activateWindow();
    }
    setWindowTitle(state.AppTitle);
    RestoreViewState(viewStateParts(), m_services.settings);
    if (state.Locked()) {
        showLocked();
        askToUnlock();
    }
}

void frmMain::view_ad()
{
    if (ad1->active()) {
        return;
    }
    const QVersionNumber version = QVersionNumber::fromString(QApplication::applicationVersion());
    ad1->adsize = 6;
    ad1->softwareid = 731;
    ad1->major = version.majorVersion();
    ad1->minor = version.minorVersion();
    ad1->revision = version.microVersion();
    ad1->Start();
}

void frmMain::UpdateView(qint32 value)
{
    refresh(value, QString());
}

void frmMain::UpdateViewAt(const QString &nodeKey, int row)
{
    // The tree comes back on that node and the grid is filled once, for it.
    refresh(0, nodeKey);
    if (row > 0 && row <= grdpw->rowCount()) {
        grdpw->setSelectedRow(row);
    }
}

void frmMain::refresh(qint32 value, const QString &nodeKey)
{
    ++m_refreshes;
    if (m_services.state.Locked()) {
        showLocked();
        return;
    }
    if (windowTitle().endsWith(files::FileLock::LockedSuffix)) {
        setWindowTitle(m_services.state.AppTitle);
        statusPanel(0)->clear();
    }
    if (value != 0) {
        m_passwordGrid->FillGrid(value);
    } else {
        m_categoryTree->LoadTree(nodeKey); // and fills the grid, once
    }
    ApplyFileState(*m_menus, !m_services.state.Store->FileName().isEmpty());
    applyRowRules();
}

// Nothing of the file is left to show: its name, and that it is locked.
void frmMain::showLocked()
{
    tvtreeview->clear();
    grdpw->clearRows();
    m_passwordGrid->rowSelected = false;
    m_categoryTree->currentNodeIndex = 0;
    ApplyFileState(*m_menus, false);
    applyRowRules();
    const QString shown =
        QFileInfo(m_services.state.LockedFile).fileName() + files::FileLock::LockedSuffix;
    setWindowTitle(m_services.state.AppTitle + QStringLiteral(" - ") + shown);
    statusPanel(0)->setText(shown);
}

void frmMain::ShowStatusNote(const QString &note)
{
    statusPanel(0)->setText(note);
}

std::pair<QString, int> frmMain::ViewPosition() const
{
    return {tvtreeview->key(tvtreeview->selectedNode()), grdpw->selectedRow()};
}

void frmMain::RestoreViewPosition(const QString &nodeKey, int row)
{
    if (const int node = tvtreeview->nodeIndex(nodeKey)) {
        tvtreeview->setSelectedNode(node);
    }
    if (row > 0 && row <= grdpw->rowCount()) {
        grdpw->setSelectedRow(row);
    }
}

void frmMain::ReloadMenu()
{
    m_menus->ReloadMenu(m_services.recent, m_services.options.HistorySize);
}

void frmMain::ReInitMenu()
{
    m_menus->ReInitMenu(m_services.options.ViewMenuIcon);
}

void frmMain::GotoSysTray()
{
    m_services.state.TrayMode = true;
    m_services.state.requestSwitch();
    close();
}

void frmMain::HandOver(const QByteArray &payload)
{
    m_routines.files.ReceiveHandOver(this, payload);
}

void frmMain::closeEvent(QCloseEvent *event)
{
    app::RunState &state = m_services.state;
    // A switch to the tray is not a goodbye: nothing is asked.
    if (!state.TrayMode && !m_routines.files.ConfirmExit()) {
        event->ignore();
        return;
    }
    saveViewState();
    SavePlacement(*this, Tag, m_services.options, m_services.settings);
    m_menus->removeToolbar();
    m_menus->ReInitMenu(false);
    ad1->Stop();
    ad1->setActive(false);
    m_marked = false;
    if (!state.SwitchWindow()) {
        state.requestExit();
    }
    event->accept();
}
