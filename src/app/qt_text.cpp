#include "app/qt_text.h"

#include <QStringList>

#include "controls/window_definition.h"

namespace yz {

QString DisplayText(const Text& text) {
  QString s = ToQString(text);
  s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
  s.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  return s;
}

QFont ControlFont(int px, bool bold) {
  QFont font;
  font.setFamilies({FromUtf8(MainWindowDef().font), QStringLiteral("Noto Sans CJK SC"),
                    QStringLiteral("Noto Sans CJK")});
  font.setPixelSize(px > 0 ? px : 12);
  font.setBold(bold);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

}  // namespace yz
