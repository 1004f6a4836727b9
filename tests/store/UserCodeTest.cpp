#include "store/UserCode.h"

#include <gtest/gtest.h>

TEST(UserCodeProblem, PlainNamesAndTheEmptyCodeAreAccepted) {
  for (const char* code : {"", "anna", "Anna Maria", "a.b", "x_1-2", "\xe9t\xe9", "20-chars-exactly-abc", ".hidden"})
    EXPECT_EQ(UserCodeProblem(code), "") << code;
}

TEST(UserCodeProblem, NamesThatLeaveOrMisnameTheFolderAreRefused) {
  for (const char* code : {"..", ".", "a\\b", "..\\x", "a/b", "c:", "a*", "a?", "a\"b", "a<b", "a>b", "a|b", "tab\tx",
                           "ends.", "ends ", "CON", "con", "Nul.txt", "COM1", "lpt9", "aux "})
    EXPECT_NE(UserCodeProblem(code), "") << code;
  EXPECT_EQ(UserCodeProblem("COM0"), "");
  EXPECT_EQ(UserCodeProblem("CONSOLE"), "");
}

TEST(UserCodeProblem, TheStoredTwentyCharactersMustAlsoBeAName) {
  // Stored, the code is cut to 20 characters: the folder is named by the cut.
  EXPECT_NE(UserCodeProblem("nineteen-characters.and-more"), "");
  EXPECT_EQ(UserCodeProblem("twenty-characters-ok-and-more"), "");
}
