#include "tools/InputEncoding.h"

namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::string_view kUtf16LEMark = "\xFF\xFE";
constexpr std::string_view kUtf16BEMark = "\xFE\xFF";

// Whether first, cut short by the end of what has come, is the start of mark.
bool Begins(std::string_view first, std::string_view mark) {
  return mark.substr(0, first.size()) == first.substr(0, mark.size());
}

}  // namespace

InputEncoding SniffInputEncoding(std::string_view first, bool bComplete) {
  for (const auto& [mark, encoding] : {std::pair{kUtf8Mark, InputEncoding::Utf8WithMark},
                                       std::pair{kUtf16LEMark, InputEncoding::Utf16LE},
                                       std::pair{kUtf16BEMark, InputEncoding::Utf16BE}}) {
    if (first.starts_with(mark))
      return encoding;
    if (!bComplete && Begins(first, mark))
      return InputEncoding::Undecided;
  }
  if (!first.empty() && first[0] == '\n')
    return InputEncoding::Utf8;
  if (first.size() < 2)
    return bComplete ? InputEncoding::Utf8 : InputEncoding::Undecided;
  if (first[0] != '\0' && first[1] == '\0')
    return InputEncoding::Utf16LE;
  if (first[0] == '\0' && first[1] != '\0')
    return InputEncoding::Utf16BE;
  return InputEncoding::Utf8;
}

std::string_view EncodingName(InputEncoding encoding) {
  switch (encoding) {
    case InputEncoding::Utf16LE: return "UTF-16LE";
    case InputEncoding::Utf16BE: return "UTF-16BE";
    default: return "UTF-8";
  }
}
