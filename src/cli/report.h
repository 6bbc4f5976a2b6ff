#pragma once
#include <ostream>

#include <rescalo/runtime/form.h>

namespace rescalo::cli {

// Describes a form and every control as the runtime reports them by name.
void inspectText(runtime::Form& form, std::ostream& out);
void inspectJson(runtime::Form& form, std::ostream& out);

// The pieces: the form object and the controls array of the JSON, and a readable table.
void formJson(runtime::Form& form, std::ostream& out);
void controlsJson(runtime::Form& form, std::ostream& out, const char* indent);
void controlsTable(runtime::Form& form, std::ostream& out);

}  // namespace rescalo::cli
