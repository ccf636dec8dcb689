#include "commands/message_text.h"

#include "config/printf_format.h"
#include "engine/subsystem_pointers.h"

namespace kv {

namespace {

// A text that would read arguments the message never passes is shown
// literally instead, so a bad table entry is visible rather than harmful.
void showLiteral(const char* text) { MSG->msgShowText("%s", text); }

}  // namespace

void showTableText(const char* textFile, int32_t textId) {
    const char* text = TXT->txtGetString(textFile, textId);
    if (!text) return;
    if (formatAccepts(text, kPlainMessageFormat))
        MSG->msgShowText(text);
    else
        showLiteral(text);
}

void showTableTextWithNumber(const char* textFile, int32_t textId, int32_t number) {
    const char* text = TXT->txtGetString(textFile, textId);
    if (!text) return;
    if (formatAccepts(text, kNumberMessageFormat))
        MSG->msgShowText(text, number);
    else
        showLiteral(text);
}

void showTableTextWithText(const char* textFile, int32_t textId, const char* argument) {
    const char* text = TXT->txtGetString(textFile, textId);
    if (!text) return;
    if (formatAccepts(text, kTextMessageFormat))
        MSG->msgShowText(text, argument ? argument : "");
    else
        showLiteral(text);
}

}  // namespace kv
