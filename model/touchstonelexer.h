#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

// The words and numbers of Touchstone lines: the text helpers the reader's parts share. Numbers
// go through the program's one number-text unit, so the user's locale never matters.
namespace touchstone {

bool IsBlank(char c);
std::string_view Trim(std::string_view s);
/// Lower case with runs of blanks made one space, for comparing keywords and options.
std::string Simplified(std::string_view s);
/// True when s starts with prefix, which is lower case, in any case.
bool StartsWithNoCase(std::string_view s, std::string_view prefix);
/// The blank-separated words of a line; '!' also separates when bangs is set.
std::vector<std::string_view> Words(std::string_view s, bool bangs = false);
/// A word as the user should see it in a message: quoted, shortened, printable.
std::string Quote(std::string_view word);
/// A number as a message shows it: the shortest text that reads back to it.
std::string NumberText(double v);
/// A finite decimal number; one '+' may stand before it (also before a '-', as files have it).
bool ParseNumber(std::string_view word, double& value);
/// A whole number, without a sign or with '-'.
bool ParseInteger(std::string_view word, long long& value);
/// The number of ports the name's extension states (.s2p, .z1p, ...); 0 when it states none.
int PortsFromName(std::string_view name);
/// "1 port", "2 ports".
std::string Plural(std::size_t n, const char* one, const char* many);

} // namespace touchstone
