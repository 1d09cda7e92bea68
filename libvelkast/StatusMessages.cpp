// The words for each status: velkast-cli's, which it puts its positions
// around ("line 3: character 5, U+0100, is outside code page 1252: ...").
#include <iterator>

#include "velkast.h"

namespace {

constexpr const char* kMessages[] = {
    "success",
    "the result does not fit in the buffer given",
    ("invalid argument: a NULL pointer, an unknown flag, or more than 1048576 bytes of password "
     "or 2097184 of text"),
    "not valid UTF-8",
    "outside code page 1252: an encrypted text cannot carry it",
    "a control character, which a terminal acts on instead of showing",
    "not a Velkast encrypted text (damaged, or made with another key)",
    "out of memory",
};
static_assert(std::size(kMessages) == VELKAST_E_MEMORY + 1);

}  // namespace

extern "C" const char* velkast_status_message(velkast_status status) {
  const auto n = static_cast<unsigned>(status);
  return n < std::size(kMessages) ? kMessages[n] : "unknown status";
}
