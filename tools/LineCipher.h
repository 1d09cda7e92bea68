// The engine's text cipher as the tool uses it: one serves a whole stream,
// and it forgets each line as soon as the line is answered.
#pragma once

#include "cipher/AesTextCipher.h"
#include "platform/core/LocalMemory.h"

class CLineCipher : public CAesTextCipher {
 public:
  using CAesTextCipher::CAesTextCipher;

  // Wipes and releases the buffers of the last operation (the password, its
  // 8-bit form, the string returned, which is then gone) and wipes the state
  // of its last block. The next operation would do so only when it starts.
  void WipeLastOperation() {
    ReleaseBuffers();
    SecureZeroMemory(m_abState, sizeof m_abState);
  }
};
