#include <sys/random.h>

#include <cerrno>

#include "platform/Errors.h"
#include "platform/Random.h"

namespace platform {

void SecureRandomBytes(void* buffer, std::size_t size) {
  auto* bytes = static_cast<unsigned char*>(buffer);
  while (size > 0) {
    const ssize_t n = ::getrandom(bytes, size, 0);
    if (n < 0) {
      if (errno == EINTR) continue;
      throw EPlimetError("The system's random source gave no random numbers.");
    }
    bytes += n;
    size -= static_cast<std::size_t>(n);
  }
}

} // namespace platform
