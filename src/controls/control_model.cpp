#include "controls/control_model.h"

#include <cstdio>

namespace yz {

ControlModel::ControlModel() {
  for (const ControlDef& d : MainWindowControls()) {
    Control c;
    c.kind = d.kind;
    c.geometry = {d.left, d.top, d.width, d.height};
    c.visible = d.visible;
    c.text = Utf8ToText(d.text);
    c.textColour = d.textColour;
    c.columns = d.columns.size();
    controls_.emplace(d.name, std::move(c));
  }
  for (const MenuItemDef& m : MainWindowMenu()) {
    if (m.caption != "-") ticks_.emplace(m.caption, false);
  }
  windowHeight_ = MainWindowDef().height;
}

ControlModel::Control* ControlModel::Find(const std::string& name) {
  auto it = controls_.find(name);
  if (it != controls_.end()) return &it->second;
  std::fprintf(stderr, "yingzhou: no control named %s\n", name.c_str());
  return nullptr;
}

const ControlModel::Control* ControlModel::Find(const std::string& name) const {
  return const_cast<ControlModel*>(this)->Find(name);
}

// ---- list views ----------------------------------------------------------------

void ControlModel::DeleteAllRows(const std::string& list) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c) return;
    c->rows.clear();
    c->selected = -1;
    ++c->generation;
  }
  Notify({ChangeKind::RowsCleared, list});
}

int ControlModel::AppendRow(const std::string& list) {
  int index;
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c) return -1;
    c->rows.push_back(Row{std::vector<Text>(c->columns), {}});
    index = static_cast<int>(c->rows.size()) - 1;
  }
  Notify({ChangeKind::RowAppended, list, index});
  return index;
}

void ControlModel::SetCell(const std::string& list, int row, int column, const Text& text) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
        column >= static_cast<int>(c->columns))
      return;
    c->rows[row].cells[column] = text;
  }
  Notify({ChangeKind::Cell, list, row, column});
}

void ControlModel::SetRowPicture(const std::string& list, int row, const Bytes& picture) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return;
    c->rows[row].picture = picture;
  }
  Notify({ChangeKind::RowPicture, list, row});
}

Text ControlModel::Cell(const std::string& list, int row, int column) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
      column >= static_cast<int>(c->columns))
    return {};
  return c->rows[row].cells[column];
}

Text ControlModel::SelectedCell(const std::string& list, int column) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  if (!c || c->selected < 0 || c->selected >= static_cast<int>(c->rows.size()) || column < 0 ||
      column >= static_cast<int>(c->columns))
    return {};
  return c->rows[c->selected].cells[column];
}

int ControlModel::SelectedRow(const std::string& list) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  return c ? c->selected : -1;
}

void ControlModel::SetSelectedRow(const std::string& list, int row) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c) return;
    int selected = (row >= 0 && row < static_cast<int>(c->rows.size())) ? row : -1;
    if (selected == c->selected) return;
    c->selected = selected;
  }
  Notify({ChangeKind::Selection, list});
}

int ControlModel::RowCount(const std::string& list) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  return c ? static_cast<int>(c->rows.size()) : 0;
}

int ControlModel::ColumnCount(const std::string& list) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  return c ? static_cast<int>(c->columns) : 0;
}

Bytes ControlModel::RowPicture(const std::string& list, int row) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  if (!c || row < 0 || row >= static_cast<int>(c->rows.size())) return {};
  return c->rows[row].picture;
}

std::vector<std::vector<Text>> ControlModel::Rows(const std::string& list) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  std::vector<std::vector<Text>> rows;
  if (!c) return rows;
  rows.reserve(c->rows.size());
  for (const Row& r : c->rows) rows.push_back(r.cells);
  return rows;
}

ListLoad ControlModel::BeginLoad(const std::string& list) {
  ListLoad load{list, 0};
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(list);
    if (!c) return load;
    c->rows.clear();
    c->selected = -1;
    load.generation = ++c->generation;
  }
  Notify({ChangeKind::RowsCleared, list});
  return load;
}

ListLoad ControlModel::JoinLoad(const std::string& list) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(list);
  return ListLoad{list, c ? c->generation : 0};
}

bool ControlModel::IsCurrent(const ListLoad& load) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(load.list);
  return c && c->generation == load.generation;
}

int ControlModel::AppendRow(const ListLoad& load) {
  int index;
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(load.list);
    if (!c || c->generation != load.generation) return -1;
    c->rows.push_back(Row{std::vector<Text>(c->columns), {}});
    index = static_cast<int>(c->rows.size()) - 1;
  }
  Notify({ChangeKind::RowAppended, load.list, index});
  return index;
}

bool ControlModel::SetCell(const ListLoad& load, int row, int column, const Text& text) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(load.list);
    if (!c || c->generation != load.generation) return false;
    if (row < 0 || row >= static_cast<int>(c->rows.size()) || column < 0 ||
        column >= static_cast<int>(c->columns))
      return true;  // still current; the cell just does not exist
    c->rows[row].cells[column] = text;
  }
  Notify({ChangeKind::Cell, load.list, row, column});
  return true;
}

bool ControlModel::SetRowPicture(const ListLoad& load, int row, const Bytes& picture) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(load.list);
    if (!c || c->generation != load.generation) return false;
    if (row < 0 || row >= static_cast<int>(c->rows.size())) return true;
    c->rows[row].picture = picture;
  }
  Notify({ChangeKind::RowPicture, load.list, row});
  return true;
}

// ---- texts, colours, pictures --------------------------------------------------

void ControlModel::SetText(const std::string& control, const Text& text) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(control);
    if (!c) return;
    c->text = text;
  }
  Notify({ChangeKind::Text, control});
}

Text ControlModel::GetText(const std::string& control) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(control);
  return c ? c->text : Text{};
}

void ControlModel::SetTextColour(const std::string& control, std::uint32_t rgb) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(control);
    if (!c) return;
    c->textColour = rgb;
  }
  Notify({ChangeKind::TextColour, control});
}

std::uint32_t ControlModel::TextColour(const std::string& control) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(control);
  return c ? c->textColour : kNoColour;
}

void ControlModel::SetPicture(const std::string& control, const Bytes& picture) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(control);
    if (!c) return;
    c->picture = picture;
  }
  Notify({ChangeKind::Picture, control});
}

Bytes ControlModel::Picture(const std::string& control) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(control);
  return c ? c->picture : Bytes{};
}

// ---- geometry, visibility, pages ------------------------------------------------

Geometry ControlModel::GetGeometry(const std::string& control) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(control);
  return c ? c->geometry : Geometry{};
}

#define YZ_GEOMETRY_SETTER(Name, field)                           \
  void ControlModel::Name(const std::string& control, int v) {   \
    {                                                             \
      std::lock_guard lock(mutex_);                               \
      Control* c = Find(control);                                 \
      if (!c) return;                                             \
      c->geometry.field = v;                                      \
    }                                                             \
    Notify({ChangeKind::Geometry, control});                      \
  }
YZ_GEOMETRY_SETTER(SetLeft, left)
YZ_GEOMETRY_SETTER(SetTop, top)
YZ_GEOMETRY_SETTER(SetWidth, width)
YZ_GEOMETRY_SETTER(SetHeight, height)
#undef YZ_GEOMETRY_SETTER

bool ControlModel::IsVisible(const std::string& control) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(control);
  return c && c->visible;
}

void ControlModel::SetVisible(const std::string& control, bool visible) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(control);
    if (!c) return;
    c->visible = visible;
  }
  Notify({ChangeKind::Visibility, control});
}

int ControlModel::CurrentPage(const std::string& tabControl) const {
  std::lock_guard lock(mutex_);
  const Control* c = Find(tabControl);
  return c ? c->page : -1;
}

void ControlModel::SetCurrentPage(const std::string& tabControl, int page) {
  {
    std::lock_guard lock(mutex_);
    Control* c = Find(tabControl);
    if (!c) return;
    c->page = page;
  }
  Notify({ChangeKind::Page, tabControl});
}

// ---- menu ticks ------------------------------------------------------------------

bool ControlModel::IsTicked(const std::string& caption) const {
  std::lock_guard lock(mutex_);
  auto it = ticks_.find(caption);
  return it != ticks_.end() && it->second;
}

void ControlModel::SetTicked(const std::string& caption, bool ticked) {
  {
    std::lock_guard lock(mutex_);
    auto it = ticks_.find(caption);
    if (it == ticks_.end()) {
      std::fprintf(stderr, "yingzhou: no menu item %s\n", caption.c_str());
      return;
    }
    it->second = ticked;
  }
  Notify({ChangeKind::Tick, caption});
}

// ---- the window --------------------------------------------------------------------

int ControlModel::WindowHeight() const {
  std::lock_guard lock(mutex_);
  return windowHeight_;
}

void ControlModel::SetWindowHeight(int height) {
  {
    std::lock_guard lock(mutex_);
    windowHeight_ = height;
  }
  Notify({ChangeKind::Window, ""});
}

bool ControlModel::AlwaysOnTop() const {
  std::lock_guard lock(mutex_);
  return alwaysOnTop_;
}

void ControlModel::SetAlwaysOnTop(bool on) {
  {
    std::lock_guard lock(mutex_);
    alwaysOnTop_ = on;
  }
  Notify({ChangeKind::Window, ""});
}

bool ControlModel::Minimised() const {
  std::lock_guard lock(mutex_);
  return minimised_;
}

void ControlModel::SetMinimised(bool on) {
  {
    std::lock_guard lock(mutex_);
    minimised_ = on;
  }
  Notify({ChangeKind::Window, ""});
}

// ---- notifications ---------------------------------------------------------------------

int ControlModel::Subscribe(Listener listener) {
  std::lock_guard lock(listenerMutex_);
  int id = nextListener_++;
  listeners_.emplace(id, std::make_shared<Listener>(std::move(listener)));
  return id;
}

void ControlModel::Unsubscribe(int id) {
  std::lock_guard lock(listenerMutex_);
  listeners_.erase(id);
}

void ControlModel::Notify(const Change& change) {
  std::vector<std::shared_ptr<Listener>> targets;
  {
    std::lock_guard lock(listenerMutex_);
    if (listeners_.empty()) return;
    targets.reserve(listeners_.size());
    for (auto& [id, l] : listeners_) targets.push_back(l);
  }
  for (auto& l : targets) (*l)(change);
}

}  // namespace yz
