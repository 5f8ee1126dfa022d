// The D-Bus side of the media controls: the object at /org/mpris/MediaPlayer2 with its two
// MPRIS2 interfaces. Included by mpris_service.cpp only; everyone else sees MprisService.
#pragma once

#include "platform/media_player_host.h"

#include <QDBusAbstractAdaptor>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusObjectPath>
#include <QElapsedTimer>
#include <QStringList>
#include <QTimer>
#include <QVariantMap>
#include <functional>

namespace tessaview {

inline constexpr const char* MprisObjectPath = "/org/mpris/MediaPlayer2";

// The file's name as bytes, or why the URI names no file the player could open.
struct UriFile {
    std::string path;
    QString error;  // empty: `path` holds the name
    QString errorName;
};
UriFile FileOfUri(const QString& uri);

class MprisPlayerAdaptor;

class MprisObject : public QObject, public QDBusContext {
    Q_OBJECT
public:
    MprisObject(MediaPlayerHost& host, const QDBusConnection& bus);

    MediaPlayerHost& host;
    bool withdrawn = false;  // off the bus: nothing more is done
    QDBusConnection Bus() const { return bus_; }

    // The state as it is now; the desktop is told first if it changed.
    const MediaPlayerState& State();
    QDBusObjectPath TrackId() const;
    QVariantMap Metadata() const;

    void Update();
    // The reply to the D-Bus call being handled becomes the error `errorName` with this text.
    void Refuse(const QString& message, const QString& errorName);
    // The player moved the position for the desktop: Seeked tells where it now is.
    void AnnounceSeek();
    // Runs `command` once the reply to the current call has gone: it may show a box or end
    // the program, and the caller is not kept waiting for either.
    void Later(std::function<void()> command);

private:
    // Seeks made elsewhere (the track bar, keys) show as jumps of the position against the clock.
    void WatchFrom(int64_t position);
    void WatchPosition();

    QDBusConnection bus_;
    MprisPlayerAdaptor* player_ = nullptr;  // a child
    MediaPlayerState state_;
    uint64_t trackNumber_ = 0;  // counts the movies opened, for the track's id
    QTimer positionWatch_;
    QElapsedTimer sinceWatched_;
    int64_t watchedPosition_ = 0;
};

// org.mpris.MediaPlayer2: the application.
class MprisRootAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2")
    Q_PROPERTY(bool CanQuit READ yes)
    Q_PROPERTY(bool CanRaise READ yes)
    Q_PROPERTY(bool HasTrackList READ no)
    Q_PROPERTY(QString Identity READ identity)
    Q_PROPERTY(QString DesktopEntry READ desktopEntry)
    Q_PROPERTY(QStringList SupportedUriSchemes READ supportedUriSchemes)
    Q_PROPERTY(QStringList SupportedMimeTypes READ supportedMimeTypes)
public:
    explicit MprisRootAdaptor(MprisObject* object);

    bool yes() const { return true; }
    bool no() const { return false; }
    QString identity() const;
    QString desktopEntry() const;
    QStringList supportedUriSchemes() const;
    QStringList supportedMimeTypes() const;

public slots:
    void Raise();
    void Quit();

private:
    MprisObject& object_;
};

// org.mpris.MediaPlayer2.Player: the movie.
class MprisPlayerAdaptor : public QDBusAbstractAdaptor {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.mpris.MediaPlayer2.Player")
    Q_PROPERTY(QString PlaybackStatus READ playbackStatus)
    Q_PROPERTY(double Rate READ one WRITE setRate)
    Q_PROPERTY(double MinimumRate READ one)
    Q_PROPERTY(double MaximumRate READ one)
    Q_PROPERTY(QVariantMap Metadata READ metadata)
    Q_PROPERTY(double Volume READ volume WRITE setVolume)
    Q_PROPERTY(qlonglong Position READ position)
    Q_PROPERTY(bool CanGoNext READ canGoNext)
    Q_PROPERTY(bool CanGoPrevious READ canGoPrevious)
    Q_PROPERTY(bool CanPlay READ canPlay)
    Q_PROPERTY(bool CanPause READ canPause)
    Q_PROPERTY(bool CanSeek READ canSeek)
    Q_PROPERTY(bool CanControl READ yes)
public:
    explicit MprisPlayerAdaptor(MprisObject* object);

    QString playbackStatus() const;
    double one() const { return 1.0; }
    void setRate(double rate);
    QVariantMap metadata() const { return object_.Metadata(); }
    double volume() const;
    void setVolume(double volume);
    qlonglong position() const;
    bool canGoNext() const { return object_.State().canGoNext; }
    bool canGoPrevious() const { return object_.State().canGoPrevious; }
    bool canPlay() const { return object_.State().canPlay; }
    // A movie open, playing or paused: it can be paused and its position moved.
    bool canPause() const { return object_.State().status != PlaybackStatus::Stopped; }
    bool canSeek() const { return canPause(); }
    bool yes() const { return true; }

public slots:
    void Next();
    void Previous();
    void Pause();
    void PlayPause();
    void Stop();
    void Play();
    void Seek(qlonglong offset);
    void SetPosition(const QDBusObjectPath& trackId, qlonglong position);
    void OpenUri(const QString& uri);

signals:
    void Seeked(qlonglong position);

private:
    MprisObject& object_;
};

// The player's properties as PropertiesChanged carries them, for the ones that differ.
QVariantMap ChangedPlayerProperties(const MediaPlayerState& before, const MediaPlayerState& now,
                                    const QVariantMap& metadata);

QString PlaybackStatusName(PlaybackStatus status);

}  // namespace tessaview
