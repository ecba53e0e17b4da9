#pragma once

class PasswordGrid;
class QAction;
class QSplitter;
class QStatusBar;
class QWidget;
class Settings;

namespace controls {
class Grid;
}

// The parts of the main window whose layout survives a restart.
struct ViewStateParts
{
    QSplitter &splitter;
    QWidget &treePane;
    QStatusBar &statusBar;
    QAction &treeViewItem;  // View > "&Tree View"
    QAction &statusBarItem; // View > "&StatusBar"
    QAction &toolbarItem;   // View > "&Toolbar"
    controls::Grid &grid;
    PasswordGrid &passwords;
};

// Panes and bars shown, the divider, every grid column's visibility and
// width, and the sort, under the layout settings.
void SaveViewState(const ViewStateParts &parts, Settings &settings);
void RestoreViewState(const ViewStateParts &parts, Settings &settings);
