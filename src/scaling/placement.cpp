// Placement of one control: its reference geometry times its container's ratio, as its lock
// flags allow, and its fonts scaled by the ratio the control actually got.

#include <cmath>
#include <limits>

#include "host/failure.h"
#include "scaling/engine.h"

namespace scaling {

using host::Variant;

namespace {

constexpr float kTabOffset = 75000;  // twips by which a tab control hides its other pages
constexpr float kShrunkFont = 0.01f;
const char* const kFonts[] = {"Font", "DayFont", "GridFont", "TitleFont", "HeadFont"};

struct Box {
  float L = 0, T = 0, W = 0, H = 0;
};

// A division as the classic runtime makes it: by zero it fails, so the step is skipped.
float divide(float a, float b) {
  if (b == 0) host::raise(a == 0 ? host::kOverflow : host::kDivisionByZero);
  return a / b;
}

// Reads a number; a member the control lacks leaves the value as it was.
bool readInto(host::Object& ctrl, host::Name name, float& value) {
  auto v = host::tryGet(ctrl, name);
  if (!v) return false;
  return host::ignoreErrors([&] { value = v->toSingle(); });
}

void setFontSize(host::Object& ctrl, const char* font, const Variant& size) {
  auto f = host::tryGet(ctrl, font);  // most controls lack most of the five fonts
  if (f && f->isObject() && !f->isNothing())
    host::ignoreErrors([&] { f->toObject()->set("Size", size); });
}

}  // namespace

void Engine::AdjustPosition(const Variant& ctrlValue) {
  host::ObjectPtr ctrlPtr = ctrlValue.toObject();
  if (!ctrlPtr) host::raise(host::kObjectNotSet);
  host::Object& ctrl = *ctrlPtr;
  std::string key = GetControlKey(ctrlPtr);
  // A control without records fails here, with the collection's invalid-key error.
  auto flags =
      std::dynamic_pointer_cast<ControlFlags>(colControlFlags().item(Variant(key)).toObject());
  auto rec =
      std::dynamic_pointer_cast<ControlClass>(colControlInfo().item(Variant(key)).toObject());
  if (!flags || !rec) host::raise(host::kTypeMismatch);
  const EngineSettings settings = engineSettings();

  // Measure, by kind.
  Box cur, ref;
  bool hidden = false;
  if (rec->SpecialControlType == kLineControl) {
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    readInto(ctrl, "X1", x1);
    readInto(ctrl, "X2", x2);
    readInto(ctrl, "Y1", y1);
    readInto(ctrl, "Y2", y2);
    cur = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, std::fabs(x2 - x1), std::fabs(y2 - y1)};
    ref = {rec->X1 < rec->X2 ? rec->X1 : rec->X2, rec->Y1 < rec->Y2 ? rec->Y1 : rec->Y2,
           std::fabs(rec->X2 - rec->X1), std::fabs(rec->Y2 - rec->Y1)};
  } else {
    readInto(ctrl, "Left", cur.L);
    readInto(ctrl, "Top", cur.T);
    readInto(ctrl, "Width", cur.W);
    readInto(ctrl, "Height", cur.H);
    ref = {rec->Left, rec->Top, rec->Width, rec->Height};
    if (rec->SpecialControlType == kOnTabPage) {
      // Measured as if its page were shown.
      hidden = cur.L + cur.W < 0;
      if (hidden) cur.L += kTabOffset;
      if (rec->Left + rec->Width < 0) ref.L += kTabOffset;
    }
  }

  // Fonts go small before the move, so that a shrinking control is never held up by its text.
  for (const char* font : kFonts) setFontSize(ctrl, font, Variant(kShrunkFont));

  // Take over moves and sizes the application made since the last pass.
  if (settings.SetupDone) {
    if (rec->xScale == 0) rec->xScale = 1;
    if (rec->yScale == 0) rec->yScale = 1;
    if (host::tryGet(ctrl, "Left") && rec->LastLeft != cur.L && rec->LastLeft + kTabOffset != cur.L)
      host::ignoreErrors([&] { ref.L = rec->Left = divide(cur.L, rec->xScale); });
    if (host::tryGet(ctrl, "Top") && rec->LastTop != cur.T)
      host::ignoreErrors([&] { ref.T = rec->Top = divide(cur.T, rec->yScale); });
    if (host::tryGet(ctrl, "Width") && rec->LastWidth != cur.W)
      host::ignoreErrors([&] { ref.W = rec->Width = divide(cur.W, rec->xScale); });
    if (host::tryGet(ctrl, "Height") && rec->LastHeight != cur.H)
      host::ignoreErrors([&] { ref.H = rec->Height = divide(cur.H, rec->yScale); });
  }

  // Container ratios.
  float contW = 0, contH = 0;
  host::ignoreErrors([&] {
    host::ObjectPtr container = ctrl.get("Container").toObject();
    if (container && isFormObject(*container)) {
      contW = CurrentFormWidth;
      contH = CurrentFormHeight;
    } else if (container) {
      contW = container->get("Width").toSingle();
      contH = container->get("Height").toSingle();
    }
  });
  host::ignoreErrors([&] { rec->xScale = divide(contW, rec->FormWidth); });
  host::ignoreErrors([&] { rec->yScale = divide(contH, rec->FormHeight); });

  // Vertical, then horizontal: scale, or keep, or hang from a locked far edge.
  Box next = cur;
  auto axis = [&](bool keepStart, bool keepSize, bool lockEnd, float refStart, float refSize,
                  float scale, float cont, float basis, float& start, float& size, float& end) {
    if (!keepStart) start = refStart * scale;
    if (!keepSize) size = refSize * scale;
    if (lockEnd) {
      end = cont - (basis - (refStart + refSize));
      if (!keepStart)
        start = end - size;
      else
        size = end - start;
    }
  };
  axis(flags->DontScaleTop, flags->DontScaleHeight, flags->DontScaleBottom, ref.T, ref.H,
       rec->yScale, contH, rec->FormHeight, next.T, next.H, rec->Bottom);
  axis(flags->DontScaleLeft, flags->DontScaleWidth, flags->DontScaleRight, ref.L, ref.W,
       rec->xScale, contW, rec->FormWidth, next.L, next.W, rec->Right);

  // Apply.
  if (rec->SpecialControlType == kLineControl) {
    // The line keeps the direction it had when it was captured.
    const char *startX = "X1", *endX = "X2", *startY = "Y1", *endY = "Y2";
    if (!(rec->X1 < rec->X2)) std::swap(startX, endX);
    if (!(rec->Y1 < rec->Y2)) std::swap(startY, endY);
    host::ignoreErrors([&] {
      ctrl.set(startX, next.L);
      ctrl.set(endX, ctrl.get(startX).toSingle() + next.W);
    });
    host::ignoreErrors([&] {
      ctrl.set(startY, next.T);
      ctrl.set(endY, ctrl.get(startY).toSingle() + next.H);
    });
  } else {
    float left = hidden ? next.L - kTabOffset : next.L;
    Variant args[] = {Variant(left), Variant(next.T), Variant(next.W), Variant(next.H)};
    bool moved = host::ignoreErrors([&] { ctrl.call("Move", args); });
    if (!moved) {
      // A control that cannot take one of the four keeps it and takes the others.
      host::ignoreErrors([&] { ctrl.set("Left", left); });
      host::ignoreErrors([&] { ctrl.set("Top", next.T); });
      host::ignoreErrors([&] { ctrl.set("Width", next.W); });
      host::ignoreErrors([&] { ctrl.set("Height", next.H); });
    }
  }

  // Fonts follow the ratio the control actually got, on its tighter axis. A line has no
  // height (or no width): its factor is the other axis's ratio, or none for a flat line.
  constexpr float kUndefined = std::numeric_limits<float>::quiet_NaN();
  if (ref.H == 0) {
    FontScaleFactor = kUndefined;
  } else if (ref.W == 0) {
    FontScaleFactor = next.H / ref.H;
  } else {
    FontScaleFactor = next.W / ref.W;
    if (next.H / ref.H < FontScaleFactor) FontScaleFactor = next.H / ref.H;
  }
  const float sizes[] = {rec->FontSize, rec->DayFontSize, rec->GridFontSize, rec->TitleFontSize,
                         rec->HeadFontSize};
  // A control without a measurable size keeps its reference fonts.
  bool scale = settings.ScaleFonts && !flags->DontScaleFont && !std::isnan(FontScaleFactor);
  for (std::size_t i = 0; i < std::size(kFonts); ++i)
    setFontSize(ctrl, kFonts[i], Variant(scale ? sizes[i] * FontScaleFactor : sizes[i]));

  // A drop-down combo box shows no selected text after it moved.
  if (ctrl.typeName() == "ComboBox")
    host::ignoreErrors([&] {
      if (ctrl.get("Style").toInteger() == 0) ctrl.set("SelLength", 0);
    });
}

}  // namespace scaling
