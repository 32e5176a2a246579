// A control array of the game window. Element 0 is the hidden design-time
// template; elements loaded at run time copy its properties, start hidden and
// are removed with Unload. Indices may have gaps, as in VB.
//
// Unloaded elements are kept, hidden and silent, and given out again by the
// next Load (with the template's properties copied afresh): frames load and
// unload dozens of controls each time, and creating widgets costs far more
// than resetting them. An element may unload itself from its own handler.
#pragma once

#include <QObject>
#include <QPointer>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

namespace qm::engine {

// VB's run-time errors for control arrays (340, 360, 362).
struct ControlArrayError : std::runtime_error {
  int number;
  ControlArrayError(int n, const std::string& text) : std::runtime_error(text), number(n) {}
};

template <class T>
class ControlArray {
 public:
  // Elements loaded at once besides the template. The elements are sibling
  // widgets, and the toolkit paints overlapping siblings recursively (a stack
  // frame each): tens of thousands would overflow the stack. No game needs more.
  static constexpr int kMaxLoaded = 10000;

  using Factory = std::function<T*(int index)>;     // a new element, parented and not yet shown
  using Wiring = std::function<void(T&, int index)>;  // connects the array's event handlers

  ControlArray() = default;
  ControlArray(const ControlArray&) = delete;
  ControlArray& operator=(const ControlArray&) = delete;
  ~ControlArray() {
    for (auto& [i, p] : items_)
      if (p) delete p.data();
    for (auto& p : spare_)
      if (p) delete p.data();
  }

  // Creates element 0, the template.
  void init(Factory make, Wiring wire = {}) {
    make_ = std::move(make);
    wire_ = std::move(wire);
    T* t = make_(0);
    t->hideControl();
    items_[0] = t;
    if (wire_) wire_(*t, 0);
  }

  bool exists(int i) const {
    auto it = items_.find(i);
    return it != items_.end() && it->second;
  }
  T* item(int i) const {
    auto it = items_.find(i);
    return it == items_.end() ? nullptr : it->second.data();
  }
  T& operator[](int i) const {
    T* p = item(i);
    if (!p) throw ControlArrayError(340, "Control array element '" + std::to_string(i) + "' doesn't exist");
    return *p;
  }
  T& templ() const { return (*this)[0]; }

  T& Load(int i) {
    if (i < 0 || i > 32767) throw ControlArrayError(340, "Control array element '" + std::to_string(i) + "' doesn't exist");
    if (exists(i)) throw ControlArrayError(360, "Object already loaded");
    if (Count() > kMaxLoaded) throw ControlArrayError(7, "Out of memory");
    T* t = nullptr;
    while (!t && !spare_.empty()) {
      t = spare_.back().data();
      spare_.pop_back();
    }
    if (t) t->setVbIndex(i);
    else t = make_(i);
    if (T* tmpl = item(0)) t->copyPropertiesFrom(*tmpl);
    t->hideControl();
    t->placeOnTop();  // a loaded element stands above the controls loaded before it
    items_[i] = t;
    if (wire_) wire_(*t, i);
    return *t;
  }

  void Unload(int i) {
    if (i == 0) throw ControlArrayError(362, "Can't unload controls created at design time");
    auto it = items_.find(i);
    if (it == items_.end() || !it->second) throw ControlArrayError(340, "Control array element '" + std::to_string(i) + "' doesn't exist");
    T* t = it->second.data();
    items_.erase(it);
    t->hideControl();
    t->detachHandlers();
    spare_.push_back(t);
  }
  // Unloads every element above 0, highest first.
  void UnloadAll() {
    while (UBound() > 0) Unload(UBound());
  }

  int Count() const { return static_cast<int>(items_.size()); }
  int LBound() const { return items_.empty() ? 0 : items_.begin()->first; }
  int UBound() const { return items_.empty() ? 0 : items_.rbegin()->first; }
  std::vector<int> indices() const {
    std::vector<int> out;
    for (auto& [i, p] : items_) out.push_back(i);
    return out;
  }

 private:
  Factory make_;
  Wiring wire_;
  std::map<int, QPointer<T>> items_;
  std::vector<QPointer<T>> spare_;
};

}  // namespace qm::engine
