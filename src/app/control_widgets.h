// The widgets that carry the window definition's control kinds (besides the
// list views): picture boxes, the title bar, loading pictures, picture
// buttons, hyperlink labels and tab controls.
#pragma once

#include <QAbstractButton>
#include <QLabel>
#include <QPixmap>
#include <QPoint>
#include <QTabBar>
#include <QTimer>
#include <QWidget>

#include <vector>

#include "app/icons.h"
#include "text/text.h"

namespace yz {

// Shows a picture given as the bytes of an image file, stretched to the box;
// bytes that are no picture show nothing.
class PictureView : public QWidget {
  Q_OBJECT
 public:
  explicit PictureView(QWidget* parent = nullptr);
  void SetPictureBytes(const Bytes& bytes);
  bool HasPicture() const { return !image_.isNull(); }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage image_;
};

// The borderless window's title bar: a coloured strip that drags the window.
class TitleBar : public QWidget {
  Q_OBJECT
 public:
  explicit TitleBar(QWidget* parent = nullptr);

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool dragging_ = false;
  QPoint grabOffset_;
};

class LogoView : public QWidget {
  Q_OBJECT
 public:
  explicit LogoView(QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
};

// An animated loading picture; it runs only while shown.
class SpinnerView : public QWidget {
  Q_OBJECT
 public:
  explicit SpinnerView(QWidget* parent = nullptr);
  bool IsAnimating() const { return timer_.isActive(); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;

 private:
  QTimer timer_;
  int step_ = 0;
};

// A picture button drawn from a glyph, with normal, hover and pressed looks.
class GlyphButton : public QAbstractButton {
  Q_OBJECT
 public:
  GlyphButton(Glyph glyph, QWidget* parent = nullptr);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;

 private:
  Glyph glyph_;
  bool hovered_ = false;
};

// A hyperlink label: plain text, its own text colour, raises pressed() when
// the left button goes down on it.
class LinkLabel : public QLabel {
  Q_OBJECT
 public:
  explicit LinkLabel(QWidget* parent = nullptr);
  void SetTextColour(const QColor& colour);

 signals:
  void pressed();

 protected:
  void mousePressEvent(QMouseEvent* event) override;
};

// A tab control: one child container per page, all covering the control, of
// which only the current one is shown; with `showTabs` a tab strip lies over
// the top. pageChosen() is raised only when the user picks a tab.
class PagedControl : public QWidget {
  Q_OBJECT
 public:
  PagedControl(const std::vector<QString>& captions, bool showTabs, QWidget* parent = nullptr);
  QWidget* Page(int index) const;
  int CurrentPage() const { return current_; }
  void SetCurrentPage(int index);
  QTabBar* Tabs() const { return tabs_; }

 signals:
  void pageChosen(int index);

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  void Layout();

  std::vector<QWidget*> pages_;
  QTabBar* tabs_ = nullptr;
  int current_ = 0;
};

}  // namespace yz
