// Rows and pictures written from other threads, as the readers write them,
// and how the window shows them.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QIcon>
#include <QImage>

#include <atomic>
#include <thread>

#include "app/control_widgets.h"
#include "app/list_view.h"
#include "app/picture_decoding.h"
#include "app/qt_text.h"
#include "window_fixture.h"

namespace yz::testing {
namespace {

Bytes Encoded(const QImage& image, const char* format) {
  QByteArray data;
  QBuffer buffer(&data);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return Bytes(data.constData(), static_cast<std::size_t>(data.size()));
}

Bytes Solid(QColor colour, const char* format = "PNG", QSize size = QSize(60, 80)) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(colour);
  return Encoded(image, format);
}

// A BMP header that claims 30000 x 30000 pixels, followed by a few bytes.
Bytes BmpBomb() {
  Bytes b(64, '\0');
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
  };
  b[0] = 'B';
  b[1] = 'M';
  put32(2, 64);
  put32(10, 54);     // pixel data offset
  put32(14, 40);     // info header size
  put32(18, 30000);  // width
  put32(22, 30000);  // height
  b[26] = 1;         // planes
  b[28] = 24;        // bits per pixel
  return b;
}

QColor CentreColour(const QPixmap& pixmap) {
  QImage image = pixmap.toImage();
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

std::vector<std::vector<QString>> Shown(const ListView* list) {
  std::vector<std::vector<QString>> rows;
  const QAbstractItemModel* m = list->model();
  for (int r = 0; r < m->rowCount(); ++r) {
    std::vector<QString> cells;
    for (int c = 0; c < m->columnCount(); ++c) cells.push_back(m->index(r, c).data().toString());
    rows.push_back(cells);
  }
  return rows;
}

std::vector<std::vector<QString>> Expected(const ControlModel& ui, const std::string& name) {
  std::vector<std::vector<QString>> rows;
  for (const auto& cells : ui.Rows(name)) {
    std::vector<QString> shown;
    for (const Text& t : cells) shown.push_back(DisplayText(t));
    rows.push_back(shown);
  }
  return rows;
}

TEST(PictureDecoding, DecodesWithinBoundsOnly) {
  EXPECT_EQ(DecodePicture(Solid(Qt::red), QSize(90, 120)).size(), QSize(90, 120));
  EXPECT_EQ(DecodePicture(Solid(Qt::blue, "JPEG")).size(), QSize(60, 80));
  for (const Bytes& bad : {Bytes(), Bytes("<html>404</html>"), Solid(Qt::red).substr(0, 30), BmpBomb()}) {
    EXPECT_TRUE(DecodePicture(bad, QSize(90, 120)).isNull());
  }
}

TEST_F(WindowTest, ResultRowsShowTheirOwnPosterOrThePlaceholder) {
  const std::string name = "超级列表框1";
  const std::vector<std::pair<Bytes, QColor>> posters = {
      {Solid(Qt::red), Qt::red},          {Bytes("not a picture"), QColor()},
      {Solid(Qt::green, "JPEG"), Qt::green}, {Bytes(), QColor()},
      {BmpBomb(), QColor()},
  };
  for (const auto& [bytes, colour] : posters) {
    int row = ui().AppendRow(name);
    ui().SetCell(name, row, 1, "title\r\n\r\nline");
    ui().SetRowPicture(name, row, bytes);
  }
  Settle();
  ListView* list = window_->List(name);
  ASSERT_EQ(list->model()->rowCount(), 5);
  const QImage placeholder = PlaceholderPicture(QSize(90, 120), list->devicePixelRatioF()).toImage();
  for (int r = 0; r < 5; ++r) {
    SCOPED_TRACE(r);
    QPixmap poster = list->model()->index(r, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(QSize(90, 120));
    EXPECT_EQ(poster.deviceIndependentSize().toSize(), QSize(90, 120));
    if (posters[r].second.isValid()) {
      QColor c = CentreColour(poster);
      EXPECT_LT(std::abs(c.red() - posters[r].second.red()) + std::abs(c.green() - posters[r].second.green()), 40);
    } else {
      EXPECT_EQ(poster.toImage(), placeholder);  // never the row before's poster
    }
  }
  EXPECT_EQ(list->model()->index(0, 1).data().toString(), QStringLiteral("title\n\nline"));
  EXPECT_GE(list->sizeHintForRow(0), 120);

  // The detail poster: a picture, or nothing.
  auto* box = Widget<PictureView>("图片框_图片");
  ui().SetPicture("图片框_图片", Solid(Qt::blue));
  Settle();
  EXPECT_TRUE(box->HasPicture());
  ui().SetPicture("图片框_图片", "garbage");
  Settle();
  EXPECT_FALSE(box->HasPicture());
}

TEST_F(WindowTest, CellByCellFillingIsAppliedInOneBurst) {
  const std::string name = "超级列表框_电视剧";
  ListRowsModel* rows = window_->List(name)->Rows();
  const int resetsBefore = rows->Resets();
  const int flushesBefore = window_->Changes().FlushesPosted();
  std::thread writer([&] {
    ListLoad load = ui().BeginLoad(name);
    for (int r = 0; r < 30; ++r) {
      int row = ui().AppendRow(load);
      for (int c = 0; c < 4; ++c) ui().SetCell(load, row, c, std::to_string(r) + "/" + std::to_string(c));
    }
  });
  writer.join();  // no event is processed meanwhile
  Settle();
  EXPECT_EQ(window_->Changes().FlushesPosted() - flushesBefore, 1);
  EXPECT_EQ(rows->Resets() - resetsBefore, 1);  // the clear; 150 writes add none
  EXPECT_EQ(Shown(window_->List(name)), Expected(ui(), name));
}

TEST_F(WindowTest, ListsWrittenFromSeveralThreadsEndAsTheModel) {
  const std::vector<std::string> lists = {"超级列表框1", "超级列表框_电视剧", "超级列表框_电影",
                                          "超级列表框_综艺", "超级列表框3", "超级列表框5"};
  const std::vector<Bytes> pictures = {Solid(Qt::red), Solid(Qt::green), Bytes("junk")};
  std::atomic<int> running{0};
  std::vector<std::thread> threads;
  // Two writers per list: overlapping loads, the newer superseding the older.
  for (int t = 0; t < 2 * static_cast<int>(lists.size()); ++t) {
    const std::string name = lists[t % lists.size()];
    ++running;
    threads.emplace_back([&, name, t] {
      for (int round = 0; round < 4; ++round) {
        ListLoad load = ui().BeginLoad(name);
        for (int r = 0; r < 30; ++r) {
          int row = ui().AppendRow(load);
          if (row < 0) break;
          const int columns = ui().ColumnCount(name);
          for (int c = 0; c < columns; ++c) {
            ui().SetCell(load, row, c, std::to_string(t) + ":" + std::to_string(round) + ":" + std::to_string(r));
          }
          if (name == "超级列表框1") ui().SetRowPicture(load, row, pictures[r % pictures.size()]);
          if (r % 7 == 0) ui().SetSelectedRow(name, r);
        }
      }
      --running;
    });
  }
  ProcessUntil([&] { return running == 0; }, 20000);
  for (auto& t : threads) t.join();
  Settle();
  for (const auto& name : lists) {
    SCOPED_TRACE(name);
    ListView* list = window_->List(name);
    EXPECT_EQ(Shown(list), Expected(ui(), name));
    EXPECT_EQ(list->currentIndex().isValid() ? list->currentIndex().row() : -1, ui().SelectedRow(name));
  }
  ListView* results = window_->List("超级列表框1");
  for (int r = 0; r < results->model()->rowCount(); ++r) {
    QPixmap poster = results->model()->index(r, 0).data(Qt::DecorationRole).value<QIcon>().pixmap(QSize(90, 120));
    QColor c = CentreColour(poster);
    Bytes own = ui().RowPicture("超级列表框1", r);
    if (own == pictures[0]) {
      EXPECT_GT(c.red(), 200) << r;
    } else if (own == pictures[1]) {
      EXPECT_GT(c.green(), 200) << r;
    }
  }
}

}  // namespace
}  // namespace yz::testing
