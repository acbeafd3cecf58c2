#include "play/play.h"

#include <array>
#include <vector>

#include "text/text.h"

namespace yz {

using namespace literals;

namespace {

constexpr const char* kEpisodes = "超级列表框3";
constexpr const char* kSources = "超级列表框4";
constexpr const char* kHistory = "超级列表框5";
constexpr const char* kAddressBox = "编辑框1";

constexpr int kLabelColumn = 1;
constexpr int kAddressColumn = 2;

// The play lines in the order they are tested.
constexpr std::array<const char*, 4> kLines = {"默认", "线路1", "线路2", "线路3"};

// Prefix of the first ticked play line; empty when none is ticked.
Text TickedLinePrefix(const Context& ctx) {
  for (const char* line : kLines) {
    if (ctx.ui->IsTicked(line)) return LinePrefix(ctx.addresses, line);
  }
  return {};
}

Text PlayingCaption(const Text& what) { return "正在播放："_gbk + what; }

// The cells of a row, as many as the history list holds.
std::vector<Text> RowCells(const ControlModel& ui, const std::string& list, int row) {
  std::vector<Text> cells(static_cast<std::size_t>(ui.ColumnCount(kHistory)));
  for (std::size_t c = 0; c < cells.size(); ++c) cells[c] = ui.Cell(list, row, static_cast<int>(c));
  return cells;
}

void WriteRow(ControlModel& ui, int row, const std::vector<Text>& cells) {
  for (std::size_t c = 0; c < cells.size(); ++c) ui.SetCell(kHistory, row, static_cast<int>(c), cells[c]);
}

// The history row is appended here, on the calling (window) thread, so rows
// keep the order of the double-clicks; its cells, read from the row selected
// now, are written by a worker.
void RecordHistory(const Context& ctx, const std::string& list, int selected) {
  std::vector<Text> cells = RowCells(*ctx.ui, list, selected);
  int row = ctx.ui->AppendRow(kHistory);
  if (row < 0) return;
  if (!ctx.workers) {
    WriteRow(*ctx.ui, row, cells);
    return;
  }
  ctx.workers->Start([ui = ctx.ui, row, cells = std::move(cells)] { WriteRow(*ui, row, cells); });
}

// PlayEpisode and PlaySource, apart from the list they read.
void PlayFromList(const Context& ctx, const std::string& list) {
  // One reading of the selection serves history and playback alike.
  int selected = ctx.ui->SelectedRow(list);
  RecordHistory(ctx, list, selected);

  Text address = ctx.ui->Cell(list, selected, kAddressColumn);
  if (address.empty()) return;
  Text prefix = TickedLinePrefix(ctx);
  if (prefix.empty()) return;

  ctx.effects->ShowPlayer(prefix + address);
  ctx.effects->SetPlayerCaption(PlayingCaption(ctx.ui->Cell(list, selected, kLabelColumn)));
}

}  // namespace

Text LinePrefix(const Addresses& addresses, const std::string& line) {
  if (line == "默认") return addresses.lineDefault + "/jx/ty.php?url=";
  if (line == "线路1") return addresses.line1 + "/?url=";
  if (line == "线路2") return addresses.line2 + "/sudu/?url=";
  if (line == "线路3") return addresses.line3 + "/jx.html?jx=" + addresses.line3Nested + "/?url=";
  return {};
}

void PlayEpisode(const Context& ctx) { PlayFromList(ctx, kEpisodes); }

void PlaySource(const Context& ctx) { PlayFromList(ctx, kSources); }

void PlayTypedAddress(const Context& ctx) {
  Text prefix = TickedLinePrefix(ctx);
  if (prefix.empty()) return;
  Text typed = ctx.ui->GetText(kAddressBox);
  // Case-sensitive, anywhere in the text, at whole characters.
  if (FindText(typed, "http") == 0) return;

  // The address is set first: playback never waits on the title request.
  ctx.effects->ShowPlayer(prefix + typed);
  Text page;
  ctx.effects->RunBlocking([&] { page = FetchPageFor(ctx, typed); });
  ctx.effects->SetPlayerCaption(PlayingCaption(TextBetween(page, "<title>", "</title>")));
}

void AddHistoryRow(const Context& ctx, const std::string& list) {
  int row = ctx.ui->AppendRow(kHistory);
  if (row < 0) return;
  int columns = ctx.ui->ColumnCount(kHistory);
  for (int c = 0; c < columns; ++c) {
    // The selection is read anew for every cell, as the user may change it.
    ctx.ui->SetCell(kHistory, row, c, ctx.ui->SelectedCell(list, c));
  }
}

}  // namespace yz
