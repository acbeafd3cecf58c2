// What pages hand to the window: addresses reach the player and the default
// browser only when they are http or https (nothing else is opened, run or
// read), and poster bytes that are no picture, or too big a one, decode to
// nothing without a large allocation.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QApplication>
#include <QDesktopServices>
#include <QObject>
#include <QUrl>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>

#include "app/picture_decoding.h"
#include "app/qt_effects.h"
#include "play/player_window.h"

namespace yz::testing {
namespace {

using namespace yz::literals;

const char* const kRefused[] = {
    "file:///etc/passwd",
    "FILE:///etc/passwd",
    "file:etc/passwd",
    "/etc/passwd",
    "javascript:alert(1)",
    "JavaScript:alert(document.cookie)",
    " javascript:alert(1)",
    "data:text/html,<script>alert(1)</script>",
    "vbscript:msgbox(1)",
    "about:blank",
    "ftp://127.0.0.1/x",
    "view-source:http://127.0.0.1/",
    "blob:http://127.0.0.1/x",
    "http:///nohost",
    "",
};
const char* const kAccepted[] = {
    "http://127.0.0.1/play?url=javascript:alert(1)",
    "HTTPS://127.0.0.1:8443/v.html",
};

TEST(PlayerAddresses, OnlyWebAddressesArePlayable) {
  for (const char* a : kRefused) {
    EXPECT_FALSE(PlayerWindow::IsPlayableAddress(QUrl(QString::fromUtf8(a)))) << a;
  }
  for (const char* a : kAccepted) {
    EXPECT_TRUE(PlayerWindow::IsPlayableAddress(QUrl(QString::fromUtf8(a)))) << a;
  }
}

// Stands in for the desktop's handlers, so no browser starts.
class OpenedRecorder : public QObject {
  Q_OBJECT
 public:
  QStringList opened;
 public slots:
  void Open(const QUrl& url) { opened << url.toString(); }
};

TEST(OpenAddress, OnlyWebAddressesReachTheBrowser) {
  OpenedRecorder recorder;
  const char* const schemes[] = {"http", "https", "file", "javascript", "data", "ftp",
                                 "vbscript", "about", "mailto"};
  for (const char* s : schemes) QDesktopServices::setUrlHandler(s, &recorder, "Open");
  {
    QtEffects effects(std::make_shared<ControlModel>());
    for (const char* a : kRefused) effects.OpenAddress(Utf8ToText(a));
    effects.OpenAddress("mailto:a@example.com");
    EXPECT_TRUE(recorder.opened.isEmpty()) << recorder.opened.join(' ').toStdString();
    effects.OpenAddress("http://127.0.0.1/download");
    QCoreApplication::processEvents();
    EXPECT_EQ(recorder.opened, QStringList{"http://127.0.0.1/download"});
  }
  for (const char* s : schemes) QDesktopServices::unsetUrlHandler(s);
}

TEST(PosterDecoding, NoPictureAndHugePicturesGiveNothing) {
  const std::string png = "\x89PNG\r\n\x1A\n";
  // IHDR of 60000 x 60000 RGBA: about 14 GB once decoded.
  const std::string enormous = png + std::string("\0\0\0\x0DIHDR\0\0\xEA\x60\0\0\xEA\x60\x08\x06\0\0\0\0\0\0\0", 25);
  const std::pair<const char*, Bytes> cases[] = {
      {"html", "<html>not a picture</html>"},
      {"empty", ""},
      {"signature only", png},
      {"truncated header", png + std::string("\0\0\0\x0DIHDR\0\0", 10)},
      {"enormous", enormous},
      {"GIF header claiming 65535 x 65535", std::string("GIF89a\xFF\xFF\xFF\xFF\0\0\0", 13)},
  };
  for (const auto& [name, bytes] : cases) {
    auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(DecodePicture(bytes).isNull()) << name;
    EXPECT_TRUE(DecodePicture(bytes, QSize(90, 120)).isNull()) << name;
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2)) << name;
  }
  std::ifstream in(SAMPLE_PAGES "/img/p02.png", std::ios::binary);
  Bytes real{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  ASSERT_FALSE(real.empty());
  EXPECT_FALSE(DecodePicture(real).isNull());
  // The real picture cut in half still gives no crash.
  DecodePicture(real.substr(0, real.size() / 2));
}

}  // namespace
}  // namespace yz::testing

int main(int argc, char** argv) {
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  if (::geteuid() == 0) ::setenv("QTWEBENGINE_DISABLE_SANDBOX", "1", 0);
  ::testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  return RUN_ALL_TESTS();
}

#include "hostile_gui_test.moc"
