#pragma once
// The text form of a component stream, as window layouts are written:
//
//   object Form1: TForm1
//     Left = 8
//     Caption = 'It''s'#13#10'two lines'
//     Font.Style = [fsBold]
//     Lines.Strings = (
//       'one'
//       'two')
//     Items.Data = {
//       0100000000}
//     Columns = <
//       item
//         Width = 40
//       end>
//     object Panel1: TPanel
//     end
//   end
//
// "inherited" and "inline" in place of "object" set the record's flags, and
// "[n]" after the class name gives a child position. A record without a
// component name reads "object TClass". Strings: quoted runs and #n
// characters (n a Unicode code point; our bytes are Windows-1252), joined by
// "+" across lines. Numbers: decimal or "$" hex integers, floats with "." or
// an exponent.
#include <string>

#include "Classes.h"
#include "SysUtils.h"

namespace tq {

// A syntax error in the text form: "Line %d: %s".
TQ_EXCEPTION_CLASS(EParserError, Exception);

// Reads one binary record from input's position and writes its text (CR LF
// line ends). Binary errors as in ComponentStream.h.
void ObjectBinaryToText(TStream& input, TStream& output);
// Reads the text from input's position to its end and writes one binary
// record. Integers take the smallest tag, floats tag 5, strings tag 6 or 12
// (tag 18 when a character has no Windows-1252 byte).
void ObjectTextToBinary(TStream& input, TStream& output);

}  // namespace tq
