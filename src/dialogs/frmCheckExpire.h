#pragma once

#include "Services.h"

#include <functional>
#include <QPointer>
#include <QString>
#include <QWidget>

class QCloseEvent;
class QKeyEvent;
class QPushButton;

namespace controls {
class Grid;
}

namespace dialogs {

// Opens the password dialog on the record stored under a service name.
using EditPassword = std::function<void(const QString &service)>;

} // namespace dialogs

// The list of records whose password has expired or must be changed, or soon
// will be. A fresh window is made each time the list is asked for and filled
// once; it is modeless and made modal by the window stack. The records can be
// opened for editing from it.
class frmCheckExpire : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmCheckExpire");

    frmCheckExpire(const app::Services &services, dialogs::EditPassword editPassword,
                   QWidget *parent = nullptr);
    ~frmCheckExpire() override;

    // Loads the window and fills it; shows it when something is due, else
    // says that nothing is and unloads. Answers whether the window is shown.
    bool View_Expires();
    // Answers whether any row was added.
    bool FillExpirationList();

    controls::Grid *grid = nullptr;
    QPushButton *cmdEdit = nullptr;
    QPushButton *cmdcancel = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void SetupExpirationGrid();
    void fitStatusColumn();
    void Form_Load();
    void Form_Unload();
    void cmdEdit_Click();
    void cmdcancel_Click();
    void grid_HeaderClick(int column);
    void grid_KeyDown(int key, Qt::KeyboardModifiers modifiers);

    const app::Services &m_services;
    dialogs::EditPassword m_editPassword;
    bool m_loaded = false;
};

namespace dialogs {

// Shows the list of records due, or the message that none is: the check of
// the menu command and of the moment after a file has been opened. The window
// deletes itself when it closes; the answer is empty once it has.
QPointer<frmCheckExpire> CheckExpiration(const app::Services &services, EditPassword editPassword);

} // namespace dialogs
