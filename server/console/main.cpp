// QuarnServer: the game server with its console window.
#include <QApplication>
#include <cstdio>
#include <string_view>

#include "core/version.h"

#include "server/console/console_font.h"
#include "server/console/console_texts.h"
#include "server/console/form_server.h"
#include "server/net/app_events.h"
#include "server/net/tcp_host.h"
#include "server/web/joint_host.h"
#include "server/web/page_files.h"
#include "server/web/web_host.h"

namespace {

constexpr const char* kUsage =
    "usage: QuarnServer [--version] [--help]\n"
    "The Quarn game server with its console window. Its start button listens on\n"
    "port 1073; the run log and the hero board are saved as Log and Hero files in\n"
    "the current folder. A port in 系统配置's 网页端口 also serves the browser page\n"
    "there. quarnd is the same server without a window.\n";

bool Asked(int argc, char** argv, std::string_view option) {
  for (int i = 1; i < argc; ++i) {
    if (option == argv[i]) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace quarn::server;
  // Answered before QApplication, which would need a display.
  if (quarn::PrintVersionIfAsked("QuarnServer", argc, argv)) return 0;
  if (Asked(argc, argv, "--help") || Asked(argc, argv, "-h")) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(texts::kApplicationTitle));
  QApplication::setFont(ConsoleFont());

  TcpServerHost host;
  // Listens only when the console's web port is set.
  WebHost web(DefaultPageRoot(QCoreApplication::applicationDirPath().toStdString()));
  JointHost joint(host, &web, std::nullopt);
  TFormServer form;
  form.OnStarting([&joint](std::uint16_t webPort) {
    joint.SetWebPort(webPort ? std::optional(webPort) : std::nullopt);
  });
  ServerApp app(joint, form);
  ServerAppEvents events(app);
  host.Attach(&events);
  web.Attach(&events);
  form.Attach(&app);
  form.show();
  const int status = QApplication::exec();
  host.Attach(nullptr);
  web.Attach(nullptr);
  form.Attach(nullptr);
  return status;
}
