#include "frmTip.h"

#include "DialogKeys.h"
#include "DialogSupport.h"

#include <cmath>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int TipWidth = 360;
constexpr int TipHeight = 150;

} // namespace

frmTip::frmTip(const app::Services &services, QStringList tips, about::TipRandom random,
               QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services), m_tips(std::move(tips)),
      m_random(std::move(random))
{
    setObjectName(Tag);
    setWindowTitle(QStringLiteral("Tip of the Day"));

    Picture1 = new QFrame(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFrameShape(QFrame::StyledPanel);
    Picture1->setAutoFillBackground(true);
    QPalette paper = Picture1->palette();
    paper.setColor(QPalette::Window, paper.color(QPalette::Base));
    paper.setColor(QPalette::WindowText, paper.color(QPalette::Text));
    Picture1->setPalette(paper);
    Picture1->setMinimumSize(TipWidth, TipHeight);

    Label1 = new QLabel(QStringLiteral("Did you know..."), Picture1);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont heading = Label1->font();
    heading.setBold(true);
    heading.setPointSizeF(heading.pointSizeF() * 1.3);
    Label1->setFont(heading);
    lblTipText = new QLabel(Picture1);
    lblTipText->setObjectName(QStringLiteral("lblTipText"));
    lblTipText->setWordWrap(true);
    lblTipText->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    auto *paperLayout = new QVBoxLayout(Picture1);
    paperLayout->addWidget(Label1);
    paperLayout->addWidget(lblTipText, 1);

    chkLoadTipsAtStartup = new QCheckBox(QStringLiteral("&Show Tips at Startup"), this);
    chkLoadTipsAtStartup->setObjectName(QStringLiteral("chkLoadTipsAtStartup"));
    cmdNextTip = new QPushButton(QStringLiteral("&Next Tip"), this);
    cmdNextTip->setObjectName(QStringLiteral("cmdNextTip"));
    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);

    auto *bottom = new QHBoxLayout;
    bottom->addWidget(chkLoadTipsAtStartup);
    bottom->addStretch();
    bottom->addWidget(cmdNextTip);
    bottom->addWidget(cmdOK);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Picture1, 1);
    layout->addLayout(bottom);
    resize(sizeHint());

    connect(cmdNextTip, &QPushButton::clicked, this, &frmTip::cmdNextTip_Click);
    connect(cmdOK, &QPushButton::clicked, this, &frmTip::cmdOK_Click);
    // clicked, not toggled: only the user's choice is written, never the
    // check the window sets for itself when it loads.
    connect(chkLoadTipsAtStartup, &QCheckBox::clicked, this, &frmTip::chkLoadTipsAtStartup_Click);
}

frmTip::~frmTip()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

bool frmTip::Form_Load()
{
    if (m_loaded) {
        return true;
    }
    m_loaded = true;
    m_services.windows.PushWindow(this);
    if (!m_services.options.ViewTips) {
        close();
        return false;
    }
    chkLoadTipsAtStartup->setChecked(true);
    m_generator.seed(QRandomGenerator::system()->generate());
    lblTipText->setText(about::NoTips);

    app::RestoreDialogPlacement(m_services, *this, Tag);
    return true;
}

void frmTip::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    app::UnloadStackedDialog(m_services, *this, Tag, false, false, 0);
}

bool frmTip::View()
{
    if (!Form_Load()) {
        return false;
    }
    show();
    raise();
    activateWindow();
    cmdOK->setFocus();
    return true;
}

double frmTip::draw()
{
    return m_random ? m_random() : m_generator.generateDouble();
}

void frmTip::cmdNextTip_Click()
{
    const double tip = std::floor(draw() * static_cast<double>(m_tips.size()) + 1.0);
    m_currentTip = static_cast<int>(tip);
    DisplayCurrentTip();
}

void frmTip::DisplayCurrentTip()
{
    // With no tips the text stays as it is; a number outside the list
    // (before the first draw) shows nothing new either.
    if (m_currentTip >= 1 && m_currentTip <= m_tips.size()) {
        lblTipText->setText(m_tips.at(m_currentTip - 1));
    }
}

void frmTip::chkLoadTipsAtStartup_Click(bool checked)
{
    m_services.settings.OpenOptionSettings().SaveBoolean(QStringLiteral("ViewTips"), checked);
    m_services.settings.ReleaseOptionSettings();
}

void frmTip::cmdOK_Click()
{
    close();
}

void frmTip::keyPressEvent(QKeyEvent *event)
{
    if (!app::HandleDialogKey(*event, *cmdOK, [this] { cmdOK_Click(); })) {
        QWidget::keyPressEvent(event);
    }
}

void frmTip::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace about {

QPointer<frmTip> ShowTip(const app::Services &services)
{
    auto *window = new frmTip(services);
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmTip> shown(window);
    window->View();
    return shown;
}

} // namespace about
