// MainWindow: the Qt view of the control layer. Its widgets are built from
// the window definition; model changes arrive from any thread and are applied
// here on the window thread in bursts; user actions are written back into the
// model before the handler for them runs.
#pragma once

#include <QAction>
#include <QMenu>
#include <QWidget>

#include <map>
#include <memory>
#include <string>

#include "app/change_queue.h"
#include "app/window_handlers.h"
#include "controls/control_model.h"

namespace yz {

class ListView;
class PagedControl;

class MainWindow : public QWidget {
  Q_OBJECT
 public:
  MainWindow(std::shared_ptr<ControlModel> ui, std::shared_ptr<WindowHandlers> handlers,
             QWidget* parent = nullptr);
  ~MainWindow() override;

  // The widget carrying a control of the window definition, or null.
  QWidget* Control(const std::string& name) const;
  ListView* List(const std::string& name) const;
  QMenu* Menu() const { return menu_; }
  QAction* MenuAction(const std::string& caption) const;
  // Applies what the model changed so far, without waiting for the queued
  // flush.
  void FlushNow();
  const ChangeQueue& Changes() const { return *queue_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  void BuildControls();
  QWidget* MakeControl(const ControlDef& def, QWidget* parent);
  void BuildMenu();
  void ConnectEvents();

  // Runs a handler, then shows what it changed at once.
  template <typename F>
  void Run(F&& handler);

  void Apply(const ChangeBatch& batch);
  void ApplyControl(const std::string& name, const PendingChanges& changes);
  void ApplyText(const ControlDef& def, QWidget* widget);
  void ApplyRows(const std::string& name, ListView* list, const PendingChanges& changes);
  void ApplyPage(const std::string& name, PagedControl* tabs);
  void ApplyTicks();
  void ApplyWindow();
  static ChangeBatch EverythingChanged();

  std::shared_ptr<ControlModel> ui_;
  std::shared_ptr<WindowHandlers> handlers_;
  std::shared_ptr<ChangeQueue> queue_;
  std::map<std::string, QWidget*> widgets_;
  std::map<std::string, QAction*> actions_;
  QMenu* menu_ = nullptr;
  bool catalogueShown_ = false;
  bool alwaysOnTop_ = false;
};

}  // namespace yz
