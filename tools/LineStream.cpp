#include "tools/LineStream.h"

#include <string_view>

#include "tools/Diagnostics.h"
#include "tools/LineReader.h"
#include "tools/OutputWriter.h"

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
  std::string_view line;
  for (std::size_t nLine = 1;; ++nLine) {
    if (!reader.HasBufferedLine() && !out.Flush())
      return ReportOutputFailure(out);
    const CLineReader::Result result = reader.Next(&line);
    if (result == CLineReader::Result::End)
      break;
    if (result == CLineReader::Result::Error) {
      if (!out.Flush())
        return ReportOutputFailure(out);
      ReportSystemError("cannot read standard input", reader.Error());
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
