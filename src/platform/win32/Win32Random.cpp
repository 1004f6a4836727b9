#include <windows.h>
#include <bcrypt.h>

#include "platform/Errors.h"
#include "platform/Random.h"

namespace platform {

void SecureRandomBytes(void* buffer, std::size_t size) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    const ULONG chunk = size > 0x10000000 ? 0x10000000 : static_cast<ULONG>(size);
    if (BCryptGenRandom(nullptr, bytes, chunk, BCRYPT_USE_SYSTEM_PREFERRED_RNG) != 0)
      throw EPlimetError("The system's random source gave no random numbers.");
    bytes += chunk;
    size -= chunk;
  }
}

} // namespace platform
