// File names between the toolkit and the system. Names are bytes here; the toolkit's strings
// are Unicode and turn a name that is not valid UTF-8 into U+FFFD for good. The program keeps
// every name as its bytes and decodes only to show it.
#pragma once

#include <QString>
#include <string>

namespace tessaview {

// The bytes of a name the toolkit gives (a dialog's choice, a drop). A part that the toolkit could
// not decode is looked up in its folder: the one entry that decodes to it gives its bytes.
std::string LocalFileName(const QString& name);

// The name for display; bytes that are not UTF-8 show as U+FFFD.
QString DisplayFileName(const std::string& name);

}  // namespace tessaview
