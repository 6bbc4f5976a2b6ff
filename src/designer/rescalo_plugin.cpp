#include <rescalo/designer/rescalo_plugin.h>

#include <QtDesigner/QDesignerDynamicPropertySheetExtension>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>

#include <rescalo/control/rescalo.h>
#include <rescalo/designer/rescalo_editing.h>
#include <rescalo/qt/about_box.h>

namespace rescalo::designer {

QString RescaloPlugin::toolTip() const { return "Rescalo: keeps the form's widgets in proportion"; }

QString RescaloPlugin::whatsThis() const {
  return "Drop one on a form and the form rescales itself at run time: every widget moves and "
         "resizes in proportion, fonts follow, and the window keeps its limits.";
}

QIcon RescaloPlugin::icon() const { return QIcon(qt::Rescalo::picture()); }

QString RescaloPlugin::domXml() const {
  return R"(<ui language="c++" displayname="Rescalo">
 <widget class="rescalo::qt::Rescalo" name="rescalo">
  <property name="geometry">
   <rect>
    <x>0</x>
    <y>0</y>
    <width>32</width>
    <height>32</height>
   </rect>
  </property>
 </widget>
</ui>
)";
}

QWidget* RescaloPlugin::createWidget(QWidget* parent) {
  if (core_) return qt::Rescalo::createAtDesignTime(parent);
  return new qt::Rescalo(parent);
}

void RescaloPlugin::initialize(QDesignerFormEditorInterface* core) {
  if (core_) return;
  core_ = core;
  QExtensionManager* manager = core->extensionManager();
  manager->registerExtensions(new RescaloTaskMenuFactory(manager),
                              Q_TYPEID(QDesignerTaskMenuExtension));
}

namespace {

// Edits as Designer's own commands, gathered into one that undoes them together.
class DesignerEdits : public FormEdits {
 public:
  explicit DesignerEdits(QDesignerFormWindowInterface& form) : form_(form) {}
  ~DesignerEdits() override {
    if (!begun_) return;
    form_.endCommand();
    form_.setDirty(true);
  }

  void setProperty(QWidget* widget, const char* name, const QVariant& value) override {
    begin();
    form_.cursor()->setWidgetProperty(widget, name, value);
  }

  void setFlags(QWidget* widget, const char* name, const QString& text) override {
    QExtensionManager* m = form_.core()->extensionManager();
    auto* sheet = qt_extension<QDesignerPropertySheetExtension*>(m, widget);
    auto* dynamic = qt_extension<QDesignerDynamicPropertySheetExtension*>(m, widget);
    if (!sheet || !dynamic) return;
    begin();
    int index = sheet->indexOf(name);
    if (text.isEmpty()) {
      if (index >= 0 && dynamic->isDynamicProperty(index)) dynamic->removeDynamicProperty(index);
      return;
    }
    if (index < 0) index = dynamic->addDynamicProperty(name, QVariant(QString()));
    if (index >= 0) form_.cursor()->setWidgetProperty(widget, name, text);
  }

 private:
  void begin() {
    if (!begun_) form_.beginCommand("Edit Rescalo");
    begun_ = true;
  }
  QDesignerFormWindowInterface& form_;
  bool begun_ = false;
};

}  // namespace

RescaloTaskMenu::RescaloTaskMenu(qt::Rescalo* rescalo, QObject* parent)
    : QObject(parent),
      rescalo_(rescalo),
      edit_(new QAction("Edit Rescalo...", this)),
      about_(new QAction("About...", this)) {
  connect(edit_, &QAction::triggered, this, &RescaloTaskMenu::edit);
  connect(about_, &QAction::triggered, this, [this] {
    qt::showAboutBox(control::aboutInfo(), rescalo_ ? rescalo_->window() : nullptr);
  });
}

void RescaloTaskMenu::edit() {
  if (!rescalo_) return;
  QDesignerFormWindowInterface* form = QDesignerFormWindowInterface::findFormWindow(rescalo_);
  if (!form || !form->mainContainer()) return;
  QWidget& designed = *form->mainContainer();
  const QWidgetList widgets =
      formWidgets(designed, [form](QWidget* w) { return form->isManaged(w); });
  {
    DesignerEdits edits(*form);
    editRescalo(*rescalo_, designed, widgets, edits);
  }
  if (QDesignerPropertyEditorInterface* editor = form->core()->propertyEditor())
    editor->setObject(rescalo_);
}

QObject* RescaloTaskMenuFactory::createExtension(QObject* object, const QString& iid,
                                                 QObject* parent) const {
  if (iid != Q_TYPEID(QDesignerTaskMenuExtension)) return nullptr;
  if (auto* rescalo = qobject_cast<qt::Rescalo*>(object))
    return new RescaloTaskMenu(rescalo, parent);
  return nullptr;
}

}  // namespace rescalo::designer
