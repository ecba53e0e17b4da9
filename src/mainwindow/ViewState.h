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
// The grid's part, restored before the grid is first filled so that fill
// comes out sorted: columns, the sort, and whether the grid lists every record.
void RestoreGridState(const ViewStateParts &parts, Settings &settings);
// The rest, once the window is shown: panes, bars and the divider.
void RestoreViewState(const ViewStateParts &parts, Settings &settings);
