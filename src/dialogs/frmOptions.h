#pragma once

#include "Services.h"

#include <array>
#include <QPointer>
#include <QString>
#include <QWidget>

class QButtonGroup;
class LockOptionsGroup;
class QCheckBox;
class QCloseEvent;
class QComboBox;
class QKeyEvent;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QStackedWidget;
class QTabBar;

namespace options {
class ClipboardGroup;
}

// The program options on five tabbed pages. Every opening is a fresh window
// that reads the options as they are; Apply and OK write them back to the
// option record and store them. Modeless, made modal by the window stack.
class frmOptions : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmOptions");

    // programPath is what the start-with-session entry starts when the
    // startup type asks for one.
    frmOptions(const app::Services &services, QString programPath, QWidget *parent = nullptr);
    ~frmOptions() override;

    // The first show loads the window: it takes its place on the window
    // stack and its saved placement, and reads the options.
    void setVisible(bool visible) override;

    QTabBar *TabStrip = nullptr;
    QStackedWidget *pages = nullptr;
    // Startup, Load Save, View-Systray, Default Add, Default Key, and one
    // that no tab shows.
    std::array<QWidget *, 6> pict{};

    std::array<QRadioButton *, 4> optStart{};
    QButtonGroup *optStartGroup = nullptr;
    QCheckBox *chkSplash = nullptr;
    QCheckBox *chkTips = nullptr;
    QCheckBox *chkWizard = nullptr;
    QCheckBox *chkAutoLoadWin = nullptr;
    QCheckBox *chkAutoSaveWin = nullptr;

    // The history size with its spinner.
    QSpinBox *txthistory = nullptr;
    QComboBox *cbBackup = nullptr;
    QCheckBox *chkAutoSaveData = nullptr;
    QCheckBox *chkAutoLoadData = nullptr;
    QCheckBox *chkExpire = nullptr;
    // Below the page's specified frame.
    LockOptionsGroup *fraLock = nullptr;

    QComboBox *cbSystray = nullptr;
    QComboBox *cbSystray2 = nullptr;
    QCheckBox *chkURLTray = nullptr;
    QCheckBox *chkViewIcon = nullptr;
    QCheckBox *chkNotes = nullptr;
    QComboBox *cbAction = nullptr;
    QCheckBox *chkTV = nullptr;
    QCheckBox *chkFileName = nullptr;

    QLineEdit *txtDExpire = nullptr;
    QLineEdit *txtDChange = nullptr;
    QLineEdit *txtNExpire = nullptr;
    QLineEdit *txtNChange = nullptr;

    QComboBox *cbBefore = nullptr;
    QLineEdit *txtbefore = nullptr;
    QComboBox *cbAfter = nullptr;
    QLineEdit *txtAfter = nullptr;
    options::ClipboardGroup *clipboard = nullptr;

    QPushButton *cmdLanguage = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;
    QPushButton *cmdApply = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QWidget *buildStartupPage();
    QWidget *buildLoadSavePage();
    QWidget *buildViewSystrayPage();
    QWidget *buildDefaultAddPage();
    QWidget *buildDefaultKeyPage();
    QWidget *buildLanguagePage();

    void Form_Load();
    void Form_Unload();
    void LoadValues();
    // Answers false, and stores nothing, when a field cannot be stored.
    bool Apply();
    bool checkNumberFields();
    void showPageOf(const QWidget *control);

    void TabStrip_Click(int index);
    void optStart_Click(int index);
    void chkAutoLoadData_Click();
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdApply_Click();

    const app::Services &m_services;
    const QString m_programPath;
    bool m_loaded = false;
};

namespace dialogs {

// Opens a fresh options window over the current one. The window deletes
// itself when it closes; the answer is empty once it has.
QPointer<frmOptions> ShowOptions(const app::Services &services, const QString &programPath);

} // namespace dialogs
