// Qt key codes and modifiers turned into the Windows codes the full-screen window reports.
#pragma once

#include <Qt>

namespace tessaview {

// The virtual-key code for a Qt key, or 0 when the key has none.
int virtualKeyFromQt(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// The MOD_ bits (messages.h) of Shift, Control and Alt among `modifiers`.
int virtualModifiers(Qt::KeyboardModifiers modifiers);

}  // namespace tessaview
