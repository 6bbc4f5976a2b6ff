// Classic forms built into real widgets: what the builder makes of a form, and every example
// and corpus form opened on Qt with its Rescalo running, dragged and brought back.

#include "cli/qt_forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <map>

#include "control/rescalo.h"
#include "corpus.h"
#include "qt/qt_control.h"
#include "qt/qt_form.h"
#include "runtime/common_controls.h"
#include "runtime/form.h"
#include "runtime/loader.h"

using host::Variant;

namespace {

runtime::RuntimeOptions options(const QTemporaryDir& dir) {
  runtime::RuntimeOptions o;
  o.settingsFile = dir.filePath("settings").toStdString();
  return o;
}

TEST(QtFormBuilder, ControlsBecomeWidgetsInTheirContainersWithTheirOwnLooks) {
  QTemporaryDir dir;
  runtime::Runtime rt(options(dir));
  const std::string text = R"(VERSION 5.00
Begin VB.Form frmTest
   Caption         =   "Test form"
   ClientHeight    =   3000
   ClientWidth     =   4500
   Begin VB.Frame fra
      Caption         =   "Group"
      Height          =   1500
      Left            =   150
      Top             =   300
      Width           =   3000
      Begin VB.CommandButton cmd
         Caption         =   "Go"
         Height          =   450
         Index           =   2
         Left            =   300
         Top             =   450
         Width           =   1200
         BeginProperty Font
            Name            =   "Arial"
            Size            =   12
            Weight          =   700
         EndProperty
      End
   End
   Begin VB.TextBox txt
      Height          =   300
      Left            =   150
      Top             =   2100
      Visible         =   0   'False
      Width           =   1500
   End
   Begin VB.Timer tmr
      Interval        =   100
      Left            =   0
      Top             =   0
   End
   Begin VB.Line lin
      X1              =   0
      X2              =   100
      Y1              =   0
      Y2              =   100
   End
End
)";
  auto form = runtime::buildForm(rt, frm::read(text, "test.frm"), "test.frm", {.userMode = false});
  cli::QtFormWindow built = cli::buildQtForm(*form);
  QWidget& window = *built.window;
  EXPECT_EQ(window.windowTitle(), "Test form");
  EXPECT_EQ(window.size(), QSize(300, 200));

  auto* fra = qobject_cast<QGroupBox*>(built.widget("fra"));
  auto* cmd = qobject_cast<QPushButton*>(built.widget("cmd(2)"));
  auto* txt = qobject_cast<QLineEdit*>(built.widget("txt"));
  ASSERT_TRUE(fra && cmd && txt);
  EXPECT_EQ(cmd->parentWidget(), fra);
  EXPECT_EQ(cmd->geometry(), QRect(20, 30, 80, 30));
  EXPECT_EQ(cmd->text(), "Go");
  EXPECT_EQ(cmd->font().pixelSize(), 16);
  EXPECT_TRUE(cmd->font().bold());
  EXPECT_TRUE(txt->isHidden());

  // The control key of an array member comes back through the widget's Index.
  auto adapter = qthost::adoptControl(cmd);
  EXPECT_EQ(adapter->get("Index").toLong(), 2);
  EXPECT_EQ(adapter->get("Container").toObject(), qthost::adoptControl(fra));
  EXPECT_EQ(built.leftOut, (std::vector<std::pair<std::string, int>>{{"Line", 1}, {"Timer", 1}}));
  EXPECT_FALSE(built.hasRescalo);
}

// The form's document with a Rescalo, as the command gives a form that has none.
frm::Document withRescalo(runtime::Runtime& design, const std::filesystem::path& file) {
  runtime::LoadedForm lf = runtime::loadForm(design, file, {.userMode = false});
  for (const auto& c : lf.form->controls)
    if (c->typeName() == "Rescalo") return lf.document;
  runtime::addUserControl(*lf.form, lf.document, control::kRescaloClass, "Rescalo", 0, 0);
  runtime::storeForm(*lf.form, lf.document);
  return lf.document;
}

using Layout = std::map<std::string, QRect>;

bool aligned(const runtime::Control& c) {
  auto* box = dynamic_cast<const runtime::PictureBox*>(&c);
  return box && box->align() != 0;
}

// Where the engine itself does not come back to the design, on either host: every control of
// an MDI form with aligned boxes (its inner size is what the boxes leave, and they are scaled
// by it), what aligned boxes hold on a form saved maximized, and toolbars, whose height loop
// only grows their buttons.
bool outsideComparison(const runtime::Control& c, const runtime::Form& form) {
  const bool anyAligned = std::any_of(form.controls.begin(), form.controls.end(),
                                      [](const auto& other) { return aligned(*other); });
  if (form.isMdi() && anyAligned) return true;
  const host::Variant* state = form.stored.find("WindowState");
  if (state && state->toLong() == 2)
    for (auto* p = dynamic_cast<const runtime::Control*>(c.container); p;
         p = dynamic_cast<const runtime::Control*>(p->container))
      if (aligned(*p)) return true;
  return c.typeName() == "Toolbar";
}

Layout layoutOf(const cli::QtFormWindow& built, const runtime::Form* form = nullptr) {
  Layout out;
  for (const auto& [key, w] : built.widgets) {
    const runtime::Control* c = form ? form->find(key) : nullptr;
    if (!c || !outsideComparison(*c, *form)) out[key] = w->geometry();
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
    const frm::Document doc = withRescalo(design, file);
    auto designForm = runtime::buildForm(design, doc, file, {.userMode = false});
    cli::QtFormWindow built = cli::buildQtForm(*designForm);
    ASSERT_TRUE(built.hasRescalo);
    // Handled at once, without the opening and closing animations: no waiting in real time.
    // A Qt window has no persistent drawing surface yet, so a gradient cannot be painted on
    // it; the pass is what is checked here.
    for (const char* name : {"ResizeOnMouseUp", "SaveWindowState", "GradientFill"})
      built.rescaloSettings.WriteProperty(name, Variant(false));
    for (const char* name : {"FormOpen", "FormClose"})
      built.rescaloSettings.WriteProperty(name, Variant(std::int32_t(0)));

    qthost::QtServices services(dir.filePath("settings.ini"));
    services.quietMessageBoxes = true;
    qthost::AttachOptions opt;
    opt.properties = &built.rescaloSettings;
    auto rescalo =
        qthost::attach(built.window.get(), std::make_shared<control::Rescalo>(), services, opt);
    std::vector<std::string> errors;
    rescalo->subscribe([&](std::string_view event, host::Args args) {
      if (event == "Error") errors.push_back(args.empty() ? "" : args[0].toString());
    });
    built.window->show();
    QApplication::processEvents();
    const Layout shown = layoutOf(built);
    const Layout shownCompared = layoutOf(built, designForm.get());

    auto form = qthost::adoptForm(built.window.get());
    const double w = form->get("Width").toDouble(), h = form->get("Height").toDouble();
    form->call("Move", {Variant(0), Variant(0), Variant(w * 1.5), Variant(h * 1.5)});
    if (!shown.empty()) {
      EXPECT_NE(layoutOf(built), shown);  // the pass ran on real widgets
    }
    for (double f : {0.7, 1.0})
      form->call("Move", {Variant(0), Variant(0), Variant(w * f), Variant(h * f)});
    QApplication::processEvents();
    EXPECT_EQ(layoutOf(built, designForm.get()), shownCompared);
    // The control lets go of a toolbar's ImageList for the pass but not of its
    // DisabledImageList or HotImageList, so such a list cannot be rebuilt: on either host it
    // abandons the pass with the control's own message.
    const bool holdsList =
        std::any_of(designForm->controls.begin(), designForm->controls.end(), [](const auto& c) {
          auto* bar = dynamic_cast<const runtime::Toolbar*>(c.get());
          return bar && (bar->disabledImageList.list() || bar->hotImageList.list());
        });
    for (const std::string& e : errors)
      EXPECT_TRUE(holdsList && e.find(" has a one or more controls bound to it") != e.npos) << e;
    EXPECT_EQ(services.messages, std::vector<std::string>{});
    rescalo.reset();
  }
}

}  // namespace
