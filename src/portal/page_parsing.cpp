#include "portal/page_parsing.h"

namespace yz {

bool WriteRowCells(ControlModel& ui, const ListLoad& load, int row,
                   const std::vector<Text>& cells, int firstColumn) {
  for (int column = firstColumn; column < static_cast<int>(cells.size()); ++column) {
    if (!ui.SetCell(load, row, column, cells[column])) return false;
  }
  return true;
}

}  // namespace yz
