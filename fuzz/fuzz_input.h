// Splits one fuzz input into several byte strings at 0xFF 0x00 separators, so
// one input can drive a function of several texts.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace yz::fuzz {

inline std::vector<std::string> SplitInput(const std::uint8_t* data, std::size_t size,
                                           std::size_t parts) {
  std::vector<std::string> out;
  std::string current;
  for (std::size_t i = 0; i < size; ++i) {
    if (out.size() + 1 < parts && data[i] == 0xFF && i + 1 < size && data[i + 1] == 0x00) {
      out.push_back(current);
      current.clear();
      ++i;
      continue;
    }
    current.push_back(static_cast<char>(data[i]));
  }
  out.push_back(current);
  while (out.size() < parts) out.emplace_back();
  return out;
}

// Program text holds no NUL.
inline std::string WithoutNul(std::string s) {
  for (char& c : s)
    if (c == '\0') c = ' ';
  return s;
}

}  // namespace yz::fuzz
