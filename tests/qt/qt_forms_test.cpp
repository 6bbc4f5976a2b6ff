// Classic forms built into real widgets: what the builder makes of a form, and every example
// and corpus form opened on Qt with its Rescalo running, dragged and brought back.

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/bridge/shown_form.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>
#include <map>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_image_list.h>
#include <rescalo/qt/qt_services.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/picture.h>
#include "cli_support.h"
#include "comparison.h"
#include "corpus.h"
#include "rescalo_support.h"
#include "shown_like_runtime.h"
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::block;
using testing_support::place;

namespace {

runtime::RuntimeOptions options(const QTemporaryDir& dir) {
  runtime::RuntimeOptions o;
  o.settingsFile = dir.filePath("settings").toStdString();
  return o;
}

// Real time in the event loop, for what the window system does later (maximizing).
void settle(int ms = 100) { bridge::settle(ms); }

// A Rescalo on a built window that handles everything at once: at each size as it comes, no
// opening or closing animation, no remembered window, message boxes answered. The errors it
// raises are kept.
struct QuickRescalo {
  qt::QtServices services;
  std::shared_ptr<qt::QtUserControlHost> rescalo;
  std::vector<std::string> errors;
  QuickRescalo(QWidget& window, host::PropertyBag& settings, const QTemporaryDir& dir)
      : services(dir.filePath("settings.ini")) {
    services.quietMessageBoxes = true;
    for (const char* name : {"ResizeOnMouseUp", "SaveWindowState"})
      settings.WriteProperty(name, Variant(false));
    for (const char* name : {"FormOpen", "FormClose"})
      settings.WriteProperty(name, Variant(std::int32_t(0)));
    qt::AttachOptions opt;
    opt.properties = &settings;
    rescalo = qt::attach(&window, control::makeRescalo(), services, opt);
    rescalo->subscribe([this](std::string_view event, host::Args args) {
      if (event == "Error") errors.push_back(args.empty() ? "" : args[0].toString());
    });
  }
};

TEST(QtFormBuilder, AnMdiChildMaximizedInItsFormsAreaKeepsItsProportionsWhenTheFormIsDragged) {
  QTemporaryDir dir;
  runtime::Runtime rt(options(dir));
  auto design = [&](const std::string& what, const std::string& inside, const char* file) {
    return runtime::buildForm(rt, frm::read("VERSION 5.00\n" + block(what, inside), file), file,
                              {.userMode = false});
  };
  auto main = design("VB.MDIForm mdiMain",
                     "ClientHeight = 4500\nClientWidth = 6000\n" +
                         block("VB.PictureBox picTools", "Align = 1\n" + place(0, 0, 6000, 600)),
                     "main.frm");
  auto child = design("VB.Form frmChild",
                      "ClientHeight = 1500\nClientLeft = 60\nClientTop = 345\nClientWidth = 3000\n"
                      "MDIChild = -1\n" +
                          block("VB.CommandButton cmd", place(600, 300, 1500, 300)),
                      "child.frm");
  bridge::QtFormWindow mdi = bridge::buildQtForm(*main);
  bridge::QtFormWindow built = bridge::buildQtForm(*child);
  QMdiSubWindow* sub = bridge::addMdiChild(*mdi.window, built, *child);
  ASSERT_TRUE(sub);
  QWidget& childWindow = *built.window;
  EXPECT_EQ(childWindow.size(), QSize(200, 100));  // its client, whatever Qt's frame is
  EXPECT_EQ(sub->pos(), QPoint(0, 0));

  // The area is what the aligned box leaves; the MDI form measures its inner size there.
  auto mdiForm = qt::adoptForm(mdi.window.get());
  EXPECT_EQ(mdiForm->typeName(), "MDIForm");
  mdi.window->show();
  settle();
  QMdiArea* area = qt::mdiAreaOf(*mdi.window);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->geometry(), QRect(0, 40, 400, 260));
  EXPECT_FLOAT_EQ(mdiForm->get("ScaleHeight").toSingle(), 3900);

  auto childForm = qt::adoptForm(&childWindow);
  EXPECT_TRUE(childForm->get("MDIChild").toBool());
  auto cmd = qt::adoptControl(built.widget("cmd"));
  EXPECT_EQ(cmd->get("Parent").toObject(), childForm);  // its own form, not the main window
  qt::QtPropertyBag settings;
  settings.WriteProperty("GradientFill", Variant(false));
  QuickRescalo quick(childWindow, settings, dir);
  EXPECT_EQ(qt::widgetOf(quick.services.windows().GetParent(childForm->get("hWnd").toLong())),
            area->viewport());
  childForm->set("WindowState", Variant(std::int16_t(2)));
  settle();
  // Each place in proportion to the child's inner area: 600/3000 across, 300/1500 down...
  auto expectProportional = [&] {
    const QRect g = built.widget("cmd")->geometry();
    const double w = childWindow.width(), h = childWindow.height();
    EXPECT_NEAR(g.x(), w * 0.2, 1.0);
    EXPECT_NEAR(g.y(), h * 0.2, 1.0);
    EXPECT_NEAR(g.width(), w * 0.5, 1.0);
    EXPECT_NEAR(g.height(), h * 0.2, 1.0);
  };
  const QSize maximized = childWindow.size();
  EXPECT_GT(maximized.width(), 300);  // it fills the area, less the sub-window's frame
  expectProportional();
  // ... and again once the MDI form is dragged bigger: the area, and the child, follow.
  mdi.window->resize(600, 450);
  settle();
  EXPECT_GT(childWindow.width(), maximized.width() + 150);
  expectProportional();
}

TEST(QtFormBuilder, AnImageListKeepsItsImagesAtOneSizeAndCannotChangeWhileBound) {
  QWidget form;
  auto* images = new qt::QtImageList(&form);
  QPixmap red(32, 16);
  red.fill(Qt::red);
  const Variant picture(host::ObjectPtr(runtime::makePicture(raster::Bitmap(32, 16))));
  images->definePicture(picture, red);
  auto list = qt::adoptControl(images);
  EXPECT_EQ(list->typeName(), "ImageList");
  host::ObjectPtr all = list->get("ListImages").toObject();
  all->call("Add", {Variant(), Variant("red"), picture});
  all->call("Add", {Variant(1), Variant("none"), Variant(nullptr)});
  // The first picture decides the size of an empty list; a picture not named adds no pixmap.
  EXPECT_EQ(list->get("ImageWidth").toInteger(), 32);
  EXPECT_EQ(all->get("Count").toLong(), 2);
  EXPECT_EQ(all->call("Item", {Variant("red")}).toObject()->get("Index").toLong(), 2);
  EXPECT_TRUE(images->images()[1].pixmap.size() == QSize(32, 16));
  EXPECT_TRUE(images->images()[0].pixmap.isNull());
  EXPECT_THROW(list->set("ImageWidth", Variant(std::int16_t(16))), host::HostError);  // 35611

  // Rebuilt smaller, as the pass does, the images follow the new size.
  all->call("Clear");
  list->set("ImageWidth", Variant(std::int16_t(16)));
  list->set("ImageHeight", Variant(std::int16_t(8)));
  all->call("Add", {Variant(), Variant("red"), picture});
  EXPECT_EQ(images->images()[0].pixmap.size(), QSize(16, 8));

  // A toolbar bound to it takes its icons from it, and holds it until it lets go.
  auto* bar = new QToolBar(&form);
  bar->addAction("One")->setProperty("Image", QString("red"));
  auto toolbar = qt::adoptControl(bar);
  toolbar->set("ImageList", Variant(host::ObjectPtr(list)));
  EXPECT_FALSE(bar->actions()[0]->icon().isNull());
  EXPECT_EQ(toolbar->get("ImageList").toObject(), list);
  try {
    all->call("Clear");
    ADD_FAILURE() << "a bound list was cleared";
  } catch (const host::HostError& e) {
    EXPECT_EQ(e.number(), 35617);
  }
  toolbar->set("ImageList", Variant(nullptr));
  EXPECT_TRUE(bar->actions()[0]->icon().isNull());
  all->call("Clear");
  EXPECT_EQ(all->get("Count").toLong(), 0);
}

TEST(QtFormBuilder, TreesAndListViewsTakeTheirIconSizeAndIndentationFromTheListsThePassRebuilds) {
  QTemporaryDir dir;
  runtime::Runtime rt(options(dir));
  control::registerRescalo(rt.userControls());
  const std::string text =
      "VERSION 5.00\nObject = \"{831FDD16-0C5C-11D2-A9FC-0000F8754DA1}#2.0#0\"; "
      "\"MSCOMCTL.OCX\"\n" +
      block("VB.Form frmTree",
            "ClientHeight = 3000\nClientWidth = 4500\n" +
                block("MSComctlLib.ImageList ilsSmall",
                      "Left = 0\nTop = 0\nImageWidth = 16\nImageHeight = 16\n") +
                block("MSComctlLib.ImageList ilsLarge",
                      "Left = 0\nTop = 0\nImageWidth = 32\nImageHeight = 32\n") +
                block("MSComctlLib.TreeView tvw",
                      place(150, 150, 2000, 2400) + "ImageList = \"ilsSmall\"\n") +
                block("MSComctlLib.ListView lvw",
                      place(2300, 150, 2000, 2400) +
                          "View = 1\nIcons = \"ilsLarge\"\nSmallIcons = \"ilsSmall\"\n"));
  frm::Document doc = frm::read(text, "tree.frm");
  auto designForm = runtime::buildForm(rt, doc, "tree.frm", {.userMode = false});
  bridge::QtFormWindow built = bridge::buildQtForm(*designForm);
  auto* tree = qobject_cast<QTreeWidget*>(built.widget("tvw"));
  auto* view = qobject_cast<QListWidget*>(built.widget("lvw"));
  ASSERT_TRUE(tree && view);
  EXPECT_EQ(qt::adoptControl(view)->typeName(), "ListView");
  EXPECT_EQ(tree->iconSize(), QSize(16, 16));
  EXPECT_EQ(tree->indentation(), 20);
  EXPECT_EQ(view->iconSize(), QSize(16, 16));  // small icons in the list view

  qt::QtPropertyBag settings;
  settings.WriteProperty("GradientFill", Variant(false));
  QuickRescalo quick(*built.window, settings, dir);
  built.window->show();
  QApplication::processEvents();
  auto form = qt::adoptForm(built.window.get());
  const double w = form->get("Width").toDouble(), h = form->get("Height").toDouble();
  form->call("Move", {Variant(0), Variant(0), Variant(w * 2), Variant(h * 1.5)});
  QApplication::processEvents();
  EXPECT_EQ(quick.errors, std::vector<std::string>{});
  // The lists were rebuilt at the scaled size and bound again: the tree and the view follow.
  EXPECT_EQ(tree->iconSize(), QSize(32, 24));
  EXPECT_EQ(tree->indentation(), 36);
  EXPECT_EQ(view->iconSize(), QSize(32, 24));
  form->call("Move", {Variant(0), Variant(0), Variant(w), Variant(h)});
  QApplication::processEvents();
  EXPECT_EQ(tree->iconSize(), QSize(16, 16));
  EXPECT_EQ(tree->indentation(), 20);
}

// The project's forms on Qt's small offscreen screen, where a drag to twice the size stops at
// the screen: both hosts stop at the same inner size, and the controls that are never scaled
// stay where they are in both.
TEST(QtFormBuilder, ExampleFormsDraggedPastTheScreenMatchTheRuntime) {
  testing_support::expectShownLikeTheRuntime(
      testing_support::formsIn(testing_support::examplesDir()), {2.0, 0.7});
}

// The command itself, on the embedded runtime's screen when there is no display.
TEST(QtFormBuilder, TheShowCommandChecksAFormAgainstTheRuntime) {
  QTemporaryDir shots;
  const testing_support::Result r = testing_support::runRescalo(
      "show \"" + (testing_support::examplesDir() / "demo.frm").string() + "\" --screenshot \"" +
          shots.filePath("shots").toStdString() + "\" --scale 1.5 --scale 1 --check",
      "env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY");
  EXPECT_EQ(r.exitCode, 0) << r.out;
  EXPECT_TRUE(testing_support::has(r.out, "every widget within one pixel of the runtime")) << r.out;
  EXPECT_TRUE(QFile::exists(shots.filePath("shots/step-2.png")));
}

using Layout = std::map<std::string, QRect>;

Layout layoutOf(const bridge::QtFormWindow& built, const runtime::Form* form = nullptr) {
  Layout out;
  for (const auto& [key, w] : built.widgets) {
    const runtime::Control* c = form ? form->find(key) : nullptr;
    if (!c || !testing_support::outsideComparison(*c, *form)) out[key] = w->geometry();
  }
  return out;
}

TEST(QtFormBuilder, EveryFormOpensOnRealWidgetsAndComesBackWithoutDrift) {
  const auto forms = testing_support::formsToCheck();
  ASSERT_FALSE(forms.empty());
  for (const auto& file : forms) {
    SCOPED_TRACE(file.filename().string());
    QTemporaryDir dir;
    runtime::Runtime design(options(dir));
    control::registerRescalo(design.userControls());
    const frm::Document doc = testing_support::withRescalo(design, frm::readFile(file), file);
    auto designForm = runtime::buildForm(design, doc, file, {.userMode = false});
    bridge::QtFormWindow built = bridge::buildQtForm(*designForm);
    ASSERT_TRUE(built.hasRescalo);
    QuickRescalo quick(*built.window, built.rescaloSettings, dir);
    built.window->show();
    QApplication::processEvents();
    const Layout shown = layoutOf(built);
    const Layout shownCompared = layoutOf(built, designForm.get());

    auto form = qt::adoptForm(built.window.get());
    const double w = form->get("Width").toDouble(), h = form->get("Height").toDouble();
    form->call("Move", {Variant(0), Variant(0), Variant(w * 1.5), Variant(h * 1.5)});
    // The pass ran on real widgets.
    if (!shown.empty()) {
      EXPECT_NE(layoutOf(built), shown);
    }
    for (double f : {0.7, 1.0})
      form->call("Move", {Variant(0), Variant(0), Variant(w * f), Variant(h * f)});
    QApplication::processEvents();
    EXPECT_EQ(layoutOf(built, designForm.get()), shownCompared);
    // Every list a toolbar is bound to is let go of while it is rebuilt: no pass is abandoned.
    EXPECT_EQ(quick.errors, std::vector<std::string>{});
    EXPECT_EQ(quick.services.messages, std::vector<std::string>{});
  }
}

}  // namespace
