#include "model/asciitext.h"

#include <gtest/gtest.h>

namespace {

TEST(AsciiText, LowerCaseBaseNameAndExtension) {
    // Only A-Z change: bytes of UTF-8 text are left as they are whatever the locale.
    EXPECT_EQ(AsciiLower("MHz S RI R 50 \xC3\x84"), "mhz s ri r 50 \xC3\x84");
    struct Case {
        const char* path;
        const char* base;
        const char* extension;
    };
    for (const Case& c :
         {Case{"chart.PNG", "chart.PNG", ".PNG"}, Case{"/tmp/dir.d/plot", "plot", ""},
          Case{"C:\\data\\ant.s1p", "ant.s1p", ".s1p"}, Case{"dir.x\\file", "file", ""},
          Case{"a/b.tar.gz", "b.tar.gz", ".gz"}, Case{"trailing/", "", ""}}) {
        EXPECT_EQ(PathBaseName(c.path), c.base) << c.path;
        EXPECT_EQ(PathExtension(c.path), c.extension) << c.path;
    }
}

} // namespace
