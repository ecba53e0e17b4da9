#include "MenuTable.h"

#include <array>

namespace menu_table {

namespace {

using enum MainCommand;

constexpr TopMenu TopMenus[] = {
    {"mnuFileTop", "&File", "mnuFile", false},
    {"mnuEditTop", "&Edit", "mnuEdit", false},
    {"mnuViewTop", "&View", "mnuView", false},
    {"mnuPasswordTop", "&Password", "mnuPassword", false},
    {"mnuOptionTop", "&Option", "mnuOption", false},
    {"mnuHelpTop", "&Help", "mnuHelp", false},
    {"mnuPopupColTop", "PopupCol", "mnuPopupCol", true},
    {"mnuPopupTop", "PopupLV", "mnuPopup", true},
};

// The column popup and the View menu's "&Column", "&Sort" and "Sort &Order"
// belong to the grid, which fills them from its columns.
constexpr MenuItem Items[] = {
    {"mnuFile", 0, "&New...", "Ctrl+N", FileNew, Plain, nullptr},
    {"mnuFile", 1, "&Open...", "Ctrl+O", FileOpen, Plain, nullptr},
    {"mnuFile", 2, "&Reload ", "", None, Plain, "mnuReload"},
    {"mnuFile", 3, "&Save", "Ctrl+S", FileSave, Plain, nullptr},
    {"mnuFile", 4, "Save &As...", "", FileSaveAs, Plain, nullptr},
    {"mnuFile", 5, "-", "", None, Plain, nullptr},
    {"mnuFile", 6, "&Import Cat/SubC...", "", FileImport, Plain, nullptr},
    {"mnuFile", 7, "&Export...", "", None, Hidden, nullptr},
    {"mnuFile", 8, "-", "", None, Hidden, nullptr},
    {"mnuFile", 9, "Pre&view", "", None, Hidden, nullptr},
    {"mnuFile", 10, "&Print", "", None, Hidden, nullptr},
    {"mnuFile", 11, "-", "", None, Plain, nullptr},
    {"mnuFile", 12, "&Exit", "", FileExit, Plain, nullptr},

    {"mnuEdit", 0, "Cu&t", "Ctrl+X", EditCut, Plain, nullptr},
    {"mnuEdit", 1, "&Copy", "Ctrl+C", EditCopy, Plain, nullptr},
    {"mnuEdit", 2, "&Paste as New", "Ctrl+V", EditPaste, Plain, nullptr},
    {"mnuEdit", 3, "-", "", None, Plain, nullptr},
    {"mnuEdit", 4, "Copy Pass&word", "", EditCopyPassword, Plain, nullptr},
    {"mnuEdit", 5, "Copy &User/Password", "", EditCopyUserPassword, Plain, nullptr},
    {"mnuEdit", 6, "Copy &URL", "", EditCopyUrl, Plain, nullptr},
    {"mnuEdit", 7, "-", "", None, Plain, nullptr},
    {"mnuEdit", 8, "&Execute URL", "", EditExecuteUrl, Plain, nullptr},
    {"mnuEdit", 9, "Exec. Expire-PW URL", "", EditExecuteExpireUrl, Plain, nullptr},
    {"mnuEdit", 10, "Exec. Change-PW URL", "", EditExecuteChangeUrl, Plain, nullptr},

    {"mnuView", 0, "&Toolbar", "", ViewToolbar, Checked, nullptr},
    {"mnuView", 1, "&StatusBar", "", ViewStatusBar, Checked, nullptr},
    {"mnuView", 2, "&Tree View", "", ViewTreeView, Checked, nullptr},
    {"mnuView", 3, "-", "", None, Plain, nullptr},
    {"mnuView", 4, "&Column", "", None, Plain, "mnuColumns"},
    {"mnuView", 5, "&Sort", "", None, Plain, "mnuSort"},
    {"mnuView", 6, "Sort &Order", "", None, Plain, "mnuSortOrder"},

    {"mnuPassword", 0, "&Add ...", "", PasswordAdd, Plain, nullptr},
    {"mnuPassword", 1, "&Edit ....", "", PasswordEdit, Plain, nullptr},
    {"mnuPassword", 2, "&Delete ...", "", PasswordDelete, Plain, nullptr},
    {"mnuPassword", 3, "C&hange Cat/Sub", "", None, Hidden, nullptr},
    {"mnuPassword", 4, "-", "", None, Plain, nullptr},
    {"mnuPassword", 5, "&Category Edit ...", "", CategoryEdit, Plain, nullptr},
    {"mnuPassword", 6, "&Sub Category Edit ...", "", SubCategoryEdit, Plain, nullptr},
    {"mnuPassword", 7, "-", "", None, Plain, nullptr},
    {"mnuPassword", 8, "Check Exp./Change", "", CheckExpire, Plain, nullptr},

    {"mnuOption", 0, "&Program Option ...", "", ProgramOption, Plain, nullptr},
    {"mnuOption", 1, "&Add/Change File Password ...", "", FilePassword, Plain, nullptr},
    {"mnuOption", 2, "-", "", None, Plain, nullptr},
    {"mnuOption", 3, "Save View Options Now", "", SaveViewOptions, Plain, nullptr},
    {"mnuOption", 4, "Go to System &Tray", "", GotoSysTray, Plain, nullptr},

    {"mnuHelp", 0, "&Contents", "", None, Hidden, nullptr},
    {"mnuHelp", 1, "&Search For Help On...", "", None, Hidden, nullptr},
    {"mnuHelp", 2, "-", "", None, Hidden, nullptr},
    {"mnuHelp", 3, "&WWW Link & Mail", "", None, Plain, "mnuHelpWeb"},
    {"mnuHelpWeb", 0, "Go To &Homepage", "", HelpHomepage, Plain, nullptr},
    {"mnuHelpWeb", 1, "&Email me...", "", HelpEmail, Plain, nullptr},
    {"mnuHelp", 4, "-", "", None, Plain, nullptr},
    {"mnuHelp", 5, "&About VLM...", "", HelpAbout, Plain, nullptr},

    // The record popup: each entry runs the Edit or Password command it mirrors.
    {"mnuPopup", 0, "&Execute URL", "", EditExecuteUrl, Plain, nullptr},
    {"mnuPopup", 1, "Exec. Expire-PW URL", "", EditExecuteExpireUrl, Plain, nullptr},
    {"mnuPopup", 2, "Exec. Change-PW URL", "", EditExecuteChangeUrl, Plain, nullptr},
    {"mnuPopup", 3, "-", "", None, Plain, nullptr},
    {"mnuPopup", 4, "&Cut", "", EditCut, Plain, nullptr},
    {"mnuPopup", 5, "&Copy", "", EditCopy, Plain, nullptr},
    {"mnuPopup", 6, "&Paste as New", "", EditPaste, Plain, nullptr},
    {"mnuPopup", 7, "-", "", None, Plain, nullptr},
    {"mnuPopup", 8, "Copy Pass&word", "", EditCopyPassword, Plain, nullptr},
    {"mnuPopup", 9, "Copy &User/Password", "", EditCopyUserPassword, Plain, nullptr},
    {"mnuPopup", 10, "Copy &URL", "", EditCopyUrl, Plain, nullptr},
    {"mnuPopup", 11, "-", "", None, Plain, nullptr},
    {"mnuPopup", 12, "&Add Password", "", PasswordAdd, Plain, nullptr},
    {"mnuPopup", 13, "&Edit", "", PasswordEdit, Plain, nullptr},
    {"mnuPopup", 14, "&Delete", "", PasswordDelete, Plain, nullptr},
};

// Search sits hidden between two separators, so two of them show side by side.
constexpr ToolButton ToolButtons[] = {
    {"new", "New File", "NEW", true, FileNew},
    {"open", "Open File", "OPEN", true, FileOpen},
    {"save", "Save File", "SAVE", true, FileSave},
    {"sep1", "", "", false, None},
    {"preview", "Preview", "PREVIEW", false, None},
    {"print", "Print", "PRINT", false, None},
    {"sep2", "", "", false, None},
    {"cut", "Cut", "CUT", true, EditCut},
    {"copy", "Copy", "COPY", true, EditCopy},
    {"paste", "Paste", "PASTE", true, EditPaste},
    {"sep3", "", "", true, None},
    {"search", "Search", "SEARCH", false, None},
    {"sep4", "", "", true, None},
    {"add", "Add Password", "PADD", true, PasswordAdd},
    {"edit", "Edit Password", "PEDIT", true, PasswordEdit},
    {"del", "Delete Password", "PDELETE", true, PasswordDelete},
    {"sep5", "", "", true, None},
    {"help", "Help", "HELP", true, None},
    {"what", "What's this?", "WHAT", true, None},
};

constexpr MenuIcon MenuIcons[] = {
    {"mnuFile", 0, "NEW"},       {"mnuFile", 1, "OPEN"},       {"mnuFile", 3, "SAVE"},
    {"mnuEdit", 0, "CUT"},       {"mnuEdit", 1, "COPY"},       {"mnuEdit", 2, "PASTE"},
    {"mnuEdit", 8, "WEBOPEN"},   {"mnuEdit", 9, "WEBOPEN"},    {"mnuEdit", 10, "WEBOPEN"},
    {"mnuPassword", 0, "PADD"},  {"mnuPassword", 1, "PEDIT"},  {"mnuPassword", 2, "PDELETE"},
    {"mnuPassword", 5, "CAT"},   {"mnuPassword", 6, "SUBCAT"}, {"mnuHelpWeb", 0, "WEB"},
    {"mnuHelpWeb", 1, "MAIL"},   {"mnuSortOrder", 0, "SASC"},  {"mnuSortOrder", 1, "SDESC"},
    {"mnuOption", 0, "CONFIG"},  {"mnuOption", 1, "PW"},       {"mnuPopupCol", 0, "PDELETE"},
    {"mnuPopupCol", 3, "SASC"},  {"mnuPopupCol", 4, "SDESC"},  {"mnuPopup", 0, "WEBOPEN"},
    {"mnuPopup", 1, "WEBOPEN"},  {"mnuPopup", 2, "WEBOPEN"},   {"mnuPopup", 4, "CUT"},
    {"mnuPopup", 5, "COPY"},     {"mnuPopup", 6, "PASTE"},     {"mnuPopup", 12, "PADD"},
    {"mnuPopup", 13, "PEDIT"},   {"mnuPopup", 14, "PDELETE"},  {"mnuView", 0, "TOOLBAR"},
    {"mnuView", 1, "STATUSBAR"}, {"mnuView", 2, "TREEVIEW"},
};

} // namespace

std::span<const TopMenu> topMenus()
{
    return TopMenus;
}

std::span<const MenuItem> items()
{
    return Items;
}

std::span<const ToolButton> toolButtons()
{
    return ToolButtons;
}

std::span<const MenuIcon> menuIcons()
{
    return MenuIcons;
}

const MenuItem *find(const QString &menu, int index)
{
    for (const MenuItem &item : Items) {
        if (item.index == index && menu == QLatin1String(item.menu)) {
            return &item;
        }
    }
    return nullptr;
}

MainCommand toolbarCommand(const QString &upperKey)
{
    for (const ToolButton &button : ToolButtons) {
        if (upperKey == QString::fromLatin1(button.key).toUpper()) {
            return button.command;
        }
    }
    return None;
}

MainCommand recordPopupCommand(int choice)
{
    const MenuItem *item = find(QStringLiteral("mnuPopup"), choice);
    return item != nullptr ? item->command : None;
}

} // namespace menu_table
