#include "client/model/inifile.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/child_process.h"

namespace quarn::client {
namespace {

using Entries = std::vector<TIniFile::Entry>;
using namespace std::string_literals;

TEST(IniFile, ReadsSectionsInFileOrderIgnoringCaseAndSpaces) {
  TIniFile ini;
  ini.Parse(
      "[POKER_PLAYERS]\r\nNAME1=\xC0\xEE\xCB\xC4\r\n  NAME0 = \xD5\xC5\xC8\xFD \r\n"
      "[poker_servers]\nSERVER0=10.0.0.1=x\n");
  EXPECT_EQ(ini.ReadSection("POKER_PLAYERS"),
            (Entries{{"NAME1", "\xC0\xEE\xCB\xC4"}, {"NAME0", "\xD5\xC5\xC8\xFD"}}));
  EXPECT_EQ(ini.ReadString("Poker_Servers", "server0"), "10.0.0.1=x");  // first "=" splits
  EXPECT_EQ(ini.ReadString("POKER_SERVERS", "SERVER1", "none"), "none");
  EXPECT_TRUE(ini.ReadSection("PLAYER_ICON").empty());
}

TEST(IniFile, WritingKeepsKeyOrderAndAppendsNewKeysAndSections) {
  TIniFile ini;
  ini.Parse("; remembered names\r\n[POKER_PLAYERS]\r\nNAME0=a\r\nNAME1=b\r\n\r\n[X]\r\nK=v\r\n");
  EXPECT_EQ(ini.WriteString("POKER_PLAYERS", "NAME2", "c"), 0);
  EXPECT_EQ(ini.WriteString("POKER_PLAYERS", "NAME0", "z"), 0);
  EXPECT_EQ(ini.WriteString("PLAYER_ICON", "ICON0", "7"), 0);
  EXPECT_EQ(ini.Text(),
            "; remembered names\r\n[POKER_PLAYERS]\r\nNAME0=z\r\nNAME1=b\r\nNAME2=c\r\n\r\n"
            "[X]\r\nK=v\r\n[PLAYER_ICON]\r\nICON0=7\r\n");
}

TEST(IniFile, DeletesOnlyTheNamedKey) {
  TIniFile ini;
  ini.Parse("[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
  EXPECT_EQ(ini.DeleteKey("s", "b"), 0);
  EXPECT_EQ(ini.DeleteKey("S", "B"), 1);
  EXPECT_EQ(ini.DeleteKey("T", "A"), 1);
  EXPECT_EQ(ini.Text(), "[S]\r\nA=1\r\nC=3\r\n");
}

TEST(IniFile, MalformedTextIsKeptAndNeverBreaksTheEntries) {
  TIniFile ini;
  const std::string damaged =
      "garbage before any section\r\n[POKER_PLAYERS\r\n[POKER_PLAYERS]\r\n=no key\r\n"
      "just text\r\nNAME0=ok\r\n\xFF\xFE\x00\x81=\x81\r\n[]\r\nNAME0=other"s;
  ini.Parse(damaged);
  EXPECT_EQ(ini.ReadSection("POKER_PLAYERS"),
            (Entries{{"NAME0", "ok"}, {"\xFF\xFE\x00\x81"s, "\x81"}}));
  EXPECT_EQ(ini.WriteString("POKER_PLAYERS", "NAME1", "new"), 0);
  TIniFile again;
  again.Parse(ini.Text());
  EXPECT_EQ(again.ReadSection("POKER_PLAYERS").size(), 3U);
  EXPECT_NE(again.Text().find("garbage before any section"), std::string::npos);
  EXPECT_NE(again.Text().find("just text"), std::string::npos);
  EXPECT_EQ(again.ReadString("", "NAME0"), "other");

  // Names that would corrupt the file are refused; line breaks in values are flattened.
  EXPECT_EQ(ini.WriteString("A]B", "K", "v"), 1);
  EXPECT_EQ(ini.WriteString("S", "K=1", "v"), 1);
  EXPECT_EQ(ini.WriteString("S", "", "v"), 1);
  EXPECT_EQ(ini.WriteString("S", " ;K", "v"), 1);
  EXPECT_EQ(ini.WriteString("S", "K", "two\r\nlines"), 0);
  EXPECT_EQ(ini.ReadString("S", "K"), "two  lines");
}

TEST(IniFile, FileRoundTripAndFailures) {
  namespace fs = std::filesystem;
  const test::TempDir dir;
  const std::string path = (dir.path() / "quarn.ini").string();

  TIniFile missing(path);  // no file yet: empty, and writing creates it
  EXPECT_TRUE(missing.ReadSection("POKER_SERVERS").empty());
  ASSERT_EQ(missing.WriteString("POKER_SERVERS", "SERVER0", "127.0.0.1:4000"), 0);
  ASSERT_EQ(missing.UpdateFile(), 0);
  EXPECT_FALSE(fs::exists(path + ".tmp"));
  EXPECT_EQ(TIniFile(path).ReadString("POKER_SERVERS", "SERVER0"), "127.0.0.1:4000");

  TIniFile unbound;
  EXPECT_EQ(unbound.UpdateFile(), 1);
  TIniFile nowhere((dir.path() / "no_such_dir" / "quarn.ini").string());
  EXPECT_EQ(nowhere.UpdateFile(), 1);
}

}  // namespace
}  // namespace quarn::client
