#pragma once

#include "Records.h"
#include "Services.h"

#include <array>
#include <functional>
#include <QDate>
#include <QPointer>
#include <QString>
#include <QWidget>

class QCheckBox;
class QCloseEvent;
class QComboBox;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QToolButton;
class frmCalendar;

namespace dialogs {

class UpDown;

// Opens a link or starts a program; says so when the text is blank.
using OpenUrl = std::function<void(const QString &text)>;

} // namespace dialogs

// The dialog in which one record is added, edited, or made from a copied one.
// It is modeless and made modal by the window stack; whatever way it closes,
// the main window is asked to refresh the branch the caller named in
// Selected. A record goes to the store the moment OK or Add Another is
// pressed; nothing is kept pending.
class frmPW : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmPW");
    static constexpr int DayCounterRange = 10000;

    frmPW(const app::Services &services, dialogs::OpenUrl openUrl, QWidget *parent = nullptr);
    ~frmPW() override;

    // A new record in the given category and subcategory, with the default
    // dates and notice periods of the options.
    void PasswordAdd(qint16 codcat, qint16 CodSCat);
    // The record stored under `key`. Answers false, after saying so, when
    // the store holds no such record; the window is then not shown.
    bool PasswordEdit(const QString &key);
    // A new record made from a copy; its service name is left for the user.
    void PasswordPasteNew(const PasswordEntry &entry);

    qint32 Selected() const { return m_selected; }
    void setSelected(qint32 value) { m_selected = value; }
    // "N" new, "P" paste as new, "M" modify; empty before an opening operation.
    QString Mode() const { return m_mode; }
    // The date drop-down, once it has been used.
    frmCalendar *dropDown() const { return m_fDropDown; }

    QTabWidget *sstPassword = nullptr;
    std::array<QWidget *, 4> Pict{};

    QGroupBox *frData = nullptr;
    QLineEdit *txtService = nullptr;
    QLineEdit *txtName = nullptr;
    QLineEdit *txtPw = nullptr;
    QLabel *lblInsert = nullptr;
    QLabel *lblModif = nullptr;
    QGroupBox *frCategory = nullptr;
    QComboBox *cboCateg = nullptr;
    QComboBox *cboSCateg = nullptr;

    std::array<QLineEdit *, 3> txtURL{};
    std::array<QPushButton *, 3> cmdGO{};

    QCheckBox *chkExpire = nullptr;
    QGroupBox *frexpire = nullptr;
    QLineEdit *txtExpDate = nullptr;
    QToolButton *chkDDExpDate = nullptr;
    QLineEdit *txtDExp = nullptr;
    dialogs::UpDown *UpDown1 = nullptr;
    QCheckBox *chkNExpire = nullptr;
    QLineEdit *txtNExp = nullptr;

    QCheckBox *chkChange = nullptr;
    QGroupBox *frchange = nullptr;
    QLineEdit *TxtChgDate = nullptr;
    QToolButton *chkDDChgDate = nullptr;
    QLineEdit *txtDChange = nullptr;
    dialogs::UpDown *UpDown2 = nullptr;
    QCheckBox *chkNChange = nullptr;
    QLineEdit *txtNChange = nullptr;

    QPlainTextEdit *txtNotes = nullptr;

    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdAnother = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    // Building the window (frmPWLayout.cpp).
    void buildControls();
    QWidget *buildGeneralPage();
    QWidget *buildUrlPage();
    QWidget *buildExpirationPage();
    QWidget *buildNotesPage();
    void connectControls();

    void Form_Load();
    void Form_Unload();
    void showModeless();

    void cboCateg_Click();
    void ClearFields();
    void ShowRecord();
    void setDate(QLineEdit *field, const QDate &date);
    void dateChanged(QLineEdit *field, QLineEdit *counter);
    void counterChanged(QLineEdit *counter, QLineEdit *field);
    void chkExpire_Click();
    void chkChange_Click();
    void chkNExpire_Click();
    void chkNChange_Click();
    void dropDownClicked(QToolButton *button, QLineEdit *field);
    void m_fDropDown_Change();
    void m_fDropDown_CloseUp();

    bool ValidateFields();
    bool SaveRecord();
    void cmdOK_Click();
    void cmdAnother_Click();
    void cmdCancel_Click();
    void cmdGO_Click(std::size_t index);

    const app::Services &m_services;
    dialogs::OpenUrl m_openUrl;
    PasswordEntry m_record;
    QString m_mode;
    qint32 m_selected = 0;
    bool m_loaded = false;
    // The date each date field shows, kept exactly: the short date format
    // may drop the century and would not read back.
    QDate m_expDate;
    QDate m_chgDate;
    frmCalendar *m_fDropDown = nullptr;
};

namespace dialogs {

// The three ways the program opens the record dialog. The window deletes
// itself when it closes; the answer is empty once it has (or when there was
// no record to edit).
QPointer<frmPW> ShowPasswordAdd(const app::Services &services, OpenUrl openUrl, qint32 selected,
                                qint16 codcat, qint16 CodSCat);
QPointer<frmPW> ShowPasswordEdit(const app::Services &services, OpenUrl openUrl, qint32 selected,
                                 const QString &key);
QPointer<frmPW> ShowPasswordPasteNew(const app::Services &services, OpenUrl openUrl,
                                     qint32 selected, const PasswordEntry &entry);

} // namespace dialogs
