// The loop both commands share: one line in, one line out, in order, until
// the input ends, a line is refused, or input or output fails.
#pragma once

#include <cstddef>
#include <string_view>

class CLineReader;
class COutputWriter;

class CLineTransform {
 public:
  // Judges the start of a line still coming: refuses it (as TransformLine
  // would refuse the whole line, for the same first fault) and returns
  // false, or returns true. Called with ever longer starts of one line.
  virtual bool CheckLineStart(std::string_view start, std::size_t nLine, COutputWriter& out) = 0;
  // Writes the result of one line to out and returns true, or reports why
  // the line is refused (one line on standard error) and returns false.
  // Refusals go through RefuseLine.
  virtual bool TransformLine(std::string_view line, std::size_t nLine, COutputWriter& out) = 0;
  // Wipes what the transform keeps of the line it judged or answered last:
  // its own copies and the cipher's buffers of that line.
  virtual void WipeLine() = 0;
  // What a line holds, for messages: "a password".
  virtual std::string_view LineName() const = 0;

 protected:
  ~CLineTransform() = default;
};

// Runs transform over every line and returns the exit status. Output is
// flushed before every read that could wait for input, so a process that
// feeds one line and waits for its answer always gets it; on a refused line
// the lines before it are written out before the message. Each line is
// judged as it comes, and wiped, in the reader and in the transform, as
// soon as it is answered.
int RunLineStream(CLineReader& reader, COutputWriter& out, CLineTransform& transform);

// Writes out the lines before a refused line, then reports the refusal
// (or the output failure that hid it). Returns false.
bool RefuseLine(COutputWriter& out, std::size_t nLine, std::string_view message);

// Reports a failed output and returns the exit status for it.
int ReportOutputFailure(const COutputWriter& out);
