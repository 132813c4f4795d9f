// Pieces and pictures of any length and content: no crash, no hang, linear time.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <string>

#include "engine/date_format.h"
#include "engine/token.h"
#include "test_support.h"

namespace tarnivo {
namespace {

const DateTime kAfternoon{2024, 3, 5, 14, 7, 9};

TokenContext MakeContext(std::int32_t listIndex) {
  TokenContext context;
  context.FileName = L"IMG_0012.JPG";
  context.ListIndex = listIndex;
  context.Now = [] { return kAfternoon; };
  return context;
}

// Deterministic text over characters that mean something to the parsers,
// with NULs, lone surrogates and Chinese among them.
std::wstring ScrambledText(std::size_t length, std::uint32_t seed) {
  const std::wstring alphabet =
      std::wstring(L"%:,.-+eE&HhOo0123456789 \t\n\\\"'/dmyhnswqaApPM\xD800\xDC00\x4E2D") + L'\0';
  std::wstring text;
  text.reserve(length);
  for (std::size_t i = 0; i < length; ++i) {
    seed = seed * 1664525u + 1013904223u;
    text += alphabet[(seed >> 16) % alphabet.size()];
  }
  return text;
}

class Stopwatch {
 public:
  double Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start_).count();
  }

 private:
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
};

// Far above what linear work on these sizes needs even under sanitizers or
// Wine, far below what quadratic work on 100 000 characters would take.
constexpr double kSecondsAllowed = 10.0;

TEST(TokenRobustness, HugeWidthFailsAsOutOfMemoryAtOnce) {
  const Stopwatch watch;
  for (const std::wstring piece :
       {L"%Taxis:2147483647,1,1%", L"%Taxis:268435456,0,0%", L"%Taxis:&H7FFFFFFF,1,1%"}) {
    SCOPED_TRACE(test::Show(piece));
    const auto result = EvaluateToken(piece, MakeContext(0));
    ASSERT_FALSE(result.Ok());
    EXPECT_EQ(DescribeError(result.Error()).Number, 7);
  }
  EXPECT_LT(watch.Seconds(), 1.0);
}

TEST(TokenRobustness, LongAndStrangePieces) {
  const std::wstring hundredThousandNines(100000, L'9');
  const std::wstring tenThousandCommas(10000, L',');
  struct Case {
    std::wstring Piece;
    std::int32_t Index;
    std::wstring Expected;
  };
  const std::wstring junk = ScrambledText(100000, 7);
  const Case cases[] = {
      {junk, 3, L"ok " + junk},
      {L"%Taxis:3,1," + hundredThousandNines + L"%", 1, L"error 6"},
      {L"%Taxis:3," + hundredThousandNines + L",0%", 0, L"error 6"},
      {L"%Taxis:0,0." + std::wstring(100000, L'0') + L"1,0%", 0, L"ok 0"},
      {L"%Taxis:" + std::wstring(100000, L'0') + L"3,1,1%", 0, L"ok 001"},
      {L"%Taxis:" + tenThousandCommas, 0, L"error 13"},
      {L"%Taxis:3" + tenThousandCommas, 0, L"ok 000"},
      {L"%Taxis:3,1,1%" + tenThousandCommas, 0, L"ok 001"},
      {L"%Taxis:3,1" + tenThousandCommas + L"1%", 4, L"ok 001"},
      {L"%Taxis:3,1," + std::wstring(100000, L' ') + L"2%", 1, L"ok 003"},
      {L"%Taxis" + std::wstring(100000, L':'), 0, L"error 9"},
      {std::wstring(L"%name\0%", 7), 0, L"ok " + std::wstring(L"%name\0%", 7)},
      {std::wstring(L"%Taxis:3,1\0,1%", 14), 0, L"ok 001"},
      {std::wstring(L"%Taxis:3\0,1,1%", 14), 0, L"error 13"},
      {std::wstring(L"%Taxis:3,1,1\0", 13), 2, L"ok 003"},
      {L"%\xD800%", 0, L"ok %\xD800%"},
      {L"%Taxis:3,\xDC00,1%", 2, L"ok 002"},
      {L"\xD800"
       L"%name%",
       0, L"ok \xD800%name%"},
  };
  const Stopwatch watch;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << test::Show(c.Piece.substr(0, 40)) << " (" << c.Piece.size()
                                    << " characters) at " << c.Index);
    EXPECT_EQ(test::Outcome(EvaluateToken(c.Piece, MakeContext(c.Index))), c.Expected);
  }
  EXPECT_LT(watch.Seconds(), kSecondsAllowed);
}

TEST(TokenRobustness, ScrambledSequenceTokensNeverCrash) {
  const Stopwatch watch;
  for (std::uint32_t seed = 1; seed <= 300; ++seed) {
    const std::wstring piece = L"%Taxis:" + ScrambledText(seed * 7 % 200, seed);
    const auto result = EvaluateToken(piece, MakeContext(static_cast<std::int32_t>(seed) - 2));
    if (result.Ok()) {
      EXPECT_LE(result.Value().size(), 400u) << test::Show(piece);
    }
  }
  EXPECT_LT(watch.Seconds(), kSecondsAllowed);
}

TEST(TokenRobustness, KeywordsWithSurrogatesAndNuls) {
  const TokenContext context = MakeContext(0);
  Keywords keys;
  keys[TokenKind::Name] = L"\xD83D";
  keys[TokenKind::Sequence] = std::wstring(L"t\0x", 3);
  EXPECT_EQ(test::Outcome(EvaluateToken(L"%\xD83D%", context, keys)), L"ok IMG_0012");
  EXPECT_EQ(test::Outcome(EvaluateToken(std::wstring(L"%T\0X:3,1,1%", 11), context, keys)),
            L"ok 001");
  EXPECT_EQ(test::Outcome(EvaluateToken(L"%T", context, keys)), L"ok %T");
}

TEST(DatePictureRobustness, LongAndStrangePictures) {
  const Stopwatch watch;
  const std::wstring pictures[] = {
      ScrambledText(100000, 11),         std::wstring(100000, L'"'), std::wstring(100000, L'\\'),
      std::wstring(100000, L'h') + L"m", std::wstring(100000, L'a'), std::wstring(100000, L'\0'),
      std::wstring(100000, L'\xD800'),
  };
  for (const std::wstring& picture : pictures) {
    SCOPED_TRACE(test::Show(picture.substr(0, 20)));
    const std::wstring text = FormatDateTime(picture, kAfternoon, LocaleInfo{});
    EXPECT_LE(text.size(), 3 * picture.size());
  }
  EXPECT_EQ(FormatDateTime(std::wstring(100000, L'\\'), kAfternoon, LocaleInfo{}),
            std::wstring(50000, L'\\'));
  EXPECT_EQ(FormatDateTime(std::wstring(100000, L'"'), kAfternoon, LocaleInfo{}), L"");
  EXPECT_EQ(FormatDateTime(std::wstring(100000, L'\0'), kAfternoon, LocaleInfo{}),
            std::wstring(100000, L'\0'));
  EXPECT_LT(watch.Seconds(), kSecondsAllowed);
}

TEST(DatePictureRobustness, LongPictureFromTheSettings) {
  TokenContext context = MakeContext(0);
  const std::wstring picture = ScrambledText(100000, 3);
  context.ReadSetting = [&picture](std::wstring_view, std::wstring_view, std::wstring_view) {
    return picture;
  };
  const auto result = EvaluateToken(L"%now%", context);
  ASSERT_TRUE(result.Ok());
  EXPECT_EQ(result.Value(), FormatDateTime(picture, kAfternoon, LocaleInfo{}));
}

}  // namespace
}  // namespace tarnivo
