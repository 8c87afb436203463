// Renders the program's SVG icon to a square PNG at build time, so every
// installed size comes from the one drawing.
//
//   plumwit_render_icon SOURCE.svg SIDE OUTPUT.png

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QString>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[]) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: %s SOURCE.svg SIDE OUTPUT.png\n", argv[0]);
    return 2;
  }
  // No display is needed to draw into an image.
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  bool side_ok = false;
  const int side = QString::fromLocal8Bit(argv[2]).toInt(&side_ok);
  QSvgRenderer renderer(QString::fromLocal8Bit(argv[1]));
  if (!side_ok || side <= 0 || !renderer.isValid()) {
    std::fprintf(stderr, "%s: cannot render %s at %s pixels\n", argv[0], argv[1], argv[2]);
    return 1;
  }
  QImage image(side, side, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::transparent);
  QPainter painter(&image);
  renderer.render(&painter);
  painter.end();
  if (!image.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
    return 1;
  }
  return 0;
}
