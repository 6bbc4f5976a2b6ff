#pragma once
// StdFont: the font object of a control or form.
//
// Size model: a font is realised at a whole number of pixels at the screen's resolution, so a
// size reads back as round(points * dpi / 72) * 72 / dpi, at least one pixel and at most
// 2160 points. At 96 dpi the sizes a font takes are the multiples of 0.75 point.

#include <string>

#include <rescalo/host/object.h>

namespace rescalo::runtime {

class Font : public host::Object {
 public:
  Font() = default;
  Font(std::string name, double size) : name_(std::move(name)) { setSize(size); }
  std::string_view typeName() const override { return "Font"; }

  const std::string& name() const { return name_; }
  void setName(std::string name) { name_ = std::move(name); }
  float size() const { return size_; }
  void setSize(double points);
  bool bold() const { return weight_ >= 551; }
  void setBold(bool b) { weight_ = b ? 700 : 400; }
  int weight() const { return weight_; }
  void setWeight(int w) { weight_ = w > 550 ? 700 : 400; }
  bool italic = false;
  bool underline = false;
  bool strikethrough = false;
  int charset = 0;
  bool charsetStored = false;  // the form named the charset, rather than taking the default

  std::shared_ptr<Font> clone() const { return std::make_shared<Font>(*this); }
  // Twips per pixel vertically, shared by every font of the runtime (15 at 96 dpi).
  static void setTwipsPerPixel(double tpp);

 protected:
  const host::MemberTable* members() const override;

 private:
  std::string name_ = "MS Sans Serif";
  float size_ = 8.25f;
  int weight_ = 400;
};

}  // namespace rescalo::runtime
