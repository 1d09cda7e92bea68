#include "tools/LineStream.h"

#include <string>
#include <string_view>

#include "tools/Diagnostics.h"
#include "tools/LineReader.h"
#include "tools/OutputWriter.h"

namespace {

// The next whole line, or why there is none: each start of it is judged on
// the way, and Partial comes back when the transform refused one.
CLineReader::Result NextLine(CLineReader& reader, COutputWriter& out, CLineTransform& transform,
                             std::size_t nLine, std::string_view* pLine) {
  for (;;) {
    if (!reader.HasBufferedLine() && !out.Flush())
      return CLineReader::Result::Error;
    const CLineReader::Result result = reader.Next(pLine);
    if (result != CLineReader::Result::Partial)
      return result;
    const bool bAccepted = transform.CheckLineStart(*pLine, nLine, out);
    transform.WipeLine();
    if (!bAccepted)
      return result;
  }
}

}  // namespace

int ReportOutputFailure(const COutputWriter& out) {
  ReportSystemError("cannot write to standard output", out.Error());
  return kExitRefused;
}

bool RefuseLine(COutputWriter& out, std::size_t nLine, std::string_view message) {
  // When the lines before it cannot be written, that is the one failure to
  // report: a message about a later line would point the user elsewhere.
  if (!out.Flush())
    ReportOutputFailure(out);
  else
    ReportLineError(nLine, message);
  return false;
}

int RunLineStream(CLineReader& reader, COutputWriter& out, CLineTransform& transform) {
  using Result = CLineReader::Result;
  std::string_view line;
  for (std::size_t nLine = 1;; ++nLine) {
    const Result result = NextLine(reader, out, transform, nLine, &line);
    if (result == Result::End)
      break;
    if (result == Result::Partial)
      return kExitRefused;  // refused by its start
    if (result == Result::Error) {
      if (!out.Flush())
        return ReportOutputFailure(out);
      ReportSystemError("cannot read standard input", reader.Error());
      return kExitRefused;
    }
    if (result == Result::Utf16) {  // known before any line
      ReportError("standard input is " + std::string(EncodingName(reader.Encoding())) +
                  "; save it as UTF-8");
      return kExitRefused;
    }
    if (result == Result::TooLong) {
      RefuseLine(out, nLine,
                 "longer than " + std::to_string(reader.MaxLine()) + " bytes, the limit for " +
                     std::string(transform.LineName()));
      return kExitRefused;
    }
    const bool bAnswered = transform.TransformLine(line, nLine, out);
    transform.WipeLine();
    reader.WipeLine();
    if (!bAnswered)
      return kExitRefused;
    if (out.Failed())
      return ReportOutputFailure(out);
  }
  return out.Flush() ? kExitOk : ReportOutputFailure(out);
}
