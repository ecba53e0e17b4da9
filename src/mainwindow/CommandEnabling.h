#pragma once

class MainMenus;

// What the Edit menu needs to know about the selected grid row.
struct SelectedRow
{
    bool selected = false;
    bool url = false;       // its "URL" column holds more than blanks
    bool expireUrl = false; // "ExpURL"
    bool changeUrl = false; // "ChangeURL"
};

// The rules that show, hide, enable and disable the main window's commands,
// each in one place; the window calls them from every path that needs them.

// After every refresh: what exists only while a file is open. Paste as New is
// disabled until the next Copy.
void ApplyFileState(MainMenus &menus, bool hasFile);
// The toolbar's share of it, also when the toolbar is built anew.
void ApplyToolbarFileState(MainMenus &menus, bool hasFile);
// When the Edit menu drops down and when the selection changes.
void ApplyEditMenuState(MainMenus &menus, const SelectedRow &row);
// When the Password menu drops down and when the selection changes.
void ApplyPasswordMenuState(MainMenus &menus, bool rowSelected);
