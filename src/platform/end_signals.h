// SIGTERM and SIGHUP (a logout, `kill`, a closed terminal) end the program as Exit does: the
// handler only writes a byte to a pipe, and the event loop turns it into a Qt signal.
#pragma once

#include <QObject>

class QSocketNotifier;

namespace tessaview {

class EndSignals : public QObject {
    Q_OBJECT
public:
    // One at a time: a second object does not catch the signals. Without a pipe (never, in
    // practice) the signals keep their default action.
    explicit EndSignals(QObject* parent = nullptr);
    ~EndSignals() override;

signals:
    void Received();  // on the event loop's thread, once per signal

private:
    QSocketNotifier* notifier_ = nullptr;
};

}  // namespace tessaview
