// Classic forms on real widgets with their Rescalo running: MDI children, image lists and what
// is bound to them, every example and corpus form dragged and brought back, and the show
// command that does the same for a user.

#include <rescalo/bridge/qt_forms.h>
#include <rescalo/bridge/shown_form.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QListWidget>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QToolBar>
#include <QTreeWidget>
#include <cstdlib>
#include <fstream>
#include <map>

#include <rescalo/control/rescalo.h>
#include <rescalo/qt/qt_control.h>
#include <rescalo/qt/qt_form.h>
#include <rescalo/qt/qt_image_list.h>
#include <rescalo/qt/qt_services.h>
#include <rescalo/runtime/picture.h>
#include "built_form.h"
#include "cli_support.h"
#include "comparison.h"
#include "corpus.h"
#include "host_support.h"
#include "rescalo_support.h"
#include "shown_like_runtime.h"
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using testing_support::block;
using testing_support::BuiltForm;
using testing_support::place;

namespace {

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

// An MDI form's area is what its aligned box leaves. A child opens there at its client size,
// its window rectangle its sub-window's frame in the area; its menus go to the parent's bar
// while it is active, and maximized it keeps its proportions as the form is dragged.
TEST(QtFormBuilder, AnMdiChildLivesInItsFormsAreaAndShowsItsMenusOnItsParentsBar) {
  auto menu = [](const char* name, const char* caption) {
    return block(std::string("VB.Menu ") + name, std::string("Caption = \"") + caption + "\"\n");
  };
  const std::string childHeader =
      "ClientHeight = 1500\nClientLeft = 60\nClientTop = 345\nClientWidth = 3000\nMDIChild = -1\n";
  BuiltForm main("VERSION 5.00\n" +
                 block("VB.MDIForm mdiMain",
                       "ClientHeight = 4500\nClientWidth = 6000\n" +
                           block("VB.PictureBox picTools", "Align = 1\n" + place(0, 0, 6000, 600)) +
                           menu("mnuFile", "&File")));
  BuiltForm child("VERSION 5.00\n" +
                  block("VB.Form frmChild",
                        childHeader + block("VB.CommandButton cmd", place(600, 300, 1500, 300)) +
                            menu("mnuEdit", "&Edit") + menu("mnuView", "&View")));
  BuiltForm plain("VERSION 5.00\n" + block("VB.Form frmPlain", childHeader));
  // The child's menus go to its parent: it has no bar of its own.
  EXPECT_FALSE(qobject_cast<QMainWindow*>(child.qt.window.get()));
  auto& mdi = static_cast<QMainWindow&>(*main.qt.window);
  bridge::QtFormWindow& built = child.qt;
  QMdiSubWindow* sub = bridge::addMdiChild(mdi, built, *child.form);
  QMdiSubWindow* other = bridge::addMdiChild(mdi, plain.qt, *plain.form);
  ASSERT_TRUE(sub && other);
  QWidget& childWindow = *built.window;
  EXPECT_EQ(childWindow.size(), QSize(200, 100));  // its client, whatever Qt's frame is
  EXPECT_EQ(sub->pos(), QPoint(0, 0));

  // The area is what the aligned box leaves; the MDI form measures its inner size there.
  auto mdiForm = qt::adoptForm(&mdi);
  EXPECT_EQ(mdiForm->typeName(), "MDIForm");
  mdi.show();
  settle();
  QMdiArea* area = qt::mdiAreaOf(mdi);
  ASSERT_TRUE(area);
  EXPECT_EQ(area->geometry(), QRect(0, host::kMenuBarPixels + 40, 400, 260));
  EXPECT_FLOAT_EQ(mdiForm->get("ScaleHeight").toSingle(), 3900);
  auto captions = [&] {
    QStringList out;
    for (QAction* a : mdi.menuBar()->actions()) out << a->text();
    return out;
  };
  area->setActiveSubWindow(sub);
  EXPECT_EQ(captions(), (QStringList{"&Edit", "&View"}));
  area->setActiveSubWindow(other);
  EXPECT_EQ(captions(), QStringList{"&File"});

  auto childForm = qt::adoptForm(&childWindow);
  EXPECT_TRUE(childForm->get("MDIChild").toBool());
  auto cmd = qt::adoptControl(built.widget("cmd"));
  EXPECT_EQ(cmd->get("Parent").toObject(), childForm);  // its own form, not the main window
  qt::QtPropertyBag settings{{"GradientFill", Variant(false)}};
  QuickRescalo quick(childWindow, settings, child.dir);
  qt::QtWindowApi& api = quick.services.windowApi();
  const auto hWnd = static_cast<host::HWND>(childForm->get("hWnd").toLong());
  EXPECT_EQ(qt::widgetOf(api.GetParent(hWnd)), area->viewport());
  sub->move(30, 40);
  host::RECT r, v;
  ASSERT_TRUE(api.GetWindowRect(hWnd, r) && api.GetWindowRect(api.GetParent(hWnd), v));
  EXPECT_EQ((std::vector<int>{r.left - v.left, r.top - v.top, r.right - r.left, v.right - v.left}),
            (std::vector<int>{30, 40, sub->width(), area->viewport()->width()}));

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
  mdi.resize(600, 450);
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
  EXPECT_EQ(testing_support::errorOf([&] { list->set("ImageWidth", Variant(std::int16_t(16))); }),
            35611);

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
  EXPECT_EQ(testing_support::errorOf([&] { all->call("Clear"); }), 35617);
  toolbar->set("ImageList", Variant(nullptr));
  EXPECT_TRUE(bar->actions()[0]->icon().isNull());
  all->call("Clear");
  EXPECT_EQ(all->get("Count").toLong(), 0);
}

TEST(QtFormBuilder, TreesAndListViewsTakeTheirIconSizeAndIndentationFromTheListsThePassRebuilds) {
  BuiltForm b(
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
                          "View = 1\nIcons = \"ilsLarge\"\nSmallIcons = \"ilsSmall\"\n")));
  bridge::QtFormWindow& built = b.qt;
  auto* tree = b.widget<QTreeWidget>("tvw");
  auto* view = b.widget<QListWidget>("lvw");
  ASSERT_TRUE(tree && view);
  EXPECT_EQ(qt::adoptControl(view)->typeName(), "ListView");
  EXPECT_EQ(tree->iconSize(), QSize(16, 16));
  EXPECT_EQ(tree->indentation(), 20);
  EXPECT_EQ(view->iconSize(), QSize(16, 16));  // small icons in the list view

  qt::QtPropertyBag settings{{"GradientFill", Variant(false)}};
  QuickRescalo quick(*built.window, settings, b.dir);
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

// The command itself with no display: on the embedded runtime's screen, each step as JSON, every
// widget Qt shows, a parent before its children, in its parent's coordinates, with names decoded
// from the form's code page; a size the screen cannot hold is said so.
TEST(QtFormBuilder, TheShowCommandListsEveryWidgetAsQtShowsItAndChecksItAgainstTheRuntime) {
  QTemporaryDir dir;
  const std::filesystem::path frm = dir.filePath("f.frm").toStdString();
  std::ofstream(frm, std::ios::binary) << testing_support::formText(
      block("VB.Frame fra", "Caption = \"Gro\xDF\"\n" + place(150, 150, 3000, 1500) +
                                block("VB.CommandButton cmd",
                                      "Caption = \"\xC7"
                                      "a\"\nIndex = 3\n" +
                                          place(300, 450, 1200, 450))) +
      block("TabDlg.SSTab tab", "Tabs = 2\n" + place(150, 1800, 3000, 1000)));
  const std::filesystem::path out = dir.filePath("out.json").toStdString();
  const std::filesystem::path err = dir.filePath("err.txt").toStdString();
  const int status = std::system(
      ("env -u QT_QPA_PLATFORM -u DISPLAY -u WAYLAND_DISPLAY " RESCALO_CLI " show " + frm.string() +
       " --json --check --screenshot " + dir.filePath("shots").toStdString() +
       " --scale 1.5 --size 400000x300000 > " + out.string() + " 2> " + err.string())
          .c_str());
  const std::string said = testing_support::readAll(err);
  ASSERT_EQ(status, 0) << said;
  EXPECT_TRUE(testing_support::has(said, "cannot hold it")) << said;
  EXPECT_FALSE(testing_support::has(said, "warning")) << said;
  EXPECT_TRUE(QFile::exists(dir.filePath("shots/step-2.png")));
  const std::string bytes = testing_support::readAll(out);
  ASSERT_TRUE(frm::isValidUtf8(bytes));
  QJsonParseError error;
  const QJsonDocument doc = QJsonDocument::fromJson(QByteArray::fromStdString(bytes), &error);
  ASSERT_EQ(error.error, QJsonParseError::NoError) << bytes;
  const QJsonArray steps = doc.object()["steps"].toArray();
  ASSERT_EQ(steps.size(), 3);
  for (const auto& step : steps)
    EXPECT_EQ(step.toObject()["mismatches"].toArray(), QJsonArray()) << bytes;
  EXPECT_EQ(steps[1].toObject()["step"].toString(), "--scale 1.5");
  const QJsonObject inner = steps[1].toObject()["inner"].toObject();
  const int shownWidth = steps[0].toObject()["inner"].toObject()["width_px"].toInt();
  EXPECT_NEAR(inner["width_px"].toInt(), shownWidth * 1.5, 1);
  EXPECT_EQ(inner["width_twips"].toInt(), inner["width_px"].toInt() * 15);
  EXPECT_FALSE(steps[1].toObject().contains("short"));
  EXPECT_TRUE(steps[2].toObject().contains("short"));

  QStringList seen;
  for (const auto& v : steps[1].toObject()["widgets"].toArray()) {
    const QJsonObject w = v.toObject();
    const QString parent = w["parent"].toString();
    EXPECT_TRUE(parent == "Form1" || seen.contains(parent)) << "a parent comes first";
    seen << w["name"].toString();
    if (w["name"] == "cmd(3)") {
      EXPECT_EQ(w["class"].toString(), "QPushButton");
      EXPECT_EQ(parent, "fra");
      EXPECT_EQ(w["text"].toString(), "Ça");
      EXPECT_EQ(QRect(w["x"].toInt(), w["y"].toInt(), w["width"].toInt(), w["height"].toInt()),
                QRect(30, 45, 120, 45));
      EXPECT_NEAR(w["font_points"].toDouble(), 8.25 * 1.5, 0.75) << "the scaled font, in points";
    }
    if (w["name"] == "fra") {
      EXPECT_EQ(w["text"].toString(), "Groß");
    }
  }
  EXPECT_TRUE(seen.contains("cmd(3)") && seen.contains("tab"));
  // Qt's own inner widgets are there too: the tab widget's stack and its pages.
  EXPECT_TRUE(seen.contains("qt_tabwidget_stackedwidget")) << seen.join(' ').toStdString();
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
    runtime::Runtime design(testing_support::optionsIn(dir));
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
