// Masked edits: what the mask makes of the text, and typing refused where
// the mask does not take it.
#include <gtest/gtest.h>

#include "framework/win32/Forms.h"
#include "framework/win32/Mask.h"
#include "support/RealInput.h"

TEST(EditMaskTest, ReadsInputPositionsLiteralsAndTheTwoOptions) {
  const TEditMask phone("(000) 000-0000;1;_");
  EXPECT_EQ(phone.Length(), 14u);
  EXPECT_EQ(phone.EmptyText(), "(___) ___-____");
  EXPECT_TRUE(phone.IsLiteral(0));
  EXPECT_EQ(phone.NextInput(0), 1u);
  EXPECT_EQ(phone.NextInput(4), 6u) << "over ')' and the space";
  EXPECT_EQ(phone.PreviousInput(6), 3u);
  EXPECT_EQ(phone.Accept(1, '7'), '7');
  EXPECT_EQ(phone.Accept(1, 'x'), 0) << "a letter where a digit goes";
  EXPECT_EQ(phone.Accept(0, '('), 0) << "a literal takes nothing";
  EXPECT_FALSE(phone.IsComplete("(555) 12_-____"));
  EXPECT_TRUE(phone.IsComplete("(555) 123-4567"));
  EXPECT_EQ(phone.Value("(555) 123-4567"), "(555) 123-4567");

  const TEditMask code(">LL-99;0; ");
  EXPECT_EQ(code.Blank(), ' ');
  EXPECT_FALSE(code.SavesLiterals());
  EXPECT_EQ(code.Accept(0, 'a'), 'A') << "upper-cased";
  EXPECT_EQ(code.Accept(0, '1'), 0);
  EXPECT_EQ(code.Value("AB-1 "), "AB1");
  EXPECT_TRUE(code.IsComplete("AB-  ")) << "9 may stay blank";
  EXPECT_FALSE(code.IsComplete("A -12"));

  const TEditMask escaped("\\0a#;1");
  EXPECT_TRUE(escaped.IsLiteral(0)) << "an escaped mask character is a literal";
  EXPECT_EQ(escaped.EmptyText(), "0__");
  EXPECT_EQ(escaped.Accept(2, '-'), '-');
  EXPECT_EQ(escaped.Accept(1, '!'), 0);
}

namespace {

class MaskEditTest : public ::testing::Test {
protected:
  MaskEditTest() : form(&app) {
    form.SetBounds(100, 100, 300, 150);
    edit = new TMaskEdit(&form);
    edit->SetParent(&form);
    edit->SetBounds(10, 10, 150, 21);
    form.Show();
    SetForegroundWindow(form.Handle());
    PumpFor(50);
  }
  ~MaskEditTest() override { PumpFor(30); }
  void Type(const std::string& text) {
    RealType(text);
    PumpFor(120);
  }
  TApplication app;
  TForm form;
  TMaskEdit* edit;
};

} // namespace

TEST_F(MaskEditTest, TypingTakesOnlyWhatTheMaskAllowsAndPassesOverLiterals) {
  edit->SetEditMask("00-LL;1;_");
  EXPECT_EQ(edit->EditText(), "__-__");
  EXPECT_EQ(WindowText(edit->Handle()), "__-__");
  int changes = 0;
  edit->OnChange = [&](TComponent*) { ++changes; };
  edit->SetFocus();
  SendMessageA(edit->Handle(), EM_SETSEL, 0, 0);
  Type("1a2xY3");
  EXPECT_EQ(WindowText(edit->Handle()), "12-xY") << "the letter after 1 and the digit at the end refused";
  EXPECT_EQ(edit->EditText(), "12-xY");
  EXPECT_TRUE(edit->IsComplete());
  EXPECT_GT(changes, 0);

  RealKey(VK_BACK);
  PumpFor(60);
  EXPECT_EQ(WindowText(edit->Handle()), "12-x_");
  EXPECT_FALSE(edit->IsComplete());
  RealKey(VK_HOME);
  RealKey(VK_DELETE);
  PumpFor(60);
  EXPECT_EQ(WindowText(edit->Handle()), "_2-x_");
  Type("9-");
  EXPECT_EQ(WindowText(edit->Handle()), "92-x_") << "the caret stood on the 2: no place for '-'";
  RealKey(VK_RIGHT);
  Type("-q");
  EXPECT_EQ(WindowText(edit->Handle()), "92-q_") << "typing the literal where it stands passes over it";
  Type("z");
  EXPECT_EQ(WindowText(edit->Handle()), "92-qz");
  EXPECT_EQ(edit->Value(), "92-qz");
}

TEST_F(MaskEditTest, TextSetByTheProgramIsFittedIntoTheMask) {
  edit->SetEditMask("(000) 000;0;_");
  edit->SetText("12a3456");
  EXPECT_EQ(WindowText(edit->Handle()), "(123) 456");
  EXPECT_EQ(edit->Value(), "123456");
  edit->SetText("(98");
  EXPECT_EQ(edit->EditText(), "(98_) ___");
  EXPECT_FALSE(edit->IsComplete());
  // Without a mask it is a plain edit again, keeping the value.
  edit->SetEditMask("");
  EXPECT_FALSE(edit->IsMasked());
  EXPECT_EQ(edit->Text(), "98");
  edit->SetFocus();
  SendMessageA(edit->Handle(), EM_SETSEL, 2, 2);
  Type("x!");
  EXPECT_EQ(WindowText(edit->Handle()), "98x!");
}
