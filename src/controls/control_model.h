// A thread-safe model of every control of the main window, addressed by the
// names of the window definition. The window renders it; workers, the CLI and
// tests read and write it from any thread. Every write raises a Change.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "controls/window_definition.h"
#include "text/text.h"

namespace yz {

enum class ChangeKind {
  Text,         // text of an edit box or label
  TextColour,   // hyperlink label colour
  Picture,      // picture box bytes
  Geometry,     // left/top/width/height
  Visibility,
  Page,         // current page of a tab control
  Tick,         // menu item tick (control = caption)
  RowsCleared,  // list emptied
  RowAppended,  // row = index of the new row
  Cell,         // row, column
  RowPicture,   // row
  Selection,    // selected row of a list
  Window,       // window height, always-on-top, minimised
};

struct Change {
  ChangeKind kind;
  std::string control;  // control name or menu caption; "" for the window
  int row = -1;
  int column = -1;
};

struct Geometry {
  int left = 0, top = 0, width = 0, height = 0;
};

// A load of one list. A newer load, or any DeleteAllRows, supersedes it: its
// writes are then dropped, so rows of two loads never mix.
struct ListLoad {
  std::string list;
  std::uint64_t generation = 0;
};

class ControlModel {
 public:
  ControlModel();
  ControlModel(const ControlModel&) = delete;
  ControlModel& operator=(const ControlModel&) = delete;

  // ---- list views ----
  void DeleteAllRows(const std::string& list);
  int AppendRow(const std::string& list);  // index of the new row
  void SetCell(const std::string& list, int row, int column, const Text& text);
  void SetRowPicture(const std::string& list, int row, const Bytes& picture);
  Text Cell(const std::string& list, int row, int column) const;
  Text SelectedCell(const std::string& list, int column) const;  // "" when none selected
  int SelectedRow(const std::string& list) const;                 // -1 when none
  void SetSelectedRow(const std::string& list, int row);
  int RowCount(const std::string& list) const;
  int ColumnCount(const std::string& list) const;
  Bytes RowPicture(const std::string& list, int row) const;
  std::vector<std::vector<Text>> Rows(const std::string& list) const;

  // Clears the list and starts a load that supersedes every earlier one.
  ListLoad BeginLoad(const std::string& list);
  // Starts a load without clearing (for a list another load cleared).
  ListLoad JoinLoad(const std::string& list) const;
  bool IsCurrent(const ListLoad& load) const;
  // The guarded writes: nothing happens (and -1 / false is returned) once the
  // load is superseded.
  int AppendRow(const ListLoad& load);
  bool SetCell(const ListLoad& load, int row, int column, const Text& text);
  bool SetRowPicture(const ListLoad& load, int row, const Bytes& picture);

  // ---- texts, colours, pictures ----
  void SetText(const std::string& control, const Text& text);
  Text GetText(const std::string& control) const;
  void SetTextColour(const std::string& control, std::uint32_t rgb);
  std::uint32_t TextColour(const std::string& control) const;
  void SetPicture(const std::string& control, const Bytes& picture);
  Bytes Picture(const std::string& control) const;

  // ---- geometry, visibility, pages ----
  Geometry GetGeometry(const std::string& control) const;
  void SetLeft(const std::string& control, int v);
  void SetTop(const std::string& control, int v);
  void SetWidth(const std::string& control, int v);
  void SetHeight(const std::string& control, int v);
  bool IsVisible(const std::string& control) const;
  void SetVisible(const std::string& control, bool visible);
  int CurrentPage(const std::string& tabControl) const;
  void SetCurrentPage(const std::string& tabControl, int page);

  // ---- menu ticks (keyed by caption) ----
  bool IsTicked(const std::string& caption) const;
  void SetTicked(const std::string& caption, bool ticked);

  // ---- the window ----
  int WindowHeight() const;
  void SetWindowHeight(int height);
  bool AlwaysOnTop() const;
  void SetAlwaysOnTop(bool on);
  bool Minimised() const;
  void SetMinimised(bool on);

  // ---- notifications ----
  using Listener = std::function<void(const Change&)>;
  // Listeners run on the writing thread, outside the model's lock.
  int Subscribe(Listener listener);
  void Unsubscribe(int id);

 private:
  struct Row {
    std::vector<Text> cells;
    Bytes picture;
  };
  struct Control {
    ControlKind kind{};
    Geometry geometry;
    bool visible = true;
    Text text;
    std::uint32_t textColour = kNoColour;
    Bytes picture;
    int page = 0;
    std::size_t columns = 0;
    std::vector<Row> rows;
    int selected = -1;
    std::uint64_t generation = 0;
  };

  Control* Find(const std::string& name);
  const Control* Find(const std::string& name) const;
  void Notify(const Change& change);

  mutable std::mutex mutex_;
  std::map<std::string, Control> controls_;
  std::map<std::string, bool> ticks_;
  int windowHeight_ = 0;
  bool alwaysOnTop_ = false;
  bool minimised_ = false;

  std::mutex listenerMutex_;
  std::map<int, std::shared_ptr<Listener>> listeners_;
  int nextListener_ = 1;
};

}  // namespace yz
