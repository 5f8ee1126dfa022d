// Qt key codes turned into the Windows virtual-key codes the full-screen window reports.
#pragma once

#include <Qt>

namespace tessaview {

// The virtual-key code for a Qt key, or 0 when the key has none.
int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

}  // namespace tessaview
