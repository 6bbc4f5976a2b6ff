// Classic forms built into real widgets: what the builder makes of a form, and every example
// and corpus form opened on Qt with its Rescalo running, dragged and brought back.

#include "cli/qt_forms.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <map>

#include "control/rescalo.h"
#include "corpus.h"
#include "qt/qt_control.h"
#include "qt/qt_form.h"
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
   BackColor       =   &H00FF8000&
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
  EXPECT_EQ(qthost::adoptForm(&window)->get("BackColor").toLong(), 0xFF8000);
  EXPECT_EQ(window.grab(QRect(299, 199, 1, 1)).toImage().pixel(0, 0), qRgb(0x00, 0x80, 0xFF));

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

Layout layoutOf(const cli::QtFormWindow& built) {
  Layout out;
  for (const auto& [key, w] : built.widgets) out[key] = w->geometry();
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
    for (const char* name : {"ResizeOnMouseUp", "SaveWindowState"})
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

    auto form = qthost::adoptForm(built.window.get());
    const double w = form->get("Width").toDouble(), h = form->get("Height").toDouble();
    form->call("Move", {Variant(0), Variant(0), Variant(w * 1.5), Variant(h * 1.5)});
    if (!shown.empty()) {
      EXPECT_NE(layoutOf(built), shown);  // the pass ran on real widgets
    }
    for (double f : {0.7, 1.0})
      form->call("Move", {Variant(0), Variant(0), Variant(w * f), Variant(h * f)});
    QApplication::processEvents();
    EXPECT_EQ(layoutOf(built), shown);
    EXPECT_EQ(errors, std::vector<std::string>{});
    EXPECT_EQ(services.messages, std::vector<std::string>{});
    rescalo.reset();
  }
}

}  // namespace
