// The progress bar and the slider of the common controls library, under the
// identifiers of both library versions.
#include <QProgressBar>
#include <QSlider>
#include <cmath>

#include "script/ScriptValues.h"
#include "script/components/ComponentRegistry.h"
#include "script/components/HostedComponent.h"

namespace qm::script {

using engine::PropertyDef;
using engine::PropertyTable;

namespace {

class ProgressBarComponent : public HostedComponent {
 public:
  ProgressBarComponent(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("ProgressBar"), name, canvas), bar_(new QProgressBar) {
    raisesClickOnRelease_ = true;
    raisesKeyPress_ = false;
    bar_->setTextVisible(false);
    bar_->setRange(0, kSteps);
    setInner(bar_);
    show_();
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(ProgressBarComponent, "Min", min, setMin, toDouble),
        QM_PROP(ProgressBarComponent, "Max", max, setMax, toDouble),
        QM_PROP(ProgressBarComponent, "Value", value, setValue, toDouble),
        QM_PROP(ProgressBarComponent, "Orientation", orientation, setOrientation, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  double min() const { return min_; }
  // Min must stay below Max and Value inside them (error 380 otherwise).
  void setMin(double v) {
    if (!(v < max_) || !std::isfinite(v)) raiseText(380, QStringLiteral("Invalid property value"));
    min_ = v;
    value_ = std::max(value_, min_);
    show_();
  }
  double max() const { return max_; }
  void setMax(double v) {
    if (!(v > min_) || !std::isfinite(v)) raiseText(380, QStringLiteral("Invalid property value"));
    max_ = v;
    value_ = std::min(value_, max_);
    show_();
  }
  double value() const { return value_; }
  void setValue(double v) {
    if (!(v >= min_ && v <= max_)) raiseText(380, QStringLiteral("Invalid property value"));
    value_ = v;
    show_();
  }
  // 0 horizontal, 1 vertical.
  int orientation() const { return bar_->orientation() == Qt::Vertical ? 1 : 0; }
  void setOrientation(int o) { bar_->setOrientation(o == 1 ? Qt::Vertical : Qt::Horizontal); }

 private:
  static constexpr int kSteps = 10000;
  void show_() { bar_->setValue(static_cast<int>(std::lround((value_ - min_) / (max_ - min_) * kSteps))); }
  QProgressBar* bar_;
  double min_ = 0, max_ = 100, value_ = 0;
};

class SliderComponent : public HostedComponent {
 public:
  SliderComponent(const QString& name, QWidget* canvas)
      : HostedComponent(QStringLiteral("Slider"), name, canvas), slider_(new QSlider(Qt::Horizontal)) {
    slider_->setRange(0, 10);
    slider_->setSingleStep(1);
    slider_->setPageStep(5);
    slider_->setTickInterval(1);
    slider_->setTickPosition(QSlider::TicksBelow);
    setInner(slider_);
    QObject::connect(slider_, &QSlider::valueChanged, this, [this] { raiseEvent(QStringLiteral("Change")); });
    QObject::connect(slider_, &QSlider::sliderMoved, this, [this] { raiseEvent(QStringLiteral("Scroll")); });
    QObject::connect(slider_, &QSlider::sliderReleased, this, [this] { raiseEvent(QStringLiteral("Click")); });
  }
  const PropertyTable& propertyTable() const override {
    static const PropertyDef props[] = {
        QM_PROP(SliderComponent, "Min", min, setMin, toInt),
        QM_PROP(SliderComponent, "Max", max, setMax, toInt),
        QM_PROP(SliderComponent, "Value", value, setValue, toInt),
        QM_PROP(SliderComponent, "SmallChange", smallChange, setSmallChange, toInt),
        QM_PROP(SliderComponent, "LargeChange", largeChange, setLargeChange, toInt),
        QM_PROP(SliderComponent, "TickFrequency", tickFrequency, setTickFrequency, toInt),
        QM_PROP(SliderComponent, "TickStyle", tickStyle, setTickStyle, toInt),
        QM_PROP(SliderComponent, "Orientation", orientation, setOrientation, toInt),
    };
    static const PropertyTable table{props, &HostedComponent::propertyTable()};
    return table;
  }
  QString defaultMember() const override { return QStringLiteral("Value"); }
  int min() const { return slider_->minimum(); }
  void setMin(int v) { slider_->setMinimum(v); }
  int max() const { return slider_->maximum(); }
  void setMax(int v) { slider_->setMaximum(v); }
  int value() const { return slider_->value(); }
  void setValue(int v) {
    if (v < slider_->minimum() || v > slider_->maximum()) raiseText(380, QStringLiteral("Invalid property value"));
    slider_->setValue(v);
  }
  int smallChange() const { return slider_->singleStep(); }
  void setSmallChange(int v) { slider_->setSingleStep(v); }
  int largeChange() const { return slider_->pageStep(); }
  void setLargeChange(int v) { slider_->setPageStep(v); }
  int tickFrequency() const { return slider_->tickInterval(); }
  void setTickFrequency(int v) { slider_->setTickInterval(std::max(1, v)); }
  // 0 below or right, 1 above or left, 2 both sides, 3 none.
  int tickStyle() const { return tickStyle_; }
  void setTickStyle(int s) {
    tickStyle_ = s;
    static const QSlider::TickPosition kPositions[] = {QSlider::TicksBelow, QSlider::TicksAbove,
                                                       QSlider::TicksBothSides, QSlider::NoTicks};
    slider_->setTickPosition(s >= 0 && s <= 3 ? kPositions[s] : QSlider::TicksBelow);
  }
  // 0 horizontal, 1 vertical.
  int orientation() const { return slider_->orientation() == Qt::Vertical ? 1 : 0; }
  void setOrientation(int o) { slider_->setOrientation(o == 1 ? Qt::Vertical : Qt::Horizontal); }

 private:
  QSlider* slider_;
  int tickStyle_ = 0;
};

template <class T>
HostedComponent* make(const QString& name, QWidget* canvas) {
  return new T(name, canvas);
}

const ComponentKind kKinds[] = {
    {"MSComctlLib.ProgCtrl.2", make<ProgressBarComponent>},
    {"COMCTL.ProgCtrl.1", make<ProgressBarComponent>},
    {"MSComctlLib.Slider.2", make<SliderComponent>},
    {"COMCTL.Slider.1", make<SliderComponent>},
};

}  // namespace

std::span<const ComponentKind> commonControlsComponentKinds() { return kKinds; }

}  // namespace qm::script
