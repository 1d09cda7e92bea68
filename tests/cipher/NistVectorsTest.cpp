// The NIST AESAVS response files for ECB: known answers, multi-block
// messages and Monte Carlo chains, every key size, both directions.
#include <gtest/gtest.h>

#include <fstream>
#include <map>

#include "CipherTestSupport.h"

namespace {

// One record: the whole message through a buffer operation into a separate
// buffer or, in the Monte Carlo files, 1000 chained blocks in place.
void CheckRecord(std::map<std::string, std::string>& r, bool bEncrypt, bool bMonteCarlo) {
  const auto key = FromHex(r["KEY"]);
  const auto in = FromHex(r[bEncrypt ? "PLAINTEXT" : "CIPHERTEXT"]);
  CAesTextCipher aes(key.data(), static_cast<KeySize>(key.size() / 8 - 2));
  std::vector<BYTE> out = in;
  for (int j = 0; bMonteCarlo && j < 1000; ++j)
    bEncrypt ? aes.EncryptBlock(out.data(), out.data()) : aes.DecryptBlock(out.data(), out.data());
  const auto n = static_cast<std::int32_t>(in.size());
  const auto buffer = bEncrypt ? &CAesTextCipher::EncryptBuffer : &CAesTextCipher::DecryptBuffer;
  if (!bMonteCarlo) {
    ASSERT_EQ((aes.*buffer)(in.data(), out.data(), n), n);  // over a copy of the input
  }
  EXPECT_EQ(ToHex(out), r[bEncrypt ? "CIPHERTEXT" : "PLAINTEXT"]) << "key " << r["KEY"];
}

}  // namespace

// The files hold 2,738 records together: a reader that skipped some would
// otherwise pass silently.
TEST(NistVectors, EveryRecordOfEveryResponseFile) {
  int nRecords = 0;
  for (const std::string kind : {"GFSbox", "KeySbox", "VarKey", "VarTxt", "MMT", "MCT"}) {
    for (const char* bits : {"128", "192", "256"}) {
      const std::string name = "ECB" + kind + bits + ".rsp";
      std::ifstream in(VELKAST_TEST_DATA_DIR "/aes-ecb/" + name);
      ASSERT_TRUE(in) << name;
      SCOPED_TRACE(name);
      bool bEncrypt = true;
      std::map<std::string, std::string> record;
      for (std::string line; std::getline(in, line);) {
        line.erase(line.find_last_not_of("\r ") + 1);
        if (line == "[ENCRYPT]" || line == "[DECRYPT]")
          bEncrypt = line == "[ENCRYPT]";
        else if (const auto eq = line.find(" = "); eq != std::string::npos)
          record[line.substr(0, eq)] = line.substr(eq + 3);
        if (record.size() == 4) {  // COUNT, KEY and both texts
          CheckRecord(record, bEncrypt, kind == "MCT");
          record.clear();
          ++nRecords;
        }
      }
    }
  }
  EXPECT_EQ(nRecords, 2738);
}
