#pragma once
// The range rule: fits a request (start, count) to a container of `total`
// elements, and the copy of 32-bit values into a caller's array built on it.
#include <cstdint>
#include <string>

namespace Utils::Checking {

// Count that may be used from `start`; 0xFFFFFFFF as count means "to the end".
// Throws a composed text naming `method` (a qualified name without "()").
uint32_t GetCountDirect(const std::string& method, uint32_t total, uint32_t start, uint32_t count);

}  // namespace Utils::Checking

namespace Utils::Array {

// Copies source[0..] into destination[0..] while i is below size, total and
// the count the range rule allows; no destination is an error, not a crash.
void Copy(const uint32_t* source, uint32_t total, uint32_t* destination, uint32_t size);

}  // namespace Utils::Array
