// Turning SIGTERM and SIGHUP into a queued Qt signal.
#include "platform/end_signals.h"

#include "osdep/end_signals.h"

#include <QSocketNotifier>

namespace tessaview {

EndSignals::EndSignals(QObject* parent) : QObject(parent) {
    const int descriptor = CatchEndSignals();
    if (descriptor < 0) return;
    notifier_ = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, [this, descriptor] {
        for (int count = TakeEndSignals(descriptor); count > 0; --count) emit Received();
    });
}

EndSignals::~EndSignals() {
    if (!notifier_) return;
    delete notifier_;
    ReleaseEndSignals();
}

}  // namespace tessaview
