#pragma once

#include "MenuTable.h"
#include "Services.h"
#include "ShowWindows.h"

#include <functional>

class frmMain;

// What each command of the main window does. Every way of giving a command
// (menu, toolbar, popup, shortcut, grid key) ends in run(); a command that
// needs a selected record checks for one itself and otherwise does nothing.
class MainCommands
{
public:
    MainCommands(const app::Services &services, const WindowRoutines &routines, frmMain &window);

    void run(MainCommand command);
    // File > Reload, the recent file at a position from 1.
    void reload(int position);

private:
    // The service of the selected grid row; "" when no row is selected.
    QString selectedService() const;
    qint32 selectedNode() const;
    // Runs a command on the selected record; nothing without one.
    void onSelected(const std::function<void(const QString &service)> &command) const;
    void refillGrid();
    void copy();
    void cut();
    void paste();
    void addPassword();
    void editPassword();
    void deletePassword();
    void executeUrl(int field);
    void saveViewOptionsNow();
    void toggleViewItem(int index);

    const app::Services &m_services;
    WindowRoutines m_routines;
    frmMain &m_window;
};
