#pragma once

class QWidget;

namespace vorlo {

// Places `dialog` centred over the main window `player`, inside the work area of its screen; centred in the
// work area when the main window is hidden (or null).
void CentreOnPlayer(QWidget& dialog, const QWidget* player);

}  // namespace vorlo
