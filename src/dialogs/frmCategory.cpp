#include "frmCategory.h"

#include "DialogKeys.h"
#include "DialogSupport.h"
#include "ListBoxSink.h"
#include "PasswordStore.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

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

frmCategory::frmCategory(const app::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services)
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Category Edit"));

    lstCategorie = new QListWidget(this);
    lstCategorie->setObjectName(QStringLiteral("lstCategorie"));
    lstCategorie->setSelectionMode(QAbstractItemView::SingleSelection);
    txtcateg = new QLineEdit(this);
    txtcateg->setObjectName(QStringLiteral("txtcateg"));
    txtcateg->setMaxLength(NameLength);
    cmdAdd = button(QStringLiteral("&Add"), QStringLiteral("cmdAdd"), this);
    cmdDel = button(QStringLiteral("&Delete"), QStringLiteral("cmdDel"), this);
    cmdRen = button(QStringLiteral("&Rename"), QStringLiteral("cmdRen"), this);
    cmdOK = button(QStringLiteral("&OK"), QStringLiteral("cmdOK"), this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(lstCategorie, 0, 0, 5, 1);
    layout->addWidget(cmdAdd, 0, 1);
    layout->addWidget(cmdDel, 1, 1);
    layout->addWidget(cmdRen, 2, 1);
    layout->setRowStretch(3, 1);
    layout->addWidget(cmdOK, 4, 1);
    layout->addWidget(txtcateg, 5, 0, 1, 2);
    resize(320, 260);

    connect(cmdAdd, &QPushButton::clicked, this, &frmCategory::cmdAdd_Click);
    connect(cmdDel, &QPushButton::clicked, this, &frmCategory::cmdDel_Click);
    connect(cmdRen, &QPushButton::clicked, this, &frmCategory::cmdRen_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmCategory::cmdOK_Click);
}

frmCategory::~frmCategory()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

void frmCategory::setVisible(bool visible)
{
    if (visible) {
        Form_Load();
    }
    QWidget::setVisible(visible);
}

void frmCategory::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);
    txtcateg->clear();
    lstCategorie->clear();
    if (const PasswordStore *store = m_services.state.Store.get()) {
        dialogs::ListBoxSink sink(*lstCategorie);
        store->FillCategoryList(sink, QString());
    }
    txtcateg->setFocus();
}

void frmCategory::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    app::UnloadStackedDialog(m_services, *this, Tag, true, false, 0);
}

void frmCategory::failed(const QString &text)
{
    m_services.prompt.ask(text, PromptButtons::Ok, PromptIcon::Critical, Title);
}

void frmCategory::cmdAdd_Click()
{
    const QString name = txtcateg->text().trimmed();
    PasswordStore *store = m_services.state.Store.get();
    if (name.isEmpty() || store == nullptr) {
        return;
    }
    if (!store->AddCategory(name)) {
        failed(QStringLiteral("You Cannot Duplicate Categories!"));
        return;
    }
    auto *item = new QListWidgetItem(name, lstCategorie);
    lstCategorie->scrollToItem(item);
    txtcateg->clear();
    txtcateg->setFocus();
}

void frmCategory::cmdDel_Click()
{
    const int row = dialogs::SelectedRow(*lstCategorie);
    PasswordStore *store = m_services.state.Store.get();
    if (row < 0 || store == nullptr) {
        return;
    }
    const QString name = lstCategorie->item(row)->text();
    const int count = store->CountCategoryPasswords(name);
    bool keep = true;
    if (count >= 1) {
        const PromptAnswer answer =
            m_services.prompt.ask(dialogs::DeleteGroupQuestion(QStringLiteral("category"), count),
                                  PromptButtons::YesNoCancel, PromptIcon::Question, Title);
        if (answer == PromptAnswer::Cancel) {
            return;
        }
        keep = answer == PromptAnswer::Yes;
    }
    if (!store->DeleteCategory(name, keep)) {
        failed(QStringLiteral("Cannot Delete Category!"));
        return;
    }
    delete lstCategorie->takeItem(row);
    // The next line is not picked for the user: a second Delete must not
    // remove a category nobody chose.
    lstCategorie->clearSelection();
}

void frmCategory::cmdRen_Click()
{
    const int row = dialogs::SelectedRow(*lstCategorie);
    PasswordStore *store = m_services.state.Store.get();
    if (row < 0 || txtcateg->text().trimmed().isEmpty() || store == nullptr) {
        m_services.prompt.ask(QStringLiteral("Errore"), PromptButtons::Ok, PromptIcon::None,
                              QString());
        return;
    }
    // The new name goes as typed, blanks and all; only the check trims.
    const QString newName = txtcateg->text();
    QListWidgetItem *item = lstCategorie->item(row);
    if (!store->RenameCategory(item->text(), newName)) {
        failed(QStringLiteral("Cannot Rename Category!"));
        return;
    }
    item->setText(newName);
}

void frmCategory::cmdOK_Click()
{
    close();
}

void frmCategory::keyPressEvent(QKeyEvent *event)
{
    if (!app::HandleDialogKey(*event, *cmdAdd, [this] { cmdOK_Click(); })) {
        QWidget::keyPressEvent(event);
    }
}

void frmCategory::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace dialogs {

QPointer<frmCategory> ShowCategoryEditor(const app::Services &services)
{
    auto *window = new frmCategory(services);
    return app::ShowSelfDeleting(window);
}

} // namespace dialogs
