// quarn-icon: writes a program's icon as a PNG file at build time.
//
// usage: quarn-icon game|server SIZE FILE
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <string_view>

#include "client/ui/app_icon.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: quarn-icon game|server SIZE FILE\n", stderr);
    return 2;
  }
  const std::string_view kind = argv[1];
  const int size = std::atoi(argv[2]);
  if ((kind != "game" && kind != "server") || size < 16 || size > 1024) {
    std::fputs("quarn-icon: the kind is game or server, the size 16..1024\n", stderr);
    return 2;
  }
  QGuiApplication app(argc, argv);
  using quarn::client::AppIconKind;
  const QImage icon =
      quarn::client::AppIcon(kind == "game" ? AppIconKind::Game : AppIconKind::Server, size);
  if (!icon.save(QString::fromLocal8Bit(argv[3]), "PNG")) {
    std::fprintf(stderr, "quarn-icon: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}
