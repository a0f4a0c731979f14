#include "tests/support/child_process.h"

#include <regex>
#include <thread>

namespace quarn::test {

using std::chrono::milliseconds;

bool ChildProcess::Start(const std::filesystem::path& program, const std::vector<std::string>& args,
                         const std::filesystem::path& outputFile) {
  QStringList arguments;
  for (const std::string& arg : args) arguments << QString::fromStdString(arg);
  outputFile_ = outputFile;
  if (!outputFile.empty()) {
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.setStandardOutputFile(QString::fromStdString(outputFile.string()));
  }
  process_.start(QString::fromStdString(program.string()), arguments);
  return process_.waitForStarted();
}

void ChildProcess::Drain() {
  // Each round reads what both pipes hold now; a child that never stops
  // printing cannot keep the test here.
  for (int round = 0; round < 100 && process_.waitForReadyRead(0); ++round) {
  }
  output_ += process_.readAllStandardOutput().toStdString();
  errors_ += process_.readAllStandardError().toStdString();
}

const std::string& ChildProcess::Output() {
  if (!outputFile_.empty()) output_ = ReadFile(outputFile_);
  Drain();
  return output_;
}

const std::string& ChildProcess::Errors() {
  Drain();
  return errors_;
}

std::optional<int> ChildProcess::Wait(milliseconds limit) {
  if (!process_.waitForFinished(static_cast<int>(limit.count()))) {
    Kill();
    return std::nullopt;
  }
  Drain();
  if (process_.exitStatus() != QProcess::NormalExit) return std::nullopt;
  return process_.exitCode();
}

std::optional<int> ChildProcess::Terminate(milliseconds limit) {
  process_.terminate();
  return Wait(limit);
}

void ChildProcess::Kill() {
  if (process_.state() == QProcess::NotRunning) return;
  process_.kill();
  process_.waitForFinished();
}

std::uint16_t StartQuarnd(ChildProcess& quarnd, const std::vector<std::string>& args,
                          const std::filesystem::path& outputFile) {
  std::vector<std::string> all = {"--port", "0", "--bind", "127.0.0.1"};
  all.insert(all.end(), args.begin(), args.end());
  if (!quarnd.Start(ProgramFolder() / "quarnd", all, outputFile)) return 0;
  return ListeningPort(quarnd);
}

bool WaitUntil(const std::function<bool()>& done, milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  for (; !done(); std::this_thread::sleep_for(milliseconds(10))) {
    if (std::chrono::steady_clock::now() >= end) return false;
  }
  return true;
}

std::uint16_t ListeningPort(ChildProcess& quarnd) {
  static const std::regex kListening(R"(listening on port (\d+)\r?\n)");
  std::smatch match;
  const auto found = [&] { return std::regex_search(quarnd.Output(), match, kListening); };
  return WaitUntil(found, std::chrono::seconds(10))
             ? static_cast<std::uint16_t>(std::stoi(match[1]))
             : 0;
}

RunResult RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
                     milliseconds limit) {
  ChildProcess child;
  RunResult result;
  if (!child.Start(program, args)) return result;
  result.code = child.Wait(limit);
  result.out = child.Output();
  result.err = child.Errors();
  return result;
}

}  // namespace quarn::test
