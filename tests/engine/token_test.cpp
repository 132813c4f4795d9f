#include "engine/token.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "test_support.h"

namespace tarnivo {
namespace {

const DateTime kAfternoon{2024, 3, 5, 14, 7, 9};

// A settings file in memory that remembers what was asked.
struct FakeSettings {
  std::map<std::wstring, std::wstring> Values;  // key -> value, section "Variant" only
  std::vector<std::wstring> Reads;              // "section|key|default"

  SettingReader Reader() {
    return [this](std::wstring_view section, std::wstring_view key, std::wstring_view fallback) {
      Reads.push_back(std::wstring(section) + L"|" + std::wstring(key) + L"|" +
                      std::wstring(fallback));
      if (section != L"Variant") return std::wstring(fallback);
      const auto found = Values.find(std::wstring(key));
      return found == Values.end() ? std::wstring(fallback) : found->second;
    };
  }
};

TokenContext MakeContext(std::wstring fileName, std::int32_t listIndex = 0) {
  TokenContext context;
  context.FileName = std::move(fileName);
  context.ListIndex = listIndex;
  context.ReadSetting = [](std::wstring_view, std::wstring_view, std::wstring_view fallback) {
    return std::wstring(fallback);
  };
  context.Now = [] { return kAfternoon; };
  return context;
}

struct PieceCase {
  std::wstring Piece;
  std::wstring Expected;  // "ok <text>" or "error <number>"
};

void ExpectPieces(const TokenContext& context, std::initializer_list<PieceCase> cases,
                  const Keywords& keys = Keywords()) {
  for (const PieceCase& c : cases) {
    SCOPED_TRACE(test::Show(c.Piece));
    EXPECT_EQ(test::Outcome(EvaluateToken(c.Piece, context, keys)), c.Expected);
  }
}

// Keywords in the table's order (name, ext, date, now, Taxis, ...); the rest the defaults.
Keywords KeysOf(std::initializer_list<std::wstring> words) {
  Keywords keys;
  std::size_t row = 0;
  for (const std::wstring& word : words) keys[static_cast<TokenKind>(row++)] = word;
  return keys;
}

TEST(EvaluateToken, SimpleTokensAndLiteralLines) {
  ExpectPieces(MakeContext(L"IMG_0012.JPG"),
               {
                   {L"%name%", L"ok IMG_0012"},
                   {L"%NAME%", L"ok IMG_0012"},
                   {L"%Name%", L"ok IMG_0012"},
                   {L"%ext%", L"ok .JPG"},
                   {L"%eXT%", L"ok .JPG"},
                   {L"%date%", L"ok 240305"},
                   {L"%Date%", L"ok 240305"},
                   {L"%now%", L"ok 140709"},
                   {L"%NOW%", L"ok 140709"},
                   {L"%name%%ext%", L"ok %name%%ext%"},
                   {L" %name%", L"ok  %name%"},
                   {L"%name% ", L"ok %name% "},
                   {L"%name%\r", L"ok %name%\r"},
                   {L"%name", L"ok %name"},
                   {L"name", L"ok name"},
                   {L"%Taxis%", L"ok %Taxis%"},
                   {L"%Taxis", L"ok %Taxis"},
                   {L"Taxis:3,1,1", L"ok Taxis:3,1,1"},
                   {L"%名%", L"ok %名%"},
                   {L"", L"ok "},
                   {L"_", L"ok _"},
                   {L"Hello World", L"ok Hello World"},  // literal text keeps its case
               });
}

TEST(EvaluateToken, NameAndExtensionOfVariousFiles) {
  struct Case {
    std::wstring FileName, Name, Ext;
  };
  const Case cases[] = {
      {L"archive.tar.gz", L"ok archive.tar", L"ok .gz"},
      {L"README", L"ok README", L"ok "},
      {L".hidden", L"ok ", L"ok .hidden"},
      {L"name.", L"ok name", L"ok ."},
      {L"照片.jpg", L"ok 照片", L"ok .jpg"},
      {L"", L"ok ", L"ok "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.FileName));
    const TokenContext context = MakeContext(c.FileName);
    EXPECT_EQ(test::Outcome(EvaluateToken(L"%name%", context)), c.Name);
    EXPECT_EQ(test::Outcome(EvaluateToken(L"%ext%", context)), c.Ext);
  }
}

TEST(EvaluateToken, TemplateLinesJoinIntoTheNewName) {
  const TokenContext context = MakeContext(L"IMG_0012.JPG", 4);
  std::wstring newName;
  for (const std::wstring piece : {L"%name%", L"_", L"%ext%"})
    newName += EvaluateToken(piece, context).Value();
  EXPECT_EQ(newName, L"IMG_0012_.JPG");
  newName.clear();
  for (const std::wstring piece : {L"%date%", L"-", L"%Taxis:6,50,1%", L"%ext%"}) {
    newName += EvaluateToken(piece, context).Value();
  }
  EXPECT_EQ(newName, L"240305-000054.JPG");
}

TEST(EvaluateToken, KeywordsWithCapitalsFromTheSettings) {
  const TokenContext context = MakeContext(L"a.b.jpg", 1);
  ExpectPieces(context,
               {
                   {L"%name%", L"ok a.b"},
                   {L"%Name%", L"ok a.b"},
                   {L"%NAME%", L"ok a.b"},
                   {L"%ext%", L"ok .jpg"},
                   {L"%datum%", L"ok 240305"},
                   {L"%JETZT%", L"ok 140709"},
                   {L"%taxis:3,1,1%", L"ok 002"},
                   {L"%Taxis:3,1,1%", L"ok 002"},
                   {L"%date%", L"ok %date%"},  // the default keyword no longer counts
                   {L"%now%", L"ok %now%"},
               },
               KeysOf({L"Name", L"EXT", L"Datum", L"Jetzt", L"TAXIS"}));
}

TEST(EvaluateToken, UnusualKeywords) {
  const TokenContext context = MakeContext(L"x.txt", 0);
  Keywords keys;
  keys[TokenKind::Name] = L"名称";
  keys[TokenKind::Sequence] = L"";
  ExpectPieces(context, {{L"%名称%", L"ok x"}, {L"%名稱%", L"ok %名稱%"}, {L"%:3,1,1%", L"ok 001"}},
               keys);

  ExpectPieces(context, {{L"%x%", L"ok x"}, {L"%X:3,1,1%", L"ok 001"}},  // name before ext
               KeysOf({L"x", L"x", L"date", L"now", L"x"}));

  keys = Keywords();
  keys[TokenKind::Name] = L"\xC4";  // only A-Z are folded: Ä and ä stay apart
  ExpectPieces(context, {{L"%\xC4%", L"ok x"}, {L"%\xE4%", L"ok %\xE4%"}}, keys);

  keys = Keywords();
  keys[TokenKind::Sequence] = L"a:b";  // parameters start after the piece's first ":"
  ExpectPieces(context, {{L"%a:b:3,1,1%", L"error 13"}}, keys);
}

TEST(EvaluateToken, SequenceNumbers) {
  struct Case {
    std::wstring Piece;
    std::int32_t Index;
    std::wstring Expected;
  };
  const Case cases[] = {
      {L"%Taxis:6,50,1%", 0, L"ok 000050"},
      {L"%Taxis:6,50,1%", 1, L"ok 000051"},
      {L"%Taxis:6,50,1%", 2, L"ok 000052"},
      {L"%Taxis:3,1,1%", 0, L"ok 001"},
      {L"%Taxis:3,1,1%", 2, L"ok 003"},
      {L"%Taxis:3,1,1%", 1000, L"ok 1001"},  // wider than W: not cut
      {L"%Taxis:0,7,2%", 0, L"ok 7"},
      {L"%Taxis:0,7,2%", 1, L"ok 9"},
      {L"%Taxis:0,7,2%", 2, L"ok 11"},
      {L"%Taxis:4,-5,1%", 0, L"ok -0005"},
      {L"%Taxis:4,-5,1%", 5, L"ok 0000"},
      {L"%Taxis:4,-5,1%", 6, L"ok 0001"},
      {L"%Taxis:3,1,-1%", 2, L"ok -001"},
      {L"%Taxis:3,10,0.4%", 0, L"ok 010"},  // 10
      {L"%Taxis:3,10,0.4%", 1, L"ok 010"},  // 10.4
      {L"%Taxis:3,10,0.4%", 2, L"ok 011"},  // 10.8
      {L"%Taxis:3,10,0.4%", 3, L"ok 011"},  // 11.2
      {L"%Taxis:0,10,0.4%", 3, L"ok 11.2"},
      {L"%Taxis:0,0,0.1%", 3, L"ok 0.3"},
      {L"%Taxis:0,-0.5,0%", 0, L"ok -0.5"},
      {L"%Taxis:3,0.5,1%", 0, L"ok 001"},  // a half goes away from zero
      {L"%Taxis:3,0.5,1%", 1, L"ok 002"},
      {L"%Taxis:3,-2.5,0%", 0, L"ok -003"},
      {L"%Taxis:3,-0.4,0%", 0, L"ok 000"},
      {L"%Taxis:3,1,1", 1, L"ok 002"},  // no closing %
      {L"%Taxis:3,1,1%junk", 2, L"ok 003"},
      {L"%taxis:3,1,1%", 0, L"ok 001"},
      {L"%TAXIS:3,1,1%", 0, L"ok 001"},
      {L"%Taxis:3,a,b%", 0, L"ok 000"},
      {L"%Taxis:3,a,b%", 5, L"ok 000"},
      {L"%Taxis: 3 , 5 , 2 %", 1, L"ok 007"},
      {L"%Taxis:3,1 0,1%", 0, L"ok 010"},  // blanks inside S are skipped
      {L"%Taxis:3,&H10,&O10%", 1, L"ok 024"},
      {L"%Taxis:3,1,2e1%", 1, L"ok 021"},
      {L"%Taxis:3,1,1,9,9%", 0, L"ok 001"},  // further fields ignored
      {L"%Taxis:2.5,1,1%", 0, L"ok 01"},     // W: half to even
      {L"%Taxis:3.5,1,1%", 0, L"ok 0001"},
      {L"%Taxis:-0.5,1,1%", 0, L"ok 1"},  // W rounds to 0
      {L"%Taxis:&H4,1,1%", 0, L"ok 0001"},
      {L"%Taxis:1e1,1,1%", 0, L"ok 0000000001"},
      {L"%Taxis:3,1e20,0%", 0, L"ok 100000000000000000000"},
      {L"%Taxis:0,1e15,0%", 0, L"ok 1E+15"},
      {L"%Taxis:0,0.00001,0%", 0, L"ok 1E-05"},
      {L"%Taxis:5,1,1%", 32767, L"ok 32768"},  // positions are 32-bit
      {L"%Taxis:5,1,1%", 32768, L"ok 32769"},
      {L"%Taxis:5,1,1%", 40000, L"ok 40001"},
      {L"%Taxis:5,1,1%", 100000, L"ok 100001"},
      {L"%Taxis:0,0,1%", 2147483647, L"ok 2147483647"},
      {L"%Taxis:3,1,1%", -1, L"ok 000"},  // nothing selected
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << test::Show(c.Piece) << " at " << c.Index);
    EXPECT_EQ(test::Outcome(EvaluateToken(c.Piece, MakeContext(L"a.jpg", c.Index))), c.Expected);
  }
}

TEST(EvaluateToken, SequenceFailuresCarryTheirNumbers) {
  struct Case {
    std::wstring Piece;
    std::int32_t Index;
    std::wstring Expected;
  };
  const Case cases[] = {
      {L"%Taxis:6,50%", 0, L"error 9"},
      {L"%Taxis:6%", 0, L"error 9"},
      {L"%Taxis:%", 0, L"error 9"},
      {L"%Taxis:", 0, L"error 9"},
      {L"%Taxis:,%", 0, L"error 9"},
      {L"%Taxis:x,1%", 0, L"error 9"},  // too few fields before W is read
      {L"%Taxis:,50,1%", 0, L"error 13"},
      {L"%Taxis:x,50,1%", 0, L"error 13"},
      {L"%Taxis:6 0,50,1%", 0, L"error 13"},
      {L"%Taxis:6%,50,1%", 0, L"error 13"},
      {L"%Taxis:x,1e400,1%", 0, L"error 13"},  // W is read before V
      {L"%Taxis:2147483648,1,1%", 0, L"error 6"},
      {L"%Taxis:-2147483649,1,1%", 0, L"error 6"},
      {L"%Taxis:1e10,1,1%", 0, L"error 6"},
      {L"%Taxis:3,1e308,1e308%", 1, L"error 6"},
      {L"%Taxis:3,-1e308,-1e308%", 2, L"error 6"},
      {L"%Taxis:3,1e400,0%", 0, L"error 6"},
      {L"%Taxis:3,1,1e400%", 0, L"error 6"},   // 0 x infinity is no number either
      {L"%Taxis:-1,1e400,1%", 0, L"error 6"},  // V is checked before the sign of W
      {L"%Taxis:-1,1,1%", 0, L"error 5"},
      {L"%Taxis:-0.6,1,1%", 0, L"error 5"},
      {L"%Taxis:-2147483648,1,1%", 0, L"error 5"},
      {L"%Taxis:268435456,1,1%", 0, L"error 7"},
      {L"%Taxis:2147483647,1,1%", 0, L"error 7"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << test::Show(c.Piece) << " at " << c.Index);
    EXPECT_EQ(test::Outcome(EvaluateToken(c.Piece, MakeContext(L"a.jpg", c.Index))), c.Expected);
  }
  // A large value that a double holds is no failure.
  const auto big = EvaluateToken(L"%Taxis:3,1e308,1e308%", MakeContext(L"a.jpg", 0));
  ASSERT_TRUE(big.Ok());
  EXPECT_EQ(big.Value(), L"1" + std::wstring(308, L'0'));
}

TEST(EvaluateToken, DatePicturesComeFromTheSettingsAtEveryEvaluation) {
  FakeSettings settings;
  TokenContext context = MakeContext(L"a.jpg");
  context.ReadSetting = settings.Reader();

  EXPECT_EQ(EvaluateToken(L"%date%", context).Value(), L"240305");
  EXPECT_EQ(EvaluateToken(L"%now%", context).Value(), L"140709");
  EXPECT_EQ(settings.Reads,
            (std::vector<std::wstring>{L"Variant|Formatdate|yymmdd", L"Variant|Formatnow|hhmmss"}));

  struct Case {
    std::wstring Key, Picture, Piece, Expected;
  };
  const Case cases[] = {
      {L"Formatdate", L"yyyy-mm-dd", L"%date%", L"2024-03-05"},
      {L"Formatdate", L"hh:nn:ss", L"%date%", L"00:00:00"},  // the date has no time of day
      {L"Formatdate", L"yymmdd AM/PM", L"%date%", L"240305 AM"},
      {L"Formatdate", L"", L"%date%", L"2024/3/5"},  // present but empty: general date
      {L"Formatnow", L"", L"%now%", L"2024/3/5 14:07:09"},
      {L"Formatnow", L"yyyy-mm-dd hh:mm:ss", L"%now%", L"2024-03-05 14:07:09"},
      {L"Formatnow", L"h:nn a/p", L"%now%", L"2:07 p"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(test::Show(c.Key + L"=" + c.Picture));
    settings.Values[c.Key] = c.Picture;  // an edit of the file counts at the next evaluation
    EXPECT_EQ(test::Outcome(EvaluateToken(c.Piece, context)), L"ok " + c.Expected);
  }
}

TEST(EvaluateToken, ClockIsReadAtEveryEvaluation) {
  TokenContext context = MakeContext(L"a.jpg");
  int calls = 0;
  context.Now = [&calls] {
    ++calls;
    return DateTime{2024, 12, 31, 23, 59, 58 + (calls - 1) % 2};
  };
  EXPECT_EQ(EvaluateToken(L"%now%", context).Value(), L"235958");
  EXPECT_EQ(EvaluateToken(L"%now%", context).Value(), L"235959");
  EXPECT_EQ(EvaluateToken(L"%date%", context).Value(), L"241231");
  EXPECT_EQ(calls, 3);
  EXPECT_EQ(EvaluateToken(L"%name%", context).Value(), L"a");
  EXPECT_EQ(calls, 3);  // only the date and time tokens ask for the time
}

TEST(EvaluateToken, LocaleIsHandedIn) {
  TokenContext context = MakeContext(L"a.jpg");
  context.Locale.DateSeparator = L".";
  context.Locale.MonthNames[2] = L"March";
  FakeSettings settings;
  settings.Values[L"Formatdate"] = L"d/mmmm/yyyy";
  context.ReadSetting = settings.Reader();
  EXPECT_EQ(EvaluateToken(L"%date%", context).Value(), L"5.March.2024");
}

TEST(EvaluateToken, MissingReaderAndClockFallBackToDefaults) {
  TokenContext context;
  context.FileName = L"a.jpg";
  EXPECT_EQ(EvaluateToken(L"%date%", context).Value(), L"991230");
  EXPECT_EQ(EvaluateToken(L"%now%", context).Value(), L"000000");
}

}  // namespace
}  // namespace tarnivo

namespace tarnivo {
namespace {

TEST(EvaluateToken, FileDatesThroughTheirOwnPicturesAndFailures) {
  FakeSettings settings;
  settings.Values[L"Formatmodified"] = L"yyyy-mm-dd";
  TokenContext context = MakeContext(L"IMG_1.JPG");
  context.ReadSetting = settings.Reader();
  Result<DateTime> taken = DateTime{2024, 3, 5, 14, 7, 9};
  std::vector<FileDateKind> asked;
  context.FileDate = [&](FileDateKind kind) -> Result<DateTime> {
    asked.push_back(kind);
    return kind == FileDateKind::Taken ? taken : Result<DateTime>(DateTime{2025, 1, 2, 3, 4, 5});
  };
  ExpectPieces(context, {
                            {L"%taken%", L"ok 20240305_140709"},
                            {L"%TAKEN%", L"ok 20240305_140709"},
                            {L"%modified%", L"ok 2025-01-02"},
                            {L"%taken%x", L"ok %taken%x"},
                        });
  EXPECT_EQ(asked.size(), 3u);  // a literal line asks for no date
  EXPECT_EQ(settings.Reads.front(), L"Variant|Formattaken|yyyymmdd_hhnnss");
  taken = Failure{ErrorKind::NoDateTaken};
  ExpectPieces(context, {{L"%taken%", L"error 1001"}});
  context.FileDate = nullptr;
  ExpectPieces(context, {{L"%modified%", L"error 53"}});
  // Tested after the time token and before the sequence token: a keyword may shadow it.
  Keywords keys;
  keys[TokenKind::Taken] = L"Taxis:1,1,1";
  context.FileDate = [](FileDateKind) -> Result<DateTime> { return DateTime{2024, 3, 5, 0, 0, 0}; };
  ExpectPieces(context, {{L"%Taxis:1,1,1%", L"ok 20240305_000000"}}, keys);
}

}  // namespace
}  // namespace tarnivo
