// The description text parser and its value syntaxes.
#include <gtest/gtest.h>

#include "skin/data/SkinIni.h"

namespace qz {
namespace {

TEST(SkinIni, ParsesSectionsKeysAndSkipsNoise) {
  TqzIniFile ini(
      "ignored=before any section\r\n"
      "  [ Button ]  \r\n"
      "; a comment\n"
      "\t skinrect = 1,2,3,4 \r"
      "\r\n"
      "bare line\n"
      "fontname=A=B\n"
      "[other]\n"
      "x=1");
  EXPECT_EQ(ini.SectionCount(), 2u);
  ASSERT_TRUE(ini.SectionExists("BUTTON"));
  ASSERT_NE(ini.Find("button", "SKINRECT"), nullptr);
  EXPECT_EQ(*ini.Find("button", "skinrect"), "1,2,3,4");
  // The value is everything after the first "=".
  EXPECT_EQ(*ini.Find("button", "fontname"), "A=B");
  // A line without "=" stays in the section but answers no key.
  EXPECT_EQ(ini.EntryCount("button"), 3u);
  EXPECT_EQ(ini.Find("button", "bare line"), nullptr);
  EXPECT_EQ(ini.Find("nosuch", "x"), nullptr);
  EXPECT_EQ(*ini.Find("other", "x"), "1");
}

TEST(SkinIni, FirstOfDuplicateKeysAndSectionsWins) {
  TqzIniFile ini("[a]\nk=first\nK=second\n[b]\nz=1\n[A]\nk=third\nnew=4\n");
  EXPECT_EQ(*ini.Find("a", "k"), "first");
  // The repeated section is not merged into the first.
  EXPECT_EQ(ini.Find("a", "new"), nullptr);
  EXPECT_EQ(ini.SectionCount(), 2u);
}

TEST(SkinIni, IntegersDecimalAndHexWithDefaults) {
  int v = 0;
  EXPECT_TRUE(TryParseSkinInteger("-42", v));
  EXPECT_EQ(v, -42);
  EXPECT_TRUE(TryParseSkinInteger("$FF", v));
  EXPECT_EQ(v, 255);
  EXPECT_TRUE(TryParseSkinInteger("0x10", v));
  EXPECT_EQ(v, 16);
  EXPECT_TRUE(TryParseSkinInteger("0XffFFffFF", v));
  EXPECT_EQ(v, -1);
  EXPECT_TRUE(TryParseSkinInteger("-2147483648", v));
  EXPECT_EQ(v, INT32_MIN);
  for (const char* bad : {"", "-", "$", "0x", "12a", "1 2", "2147483648", "0x100000000", "1.5"})
    EXPECT_FALSE(TryParseSkinInteger(bad, v)) << bad;

  TqzIniFile ini("[s]\na=12\nb=twelve\nc=\n");
  TqzIniReader r(ini, "s");
  EXPECT_EQ(r.Integer("a", 7), 12);
  EXPECT_EQ(r.Integer("b", 7), 7);
  EXPECT_EQ(r.Integer("c", 7), 7);
  EXPECT_EQ(r.Integer("missing", 7), 7);
}

TEST(SkinIni, FlagIsTrueOnlyForExactlyOne) {
  TqzIniFile ini("[s]\na=1\nb=2\nc=-1\nd=$1\ne=yes\n");
  TqzIniReader r(ini, "s");
  EXPECT_TRUE(r.Flag("a"));
  EXPECT_FALSE(r.Flag("b"));
  EXPECT_FALSE(r.Flag("c"));
  EXPECT_TRUE(r.Flag("d"));
  EXPECT_FALSE(r.Flag("e"));
  EXPECT_FALSE(r.Flag("missing"));
}

TEST(SkinIni, RectsAndPointsAreParsedCharacterByCharacter) {
  EXPECT_EQ(ParseSkinRect("10, 20, 30, 40"), (TRect{10, 20, 30, 40}));
  EXPECT_EQ(ParseSkinRect("1 0,2x0,-30,4\t0"), (TRect{10, 20, 30, 40}));
  EXPECT_EQ(ParseSkinPoint("-5,3"), (TPoint{5, 3}));
  // Extra fields are ignored.
  EXPECT_EQ(ParseSkinRect("1,2,3,4,5"), (TRect{1, 2, 3, 4}));
  EXPECT_EQ(ParseSkinPoint("1,2,3"), (TPoint{1, 2}));

  // A field without digits, a missing field or an overflowing one stops the load.
  for (const char* bad : {"1,2,3", "1,,3,4", "1,2,3,", "", "a,b,c,d", "1,2,3,99999999999"})
    EXPECT_THROW(ParseSkinRect(bad), ESkinValueError) << bad;
  EXPECT_THROW(ParseSkinPoint("7"), ESkinValueError);

  TqzIniFile ini("[button]\nskinrect=1,2,x,4\n");
  try {
    TqzIniReader(ini, "button").Rect("skinrect");
    FAIL();
  } catch (const ESkinValueError& e) {
    std::string msg = e.what();
    EXPECT_NE(msg.find("skinrect"), std::string::npos) << msg;
    EXPECT_NE(msg.find("[button]"), std::string::npos) << msg;
    EXPECT_NE(msg.find("field 3"), std::string::npos) << msg;
  }
  // Missing keys take the empty defaults.
  EXPECT_EQ(TqzIniReader(ini, "button").Rect("clientrect"), TRect{});
  EXPECT_EQ(TqzIniReader(ini, "button").Point("lefttoppoint"), TPoint{});
}

TEST(SkinIni, EnumerationsCompareWithExactCase) {
  TqzIniFile ini(
      "[s]\na=stvert\nb=Stvert\nc=stfull\nd=sthorz\n"
      "m=mkpush\nn=MKPUSH\ne=ieinvert\nf=whatever\n"
      "t1=tacenter\nt2=taleftjustify\nt3=TaCenter\n");
  TqzIniReader r(ini, "s");
  EXPECT_EQ(r.Enum("a", kStretchTypeWords), 2);
  EXPECT_EQ(r.Enum("b", kStretchTypeWords), 1);
  EXPECT_EQ(r.Enum("c", kStretchTypeWords), 0);
  EXPECT_EQ(r.Enum("d", kStretchTypeWords), 1);
  EXPECT_EQ(r.Enum("missing", kStretchTypeWords), 0);
  EXPECT_EQ(r.Enum("m", kMorphKindWords), 6);
  EXPECT_EQ(r.Enum("n", kMorphKindWords), 0);
  EXPECT_EQ(r.Enum("e", kInactiveEffectWords), 5);
  EXPECT_EQ(r.Enum("f", kInactiveEffectWords), 2);
  EXPECT_EQ(r.Enum("missing", kInactiveEffectWords), 0);
  EXPECT_EQ(r.Enum("t1", kAlignmentWords), qzTaCenter);
  EXPECT_EQ(r.Enum("t2", kAlignmentWords), qzTaLeftJustify);
  EXPECT_EQ(r.Enum("t3", kAlignmentWords), qzTaRightJustify);
  EXPECT_EQ(r.Enum("missing", kAlignmentWords), qzTaCenter);
}

TEST(SkinIni, FontStyleWordsAnywhereInTheValue) {
  TFontStyles s = ParseFontStyle("fsitalic, xfsboldx;fsstrikeout FSUNDERLINE");
  EXPECT_TRUE(s.Contains(TFontStyle::fsBold));
  EXPECT_TRUE(s.Contains(TFontStyle::fsItalic));
  EXPECT_TRUE(s.Contains(TFontStyle::fsStrikeOut));
  EXPECT_FALSE(s.Contains(TFontStyle::fsUnderline));
  EXPECT_EQ(FontStyleText(s), "fsbold,fsitalic,fsstrikeout");
  EXPECT_EQ(FontStyleText({}), "");
}

TEST(SkinIni, StringAndLineListsAreBoundedByTheSectionsLines) {
  TqzIniFile ini(
      "[list]\ncount=3\n0=a\n2=c\n"
      "[huge]\ncount=2000000000\n0=x\n1=y\n"
      "[neg]\ncount=-5\n0=x\n"
      "[lines]\nsymbolslinecount=2\nsymbolsline0=AB\nsymbolsline1=CD\n");
  EXPECT_EQ(TqzIniReader(ini, "list").StringList(""), (std::vector<std::string>{"a", "", "c"}));
  // No more entries than the section has lines, however large the count.
  EXPECT_LE(TqzIniReader(ini, "huge").StringList("").size(), 3u);
  EXPECT_TRUE(TqzIniReader(ini, "neg").StringList("").empty());
  EXPECT_EQ(TqzIniReader(ini, "lines").LineList("symbols"),
            (std::vector<std::string>{"AB", "CD"}));
  EXPECT_TRUE(TqzIniReader(ini, "missing").StringList("").empty());
}

TEST(SkinIni, WriterProducesTheReadersSyntaxAndReplacesKeys) {
  TqzIniFile ini("[s]\nKey=old\n");
  TqzIniWriter w(ini, "s");
  w.String("key", "new");
  w.Rect("r", {1, 2, 3, 4});
  w.Point("p", {5, 6});
  w.Enum("st", 1, kStretchTypeWords);
  w.Enum("al", qzTaRightJustify, kAlignmentWords);
  w.StringList("items", {"a:b"});
  TqzIniFile again(ini.Text());
  TqzIniReader r(again, "s");
  EXPECT_EQ(r.String("key"), "new");
  EXPECT_EQ(again.EntryCount("s"), 7u);
  EXPECT_EQ(r.Rect("r"), (TRect{1, 2, 3, 4}));
  EXPECT_EQ(r.Point("p"), (TPoint{5, 6}));
  EXPECT_EQ(r.String("st"), "sthorz");
  EXPECT_EQ(r.String("al"), "tarightjustify");
  EXPECT_EQ(r.StringList("items"), (std::vector<std::string>{"a:b"}));
}

}  // namespace
}  // namespace qz
