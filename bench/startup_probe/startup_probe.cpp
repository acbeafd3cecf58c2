// A Qt generic plugin for the start-up benchmark. Loaded into a program
// through QT_QPA_GENERIC_PLUGINS, it watches the application's events and
// writes to standard error when the first top-level widget is exposed (shown)
// and when its first paint is done, so a program is measured as built.
#include <QApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>

namespace {

class StartupProbe : public QObject {
 public:
  explicit StartupProbe(QObject* parent) : QObject(parent) { qApp->installEventFilter(this); }

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!shown_ && event->type() == QEvent::Expose) {
      auto* window = qobject_cast<QWindow*>(watched);
      if (QWidget* widget = window && window->isVisible() ? WidgetOf(window) : nullptr) {
        shown_ = widget;
        std::fprintf(stderr, "yz-startup-probe: shown %s\n", widget->metaObject()->className());
      }
    }
    if (shown_ && !painted_ && event->type() == QEvent::Paint && watched == shown_) {
      painted_ = true;
      // Once this event and the flush after it are done.
      QTimer::singleShot(0, [] { std::fprintf(stderr, "yz-startup-probe: painted\n"); });
    }
    return false;
  }

 private:
  static QWidget* WidgetOf(QWindow* window) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
      if (w->windowHandle() == window) return w;
    }
    return nullptr;
  }

  QPointer<QWidget> shown_;
  bool painted_ = false;
};

class StartupProbePlugin : public QGenericPlugin {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "startup_probe.json")

 public:
  QObject* create(const QString&, const QString&) override { return new StartupProbe(qApp); }
};

}  // namespace

#include "startup_probe.moc"
