// The text half of CAesTextCipher: construction from a key, and the two
// text operations that define the encrypted-text format.
#include "cipher/AesTextCipher.h"

#include <string>

#include "cipher/HexText.h"
#include "platform/core/CodePage.h"
#include "platform/core/LocalMemory.h"

namespace {

constexpr std::int32_t kBlockBytes = 16;

// Longest text either operation takes: keeps 2P + 1 wide characters of the
// longest result inside a 32-bit count.
constexpr SIZE_T kMaxTextChars = (INT32_MAX / 2) - 2 * kBlockBytes;

SIZE_T TextLength(LPCWSTR psz) { return std::char_traits<WCHAR>::length(psz); }

// P: the smallest multiple of 16 that is at least L + 2. It is L + 17 that
// is reduced, so 16k - 1 characters take a whole extra block.
std::int32_t PlaintextLength(std::int32_t nChars) {
  return (nChars + 17) - ((nChars + 17) % kBlockBytes);
}

template <typename T>
T* AllocZeroed(SIZE_T cElements) {
  return static_cast<T*>(LocalAlloc(LPTR, cElements * sizeof(T)));
}

}  // namespace

CAesTextCipher::CAesTextCipher(const char* pszPassPhrase, KeySize nKeySize) : m_nKeySize(nKeySize) {
  InitKey(reinterpret_cast<const BYTE*>(pszPassPhrase), true);
}

CAesTextCipher::CAesTextCipher(const BYTE* pbKey, KeySize nKeySize) : m_nKeySize(nKeySize) {
  InitKey(pbKey, false);
}

CAesTextCipher::~CAesTextCipher() {
  LocalFreeWiped(m_pbKey);
  m_pbKey = nullptr;
  SecureZeroMemory(m_abSchedule, sizeof m_abSchedule);
  SecureZeroMemory(m_abState, sizeof m_abState);
}

void CAesTextCipher::InitKey(const BYTE* pbSource, bool bStopAtNul) {
  ApplyKeySize();
  if (m_Nk == 0 || pbSource == nullptr)
    return;  // unknown key size or no key: the object stays keyless
  m_pbKey = AllocZeroed<BYTE>(4 * SIZE_T(m_Nk));
  if (m_pbKey == nullptr)
    return;
  for (int i = 0; i < 4 * m_Nk; ++i) {
    if (bStopAtNul && pbSource[i] == 0)
      break;
    m_pbKey[i] = pbSource[i];
  }
  ExpandKey();
}

LPWSTR CAesTextCipher::Encrypt(LPCWSTR pszText, std::int32_t* pLength) {
  ReleaseBuffers();
  if (!HasKey() || pszText == nullptr)
    return nullptr;
  const SIZE_T cchText = TextLength(pszText);
  if (cchText > kMaxTextChars)
    return nullptr;
  const std::int32_t cbPlain = PlaintextLength(static_cast<std::int32_t>(cchText));

  m_pszNarrow = AllocZeroed<CHAR>(cbPlain);
  if (m_pszNarrow == nullptr)
    return nullptr;
  auto* pbCipher = static_cast<BYTE*>(LocalAlloc(LMEM_FIXED, cbPlain));
  if (pbCipher == nullptr)
    return nullptr;

  // A character the code page cannot carry would be encrypted as '?' and
  // decrypt to another password: refuse it rather than corrupt it.
  BOOL bUsedDefault = FALSE;
  WideCharToMultiByte(CP_ACP, 0, pszText, -1, m_pszNarrow, cbPlain, nullptr, &bUsedDefault);
  if (bUsedDefault) {
    LocalFreeWiped(pbCipher);
    return nullptr;
  }

  EncryptBuffer(reinterpret_cast<const BYTE*>(m_pszNarrow), pbCipher, cbPlain);
  LPSTR pszDigits = BytesToHex(pbCipher, static_cast<UINT>(cbPlain));
  LocalFreeWiped(pbCipher);
  if (pszDigits == nullptr)
    return nullptr;

  const std::int32_t cchResult = 2 * cbPlain;
  m_pszResult = AllocZeroed<WCHAR>(SIZE_T(cchResult) + 1);
  if (m_pszResult == nullptr) {
    LocalFreeWiped(pszDigits);
    return nullptr;
  }
  MultiByteToWideChar(CP_ACP, 0, pszDigits, -1, m_pszResult, cchResult + 1);
  LocalFreeWiped(pszDigits);
  if (pLength != nullptr)
    *pLength = cchResult;
  return m_pszResult;
}

LPWSTR CAesTextCipher::Decrypt(LPCWSTR pszText, std::uint32_t* pLength) {
  ReleaseBuffers();
  if (!HasKey() || pszText == nullptr)
    return nullptr;
  const SIZE_T cchText = TextLength(pszText);
  if (cchText > kMaxTextChars)
    return nullptr;
  // n counts the terminator too: an odd-length text's last digit becomes
  // the high nibble of a last byte whose low nibble is 0.
  const std::int32_t n = static_cast<std::int32_t>(cchText) + 1;

  m_pszNarrow = AllocZeroed<CHAR>(n);
  if (m_pszNarrow == nullptr)
    return nullptr;
  WideCharToMultiByte(CP_ACP, 0, pszText, -1, m_pszNarrow, n, nullptr, nullptr);

  m_pbDecoded = HexToBytes(m_pszNarrow, static_cast<UINT>(n));
  if (m_pbDecoded == nullptr)
    return nullptr;
  const std::int32_t cbDecoded = n / 2;

  // Longer than cbDecoded, so the plaintext read as a string always ends
  // inside it; it stays all zero unless cbDecoded is whole blocks.
  auto* pbPlain = AllocZeroed<BYTE>(n);
  if (pbPlain == nullptr)
    return nullptr;
  DecryptBuffer(m_pbDecoded, pbPlain, cbDecoded);

  m_pszResult = AllocZeroed<WCHAR>(cbDecoded > 0 ? cbDecoded : 1);
  if (m_pszResult == nullptr) {
    LocalFreeWiped(pbPlain);
    return nullptr;
  }
  // At most cbDecoded - 1 characters: the last one stays the terminator.
  if (cbDecoded > 1)
    MultiByteToWideChar(CP_ACP, 0, reinterpret_cast<LPCSTR>(pbPlain), -1, m_pszResult,
                        cbDecoded - 1);
  LocalFreeWiped(pbPlain);
  if (pLength != nullptr)
    *pLength = static_cast<std::uint32_t>(TextLength(m_pszResult));
  return m_pszResult;
}
