// Base64 (RFC 4648, standard alphabet, with padding) for bytes that JSON
// cannot carry as text.
#pragma once

#include <string>

namespace Base64 {

std::string Encode(const std::string& bytes);

// Accepts only the canonical form Encode writes (no line breaks, padding
// present, unused bits zero), so that every text decodes to one byte string
// and back to the same text.
bool Decode(const std::string& text, std::string& bytes);

} // namespace Base64
