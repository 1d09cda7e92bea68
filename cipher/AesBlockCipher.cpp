// The block-cipher half of CAesTextCipher: key schedule, the round
// transformations on m_abState, and ECB over whole blocks.
//
// The state is the FIPS-197 4x4 matrix stored row by row: s[r][c] is
// m_abState[4 * r + c]. Block byte i is s[i % 4][i / 4].
//
// How the work is split for speed: S-box lookups go byte by byte through
// general registers; the steps that treat every byte alike (the xtime
// products and XORs of MixColumns, AddRoundKey) act on the sixteen bytes at
// once in a vector register, one independent byte per lane, nothing carried
// from lane to lane. Rows travel between the two kinds of register as 4-byte
// units. The round steps are inline, so that within a block the state passes
// from step to step in registers rather than through m_abState byte by byte.
#include <bit>
#include <cstdint>
#include <cstring>

#include "cipher/AesTables.h"
#include "cipher/AesTextCipher.h"

namespace {

constexpr int kBlockBytes = 16;

static_assert(std::endian::native == std::endian::little,
              "a row's first byte must be the low byte of its 4-byte unit");

// Sixteen bytes side by side. Every arithmetic operation on it acts on each
// byte by itself, exactly as a loop over the bytes would.
typedef BYTE Bytes16 __attribute__((vector_size(16)));
typedef signed char SignedBytes16 __attribute__((vector_size(16)));
// The same sixteen bytes as four 4-byte units, only to move them.
typedef std::uint32_t Units4 __attribute__((vector_size(16)));
// Sixteen bytes at any address, aliasing anything, for whole-state accesses.
typedef BYTE UnalignedBytes16 __attribute__((vector_size(16), aligned(1), may_alias));

inline Bytes16 LoadBytes(const BYTE* pb) {
  return *reinterpret_cast<const UnalignedBytes16*>(pb);
}

inline void StoreBytes(BYTE* pb, Bytes16 v) {
  *reinterpret_cast<UnalignedBytes16*>(pb) = v;
}

// Four bytes from memory as one unit, the first lowest.
inline std::uint32_t LoadUnit(const BYTE* pb) {
  std::uint32_t u;
  std::memcpy(&u, pb, sizeof u);
  return u;
}

// Byte c of a unit.
inline BYTE UnitByte(std::uint32_t u, int c) {
  return static_cast<BYTE>(u >> (8 * c));
}

// Bytes 4r to 4r + 3 of b as one unit: what a 4-byte load of them would give.
inline std::uint32_t RowUnit(const BYTE (&b)[16], int r) {
  const std::uint32_t b0 = b[4 * r], b1 = b[4 * r + 1], b2 = b[4 * r + 2], b3 = b[4 * r + 3];
  return (b0 | (b1 << 8)) | ((b2 | (b3 << 8)) << 16);
}

// Sixteen bytes held one by one, brought into a vector a row at a time. A
// unit costs one transfer into the vector register where single bytes cost
// four; storing the bytes and loading the sixteen back at once would wait
// until every single-byte store had reached the cache.
inline Bytes16 AssembleRows(const BYTE (&b)[16]) {
  return reinterpret_cast<Bytes16>(Units4{RowUnit(b, 0), RowUnit(b, 1), RowUnit(b, 2), RowUnit(b, 3)});
}

// Four bytes from memory into the first four places of a zero vector.
inline Bytes16 LoadFour(const BYTE* pb) {
  return reinterpret_cast<Bytes16>(Units4{LoadUnit(pb), 0, 0, 0});
}

// Bytes 0-7 of x and of y, taken in turn: x0 y0 x1 y1 ... x7 y7.
inline Bytes16 Interleave(Bytes16 x, Bytes16 y) {
  return __builtin_shufflevector(x, y, 0, 16, 1, 17, 2, 18, 3, 19, 4, 20, 5, 21, 6, 22, 7, 23);
}

// Sixteen bytes laid out column by column, as a block or a round key is,
// returned row by row as the state is: result[4r + c] = pb[4c + r]. The
// mapping is its own inverse.
inline Bytes16 LoadTransposed(const BYTE* pb) {
  return Interleave(Interleave(LoadFour(pb), LoadFour(pb + 8)),
                    Interleave(LoadFour(pb + 4), LoadFour(pb + 12)));
}

// xtime of every byte: shift left, XOR 0x1b where the top bit was set.
inline Bytes16 XTime(Bytes16 a) {
  const Bytes16 high = reinterpret_cast<Bytes16>(reinterpret_cast<SignedBytes16>(a) < 0);
  return (a + a) ^ (high & 0x1b);
}

// Row r of the result is row r + 1 (r + 2) of a, rows taken cyclically.
inline Bytes16 RowsUp1(Bytes16 a) {
  return __builtin_shufflevector(a, a, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3);
}
inline Bytes16 RowsUp2(Bytes16 a) {
  return __builtin_shufflevector(a, a, 8, 9, 10, 11, 12, 13, 14, 15, 0, 1, 2, 3, 4, 5, 6, 7);
}

// Row r of the mix is 2*a_r + 3*a_{r+1} + a_{r+2} + a_{r+3}, rows taken
// cyclically, regrouped as a_{r+1} + (a_{r+2} + a_{r+3}) + 2*(a_r + a_{r+1}).
inline Bytes16 Mix(Bytes16 a) {
  const Bytes16 next = RowsUp1(a);
  const Bytes16 pair = a ^ next;
  return next ^ RowsUp2(pair) ^ XTime(pair);
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

// FIPS-197 KeyExpansion, a group of Nk words at a time, so that the word's
// place in its group is a loop counter rather than a remainder. The word
// before the next one stays in t0..t3.
void CAesTextCipher::ExpandKey() {
  const int nk = m_Nk;  // read once: the byte stores below may alias it
  const int nKeyBytes = 4 * nk;
  const int nScheduleBytes = 4 * m_Nb * (m_Nr + 1);
  std::memcpy(m_abSchedule, m_pbKey, nKeyBytes);
  BYTE t0 = m_abSchedule[nKeyBytes - 4], t1 = m_abSchedule[nKeyBytes - 3];
  BYTE t2 = m_abSchedule[nKeyBytes - 2], t3 = m_abSchedule[nKeyBytes - 1];
  BYTE* word = m_abSchedule + nKeyBytes;
  const BYTE* const end = m_abSchedule + nScheduleBytes;
  // word = the word Nk places back ^ temp; temp becomes the new word.
  auto store = [&] {
    const BYTE* back = word - nKeyBytes;
    t0 = word[0] = static_cast<BYTE>(back[0] ^ t0);
    t1 = word[1] = static_cast<BYTE>(back[1] ^ t1);
    t2 = word[2] = static_cast<BYTE>(back[2] ^ t2);
    t3 = word[3] = static_cast<BYTE>(back[3] ^ t3);
    word += 4;
  };
  int nRcon = 1;
  while (word < end) {
    const BYTE* rcon = kAesRcon[nRcon++];  // SubWord(RotWord(temp)) ^ Rcon
    const BYTE first = t0;
    t0 = static_cast<BYTE>(kAesSBox[t1] ^ rcon[0]);
    t1 = static_cast<BYTE>(kAesSBox[t2] ^ rcon[1]);
    t2 = static_cast<BYTE>(kAesSBox[t3] ^ rcon[2]);
    t3 = static_cast<BYTE>(kAesSBox[first] ^ rcon[3]);
    store();
    for (int n = 1; n < nk && word < end; ++n) {
      if (n == 4 && nk > 6) {  // SubWord(temp)
        t0 = kAesSBox[t0];
        t1 = kAesSBox[t1];
        t2 = kAesSBox[t2];
        t3 = kAesSBox[t3];
      }
      store();
    }
  }
}

// s[r][c] ^= byte r of schedule word 4 * nRound + c.
void CAesTextCipher::AddRoundKey(int nRound) {
  StoreBytes(m_abState, LoadBytes(m_abState) ^ LoadTransposed(m_abSchedule + 16 * nRound));
}

// Each row is read as one unit and taken apart in a general register: in
// encryption the state has just left a vector register, and a unit is one
// transfer where single bytes would be a store and sixteen loads.
void CAesTextCipher::SubBytes() {
#pragma GCC unroll 4
  for (int r = 0; r < 4; ++r) {
    const std::uint32_t row = LoadUnit(m_abState + 4 * r);
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c)
      m_abState[4 * r + c] = kAesSBox[UnitByte(row, c)];
  }
}

// In decryption AddRoundKey and the column mixing follow, so the substituted
// bytes go back as a whole state.
void CAesTextCipher::InvSubBytes() {
  BYTE b[16];
#pragma GCC unroll 16
  for (int i = 0; i < 16; ++i)
    b[i] = kAesInvSBox[m_abState[i]];
  StoreBytes(m_abState, AssembleRows(b));
}

// Row r rotates left by r places. The column mixing follows, so the rows go
// back as a whole state.
void CAesTextCipher::ShiftRows() {
  BYTE a[16];
  std::memcpy(a, m_abState, sizeof a);
  BYTE b[16];
#pragma GCC unroll 4
  for (int r = 0; r < 4; ++r)
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c)
      b[4 * r + c] = a[4 * r + ((c + r) & 3)];
  StoreBytes(m_abState, AssembleRows(b));
}

// Row r rotates right by r places.
void CAesTextCipher::InvShiftRows() {
  BYTE a[16];
  std::memcpy(a, m_abState, sizeof a);
#pragma GCC unroll 4
  for (int r = 1; r < 4; ++r)
#pragma GCC unroll 4
    for (int c = 0; c < 4; ++c)
      m_abState[4 * r + ((c + r) & 3)] = a[4 * r + c];
}

void CAesTextCipher::MixColumns() {
  const Bytes16 a = LoadBytes(m_abState);
  StoreBytes(m_abState, Mix(a));
}

// The inverse matrix is the forward one times the circulant {5, 0, 4, 0}:
// first a_r += 4*(a_r + a_{r+2}), then the forward mix.
void CAesTextCipher::InvMixColumns() {
  const Bytes16 a = LoadBytes(m_abState);
  StoreBytes(m_abState, Mix(a ^ XTime(XTime(a ^ RowsUp2(a)))));
}

void CAesTextCipher::LoadState(const BYTE* pbIn) {
  StoreBytes(m_abState, LoadTransposed(pbIn));
}

void CAesTextCipher::UnloadState(BYTE* pbOut) const {
  StoreBytes(pbOut, LoadTransposed(m_abState));
}

void CAesTextCipher::EncryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (HasKey())
    CipherBlock(pbIn, pbOut);
}

void CAesTextCipher::DecryptBlock(const BYTE* pbIn, BYTE* pbOut) {
  if (HasKey())
    InvCipherBlock(pbIn, pbOut);
}

void CAesTextCipher::CipherBlock(const BYTE* pbIn, BYTE* pbOut) {
  const int nRounds = m_Nr;
  LoadState(pbIn);
  AddRoundKey(0);
  for (int round = 1; round < nRounds; ++round) {
    SubBytes();
    ShiftRows();
    MixColumns();
    AddRoundKey(round);
  }
  SubBytes();
  ShiftRows();
  AddRoundKey(nRounds);
  UnloadState(pbOut);
}

void CAesTextCipher::InvCipherBlock(const BYTE* pbIn, BYTE* pbOut) {
  const int nRounds = m_Nr;
  LoadState(pbIn);
  AddRoundKey(nRounds);
  for (int round = nRounds - 1; round >= 1; --round) {
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
