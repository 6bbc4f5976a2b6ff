#pragma once
// Rescalo in Qt Designer: an entry in the widget box, the widget as a small icon on the form
// with its settings in the property editor, and a task menu with "Edit Rescalo..." (the
// property sheet over the form) and "About...". Without Designer (QUiLoader loading a form),
// the same plugin makes the run-time widget, which rescales the form it is on.

#include <QAction>
#include <QPointer>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionFactory>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>

#include <rescalo/bridge/qt_rescalo.h>

namespace rescalo::designer {

class RescaloPlugin : public QObject, public QDesignerCustomWidgetInterface {
  Q_OBJECT
  Q_PLUGIN_METADATA(IID "org.qt-project.Qt.QDesignerCustomWidgetInterface")
  Q_INTERFACES(QDesignerCustomWidgetInterface)

 public:
  explicit RescaloPlugin(QObject* parent = nullptr) : QObject(parent) {}

  QString name() const override { return "rescalo::qt::Rescalo"; }
  QString group() const override { return "Rescalo"; }
  QString toolTip() const override;
  QString whatsThis() const override;
  QString includeFile() const override { return "rescalo/qt.h"; }
  QIcon icon() const override;
  bool isContainer() const override { return false; }
  QString domXml() const override;
  QWidget* createWidget(QWidget* parent) override;
  bool isInitialized() const override { return core_ != nullptr; }
  // Designer calls it; QUiLoader does not, so only Designer gets design-time widgets.
  void initialize(QDesignerFormEditorInterface* core) override;

 private:
  QDesignerFormEditorInterface* core_ = nullptr;
};

class RescaloTaskMenu : public QObject, public QDesignerTaskMenuExtension {
  Q_OBJECT
  Q_INTERFACES(QDesignerTaskMenuExtension)

 public:
  RescaloTaskMenu(qt::Rescalo* rescalo, QObject* parent);
  QAction* preferredEditAction() const override { return edit_; }
  QList<QAction*> taskActions() const override { return {edit_, about_}; }

 private:
  void edit();
  QPointer<qt::Rescalo> rescalo_;
  QAction* edit_;
  QAction* about_;
};

class RescaloTaskMenuFactory : public QExtensionFactory {
  Q_OBJECT

 public:
  using QExtensionFactory::QExtensionFactory;

 protected:
  QObject* createExtension(QObject* object, const QString& iid, QObject* parent) const override;
};

}  // namespace rescalo::designer
