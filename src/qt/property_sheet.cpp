#include <rescalo/qt/property_sheet.h>

#include <rescalo/qt/about_box.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>
#include <QValidator>
#include <cmath>
#include <map>

#include <rescalo/host/name.h>

namespace rescalo::qt {

using host::FieldKind;

struct PropertySheetDialog::Binding {
  host::PropertyPage* page = nullptr;
  host::PageField* field = nullptr;
  QWidget* widget = nullptr;
  QLabel* label = nullptr;        // the label that introduces the widget, if any
  std::function<void()> refresh;  // shows the model's state in the widget
  bool dirty = false;
};

namespace {

QString qs(const std::string& s) { return QString::fromStdString(s); }

QColor fromBgr(std::int32_t v) { return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF); }

std::int32_t toBgr(const QColor& c) { return c.red() | (c.green() << 8) | (c.blue() << 16); }

// Number-like text only, and for a whole-number property only what still fits once rounded
// (half to even, as the property's conversion does). Half-typed numbers ("-", ".", "1e") may
// stand while typing; the page itself decides what a text means.
class NumberValidator : public QValidator {
 public:
  NumberValidator(int integerBits, QObject* parent) : QValidator(parent), bits_(integerBits) {}
  State validate(QString& input, int& /*pos*/) const override {
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(R"(\s*[+-]?\d*\.?\d*([eE][+-]?\d*)?\s*)"));
    if (!pattern.match(input).hasMatch()) return Invalid;
    bool ok = false;
    double v = input.trimmed().toDouble(&ok);
    if (!ok) return Intermediate;
    if (bits_ == 16 || bits_ == 32) {
      double limit = bits_ == 16 ? 32768.0 : 2147483648.0;
      double rounded = std::nearbyint(v);
      if (rounded < -limit || rounded > limit - 1) return Invalid;
    }
    return Acceptable;
  }

 private:
  int bits_;
};

// Calls back when the watched widget loses the focus; a plain filter needs no moc.
class FocusOutFilter : public QObject {
 public:
  FocusOutFilter(std::function<void()> onFocusOut, QObject* parent)
      : QObject(parent), onFocusOut_(std::move(onFocusOut)) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusOut) onFocusOut_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> onFocusOut_;
};

bool sameItems(const QListWidget& list, const std::vector<std::string>& items) {
  if (list.count() != static_cast<int>(items.size())) return false;
  for (int i = 0; i < list.count(); ++i)
    if (list.item(i)->text() != qs(items[static_cast<std::size_t>(i)])) return false;
  return true;
}

bool sameItems(const QComboBox& box, const std::vector<std::string>& items) {
  if (box.count() != static_cast<int>(items.size())) return false;
  for (int i = 0; i < box.count(); ++i)
    if (box.itemText(i) != qs(items[static_cast<std::size_t>(i)])) return false;
  return true;
}

bool isInput(FieldKind kind) {
  return kind == FieldKind::TextBox || kind == FieldKind::ComboBox || kind == FieldKind::ListBox ||
         kind == FieldKind::CheckListBox || kind == FieldKind::Colour;
}

}  // namespace

PropertySheetDialog::PropertySheetDialog(host::PropertySheet& sheet, QWidget* parent,
                                         std::optional<host::AboutInfo> about)
    : QDialog(parent), sheet_(sheet) {
  setObjectName("PropertySheet");
  setWindowTitle("Property Pages");
  previousReport_ = sheet_.report;
  // A failure inside a page is shown without blocking: the page stays as the failure left it.
  sheet_.report = [this](const std::string& message) {
    if (previousReport_) previousReport_(message);
    auto* box =
        new QMessageBox(QMessageBox::Warning, windowTitle(), qs(message), QMessageBox::Ok, this);
    box->setObjectName("sheetError");
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->open();
  };

  tabs_ = new QTabWidget(this);
  tabs_->setUsesScrollButtons(false);  // all eight tabs in sight
  for (const auto& page : sheet_.pages()) buildPage(*page);
  buttons_ = new QDialogButtonBox(
      QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply, this);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tabs_);
  layout->addWidget(buttons_);
  connect(buttons_, &QDialogButtonBox::accepted, this, &PropertySheetDialog::accept);
  connect(buttons_, &QDialogButtonBox::rejected, this, &PropertySheetDialog::reject);
  connect(&applyButton(), &QPushButton::clicked, this, [this] { apply(); });
  if (about) {
    about_ = buttons_->addButton("About", QDialogButtonBox::HelpRole);
    connect(about_, &QPushButton::clicked, this,
            [this, info = *about] { showAboutBox(info, this); });
  }

  for (auto& b : bindings_) b->refresh();
  // A page loads when its tab is first shown.
  connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) {
    sheet_.show(index);
    flush();
    updateApply();
  });
  sheet_.show(tabs_->currentIndex());
  flush();
  updateApply();
}

PropertySheetDialog::~PropertySheetDialog() {
  // The widgets outlive this part of the dialog: nothing they do while they go may reach it.
  *alive_ = false;
  for (QObject* child : findChildren<QObject*>()) disconnect(child, nullptr, this, nullptr);
  for (auto& b : bindings_) b->field->onUpdate = nullptr;
  sheet_.report = previousReport_;
}

QPushButton& PropertySheetDialog::okButton() const {
  return *buttons_->button(QDialogButtonBox::Ok);
}
QPushButton& PropertySheetDialog::cancelButton() const {
  return *buttons_->button(QDialogButtonBox::Cancel);
}
QPushButton& PropertySheetDialog::applyButton() const {
  return *buttons_->button(QDialogButtonBox::Apply);
}

QWidget* PropertySheetDialog::widgetFor(std::string_view page, std::string_view field) const {
  for (const auto& b : bindings_)
    if (host::equalsNoCase(b->page->caption(), page) && host::equalsNoCase(b->field->name(), field))
      return b->widget;
  return nullptr;
}

bool PropertySheetDialog::apply() {
  bool ok = sheet_.apply();
  flush();
  updateApply();
  return ok;
}

void PropertySheetDialog::accept() {
  if (apply()) QDialog::accept();
}

// A developer's edit in a widget: it runs through the model, then every widget whose model it
// touched shows the outcome (a page may correct what was typed, or enable other fields).
void PropertySheetDialog::edit(const std::function<void()>& action) {
  sheet_.run(action);
  flush();
  updateApply();
}

// Models change in bursts (a list filled item by item): widgets follow once the burst is over,
// at the end of the edit that caused it, or on the next turn of the event loop when a timer of a
// page caused it.
void PropertySheetDialog::markDirty(Binding& binding) {
  binding.dirty = true;
  if (flushQueued_) return;
  flushQueued_ = true;
  QTimer::singleShot(0, this, [this] {
    flush();
    updateApply();
  });
}

void PropertySheetDialog::flush() {
  flushQueued_ = false;
  for (auto& b : bindings_)
    if (b->dirty) {
      b->dirty = false;
      b->refresh();
    }
}

void PropertySheetDialog::updateApply() { applyButton().setEnabled(sheet_.changed()); }

void PropertySheetDialog::buildPage(host::PropertyPage& page) {
  auto* pageWidget = new QWidget;
  pageWidget->setObjectName(qs(page.caption()));
  auto* pageLayout = new QVBoxLayout(pageWidget);
  auto* columns = new QHBoxLayout;
  std::map<int, QFormLayout*> forms;
  auto formFor = [&](int column) {
    auto& form = forms[column];
    if (!form) {
      form = new QFormLayout;
      form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
      columns->addLayout(form, 1);
    }
    return form;
  };

  std::vector<QWidget*> focusOrder;
  Binding* previous = nullptr;
  QHBoxLayout* lastBoxRow = nullptr;  // the row of the text box just laid out
  for (host::PageField* f : page.fields()) {
    auto owned = std::make_unique<Binding>();
    Binding& b = *owned;
    b.page = &page;
    b.field = f;
    QFormLayout* form = formFor(f->column);
    bool sameColumnAsPrevious = previous && previous->field->column == f->column;

    if (isInput(f->kind())) {
      // A label field just above with the same text already introduces this one.
      if (sameColumnAsPrevious && previous->field->kind() == FieldKind::Label &&
          previous->field->caption() == f->caption())
        b.label = static_cast<QLabel*>(previous->widget);
      else if (!f->caption().empty())
        b.label = new QLabel(qs(f->caption()));
    }

    switch (f->kind()) {
      case FieldKind::Label: {
        auto& model = static_cast<host::Label&>(*f);
        auto* label = new QLabel;
        label->setTextFormat(Qt::PlainText);
        b.widget = label;
        b.refresh = [&model, label] {
          label->setText(qs(model.caption()));
          label->setEnabled(model.enabled());
          QFont font = label->font();
          font.setBold(model.bold);
          if (model.size > 0) font.setPointSizeF(model.size);
          label->setFont(font);
          QPalette palette;  // the application's, unless the page gives a colour
          if (model.foreColor >= 0)
            palette.setColor(QPalette::WindowText, fromBgr(model.foreColor));
          label->setPalette(palette);
        };
        break;
      }
      case FieldKind::CheckBox: {
        auto& model = static_cast<host::CheckBox&>(*f);
        auto* box = new QCheckBox(qs(f->caption()));
        b.widget = box;
        b.refresh = [&model, box] {
          QSignalBlocker block(box);
          box->setText(qs(model.caption()));
          box->setEnabled(model.enabled());
          // Only code greys a box; a developer's click toggles it.
          box->setTristate(model.value() == host::CheckBox::Grayed);
          box->setCheckState(model.value() == host::CheckBox::Checked  ? Qt::Checked
                             : model.value() == host::CheckBox::Grayed ? Qt::PartiallyChecked
                                                                       : Qt::Unchecked);
        };
        connect(box, &QCheckBox::stateChanged, this, [this, &model](int state) {
          edit([&] {
            model.setValue(state == Qt::Checked            ? host::CheckBox::Checked
                           : state == Qt::PartiallyChecked ? host::CheckBox::Grayed
                                                           : host::CheckBox::Unchecked);
          });
        });
        break;
      }
      case FieldKind::TextBox: {
        auto& model = static_cast<host::TextBox&>(*f);
        auto* line = new QLineEdit;
        if (model.numeric) line->setValidator(new NumberValidator(model.integerBits, line));
        b.widget = line;
        b.refresh = [&model, line] {
          QSignalBlocker block(line);
          line->setEnabled(model.enabled());
          // Moving the caret while the developer types would get in the way: only a text the
          // model changed takes the model's caret.
          if (line->text() != qs(model.text())) {
            line->setText(qs(model.text()));
            line->setCursorPosition(model.selStart());
          }
        };
        connect(line, &QLineEdit::textChanged, this, [this, &model, line](const QString& text) {
          edit([&] {
            std::string typed = text.toStdString();
            model.setText(typed);
            if (model.text() == typed) model.setSelStart(line->cursorPosition());
          });
        });
        line->installEventFilter(new FocusOutFilter(
            [this, &model, alive = alive_] {
              if (*alive) edit([&] { model.leave(); });
            },
            line));
        break;
      }
      case FieldKind::ComboBox: {
        auto& model = static_cast<host::ComboBox&>(*f);
        auto* combo = new QComboBox;
        b.widget = combo;
        b.refresh = [&model, combo] {
          QSignalBlocker block(combo);
          combo->setEnabled(model.enabled());
          if (!sameItems(*combo, model.items())) {
            combo->clear();
            for (const auto& item : model.items()) combo->addItem(qs(item));
          }
          combo->setCurrentIndex(model.listIndex());
        };
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, &model](int index) { edit([&] { model.setListIndex(index); }); });
        break;
      }
      case FieldKind::ListBox:
      case FieldKind::CheckListBox: {
        auto& model = static_cast<host::ListField&>(*f);
        auto* checks =
            f->kind() == FieldKind::CheckListBox ? static_cast<host::CheckListBox*>(f) : nullptr;
        auto* list = new QListWidget;
        list->setSelectionMode(QAbstractItemView::SingleSelection);
        b.widget = list;
        b.refresh = [&model, checks, list] {
          QSignalBlocker block(list);
          list->setEnabled(model.enabled());
          if (!sameItems(*list, model.items())) {
            list->clear();
            for (const auto& item : model.items()) {
              auto* row = new QListWidgetItem(qs(item), list);
              if (checks) row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
            }
          }
          if (checks)
            for (int i = 0; i < list->count(); ++i)
              list->item(i)->setCheckState(checks->checked(i) ? Qt::Checked : Qt::Unchecked);
          list->setCurrentRow(model.listIndex());
          if (model.listIndex() < 0) list->clearSelection();
        };
        connect(list, &QListWidget::currentRowChanged, this, [this, &model](int row) {
          edit([&] {
            if (row != model.listIndex()) model.setListIndex(row);
          });
        });
        // A click on an item is a Click even when the item is current already (after its check
        // box was clicked, for instance), as with the classic list.
        connect(list, &QListWidget::itemClicked, this, [this, &model, list](QListWidgetItem* it) {
          int row = list->row(it);
          if (row >= 0) edit([&] { model.setListIndex(row); });
        });
        if (checks)
          connect(list, &QListWidget::itemChanged, this, [this, checks, list](QListWidgetItem* it) {
            int row = list->row(it);
            bool checked = it->checkState() == Qt::Checked;
            if (row >= 0 && checked != checks->checked(row))
              edit([&] { checks->clickCheck(row, checked); });
          });
        break;
      }
      case FieldKind::Button: {
        auto& model = static_cast<host::Button&>(*f);
        auto* button = new QPushButton(qs(f->caption()));
        button->setAutoDefault(false);
        b.widget = button;
        b.refresh = [&model, button] {
          button->setText(qs(model.caption()));
          button->setEnabled(model.enabled());
        };
        connect(button, &QPushButton::clicked, this,
                [this, &model] { edit([&] { model.press(); }); });
        break;
      }
      case FieldKind::Colour: {
        auto& model = static_cast<host::ColourField&>(*f);
        auto* button = new QPushButton;
        button->setAutoDefault(false);
        b.widget = button;
        b.refresh = [&model, button] {
          QPixmap swatch(24, 16);
          swatch.fill(fromBgr(model.value()));
          button->setIcon(swatch);
          button->setText(qs(model.describe()));
          button->setEnabled(model.enabled());
        };
        connect(button, &QPushButton::clicked, this, [this, &model] {
          auto* dialog = new QColorDialog(fromBgr(model.value()), this);
          dialog->setObjectName("colourDialog");
          dialog->setOption(QColorDialog::DontUseNativeDialog);
          dialog->setAttribute(Qt::WA_DeleteOnClose);
          connect(dialog, &QColorDialog::colorSelected, this,
                  [this, &model](const QColor& c) { edit([&] { model.setValue(toBgr(c)); }); });
          dialog->open();
        });
        break;
      }
    }
    b.widget->setObjectName(qs(f->name()));
    if (b.label) {
      b.label->setBuddy(b.widget);
      // The introducing label greys with its field.
      auto shown = b.refresh;
      QLabel* label = b.label;
      b.refresh = [shown, label, f] {
        shown();
        label->setEnabled(f->enabled());
      };
    }

    // Layout: a label followed by its field on one row; a label field right after a text box
    // (a unit such as "Secs") stands beside the box.
    // A page that opens with a label in a font of its own has it as a bar across the top.
    bool labelOwned = previous && b.label == previous->widget;
    auto* asLabel = dynamic_cast<host::Label*>(f);
    if (!previous && asLabel && (asLabel->bold || asLabel->size > 0)) {
      pageLayout->addWidget(b.widget);
    } else if (f->kind() == FieldKind::Label && sameColumnAsPrevious && lastBoxRow &&
               previous->field->kind() == FieldKind::TextBox) {
      lastBoxRow->addWidget(b.widget);
    } else if (f->kind() == FieldKind::TextBox) {
      lastBoxRow = new QHBoxLayout;
      lastBoxRow->addWidget(b.widget, 1);
      form->addRow(b.label, lastBoxRow);
    } else if (f->kind() == FieldKind::ListBox || f->kind() == FieldKind::CheckListBox) {
      if (b.label && !labelOwned) form->addRow(b.label);
      form->addRow(b.widget);
    } else if (b.label && !labelOwned) {
      form->addRow(b.label, b.widget);
    } else {
      form->addRow(b.widget);
    }
    if (f->kind() != FieldKind::TextBox) lastBoxRow = nullptr;
    if (f->kind() != FieldKind::Label) focusOrder.push_back(b.widget);

    f->onUpdate = [this, &b] { markDirty(b); };
    previous = &b;
    bindings_.push_back(std::move(owned));
  }
  pageLayout->addLayout(columns, 1);
  for (std::size_t i = 1; i < focusOrder.size(); ++i)
    QWidget::setTabOrder(focusOrder[i - 1], focusOrder[i]);
  tabs_->addTab(pageWidget, qs(page.caption()));
}

}  // namespace rescalo::qt
