#include <stdio.h>
#include <velkast.h>

int main(void) {
  char text[64], password[32];
  size_t n;
  velkast_status s = velkast_encrypt("password", 8, text, sizeof text, &n);
  if (s == VELKAST_OK)
    s = velkast_decrypt(text, n, 0, password, sizeof password, &n);
  if (s != VELKAST_OK)
    return fprintf(stderr, "velkast: %s\n", velkast_status_message(s)), 1;
  return printf("%s %s\n", text, password) < 0;
}
