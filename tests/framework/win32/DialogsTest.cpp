// Message dialogs, the name prompt and the open-file dialog, answered as a
// person would.
#include <gtest/gtest.h>

#include "framework/win32/Dialogs.h"
#include "support/ModalDriver.h"
#include "support/TempFolder.h"

namespace {

std::vector<std::string> ButtonTexts(HWND form) {
  std::vector<std::string> texts;
  for (HWND child = GetWindow(form, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    char name[64] = {}, text[64] = {};
    GetClassNameA(child, name, sizeof name);
    GetWindowTextA(child, text, sizeof text);
    if (std::string(name) == "TButton") texts.push_back(text);
  }
  return texts;
}

std::string Caption(HWND window) {
  char text[128] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

class DialogsTest : public ::testing::Test {
protected:
  TApplication app;
  ModalDriver driver;
};

} // namespace

TEST_F(DialogsTest, AConfirmationAnswersOkOnlyWhenOkIsChosen) {
  const std::vector<TMsgDlgBtn> noOk = {TMsgDlgBtn::mbNo, TMsgDlgBtn::mbOK};
  std::vector<std::string> buttons;
  std::string caption;
  driver.When("TMessageForm", [&](HWND form) {
    buttons = ButtonTexts(form);
    caption = Caption(form);
    PressKey(VK_RETURN); // the default
  });
  EXPECT_EQ(MessageDlg("Delete it, Sure?", TMsgDlgType::mtWarning, noOk), mrOk);
  EXPECT_EQ(buttons, (std::vector<std::string>{"&No", "OK"}));
  EXPECT_EQ(caption, "Warning");

  driver.When("TMessageForm", [](HWND) { PressKey(VK_ESCAPE); });
  EXPECT_EQ(MessageDlg("Delete it, Sure?", TMsgDlgType::mtWarning, noOk), mrNo);
  driver.When("TMessageForm", [](HWND form) { CloseByCloseBox(form); });
  EXPECT_EQ(MessageDlg("Delete it, Sure?", TMsgDlgType::mtWarning, noOk), mrNo) << "the close box is not OK";
  // The focus starts on OK; Tab moves it to No, and Enter presses the focused button.
  driver.When("TMessageForm", [](HWND) { PressKey(VK_TAB); PressKey(VK_RETURN); });
  EXPECT_EQ(MessageDlg("Delete it, Sure?", TMsgDlgType::mtWarning, noOk), mrNo);
}

TEST_F(DialogsTest, NoticesAndErrorsHaveOneButton) {
  std::string caption;
  std::vector<std::string> buttons;
  driver.When("TMessageForm", [&](HWND form) {
    caption = Caption(form);
    buttons = ButtonTexts(form);
    PressKey(VK_ESCAPE); // nothing to cancel: stays
    PressKey(VK_RETURN);
  });
  EXPECT_EQ(MessageDlg("Password is Error!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}), mrOk);
  EXPECT_EQ(caption, "Error");
  EXPECT_EQ(buttons, (std::vector<std::string>{"OK"}));
}

TEST_F(DialogsTest, TheNamePromptReturnsWhatWasTyped) {
  std::string caption;
  driver.When("TForm", [&](HWND form) {
    caption = Caption(form);
    TypeText("Work");
    PressKey(VK_RETURN);
  });
  std::string value = "unchanged";
  EXPECT_TRUE(InputQuery("Add Catalog", "Catalog name:", value));
  EXPECT_EQ(value, "Work");
  EXPECT_EQ(caption, "Add Catalog");
  driver.When("TForm", [](HWND) {
    TypeText("ignored");
    PressKey(VK_ESCAPE);
  });
  value = "kept";
  EXPECT_FALSE(InputQuery("Add Catalog", "Catalog name:", value));
  EXPECT_EQ(value, "kept");
}

TEST_F(DialogsTest, TheOpenDialogReturnsSeveralFiles) {
  TempFolder folder;
  WriteFileBytes(folder / "one.txt", "1");
  WriteFileBytes(folder / "two.txt", "2");
  TOpenDialog dialog(&app);
  dialog.InitialDir = folder.Path();
  driver.When("#32770", [](HWND box) {
    // The file name field of the explorer-style dialog.
    SetDlgItemTextA(box, 0x47C, "\"one.txt\" \"two.txt\"");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ASSERT_TRUE(dialog.Execute());
  ASSERT_EQ(dialog.Files().size(), 2u);
  EXPECT_EQ(dialog.Files()[0], folder / "one.txt");
  EXPECT_EQ(dialog.Files()[1], folder / "two.txt");
  driver.When("#32770", [](HWND box) { PostMessageA(box, WM_COMMAND, IDCANCEL, 0); });
  EXPECT_FALSE(dialog.Execute());
  EXPECT_TRUE(dialog.Files().empty());
}
