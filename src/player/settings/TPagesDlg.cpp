#include "player/settings/TPagesDlg.h"

#include "core/settings/Settings.h"
#include "player/help/HelpWindow.h"
#include "player/settings/FileTypesPage.h"
#include "player/settings/PlayControlPage.h"

#include <QDialogButtonBox>
#include <QLayout>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

namespace vorlo {

TPagesDlg::TPagesDlg(Settings& settings, MidiResetPage::Browser browse, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setObjectName(QStringLiteral("PagesDlg"));
    setWindowTitle(QStringLiteral("MIDI Vorlo Configuration"));
    // A fixed frame without the title bar's buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::MSWindowsFixedSizeDialogHint);

    pageControl_ = new QTabWidget(this);
    pageControl_->setObjectName(QStringLiteral("PageControl"));

    auto* buttons = new QDialogButtonBox(this);
    auto* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    ok->setObjectName(QStringLiteral("OKBtn"));
    ok->setDefault(true);
    auto* cancel = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("CancelBtn"));
    auto* help = buttons->addButton(QStringLiteral("&Help"), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("HelpBtn"));
    connect(ok, &QPushButton::clicked, this, [this] { OKBtnClick(); });
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(help, &QPushButton::clicked, this, [this] { HelpBtnClick(); });

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 6);
    layout->addWidget(pageControl_, 1);
    layout->addWidget(buttons);

    setFixedSize(kClientWidth, kClientHeight);
    const Options& options = settings.options();
    addPage(new PlayControlPage(options));
    addPage(new FileTypesPage);
    addPage(new MidiResetPage(options, std::move(browse)));
}

void TPagesDlg::fitTexts() {
    // The dialog keeps its size; its captions are long for it. Where the desktop's font is wider than the one
    // the dialog was drawn for, a smaller font keeps every caption whole instead of cutting it off.
    constexpr qreal kSmallestPointSize = 7.0;
    const auto fits = [this] {
        // What the page control needs for its widest page, against what the dialog's layout gives it.
        const QMargins margins = layout()->contentsMargins();
        return pageControl_->minimumSizeHint().width() <= width() - margins.left() - margins.right();
    };
    QFont font = this->font();
    if (font.pointSizeF() <= 0) return;  // a font sized in pixels: left as the desktop gives it
    while (!fits() && font.pointSizeF() - 0.5 >= kSmallestPointSize) {
        font.setPointSizeF(font.pointSizeF() - 0.5);
        setFont(font);
    }
}

void TPagesDlg::addPage(ConfigurationPage* page) {
    pages_.push_back(page);
    pageControl_->addTab(page, page->title());
    connect(page, &ConfigurationPage::showMe, this, [this, page] { pageControl_->setCurrentWidget(page); });
    fitTexts();
}

void TPagesDlg::showPage(int index) { pageControl_->setCurrentIndex(index); }

int TPagesDlg::shownPage() const { return pageControl_->currentIndex(); }

PlayControlPage* TPagesDlg::playControl() const { return static_cast<PlayControlPage*>(page(PlayControl)); }

FileTypesPage* TPagesDlg::fileTypes() const { return static_cast<FileTypesPage*>(page(FileTypes)); }

MidiResetPage* TPagesDlg::midiReset() const { return static_cast<MidiResetPage*>(page(MidiReset)); }

void TPagesDlg::OKBtnClick() {
    Options edited = settings_.options();
    for (ConfigurationPage* page : pages_) {
        if (!page->apply(edited)) {
            settings_.apply(edited);
            return;
        }
    }
    settings_.apply(edited);
    accept();
}

void TPagesDlg::HelpBtnClick() {
    if (ConfigurationPage* shown = page(shownPage())) HelpWindow::showTopic(shown->helpContext());
}

}  // namespace vorlo
