#include "frmSubCategory.h"

#include "ComboList.h"
#include "DialogKeys.h"
#include "DialogSupport.h"
#include "frmChangeCat.h"
#include "ListBoxSink.h"
#include "PasswordStore.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>

using platform::PromptAnswer;
using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QString Title = QStringLiteral("VLM");

QPushButton *button(const QString &text, const QString &name, QWidget *parent)
{
    auto *made = new QPushButton(text, parent);
    made->setObjectName(name);
    return made;
}

} // namespace

frmSubCategory::frmSubCategory(const app::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services)
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Edit Sottocategorie"));

    cboCategorie = new QComboBox(this);
    cboCategorie->setObjectName(QStringLiteral("cboCategorie"));
    lstSubCateg = new QListWidget(this);
    lstSubCateg->setObjectName(QStringLiteral("lstSubCateg"));
    lstSubCateg->setSelectionMode(QAbstractItemView::SingleSelection);
    txtSubCateg = new QLineEdit(this);
    txtSubCateg->setObjectName(QStringLiteral("txtSubCateg"));
    txtSubCateg->setMaxLength(NameLength);
    cmdAdd = button(QStringLiteral("&Add"), QStringLiteral("cmdAdd"), this);
    cmdDel = button(QStringLiteral("&Delete"), QStringLiteral("cmdDel"), this);
    cmdRename = button(QStringLiteral("&Rename"), QStringLiteral("cmdRename"), this);
    cmdChange = button(QStringLiteral("&Change Cat."), QStringLiteral("cmdChange"), this);
    cmdOK = button(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(cboCategorie, 0, 0, 1, 2);
    layout->addWidget(lstSubCateg, 1, 0, 6, 1);
    layout->addWidget(cmdAdd, 1, 1);
    layout->addWidget(cmdDel, 2, 1);
    layout->addWidget(cmdRename, 3, 1);
    layout->addWidget(cmdChange, 4, 1);
    layout->setRowStretch(5, 1);
    layout->addWidget(cmdOK, 6, 1);
    layout->addWidget(txtSubCateg, 7, 0, 1, 2);
    resize(340, 300);

    connect(cboCategorie, &QComboBox::currentIndexChanged, this,
            &frmSubCategory::cboCategorie_Click);
    connect(cmdAdd, &QPushButton::clicked, this, &frmSubCategory::cmdAdd_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmSubCategory::cmdDel_Click);
    connect(cmdRename, &QPushButton::clicked, this, &frmSubCategory::cmdRename_Click);
    connect(cmdChange, &QPushButton::clicked, this, &frmSubCategory::cmdChange_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmSubCategory::cmdOK_Click);
}

frmSubCategory::~frmSubCategory()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

void frmSubCategory::setVisible(bool visible)
{
    if (visible) {
        Form_Load();
    }
    QWidget::setVisible(visible);
}

void frmSubCategory::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);
    txtSubCateg->clear();
    {
        // The user chooses the category; none is taken for them.
        const QSignalBlocker blocker(cboCategorie);
        cboCategorie->clear();
        if (const PasswordStore *store = m_services.state.Store.get()) {
            dialogs::ComboSink sink(*cboCategorie);
            store->FillCategoryList(sink, QString());
        }
        cboCategorie->setCurrentIndex(-1);
    }
    lstSubCateg->clear();
}

void frmSubCategory::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    app::UnloadStackedDialog(m_services, *this, Tag, true, false, 0);
}

void frmSubCategory::failed(const QString &text)
{
    m_services.prompt.ask(text, PromptButtons::Ok, PromptIcon::Critical, Title);
}

void frmSubCategory::errore()
{
    m_services.prompt.ask(QStringLiteral("Errore"), PromptButtons::Ok, PromptIcon::None, QString());
}

void frmSubCategory::cboCategorie_Click()
{
    lstSubCateg->clear();
    const PasswordStore *store = m_services.state.Store.get();
    if (cboCategorie->currentIndex() < 0 || store == nullptr) {
        return;
    }
    dialogs::ListBoxSink sink(*lstSubCateg);
    store->FillSubCategoryList(sink, dialogs::SelectedCode(*cboCategorie), QString());
}

void frmSubCategory::cmdAdd_Click()
{
    const QString name = txtSubCateg->text().trimmed();
    PasswordStore *store = m_services.state.Store.get();
    if (name.isEmpty() || store == nullptr) {
        return;
    }
    // A subcategory belongs to a category: the user is told to pick one first.
    if (cboCategorie->currentIndex() < 0) {
        errore();
        return;
    }
    if (!store->AddSubCategory(dialogs::SelectedCode(*cboCategorie), name)) {
        failed(QStringLiteral("Cannot duplicate SubCategory in the same Category!"));
        return;
    }
    auto *item = new QListWidgetItem(name, lstSubCateg);
    lstSubCateg->scrollToItem(item);
    txtSubCateg->clear();
    txtSubCateg->setFocus();
}

void frmSubCategory::cmdDel_Click()
{
    const int row = dialogs::SelectedRow(*lstSubCateg);
    PasswordStore *store = m_services.state.Store.get();
    if (row < 0 || store == nullptr) {
        return;
    }
    const QString name = lstSubCateg->item(row)->text();
    const qint16 code = dialogs::SelectedCode(*cboCategorie);
    const int count = store->CountSubCategoryPasswords(code, name);
    bool keep = true;
    if (count >= 1) {
        const PromptAnswer answer = m_services.prompt.ask(
            dialogs::DeleteGroupQuestion(QStringLiteral("Subcategory"), count),
            PromptButtons::YesNoCancel, PromptIcon::Question, Title);
        if (answer == PromptAnswer::Cancel) {
            return;
        }
        keep = answer == PromptAnswer::Yes;
    }
    if (!store->DeleteSubCategory(code, name, keep)) {
        failed(QStringLiteral("Cannot Delete This Subcategory!"));
        return;
    }
    delete lstSubCateg->takeItem(row);
    // A second Delete must not remove a subcategory nobody chose.
    lstSubCateg->clearSelection();
}

void frmSubCategory::cmdRename_Click()
{
    const QString newName = txtSubCateg->text().trimmed();
    PasswordStore *store = m_services.state.Store.get();
    if (newName.isEmpty() || cboCategorie->currentIndex() < 0 || store == nullptr) {
        errore();
        return;
    }
    const int row = dialogs::SelectedRow(*lstSubCateg);
    QListWidgetItem *item = row < 0 ? nullptr : lstSubCateg->item(row);
    const QString oldName = item != nullptr ? item->text() : QString();
    if (newName == oldName) {
        return;
    }
    // With no line selected the store is asked anyway and refuses.
    if (!store->RenameSubCategory(dialogs::SelectedCode(*cboCategorie), oldName, newName) ||
        item == nullptr) {
        failed(QStringLiteral("Cannot Rename this SubCategory"));
        return;
    }
    item->setText(newName);
}

void frmSubCategory::cmdChange_Click()
{
    const int row = dialogs::SelectedRow(*lstSubCateg);
    PasswordStore *store = m_services.state.Store.get();
    if (row < 0 || store == nullptr) {
        errore();
        return;
    }
    const int chosen = [this] {
        frmChangeCat ask(m_services, this);
        ask.cboCategorie->setCurrentIndex(cboCategorie->currentIndex());
        return int{ask.ChangeCat()};
    }();
    if (chosen < 0 || chosen >= cboCategorie->count()) {
        return;
    }
    const qint16 newCode = static_cast<qint16>(cboCategorie->itemData(chosen).toInt());
    const qint16 oldCode = dialogs::SelectedCode(*cboCategorie);
    if (newCode == oldCode) {
        return;
    }
    const QString name = lstSubCateg->item(row)->text();
    if (!store->MoveSubCategory(name, oldCode, newCode)) {
        failed(QStringLiteral("Cannot Change This SubCategory!"));
        return;
    }
    delete lstSubCateg->takeItem(row);
    lstSubCateg->clearSelection();
}

void frmSubCategory::cmdOK_Click()
{
    close();
}

void frmSubCategory::keyPressEvent(QKeyEvent *event)
{
    if (!app::HandleDialogKey(*event, *cmdAdd, [this] { cmdOK_Click(); })) {
        QWidget::keyPressEvent(event);
    }
}

void frmSubCategory::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace dialogs {

QPointer<frmSubCategory> ShowSubCategoryEditor(const app::Services &services)
{
    auto *window = new frmSubCategory(services);
    return app::ShowSelfDeleting(window);
}

} // namespace dialogs
