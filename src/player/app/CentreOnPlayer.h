#pragma once

class QWidget;

namespace vorlo {

// Places a dialog centred over the main window while that is visible (centred on the screen's work area when it
// is hidden), then moves it as little as needed to lie wholly inside the work area. User-interface thread.
void CentreOnPlayer(QWidget& dialog, const QWidget* player);

}  // namespace vorlo
