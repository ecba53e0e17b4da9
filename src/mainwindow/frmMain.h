#pragma once

#include "FileRoutines.h"
#include "Services.h"

#include <QMainWindow>

class CategoryTree;
class PasswordGrid;
class QAction;
class QSplitter;
class ShowWindows;
struct ViewStateParts;

namespace transfer {
class TransferRoutines;
}

namespace controls {
class Grid;
class Tree;
} // namespace controls

// The main window. For now it holds what start-up, the hand-over and the
// switch to the tray need: its load and close sequences and the public
// operations; the tree, grid, menus and toolbar fill it in later.
class frmMain : public QMainWindow, public app::MainWindowOps
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmMain");

    frmMain(const app::Services &services, files::FileRoutines &files, QWidget *parent = nullptr);
    ~frmMain() override;

    // Copying, typing, links and dialogs for the grid's actions; none until set.
    void setRoutines(const transfer::TransferRoutines *transfer, const ShowWindows *windows);

    // The load sequence: placement, marker, first-start work, view, caption.
    void Load() override;

    void UpdateView(qint32 value) override;
    void ReloadMenu() override;
    void ReInitMenu() override;
    void GotoSysTray() override;
    void SetMenuEnabled(bool enabled) override;
    QWidget *window() override { return this; }
    bool IsInstanceWindow() const override { return m_marked; }
    void HandOver(const QByteArray &payload) override;

    controls::Tree *tree() const { return tvtreeview; }
    CategoryTree *categoryTree() const { return m_categoryTree; }
    controls::Grid *grid() const { return grdpw; }
    PasswordGrid *passwordGrid() const { return m_passwordGrid; }
    QAction *treeViewItem() const { return m_treeViewItem; }
    QAction *statusBarItem() const { return m_statusBarItem; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    const app::Services &m_services;
    files::FileRoutines &m_files;
    void FillGrid(int node);
    void buildViewMenu();
    ViewStateParts viewStateParts();

    QSplitter *m_splitter = nullptr;
    controls::Tree *tvtreeview = nullptr;
    controls::Grid *grdpw = nullptr;
    CategoryTree *m_categoryTree = nullptr;
    PasswordGrid *m_passwordGrid = nullptr;
    const ShowWindows *m_openers = nullptr;
    QAction *m_treeViewItem = nullptr;
    QAction *m_statusBarItem = nullptr;
    QAction *m_toolbarItem = nullptr;
    bool m_marked = false;
};
