#include "controls/window_definition.h"

#include <algorithm>

namespace yz {
namespace {

using K = ControlKind;

ControlDef Control(std::string name, K kind, std::string parent, int page, int left, int top,
                   int width, int height, bool visible) {
  ControlDef d{};
  d.name = std::move(name);
  d.kind = kind;
  d.parent = std::move(parent);
  d.page = page;
  d.left = left;
  d.top = top;
  d.width = width;
  d.height = height;
  d.visible = visible;
  return d;
}

ControlDef Styled(ControlDef d, std::string text, std::uint32_t colour, std::uint32_t background,
                  int fontPx, bool bold) {
  d.text = std::move(text);
  d.textColour = colour;
  d.background = background;
  d.fontPx = fontPx;
  d.bold = bold;
  return d;
}

ControlDef List(ControlDef d, std::vector<ColumnDef> columns, std::uint32_t colour,
                std::uint32_t background, int fontPx, bool bold) {
  d = Styled(std::move(d), "", colour, background, fontPx, bold);
  d.columns = std::move(columns);
  return d;
}

std::vector<ControlDef> BuildControls() {
  constexpr std::uint32_t kBody = 0x2B2D33;
  constexpr std::uint32_t kTitle = 0x383A42;
  constexpr std::uint32_t kWhite = 0xFFFFFF;
  constexpr std::uint32_t kGrey = 0xC0C0C0;
  constexpr std::uint32_t kLight = 0xECECEC;
  const std::string kTabs = "选择夹1";
  const std::string kInner = "高级选择夹1";

  std::vector<ControlDef> c;
  auto titleBar = Control("图片框1", K::PictureBox, "", -1, 0, 0, 555, 32, true);
  titleBar.background = kTitle;
  c.push_back(titleBar);
  c.push_back(Control("图片框2", K::PictureBox, "图片框1", -1, 6, 1, 32, 31, true));
  c.push_back(Styled(Control("透明标签1", K::TransparentLabel, "图片框1", -1, 44, 6, 60, 24, true),
                     "影舟", kWhite, kNoColour, 14, true));
  c.push_back(Styled(Control("编辑框1", K::EditBox, "图片框1", -1, 176, 5, 176, 19, true),
                     "白夜追凶", kWhite, 0x646870, 12, true));
  c.push_back(Control("图形按钮_搜索", K::PictureButton, "图片框1", -1, 328, 5, 32, 25, true));
  c.push_back(Control("图形按钮_历史记录", K::PictureButton, "图片框1", -1, 423, 2, 22, 24, true));
  c.push_back(Control("图形按钮3", K::PictureButton, "图片框1", -1, 457, 3, 25, 24, true));
  c.push_back(Control("图形按钮2", K::PictureButton, "图片框1", -1, 495, 4, 20, 24, true));
  c.push_back(Control("图形按钮1", K::PictureButton, "图片框1", -1, 518, 2, 24, 24, true));

  c.push_back(List(Control("超级列表框1", K::ListView, "", -1, 2, 34, 270, 367, true),
                   {{"", 100}, {"", 150}, {"图片", 0}, {"dz", 0}, {"编号", 0}, {"名", 0}}, kGrey, kBody,
                   12, false));
  c.push_back(List(Control("超级列表框5", K::ListView, "", -1, 2, 34, 155, 176, false),
                   {{"", 0}, {"", 150, true}, {"", 0}}, kWhite, 0x000000, 12, true));

  c.push_back(Styled(Control("超级链接框_视频信息", K::HyperlinkLabel, "", -1, 274, 35, 94, 22, true),
                     "视频介绍", kWhite, 0x373842, 14, true));
  c.push_back(Styled(Control("超级链接框_剧集", K::HyperlinkLabel, "", -1, 368, 35, 94, 22, true),
                     "视频剧集", kWhite, kTitle, 14, true));
  c.push_back(Styled(Control("超级链接框_推荐", K::HyperlinkLabel, "", -1, 462, 35, 94, 22, true),
                     "推荐", kWhite, kTitle, 14, true));
  auto slider = Control("标签_滑块", K::Label, "", -1, 274, 57, 94, 2, true);
  slider.background = 0xFF0000;
  c.push_back(slider);

  auto tabs = Control(kTabs, K::TabControl, "", -1, 274, 61, 280, 355, true);
  tabs.background = kBody;
  tabs.pages = {"视频信息", "剧集", "推荐"};
  c.push_back(tabs);

  c.push_back(Control("图片框_图片", K::PictureBox, kTabs, 0, 92, 4, 90, 120, true));
  c.push_back(Styled(Control("透明标签_演员", K::TransparentLabel, kTabs, 0, 45, 127, 182, 32, true), "",
                     kGrey, kNoColour, 12, false));
  c.push_back(Styled(Control("透明标签_简介", K::TransparentLabel, kTabs, 0, 16, 161, 240, 179, true), "",
                     kGrey, kNoColour, 12, false));

  c.push_back(List(Control("超级列表框2", K::ListView, kTabs, 1, 1, 2, 74, 304, false),
                   {{"", 0}, {"视频来源：", 70, true}}, 0xFF0000, kBody, 14, true));
  c.push_back(List(Control("超级列表框3", K::ListView, kTabs, 1, 72, 2, 205, 304, false),
                   {{"", 0}, {"", 180, true}, {"url", 0}}, kLight, kBody, 12, false));
  c.push_back(List(Control("超级列表框4", K::ListView, kTabs, 1, 1, 2, 275, 319, false),
                   {{"", 0}, {"ming", 257, true}, {"url", 0}}, kLight, kBody, 12, false));
  c.push_back(Control("图片框_剧集", K::PictureBox, kTabs, 1, 118, 99, 40, 40, false));

  auto inner = Styled(Control(kInner, K::TabControl, kTabs, 2, 6, -1, 272, 315, true), "", kWhite,
                      kBody, 12, true);
  inner.pages = {"  热播电视剧    ", "  最新电影    ", "   热播综艺     "};
  c.push_back(inner);
  c.push_back(List(Control("超级列表框_电视剧", K::ListView, kInner, 0, 0, 23, 272, 304, true),
                   {{"", 245}, {"", 0}, {"", 0}, {"", 0}}, kGrey, kBody, 12, true));
  c.push_back(List(Control("超级列表框_电影", K::ListView, kInner, 1, 0, 23, 272, 304, true),
                   {{"", 245}, {"", 0}, {"", 0}, {"", 0}}, kGrey, kBody, 12, true));
  c.push_back(List(Control("超级列表框_综艺", K::ListView, kInner, 2, 0, 23, 272, 304, true),
                   {{"", 245}, {"", 0}, {"", 0}}, kGrey, kBody, 12, true));

  c.push_back(Control("图片框_载入", K::PictureBox, "", -1, 192, 152, 40, 32, false));
  c.push_back(Control("画板1", K::Canvas, "", -1, 344, 136, 90, 120, false));
  c.push_back(Control("编辑框2", K::EditBox, "", -1, 104, 280, 96, 24, false));
  c.push_back(Styled(Control("标签1", K::Label, "", -1, 64, 360, 144, 32, false), "1.4.9", kWhite,
                     kNoColour, 12, false));
  return c;
}

}  // namespace

const WindowDef& MainWindowDef() {
  static const WindowDef def{};
  return def;
}

const std::vector<ControlDef>& MainWindowControls() {
  static const std::vector<ControlDef> controls = BuildControls();
  return controls;
}

const std::vector<MenuItemDef>& MainWindowMenu() {
  static const std::vector<MenuItemDef> menu = {
      {"置顶", 1},          {"搜索窗口置顶", 2}, {"播放窗口置顶", 2}, {"-", 1},
      {"播放模式", 1},      {"模式一(搜索名字)", 2}, {"模式二(网址播放)", 2}, {"-", 1},
      {"线路选择", 1},      {"默认", 2},         {"线路1", 2},        {"线路2", 2},
      {"线路3", 2},         {"-", 1},            {"检查更新", 1},     {"加入我们", 1},
  };
  return menu;
}

const ControlDef* FindControlDef(const std::string& name) {
  const auto& all = MainWindowControls();
  auto it = std::find_if(all.begin(), all.end(), [&](const ControlDef& d) { return d.name == name; });
  return it == all.end() ? nullptr : &*it;
}

}  // namespace yz
