// QuarnServer: the game server with its console window.
#include <QApplication>

#include "server/console/console_font.h"
#include "server/console/console_texts.h"
#include "server/console/form_server.h"
#include "server/net/app_events.h"
#include "server/net/tcp_host.h"

int main(int argc, char** argv) {
  using namespace quarn::server;
  QApplication qapp(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(texts::kApplicationTitle));
  QApplication::setFont(ConsoleFont());

  TcpServerHost host;
  TFormServer form;
  ServerApp app(host, form);
  ServerAppEvents events(app);
  host.Attach(&events);
  form.Attach(&app);
  form.show();
  const int status = QApplication::exec();
  host.Attach(nullptr);
  form.Attach(nullptr);
  return status;
}
