// MPRIS2 over Qt D-Bus: the player's name on the bus, the object's two interfaces, and the
// PropertiesChanged and Seeked signals the desktop follows.
#include "platform/mpris_service.h"

#include "platform/local_file_names.h"
#include "platform/mpris_object.h"
#include "subtitle/number_rules.h"

#include <QAbstractEventDispatcher>
#include <QDBusMessage>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tessaview {

namespace {

constexpr const char* PlayerInterface = "org.mpris.MediaPlayer2.Player";
constexpr const char* NoTrack = "/org/mpris/MediaPlayer2/TrackList/NoTrack";
constexpr const char* FileNotFound = "org.freedesktop.DBus.Error.FileNotFound";
constexpr const char* InvalidArgs = "org.freedesktop.DBus.Error.InvalidArgs";
constexpr const char* NotSupported = "org.freedesktop.DBus.Error.NotSupported";
constexpr int PositionWatchMs = 500;
// How far the position may stray from the wall clock between two looks before it counts as a
// seek made elsewhere (the track bar, a key): more than the engine's jitter on a busy machine.
constexpr int64_t SeekToleranceUs = 1'000'000;

}  // namespace

QString PlaybackStatusName(PlaybackStatus status) {
    switch (status) {
        case PlaybackStatus::Playing:
            return QStringLiteral("Playing");
        case PlaybackStatus::Paused:
            return QStringLiteral("Paused");
        case PlaybackStatus::Stopped:
            break;
    }
    return QStringLiteral("Stopped");
}

UriFile FileOfUri(const QString& uri) {
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid() || url.scheme().isEmpty())
        return {{}, QStringLiteral("Not a valid URI: '%1'").arg(uri), InvalidArgs};
    if (url.scheme().compare(QLatin1String("file"), Qt::CaseInsensitive) != 0)
        return {{}, QStringLiteral("Only file URIs can be opened, not '%1'").arg(uri), NotSupported};
    if (!url.host().isEmpty() && url.host() != QLatin1String("localhost"))
        return {{}, QStringLiteral("Not a file on this computer: '%1'").arg(uri), NotSupported};
    // The name's bytes as the URI spells them, whether or not they are UTF-8.
    const QByteArray bytes = QByteArray::fromPercentEncoding(url.path(QUrl::FullyEncoded).toLatin1());
    std::string path(bytes.constData(), static_cast<size_t>(bytes.size()));
    std::error_code error;
    if (path.empty() || path.front() != '/' || !std::filesystem::is_regular_file(path, error))
        return {{}, QStringLiteral("No such file: '%1'").arg(uri), FileNotFound};
    return {std::move(path), {}, {}};
}

QVariantMap ChangedPlayerProperties(const MediaPlayerState& before, const MediaPlayerState& now,
                                    const QVariantMap& metadata) {
    QVariantMap changed;
    if (before.status != now.status) {
        changed.insert(QStringLiteral("PlaybackStatus"), PlaybackStatusName(now.status));
        const bool open = now.status != PlaybackStatus::Stopped;
        if ((before.status != PlaybackStatus::Stopped) != open) {
            changed.insert(QStringLiteral("CanPause"), open);
            changed.insert(QStringLiteral("CanSeek"), open);
        }
    }
    if (before.track != now.track || before.lengthUs != now.lengthUs)
        changed.insert(QStringLiteral("Metadata"), metadata);
    if (before.volumePercent != now.volumePercent) changed.insert(QStringLiteral("Volume"), now.volumePercent / 100.0);
    if (before.canPlay != now.canPlay) changed.insert(QStringLiteral("CanPlay"), now.canPlay);
    if (before.canGoNext != now.canGoNext) changed.insert(QStringLiteral("CanGoNext"), now.canGoNext);
    if (before.canGoPrevious != now.canGoPrevious) changed.insert(QStringLiteral("CanGoPrevious"), now.canGoPrevious);
    return changed;
}

// --- the object ---

MprisObject::MprisObject(MediaPlayerHost& playerHost, const QDBusConnection& bus)
    : host(playerHost), bus_(bus), state_(playerHost.State()) {
    new MprisRootAdaptor(this);
    player_ = new MprisPlayerAdaptor(this);
    if (!state_.track.empty()) trackNumber_ = 1;
    positionWatch_.setInterval(PositionWatchMs);
    connect(&positionWatch_, &QTimer::timeout, this, [this] { WatchPosition(); });
    if (state_.status != PlaybackStatus::Stopped) WatchFrom(host.PositionUs());
}

const MediaPlayerState& MprisObject::State() {
    Update();
    return state_;
}

QDBusObjectPath MprisObject::TrackId() const {
    if (state_.track.empty() || trackNumber_ == 0) return QDBusObjectPath(NoTrack);
    return QDBusObjectPath(QStringLiteral("/org/tessaview/Tessaview/track/%1").arg(trackNumber_));
}

QVariantMap MprisObject::Metadata() const {
    QVariantMap metadata{{QStringLiteral("mpris:trackid"), QVariant::fromValue(TrackId())}};
    if (state_.track.empty()) return metadata;
    const QByteArray bytes(state_.track.data(), static_cast<qsizetype>(state_.track.size()));
    metadata.insert(QStringLiteral("mpris:length"), static_cast<qlonglong>(state_.lengthUs));
    metadata.insert(QStringLiteral("xesam:title"), DisplayFileName(state_.track).section('/', -1));
    metadata.insert(QStringLiteral("xesam:url"), QString::fromLatin1("file://" + bytes.toPercentEncoding("/")));
    return metadata;
}

void MprisObject::Update() {
    if (withdrawn) return;
    MediaPlayerState now = host.State();
    if (now == state_) return;
    const MediaPlayerState before = std::exchange(state_, std::move(now));
    if (state_.track != before.track && !state_.track.empty()) ++trackNumber_;
    if (state_.status != before.status || state_.track != before.track) {
        // A new movie or a new state: the position starts afresh from here.
        if (state_.status == PlaybackStatus::Stopped)
            positionWatch_.stop();
        else
            WatchFrom(host.PositionUs());
    }
    QDBusMessage signal = QDBusMessage::createSignal(QString::fromLatin1(MprisObjectPath),
                                                     QStringLiteral("org.freedesktop.DBus.Properties"),
                                                     QStringLiteral("PropertiesChanged"));
    signal << QString::fromLatin1(PlayerInterface) << ChangedPlayerProperties(before, state_, Metadata())
           << QStringList();
    bus_.send(signal);
}

void MprisObject::Refuse(const QString& message, const QString& errorName) {
    if (calledFromDBus()) sendErrorReply(errorName, message);
}

void MprisObject::WatchFrom(int64_t position) {
    watchedPosition_ = position;
    sinceWatched_.start();
    if (!positionWatch_.isActive()) positionWatch_.start();
}

void MprisObject::AnnounceSeek() {
    const int64_t position = host.PositionUs();
    WatchFrom(position);
    emit player_->Seeked(position);
}

void MprisObject::Later(std::function<void()> command) {
    QMetaObject::invokeMethod(
        this,
        [this, command = std::move(command)] {
            if (!withdrawn) command();
            Update();
        },
        Qt::QueuedConnection);
}

void MprisObject::WatchPosition() {
    const int64_t position = host.PositionUs();
    const int64_t elapsed = state_.status == PlaybackStatus::Playing ? sinceWatched_.nsecsElapsed() / 1000 : 0;
    const bool jumped = std::llabs(position - (watchedPosition_ + elapsed)) > SeekToleranceUs;
    WatchFrom(position);
    if (jumped) emit player_->Seeked(position);
}

// --- org.mpris.MediaPlayer2 ---

MprisRootAdaptor::MprisRootAdaptor(MprisObject* object) : QDBusAbstractAdaptor(object), object_(*object) {}

QString MprisRootAdaptor::identity() const { return QStringLiteral("Tessaview"); }

// The installed desktop entry's name, without ".desktop": how the desktop finds its icon.
QString MprisRootAdaptor::desktopEntry() const { return QStringLiteral("org.tessaview.Tessaview"); }

QStringList MprisRootAdaptor::supportedUriSchemes() const { return {QStringLiteral("file")}; }

// The desktop entry's MimeType list.
QStringList MprisRootAdaptor::supportedMimeTypes() const {
    return QStringLiteral(
               "video/x-matroska;video/mp4;video/x-m4v;video/x-msvideo;video/avi;video/msvideo;"
               "video/vnd.avi;video/mpeg;video/x-mpeg;video/webm;video/ogg;video/x-ogm+ogg;"
               "video/x-theora+ogg;video/quicktime;video/x-flv;video/x-ms-wmv;video/x-ms-asf;"
               "video/mp2t;video/3gpp;video/dv")
        .split(';');
}

void MprisRootAdaptor::Raise() { object_.host.Raise(); }

void MprisRootAdaptor::Quit() {
    object_.Later([host = &object_.host] { host->Quit(); });
}

// --- org.mpris.MediaPlayer2.Player ---

MprisPlayerAdaptor::MprisPlayerAdaptor(MprisObject* object) : QDBusAbstractAdaptor(object), object_(*object) {}

QString MprisPlayerAdaptor::playbackStatus() const { return PlaybackStatusName(object_.State().status); }

void MprisPlayerAdaptor::setRate(double rate) {
    // Only the normal rate is played; a rate of 0 means a pause.
    if (rate == 0.0) Pause();
}

double MprisPlayerAdaptor::volume() const { return object_.State().volumePercent / 100.0; }

void MprisPlayerAdaptor::setVolume(double volume) {
    if (!std::isfinite(volume)) return;
    object_.host.SetVolumePercent(static_cast<int32_t>(RoundHalfAway(std::clamp(volume, 0.0, 1.0) * 100)));
    object_.Update();
}

qlonglong MprisPlayerAdaptor::position() const {
    return object_.State().status == PlaybackStatus::Stopped ? 0 : object_.host.PositionUs();
}

void MprisPlayerAdaptor::Next() {
    if (object_.State().canGoNext) object_.Later([host = &object_.host] { host->Next(); });
}

void MprisPlayerAdaptor::Previous() {
    if (object_.State().canGoPrevious) object_.Later([host = &object_.host] { host->Previous(); });
}

void MprisPlayerAdaptor::Pause() {
    if (object_.State().status == PlaybackStatus::Playing) object_.host.Pause();
    object_.Update();
}

void MprisPlayerAdaptor::PlayPause() {
    if (object_.State().status == PlaybackStatus::Stopped)
        Play();
    else
        object_.host.Pause();  // the Movie menu's Pause goes on when paused
    object_.Update();
}

void MprisPlayerAdaptor::Stop() {
    if (object_.State().status != PlaybackStatus::Stopped) object_.host.Stop();
    object_.Update();
}

void MprisPlayerAdaptor::Play() {
    const MediaPlayerState& state = object_.State();
    if (state.status == PlaybackStatus::Paused)
        object_.host.Pause();
    else if (state.status == PlaybackStatus::Stopped && state.canPlay)
        object_.host.Play();
    object_.Update();
}

void MprisPlayerAdaptor::Seek(qlonglong offset) {
    const MediaPlayerState& state = object_.State();
    if (state.status == PlaybackStatus::Stopped) return;
    const int64_t target = std::max<int64_t>(0, object_.host.PositionUs() + offset);
    if (target > state.lengthUs) {
        Next();  // beyond the end: the next movie, when there is one
        return;
    }
    object_.host.SetPositionUs(target);
    object_.AnnounceSeek();
}

void MprisPlayerAdaptor::SetPosition(const QDBusObjectPath& trackId, qlonglong position) {
    // A position meant for another movie, or outside this one, is ignored.
    const MediaPlayerState& state = object_.State();
    if (state.status == PlaybackStatus::Stopped || trackId != object_.TrackId() || position < 0 ||
        position > state.lengthUs)
        return;
    object_.host.SetPositionUs(position);
    object_.AnnounceSeek();
}

void MprisPlayerAdaptor::OpenUri(const QString& uri) {
    UriFile file = FileOfUri(uri);
    if (!file.error.isEmpty()) {
        object_.Refuse(file.error, file.errorName);
        return;
    }
    object_.Later([host = &object_.host, path = std::move(file.path)] { host->OpenFile(path); });
}

// --- the service ---

MprisService::MprisService(MediaPlayerHost& host, int64_t processId, const QString& busAddress, QObject* parent)
    : QObject(parent) {
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!busAddress.isEmpty()) {
        connectionName_ = QStringLiteral("tessaview-mpris-%1").arg(reinterpret_cast<quintptr>(this));
        bus = QDBusConnection::connectToBus(busAddress, connectionName_);
    }
    if (!bus.isConnected()) return;
    auto object = std::make_unique<MprisObject>(host, bus);
    if (!bus.registerObject(QString::fromLatin1(MprisObjectPath), object.get(), QDBusConnection::ExportAdaptors))
        return;
    const QString name = QString::fromLatin1(MprisBusName);
    for (const QString& candidate : {name, name + QStringLiteral(".instance%1").arg(processId)}) {
        if (!bus.registerService(candidate)) continue;
        busName_ = candidate;
        break;
    }
    if (busName_.isEmpty()) {
        bus.unregisterObject(QString::fromLatin1(MprisObjectPath));
        return;
    }
    object_ = std::move(object);
    // The desktop hears of a change once the events that made it have been handled.
    if (QAbstractEventDispatcher* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &MprisService::Update);
}

MprisService::~MprisService() {
    Withdraw();
    object_.reset();
    if (!connectionName_.isEmpty()) QDBusConnection::disconnectFromBus(connectionName_);
}

void MprisService::Update() {
    if (object_) object_->Update();
}

void MprisService::Withdraw() {
    if (!object_ || object_->withdrawn) return;
    object_->withdrawn = true;
    QDBusConnection bus = object_->Bus();
    bus.unregisterService(busName_);
    bus.unregisterObject(QString::fromLatin1(MprisObjectPath));
    busName_.clear();
}

}  // namespace tessaview
