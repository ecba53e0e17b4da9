#include "frmChangeCat.h"

#include "ComboList.h"
#include "DialogSupport.h"
#include "PasswordStore.h"
#include "Placement.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmChangeCat::frmChangeCat(const app::Services &services, QWidget *owner)
    : QDialog(owner), m_services(services)
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Change Category"));
    cboCategorie = new QComboBox(this);
    cboCategorie->setObjectName(QStringLiteral("cboCategorie"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    cmdCancel->setAutoDefault(false);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(cboCategorie);
    layout->addLayout(buttons);
    resize(260, 90);

    connect(cmdOK, &QPushButton::clicked, this, &frmChangeCat::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &QDialog::reject);

    // Over the main window, as every dialog, even when opened from another dialog.
    app::RestoreDialogPlacement(m_services, *this, Tag);
    if (const PasswordStore *store = m_services.state.Store.get()) {
        dialogs::ComboSink sink(*cboCategorie);
        store->FillCategoryList(sink, QString());
    }
    m_cancelled = true;
}

qint16 frmChangeCat::ChangeCat()
{
    const int entry = cboCategorie->currentIndex();
    exec();
    return static_cast<qint16>(m_cancelled ? entry : m_chosen);
}

void frmChangeCat::cmdOK_Click()
{
    m_cancelled = false;
    m_chosen = cboCategorie->currentIndex();
    accept();
}

void frmChangeCat::done(int result)
{
    // Every way out (OK, Cancel, Esc, the close box) passes here.
    if (isVisible()) {
        SavePlacement(*this, Tag, m_services.options, m_services.settings);
    }
    QDialog::done(result);
}
