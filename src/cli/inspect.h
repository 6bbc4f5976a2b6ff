#pragma once
#include <ostream>

#include "runtime/form.h"

namespace cli {

// Describes a form and every control as the runtime reports them by name.
void inspectText(runtime::Form& form, std::ostream& out);
void inspectJson(runtime::Form& form, std::ostream& out);

}  // namespace cli
