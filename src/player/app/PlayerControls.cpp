#include "player/app/PlayerControls.h"

#include "controls/TDigitBox.h"
#include "controls/TLabel2.h"
#include "controls/TSTrackBar.h"
#include "core/settings/DesignSize.h"

#include <QFrame>
#include <QStyle>
#include <QToolButton>

namespace vorlo {

namespace {

QToolButton* makeButton(QWidget* parent, const char* name, const QString& hint, QStyle::StandardPixmap icon,
                        const QString& text, int x) {
    auto* button = new QToolButton(parent);
    button->setObjectName(QLatin1String(name));
    button->setToolTip(hint);
    if (icon != QStyle::SP_CustomBase)
        button->setIcon(parent->style()->standardIcon(icon));
    else
        button->setText(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setGeometry(x, 2, 25, 25);
    button->setEnabled(false);
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

PlayerControls::PlayerControls(QWidget* client) {
    panelControl = new QFrame(client);
    panelControl->setObjectName(QStringLiteral("PanelControl"));
    panelControl->setFrameShape(QFrame::StyledPanel);
    panelControl->setGeometry(2, kTopRowY, 210, kRowHeight);
    play = makeButton(panelControl, "SpdBtnPlay", QStringLiteral("Play(F2)"), QStyle::SP_MediaPlay, {}, 3);
    pause = makeButton(panelControl, "SpdBtnPause", QStringLiteral("Pause(F3)"), QStyle::SP_MediaPause, {}, 28);
    stop = makeButton(panelControl, "SpdBtnStop", QStringLiteral("Stop(F4)"), QStyle::SP_MediaStop, {}, 53);
    previous =
        makeButton(panelControl, "SpdBtnPrev", QStringLiteral("Previous(F6)"), QStyle::SP_MediaSkipBackward, {}, 78);
    next = makeButton(panelControl, "SpdBtnNext", QStringLiteral("Next(F5)"), QStyle::SP_MediaSkipForward, {}, 103);
    reverse =
        makeButton(panelControl, "SpdBtnBack", QStringLiteral("Reverse(F8)"), QStyle::SP_MediaSeekBackward, {}, 128);
    forward =
        makeButton(panelControl, "SpdBtnStep", QStringLiteral("Forward(F7)"), QStyle::SP_MediaSeekForward, {}, 153);
    eject = makeButton(panelControl, "SpdEject", QStringLiteral("Eject CD(F9)"), QStyle::SP_CustomBase,
                       QString(QChar(0x23CF)), 178);

    panelSpeed = new QFrame(client);
    panelSpeed->setObjectName(QStringLiteral("PanelSpeed"));
    panelSpeed->setFrameShape(QFrame::StyledPanel);
    panelSpeed->setGeometry(215, kTopRowY, 181, kRowHeight);
    oneTouch = makeButton(panelSpeed, "SpdBtnCursor", QStringLiteral("One Touch Cursor"), QStyle::SP_CustomBase,
                          QString(QChar(0x261D)), 3);
    oneTouch->setCheckable(true);
    openList = makeButton(panelSpeed, "SpeedBtnOpen", QStringLiteral("Open List"), QStyle::SP_DialogOpenButton, {}, 28);
    saveList = makeButton(panelSpeed, "SpeedBtnSave", QStringLiteral("Save List"), QStyle::SP_DialogSaveButton, {}, 53);
    closeList =
        makeButton(panelSpeed, "SpdBtnClose", QStringLiteral("Close List"), QStyle::SP_DialogCloseButton, {}, 78);
    volume = makeButton(panelSpeed, "SpdBtnVolume", QStringLiteral("Volume Control"), QStyle::SP_MediaVolume, {}, 103);
    shrink = makeButton(panelSpeed, "SpdBtnShrink", QStringLiteral("Hide"), QStyle::SP_TitleBarMinButton, {}, 128);
    refresh = makeButton(panelSpeed, "SpeedBtnRefresh", QStringLiteral("Refresh File Box"), QStyle::SP_BrowserReload,
                         {}, 153);
    for (QToolButton* always : {oneTouch, openList, volume, shrink, refresh}) always->setEnabled(true);

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
        box->setDelay(0);
    }
    setLabelColour(counterLabel, kLime);

    labelAuto = makeLabel(panelCounter, "LblAuto", QStringLiteral("Auto"), 74, 2, 36);
    labelLoop = makeLabel(panelCounter, "LblLoop", QStringLiteral("Loop"), 112, 2, 36);
    labelRepeat = makeLabel(panelCounter, "LblRepeat", QStringLiteral("Repeat"), 150, 2, 40);
    labelRandom = makeLabel(panelCounter, "LblRandom", QStringLiteral("Random"), 74, 15, 38);
    labelShuffle = makeLabel(panelCounter, "LblShuffle", QStringLiteral("Shuffle"), 112, 15, 38);
    labelZip = makeLabel(panelCounter, "LblZip", QStringLiteral("Zip"), 150, 15, 36);

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
