// Creating and ending the program's windows.
#include "app/program.h"

#include "presentation/subtitle_surfaces.h"
#include "presentation/tfm_sub.h"
#include "presentation/tfm_synchronize.h"

#include <QCoreApplication>

namespace tessaview {

Program::Program(const MainServices& services) : fmMain_(std::make_unique<TfmMain>(services)) {
    fmSub_ = std::make_unique<TfmSub>(&fmMain_->Surfaces());
    // The overlay stays shown (parked off screen) and must not keep the program alive.
    fmSub_->setAttribute(Qt::WA_QuitOnClose, false);
    auto* fmSynchronize = new TfmSynchronize(fmMain_.get());  // owned by the main window
    fmMain_->AttachCompanions(fmSub_.get(), fmSynchronize);
    QObject::connect(
        fmMain_.get(), &TfmMain::Closed, fmSub_.get(), [] { QCoreApplication::quit(); }, Qt::QueuedConnection);
    fmMain_->show();
}

Program::~Program() {
    // The main window goes first: its parts still hold the overlay.
    fmMain_.reset();
    fmSub_.reset();
}

TfmSynchronize* Program::fmSynchronize() const { return fmMain_->fmSynchronize(); }

}  // namespace tessaview
