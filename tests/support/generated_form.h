#pragma once
// Forms of any number of controls, as .frm text, for the benchmarks and the tests of large
// forms: rows of frames, each holding a label, a text box and a button, with a line under each
// row, and a Rescalo control that rescales at once (no waiting for the mouse).

#include <sstream>
#include <string>

namespace rescalo::testing_support {

inline std::string generatedForm(int controls) {
  std::ostringstream f;
  f << "VERSION 5.00\nBegin VB.Form frmBench\n   ClientHeight = 9000\n   ClientWidth = 12000\n";
  int made = 0;
  for (int row = 0; made < controls; ++row) {
    int top = (row % 40) * 220;
    f << "   Begin VB.Frame fra" << row << "\n      Height = 200\n      Left = " << (row / 40) * 40
      << "\n      Top = " << top << "\n      Width = 11000\n";
    ++made;
    const char* kinds[] = {"VB.Label", "VB.TextBox", "VB.CommandButton"};
    for (int k = 0; k < 3 && made < controls; ++k, ++made)
      f << "      Begin " << kinds[k] << " c" << row << "_" << k << "\n         Height = 150\n"
        << "         Left = " << 100 + k * 3000 << "\n         Top = 20\n         Width = 2800\n"
        << "      End\n";
    f << "   End\n";
    if (made < controls) {
      f << "   Begin VB.Line lin" << row
        << "\n      X1 = 0\n      X2 = 11000\n      Y1 = " << top + 210
        << "\n      Y2 = " << top + 210 << "\n   End\n";
      ++made;
    }
  }
  f << "   Begin RescaloControl.Rescalo Rescalo1\n      Left = 0\n      Top = 0\n"
       "      ResizeOnMouseUp = 0  'False\n      DesignFormScaleWidth = 12000\n"
       "      DesignFormScaleHeight = 9000\n   End\nEnd\n";
  return f.str();
}

}  // namespace rescalo::testing_support
