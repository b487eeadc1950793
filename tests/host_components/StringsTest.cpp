#include "host/components/Strings.h"

#include <gtest/gtest.h>

#include "host/base/Stream.h"

namespace qz {
namespace {

std::vector<std::string> Lines(const TStrings& s) { return s.ToVector(); }

TEST(StringListTest, TextSplitsMixedLineEndsAndJoinsWithNewline) {
  TStringList list;
  list.SetText("a\r\nb\nc\rd\r\n\r\ne");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "c", "d", "", "e"}));
  EXPECT_EQ(list.Text(), "a\nb\nc\nd\n\ne\n");
  list.SetText("last\n");  // a final break makes no empty line
  EXPECT_EQ(list.Count(), 1);
  list.SetText("");
  EXPECT_EQ(list.Count(), 0);
  list.SetText("\n");
  EXPECT_EQ(Lines(list), (std::vector<std::string>{""}));
}

TEST(StringListTest, NameValueLines) {
  TStringList list;
  list.SetText("Width=10\nname=first=second\nnovalue\nEmpty=");
  EXPECT_EQ(list.Values("WIDTH"), "10");
  EXPECT_EQ(list.Values("name"), "first=second");  // split at the first '='
  EXPECT_EQ(list.Values("novalue"), "");
  EXPECT_EQ(list.Names(2), "");
  EXPECT_EQ(list.Names(3), "Empty");
  EXPECT_EQ(list.ValueFromIndex(1), "first=second");
  list.SetValues("width", "20");
  EXPECT_EQ(list[0], "width=20");
  list.SetValues("Height", "5");
  EXPECT_EQ(list[4], "Height=5");
  list.SetValues("name", "");  // empty value deletes the line
  EXPECT_EQ(list.IndexOfName("name"), -1);
  EXPECT_EQ(list.Count(), 4);
}

TEST(StringListTest, SortedListWithDuplicates) {
  TStringList list;
  list.SetSorted(true);
  for (const char* s : {"pear", "Apple", "fig", "apple"}) list.Add(s);
  // dupIgnore: "apple" equals "Apple" without case sensitivity.
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "fig", "pear"}));
  EXPECT_EQ(list.Add("APPLE"), 0);
  EXPECT_EQ(list.IndexOf("PEAR"), 2);
  EXPECT_EQ(list.IndexOf("plum"), -1);
  EXPECT_THROW(list.Insert(0, "x"), EStringListError);

  list.SetDuplicates(dupAccept);
  EXPECT_EQ(list.Add("apple"), 1);  // after the equal one already there
  EXPECT_EQ(list.Add("APPLE"), 2);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"Apple", "apple", "APPLE", "fig", "pear"}));
  list.Delete(2);
  list.SetDuplicates(dupError);
  EXPECT_THROW(list.Add("FIG"), EStringListError);
  EXPECT_EQ(list.Count(), 4);

  list.SetCaseSensitive(true);
  EXPECT_EQ(list.IndexOf("APPLE"), -1);
  EXPECT_EQ(list.Add("APPLE"), 0);  // byte order: upper case first
}

TEST(StringListTest, SortingAnUnsortedListIsStableAndKeepsObjects) {
  TStringList list;
  TStringList o1, o2;
  list.AddObject("b", &o1);
  list.AddObject("a", &o2);
  list.Add("B");
  list.SetSorted(true);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"a", "b", "B"}));
  EXPECT_EQ(list.Objects(0), &o2);
  EXPECT_EQ(list.IndexOfObject(&o1), 1);
}

TEST(StringListTest, ChangeEventsFireOncePerBatch) {
  TStringList list;
  int changing = 0, changed = 0;
  list.OnChanging = [&](TObject*) { ++changing; };
  list.OnChange = [&](TObject*) { ++changed; };
  list.Add("x");
  EXPECT_EQ(changed, 1);
  list.BeginUpdate();
  list.Add("y");
  list.Delete(0);
  list.BeginUpdate();
  list.Add("z");
  list.EndUpdate();
  EXPECT_EQ(changed, 1);
  list.EndUpdate();
  EXPECT_EQ(changing, 2);
  EXPECT_EQ(changed, 2);
  list.SetText("a\nb\nc");  // one batch
  EXPECT_EQ(changed, 3);
}

TEST(StringListTest, CommaTextQuotesWhatNeedsIt) {
  TStringList list;
  list.SetText("plain\ntwo words\nsay \"hi\"\n\na,b");
  EXPECT_EQ(list.CommaText(), R"(plain,"two words","say ""hi""","","a,b")");
  TStringList back;
  back.SetCommaText(list.CommaText());
  EXPECT_TRUE(back.Equals(list));
  back.SetCommaText("a b, c,");
  EXPECT_EQ(Lines(back), (std::vector<std::string>{"a", "b", "c", ""}));
}

TEST(StringListTest, StreamsUtf8AndAssigns) {
  TStringList list;
  TMemoryStream in(std::vector<uint8_t>{0xEF, 0xBB, 0xBF, 'c', 'a', 'f', 0xC3, 0xA9, '\r', '\n', 'x'});
  list.LoadFromStream(in);
  EXPECT_EQ(Lines(list), (std::vector<std::string>{"caf\xC3\xA9", "x"}));
  TMemoryStream out;
  list.SaveToStream(out);
  EXPECT_EQ(std::string(out.Bytes().begin(), out.Bytes().end()), "caf\xC3\xA9\nx\n");

  TStringList copy;
  copy.Add("old");
  copy.Assign(list);
  EXPECT_TRUE(copy.Equals(list));
  copy.Assign(copy);  // self-assignment keeps the lines
  EXPECT_EQ(copy.Count(), 2);
  copy.AddStrings(copy);  // appending itself doubles, not loops
  EXPECT_EQ(copy.Count(), 4);
  EXPECT_THROW(copy.Get(4), EStringListError);
  EXPECT_THROW(copy.Delete(-1), EStringListError);
}

TEST(StringListTest, MoveAndExchange) {
  TStringList list;
  list.SetText("a\nb\nc");
  list.Move(0, 2);
  EXPECT_EQ(list.Text(), "b\nc\na\n");
  list.Exchange(0, 2);
  EXPECT_EQ(list.Text(), "a\nc\nb\n");
}

}  // namespace
}  // namespace qz
