#pragma once

#include "archive.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class SmithChrt;

/// The document stream of chart.
std::vector<uint8_t> WriteDocument(const SmithChrt& chart);

/// Reads a document stream into chart, all or nothing: on failure chart is left as it was.
DocumentError ReadDocument(std::span<const uint8_t> data, SmithChrt& chart);

/// What opening a file did.
enum class OpenOutcome {
    Read,      ///< the file was read into the document
    EmptyFile, ///< a zero-length file: the document keeps its content
    Failed,    ///< see the error; the document is unchanged
};

/// Opens a document file. A zero-length file is not read at all.
OpenOutcome LoadDocumentFile(const std::string& path, SmithChrt& chart, DocumentError& error);

/// Saves atomically: the bytes go to a temporary file beside path, renamed over it when complete.
DocumentError SaveDocumentFile(const std::string& path, const SmithChrt& chart);
