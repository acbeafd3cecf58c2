// An event filter that keeps the right mouse button and the keyboard's
// context-menu keys from the widget it sits on.
#pragma once

#include <QObject>

class QEvent;

namespace yz {

class RightButtonGuard : public QObject {
 public:
  using QObject::QObject;

  // True for the events the guard swallows: right-button press, release and
  // double-click, context-menu requests, the Menu key and Shift+F10.
  static bool Swallows(const QEvent* event);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace yz
