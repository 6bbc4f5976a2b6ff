#include <rescalo/bridge/ui_forms.h>

#include <QColor>
#include <QFile>
#include <QSize>
#include <QUiLoader>
#include <QXmlStreamReader>
#include <stdexcept>

#include <rescalo/bridge/qt_rescalo.h>

namespace rescalo::bridge {

namespace {

constexpr const char* kPlaceholder = "rescaloPlaceholder";

// Makes a hidden Rescalo as Designer holds one (attached to nothing) where the form has one,
// to be taken out again: its settings are read from the form's text. Being one, it takes every
// property the form gives it.
class Loader : public QUiLoader {
 public:
  QWidget* createWidget(const QString& className, QWidget* parent, const QString& name) override {
    if (className != QLatin1String(kRescaloUiClass))
      return QUiLoader::createWidget(className, parent, name);
    QWidget* w = qt::Rescalo::createAtDesignTime(parent);
    w->setObjectName(name);
    w->setProperty(kPlaceholder, true);
    w->hide();
    return w;
  }
};

}  // namespace

bool isUiForm(const std::filesystem::path& file) { return file.extension() == ".ui"; }

namespace {

// The properties a Rescalo widget has in the form's XML, as values a QObject property takes;
// enumerators are given by name, as the form writes them ("...::FromTop" is "FromTop").
std::vector<std::pair<QByteArray, QVariant>> rescaloPropertiesIn(QIODevice& in) {
  std::vector<std::pair<QByteArray, QVariant>> out;
  QXmlStreamReader xml(&in);
  int depth = 0, rescaloDepth = -1;
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType token = xml.readNext();
    if (token == QXmlStreamReader::EndElement) {
      if (depth-- == rescaloDepth) return out;
      continue;
    }
    if (token != QXmlStreamReader::StartElement) continue;
    ++depth;
    if (rescaloDepth < 0) {
      if (xml.name() == QLatin1String("widget") &&
          xml.attributes().value("class") == QLatin1String(kRescaloUiClass))
        rescaloDepth = depth;
      continue;
    }
    if (depth != rescaloDepth + 1 || xml.name() != QLatin1String("property")) continue;
    const QByteArray name = xml.attributes().value("name").toUtf8();
    xml.readNextStartElement();
    const QString type = xml.name().toString();
    QVariant value;
    if (type == "size" || type == "color") {
      int parts[3] = {0, 0, 0};
      while (xml.readNextStartElement()) {
        const QString part = xml.name().toString();
        const int v = xml.readElementText().toInt();
        if (part == "width" || part == "red") parts[0] = v;
        if (part == "height" || part == "green") parts[1] = v;
        if (part == "blue") parts[2] = v;
      }
      value = type == "size" ? QVariant(QSize(parts[0], parts[1]))
                             : QVariant(QColor(parts[0], parts[1], parts[2]));
    } else {
      const QString text = xml.readElementText();
      if (type == "bool")
        value = text == "true";
      else if (type == "number")
        value = text.toInt();
      else if (type == "double")
        value = text.toDouble();
      else if (type == "enum")
        value = text.section("::", -1);
      else
        value = text;
    }
    if (name != "geometry" && name != "objectName") out.emplace_back(name, value);
  }
  return out;
}

}  // namespace

UiForm loadUiForm(const std::filesystem::path& file) {
  const QString path = QString::fromStdString(file.string());
  QFile in(path);
  if (!in.open(QIODevice::ReadOnly))
    throw std::runtime_error(file.string() + ": cannot be read: " + in.errorString().toStdString());
  Loader loader;
  UiForm out;
  out.window.reset(loader.load(&in));
  if (!out.window)
    throw std::runtime_error(
        file.string() + ": expected a Qt Designer form: " + loader.errorString().toStdString());
  // A converted form names the members of a control array apart (Name_Index): each gets its
  // classic name back, the index going with it as it does on a classic form.
  for (QObject* o : out.window->findChildren<QObject*>()) {
    const QVariant index = o->property("Index");
    const QString suffix = "_" + index.toString();
    if (index.isValid() && o->objectName().endsWith(suffix))
      o->setObjectName(o->objectName().chopped(suffix.size()));
  }
  for (QWidget* w : out.window->findChildren<QWidget*>()) {
    if (!w->property(kPlaceholder).toBool()) continue;
    out.hasRescalo = true;
    delete w;
  }
  if (out.hasRescalo && in.seek(0)) out.rescaloProperties = rescaloPropertiesIn(in);
  return out;
}

}  // namespace rescalo::bridge
