#include "store/AMD5.h"

#include <cstring>

namespace {

// Each step is written out with its constant, message word and rotation,
// so that the compiler keeps the whole state in registers (a loop with
// table loads and variable rotations runs at two thirds of the speed).
inline std::uint32_t RotateLeft(std::uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

inline std::uint32_t LoadLe32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// The four round functions; F and G in forms with one operation less.
#define MD5_F(x, y, z) ((z) ^ ((x) & ((y) ^ (z))))
#define MD5_G(x, y, z) ((y) ^ ((z) & ((x) ^ (y))))
#define MD5_H(x, y, z) ((x) ^ (y) ^ (z))
#define MD5_I(x, y, z) ((y) ^ ((x) | ~(z)))
#define MD5_STEP(f, a, b, c, d, word, constant, shift)                                                             \
  a += f(b, c, d) + (word) + (constant);                                                                           \
  a = RotateLeft(a, shift) + (b);

void Transform(std::uint32_t state[4], const std::uint8_t* block, std::size_t blocks) {
  std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
  for (; blocks > 0; --blocks, block += 64) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) m[i] = LoadLe32(block + i * 4);
    const std::uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

    MD5_STEP(MD5_F, a, b, c, d, m[0], 0xd76aa478, 7)
    MD5_STEP(MD5_F, d, a, b, c, m[1], 0xe8c7b756, 12)
    MD5_STEP(MD5_F, c, d, a, b, m[2], 0x242070db, 17)
    MD5_STEP(MD5_F, b, c, d, a, m[3], 0xc1bdceee, 22)
    MD5_STEP(MD5_F, a, b, c, d, m[4], 0xf57c0faf, 7)
    MD5_STEP(MD5_F, d, a, b, c, m[5], 0x4787c62a, 12)
    MD5_STEP(MD5_F, c, d, a, b, m[6], 0xa8304613, 17)
    MD5_STEP(MD5_F, b, c, d, a, m[7], 0xfd469501, 22)
    MD5_STEP(MD5_F, a, b, c, d, m[8], 0x698098d8, 7)
    MD5_STEP(MD5_F, d, a, b, c, m[9], 0x8b44f7af, 12)
    MD5_STEP(MD5_F, c, d, a, b, m[10], 0xffff5bb1, 17)
    MD5_STEP(MD5_F, b, c, d, a, m[11], 0x895cd7be, 22)
    MD5_STEP(MD5_F, a, b, c, d, m[12], 0x6b901122, 7)
    MD5_STEP(MD5_F, d, a, b, c, m[13], 0xfd987193, 12)
    MD5_STEP(MD5_F, c, d, a, b, m[14], 0xa679438e, 17)
    MD5_STEP(MD5_F, b, c, d, a, m[15], 0x49b40821, 22)

    MD5_STEP(MD5_G, a, b, c, d, m[1], 0xf61e2562, 5)
    MD5_STEP(MD5_G, d, a, b, c, m[6], 0xc040b340, 9)
    MD5_STEP(MD5_G, c, d, a, b, m[11], 0x265e5a51, 14)
    MD5_STEP(MD5_G, b, c, d, a, m[0], 0xe9b6c7aa, 20)
    MD5_STEP(MD5_G, a, b, c, d, m[5], 0xd62f105d, 5)
    MD5_STEP(MD5_G, d, a, b, c, m[10], 0x02441453, 9)
    MD5_STEP(MD5_G, c, d, a, b, m[15], 0xd8a1e681, 14)
    MD5_STEP(MD5_G, b, c, d, a, m[4], 0xe7d3fbc8, 20)
    MD5_STEP(MD5_G, a, b, c, d, m[9], 0x21e1cde6, 5)
    MD5_STEP(MD5_G, d, a, b, c, m[14], 0xc33707d6, 9)
    MD5_STEP(MD5_G, c, d, a, b, m[3], 0xf4d50d87, 14)
    MD5_STEP(MD5_G, b, c, d, a, m[8], 0x455a14ed, 20)
    MD5_STEP(MD5_G, a, b, c, d, m[13], 0xa9e3e905, 5)
    MD5_STEP(MD5_G, d, a, b, c, m[2], 0xfcefa3f8, 9)
    MD5_STEP(MD5_G, c, d, a, b, m[7], 0x676f02d9, 14)
    MD5_STEP(MD5_G, b, c, d, a, m[12], 0x8d2a4c8a, 20)

    MD5_STEP(MD5_H, a, b, c, d, m[5], 0xfffa3942, 4)
    MD5_STEP(MD5_H, d, a, b, c, m[8], 0x8771f681, 11)
    MD5_STEP(MD5_H, c, d, a, b, m[11], 0x6d9d6122, 16)
    MD5_STEP(MD5_H, b, c, d, a, m[14], 0xfde5380c, 23)
    MD5_STEP(MD5_H, a, b, c, d, m[1], 0xa4beea44, 4)
    MD5_STEP(MD5_H, d, a, b, c, m[4], 0x4bdecfa9, 11)
    MD5_STEP(MD5_H, c, d, a, b, m[7], 0xf6bb4b60, 16)
    MD5_STEP(MD5_H, b, c, d, a, m[10], 0xbebfbc70, 23)
    MD5_STEP(MD5_H, a, b, c, d, m[13], 0x289b7ec6, 4)
    MD5_STEP(MD5_H, d, a, b, c, m[0], 0xeaa127fa, 11)
    MD5_STEP(MD5_H, c, d, a, b, m[3], 0xd4ef3085, 16)
    MD5_STEP(MD5_H, b, c, d, a, m[6], 0x04881d05, 23)
    MD5_STEP(MD5_H, a, b, c, d, m[9], 0xd9d4d039, 4)
    MD5_STEP(MD5_H, d, a, b, c, m[12], 0xe6db99e5, 11)
    MD5_STEP(MD5_H, c, d, a, b, m[15], 0x1fa27cf8, 16)
    MD5_STEP(MD5_H, b, c, d, a, m[2], 0xc4ac5665, 23)

    MD5_STEP(MD5_I, a, b, c, d, m[0], 0xf4292244, 6)
    MD5_STEP(MD5_I, d, a, b, c, m[7], 0x432aff97, 10)
    MD5_STEP(MD5_I, c, d, a, b, m[14], 0xab9423a7, 15)
    MD5_STEP(MD5_I, b, c, d, a, m[5], 0xfc93a039, 21)
    MD5_STEP(MD5_I, a, b, c, d, m[12], 0x655b59c3, 6)
    MD5_STEP(MD5_I, d, a, b, c, m[3], 0x8f0ccc92, 10)
    MD5_STEP(MD5_I, c, d, a, b, m[10], 0xffeff47d, 15)
    MD5_STEP(MD5_I, b, c, d, a, m[1], 0x85845dd1, 21)
    MD5_STEP(MD5_I, a, b, c, d, m[8], 0x6fa87e4f, 6)
    MD5_STEP(MD5_I, d, a, b, c, m[15], 0xfe2ce6e0, 10)
    MD5_STEP(MD5_I, c, d, a, b, m[6], 0xa3014314, 15)
    MD5_STEP(MD5_I, b, c, d, a, m[13], 0x4e0811a1, 21)
    MD5_STEP(MD5_I, a, b, c, d, m[4], 0xf7537e82, 6)
    MD5_STEP(MD5_I, d, a, b, c, m[11], 0xbd3af235, 10)
    MD5_STEP(MD5_I, c, d, a, b, m[2], 0x2ad7d2bb, 15)
    MD5_STEP(MD5_I, b, c, d, a, m[9], 0xeb86d391, 21)

    a += a0;
    b += b0;
    c += c0;
    d += d0;
  }
  state[0] = a;
  state[1] = b;
  state[2] = c;
  state[3] = d;
}

#undef MD5_STEP
#undef MD5_F
#undef MD5_G
#undef MD5_H
#undef MD5_I

} // namespace

std::array<std::uint8_t, 16> sMD5::Digest(std::string_view bytes) {
  std::uint32_t state[4] = {0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476};
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
  const std::size_t size = bytes.size();
  const std::size_t done = size / 64 * 64;
  Transform(state, data, size / 64);

  // Padding: 0x80, zeros, then the length in bits, little-endian.
  std::uint8_t tail[128];
  const std::size_t rest = size - done;
  const std::size_t tailSize = rest < 56 ? 64 : 128;
  if (rest) std::memcpy(tail, data + done, rest);
  tail[rest] = 0x80;
  std::memset(tail + rest + 1, 0, tailSize - 8 - rest - 1);
  const std::uint64_t bits = static_cast<std::uint64_t>(size) * 8;
  for (int i = 0; i < 8; ++i) tail[tailSize - 8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  Transform(state, tail, tailSize / 64);

  std::array<std::uint8_t, 16> digest{};
  for (int i = 0; i < 16; ++i) digest[i] = static_cast<std::uint8_t>(state[i / 4] >> (8 * (i % 4)));
  return digest;
}

std::string sMD5::MD5Hex(std::string_view text) {
  static constexpr char kHex[] = "0123456789abcdef";
  const std::array<std::uint8_t, 16> digest = Digest(text);
  std::string hex(32, '\0');
  for (std::size_t i = 0; i < digest.size(); ++i) {
    hex[2 * i] = kHex[digest[i] >> 4];
    hex[2 * i + 1] = kHex[digest[i] & 15];
  }
  return hex;
}
