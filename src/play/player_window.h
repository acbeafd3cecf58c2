// The player window: one embedded web view that fills it, refuses new
// windows and keeps the right mouse button from the page.
#pragma once

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QString>
#include <QUrl>
#include <QWidget>

class QMessageBox;
class QWebEngineProfile;
class QWebEngineView;

namespace yz {

class RightButtonGuard;

class PlayerWindow : public QWidget {
  Q_OBJECT
 public:
  // `alwaysOnTop` is the "播放窗口置顶" tick at creation; it is not followed later.
  explicit PlayerWindow(bool alwaysOnTop, QWidget* parent = nullptr);
  ~PlayerWindow() override;

  // Loads `address` (http or https only; anything else is refused and the
  // view left blank).
  void Navigate(const QString& address);
  void SetCaption(const QString& caption);

  // Whether the player loads this address at all.
  static bool IsPlayableAddress(const QUrl& url);
  // The browser's place for a window of the given outer size.
  static QRect BrowserGeometry(QSize outerSize);

  QWebEngineView* Browser() const { return view_; }
  // The inner widget that carries the right-button guard; null when none.
  QWidget* HookedWindow() const { return hookedWindow_; }
  int HooksInstalled() const { return hooksInstalled_; }
  int RefusedWindows() const { return refusedWindows_; }

 public slots:
  // After every finished document: puts the guard on the browser's inner
  // input widget unless it already has one.
  void OnBrowserReady();

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  void OnPlayerCreated(bool alwaysOnTop);
  void OnPlayerResized();
  void OnBrowserNewWindow();
  QWidget* FindInnerWidget() const;
  void Hook(QWidget* inner);
  void ShowNoInnerWindowNotice();

  QWebEngineProfile* profile_ = nullptr;
  QWebEngineView* view_ = nullptr;
  RightButtonGuard* guard_ = nullptr;
  QPointer<QWidget> hookedWindow_;  // cleared when that widget is destroyed
  QPointer<QMessageBox> notice_;
  int hooksInstalled_ = 0;
  int refusedWindows_ = 0;
};

}  // namespace yz
