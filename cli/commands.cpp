#include "commands.h"

#include <functional>
#include <map>
#include <memory>

#include "app/update_check.h"
#include "cell_output.h"
#include "controls/control_model.h"
#include "controls/workers.h"
#include "play/play.h"
#include "portal/readers.h"
#include "terminal_effects.h"

namespace yz::cli {
using namespace literals;

namespace {

// A headless main window: the control layer with the start-up ticks, effects
// that print messages, and the workers the handlers start.
class Session {
 public:
  Session(const Addresses& addresses, std::ostream& err)
      : effects_(std::make_shared<TerminalEffects>(err)) {
    ctx_.ui = std::make_shared<ControlModel>();
    ctx_.effects = effects_;
    ctx_.workers = std::make_shared<Workers>();
    ctx_.addresses = addresses;
    ui().SetTicked("默认", true);
    ui().SetTicked("模式一(搜索名字)", true);
  }
  ~Session() { ctx_.workers->Shutdown(); }
  Session(const Session&) = delete;
  Session& operator=(const Session&) = delete;

  const Context& ctx() const { return ctx_; }
  ControlModel& ui() { return *ctx_.ui; }
  void WaitForWorkers() { ctx_.workers->WaitIdle(); }

  // Appends a row with the given cells (column -> UTF-8 text) and selects it,
  // as a click on that row would.
  void PutSelectedRow(const std::string& list, const std::map<int, std::string>& cells) {
    int row = ui().AppendRow(list);
    for (const auto& [column, text] : cells) ui().SetCell(list, row, column, Utf8ToText(text));
    ui().SetSelectedRow(list, row);
  }

 private:
  Context ctx_;
  std::shared_ptr<TerminalEffects> effects_;
};

using Args = std::vector<std::string>;
using Run = std::function<int(Session&, const Args&, std::ostream& out, std::ostream& err)>;

struct Command {
  std::string name;
  std::string variant;        // second word, "" when the command has none
  std::vector<std::string> parameters;  // names for the usage line
  Run run;
};

struct CatalogueList {
  const char* list;
  int page;  // of 高级选择夹1
};
const std::map<std::string, CatalogueList> kCatalogues = {
    {"tv", {"超级列表框_电视剧", 0}},
    {"movies", {"超级列表框_电影", 1}},
    {"variety", {"超级列表框_综艺", 2}},
};

int PrintList(Session& s, const std::string& list, std::ostream& out) {
  s.WaitForWorkers();
  PrintRows(out, s.ui().Rows(list));
  return 0;
}

int PrintDetailLabels(Session& s, std::ostream& out) {
  s.WaitForWorkers();
  PrintLine(out, s.ui().GetText("透明标签_演员"));
  PrintLine(out, s.ui().GetText("透明标签_简介"));
  return 0;
}

Run CatalogueCommand(const std::string& kind) {
  return [kind](Session& s, const Args&, std::ostream& out, std::ostream&) {
    const CatalogueList& c = kCatalogues.at(kind);
    s.ui().SetCurrentPage("高级选择夹1", c.page);
    OnCatalogueTabChanged(s.ctx(), c.page);
    return PrintList(s, c.list, out);
  };
}

Run CatalogueDetailsCommand(const std::string& kind) {
  return [kind](Session& s, const Args& a, std::ostream& out, std::ostream&) {
    const CatalogueList& c = kCatalogues.at(kind);
    s.ui().SetCurrentPage("高级选择夹1", c.page);
    s.PutSelectedRow(c.list, {{2, a[0]}});
    OnCataloguePressed(s.ctx(), c.list);
    return PrintDetailLabels(s, out);
  };
}

Run EpisodesCommand(const std::string& variant) {
  return [variant](Session& s, const Args& a, std::ostream& out, std::ostream&) {
    const std::string& site = a[0];
    const std::string& detail = a[1];
    const std::string& title = a[2];
    if (variant == "tv") {
      s.ui().SetText("编辑框2", "推荐电视剧"_gbk);
      s.PutSelectedRow("超级列表框_电视剧", {{2, detail}, {3, title}});
    } else {
      s.PutSelectedRow("超级列表框1",
                       {{3, detail}, {4, variant == "search2" ? "2" : "4"}, {5, title}});
    }
    s.PutSelectedRow("超级列表框2", {{1, site}});
    OnSiteChosen(s.ctx());
    return PrintList(s, "超级列表框3", out);
  };
}

std::vector<Command> Commands() {
  std::vector<Command> c;
  for (const char* kind : {"tv", "movies", "variety"}) {
    c.push_back({"catalogue", kind, {}, CatalogueCommand(kind)});
  }
  c.push_back({"search", "", {"TITLE"}, [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.ui().SetText("编辑框1", Utf8ToText(a[0]));
                 StartTitleSearch(s.ctx());
                 return PrintList(s, "超级列表框1", out);
               }});

  c.push_back({"details", "search", {"DETAIL_ADDRESS", "CATEGORY"},
               [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框1", {{3, a[0]}, {4, a[1]}});
                 OnResultsPressed(s.ctx());
                 return PrintDetailLabels(s, out);
               }});
  for (const char* kind : {"tv", "movies", "variety"}) {
    c.push_back({"details", kind, {"DETAIL_PATH"}, CatalogueDetailsCommand(kind)});
  }

  c.push_back({"sites", "tv", {"DETAIL_PATH"}, [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框_电视剧", {{2, a[0]}});
                 OpenHotSeries(s.ctx());
                 return PrintList(s, "超级列表框2", out);
               }});
  c.push_back({"sites", "search", {"DETAIL_ADDRESS", "CATEGORY"},
               [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框1", {{3, a[0]}, {4, a[1]}});
                 LoadSeriesSites(s.ctx());
                 return PrintList(s, "超级列表框2", out);
               }});

  for (const char* variant : {"search2", "search4", "tv"}) {
    c.push_back({"episodes", variant, {"SITE_NAME", "DETAIL", "TITLE"}, EpisodesCommand(variant)});
  }

  c.push_back({"sources", "movies", {"DETAIL_PATH", "TITLE"},
               [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框_电影", {{2, a[0]}, {3, a[1]}});
                 OnNewMovieDoubleClicked(s.ctx());
                 return PrintList(s, "超级列表框4", out);
               }});
  c.push_back({"sources", "search", {"DETAIL_ADDRESS", "TITLE"},
               [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框1", {{3, a[0]}, {4, "1"}, {5, a[1]}});
                 OpenSearchResult(s.ctx());
                 return PrintList(s, "超级列表框4", out);
               }});

  c.push_back({"issues", "variety", {"DETAIL_PATH"}, [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框_综艺", {{2, a[0]}});
                 OnHotVarietyDoubleClicked(s.ctx());
                 return PrintList(s, "超级列表框4", out);
               }});
  c.push_back({"issues", "search", {"DETAIL_ADDRESS"}, [](Session& s, const Args& a, std::ostream& out, std::ostream&) {
                 s.PutSelectedRow("超级列表框1", {{3, a[0]}, {4, "3"}});
                 OpenSearchResult(s.ctx());
                 return PrintList(s, "超级列表框4", out);
               }});

  c.push_back({"play", "", {"LINE", "PAGE_ADDRESS"},
               [](Session& s, const Args& a, std::ostream& out, std::ostream& err) {
                 const std::string& line = a[0];
                 if (line != "默认" && line != "线路1" && line != "线路2" && line != "线路3") {
                   err << "yingzhou-cli: play: LINE must be 默认, 线路1, 线路2 or 线路3, not '" << line
                       << "'\n";
                   return kExitUsage;
                 }
                 PrintLine(out, LinePrefix(s.ctx().addresses, line) + Utf8ToText(a[1]));
                 return 0;
               }});

  c.push_back({"check-update", "", {}, [](Session& s, const Args&, std::ostream& out, std::ostream&) {
                 UpdateNotice notice = ReadUpdateNotice(s.ctx());
                 UpdateVerdict verdict = JudgeNotice(s.ctx(), notice);
                 if (verdict == UpdateVerdict::Unknown) {
                   out << "failed\n";
                 } else if (verdict == UpdateVerdict::Current) {
                   out << "up-to-date\n";
                 } else {
                   out << "new ";
                   PrintLine(out, notice.latestVersion);
                 }
                 return 0;
               }});
  return c;
}

std::string UsageOf(const Command& c) {
  std::string usage = c.name;
  if (!c.variant.empty()) usage += " " + c.variant;
  for (const std::string& p : c.parameters) usage += " " + p;
  return usage;
}

int UsageError(std::ostream& err, const std::string& message) {
  err << "yingzhou-cli: " << message << "\nTry 'yingzhou-cli --help'.\n";
  return kExitUsage;
}

}  // namespace

int RunCommand(const std::vector<std::string>& words, const Addresses& addresses,
               std::ostream& out, std::ostream& err) {
  if (words.empty()) return UsageError(err, "no command given");
  const std::vector<Command> commands = Commands();

  std::vector<const Command*> named;
  for (const Command& c : commands) {
    if (c.name == words[0]) named.push_back(&c);
  }
  if (named.empty()) return UsageError(err, "unknown command '" + words[0] + "'");

  const Command* command = named.front();
  std::size_t first = 1;
  if (!command->variant.empty()) {
    command = nullptr;
    std::string choices;
    for (const Command* c : named) {
      choices += (choices.empty() ? "" : ", ") + c->variant;
      if (words.size() > 1 && c->variant == words[1]) command = c;
    }
    if (!command) return UsageError(err, words[0] + " needs one of: " + choices);
    first = 2;
  }
  Args args(words.begin() + static_cast<std::ptrdiff_t>(first), words.end());
  if (args.size() != command->parameters.size())
    return UsageError(err, "usage: yingzhou-cli [options] " + UsageOf(*command));

  Session session(addresses, err);
  return command->run(session, args, out, err);
}

std::string HelpText() {
  std::string usages;
  for (const Command& c : Commands()) usages += "  " + UsageOf(c) + "\n";
  return "Usage: yingzhou-cli [--portal BASE] [--search-host BASE] [--notice URL] [--lines BASE] COMMAND ARG...\n"
         "\n"
         "Drives the handlers and workers of 影舟 against a portal without a window and\n"
         "prints what the lists or labels then hold.\n"
         "\n"
         "Options:\n"
         "  --portal BASE       the portal (scheme + host [+ port], no trailing slash)\n"
         "  --search-host BASE  the portal's search host\n"
         "  --notice URL        the update notice page\n"
         "  --lines BASE        the host of all four play lines (a local demo)\n"
         "  --help              this text\n"
         "Without an option the compiled-in address is used.\n"
         "\n"
         "Commands:\n" +
         usages +
         "\n"
         "  catalogue           the 30 rows of the hot-TV, newest-movies or hot-variety list\n"
         "  search              the rows of the search results, series and shows first, then movies\n"
         "  details             two lines: the cast, host or director label, then the synopsis label\n"
         "                      (CATEGORY is a search result's code: 1 movie, 2 series, 3 show, 4 series)\n"
         "  sites               the source sites of a series\n"
         "  episodes            the episodes of a series on one site (SITE_NAME as listed by sites);\n"
         "                      DETAIL is an address for search2/search4 and a path for tv\n"
         "  sources             the sources of a movie\n"
         "  issues              the issues of a variety show\n"
         "  play                the play address of PAGE_ADDRESS on LINE (默认, 线路1, 线路2, 线路3)\n"
         "  check-update        up-to-date, new VERSION, or failed\n"
         "A DETAIL_PATH is relative to the portal; a DETAIL_ADDRESS is whole, as a search result holds it.\n"
         "\n"
         "Output: UTF-8, one line per row, every column of the list (column 0 first)\n"
         "separated by a TAB. Inside a cell a backslash is written \\\\, a tab \\t, a CR \\r\n"
         "and a LF \\n. A text the window would show in a message box goes to stderr as\n"
         "a line \"message: TEXT\".\n"
         "\n"
         "Exit status: 0 when the command ran (also when the portal gave nothing),\n"
         "2 for a usage error.\n";
}

}  // namespace yz::cli
