// The control's public interface by name, in slot order. Every Let stores the value (after
// its clamping), reports the change under the property's own name, then does what the
// property does beyond that.

#include <algorithm>

#include <rescalo/control/rescalo_impl.h>
#include <rescalo/host/failure.h>

namespace rescalo::control {

using host::Args;
using host::Member;
using host::Object;
using host::Variant;

struct Members {
  static RescaloImpl& rc(Object& o) { return host::self<RescaloImpl>(o); }

  template <class T>
  static void let(RescaloImpl& r, std::string_view name, T& field, T value) {
    field = value;
    r.changed(name);
  }

  static std::int32_t positiveOrZero(std::int32_t v) { return v < 1 ? 0 : v; }

  // The size limits and ScaleControls rerun the resize handling once set-up is done.
  static void rerun(RescaloImpl& r) {
    if (r.SetupDone) r.HandleFormResize();
  }

  static void repaintIfFilled(RescaloImpl& r) {
    if (r.s.GradientFill) r.PaintGradient();
  }

  static void gradientFillChanged(RescaloImpl& r) {
    if (!r.runtimeTest()) return;
    auto h = r.host();
    if (!h) return;
    Variant autoRedraw = h->get("AutoRedraw");
    h->set("AutoRedraw", true);
    if (r.s.GradientFill)
      r.PaintGradient();
    else
      h->call("Cls");
    h->set("AutoRedraw", autoRedraw);
  }

  template <FlagIndex F>
  static Variant getFlag(Object& o, Args i) {
    host::expectArgs(i, 1);
    return Variant(rc(o).ControlFlag(F, i[0].toInteger()));
  }
  template <FlagIndex F>
  static void setFlag(Object& o, Args i, const Variant& v) {
    host::expectArgs(i, 1);
    rc(o).setControlFlag(F, i[0].toInteger(), v.toBool());
  }
  template <FlagIndex F>
  static Member flag(const char* name) {
    return {name, &getFlag<F>, &setFlag<F>};
  }

  static const host::MemberTable& table();
};

#define RESCALO_GET(field) [](Object& o, Args) { return Variant(Members::rc(o).s.field); }

const host::MemberTable& Members::table() {
  static const host::MemberTable t{
      {"colControlInfo",
       [](Object& o, Args) {
         rc(o).colControlInfo();
         return Variant(host::ObjectPtr(rc(o).colControlInfo_));
       },
       [](Object& o, Args, const Variant& v) {
         auto c = std::dynamic_pointer_cast<host::Collection>(v.toObject());
         if (!c) host::raise(host::kTypeMismatch);
         rc(o).colControlInfo_ = c;
         rc(o).changed("colControlInfo");
       }},
      {"colControlFlags",
       [](Object& o, Args) {
         rc(o).colControlFlags();
         return Variant(host::ObjectPtr(rc(o).colControlFlags_));
       },
       [](Object& o, Args, const Variant& v) {
         auto c = std::dynamic_pointer_cast<host::Collection>(v.toObject());
         if (!c) host::raise(host::kTypeMismatch);
         rc(o).colControlFlags_ = c;
         rc(o).changed("colControlFlags");
       }},
      {"ScalePicture", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 3);
         return rc(o).ScalePicture(a[0], a[1].toDouble(), a[2].toDouble());
       }},
      {"SizePicture", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 3);
         return rc(o).SizePicture(a[0], a[1].toInteger(), a[2].toInteger());
       }},
      {"CenterPicture", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 2);
         return rc(o).CenterPicture(a[0], a[1]);
       }},
      {"TilePicture", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 2);
         return rc(o).TilePicture(a[0], a[1]);
       }},
      {"ScaleFonts", RESCALO_GET(ScaleFonts),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleFonts", rc(o).s.ScaleFonts, v.toBool());
       }},
      {"BeepOnMinMax", RESCALO_GET(BeepOnMinMax),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "BeepOnMinMax", rc(o).s.BeepOnMinMax, v.toBool());
       }},
      {"ResizeAtOnce", RESCALO_GET(ResizeAtOnce),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ResizeAtOnce", rc(o).s.ResizeAtOnce, v.toBool());
       }},
      {"CenterX", RESCALO_GET(CenterX),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "CenterX", rc(o).s.CenterX, v.toBool());
         rc(o).CenterFormX();
       }},
      {"CenterY", RESCALO_GET(CenterY),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "CenterY", rc(o).s.CenterY, v.toBool());
         rc(o).CenterFormY();
       }},
      {"GradientFill", RESCALO_GET(GradientFill),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientFill", rc(o).s.GradientFill, v.toBool());
         gradientFillChanged(rc(o));
       }},
      {"GradientColour", RESCALO_GET(GradientColour),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientColour", rc(o).s.GradientColour, v.toLong());
         repaintIfFilled(rc(o));
       }},
      {"GradientColour2", RESCALO_GET(GradientColour2),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientColour2", rc(o).s.GradientColour2, v.toLong());
         repaintIfFilled(rc(o));
       }},
      {"GradientMidColour", RESCALO_GET(GradientMidColour),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientMidColour", rc(o).s.GradientMidColour, v.toLong());
         repaintIfFilled(rc(o));
       }},
      {"GradientSource", RESCALO_GET(GradientSource),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientSource", rc(o).s.GradientSource, v.toLong());
         repaintIfFilled(rc(o));
       }},
      {"GradientType", RESCALO_GET(GradientType),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "GradientType", rc(o).s.GradientType, v.toLong());
         repaintIfFilled(rc(o));
       }},
      {"ScaleControls", RESCALO_GET(ScaleControls),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleControls", rc(o).s.ScaleControls, v.toBool());
         rerun(rc(o));
       }},
      {"ScaleX", RESCALO_GET(ScaleX),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleX", rc(o).s.ScaleX,
             static_cast<std::int16_t>(std::clamp<int>(v.toInteger(), 0, 100)));
         rc(o).ApplyScreenScale();
         rc(o).CenterFormX();
       }},
      {"ScaleY", RESCALO_GET(ScaleY),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleY", rc(o).s.ScaleY,
             static_cast<std::int16_t>(std::clamp<int>(v.toInteger(), 0, 100)));
         rc(o).ApplyScreenScale();
         rc(o).CenterFormY();
       }},
      {"StayOnTop", RESCALO_GET(StayOnTop),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "StayOnTop", rc(o).s.StayOnTop, v.toBool());
         if (auto h = rc(o).host()) rc(o).SetTopMost(h, rc(o).s.StayOnTop);
       }},
      {"Reset", nullptr, nullptr, [](Object& o, Args) { return rc(o).Reset(); }},
      {"MinWidth", RESCALO_GET(MinWidth),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MinWidth", rc(o).s.MinWidth, positiveOrZero(v.toLong()));
         rerun(rc(o));
       }},
      {"MinHeight", RESCALO_GET(MinHeight),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MinHeight", rc(o).s.MinHeight, positiveOrZero(v.toLong()));
         rerun(rc(o));
       }},
      {"MaxWidth", RESCALO_GET(MaxWidth),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MaxWidth", rc(o).s.MaxWidth, positiveOrZero(v.toLong()));
         rerun(rc(o));
       }},
      {"MaxHeight", RESCALO_GET(MaxHeight),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MaxHeight", rc(o).s.MaxHeight, positiveOrZero(v.toLong()));
         rerun(rc(o));
       }},
      {"ScaleBorders", RESCALO_GET(ScaleBorders),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleBorders", rc(o).s.ScaleBorders, v.toBool());
       }},
      {"MdiChildWidth", RESCALO_GET(MdiChildWidth),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MdiChildWidth", rc(o).s.MdiChildWidth, v.toLong());
       }},
      {"MdiChildHeight", RESCALO_GET(MdiChildHeight),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "MdiChildHeight", rc(o).s.MdiChildHeight, v.toLong());
       }},
      {"SaveControlInfo", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1, 3);  // the two sizes are accepted and not used
         rc(o).SaveControlInfo(a[0]);
         return Variant();
       }},
      {"SaveControlFlags", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1);
         rc(o).SaveControlFlags(a[0]);
         return Variant();
       }},
      {"ResizeOnMouseUp", RESCALO_GET(ResizeOnMouseUp),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ResizeOnMouseUp", rc(o).s.ResizeOnMouseUp, v.toBool());
       }},
      {"FormControls", [](Object& o, Args) { return Variant(rc(o).FormControls); },
       [](Object& o, Args, const Variant& v) {
         rc(o).FormControls = v.toObject();
         rc(o).changed("FormControls");
       }},
      flag<kDontScaleControl>("ControlFlagDontScaleControl"),
      flag<kDontScaleFont>("ControlFlagDontScaleFont"),
      flag<kDontScaleBorder>("ControlFlagDontScaleBorder"),
      flag<kDontScaleGraphic>("ControlFlagDontScaleGraphic"),
      flag<kDontScaleLeft>("ControlFlagDontScaleLeft"),
      flag<kDontScaleTop>("ControlFlagDontScaleTop"),
      flag<kDontScaleWidth>("ControlFlagDontScaleWidth"),
      flag<kDontScaleHeight>("ControlFlagDontScaleHeight"),
      flag<kDontScaleRight>("ControlFlagDontScaleRight"),
      flag<kDontScaleBottom>("ControlFlagDontScaleBottom"),
      {"ControlFlagCount", [](Object& o, Args) { return Variant(rc(o).ControlFlagCount()); },
       [](Object& o, Args, const Variant& v) { rc(o).setControlFlagCount(v.toInteger()); }},
      {"ControlFlagControlKey",
       [](Object& o, Args i) {
         host::expectArgs(i, 1);
         return Variant(rc(o).ControlFlagControlKey(i[0].toInteger()));
       },
       [](Object& o, Args i, const Variant& v) {
         host::expectArgs(i, 1);
         rc(o).setControlFlagControlKey(i[0].toInteger(), v.toString());
       }},
      {"ScaleGraphics", RESCALO_GET(ScaleGraphics),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ScaleGraphics", rc(o).s.ScaleGraphics, v.toBool());
       }},
      {"ReplaceFontsWith", RESCALO_GET(ReplaceFontsWith),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "ReplaceFontsWith", rc(o).s.ReplaceFontsWith, v.toString());
       }},
      {"SaveWindowSettings", nullptr, nullptr,
       [](Object& o, Args) {
         rc(o).SaveWindowSettings();
         return Variant();
       }},
      {"LoadWindowSettings", nullptr, nullptr,
       [](Object& o, Args) {
         rc(o).LoadWindowSettings();
         return Variant();
       }},
      {"SaveWindowState", RESCALO_GET(SaveWindowState),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "SaveWindowState", rc(o).s.SaveWindowState, v.toBool());
       }},
      {"WindowName", RESCALO_GET(WindowName),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "WindowName", rc(o).s.WindowName, v.toString());
       }},
      {"PrintSize", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1, 7);
         return Variant(rc(o).PrintSize(a[0].toBool(), a.subspan(1)));
       }},
      {"AdjustPosition", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1);
         rc(o).AdjustPosition(a[0]);
         return Variant();
       }},
      {"FormPicture", RESCALO_GET(FormPicture),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "FormPicture", rc(o).s.FormPicture, v.toLong());
       }},
      {"FormClose", RESCALO_GET(FormClose),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "FormClose", rc(o).s.FormClose, v.toInteger());
       }},
      {"FormCloseTime", RESCALO_GET(FormCloseTime),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "FormCloseTime", rc(o).s.FormCloseTime, std::clamp(v.toSingle(), 0.0f, 10.0f));
       }},
      {"FormOpen", RESCALO_GET(FormOpen),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "FormOpen", rc(o).s.FormOpen, v.toInteger());
       }},
      {"FormOpenTime", RESCALO_GET(FormOpenTime),
       [](Object& o, Args, const Variant& v) {
         let(rc(o), "FormOpenTime", rc(o).s.FormOpenTime, std::clamp(v.toSingle(), 0.0f, 10.0f));
       }},
      {"AboutBox", nullptr, nullptr,
       [](Object& o, Args) {
         rc(o).AboutBox();
         return Variant();
       }},
      {"Enabled", [](Object& o, Args) { return Variant(rc(o).Enabled()); },
       [](Object& o, Args, const Variant& v) { rc(o).setEnabled(v.toBool()); }},
      {"UpdateControl", nullptr, nullptr,
       [](Object& o, Args a) {
         host::expectArgs(a, 1);
         rc(o).UpdateControl(a[0]);
         return Variant();
       }},
  };
  return t;
}

#undef RESCALO_GET

const host::MemberTable* RescaloImpl::members() const { return &Members::table(); }

}  // namespace rescalo::control
