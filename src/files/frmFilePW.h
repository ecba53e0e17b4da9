#pragma once

#include "FileRoutines.h"
#include "Services.h"

#include <QWidget>

class QEventLoop;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks for the password of a file being opened or imported (controlla), or
// changes the password of the open file (changepw). Shown modeless and made
// modal by the window stack; the caller waits in an event loop until it has
// closed. The title bar's close button is refused until OK or Cancel.
class frmFilePW : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmFilePW");

    explicit frmFilePW(const app::Services &services, QWidget *parent = nullptr);
    ~frmFilePW() override;

    // The password typed, "" when the user cancelled.
    QString controlla();
    // On OK sets the new password on the store (none when left blank) and says so.
    void changepw();

    bool Cancelled() const { return m_cancelled; }
    bool Waiting() const { return m_waiting; }

    QLineEdit *txtPW1 = nullptr;
    QLineEdit *txtPW2 = nullptr;
    QLineEdit *txtPW3 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label3 = nullptr;
    QPushButton *cmdOK = nullptr;
    QPushButton *cmdCancel = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    enum class Mode
    {
        Ask,
        Change
    };
    void showAndWait(Mode mode);
    void cmdOK_Click();
    void cmdCancel_Click();
    void PasswordCorretta();
    void clearSecrets();

    const app::Services &m_services;
    QString m_result;
    bool m_cancelled = false;
    bool m_blockClose = false;
    bool m_waiting = false;
    bool m_loaded = false;
    QEventLoop *m_wait = nullptr;
};

// The password question of the file routines, through frmFilePW.
class DialogPasswordAsker final : public files::FilePasswordAsker
{
public:
    explicit DialogPasswordAsker(const app::Services &services) : m_services(services) {}
    QString askFilePassword(const QString &path) override;

private:
    const app::Services &m_services;
};
