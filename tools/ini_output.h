// How korvane-ini writes a document: the plain listing a person reads and
// the JSON a program reads. Names and texts are byte strings in whatever
// code page the file was written in, so neither form interprets them: the
// listing copies the bytes, and the JSON gives every byte from 0x80 up as
// \u00XX so that mapping each character back to one byte restores them.
#pragma once

#include <cstdint>
#include <string>

namespace kvtool {

// The shortest %g form that reads back (strtof) as the same float, so a
// real is neither padded with noise digits nor cut short. Non-finite values
// give "inf", "-inf" or "nan".
std::string formatReal(float value);

// value as a JSON string literal, quotes included, escaped as above; null
// gives the literal null.
void appendJsonString(std::string& out, const char* value);
// A finite real as a JSON number; JSON has no infinities or NaN, so those
// become the strings "inf", "-inf" and "nan".
void appendJsonReal(std::string& out, float value);

// Lines of the plain listing, newlines included. A section starts with a
// blank line, so sections stand apart below the header:
//   ; path
//
//   [name]
//   name = text  (integer 12, real 12)
//   name = (no text)  (integer 0, real 0)
void appendPlainSection(std::string& out, const char* name);
void appendPlainKey(std::string& out, const char* name, const char* text, int32_t integer,
                    float real);
// The first line of the listing: the document's path as an INI comment.
void appendPlainHeader(std::string& out, const char* path);

}  // namespace kvtool
