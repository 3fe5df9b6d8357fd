#include "packaging/manpage.h"

#include "cli/clioptions.h"
#include "cli/clioptiontable.h"
#include "platform/shell/csettingsstore.h"

#include <array>
#include <cctype>
#include <optional>
#include <utility>
#include <vector>

namespace {

constexpr std::array<OptionGroup, 3> kGroups{OptionGroup::Edit, OptionGroup::Output,
                                             OptionGroup::Other};

// --help cut at its option groups: the prose before them, each group's heading, the prose after.
struct UsageParts {
    std::string synopsis;                 ///< "quorbel-cli [DOCUMENT.qbl] [OPTION]..."
    std::vector<std::string> description; ///< the lines between the synopsis and the first heading
    std::array<std::string, kGroups.size()> headings; ///< "Edits", "Outputs", "Other options"
    std::string tail;
};

std::vector<std::string> Lines(std::string_view text) {
    std::vector<std::string> lines;
    for (size_t start = 0; start < text.size();) {
        const size_t end = std::min(text.find('\n', start), text.size());
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The line "Edits:" as the heading "Edits"; nothing for any other line.
std::optional<std::string> Heading(std::string_view line) {
    if (line.size() < 2 || line.find(':') != line.size() - 1) {
        return std::nullopt;
    }
    return std::string(line.substr(0, line.size() - 1));
}

std::optional<UsageParts> SplitUsage() {
    const std::string usage = CliUsageText();
    UsageParts parts;
    size_t at = 0;
    for (size_t g = 0; g < kGroups.size(); ++g) {
        const std::string options = CliOptionHelp(kGroups[g]);
        const size_t found = options.empty() ? std::string::npos : usage.find(options, at);
        if (found == std::string::npos) {
            return std::nullopt;
        }
        std::vector<std::string> before = Lines(std::string_view(usage).substr(at, found - at));
        const std::optional<std::string> heading =
            before.empty() ? std::nullopt : Heading(before.back());
        if (!heading) {
            return std::nullopt;
        }
        parts.headings[g] = *heading;
        before.pop_back();
        if (g == 0 && !before.empty()) {
            parts.synopsis = before.front();
            parts.description.assign(before.begin() + 1, before.end());
        } else if (!before.empty() || g == 0) {
            return std::nullopt;
        }
        at = found + options.size();
    }
    parts.tail = usage.substr(at);
    return parts;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& line : lines) {
        text += (text.empty() ? "" : " ") + line;
    }
    return text;
}

// The prose's paragraphs: a line that ends a sentence, or a blank one, ends its paragraph.
std::vector<std::string> Paragraphs(std::string_view text) {
    std::vector<std::string> paragraphs;
    std::vector<std::string> current;
    for (const std::string& line : Lines(text)) {
        if (!line.empty()) {
            current.push_back(line);
        }
        if ((line.empty() || line.back() == '.') && !current.empty()) {
            paragraphs.push_back(Joined(current));
            current.clear();
        }
    }
    if (!current.empty()) {
        paragraphs.push_back(Joined(current));
    }
    return paragraphs;
}

// "Exit status: 0 success; ..." as the title "Exit status" and its text; a paragraph that does
// not begin with a few words and a colon has no title.
std::pair<std::string, std::string> Titled(const std::string& paragraph) {
    constexpr size_t kLongestTitle = 24;
    const size_t colon = paragraph.find(": ");
    if (colon == std::string::npos || colon > kLongestTitle) {
        return {"", paragraph};
    }
    for (size_t i = 0; i < colon; ++i) {
        const auto c = static_cast<unsigned char>(paragraph[i]);
        if (!std::isalpha(c) && c != ' ') {
            return {"", paragraph};
        }
    }
    return {paragraph.substr(0, colon), paragraph.substr(colon + 2)};
}

std::string Upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return out;
}

std::string Header(std::string_view name, std::string_view summary, const ManPageRelease& release) {
    return ".\\\" Written at build time from the program's option table: edit that, not this.\n"
           ".TH " +
           RoffText(Upper(name)) + " 1 \"" + release.date + "\" \"Quorbel " + release.version +
           "\" \"User Commands\"\n.nh\n.ad l\n.SH NAME\n" + RoffText(name) + " \\- " +
           RoffText(summary) + "\n";
}

// "-o, --output FILE" with the option names in bold and the argument in italics.
std::string OptionTag(const OptionRow& row) {
    std::string tag;
    if (row.shortName != 0) {
        tag += "\\fB\\-" + std::string(1, row.shortName) + "\\fR, ";
    }
    tag += "\\fB" + RoffText(row.name) + "\\fR";
    if (row.TakesValue()) {
        tag += " \\fI" + RoffText(row.valueName) + "\\fR";
    }
    return tag;
}

std::string OptionList(OptionGroup group, std::string_view heading) {
    std::string out = ".SS \"" + RoffText(heading) + "\"\n";
    const std::span<const OptionRow> rows = CliOptionRows();
    for (size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].group != group || rows[i].help == nullptr) {
            continue;
        }
        std::string tag = OptionTag(rows[i]);
        for (size_t j = i + 1; j < rows.size() && rows[j].help == nullptr; ++j) {
            tag += ", " + OptionTag(rows[j]);
        }
        out += ".TP\n" + tag + "\n" + RoffText(Joined(Lines(rows[i].help))) + "\n";
    }
    return out;
}

std::string SeeAlso(std::string_view page) {
    return ".SH \"SEE ALSO\"\n.BR " + RoffText(page) + " (1)\n";
}

} // namespace

std::string RoffText(std::string_view text) {
    std::string out;
    bool lineStart = true;
    for (const char c : text) {
        if (lineStart && (c == '.' || c == '\'')) {
            out += "\\&";
        }
        out += c == '\\' ? "\\e" : c == '-' ? "\\-" : std::string(1, c);
        lineStart = c == '\n';
    }
    return out;
}

std::string CliManPage(const ManPageRelease& release) {
    const std::optional<UsageParts> usage = SplitUsage();
    if (!usage) {
        return {};
    }
    const size_t space = usage->synopsis.find(' ');
    std::string page = Header(
        "quorbel-cli", "evaluate, edit and render Quorbel documents without a window", release);
    page += ".SH SYNOPSIS\n.B " + RoffText(usage->synopsis.substr(0, space)) + "\n" +
            RoffText(space == std::string::npos ? "" : usage->synopsis.substr(space + 1)) + "\n";
    page += ".SH DESCRIPTION\n" + RoffText(Joined(usage->description)) + "\n";
    std::string sections;
    for (const std::string& paragraph : Paragraphs(usage->tail)) {
        const auto [title, text] = Titled(paragraph);
        if (title.empty()) {
            page += ".PP\n" + RoffText(text) + "\n";
        } else {
            sections += ".SH \"" + RoffText(Upper(title)) + "\"\n" + RoffText(text) + "\n";
        }
    }
    page += ".SH OPTIONS\n";
    for (size_t g = 0; g < kGroups.size(); ++g) {
        page += OptionList(kGroups[g], usage->headings[g]);
    }
    return page + sections + SeeAlso("quorbel");
}

std::string ProgramManPage(const ManPageRelease& release) {
    const std::string settings = std::string("~/.config/") + CSettingsStore::kOrganization + "/" +
                                 CSettingsStore::kApplication + ".conf";
    return Header("quorbel", "design and tune RF impedance-matching networks on a Smith chart",
                  release) +
           ".SH SYNOPSIS\n.B quorbel\n[\\fIDOCUMENT.qbl\\fR]\n"
           ".SH DESCRIPTION\n"
           "Quorbel draws a Smith chart and, on it, the path along which each component of a "
           "matching network carries the impedance, from the starting [Generator] impedance toward "
           "the goal [Load] impedance. A network holds up to 25 components: series and shunt "
           "resistors, capacitors and inductors, transmission lines, open and shorted stubs, and "
           "series and parallel RLC elements. The readout gives the ending impedance, its VSWR, "
           "return loss and mismatch loss against the goal, and the network's largest Q.\n"
           ".PP\n"
           "Single keys add components and open dialogs; the arrow keys select a component and "
           "step its value, with Ctrl and Shift the analysis frequency and the chart's Z0. The "
           "menus list every command with its key. Two wizards synthesise a matching network or "
           "an equal\\-ripple ladder filter; a band analysis draws the network's response across a "
           "band of frequencies; the starting and goal impedances can follow measured Touchstone "
           "data. Documents are saved as .qbl files; the chart can be printed and exported as a "
           "PNG, SVG or PDF picture.\n"
           ".SH OPTIONS\n.TP\n.I DOCUMENT.qbl\n"
           "The document to open; without it Quorbel starts with a new document. Qt's own "
           "options, such as \\fB\\-platform\\fR \\fIname\\fR, are taken by the toolkit.\n"
           ".SH FILES\n.TP\n.I " +
           RoffText(settings) +
           "\nThe settings: the four most recently used documents, the print preview's page "
           "count and the window's placement.\n" +
           SeeAlso("quorbel-cli");
}
