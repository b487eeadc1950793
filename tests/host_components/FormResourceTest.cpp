#include "host/components/FormResource.h"

#include <gtest/gtest.h>

#include <random>

#include "Probes.h"
#include "host/base/Resources.h"

namespace qz {
namespace {

class FormResourceTest : public ::testing::Test {
 protected:
  void SetUp() override { CallLog().clear(); }
};

template <class E>
std::string ErrorOf(TComponent* root, std::string_view text) {
  try {
    ReadComponentRes(root, text);
  } catch (const E& e) {
    return e.what();
  }
  return "no error";
}

TEST_F(FormResourceTest, ReadsEveryValueKind) {
  TProbeForm form;
  ReadComponentRes(&form, R"(object Form1: TProbeForm
  Title = 'It''s ' + #$263A + #10 +
    'next'
  object Probe1: TProbe
    Width = -12
    Small = $7F
    Alpha = 255
    Visible = False
    Ratio = -2.5E-1
    Caption = 'Caf'#233
    Align = paClient
    Styles = [psItalic, psUnderline]
    Color = clRed
    Cursor = crHandPoint
    Font.Name = 'Arial'
    Font.Style = []
    Font.Color = $FF00000F
    Items.Strings = (
      'one'
      ''
      'three')
    Data = {
      00FF10
      ab}
    Panels = <
      item
        Width = 7
        Text = 'first'
        Font.Size = 12
      end
      item
      end>
  end
end
)");
  EXPECT_EQ(form.Name(), "Form1");
  EXPECT_EQ(form.title, "It's \xE2\x98\xBA\nnext");
  auto* p = form.FindChild<TProbe>("probe1");  // names are case-insensitive
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->width, -12);
  EXPECT_EQ(p->small, 127);
  EXPECT_EQ(p->alpha, 255);
  EXPECT_FALSE(p->visible);
  EXPECT_DOUBLE_EQ(p->ratio, -0.25);
  EXPECT_EQ(p->Caption(), "Caf\xC3\xA9");
  EXPECT_EQ(p->align, paClient);
  EXPECT_EQ(p->styles, (TProbeStyles{TProbeStyle::psItalic, TProbeStyle::psUnderline}));
  EXPECT_EQ(p->color, clRed);
  EXPECT_EQ(p->cursor, -21);
  EXPECT_EQ(p->font.name, "Arial");
  EXPECT_TRUE(p->font.style.Empty());
  EXPECT_EQ(p->font.color, clBtnFace);  // $FF00000F is the system colour 15
  EXPECT_EQ(p->items.ToVector(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(p->data, (std::vector<uint8_t>{0x00, 0xFF, 0x10, 0xAB}));
  ASSERT_EQ(p->panels.Count(), 2);
  auto* first = p->panels.ItemAs<TProbePanel>(0);
  EXPECT_EQ(first->width, 7);
  EXPECT_EQ(first->text, "first");
  EXPECT_EQ(first->font.size, 12);
  EXPECT_EQ(p->panels.ItemAs<TProbePanel>(1)->width, 50);
  EXPECT_EQ(form.probe1, p);  // field bound by name
}

TEST_F(FormResourceTest, CreatesAssignsResolvesThenLoadsInOrder) {
  TProbeForm form;
  ReadComponentRes(&form, R"(object Form1: TProbeForm
  object Box1: TProbeBox
    Caption = 'box'
    Buddy = Probe2
    object Probe1: TProbe
      Caption = 'one'
      Buddy = Box1
    end
  end
  object Probe2: TProbe
    Caption = 'two'
  end
end
)");
  std::vector<std::string> expected = {
      "Parent:Box1=Form1", "Caption:Box1=box",   "Parent:Probe1=Box1", "Caption:Probe1=one",
      "Parent:Probe2=Form1", "Caption:Probe2=two", "Buddy:Box1=Probe2",  "Buddy:Probe1=Box1",
      "Loaded:Box1",       "Loaded:Probe1",      "Loaded:Probe2",      "Loaded:Form1",
  };
  EXPECT_EQ(CallLog(), expected);
  // Owner is the root; creation order is resource order; csLoading is
  // cleared before Loaded runs.
  ASSERT_EQ(form.ComponentCount(), 3);
  EXPECT_EQ(form.Components(1)->Name(), "Probe1");
  auto* probe1 = form.FindChild<TProbe>("Probe1");
  EXPECT_EQ(probe1->Parent(), form.FindComponent("Box1"));
  EXPECT_FALSE(probe1->loadingSeenInLoaded);
  EXPECT_FALSE(form.InState(csLoading));
  EXPECT_FALSE(probe1->InState(csReading));
}

TEST_F(FormResourceTest, ResolvesReferencesIntoOtherRootsAndInCollections) {
  TProbeForm form1;
  ReadComponentRes(&form1, "object Form1: TProbeForm\n object Shared: TProbe\n end\nend\n");
  RegisterGlobalComponent(&form1);
  {
    TProbeForm form2;
    ReadComponentRes(&form2, R"(object Form2: TProbeForm
  object Probe1: TProbe
    Buddy = Form1.Shared
    Panels = <
      item
        Target = Form1.Shared
      end
      item
        Target = Probe1
      end>
  end
end
)");
    auto* shared = form1.FindChild<TProbe>("Shared");
    auto* p = form2.FindChild<TProbe>("Probe1");
    EXPECT_EQ(p->Buddy(), shared);
    EXPECT_EQ(p->panels.ItemAs<TProbePanel>(0)->target, shared);
    EXPECT_EQ(p->panels.ItemAs<TProbePanel>(1)->target, p);
    // The cross-root reference is cleared when its target goes.
    delete shared;
    EXPECT_EQ(p->Buddy(), nullptr);
  }
  UnregisterGlobalComponent(&form1);
  TProbeForm form3;
  EXPECT_EQ(ErrorOf<EReadError>(&form3, "object Form3: TProbeForm\n object P: TProbe\n  Buddy = Gone.X\n end\nend"),
            "Line 3: Invalid property value: component Gone.X not found");
}

TEST_F(FormResourceTest, BindsEventsByNameAndRejectsWrongSignature) {
  TProbeForm form;
  ReadComponentRes(&form, R"(object Form1: TProbeForm
  OnCreate = FormCreate
  object Probe1: TProbe
    OnClick = ProbeClick
    OnKeyPress = KeyPress
  end
end
)");
  auto* p = form.FindChild<TProbe>("Probe1");
  ASSERT_TRUE(p->OnClick);
  p->OnClick(p);
  EXPECT_EQ(form.clicks, 1);
  EXPECT_TRUE(p->OnKeyPress);
  EXPECT_EQ(p->EventHandlerName("OnClick"), "ProbeClick");

  TProbeForm other;
  std::string msg = ErrorOf<EPropertyError>(&other, "object F: TProbeForm\n object P: TProbe\n  OnClick = KeyPress\n end\nend");
  EXPECT_NE(msg.find("Line 3:"), std::string::npos) << msg;
  EXPECT_NE(msg.find("TKeyPressEvent"), std::string::npos) << msg;
  EXPECT_NE(msg.find("TNotifyEvent"), std::string::npos) << msg;
  EXPECT_EQ(other.ComponentCount(), 0);
  EXPECT_EQ(ErrorOf<EPropertyError>(&other, "object F: TProbeForm\n OnCreate = Missing\nend"),
            "Line 2: Method Missing not found in TProbeForm");
}

TEST_F(FormResourceTest, BinaryBlockOf200KBRoundTrips) {
  std::vector<uint8_t> data(200 * 1024);
  std::mt19937 rng(7);
  for (auto& b : data) b = static_cast<uint8_t>(rng());
  TProbeForm form;
  form.SetName("Form1");
  auto* p = new TProbe(&form);
  p->SetName("Stored1");
  p->data = data;
  std::string text = WriteComponentRes(&form);

  TProbeForm copy;
  ReadComponentRes(&copy, text);
  EXPECT_EQ(copy.FindChild<TProbe>("Stored1")->data, data);
  EXPECT_EQ(WriteComponentRes(&copy), text);
}

TEST_F(FormResourceTest, WriterRoundTripIsStable) {
  const std::string text = R"(object Form1: TProbeForm
  Title = 'A '#39'quote'#39#13#10'and '#233
  OnCreate = FormCreate
  object Box1: TProbeBox
    Width = 5
    Buddy = Probe2
    object Probe1: TProbe
      Small = -3
      Alpha = 0
      Visible = False
      Ratio = 0.1
      Caption = ''
      Align = paTop
      Styles = []
      Color = 16711935
      Cursor = -5
      Font.Name = 'Arial'
      Font.Style = [psBold, psUnderline]
      Items.Strings = (
        'a'
        'b')
      Panels = <
        item
          Text = 'x'
          Target = Box1
        end
        item
          Width = 0
        end>
      OnClick = ProbeClick
    end
  end
  object Probe2: TProbe
    Tag = 9
    Color = clHighlight
  end
end
)";
  TProbeForm a;
  ReadComponentRes(&a, text);
  std::string once = WriteComponentRes(&a);
  TProbeForm b;
  ReadComponentRes(&b, once);
  std::string twice = WriteComponentRes(&b);
  EXPECT_EQ(once, twice);
  // Our own writer's layout: nothing but non-default values, in registration
  // order; the title's non-ASCII text stays UTF-8 inside the quotes.
  EXPECT_NE(once.find("  Title = 'A ''quote'''#13#10'and \xC3\xA9'\n"), std::string::npos) << once;
  EXPECT_NE(once.find("      Color = clFuchsia\n"), std::string::npos);
  EXPECT_EQ(once.find("Visible = True"), std::string::npos);
  EXPECT_NE(once.find("    object Probe1: TProbe\n"), std::string::npos);
  EXPECT_NE(once.find("      Panels = <\n        item\n          Text = 'x'\n          Target = Box1\n        end\n"),
            std::string::npos)
      << once;
}

TEST_F(FormResourceTest, ErrorsNameTheLine) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"object F: TProbeForm\n object P: TProbe\n  Colr = 1\n end\nend", "Line 3: Property Colr does not exist"},
      {"object F: TProbeForm\n\n object X: TFoo\n end\nend", "Line 3: Class TFoo not found"},
      {"object F: TProbeForm\n object P: TProbe\n  Caption = 'abc\n end\nend", "Line 3: Unterminated string"},
      {"object F: TProbeForm\n object P: TProbe\n  Width = 'abc'\n end\nend",
       "Line 3: Invalid property value 'abc' (expected an integer)"},
      {"object F: TProbeForm\n object P: TProbe\n  Alpha = 256\n end\nend",
       "Line 3: Invalid property value 256 (out of range)"},
      {"object F: TProbeForm\n object P: TProbe\n  Align = alClient\n end\nend",
       "Line 3: Invalid property value alClient (expected an enumeration value)"},
      {"object F: TProbeForm\n object P: TProbe\n  Font.Nme = 'x'\n end\nend", "Line 3: Property Font.Nme does not exist"},
      {"object F: TProbeForm\n object P: TProbe\n  Width = 99999999999999999999\n end\nend",
       "Line 3: Invalid integer value 99999999999999999999 (too large)"},
      {"object F: TProbeForm\n object P: TProbe\n  Data = {ABC}\n end\nend",
       "Line 3: Invalid binary value (odd number of digits)"},
      {"object F: TProbeForm\n object P: TProbe\n  Width = 1\n", "Line 4: Expected end"},
      {"object F: TProbeForm\n object P: TProbe\n  Buddy = F\n end\nend",
       "Line 3: Invalid property value: F is a TProbeForm, Buddy needs a TProbe"},
      {"object F: TOther\nend", "Line 1: Class TOther does not match the root class TProbeForm"},
      {"object F: TProbeForm\n object P: TNoFactory\n end\nend", "Line 2: Class TNoFactory cannot be created"},
      {"object F: TProbeForm\n object P: TProbe\n end\n object p: TProbe\n end\nend",
       "Line 4: A component named p already exists"},
  };
  for (const Case& c : cases) {
    TProbeForm form;
    try {
      ReadComponentRes(&form, c.text);
      ADD_FAILURE() << "no error for: " << c.text;
    } catch (const Exception& e) {
      EXPECT_EQ(std::string(e.what()), c.message) << c.text;
    }
    EXPECT_EQ(form.ComponentCount(), 0) << c.text;
    EXPECT_FALSE(form.InState(csLoading));
  }
}

TEST_F(FormResourceTest, FailedReadLeavesNothingBehind) {
  TProbeForm form;
  auto* kept = new TProbe(&form);  // made by the constructor, not by the read
  kept->SetName("Kept");
  std::string msg = ErrorOf<EPropertyError>(&form, R"(object Form1: TProbeForm
  object Probe1: TProbe
    Buddy = Kept
  end
  object Other: TProbe
    Buddy = Probe1
    Bogus = 1
  end
end
)");
  EXPECT_EQ(msg, "Line 7: Property Bogus does not exist");
  ASSERT_EQ(form.ComponentCount(), 1);
  EXPECT_EQ(form.Components(0), kept);
  EXPECT_EQ(form.probe1, nullptr);
  // Destroyed last created first.
  std::vector<std::string> destroyed;
  for (const auto& s : CallLog())
    if (s.rfind("Destroy:", 0) == 0) destroyed.push_back(s);
  EXPECT_EQ(destroyed, (std::vector<std::string>{"Destroy:Other", "Destroy:Probe1"}));

  // A failure while references are resolved also clears the field bound to
  // a component the read had created.
  TProbeForm form2;
  EXPECT_THROW(ReadComponentRes(&form2, "object F: TProbeForm\n object Probe1: TProbe\n  Buddy = Nobody\n end\nend"),
               EReadError);
  EXPECT_EQ(form2.probe1, nullptr);
  EXPECT_EQ(form2.ComponentCount(), 0);
}

TEST_F(FormResourceTest, RootOfDerivedClassAcceptsAncestorResource) {
  TProbeForm2 derived;
  ReadComponentRes(&derived, "object Form1: TProbeForm\n Title = 'x'\nend");
  EXPECT_EQ(derived.title, "x");
  EXPECT_EQ(ResourceRootClass("  object Form1: TForm1\n"), "TForm1");
  EXPECT_EQ(ResourceRootClass("\xEF\xBB\xBFobject Form1: TForm1\n"), "TForm1");
  EXPECT_EQ(ResourceRootClass("garbage"), "");
}

constexpr char kUnitA[] = "object FormA: TProbeForm\n  Title = 'from A'\nend\n";
constexpr char kUnitB[] = "object FormB: TProbeForm2\n  Title = 'from B'\nend\n";
const TResourceRegistration kRegA("form:UnitA", reinterpret_cast<const unsigned char*>(kUnitA), sizeof kUnitA - 1);
const TResourceRegistration kRegB("form:UnitB", reinterpret_cast<const unsigned char*>(kUnitB), sizeof kUnitB - 1);

TEST_F(FormResourceTest, FindsTheEmbeddedResourceOfTheRootClass) {
  TProbeForm2 b;
  ReadComponentResFromResources(&b);
  EXPECT_EQ(b.title, "from B");
  EXPECT_EQ(b.Name(), "FormB");
  TProbeForm a;
  ReadComponentResFromResources(&a);
  EXPECT_EQ(a.title, "from A");
  TComponent none(nullptr);
  EXPECT_THROW(ReadComponentResFromResources(&none), EReadError);
}

TEST_F(FormResourceTest, HostileInputIsBounded) {
  std::string deep = "object F: TProbeForm\n";
  for (int i = 0; i < 200; ++i) deep += "object B" + std::to_string(i) + ": TProbeBox\n";
  TProbeForm form;
  EXPECT_NE(ErrorOf<EReadError>(&form, deep).find("Nesting too deep"), std::string::npos);
  EXPECT_EQ(form.ComponentCount(), 0);

  std::string lists = "object F: TProbeForm\n object P: TProbe\n  Items.Strings = " + std::string(500, '(');
  EXPECT_NE(ErrorOf<EReadError>(&form, lists).find("Nesting too deep"), std::string::npos);

  // Many siblings: name lookups stay cheap, and cleanup after the final
  // error destroys them all.
  std::string many = "object F: TProbeForm\n";
  for (int i = 0; i < 5000; ++i) many += "object P" + std::to_string(i) + ": TProbe\nend\n";
  many += "object Bad: TNope\nend\nend\n";
  EXPECT_THROW(ReadComponentRes(&form, many), EClassNotFound);
  EXPECT_EQ(form.ComponentCount(), 0);
}

}  // namespace
}  // namespace qz
