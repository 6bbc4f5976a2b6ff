#include <rescalo/effects/picture_placement.h>

#include <rescalo/host/failure.h>

namespace rescalo::effects {

using host::Variant;

namespace {

bool hasWidth(const Variant& picture) {
  if (!picture.isObject() || picture.isNothing()) return false;
  auto w = host::tryGet(picture.toObject(), "Width");
  return w && w->toDouble() > 0;
}

// Clears both surfaces and loads the picture into the natural one.
void load(WorkSurfaces& ws, const Variant& picture) {
  ws.natural->set("Picture", Variant(nullptr));
  ws.canvas->set("Picture", Variant(nullptr));
  ws.natural->set("Picture", picture);
}

// The canvas's drawing becomes its picture, which is the result.
Variant result(WorkSurfaces& ws) {
  ws.canvas->set("Picture", ws.canvas->get("Image"));
  return ws.canvas->get("Picture");
}

// Stretches the picture loaded into the natural surface onto a canvas of width x height twips.
Variant stretchLoaded(WorkSurfaces& ws, double width, double height) {
  ws.canvas->set("Width", width);
  ws.canvas->set("Height", height);
  Variant args[] = {ws.natural->get("Picture"), Variant(0), Variant(0), Variant(width),
                    Variant(height)};
  ws.canvas->call("PaintPicture", args);
  return result(ws);
}

// The container's client size in twips: converted from its scale when it has one.
void containerSize(host::Object& container, double& w, double& h) {
  host::ignoreErrors([&] {
    w = container.get("ScaleWidth").toDouble();
    h = container.get("ScaleHeight").toDouble();
  });
  host::ignoreErrors([&] {
    Variant mode = container.get("ScaleMode");
    Variant x[] = {Variant(w), mode, Variant(std::int16_t{1})};
    Variant y[] = {Variant(h), mode, Variant(std::int16_t{1})};
    double tw = container.call("ScaleX", x).toDouble();
    double th = container.call("ScaleY", y).toDouble();
    w = tw;
    h = th;
  });
}

// Prepares the canvas at the container's size and colour with the picture loaded; then
// draws through `draw` and assigns the result to the container.
template <class Draw>
void compose(WorkSurfaces& ws, host::Object& container, const Variant& picture, Draw&& draw) {
  double w = 0, h = 0;
  containerSize(container, w, h);
  if (!hasWidth(picture)) return;
  host::ignoreErrors([&] {
    ws.prepare();
    load(ws, picture);
    ws.canvas->set("BackColor", container.get("BackColor"));
    ws.canvas->set("Width", w);
    ws.canvas->set("Height", h);
    draw(w, h);
    container.set("Picture", result(ws));
  });
}

void paintAt(WorkSurfaces& ws, double x, double y) {
  Variant args[] = {ws.natural->get("Picture"), Variant(x), Variant(y)};
  ws.canvas->call("PaintPicture", args);
}

}  // namespace

void WorkSurfaces::prepare() {
  for (const auto& s : {natural, canvas}) {
    host::ignoreErrors([&] { s->set("BorderStyle", std::int16_t{0}); });
    s->set("ScaleMode", std::int16_t{1});
  }
  natural->set("AutoSize", true);
  canvas->set("AutoRedraw", true);
}

Variant ScalePicture(WorkSurfaces& ws, const Variant& picture, double xScale, double yScale) {
  if (!hasWidth(picture)) return Variant(nullptr);
  // At its own size a picture is itself: painted again it would lose its transparent parts,
  // and a form dragged back to its design size would not look as designed.
  if (xScale == 1 && yScale == 1) return picture;
  Variant out(nullptr);
  host::ignoreErrors([&] {
    ws.prepare();
    load(ws, picture);
    out = stretchLoaded(ws, ws.natural->get("Width").toDouble() * xScale,
                        ws.natural->get("Height").toDouble() * yScale);
  });
  return out;
}

Variant SizePicture(WorkSurfaces& ws, const Variant& picture, std::int16_t xSize,
                    std::int16_t ySize) {
  if (!hasWidth(picture)) return Variant(nullptr);
  Variant out(nullptr);
  host::ignoreErrors([&] {
    ws.prepare();
    load(ws, picture);
    out = stretchLoaded(ws, xSize, ySize);
  });
  return out;
}

void CenterPicture(WorkSurfaces& ws, host::Object& container, const Variant& picture) {
  compose(ws, container, picture, [&](double w, double h) {
    double pw = ws.natural->get("Width").toDouble(), ph = ws.natural->get("Height").toDouble();
    // A picture larger than the container keeps its left or top edge and is cut on the far side.
    paintAt(ws, w > pw ? w / 2 - pw / 2 : 0, h > ph ? h / 2 - ph / 2 : 0);
  });
}

void TilePicture(WorkSurfaces& ws, host::Object& container, const Variant& picture) {
  compose(ws, container, picture, [&](double w, double h) {
    float y = 1;
    while (y <= h) {
      float pw = ws.natural->get("Width").toSingle(), ph = ws.natural->get("Height").toSingle();
      if (pw <= 0 || ph <= 0) return;
      for (float x = 1; x <= w; x += pw) paintAt(ws, x, y);
      y += ph;
    }
  });
}

void ApplyFormPicture(WorkSurfaces& ws, host::Object& form, const Variant& basePicture,
                      bool gradientFill, std::int32_t effect, float width, float height) {
  if (!hasWidth(basePicture) || gradientFill) return;
  host::ignoreErrors([&] {
    switch (effect) {
      case kFpFit:
        form.set("Picture", SizePicture(ws, basePicture, Variant(width).toInteger(),
                                        Variant(height).toInteger()));
        break;
      case kFpCenter:
        CenterPicture(ws, form, basePicture);
        break;
      case kFpTile:
        TilePicture(ws, form, basePicture);
        break;
      default:
        break;
    }
  });
}

}  // namespace rescalo::effects
