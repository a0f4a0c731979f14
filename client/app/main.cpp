// Quarn: the player's table window with its login window and dialogs.
//
// usage: Quarn [--server HOST[:PORT]] [--name NAME] [--lang en|zh] [--version]
//   --server  puts HOST[:PORT] into the login window's server box, so that a
//             table started by a script (make play) needs no typing. Without
//             it the box shows the newest address remembered in quarn.ini.
//   --name    puts NAME into the name box when quarn.ini remembers no name;
//             otherwise the newest remembered name is shown.
//   --lang    the windows' language; without it the one chosen in the login
//             window (kept in quarn.ini), else the system's: English unless
//             the locale is Chinese or none (C, POSIX).
#include <QApplication>
#include <QComboBox>
#include <QLocale>
#include <QProcess>
#include <QScreen>
#include <QStringList>
#include <QTimer>
#include <cstdio>
#include <optional>
#include <string_view>

#include "client/model/client_sending.h"
#include "client/model/screen_texts.h"
#include "client/ui/frmbid.h"
#include "client/ui/frmdlghead.h"
#include "client/ui/frmdlgservice.h"
#include "client/ui/frmlogin.h"
#include "client/ui/frmreplay.h"
#include "client/ui/frmresult.h"
#include "client/ui/frmtalk.h"
#include "client/ui/language.h"
#include "client/ui/mainform.h"
#include "client/ui/uifont.h"
#include "core/gbk.h"
#include "core/version.h"

namespace {

using namespace quarn::client;

constexpr const char* kUsage =
    "usage: Quarn [--server HOST[:PORT]] [--name NAME] [--lang en|zh] [--version]\n";

struct Options {
  QString server;
  std::optional<Language> language;
  bool help = false;
  bool ok = true;
};

Options ParseOptions(const QStringList& args) {
  Options options;
  for (qsizetype i = 1; i < args.size(); ++i) {
    const QString& arg = args[i];
    if (arg == QLatin1String("--server") && i + 1 < args.size()) {
      options.server = args[++i];
    } else if (arg.startsWith(QLatin1String("--server="))) {
      options.server = arg.mid(9);
    } else if (arg == QLatin1String("--lang") || arg.startsWith(QLatin1String("--lang="))) {
      const QString code = arg.size() > 6        ? arg.mid(7)
                           : i + 1 < args.size() ? args[++i]
                                                 : QString();
      options.language = ParseLanguage(code.toStdString());
      if (!options.language) options.ok = false;
    } else if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
      options.help = true;
    } else {
      options.ok = false;
    }
  }
  return options;
}

// QApplication would take "--name" as its own (the X11 resource name), so the
// player's name leaves argv before QApplication reads it. Without a value the
// option stays, and the usage error follows.
QString TakeNameOption(int& argc, char** argv) {
  QString name;
  int kept = 1;
  for (int i = 1; i < argc; ++i) {
    const std::string_view arg = argv[i];
    if (arg == "--name" && i + 1 < argc) {
      name = QString::fromLocal8Bit(argv[++i]);
    } else if (arg.starts_with("--name=")) {
      name = QString::fromLocal8Bit(arg.substr(7));
    } else {
      argv[kept++] = argv[i];
    }
  }
  argv[kept] = nullptr;
  argc = kept;
  return name;
}

void CentreOnScreen(QWidget& window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    window.move(screen->availableGeometry().center() - window.rect().center());
  }
}

// The seats' names and scores as the hero board records them.
ScoreSnapshot Snapshot(const TClientTable& table) {
  ScoreSnapshot snapshot;
  for (int seat = 0; seat < kSeatCount; ++seat) {
    const auto i = static_cast<std::size_t>(seat);
    snapshot.names[i] = QString::fromStdString(table.SeatPlayerName(seat));
    snapshot.scores[i] = table.Seats[i].Score;
  }
  return snapshot;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Answered before QApplication, which would need a display.
  if (quarn::PrintVersionIfAsked("Quarn", argc, argv)) return 0;
  const QString name = TakeNameOption(argc, argv);
  QApplication app(argc, argv);
  QApplication::setApplicationName(QString::fromUtf8(kAppTitle.data(), kAppTitle.size()));
  QApplication::setFont(UiFont(12));
  const Options options = ParseOptions(QApplication::arguments());
  if (options.help || !options.ok) {
    std::fputs(kUsage, options.ok ? stdout : stderr);
    return options.ok ? 0 : 2;
  }

  // The language before any window is made: every window takes its texts once.
  UseLanguage(ChosenLanguage(options.language,
                             LoadLanguageSetting(TIniFile(std::string(kSettingsFile))),
                             QLocale::system()));

  // The table window first, then the login window and the dialogs.
  TMainForm mainForm;
  TDlgHead dlgHead(&mainForm);
  TDlgService dlgService(&mainForm);
  TFormLogin formLogin(&dlgHead, &dlgService, &mainForm);
  TFormBid formBid(&mainForm);
  TFormGameResult formGameResult(&mainForm);
  TFormTalk formTalk(&mainForm);
  TFormReplay formReplay(&mainForm);
  int replaySeat = 0;  // the asker's seat in the game asked for: drawn at the bottom
  auto replayShown = quarn::client::ReplayArrival::None;

  formLogin.SetLink(&mainForm);
  if (!options.server.isEmpty()) formLogin.ComboBoxAddress()->setEditText(options.server);
  // A remembered name replaces this one when the login window first shows.
  if (!name.isEmpty()) formLogin.ComboBoxName()->setEditText(name);
  // Another language: the program starts again in it, as every window takes
  // its texts when it is made. Only the login window is open at that moment.
  QObject::connect(&formLogin, &TFormLogin::languageChosen, &app, [&name](Language language) {
    QStringList args;
    const QStringList given = QApplication::arguments();
    for (qsizetype i = 1; i < given.size(); ++i) {
      if (given[i] == QLatin1String("--lang")) {
        ++i;  // and its value
      } else if (!given[i].startsWith(QLatin1String("--lang="))) {
        args << given[i];
      }
    }
    args << QStringLiteral("--lang") << QString::fromUtf8(LanguageCode(language).data());
    if (!name.isEmpty()) args << QStringLiteral("--name") << name;
    if (QProcess::startDetached(QApplication::applicationFilePath(), args)) QApplication::exit(0);
  });
  formGameResult.SetSnapshotSource([&mainForm] { return Snapshot(mainForm.Table()); });
  formGameResult.SetStandingsAsker([&mainForm] {
    quarn::client::SendStandingsRequest(mainForm.Table(), quarn::StandingsAsk::Top, 10);
    quarn::client::SendStandingsRequest(mainForm.Table(), quarn::StandingsAsk::Own);
  });
  formGameResult.SetReplaysAsker(
      [&mainForm] { quarn::client::SendReplayListRequest(mainForm.Table(), 20); });
  QObject::connect(
      &formGameResult, &TFormGameResult::replayWanted, &mainForm, [&](qint64 gameId, int ownSeat) {
        if (!quarn::client::SendReplayGameRequest(mainForm.Table(), gameId)) return;
        replaySeat = ownSeat;
        replayShown = quarn::client::ReplayArrival::Arriving;
        formReplay.ShowProblem(
            QString::fromStdString(quarn::client::ArrivalText(mainForm.Table().Replays)));
        formReplay.show();
        formReplay.raise();
      });
  QObject::connect(&formBid, &TFormBid::bidOffered, &mainForm, [&mainForm](int points) {
    mainForm.Table().BidPoints = points;
    mainForm.SendBid();
  });
  QObject::connect(&formBid, &TFormBid::bidPassed, &mainForm,
                   [&mainForm] { mainForm.SendBidPass(); });
  QObject::connect(&formTalk, &TFormTalk::talkRequested, &mainForm,
                   [&mainForm](const QByteArray& gbk) {
                     const std::string utf8 = quarn::GbkToUtf8(gbk.toStdString());
                     mainForm.SendTalk(QString::fromStdString(utf8));
                   });

  TableWindows windows;
  windows.login = [&formLogin]() -> std::optional<LoginOutcome> {
    if (formLogin.exec() != QDialog::Accepted) return std::nullopt;
    return LoginOutcome{formLogin.PlayerName(), formLogin.ServiceNo(), formLogin.IconNo(),
                        formLogin.Watching()};
  };
  windows.bid = [&formBid](int currentBid, int proposedBid) {
    formBid.SetCurrentBid(currentBid);
    formBid.SetProposedBid(proposedBid);
    formBid.exec();
  };
  windows.showHero = [&formGameResult] {
    formGameResult.show();
    formGameResult.raise();
    formGameResult.activateWindow();
  };
  windows.resetHero = [&formGameResult] { formGameResult.ResetBoard(); };
  windows.standingsChanged = [&formGameResult, &mainForm] {
    formGameResult.ShowStandings(mainForm.Table().TopStandings, mainForm.Table().OwnStanding);
  };
  windows.replaysChanged = [&] {
    const quarn::client::TReplays& replays = mainForm.Table().Replays;
    formGameResult.ShowReplays(replays.Games);
    // A list that changes leaves the game on show where it was.
    if (replays.Arrival == replayShown) return;
    replayShown = replays.Arrival;
    if (replays.Arrival == quarn::client::ReplayArrival::Ready) {
      formReplay.ShowGame(*replays.Game, replaySeat);
    } else {
      formReplay.ShowProblem(QString::fromStdString(quarn::client::ArrivalText(replays)));
    }
  };
  windows.watchAnswered = [&formLogin](quarn::WatchResult result) {
    if (formLogin.isVisible()) formLogin.WatchAnswered(result);
  };
  windows.showTalk = [&formTalk](bool visible) {
    if (visible) {
      formTalk.show();
      formTalk.raise();
    } else {
      formTalk.hide();
    }
  };
  mainForm.SetWindows(std::move(windows));

  // The talk window or the hero board left open must not keep the program alive.
  QObject::connect(&mainForm, &TMainForm::closed, &app, &QApplication::quit, Qt::QueuedConnection);
  // The size (and the card counter) as last left, else about two thirds of the screen.
  mainForm.SetSettingsPath(std::string(kSettingsFile));
  if (const QScreen* screen = QGuiApplication::primaryScreen())
    mainForm.RestoreWindow(screen->availableGeometry().size());
  CentreOnScreen(mainForm);
  mainForm.show();
  mainForm.setFocus();
  // The login window opens over the table as soon as the event loop runs.
  QTimer::singleShot(0, &mainForm, &TMainForm::BtnLoginClick);
  return QApplication::exec();
}
