#include "play/player_window.h"

#include <QChildEvent>
#include <QMessageBox>
#include <QWebEngineFullScreenRequest>
#include <QWebEnginePage>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineView>
#include <functional>
#include <utility>

#include "play/right_button_guard.h"

namespace yz {

namespace {

constexpr char kGuardedProperty[] = "yzRightButtonGuard";

// A page that opens no further window: pop-ups, target=_blank links and the
// like all end here and get none.
class RefusingPage : public QWebEnginePage {
 public:
  RefusingPage(QWebEngineProfile* profile, std::function<void()> onRefused, QObject* parent)
      : QWebEnginePage(profile, parent), onRefused_(std::move(onRefused)) {}

 protected:
  QWebEnginePage* createWindow(WebWindowType) override {
    onRefused_();
    return nullptr;
  }

 private:
  std::function<void()> onRefused_;
};

}  // namespace

PlayerWindow::PlayerWindow(bool alwaysOnTop, QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_DeleteOnClose);
  setGeometry(50, 50, 680, 440);

  // Without a storage name the profile is off the record: nothing reaches disk.
  profile_ = new QWebEngineProfile(this);
  view_ = new QWebEngineView(this);
  view_->setObjectName(QStringLiteral("超文本浏览框1"));
  view_->setPage(new RefusingPage(profile_, [this] { OnBrowserNewWindow(); }, view_));
  view_->setContextMenuPolicy(Qt::NoContextMenu);
  view_->setGeometry(-1, -1, 680, 416);

  QWebEngineSettings* settings = view_->page()->settings();
  // The user asked to play: the video may start without a click in the page.
  settings->setAttribute(QWebEngineSettings::PlaybackRequiresUserGesture, false);
  settings->setAttribute(QWebEngineSettings::FullScreenSupportEnabled, true);
  connect(view_->page(), &QWebEnginePage::fullScreenRequested, this,
          [this](QWebEngineFullScreenRequest request) {
            request.accept();
            if (request.toggleOn())
              showFullScreen();
            else
              showNormal();
          });

  guard_ = new RightButtonGuard(this);
  // The inner input widget appears with the first document and is replaced
  // on some navigations: each new child of the view gets the guard at once.
  view_->installEventFilter(this);
  for (QWidget* child : view_->findChildren<QWidget*>(QString(), Qt::FindDirectChildrenOnly))
    Hook(child);
  connect(view_, &QWebEngineView::loadFinished, this, &PlayerWindow::OnBrowserReady);

  OnPlayerCreated(alwaysOnTop);
}

PlayerWindow::~PlayerWindow() {
  // The page must go before its profile.
  view_->removeEventFilter(this);
  delete view_;
  view_ = nullptr;
}

void PlayerWindow::OnPlayerCreated(bool alwaysOnTop) {
  setWindowFlag(Qt::WindowStaysOnTopHint, alwaysOnTop);
}

bool PlayerWindow::IsPlayableAddress(const QUrl& url) {
  if (!url.isValid() || url.host().isEmpty()) return false;
  const QString scheme = url.scheme();
  return scheme == QLatin1String("http") || scheme == QLatin1String("https");
}

void PlayerWindow::Navigate(const QString& address) {
  QUrl url(address);
  if (!IsPlayableAddress(url)) {
    qWarning("yingzhou: the player refuses the address %s", qPrintable(address));
    view_->setUrl(QUrl(QStringLiteral("about:blank")));
    return;
  }
  view_->setUrl(url);
}

void PlayerWindow::SetCaption(const QString& caption) { setWindowTitle(caption); }

// ---- size ------------------------------------------------------------------

QRect PlayerWindow::BrowserGeometry(QSize outerSize) {
  return QRect(-1, -1, outerSize.width() + 5, std::max(0, outerSize.height() - 35));
}

// The browser follows the window's outer size. Where the window manager
// draws no frame (or has not reported it yet) the outer size is the window's
// own size; the frame, once known, is taken up by the next move or resize.
// In full screen the video fills the window.
void PlayerWindow::OnPlayerResized() {
  if (!view_) return;
  if (isFullScreen()) {
    view_->setGeometry(rect());
    return;
  }
  view_->setGeometry(BrowserGeometry(frameGeometry().size()));
}

void PlayerWindow::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  OnPlayerResized();
}

void PlayerWindow::moveEvent(QMoveEvent* event) {
  QWidget::moveEvent(event);
  OnPlayerResized();
}

void PlayerWindow::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  OnPlayerResized();
}

// ---- new windows and the right button --------------------------------------

void PlayerWindow::OnBrowserNewWindow() { ++refusedWindows_; }

QWidget* PlayerWindow::FindInnerWidget() const {
  if (QWidget* proxy = view_->focusProxy()) return proxy;
  return view_->findChild<QWidget*>(QString(), Qt::FindDirectChildrenOnly);
}

void PlayerWindow::Hook(QWidget* inner) {
  if (!inner) return;
  hookedWindow_ = inner;
  if (inner->property(kGuardedProperty).toBool()) return;  // one guard per widget
  inner->installEventFilter(guard_);
  inner->setProperty(kGuardedProperty, true);
  ++hooksInstalled_;
}

void PlayerWindow::OnBrowserReady() {
  QWidget* inner = FindInnerWidget();
  if (!inner) {
    ShowNoInnerWindowNotice();
    return;
  }
  if (hookedWindow_ == inner) return;
  Hook(inner);
}

bool PlayerWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == view_ && event->type() == QEvent::ChildAdded) {
    QObject* child = static_cast<QChildEvent*>(event)->child();
    if (child->isWidgetType()) Hook(static_cast<QWidget*>(child));
  }
  return QWidget::eventFilter(watched, event);
}

void PlayerWindow::ShowNoInnerWindowNotice() {
  if (notice_) return;  // one notice at a time
  auto* box = new QMessageBox(QMessageBox::NoIcon, QStringLiteral("友情提醒"),
                              QStringLiteral("浏览器 句柄无效"), QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->setWindowModality(Qt::NonModal);
  notice_ = box;
  box->show();
}

}  // namespace yz
