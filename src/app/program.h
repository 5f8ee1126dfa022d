// The program's three long-lived windows, created in order (main window, overlay,
// synchronize dialog), and the end of the program when the main window closes.
#pragma once

#include "app/tfm_main.h"

#include <memory>

namespace tessaview {

class TfmSub;
class TfmSynchronize;

class Program {
public:
    explicit Program(const MainServices& services);
    ~Program();

    TfmMain* fmMain() const { return fmMain_.get(); }
    TfmSub* fmSub() const { return fmSub_.get(); }
    TfmSynchronize* fmSynchronize() const;

private:
    std::unique_ptr<TfmMain> fmMain_;
    std::unique_ptr<TfmSub> fmSub_;
};

}  // namespace tessaview
