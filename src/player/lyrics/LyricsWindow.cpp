#include "player/lyrics/LyricsWindow.h"

#include "core/app/ErrorHandler.h"

#include <QAbstractTextDocumentLayout>
#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QColor>
#include <QFileInfo>
#include <QFont>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPalette>
#include <QScreen>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

namespace vorlo {

namespace {

QString fromUtf8(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QString html(const std::string& text) { return fromUtf8(text).toHtmlEscaped(); }

// A line's first `sung` syllables, and the rest of it.
std::pair<std::string, std::string> splitLine(const midi::LyricLine& line, int sung) {
    std::pair<std::string, std::string> parts;
    for (std::size_t s = 0; s < line.syllables.size(); ++s)
        (static_cast<int>(s) < sung ? parts.first : parts.second) += line.syllables[s].text;
    return parts;
}

}  // namespace

LyricsWindow::LyricsWindow(PlaybackEngine& engine, QWidget* parent) : QWidget(parent, Qt::Window), follower_(engine) {
    setObjectName(QStringLiteral("LyricsWindow"));
    setWindowTitle(QStringLiteral("Lyrics"));
    resize(480, 400);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    menuBar_ = new QMenuBar(this);
    layout->setMenuBar(menuBar_);
    title_ = new QLabel(this);
    title_->setObjectName(QStringLiteral("LyricsTitle"));
    title_->setAlignment(Qt::AlignCenter);
    title_->setWordWrap(true);
    information_ = new QLabel(this);
    information_->setObjectName(QStringLiteral("LyricsInformation"));
    information_->setAlignment(Qt::AlignCenter);
    information_->setWordWrap(true);
    text_ = new QTextBrowser(this);
    text_->setObjectName(QStringLiteral("LyricsText"));
    text_->setFrameShape(QFrame::NoFrame);
    layout->addWidget(title_);
    layout->addWidget(information_);
    layout->addWidget(text_, 1);
    buildMenus();
    setPointSize(settings_.pointSize);

    timer_.setInterval(kRefreshMs);
    connect(&timer_, &QTimer::timeout, this, ErrorHandler::guard([this] { refresh(); }));
    connect(&follower_, &LyricsFollower::lyricsChanged, this, ErrorHandler::guard([this] { showLyricsRead(); }));
}

LyricsWindow::~LyricsWindow() = default;

void LyricsWindow::buildMenus() {
    QMenu* encoding = menuBar_->addMenu(QStringLiteral("&Encoding"));
    encoding->setObjectName(QStringLiteral("LyricsEncoding"));
    encodings_ = new QActionGroup(this);
    for (const midi::TextCharsetName& choice : midi::textCharsets()) {
        QAction* action = encoding->addAction(QString::fromLatin1(choice.label));
        action->setCheckable(true);
        action->setData(QString::fromLatin1(choice.name));
        action->setChecked(choice.charset == midi::TextCharset::Automatic);
        encodings_->addAction(action);
        const midi::TextCharset charset = choice.charset;
        connect(action, &QAction::triggered, this, ErrorHandler::guard([this, charset] { setCharset(charset); }));
    }
    QMenu* view = menuBar_->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("LyricsView"));
    QAction* larger = view->addAction(QStringLiteral("&Larger Text"));
    larger->setShortcuts({QKeySequence::ZoomIn, QKeySequence(Qt::CTRL | Qt::Key_Equal)});
    connect(larger, &QAction::triggered, this, [this] { setPointSize(settings_.pointSize + 2); });
    QAction* smaller = view->addAction(QStringLiteral("&Smaller Text"));
    smaller->setShortcut(QKeySequence::ZoomOut);
    connect(smaller, &QAction::triggered, this, [this] { setPointSize(settings_.pointSize - 2); });
    view->addSeparator();
    QAction* close = view->addAction(QStringLiteral("&Close"));
    close->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(close, &QAction::triggered, this, &QWidget::close);
}

void LyricsWindow::showLyrics() {
    if (!settingsRead_) {
        settingsRead_ = true;
        ErrorHandler::run([this] { settings_ = LyricsSettings::read(); });
        setPointSize(settings_.pointSize);
        for (const midi::TextCharsetName& choice : midi::textCharsets()) {
            if (settings_.encoding == QLatin1String(choice.name)) setCharset(choice.charset);
        }
        // A place on a screen that is no longer there is left to the window manager.
        if (const auto& place = settings_.place;
            place && QGuiApplication::screenAt(QPoint(place->left + place->width / 2, place->top + place->height / 2)))
            setGeometry(place->left, place->top, place->width, place->height);
    }
    show();
    raise();
    activateWindow();
}

void LyricsWindow::saveSettings() {
    const QRect shown = geometry();
    settings_.place = LyricsSettings::Place{shown.x(), shown.y(), shown.width(), shown.height()};
    ErrorHandler::run([this] { settings_.save(); });
}

void LyricsWindow::setPointSize(int points) {
    settings_.pointSize = std::clamp(points, LyricsSettings::kMinimumPointSize, LyricsSettings::kMaximumPointSize);
    QFont font = text_->font();
    font.setPointSize(settings_.pointSize);
    text_->setFont(font);
    text_->document()->setDefaultFont(font);
    QFont titleFont = font;
    titleFont.setBold(true);
    title_->setFont(titleFont);
    QFont informationFont = font;
    informationFont.setPointSize(std::max(LyricsSettings::kMinimumPointSize, settings_.pointSize * 2 / 3));
    information_->setFont(informationFont);
    render();
}

void LyricsWindow::setCharset(midi::TextCharset charset) {
    for (const midi::TextCharsetName& choice : midi::textCharsets()) {
        if (choice.charset != charset) continue;
        settings_.encoding = QLatin1String(choice.name);
        for (QAction* action : encodings_->actions()) action->setChecked(action->data() == settings_.encoding);
    }
    follower_.setCharset(charset);
}

void LyricsWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    follower_.setActive(true);
    timer_.start();
    refresh();
}

void LyricsWindow::hideEvent(QHideEvent* event) {
    timer_.stop();
    follower_.setActive(false);
    QWidget::hideEvent(event);
}

void LyricsWindow::closeEvent(QCloseEvent* event) {
    saveSettings();
    event->accept();
}

void LyricsWindow::refresh() {
    const midi::LyricsPlace place = follower_.place();
    if (place == shown_) return;
    shown_ = place;
    render();
}

void LyricsWindow::showLyricsRead() {
    const midi::SongLyrics& lyrics = follower_.lyrics();
    const QString file = follower_.file();
    setWindowTitle(file.isEmpty() ? QStringLiteral("Lyrics")
                                  : QStringLiteral("Lyrics - %1").arg(QFileInfo(file).fileName()));
    title_->setText(fromUtf8(lyrics.title));
    title_->setVisible(!lyrics.title.empty());
    QStringList information;
    for (const std::string& line : lyrics.information) information << fromUtf8(line);
    information_->setText(information.join(QLatin1Char('\n')));
    information_->setVisible(!information.isEmpty());
    shown_ = follower_.place();
    render();
}

void LyricsWindow::render() {
    if (!text_) return;
    const midi::SongLyrics& lyrics = follower_.lyrics();
    if (lyrics.empty()) {
        const QString absence = follower_.file().isEmpty() ? QStringLiteral("No song is open.") : follower_.absence();
        text_->setHtml(QStringLiteral("<p align=\"center\">%1</p>").arg(absence.toHtmlEscaped()));
        return;
    }
    const QString sungColour = palette().color(QPalette::Highlight).name();
    // Lines already sung fade half-way into the background.
    const QColor text = palette().color(QPalette::Text);
    const QColor base = palette().color(QPalette::Base);
    const QString pastColour =
        QColor((text.red() + base.red()) / 2, (text.green() + base.green()) / 2, (text.blue() + base.blue()) / 2)
            .name();
    QString page;
    for (int i = 0; i < static_cast<int>(lyrics.lines.size()); ++i) {
        const midi::LyricLine& line = lyrics.lines[static_cast<std::size_t>(i)];
        const int top = line.paragraph ? settings_.pointSize : 2;
        page += QStringLiteral("<p align=\"center\" style=\"margin-top:%1px; margin-bottom:0px\">").arg(top);
        if (i < shown_.line) {
            page += QStringLiteral("<span style=\"color:%1\">%2</span>").arg(pastColour, html(line.text()));
        } else if (i == shown_.line) {
            const auto [sung, rest] = splitLine(line, shown_.sung);
            page +=
                QStringLiteral("<b><span style=\"color:%1\">%2</span>%3</b>").arg(sungColour, html(sung), html(rest));
        } else {
            page += html(line.text());
        }
        page += QStringLiteral("</p>");
    }
    text_->setHtml(page);
    scrollToLine(std::max(0, shown_.line));
}

void LyricsWindow::scrollToLine(int line) {
    // The line sung stands a third of the way down, with what was sung just before it still in view.
    QTextDocument* document = text_->document();
    const QTextBlock block = document->findBlockByNumber(line);
    if (!block.isValid()) return;
    const QRectF area = document->documentLayout()->blockBoundingRect(block);
    text_->verticalScrollBar()->setValue(static_cast<int>(area.top()) - text_->viewport()->height() / 3);
}

QString LyricsWindow::titleText() const { return title_->isVisibleTo(this) ? title_->text() : QString(); }

QString LyricsWindow::informationText() const {
    return information_->isVisibleTo(this) ? information_->text() : QString();
}

QString LyricsWindow::plainText() const { return text_->toPlainText(); }

QString LyricsWindow::sungText() const {
    const midi::SongLyrics& lyrics = follower_.lyrics();
    if (shown_.line < 0 || shown_.line >= static_cast<int>(lyrics.lines.size())) return {};
    return fromUtf8(splitLine(lyrics.lines[static_cast<std::size_t>(shown_.line)], shown_.sung).first);
}

}  // namespace vorlo
