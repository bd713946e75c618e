#include "shell/IconLibrary.h"

#include <QFile>
#include <QIconEngine>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QSvgRenderer>

namespace icons {
namespace {

QByteArray SvgSource(const QString& name) {
  QFile file(QStringLiteral(":/icons/%1.svg").arg(name));
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Renders an SVG whose lines are drawn in "currentColor", in the colour of
// the palette for each mode, at the size asked for.
class SvgIconEngine final : public QIconEngine {
 public:
  SvgIconEngine(QByteArray source, QPalette palette) : m_source(std::move(source)), m_palette(std::move(palette)) {}

  void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
    QSvgRenderer renderer(Coloured(mode));
    renderer.render(painter, rect);
  }

  QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
    QPixmap pixmap(size);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    paint(&painter, QRect(QPoint(), size), mode, state);
    return pixmap;
  }

  QIconEngine* clone() const override { return new SvgIconEngine(m_source, m_palette); }

 private:
  QByteArray Coloured(QIcon::Mode mode) const {
    const QPalette::ColorGroup group = mode == QIcon::Disabled ? QPalette::Disabled : QPalette::Active;
    QByteArray source = m_source;
    source.replace("currentColor", m_palette.color(group, QPalette::WindowText).name().toLatin1());
    if (mode == QIcon::Disabled) source.replace("<svg ", "<svg opacity=\"0.45\" ");
    return source;
  }

  QByteArray m_source;
  QPalette m_palette;
};

QIcon Rendered(const QString& name, const QPalette& palette) {
  return QIcon(new SvgIconEngine(SvgSource(name), palette));
}

}  // namespace

QIcon ToolbarIcon(const QString& name, const QPalette& palette) { return Rendered(name, palette); }

QIcon ProgramIcon() { return Rendered(QStringLiteral("sonavel"), QPalette()); }

QIcon DocumentIcon() { return Rendered(QStringLiteral("sonavel-document"), QPalette()); }

}  // namespace icons
