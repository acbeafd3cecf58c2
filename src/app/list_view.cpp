#include "app/list_view.h"

#include <QHeaderView>
#include <QIcon>
#include <QMouseEvent>

#include <functional>

#include "app/picture_decoding.h"
#include "app/qt_text.h"

namespace yz {
namespace {

// Lists whose column captions are worth showing as a header.
bool ShowsHeader(const ControlDef& def) { return def.name == "超级列表框2"; }

QString ListStyle(const ControlDef& def) {
  QColor back = Rgb(def.background == kNoColour ? 0x2B2D33 : def.background);
  QColor ink = Rgb(def.textColour == kNoColour ? 0xC0C0C0 : def.textColour);
  return QStringLiteral(
             "QTreeView { background: %1; color: %2; border: none; outline: 0; }"
             "QTreeView::item { padding: 0 2px; }"
             "QTreeView::item:hover { background: rgba(255,255,255,14); }"
             "QTreeView::item:selected { background: #464A56; color: %3; }"
             "QHeaderView { background: %1; border: none; }"
             "QHeaderView::section { background: %1; color: %2; border: none;"
             " border-bottom: 1px solid #3A3D46; padding: 2px; }")
      .arg(back.name(), ink.name(), ink.lighter(125).name());
}

}  // namespace

// ---- ListRowsModel ----------------------------------------------------------------

ListRowsModel::ListRowsModel(const ControlDef& def, bool posters, QObject* parent)
    : QAbstractTableModel(parent), def_(def), posters_(posters) {
  if (posters_) placeholder_ = PlaceholderPicture(QSize(kPosterWidth, kPosterHeight));
}

ListRowsModel::Row ListRowsModel::MakeRow(std::vector<Text> cells) const {
  Row row;
  row.shown.reserve(cells.size());
  for (const Text& c : cells) row.shown.push_back(DisplayText(c));
  row.cells = std::move(cells);
  row.poster = placeholder_;
  return row;
}

bool ListRowsModel::Sync(std::vector<std::vector<Text>> rows, bool cleared) {
  if (cleared || rows.size() < rows_.size()) {
    beginResetModel();
    rows_.clear();
    rows_.reserve(rows.size());
    for (auto& cells : rows) rows_.push_back(MakeRow(std::move(cells)));
    endResetModel();
    ++resets_;
    return true;
  }
  const int columns = columnCount();
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    if (rows_[i].cells == rows[i]) continue;
    Row fresh = MakeRow(std::move(rows[i]));
    fresh.poster = std::move(rows_[i].poster);
    fresh.pictureKey = rows_[i].pictureKey;
    fresh.pictureSet = rows_[i].pictureSet;
    rows_[i] = std::move(fresh);
    emit dataChanged(index(static_cast<int>(i), 0), index(static_cast<int>(i), columns - 1));
  }
  if (rows.size() > rows_.size()) {
    const int first = static_cast<int>(rows_.size());
    beginInsertRows(QModelIndex(), first, static_cast<int>(rows.size()) - 1);
    for (std::size_t i = rows_.size(); i < rows.size(); ++i) rows_.push_back(MakeRow(std::move(rows[i])));
    endInsertRows();
  }
  return false;
}

void ListRowsModel::SetRowPicture(int row, const Bytes& bytes, qreal devicePixelRatio) {
  if (!posters_ || row < 0 || row >= static_cast<int>(rows_.size())) return;
  Row& r = rows_[row];
  std::size_t key = std::hash<Bytes>{}(bytes) ^ bytes.size();
  if (r.pictureSet && r.pictureKey == key) return;
  r.pictureKey = key;
  r.pictureSet = true;
  r.poster = bytes.empty() ? placeholder_
                           : PosterPixmap(bytes, QSize(kPosterWidth, kPosterHeight), devicePixelRatio);
  emit dataChanged(index(row, 0), index(row, 0), {Qt::DecorationRole});
}

QPixmap ListRowsModel::Poster(int row) const {
  if (row < 0 || row >= static_cast<int>(rows_.size())) return {};
  return rows_[row].poster;
}

int ListRowsModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int ListRowsModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : static_cast<int>(def_.columns.size());
}

QVariant ListRowsModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || index.row() >= static_cast<int>(rows_.size())) return {};
  const Row& row = rows_[index.row()];
  const int column = index.column();
  switch (role) {
    case Qt::DisplayRole:
      return column < static_cast<int>(row.shown.size()) ? row.shown[column] : QString();
    case Qt::DecorationRole:
      if (posters_ && column == 0) {
        // The same picture when selected: the style would tint it otherwise.
        QIcon icon;
        icon.addPixmap(row.poster, QIcon::Normal);
        icon.addPixmap(row.poster, QIcon::Selected);
        return icon;
      }
      return {};
    case Qt::ToolTipRole:  // the whole text of a cell that may be cut short
      if (column < static_cast<int>(row.shown.size()) && !row.shown[column].isEmpty()) {
        return row.shown[column];
      }
      return {};
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(def_.columns[column].centred ? Qt::AlignCenter
                                                              : Qt::AlignLeft | Qt::AlignVCenter);
    case Qt::SizeHintRole:
      if (posters_) return QSize(def_.columns[column].width, kPosterHeight + 6);
      return {};
    default:
      return {};
  }
}

QVariant ListRowsModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
  if (role == Qt::DisplayRole) return FromUtf8(def_.columns[section].caption);
  if (role == Qt::TextAlignmentRole) {
    return QVariant::fromValue(def_.columns[section].centred ? Qt::AlignCenter
                                                             : Qt::AlignLeft | Qt::AlignVCenter);
  }
  return {};
}

// ---- ListView ---------------------------------------------------------------------

ListView::ListView(const ControlDef& def, bool posters, QWidget* parent)
    : QTreeView(parent), def_(def), rows_(new ListRowsModel(def, posters, this)) {
  setModel(rows_);
  setRootIsDecorated(false);
  setItemsExpandable(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionMode(QAbstractItemView::SingleSelection);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  setTextElideMode(Qt::ElideRight);
  setWordWrap(posters);
  setFrameShape(QFrame::NoFrame);
  setFont(ControlFont(def.fontPx, def.bold));
  if (posters) setIconSize(QSize(kPosterWidth, kPosterHeight));
  setStyleSheet(ListStyle(def));
  ApplyColumns();
  connect(selectionModel(), &QItemSelectionModel::currentRowChanged, this,
          [this](const QModelIndex& current) {
            if (!showing_) emit selectionEdited(current.isValid() ? current.row() : -1);
          });
}

void ListView::ApplyColumns() {
  QHeaderView* h = header();
  h->setVisible(ShowsHeader(def_));
  h->setStretchLastSection(false);
  h->setSectionsMovable(false);
  h->setSectionResizeMode(QHeaderView::Fixed);
  h->setMinimumSectionSize(0);
  for (int i = 0; i < static_cast<int>(def_.columns.size()); ++i) {
    const int width = def_.columns[i].width;
    // A width of 0 hides the column; it still holds its texts.
    h->setSectionHidden(i, width == 0);
    if (width > 0) h->resizeSection(i, width);
  }
}

void ListView::ShowSelectedRow(int row) {
  showing_ = true;
  if (row >= 0 && row < rows_->rowCount()) {
    QModelIndex index = rows_->index(row, 0);
    selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect |
                                                 QItemSelectionModel::Rows);
  } else {
    selectionModel()->clearSelection();
    selectionModel()->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  showing_ = false;
}

void ListView::mousePressEvent(QMouseEvent* event) {
  QModelIndex index = indexAt(event->position().toPoint());
  const int row = index.isValid() ? index.row() : -1;
  showing_ = true;  // the press reports the row itself
  QTreeView::mousePressEvent(event);
  showing_ = false;
  if (event->button() != Qt::LeftButton) {
    if (row >= 0) emit selectionEdited(row);
    return;
  }
  if (row < 0) ShowSelectedRow(-1);
  emit rowPressed(row);
}

void ListView::mouseDoubleClickEvent(QMouseEvent* event) {
  QModelIndex index = indexAt(event->position().toPoint());
  showing_ = true;
  QTreeView::mouseDoubleClickEvent(event);
  showing_ = false;
  if (event->button() == Qt::LeftButton && index.isValid()) emit rowDoubleClicked(index.row());
}

}  // namespace yz
