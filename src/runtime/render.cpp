#include <rescalo/host/system_colors.h>
#include <rescalo/runtime/render.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <rescalo/host/failure.h>
#include <rescalo/runtime/common_controls.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/runtime/runtime.h>
#include <rescalo/runtime/scale.h>
#include <rescalo/runtime/surface.h>
#include <rescalo/runtime/text.h>

namespace rescalo::runtime {

namespace {

using raster::Bitmap;
using raster::Color;
using raster::rgb;

// The classic theme's 3-D colours.
constexpr Color kFace = rgb(212, 208, 200);
constexpr Color kShadow = rgb(128, 128, 128);
constexpr Color kDark = rgb(64, 64, 64);
constexpr Color kHighlight = raster::kWhite;
constexpr Color kSelection = rgb(10, 36, 106);  // the chosen item of a list
using host::kSysButtonFace;
using host::kSysButtonText;
using host::kSysWindow;
using host::kSysWindowText;

// A control drawn larger than this on either axis is cut there: no screen shows more.
constexpr int kMaxSide = 4096;

int px(double twips) { return static_cast<int>(std::lround(twips / ScaleState::twipsPerPixelX)); }
int py(double twips) { return static_cast<int>(std::lround(twips / ScaleState::twipsPerPixelY)); }

void fill(Bitmap& bm, int x, int y, int w, int h, Color c) {
  if (w > 0 && h > 0) raster::fillBox(bm, x, y, x + w - 1, y + h - 1, c);
}
void hline(Bitmap& bm, int x, int y, int w, Color c) { fill(bm, x, y, w, 1, c); }
void vline(Bitmap& bm, int x, int y, int h, Color c) { fill(bm, x, y, 1, h, c); }

// A one-pixel outline lit from the top left: `tl` on the top and left, `br` on the others.
void edge(Bitmap& bm, int x, int y, int w, int h, Color tl, Color br) {
  if (w <= 0 || h <= 0) return;
  hline(bm, x, y, w - 1, tl);
  vline(bm, x, y, h - 1, tl);
  hline(bm, x, y + h - 1, w, br);
  vline(bm, x + w - 1, y, h, br);
}
void raised(Bitmap& bm, int x, int y, int w, int h) {
  edge(bm, x, y, w, h, kHighlight, kDark);
  edge(bm, x + 1, y + 1, w - 2, h - 2, kFace, kShadow);
}
void sunken(Bitmap& bm, int x, int y, int w, int h) {
  edge(bm, x, y, w, h, kShadow, kHighlight);
  edge(bm, x + 1, y + 1, w - 2, h - 2, kDark, kFace);
}

// Source-over of `c` at coverage 0..1.
void blend(Bitmap& bm, int x, int y, Color c, double coverage) {
  if (coverage <= 0 || !bm.contains(x, y)) return;
  double da = bm.alpha(x, y) / 255.0, outA = coverage + da * (1 - coverage);
  Color d = bm.pixel(x, y);
  auto mix = [&](int s, int t) {
    return static_cast<int>(std::lround((s * coverage + t * da * (1 - coverage)) / outA));
  };
  bm.setPixel(x, y,
              rgb(mix(raster::red(c), raster::red(d)), mix(raster::green(c), raster::green(d)),
                  mix(raster::blue(c), raster::blue(d))),
              static_cast<std::uint8_t>(std::lround(outA * 255)));
}

// A small solid triangle pointing down (dir 0), up (1), left (2) or right (3), centred.
void arrow(Bitmap& bm, int cx, int cy, int dir, Color c) {
  for (int k = 0; k < 4; ++k) {
    int half = dir == 0 || dir == 2 ? 3 - k : k;
    int at = k - 2;
    if (dir < 2)
      hline(bm, cx - half, cy + at, 2 * half + 1, c);
    else
      vline(bm, cx + at, cy - half, 2 * half + 1, c);
  }
}

void paintAt(Bitmap& dst, const Bitmap& src, int x, int y) {
  raster::paintPicture(dst, src, x, y, src.width(), src.height(), 0, 0, src.width(), src.height());
}

std::optional<host::Variant> prop(Control& c, const char* name) { return host::tryGet(c, name); }
int intProp(Control& c, const char* name, int fallback) {
  auto v = prop(c, name);
  if (!v || !v->isNumeric()) return fallback;
  int out = fallback;
  host::ignoreErrors([&] { out = v->toLong(); });
  return out;
}
Color colorProp(Control& c, const char* name, std::uint32_t fallback) {
  auto v = prop(c, name);
  std::uint32_t classic = fallback;
  if (v && v->isNumeric())
    host::ignoreErrors([&] { classic = static_cast<std::uint32_t>(v->toLong()); });
  return resolveColor(classic);
}

const Font& fontOf(const Control& c) {
  static const Font fallback;
  if (c.font) return *c.font;
  if (c.form && c.form->font) return *c.form->font;
  return fallback;
}

int lineHeight(const Font& f) { return measureText(f, "").lineHeight; }

// Lines of text in a box. align: 0 left, 1 right, 2 centre; valign: 0 top, 1 middle.
// A disabled control's text is engraved, as the classic look shows it.
void textBlock(Bitmap& bm, const Font& f, std::string_view text, int x, int y, int w, int h,
               int align, int valign, Color color, bool wrap = true, bool enabled = true) {
  if (text.empty()) return;
  std::vector<std::string> lines = wrap ? wrapText(f, text, w) : std::vector{std::string(text)};
  int lh = lineHeight(f);
  int total = lh * static_cast<int>(lines.size());
  int ty = valign == 1 ? y + (h - total) / 2 : y;
  for (const std::string& line : lines) {
    int lw = measureText(f, line).width;
    int lx = align == 1 ? x + w - lw : align == 2 ? x + (w - lw) / 2 : x;
    if (!enabled) {
      drawText(bm, lx + 1, ty + 1, f, line, kHighlight);
      drawText(bm, lx, ty, f, line, kShadow);
    } else {
      drawText(bm, lx, ty, f, line, color);
    }
    ty += lh;
  }
}

std::string display(const Control& c, std::string_view bytes) {
  return frm::toUtf8(bytes, fontOf(c).charset);
}

// The caption of a control (access keys removed) or its text.
std::string captionOf(Control& c) {
  if (auto v = prop(c, "Caption"); v && v->isString())
    return withoutAccessKeys(display(c, *v->stringPtr()));
  if (auto v = prop(c, "Text"); v && v->isString()) return display(c, *v->stringPtr());
  return {};
}

// Lightweight controls are painted on their container, beneath every windowed control.
bool lightweight(const Control& c) {
  std::string_view t = c.typeName();
  return t == "Label" || t == "Shape" || t == "Line" || t == "Image";
}

// An outline and inside from a shape test with 4 x 4 samples a pixel, so curves are smooth.
template <class Inside>
void coverShape(Bitmap& bm, Inside&& inside, double inset, std::optional<Color> interior,
                std::optional<Color> border) {
  for (int y = 0; y < bm.height(); ++y)
    for (int x = 0; x < bm.width(); ++x) {
      int outer = 0, inner = 0;
      for (int sy = 0; sy < 4; ++sy)
        for (int sx = 0; sx < 4; ++sx) {
          double u = x + (sx + 0.5) / 4, v = y + (sy + 0.5) / 4;
          if (!inside(u, v, 0.0)) continue;
          ++outer;
          if (inside(u, v, inset)) ++inner;
        }
      if (interior) blend(bm, x, y, *interior, inner / 16.0);
      if (border) blend(bm, x, y, *border, (outer - inner) / 16.0);
    }
}

}  // namespace

bool invisibleAtRunTime(const Control& c) {
  if (c.controlClass().geometry == Geometry::None ||
      c.controlClass().geometry == Geometry::PositionOnly)
    return true;
  static constexpr std::string_view kHidden[] = {
      "Timer",   "Menu", "ImageList", "Rescalo",     "CommonDialog",
      "Winsock", "Inet", "MSComm",    "MAPISession", "MAPIMessages"};
  for (std::string_view t : kHidden)
    if (host::equalsNoCase(c.typeName(), t)) return true;
  return false;
}

Bitmap optionButtonMark(bool on, bool enabled, Color back) {
  auto disc = [](double cx, double cy, double r) {
    return [=](double u, double v, double inset) {
      double dx = u - cx, dy = v - cy, rr = r - inset;
      return rr > 0 && dx * dx + dy * dy <= rr * rr;
    };
  };
  constexpr int box = 13;
  Bitmap dot(box, box, raster::kBlack, 0);
  coverShape(dot, disc(6.5, 6.5, 6.5), 1.0, enabled ? kHighlight : kFace, kShadow);
  if (on)
    coverShape(dot, disc(6.5, 6.5, 2.5), 0.0, enabled ? raster::kBlack : kShadow, std::nullopt);
  Bitmap out(box, box, back);
  paintAt(out, dot, 0, 0);
  return out;
}

namespace {

struct Renderer {
  Form& form;

  void children(ContainerBase& container, Bitmap& target, int ox, int oy) {
    for (bool light : {true, false})
      for (Control* c : container.children)
        if (c->visible && lightweight(*c) == light && !invisibleAtRunTime(*c))
          control(*c, target, ox, oy);
  }

  // Where a container's children are placed inside its own picture.
  static int inset(Control& c) {
    if (c.typeName() == "PictureBox" && intProp(c, "BorderStyle", 1) != 0) return 2;
    return 0;
  }

  void control(Control& c, Bitmap& target, int ox, int oy) {
    if (c.controlClass().geometry == Geometry::Line) return line(c, target, ox, oy);
    int x = ox + px(c.left), y = oy + py(c.top);
    int w = std::min(px(c.width), kMaxSide), h = std::min(py(c.height), kMaxSide);
    if (w <= 0 || h <= 0 || x >= target.width() || y >= target.height() || x + w <= 0 || y + h <= 0)
      return;
    Bitmap own(w, h, raster::kBlack, 0);
    paint(c, own);
    int in = inset(c);
    if (!c.children.empty()) {
      Bitmap client(w - 2 * in, h - 2 * in, raster::kBlack, 0);
      children(c, client, 0, 0);
      paintAt(own, client, in, in);
    }
    paintAt(target, own, x, y);
  }

  void line(Control& c, Bitmap& target, int ox, int oy) {
    if (intProp(c, "BorderStyle", 1) == 0) return;
    raster::Pen pen{colorProp(c, "BorderColor", kSysWindowText),
                    std::max(1, intProp(c, "BorderWidth", 1))};
    double tx = ScaleState::twipsPerPixelX, ty = ScaleState::twipsPerPixelY;
    double x1 = ox + c.x1 / tx, y1 = oy + c.y1 / ty, x2 = ox + c.x2 / tx, y2 = oy + c.y2 / ty;
    raster::drawLine(target, x1, y1, x2, y2, pen);
    raster::drawPoint(target, x2, y2, pen);  // a Line control includes its end point
  }

  void paint(Control& c, Bitmap& bm) {
    std::string_view t = c.typeName();
    if (t == "CommandButton") return button(c, bm);
    if (t == "CheckBox" || t == "OptionButton") return check(c, bm, t == "OptionButton");
    if (t == "Label") return label(c, bm);
    if (t == "TextBox") return textBox(c, bm);
    if (t == "Frame") return frame(c, bm);
    if (t == "ListBox" || t == "DirListBox" || t == "FileListBox") return listBox(c, bm);
    if (t == "ComboBox" || t == "DriveListBox") return comboBox(c, bm);
    if (t == "PictureBox") return pictureBox(c, bm);
    if (t == "Image") return image(c, bm);
    if (t == "Shape") return shape(c, bm);
    if (t == "HScrollBar" || t == "VScrollBar") return scrollBar(c, bm, t == "VScrollBar");
    if (auto* tab = dynamic_cast<SSTab*>(&c)) return tabDialog(*tab, bm);
    if (auto* strip = dynamic_cast<TabStrip*>(&c)) return tabStrip(*strip, bm);
    if (auto* bar = dynamic_cast<Toolbar*>(&c)) return toolbar(*bar, bm);
    if (auto* tree = dynamic_cast<TreeView*>(&c)) return treeView(*tree, bm);
    if (auto* list = dynamic_cast<ListView*>(&c)) return listView(*list, bm);
    generic(c, bm);
  }

  static Color fore(Control& c) { return colorProp(c, "ForeColor", kSysButtonText); }

  static void pictureCentred(Bitmap& bm, const host::Variant& pic, int cx, int cy) {
    if (const Bitmap* p = bitmapOf(pic)) paintAt(bm, *p, cx - p->width() / 2, cy - p->height() / 2);
  }

  void button(Control& c, Bitmap& bm) {
    int w = bm.width(), h = bm.height();
    fill(bm, 0, 0, w, h, colorProp(c, "BackColor", kSysButtonFace));
    int in = 0;
    if (auto d = prop(c, "Default"); d && d->isNumeric() && d->toBool()) {
      edge(bm, 0, 0, w, h, raster::kBlack, raster::kBlack);
      in = 1;
    }
    raised(bm, in, in, w - 2 * in, h - 2 * in);
    std::string text = captionOf(c);
    const Font& f = fontOf(c);
    int textTop = 0, textHeight = h;
    if (intProp(c, "Style", 0) == 1)
      if (auto pic = prop(c, "Picture"); pic && bitmapOf(*pic)) {
        int ph = bitmapOf(*pic)->height();
        int lh = text.empty() ? 0 : lineHeight(f);
        int top = (h - ph - lh) / 2;
        pictureCentred(bm, *pic, w / 2, top + ph / 2);
        textTop = top + ph;
        textHeight = lh;
      }
    textBlock(bm, f, text, 4, textTop, w - 8, textHeight, 2, 1, fore(c), true, c.enabled);
  }

  void check(Control& c, Bitmap& bm, bool option) {
    int w = bm.width(), h = bm.height();
    Color back = colorProp(c, "BackColor", kSysButtonFace);
    auto value = prop(c, "Value");
    bool on = false, grey = false;
    if (value)
      host::ignoreErrors([&] {
        on = option ? value->toBool() : value->toLong() == 1;
        grey = !option && value->toLong() == 2;
      });
    if (intProp(c, "Style", 0) == 1) {  // graphical: a button that stays pressed
      fill(bm, 0, 0, w, h, back);
      if (on)
        sunken(bm, 0, 0, w, h);
      else
        raised(bm, 0, 0, w, h);
      if (auto pic = prop(c, "Picture")) pictureCentred(bm, *pic, w / 2, h / 2);
      textBlock(bm, fontOf(c), captionOf(c), 4, 0, w - 8, h, 2, 1, fore(c), true, c.enabled);
      return;
    }
    fill(bm, 0, 0, w, h, back);
    constexpr int box = 13;
    int by = (h - box) / 2;
    Color mark = grey || !c.enabled ? kShadow : raster::kBlack;
    if (option) {
      paintAt(bm, optionButtonMark(on, c.enabled, back), 0, by);
    } else {
      fill(bm, 0, by, box, box, c.enabled && !grey ? kHighlight : kFace);
      sunken(bm, 0, by, box, box);
      if (on || grey)
        for (int k = 0; k < 3; ++k) {
          raster::Pen pen{mark};
          raster::drawLine(bm, 3, by + 5 + k, 5, by + 7 + k, pen);
          raster::drawLine(bm, 5, by + 7 + k, 10, by + 2 + k, pen);
        }
    }
    textBlock(bm, fontOf(c), captionOf(c), box + 4, 0, w - box - 4, h, 0, 1, fore(c), true,
              c.enabled);
  }

  void label(Control& c, Bitmap& bm) {
    int w = bm.width(), h = bm.height();
    if (intProp(c, "BackStyle", 1) != 0)
      fill(bm, 0, 0, w, h, colorProp(c, "BackColor", kSysButtonFace));
    int in = 0;
    if (intProp(c, "BorderStyle", 0) != 0) {
      sunken(bm, 0, 0, w, h);
      in = 2;
    }
    static constexpr int kAlign[] = {0, 1, 2};
    int a = intProp(c, "Alignment", 0);
    textBlock(bm, fontOf(c), captionOf(c), in, in, w - 2 * in, h - 2 * in,
              a >= 0 && a <= 2 ? kAlign[a] : 0, 0, fore(c), true, c.enabled);
  }

  void textBox(Control& c, Bitmap& bm) {
    int w = bm.width(), h = bm.height();
    fill(bm, 0, 0, w, h, colorProp(c, "BackColor", kSysWindow));
    int in = 1;
    if (intProp(c, "BorderStyle", 1) != 0) {
      sunken(bm, 0, 0, w, h);
      in = 3;
    }
    bool multi = false;
    if (auto m = prop(c, "MultiLine")) host::ignoreErrors([&] { multi = m->toBool(); });
    int a = intProp(c, "Alignment", 0);
    std::string text;
    if (auto v = prop(c, "Text"); v && v->isString()) text = display(c, *v->stringPtr());
    if (!multi) text = text.substr(0, text.find_first_of("\r\n"));
    textBlock(bm, fontOf(c), text, in + 1, in, w - 2 * in - 2, h - 2 * in,
              a == 1   ? 1
              : a == 2 ? 2
                       : 0,
              multi ? 0 : 1, colorProp(c, "ForeColor", kSysWindowText), multi, true);
  }

  void frame(Control& c, Bitmap& bm) {
    int w = bm.width(), h = bm.height();
    Color back = colorProp(c, "BackColor", kSysButtonFace);
    fill(bm, 0, 0, w, h, back);
    const Font& f = fontOf(c);
    int lh = lineHeight(f), top = lh / 2;
    if (intProp(c, "BorderStyle", 1) != 0) {
      edge(bm, 1, top + 1, w - 1, h - top - 1, kHighlight, kHighlight);
      edge(bm, 0, top, w - 1, h - top - 1, kShadow, kShadow);
    }
    std::string text = captionOf(c);
    if (text.empty()) return;
    int tw = std::min(measureText(f, text).width, w - 12);
    fill(bm, 6, 0, tw + 4, lh, back);
    Bitmap caption(std::max(tw, 0), lh, raster::kBlack, 0);
    textBlock(caption, f, text, 0, 0, tw, lh, 0, 0, fore(c), false, c.enabled);
    paintAt(bm, caption, 8, 0);
  }

  static void whiteBox(Control& c, Bitmap& bm) {
    fill(bm, 0, 0, bm.width(), bm.height(), colorProp(c, "BackColor", kSysWindow));
    sunken(bm, 0, 0, bm.width(), bm.height());
  }

  // Its items one a line, as high as the font's line.
  void listBox(Control& c, Bitmap& bm) {
    auto* list = dynamic_cast<ListControl*>(&c);
    if (!list) return whiteBox(c, bm);
    std::vector<std::pair<int, std::string>> items;
    for (const std::string& item : list->items()) items.emplace_back(0, item);
    rows(c, bm, items, 0, 1, list->listIndex());
  }

  void comboBox(Control& c, Bitmap& bm) {
    int w = bm.width(), h = bm.height();
    whiteBox(c, bm);
    int bw = std::min(16, w - 4), bh = h - 4;
    if (intProp(c, "Style", 0) != 1 && bw > 0 && bh > 0) {
      fill(bm, w - 2 - bw, 2, bw, bh, kFace);
      raised(bm, w - 2 - bw, 2, bw, bh);
      arrow(bm, w - 2 - bw / 2, 2 + bh / 2, 0, c.enabled ? raster::kBlack : kShadow);
    }
    std::string text;
    if (auto v = prop(c, "Text"); v && v->isString()) text = display(c, *v->stringPtr());
    Bitmap field(std::max(w - bw - 8, 0), std::max(h - 4, 0), raster::kBlack, 0);
    textBlock(field, fontOf(c), text, 0, 0, field.width(), std::min(field.height(), h - 4), 0, 1,
              colorProp(c, "ForeColor", kSysWindowText), false, true);
    paintAt(bm, field, 4, 2);
  }

  void pictureBox(Control& c, Bitmap& bm) {
    int in = inset(c);
    if (in) sunken(bm, 0, 0, bm.width(), bm.height());
    if (auto* box = dynamic_cast<PictureBox*>(&c)) {
      const Bitmap& screen = box->screen();
      Bitmap client(bm.width() - 2 * in, bm.height() - 2 * in, resolveColor(box->backColor));
      paintAt(client, screen, 0, 0);
      paintAt(bm, client, in, in);
    } else {
      fill(bm, in, in, bm.width() - 2 * in, bm.height() - 2 * in,
           colorProp(c, "BackColor", kSysButtonFace));
    }
  }

  void image(Control& c, Bitmap& bm) {
    auto pic = prop(c, "Picture");
    const Bitmap* p = pic ? bitmapOf(*pic) : nullptr;
    bool stretch = false;
    if (auto s = prop(c, "Stretch")) host::ignoreErrors([&] { stretch = s->toBool(); });
    if (p && stretch)
      paintAt(bm, raster::resample(*p, bm.width(), bm.height()), 0, 0);
    else if (p)
      paintAt(bm, *p, 0, 0);
    if (intProp(c, "BorderStyle", 0) != 0) sunken(bm, 0, 0, bm.width(), bm.height());
  }

  void shape(Control& c, Bitmap& bm) {
    int kind = intProp(c, "Shape", 0);
    double w = bm.width(), h = bm.height(), sx = 0, sy = 0, sw = w, sh = h;
    if (kind == 1 || kind == 3 || kind == 5) {  // square, circle, rounded square
      double side = std::min(w, h);
      sx = (w - side) / 2;
      sy = (h - side) / 2;
      sw = sh = side;
    }
    double bw = std::max(1, intProp(c, "BorderWidth", 1));
    double radius = std::min(sw, sh) / 6;
    auto inside = [&](double u, double v, double inset) {
      double l = sx + inset, t = sy + inset, r = sx + sw - inset, b = sy + sh - inset;
      if (r <= l || b <= t || u < l || u > r || v < t || v > b) return false;
      if (kind == 2 || kind == 3) {
        double rx = (r - l) / 2, ry = (b - t) / 2, dx = (u - l - rx) / rx, dy = (v - t - ry) / ry;
        return dx * dx + dy * dy <= 1;
      }
      if (kind == 4 || kind == 5) {
        double rr = std::max(0.0, radius - inset);
        double cx = std::clamp(u, l + rr, r - rr), cy = std::clamp(v, t + rr, b - rr);
        return (u - cx) * (u - cx) + (v - cy) * (v - cy) <= rr * rr;
      }
      return true;
    };
    std::optional<Color> interior;
    if (intProp(c, "FillStyle", 1) == 0)
      interior = colorProp(c, "FillColor", 0);
    else if (intProp(c, "BackStyle", 0) != 0)
      interior = colorProp(c, "BackColor", kSysWindow);
    std::optional<Color> border;
    if (intProp(c, "BorderStyle", 1) != 0) border = colorProp(c, "BorderColor", kSysWindowText);
    coverShape(bm, inside, bw, interior, border);
  }

  void scrollBar(Control& c, Bitmap& bm, bool vertical) {
    int w = bm.width(), h = bm.height();
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) bm.setPixel(x, y, (x + y) % 2 ? kHighlight : kFace);
    int len = vertical ? h : w, across = vertical ? w : h;
    int s = std::min(across, len / 2);
    auto box = [&](int at, int size) {
      int x = vertical ? 0 : at, y = vertical ? at : 0, bw = vertical ? w : size,
          bh = vertical ? size : h;
      fill(bm, x, y, bw, bh, kFace);
      raised(bm, x, y, bw, bh);
      return std::pair{x + bw / 2, y + bh / 2};
    };
    Color ink = c.enabled ? raster::kBlack : kShadow;
    auto [ax, ay] = box(0, s);
    arrow(bm, ax, ay, vertical ? 1 : 2, ink);
    auto [bx, by] = box(len - s, s);
    arrow(bm, bx, by, vertical ? 0 : 3, ink);
    int lo = intProp(c, "Min", 0), hi = intProp(c, "Max", 32767), value = intProp(c, "Value", 0);
    int track = len - 2 * s, thumb = std::min(std::max(8, across), track);
    if (track <= 0 || thumb <= 0) return;
    double at = hi == lo ? 0 : static_cast<double>(value - lo) / (hi - lo);
    box(s + static_cast<int>(std::lround((track - thumb) * std::clamp(at, 0.0, 1.0))), thumb);
  }

  // A row of tabs over a raised panel; the current tab is joined to the panel.
  struct TabCell {
    std::string caption;
    const Bitmap* picture = nullptr;
    int x = 0, y = 0, w = 0, h = 0;
    bool current = false;
  };
  void tabs(Bitmap& bm, const Font& f, const std::vector<TabCell>& cells, int bodyTop, Color back,
            Color ink, bool enabled) {
    int w = bm.width(), h = bm.height();
    fill(bm, 0, bodyTop, w, h - bodyTop, back);
    raised(bm, 0, bodyTop, w, h - bodyTop);
    for (const TabCell& t : cells) {
      int top = t.current ? t.y : t.y + 2;
      int x = t.current ? t.x - 1 : t.x, tw = t.current ? t.w + 2 : t.w;
      fill(bm, x, top, tw, t.y + t.h - top + (t.current ? 2 : 0), back);
      hline(bm, x + 2, top, tw - 4, kHighlight);
      vline(bm, x, top + 2, t.y + t.h - top - 2 + (t.current ? 1 : 0), kHighlight);
      bm.setPixel(x + 1, top + 1, kHighlight);
      vline(bm, x + tw - 1, top + 2, t.y + t.h - top - 2, kDark);
      vline(bm, x + tw - 2, top + 1, t.y + t.h - top - 1, kShadow);
      int pw = t.picture ? t.picture->width() + 3 : 0;
      int textW = measureText(f, t.caption).width;
      int start = t.x + std::max(3, (t.w - pw - textW) / 2);
      Bitmap cell(std::max(t.w - 4, 0), std::max(t.h - 2, 0), raster::kBlack, 0);
      if (t.picture)
        paintAt(cell, *t.picture, start - t.x - 2, (cell.height() - t.picture->height()) / 2);
      textBlock(cell, f, t.caption, start - t.x - 2 + pw, 0, textW, cell.height(), 0, 1, ink, false,
                enabled);
      paintAt(bm, cell, t.x + 2, top + 1);
    }
  }

  void tabDialog(SSTab& c, Bitmap& bm) {
    int n = c.tabs(), perRow = std::max(1, c.tabsPerRow);
    int rows = (n + perRow - 1) / perRow, th = std::max(py(c.tabHeightTwips), 1);
    int tw = bm.width() / std::max(1, std::min(n, perRow));
    std::vector<TabCell> cells;
    for (int i = 0; i < n; ++i) {
      TabCell t;
      t.caption = withoutAccessKeys(display(c, c.caption(i)));
      t.picture = bitmapOf(c.picture(i));
      t.x = (i % perRow) * tw;
      t.y = (rows - 1 - i / perRow) * th;
      t.w = tw;
      t.h = th;
      t.current = i == c.tab();
      cells.push_back(std::move(t));
    }
    // The current tab's row is drawn last, nearest the panel.
    std::stable_sort(cells.begin(), cells.end(),
                     [](const TabCell& a, const TabCell& b) { return a.current < b.current; });
    tabs(bm, fontOf(c), cells, rows * th, colorProp(c, "BackColor", kSysButtonFace), fore(c),
         c.enabled);
  }

  void tabStrip(TabStrip& c, Bitmap& bm) {
    const Font& f = fontOf(c);
    int th = lineHeight(f) + 8, x = 2;
    std::vector<TabCell> cells;
    auto items = c.tabs();
    for (int i = 1; items && i <= items->count(); ++i) {
      auto tab = items->at1<TabItem>(i);
      TabCell t;
      t.caption = withoutAccessKeys(display(c, tab->caption));
      t.w = measureText(f, t.caption).width + 12;
      t.x = x;
      t.y = 0;
      t.h = th;
      t.current = i == 1;
      x += t.w;
      cells.push_back(std::move(t));
    }
    std::stable_sort(cells.begin(), cells.end(),
                     [](const TabCell& a, const TabCell& b) { return a.current < b.current; });
    tabs(bm, f, cells, th, kFace, raster::kBlack, c.enabled);
  }

  void toolbar(Toolbar& c, Bitmap& bm) {
    fill(bm, 0, 0, bm.width(), bm.height(), kFace);
    if (c.appearance() == 1) edge(bm, 0, 0, bm.width(), bm.height(), kHighlight, kShadow);
    auto buttons = c.buttons();
    const auto places = c.buttonPlaces();
    const int inset = host::toolbarInsetPixels(c.style(), c.appearance());
    int bh = py(c.buttonHeightTwips());
    for (int i = 1; buttons && i <= buttons->count() && i <= int(places.size()); ++i) {
      auto b = buttons->at1<Button>(i);
      const host::ToolbarPlace& at = places[static_cast<std::size_t>(i - 1)];
      if (at.row < 0) continue;
      const int x = inset + at.x, y = inset + at.row * bh;
      int bw = px(b->widthTwips());
      if (b->style < 3) {
        Bitmap cell(std::max(bw, 1), std::max(bh, 1), kFace);
        if (c.style() == 0 || b->value) {
          if (b->value)
            sunken(cell, 0, 0, bw, bh);
          else
            raised(cell, 0, 0, bw, bh);
        }
        const Bitmap* picture = nullptr;
        if (const auto& list = c.imageList.list())
          host::ignoreErrors([&] {
            host::Variant ref = b->image;
            if (ref.isNumeric() && ref.toLong() == 0) return;
            auto item = list->listImages()->itemAt(ref);
            if (auto li = std::dynamic_pointer_cast<ListImage>(item))
              picture = bitmapOf(li->picture);
          });
        std::string text = withoutAccessKeys(display(c, b->caption));
        int lh = text.empty() ? 0 : lineHeight(fontOf(c));
        int ph = picture ? picture->height() : 0;
        int top = (bh - ph - lh) / 2;
        if (picture) paintAt(cell, *picture, (bw - picture->width()) / 2, top);
        textBlock(cell, fontOf(c), text, 2, top + ph, bw - 4, lh, 2, 0, raster::kBlack, false,
                  b->enabled && c.enabled);
        paintAt(bm, cell, x, y);
      } else if (b->style == 3) {
        vline(bm, x + bw / 2 - 1, y + 2, bh - 4, kShadow);
        vline(bm, x + bw / 2, y + 2, bh - 4, kHighlight);
      }
    }
  }

  // Text rows of a tree or list: one line each, indented by depth.
  // Text rows of a tree, a list view or a list box: one line each, indented by depth, the
  // chosen one (a list box's ListIndex) in the selection's colours.
  void rows(Control& c, Bitmap& bm, const std::vector<std::pair<int, std::string>>& items,
            int gap = 3, int indent = 4, int chosen = -1) {
    whiteBox(c, bm);
    const Font& f = fontOf(c);
    int lh = lineHeight(f) + gap;
    Bitmap inner(std::max(bm.width() - 4, 0), std::max(bm.height() - 4, 0), raster::kBlack, 0);
    int y = gap > 0 ? 1 : 0;
    for (std::size_t i = 0; i < items.size() && y < inner.height(); ++i, y += lh) {
      const bool selected = static_cast<int>(i) == chosen;
      if (selected) fill(inner, 0, y, inner.width(), lh, kSelection);
      drawText(inner, indent + items[i].first * 19, y + (gap > 0 ? 1 : 0), f,
               display(c, items[i].second),
               selected ? kHighlight : colorProp(c, "ForeColor", kSysWindowText));
    }
    paintAt(bm, inner, 2, 2);
  }

  void treeView(TreeView& c, Bitmap& bm) {
    std::vector<std::pair<int, std::string>> items;
    auto nodes = c.nodes();
    for (int i = 1; nodes && i <= nodes->count(); ++i) {
      auto node = nodes->at1<Node>(i);
      int depth = 0;
      for (auto p = node->parent.lock(); p && depth < 32; p = p->parent.lock()) ++depth;
      items.emplace_back(depth, node->text);
    }
    rows(c, bm, items);
  }

  void listView(ListView& c, Bitmap& bm) {
    std::vector<std::pair<int, std::string>> items;
    auto list = c.listItems();
    for (int i = 1; list && i <= list->count(); ++i)
      items.emplace_back(0, list->at1<ListItem>(i)->text);
    rows(c, bm, items);
  }

  // A control this runtime does not know: a panel with its class name.
  void generic(Control& c, Bitmap& bm) {
    fill(bm, 0, 0, bm.width(), bm.height(), colorProp(c, "BackColor", kSysButtonFace));
    sunken(bm, 0, 0, bm.width(), bm.height());
    std::string text = captionOf(c);
    if (text.empty()) text = std::string(c.typeName());
    Bitmap inner(std::max(bm.width() - 4, 0), std::max(bm.height() - 4, 0), raster::kBlack, 0);
    textBlock(inner, fontOf(c), text, 0, 0, inner.width(), inner.height(), 2, 1, kShadow);
    paintAt(bm, inner, 2, 2);
  }

  // The caption bar: the active-caption gradient, the title and the window's buttons.
  void captionBar(Bitmap& bm, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return;
    Color from = rgb(10, 36, 106), to = rgb(166, 202, 240);
    for (int i = 0; i < w; ++i) {
      double t = w > 1 ? static_cast<double>(i) / (w - 1) : 0;
      auto mix = [&](int a, int b) { return static_cast<int>(std::lround(a + (b - a) * t)); };
      vline(
          bm, x + i, y, h,
          rgb(mix(raster::red(from), raster::red(to)), mix(raster::green(from), raster::green(to)),
              mix(raster::blue(from), raster::blue(to))));
    }
    auto flag = [&](const char* name, bool fallback) {
      const host::Variant* v = form.stored.find(name);
      bool out = fallback;
      if (v) host::ignoreErrors([&] { out = v->toBool(); });
      return out;
    };
    int bw = h - 2, bh = h - 4, bx = x + w - 2 - bw, by = y + 2;
    int right = x + w;
    if (flag("ControlBox", true) && bw > 4 && bh > 4) {
      auto windowButton = [&](int at, int glyph) {
        fill(bm, at, by, bw, bh, kFace);
        raised(bm, at, by, bw, bh);
        int cx = at + bw / 2 - 1, cy = by + bh / 2;
        if (glyph == 0) {  // close
          for (int k = -3; k <= 3; ++k) {
            fill(bm, cx + k, cy + k, 2, 1, raster::kBlack);
            fill(bm, cx + k, cy - k, 2, 1, raster::kBlack);
          }
        } else if (glyph == 1) {  // maximise
          edge(bm, cx - 4, cy - 4, 9, 8, raster::kBlack, raster::kBlack);
          hline(bm, cx - 4, cy - 3, 9, raster::kBlack);
        } else {  // minimise
          fill(bm, cx - 3, cy + 2, 6, 2, raster::kBlack);
        }
      };
      windowButton(bx, 0);
      right = bx;
      bool sizable = form.borderStyle == 2;
      if (sizable && flag("MaxButton", true)) windowButton(right = bx - 2 - bw, 1);
      if (sizable && flag("MinButton", true)) windowButton(right = right - bw, 2);
    }
    Font title("Tahoma", 8.25);
    title.setBold(true);
    Bitmap text(std::max(right - x - 6, 0), h, raster::kBlack, 0);
    textBlock(text, title, formText(form.caption), 0, 0, text.width(), h, 0, 1, raster::kWhite,
              false);
    paintAt(bm, text, x + 3, y);
  }

  std::string formText(std::string_view bytes) const {
    return frm::toUtf8(bytes, form.font ? form.font->charset : 0);
  }

  void menuBar(Bitmap& bm, int x, int y, int w, int h) {
    fill(bm, x, y, w, h, kFace);
    int at = x + 6;
    for (Control* c : form.children)
      if (c->typeName() == "Menu" && c->visible) {
        std::string text = captionOf(*c);
        if (text.empty() || text == "-") continue;
        const Font& f = *form.font;
        int tw = measureText(f, text).width;
        Bitmap cell(tw + 1, h, raster::kBlack, 0);
        textBlock(cell, f, text, 0, 0, tw + 1, h, 0, 1, raster::kBlack, false, c->enabled);
        paintAt(bm, cell, at, y);
        at += tw + 12;
      }
  }

  Bitmap window() {
    int W = std::min(px(form.width()), kMaxSide), H = std::min(py(form.height()), kMaxSide);
    Bitmap bm(std::max(W, 0), std::max(H, 0), kFace);
    FrameMetrics f = frameFor(form.borderStyle);
    int side = px(f.width / 2), top = py(f.height - f.width / 2);
    if (form.borderStyle != 0) {
      raised(bm, 0, 0, W, H);
      captionBar(bm, side, side, W - 2 * side, top - side - 1);
    }
    int menu = py(form.menuBarHeight());
    if (menu > 0) menuBar(bm, side, top, W - 2 * side, menu);
    PixelPoint o = clientOrigin(form);
    Bitmap client(std::min(px(form.fullClientWidth()), kMaxSide),
                  std::min(py(form.fullClientHeight()), kMaxSide),
                  resolveColor(form.isMdi() ? 0x8000000C : form.backColor));
    paintAt(client, form.screen(), 0, 0);
    children(form, client, 0, 0);
    paintAt(bm, client, o.x, o.y);
    return bm;
  }
};

}  // namespace

PixelPoint clientOrigin(const Form& form) {
  FrameMetrics f = frameFor(form.borderStyle);
  return {px(f.width / 2), py(f.height - f.width / 2 + form.menuBarHeight())};
}

raster::Bitmap renderWindow(Form& form) {
  Bitmap bm = Renderer{form}.window();
  if (form.hwnd && form.runtime().windowTable().exists(form.hwnd))
    if (auto r = form.runtime().windowTable().region(form.hwnd))
      for (int y = 0; y < bm.height(); ++y)
        for (int x = 0; x < bm.width(); ++x)
          if (x < r->left || x >= r->right || y < r->top || y >= r->bottom)
            bm.setPixel(x, y, raster::kBlack, 0);
  return bm;
}

}  // namespace rescalo::runtime
