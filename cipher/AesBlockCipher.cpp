// The block-cipher half of CAesTextCipher: key schedule, the round
// transformations on m_abState, and ECB over whole blocks.
//
// The state is the FIPS-197 4x4 matrix stored row by row: s[r][c] is
// m_abState[4 * r + c], and block byte i is s[i % 4][i / 4].
//
// Every step is written one byte at a time. Row by row, a row of the state
// is 4 contiguous bytes, so MixColumns, which combines whole rows, is a few
// 16-byte operations for the compiler; the key, substitution and shift
// steps run as one stretch of byte loads and lookups between two
// MixColumns.
#include <algorithm>
#include <cstddef>

#include "cipher/AesTables.h"
#include "cipher/AesTextCipher.h"

namespace {

constexpr int kBlockBytes = 16;

// Where s[r][c] is kept.
constexpr int At(int r, int c) { return 4 * r + c; }

// Multiplication by 2 in GF(2^8): shift left, XOR 0x1b if the top bit was
// set, keep the low 8 bits. The 0x1b is chosen before it is applied, which
// the compiler does without a branch, for 16 bytes at a time.
inline BYTE XTime(BYTE a) {
  const BYTE reduce = a >= 0x80 ? 0x1b : 0x00;
  return static_cast<BYTE>((a << 1) ^ reduce);
}

// b[r][c] = a[(r + n) mod 4][c]: the rows of a, n places up. A row is 4
// contiguous bytes, so this moves whole 4-byte groups.
inline void RotateRows(BYTE* b, const BYTE* a, int n) {
  const auto row = [&](int r) {
    b[At(r, 0)] = a[At((r + n) % 4, 0)];
    b[At(r, 1)] = a[At((r + n) % 4, 1)];
    b[At(r, 2)] = a[At((r + n) % 4, 2)];
    b[At(r, 3)] = a[At((r + n) % 4, 3)];
  };
  row(0);
  row(1);
  row(2);
  row(3);
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

// FIPS-197 KeyExpansion; word i is schedule bytes 4i to 4i + 3. temp, the
// word before word i, is kept in t0 to t3 from one word to the next; the
// place of word i in its group of Nk words (i mod Nk) and the group's number
// (i div Nk) are counted along rather than divided out.
void CAesTextCipher::ExpandKey() {
  if (!HasKey())
    return;
  const int nk = m_Nk;
  const int nWords = m_Nb * (m_Nr + 1);
  BYTE* const w = m_abSchedule;
  std::copy_n(m_pbKey, 4 * nk, w);  // words 0 to Nk - 1: the key

  BYTE t0 = w[4 * nk - 4], t1 = w[4 * nk - 3], t2 = w[4 * nk - 2], t3 = w[4 * nk - 1];
  int nPlace = 0;  // i mod Nk
  int nGroup = 1;  // i div Nk
  for (int i = nk; i < nWords; ++i) {
    if (nPlace == 0) {  // SubWord(RotWord(temp)) xor Rcon[i / Nk]
      const BYTE* const rcon = kAesRcon[nGroup];
      const BYTE first = t0;
      t0 = static_cast<BYTE>(kAesSBox[t1] ^ rcon[0]);
      t1 = static_cast<BYTE>(kAesSBox[t2] ^ rcon[1]);
      t2 = static_cast<BYTE>(kAesSBox[t3] ^ rcon[2]);
      t3 = static_cast<BYTE>(kAesSBox[first] ^ rcon[3]);
    } else if (nk > 6 && nPlace == 4) {  // SubWord(temp)
      t0 = kAesSBox[t0];
      t1 = kAesSBox[t1];
      t2 = kAesSBox[t2];
      t3 = kAesSBox[t3];
    }
    const BYTE* const back = w + 4 * (i - nk);  // word i - Nk
    t0 = w[4 * i + 0] = static_cast<BYTE>(back[0] ^ t0);
    t1 = w[4 * i + 1] = static_cast<BYTE>(back[1] ^ t1);
    t2 = w[4 * i + 2] = static_cast<BYTE>(back[2] ^ t2);
    t3 = w[4 * i + 3] = static_cast<BYTE>(back[3] ^ t3);
    if (++nPlace == nk) {
      nPlace = 0;
      ++nGroup;
    }
  }
}

// s[r][c] ^= byte r of schedule word 4 * nRound + c. The schedule is indexed
// as the member array rather than through a pointer, which tells the
// compiler that no key byte is a state byte.
void CAesTextCipher::AddRoundKey(int nRound) {
  const std::size_t k = 16 * static_cast<std::size_t>(nRound);
  BYTE* const s = m_abState;
  const auto addWord = [&](int c) {
    s[At(0, c)] ^= m_abSchedule[k + 4 * c + 0];
    s[At(1, c)] ^= m_abSchedule[k + 4 * c + 1];
    s[At(2, c)] ^= m_abSchedule[k + 4 * c + 2];
    s[At(3, c)] ^= m_abSchedule[k + 4 * c + 3];
  };
  addWord(0);
  addWord(1);
  addWord(2);
  addWord(3);
}

void CAesTextCipher::SubBytes() {
  BYTE* const s = m_abState;
  const auto subRow = [&](int r) {
    s[At(r, 0)] = kAesSBox[s[At(r, 0)]];
    s[At(r, 1)] = kAesSBox[s[At(r, 1)]];
    s[At(r, 2)] = kAesSBox[s[At(r, 2)]];
    s[At(r, 3)] = kAesSBox[s[At(r, 3)]];
  };
  subRow(0);
  subRow(1);
  subRow(2);
  subRow(3);
}

void CAesTextCipher::InvSubBytes() {
  BYTE* const s = m_abState;
  const auto subRow = [&](int r) {
    s[At(r, 0)] = kAesInvSBox[s[At(r, 0)]];
    s[At(r, 1)] = kAesInvSBox[s[At(r, 1)]];
    s[At(r, 2)] = kAesInvSBox[s[At(r, 2)]];
    s[At(r, 3)] = kAesInvSBox[s[At(r, 3)]];
  };
  subRow(0);
  subRow(1);
  subRow(2);
  subRow(3);
}

// Row r rotates left by r places: s[r][c] = a[r][(c + r) mod 4]. Row 0
// rotates by none; it is written back all the same, so that every byte of
// the state comes from this step and the stores of SubBytes before it can
// be left out.
void CAesTextCipher::ShiftRows() {
  BYTE a[16];
  for (int i = 0; i < 16; ++i)
    a[i] = m_abState[i];
  BYTE* const s = m_abState;
  const auto shiftRow = [&](int r) {
    s[At(r, 0)] = a[At(r, (0 + r) % 4)];
    s[At(r, 1)] = a[At(r, (1 + r) % 4)];
    s[At(r, 2)] = a[At(r, (2 + r) % 4)];
    s[At(r, 3)] = a[At(r, (3 + r) % 4)];
  };
  shiftRow(0);
  shiftRow(1);
  shiftRow(2);
  shiftRow(3);
}

// Row r rotates right by r places: s[r][(c + r) mod 4] = a[r][c]. Row 0 is
// written back as in ShiftRows.
void CAesTextCipher::InvShiftRows() {
  BYTE a[16];
  for (int i = 0; i < 16; ++i)
    a[i] = m_abState[i];
  BYTE* const s = m_abState;
  const auto shiftRow = [&](int r) {
    s[At(r, (0 + r) % 4)] = a[At(r, 0)];
    s[At(r, (1 + r) % 4)] = a[At(r, 1)];
    s[At(r, (2 + r) % 4)] = a[At(r, 2)];
    s[At(r, (3 + r) % 4)] = a[At(r, 3)];
  };
  shiftRow(0);
  shiftRow(1);
  shiftRow(2);
  shiftRow(3);
}

// The FIPS-197 table, row r: s[r][c] = 2 * a[r][c] ^ 3 * a[r + 1][c] ^
// a[r + 2][c] ^ a[r + 3][c], rows mod 4 (each row of the table is the one
// above it rotated). Every product is formed for all 16 bytes, and the
// rows of a are rotated into place, so that each line below is the same
// operation on all 16 bytes.
//
// MixColumns and InvMixColumns are not inline: the call hands them the
// state whole, in m_abState. Inlined, the compiler would carry the bytes of
// ShiftRows into them one at a time and gather each rotated copy anew.
void CAesTextCipher::MixColumns() {
  BYTE a[16];
  for (int i = 0; i < 16; ++i)
    a[i] = m_abState[i];
  BYTE a2[16], a3[16];  // 2 * a and 3 * a
  for (int i = 0; i < 16; ++i)
    a2[i] = XTime(a[i]);
  for (int i = 0; i < 16; ++i)
    a3[i] = static_cast<BYTE>(a2[i] ^ a[i]);
  BYTE b1[16], b2[16], b3[16];
  RotateRows(b1, a3, 1);
  RotateRows(b2, a, 2);
  RotateRows(b3, a, 3);
  for (int i = 0; i < 16; ++i)
    m_abState[i] = static_cast<BYTE>(a2[i] ^ b1[i] ^ b2[i] ^ b3[i]);
}

// The FIPS-197 table, row r: s[r][c] = 0x0e * a[r][c] ^ 0x0b * a[r + 1][c] ^
// 0x0d * a[r + 2][c] ^ 0x09 * a[r + 3][c], rows mod 4, laid out as in
// MixColumns.
void CAesTextCipher::InvMixColumns() {
  BYTE a[16];
  for (int i = 0; i < 16; ++i)
    a[i] = m_abState[i];
  BYTE a9[16], a11[16], a13[16], a14[16];  // 0x09, 0x0b, 0x0d and 0x0e times a
  for (int i = 0; i < 16; ++i) {
    const BYTE x2 = XTime(a[i]);
    const BYTE x4 = XTime(x2);
    const BYTE x8 = XTime(x4);
    a9[i] = static_cast<BYTE>(x8 ^ a[i]);
    a11[i] = static_cast<BYTE>(x8 ^ x2 ^ a[i]);
    a13[i] = static_cast<BYTE>(x8 ^ x4 ^ a[i]);
    a14[i] = static_cast<BYTE>(x8 ^ x4 ^ x2);
  }
  BYTE b1[16], b2[16], b3[16];
  RotateRows(b1, a11, 1);
  RotateRows(b2, a13, 2);
  RotateRows(b3, a9, 3);
  for (int i = 0; i < 16; ++i)
    m_abState[i] = static_cast<BYTE>(a14[i] ^ b1[i] ^ b2[i] ^ b3[i]);
}

// Block byte 4c + r goes to s[r][c].
void CAesTextCipher::LoadState(const BYTE* pbIn) {
  BYTE* const s = m_abState;
  const auto loadRow = [&](int r) {
    s[At(r, 0)] = pbIn[4 * 0 + r];
    s[At(r, 1)] = pbIn[4 * 1 + r];
    s[At(r, 2)] = pbIn[4 * 2 + r];
    s[At(r, 3)] = pbIn[4 * 3 + r];
  };
  loadRow(0);
  loadRow(1);
  loadRow(2);
  loadRow(3);
}

// Output byte 4c + r is s[r][c].
void CAesTextCipher::UnloadState(BYTE* pbOut) const {
  const BYTE* const s = m_abState;
  const auto unloadRow = [&](int r) {
    pbOut[4 * 0 + r] = s[At(r, 0)];
    pbOut[4 * 1 + r] = s[At(r, 1)];
    pbOut[4 * 2 + r] = s[At(r, 2)];
    pbOut[4 * 3 + r] = s[At(r, 3)];
  };
  unloadRow(0);
  unloadRow(1);
  unloadRow(2);
  unloadRow(3);
}

void CAesTextCipher::EncryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (HasKey())
    CipherBlock(pbIn, pbOut);
}

void CAesTextCipher::DecryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (HasKey())
    InvCipherBlock(pbIn, pbOut);
}

// The FIPS-197 Cipher. The loop holds each round's SubBytes and ShiftRows
// and, but for the last round, its MixColumns and AddRoundKey, so that each
// step appears once in it; the compiler then makes one stretch of code of
// each AddRoundKey and the SubBytes and ShiftRows after it, between two
// MixColumns calls.
void CAesTextCipher::CipherBlock(const BYTE* pbIn, BYTE* pbOut) {
  const int nRounds = m_Nr;
  LoadState(pbIn);
  AddRoundKey(0);
  for (int round = 1;; ++round) {
    SubBytes();
    ShiftRows();
    if (round == nRounds)
      break;
    MixColumns();
    AddRoundKey(round);
  }
  AddRoundKey(nRounds);
  UnloadState(pbOut);
}

// The FIPS-197 Inverse Cipher, with the encryption schedule taken from the
// last round key to the first; the loop is laid out as in CipherBlock.
void CAesTextCipher::InvCipherBlock(const BYTE* pbIn, BYTE* pbOut) {
  LoadState(pbIn);
  AddRoundKey(m_Nr);
  for (int round = m_Nr - 1;; --round) {
    InvShiftRows();
    InvSubBytes();
    AddRoundKey(round);
    if (round == 0)
      break;
    InvMixColumns();
  }
  UnloadState(pbOut);
}

std::int32_t CAesTextCipher::EncryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength) {
  if (!HasKey() || nLength % kBlockBytes != 0)
    return 0;
  for (std::int32_t k = 0; k < nLength / kBlockBytes; ++k)
    CipherBlock(pbIn + kBlockBytes * k, pbOut + kBlockBytes * k);
  return nLength;
}

std::int32_t CAesTextCipher::DecryptBuffer(const BYTE* pbIn, BYTE* pbOut, std::int32_t nLength) {
  if (!HasKey() || nLength % kBlockBytes != 0)
    return 0;
  for (std::int32_t k = 0; k < nLength / kBlockBytes; ++k)
    InvCipherBlock(pbIn + kBlockBytes * k, pbOut + kBlockBytes * k);
  return nLength;
}
