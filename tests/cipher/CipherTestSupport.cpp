#include "CipherTestSupport.h"

#include <cstdio>

std::vector<BYTE> FromHex(const std::string& hex) {
  std::vector<BYTE> out(hex.size() / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<BYTE>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  return out;
}

std::string ToHex(const BYTE* pb, size_t cb) {
  std::string s;
  char two[3];
  for (size_t i = 0; i < cb; ++i) {
    std::snprintf(two, sizeof two, "%02x", pb[i]);
    s += two;
  }
  return s;
}
