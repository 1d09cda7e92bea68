#include "libvelkast/Utf8Codec.h"

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsContinuation(unsigned char b) { return (b & 0xC0) == 0x80; }

// The well-formed UTF-8 sequences by their lead byte, as Unicode's table of
// them lists them: the length, and the range the second byte must be in
// (narrower after E0, ED, F0 and F4, which would otherwise start overlong
// forms, surrogates or values above U+10FFFF).
struct LeadByte {
  unsigned char first, last;
  int len;
  unsigned char lo, hi;
};
// clang-format off
constexpr LeadByte kLeadBytes[] = {
    // lead       len  second byte
    {0xC2, 0xDF,  2,   0x80, 0xBF},
    {0xE0, 0xE0,  3,   0xA0, 0xBF},
    {0xE1, 0xEC,  3,   0x80, 0xBF},
    {0xED, 0xED,  3,   0x80, 0x9F},
    {0xEE, 0xEF,  3,   0x80, 0xBF},
    {0xF0, 0xF0,  4,   0x90, 0xBF},
    {0xF1, 0xF3,  4,   0x80, 0xBF},
    {0xF4, 0xF4,  4,   0x80, 0x8F},
};
// clang-format on

// Decodes the sequence at the start of in (not empty, first byte >= 0x80).
// Returns its length and sets *pCp, or returns minus the length of the
// maximal invalid subpart (at least 1) to skip.
int DecodeSequence(std::string_view in, char32_t* pCp) {
  const auto b0 = static_cast<unsigned char>(in[0]);
  const LeadByte* pLead = nullptr;
  for (const LeadByte& lead : kLeadBytes)
    if (b0 >= lead.first && b0 <= lead.last)
      pLead = &lead;
  if (pLead == nullptr)
    return -1;
  const int len = pLead->len;
  char32_t cp = b0 & (0xFF >> (len + 1));  // the lead byte's payload bits
  for (int k = 1; k < len; ++k) {
    if (static_cast<std::size_t>(k) >= in.size())
      return -k;
    const auto b = static_cast<unsigned char>(in[k]);
    const bool ok = k == 1 ? (b >= pLead->lo && b <= pLead->hi) : IsContinuation(b);
    if (!ok)
      return -k;
    cp = (cp << 6) | (b & 0x3F);
  }
  *pCp = cp;
  return len;
}

void AppendCodePoint(char32_t cp, WString& out) {
  if (cp < 0x10000) {
    out.push_back(static_cast<WCHAR>(cp));
  } else {
    cp -= 0x10000;
    out.push_back(static_cast<WCHAR>(0xD800 + (cp >> 10)));
    out.push_back(static_cast<WCHAR>(0xDC00 + (cp & 0x3FF)));
  }
}

template <bool kStrict>
bool Decode(std::string_view in, WString& out, std::size_t* pErrorOffset) {
  // Never more code units than bytes: one allocation at most, so no
  // reallocation leaves a copy of the text behind.
  out.clear();
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    const auto b = static_cast<unsigned char>(in[i]);
    if (b < 0x80) {
      out.push_back(b);
      ++i;
      continue;
    }
    char32_t cp = 0;
    const int n = DecodeSequence(in.substr(i), &cp);
    if (n < 0) {
      if constexpr (kStrict) {
        *pErrorOffset = i;
        return false;
      }
      cp = kReplacement;
    }
    AppendCodePoint(cp, out);
    i += static_cast<std::size_t>(n < 0 ? -n : n);
  }
  return true;
}

}  // namespace

bool DecodeUtf8Strict(std::string_view in, WString& out, std::size_t* pErrorOffset) {
  return Decode<true>(in, out, pErrorOffset);
}

void DecodeUtf8Lenient(std::string_view in, WString& out) { Decode<false>(in, out, nullptr); }

std::string_view WithoutCutSequence(std::string_view in) {
  // The lead byte among the last three, if the sequence it starts is valid
  // as far as it goes and goes past the end.
  for (std::size_t back = 1; back <= 3 && back <= in.size(); ++back) {
    const auto lead = static_cast<unsigned char>(in[in.size() - back]);
    if (IsContinuation(lead))
      continue;
    char32_t cp = 0;
    const bool bCut = lead >= 0xC2 && lead <= 0xF4 &&  // a byte that can lead at all
                      DecodeSequence(in.substr(in.size() - back), &cp) == -static_cast<int>(back);
    return bCut ? in.substr(0, in.size() - back) : in;
  }
  return in;
}

char32_t CodePointAt(WStringView in, std::size_t i, std::size_t* pUnits) {
  const WCHAR u = in[i];
  *pUnits = 1;
  if (u >= 0xD800 && u <= 0xDBFF && i + 1 < in.size()) {
    const WCHAR v = in[i + 1];
    if (v >= 0xDC00 && v <= 0xDFFF) {
      *pUnits = 2;
      return 0x10000 + ((char32_t(u) - 0xD800) << 10) + (char32_t(v) - 0xDC00);
    }
  }
  return u;
}

namespace {

// Calls put with each byte of the UTF-8 form of in.
template <typename Put>
void ForEachUtf8Byte(WStringView in, Put put) {
  for (std::size_t i = 0; i < in.size();) {
    std::size_t units = 1;
    char32_t cp = CodePointAt(in, i, &units);
    i += units;
    if (cp >= 0xD800 && cp <= 0xDFFF)
      cp = kReplacement;
    if (cp < 0x80) {
      put(cp);
    } else if (cp < 0x800) {
      put(0xC0 | (cp >> 6));
      put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      put(0xE0 | (cp >> 12));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    } else {
      put(0xF0 | (cp >> 18));
      put(0x80 | ((cp >> 12) & 0x3F));
      put(0x80 | ((cp >> 6) & 0x3F));
      put(0x80 | (cp & 0x3F));
    }
  }
}

}  // namespace

std::size_t Utf8Length(WStringView in) {
  std::size_t cb = 0;
  ForEachUtf8Byte(in, [&cb](char32_t) { ++cb; });
  return cb;
}

char* EncodeUtf8(WStringView in, char* out) {
  ForEachUtf8Byte(in, [&out](char32_t b) { *out++ = static_cast<char>(b); });
  return out;
}

void AppendUtf8(WStringView in, std::string& out) {
  const std::size_t cbOld = out.size();
  out.resize(cbOld + Utf8Length(in));
  EncodeUtf8(in, out.data() + cbOld);
}
