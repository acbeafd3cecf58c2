// What the main window raises, as one interface: ShellHandlers runs the shell
// handlers over a Context; tests put their own in its place.
#pragma once

#include <string>

#include "portal/context.h"

namespace yz {

class WindowHandlers {
 public:
  virtual ~WindowHandlers() = default;
  virtual void Search() = 0;  // search button, Enter in 编辑框1
  virtual void LinkPressed(int page) = 0;
  virtual void SearchBoxPressed() = 0;
  virtual void HistoryClicked() = 0;
  virtual void CloseClicked() = 0;  // also the window closed by the system
  virtual void MinimiseClicked() = 0;
  virtual void MenuItemSelected(const std::string& caption) = 0;
  virtual void ListPressed(const std::string& list) = 0;
  virtual void ListDoubleClicked(const std::string& list) = 0;
  virtual void InnerTabChanged(int index) = 0;
};

class ShellHandlers : public WindowHandlers {
 public:
  explicit ShellHandlers(Context ctx) : ctx_(std::move(ctx)) {}
  const Context& Ctx() const { return ctx_; }

  void Search() override;
  void LinkPressed(int page) override;
  void SearchBoxPressed() override;
  void HistoryClicked() override;
  void CloseClicked() override;
  void MinimiseClicked() override;
  void MenuItemSelected(const std::string& caption) override;
  void ListPressed(const std::string& list) override;
  void ListDoubleClicked(const std::string& list) override;
  void InnerTabChanged(int index) override;

 private:
  Context ctx_;
};

}  // namespace yz
