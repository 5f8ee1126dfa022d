// The open dialogs as the main window uses them: each starts where the user last was (the
// folder of the last file chosen, or of a movie opened since) and gives names as bytes.
#pragma once

#include "platform/desktop.h"

#include <string>
#include <vector>

namespace tessaview {

class FileChooser {
public:
    explicit FileChooser(Desktop& desktop) : desktop_(desktop) {}

    // The chosen files; empty when the user cancels.
    std::vector<std::string> Choose(QWidget* parent, FileDialogRequest request);
    // The user went to `file` another way (a movie opened): the next dialog starts beside it.
    void WasAt(const std::string& file);

private:
    Desktop& desktop_;
    std::string folder_;  // bytes; empty until a file is known
};

}  // namespace tessaview
