#pragma once
// The bytes a song is saved as: CR LF line ends, in the form the file was
// read in (UTF-8 with or without its mark, UTF-16 with its mark and byte
// order, or Windows-1252), made whole or line by line.

#include <string>
#include <string_view>

#include "document/TextFileReader.h"

namespace sonavel {

// Encodes a text line by line exactly as EncodeForSave encodes it whole, so
// that a long text can be written as it is made.
class SaveEncoder {
 public:
  explicit SaveEncoder(SaveEncoding preferred) : m_used(preferred) {}

  // Appends the bytes of one line (UTF-8 without its line break) and, when
  // lineBreak, of CR LF. Windows-1252 bytes that could still turn out to
  // read back as UTF-8 are held until that is settled, at the latest by
  // Finish. Throws std::logic_error when a held-back decision has already
  // gone to Windows-1252 and a later line holds a character the code page
  // lacks; text read from a Windows-1252 file never does.
  void Put(std::string_view utf8Line, bool lineBreak, std::string& out);
  void Finish(std::string& out);

  // The form written (after Finish).
  SaveEncoding Used() const { return m_used; }

 private:
  void PutWindows1252(std::string_view utf8Line, bool lineBreak, bool first, std::string& out);
  void SwitchToUtf8(std::string& out);

  SaveEncoding m_used;
  bool m_started = false;
  // Windows-1252 only: the form is certain once the bytes cannot be UTF-8
  // and do not start like a byte-order mark.
  bool m_settled = false;
  bool m_ascii = true;  // all bytes so far; they are the same in either form
  bool m_validUtf8 = true;
  Utf8Validator m_validator;
  std::string m_head;  // the first three bytes
  std::string m_held;  // bytes not yet given out, from the first non-ASCII one
};

// The bytes to save for `utf8Text`. Every LF, CR LF and lone CR becomes
// CR LF. The preferred form is kept, except that Windows-1252 gives way to
// UTF-8 when its bytes would not read back as the same text, so that no
// character is lost. `*used` (when not null) tells which was chosen.
std::string EncodeForSave(std::string_view utf8Text, SaveEncoding preferred, SaveEncoding* used);

}  // namespace sonavel
