#include "app/control_widgets.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

#include "app/picture_decoding.h"

namespace yz {

// ---- PictureView ------------------------------------------------------------------

PictureView::PictureView(QWidget* parent) : QWidget(parent) {}

void PictureView::SetPictureBytes(const Bytes& bytes) {
  // Decoded once at the size shown: a large picture costs no more than a small one.
  image_ = DecodePicture(bytes, size() * devicePixelRatioF());
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  if (image_.isNull()) return;
  QPainter p(this);
  p.setRenderHint(QPainter::SmoothPixmapTransform);
  p.drawImage(rect(), image_);
}

// ---- TitleBar ---------------------------------------------------------------------

TitleBar::TitleBar(QWidget* parent) : QWidget(parent) { setAutoFillBackground(true); }

void TitleBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  // The window manager moves the window where it can; otherwise follow the
  // mouse ourselves.
  QWindow* handle = window()->windowHandle();
  if (handle && handle->startSystemMove()) return;
  dragging_ = true;
  grabOffset_ = event->globalPosition().toPoint() - window()->frameGeometry().topLeft();
}

void TitleBar::mouseMoveEvent(QMouseEvent* event) {
  if (dragging_ && (event->buttons() & Qt::LeftButton)) {
    window()->move(event->globalPosition().toPoint() - grabOffset_);
  }
}

void TitleBar::mouseReleaseEvent(QMouseEvent*) { dragging_ = false; }

// ---- LogoView ---------------------------------------------------------------------

LogoView::LogoView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
}

void LogoView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintLogo(p, QRectF(rect()));
}

// ---- SpinnerView ------------------------------------------------------------------

SpinnerView::SpinnerView(QWidget* parent) : QWidget(parent) {
  setAttribute(Qt::WA_TransparentForMouseEvents);
  timer_.setInterval(80);
  connect(&timer_, &QTimer::timeout, this, [this] {
    step_ = (step_ + 1) % 12;
    update();
  });
}

void SpinnerView::paintEvent(QPaintEvent*) {
  QPainter p(this);
  PaintSpinner(p, QRectF(rect()), step_);
}

void SpinnerView::showEvent(QShowEvent*) { timer_.start(); }
void SpinnerView::hideEvent(QHideEvent*) { timer_.stop(); }

// ---- GlyphButton ------------------------------------------------------------------

GlyphButton::GlyphButton(Glyph glyph, QWidget* parent) : QAbstractButton(parent), glyph_(glyph) {
  setCursor(Qt::PointingHandCursor);
  setFocusPolicy(Qt::NoFocus);
}

void GlyphButton::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.setRenderHint(QPainter::Antialiasing);
  const bool down = isDown();
  QColor ink(0xC8, 0xCB, 0xD2);
  if (hovered_ || down) {
    QColor back = glyph_ == Glyph::Close ? QColor(0xE8, 0x45, 0x3C) : QColor(255, 255, 255, 28);
    if (down) back = glyph_ == Glyph::Close ? QColor(0xB8, 0x30, 0x2A) : QColor(255, 255, 255, 16);
    p.setPen(Qt::NoPen);
    p.setBrush(back);
    p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 3, 3);
    ink = Qt::white;
  }
  QRectF box(rect());
  if (down) box.translate(0, 1);
  PaintGlyph(p, glyph_, box, ink);
}

void GlyphButton::enterEvent(QEnterEvent*) {
  hovered_ = true;
  update();
}

void GlyphButton::leaveEvent(QEvent*) {
  hovered_ = false;
  update();
}

// ---- LinkLabel --------------------------------------------------------------------

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
  setTextFormat(Qt::PlainText);
  setAlignment(Qt::AlignCenter);
  setCursor(Qt::PointingHandCursor);
  setAutoFillBackground(true);
}

void LinkLabel::SetTextColour(const QColor& colour) {
  QPalette pal = palette();
  pal.setColor(QPalette::WindowText, colour);
  setPalette(pal);
}

void LinkLabel::mousePressEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) emit pressed();
  QLabel::mousePressEvent(event);
}

// ---- PagedControl -----------------------------------------------------------------

PagedControl::PagedControl(const std::vector<QString>& captions, bool showTabs, QWidget* parent)
    : QWidget(parent) {
  for (std::size_t i = 0; i < captions.size(); ++i) {
    auto* page = new QWidget(this);
    page->setVisible(i == 0);
    pages_.push_back(page);
  }
  if (showTabs) {
    tabs_ = new QTabBar(this);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setFocusPolicy(Qt::NoFocus);
    for (const QString& c : captions) tabs_->addTab(c);
    connect(tabs_, &QTabBar::currentChanged, this, [this](int index) {
      if (index == current_) return;
      SetCurrentPage(index);
      emit pageChosen(index);
    });
  }
  Layout();
}

QWidget* PagedControl::Page(int index) const {
  return index >= 0 && index < static_cast<int>(pages_.size()) ? pages_[index] : nullptr;
}

void PagedControl::SetCurrentPage(int index) {
  if (!Page(index)) return;
  current_ = index;
  for (std::size_t i = 0; i < pages_.size(); ++i) {
    pages_[i]->setVisible(static_cast<int>(i) == index);
  }
  if (tabs_ && tabs_->currentIndex() != index) {
    QSignalBlocker quiet(tabs_);
    tabs_->setCurrentIndex(index);
  }
  if (tabs_) tabs_->raise();
}

void PagedControl::resizeEvent(QResizeEvent*) { Layout(); }

void PagedControl::Layout() {
  for (QWidget* page : pages_) page->setGeometry(rect());
  if (tabs_) {
    tabs_->setGeometry(0, 0, width(), 23);
    tabs_->raise();
  }
}

}  // namespace yz
