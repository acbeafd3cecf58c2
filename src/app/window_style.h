// The dark look of the main window beyond what the window definition gives:
// scroll bars, the pop-up menu, the inner tab strip, the search box.
#pragma once

#include <QString>

namespace yz {

QString MainWindowStyleSheet();
QString SearchBoxStyleSheet();

}  // namespace yz
