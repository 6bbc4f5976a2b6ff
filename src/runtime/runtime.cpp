#include <rescalo/runtime/runtime.h>

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <set>

#include <rescalo/runtime/control.h>
#include <rescalo/runtime/font.h>
#include <rescalo/runtime/form.h>
#include <rescalo/runtime/loader.h>
#include <rescalo/runtime/scale.h>

namespace rescalo::runtime {

using host::Args;
using host::Object;
using host::Variant;

Runtime::Runtime(RuntimeOptions options)
    : options_(std::move(options)), settings_(options_.settingsFile) {
  ScaleState::twipsPerPixelX = options_.twipsPerPixel;
  ScaleState::twipsPerPixelY = options_.twipsPerPixel;
  Font::setTwipsPerPixel(options_.twipsPerPixel);
  screenObject_ = host::makeScreenObject(*this);
}

// The runtime's own forms go first: their windows live in the window table.
Runtime::~Runtime() {
  aboutForm.reset();
  messageForm.reset();
}

host::ScreenMetrics Runtime::screen() {
  return {options_.screenWidthPixels * options_.twipsPerPixel,
          options_.screenHeightPixels * options_.twipsPerPixel, options_.twipsPerPixel,
          options_.twipsPerPixel};
}

host::ObjectPtr Runtime::screenObject() { return screenObject_; }

double Runtime::Timer() {
  double s = options_.startSeconds + clock_.now() / 1000.0;
  return s - 86400.0 * static_cast<double>(static_cast<long long>(s / 86400.0));
}

void Runtime::post(std::function<void()> work) { posted_.push_back(std::move(work)); }

bool Runtime::pump() {
  // Only what is pending now: work posted while running waits for the next call.
  std::size_t n = posted_.size();
  for (std::size_t i = 0; i < n && !posted_.empty(); ++i) {
    auto work = std::move(posted_.front());
    posted_.pop_front();
    work();
  }
  return clock_.runDue() > 0 || n > 0;
}

void Runtime::DoEvents() {
  if (!pump() && options_.idleMs > 0) clock_.advance(options_.idleMs);
}

void Runtime::advance(double ms) {
  pump();
  clock_.advance(ms);
  pump();
}

int Runtime::MsgBox(std::string_view prompt, int buttons, std::string_view title) {
  messages.push_back({std::string(prompt), buttons, std::string(title)});
  if (onOutput) onOutput("[message box] " + std::string(prompt));
  if (!msgBoxAnswers.empty()) {
    int answer = msgBoxAnswers.front();
    msgBoxAnswers.pop_front();
    return answer;
  }
  switch (buttons & 7) {
    case host::vbOKCancel:
      return host::vbOK;
    case host::vbYesNo:
      return host::vbYes;
    default:
      return host::vbOK;
  }
}

void Runtime::Beep() {
  ++beeps;
  if (onOutput) onOutput("[beep]");
}

void Runtime::warn(std::string text) {
  if (onOutput) onOutput("warning: " + text);
  warnings.push_back(std::move(text));
}

std::vector<std::string> Runtime::fontFamilies() {
  std::set<std::string> names;
  if (FcInit()) {
    FcPattern* pattern = FcPatternCreate();
    FcObjectSet* os = FcObjectSetBuild(FC_FAMILY, nullptr);
    FcFontSet* set = FcFontList(nullptr, pattern, os);
    // A face may have several family names ("DejaVu Sans" and "DejaVu Sans Condensed"): each
    // is a name a form can ask for. Aliases such as "Sans Serif" name no face and are not here.
    for (int i = 0; set && i < set->nfont; ++i) {
      FcChar8* family = nullptr;
      for (int n = 0; FcPatternGetString(set->fonts[i], FC_FAMILY, n, &family) == FcResultMatch;
           ++n)
        names.insert(reinterpret_cast<const char*>(family));
    }
    if (set) FcFontSetDestroy(set);
    FcObjectSetDestroy(os);
    FcPatternDestroy(pattern);
  }
  return {names.begin(), names.end()};
}

std::shared_ptr<host::Timer> Runtime::createTimer(std::function<void()> onTick) {
  return clock_.createTimer(std::move(onTick));
}

host::ObjectPtr Runtime::createPictureBox() {
  auto box = std::static_pointer_cast<PictureBox>(createControl("VB.PictureBox"));
  box->visible = false;
  box->stored.set("BorderStyle", std::int16_t{0});
  return box;
}

namespace {

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

std::string label(const std::string& name, int top, int width, const std::string& caption,
                  bool bold) {
  return "   Begin VB.Label " + name + "\n      Caption = " + quoted(caption) +
         "\n      Left = 240\n      Top = " + std::to_string(top) +
         "\n      Width = " + std::to_string(width) + "\n      Height = 315\n" +
         (bold ? "      BeginProperty Font\n         Size = 12\n         Weight = 700\n"
                 "      EndProperty\n"
               : "") +
         "   End\n";
}

std::string button(const std::string& name, const std::string& caption, int left, int top) {
  return "   Begin VB.CommandButton " + name + "\n      Caption = " + quoted(caption) +
         "\n      Default = -1\n      Cancel = -1\n      Left = " + std::to_string(left) +
         "\n      Top = " + std::to_string(top) +
         "\n      Width = 1215\n      Height = 375\n"
         "   End\n";
}

std::string formText(const std::string& name, const std::string& caption, int width, int height,
                     const std::string& body) {
  return "VERSION 5.00\nBegin VB.Form " + name +
         "\n   BorderStyle = 3\n   Caption = " + quoted(caption) +
         "\n   ClientHeight = " + std::to_string(height) +
         "\n   ClientWidth = " + std::to_string(width) + "\n" + body +
         "End\nAttribute VB_Name = " + quoted(name) + "\n";
}

}  // namespace

std::shared_ptr<Form> Runtime::ownForm(const std::string& text, const std::string& buttonName,
                                       std::function<void()> onButton) {
  auto form = buildForm(*this, frm::read(text, "(runtime form)"), "(runtime form)");
  if (Control* b = form->find(buttonName))
    b->subscribe([onButton = std::move(onButton)](std::string_view event, host::Args) {
      if (event == "Click") onButton();
    });
  return form;
}

void Runtime::AboutBox(const host::AboutInfo& info) {
  std::string body = label("lblName", 240, 5520, info.name, true) +
                     label("lblVersion", 660, 5520, "Version " + info.version, false) +
                     label("lblDescription", 1020, 5520, info.description, false) +
                     button("cmdOK", "OK", 4560, 1500);
  if (aboutForm) aboutForm->unload();
  // OK closes the box; the box is known only once it is made.
  auto closing = std::make_shared<std::weak_ptr<Form>>();
  aboutForm =
      ownForm(formText("frmAbout", "About " + info.name, 6000, 2040, body), "cmdOK", [closing] {
        if (auto f = closing->lock()) f->unload();
      });
  *closing = aboutForm;
  aboutForm->show();
}

host::ObjectPtr Runtime::createMessageForm(const host::MessageForm& layout,
                                           std::function<void()> onButton) {
  std::string body = label(layout.labelName, 240, 3360, layout.message, false) +
                     button(layout.buttonName, layout.buttonCaption, 1320, 720);
  if (messageForm) messageForm->unload();
  messageForm = ownForm(formText(layout.name, layout.caption, 3840, 1320, body), layout.buttonName,
                        std::move(onButton));
  messageForm->load();
  return messageForm;
}

}  // namespace rescalo::runtime
