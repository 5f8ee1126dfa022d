// An instance control that answers from fields and records what it was asked to end.
#pragma once

#include "platform/process/instance_control.h"

#include <vector>

namespace tessaview::test {

struct FakeInstances : InstanceControl {
    bool windowExists = false;
    std::vector<int64_t> terminated;
    std::chrono::system_clock::time_point storedAt;  // when the last ended number was written
    bool MainWindowExists() override { return windowExists; }
    void TerminateStaleInstance(int64_t pid, std::chrono::system_clock::time_point written) override {
        terminated.push_back(pid);
        storedAt = written;
    }
};

}  // namespace tessaview::test
