// The player on the session bus as an MPRIS2 media player, so the desktop's media controls and
// media keys drive it. Silently absent when there is no bus to connect to.
#pragma once

#include <QObject>
#include <QString>
#include <cstdint>
#include <memory>

namespace tessaview {

class MediaPlayerHost;
class MprisObject;

inline constexpr const char* MprisBusName = "org.mpris.MediaPlayer2.tessaview";

class MprisService : public QObject {
    Q_OBJECT
public:
    // `busAddress` empty: the session bus. A second running player takes the name with
    // ".instance<processId>" added, as the MPRIS rules ask.
    MprisService(MediaPlayerHost& host, int64_t processId, const QString& busAddress = {}, QObject* parent = nullptr);
    ~MprisService() override;

    bool Registered() const { return !busName_.isEmpty(); }
    QString BusName() const { return busName_; }

    // Tells the desktop what changed since the last call; cheap when nothing did.
    void Update();
    // Leaves the bus for good (the window has closed: it opens and plays nothing more).
    void Withdraw();

private:
    QString connectionName_;
    QString busName_;
    std::unique_ptr<MprisObject> object_;
};

}  // namespace tessaview
