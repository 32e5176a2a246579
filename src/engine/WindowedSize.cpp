#include "engine/WindowedSize.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

namespace qm::engine {

namespace {
// A picture more than this many times its size is no longer a picture to play
// (and a bar font that large is of no use).
constexpr int kLargestScale = 16;
// Below this a picture is a dot; the window may be made that small all the same.
constexpr double kSmallestPictureScale = 0.05;
}  // namespace

int LargestWholeScale(QSize picture, QSize room, const BarHeightAt& barHeightAt) {
  const int pw = std::max(1, picture.width()), ph = std::max(1, picture.height());
  const int upper = std::min({kLargestScale, room.width() / pw, room.height() / ph});
  for (int scale = upper; scale >= 2; --scale)
    if (scale * ph + barHeightAt(scale) <= room.height()) return scale;
  return 1;
}

QSize WindowAtScale(QSize picture, int scale, const BarHeightAt& barHeightAt) {
  return {std::max(1, picture.width()) * scale, std::max(1, picture.height()) * scale + barHeightAt(scale)};
}

double InterfaceScaleInWindow(QSize picture, QSize inner, int barHeightAtOne) {
  const double pw = std::max(1, picture.width()), ph = std::max(1, picture.height());
  double scale = std::min(inner.width() / pw, inner.height() / (ph + std::max(0, barHeightAtOne)));
  // The bar's height does not grow exactly in proportion (fonts come in whole
  // pixels): a window made at a whole scale keeps that scale.
  if (std::fabs(scale - std::round(scale)) < 0.03) scale = std::round(scale);
  return std::max(1.0, scale);
}

double PictureScaleIn(QSize picture, QSize room) {
  const double pw = std::max(1, picture.width()), ph = std::max(1, picture.height());
  const double scale = std::min(room.width() / pw, room.height() / ph);
  return std::max(kSmallestPictureScale, scale);
}

std::optional<QSize> ParseWindowSize(const QString& text) {
  static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,5})\\s*[xX]\\s*(\\d{1,5})\\s*$"));
  const auto m = form.match(text);
  if (!m.hasMatch()) return std::nullopt;
  const QSize size(m.captured(1).toInt(), m.captured(2).toInt());
  if (size.width() < 1 || size.height() < 1) return std::nullopt;
  return size;
}

QString WindowSizeText(QSize size) {
  return QStringLiteral("%1x%2").arg(size.width()).arg(size.height());
}

}  // namespace qm::engine
