#include "app/main_window.h"

#include <QCloseEvent>
#include <QCursor>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>

#include "app/control_widgets.h"
#include "app/list_view.h"
#include "app/qt_text.h"
#include "app/window_style.h"

namespace yz {
namespace {

const char* const kSearchBox = "编辑框1";
const char* const kOuterTabs = "选择夹1";
const char* const kInnerTabs = "高级选择夹1";
constexpr int kRecommendedPage = 2;

void SetBackground(QWidget* w, std::uint32_t rgb) {
  if (rgb == kNoColour) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::Window, Rgb(rgb));
  w->setPalette(pal);
  w->setAutoFillBackground(true);
}

void SetInk(QWidget* w, std::uint32_t rgb) {
  if (rgb == kNoColour) return;
  QPalette pal = w->palette();
  pal.setColor(QPalette::WindowText, Rgb(rgb));
  w->setPalette(pal);
}

bool IsSpinner(const std::string& name) { return name == "图片框_载入" || name == "图片框_剧集"; }

Glyph GlyphFor(const std::string& name) {
  if (name == "图形按钮_搜索") return Glyph::Search;
  if (name == "图形按钮_历史记录") return Glyph::History;
  if (name == "图形按钮3") return Glyph::Menu;
  if (name == "图形按钮2") return Glyph::Minimise;
  return Glyph::Close;
}

QLabel* MakeLabel(const ControlDef& def, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setTextFormat(Qt::PlainText);  // page texts are never markup
  label->setFont(ControlFont(def.fontPx, def.bold));
  SetInk(label, def.textColour);
  SetBackground(label, def.background);
  const bool multiLine = def.height > def.fontPx * 2;
  label->setWordWrap(multiLine);
  label->setAlignment(multiLine ? Qt::AlignLeft | Qt::AlignTop : Qt::AlignLeft | Qt::AlignVCenter);
  if (def.kind == ControlKind::TransparentLabel && !multiLine) {
    label->setAttribute(Qt::WA_TransparentForMouseEvents);  // the title bar drags through it
  }
  return label;
}

}  // namespace

MainWindow::MainWindow(std::shared_ptr<ControlModel> ui, std::shared_ptr<WindowHandlers> handlers,
                       QWidget* parent)
    : QWidget(parent), ui_(std::move(ui)), handlers_(std::move(handlers)) {
  const WindowDef& def = MainWindowDef();
  setWindowFlags(Qt::Window | Qt::FramelessWindowHint);
  setWindowTitle(QStringLiteral("影舟"));
  setFont(ControlFont(12, false));
  SetBackground(this, def.background);
  setStyleSheet(MainWindowStyleSheet());
  move(def.left, def.top);
  setFixedSize(def.width, def.height);

  BuildControls();
  BuildMenu();
  ConnectEvents();

  queue_ = std::make_shared<ChangeQueue>(this, [this](ChangeBatch batch) { Apply(batch); });
  queue_->Attach(*ui_);
  Apply(EverythingChanged());
}

MainWindow::~MainWindow() { queue_->Detach(); }

// ---- building ----------------------------------------------------------------------

void MainWindow::BuildControls() {
  for (const ControlDef& def : MainWindowControls()) {
    QWidget* parent = this;
    if (!def.parent.empty()) {
      QWidget* owner = Control(def.parent);
      auto* paged = qobject_cast<PagedControl*>(owner);
      parent = paged ? paged->Page(def.page) : owner;
      if (!parent) parent = this;
    }
    QWidget* w = MakeControl(def, parent);
    w->setObjectName(FromUtf8(def.name));
    widgets_[def.name] = w;
  }
}

QWidget* MainWindow::MakeControl(const ControlDef& def, QWidget* parent) {
  switch (def.kind) {
    case ControlKind::PictureBox: {
      if (def.name == "图片框1") {
        auto* bar = new TitleBar(parent);
        SetBackground(bar, def.background);
        return bar;
      }
      if (def.name == "图片框2") return new LogoView(parent);
      if (IsSpinner(def.name)) return new SpinnerView(parent);
      return new PictureView(parent);
    }
    case ControlKind::TransparentLabel:
    case ControlKind::Label:
      return MakeLabel(def, parent);
    case ControlKind::EditBox: {
      auto* edit = new QLineEdit(parent);
      edit->setFont(ControlFont(def.fontPx, def.bold));
      if (def.name == kSearchBox) edit->setStyleSheet(SearchBoxStyleSheet());
      return edit;
    }
    case ControlKind::PictureButton:
      return new GlyphButton(GlyphFor(def.name), parent);
    case ControlKind::ListView:
      return new ListView(def, def.name == "超级列表框1", parent);
    case ControlKind::HyperlinkLabel: {
      auto* link = new LinkLabel(parent);
      link->setFont(ControlFont(def.fontPx, def.bold));
      SetBackground(link, def.background);
      return link;
    }
    case ControlKind::TabControl: {
      std::vector<QString> captions;
      for (const std::string& c : def.pages) captions.push_back(FromUtf8(c));
      auto* tabs = new PagedControl(captions, def.name == kInnerTabs, parent);
      SetBackground(tabs, def.background);
      if (tabs->Tabs()) tabs->Tabs()->setFont(ControlFont(def.fontPx, def.bold));
      return tabs;
    }
    case ControlKind::Canvas:
      return new QWidget(parent);
  }
  return new QWidget(parent);
}

void MainWindow::BuildMenu() {
  menu_ = new QMenu(this);
  const auto& items = MainWindowMenu();
  QMenu* sub = nullptr;
  for (std::size_t i = 0; i < items.size(); ++i) {
    const MenuItemDef& item = items[i];
    if (item.caption == "-") {
      menu_->addSeparator();
      sub = nullptr;
      continue;
    }
    if (item.level == 1 && i + 1 < items.size() && items[i + 1].level == 2) {
      sub = menu_->addMenu(FromUtf8(item.caption));  // opens its sub-menu only
      continue;
    }
    QMenu* into = item.level == 2 && sub ? sub : menu_;
    QAction* action = into->addAction(FromUtf8(item.caption));
    action->setCheckable(item.level == 2);
    actions_[item.caption] = action;
    const std::string caption = item.caption;
    connect(action, &QAction::triggered, this, [this, caption] {
      Run([&] { handlers_->MenuItemSelected(caption); });
      ApplyTicks();  // the action toggled itself; the model decides
    });
  }
}

void MainWindow::ConnectEvents() {
  static const char* const links[] = {"超级链接框_视频信息", "超级链接框_剧集", "超级链接框_推荐"};
  for (int page = 0; page < 3; ++page) {
    connect(static_cast<LinkLabel*>(Control(links[page])), &LinkLabel::pressed, this,
            [this, page] { Run([&] { handlers_->LinkPressed(page); }); });
  }

  auto* search = static_cast<QLineEdit*>(Control(kSearchBox));
  search->installEventFilter(this);
  connect(search, &QLineEdit::textEdited, this,
          [this](const QString& text) { ui_->SetText(kSearchBox, FromQString(text)); });
  // QLineEdit leaves the Enter key unaccepted, so it still travels on.
  connect(search, &QLineEdit::returnPressed, this, [this] { Run([&] { handlers_->Search(); }); });

  auto button = [this](const char* name) { return static_cast<GlyphButton*>(Control(name)); };
  connect(button("图形按钮_搜索"), &QAbstractButton::clicked, this,
          [this] { Run([&] { handlers_->Search(); }); });
  connect(button("图形按钮_历史记录"), &QAbstractButton::clicked, this,
          [this] { Run([&] { handlers_->HistoryClicked(); }); });
  connect(button("图形按钮3"), &QAbstractButton::clicked, this, [this] { menu_->popup(QCursor::pos()); });
  connect(button("图形按钮2"), &QAbstractButton::clicked, this,
          [this] { Run([&] { handlers_->MinimiseClicked(); }); });
  connect(button("图形按钮1"), &QAbstractButton::clicked, this,
          [this] { Run([&] { handlers_->CloseClicked(); }); });

  for (const ControlDef& def : MainWindowControls()) {
    if (def.kind != ControlKind::ListView) continue;
    ListView* list = List(def.name);
    const std::string name = def.name;
    connect(list, &ListView::selectionEdited, this,
            [this, name](int row) { ui_->SetSelectedRow(name, row); });
    connect(list, &ListView::rowPressed, this, [this, name](int row) {
      ui_->SetSelectedRow(name, row);
      if (row >= 0) Run([&] { handlers_->ListPressed(name); });
    });
    connect(list, &ListView::rowDoubleClicked, this, [this, name](int row) {
      ui_->SetSelectedRow(name, row);
      Run([&] { handlers_->ListDoubleClicked(name); });
    });
  }

  connect(static_cast<PagedControl*>(Control(kInnerTabs)), &PagedControl::pageChosen, this,
          [this](int index) {
            ui_->SetCurrentPage(kInnerTabs, index);
            Run([&] { handlers_->InnerTabChanged(index); });
          });
}

template <typename F>
void MainWindow::Run(F&& handler) {
  handler();
  FlushNow();
}

// ---- events ------------------------------------------------------------------------

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Control(kSearchBox) && event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    Run([&] { handlers_->SearchBoxPressed(); });
  }
  return QWidget::eventFilter(watched, event);
}

void MainWindow::changeEvent(QEvent* event) {
  if (event->type() == QEvent::WindowStateChange && ui_->Minimised() != isMinimized()) {
    ui_->SetMinimised(isMinimized());  // restored or minimised by the window system
  }
  QWidget::changeEvent(event);
}

void MainWindow::closeEvent(QCloseEvent* event) {
  Run([&] { handlers_->CloseClicked(); });
  event->accept();
}

// ---- lookups -----------------------------------------------------------------------

QWidget* MainWindow::Control(const std::string& name) const {
  auto it = widgets_.find(name);
  return it == widgets_.end() ? nullptr : it->second;
}

ListView* MainWindow::List(const std::string& name) const {
  return qobject_cast<ListView*>(Control(name));
}

QAction* MainWindow::MenuAction(const std::string& caption) const {
  auto it = actions_.find(caption);
  return it == actions_.end() ? nullptr : it->second;
}

// ---- applying the model ------------------------------------------------------------

void MainWindow::FlushNow() { Apply(queue_->Take()); }

ChangeBatch MainWindow::EverythingChanged() {
  ChangeBatch all;
  for (const ControlDef& def : MainWindowControls()) {
    PendingChanges& c = all.controls[def.name];
    c.text = c.colour = c.picture = c.geometry = c.visibility = c.page = c.rows = c.cleared =
        c.selection = true;
  }
  for (const MenuItemDef& m : MainWindowMenu()) {
    if (m.caption != "-") all.ticks.insert(m.caption);
  }
  all.window = true;
  return all;
}

void MainWindow::Apply(const ChangeBatch& batch) {
  for (const auto& [name, changes] : batch.controls) ApplyControl(name, changes);
  if (!batch.ticks.empty()) ApplyTicks();
  if (batch.window) ApplyWindow();
}

void MainWindow::ApplyControl(const std::string& name, const PendingChanges& changes) {
  const ControlDef* def = FindControlDef(name);
  QWidget* w = Control(name);
  if (!def || !w) return;
  if (changes.geometry) {
    Geometry g = ui_->GetGeometry(name);
    w->setGeometry(g.left, g.top, g.width, g.height);
  }
  if (changes.text) ApplyText(*def, w);
  if (changes.colour) {
    std::uint32_t colour = ui_->TextColour(name);
    if (auto* link = qobject_cast<LinkLabel*>(w); link && colour != kNoColour) {
      link->SetTextColour(Rgb(colour));
    }
  }
  if (changes.picture) {
    if (auto* picture = qobject_cast<PictureView*>(w)) picture->SetPictureBytes(ui_->Picture(name));
  }
  if (changes.page) {
    if (auto* tabs = qobject_cast<PagedControl*>(w)) ApplyPage(name, tabs);
  }
  if (auto* list = qobject_cast<ListView*>(w)) ApplyRows(name, list, changes);
  if (changes.visibility) w->setVisible(ui_->IsVisible(name));
}

void MainWindow::ApplyText(const ControlDef& def, QWidget* w) {
  const Text text = ui_->GetText(def.name);
  if (auto* edit = qobject_cast<QLineEdit*>(w)) {
    // Typing wrote this text already; rewriting it would move the cursor.
    if (FromQString(edit->text()) != text) edit->setText(ToQString(text));
  } else if (auto* label = qobject_cast<QLabel*>(w)) {
    label->setText(DisplayText(text));
  }
}

void MainWindow::ApplyRows(const std::string& name, ListView* list, const PendingChanges& changes) {
  ListRowsModel* rows = list->Rows();
  bool reset = false;
  if (changes.rows || changes.cleared) reset = rows->Sync(ui_->Rows(name), changes.cleared);
  if (rows->HasPosters()) {
    const qreal dpr = list->devicePixelRatioF();
    if (reset) {
      for (int r = 0; r < rows->rowCount(); ++r) rows->SetRowPicture(r, ui_->RowPicture(name, r), dpr);
    } else {
      for (int r : changes.pictureRows) rows->SetRowPicture(r, ui_->RowPicture(name, r), dpr);
    }
  }
  if (reset || changes.selection) list->ShowSelectedRow(ui_->SelectedRow(name));
}

void MainWindow::ApplyPage(const std::string& name, PagedControl* tabs) {
  const int page = ui_->CurrentPage(name);
  tabs->SetCurrentPage(page);
  if (name == kOuterTabs && page == kRecommendedPage && !catalogueShown_) {
    // The catalogue loads its current tab when 推荐 is first shown, as if
    // that tab had been chosen.
    catalogueShown_ = true;
    QTimer::singleShot(0, this, [this] {
      Run([&] { handlers_->InnerTabChanged(ui_->CurrentPage(kInnerTabs)); });
    });
  }
}

void MainWindow::ApplyTicks() {
  for (auto& [caption, action] : actions_) {
    if (action->isCheckable()) action->setChecked(ui_->IsTicked(caption));
  }
}

void MainWindow::ApplyWindow() {
  if (height() != ui_->WindowHeight()) setFixedSize(width(), ui_->WindowHeight());
  const bool onTop = ui_->AlwaysOnTop();
  if (onTop != alwaysOnTop_) {
    alwaysOnTop_ = onTop;
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, onTop);
    if (shown) show();  // changing the flags hides the window
  }
  if (ui_->Minimised() && !isMinimized()) {
    if (isVisible()) showMinimized();
  } else if (!ui_->Minimised() && isMinimized()) {
    showNormal();
  }
}

}  // namespace yz
