// Finding a running instance of the program and ending a stale one safely.
#pragma once

#include <chrono>
#include <cstdint>

namespace tessaview {

class InstanceControl {
public:
    virtual ~InstanceControl() = default;
    // True when a live instance of the program has its main window up (class "TfmMain",
    // title "Tessaview"); the starting instance itself counts once it has registered.
    virtual bool MainWindowExists() = 0;
    // Ends process `pid` only if it is alive, is not this process, runs this program's own
    // executable, belongs to this user and started before `storedAt`, when the number was
    // written (a process started later cannot be the one that stored it). Silent on failure.
    virtual void TerminateStaleInstance(int64_t pid, std::chrono::system_clock::time_point storedAt) = 0;
};

}  // namespace tessaview
