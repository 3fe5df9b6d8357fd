#pragma once

#include <string>
#include <string_view>

/// What a manual page prints in its footer: the program's version and the date of its release.
struct ManPageRelease {
    std::string version; ///< "1.0.0"
    std::string date;    ///< "2026-12-09"
};

/// The manual page quorbel-cli(1) in man(7) markup, written from the option table and the prose
/// of --help so that the two cannot disagree; empty when --help is not made of the option table's
/// groups as expected.
std::string CliManPage(const ManPageRelease& release);

/// The manual page quorbel(1) of the window program.
std::string ProgramManPage(const ManPageRelease& release);

/// Text made safe for man(7): backslashes and minus signs escaped, and a line that would begin
/// with a control character ('.' or '\'') guarded.
std::string RoffText(std::string_view text);
