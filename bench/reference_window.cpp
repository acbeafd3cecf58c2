// A reference for the start-up benchmark: an empty Qt window and nothing
// else, so the figures of the program stand beside what Qt itself needs.
// Built a second time with the web engine linked in (WITH_WEB_ENGINE), which
// the program links for its player window.
#include <QApplication>
#include <QWidget>

#ifdef WITH_WEB_ENGINE
#include <QWebEngineView>
#endif

int main(int argc, char* argv[]) {
#ifdef WITH_WEB_ENGINE
  // As the program does; the view's meta-object keeps the library linked.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  const QMetaObject* volatile view = &QWebEngineView::staticMetaObject;
  (void)view;
#endif
  QApplication app(argc, argv);
  QWidget window;
  window.resize(890, 398);
  window.show();
  return QApplication::exec();
}
