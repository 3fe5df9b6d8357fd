#include "cli/clipictures.h"

#include <dlfcn.h>
#include <unistd.h>

#include <climits>
#include <string>
#include <vector>

namespace {

// The folder of the running program, from the link the kernel keeps to it.
std::string ProgramFolder() {
    std::vector<char> path(PATH_MAX + 1);
    const ssize_t length = readlink("/proc/self/exe", path.data(), path.size() - 1);
    if (length <= 0) {
        return ".";
    }
    const std::string program(path.data(), static_cast<size_t>(length));
    const size_t slash = program.rfind('/');
    return slash == std::string::npos ? "." : program.substr(0, slash == 0 ? 1 : slash);
}

// The table that the module file exports by the entry name, when its version is this tool's.
template <typename Writers>
CliModuleLoad<Writers> Load(const std::string& file, const char* entry) {
    const std::string folder = ProgramFolder();
    const std::string candidates[] = {folder + "/" + QUORBEL_CLI_MODULES_FROM_BIN + "/" + file,
                                      folder + "/" + file};
    CliModuleLoad<Writers> load;
    for (const std::string& path : candidates) {
        if (access(path.c_str(), F_OK) != 0) {
            continue;
        }
        // Lazily bound: of the many Qt functions the module could call, a run resolves those it
        // calls.
        void* module = dlopen(path.c_str(), RTLD_LAZY | RTLD_LOCAL);
        if (module == nullptr) {
            const char* why = dlerror();
            load.error = why != nullptr ? why : path + ": cannot be loaded";
            return load;
        }
        using Entry = const Writers* (*)();
        const auto function = reinterpret_cast<Entry>(dlsym(module, entry));
        const Writers* writers = function != nullptr ? function() : nullptr;
        if (writers == nullptr || writers->version != kCliPictureWritersVersion) {
            load.error = path + ": not the picture writers of this version";
            return load;
        }
        load.writers = writers;
        return load;
    }
    load.error =
        file + " not found beside the program or in " + folder + "/" + QUORBEL_CLI_MODULES_FROM_BIN;
    return load;
}

} // namespace

CliModuleLoad<CliPictureWriters> LoadCliPictureWriters() {
    static const auto load =
        Load<CliPictureWriters>(QUORBEL_CLI_PICTURES_FILE, kCliPictureWritersEntry);
    return load;
}

CliModuleLoad<CliPlotWriters> LoadCliPlotWriters() {
    static const auto load = Load<CliPlotWriters>(QUORBEL_CLI_PLOT_FILE, kCliPlotWritersEntry);
    return load;
}
