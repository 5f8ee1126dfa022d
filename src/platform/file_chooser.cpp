// Open dialogs that remember where the user was.
#include "platform/file_chooser.h"

#include "platform/local_file_names.h"

namespace tessaview {

std::vector<std::string> FileChooser::Choose(QWidget* parent, FileDialogRequest request) {
    if (!folder_.empty()) request.folder = DisplayFileName(folder_);
    std::vector<std::string> files;
    for (const QString& chosen : desktop_.OpenFiles(parent, request)) files.push_back(LocalFileName(chosen));
    if (!files.empty()) WasAt(files.front());
    return files;
}

void FileChooser::WasAt(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    if (slash != std::string::npos) folder_ = file.substr(0, slash + 1);
}

}  // namespace tessaview
