// 影舟: the window program.
#include <QApplication>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "app/address_options.h"
#include "app/default_addresses.h"
#include "app/icons.h"
#include "app/main_window.h"
#include "app/qt_effects.h"
#include "app/qt_text.h"
#include "app/shell.h"
#include "app/window_handlers.h"

int main(int argc, char* argv[]) {
  // The player's web view shares OpenGL contexts with the widgets.
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("yingzhou"));
  QApplication::setFont(yz::ControlFont(12, false));
  QApplication::setWindowIcon(yz::LogoIcon());
  // The program ends through EndProgram only (close button, window closed).
  QApplication::setQuitOnLastWindowClosed(false);

  std::vector<std::string> args;
  for (const QString& a : QApplication::arguments().mid(1)) args.push_back(a.toStdString());
  yz::Addresses addresses = yz::DefaultAddresses();
  std::string error;
  if (!yz::TakeAddressOptions(args, addresses, error)) {
    std::fprintf(stderr, "yingzhou: %s\n", error.c_str());
    return 2;
  }
  if (!args.empty()) {
    std::fprintf(stderr, "yingzhou: unknown argument %s\n"
                         "usage: yingzhou [--portal BASE] [--search-host BASE] [--notice URL] [--lines BASE]\n",
                 args.front().c_str());
    return 2;
  }

  auto ui = std::make_shared<yz::ControlModel>();
  auto effects = std::make_shared<yz::QtEffects>(ui);
  auto workers = std::make_shared<yz::Workers>();
  yz::Context ctx{ui, effects, workers, addresses};
  effects->SetStopRequests([effects, workers] {
    effects->ReleaseWaiting();
    workers->Shutdown();
  });

  int code = 0;
  {
    auto window = std::make_unique<yz::MainWindow>(ui, std::make_shared<yz::ShellHandlers>(ctx));
    yz::OnMainWindowCreated(ctx);
    if (effects->EndRequested()) {
      code = effects->ExitCode();
    } else {
      window->FlushNow();
      window->show();
      code = QApplication::exec();
      if (effects->EndRequested()) code = effects->ExitCode();
    }
    // No worker may outlive what it uses: release boxes they wait on, make
    // requests give up, join them all, then take the windows down.
    effects->ReleaseWaiting();
    workers->Shutdown();
    effects->ClosePlayer();
  }
  effects->SetStopRequests({});
  return code;
}
