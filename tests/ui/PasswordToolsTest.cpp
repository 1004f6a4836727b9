#include "ui/PasswordTools.h"

#include <gtest/gtest.h>

#include "support/ErrorOf.h"

#include <cstring>
#include <set>

#include "platform/Errors.h"
#include "platform/Random.h"

namespace {


bool HasAny(const std::string& password, const std::string& chars) {
  return password.find_first_of(chars) != std::string::npos;
}

} // namespace

TEST(GeneratePassword, LengthAndEveryChosenClass) {
  const TRandomSource random = platform::SecureRandomBytes;
  std::vector<TPasswordOptions> cases;
  cases.push_back({});
  cases.push_back({4, true, true, true, true, false});
  cases.push_back({256, false, true, false, false, false});
  cases.push_back({12, true, false, true, false, true});
  cases.push_back({7, false, false, false, true, true});
  for (const TPasswordOptions& options : cases) {
    const std::vector<std::string> classes = PasswordClasses(options);
    std::string allowed;
    for (const std::string& chars : classes) allowed += chars;
    for (int i = 0; i < 200; ++i) {
      const std::string password = GeneratePassword(options, random);
      ASSERT_EQ(password.size(), static_cast<std::size_t>(options.Length));
      for (const std::string& chars : classes) EXPECT_TRUE(HasAny(password, chars)) << password;
      EXPECT_EQ(password.find_first_not_of(allowed), std::string::npos) << password;
      if (options.AvoidLookAlike) {
        EXPECT_FALSE(HasAny(password, "Il1O0o|")) << password;
      }
    }
  }
  EXPECT_EQ(TPasswordOptions{}.Length, 20) << "twenty characters of all four kinds by default";
}

TEST(GeneratePassword, TenThousandAreAllDifferentAndUseEveryCharacter) {
  const TPasswordOptions options;
  std::set<std::string> seen;
  std::set<char> used;
  for (int i = 0; i < 10000; ++i) {
    const std::string password = GeneratePassword(options, platform::SecureRandomBytes);
    seen.insert(password);
    used.insert(password.begin(), password.end());
  }
  EXPECT_EQ(seen.size(), 10000u);
  std::string allowed;
  for (const std::string& chars : PasswordClasses(options)) allowed += chars;
  EXPECT_EQ(used.size(), allowed.size()) << "every allowed character turns up";
}

TEST(GeneratePassword, DrawsWithoutBiasAndRefusesImpossibleOptions) {
  // A source that first offers values in the biased top range: they are drawn again.
  std::vector<std::uint32_t> values = {UINT32_MAX, UINT32_MAX - 1, 5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};
  std::size_t next = 0;
  const TRandomSource scripted = [&](void* buffer, std::size_t size) {
    ASSERT_EQ(size, sizeof(std::uint32_t));
    const std::uint32_t value = next < values.size() ? values[next] : 0;
    ++next;
    std::memcpy(buffer, &value, size);
  };
  TPasswordOptions digitsOnly{4, false, false, true, false, false};
  const std::string password = GeneratePassword(digitsOnly, scripted);
  EXPECT_EQ(password.size(), 4u);
  EXPECT_NE(password.find('5'), std::string::npos) << "the third draw, not the top-range ones";

  EXPECT_EQ(ErrorOf([] { GeneratePassword({20, false, false, false, false, false}, platform::SecureRandomBytes); }),
            "Choose at least one kind of character.");
  EXPECT_EQ(PasswordOptionsProblem({3, true, true, true, true, false}),
            "The length must be from 4 to 256 characters.");
  EXPECT_EQ(PasswordOptionsProblem({257, true, true, true, true, false}),
            "The length must be from 4 to 256 characters.");
  EXPECT_EQ(PasswordOptionsProblem({4, true, true, true, true, false}), "");
}

TEST(UrlToOpen, WebAndFtpAddressesOnly) {
  EXPECT_EQ(UrlToOpen("https://mail.example.org/login"), "https://mail.example.org/login");
  EXPECT_EQ(UrlToOpen("HTTP://Example.org"), "HTTP://Example.org");
  EXPECT_EQ(UrlToOpen("ftp://files.example.org/pub"), "ftp://files.example.org/pub");
  EXPECT_EQ(UrlToOpen("example.org/a?b=c"), "https://example.org/a?b=c") << "no scheme: https";
  EXPECT_EQ(UrlToOpen("  bank.example.com  "), "https://bank.example.com");
  EXPECT_EQ(UrlToOpen("example.org:8080/x"), "https://example.org:8080/x") << "a port is not a scheme";
  for (const char* refused : {"file:///C:/Windows/System32/calc.exe", "FILE://server/share", "javascript:alert(1)",
                              "cmd.exe /c del *", "calc", "C:\\Windows\\notepad.exe", "C:/Windows/notepad.exe",
                              "\\\\server\\share", "//server/share", "mailto:a@example.org", "http:example.org",
                              "https://", "https://exa mple.org", "https://example.org/\"&calc", "", "   ",
                              "shell:startup", "ms-settings:", "https://example.org/\x01", "javascript:1.example.com",
                              "mailto:1@example.org", "file:1.example"}) {
    const std::string message = ErrorOf([refused] { UrlToOpen(refused); });
    EXPECT_EQ(message.rfind("The URL \"" + std::string(refused) + "\" is not opened: ", 0), 0u)
        << refused << " -> " << message;
  }
  EXPECT_EQ(ErrorOf([] { UrlToOpen("file:///etc/passwd"); }),
            "The URL \"file:///etc/passwd\" is not opened: only web (http, https) and ftp addresses are opened.");
}

TEST(RecordMatches, TitleUrlOrUserInAnyCaseNeverThePassword) {
  EXPECT_TRUE(RecordMatches("Post Office", "https://post.example", "anna", "OFFICE"));
  EXPECT_TRUE(RecordMatches("Post", "https://post.example", "anna", "Post.Ex"));
  EXPECT_TRUE(RecordMatches("Post", "", "Anna", "nn"));
  EXPECT_FALSE(RecordMatches("Post", "https://post.example", "anna", "bank"));
  EXPECT_TRUE(RecordMatches("", "", "", ""));
  EXPECT_TRUE(RecordMatches("\xC9" "cole", "", "", "\xE9" "cole"));
}
