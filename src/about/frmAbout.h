#pragma once

#include "Services.h"
#include "SystemInfo.h"

#include <memory>
#include <QPointer>
#include <QString>
#include <QVersionNumber>
#include <QWidget>

class QCloseEvent;
class QKeyEvent;
class QLabel;
class QPlainTextEdit;
class QPushButton;

namespace platform {
class Shell;
}

namespace about {

// "Version 1.2.3".
QString VersionText(const QVersionNumber &version);

// Where the special-edition link leads (the edition is not shown).
inline const QString SpecialEditionPage = QStringLiteral("https://orbitalis.example/");

} // namespace about

// The about box: the program's name, version, notices and credits, two links
// to the maker and a button that starts the system information tool. It is
// modeless and made modal by the window stack; closing it asks for no refresh.
class frmAbout : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmAbout");

    // The shell opens the links and starts the system information tool.
    frmAbout(const app::Services &services, const QVersionNumber &version,
             std::unique_ptr<platform::Shell> shell, about::SystemInfoLookup lookup,
             QWidget *parent = nullptr);
    ~frmAbout() override;

    // Loads the window and shows it.
    void View();

    QLabel *picIcon = nullptr;
    QLabel *lblTitle = nullptr;
    QLabel *lblVersion = nullptr;
    QLabel *lbCopyright = nullptr;
    QPlainTextEdit *Text1 = nullptr;
    QLabel *lblCredits = nullptr;
    QLabel *URLwww = nullptr;
    QLabel *URLmail = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdSysInfo = nullptr;
    // The special-edition banner, hidden in this edition.
    QWidget *frSpecial = nullptr;
    QLabel *lblSpecial = nullptr;
    QLabel *URLspecial = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void Form_Load();
    void Form_Unload();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    void openLink(const QString &target);

    const app::Services &m_services;
    QVersionNumber m_version;
    std::unique_ptr<platform::Shell> m_shell;
    about::SystemInfoLookup m_lookup;
    bool m_loaded = false;
};

namespace about {

// Opens the about box for the running program's version, with the desktop's
// shell and system information tool. The window deletes itself when it
// closes; the answer is empty once it has.
QPointer<frmAbout> ShowAbout(const app::Services &services);

} // namespace about
