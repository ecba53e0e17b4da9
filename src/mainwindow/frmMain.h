#pragma once

#include "MenuTable.h"
#include "Services.h"
#include "ShowWindows.h"

#include <memory>
#include <QMainWindow>

class AdBanner;
class CategoryTree;
class MainCommands;
class MainMenus;
class PasswordGrid;
class QAction;
class QLabel;
class QSplitter;
struct ViewStateParts;

namespace controls {
class Grid;
class Tree;
} // namespace controls

// The main window: menus and toolbar, the category tree beside the password
// grid, the banner strip and the status bar. It composes those parts, runs
// its load and close sequences and offers the operations the rest of the
// program refreshes it through; its commands live in MainCommands.
class frmMain : public QMainWindow, public app::MainWindowOps
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmMain");

    frmMain(const app::Services &services, const WindowRoutines &routines,
            QWidget *parent = nullptr);
    ~frmMain() override;

    // The load sequence: menus and toolbar, placement, marker, first-start
    // work, view, caption and view state.
    void Load() override;

    void UpdateView(qint32 value) override;
    void ReloadMenu() override;
    void ReInitMenu() override;
    void GotoSysTray() override;
    void SetMenuEnabled(bool /*enabled*/) override {}
    QWidget *window() override { return this; }
    bool IsInstanceWindow() const override { return m_marked; }
    void HandOver(const QByteArray &payload) override;
    // In the first status bar panel.
    void ShowStatusNote(const QString &note) override;
    std::pair<QString, int> ViewPosition() const override;
    void RestoreViewPosition(const QString &nodeKey, int row) override;
    void UpdateViewAt(const QString &nodeKey, int row) override;
    // Starts the banner when it is not running.
    void view_ad();

    void saveViewState();
    void runCommand(MainCommand command);

    controls::Tree *tree() const { return tvtreeview; }
    CategoryTree *categoryTree() const { return m_categoryTree; }
    controls::Grid *grid() const { return grdpw; }
    PasswordGrid *passwordGrid() const { return m_passwordGrid; }
    MainMenus *menus() const { return m_menus; }
    AdBanner *banner() const { return ad1; }
    // A status bar panel by key ("text" is the first).
    QLabel *statusPanel(const QString &key) const;
    QLabel *statusPanel(int index) const;
    QAction *treeViewItem() const;
    QAction *statusBarItem() const;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildPanes();
    void buildStatusBar();
    void connectCommands();
    void applyRowRules();
    void showLocked();
    // UpdateView with, for a full one, the tree node to come back to.
    void refresh(qint32 value, const QString &nodeKey);
    void askToUnlock();
    ViewStateParts viewStateParts();

    const app::Services &m_services;
    WindowRoutines m_routines;
    QSplitter *vbuSplitter = nullptr;
    controls::Tree *tvtreeview = nullptr;
    controls::Grid *grdpw = nullptr;
    QWidget *pbadv = nullptr;
    AdBanner *ad1 = nullptr;
    QLabel *m_editionLink = nullptr;
    QList<QLabel *> m_panels;
    CategoryTree *m_categoryTree = nullptr;
    PasswordGrid *m_passwordGrid = nullptr;
    MainMenus *m_menus = nullptr;
    std::unique_ptr<MainCommands> m_commands;
    bool m_marked = false;
    int m_refreshes = 0; // how often the window showed the file anew
};
