// The journal's text: the bytes a person reads and repairs, every name surviving exactly,
// and what an undo makes of a journal that a kill, a hand edit or garbage has changed.
#include "engine/undo_journal.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/engine/test_support.h"

namespace tarnivo::test {
namespace {

const std::string kBom = "\xEF\xBB\xBF";

// The entries an undo takes up, "number outcome old>new", last first.
std::string Undoes(std::string_view bytes) {
  std::string text;
  for (const JournalEntry& entry : EntriesToUndo(ParseJournal(bytes))) {
    if (!text.empty()) text += "; ";
    text += std::to_string(entry.Number);
    text += entry.Outcome == RenameOutcome::Unknown ? " ? " : " ok ";
    for (const std::wstring* name : {&entry.OldName, &entry.NewName}) {
      for (const wchar_t c : *name) text += c < 0x80 ? static_cast<char>(c) : '#';
      if (name == &entry.OldName) text += ">";
    }
  }
  return text;
}

TEST(UndoJournal, RecordsReadAsAPersonWritesThem) {
  const JournalHeader header{L"《Tarnivo》 V 1.0", L"D:\\照片\\", DateTime{2026, 12, 6, 14, 5, 6},
                             L"%name%\r\n_\r\n\r\n%ext%"};
  const std::string headerText = JournalHeaderText(header);
  const std::string expectedStart = kBom +
                                    "标题\t《Tarnivo》 V 1.0\r\n"
                                    "文件夹\tD:\\照片\\\r\n"
                                    "时间\t2026-12-06 14:05:06\r\n"
                                    "模板\t%name%\r\n"
                                    "模板\t_\r\n"
                                    "模板\t\r\n"
                                    "模板\t%ext%\r\n"
                                    "说明\t";
  EXPECT_EQ(headerText.substr(0, expectedStart.size()), expectedStart);
  EXPECT_EQ(headerText.find("\r\n", expectedStart.size()), headerText.size() - 2);
  EXPECT_EQ(JournalEntryText(1, L"a.jpg", L"a_1.jpg") + JournalOutcomeText(true, 0),
            "1\ta.jpg\ta_1.jpg\t成功\r\n");
  EXPECT_EQ(JournalEntryText(12, L"b.jpg", L"b_1.jpg") + JournalOutcomeText(false, 58),
            "12\tb.jpg\tb_1.jpg\t失败 58\r\n");
  EXPECT_EQ(JournalRestoreText(12) + JournalOutcomeText(true, 0), "恢复\t12\t成功\r\n");
  EXPECT_EQ(JournalUndoneText(DateTime{2026, 12, 6, 14, 10, 0}),
            "撤销完成\t2026-12-06 14:10:00\r\n");

  const Journal journal = ParseJournal(headerText);
  EXPECT_EQ(journal.Caption, header.Caption);
  EXPECT_EQ(journal.Folder, header.Folder);
  EXPECT_EQ(journal.TemplateText, header.TemplateText);
  EXPECT_TRUE(journal.Entries.empty());
}

TEST(UndoJournal, EveryNameSurvivesExactly) {
  const std::wstring names[] = {
      L"照片.jpg",
      L"한국.jpg",                      // outside code page 936
      std::wstring(L"\U0001F600.jpg"),  // outside the basic plane: a surrogate pair
      L"tab\there.jpg",
      L"line\r\nbreak.jpg",
      L"<U+0041>.jpg",  // an escape's own text
      L"<<U+>.jpg",
      L"? * | \" < >.jpg",
      L" blank at both ends ",
      std::wstring(1, static_cast<wchar_t>(0xD800)) + L"lone.jpg",  // a lone surrogate
      std::wstring(255, L'長'),
  };
  for (const std::wstring& name : names) {
    SCOPED_TRACE(Show(name));
    const std::string bytes = JournalHeaderText({L"c", L"D:\\x\\", {}, L""}) +
                              JournalEntryText(7, name, L"n" + name) + JournalOutcomeText(true, 0);
    const Journal journal = ParseJournal(bytes);
    ASSERT_EQ(journal.Entries.size(), 1u);
    EXPECT_EQ(journal.Entries[0].Number, 7);
    EXPECT_EQ(journal.Entries[0].OldName, name);
    EXPECT_EQ(journal.Entries[0].NewName, L"n" + name);
    EXPECT_EQ(journal.Entries[0].Outcome, RenameOutcome::Renamed);
  }
}

// A person, a kill or a broken disk may have left any of these; an undo takes up only what
// it understands.
TEST(UndoJournal, WhatCannotBeUnderstoodIsLeftAlone) {
  const std::string head = kBom + "标题\tc\r\n文件夹\tD:\\x\\\r\n";
  struct Case {
    const char* What;
    std::string Bytes;
    std::string Undoes;
  };
  const Case cases[] = {
      {"renamed and failed entries",
       head + "1\ta\ta1\t成功\r\n2\tb\tb1\t失败 58\r\n3\tc\tc1\t成功\r\n", "3 ok c>c1; 1 ok a>a1"},
      {"a kill after the names: no outcome, no line end", head + "1\ta\ta1\t成功\r\n2\tb\tb1\t",
       "2 ? b>b1; 1 ok a>a1"},
      {"a kill inside the names", head + "1\ta\ta1\t成功\r\n2\tb\tb1", "1 ok a>a1"},
      {"a kill inside a character", head + "1\ta\ta1\t成功\r\n2\t\xE7\x85", "1 ok a>a1"},
      {"an outcome it does not know, cut short or not", head + "1\ta\ta1\t\xE6\x88\x90", ""},
      {"lines ending in LF alone, no byte-order mark",
       "文件夹\tD:\\x\r\n1\ta\ta1\t成功\n2\tb\tb1\t成功\n", "2 ok b>b1; 1 ok a>a1"},
      {"unknown lines and a second folder are ignored",
       head + "# note\r\n\r\n文件夹\tE:\\y\\\r\nx\ty\tz\r\n1\ta\ta1\t成功\r\n", "1 ok a>a1"},
      {"names not UTF-8", head + "1\t\xFF\ta1\t成功\r\n2\t\xC0\xAF\tb1\t成功\r\n3\tc\tc1\t成功\r\n",
       "3 ok c>c1"},
      {"names that would leave the folder",
       head + "1\t..\\a\ta1\t成功\r\n2\tb\tsub/b\t成功\r\n3\t..\tc1\t成功\r\n4\t\tc\t成功\r\n"
              "5\td<U+0000>\td1\t成功\r\n6\te\te1\t成功\r\n",
       "6 ok e>e1"},
      {"outcomes and numbers it does not know",
       head +
           "1\ta\ta1\tok\r\n-2\tb\tb1\t成功\r\n1234567890\tc\tc1\t成功\r\n4\td\td1\t成功\textra\r\n"
           "5\te\te1\t成功\r\n",
       "5 ok e>e1"},
      {"escapes: a malformed one stands for itself", head + "1\t<U+41>a\t<U+0041>b\t成功\r\n",
       "1 ok <U+41>a>Ab"},
      {"no folder: nothing", "1\ta\ta1\t成功\r\n", ""},
      {"an undo ran to its end", head + "1\ta\ta1\t成功\r\n撤销完成\tx\r\n", ""},
      {"entries already restored, and one whose restore was cut short",
       head + "1\ta\ta1\t成功\r\n2\tb\tb1\t成功\r\n3\tc\tc1\t成功\r\n恢复\t3\t成功\r\n恢复\t2\t",
       "2 ? b>b1; 1 ok a>a1"},
      {"a failed restore is tried again", head + "1\ta\ta1\t成功\r\n恢复\t1\t失败 58\r\n",
       "1 ok a>a1"},
      {"garbage", std::string("\0\xFF\r\r\n\t\t\t\t\n<U+", 13), ""},
      {"empty", "", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.What);
    EXPECT_EQ(Undoes(c.Bytes), c.Undoes);
  }
}

}  // namespace
}  // namespace tarnivo::test
