#include "tools/korvane_host_progress.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace kvhost {

namespace {

// The gfxDrawText alignment codes of the loading screen.
const int32_t kEndsAtX = 0x14;    // the caption, left of the bar
const int32_t kStartsAtX = 0x12;  // the percentage, right of the bar

// Control characters of a text would move the cursor.
std::string printable(const std::string& text) {
    std::string out;
    for (char c : text) out.push_back(static_cast<unsigned char>(c) < 0x20 || c == 0x7f ? ' ' : c);
    return out;
}

}  // namespace

std::string loadingLine(const kvsim::ScreenFrame& frame, int barWidth) {
    std::string caption;
    std::string percent;
    for (const kvsim::ScreenFrame::Text& text : frame.texts) {
        if (text.alignment == kEndsAtX && caption.empty()) caption = printable(text.text);
        if (text.alignment == kStartsAtX && percent.empty()) percent = printable(text.text);
    }
    std::string line = caption;
    if (frame.hasBarOutline) {
        const float width = frame.barOutline[2] - frame.barOutline[0];
        float filled = frame.hasBarFill && width > 0.0f ? (frame.barFill[2] - frame.barFill[0]) / width : 0.0f;
        if (!std::isfinite(filled)) filled = 0.0f;
        filled = std::min(1.0f, std::max(0.0f, filled));
        // Rounded to the nearest cell, so a full bar is full and an empty one empty.
        const int cells = static_cast<int>(std::lround(filled * static_cast<float>(barWidth)));
        line += (line.empty() ? "[" : " [") + std::string(static_cast<std::size_t>(cells), '#') +
                std::string(static_cast<std::size_t>(barWidth - cells), '.') + "]";
    }
    if (!percent.empty()) line += (line.empty() ? "" : " ") + percent;
    return line;
}

void LoadingBar::onRecord(const kvsim::LoggedRecord& record) {
    if (!loading_ || record.late || record.kind != kvsim::RecordKind::Call) return;
    if (std::strcmp(record.name, "memCheckpoint") == 0) {
        const char kLoadEnd[] = "End of _LoadKorvane";
        const kvsim::FirstArgument& label = record.first;
        if (label.text && label.length == sizeof kLoadEnd - 1 && std::memcmp(label.text, kLoadEnd, label.length) == 0)
            finish();
        return;
    }
    if (std::strcmp(record.name, "gfxPresent") != 0) return;
    const std::string text = loadingLine(screen_(), 30);
    if (text.empty() || text == shown_) return;
    shown_ = text;
    // Back to the line's start and clear it: the new line may be shorter.
    std::fprintf(out_, "\r\033[K%s", text.c_str());
    std::fflush(out_);
}

void LoadingBar::finish() {
    if (loading_ && !shown_.empty()) std::fputc('\n', out_);
    std::fflush(out_);
    loading_ = false;
    shown_.clear();
}

}  // namespace kvhost
