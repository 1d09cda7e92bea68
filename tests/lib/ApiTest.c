// The C API from C, as a program linked with libvelkast.so.1 or velkast.dll
// uses it: every status, the size query, a buffer one byte short, the
// input's buffer as the result's, NULL arguments, the lenient flag, the
// limits, and many threads at once. The texts were made with OpenSSL
// (aes-256-ecb, no padding, key "QuentaloVirmesHasterdo" zero-filled to 32
// bytes) from the passwords' Windows-1252 bytes, zero-filled to whole
// blocks, or from the plaintext named.
#include <pthread.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <velkast.h>

static int g_failures;
#define CHECK(condition, ...)                                                      \
  ((condition) ? (void)0                                                           \
               : (void)(++g_failures, fprintf(stderr, "FAIL line %d: ", __LINE__), \
                        fprintf(stderr, __VA_ARGS__), fputc('\n', stderr)))
// A call with a length variable of its own, len, and what it must give.
#define EXPECT(call, status, length)                                            \
  do {                                                                          \
    size_t len = 99;                                                            \
    velkast_status got = (call);                                                \
    CHECK(got == (status) && len == (length), "%s: %d, length %lu", #call, got, \
          (unsigned long)len);                                                  \
  } while (0)
#define S(literal) literal, sizeof literal - 1

typedef struct {
  const char* in;
  size_t n;
  unsigned flags;
  velkast_status status;
  const char* out;
} Case;

// One case a status, and the lenient flag; tests/lib/test_velkast.py has
// the rest (characters beyond ASCII, texts of more blocks), through the
// same library.
static const Case kEncrypt[] = {
    {S(""), 0, VELKAST_OK, "cf118df792bfaa9cfbd8e0d83cf2a039"},
    {S("password"), 0, VELKAST_OK, "53877449c8ce5745eefc1ef26d760efa"},
    {S("\xc4\x80"), 0, VELKAST_E_CODE_PAGE, ""},  // U+0100
    {S("a\x1b[2J"), 0, VELKAST_E_CONTROL, ""},
    {S("ab\xff"), 0, VELKAST_E_UTF8, ""},
};

static const Case kDecrypt[] = {
    {S("53877449C8CE5745EEFC1EF26D760EFA"), 0, VELKAST_OK, "password"},
    // Plaintext "abc", NUL, "xyz": bytes after the password.
    {S("5806906526d67e576df16771250235c3"), 0, VELKAST_E_NOT_A_TEXT, ""},
    {S("5806906526d67e576df16771250235c3"), VELKAST_LENIENT, VELKAST_OK, "abc"},
    // "password" and 24 zero bytes: a block more than its text has.
    {S("53877449c8ce5745eefc1ef26d760efacf118df792bfaa9cfbd8e0d83cf2a039"), 0, VELKAST_E_NOT_A_TEXT,
     ""},
    // Plaintext "a", ESC, "[2J".
    {S("9dd2199ccf95b7d22e84a9294cdffc3c"), 0, VELKAST_E_CONTROL, ""},
    {S("9dd2199ccf95b7d22e84a9294cdffc3c"), VELKAST_LENIENT, VELKAST_OK, "a\x1b[2J"},
    {S("0123456789abcdef"), 0, VELKAST_E_NOT_A_TEXT, ""},
    {S("0123456789abcdef"), VELKAST_LENIENT, VELKAST_OK, ""},
    {S("53877449c8ce5745eefc1ef26d760efa"), 2, VELKAST_E_ARGUMENT, ""},
};

static velkast_status Call(int bEncrypt, const char* in, size_t n, unsigned flags, char* out,
                           size_t size, size_t* len) {
  return bEncrypt ? velkast_encrypt(in, n, out, size, len)
                  : velkast_decrypt(in, n, flags, out, size, len);
}

// One case with no buffer, one a byte short and one just long enough: the
// length, the status, and the buffer written only in full; then the
// input's own buffer as the result's.
static void CheckCase(int bEncrypt, const Case* c) {
  const int ok = c->status == VELKAST_OK;
  const size_t want = strlen(c->out), sizes[3] = {0, want, want + 1};
  char buf[128];
  size_t len;
  for (size_t k = 0; k < 3; ++k) {
    memset(buf, '#', sizeof buf);
    velkast_status got = Call(bEncrypt, c->in, c->n, c->flags, k ? buf : NULL, sizes[k], &len);
    CHECK(got == (ok && k < 2 ? VELKAST_E_SPACE : c->status) && len == (ok ? want : 0) &&
              (ok && k == 2 ? memcmp(buf, c->out, want + 1) == 0 && buf[want + 1] == '#'
                            : buf[0] == '#'),
          "%s \"%s\", size %lu: %d, length %lu, \"%.40s\"", bEncrypt ? "encrypt" : "decrypt", c->in,
          (unsigned long)sizes[k], got, (unsigned long)len, buf);
  }
  memcpy(buf, c->in, c->n);
  CHECK(!ok || (Call(bEncrypt, buf, c->n, c->flags, buf, sizeof buf, &len) == VELKAST_OK &&
                strcmp(buf, c->out) == 0),
        "\"%s\" in place: \"%s\"", c->in, buf);
}

static void CheckArgumentsAndLimits(void) {
  const size_t kPassword = 1048576, kText = 2097184;
  char buf[8], *big = malloc(kText + 64), *text = malloc(kText + 64);
  const char* pw = "53877449c8ce5745eefc1ef26d760efa";
  EXPECT(velkast_encrypt(NULL, 1, buf, 8, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_encrypt("a", 1, NULL, 8, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_encrypt("a", 1, buf, 8, NULL), VELKAST_E_ARGUMENT, 99);
  EXPECT(velkast_encrypt(NULL, 0, NULL, 0, &len), VELKAST_E_SPACE, 32);
  EXPECT(velkast_decrypt(NULL, 32, 0, buf, 8, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_decrypt(pw, 32, 0, NULL, 8, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_decrypt(pw, 32, 0, buf, 8, NULL), VELKAST_E_ARGUMENT, 99);
  EXPECT(velkast_decrypt(NULL, 0, 0, NULL, 0, &len), VELKAST_E_NOT_A_TEXT, 0);
  EXPECT(velkast_decrypt(NULL, 0, VELKAST_LENIENT, NULL, 0, &len), VELKAST_E_SPACE, 0);

  // The longest password and its text; one byte more is refused.
  memset(big, 'x', kText + 64);
  EXPECT(velkast_encrypt(big, kPassword + 1, NULL, 0, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_encrypt(big, kPassword, text, kText + 1, &len), VELKAST_OK, kText);
  EXPECT(velkast_decrypt(text, kText, 0, big, kPassword + 1, &len), VELKAST_OK, kPassword);
  CHECK(big[0] == 'x' && big[kPassword - 1] == 'x' && big[kPassword] == '\0', "longest password");
  memset(text + kText, '0', 32);
  EXPECT(velkast_decrypt(text, kText + 32, 0, NULL, 0, &len), VELKAST_E_ARGUMENT, 0);
  EXPECT(velkast_decrypt(text, kText + 32, VELKAST_LENIENT, NULL, 0, &len), VELKAST_E_ARGUMENT, 0);
  free(big);
  free(text);
}

// Every thread encrypts and decrypts the known passwords, each in its own
// order, and counts the wrong answers.
static void* Worker(void* arg) {
  size_t k = (size_t)arg, wrong = 0, len;
  for (size_t i = 0; i < 300; ++i) {
    const Case* c = &kEncrypt[(k + i) % 2];
    char text[80], password[32];
    wrong += velkast_encrypt(c->in, c->n, text, sizeof text, &len) != VELKAST_OK ||
             strcmp(text, c->out) != 0 ||
             velkast_decrypt(text, len, (unsigned)(i & 1), password, sizeof password, &len) !=
                 VELKAST_OK ||
             len != c->n || memcmp(password, c->in, len) != 0;
  }
  return (void*)wrong;
}

int main(void) {
  enum { kThreads = 8 };
  pthread_t threads[kThreads];
  for (size_t i = 0; i < sizeof kEncrypt / sizeof *kEncrypt; ++i)
    CheckCase(1, &kEncrypt[i]);
  for (size_t i = 0; i < sizeof kDecrypt / sizeof *kDecrypt; ++i)
    CheckCase(0, &kDecrypt[i]);
  CheckArgumentsAndLimits();
  CHECK(strcmp(velkast_status_message(VELKAST_E_UTF8), "not valid UTF-8") == 0 &&
            strcmp(velkast_version(), "1.0.0.1") == 0,
        "message and version");
  for (size_t i = 0; i < kThreads; ++i)
    CHECK(pthread_create(&threads[i], NULL, Worker, (void*)i) == 0, "thread %lu", (unsigned long)i);
  for (size_t i = 0; i < kThreads; ++i) {
    void* wrong = NULL;
    pthread_join(threads[i], &wrong);
    CHECK(wrong == NULL, "thread %lu: %lu wrong answers", (unsigned long)i,
          (unsigned long)(size_t)wrong);
  }
  printf("libvelkast %s: %d failures\n", velkast_version(), g_failures);
  return g_failures != 0;
}
