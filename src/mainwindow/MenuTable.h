#pragma once

#include <QString>
#include <span>

// Every command of the main window. Menus, the toolbar, both popups, the
// keyboard and the grid all run these, so each has exactly one handler.
enum class MainCommand
{
    None,
    FileNew,
    FileOpen,
    FileSave,
    FileSaveAs,
    FileImport,
    FileExit,
    EditCut,
    EditCopy,
    EditPaste,
    EditCopyPassword,
    EditCopyUserPassword,
    EditCopyUrl,
    EditExecuteUrl,
    EditExecuteExpireUrl,
    EditExecuteChangeUrl,
    ViewToolbar,
    ViewStatusBar,
    ViewTreeView,
    PasswordAdd,
    PasswordEdit,
    PasswordDelete,
    CategoryEdit,
    SubCategoryEdit,
    CheckExpire,
    ProgramOption,
    FilePassword,
    SaveViewOptions,
    GotoSysTray,
    HelpHomepage,
    HelpEmail,
    HelpAbout,
};

namespace menu_table {

enum ItemFlag : unsigned
{
    Plain = 0,
    Hidden = 1U << 0,
    Checked = 1U << 1,
    Disabled = 1U << 2,
};

// One entry of a menu, in its order. A separator has the caption "-"; an
// entry that opens a sub-menu names it in `submenu`.
struct MenuItem
{
    const char *menu; // "mnuFile", "mnuPopup", ...
    int index;
    const char *caption;
    const char *shortcut; // portable text, "" for none
    MainCommand command;
    unsigned flags;
    const char *submenu;
};

struct TopMenu
{
    const char *name;    // "mnuFileTop"
    const char *caption; // "&File"
    const char *items;   // "mnuFile"
    bool popupOnly;      // never on the menu bar
};

struct ToolButton
{
    const char *key;     // lower case; "sepN" for a separator
    const char *tooltip; // empty for a separator
    const char *image;   // key in the toolbar images
    bool shown;
    MainCommand command; // what its upper-case key runs
};

// A menu item's icon, attached by the item's caption.
struct MenuIcon
{
    const char *menu;
    int index;
    const char *image;
};

std::span<const TopMenu> topMenus();
std::span<const MenuItem> items();
std::span<const ToolButton> toolButtons();
std::span<const MenuIcon> menuIcons();

// The entry of a menu at an index; nullptr when there is none.
const MenuItem *find(const QString &menu, int index);

// The command of a toolbar key in upper case; None for the keys that run nothing.
MainCommand toolbarCommand(const QString &upperKey);

// What a choice in the record popup runs; None for a separator or no choice.
MainCommand recordPopupCommand(int choice);

} // namespace menu_table
