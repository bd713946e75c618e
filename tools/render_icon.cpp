// Renders an SVG icon as PNG pictures for the icon theme, for desktops and
// tools that do not read SVG.
//
// Usage: render_icon SOURCE.svg OUTPUT_DIR SIZE...
// writes OUTPUT_DIR/SIZExSIZE/NAME.png for each size, NAME being the
// source's name without ".svg".

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QSaveFile>
#include <QStringList>
#include <QSvgRenderer>
#include <QTextStream>

namespace {

constexpr int kLargestSize = 1024;

bool Fail(const QString& message) {
  QTextStream(stderr) << "render_icon: " << message << '\n';
  return false;
}

bool WritePng(QSvgRenderer& renderer, int size, const QString& path) {
  QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    renderer.render(&painter, QRectF(0, 0, size, size));
  }
  // Written aside and renamed, so that a failed run leaves no half file.
  QSaveFile file(path);
  if (!QDir().mkpath(QFileInfo(path).absolutePath()) || !file.open(QIODevice::WriteOnly) ||
      !image.save(&file, "PNG") || !file.commit()) {
    return Fail(QStringLiteral("cannot write %1: %2").arg(path, file.errorString()));
  }
  return true;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Icons with text need fonts, and fonts need the GUI application; the
  // build has no display.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  if (arguments.size() < 4) {
    QTextStream(stderr) << "usage: render_icon SOURCE.svg OUTPUT_DIR SIZE...\n";
    return 2;
  }
  QSvgRenderer renderer(arguments.at(1));
  if (!renderer.isValid()) {
    Fail(QStringLiteral("cannot read %1 as SVG").arg(arguments.at(1)));
    return 1;
  }
  const QString name = QFileInfo(arguments.at(1)).completeBaseName() + QStringLiteral(".png");
  for (const QString& argument : arguments.mid(3)) {
    bool number = false;
    const int size = argument.toInt(&number);
    if (!number || size < 1 || size > kLargestSize) {
      Fail(QStringLiteral("not an icon size: %1").arg(argument));
      return 2;
    }
    const QString folder = QStringLiteral("%1x%1/").arg(size);
    if (!WritePng(renderer, size, QDir(arguments.at(2)).filePath(folder + name))) return 1;
  }
  return 0;
}
