// What the cipher tests share: the block cipher's protected members, wide
// strings, and hex helpers.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"

using WString = std::basic_string<WCHAR>;

class CAesProbe : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ExpandKey;
  using CAesTextCipher::m_abSchedule;
  using CAesTextCipher::m_abState;
  using CAesTextCipher::m_pbKey;
};

inline std::vector<BYTE> FromHex(const std::string& hex) {
  std::vector<BYTE> out(hex.size() / 2);
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<BYTE>(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
  return out;
}

// The bytes as printf spells them, two lowercase digits each.
inline std::string ToHex(const BYTE* pb, size_t cb) {
  std::string s;
  for (char sz[3]; cb-- > 0; s += sz)
    std::snprintf(sz, sizeof sz, "%02x", *pb++);
  return s;
}
inline std::string ToHex(const std::vector<BYTE>& v) { return ToHex(v.data(), v.size()); }
