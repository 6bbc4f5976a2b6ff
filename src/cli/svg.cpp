#include <rescalo/cli/svg.h>

#include <cmath>
#include <fstream>
#include <sstream>

#include <rescalo/host/failure.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/frm/frm_document.h>
#include <rescalo/runtime/picture.h>
#include <rescalo/runtime/raster/raster.h>
#include <rescalo/runtime/scale.h>
#include <rescalo/runtime/surface.h>

namespace rescalo::cli {

namespace {

using runtime::Control;
using runtime::Form;

std::string base64(const std::vector<std::uint8_t>& bytes) {
  static const char* chars = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
  std::string out;
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    std::uint32_t n = static_cast<std::uint32_t>(bytes[i]) << 16;
    if (i + 1 < bytes.size()) n |= static_cast<std::uint32_t>(bytes[i + 1]) << 8;
    if (i + 2 < bytes.size()) n |= bytes[i + 2];
    out += chars[(n >> 18) & 63];
    out += chars[(n >> 12) & 63];
    out += i + 1 < bytes.size() ? chars[(n >> 6) & 63] : '=';
    out += i + 2 < bytes.size() ? chars[n & 63] : '=';
  }
  return out;
}

std::string escape(std::string_view s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '&':
        out += "&amp;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        out += c;
    }
  }
  return out;
}

std::string colour(std::uint32_t classic) {
  raster::Color c = runtime::resolveColor(classic);
  char buf[16];
  std::snprintf(buf, sizeof buf, "#%02x%02x%02x", raster::red(c), raster::green(c),
                raster::blue(c));
  return buf;
}

std::string image(const raster::Bitmap& bm, double x, double y, double w, double h) {
  std::ostringstream o;
  o << "<image x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
    << "\" preserveAspectRatio=\"none\" href=\"data:image/png;base64,"
    << base64(raster::encodePng(bm)) << "\"/>\n";
  return o.str();
}

struct Renderer {
  Form& form;
  std::ostringstream out;
  double tx = runtime::ScaleState::twipsPerPixelX, ty = runtime::ScaleState::twipsPerPixelY;

  // The client origin of a container, in pixels of the picture.
  void originOf(runtime::ContainerBase* c, double& x, double& y) {
    if (auto* ctl = dynamic_cast<Control*>(c)) {
      originOf(ctl->container, x, y);
      x += ctl->left / tx;
      y += ctl->top / ty;
      return;
    }
    runtime::FrameMetrics f = runtime::frameFor(form.borderStyle);
    x = f.width / 2 / tx;
    y = (f.height - f.width / 2 + form.menuBarHeight()) / ty;
  }

  bool shown(const Control& c) {
    if (!c.visible) return false;
    if (auto* parent = dynamic_cast<Control*>(c.container)) return shown(*parent);
    return true;
  }

  std::string caption(Control& c) {
    for (const char* m : {"Caption", "Text"})
      if (auto v = host::tryGet(c, m); v && v->isString())
        return frm::toUtf8(*v->stringPtr(), c.font ? c.font->charset : 0);
    return {};
  }

  void control(Control& c) {
    std::string_view type = c.typeName();
    if (!shown(c) || type == "Menu" || type == "Timer" || type == "ImageList" || type == "Rescalo")
      return;
    double ox = 0, oy = 0;
    originOf(c.container, ox, oy);
    if (c.controlClass().geometry == runtime::Geometry::Line) {
      auto bw = host::tryGet(c, "BorderWidth");
      out << "<line x1=\"" << ox + c.x1 / tx << "\" y1=\"" << oy + c.y1 / ty << "\" x2=\""
          << ox + c.x2 / tx << "\" y2=\"" << oy + c.y2 / ty << "\" stroke=\"#000\" stroke-width=\""
          << (bw ? bw->toDouble() : 1) << "\"/>\n";
      return;
    }
    double x = ox + c.left / tx, y = oy + c.top / ty, w = c.width / tx, h = c.height / ty;
    auto back = host::tryGet(c, "BackColor");
    std::string fill = back && back->isNumeric()
                           ? colour(static_cast<std::uint32_t>(back->toLong()))
                           : std::string("#ffffff");
    if (type == "Label" || type == "Frame" || type == "Line" || type == "Shape") fill = "none";
    out << "<rect x=\"" << x << "\" y=\"" << y << "\" width=\"" << w << "\" height=\"" << h
        << "\" fill=\"" << fill << "\" stroke=\"#808080\"/>\n";
    if (auto pic = host::tryGet(c, "Picture"))
      if (const raster::Bitmap* bm = runtime::bitmapOf(*pic)) {
        bool centred = type == "CommandButton" || type == "CheckBox" || type == "OptionButton";
        double px = centred ? x + (w - bm->width()) / 2 : x,
               py = centred ? y + (h - bm->height()) / 2 : y;
        out << image(*bm, px, py, bm->width(), bm->height());
      }
    if (type == "SSTab") tabs(c, x, y, w);
    if (c.has("Buttons")) buttons(c, x, y);
    std::string text = caption(c);
    if (!text.empty() && c.font && type != "SSTab") {
      double size = c.font->size() * 96.0 / 72.0;
      bool centred = type == "CommandButton";
      out << "<text x=\"" << (centred ? x + w / 2 : x + 3) << "\" y=\""
          << (centred ? y + h / 2 + size / 3 : y + std::min(h - 2, size + 2)) << "\" font-family=\""
          << escape(c.font->name()) << ", sans-serif\" font-size=\"" << size << "\""
          << (c.font->bold() ? " font-weight=\"bold\"" : "")
          << (centred ? " text-anchor=\"middle\"" : "") << ">" << escape(text) << "</text>\n";
    }
  }

  // The tab row of a tab control: each tab's caption and picture.
  void tabs(Control& c, double x, double y, double w) {
    host::ignoreErrors([&] {
      int n = c.get("Tabs").toInteger();
      int perRow = std::max(1, static_cast<int>(c.get("TabsPerRow").toInteger()));
      double th = c.get("TabHeight").toDouble() / ty, tw = w / std::min(n, perRow);
      int current = c.get("Tab").toInteger();
      for (int i = 0; i < n; ++i) {
        host::Variant idx(static_cast<std::int16_t>(i));
        double tx0 = x + (i % perRow) * tw, ty0 = y + (i / perRow) * th;
        out << "<rect x=\"" << tx0 << "\" y=\"" << ty0 << "\" width=\"" << tw << "\" height=\""
            << th << "\" fill=\"" << (i == current ? "#ffffff" : "#d4d0c8")
            << "\" stroke=\"#808080\"/>\n";
        double textX = tx0 + 4;
        if (const raster::Bitmap* bm =
                runtime::bitmapOf(c.get("TabPicture", host::Args(&idx, 1)))) {
          out << image(*bm, tx0 + 3, ty0 + (th - bm->height()) / 2, bm->width(), bm->height());
          textX += bm->width() + 3;
        }
        std::string text = c.get("TabCaption", host::Args(&idx, 1)).toString();
        double size = c.font ? c.font->size() * 96.0 / 72.0 : 11;
        out << "<text x=\"" << textX << "\" y=\"" << ty0 + th / 2 + size / 3
            << "\" font-family=\"sans-serif\" font-size=\"" << size << "\">" << escape(text)
            << "</text>\n";
      }
    });
  }

  // A toolbar's buttons with the images of its image list.
  void buttons(Control& c, double x, double y) {
    host::ignoreErrors([&] {
      auto list = c.get("Buttons").toObject();
      double bw = c.get("ButtonWidth").toDouble() / tx, bh = c.get("ButtonHeight").toDouble() / ty;
      host::ObjectPtr images = c.get("ImageList").toObject();
      int n = list->get("Count").toLong();
      for (int i = 1; i <= n; ++i) {
        host::Variant idx(i);
        auto button = list->get("Item", host::Args(&idx, 1)).toObject();
        double bx = x + 2 + (i - 1) * bw, by = y + 2;
        out << "<rect x=\"" << bx << "\" y=\"" << by << "\" width=\"" << bw << "\" height=\"" << bh
            << "\" fill=\"#e4e0d8\" stroke=\"#a0a0a0\"/>\n";
        host::Variant ref = button->get("Image");
        if (!images || ref.isEmpty()) continue;
        host::ignoreErrors([&] {
          auto item =
              images->get("ListImages").toObject()->get("Item", host::Args(&ref, 1)).toObject();
          if (const raster::Bitmap* bm = runtime::bitmapOf(item->get("Picture")))
            out << image(*bm, bx + (bw - bm->width()) / 2, by + (bh - bm->height()) / 2,
                         bm->width(), bm->height());
        });
      }
    });
  }

  std::string render() {
    double w = form.width() / tx, h = form.height() / ty;
    double cx = 0, cy = 0;
    originOf(&form, cx, cy);
    out << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << w << "\" height=\"" << h
        << "\" viewBox=\"0 0 " << w << " " << h << "\">\n";
    out << "<rect width=\"" << w << "\" height=\"" << h
        << "\" fill=\"#d4d0c8\" stroke=\"#404040\"/>\n";
    out << "<rect x=\"0\" y=\"0\" width=\"" << w << "\" height=\"" << cy
        << "\" fill=\"#0a246a\"/>\n<text x=\"6\" y=\"" << std::max(12.0, cy - 8)
        << "\" fill=\"#fff\" font-family=\"sans-serif\" font-size=\"12\" font-weight=\"bold\">"
        << escape(frm::toUtf8(form.caption, form.font->charset)) << "</text>\n";
    // The client area shows what is drawn on the form: its colour, picture and drawing.
    const raster::Bitmap& screen = form.screen();
    if (!screen.empty()) out << image(screen, cx, cy, screen.width(), screen.height());
    for (const auto& c : form.controls()) control(*c);
    out << "</svg>\n";
    return out.str();
  }
};

}  // namespace

std::string renderSvg(runtime::Form& form) { return Renderer{form, {}}.render(); }

void writeSvg(runtime::Form& form, const std::filesystem::path& path) {
  std::ofstream f(path, std::ios::binary);
  f << renderSvg(form);
  if (!f) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace rescalo::cli
