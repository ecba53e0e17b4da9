#pragma once

#include "Services.h"

#include <QDialog>
#include <QString>

class QComboBox;
class QPushButton;

// Asks for the category a subcategory should move to. It lives for one
// ChangeCat call, modal over the subcategory editor; it does not take part in
// the window stack, the editor below is the one that does.
class frmChangeCat : public QDialog
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmChangeCat");

    // Loads the dialog: placement, the category list, cancelled.
    frmChangeCat(const app::Services &services, QWidget *owner);

    // Shows the dialog and waits for it to close. Answers the index chosen
    // with OK, or the index selected on entry when the dialog was cancelled
    // or closed.
    qint16 ChangeCat();

    QComboBox *cboCategorie = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

    void done(int result) override;

private:
    void cmdOK_Click();

    const app::Services &m_services;
    bool m_cancelled = true;
    int m_chosen = -1;
};
