#include <rescalo/designer/rescalo_editing.h>

#include <QMetaProperty>
#include <memory>

#include <rescalo/pages/pages.h>
#include <rescalo/qt/page_site.h>

namespace rescalo::designer {

QWidgetList formWidgets(QWidget& form, const std::function<bool(QWidget*)>& managed) {
  QWidgetList out;
  // findChildren walks the tree depth first, parents before their children.
  for (QWidget* w : form.findChildren<QWidget*>())
    if (!qobject_cast<qt::Rescalo*>(w) && managed(w)) out << w;
  return out;
}

namespace {

// The flags a widget carries now, in the form the Rescalo writes them.
QString locksOf(const QWidget& w) {
  return qt::toString(qt::locksFromString(w.property(qt::kLocksProperty).toString()));
}
QString excludesOf(const QWidget& w) {
  return qt::toString(qt::excludesFromString(w.property(qt::kExcludeProperty).toString()));
}

}  // namespace

void editRescalo(qt::Rescalo& rescalo, QWidget& form, const QWidgetList& widgets, FormEdits& edits,
                 const std::function<void(qt::PropertySheetDialog&)>& run) {
  // The pages edit a copy: the form is changed only through `edits`, which Designer can undo.
  std::unique_ptr<qt::Rescalo> copy(qt::Rescalo::createAtDesignTime());
  const QMetaObject& meta = qt::Rescalo::staticMetaObject;
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    const char* name = meta.property(i).name();
    copy->setProperty(name, rescalo.property(name));
  }
  copy->setDesignControls(&form, [widgets] { return widgets; });
  for (QWidget* w : widgets) {
    copy->setLocks(w, qt::locksFromString(locksOf(*w)));
    copy->setExcluded(w, qt::excludesFromString(excludesOf(*w)));
  }

  qt::QtPageSite site;
  host::PropertySheet sheet(pages::createPropertyPages(site));
  sheet.select({copy->classic().shared_from_this()});
  {
    qt::PropertySheetDialog dialog(sheet, form.window());
    dialog.setWindowTitle(rescalo.objectName() + " Properties");
    if (run)
      run(dialog);
    else
      dialog.exec();
  }

  // Whatever Apply or OK applied, Cancel or not.
  for (int i = meta.propertyOffset(); i < meta.propertyCount(); ++i) {
    const char* name = meta.property(i).name();
    const QVariant value = copy->property(name);
    if (value != rescalo.property(name)) edits.setProperty(&rescalo, name, value);
  }
  for (QWidget* w : widgets) {
    const QString locks = qt::toString(copy->locks(w));
    if (locks != locksOf(*w)) edits.setFlags(w, qt::kLocksProperty, locks);
    const QString excludes = qt::toString(copy->excluded(w));
    if (excludes != excludesOf(*w)) edits.setFlags(w, qt::kExcludeProperty, excludes);
  }
}

}  // namespace rescalo::designer
