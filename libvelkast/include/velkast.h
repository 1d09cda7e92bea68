/* libvelkast: Velkast's encrypted texts for other programs.
 *
 * An encrypted text is what Velkast, the dialog, and velkast-cli make of a
 * password: its Windows-1252 form zero-filled to whole 16-byte blocks (at
 * least two zero bytes), AES-256 in electronic-codebook mode under a key
 * built into every copy of Velkast, written as lowercase hexadecimal digits.
 * Anyone who has Velkast can read every text: the texts keep passwords out
 * of casual sight, they do not protect them from anyone who wants them.
 *
 * Passwords are UTF-8. Texts are hexadecimal digits, either case in, lower
 * case out. Encrypting and (strictly) decrypting refuse exactly what
 * velkast-cli refuses, with the status named below; velkast_status_message
 * gives velkast-cli's words for it.
 *
 * Results go into the caller's buffer: the result and a terminating NUL
 * when it fits (size greater than the result's length), else
 * VELKAST_E_SPACE and nothing written. Either way *..._length receives the
 * result's length without the NUL, so a call with a NULL buffer and size 0
 * asks for the size. On any other status nothing is written and
 * *..._length is 0. The input is read whole before the result is written,
 * so input and result may share a buffer.
 *
 * The library keeps no state between calls: every function may be called
 * from many threads at once. Every buffer it allocates for a password or
 * its plaintext is wiped before it is freed; the caller's own buffers are
 * the caller's to wipe. No C++ exception leaves a call.
 *
 * C99, and usable from C++. Link with -lvelkast (pkg-config velkast; CMake
 * find_package(Velkast) and Velkast::velkast; on Windows velkast.dll with
 * its import library). See velkast(3).
 */
#ifndef VELKAST_H
#define VELKAST_H

#include <stddef.h>

#if defined(__GNUC__) && !defined(_WIN32)
#define VELKAST_API __attribute__((visibility("default")))
#else
#define VELKAST_API
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef enum velkast_status {
  VELKAST_OK = 0,
  /* The result does not fit in the buffer given: nothing was written;
   * the length received says how long it is. */
  VELKAST_E_SPACE,
  /* A NULL input with a length, a NULL result buffer with a size, a NULL
   * length pointer, an unknown flag, or an input longer than the limit:
   * 1,048,576 bytes of password, 2,097,184 of text (the text of the
   * longest password), as velkast-cli reads them. */
  VELKAST_E_ARGUMENT,
  /* The password is not valid UTF-8 (overlong forms, surrogates, values
   * above U+10FFFF and cut sequences included). */
  VELKAST_E_UTF8,
  /* The password holds a character outside code page 1252, which would
   * turn into another one in the text. */
  VELKAST_E_CODE_PAGE,
  /* The password holds a control character: U+0000 to U+001F but TAB, and
   * U+007F to U+009F. NUL would end it early; the rest act on a terminal
   * instead of showing. A strict decrypt refuses a text whose password
   * holds one; VELKAST_LENIENT returns it. */
  VELKAST_E_CONTROL,
  /* Strict decrypt: the text is not one Velkast makes (not whole 32-digit
   * blocks of hexadecimal digits, damaged, or made with another key). */
  VELKAST_E_NOT_A_TEXT,
  VELKAST_E_MEMORY
} velkast_status;

/* velkast_decrypt's flag for the dialog's decrypt: any text gives what
 * Velkast's dialog shows for it, whatever its password holds. The text is
 * read up to a NUL, its bytes as UTF-8 (each invalid sequence as U+FFFD), a
 * character that is not a digit as the digit 0; one that is not whole
 * blocks gives the empty password, a damaged one whatever its blocks
 * decrypt to. Only a lack of memory, of space or of arguments fails it. */
#define VELKAST_LENIENT 1u

/* The encrypted text of a password of password_length bytes of UTF-8
 * (password may be NULL when the length is 0): 32 lowercase digits for
 * every 16 bytes of its zero-filled Windows-1252 form. The first fault in
 * reading order decides the status. */
VELKAST_API velkast_status velkast_encrypt(const char *password, size_t password_length, char *text,
                                           size_t text_size, size_t *text_length);

/* The password (UTF-8) held by an encrypted text of text_length bytes.
 * flags 0: strict, as velkast-cli decrypt: only a text that encrypts back
 * to itself digit for digit is read, and its password must hold no control
 * character. flags VELKAST_LENIENT: as the dialog. */
VELKAST_API velkast_status velkast_decrypt(const char *text, size_t text_length, unsigned flags,
                                           char *password, size_t password_size,
                                           size_t *password_length);

/* One line of English for a status, velkast-cli's words for the fault
 * (velkast-cli adds where it is): "not valid UTF-8", "out of memory", ...
 * Static; never NULL, also for a value that is no status. */
VELKAST_API const char *velkast_status_message(velkast_status status);

/* The library's version, "1.0.0.1": Velkast's own. Static. */
VELKAST_API const char *velkast_version(void);

#ifdef __cplusplus
}
#endif

#endif /* VELKAST_H */
