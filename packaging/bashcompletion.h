#pragma once

#include <string>

/// The bash completion of quorbel-cli, written from its option table: every option's name, for
/// an option that takes a file the names with that kind of file's extensions (and folders), for
/// any other argument nothing, and documents where no option asks for a value.
std::string CliBashCompletion();
