// Selects a code page for one test and puts the previous one back, since
// other tests rely on the default.
#pragma once

#include <gtest/gtest.h>

#include "platform/mbcs.h"

namespace kvtest {

class CodePage {
public:
    explicit CodePage(int cp) : saved_(kv::mbGetCodePage()) { EXPECT_TRUE(kv::mbSetCodePage(cp)); }
    ~CodePage() { kv::mbSetCodePage(saved_ == 1252 ? kv::kCodePageSingleByte : saved_); }
    CodePage(const CodePage&) = delete;
    CodePage& operator=(const CodePage&) = delete;

private:
    int saved_;
};

}  // namespace kvtest
