#include "frmPW.h"

#include "ComboList.h"
#include "DialogSupport.h"
#include "frmCalendar.h"
#include "PasswordStore.h"
#include "UpDown.h"

#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QIntValidator>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QToolButton>

using platform::PromptButtons;
using platform::PromptIcon;

namespace {

const QString Title = QStringLiteral("VLM");
const QString NothingItem = QStringLiteral("-Nothing-");

constexpr int GeneralPage = 0;
constexpr int ExpirationPage = 2;

QString dateText(const QDate &date)
{
    return QLocale::system().toString(date, QLocale::ShortFormat);
}

QString dateTimeText(const QDateTime &at)
{
    return at.isValid() ? QLocale::system().toString(at.toLocalTime(), QLocale::ShortFormat)
                        : QString();
}

// A counter whose text is not a whole number stands for today.
int counterDays(const QString &text)
{
    bool ok = false;
    const int days = text.trimmed().toInt(&ok);
    return ok ? days : 0;
}

bool readNotice(const QLineEdit &field, qint16 &days)
{
    bool ok = false;
    days = field.text().trimmed().toShort(&ok);
    return ok;
}

} // namespace

frmPW::frmPW(const app::Services &services, dialogs::OpenUrl openUrl, QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services), m_openUrl(std::move(openUrl))
{
    setObjectName(Tag);
    buildControls();
    for (QLineEdit *notice : {txtNExp, txtNChange}) {
        notice->setValidator(new QIntValidator(-32768, 32767, notice));
    }
    connectControls();
}

frmPW::~frmPW()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

void frmPW::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    app::RestoreDialogPlacement(m_services, *this, Tag);
    sstPassword->setCurrentIndex(GeneralPage);
    {
        const QSignalBlocker blocker(cboCateg);
        if (const PasswordStore *store = m_services.state.Store.get()) {
            dialogs::ComboSink sink(*cboCateg);
            store->FillCategoryList(sink, NothingItem);
        } else {
            cboCateg->clear();
            cboCateg->addItem(NothingItem, 0);
        }
        cboCateg->setCurrentIndex(0);
    }
    cboCateg_Click();
}

void frmPW::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    if (m_fDropDown != nullptr) {
        m_fDropDown->hide();
    }
    for (QLineEdit *secret : {txtName, txtPw}) {
        app::wipeField(*secret);
    }
    // A window that was never shown has no placement worth keeping.
    app::UnloadStackedDialog(m_services, *this, Tag, true, false, m_selected);
}

void frmPW::showModeless()
{
    cmdAnother->setVisible(m_mode == QStringLiteral("N"));
    show();
    raise();
    activateWindow();
    txtService->setFocus();
}

void frmPW::PasswordAdd(qint16 codcat, qint16 CodSCat)
{
    Form_Load();
    ClearFields();
    cboCateg->setCurrentIndex(dialogs::FindComboItem(*cboCateg, codcat));
    cboSCateg->setCurrentIndex(dialogs::FindComboItem(*cboSCateg, CodSCat));
    m_mode = QStringLiteral("N");
    showModeless();
}

bool frmPW::PasswordEdit(const QString &key)
{
    Form_Load();
    const PasswordStore *store = m_services.state.Store.get();
    const PasswordEntry *entry = store != nullptr ? store->Passwords().Item(key) : nullptr;
    if (entry == nullptr) {
        m_services.prompt.ask(
            QStringLiteral("The service \"%1\" is no longer in the file!").arg(key),
            PromptButtons::Ok, PromptIcon::Exclamation, Title);
        close();
        return false;
    }
    m_record = *entry;
    ShowRecord();
    m_mode = QStringLiteral("M");
    showModeless();
    return true;
}

void frmPW::PasswordPasteNew(const PasswordEntry &entry)
{
    Form_Load();
    m_record = entry;
    m_record.service.clear();
    ShowRecord();
    m_mode = QStringLiteral("P");
    showModeless();
}

void frmPW::cboCateg_Click()
{
    const QSignalBlocker blocker(cboSCateg);
    if (cboCateg->currentIndex() < 1) {
        cboSCateg->setEnabled(false);
        cboSCateg->clear();
        cboSCateg->addItem(NothingItem, 0);
    } else {
        cboSCateg->setEnabled(true);
        const qint16 codcat = dialogs::SelectedCode(*cboCateg);
        if (const PasswordStore *store = m_services.state.Store.get()) {
            dialogs::ComboSink sink(*cboSCateg);
            store->FillSubCategoryList(sink, codcat, NothingItem);
        }
    }
    cboSCateg->setCurrentIndex(0);
}

void frmPW::ClearFields()
{
    for (QLineEdit *field : {txtService, txtName, txtPw}) {
        field->clear();
    }
    for (QLineEdit *url : txtURL) {
        url->clear();
    }
    txtNotes->clear();
    txtNChange->setText(QString::number(m_services.options.ChangeNotify));
    txtNExp->setText(QString::number(m_services.options.ExpirationNotify));
    const QDateTime now = m_services.clock.now();
    lblInsert->setText(QStringLiteral("Inserted on ") + dateTimeText(now));
    lblModif->setText(QStringLiteral("Last Modified on ") + dateTimeText(now));
    const QDate today = now.date();
    setDate(txtExpDate, today.addDays(m_services.options.ExpirationDays));
    setDate(TxtChgDate, today.addDays(m_services.options.ChangeDays));
    chkExpire->setChecked(false);
    chkChange->setChecked(false);
    chkNExpire->setChecked(true);
    chkNChange->setChecked(true);
    chkExpire_Click();
    chkChange_Click();
}

void frmPW::ShowRecord()
{
    txtService->setText(m_record.service);
    txtName->setText(m_record.UserName);
    txtPw->setText(m_record.Password);
    txtURL.at(0)->setText(m_record.URL);
    txtURL.at(1)->setText(m_record.ExpURL);
    txtURL.at(2)->setText(m_record.ChangeURL);
    cboCateg->setCurrentIndex(dialogs::FindComboItem(*cboCateg, m_record.codcat));
    cboSCateg->setCurrentIndex(dialogs::FindComboItem(*cboSCateg, m_record.CodSCat));

    lblInsert->setText(QStringLiteral("Inserted on ") + dateTimeText(m_record.Dt_Insert));
    lblModif->setText(QStringLiteral("Last Modified on ") + dateTimeText(m_record.Dt_Modify));

    const QDate today = m_services.clock.today();
    txtDExp->setText(QString::number(today.daysTo(m_record.Dt_Expire)));
    counterChanged(txtDExp, txtExpDate);
    txtDChange->setText(QString::number(today.daysTo(m_record.Dt_Change)));
    counterChanged(txtDChange, TxtChgDate);

    chkChange->setChecked(m_record.blChange);
    chkChange_Click();
    chkExpire->setChecked(m_record.blExpire);
    chkExpire_Click();
    chkNExpire->setChecked(m_record.blNotExpire);
    chkNExpire_Click();
    chkNChange->setChecked(m_record.blNotChange);
    chkNChange_Click();

    txtNExp->setText(QString::number(m_record.ggNotExpire));
    txtNChange->setText(QString::number(m_record.ggNotChange));
    txtNotes->setPlainText(m_record.Notes);
}

void frmPW::setDate(QLineEdit *field, const QDate &date)
{
    QDate &kept = field == txtExpDate ? m_expDate : m_chgDate;
    if (kept == date && !field->text().isEmpty()) {
        return;
    }
    kept = date;
    const QString text = dateText(date);
    if (field->text() != text) {
        field->setText(text);
    } else {
        // Another date that the short format shows alike still moves the counter.
        dateChanged(field, field == txtExpDate ? txtDExp : txtDChange);
    }
}

void frmPW::dateChanged(QLineEdit *field, QLineEdit *counter)
{
    const QDate date = field == txtExpDate ? m_expDate : m_chgDate;
    const int days = static_cast<int>(m_services.clock.today().daysTo(date));
    // What the user is typing stays as long as it means that date: "-", ""
    // or "05" are not rewritten under the cursor.
    if (counterDays(counter->text()) != days) {
        counter->setText(QString::number(days));
    }
}

void frmPW::counterChanged(QLineEdit *counter, QLineEdit *field)
{
    setDate(field, m_services.clock.today().addDays(counterDays(counter->text())));
}

namespace {

// A frame and what it holds follow its check box; the spinner is left to its
// buddy's frame.
void setFrameEnabled(QGroupBox &frame, bool enabled)
{
    frame.setEnabled(enabled);
    const QList<QWidget *> children = frame.findChildren<QWidget *>(Qt::FindDirectChildrenOnly);
    for (QWidget *child : children) {
        if (!child->objectName().startsWith(QStringLiteral("Up"))) {
            child->setEnabled(enabled);
        }
    }
}

} // namespace

void frmPW::chkExpire_Click()
{
    setFrameEnabled(*frexpire, chkExpire->isChecked());
    chkNExpire_Click();
}

void frmPW::chkChange_Click()
{
    setFrameEnabled(*frchange, chkChange->isChecked());
    chkNChange_Click();
}

void frmPW::chkNExpire_Click()
{
    txtNExp->setEnabled(chkNExpire->isChecked() && chkExpire->isChecked());
}

void frmPW::chkNChange_Click()
{
    txtNChange->setEnabled(chkNChange->isChecked() && chkChange->isChecked());
}

void frmPW::dropDownClicked(QToolButton *button, QLineEdit *field)
{
    // The pressed button tells which field the calendar's date is for; it
    // stays pressed while the calendar is open, even when clicked again.
    chkDDExpDate->setChecked(button == chkDDExpDate);
    chkDDChgDate->setChecked(button == chkDDChgDate);
    if (m_fDropDown == nullptr) {
        m_fDropDown = new frmCalendar(this);
        connect(m_fDropDown, &frmCalendar::Change, this, &frmPW::m_fDropDown_Change);
        connect(m_fDropDown, &frmCalendar::CloseUp, this, &frmPW::m_fDropDown_CloseUp);
    }
    m_fDropDown->adjustSize();
    QPoint at = field->mapToGlobal(QPoint(0, field->height() + 1));
    // Near the bottom of the screen the calendar opens above the field.
    if (const QScreen *shown = field->screen()) {
        const QRect room = shown->availableGeometry();
        if (at.y() + m_fDropDown->height() > room.bottom() + 1) {
            at.setY(field->mapToGlobal(QPoint(0, 0)).y() - m_fDropDown->height() - 1);
        }
    }
    m_fDropDown->move(at);
    m_fDropDown->show();
    m_fDropDown->setShowState(frmCalendar::DroppedDown);
    m_fDropDown->setValue(field == txtExpDate ? m_expDate : m_chgDate);
    m_fDropDown->VBCalendar1->setFocus();
}

void frmPW::m_fDropDown_Change()
{
    const QDate value = m_fDropDown->Value();
    if (!value.isValid()) {
        return;
    }
    setDate(chkDDExpDate->isChecked() ? txtExpDate : TxtChgDate, value);
}

void frmPW::m_fDropDown_CloseUp()
{
    if (!m_fDropDown->Cancelled()) {
        m_fDropDown_Change();
    }
    chkDDExpDate->setChecked(false);
    chkDDChgDate->setChecked(false);
}

bool frmPW::ValidateFields()
{
    if (txtService->text().trimmed().isEmpty()) {
        m_services.prompt.ask(QStringLiteral("You must specify a Service Name!"), PromptButtons::Ok,
                              PromptIcon::Critical, Title);
        sstPassword->setCurrentIndex(GeneralPage);
        txtService->setFocus();
        return false;
    }
    for (QLineEdit *notice : {txtNExp, txtNChange}) {
        qint16 days = 0;
        if (!readNotice(*notice, days)) {
            m_services.prompt.ask(
                QStringLiteral("The days of notice must be a whole number from -32768 to 32767!"),
                PromptButtons::Ok, PromptIcon::Critical, Title);
            sstPassword->setCurrentIndex(ExpirationPage);
            notice->setFocus();
            return false;
        }
    }
    return true;
}

bool frmPW::SaveRecord()
{
    PasswordStore *store = m_services.state.Store.get();
    if (store == nullptr) {
        return false;
    }
    // The record is taken over only once the store has it, so that after a
    // refusal the next attempt still names the record by the key it is
    // stored under.
    const QString oldService = m_record.service;
    const qint16 oldCodcat = m_record.codcat;
    const qint16 oldCodSCat = m_record.CodSCat;

    PasswordEntry record = m_record;
    // Blanks only decide whether a name was given; the name is kept as typed.
    record.service = txtService->text();
    record.codcat = dialogs::SelectedCode(*cboCateg);
    record.CodSCat = dialogs::SelectedCode(*cboSCateg);
    record.UserName = txtName->text();
    record.Password = txtPw->text();
    record.Notes = txtNotes->toPlainText();
    record.URL = txtURL.at(0)->text();
    record.ExpURL = txtURL.at(1)->text();
    record.ChangeURL = txtURL.at(2)->text();
    record.Dt_Expire = m_expDate;
    record.Dt_Change = m_chgDate;
    record.blChange = chkChange->isChecked();
    record.blExpire = chkExpire->isChecked();
    record.blNotExpire = chkNExpire->isChecked();
    record.blNotChange = chkNChange->isChecked();
    readNotice(*txtNExp, record.ggNotExpire);
    readNotice(*txtNChange, record.ggNotChange);

    const QDateTime now = m_services.clock.now();
    const bool adding = m_mode != QStringLiteral("M");
    if (adding) {
        record.Dt_Insert = now;
    }
    record.Dt_Modify = now;

    const bool saved = adding ? store->AddPassword(record)
                              : store->UpdatePassword(record, oldService, oldCodcat, oldCodSCat);
    if (saved) {
        m_record = record;
    }
    return saved;
}

void frmPW::cmdOK_Click()
{
    if (!ValidateFields()) {
        return;
    }
    if (SaveRecord()) {
        close();
        return;
    }
    const PasswordStore *store = m_services.state.Store.get();
    m_services.prompt.ask(store != nullptr ? store->LastError() : QString(), PromptButtons::Ok,
                          PromptIcon::None, Title);
}

void frmPW::cmdAnother_Click()
{
    if (!ValidateFields()) {
        return;
    }
    if (SaveRecord()) {
        ClearFields();
        sstPassword->setCurrentIndex(GeneralPage);
        txtService->setFocus();
        return;
    }
    const PasswordStore *store = m_services.state.Store.get();
    m_services.prompt.ask(store != nullptr ? store->LastError() : QString(), PromptButtons::Ok,
                          PromptIcon::None, Title);
}

void frmPW::cmdCancel_Click()
{
    close();
}

void frmPW::cmdGO_Click(std::size_t index)
{
    if (m_openUrl) {
        m_openUrl(txtURL.at(index)->text());
    }
}

void frmPW::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
        cmdCancel_Click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void frmPW::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace dialogs {

namespace {

frmPW *makeDialog(const app::Services &services, OpenUrl openUrl, qint32 selected)
{
    auto *window = new frmPW(services, std::move(openUrl));
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setSelected(selected);
    return window;
}

} // namespace

QPointer<frmPW> ShowPasswordAdd(const app::Services &services, OpenUrl openUrl, qint32 selected,
                                qint16 codcat, qint16 CodSCat)
{
    frmPW *window = makeDialog(services, std::move(openUrl), selected);
    window->PasswordAdd(codcat, CodSCat);
    return window;
}

QPointer<frmPW> ShowPasswordEdit(const app::Services &services, OpenUrl openUrl, qint32 selected,
                                 const QString &key)
{
    frmPW *window = makeDialog(services, std::move(openUrl), selected);
    if (!window->PasswordEdit(key)) {
        return {};
    }
    return window;
}

QPointer<frmPW> ShowPasswordPasteNew(const app::Services &services, OpenUrl openUrl,
                                     qint32 selected, const PasswordEntry &entry)
{
    frmPW *window = makeDialog(services, std::move(openUrl), selected);
    window->PasswordPasteNew(entry);
    return window;
}

} // namespace dialogs
