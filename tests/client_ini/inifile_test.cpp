#include "client/model/inifile.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>

#include "tests/support/files.h"

namespace quarn::client {
namespace {

using Entries = std::vector<TIniFile::Entry>;
using namespace std::string_literals;

TEST(IniFile, ReadsSectionsInFileOrderIgnoringCaseSpacesAndByteOrderMarks) {
  TIniFile ini;
  ini.Parse(
      " \xEF\xBB\xBF[POKER_PLAYERS]\r\nNAME1=\xC0\xEE\xCB\xC4\r\n  NAME0 = \xD5\xC5\xC8\xFD \r\n"
      "[poker_servers]\nSERVER0=10.0.0.1=x\n");
  EXPECT_EQ(ini.ReadSection("POKER_PLAYERS"),
            (Entries{{"NAME1", "\xC0\xEE\xCB\xC4"}, {"NAME0", "\xD5\xC5\xC8\xFD"}}));
  EXPECT_EQ(ini.ReadString("Poker_Servers", "server0"), "10.0.0.1=x");  // the first "=" splits
  EXPECT_EQ(ini.ReadString("POKER_SERVERS", "SERVER1", "none"), "none");
  EXPECT_TRUE(ini.ReadSection("PLAYER_ICON").empty());
}

TEST(IniFile, WritingKeepsKeyOrderAppendsNewKeysAndDeletesOnlyTheNamedKey) {
  TIniFile ini;
  ini.Parse("; remembered names\r\n[POKER_PLAYERS]\r\nNAME0=a\r\nNAME1=b\r\n\r\n[X]\r\nK=v\r\n");
  EXPECT_TRUE(ini.WriteString("POKER_PLAYERS", "NAME2", "c"));
  EXPECT_TRUE(ini.WriteString("poker_players", "name0", "z"));
  EXPECT_TRUE(ini.WriteString("PLAYER_ICON", "ICON0", "7"));
  EXPECT_TRUE(ini.DeleteKey("x", "k"));
  EXPECT_FALSE(ini.DeleteKey("X", "K"));
  EXPECT_FALSE(ini.DeleteKey("T", "A"));
  EXPECT_EQ(ini.Text(),
            "; remembered names\r\n[POKER_PLAYERS]\r\nNAME0=z\r\nNAME1=b\r\nNAME2=c\r\n\r\n"
            "[X]\r\n[PLAYER_ICON]\r\nICON0=7\r\n");
}

TEST(IniFile, MalformedTextIsKeptAndNamesThatWouldCorruptTheFileAreRefused) {
  TIniFile ini;
  ini.Parse(
      "garbage before any section\r\n[POKER_PLAYERS\r\n[POKER_PLAYERS]\r\n=no key\r\n"
      "just text\r\nNAME0=ok\r\n\xFF\xFE\x00\x81=\x81\r\n[]\r\nNAME0=other"s);
  EXPECT_EQ(ini.ReadSection("POKER_PLAYERS"),
            (Entries{{"NAME0", "ok"}, {"\xFF\xFE\x00\x81"s, "\x81"}}));
  EXPECT_TRUE(ini.WriteString("POKER_PLAYERS", "NAME1", "new"));
  TIniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadSection("POKER_PLAYERS").size(), 3U);
  EXPECT_NE(again.Text().find("garbage before any section\r\n"), std::string::npos);
  EXPECT_NE(again.Text().find("\r\njust text\r\n"), std::string::npos);
  EXPECT_EQ(again.ReadString("", "NAME0"), "other");

  for (const auto& [section, key] : std::vector<std::pair<const char*, const char*>>{
           {"A]B", "K"}, {"S", "K=1"}, {"S", ""}, {"S", " ;K"}, {"[S", "K"}, {"S", "K\nL"}}) {
    EXPECT_FALSE(ini.WriteString(section, key, "v")) << section << " " << key;
  }
  EXPECT_TRUE(ini.WriteString("S", "K", "two\r\nlines"));  // line breaks in values are flattened
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadString("S", "K"), "two  lines");
}

TEST(IniFile, WrittenThroughATemporaryFileSoAFailedWriteKeepsTheOldOne) {
  const test::TempDir dir;
  const std::string path = (dir.path() / "quarn.ini").string();
  TIniFile missing(path);  // no file yet: empty, and writing creates it
  EXPECT_TRUE(missing.ReadSection("POKER_SERVERS").empty());
  ASSERT_TRUE(missing.WriteString("POKER_SERVERS", "SERVER0", "127.0.0.1:4000"));
  ASSERT_TRUE(missing.UpdateFile());
  EXPECT_EQ(TIniFile(path).ReadString("POKER_SERVERS", "SERVER0"), "127.0.0.1:4000");
  const std::string before = test::ReadFile(path);

  // The disk refuses part way (here: the size limit on files): the old file stays whole.
  ASSERT_TRUE(missing.WriteString("POKER_SERVERS", "SERVER1", std::string(100000, 'x')));
  rlimit old{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
  const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
  const rlimit small{4096, old.rlim_max};
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const bool written = missing.UpdateFile();
  setrlimit(RLIMIT_FSIZE, &old);
  std::signal(SIGXFSZ, previousHandler);
  EXPECT_FALSE(written);
  EXPECT_EQ(test::ReadFile(path), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);

  EXPECT_FALSE(TIniFile().UpdateFile());  // no file bound
  EXPECT_FALSE(TIniFile((dir.path() / "no_such_dir" / "quarn.ini").string()).UpdateFile());
}

}  // namespace
}  // namespace quarn::client
