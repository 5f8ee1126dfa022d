// Shared look of the program's small dialogs: white, title only, fixed size, on top,
// centred over the main window.
#pragma once

class QWidget;

namespace tessaview {

// Title bar without buttons, not resizable, always on top; client area white, width x height.
void SetUpFixedDialog(QWidget* dialog, int width, int height);
// Centres `dialog` over `mainWindow` (over the primary screen when there is none).
void CentreOver(QWidget* dialog, const QWidget* mainWindow);

}  // namespace tessaview
