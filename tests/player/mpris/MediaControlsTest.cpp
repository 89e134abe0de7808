#include "core/playback/PlayModes.h"
#include "media/MIDIPlayer.h"
#include "os/Registry.h"
#include "player/app/PlayerActions.h"
#include "player/app/TFormPlayer.h"
#include "player/mpris/MediaControls.h"
#include "player/playlist/PlaylistPanel.h"

#include "PlayerSandbox.h"
#include "TestMedia.h"

#include <QAction>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

#include <limits>

using namespace vorlo;

namespace {

const QString kService = QStringLiteral("org.mpris.MediaPlayer2.midivorlo");
const QString kPath = QStringLiteral("/org/mpris/MediaPlayer2");
const QString kPlayer = QStringLiteral("org.mpris.MediaPlayer2.Player");
const QString kProperties = QStringLiteral("org.freedesktop.DBus.Properties");

// What the player announces on the bus: every PropertiesChanged of the Player interface and every Seeked.
class BusListener : public QObject {
    Q_OBJECT
public:
    QList<QVariantMap> changes;
    QList<qlonglong> seeks;

    // The last value announced for `property` (invalid when none was).
    QVariant last(const QString& property) const {
        for (auto it = changes.crbegin(); it != changes.crend(); ++it) {
            if (it->contains(property)) return it->value(property);
        }
        return {};
    }

public slots:
    void propertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == kPlayer) changes << changed;
    }
    void seeked(qlonglong position) { seeks << position; }
};

// A private session bus of the test's own: a dbus-daemon that ends with the test.
class PrivateBus {
public:
    PrivateBus() {
        const QString program = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (program.isEmpty()) return;
        daemon_.start(program, {"--session", "--nofork", "--print-address=1"});
        if (!daemon_.waitForStarted(5000)) return;
        if (!QTest::qWaitFor([this] { return daemon_.canReadLine(); }, 10000)) return;
        address_ = QString::fromUtf8(daemon_.readLine().trimmed());
    }
    ~PrivateBus() {
        for (const QString& name : names_) QDBusConnection::disconnectFromBus(name);
        daemon_.kill();
        daemon_.waitForFinished(5000);
    }
    const QString& address() const { return address_; }
    // A connection of its own; the player and the test's client each take one.
    QDBusConnection connect(const QString& name) {
        names_ << name;
        return QDBusConnection::connectToBus(address_, name);
    }

private:
    QProcess daemon_;
    QString address_;
    QStringList names_;
};

class MediaControlsTest : public test::PlayerSandbox {
protected:
    void SetUp() override {
        PlayerSandbox::SetUp();
        storeOptions([](Registry& reg) {
            reg.writeString("RESETFILE", "");
            reg.writeBool("AutoPlay", false);  // an entry chosen waits, ready, for Play
            reg.writeBool("LoopPlay", false);
        });
        bus_ = std::make_unique<PrivateBus>();
        if (bus_->address().isEmpty()) GTEST_SKIP() << "no dbus-daemon to run a private session bus";
    }
    void TearDown() override {
        controls_.reset();
        form_.reset();
        bus_.reset();
        PlayerSandbox::TearDown();
    }
    QString song(const QString& name, int lengthMs) {
        const QString file = path(name);
        EXPECT_TRUE(test::writeSong(file, lengthMs));
        return file;
    }
    // The player on the silent clock with `files` in its list, the first one open and ready, on the bus.
    TFormPlayer& start(const QStringList& files) {
        form_ = std::make_unique<TFormPlayer>(dir_.path(), nullptr, test::silentDevice());
        EXPECT_TRUE(form_->FormCreate({}));
        Playlist& playlist = form_->playlistPanel().playlist();
        for (const QString& file : files) playlist.append({file, file.section('/', -1), false});
        playlist.MarkListSaved();
        if (!files.isEmpty()) form_->engine().playEntry(0, PlayRequest::UserChoice);
        controls_ = std::make_unique<MediaControls>(*form_);
        EXPECT_EQ(controls_->attach(bus_->connect("player")), kService);
        client_ = bus_->connect("client");
        client_.connect(kService, kPath, kProperties, "PropertiesChanged", &listener_,
                        SLOT(propertiesChanged(QString, QVariantMap, QStringList)));
        client_.connect(kService, kPath, kPlayer, "Seeked", &listener_, SLOT(seeked(qlonglong)));
        return *form_;
    }
    // Calls a method over the bus and waits for the answer while the player's events run.
    QDBusMessage call(const QString& interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage message = QDBusMessage::createMethodCall(kService, kPath, interface, method);
        message.setArguments(arguments);
        QDBusPendingCall pending = client_.asyncCall(message);
        EXPECT_TRUE(QTest::qWaitFor([&] { return pending.isFinished(); }, 10000)) << method.toStdString();
        return pending.reply();
    }
    QVariant property(const QString& name) {
        const QDBusMessage reply = call(kProperties, "Get", {kPlayer, name});
        if (reply.type() != QDBusMessage::ReplyMessage) return {};
        return qvariant_cast<QDBusVariant>(reply.arguments().value(0)).variant();
    }
    void setProperty(const QString& name, const QVariant& value) {
        const QDBusMessage reply = call(kProperties, "Set", {kPlayer, name, QVariant::fromValue(QDBusVariant(value))});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage) << reply.errorMessage().toStdString();
    }
    QVariantMap metadata() {
        const QVariant value = property("Metadata");
        QVariantMap map;
        value.value<QDBusArgument>() >> map;
        return map;
    }
    bool waitForStatus(const QString& status) {
        return QTest::qWaitFor([&] { return listener_.last("PlaybackStatus") == status; }, 8000);
    }

    std::unique_ptr<PrivateBus> bus_;
    std::unique_ptr<TFormPlayer> form_;
    std::unique_ptr<MediaControls> controls_;
    QDBusConnection client_{QString()};
    BusListener listener_;
};

TEST_F(MediaControlsTest, PlayPauseSeekAndNextAreThePlayersOwnAndTheBusHearsOfEach) {
    const QString first = song("first.mid", 20000);
    TFormPlayer& form = start({first, song("second.mid", 20000)});
    EXPECT_EQ(property("PlaybackStatus"), "Stopped");
    EXPECT_EQ(property("CanPlay"), true);
    EXPECT_EQ(property("CanPause"), false);
    EXPECT_EQ(property("CanGoNext"), form.playerActions().next->isEnabled());

    QVariantMap data = metadata();
    EXPECT_EQ(data.value("xesam:title"), "first.mid");
    EXPECT_EQ(data.value("xesam:url"), QUrl::fromLocalFile(first).toString());
    EXPECT_NEAR(data.value("mpris:length").toLongLong(), 20'000'000, 1'000'000);
    const QString firstTrack = data.value("mpris:trackid").value<QDBusObjectPath>().path();
    EXPECT_NE(firstTrack, MediaControls::kNoTrack);

    call(kPlayer, "Play");
    ASSERT_TRUE(waitForStatus("Playing"));
    EXPECT_EQ(form.device().mode(), media::Mode::Playing);
    EXPECT_EQ(listener_.last("CanPause"), true);

    call(kPlayer, "Pause");
    ASSERT_TRUE(waitForStatus("Paused"));
    EXPECT_TRUE(form.engine().state().paused);
    call(kPlayer, "PlayPause");  // goes on from the pause
    ASSERT_TRUE(waitForStatus("Playing"));

    // A seek of ten seconds on is announced and the position follows it.
    call(kPlayer, "Seek", {qlonglong(10'000'000)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener_.seeks.isEmpty(); }, 5000));
    EXPECT_GE(listener_.seeks.last(), 10'000'000);
    EXPECT_LT(listener_.seeks.last(), 15'000'000);
    EXPECT_GE(property("Position").toLongLong(), 10'000'000);

    // SetPosition for another track is ignored; for this one it goes there.
    call(kPlayer, "SetPosition",
         {QVariant::fromValue(QDBusObjectPath("/org/mpris/MediaPlayer2/other")), qlonglong(1'000'000)});
    call(kPlayer, "SetPosition", {QVariant::fromValue(QDBusObjectPath(firstTrack)), qlonglong(2'000'000)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener_.seeks.size() == 2; }, 5000));
    EXPECT_EQ(listener_.seeks.last(), 2'000'000);
    EXPECT_LT(property("Position").toLongLong(), 10'000'000);

    call(kPlayer, "Next");
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return listener_.last("Metadata").isValid() && metadata().value("xesam:title") == "second.mid"; }, 8000));
    EXPECT_NE(metadata().value("mpris:trackid").value<QDBusObjectPath>().path(), firstTrack);
    EXPECT_EQ(form.playlistPanel().playlist().CurrentIndex(), 1);

    call(kPlayer, "Stop");
    ASSERT_TRUE(waitForStatus("Stopped"));
    EXPECT_NE(form.device().mode(), media::Mode::Playing);
}

TEST_F(MediaControlsTest, SeeksBeyondEitherEndGoToTheNextEntryOrTheStartWhateverTheOffset) {
    TFormPlayer& form = start({song("a.mid", 20000), song("b.mid", 20000)});
    call(kPlayer, "Play");
    ASSERT_TRUE(waitForStatus("Playing"));
    call(kPlayer, "Seek", {qlonglong(5'000'000)});
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener_.seeks.size() == 1; }, 5000));
    call(kPlayer, "Seek", {std::numeric_limits<qlonglong>::min()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return listener_.seeks.size() == 2; }, 5000));
    EXPECT_EQ(listener_.seeks.last(), 0);
    call(kPlayer, "Seek", {std::numeric_limits<qlonglong>::max()});
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.playlistPanel().playlist().CurrentIndex() == 1; }, 5000));
}

TEST_F(MediaControlsTest, LoopStatusAndShuffleAreThePlayModesBothWays) {
    TFormPlayer& form = start({song("a.mid", 2000)});
    EXPECT_EQ(property("LoopStatus"), "None");
    setProperty("LoopStatus", "Track");
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.playModes().repeat; }, 5000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener_.last("LoopStatus") == "Track"; }, 5000));
    setProperty("LoopStatus", "Playlist");
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.playModes().loop; }, 5000));
    EXPECT_FALSE(form.playModes().repeat);
    setProperty("Shuffle", true);
    ASSERT_TRUE(QTest::qWaitFor([&] { return form.playModes().shuffle; }, 5000));
    EXPECT_TRUE(form.playModes().loop);  // Shuffle goes with Loop
    // The window's own items are announced as well.
    form.playerActions().loopPlay->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&] { return listener_.last("LoopStatus") == "None"; }, 5000));
    EXPECT_EQ(property("Shuffle"), true);
    setProperty("LoopStatus", "Sideways");  // not a loop status: nothing changes
    // Shuffle off is the window's own command, question included.
    boxes_.expect("Uncheck All", "Uncheck all the items in the playlist?", BoxIcon::Question, BoxButtons::YesNo,
                  BoxButton::No);
    setProperty("Shuffle", false);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !form.playModes().shuffle; }, 5000));
    EXPECT_FALSE(form.playModes().loop);
    EXPECT_FALSE(form.playModes().repeat);
}

TEST_F(MediaControlsTest, OpenUriHandsALocalFileOverAndRefusesOthers) {
    TFormPlayer& form = start({song("a.mid", 2000)});
    const QString added = song("with space é.mid", 2000);
    QDBusMessage reply = call(kPlayer, "OpenUri", {QUrl::fromLocalFile(added).toString(QUrl::FullyEncoded)});
    EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage);
    Playlist& playlist = form.playlistPanel().playlist();
    ASSERT_TRUE(QTest::qWaitFor([&] { return playlist.count() == 2; }, 5000));
    EXPECT_EQ(playlist.path(1), added);

    reply = call(kPlayer, "OpenUri", {"http://example.invalid/song.mid"});
    EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage);
    EXPECT_EQ(reply.errorName(), "org.freedesktop.DBus.Error.NotSupported");
    QTest::qWait(50);
    EXPECT_EQ(playlist.count(), 2);
    // The list changed: closing asks about it.
    boxes_.expect("Save list now?", "This list has been changed. Save it now?", BoxIcon::Question, BoxButtons::YesNo,
                  BoxButton::No);
}

TEST_F(MediaControlsTest, WithNothingOpenThereIsNoTrackAndNothingToSeek) {
    start({});
    EXPECT_EQ(property("PlaybackStatus"), "Stopped");
    EXPECT_EQ(property("CanSeek"), false);
    EXPECT_EQ(property("Position").toLongLong(), 0);
    const QVariantMap data = metadata();
    EXPECT_EQ(data.value("mpris:trackid").value<QDBusObjectPath>().path(), MediaControls::kNoTrack);
    EXPECT_FALSE(data.contains("xesam:title"));
    call(kPlayer, "Seek", {qlonglong(5'000'000)});
    call(kPlayer, "Play");
    QTest::qWait(50);
    EXPECT_TRUE(listener_.seeks.isEmpty());
}

TEST_F(MediaControlsTest, ASecondPlayerOnTheSameBusTakesAnInstanceName) {
    start({});
    MediaControls second(*form_);
    const QString name = second.attach(bus_->connect("second"));
    EXPECT_TRUE(name.startsWith(kService + ".instance")) << name.toStdString();
}

TEST_F(MediaControlsTest, PlayerctlDrivesThePlayer) {
    const QString playerctl = QStandardPaths::findExecutable("playerctl");
    if (playerctl.isEmpty()) GTEST_SKIP() << "playerctl is not installed";
    start({song("a.mid", 20000)});
    const auto run = [&](const QStringList& arguments) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("DBUS_SESSION_BUS_ADDRESS", bus_->address());
        process.setProcessEnvironment(environment);
        process.start(playerctl, QStringList{"--player=midivorlo"} + arguments);
        // The player answers on this thread: wait with its events running.
        EXPECT_TRUE(QTest::qWaitFor([&] { return process.state() == QProcess::NotRunning; }, 10000));
        return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
    };
    EXPECT_EQ(run({"status"}), "Stopped");
    EXPECT_EQ(run({"metadata", "title"}), "a.mid");
    run({"play"});
    ASSERT_TRUE(waitForStatus("Playing"));
    EXPECT_EQ(run({"status"}), "Playing");
    run({"position", "7"});
    ASSERT_TRUE(QTest::qWaitFor([&] { return !listener_.seeks.isEmpty(); }, 5000));
    EXPECT_EQ(listener_.seeks.last(), 7'000'000);
    run({"pause"});
    ASSERT_TRUE(waitForStatus("Paused"));
}

}  // namespace

#include "MediaControlsTest.moc"
