#include "packaging/bashcompletion.h"

#include "cli/clioptiontable.h"

#include <array>

namespace {

// The extensions of a kind of file as bash-completion's _filedir takes them: an extended glob
// that it also tries in upper case.
const char* FileGlob(OptionFile file) {
    switch (file) {
    case OptionFile::Document:
        return "qbl";
    case OptionFile::Touchstone:
        return "@([syzgh]+([0-9])p|ts)"; // .s1p, .s2p, .z1p, ... and version 2's .ts
    case OptionFile::Picture:
        return "@(png|svg|pdf)";
    case OptionFile::None:
        break;
    }
    return nullptr;
}

// The names of the options that take an argument of this kind, as one case pattern.
std::string CasePattern(OptionFile file) {
    std::string pattern;
    for (const OptionRow& row : CliOptionRows()) {
        if (!row.TakesValue() || row.file != file) {
            continue;
        }
        if (row.shortName != 0) {
            pattern += (pattern.empty() ? "-" : " | -") + std::string(1, row.shortName);
        }
        pattern += (pattern.empty() ? "" : " | ") + std::string(row.name);
    }
    return pattern;
}

} // namespace

std::string CliBashCompletion() {
    std::string words;
    for (const OptionRow& row : CliOptionRows()) {
        if (row.shortName != 0) {
            words += std::string(words.empty() ? "" : " ") + "-" + row.shortName;
        }
        words += (words.empty() ? "" : " ") + std::string(row.name);
    }
    std::string out = "# shellcheck shell=bash\n"
                      "# bash completion for quorbel-cli, written at build time from its option "
                      "table.\n"
                      "_quorbel_cli()\n"
                      "{\n"
                      "    local cur prev words cword split\n"
                      "    _init_completion -s || return\n"
                      "\n"
                      "    case $prev in\n";
    constexpr std::array kFiles{OptionFile::Document, OptionFile::Touchstone, OptionFile::Picture,
                                OptionFile::None};
    for (const OptionFile file : kFiles) {
        const std::string pattern = CasePattern(file);
        if (pattern.empty()) {
            continue;
        }
        out += "        " + pattern + ")\n";
        if (const char* glob = FileGlob(file)) {
            out += std::string("            _filedir '") + glob + "'\n";
        }
        out += "            return\n"
               "            ;;\n";
    }
    out += "    esac\n"
           "    $split && return\n"
           "\n"
           "    if [[ $cur == -* ]]; then\n"
           "        COMPREPLY=($(compgen -W '" +
           words +
           "' -- \"$cur\"))\n"
           "        return\n"
           "    fi\n"
           "    _filedir '" +
           FileGlob(OptionFile::Document) +
           "'\n"
           "} &&\n"
           "    complete -F _quorbel_cli quorbel-cli\n";
    return out;
}
