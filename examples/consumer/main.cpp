// A form with a Rescalo control, loaded in the embedded runtime and dragged to twice its
// size: the button follows. Exits non-zero when it does not, so that a build can check it.

#include <cstdio>

#include <rescalo/control/rescalo.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/loader.h>

using namespace rescalo;

int main() {
  const char* text =
      "VERSION 5.00\n"
      "Begin VB.Form frmHello\n"
      "   Caption = \"Hello\"\n   ClientHeight = 3000\n   ClientWidth = 4000\n"
      "   Begin VB.CommandButton cmdOK\n"
      "      Caption = \"OK\"\n      Height = 375\n      Left = 1200\n      Top = 1200\n"
      "      Width = 1215\n   End\n"
      "   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n      Top = 0\n"
      "      ResizeOnMouseUp = 0  'False\n      DesignFormScaleWidth = 4000\n"
      "      DesignFormScaleHeight = 3000\n   End\n"
      "End\n";
  runtime::Runtime rt;
  control::registerRescalo(rt.userControls());
  auto form = runtime::buildForm(rt, frm::read(text, "hello.frm"), "hello.frm");
  form->call("Show");
  auto button = form->find("cmdOK")->shared_from_this();
  double before = button->get("Width").toDouble();
  form->userDrag(form->get("Width").toDouble() * 2, form->get("Height").toDouble());
  double after = button->get("Width").toDouble();
  std::printf("cmdOK is %.0f twips wide at first, %.0f after the form doubled its width\n", before,
              after);
  return after > before * 1.5 ? 0 : 1;
}
