#include "play/right_button_guard.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace yz {

namespace {

bool IsContextMenuKey(const QKeyEvent* key) {
  if (key->key() == Qt::Key_Menu) return true;
  return key->key() == Qt::Key_F10 && key->modifiers().testFlag(Qt::ShiftModifier);
}

}  // namespace

bool RightButtonGuard::Swallows(const QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
      return static_cast<const QMouseEvent*>(event)->button() == Qt::RightButton;
    case QEvent::ContextMenu:
      return true;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return IsContextMenuKey(static_cast<const QKeyEvent*>(event));
    default:
      return false;
  }
}

bool RightButtonGuard::eventFilter(QObject* watched, QEvent* event) {
  if (Swallows(event)) return true;
  return QObject::eventFilter(watched, event);
}

}  // namespace yz
