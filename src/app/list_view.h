// A list view in report view, showing one list of the control layer: the
// columns, widths, alignment, colours and font of its definition, and for the
// search results a 90 x 120 poster per row.
#pragma once

#include <QAbstractTableModel>
#include <QPixmap>
#include <QTreeView>

#include <string>
#include <vector>

#include "controls/window_definition.h"
#include "text/text.h"

namespace yz {

inline constexpr int kPosterWidth = 90;
inline constexpr int kPosterHeight = 120;

// The rows as the view last saw them in the control layer.
class ListRowsModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  ListRowsModel(const ControlDef& def, bool posters, QObject* parent = nullptr);

  // Brings the shown rows in line with `rows`: appended rows are inserted and
  // changed rows repainted; a clear (or fewer rows) resets the whole list.
  // Returns true when it reset.
  bool Sync(std::vector<std::vector<Text>> rows, bool cleared);
  // Decodes a row's poster once per distinct picture; the placeholder stands
  // in for missing or undecodable bytes.
  void SetRowPicture(int row, const Bytes& bytes, qreal devicePixelRatio);
  bool HasPosters() const { return posters_; }
  int Resets() const { return resets_; }
  QPixmap Poster(int row) const;

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

 private:
  struct Row {
    std::vector<Text> cells;
    std::vector<QString> shown;
    QPixmap poster;
    std::size_t pictureKey = 0;
    bool pictureSet = false;
  };
  Row MakeRow(std::vector<Text> cells) const;

  const ControlDef& def_;
  bool posters_;
  std::vector<Row> rows_;
  QPixmap placeholder_;
  int resets_ = 0;
};

class ListView : public QTreeView {
  Q_OBJECT
 public:
  ListView(const ControlDef& def, bool posters, QWidget* parent = nullptr);
  ListRowsModel* Rows() const { return rows_; }
  const std::string& Name() const { return def_.name; }
  // Shows the control layer's selected row; raises nothing.
  void ShowSelectedRow(int row);

 signals:
  // The left button went down on `row` (-1 off the rows), after the view
  // selected it.
  void rowPressed(int row);
  void rowDoubleClicked(int row);
  // The user moved the selection some other way (keyboard).
  void selectionEdited(int row);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;

 private:
  void ApplyColumns();

  const ControlDef& def_;
  ListRowsModel* rows_;
  bool showing_ = false;  // applying the control layer's selection
};

}  // namespace yz
