#include "server/daemon/run_daemon.h"

#include <unistd.h>
#include <QCoreApplication>
#include <QHostAddress>
#include <csignal>
#include <cstdio>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

#include "core/version.h"
#include "server/daemon/epoll_dispatcher.h"
#include "server/daemon/open_database.h"
#include "server/daemon/options.h"
#include "server/daemon/reset_password.h"
#include "server/daemon/shutdown_signals.h"
#include "server/daemon/stdout_view.h"
#include "server/net/app_events.h"
#include "server/net/tcp_host.h"
#include "server/web/joint_host.h"
#include "server/web/page_files.h"
#include "server/web/web_host.h"

namespace quarn::server {
namespace {

// How long the last lines may wait for a slow reader of standard output.
constexpr int kExitFlushMs = 500;

int Fail(const std::string& message) {
  std::fprintf(stderr, "quarnd: %s\n", message.c_str());
  return 1;
}

std::string CheckDir(const std::filesystem::path& dir) {
  std::error_code error;
  std::filesystem::create_directories(dir, error);
  if (!std::filesystem::is_directory(dir, error)) {
    return "cannot use folder '" + dir.string() + "' for the Log and Hero files";
  }
  return {};
}

// Runs the server until a signal; the host, the app and the adapter live here.
int Serve(QCoreApplication& qapp, const DaemonOptions& options, const QHostAddress& address,
          store::GameDatabase* database) {
  ShutdownSignals stopSignals;
  if (!stopSignals.Install()) return Fail("cannot watch for SIGINT and SIGTERM");

  TcpServerHost host;
  host.SetListenAddress(address);
  std::unique_ptr<WebHost> web;
  if (options.webPort) {
    std::filesystem::path root = options.webRoot;
    if (root.empty()) {
      root = DefaultPageRoot(QCoreApplication::applicationDirPath().toStdString());
    }
    std::error_code error;
    if (root.empty() || !std::filesystem::is_regular_file(root / "index.html", error)) {
      return Fail("no page files for --web (index.html) in '" + root.string() +
                  "'; give the folder with --web-root");
    }
    web = std::make_unique<WebHost>(root);
    web->SetListenAddress(address);
    web->TrustForwardedFor(options.proxyProtocol);
  }
  JointHost joint(host, web.get(), options.webPort);
  StdoutView view(STDOUT_FILENO);
  ServerApp app(joint, view, options.dir, options.log);
  ServerAppEvents events(app);
  host.Attach(&events);
  if (web) web->Attach(&events);
  app.UseDatabase(database);
  if (options.proxyProtocol) {
    host.ExpectProxyHeader([&app](const std::string& line) { app.LogError(line); });
  }

  app.Initialise(options.settings);
  const StartResult result = app.Start(options.settings, options.port);
  if (result != StartResult::Started) {
    host.Attach(nullptr);
    if (web) web->Attach(nullptr);
    if (result == StartResult::BadSettings) return Fail("a setting is outside its range");
    if (result == StartResult::NoStore) return Fail("--accounts needs --db FILE");
    if (web) return Fail("cannot listen on " + joint.ListenError().toStdString());
    return Fail("cannot listen on port " + std::to_string(options.port) + ": " +
                host.ListenError().toStdString());
  }
  view.LogLineAdded("listening on port " + std::to_string(host.ListeningPort()));
  if (web) view.LogLineAdded("web port " + std::to_string(web->ListeningPort()));
  view.FlushWithin(kExitFlushMs);

  QObject::connect(&stopSignals, &ShutdownSignals::Requested, &qapp, [&](int) {
    app.SaveFiles();
    view.FlushWithin(kExitFlushMs);
    qapp.exit(0);
  });
  const int status = QCoreApplication::exec();
  host.Attach(nullptr);
  if (web) web->Attach(nullptr);
  return status;
}

}  // namespace

int RunDaemon(int argc, char** argv) {
  if (PrintVersionIfAsked("quarnd", argc, argv)) return 0;
  std::vector<std::string_view> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);
  if (!args.empty() && args.front() == "reset-password") {
    return RunResetPassword(std::span(args).subspan(1), stdin);
  }
  const ParsedOptions parsed = ParseDaemonOptions(args);
  if (!parsed.error.empty()) return Fail(parsed.error + " (see --help)");
  if (parsed.options.help) {
    std::fputs(DaemonUsage().c_str(), stdout);
    return 0;
  }
  const QHostAddress address(QString::fromStdString(parsed.options.bind));
  if (address.isNull()) return Fail("--bind: '" + parsed.options.bind + "' is not an address");
  if (const std::string error = CheckDir(parsed.options.dir); !error.empty()) return Fail(error);
  std::unique_ptr<store::GameDatabase> database;
  if (!parsed.options.db.empty()) {
    auto opened = OpenDatabase(parsed.options.db.string());
    if (!opened.database) return Fail(opened.error);
    database = std::move(opened.database);
  }

  // A reader of our standard output that goes away must not kill the server
  // before it has saved its files; the lost lines are simply not written.
  std::signal(SIGPIPE, SIG_IGN);
  // An event loop on epoll, whose turn costs the sockets that are ready, not
  // all of them; failing that, Qt's plain Unix loop (the glib one walks all
  // socket notifiers on every read).
  qputenv("QT_NO_GLIB", "1");
  if (auto dispatcher = std::make_unique<EpollDispatcher>(); dispatcher->Valid()) {
    QCoreApplication::setEventDispatcher(dispatcher.release());  // Qt owns it from here
  }
  QCoreApplication qapp(argc, argv);
  return Serve(qapp, parsed.options, address, database.get());
}

}  // namespace quarn::server
