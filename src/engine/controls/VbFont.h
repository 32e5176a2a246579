// A control's font as VB saw it: a face name, a size in points and four
// styles. Windows drew fonts at 96 dots per inch, so the size in pixels is
// points * 96 / 72. Controls with a font hold one and declare its six
// properties with QM_FONT_PROPS.
#pragma once

#include <QFont>
#include <QString>

namespace qm::engine {

class VbFont {
 public:
  VbFont();
  QString name() const { return font_.family(); }
  void setName(const QString& n);  // "" gives the default face
  double size() const { return size_; }
  void setSize(double points);     // sizes no font has are ignored
  bool bold() const { return font_.bold(); }
  void setBold(bool b) { font_.setBold(b); }
  bool italic() const { return font_.italic(); }
  void setItalic(bool b) { font_.setItalic(b); }
  bool underline() const { return font_.underline(); }
  void setUnderline(bool b) { font_.setUnderline(b); }
  bool strikethru() const { return font_.strikeOut(); }
  void setStrikethru(bool b) { font_.setStrikeOut(b); }

  const QFont& qfont() const { return font_; }

 private:
  QFont font_;
  double size_ = 8.25;
};

}  // namespace qm::engine

// The six font properties of a class that has `const VbFont& vbFont() const`
// and `void setVbFont(const VbFont&)`.
#define QM_FONT_PROP(Class, Name, Getter, Setter, Conv)                                        \
  ::qm::engine::PropertyDef {                                                                  \
    Name, [](const ::qm::engine::VbObject& o) -> QVariant {                                    \
      return QVariant::fromValue(static_cast<const Class&>(o).vbFont().Getter());              \
    },                                                                                         \
        [](::qm::engine::VbObject& o, const QVariant& v) {                                     \
          auto& c = static_cast<Class&>(o);                                                    \
          ::qm::engine::VbFont f = c.vbFont();                                                 \
          f.Setter(v.Conv());                                                                  \
          c.setVbFont(f);                                                                      \
        }                                                                                      \
  }
#define QM_FONT_PROPS(Class)                                                   \
  QM_FONT_PROP(Class, "FontName", name, setName, toString),                    \
      QM_FONT_PROP(Class, "FontSize", size, setSize, toDouble),                \
      QM_FONT_PROP(Class, "FontBold", bold, setBold, toBool),                  \
      QM_FONT_PROP(Class, "FontItalic", italic, setItalic, toBool),            \
      QM_FONT_PROP(Class, "FontUnderline", underline, setUnderline, toBool),   \
      QM_FONT_PROP(Class, "FontStrikethru", strikethru, setStrikethru, toBool)
