// The block-cipher half of CAesTextCipher: key schedule, the round
// transformations on m_abState, and ECB over whole blocks.
//
// The state is the FIPS-197 4x4 matrix stored row by row: s[r][c] is
// m_abState[4 * r + c]. Block byte i is s[i % 4][i / 4].
#include "cipher/AesTables.h"
#include "cipher/AesTextCipher.h"

namespace {

constexpr int kBlockBytes = 16;

// Multiplication by 2 in GF(2^8).
inline BYTE XTime(BYTE a) {
  return static_cast<BYTE>((a << 1) ^ ((a & 0x80) ? 0x1b : 0x00));
}

}  // namespace

void CAesTextCipher::ApplyKeySize() {
  m_Nb = 4;
  if (m_nKeySize == KeySize128) {
    m_Nk = 4;
    m_Nr = 10;
  } else if (m_nKeySize == KeySize192) {
    m_Nk = 6;
    m_Nr = 12;
  } else if (m_nKeySize == KeySize256) {
    m_Nk = 8;
    m_Nr = 14;
  }
}

void CAesTextCipher::ExpandKey() {
  for (int i = 0; i < 4 * m_Nk; ++i)
    m_abSchedule[i] = m_pbKey[i];
  const int total = m_Nb * (m_Nr + 1);
  for (int i = m_Nk; i < total; ++i) {
    const BYTE* prev = m_abSchedule + 4 * (i - 1);
    BYTE temp[4] = {prev[0], prev[1], prev[2], prev[3]};
    if (i % m_Nk == 0) {
      const BYTE* rcon = kAesRcon[i / m_Nk];
      const BYTE t0 = temp[0];
      temp[0] = static_cast<BYTE>(kAesSBox[temp[1]] ^ rcon[0]);
      temp[1] = static_cast<BYTE>(kAesSBox[temp[2]] ^ rcon[1]);
      temp[2] = static_cast<BYTE>(kAesSBox[temp[3]] ^ rcon[2]);
      temp[3] = static_cast<BYTE>(kAesSBox[t0] ^ rcon[3]);
    } else if (m_Nk > 6 && i % m_Nk == 4) {
      for (BYTE& t : temp)
        t = kAesSBox[t];
    }
    const BYTE* back = m_abSchedule + 4 * (i - m_Nk);
    BYTE* word = m_abSchedule + 4 * i;
    for (int b = 0; b < 4; ++b)
      word[b] = static_cast<BYTE>(back[b] ^ temp[b]);
  }
}

void CAesTextCipher::AddRoundKey(int nRound) {
  const BYTE* key = m_abSchedule + 16 * nRound;
  for (int r = 0; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      m_abState[4 * r + c] ^= key[4 * c + r];
}

void CAesTextCipher::SubBytes() {
  for (BYTE& b : m_abState)
    b = kAesSBox[b];
}

void CAesTextCipher::InvSubBytes() {
  for (BYTE& b : m_abState)
    b = kAesInvSBox[b];
}

void CAesTextCipher::ShiftRows() {
  BYTE copy[16];
  for (int i = 0; i < 16; ++i)
    copy[i] = m_abState[i];
  for (int r = 1; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      m_abState[4 * r + c] = copy[4 * r + (c + r) % m_Nb];
}

void CAesTextCipher::InvShiftRows() {
  BYTE copy[16];
  for (int i = 0; i < 16; ++i)
    copy[i] = m_abState[i];
  for (int r = 1; r < 4; ++r)
    for (int c = 0; c < 4; ++c)
      m_abState[4 * r + (c + r) % m_Nb] = copy[4 * r + c];
}

void CAesTextCipher::MixColumns() {
  BYTE copy[16];
  for (int i = 0; i < 16; ++i)
    copy[i] = m_abState[i];
  for (int c = 0; c < 4; ++c) {
    const BYTE a0 = copy[c], a1 = copy[4 + c], a2 = copy[8 + c], a3 = copy[12 + c];
    const BYTE x0 = XTime(a0), x1 = XTime(a1), x2 = XTime(a2), x3 = XTime(a3);
    m_abState[c]      = static_cast<BYTE>(x0 ^ (x1 ^ a1) ^ a2 ^ a3);
    m_abState[4 + c]  = static_cast<BYTE>(a0 ^ x1 ^ (x2 ^ a2) ^ a3);
    m_abState[8 + c]  = static_cast<BYTE>(a0 ^ a1 ^ x2 ^ (x3 ^ a3));
    m_abState[12 + c] = static_cast<BYTE>((x0 ^ a0) ^ a1 ^ a2 ^ x3);
  }
}

void CAesTextCipher::InvMixColumns() {
  BYTE copy[16];
  for (int i = 0; i < 16; ++i)
    copy[i] = m_abState[i];
  for (int c = 0; c < 4; ++c) {
    BYTE a[4], m9[4], mb[4], md[4], me[4];
    for (int r = 0; r < 4; ++r) {
      a[r] = copy[4 * r + c];
      const BYTE x2 = XTime(a[r]), x4 = XTime(x2), x8 = XTime(x4);
      m9[r] = static_cast<BYTE>(x8 ^ a[r]);
      mb[r] = static_cast<BYTE>(x8 ^ x2 ^ a[r]);
      md[r] = static_cast<BYTE>(x8 ^ x4 ^ a[r]);
      me[r] = static_cast<BYTE>(x8 ^ x4 ^ x2);
    }
    m_abState[c]      = static_cast<BYTE>(me[0] ^ mb[1] ^ md[2] ^ m9[3]);
    m_abState[4 + c]  = static_cast<BYTE>(m9[0] ^ me[1] ^ mb[2] ^ md[3]);
    m_abState[8 + c]  = static_cast<BYTE>(md[0] ^ m9[1] ^ me[2] ^ mb[3]);
    m_abState[12 + c] = static_cast<BYTE>(mb[0] ^ md[1] ^ m9[2] ^ me[3]);
  }
}

void CAesTextCipher::LoadState(const BYTE* pbIn) {
  for (int i = 0; i < 4 * m_Nb; ++i)
    m_abState[4 * (i % 4) + i / 4] = pbIn[i];
}

void CAesTextCipher::UnloadState(BYTE* pbOut) const {
  for (int i = 0; i < 4 * m_Nb; ++i)
    pbOut[i] = m_abState[4 * (i % 4) + i / 4];
}

void CAesTextCipher::EncryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (!HasKey())
    return;
  LoadState(pbIn);
  AddRoundKey(0);
  for (int round = 1; round < m_Nr; ++round) {
    SubBytes();
    ShiftRows();
    MixColumns();
    AddRoundKey(round);
  }
  SubBytes();
  ShiftRows();
  AddRoundKey(m_Nr);
  UnloadState(pbOut);
}

void CAesTextCipher::DecryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (!HasKey())
    return;
  LoadState(pbIn);
  AddRoundKey(m_Nr);
  for (int round = m_Nr - 1; round >= 1; --round) {
    InvShiftRows();
    InvSubBytes();
    AddRoundKey(round);
    InvMixColumns();
  }
  InvShiftRows();
  InvSubBytes();
  AddRoundKey(0);
  UnloadState(pbOut);
}

std::int32_t CAesTextCipher::EncryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength) {
  if (!HasKey() || nLength % kBlockBytes != 0)
    return 0;
  for (std::int32_t k = 0; k < nLength / kBlockBytes; ++k)
    EncryptBlock(pbIn + kBlockBytes * k, pbOut + kBlockBytes * k);
  return nLength;
}

std::int32_t CAesTextCipher::DecryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength) {
  if (!HasKey() || nLength % kBlockBytes != 0)
    return 0;
  for (std::int32_t k = 0; k < nLength / kBlockBytes; ++k)
    DecryptBlock(pbIn + kBlockBytes * k, pbOut + kBlockBytes * k);
  return nLength;
}
