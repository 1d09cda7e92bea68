"""The Python module velkast as a script uses it: known texts, velkast-cli's
refusals in velkast-cli's words, the lenient decrypt, random passwords with
velkast-cli and OpenSSL as oracles, and many threads at once.

CTest runs it with PYTHONPATH naming the module as built and VELKAST_CLI the
velkast-cli of the same tree.
"""
import concurrent.futures
import os
import random
import re
import subprocess
import typing
import unittest

import velkast

CLI = os.environ["VELKAST_CLI"]
KEY = (b"QuentaloVirmesHasterdo" + bytes(10)).hex()
# Code page 1252's printable characters (Python's codec has no 0x81, 0x8D,
# 0x8F, 0x90, 0x9D: control characters, refused anyway).
PRINTABLE = [chr(c) for c in range(0x20, 0x7F)] + [
    bytes([b]).decode("cp1252") for b in range(0x80, 0x100)
    if b not in (0x81, 0x8D, 0x8F, 0x90, 0x9D)]


def run(args, data):
    return subprocess.run(args, input=data, capture_output=True, timeout=30)


def openssl_text(password):
    plain = password.encode("cp1252")
    plain += bytes((len(plain) + 17) // 16 * 16 - len(plain))
    return run(["openssl", "enc", "-aes-256-ecb", "-nopad", "-K", KEY], plain).stdout.hex()


class Velkast(unittest.TestCase):
    def test_known_texts_either_case_and_leniently(self):
        # Texts made with OpenSSL from the passwords' Windows-1252 bytes.
        for password, text in [
                ("password", "53877449c8ce5745eefc1ef26d760efa"),
                ("", "cf118df792bfaa9cfbd8e0d83cf2a039"),
                ("café", "917e855b63de70a370a257aec2e7b176"),
                ("€", "a6f16037b297b0faf463a7a9c6e622bd"),
                ("€ 5\tÿ", "e117d02a9cf2a0924854ff45a196a8b3"),
                ("abcdefghijklmno",
                 "6330d7084470b1501228333d8c4cac73cf118df792bfaa9cfbd8e0d83cf2a039")]:
            self.assertEqual(velkast.encrypt(password), text)
            self.assertEqual(velkast.decrypt(text.upper()), password)
            self.assertEqual(velkast.decrypt(text, lenient=True), password)

    def test_refusals_in_velkast_clis_words(self):
        utf8, code_page, control, not_a_text = (
            "not valid UTF-8", "outside code page 1252: an encrypted text cannot carry it",
            "a control character, which a terminal acts on instead of showing",
            "not a Velkast encrypted text (damaged, or made with another key)")
        cases = [  # command, input (bytes, as velkast-cli reads it), status, message
            ("encrypt", "Ā".encode(), 4, code_page),
            ("encrypt", "😀".encode(), 4, code_page),
            ("encrypt", b"\xc2\x85", 4, code_page),  # U+0085: code page 1252 has none
            ("encrypt", b"\xc2\x81", 5, control),  # U+0081: code page 1252 has it
            ("encrypt", b"a\x1b[2J", 5, control),
            ("encrypt", b"tail\r\r", 5, control),  # velkast-cli drops one before "\n"
            ("encrypt", b"\x7f", 5, control),
            ("encrypt", b"ab\xff", 3, utf8),
            ("encrypt", b"\xc0\xaf", 3, utf8),  # overlong
            ("encrypt", b"\xed\xa0\x80", 3, utf8),  # a surrogate
            ("encrypt", b"\xf4\x90\x80\x80", 3, utf8),  # above U+10FFFF
            ("encrypt", b"\xe2\x82", 3, utf8),  # cut short
            # The first fault in reading order decides.
            ("encrypt", b"\xc4\x80\xff", 4, code_page),
            ("encrypt", b"\xff\xc4\x80", 3, utf8),
            ("encrypt", b"\x1b\xc4\x80", 5, control),
            ("decrypt", b"0123456789abcdef", 6, not_a_text),
            ("decrypt", b"g3877449c8ce5745eefc1ef26d760efa", 6, not_a_text),
            # Plaintext "abc", NUL, "xyz"; "password" under the all-zero key;
            # "0123456789abcdef" with no NUL after it.
            ("decrypt", b"5806906526d67e576df16771250235c3", 6, not_a_text),
            ("decrypt", b"3d1c05815bf628848a200a7b20d9f303", 6, not_a_text),
            ("decrypt", b"d0ad242aa39dc3bd385f852d321f519c", 6, not_a_text),
            # Plaintext "a", ESC, "[2J"; the byte 0x81.
            ("decrypt", b"9dd2199ccf95b7d22e84a9294cdffc3c", 5, control),
            ("decrypt", b"4cecc4a8518270cb50813ebe5175b512", 5, control),
        ]
        for command, data, status, message in cases:
            # Bytes that are not UTF-8 reach the library as bytes that are
            # not UTF-8 either (lone surrogates).
            with self.subTest(data=data), self.assertRaises(velkast.Error) as caught:
                getattr(velkast, command)(data.decode("utf-8", "surrogateescape"))
            self.assertEqual((caught.exception.status, str(caught.exception)), (status, message))
            self.assertIn(message, run([CLI, command], data + b"\n").stderr.decode())
        self.assertEqual([str(velkast.Error(s)) for s in (0, 1, 2, 7, 8)], [
            "success", "the result does not fit in the buffer given",
            "invalid argument: a NULL pointer, an unknown flag, or more than 1048576 bytes of "
            "password or 2097184 of text", "out of memory", "unknown status"])
        # velkast-cli names these more closely: a NUL, a blank after a text.
        for function, data, message in [(velkast.encrypt, "x\0y", control),
                                         (velkast.decrypt, "cf118df792bfaa9cfbd8e0d83cf2a039 ",
                                          not_a_text)]:
            with self.assertRaisesRegex(velkast.Error, f"^{re.escape(message)}$"):
                function(data)
        self.assertTrue(issubclass(velkast.Error, ValueError))
        with self.assertRaisesRegex(velkast.Error, "^invalid argument"):
            velkast.encrypt("x" * (1 << 20 | 1))

    def test_lenient_reads_what_strict_refuses(self):
        for text, password in [("5806906526d67e576df16771250235c3", "abc"),
                               ("9dd2199ccf95b7d22e84a9294cdffc3c", "a\x1b[2J"),
                               ("4cecc4a8518270cb50813ebe5175b512", "\x81"),
                               ("d0ad242aa39dc3bd385f852d321f519c", "0123456789abcde"),
                               ("53877449c8ce5745eefc1ef26d760efa\0tail", "password"),
                               ("0123456789abcdef", ""), ("", ""), ("\udcff", "")]:
            self.assertEqual(velkast.decrypt(text, lenient=True), password)

    def test_random_passwords_against_velkast_cli_and_openssl(self):
        rng = random.Random(5)
        passwords = ["".join(rng.choice(PRINTABLE) for _ in range(rng.randrange(40)))
                     for _ in range(300)]
        texts = [velkast.encrypt(p) for p in passwords]
        made = run([CLI, "encrypt"], "".join(p + "\n" for p in passwords).encode()).stdout
        self.assertEqual(made.decode().split("\n")[:-1], texts)
        for password, text in list(zip(passwords, texts))[:40]:
            self.assertEqual(openssl_text(password), text)
        self.assertEqual([velkast.decrypt(t) for t in texts], passwords)
        # Leniently, any text gives a password, and never an error.
        for junk in ["", "g", "é" * 33, "\ud800" * 32, "0" * 31, "f" * 64, "\0" + texts[0]]:
            self.assertIsInstance(velkast.decrypt(junk, lenient=True), str)

    def test_many_threads_at_once(self):
        passwords = [f"password {i}" for i in range(2000)]
        with concurrent.futures.ThreadPoolExecutor(8) as pool:
            texts = list(pool.map(velkast.encrypt, passwords))
            back = list(pool.map(velkast.decrypt, texts))
        self.assertEqual(texts, [velkast.encrypt(p) for p in passwords])
        self.assertEqual(back, passwords)

    def test_version_and_type_hints(self):
        self.assertEqual(velkast.__version__, "1.0.0.1")
        self.assertEqual(typing.get_type_hints(velkast.encrypt), {"password": str, "return": str})
        self.assertEqual(typing.get_type_hints(velkast.decrypt),
                         {"text": str, "lenient": bool, "return": str})
        self.assertTrue(os.path.isfile(os.path.join(os.path.dirname(velkast.__file__), "py.typed")))


if __name__ == "__main__":
    unittest.main()
