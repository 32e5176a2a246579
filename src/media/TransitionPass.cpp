#include "media/TransitionPass.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace qm::media {

TransitionKind transitionKind(int number) {
  switch (number) {
    case 0:
    case 1: return TransitionKind::CrossFade;
    case 2: return TransitionKind::SlideLeft;
    case 3: return TransitionKind::SlideRight;
    case 4: return TransitionKind::SlideUp;
    case 5: return TransitionKind::SlideDown;
    default: return TransitionKind::None;
  }
}

int crossFadeAlpha(double fraction) {
  if (!std::isfinite(fraction)) return 255;
  return static_cast<int>(std::lround(std::clamp(fraction, 0.0, 1.0) * 255.0));
}

namespace {

// Copies `image` so that its pixel (0, 0) lands on (x, y) of the painter's target.
void place(QPainter& p, const QImage& image, int x, int y) {
  if (!image.isNull()) p.drawImage(QPoint(x, y), image);
}

}  // namespace

QPoint newPictureOffset(TransitionKind kind, double fraction, QSize frame) {
  const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 1.0;
  const int inX = static_cast<int>(std::lround(f * frame.width()));
  const int inY = static_cast<int>(std::lround(f * frame.height()));
  switch (kind) {
    case TransitionKind::SlideLeft: return {inX - frame.width(), 0};
    case TransitionKind::SlideRight: return {frame.width() - inX, 0};
    case TransitionKind::SlideUp: return {0, inY - frame.height()};
    case TransitionKind::SlideDown: return {0, frame.height() - inY};
    default: return {0, 0};
  }
}

void drawTransitionPass(QImage& target, const QImage& start, const QImage& end, TransitionKind kind,
                        double fraction) {
  if (target.isNull()) return;
  const double f = std::isfinite(fraction) ? std::clamp(fraction, 0.0, 1.0) : 1.0;
  const int w = target.width();
  const int h = target.height();
  QPainter p(&target);
  p.setCompositionMode(QPainter::CompositionMode_Source);
  // Pixels no picture covers stay black; two full-size pictures cover everything.
  auto covers = [&](const QImage& i) { return i.width() >= w && i.height() >= h; };
  if (!covers(end) || (kind != TransitionKind::None && !covers(start))) p.fillRect(target.rect(), Qt::black);
  switch (kind) {
    case TransitionKind::None:
      place(p, end, 0, 0);
      break;
    case TransitionKind::CrossFade: {
      place(p, start, 0, 0);
      const int alpha = crossFadeAlpha(f);
      if (alpha > 0 && !end.isNull()) {
        p.setCompositionMode(QPainter::CompositionMode_SourceOver);
        p.setOpacity(alpha / 255.0);
        p.drawImage(QPoint(0, 0), end);
      }
      break;
    }
    case TransitionKind::SlideLeft:
    case TransitionKind::SlideRight:
    case TransitionKind::SlideUp:
    case TransitionKind::SlideDown: {
      // The old picture lies next to the new one, on the side it leaves by.
      const QPoint in = newPictureOffset(kind, f, target.size());
      const QPoint beside = kind == TransitionKind::SlideLeft    ? QPoint(w, 0)
                            : kind == TransitionKind::SlideRight ? QPoint(-w, 0)
                            : kind == TransitionKind::SlideUp    ? QPoint(0, h)
                                                                 : QPoint(0, -h);
      place(p, end, in.x(), in.y());
      place(p, start, in.x() + beside.x(), in.y() + beside.y());
      break;
    }
  }
}

}  // namespace qm::media
