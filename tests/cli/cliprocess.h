#pragma once

#include "model/smithchrt.h"

#include <string>
#include <vector>

/// What one run of the built quorbel-cli gave.
struct CliOutcome {
    int status = -1;
    std::string out;
    std::string err;
    long maxRssKiB = 0; ///< the process's peak resident memory
};

/// Runs a program with the arguments (no shell involved) and collects its outputs.
CliOutcome RunProcess(const std::string& program, const std::vector<std::string>& args);
/// Runs the built tool.
CliOutcome RunCliProcess(const std::vector<std::string>& args);
/// The full path of a program found on PATH, or empty.
std::string FindOnPath(const std::string& program);

/// A fresh directory for one test's files, removed with its contents at the end.
class CScratchDir {
public:
    CScratchDir();
    ~CScratchDir();
    CScratchDir(const CScratchDir&) = delete;
    CScratchDir& operator=(const CScratchDir&) = delete;

    std::string Path(const std::string& name) const { return dir + "/" + name; }

private:
    std::string dir;
};

std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);

/// A new document as File New leaves it.
SmithChrt NewDocument();
/// A document at 1000 MHz whose network holds every kind and placement of element.
SmithChrt EveryKindDocument();
/// The lines of text, without their newlines.
std::vector<std::string> Lines(const std::string& text);
