#include "tests/server_net/quarnd_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QRegularExpression>

#include "tests/server_net/qt_wait.h"

namespace quarn::test {

QString QuarndPath() {
  const QByteArray bin = qgetenv("QUARN_BIN");
  const QString dir = bin.isEmpty() ? QCoreApplication::applicationDirPath() : QString(bin);
  return QDir(dir).filePath("quarnd");
}

QuarndProcess::~QuarndProcess() {
  if (process_.state() != QProcess::NotRunning) {
    process_.kill();
    process_.waitForFinished(5000);
  }
}

bool QuarndProcess::Start(const QStringList& args) {
  TestApp();
  process_.start(QuarndPath(), QStringList{"--port", "0", "--bind", "127.0.0.1"} + args);
  if (!process_.waitForStarted(5000)) return false;
  static const QRegularExpression listening("listening on port (\\d+)");
  QDeadlineTimer deadline(10000);
  while (!deadline.hasExpired()) {
    process_.waitForReadyRead(100);
    output_ += process_.readAllStandardOutput();
    const auto match = listening.match(QString::fromUtf8(output_));
    if (match.hasMatch()) {
      port_ = static_cast<std::uint16_t>(match.captured(1).toUInt());
      return port_ != 0;
    }
    if (process_.state() == QProcess::NotRunning) return false;
  }
  return false;
}

int QuarndProcess::Terminate() {
  process_.terminate();
  if (!process_.waitForFinished(10000)) return -1;
  output_ += process_.readAllStandardOutput();
  return process_.exitStatus() == QProcess::NormalExit ? process_.exitCode() : -1;
}

QString QuarndProcess::Output() {
  output_ += process_.readAllStandardOutput();
  return QString::fromUtf8(output_);
}

int RunQuarnd(const QStringList& args, QString* out, QString* error, int ms) {
  TestApp();
  QProcess process;
  process.start(QuarndPath(), args);
  if (!process.waitForFinished(ms)) {
    process.kill();
    process.waitForFinished(5000);
    return -1;
  }
  if (out) *out = QString::fromUtf8(process.readAllStandardOutput());
  if (error) *error = QString::fromUtf8(process.readAllStandardError());
  return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

}  // namespace quarn::test
