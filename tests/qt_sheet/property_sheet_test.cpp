// The property sheet in a real (offscreen) Qt window over a design-time form of the embedded
// runtime: edits made through the widgets reach the control, and the model's answers reach the
// widgets.

#include <rescalo/qt/property_sheet.h>

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <map>

#include <rescalo/control/rescalo.h>
#include <rescalo/pages/pages.h>
#include <rescalo/qt/about_box.h>
#include <rescalo/qt/font_families.h>
#include <rescalo/qt/page_site.h>
#include <rescalo/runtime/user_control_host.h>
#include "qt_application.h"
#include "sheet_support.h"
#include "test_support.h"

using namespace rescalo;

using host::Variant;
using namespace testing_support;

namespace {

// Keystrokes as a developer types them, through the widget's own key handling.
void typeInto(QWidget& w, const QString& text) {
  for (QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(&w, &press);
  }
}

// Lets Qt's event loop and timers run for a while.
void runEventsFor(int ms) {
  QEventLoop loop;
  QTimer::singleShot(ms, &loop, &QEventLoop::quit);
  loop.exec();
}

const std::vector<std::string> kPages{"General",          "ScaleBorders",  "ScaleControls",
                                      "ScaleFonts",       "ScaleGraphics", "StandardColor",
                                      "ReplaceFontsWith", "FormEffects"};

const char* const kScalars[] = {
    "ScaleControls",     "ScaleFonts",       "ScaleBorders", "ScaleGraphics",  "ResizeOnMouseUp",
    "ResizeAtOnce",      "BeepOnMinMax",     "CenterX",      "CenterY",        "StayOnTop",
    "SaveWindowState",   "GradientFill",     "ScaleX",       "ScaleY",         "MinWidth",
    "MinHeight",         "MaxWidth",         "MaxHeight",    "MdiChildWidth",  "MdiChildHeight",
    "WindowName",        "GradientSource",   "GradientType", "GradientColour", "GradientColour2",
    "GradientMidColour", "ReplaceFontsWith", "FormOpen",     "FormClose",      "FormPicture",
    "FormOpenTime",      "FormCloseTime"};

class PropertySheetTest : public RuntimeTest {
 protected:
  PropertySheetTest() {
    control::registerRescalo(rt.userControls());
    formSource = formText(
        block("VB.CommandButton cmdOK", place(120, 240, 1215, 375) + "Picture = \"\"\n") +
        block("VB.Frame Frame1",
              place(120, 800, 2000, 1200) + block("VB.TextBox Text1", place(100, 200, 800, 300))) +
        block("VB.Line Line1", "BorderWidth = 2\nX1 = 100\nX2 = 900\nY1 = 50\nY2 = 50\n") +
        block("VB.Menu mnuFile", "Caption = \"File\"\n") +
        block("RescaloControl.Rescalo Rescalo1",
              "Left = 0\nTop = 0\nReplaceFontsWith = \"No Such Face\"\nFormCloseTime = 0.5\n"));
    open();
  }

  void open() {
    doc = frm::read(formSource, "test.frm");
    form = runtime::buildForm(rt, doc, dir / "test.frm", {false});
    rescalo = form->find("Rescalo1")->shared_from_this();
    dynamic_cast<runtime::UserControlHost&>(*rescalo).changedProperties.clear();
    sheet = std::make_unique<host::PropertySheet>(pages::createPropertyPages(site));
    sheet->select({rescalo});
    dialog = std::make_unique<qt::PropertySheetDialog>(*sheet, nullptr, control::aboutInfo());
    dialog->show();
    QApplication::processEvents();
  }

  // The form as it would be saved, loaded again.
  void saveAndReload() {
    dialog.reset();
    runtime::storeForm(*form, doc);
    formSource = frm::write(doc);
    open();
  }

  template <class W>
  W& widget(const std::string& page, const std::string& field) {
    return fieldOf<W>(*dialog, page, field);
  }
  void showTab(const std::string& page) {
    testing_support::showTab(*dialog,
                             int(std::find(kPages.begin(), kPages.end(), page) - kPages.begin()));
  }
  QListWidgetItem& item(const std::string& page, const std::string& text) {
    return itemOf(*dialog, page, text);
  }

  // The control's settings by name, and its per-control flags under each control's key (only
  // the flags that are set).
  std::map<std::string, std::string> snapshot() {
    std::map<std::string, std::string> out;
    for (const char* p : kScalars) out[p] = rescalo->get(p).toString();
    int n = rescalo->get("ControlFlagCount").toInteger();
    for (int i = 1; i <= n; ++i) {
      Variant at(static_cast<std::int16_t>(i));
      std::string key = rescalo->get("ControlFlagControlKey", {at}).toString();
      for (const char* f : control::kFlagNames)
        if (rescalo->get(std::string("ControlFlag") + f, {at}).toBool())
          out["flag " + key + " " + f] = "True";
    }
    return out;
  }
  const std::vector<std::string>& written() {
    return dynamic_cast<runtime::UserControlHost&>(*rescalo).changedProperties;
  }

  std::string formSource;
  frm::Document doc;
  std::shared_ptr<runtime::Form> form;
  host::ObjectPtr rescalo;
  qt::QtPageSite site;
  std::unique_ptr<host::PropertySheet> sheet;
  std::unique_ptr<qt::PropertySheetDialog> dialog;
};

TEST_F(PropertySheetTest, EditsThroughEveryTabAreWhatOkSavesAndNothingElse) {
  auto before = snapshot();
  std::vector<std::string> tabs;
  for (int i = 0; i < dialog->tabs().count(); ++i)
    tabs.push_back(dialog->tabs().tabText(i).toStdString());
  EXPECT_EQ(tabs, kPages);
  EXPECT_FALSE(dialog->applyButton().isEnabled());

  widget<QCheckBox>("General", "chkScaleFonts").setChecked(false);
  widget<QLineEdit>("General", "txtMinWidth").setText("3000");
  widget<QComboBox>("General", "cmbSource").setCurrentIndex(8);
  EXPECT_TRUE(dialog->applyButton().isEnabled());

  showTab("ScaleBorders");
  item("ScaleBorders", "Line1").setCheckState(Qt::Checked);

  // Excluding a control locks its position and size; then its width is let go again.
  showTab("ScaleControls");
  auto& lockWidth = widget<QCheckBox>("ScaleControls", "chkLockWidth");
  // Ticking an item does not yet offer its locks; clicking the item then does.
  item("ScaleControls", "cmdOK").setCheckState(Qt::Checked);
  EXPECT_FALSE(lockWidth.isEnabled());
  clickOn(*dialog, "ScaleControls", "cmdOK");
  EXPECT_TRUE(lockWidth.isEnabled());
  EXPECT_TRUE(lockWidth.isChecked());
  EXPECT_EQ(widget<QLabel>("ScaleControls", "lblControlType").text(), "CommandButton");
  lockWidth.setChecked(false);

  showTab("ScaleFonts");
  item("ScaleFonts", "Text1").setCheckState(Qt::Checked);
  showTab("ScaleGraphics");
  item("ScaleGraphics", "cmdOK").setCheckState(Qt::Checked);

  showTab("StandardColor");
  widget<QComboBox>("StandardColor", "cmbProperty").setCurrentIndex(1);  // GradientColour2
  widget<QPushButton>("StandardColor", "Color").click();
  auto* colours = dialog->findChild<QColorDialog*>("colourDialog");
  ASSERT_NE(colours, nullptr);
  colours->setCurrentColor(QColor(0x12, 0x34, 0x56));
  colours->accept();
  EXPECT_EQ(widget<QPushButton>("StandardColor", "Color").text(), "#123456");

  // A face that is not installed opens the list with nothing chosen.
  showTab("ReplaceFontsWith");
  auto& fonts = widget<QListWidget>("ReplaceFontsWith", "List1");
  EXPECT_EQ(fonts.currentRow(), -1);
  EXPECT_EQ(fonts.count(), static_cast<int>(qt::installedFontFamilies().size()) + 1);
  fonts.setCurrentItem(&item("ReplaceFontsWith", "<none>"));

  // The page holds a duration to 10 seconds: the box shows its correction.
  showTab("FormEffects");
  widget<QComboBox>("FormEffects", "cmbFormOpen").setCurrentIndex(7);
  auto& closeTime = widget<QLineEdit>("FormEffects", "txtFormCloseTime");
  EXPECT_EQ(closeTime.text(), "0.5");
  closeTime.setText("12");
  EXPECT_EQ(closeTime.text(), "10");

  dialog->okButton().click();
  EXPECT_EQ(dialog->result(), QDialog::Accepted);
  EXPECT_FALSE(dialog->isVisible());

  auto expected = before;
  expected["ScaleFonts"] = "False";
  expected["MinWidth"] = "3000";
  expected["GradientSource"] = "8";
  expected["GradientColour2"] = std::to_string(0x563412);
  expected["ReplaceFontsWith"] = "<none>";
  expected["FormOpen"] = "7";
  expected["FormCloseTime"] = "10";
  for (const char* f : {"Control", "Left", "Top", "Height", "Graphic"})
    expected[std::string("flag cmdOK DontScale") + f] = "True";
  expected["flag Line1 DontScaleBorder"] = "True";
  expected["flag Text1 DontScaleFont"] = "True";
  EXPECT_EQ(snapshot(), expected);

  // The saved form holds them, and the sheet opens on them again.
  saveAndReload();
  EXPECT_EQ(snapshot(), expected);
  EXPECT_FALSE(widget<QCheckBox>("General", "chkScaleFonts").isChecked());
  showTab("ScaleFonts");
  EXPECT_EQ(item("ScaleFonts", "Text1").checkState(), Qt::Checked);
  EXPECT_EQ(item("ScaleFonts", "cmdOK").checkState(), Qt::Unchecked);
}

TEST_F(PropertySheetTest, CancelWritesNothing) {
  auto before = snapshot();
  widget<QCheckBox>("General", "chkScaleFonts").setChecked(false);
  showTab("ScaleFonts");
  item("ScaleFonts", "Text1").setCheckState(Qt::Checked);
  dialog->cancelButton().click();
  EXPECT_EQ(dialog->result(), QDialog::Rejected);
  EXPECT_TRUE(written().empty());
  EXPECT_EQ(snapshot(), before);
}

TEST_F(PropertySheetTest, ApplyIsOfferedOnlyWhileSomethingIsUnapplied) {
  // Loading pages is no edit.
  for (const auto& page : kPages) showTab(page);
  EXPECT_FALSE(dialog->applyButton().isEnabled());

  showTab("General");
  widget<QCheckBox>("General", "chkStayOnTop").setChecked(true);
  EXPECT_TRUE(dialog->applyButton().isEnabled());
  dialog->applyButton().click();
  EXPECT_FALSE(dialog->applyButton().isEnabled());
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_TRUE(rescalo->get("StayOnTop").toBool());

  widget<QLineEdit>("General", "txtMaxWidth").setText("9000");
  EXPECT_TRUE(dialog->applyButton().isEnabled());

  // A page already open shows what it read before; selected again, it rereads the control.
  showTab("ScaleControls");
  auto& status = widget<QLabel>("ScaleControls", "lblScaleControls");
  widget<QCheckBox>("General", "chkScaleControls").setChecked(false);
  dialog->applyButton().click();
  EXPECT_EQ(status.text(), "ScaleControls = True (Set on General Tab) ");
  sheet->select({rescalo});
  QApplication::processEvents();
  EXPECT_EQ(status.text(), "ScaleControls = False (Set on General Tab) ");
  EXPECT_EQ(status.palette().color(QPalette::WindowText), QColor(255, 0, 0));
}

TEST_F(PropertySheetTest, AFailedApplyKeepsTheSheetOpenWithTheEditsStanding) {
  widget<QLineEdit>("General", "txtScaleY").setText("12.5");  // numeric: rounded by the property
  // Typing cannot get this text into the box (see below), code can: the property refuses it.
  widget<QLineEdit>("General", "txtScaleX").setText("40000");
  dialog->okButton().click();
  EXPECT_TRUE(dialog->isVisible());
  EXPECT_NE(dialog->findChild<QWidget*>("sheetError"), nullptr);
  EXPECT_TRUE(dialog->applyButton().isEnabled());
  EXPECT_EQ(rescalo->get("ScaleY").toLong(), 12);
}

TEST_F(PropertySheetTest, NumberBoxesRefuseWhatTheirPropertyCannotHold) {
  auto accepts = [&](const char* field, QString text) {
    int pos = 0;
    return widget<QLineEdit>("General", field).validator()->validate(text, pos) !=
           QValidator::Invalid;
  };
  EXPECT_TRUE(accepts("txtScaleX", "12.5"));
  EXPECT_TRUE(accepts("txtScaleX", "-"));
  EXPECT_TRUE(accepts("txtScaleX", "32767.4"));
  EXPECT_FALSE(accepts("txtScaleX", "32767.5"));  // rounds to 32768
  EXPECT_FALSE(accepts("txtScaleX", "40000"));
  EXPECT_FALSE(accepts("txtScaleX", "12a"));
  EXPECT_TRUE(accepts("txtMinWidth", "40000"));
  EXPECT_FALSE(accepts("txtMinWidth", "3000000000"));
  EXPECT_EQ(widget<QLineEdit>("General", "txtWindowName").validator(), nullptr);

  // Keystrokes go through the validator: the refused digit never reaches the page.
  auto& scaleX = widget<QLineEdit>("General", "txtScaleX");
  scaleX.clear();
  typeInto(scaleX, "40000");
  EXPECT_EQ(scaleX.text(), "4000");
}

TEST_F(PropertySheetTest, KeyboardFollowsTheFieldsAndTheirLabels) {
  // Each box is introduced by a label that gives the focus to it.
  auto labels = dialog->tabs().widget(0)->findChildren<QLabel*>();
  auto minWidth =
      std::find_if(labels.begin(), labels.end(), [](QLabel* l) { return l->text() == "MinWidth"; });
  ASSERT_NE(minWidth, labels.end());
  EXPECT_EQ((*minWidth)->buddy(), &widget<QLineEdit>("General", "txtMinWidth"));

  // Tab goes through the fields in their order.
  QWidget* first = &widget<QCheckBox>("General", "chkScaleControls");
  std::vector<std::string> order{first->objectName().toStdString()};
  for (QWidget* w = first->nextInFocusChain(); w != first && order.size() < 23;
       w = w->nextInFocusChain())
    if ((w->focusPolicy() & Qt::TabFocus) && dialog->tabs().widget(0)->isAncestorOf(w))
      order.push_back(w->objectName().toStdString());
  std::vector<std::string> fields;
  for (host::PageField* f : sheet->pages()[0]->fields()) fields.push_back(f->name());
  EXPECT_EQ(order, fields);
}

TEST_F(PropertySheetTest, APageTimerRunsOnQtAndItsOutcomeIsShown) {
  showTab("ScaleControls");
  auto& entry = item("ScaleControls", "cmdOK");
  entry.setCheckState(Qt::Checked);
  // Letting go of every lock: the page's deferred check un-excludes the control.
  for (const char* box : {"chkLockLeft", "chkLockTop", "chkLockWidth", "chkLockHeight"})
    widget<QCheckBox>("ScaleControls", box).setChecked(false);
  EXPECT_EQ(entry.checkState(), Qt::Checked);
  runEventsFor(250);
  EXPECT_EQ(entry.checkState(), Qt::Unchecked);
  EXPECT_FALSE(widget<QCheckBox>("ScaleControls", "chkLockLeft").isEnabled());

  // The status bar shows the master switch in the page's colour.
  auto& status = widget<QLabel>("ScaleControls", "lblScaleControls");
  EXPECT_EQ(status.text(), "ScaleControls = True (Set on General Tab) ");
  EXPECT_EQ(status.palette().color(QPalette::WindowText), QColor(0, 255, 0));
  EXPECT_TRUE(status.font().bold());
}

TEST_F(PropertySheetTest, TheAboutButtonShowsTheControlsAboutBoxAtDesignTime) {
  ASSERT_NE(dialog->aboutButton(), nullptr);
  EXPECT_EQ(dialog->aboutButton()->text().toStdString(), "About");
  std::string shown;
  // The box is modal: read it and close it once it is up.
  QTimer::singleShot(0, [&] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown = box->windowTitle().toStdString() + "|" + box->text().toStdString() + "|" +
              box->informativeText().toStdString();
      box->accept();
    }
  });
  dialog->aboutButton()->click();
  const host::AboutInfo info = control::aboutInfo();
  EXPECT_EQ(shown, "About Rescalo|Rescalo\nVersion " + info.version + "|" + info.description);
  // Nothing was edited by looking.
  EXPECT_FALSE(sheet->changed());
}

}  // namespace
