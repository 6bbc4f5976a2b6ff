#pragma once
// Pictures composed off-screen on two work surfaces: scaled, sized, centred or tiled, and the
// form's background picture placed with the form. The source picture is never altered.

#include <array>
#include <cstdint>

#include <rescalo/host/object.h>

namespace rescalo::effects {

// The two hidden work surfaces: the first takes on the natural size of the picture loaded into
// it, the second keeps what is drawn on it and hands it back as a picture.
struct WorkSurfaces {
  host::ObjectPtr natural;  // picSizer(0)
  host::ObjectPtr canvas;   // picSizer(1)
  // Makes the surfaces behave as described (no border, AutoSize, AutoRedraw, twips).
  void prepare();
};

// A new picture, or Nothing when the source has no width or a step fails.
host::Variant ScalePicture(WorkSurfaces& ws, const host::Variant& picture, double xScale,
                           double yScale);
host::Variant SizePicture(WorkSurfaces& ws, const host::Variant& picture, std::int16_t xSize,
                          std::int16_t ySize);
// Composes the picture centred or tiled over the container's client area and assigns the
// result to the container's Picture; on failure the container keeps its picture.
void CenterPicture(WorkSurfaces& ws, host::Object& container, const host::Variant& picture);
void TilePicture(WorkSurfaces& ws, host::Object& container, const host::Variant& picture);

enum FormPictureEffect : std::int32_t { kFpNone = 0, kFpFit = 1, kFpCenter = 2, kFpTile = 3 };

// Places the base picture on the form as the effect says, for a client area of width x height
// twips. Nothing when there is no base picture or the gradient is on.
void ApplyFormPicture(WorkSurfaces& ws, host::Object& form, const host::Variant& basePicture,
                      bool gradientFill, std::int32_t effect, float width, float height);

}  // namespace rescalo::effects
