// The text cipher the program uses: AES (FIPS-197) computed byte by byte,
// applied in electronic-codebook order to a zero-filled 8-bit form of the
// password, spelled as lowercase hexadecimal.
//
// Encrypted text of a password of L code units: its code-page-1252 form
// zero-filled to P = (L + 17) - ((L + 17) mod 16) bytes, each 16-byte block
// encrypted on its own, written as 2P lowercase hex digits.
#pragma once

#include <cstdint>

#include "cipher/KeySize.h"
#include "cipher/TextCipher.h"
#include "platform/core/WinTypes.h"

class CAesTextCipher : public CTextCipher {
 public:
  // Key bytes are the pass phrase up to its first NUL, cut at or zero-filled
  // to Nk * 4 bytes. A key size other than 0, 1, 2, or a key that cannot be
  // allocated, leaves the object keyless: every operation then fails.
  CAesTextCipher(const char* pszPassPhrase, KeySize nKeySize);
  // Takes exactly Nk * 4 raw key bytes, zero bytes included.
  CAesTextCipher(const BYTE* pbKey, KeySize nKeySize);
  ~CAesTextCipher();

  LPWSTR Encrypt(LPCWSTR pszText, std::int32_t* pLength) override;
  LPWSTR Decrypt(LPCWSTR pszText, std::uint32_t* pLength) override;

  // One 16-byte block; input and output may be the same buffer.
  void EncryptBlock(const BYTE* pbIn, BYTE* pbOut);
  void DecryptBlock(const BYTE* pbIn, BYTE* pbOut);

  // Electronic-codebook processing of whole blocks. A length that is not a
  // multiple of 16 returns 0 and touches nothing; 0 or a negative multiple
  // of 16 returns the length unchanged and touches nothing.
  std::int32_t EncryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength);
  std::int32_t DecryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength);

 protected:
  void ApplyKeySize();
  void ExpandKey();
  // The round steps of FIPS-197, each on m_abState. The byte steps are
  // inline and defined next to the block operations that use them, so that
  // the compiler can carry a byte from one step to the next in a register;
  // the column mixing works on the whole state and is an ordinary call.
  inline void AddRoundKey(int nRound);
  inline void SubBytes();
  inline void InvSubBytes();
  inline void ShiftRows();
  inline void InvShiftRows();
  void MixColumns();
  void InvMixColumns();

  bool HasKey() const { return m_pbKey != nullptr; }

  KeySize m_nKeySize;
  std::int32_t m_Nb = 0;
  std::int32_t m_Nk = 0;
  std::int32_t m_Nr = 0;
  BYTE* m_pbKey = nullptr;
  BYTE m_abSchedule[240] = {};
  BYTE m_abState[16] = {};

 private:
  // Allocates Nk * 4 zero-filled key bytes, copies them from pbSource
  // (stopping early at a zero byte when bStopAtNul), then expands the key.
  void InitKey(const BYTE* pbSource, bool bStopAtNul);
  inline void LoadState(const BYTE* pbIn);
  inline void UnloadState(BYTE* pbOut) const;
  // The block operations without the key check, for the buffer loops.
  void CipherBlock(const BYTE* pbIn, BYTE* pbOut);
  void InvCipherBlock(const BYTE* pbIn, BYTE* pbOut);
};
