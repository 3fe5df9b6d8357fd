#include "cli/clioptions.h"
#include "cli/clioptiontable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <set>
#include <sstream>

namespace {

std::string FileText(const char* path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Whether text names the option as a word of its own: "--band" is not named by "--band-off".
bool NamesOption(const std::string& text, const std::string& name) {
    for (size_t at = text.find(name); at != std::string::npos; at = text.find(name, at + 1)) {
        const size_t end = at + name.size();
        const bool startsWord = at == 0 || text[at - 1] != '-';
        const bool endsWord = end == text.size() || (text[end] != '-' && !std::isalnum(text[end]));
        if (startsWord && endsWord) {
            return true;
        }
    }
    return false;
}

TEST(CliOptionTable, EveryOptionIsInTheHelpAndTheReference) {
    const std::string help = CliUsageText();
    const std::string reference = FileText(QUORBEL_CLI_REFERENCE);
    ASSERT_FALSE(reference.empty()) << QUORBEL_CLI_REFERENCE;
    for (const OptionRow& row : CliOptionRows()) {
        EXPECT_TRUE(NamesOption(help, OptionSynopsis(row))) << row.name;
        EXPECT_TRUE(NamesOption(reference, row.name)) << row.name << " in " QUORBEL_CLI_REFERENCE;
        if (row.shortName != 0) {
            EXPECT_TRUE(NamesOption(reference, std::string("-") + row.shortName)) << row.name;
        }
    }
}

TEST(CliOptionTable, RowsAreWellFormedAndFoundByEitherName) {
    std::set<std::string> names;
    const OptionRow* previous = nullptr;
    for (const OptionRow& row : CliOptionRows()) {
        const std::string name = row.name;
        EXPECT_EQ(name.rfind("--", 0), 0u) << name;
        EXPECT_TRUE(names.insert(name).second) << name << " twice";
        EXPECT_NE(row.handler, nullptr) << name;
        EXPECT_EQ(FindCliOption(name), &row);
        if (row.shortName != 0) {
            EXPECT_TRUE(names.insert(std::string("-") + row.shortName).second) << name;
            EXPECT_EQ(FindCliOption(std::string("-") + row.shortName), &row);
        }
        // A file kind only for an argument; a row described with the one before shares its group.
        EXPECT_TRUE(row.TakesValue() || row.file == OptionFile::None) << name;
        if (row.help == nullptr) {
            ASSERT_NE(previous, nullptr) << name;
            EXPECT_EQ(previous->group, row.group) << name;
        }
        previous = &row;
    }
    EXPECT_EQ(FindCliOption("--"), nullptr);
    EXPECT_EQ(FindCliOption("-x"), nullptr);
}

} // namespace
