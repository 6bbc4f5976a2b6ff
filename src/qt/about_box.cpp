#include <rescalo/qt/about_box.h>

namespace rescalo::qt {

std::unique_ptr<QMessageBox> makeAboutBox(const host::AboutInfo& info, QWidget* parent) {
  auto name = QString::fromStdString(info.name);
  auto box = std::make_unique<QMessageBox>(parent);
  box->setObjectName("frmAbout");
  box->setWindowTitle("About " + name);
  box->setIcon(QMessageBox::Information);
  // Plain text: a description is never taken for markup.
  box->setTextFormat(Qt::PlainText);
  box->setText(name + "\nVersion " + QString::fromStdString(info.version));
  box->setInformativeText(QString::fromStdString(info.description));
  box->setStandardButtons(QMessageBox::Ok);
  return box;
}

void showAboutBox(const host::AboutInfo& info, QWidget* parent) {
  makeAboutBox(info, parent)->exec();
}

}  // namespace rescalo::qt
