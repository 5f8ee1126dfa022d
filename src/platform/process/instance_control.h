// Finding a running instance of the program and ending a stale one safely.
#pragma once

#include <cstdint>

namespace tessaview {

class InstanceControl {
public:
    virtual ~InstanceControl() = default;
    // True when a live instance of the program has its main window up (class "TfmMain",
    // title "Tessaview"); the starting instance itself counts once it has registered.
    virtual bool MainWindowExists() = 0;
    // Ends process `pid` only if it is alive, is not this process, and runs this program's
    // own executable. Silent on every failure.
    virtual void TerminateStaleInstance(int64_t pid) = 0;
};

}  // namespace tessaview
