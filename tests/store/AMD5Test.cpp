#include "store/AMD5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#ifdef PLIMET_HAVE_OPENSSL
#include <openssl/evp.h>
#endif

TEST(MD5Hex, ManyBlocksInOneText) {
  // The RFC 1321 suite's million letters: 15,625 blocks and a padding block.
  EXPECT_EQ(sMD5::MD5Hex(std::string(1000000, 'a')), "7707d6ae4e027c70eea2a935c2296f21");
}

TEST(MD5Hex, MatchesTheRfc1321TestSuite) {
  EXPECT_EQ(sMD5::MD5Hex(""), "d41d8cd98f00b204e9800998ecf8427e");
  EXPECT_EQ(sMD5::MD5Hex("a"), "0cc175b9c0f1b6a831c399e269772661");
  EXPECT_EQ(sMD5::MD5Hex("abc"), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(sMD5::MD5Hex("message digest"), "f96b697d7cb7938d525a2f31aaf161d0");
  EXPECT_EQ(sMD5::MD5Hex("abcdefghijklmnopqrstuvwxyz"), "c3fcd3d76192e4007dfb496cca67e13b");
  EXPECT_EQ(sMD5::MD5Hex("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789"),
            "d174ab98d277d9f5a5611c2c9f419d9f");
  std::string eightyDigits;
  for (int i = 0; i < 8; ++i) eightyDigits += "1234567890";
  EXPECT_EQ(sMD5::MD5Hex(eightyDigits), "57edf4a22be3c955ac49da2e2107b67a");
}

TEST(MD5Hex, PaddingBoundariesAndHighBytes) {
  // Lengths around the 56- and 64-byte block boundaries take the other padding path.
  EXPECT_EQ(sMD5::MD5Hex(std::string(55, 'a')), "ef1772b6dff9a122358552954ad0df65");
  EXPECT_EQ(sMD5::MD5Hex(std::string(56, 'a')), "3b0c8ac703f828b04c6c197006d17218");
  EXPECT_EQ(sMD5::MD5Hex(std::string(64, 'a')), "014842d480b571495a4a0363793f7367");
  EXPECT_EQ(sMD5::MD5Hex(std::string("\xff\x80\x00\xe9", 4)), "035848d15cee4349fb01464260f7a5e4");
  EXPECT_NE(sMD5::MD5Hex("Admin"), sMD5::MD5Hex("admin"));
  const std::string hex = sMD5::MD5Hex("x");
  EXPECT_EQ(hex.size(), 32u);
  EXPECT_EQ(hex.find_first_not_of("0123456789abcdef"), std::string::npos);
}

#ifdef PLIMET_HAVE_OPENSSL
TEST(MD5Hex, AgreesWithOpenSslOnRandomBytes) {
  std::mt19937 random(20261208);
  for (int round = 0; round < 2000; ++round) {
    std::string bytes(random() % 300, '\0');
    for (char& c : bytes) c = static_cast<char>(random() & 0xff);
    unsigned char reference[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    ASSERT_EQ(EVP_Digest(bytes.data(), bytes.size(), reference, &size, EVP_md5(), nullptr), 1);
    std::string hex;
    char pair[3];
    for (unsigned int i = 0; i < size; ++i) {
      std::snprintf(pair, sizeof pair, "%02x", reference[i]);
      hex += pair;
    }
    ASSERT_EQ(sMD5::MD5Hex(bytes), hex) << "length " << bytes.size();
  }
}

TEST(MD5Hex, AgreesWithOpenSslOnEveryLengthUpToAThousand) {
  // Every way a text can end within a block and across block boundaries.
  std::mt19937 random(1000);
  std::string bytes(1000, '\0');
  for (char& c : bytes) c = static_cast<char>(random());
  for (std::size_t length = 0; length <= bytes.size(); ++length) {
    unsigned char reference[EVP_MAX_MD_SIZE];
    unsigned int size = 0;
    ASSERT_EQ(EVP_Digest(bytes.data(), length, reference, &size, EVP_md5(), nullptr), 1);
    const auto digest = sMD5::Digest(std::string_view(bytes.data(), length));
    ASSERT_EQ(size, digest.size());
    ASSERT_TRUE(std::equal(digest.begin(), digest.end(), reference)) << "length " << length;
  }
}
#endif
