#include "app/window_style.h"

namespace yz {

QString MainWindowStyleSheet() {
  return QStringLiteral(
      "QScrollBar:vertical { background: transparent; width: 8px; margin: 0; }"
      "QScrollBar::handle:vertical { background: #4A4D57; border-radius: 4px; min-height: 24px; }"
      "QScrollBar::handle:vertical:hover { background: #5C606B; }"
      "QScrollBar::add-line:vertical, QScrollBar::sub-line:vertical { height: 0; }"
      "QScrollBar::add-page:vertical, QScrollBar::sub-page:vertical { background: none; }"
      "QMenu { background: #33353C; color: #E2E3E6; border: 1px solid #45474F; padding: 4px 0; }"
      "QMenu::item { padding: 5px 26px 5px 22px; }"
      "QMenu::item:selected { background: #464A56; color: white; }"
      "QMenu::separator { height: 1px; background: #45474F; margin: 4px 10px; }"
      "QTabBar::tab { background: #2B2D33; color: #A9ACB4; border: none;"
      " border-bottom: 2px solid #383A42; padding: 2px 0; min-height: 18px; }"
      "QTabBar::tab:hover { color: white; }"
      "QTabBar::tab:selected { color: white; border-bottom: 2px solid #FF0000; }");
}

QString SearchBoxStyleSheet() {
  return QStringLiteral(
      "QLineEdit { background: #646870; color: white; border: none; border-radius: 2px;"
      " padding: 0 24px 0 4px; selection-background-color: #8A8F99; }");
}

}  // namespace yz
