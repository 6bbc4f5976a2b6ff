#pragma once
// What the Qt host would otherwise find out again on every access: a form's controls with their
// adapters and keys, each control's container, and the twips per pixel of a widget's screen.
//
// It is kept from Qt's own notifications: a child added to or removed from a widget that holds
// controls, a widget given a new parent, a layout changed, a control's Index or Align changed or
// it was renamed, a window moved to another screen or a screen's resolution changed. Changes are
// counted rather than followed one by one: each count makes every kept answer be worked out
// again on its next use. That is rare next to the accesses of one pass, and it can never leave
// an answer stale.

#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include <rescalo/host/key_index.h>

namespace rescalo::qt {

class QtControl;

// Advances whenever the widget tree may have changed where a form's controls are read.
std::uint64_t treeGeneration();
// Advances whenever a screen's resolution, or the screen some window is on, may have changed.
std::uint64_t screenGeneration();

// Watches a widget whose children may be controls (a form, a frame, a tab control's pages) for
// children coming and going and for its layout changing.
void watchHolder(QWidget& widget);
// Watches an adapted widget for a new parent, a new screen, a new name, Index or Align.
void watchAdapted(QWidget& widget);

// A form's controls in creation order, as the form's walk finds them, with their adapters and
// keys ("Name" or "Name(Index)").
class ControlList {
 public:
  bool stale() const { return builtAt_ != treeGeneration(); }
  // Takes the walk's result; the containers among the controls are watched from now on.
  void rebuild(std::vector<QWidget*> widgets);

  const std::vector<QWidget*>& widgets() const { return widgets_; }
  int size() const { return static_cast<int>(widgets_.size()); }
  const std::shared_ptr<QtControl>& adapter(int position) const {
    return adapters_[static_cast<std::size_t>(position)];
  }
  // The first control with this key, or -1.
  int find(std::string_view key) const;

 private:
  std::uint64_t builtAt_ = ~std::uint64_t{0};
  std::vector<QWidget*> widgets_;
  std::vector<std::shared_ptr<QtControl>> adapters_;
  std::vector<std::string> keys_;
  host::KeyIndex index_;
};

}  // namespace rescalo::qt
