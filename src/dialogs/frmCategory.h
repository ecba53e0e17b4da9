#pragma once

#include "Services.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QCloseEvent;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

// The editor of the file's categories: add, delete and rename. Each change
// goes to the store at once and is mirrored in the list; there is nothing to
// confirm and nothing to cancel. The window is modeless and made modal by the
// window stack; however it closes, the main window is asked to rebuild.
class frmCategory : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmCategory");
    static constexpr int NameLength = 20;

    explicit frmCategory(const app::Services &services, QWidget *parent = nullptr);
    ~frmCategory() override;

    // The window loads (stack, placement, list) the first time it is shown.
    void setVisible(bool visible) override;

    QListWidget *lstCategorie = nullptr;
    QLineEdit *txtcateg = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDel = nullptr;
    QPushButton *cmdRen = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdRen_Click();
    void cmdOK_Click();
    void failed(const QString &text);

    const app::Services &m_services;
    bool m_loaded = false;
};

namespace dialogs {

// A fresh category editor, shown; it deletes itself when it closes.
QPointer<frmCategory> ShowCategoryEditor(const app::Services &services);

} // namespace dialogs
