// Qt keys to Windows virtual-key codes.
#include <gtest/gtest.h>

#include "external/mpv/virtual_key.h"

namespace tessaview {
namespace {

TEST(VirtualKey, MapsTheKeysTheProgramAndUsersPress) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        int code;
    };
    const Case cases[] = {
        {Qt::Key_Escape, Qt::NoModifier, 27}, {Qt::Key_Space, Qt::NoModifier, 32}, {Qt::Key_Up, Qt::NoModifier, 38},
        {Qt::Key_Down, Qt::NoModifier, 40},   {Qt::Key_A, Qt::ShiftModifier, 65},  {Qt::Key_9, Qt::NoModifier, 57},
        {Qt::Key_9, Qt::KeypadModifier, 105}, {Qt::Key_F4, Qt::NoModifier, 115},  {Qt::Key_Minus, Qt::NoModifier, 189},
        {Qt::Key_Shift, Qt::ShiftModifier, 16}, {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(virtualKeyFromQt(c.key, c.modifiers), c.code) << "Qt key 0x" << std::hex << c.key;
    }
}

}  // namespace
}  // namespace tessaview
