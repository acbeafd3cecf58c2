// The main window as designed: every control with its kind, parent, place,
// size, start-up visibility, texts, colours and list columns, and the menu.
// Texts here are UTF-8 source literals; the model holds them as program text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace yz {

enum class ControlKind {
  PictureBox,
  TransparentLabel,
  Label,
  EditBox,
  PictureButton,
  ListView,
  HyperlinkLabel,
  TabControl,
  Canvas,
};

struct ColumnDef {
  std::string caption;  // UTF-8
  int width = 0;
  bool centred = false;
};

inline constexpr std::uint32_t kNoColour = 0xFFFFFFFFu;

struct ControlDef {
  std::string name;     // the window definition's name, e.g. "超级列表框1"
  ControlKind kind;
  std::string parent;   // "" = the window's client area
  int page = -1;        // page of the parent tab control, -1 when none
  int left = 0, top = 0, width = 0, height = 0;
  bool visible = true;
  std::string text;     // UTF-8
  std::uint32_t textColour = kNoColour;   // 0xRRGGBB
  std::uint32_t background = kNoColour;   // 0xRRGGBB
  int fontPx = 12;
  bool bold = false;
  std::vector<ColumnDef> columns;        // list views
  std::vector<std::string> pages;        // tab controls, UTF-8 captions
};

struct MenuItemDef {
  std::string caption;  // UTF-8; "-" is a separator
  int level = 1;
};

struct WindowDef {
  int left = 50, top = 50, width = 558, height = 469;
  std::uint32_t background = 0x2B2D33;
  std::string font = "微软雅黑";
};

const WindowDef& MainWindowDef();
const std::vector<ControlDef>& MainWindowControls();
const std::vector<MenuItemDef>& MainWindowMenu();
const ControlDef* FindControlDef(const std::string& name);

}  // namespace yz
