// The player window: one embedded web view that fills it, refuses new
// windows and keeps the right mouse button from the page.
#pragma once

#include <QString>
#include <QWidget>

namespace yz {

class PlayerWindow : public QWidget {
  Q_OBJECT
 public:
  // `alwaysOnTop` is the "播放窗口置顶" tick at creation; it is not followed later.
  explicit PlayerWindow(bool alwaysOnTop, QWidget* parent = nullptr);
  ~PlayerWindow() override;

  void Navigate(const QString& address);
  void SetCaption(const QString& caption);
};

}  // namespace yz
