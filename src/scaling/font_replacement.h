#pragma once
// One face for every font of a form's controls, given before anything is measured, so that a
// face that exists only in a few sizes cannot keep a shrunken form's text large.

#include <string>

#include <rescalo/host/object.h>

namespace rescalo::scaling {

inline constexpr const char* kNoReplacement = "<none>";

// Sets the Name of each control's Font, DayFont, GridFont, TitleFont and HeadFont to face;
// a font a control lacks or that refuses the name is passed over. Nothing for "<none>".
void ReplaceFonts(host::Object& form, const std::string& face);

}  // namespace rescalo::scaling
