#include "player/app/PlayerControls.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSTrackBar.h"
#include "core/settings/DesignSize.h"
#include "player/app/PlayerActions.h"

#include <QAction>
#include <QFrame>
#include <QStyle>

namespace vorlo {

namespace {

template <class Button = QToolButton>
Button* makeButton(QWidget* parent, const char* name, QAction* action, int x) {
    auto* button = new Button(parent);
    button->setObjectName(QLatin1String(name));
    if (action) button->setDefaultAction(action);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(x, 2, 25, 25);
    return button;
}

TLabel2* makeLabel(QWidget* parent, const char* name, const QString& text, int x, int y, int width) {
    auto* label = new TLabel2(text, parent);
    label->setObjectName(QLatin1String(name));
    QFont font = label->font();
    font.setPointSize(7);
    label->setFont(font);
    label->setGeometry(x, y, width, 13);
    label->setCursor(Qt::PointingHandCursor);
    setLabelColour(label, PlayerControls::kSilver);
    return label;
}

}  // namespace

void setLabelColour(QWidget* label, const QColor& colour) {
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, colour);
    label->setPalette(palette);
}

QColor toColor(Rgb colour) { return QColor(colour.red, colour.green, colour.blue); }

PlayerControls::PlayerControls(QWidget* client, const PlayerActions& actions) {
    panelControl = new QFrame(client);
    panelControl->setObjectName(QStringLiteral("PanelControl"));
    panelControl->setFrameShape(QFrame::StyledPanel);
    panelControl->setGeometry(2, kTopRowY, 210, kRowHeight);
    play = makeButton(panelControl, "SpdBtnPlay", actions.play, 3);
    pause = makeButton(panelControl, "SpdBtnPause", actions.pause, 28);
    stop = makeButton(panelControl, "SpdBtnStop", actions.stop, 53);
    previous = makeButton(panelControl, "SpdBtnPrev", actions.previous, 78);
    next = makeButton(panelControl, "SpdBtnNext", actions.next, 103);
    reverse = makeButton<StepButton>(panelControl, "SpdBtnBack", actions.reverse, 128);
    forward = makeButton<StepButton>(panelControl, "SpdBtnStep", actions.forward, 153);
    eject = makeButton(panelControl, "SpdEject", actions.eject, 178);

    panelSpeed = new QFrame(client);
    panelSpeed->setObjectName(QStringLiteral("PanelSpeed"));
    panelSpeed->setFrameShape(QFrame::StyledPanel);
    panelSpeed->setGeometry(215, kTopRowY, 181, kRowHeight);
    // The file box drives One Touch Cursor and Refresh itself.
    oneTouch = makeButton(panelSpeed, "SpdBtnCursor", nullptr, 3);
    oneTouch->setToolTip(QStringLiteral("One Touch Cursor"));
    oneTouch->setText(QString(QChar(0x261D)));
    oneTouch->setCheckable(true);
    openList = makeButton(panelSpeed, "SpeedBtnOpen", actions.openList, 28);
    saveList = makeButton(panelSpeed, "SpeedBtnSave", actions.saveList, 53);
    closeList = makeButton(panelSpeed, "SpdBtnClose", actions.closeList, 78);
    volume = makeButton(panelSpeed, "SpdBtnVolume", actions.volume, 103);
    shrink = makeButton(panelSpeed, "SpdBtnShrink", actions.hide, 128);
    refresh = makeButton(panelSpeed, "SpeedBtnRefresh", nullptr, 153);
    refresh->setToolTip(QStringLiteral("Refresh File Box"));
    refresh->setIcon(refresh->style()->standardIcon(QStyle::SP_BrowserReload));

    panelCounter = new QFrame(client);
    panelCounter->setObjectName(QStringLiteral("PanelCounter"));
    panelCounter->setToolTip(QStringLiteral("Toggle play mode here"));
    panelCounter->setAutoFillBackground(true);
    QPalette black = panelCounter->palette();
    black.setColor(QPalette::Window, Qt::black);
    panelCounter->setPalette(black);
    panelCounter->setGeometry(399, kTopRowY, 191, kRowHeight);

    minutes = new digitboxdb(panelCounter);
    minutes->setObjectName(QStringLiteral("DgMinIn"));
    minutes->setToolTip(QStringLiteral("Switch Counter"));
    minutes->setDigits(2);
    minutes->move(4, 2);
    counterLabel = new TLabel2(QStringLiteral(":"), panelCounter);
    counterLabel->setObjectName(QStringLiteral("LblCounter"));
    counterLabel->setToolTip(QStringLiteral("Click to switch counter"));
    counterLabel->setGeometry(32, 2, 8, 25);
    counterLabel->setAlignment(Qt::AlignCenter);
    seconds = new digitboxdb(panelCounter);
    seconds->setObjectName(QStringLiteral("DgSecIn"));
    seconds->setToolTip(QStringLiteral("Switch Counter Mode"));
    seconds->setDigits(2);
    seconds->move(40, 2);
    for (digitboxdb* box : {minutes, seconds}) {
        box->setColor1(kLime);
        box->setColor2(QColor(0, 48, 0));
        // The boxes only show what the core counts, the wait between songs included.
        box->setDelay(0);
    }
    setLabelColour(counterLabel, kLime);

    labelAuto = makeLabel(panelCounter, "LblAuto", QStringLiteral("Auto"), 74, 2, 36);
    labelLoop = makeLabel(panelCounter, "LblLoop", QStringLiteral("Loop"), 112, 2, 36);
    labelRepeat = makeLabel(panelCounter, "LblRepeat", QStringLiteral("Repeat"), 150, 2, 40);
    labelRandom = makeLabel(panelCounter, "LblRandom", QStringLiteral("Random"), 74, 15, 38);
    labelShuffle = makeLabel(panelCounter, "LblShuffle", QStringLiteral("Shuffle"), 112, 15, 38);
    labelZip = makeLabel(panelCounter, "LblZip", QStringLiteral("Zip"), 150, 15, 36);
    // It only shows zip mode: no click does anything on it.
    labelZip->setToolTip(QStringLiteral("Add Zip File to Playlist to Activate Zip Mode"));
    labelZip->unsetCursor();

    trackBar = new TSTrackBar(client);
    trackBar->setObjectName(QStringLiteral("TrackBar"));
    trackBar->setOrientation(Qt::Horizontal);
    trackBar->setToolTip(QStringLiteral("Drag and Release"));
    trackBar->setCursor(Qt::PointingHandCursor);
    trackBar->setRange(0, 0);
    trackBar->setEnabled(false);
    layout(kDesignClientWidth);
}

void PlayerControls::layout(int clientWidth) { trackBar->setGeometry(2, kTrackBarY, clientWidth - 4, kTrackBarHeight); }

}  // namespace vorlo
