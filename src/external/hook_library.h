// The hook library: set at the main window's creation, freed at its close. The engine
// posts the full-screen notifications itself, so nothing more is asked of it.
#pragma once

namespace tessaview {

class HookLibrary {
public:
    virtual ~HookLibrary() = default;
    virtual void SetHook() {}
    virtual void FreeHook() {}
};

}  // namespace tessaview
