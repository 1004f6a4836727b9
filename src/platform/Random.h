#pragma once
// The system's cryptographic random source.
#include <cstddef>

namespace platform {

// Fills the buffer with random bytes fit for secrets; raises EPlimetError
// when the system gives none.
void SecureRandomBytes(void* buffer, std::size_t size);

} // namespace platform
