#include "posix/desktop_entry.h"

#include <gtest/gtest.h>

namespace wh {
namespace {

TEST(DesktopEntryTest, NameFollowsTheMessagesLocale) {
  const char* all =
      "[Desktop Entry]\n"
      "Type=Application\n"
      "Name=Editor\n"
      "Name[de]=Bearbeiter\n"
      "Name[de_DE]=Editor (Deutschland)\n"
      "Name[de@euro]=Editor (de, Euro)\n"
      "Name[de_DE@euro]=Editor (Deutschland, Euro)\n"
      "Name[sr@latin]=Uređivač\n"
      "Name[pt_BR]=Editor (Brasil)\n";
  const char* noFullMatch =
      "[Desktop Entry]\n"
      "Name=Editor\n"
      "Name[de]=Bearbeiter\n"
      "Name[de@euro]=Editor (de, Euro)\n"
      "Name[de_DE]=Editor (Deutschland)\n";
  const char* onlyLanguage =
      "[Desktop Entry]\n"
      "Name[fr]=Éditeur\n"
      "Name=Editor\n";
  const char* noName =
      "[Desktop Entry]\n"
      "Name[de]=Bearbeiter\n";
  const char* encodedKey =
      "[Desktop Entry]\n"
      "Name=Editor\n"
      "Name[ja_JP.UTF-8]=エディタ\n";
  // "Notatnik" in Latin-2 would be plain ASCII; "Edytor tekstu ż" is not.
  const char* otherEncodings =
      "[Desktop Entry]\n"
      "Name=Editor\n"
      "Name[pl]=Notatnik\n"
      "Name[pl_PL.ISO-8859-2]=Edytor tekstu \xbf\n"
      "Name[de]=Bearbeiter\n"
      "Name[de_DE]=Bearbeiter \xe4\n";
  const struct {
    const char* text;
    const char* locale;
    const char* name;
  } cases[] = {
      {all, "", "Editor"},
      {all, "de_DE.UTF-8@euro", "Editor (Deutschland, Euro)"},
      {all, "de_DE@euro", "Editor (Deutschland, Euro)"},
      {all, "de_DE.UTF-8", "Editor (Deutschland)"},
      {all, "de_AT.UTF-8", "Bearbeiter"},
      {all, "de_AT@euro", "Editor (de, Euro)"},
      {all, "de@euro", "Editor (de, Euro)"},
      {all, "de", "Bearbeiter"},
      {all, "sr_RS@latin", "Uređivač"},
      {all, "pt", "Editor"},  // a country-specific name doesn't serve the language
      {all, "fr_FR.UTF-8", "Editor"},
      {all, "DE_de", "Editor"},  // locales match as written
      // The country outranks the modifier.
      {noFullMatch, "de_DE@euro", "Editor (Deutschland)"},
      {onlyLanguage, "fr_CA", "Éditeur"},
      {onlyLanguage, "fr_CA.ISO-8859-1@x", "Éditeur"},
      // Without an unlocalized Name there is no name for other languages.
      {noName, "en_GB", ""},
      {noName, "de_CH", "Bearbeiter"},
      {encodedKey, "ja_JP.UTF-8", "エディタ"},
      {encodedKey, "ja_JP", "エディタ"},
      // A translation that isn't UTF-8 gives way to the next candidate.
      {otherEncodings, "pl_PL.ISO-8859-2", "Notatnik"},
      {otherEncodings, "de_DE.UTF-8", "Bearbeiter"},
      // A priority list: each locale with its fallbacks before the next.
      {all, "fr:de_AT:de_DE", "Bearbeiter"},
      {all, "pt_BR:de", "Editor (Brasil)"},
      {all, "it::sr_RS@latin", "Uređivač"},
      {all, "it:fr", "Editor"},
  };
  for (const auto& c : cases) {
    const std::optional<DesktopEntry> entry = ReadDesktopEntry(c.text, c.locale);
    ASSERT_TRUE(entry.has_value()) << c.locale;
    EXPECT_EQ(entry->name, c.name) << "locale '" << c.locale << "' in\n" << c.text;
  }
}

TEST(DesktopEntryTest, ReadsTheDesktopEntryGroupOnly) {
  const struct {
    const char* what;
    const char* text;
    bool isEntry;
    const char* name;
    const char* exec;
  } cases[] = {
      {"plain", "[Desktop Entry]\nName=Files\nExec=nautilus --new-window %U\n", true, "Files",
       "nautilus --new-window %U"},
      {"blanks around '=' and at the ends",
       "  [Desktop Entry]  \n  Name  =   Two  Words \t\nExec\t=\tfoo\n", true, "Two  Words", "foo"},
      {"escapes", "[Desktop Entry]\nName=\\sLead\\tTab\\nLine\\rCR\\\\back\n", true,
       " Lead\tTab\nLine\rCR\\back", ""},
      {"an escaped backslash before s", "[Desktop Entry]\nName=a\\\\s\n", true, "a\\s", ""},
      {"other escapes stay for the Exec quoting",
       "[Desktop Entry]\nName=x\nExec=sh -c \"echo \\\\$HOME\" \\\"q\\\"\n", true, "x",
       "sh -c \"echo \\$HOME\" \\\"q\\\""},
      {"a trailing lone backslash", "[Desktop Entry]\nName=end\\\n", true, "end\\", ""},
      {"a value with '='", "[Desktop Entry]\nName=a=b\nExec=env A=1 prog\n", true, "a=b",
       "env A=1 prog"},
      {"comments and blank lines", "# Name=Comment\n\n[Desktop Entry]\n\n# Name=No\nName=Yes\n",
       true, "Yes", ""},
      {"CRLF line ends", "[Desktop Entry]\r\nName=Windows lines\r\nExec=prog\r\n", true,
       "Windows lines", "prog"},
      {"no final line break", "[Desktop Entry]\nName=Last", true, "Last", ""},
      {"actions after the entry",
       "[Desktop Entry]\nName=Browser\n\n[Desktop Action new-private]\nName=Private\nExec=b "
       "--private\n",
       true, "Browser", ""},
      {"another group first", "[X-Extra]\nName=Wrong\n[Desktop Entry]\nExec=right\n", true, "",
       "right"},
      {"the group name is exact", "[desktop entry]\nName=Lower\n", false, "", ""},
      {"a second Desktop Entry group goes on with the first",
       "[Desktop Entry]\nName=First\nExec=first\n[X]\nName=X\n[Desktop Entry]\nName=Second\n", true,
       "Second", "first"},
      {"a repeated key: the last holds", "[Desktop Entry]\nName=One\nName=Two\n", true, "Two", ""},
      {"a line without '='", "[Desktop Entry]\nName\nExec=ok\n", true, "", "ok"},
      {"keys are case-sensitive", "[Desktop Entry]\nname=lower\nNAME=upper\n", true, "", ""},
      {"no group at all", "Name=Loose\nExec=loose\n", false, "", ""},
      {"empty file", "", false, "", ""},
  };
  for (const auto& c : cases) {
    const std::optional<DesktopEntry> entry = ReadDesktopEntry(c.text, "");
    ASSERT_EQ(entry.has_value(), c.isEntry) << c.what;
    if (!entry) continue;
    EXPECT_EQ(entry->name, c.name) << c.what;
    EXPECT_EQ(entry->exec, c.exec) << c.what;
  }
}

TEST(DesktopEntryTest, MenusShowVisibleApplicationsAndLinks) {
  const struct {
    const char* keys;
    bool shown;
  } cases[] = {
      {"Type=Application\n", true},
      {"Type=Link\nURL=https://example.org/\n", true},
      {"Type=Directory\n", false},
      {"Type=Service\n", false},
      {"", false},
      {"Type=application\n", false},
      {"Type=Application\nNoDisplay=true\n", false},
      {"Type=Application\nNoDisplay=false\n", true},
      {"Type=Application\nNoDisplay=1\n", false},
      {"Type=Application\nNoDisplay=True\n", true},
      {"Type=Application\nHidden=true\n", false},
      {"Type=Link\nHidden=true\n", false},
      {"Type=Application\nHidden=false\nNoDisplay=false\n", true},
      {"Type = Application\nNoDisplay = true \n", false},
      // A hand-edited copy that appends its own line.
      {"Type=Application\nNoDisplay=false\nNoDisplay=true\n", false},
      {"Type=Application\nHidden=false\nHidden=true\n", false},
      {"Type=Application\nNoDisplay=true\nNoDisplay=false\n", true},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("[Desktop Entry]\nName=N\nExec=e\n") + c.keys;
    const std::optional<DesktopEntry> entry = ReadDesktopEntry(text, "");
    ASSERT_TRUE(entry.has_value()) << c.keys;
    EXPECT_EQ(ShownInMenus(*entry), c.shown) << c.keys;
  }
}

TEST(DesktopEntryTest, ShownOnTheDesktopsItIsMeantFor) {
  const struct {
    const char* keys;
    const char* desktops;
    bool shown;
  } cases[] = {
      {"", "GNOME", true},
      {"", "", true},
      {"OnlyShowIn=KDE;\n", "GNOME", false},
      {"OnlyShowIn=KDE;GNOME;\n", "GNOME", true},
      {"OnlyShowIn=GNOME\n", "ubuntu:GNOME", true},  // the last item needs no ";"
      {"OnlyShowIn=GNOME;\n", "", false},
      {"NotShowIn=GNOME;\n", "GNOME", false},
      {"NotShowIn=GNOME;\n", "KDE", true},
      {"NotShowIn=GNOME;\n", "", true},
      // The most specific desktop named decides.
      {"OnlyShowIn=Unity;\nNotShowIn=GNOME;\n", "Unity:GNOME", true},
      {"OnlyShowIn=GNOME;\nNotShowIn=Unity;\n", "Unity:GNOME", false},
      {"OnlyShowIn=X\\;Y;\n", "X;Y", true},
      {"OnlyShowIn=X\\;Y;\n", "X", false},
      // An escaped backslash ends the item before the ";".
      {"OnlyShowIn=Foo\\\\;GNOME;\n", "GNOME", true},
      {"OnlyShowIn=Foo\\\\;GNOME;\n", "Foo\\", true},
      {"OnlyShowIn=Foo\\\\;GNOME;\n", "Foo;GNOME", false},
  };
  for (const auto& c : cases) {
    const std::string text = std::string("[Desktop Entry]\nType=Application\nName=N\n") + c.keys;
    const std::optional<DesktopEntry> entry = ReadDesktopEntry(text, "");
    ASSERT_TRUE(entry.has_value()) << c.keys;
    EXPECT_EQ(ShownOnDesktop(*entry, c.desktops), c.shown) << c.keys << " on " << c.desktops;
  }
}

TEST(DesktopEntryTest, FieldsOfALinkAndAnApplication) {
  const std::optional<DesktopEntry> app = ReadDesktopEntry(
      "[Desktop Entry]\nType=Application\nName=Calc\nExec=calc %f\nTryExec=/usr/bin/calc\n"
      "NoDisplay=true\n",
      "");
  ASSERT_TRUE(app.has_value());
  EXPECT_EQ(app->type, "Application");
  EXPECT_EQ(app->exec, "calc %f");
  EXPECT_EQ(app->tryExec, "/usr/bin/calc");
  EXPECT_TRUE(app->noDisplay);
  EXPECT_FALSE(app->hidden);

  const std::optional<DesktopEntry> link = ReadDesktopEntry(
      "[Desktop Entry]\nType=Link\nName=Docs\nURL=https://example.org/a\\sb\nHidden=true\n", "");
  ASSERT_TRUE(link.has_value());
  EXPECT_EQ(link->type, "Link");
  EXPECT_EQ(link->url, "https://example.org/a b");
  EXPECT_TRUE(link->hidden);
  EXPECT_FALSE(link->noDisplay);
}

TEST(DesktopEntryTest, MessagesLocaleFromTheEnvironment) {
  const struct {
    const char* language;
    const char* lcAll;
    const char* lcMessages;
    const char* lang;
    const char* locale;
  } cases[] = {
      {nullptr, nullptr, nullptr, nullptr, ""},
      {nullptr, nullptr, nullptr, "de_DE.UTF-8", "de_DE.UTF-8"},
      {nullptr, nullptr, "fr_FR.UTF-8", "de_DE.UTF-8", "fr_FR.UTF-8"},
      {nullptr, "sr_RS@latin", "fr_FR.UTF-8", "de_DE.UTF-8", "sr_RS@latin"},
      {"", "", "", "pt_BR", "pt_BR"},  // set but empty counts as unset
      {nullptr, "", "it_IT", "", "it_IT"},
      {nullptr, "C", "fr_FR", "de_DE", ""},  // LC_ALL=C wins and has no translations
      {nullptr, nullptr, "POSIX", "de_DE", ""},
      {nullptr, nullptr, nullptr, "C.UTF-8", ""},
      {nullptr, nullptr, nullptr, "en_US.UTF-8", "en_US.UTF-8"},
      // LANGUAGE's list takes over, except in the C locale.
      {"fr:en", nullptr, nullptr, "de_DE.UTF-8", "fr:en"},
      {"fr:en", "C", nullptr, "de_DE.UTF-8", ""},
      {"fr:en", nullptr, nullptr, nullptr, ""},
  };
  auto shown = [](const char* value) { return value ? value : "(unset)"; };
  for (const auto& c : cases) {
    EXPECT_EQ(MessagesLocale(c.language, c.lcAll, c.lcMessages, c.lang), c.locale)
        << shown(c.language) << " / " << shown(c.lcAll) << " / " << shown(c.lcMessages) << " / "
        << shown(c.lang);
  }
}

}  // namespace
}  // namespace wh
