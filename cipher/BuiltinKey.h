// The program's built-in key: every encrypted text of the program is made
// with this pass phrase and key size. Anyone holding the program holds the
// key, so the texts keep passwords out of casual sight and nothing more.
#pragma once

#include "cipher/KeySize.h"

inline constexpr char g_szBuiltinPassPhrase[] = "QuentaloVirmesHasterdo";
inline constexpr KeySize g_nBuiltinKeySize = KeySize256;
