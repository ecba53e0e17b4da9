#include "frmFilePW.h"

#include "DialogSupport.h"
#include "PasswordStore.h"
#include "Placement.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QString Title = QStringLiteral("VLM");

QLineEdit *passwordField(QWidget *parent, const QString &name)
{
    auto *field = new QLineEdit(parent);
    field->setObjectName(name);
    field->setEchoMode(QLineEdit::Password);
    // Keeps the typed secret away from input methods and their dictionaries.
    field->setInputMethodHints(Qt::ImhHiddenText | Qt::ImhSensitiveData | Qt::ImhNoPredictiveText);
    return field;
}

} // namespace

frmFilePW::frmFilePW(const app::Services &services, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services)
{
    setObjectName(Tag);
    txtPW1 = passwordField(this, QStringLiteral("txtPW1"));
    txtPW2 = passwordField(this, QStringLiteral("txtPW2"));
    txtPW3 = passwordField(this, QStringLiteral("txtPW3"));
    Label1 = new QLabel(QStringLiteral("Password"), this);
    Label2 = new QLabel(QStringLiteral("Confirm Passowrd"), this);
    Label3 = new QLabel(QStringLiteral("Old Password"), this);
    Label1->setBuddy(txtPW1);
    Label2->setBuddy(txtPW2);
    Label3->setBuddy(txtPW3);
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));

    auto *fields = new QGridLayout;
    fields->addWidget(Label3, 0, 0);
    fields->addWidget(txtPW3, 0, 1);
    fields->addWidget(Label1, 1, 0);
    fields->addWidget(txtPW1, 1, 1);
    fields->addWidget(Label2, 2, 0);
    fields->addWidget(txtPW2, 2, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumWidth(340);

    connect(cmdOK, &QPushButton::clicked, this, &frmFilePW::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmFilePW::cmdCancel_Click);
    connect(txtPW1, &QLineEdit::returnPressed, this, &frmFilePW::cmdOK_Click);
    connect(txtPW2, &QLineEdit::returnPressed, this, &frmFilePW::cmdOK_Click);
    connect(txtPW3, &QLineEdit::returnPressed, this, &frmFilePW::cmdOK_Click);
}

frmFilePW::~frmFilePW()
{
    clearSecrets();
}

void frmFilePW::clearSecrets()
{
    for (QLineEdit *field : {txtPW1, txtPW2, txtPW3}) {
        app::wipeField(*field);
    }
}

void frmFilePW::showAndWait(Mode mode)
{
    const bool change = mode == Mode::Change;
    setWindowTitle(change ? QStringLiteral("Change file password - Blank for NO-PW")
                          : QStringLiteral("Enter a password"));
    Label1->setText(change ? QStringLiteral("New Password") : QStringLiteral("Password"));
    for (QWidget *w : std::initializer_list<QWidget *>{txtPW2, txtPW3, Label2, Label3}) {
        w->setVisible(change);
    }
    adjustSize();

    // Load: on the window stack, where it was last time, not closable by the title bar.
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);
    m_blockClose = true;
    m_loaded = true;

    m_waiting = true;
    show();
    raise();
    activateWindow();
    (change ? txtPW3 : txtPW1)->setFocus();
    QEventLoop wait;
    m_wait = &wait;
    if (m_waiting) {
        wait.exec();
    }
    m_wait = nullptr;
}

QString frmFilePW::controlla()
{
    showAndWait(Mode::Ask);
    return m_result;
}

void frmFilePW::changepw()
{
    showAndWait(Mode::Change);
    if (m_cancelled) {
        return;
    }
    m_services.state.Store->SetPassword(m_result);
    const QString text =
        m_result.isEmpty() ? QStringLiteral("Password Removed!")
                           : QStringLiteral("Password Added/Changed!\nSave File to apply change!");
    m_services.prompt.ask(text, PromptButtons::Ok, PromptIcon::Information, Title);
}

void frmFilePW::cmdOK_Click()
{
    if (!txtPW3->isHidden()) {
        if (m_services.state.Store->CheckPassword(txtPW3->text())) {
            PasswordCorretta();
        } else {
            m_services.prompt.ask(QStringLiteral("Bad Password. Retype password!"),
                                  PromptButtons::Ok, PromptIcon::None, Title);
            txtPW3->clear();
            txtPW3->setFocus();
        }
    } else if (!txtPW2->isHidden()) {
        PasswordCorretta();
    } else {
        m_blockClose = false;
        m_result = txtPW1->text();
        close();
    }
}

void frmFilePW::PasswordCorretta()
{
    if (txtPW1->text() != txtPW2->text()) {
        m_services.prompt.ask(QStringLiteral("Password Incorrect. Retype Password!"),
                              PromptButtons::Ok, PromptIcon::Exclamation, Title);
        txtPW1->clear();
        txtPW2->clear();
        txtPW1->setFocus();
        return;
    }
    m_result = txtPW1->text();
    m_blockClose = false;
    m_cancelled = false;
    close();
}

void frmFilePW::cmdCancel_Click()
{
    m_result.clear();
    m_cancelled = true;
    m_blockClose = false;
    close();
}

void frmFilePW::closeEvent(QCloseEvent *event)
{
    if (m_blockClose) {
        event->ignore();
        return;
    }
    event->accept();
    clearSecrets();
    if (m_loaded) {
        m_loaded = false;
        SavePlacement(*this, Tag, m_services.options, m_services.settings);
        m_services.windows.PopWindow(false, false, 0);
    }
    m_waiting = false;
    if (m_wait != nullptr) {
        m_wait->quit();
    }
}

QString DialogPasswordAsker::askFilePassword(const QString & /*path*/)
{
    frmFilePW dialog(m_services);
    return dialog.controlla();
}
