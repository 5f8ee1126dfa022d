// The desktop's media controls on a bus of the test's own: what the desktop reads of the
// player, the Movie menu's commands it drives, the signals it follows, the calls it is refused.
#include "window_harness.h"

#include "app/media_controls.h"
#include "platform/mpris_service.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCall>
#include <QDBusVariant>
#include <QFile>
#include <QProcess>
#include <QTest>
#include <filesystem>

namespace tessaview::test {
namespace {

constexpr const char* Service = "org.mpris.MediaPlayer2.tessaview";
constexpr const char* Path = "/org/mpris/MediaPlayer2";
constexpr const char* Root = "org.mpris.MediaPlayer2";
constexpr const char* Player = "org.mpris.MediaPlayer2.Player";
constexpr qlonglong Second = 1'000'000;  // µs

// What the desktop hears from the player.
class SignalLog : public QObject {
    Q_OBJECT
public:
    std::vector<QVariantMap> changes;  // PropertiesChanged of the player interface
    std::vector<qlonglong> seeks;
    bool Has(const QString& property) const {
        return std::any_of(changes.begin(), changes.end(), [&](const QVariantMap& c) { return c.contains(property); });
    }
    bool Changed(const QString& property, const QVariant& value) const {
        return std::any_of(changes.begin(), changes.end(),
                           [&](const QVariantMap& c) { return c.value(property) == value; });
    }
public slots:
    void PropertiesChanged(const QString& interface, const QVariantMap& changed, const QStringList&) {
        if (interface == QLatin1String(Player)) changes.push_back(changed);
    }
    void Seeked(qlonglong position) { seeks.push_back(position); }
};

class MediaControlsTest : public MainWindowTest {
protected:
    // One dbus-daemon for all tests of the program, ended with it.
    static void SetUpTestSuite() {
        daemon = std::make_unique<QProcess>();
        daemon->start(QStringLiteral("dbus-daemon"), {"--session", "--print-address", "--nofork"});
        if (daemon->waitForReadyRead(5000)) address = QString::fromUtf8(daemon->readLine()).trimmed();
    }
    static void TearDownTestSuite() {
        daemon->kill();
        daemon->waitForFinished();
        daemon.reset();
    }

    void SetUp() override {
        if (address.isEmpty()) GTEST_SKIP() << "dbus-daemon did not start";
        controls = std::make_unique<MediaControls>(fmMain(), engine, 4242, address);
        client = QDBusConnection::connectToBus(address, QStringLiteral("media-controls-test"));
        // Qt's D-Bus API connects to a bus signal by slot signature only.
        client.connect(Service, Path, "org.freedesktop.DBus.Properties", "PropertiesChanged", &log,
                       SLOT(PropertiesChanged(QString, QVariantMap, QStringList)));
        client.connect(Service, Path, Player, "Seeked", &log, SLOT(Seeked(qlonglong)));
    }
    void TearDown() override {
        controls.reset();
        QDBusConnection::disconnectFromBus(QStringLiteral("media-controls-test"));
    }

    // The reply to `method` of `interface`, the events of both sides handled meanwhile (the
    // toolkit's own wait would end at once once the program was told to quit).
    QDBusMessage CallOn(const char* interface, const QString& method, const QVariantList& arguments = {}) {
        QDBusMessage call = QDBusMessage::createMethodCall(Service, Path, interface, method);
        call.setArguments(arguments);
        const QDBusPendingCall pending = client.asyncCall(call, 5000);
        if (!QTest::qWaitFor([&] { return pending.isFinished(); }))
            ADD_FAILURE() << method.toStdString() << " got no answer";
        return pending.reply();
    }
    QDBusMessage Call(const QString& method, const QVariantList& arguments = {}) {
        return CallOn(Player, method, arguments);
    }
    QVariant Get(const QString& property, const char* interface = Player) {
        const QDBusMessage reply = CallOn("org.freedesktop.DBus.Properties", "Get", {interface, property});
        EXPECT_EQ(reply.type(), QDBusMessage::ReplyMessage)
            << property.toStdString() << ": " << reply.errorMessage().toStdString();
        if (reply.arguments().isEmpty()) return {};
        // The value the variant holds, a nested a{sv} as a plain map.
        const QVariant value = reply.arguments().first().value<QDBusVariant>().variant();
        if (value.userType() == qMetaTypeId<QDBusArgument>())
            return qdbus_cast<QVariantMap>(value.value<QDBusArgument>());
        return value;
    }
    QDBusMessage Set(const QString& property, const QVariant& value) {
        return CallOn("org.freedesktop.DBus.Properties", "Set",
                      {Player, property, QVariant::fromValue(QDBusVariant(value))});
    }
    QVariantMap Metadata() { return Get("Metadata").toMap(); }
    QString Status() { return Get("PlaybackStatus").toString(); }
    QDBusObjectPath TrackId() { return Metadata().value("mpris:trackid").value<QDBusObjectPath>(); }

    static inline std::unique_ptr<QProcess> daemon;
    static inline QString address;
    std::unique_ptr<MediaControls> controls;
    QDBusConnection client{QString()};
    SignalLog log;
};

TEST_F(MediaControlsTest, RootAnswersASecondPlayerTakesAnInstanceNameAndNoBusMeansNoService) {
    EXPECT_EQ(Get("DesktopEntry", Root), QVariant("org.tessaview.Tessaview"));
    QFile entry(QStringLiteral(TESSAVIEW_SOURCE_DIR "/data/org.tessaview.Tessaview.desktop"));
    ASSERT_TRUE(entry.open(QIODevice::ReadOnly));
    QString mimeTypes;
    for (const QString& line : QString::fromUtf8(entry.readAll()).split('\n'))
        if (line.startsWith("MimeType=")) mimeTypes = line.mid(9);
    EXPECT_EQ(Get("SupportedMimeTypes", Root).toStringList(), mimeTypes.split(';', Qt::SkipEmptyParts));

    // Nothing to play yet: Play does nothing, and the track is the MPRIS "no track".
    EXPECT_EQ(Status(), "Stopped");
    EXPECT_EQ(TrackId().path(), "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    for (const char* no : {"CanPlay", "CanPause", "CanSeek", "CanGoNext", "CanGoPrevious"})
        EXPECT_EQ(Get(no), QVariant(false)) << no;
    Call("Play");
    EXPECT_EQ(engine.CallCount("PlayMovie"), 0);

    fmMain().showMinimized();
    CallOn(Root, "Raise");
    EXPECT_FALSE(fmMain().isMinimized());

    MediaControls second(fmMain(), engine, 777, address);
    EXPECT_EQ(second.Service().BusName(), QString(Service) + ".instance777");
    MediaControls unconnected(fmMain(), engine, 778, QStringLiteral("unix:path=/nonexistent/bus"));
    EXPECT_FALSE(unconnected.Service().Registered());
}

TEST_F(MediaControlsTest, PlayPauseStopAndVolumeFollowTheMovieMenuAndTheDesktopHearsOfEachChange) {
    const std::string movie = MakeFile("my movie \xE9.avi");  // not UTF-8, as a name from elsewhere may be
    Call("OpenUri", {QString("file://" + QByteArray::fromStdString(movie).toPercentEncoding("/"))});
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.Changed("PlaybackStatus", "Playing"); }));
    EXPECT_EQ(engine.path, movie);
    const QVariantMap metadata = Metadata();
    EXPECT_EQ(metadata.value("mpris:length").toLongLong(), 100 * Second);  // 2500 frames at 25 fps
    EXPECT_EQ(metadata.value("xesam:title").toString(), QString::fromUtf8("my movie \xEF\xBF\xBD.avi"));
    EXPECT_EQ(metadata.value("xesam:url").toString().toStdString(), "file://" + Folder() + "/my%20movie%20%E9.avi");
    EXPECT_NE(TrackId().path(), "/org/mpris/MediaPlayer2/TrackList/NoTrack");
    EXPECT_TRUE(log.Has("Metadata"));
    EXPECT_EQ(Get("CanPause"), QVariant(true));

    Call("Pause");
    EXPECT_EQ(Marks(), std::vector<int>({MarkPaused}));
    // Pause again does not toggle, unlike the menu's Pause; Play while playing does nothing.
    for (const auto& [method, status] : {std::pair{"Pause", "Paused"},
                                         {"PlayPause", "Playing"},
                                         {"Play", "Playing"},
                                         {"Stop", "Stopped"},
                                         {"PlayPause", "Playing"}}) {
        Call(method);
        EXPECT_EQ(Status(), status) << method;
    }
    EXPECT_EQ(Get("CanPlay"), QVariant(true));
    EXPECT_EQ(engine.CallCount("PauseMovie"), 2);
    EXPECT_EQ(engine.CallCount("StopMovie"), 1);
    EXPECT_EQ(engine.CallCount("PlayMovie"), 1);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return log.Changed("PlaybackStatus", "Stopped") && log.Changed("PlaybackStatus", "Paused"); }));

    for (const auto& [set, percent] : std::vector<std::pair<QVariant, int>>{{0.5, 50}, {1.7, 100}, {-0.2, 0}}) {
        EXPECT_EQ(Set("Volume", set).type(), QDBusMessage::ReplyMessage);
        EXPECT_EQ(engine.volume, percent) << set.toDouble();
        EXPECT_EQ(Get("Volume"), QVariant(percent / 100.0));
    }
    EXPECT_NE(Set("Volume", QString("loud")).type(), QDBusMessage::ReplyMessage);
    EXPECT_EQ(fmMain().VolumePercent(), 0);
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.Changed("Volume", 0.5); }));
    std::filesystem::remove(movie);  // the folder's own clean-up takes no name that is not UTF-8
}

TEST_F(MediaControlsTest, SeeksMoveTheMovieTimeWithinTheTrackAndAreAnnouncedAlsoWhenMadeElsewhere) {
    OpenMovie("movie.avi");  // 2500 frames at 25 fps: 100 s
    Call("Pause");           // the fake engine's clock stands: a playing movie would seem to jump
    engine.position = 250;
    EXPECT_EQ(Get("Position").toLongLong(), 10 * Second);
    // Beyond the end there is no next movie: the last seek does nothing.
    for (const auto& [offset, position] : {std::pair{5 * Second, 375}, {-60 * Second, 0}, {200 * Second, 0}}) {
        Call("Seek", {qlonglong(offset)});
        EXPECT_EQ(engine.position, position) << offset;
    }
    const QDBusObjectPath track = TrackId();
    for (const auto& [id, position] : std::vector<std::pair<QString, qlonglong>>{
             {"/org/tessaview/other", 30 * Second}, {track.path(), -1}, {track.path(), 101 * Second}})
        Call("SetPosition", {QVariant::fromValue(QDBusObjectPath(id)), position});
    EXPECT_EQ(engine.position, 0) << "a position for another track or outside this one was taken";
    Call("SetPosition", {QVariant::fromValue(track), qlonglong(50 * Second)});
    EXPECT_EQ(engine.position, 1250);
    ASSERT_TRUE(QTest::qWaitFor([&] { return log.seeks.size() >= 3; }));
    EXPECT_EQ(log.seeks, std::vector<qlonglong>({15 * Second, 0, 50 * Second}));

    engine.SetPos(2000);  // as a click on the track bar
    EXPECT_TRUE(QTest::qWaitFor([&] { return log.seeks.back() == 80 * Second; }))
        << "a seek elsewhere was not announced";
    EXPECT_EQ(log.seeks.size(), 4u);
}

TEST_F(MediaControlsTest, NextAndPreviousWalkThePlayListAndBadCallsAreRefusedLeavingThePlayerAsItWas) {
    const std::string first = MakeFile("1.avi"), second = MakeFile("2.avi"), third = MakeFile("3.avi");
    for (const std::string& name : {first, second, third}) fmMain().PlayListEntries().Append(name);
    OpenThroughDialog(second);
    EXPECT_EQ(Get("CanGoNext"), QVariant(true));
    EXPECT_EQ(Get("CanGoPrevious"), QVariant(true));
    Call("Next");
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.path == third; }));
    EXPECT_EQ(Get("CanGoNext"), QVariant(false));
    Call("Pause");  // a paused movie moves on as well
    Call("Previous");
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.path == second; }));
    EXPECT_EQ(Status(), "Playing");
    Call("Previous");
    ASSERT_TRUE(QTest::qWaitFor([&] { return engine.path == first; }));
    EXPECT_EQ(Get("CanGoPrevious"), QVariant(false));
    EXPECT_TRUE(
        QTest::qWaitFor([&] { return log.Changed("CanGoNext", false) && log.Changed("CanGoPrevious", false); }));

    engine.ClearCalls();
    const std::pair<QString, QVariantList> bad[] = {
        {"OpenUri", {QString("http://example.org/movie.avi")}},
        {"OpenUri", {QString("file://" + QString::fromStdString(Folder()) + "/missing.avi")}},
        {"OpenUri", {QString("file:///a%%.avi")}},
        {"OpenUri", {QString("movie.avi")}},
        {"Seek", {QString("ten seconds")}},
        {"OpenUri", {qlonglong(1)}},
    };
    for (const auto& [method, arguments] : bad) {
        const QDBusMessage reply = Call(method, arguments);
        EXPECT_EQ(reply.type(), QDBusMessage::ErrorMessage) << arguments.first().toString().toStdString();
        EXPECT_FALSE(reply.errorMessage().isEmpty());
    }
    EXPECT_EQ(Call("OpenUri", {QString("ftp://x/y.avi")}).errorMessage(),
              "Only file URIs can be opened, not 'ftp://x/y.avi'");
    QApplication::processEvents();
    EXPECT_EQ(engine.path, first);
    EXPECT_EQ(engine.CallCount("PlayFile") + engine.CallCount("SetPos"), 0);
    EXPECT_TRUE(desktop.errors.isEmpty());
}

TEST_F(MediaControlsTest, QuitSavesThePlayListAndLeavesTheBus) {
    OpenMovie("kept.avi");
    EXPECT_EQ(CallOn(Root, "Quit").type(), QDBusMessage::ReplyMessage);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !controls->Service().Registered(); }));
    EXPECT_FALSE(client.interface()->isServiceRegistered(Service).value());
    controls.reset();
    CloseAndRestart();
    EXPECT_EQ(fmMain().PlayListEntries().Captions(), std::vector<std::string>({Folder() + "/kept.avi"}));
}

}  // namespace
}  // namespace tessaview::test

#include "media_controls_test.moc"
