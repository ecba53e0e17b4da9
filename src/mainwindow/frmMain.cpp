#include "frmMain.h"

#include "CategoryTree.h"
#include "Grid.h"
#include "NodeKeys.h"
#include "PasswordGrid.h"
#include "PasswordStore.h"
#include "Placement.h"
#include "ResourceImages.h"
#include "ShowWindows.h"
#include "TransferRoutines.h"
#include "Tree.h"
#include "ViewState.h"

#include <QApplication>
#include <QCloseEvent>
#include <QMenuBar>
#include <QSplitter>
#include <QStatusBar>

frmMain::frmMain(const app::Services &services, files::FileRoutines &files, QWidget *parent)
    : QMainWindow(parent), m_services(services), m_files(files)
{
    setObjectName(QStringLiteral("frmMain"));
    // Coming back to the program brings its open dialogs back above this window.
    connect(qApp, &QGuiApplication::applicationStateChanged, this,
            [this](Qt::ApplicationState state) {
                if (state == Qt::ApplicationActive && m_marked) {
                    m_services.windows.RaiseAll();
                }
            });
    setMinimumSize(500, 300);
    resize(760, 480);
    const auto treeImages = controls::resource_images::imageList(101);
    const auto dragImages = controls::resource_images::imageList(102);
    m_splitter = new QSplitter(this);
    tvtreeview = new controls::Tree(m_splitter);
    tvtreeview->setObjectName(QStringLiteral("tvtreeview"));
    tvtreeview->setImageList(treeImages);
    grdpw = new controls::Grid(m_splitter);
    grdpw->setObjectName(QStringLiteral("grdpw"));
    m_splitter->addWidget(tvtreeview);
    m_splitter->addWidget(grdpw);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setSizes({200, 560});
    setCentralWidget(m_splitter);
    m_categoryTree = new CategoryTree(*tvtreeview, services.state, this);
    m_categoryTree->LoadDragIcons(dragImages);
    m_categoryTree->setGridSource(grdpw);
    m_categoryTree->setFillGrid([this](int node) { FillGrid(node); });
    m_passwordGrid = new PasswordGrid(*grdpw, *tvtreeview, *m_categoryTree, services, this);
    m_passwordGrid->setImages(treeImages, dragImages);
    m_passwordGrid->SetupGridColumns();
    statusBar();
    buildViewMenu();
}

frmMain::~frmMain() = default;

void frmMain::buildViewMenu()
{
    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    m_toolbarItem = view->addAction(QStringLiteral("&Toolbar"));
    m_statusBarItem = view->addAction(QStringLiteral("&StatusBar"));
    m_treeViewItem = view->addAction(QStringLiteral("&Tree View"));
    for (QAction *item : {m_toolbarItem, m_statusBarItem, m_treeViewItem}) {
        item->setCheckable(true);
        item->setChecked(true);
    }
    view->addSeparator();
    view->addMenu(m_passwordGrid->columnMenu());
    view->addMenu(m_passwordGrid->sortMenu());
    view->addMenu(m_passwordGrid->sortOrderMenu());
    connect(m_statusBarItem, &QAction::toggled, this,
            [this](bool on) { statusBar()->setVisible(on); });
    connect(m_treeViewItem, &QAction::toggled, this, [this](bool on) {
        tvtreeview->setVisible(on);
        m_passwordGrid->setTreeViewChecked(on);
        FillGrid(tvtreeview->selectedNode());
    });
}

ViewStateParts frmMain::viewStateParts()
{
    return {*m_splitter,      *tvtreeview,    *statusBar(), *m_treeViewItem,
            *m_statusBarItem, *m_toolbarItem, *grdpw,       *m_passwordGrid};
}

void frmMain::setRoutines(const transfer::TransferRoutines *transfer, const ShowWindows *windows)
{
    m_openers = windows;
    PasswordGrid::Commands commands;
    if (transfer != nullptr) {
        commands.copyPassword = [transfer](const QString &s) { transfer->CopyPassword(s); };
        commands.copyUserPassword = [transfer](const QString &s) { transfer->CopyUserPassword(s); };
        commands.copyUrl = [transfer](const QString &s) { transfer->CopyURL(s); };
        commands.executeUrl = [transfer](const QString &url) { transfer->ExecuteUrlThenTray(url); };
    }
    if (windows != nullptr) {
        commands.editPassword = [this, windows] {
            const QString service = m_passwordGrid->GetSelectedService();
            if (!service.isEmpty()) {
                windows->ShowEditPassword(service, m_categoryTree->currentNodeIndex);
            }
        };
        commands.deletePassword = [this, windows] {
            const QString service = m_passwordGrid->GetSelectedService();
            if (!service.isEmpty()) {
                windows->DeleteServicePrompt(service, m_categoryTree->currentNodeIndex);
            }
        };
    }
    m_passwordGrid->setCommands(std::move(commands));
}

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
        if (options.ViewTips && options.StartupType < 2 && m_openers != nullptr) {
            m_openers->ShowTip();
            m_services.windows.waitUntilEmpty();
        }
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
    RestoreViewState(viewStateParts(), m_services.settings);
}

void frmMain::UpdateView(qint32 value)
{
    if (value != 0) {
        FillGrid(value);
        return;
    }
    m_categoryTree->LoadTree();
    FillGrid(tvtreeview->firstNode());
}

void frmMain::FillGrid(int node)
{
    m_passwordGrid->FillGrid(node);
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
    SaveViewState(viewStateParts(), m_services.settings);
    SavePlacement(*this, Tag, m_services.options, m_services.settings);
    m_marked = false;
    if (!state.SwitchWindow()) {
        state.requestExit();
    }
    event->accept();
}
