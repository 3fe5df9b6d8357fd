#include "packaging/bashcompletion.h"
#include "packaging/manpage.h"

#include "cli/clioptiontable.h"

#include <gtest/gtest.h>

namespace {

TEST(ManPage, RoffTextEscapesWhatRoffWouldReadAsMarkup) {
    const struct {
        const char* text;
        const char* roff;
    } cases[] = {
        {"--save FILE.qbl", "\\-\\-save FILE.qbl"},           {"C:\\data", "C:\\edata"},
        {".print of its part", "\\&.print of its part"},      // a request at the start of a line
        {"x\n.ac lin\n'quoted", "x\n\\&.ac lin\n\\&'quoted"}, // and of every later line
        {"a .print mid-line", "a .print mid\\-line"},         {"", ""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(RoffText(c.text), c.roff) << c.text;
    }
}

// The pages and the completion name every option; the page's sections come from --help's prose.
TEST(ManPage, PagesAndCompletionNameEveryOption) {
    const std::string page = CliManPage({"9.8.7", "2030-01-02"});
    ASSERT_FALSE(page.empty()) << "--help no longer splits into its option groups";
    EXPECT_NE(page.find(".TH QUORBEL\\-CLI 1 \"2030-01-02\" \"Quorbel 9.8.7\""), std::string::npos);
    for (const char* section : {".SH SYNOPSIS", ".SH DESCRIPTION", ".SH OPTIONS",
                                ".SH \"EXIT STATUS\"", ".SS \"Outputs\""}) {
        EXPECT_NE(page.find(section), std::string::npos) << section;
    }
    const std::string completion = CliBashCompletion();
    for (const OptionRow& row : CliOptionRows()) {
        const std::string name = "\\fB" + RoffText(row.name) + "\\fR";
        EXPECT_NE(page.find(name), std::string::npos) << row.name;
        EXPECT_NE(completion.find(std::string(" ") + row.name), std::string::npos) << row.name;
    }
    EXPECT_NE(ProgramManPage({"9.8.7", "2030-01-02"}).find(".BR quorbel\\-cli (1)"),
              std::string::npos);
}

} // namespace
