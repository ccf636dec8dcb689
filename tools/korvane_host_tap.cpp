#include "tools/korvane_host_tap.h"

#include <cstring>

namespace kvhost {

namespace {

// `{"op":"name"` and its kin: the key and the name, without a JSON parse.
bool startsWith(const std::string& text, const char* prefix, std::size_t& after) {
    const std::size_t n = std::strlen(prefix);
    if (text.compare(0, n, prefix) != 0) return false;
    after = n;
    return true;
}

}  // namespace

TraceLine::TraceLine(const std::string& text) : text_(text) {
    std::size_t at = 0;
    if (startsWith(text, "{\"op\":\"", at)) {
        kind_ = Kind::Call;
    } else if (startsWith(text, "{\"host\":\"", at)) {
        // A late result line carries only the host call's name and "ret".
        kind_ = text.find("\",\"args\":", at) != std::string::npos ? Kind::Host : Kind::HostResult;
    } else if (startsWith(text, "{\"trace\":", at)) {
        kind_ = Kind::Trace;
        return;
    } else {
        return;
    }
    const std::size_t end = text.find('"', at);
    if (end != std::string::npos) name_ = text.substr(at, end - at);
}

const kvsim::Json& TraceLine::json() const {
    if (!parsed_) {
        parsed_ = true;
        json_ = kvsim::Json::parse(text_, nullptr, false);
        if (json_.is_discarded()) json_ = nullptr;
    }
    return json_;
}

double TraceLine::firstNumber(double fallback) const {
    const kvsim::Json& j = json();
    if (!j.is_object()) return fallback;
    auto args = j.find("args");
    if (args == j.end() || !args->is_array() || args->empty() || !(*args)[0].is_number()) return fallback;
    return (*args)[0].get<double>();
}

void TraceTap::take(const char* s, std::size_t n) {
    if (copy_) copy_->write(s, static_cast<std::streamsize>(n));
    for (std::size_t i = 0; i < n; ++i) {
        if (s[i] != '\n') {
            pending_.push_back(s[i]);
            continue;
        }
        const TraceLine line(pending_);
        for (TraceObserver* observer : observers_) observer->onLine(line);
        pending_.clear();
    }
}

TraceTap::int_type TraceTap::overflow(int_type c) {
    if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
    const char ch = traits_type::to_char_type(c);
    take(&ch, 1);
    return c;
}

std::streamsize TraceTap::xsputn(const char* s, std::streamsize n) {
    take(s, static_cast<std::size_t>(n));
    return n;
}

int TraceTap::sync() {
    if (copy_) copy_->flush();
    return copy_ && !*copy_ ? -1 : 0;
}

}  // namespace kvhost
