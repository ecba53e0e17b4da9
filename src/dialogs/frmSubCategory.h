#pragma once

#include "Services.h"

#include <QPointer>
#include <QString>
#include <QWidget>

class QCloseEvent;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QListWidget;
class QPushButton;

// The editor of the subcategories of one category at a time: add, delete,
// rename, and move one to another category. Each change goes to the store at
// once and is mirrored in the list. Modeless and made modal by the window
// stack; however it closes, the main window is asked to rebuild.
class frmSubCategory : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmSubCategory");
    static constexpr int NameLength = 20;

    explicit frmSubCategory(const app::Services &services, QWidget *parent = nullptr);
    ~frmSubCategory() override;

    // The window loads (stack, placement, categories) the first time it is shown.
    void setVisible(bool visible) override;

    QComboBox *cboCategorie = nullptr;
    QListWidget *lstSubCateg = nullptr;
    QLineEdit *txtSubCateg = nullptr;
    QPushButton *cmdAdd = nullptr;
    QPushButton *cmdDel = nullptr;
    QPushButton *cmdRename = nullptr;
    QPushButton *cmdChange = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cboCategorie_Click();
    void cmdAdd_Click();
    void cmdDel_Click();
    void cmdRename_Click();
    void cmdChange_Click();
    void cmdOK_Click();
    void failed(const QString &text);
    void errore();

    const app::Services &m_services;
    bool m_loaded = false;
};

namespace dialogs {

// A fresh subcategory editor, shown; it deletes itself when it closes.
QPointer<frmSubCategory> ShowSubCategoryEditor(const app::Services &services);

} // namespace dialogs
