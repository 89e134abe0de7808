#include "player/app/TFormAbout.h"

#include "player/app/DesktopOpener.h"
#include "player/help/HelpWindow.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vorlo {

TFormAbout::TFormAbout(const QString& programFolder, QWidget* parent)
    : QDialog(parent), readMePage_(programFolder + QStringLiteral("/ReadMe.txt")) {
    setObjectName(QStringLiteral("FormAbout"));
    setWindowTitle(QStringLiteral("About MIDI Vorlo"));

    auto* icon = new QLabel;
    icon->setPixmap(QPixmap(QStringLiteral(":/icons/vorlo.png")));
    auto* name = new QLabel(QStringLiteral("<b style='font-size:16pt'>MIDI Vorlo</b>"));
    name->setObjectName(QStringLiteral("LblName"));
    auto* version = new QLabel(QStringLiteral("Version %1").arg(QStringLiteral(VORLO_VERSION)));
    version->setObjectName(QStringLiteral("LblVersion"));
    auto* blurb = new QLabel(QStringLiteral("A jukebox for MIDI files, wave audio, CD tracks and video clips."));
    blurb->setWordWrap(true);

    auto* help = new QLabel(QStringLiteral("<a href='help'>Help</a>"));
    help->setObjectName(QStringLiteral("LblHelp"));
    auto* readMe = new QLabel(QStringLiteral("<a href='readme'>Read Me</a>"));
    readMe->setObjectName(QStringLiteral("LblReadMe"));
    for (QLabel* link : {help, readMe}) {
        link->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
        link->setFocusPolicy(Qt::StrongFocus);
    }
    connect(help, &QLabel::linkActivated, this, [] { HelpWindow::showTopic(HelpTopics::Contents); });
    connect(readMe, &QLabel::linkActivated, this, [this] { DesktopOpener::open(readMePage_); });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* text = new QVBoxLayout;
    text->addWidget(name);
    text->addWidget(version);
    text->addWidget(blurb);
    auto* links = new QHBoxLayout;
    links->addWidget(help);
    links->addWidget(readMe);
    links->addStretch();
    text->addLayout(links);
    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addLayout(text, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(buttons);
    setFixedWidth(360);
}

}  // namespace vorlo
