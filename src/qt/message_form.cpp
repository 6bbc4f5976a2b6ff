// The component's own small form on Qt: a message and one button, as the runtime lays it out.

#include <QLabel>
#include <QPushButton>

#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_services.h>

namespace rescalo::qt {

namespace {

// The classic layout, in twips: a fixed dialog 3840 x 1320 inside, the message in a line across
// it and the button centred below.
constexpr int kClientWidth = 3840, kClientHeight = 1320;
constexpr int kLabelLeft = 240, kLabelTop = 240, kLabelWidth = 3360, kLabelHeight = 315;
constexpr int kButtonLeft = 1320, kButtonTop = 720, kButtonWidth = 1215, kButtonHeight = 375;

}  // namespace

host::ObjectPtr QtServices::createMessageForm(const host::MessageForm& layout,
                                              std::function<void()> onButton) {
  // One at a time: a new one replaces the last. Its widget may still be inside its own click
  // (the button's handler unloads it), so it is deleted from the event loop.
  if (messageForm_) messageForm_->deleteLater();
  auto* window = new QWidget(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint);
  messageForm_ = window;
  window->setObjectName(QString::fromStdString(layout.name));
  window->setWindowTitle(QString::fromStdString(layout.caption));
  const double tx = twipsPerPixelX(*window), ty = twipsPerPixelY(*window);
  auto rect = [&](int left, int top, int width, int height) {
    return QRect(qRound(left / tx), qRound(top / ty), qRound(width / tx), qRound(height / ty));
  };
  window->setFixedSize(rect(0, 0, kClientWidth, kClientHeight).size());

  auto* label = new QLabel(QString::fromStdString(layout.message), window);
  label->setObjectName(QString::fromStdString(layout.labelName));
  label->setGeometry(rect(kLabelLeft, kLabelTop, kLabelWidth, kLabelHeight));

  auto* button = new QPushButton(QString::fromStdString(layout.buttonCaption), window);
  button->setObjectName(QString::fromStdString(layout.buttonName));
  button->setGeometry(rect(kButtonLeft, kButtonTop, kButtonWidth, kButtonHeight));
  button->setDefault(true);
  QObject::connect(button, &QPushButton::clicked, window, [onButton = std::move(onButton)] {
    if (onButton) onButton();
  });

  auto form = adoptForm(window);
  form->load();
  return form;
}

QtServices::~QtServices() { delete messageForm_.data(); }

}  // namespace rescalo::qt
