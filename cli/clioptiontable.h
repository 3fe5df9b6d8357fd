#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

struct CliOptions;

/// Where --help lists an option.
enum class OptionGroup { Edit, Output, Other };

/// The kind of file an option's argument names, for whatever completes or documents it.
enum class OptionFile {
    None,       ///< the argument is not a file name
    Document,   ///< a .qbl document
    Touchstone, ///< a Touchstone file (.s1p, .z1p, .y1p, .ts, .sNp)
    Picture,    ///< a picture the tool writes: .png, .svg or .pdf
};

/// One command-line option: how it is spelt, what it takes, what --help says of it and what it
/// does to the options.
struct OptionRow {
    const char* name;      ///< the long form, "--save"
    char shortName;        ///< 0 when there is none
    const char* valueName; ///< the argument's name in the help, "FILE.qbl"; nullptr: no argument
    OptionFile file;       ///< the kind of file the argument names
    OptionGroup group;
    /// The help text, lines separated by '\n' (--help indents them); nullptr: described together
    /// with the row before, whose synopsis then names this one too.
    const char* help;
    /// Takes the argument (empty for an option without one) into the options; the reason when it
    /// is not a valid one.
    std::optional<std::string> (*handler)(CliOptions&, std::string_view);

    bool TakesValue() const { return valueName != nullptr; }
};

/// Every option, in the order --help lists them.
std::span<const OptionRow> CliOptionRows();

/// The option a command-line word names ("--save", "-o"), or nullptr.
const OptionRow* FindCliOption(std::string_view name);

/// The row's synopsis as --help writes it: "-o, --output FILE".
std::string OptionSynopsis(const OptionRow& row);

/// The --help lines of one group's options.
std::string CliOptionHelp(OptionGroup group);
