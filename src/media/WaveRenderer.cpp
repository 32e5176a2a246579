#include "media/WaveRenderer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace qm::media {

namespace {

// The wave trains added together: direction off the main angle (degrees),
// wavelength (pixels), pace (multiplies the phase) and share of the height.
struct WaveTrain {
  double turn, wavelength, pace, share;
};
constexpr std::array<WaveTrain, 4> kTrains{{
    {0.0, 31.0, 1.0, 0.42},
    {28.0, 19.0, 1.45, 0.27},
    {-37.0, 43.0, 0.8, 0.19},
    {64.0, 12.0, 2.1, 0.12},
}};

inline QRgb shade(QRgb p, int light) {
  auto ch = [light](int c) { return std::clamp(c + ((c * light) >> 8), 0, 255); };
  return qRgb(ch(qRed(p)), ch(qGreen(p)), ch(qBlue(p)));
}

}  // namespace

void WaveRenderer::restartClock() { clock_.start(); }

qint64 WaveRenderer::elapsed() const { return clock_.isValid() ? clock_.elapsed() : 0; }

float WaveRenderer::phaseFor(int speed, bool reverse, qint64 elapsedMs) {
  const double d = reverse ? -1.0 : 1.0;
  return static_cast<float>(d * std::pow(4.0, (speed + 2) / 10.0) / 300.0 * static_cast<double>(elapsedMs));
}

void WaveRenderer::wave(QImage& dest, const QImage& source, int w, int h, const WaveShape& shape, float phase) {
  w = std::min({w, dest.width(), source.width()});
  h = std::min({h, dest.height(), source.height()});
  if (w <= 0 || h <= 0 || dest.depth() != 32 || source.depth() != 32) return;
  const int trains = std::clamp(shape.waves, 1, static_cast<int>(kTrains.size()));
  const double strength = std::clamp(shape.strength, 1, 24);
  const double ph = std::isfinite(phase) ? std::fmod(static_cast<double>(phase), 2000.0 * std::numbers::pi) : 0.0;
  const double base = (std::isfinite(shape.angle) ? shape.angle : 90.0) * std::numbers::pi / 180.0;

  // h(x, y) = sum of share·sin(kx·x + ky·y − pace·phase); with
  // sin(a + b) = sin a cos b + cos a sin b the tables split into a column part
  // (kx·x) and a row part (ky·y − pace·phase).
  colSin_.resize(static_cast<size_t>(trains) * w);
  colCos_.resize(colSin_.size());
  rowSin_.resize(static_cast<size_t>(trains) * h);
  rowCos_.resize(rowSin_.size());
  std::array<float, 4> gx{}, gy{};
  for (int t = 0; t < trains; ++t) {
    const auto& tr = kTrains[t];
    const double dir = base + tr.turn * std::numbers::pi / 180.0;
    const double k = 2.0 * std::numbers::pi / tr.wavelength;
    const double kx = k * std::cos(dir), ky = k * std::sin(dir);
    // Slope scaled so that the steepest sum bends the view by `strength` pixels.
    gx[t] = static_cast<float>(tr.share * kx / k * strength);
    gy[t] = static_cast<float>(tr.share * ky / k * strength);
    for (int x = 0; x < w; ++x) {
      colSin_[t * w + x] = static_cast<float>(std::sin(kx * x));
      colCos_[t * w + x] = static_cast<float>(std::cos(kx * x));
    }
    for (int y = 0; y < h; ++y) {
      const double a = ky * y - tr.pace * ph;
      rowSin_[t * h + y] = static_cast<float>(std::sin(a));
      rowCos_[t * h + y] = static_cast<float>(std::cos(a));
    }
  }

  const int maxX = w - 1, maxY = h - 1;
  for (int y = 0; y < h; ++y) {
    auto* out = reinterpret_cast<QRgb*>(dest.scanLine(y));
    for (int x = 0; x < w; ++x) {
      // Slope of the surface: cos(a + b) = cos a cos b − sin a sin b.
      float sx = 0, sy = 0;
      for (int t = 0; t < trains; ++t) {
        const float c = colCos_[t * w + x] * rowCos_[t * h + y] - colSin_[t * w + x] * rowSin_[t * h + y];
        sx += gx[t] * c;
        sy += gy[t] * c;
      }
      const int u = std::clamp(x + static_cast<int>(std::lround(sx)), 0, maxX);
      const int v = std::clamp(y + static_cast<int>(std::lround(sy)), 0, maxY);
      const QRgb p = reinterpret_cast<const QRgb*>(source.constScanLine(v))[u];
      // Slopes facing the light (from the top left) are lighter.
      const int light = static_cast<int>(-(sx + sy) * (40.0f / static_cast<float>(strength)));
      out[x] = shade(p, light);
    }
  }
}

void WaveRenderer::fastMask(QImage& dest, const QImage& masked, const QImage& mask, int w, int h) {
  w = std::min({w, dest.width(), masked.width(), mask.width()});
  h = std::min({h, dest.height(), masked.height(), mask.height()});
  if (w <= 0 || h <= 0 || dest.depth() != 32 || masked.depth() != 32 || mask.depth() != 32) return;
  for (int y = 0; y < h; ++y) {
    auto* out = reinterpret_cast<QRgb*>(dest.scanLine(y));
    const auto* dry = reinterpret_cast<const QRgb*>(masked.constScanLine(y));
    const auto* m = reinterpret_cast<const QRgb*>(mask.constScanLine(y));
    for (int x = 0; x < w; ++x)
      if (qGray(m[x]) >= 128) out[x] = dry[x];
  }
}

}  // namespace qm::media
