// Placement of one control: its reference geometry times its container's ratio, as its lock
// flags allow, and its fonts scaled by the ratio the control actually got.

#include <bit>
#include <cmath>
#include <limits>

#include <rescalo/host/failure.h>
#include <rescalo/scaling/engine.h>

namespace rescalo::scaling {

using host::Variant;

namespace {

constexpr float kTabOffset = 75000;  // twips by which a tab control hides its other pages
constexpr float kShrunkFont = 0.01f;
constexpr host::Name kFonts[] = {"Font", "DayFont", "GridFont", "TitleFont", "HeadFont"};
constexpr host::Name kSize = "Size", kAlign = "Align", kMove = "Move";
constexpr host::Name kX1 = "X1", kX2 = "X2", kY1 = "Y1", kY2 = "Y2";

struct Box {
  float L = 0, T = 0, W = 0, H = 0;
};

// A division as the classic runtime makes it: by zero it fails, so the step is skipped and the
// target keeps its value. Tested rather than raised: the error would only be swallowed, and a
// form of thousands of unsized controls would unwind once per control.
bool divideInto(float& target, float a, float b) {
  if (b == 0) return false;
  target = a / b;
  return true;
}

// Reads a number; a member the control lacks leaves the value as it was. True when the control
// has the member, whether or not its value converted.
bool readInto(host::Object& ctrl, host::Name name, float& value) {
  Variant v;
  bool has = false;
  host::ignoreErrors([&] { has = ctrl.tryGet(name, {}, v); });
  if (has) host::ignoreErrors([&] { value = v.toSingle(); });
  return has;
}

constexpr std::uint8_t kHasAlign = 1u << std::size(kFonts);

// The edge of the form the control is aligned to, 0 when it is not sited on the form aligned.
int alignmentOnForm(host::Object& ctrl, std::uint8_t present) {
  int align = 0;
  if (!(present & kHasAlign)) return align;  // most controls
  host::ignoreErrors([&] {
    Variant v;
    if (!ctrl.tryGet(kAlign, {}, v) || v.toLong() == 0) return;
    host::ObjectPtr container = ctrl.get(kContainer).toObject();
    if (container && isFormObject(*container)) align = v.toLong();
  });
  return align;
}

// The font objects the control has among the five, found by name once per control: most
// controls lack most of them, and which ones a control has never changes (nor whether it has an
// Align, found at the same time).
struct Fonts {
  host::ObjectPtr font[std::size(kFonts)];
  std::uint8_t objects = 0;  // which of them are objects, one bit each
};

Fonts fontsOf(host::Object& ctrl, std::uint8_t& present) {
  constexpr std::uint8_t kAll = kHasAlign - 1;
  const bool known = present != ControlClass::kMembersUnknown;
  if (!known) present = ctrl.has(kAlign) ? kHasAlign : 0;
  Fonts f;
  for (unsigned bits = known ? present & kAll : kAll; bits; bits &= bits - 1) {
    const int i = std::countr_zero(bits);
    const auto bit = static_cast<std::uint8_t>(1u << i);
    auto v = host::tryGet(ctrl, kFonts[i]);
    if (!v) continue;
    if (!known) present = static_cast<std::uint8_t>(present | bit);
    if (v->isObject() && !v->isNothing()) {
      f.font[i] = v->toObject();
      f.objects = static_cast<std::uint8_t>(f.objects | bit);
    }
  }
  return f;
}

void setFontSize(const host::ObjectPtr& font, const Variant& size) {
  if (font) host::ignoreErrors([&] { font->set(kSize, size); });
}

}  // namespace

void Engine::AdjustPosition(const Variant& ctrlValue) {
  host::ObjectPtr ctrlPtr = ctrlValue.toObject();
  if (!ctrlPtr) host::raise(host::kObjectNotSet);
  std::string key = GetControlKey(ctrlPtr);
  // A control without records fails here, with the collection's invalid-key error.
  auto flags =
      std::dynamic_pointer_cast<ControlFlags>(colControlFlags().item(Variant(key)).toObject());
  auto rec =
      std::dynamic_pointer_cast<ControlClass>(colControlInfo().item(Variant(key)).toObject());
  if (!flags || !rec) host::raise(host::kTypeMismatch);
  lastContainer_ = {};  // the application may have resized any container since
  place(*ctrlPtr, *rec, *flags, engineSettings());
  lastContainer_ = {};
}

void Engine::place(host::Object& ctrl, ControlClass& recRef, ControlFlags& flagsRef,
                   const EngineSettings& settings) {
  ControlClass* rec = &recRef;
  ControlFlags* flags = &flagsRef;

  // Measure, by kind.
  Box cur, ref;
  bool hidden = false;
  bool hasLeft = false, hasTop = false, hasWidth = false, hasHeight = false;
  if (rec->SpecialControlType == kLineControl) {
    float x1 = 0, x2 = 0, y1 = 0, y2 = 0;
    readInto(ctrl, kX1, x1);
    readInto(ctrl, kX2, x2);
    readInto(ctrl, kY1, y1);
    readInto(ctrl, kY2, y2);
    cur = {x1 < x2 ? x1 : x2, y1 < y2 ? y1 : y2, std::fabs(x2 - x1), std::fabs(y2 - y1)};
    ref = {rec->X1 < rec->X2 ? rec->X1 : rec->X2, rec->Y1 < rec->Y2 ? rec->Y1 : rec->Y2,
           std::fabs(rec->X2 - rec->X1), std::fabs(rec->Y2 - rec->Y1)};
  } else {
    hasLeft = readInto(ctrl, kLeft, cur.L);
    hasTop = readInto(ctrl, kTop, cur.T);
    hasWidth = readInto(ctrl, kWidth, cur.W);
    hasHeight = readInto(ctrl, kHeight, cur.H);
    ref = {rec->Left, rec->Top, rec->Width, rec->Height};
    if (rec->SpecialControlType == kOnTabPage) {
      // Measured as if its page were shown.
      hidden = cur.L + cur.W < 0;
      if (hidden) cur.L += kTabOffset;
      if (rec->Left + rec->Width < 0) ref.L += kTabOffset;
    }
  }

  const Fonts fonts = fontsOf(ctrl, rec->MembersPresent);

  // Take over moves and sizes the application made since the last pass. What the control or
  // its form decides by itself is no such change: an aligned control's edge and length follow
  // the form and the aligned controls before it, a toolbar's height its rows of buttons.
  if (settings.SetupDone) {
    if (rec->xScale == 0) rec->xScale = 1;
    if (rec->yScale == 0) rec->yScale = 1;
    const int align = alignmentOnForm(ctrl, rec->MembersPresent);
    const bool alongTop = align == 1 || align == 2, alongSide = align == 3 || align == 4;
    if (align != 0) hasLeft = hasTop = false;
    if (alongTop) hasWidth = false;
    if (alongSide || rec->ControlHasButtons) hasHeight = false;
    if (hasLeft && rec->LastLeft != cur.L && rec->LastLeft + kTabOffset != cur.L)
      if (divideInto(rec->Left, cur.L, rec->xScale)) ref.L = rec->Left;
    if (hasTop && rec->LastTop != cur.T)
      if (divideInto(rec->Top, cur.T, rec->yScale)) ref.T = rec->Top;
    if (hasWidth && rec->LastWidth != cur.W)
      if (divideInto(rec->Width, cur.W, rec->xScale)) ref.W = rec->Width;
    if (hasHeight && rec->LastHeight != cur.H)
      if (divideInto(rec->Height, cur.H, rec->yScale)) ref.H = rec->Height;
  }

  // Container ratios.
  float contW = 0, contH = 0;
  host::ignoreErrors([&] {
    host::ObjectPtr container = ctrl.get(kContainer).toObject();
    if (container && isFormObject(*container)) {
      contW = CurrentFormWidth;
      contH = CurrentFormHeight;
    } else if (container && container.get() == lastContainer_.container) {
      contW = lastContainer_.width;
      contH = lastContainer_.height;
    } else if (container) {
      lastContainer_ = {};
      contW = container->get(kWidth).toSingle();
      contH = container->get(kHeight).toSingle();
      lastContainer_ = {container.get(), contW, contH};
    }
  });
  divideInto(rec->xScale, contW, rec->FormWidth);
  divideInto(rec->yScale, contH, rec->FormHeight);

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

  // Fonts follow the ratio the control gets, on its tighter axis. A line has no height (or no
  // width): its factor is the other axis's ratio, or none for a flat line.
  constexpr float kUndefined = std::numeric_limits<float>::quiet_NaN();
  if (ref.H == 0) {
    FontScaleFactor = kUndefined;
  } else if (ref.W == 0) {
    FontScaleFactor = next.H / ref.H;
  } else {
    FontScaleFactor = next.W / ref.W;
    if (next.H / ref.H < FontScaleFactor) FontScaleFactor = next.H / ref.H;
  }
  // A control without a measurable size keeps its reference fonts.
  bool scale = settings.ScaleFonts && !flags->DontScaleFont && !std::isnan(FontScaleFactor);
  const float reference[] = {rec->FontSize, rec->DayFontSize, rec->GridFontSize, rec->TitleFontSize,
                             rec->HeadFontSize};
  float sizes[std::size(kFonts)] = {};
  unsigned shrunk = 0;  // the fonts that change, one bit each
  // Fonts that change go small before the move, so that a shrinking control is never held up
  // by its text.
  for (unsigned bits = fonts.objects; bits; bits &= bits - 1) {
    const int i = std::countr_zero(bits);
    sizes[i] = scale ? reference[i] * FontScaleFactor : reference[i];
    bool changes = false;
    host::ignoreErrors([&] { changes = fonts.font[i]->get(kSize).toSingle() != sizes[i]; });
    if (!changes) continue;
    shrunk |= 1u << i;
    setFontSize(fonts.font[i], Variant(kShrunkFont));
  }

  // Apply.
  if (rec->SpecialControlType == kLineControl) {
    // The line keeps the direction it had when it was captured.
    host::Name startX = kX1, endX = kX2, startY = kY1, endY = kY2;
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
    bool moved = host::ignoreErrors([&] { ctrl.call(kMove, args); });
    if (!moved) {
      // A control that cannot take one of the four keeps it and takes the others.
      host::ignoreErrors([&] { ctrl.set(kLeft, left); });
      host::ignoreErrors([&] { ctrl.set(kTop, next.T); });
      host::ignoreErrors([&] { ctrl.set(kWidth, next.W); });
      host::ignoreErrors([&] { ctrl.set(kHeight, next.H); });
    }
  }

  // The fonts take their new sizes after the move; a font whose size does not change is not
  // touched.
  for (unsigned bits = shrunk; bits; bits &= bits - 1) {
    const int i = std::countr_zero(bits);
    setFontSize(fonts.font[i], Variant(sizes[i]));
  }

  // A drop-down combo box shows no selected text after it moved.
  if (ctrl.typeName() == "ComboBox")
    host::ignoreErrors([&] {
      if (ctrl.get("Style").toInteger() == 0) ctrl.set("SelLength", 0);
    });
}

}  // namespace rescalo::scaling
