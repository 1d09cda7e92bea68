// What the cipher tests share: the block cipher's protected members, hex
// helpers, and OpenSSL's AES-ECB as the independent reference.
#pragma once

#include <string>
#include <vector>

#include "cipher/AesTextCipher.h"

class CAesProbe : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;
  using CAesTextCipher::ApplyKeySize;
  using CAesTextCipher::ExpandKey;
  using CAesTextCipher::m_abSchedule;
  using CAesTextCipher::m_abState;
  using CAesTextCipher::m_Nb;
  using CAesTextCipher::m_Nk;
  using CAesTextCipher::m_nKeySize;
  using CAesTextCipher::m_Nr;
  using CAesTextCipher::m_pbKey;
};

std::vector<BYTE> FromHex(const std::string& hex);
std::string ToHex(const BYTE* pb, size_t cb);
inline std::string ToHex(const std::vector<BYTE>& v) { return ToHex(v.data(), v.size()); }

// OpenSSL's AES-ECB without padding; the key length picks AES-128/192/256.
std::vector<BYTE> OpenSslEcb(const std::vector<BYTE>& key, const std::vector<BYTE>& in, bool bEncrypt);
