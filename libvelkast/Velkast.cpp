// The C API: the engine's text cipher with the rules velkast-cli applies.
// Each call has a cipher and strings of its own on its stack, wiped when it
// returns, so calls on many threads at once share nothing that changes.
#include <algorithm>
#include <cstdint>
#include <string_view>

#include "cipher/AesTextCipher.h"
#include "cipher/BuiltinKey.h"
#include "libvelkast/Decryption.h"
#include "libvelkast/PasswordRules.h"
#include "libvelkast/TextLimits.h"
#include "libvelkast/Utf8Codec.h"
#include "velkast.h"

namespace {

// The cipher of one call; its destructor wipes its buffers, key schedule
// and state.
class CCallCipher : public CAesTextCipher {
 public:
  CCallCipher() : CAesTextCipher(g_szBuiltinPassPhrase, g_nBuiltinKeySize) {}
};

// Hands over a result of cb bytes, written by write, when it fits with its
// NUL.
template <typename Write>
velkast_status Deliver(std::size_t cb, char* pOut, std::size_t cbOut, std::size_t* pcbResult,
                       Write write) {
  *pcbResult = cb;
  if (cbOut <= cb)
    return VELKAST_E_SPACE;
  write(pOut);
  pOut[cb] = '\0';
  return VELKAST_OK;
}

velkast_status DeliverUtf8(WStringView password, char* pOut, std::size_t cbOut,
                           std::size_t* pcbResult) {
  return Deliver(Utf8Length(password), pOut, cbOut, pcbResult,
                 [password](char* p) { EncodeUtf8(password, p); });
}

velkast_status Encrypt(std::string_view password, char* pText, std::size_t cbText,
                       std::size_t* pcchText) {
  if (password.size() > kMaxPasswordBytes)
    return VELKAST_E_ARGUMENT;
  CWipedWString wide;
  if (const CPasswordFault fault = CheckPassword(password, wide); fault.nStatus != VELKAST_OK)
    return fault.nStatus;
  CCallCipher cipher;
  std::int32_t cch = 0;
  const LPCWSTR pszText = cipher.Encrypt(wide.c_str(), &cch);
  if (pszText == nullptr)
    return VELKAST_E_MEMORY;
  return Deliver(static_cast<std::size_t>(cch), pText, cbText, pcchText, [&](char* p) {
    std::transform(pszText, pszText + cch, p, [](WCHAR ch) { return static_cast<char>(ch); });
  });
}

velkast_status Decrypt(std::string_view text, bool bLenient, char* pPassword,
                       std::size_t cbPassword, std::size_t* pcbPassword) {
  if (text.size() > kMaxTextBytes)
    return VELKAST_E_ARGUMENT;
  CCallCipher cipher;
  CWipedWString wide, password;
  if (bLenient) {
    WStringView result;
    const velkast_status nStatus = DecryptLenient(cipher, text, wide, &result);
    return nStatus != VELKAST_OK ? nStatus
                                 : DeliverUtf8(result, pPassword, cbPassword, pcbPassword);
  }
  const CPasswordFault fault = DecryptStrict(cipher, text, wide, password);
  return fault.nStatus != VELKAST_OK ? fault.nStatus
                                     : DeliverUtf8(password, pPassword, cbPassword, pcbPassword);
}

// Runs call after the checks both functions share (bFlagsKnown: the call's
// own), so that no exception leaves and *pcbResult is 0 unless the call
// hands over or measures a result.
template <typename Call>
velkast_status Guarded(const char* pIn, std::size_t cbIn, const char* pOut, std::size_t cbOut,
                       std::size_t* pcbResult, bool bFlagsKnown, Call call) {
  if (pcbResult == nullptr)
    return VELKAST_E_ARGUMENT;
  *pcbResult = 0;
  if ((pIn == nullptr && cbIn != 0) || (pOut == nullptr && cbOut != 0) || !bFlagsKnown)
    return VELKAST_E_ARGUMENT;
  velkast_status nStatus = VELKAST_E_MEMORY;
  try {
    nStatus = call(std::string_view(pIn == nullptr ? "" : pIn, cbIn));
  } catch (...) {  // std::bad_alloc from a string of the call
  }
  if (nStatus != VELKAST_OK && nStatus != VELKAST_E_SPACE)
    *pcbResult = 0;
  return nStatus;
}

}  // namespace

extern "C" {

velkast_status velkast_encrypt(const char* password, size_t password_length, char* text,
                               size_t text_size, size_t* text_length) {
  return Guarded(password, password_length, text, text_size, text_length, true,
                 [=](std::string_view in) { return Encrypt(in, text, text_size, text_length); });
}

velkast_status velkast_decrypt(const char* text, size_t text_length, unsigned flags, char* password,
                               size_t password_size, size_t* password_length) {
  const bool bLenient = flags == VELKAST_LENIENT;
  return Guarded(text, text_length, password, password_size, password_length,
                 (flags & ~VELKAST_LENIENT) == 0, [=](std::string_view in) {
                   return Decrypt(in, bLenient, password, password_size, password_length);
                 });
}

const char* velkast_version(void) { return VELKAST_VERSION_TEXT; }

}  // extern "C"
