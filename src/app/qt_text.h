// Program text (GBK) <-> QString, only at the window's edge, and the few
// look helpers every widget shares.
#pragma once

#include <QColor>
#include <QFont>
#include <QString>

#include <cstdint>
#include <string>

#include "text/text.h"

namespace yz {

inline QString ToQString(const Text& text) { return QString::fromStdString(TextToUtf8(text)); }
inline Text FromQString(const QString& s) { return Utf8ToText(s.toStdString()); }
// Window-definition texts are UTF-8 already.
inline QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

// Texts shown in labels and lists: "\r\n" (and a lone "\r") become line feeds.
QString DisplayText(const Text& text);

inline QColor Rgb(std::uint32_t rgb) {
  return QColor((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

// The window's font at `px` character height, with the installed CJK face as
// the fallback for "微软雅黑".
QFont ControlFont(int px, bool bold);

}  // namespace yz
