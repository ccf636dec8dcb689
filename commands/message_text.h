// Flight messages whose text comes from the flight's in-flight string
// table. The table is a file a player can edit, and msgShowText takes its
// first argument as a printf format, so a text is handed over as the format
// only when its conversions read exactly the argument the message passes;
// any other text is shown as it stands, through "%s". A text the table does
// not have (an id of -1, no text file) shows nothing.
#pragma once

#include <cstdint>

namespace kv {

// A message without an argument: the text may hold no conversion but "%%".
void showTableText(const char* textFile, int32_t textId);
// A message with one integer: at most one integer conversion.
void showTableTextWithNumber(const char* textFile, int32_t textId, int32_t number);
// A message with one text: at most one "%s".
void showTableTextWithText(const char* textFile, int32_t textId, const char* argument);

}  // namespace kv
