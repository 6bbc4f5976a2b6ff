#pragma once
// A property sheet in a real window: a tab for each page of a host::PropertySheet, a Qt widget
// for each of the page's fields, and OK, Cancel and Apply.
//
// The dialog holds no page logic: every edit goes through the field models, and whatever a
// model changes in return (values, items, captions, enabled states) is shown by its widget.
// A page is loaded when its tab is first shown.

#include <QDialog>
#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

#include <rescalo/host/property_page.h>
#include <rescalo/host/services.h>

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace rescalo::qt {

class PropertySheetDialog : public QDialog {
 public:
  // The sheet must outlive the dialog and have its selection made. With the edited control's
  // about information, an About button shows its about box: the control's own AboutBox would
  // go to the services of its host, which at design time may show nothing on this screen.
  explicit PropertySheetDialog(host::PropertySheet& sheet, QWidget* parent = nullptr,
                               std::optional<host::AboutInfo> about = std::nullopt);
  ~PropertySheetDialog() override;

  QTabWidget& tabs() const { return *tabs_; }
  QPushButton& okButton() const;
  QPushButton& cancelButton() const;
  QPushButton& applyButton() const;
  QPushButton* aboutButton() const { return about_; }
  // The widget standing for a field of a page, or nullptr.
  QWidget* widgetFor(std::string_view page, std::string_view field) const;

  // Applies every changed page; false when one failed (the failure is reported).
  bool apply();
  // OK: applies, and closes only when that succeeded.
  void accept() override;

 private:
  struct Binding;
  void buildPage(host::PropertyPage& page);
  void edit(const std::function<void()>& action);
  void markDirty(Binding& binding);
  void flush();
  void updateApply();

  host::PropertySheet& sheet_;
  std::function<void(const std::string&)> previousReport_;
  QTabWidget* tabs_ = nullptr;
  QDialogButtonBox* buttons_ = nullptr;
  QPushButton* about_ = nullptr;
  std::vector<std::unique_ptr<Binding>> bindings_;
  bool flushQueued_ = false;
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace rescalo::qt
