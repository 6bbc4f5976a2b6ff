// Rescalo in Qt Designer: the plugin as Designer and QUiLoader load it from the build tree, a
// form written with a Rescalo on it and read back, and "Edit Rescalo..." on a form's widgets.

#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QLabel>
#include <QPluginLoader>
#include <QPushButton>
#include <QXmlStreamReader>
#include <QtDesigner/QFormBuilder>
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#include <QtUiTools/QUiLoader>
#include <memory>
#include <tuple>
#include <vector>

#include <rescalo/bridge/open_form.h>
#include <rescalo/bridge/shown_form.h>
#include <rescalo/designer/rescalo_editing.h>
#include "../qt_sheet/sheet_support.h"
#include "qt_application.h"

using namespace rescalo;
using namespace rescalo::testing_support;

namespace {

void wait(int ms) { bridge::settle(ms); }

QDesignerCustomWidgetInterface* loadPlugin(QString* error) {
  static QPluginLoader loader(RESCALO_DESIGNER_PLUGIN);
  auto* plugin = qobject_cast<QDesignerCustomWidgetInterface*>(loader.instance());
  if (!plugin) *error = loader.errorString();
  return plugin;
}

// A small form: OK locked to the bottom-right corner at its size, a label left as it is.
struct Form {
  std::unique_ptr<QWidget> form = std::make_unique<QWidget>();
  QPushButton* ok = new QPushButton("OK", form.get());
  QLabel* label = new QLabel("Name", form.get());
  Form() {
    form->setObjectName("OrderForm");
    form->resize(400, 300);
    ok->setObjectName("cmdOK");
    ok->setGeometry(300, 250, 80, 30);
    ok->setProperty(qt::kLocksProperty, "Right|Bottom|Width|Height");
    label->setObjectName("lblName");
    label->setGeometry(20, 20, 100, 20);
  }
};

// Shown, dragged to twice its size and back: OK keeps to its corner, the label follows.
void expectItRescales(QWidget& window) {
  auto* ok = window.findChild<QPushButton*>("cmdOK");
  auto* label = window.findChild<QLabel*>("lblName");
  ASSERT_TRUE(ok && label);
  window.show();
  wait(200);
  window.resize(800, 600);
  wait(300);
  EXPECT_EQ(ok->geometry(), QRect(700, 550, 80, 30));
  EXPECT_EQ(label->geometry(), QRect(40, 40, 200, 40));
  window.resize(400, 300);
  wait(300);
  EXPECT_EQ(ok->geometry(), QRect(300, 250, 80, 30));
  EXPECT_EQ(label->geometry(), QRect(20, 20, 100, 20));
}

TEST(DesignerPlugin, OffersTheRescaloInTheWidgetBoxAndMakesOneThatRescalesItsForm) {
  QString error;
  QDesignerCustomWidgetInterface* plugin = loadPlugin(&error);
  ASSERT_NE(plugin, nullptr) << error.toStdString();
  EXPECT_EQ(plugin->name(), "rescalo::qt::Rescalo");
  EXPECT_EQ(plugin->group(), "Rescalo");
  EXPECT_EQ(plugin->includeFile(), "rescalo/qt.h");
  EXPECT_FALSE(plugin->isContainer());
  EXPECT_FALSE(plugin->icon().isNull());

  // What Designer drops on a form: one widget of the plugin's class, named for the box.
  QXmlStreamReader xml(plugin->domXml());
  QString displayName, widgetClass;
  while (xml.readNextStartElement()) {
    if (xml.name() == u"ui") {
      displayName = xml.attributes().value("displayname").toString();
    } else if (xml.name() == u"widget") {
      widgetClass = xml.attributes().value("class").toString();
      break;
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(displayName, "Rescalo");
  EXPECT_EQ(widgetClass, plugin->name());

  // Outside Designer (never initialised) the plugin makes the run-time widget.
  EXPECT_FALSE(plugin->isInitialized());
  Form f;
  QWidget* made = plugin->createWidget(f.form.get());
  ASSERT_NE(made, nullptr);
  EXPECT_TRUE(made->inherits("rescalo::qt::Rescalo"));
  EXPECT_EQ(made->parentWidget(), f.form.get());
  EXPECT_TRUE(made->isHidden());
  EXPECT_TRUE(made->property("scaleFonts").toBool());
}

TEST(DesignerPlugin, AFormWrittenWithARescaloReadsBackThroughQUiLoaderAndRescales) {
  QByteArray ui;
  {
    Form f;
    qt::Rescalo* r = qt::Rescalo::createAtDesignTime(f.form.get());
    r->setObjectName("rescalo");
    r->setScaleFonts(false);
    r->setResizeWhenDragEnds(false);
    r->setMinimumWindowSize({200, 150});
    r->setGradientColor(QColor(10, 20, 30));
    QBuffer out(&ui);
    out.open(QIODevice::WriteOnly);
    QFormBuilder().save(&out, f.form.get());
  }
  ASSERT_TRUE(ui.contains("rescalo::qt::Rescalo"));
  // QFormBuilder writes neither dynamic properties nor the enums of a widget's own class (it
  // says so); Designer writes both, as here.
  ASSERT_FALSE(ui.contains("rescaloLocks"));
  const auto addTo = [&ui](const QByteArray& widget, const QByteArray& property) {
    const qsizetype at = ui.indexOf("name=\"" + widget + "\">");
    ASSERT_GE(at, 0) << widget.toStdString();
    ui.insert(ui.indexOf('>', at) + 1, property);
  };
  addTo("cmdOK",
        "<property name=\"rescaloLocks\" stdset=\"0\"><string>Right|Bottom|Width|Height</string>"
        "</property>");
  addTo("rescalo",
        "<property name=\"openEffect\"><enum>rescalo::qt::Rescalo::Fold</enum></property>");

  QUiLoader loader;
  loader.addPluginPath(RESCALO_DESIGNER_PLUGIN_DIR);
  QBuffer in(&ui);
  in.open(QIODevice::ReadOnly);
  std::unique_ptr<QWidget> window(loader.load(&in));
  ASSERT_NE(window, nullptr) << loader.errorString().toStdString();
  QWidget* r = window->findChild<QWidget*>("rescalo");
  ASSERT_NE(r, nullptr);
  EXPECT_TRUE(r->inherits("rescalo::qt::Rescalo"));
  // The plugin's copy of the class made it; the application still finds it as its own.
  EXPECT_EQ(window->findChild<qt::Rescalo*>(), nullptr);
  EXPECT_EQ(qt::rescaloOf(window.get()), static_cast<QWidget*>(r));
  EXPECT_TRUE(r->isHidden());
  EXPECT_FALSE(r->property("scaleFonts").toBool());
  EXPECT_FALSE(r->property("resizeWhenDragEnds").toBool());
  EXPECT_EQ(r->property("minimumWindowSize").toSize(), QSize(200, 150));
  EXPECT_EQ(r->property("gradientColor").value<QColor>(), QColor(10, 20, 30));
  EXPECT_EQ(r->property("openEffect").toInt(), int(qt::Rescalo::Fold));
  auto* ok = window->findChild<QPushButton*>("cmdOK");
  ASSERT_NE(ok, nullptr);
  EXPECT_EQ(ok->property(qt::kLocksProperty).toString(), "Right|Bottom|Width|Height");
  expectItRescales(*window);
}

// What the editor handed to the form, in order.
struct RecordedEdits : designer::FormEdits {
  std::vector<std::tuple<QWidget*, QString, QVariant>> properties;
  std::vector<std::tuple<QWidget*, QString, QString>> flags;
  void setProperty(QWidget* w, const char* name, const QVariant& value) override {
    properties.emplace_back(w, name, value);
  }
  void setFlags(QWidget* w, const char* name, const QString& text) override {
    flags.emplace_back(w, name, text);
  }
};

TEST(EditRescalo, ThePagesListTheFormsWidgetsAndWhatTheyApplyGoesBackIntoTheForm) {
  Form f;
  qt::Rescalo* r = qt::Rescalo::createAtDesignTime(f.form.get());
  r->setObjectName("rescalo");
  auto* help = new QPushButton("Help", f.form.get());
  help->setObjectName("cmdHelp");
  help->setGeometry(20, 250, 80, 30);
  f.label->setProperty(qt::kExcludeProperty, "Font");

  const QWidgetList widgets = designer::formWidgets(*f.form, [](QWidget*) { return true; });
  EXPECT_EQ(widgets, (QWidgetList{f.ok, f.label, help}));

  RecordedEdits edits;
  designer::editRescalo(*r, *f.form, widgets, edits, [&](qt::PropertySheetDialog& d) {
    d.show();
    QApplication::processEvents();
    EXPECT_EQ(d.windowTitle(), "rescalo Properties");
    fieldOf<QCheckBox>(d, "General", "chkScaleFonts").setChecked(false);
    // The form's widgets are the page's controls, with the flags they carry.
    showTab(d, 2);
    EXPECT_EQ(itemOf(d, "ScaleControls", "cmdOK").checkState(), Qt::Unchecked);
    clickOn(d, "ScaleControls", "cmdOK");
    EXPECT_TRUE(fieldOf<QCheckBox>(d, "ScaleControls", "chkLockRight").isChecked());
    // Excluding Help locks its place and size; then its width is let go again.
    itemOf(d, "ScaleControls", "cmdHelp").setCheckState(Qt::Checked);
    clickOn(d, "ScaleControls", "cmdHelp");
    fieldOf<QCheckBox>(d, "ScaleControls", "chkLockWidth").setChecked(false);
    showTab(d, 3);
    QListWidgetItem& label = itemOf(d, "ScaleFonts", "lblName");
    EXPECT_EQ(label.checkState(), Qt::Checked);
    label.setCheckState(Qt::Unchecked);
    d.okButton().click();
  });

  // The Rescalo on the form changed only through the edits, which Designer can undo.
  EXPECT_TRUE(r->scaleFonts());
  EXPECT_EQ(edits.properties, (decltype(edits.properties){{r, "scaleFonts", QVariant(false)}}));
  const std::vector<std::tuple<QWidget*, QString, QString>> flags{
      {f.label, qt::kExcludeProperty, ""},
      {help, qt::kLocksProperty, "Left|Top|Height"},
      {help, qt::kExcludeProperty, "Control"}};
  EXPECT_EQ(edits.flags, flags);

  // Cancelled with nothing applied: nothing to write.
  RecordedEdits none;
  designer::editRescalo(*r, *f.form, widgets, none, [](qt::PropertySheetDialog& d) {
    d.show();
    QApplication::processEvents();
    fieldOf<QCheckBox>(d, "General", "chkCenterX").setChecked(true);
    d.cancelButton().click();
  });
  EXPECT_TRUE(none.properties.empty());
  EXPECT_TRUE(none.flags.empty());
}

}  // namespace
