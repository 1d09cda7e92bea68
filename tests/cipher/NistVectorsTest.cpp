// The NIST AESAVS known-answer, multi-block and Monte Carlo response files
// for ECB, every key size, both directions.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <map>

#include "CipherTestSupport.h"

namespace {

struct Record {
  bool bEncrypt = true;
  std::map<std::string, std::string> fields;  // KEY, PLAINTEXT, CIPHERTEXT
  const std::string& operator[](const char* name) const { return fields.at(name); }
};

std::string Trim(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
    s.pop_back();
  return s;
}

std::vector<Record> ReadResponseFile(const std::string& name) {
  std::ifstream in(std::string(VELKAST_TEST_DATA_DIR) + "/aes-ecb/" + name);
  EXPECT_TRUE(in) << name;
  std::vector<Record> records;
  bool bEncrypt = true;
  for (std::string line; std::getline(in, line);) {
    line = Trim(line);
    if (line == "[ENCRYPT]" || line == "[DECRYPT]") {
      bEncrypt = line == "[ENCRYPT]";
    } else if (line.rfind("COUNT = ", 0) == 0) {
      records.push_back(Record{bEncrypt, {}});
    } else if (const auto eq = line.find(" = "); eq != std::string::npos && !records.empty()) {
      records.back().fields[line.substr(0, eq)] = line.substr(eq + 3);
    }
  }
  return records;
}

KeySize KeySizeFor(size_t cbKey) {
  return cbKey == 16 ? KeySize128 : cbKey == 24 ? KeySize192 : KeySize256;
}

// One record: the whole message through a buffer operation into a separate
// buffer or, in the Monte Carlo files, 1000 chained blocks in place.
void CheckRecord(const Record& r, bool bMonteCarlo) {
  const auto key = FromHex(r["KEY"]);
  const auto in = FromHex(r.bEncrypt ? r["PLAINTEXT"] : r["CIPHERTEXT"]);
  CAesTextCipher aes(key.data(), KeySizeFor(key.size()));
  std::vector<BYTE> out = in;
  if (bMonteCarlo) {
    for (int j = 0; j < 1000; ++j) {
      if (r.bEncrypt)
        aes.EncryptBlock(out.data(), out.data());
      else
        aes.DecryptBlock(out.data(), out.data());
    }
  } else {
    const auto n = static_cast<std::int32_t>(in.size());
    std::fill(out.begin(), out.end(), 0);
    ASSERT_EQ(r.bEncrypt ? aes.EncryptBuffer(in.data(), out.data(), n)
                         : aes.DecryptBuffer(in.data(), out.data(), n),
              n);
  }
  EXPECT_EQ(ToHex(out), r.bEncrypt ? r["CIPHERTEXT"] : r["PLAINTEXT"]) << "key " << r["KEY"];
}

class NistResponseFile : public testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(NistResponseFile, AllRecordsPass) {
  const std::string name = GetParam();
  const auto records = ReadResponseFile(name);
  ASSERT_FALSE(records.empty());
  for (const Record& r : records)
    CheckRecord(r, name.find("MCT") != std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(
    Ecb, NistResponseFile,
    testing::Values("ECBGFSbox128.rsp", "ECBGFSbox192.rsp", "ECBGFSbox256.rsp", "ECBKeySbox128.rsp",
                    "ECBKeySbox192.rsp", "ECBKeySbox256.rsp", "ECBVarKey128.rsp", "ECBVarKey192.rsp",
                    "ECBVarKey256.rsp", "ECBVarTxt128.rsp", "ECBVarTxt192.rsp", "ECBVarTxt256.rsp",
                    "ECBMMT128.rsp", "ECBMMT192.rsp", "ECBMMT256.rsp", "ECBMCT128.rsp", "ECBMCT192.rsp",
                    "ECBMCT256.rsp"),
    [](const testing::TestParamInfo<const char*>& info) {
      std::string name = info.param;
      return name.substr(3, name.size() - 7);
    });

// All files together hold 2,738 cases; a parser that skipped some would
// pass the per-file checks silently.
TEST(NistResponseFiles, CaseCount) {
  int total = 0;
  for (const char* kind : {"GFSbox", "KeySbox", "VarKey", "VarTxt", "MMT", "MCT"})
    for (const char* bits : {"128", "192", "256"})
      total += static_cast<int>(ReadResponseFile(std::string("ECB") + kind + bits + ".rsp").size());
  EXPECT_EQ(total, 2738);
}
