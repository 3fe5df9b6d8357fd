// quorbel-docgen KIND FILE [VERSION DATE]: writes what the install puts beside the programs and
// is made from their own tables: KIND quorbel.1 or quorbel-cli.1 (the manual pages, whose
// footer shows VERSION and DATE) or bash-completion (quorbel-cli's).
#include "packaging/bashcompletion.h"
#include "packaging/manpage.h"

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv) {
    const std::string kind = argc > 2 ? argv[1] : "";
    const ManPageRelease release{argc > 4 ? argv[3] : "", argc > 4 ? argv[4] : ""};
    const std::string text = kind == "quorbel.1"         ? ProgramManPage(release)
                             : kind == "quorbel-cli.1"   ? CliManPage(release)
                             : kind == "bash-completion" ? CliBashCompletion()
                                                         : std::string();
    if (text.empty()) {
        std::fprintf(stderr, "usage: quorbel-docgen quorbel.1|quorbel-cli.1|bash-completion FILE "
                             "[VERSION DATE]\n(or --help no longer lists the option groups)\n");
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "quorbel-docgen: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
