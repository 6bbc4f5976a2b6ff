#pragma once
// Capture of a control's reference metrics and flag record, and the probes that ask whether a
// control has a given property. Every member is reached by name, so one capture serves every
// kind of control: a member the control lacks just leaves its field alone.

#include <optional>

#include <rescalo/host/collection.h>
#include <rescalo/host/object.h>
#include <rescalo/scaling/records.h>

namespace rescalo::scaling {

// What the engine remembers between passes; owned by the control.
struct EngineState {
  float LastFormWidth = 0;  // the host form's inner size at the end of the last pass, twips
  float LastFormHeight = 0;
};

// Ensures a ControlClass record under the control's key and fills it from the control as it
// is now. Fields the control gives no value for keep what they held. A null control fails
// with 91, a control without a Name with the host's error; nothing is filed then.
void SaveControlInfo(host::Collection& colControlInfo, const EngineState& state,
                     const host::ObjectPtr& ctrl);

// Ensures a ControlFlags record (all flags False) under the key of a control or under a key
// given as a string; an existing record is left as it is. An empty key files nothing; a value
// that does not convert to a string fails with the conversion error.
void SaveControlFlags(host::Collection& colControlFlags, const host::Variant& ctrlOrKey);

// Probes. PropertyExists takes the result of a read made with errors ignored (host::tryGet).
bool PropertyExists(const std::optional<host::Variant>& readResult);
bool IsPositionable(host::Object& ctrl);
bool HasGraphic(host::Object& ctrl);
bool HasBorderWidth(host::Object& ctrl);
bool HasScalableFont(host::Object& ctrl);

// The host form itself ("Form" or "MDIForm").
bool isFormObject(const host::Object& obj);

}  // namespace rescalo::scaling
