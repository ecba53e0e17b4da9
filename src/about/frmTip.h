#pragma once

#include "Services.h"

#include <functional>
#include <QPointer>
#include <QRandomGenerator>
#include <QString>
#include <QStringList>
#include <QWidget>

class QCheckBox;
class QCloseEvent;
class QFrame;
class QKeyEvent;
class QLabel;
class QPushButton;

namespace about {

// A number in [0, 1): which tip comes next.
using TipRandom = std::function<double()>;

inline const QString NoTips = QStringLiteral("\nTIPS Not Available for now.");

} // namespace about

// The tip window of the first start. It is modeless and made modal by the
// window stack; with the ViewTips option off it closes as soon as it loads.
// Its check box writes the stored ViewTips value at once, so that the choice
// holds for the next start even if the options are never saved in this one.
class frmTip : public QWidget
{
    Q_OBJECT

public:
    static inline const QString Tag = QStringLiteral("frmTip");

    // tips: the texts "Next Tip" picks from; random: the draw that picks,
    // an own generator seeded at load when empty.
    frmTip(const app::Services &services, QStringList tips = {}, about::TipRandom random = {},
           QWidget *parent = nullptr);
    ~frmTip() override;

    // Loads the window; shows it when tips are to be shown, else unloads it.
    // Answers whether it is shown.
    bool View();
    void DisplayCurrentTip();

    QFrame *Picture1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *lblTipText = nullptr;
    QCheckBox *chkLoadTipsAtStartup = nullptr;
    QPushButton *cmdNextTip = nullptr;
    QPushButton *cmdOK = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool Form_Load();
    void Form_Unload();
    void cmdNextTip_Click();
    void cmdOK_Click();
    void chkLoadTipsAtStartup_Click(bool checked);
    double draw();

    const app::Services &m_services;
    QStringList m_tips;
    about::TipRandom m_random;
    QRandomGenerator m_generator;
    int m_currentTip = 0; // 1-based; 0 before the first "Next Tip"
    bool m_loaded = false;
};

namespace about {

// Opens the tip window when the ViewTips option is on. The window deletes
// itself when it closes; the answer is empty once it has.
QPointer<frmTip> ShowTip(const app::Services &services);

} // namespace about
