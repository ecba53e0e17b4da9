#include "ViewState.h"

#include "Grid.h"
#include "PasswordGrid.h"
#include "Settings.h"

#include <QAction>
#include <QDataStream>
#include <QMenu>
#include <QSplitter>
#include <QStatusBar>

namespace {

// The stored columns run from "Service" (4) to the last before the notes line.
constexpr int FirstStoredColumn = 4;

int dividerPosition(const QSplitter &splitter)
{
    const QList<int> sizes = splitter.sizes();
    return sizes.isEmpty() ? 0 : sizes.first();
}

// A hidden pane counts 0 in sizes(), yet the splitter keeps the size it will
// give the pane back when shown; saveState() is where it tells that size.
// Keeping the 0 would bring the tree back with no width at the next start.
int shownDividerPosition(const QSplitter &splitter, const QWidget &pane)
{
    if (!pane.isHidden()) {
        return dividerPosition(splitter);
    }
    QDataStream stream(splitter.saveState());
    qint32 marker = 0;
    qint32 version = 0;
    QList<int> kept;
    stream >> marker >> version >> kept;
    constexpr qint32 splitterMarker = 0xff;
    if (stream.status() != QDataStream::Ok || marker != splitterMarker || kept.isEmpty()) {
        return dividerPosition(splitter);
    }
    return kept.first();
}

void setDividerPosition(QSplitter &splitter, int position)
{
    QList<int> sizes = splitter.sizes();
    if (sizes.size() < 2) {
        return;
    }
    const int total = sizes.at(0) + sizes.at(1);
    sizes[0] = qBound(0, position, total > 0 ? total : position);
    sizes[1] = qMax(0, total - sizes.at(0));
    splitter.setSizes(sizes);
}

qint16 toShort(int value)
{
    return static_cast<qint16>(qBound(-32768, value, 32767));
}

} // namespace

void SaveViewState(const ViewStateParts &parts, Settings &settings)
{
    SettingsComponent &s = settings.OpenLayoutSettings();
    s.SaveBoolean(QStringLiteral("VTreeView"), !parts.treePane.isHidden());
    s.SaveInteger(QStringLiteral("VSplitterHide"),
                  parts.treePane.isHidden() ? qint16(1) : qint16(0));
    s.SaveBoolean(QStringLiteral("VStatusBar"), !parts.statusBar.isHidden());
    s.SaveBoolean(QStringLiteral("VToolBar"), parts.toolbarItem.isChecked());
    s.SaveInteger(QStringLiteral("VSplitterCenter"),
                  toShort(shownDividerPosition(parts.splitter, parts.treePane)));
    controls::Grid &grid = parts.grid;
    for (int i = FirstStoredColumn; i <= grid.columnCount() - 1; ++i) {
        s.SaveBoolean(QStringLiteral("ColVis%1").arg(i), grid.columnVisible(i));
        s.SaveLong(QStringLiteral("ColWidth%1").arg(i), grid.columnWidth(i));
    }
    QString sortKey;
    for (const QAction *item : parts.passwords.sortMenu()->actions()) {
        if (item->isChecked()) {
            sortKey = item->data().toString();
            break;
        }
    }
    const bool sorted = !sortKey.isEmpty();
    s.SaveBoolean(QStringLiteral("Sorted"), sorted);
    if (sorted) {
        s.SaveLong(QStringLiteral("SortCol"), grid.columnIndex(sortKey));
        s.SaveLong(QStringLiteral("SortOrd"),
                   parts.passwords.orderAscendingItem()->isChecked() ? 1 : 2);
    }
    settings.ReleaseLayoutSettings();
}

void RestoreGridState(const ViewStateParts &parts, Settings &settings)
{
    SettingsComponent &s = settings.OpenLayoutSettings();
    // Without the tree the grid lists every record.
    parts.passwords.setTreeViewChecked(s.GetInteger(QStringLiteral("VSplitterHide"), 0) == 0);
    controls::Grid &grid = parts.grid;
    grid.setRedraw(false);
    for (int i = FirstStoredColumn; i <= grid.columnCount() - 1; ++i) {
        const bool visible = s.GetBoolean(QStringLiteral("ColVis%1").arg(i), true);
        const QString key = grid.columnKey(i);
        grid.setColumnVisible(key, visible);
        for (QAction *item : parts.passwords.columnMenu()->actions()) {
            if (item->data().toString() == key) {
                item->setChecked(visible);
            }
        }
        grid.setColumnWidth(i, s.GetLong(QStringLiteral("ColWidth%1").arg(i), grid.columnWidth(i)));
    }
    grid.setRedraw(true);
    if (s.GetBoolean(QStringLiteral("Sorted"), true)) {
        const int column =
            s.GetLong(QStringLiteral("SortCol"), grid.columnIndex(QStringLiteral("Service")));
        const int order = s.GetLong(QStringLiteral("SortOrd"), 1);
        parts.passwords.SortGrid(column, false, true, order == 2 ? 2 : 1);
    }
    settings.ReleaseLayoutSettings();
}

void RestoreViewState(const ViewStateParts &parts, Settings &settings)
{
    SettingsComponent &s = settings.OpenLayoutSettings();
    const qint16 hidden = s.GetInteger(QStringLiteral("VSplitterHide"), 0);
    parts.treePane.setHidden(hidden != 0);
    parts.treeViewItem.setChecked(hidden == 0);
    const bool statusBar = s.GetBoolean(QStringLiteral("VStatusBar"), true);
    parts.statusBar.setHidden(!statusBar);
    parts.statusBarItem.setChecked(statusBar);
    parts.toolbarItem.setChecked(s.GetBoolean(QStringLiteral("VToolBar"), true));
    setDividerPosition(parts.splitter,
                       s.GetInteger(QStringLiteral("VSplitterCenter"),
                                    toShort(shownDividerPosition(parts.splitter, parts.treePane))));
    parts.passwords.RestoreGridDisplay();
    parts.grid.update();
    settings.ReleaseLayoutSettings();
}
