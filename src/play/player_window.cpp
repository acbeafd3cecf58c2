#include "play/player_window.h"

namespace yz {

PlayerWindow::PlayerWindow(bool alwaysOnTop, QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop);
  setGeometry(50, 50, 680, 440);
}

PlayerWindow::~PlayerWindow() = default;

void PlayerWindow::Navigate(const QString&) {}

void PlayerWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }

}  // namespace yz
