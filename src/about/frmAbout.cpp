#include "frmAbout.h"

#include "DialogKeys.h"
#include "DialogSupport.h"
#include "Shell.h"
#include "StartUp.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace {

constexpr int IconSize = 64;
constexpr int TextWidth = 380;
constexpr int TextLines = 9;

const QString Copyright = QStringLiteral("Copyright \u00A9 2026 Quorvan. All rights reserved.");

const QString Disclaimer = QStringLiteral(
    "This is beta software. It has been tested with care, but it may still contain "
    "errors: keep a copy of your password files in a safe place.\n"
    "\n"
    "The program is provided \"as is\", without warranty of any kind. In no event shall "
    "the authors be liable for any loss of data, loss of profit or other damage arising "
    "from the use of, or the inability to use, this program.\n"
    "\n"
    "The main window keeps room for an advertising strip. In this edition it stays empty "
    "and never connects to the network; nothing you store is ever sent anywhere.\n"
    "\n"
    "You may copy and give away this program freely, provided that it is passed on "
    "complete and unchanged, with this notice, and that no charge is made for it.");

const QString Credits =
    QStringLiteral("Icons: Silk icon set 1.3 by Mark James, under the Creative Commons Attribution "
                   "licence (CC BY 2.5). Program icon drawn by the Vellumor team.");

QString linkText(const QString &target, const QString &shown)
{
    return QStringLiteral("<a href=\"%1\">%2</a>")
        .arg(target.toHtmlEscaped(), shown.toHtmlEscaped());
}

QLabel *linkLabel(const QString &name, QWidget *parent)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    // The links go through our shell, as every other link of the program.
    label->setOpenExternalLinks(false);
    return label;
}

} // namespace

namespace about {

QString VersionText(const QVersionNumber &version)
{
    return QStringLiteral("Version %1.%2.%3")
        .arg(version.majorVersion())
        .arg(version.minorVersion())
        .arg(version.microVersion());
}

} // namespace about

frmAbout::frmAbout(const app::Services &services, const QVersionNumber &version,
                   std::unique_ptr<platform::Shell> shell, about::SystemInfoLookup lookup,
                   QWidget *parent)
    : QWidget(parent, Qt::Dialog), m_services(services), m_version(version),
      m_shell(std::move(shell)), m_lookup(std::move(lookup))
{
    setObjectName(Tag);

    picIcon = new QLabel(this);
    picIcon->setObjectName(QStringLiteral("picIcon"));
    picIcon->setPixmap(
        QPixmap(QStringLiteral(":/vellumor/about/app.png"))
            .scaled(IconSize, IconSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    picIcon->setFixedSize(IconSize, IconSize);

    lblTitle = new QLabel(this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = lblTitle->font();
    titleFont.setBold(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.6);
    lblTitle->setFont(titleFont);
    lblVersion = new QLabel(this);
    lblVersion->setObjectName(QStringLiteral("lblVersion"));
    lbCopyright = new QLabel(Copyright, this);
    lbCopyright->setObjectName(QStringLiteral("lbCopyright"));

    Text1 = new QPlainTextEdit(Disclaimer, this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setReadOnly(true);
    Text1->setMinimumWidth(TextWidth);
    Text1->setFixedHeight(Text1->fontMetrics().lineSpacing() * TextLines);

    frSpecial = new QWidget(this);
    frSpecial->setObjectName(QStringLiteral("frSpecial"));
    lblSpecial = new QLabel(QStringLiteral("Special Edition for\nOrbitalis"), frSpecial);
    lblSpecial->setObjectName(QStringLiteral("lblSpecial"));
    URLspecial = linkLabel(QStringLiteral("URLspecial"), frSpecial);
    URLspecial->setText(linkText(about::SpecialEditionPage, QStringLiteral("orbitalis.example")));
    auto *special = new QHBoxLayout(frSpecial);
    special->setContentsMargins(0, 0, 0, 0);
    special->addWidget(lblSpecial);
    special->addStretch();
    special->addWidget(URLspecial);

    URLwww = linkLabel(QStringLiteral("URLwww"), this);
    URLmail = linkLabel(QStringLiteral("URLmail"), this);

    lblCredits = new QLabel(Credits, this);
    lblCredits->setObjectName(QStringLiteral("lblCredits"));
    lblCredits->setWordWrap(true);
    QFont small = lblCredits->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    lblCredits->setFont(small);

    cmdOK = new QPushButton(QStringLiteral("OK"), this);
    cmdOK->setObjectName(QStringLiteral("cmdOK"));
    cmdOK->setDefault(true);
    cmdSysInfo = new QPushButton(QStringLiteral("&System Info..."), this);
    cmdSysInfo->setObjectName(QStringLiteral("cmdSysInfo"));

    auto *heading = new QVBoxLayout;
    heading->addWidget(lblTitle);
    heading->addWidget(lblVersion);
    heading->addWidget(lbCopyright);
    heading->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(picIcon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(heading, 1);

    auto *links = new QHBoxLayout;
    links->addWidget(URLwww);
    links->addStretch();
    links->addWidget(URLmail);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdSysInfo);
    buttons->addWidget(cmdOK);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(Text1);
    layout->addWidget(frSpecial);
    layout->addLayout(links);
    layout->addWidget(lblCredits);
    layout->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmAbout::cmdOK_Click);
    connect(cmdSysInfo, &QPushButton::clicked, this, &frmAbout::cmdSysInfo_Click);
    for (QLabel *link : {URLwww, URLmail, URLspecial}) {
        connect(link, &QLabel::linkActivated, this, &frmAbout::openLink);
    }
}

frmAbout::~frmAbout()
{
    // A window destroyed without closing still leaves the stack.
    Form_Unload();
}

void frmAbout::Form_Load()
{
    if (m_loaded) {
        return;
    }
    m_loaded = true;
    // The layout closes up behind the hidden banner, so the links move up
    // into its place and the window is as much shorter.
    frSpecial->hide();
    m_services.windows.PushWindow(this);

    const QString title = app::ProductName;
    setWindowTitle(QStringLiteral("About ") + title);
    lblTitle->setText(title);
    lblVersion->setText(about::VersionText(m_version));

    URLwww->setText(linkText(app::HomePage, QUrl(app::HomePage).host()));
    URLmail->setText(linkText(app::MailAddress, QUrl(app::MailAddress).path()));

    layout()->activate();
    setFixedSize(sizeHint());
    app::RestoreDialogPlacement(m_services, *this, Tag);
}

void frmAbout::Form_Unload()
{
    if (!m_loaded) {
        return;
    }
    m_loaded = false;
    app::UnloadStackedDialog(m_services, *this, Tag, false, false, 0);
}

void frmAbout::View()
{
    Form_Load();
    show();
    raise();
    activateWindow();
    cmdOK->setFocus();
}

void frmAbout::cmdOK_Click()
{
    close();
}

void frmAbout::cmdSysInfo_Click()
{
    about::StartSystemInfo(m_lookup, *m_shell, m_services.prompt);
}

void frmAbout::openLink(const QString &target)
{
    m_shell->open(target);
}

void frmAbout::keyPressEvent(QKeyEvent *event)
{
    if (!app::HandleDialogKey(*event, *cmdOK, [this] { cmdOK_Click(); })) {
        QWidget::keyPressEvent(event);
    }
}

void frmAbout::closeEvent(QCloseEvent *event)
{
    Form_Unload();
    event->accept();
}

namespace about {

QPointer<frmAbout> ShowAbout(const app::Services &services)
{
    auto *window =
        new frmAbout(services, QVersionNumber::fromString(QCoreApplication::applicationVersion()),
                     std::make_unique<platform::DesktopShell>(), SystemInfoLookup::desktop());
    window->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<frmAbout> shown(window);
    window->View();
    return shown;
}

} // namespace about
