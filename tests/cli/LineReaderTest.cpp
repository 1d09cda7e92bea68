// The line reader driven in-process a few bytes at a time, so every line
// crosses every chunk boundary and the buffer grows past its first chunk.
#include <unistd.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tools/LineReader.h"

// A byte order mark, then lines of 0 to 12 bytes, each of its own letters,
// ending in "\n" and "\r\n" by turns, the last in none. Under every limit
// the lines within it come whole, each after the starts of it given on the
// way; of the first line past it every byte up to the limit is given, then
// TooLong.
TEST(CliLineReader, LinesOfEveryLengthAcrossEveryChunkBoundaryUpToTheLimit) {
  using Result = CLineReader::Result;
  std::vector<std::string> lines(13);
  std::string input = "\xEF\xBB\xBF";
  for (std::size_t len = 0; len < lines.size(); ++len) {
    for (std::size_t k = 0; k < len; ++k)
      lines[len] += static_cast<char>('a' + (3 * len + k) % 26);
    input += lines[len] + (len == 12 ? "" : len % 2 ? "\n" : "\r\n");
  }
  for (const std::size_t cbChunk : {1, 2, 3, 5, 8}) {
    for (std::size_t cbMax = 0; cbMax <= 13; ++cbMax) {
      SCOPED_TRACE(testing::Message() << "chunk " << cbChunk << ", limit " << cbMax);
      int fds[2];
      ASSERT_TRUE(pipe(fds) == 0 && write(fds[1], input.data(), input.size()) > 0);
      close(fds[1]);
      CLineReader reader(fds[0], cbMax, cbChunk);
      std::string_view got;
      std::size_t nWhole = 0, cbGiven = 0;
      Result result;
      while ((result = reader.Next(&got)) == Result::Partial || result == Result::Line) {
        ASSERT_LT(nWhole, lines.size());
        const bool bWhole = result == Result::Line;
        EXPECT_TRUE(bWhole ? got == lines[nWhole]
                           : got.size() > cbGiven && lines[nWhole].starts_with(got))
            << got;
        cbGiven = bWhole ? 0 : got.size();
        nWhole += bWhole;
      }
      close(fds[0]);
      const bool bTooLong = cbMax + 1 < lines.size();
      EXPECT_EQ(nWhole, bTooLong ? cbMax + 1 : lines.size());
      EXPECT_EQ(result, bTooLong ? Result::TooLong : Result::End);
      EXPECT_EQ(cbGiven, bTooLong ? cbMax : 0);
    }
  }
}
