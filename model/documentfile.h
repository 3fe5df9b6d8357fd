#pragma once

#include "model/archive.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

class SmithChrt;

/// The document stream of chart; empty when it cannot be written (its trailer would be too large).
std::vector<uint8_t> WriteDocument(const SmithChrt& chart);

/// The same, saying why it cannot be written: FailedToSave with the cause in words.
DocumentError WriteDocument(const SmithChrt& chart, std::vector<uint8_t>& bytes,
                            std::string* cause);

/// Reads a document stream into chart, all or nothing: on failure chart is left as it was. What
/// a successful read left out of the document (a damaged trailer, an unusable record) is told in
/// notes, one text each.
DocumentError ReadDocument(std::span<const uint8_t> data, SmithChrt& chart,
                           std::vector<std::string>* notes = nullptr);

/// The same from a source that is read only as far as the stream goes.
DocumentError ReadDocument(ByteSource& source, SmithChrt& chart,
                           std::vector<std::string>* notes = nullptr);

/// What opening a file did.
enum class OpenOutcome {
    Read,      ///< the file was read into the document
    EmptyFile, ///< a zero-length file: the document keeps its content
    Failed,    ///< see the error; the document is unchanged
};

/// Opens a document file. Only a regular file is opened, and without waiting for a writer, so a
/// pipe or a device fails at once. A zero-length file is not read at all, and of a longer one only
/// what the stream needs. Notes as for ReadDocument.
OpenOutcome LoadDocumentFile(const std::string& path, SmithChrt& chart, DocumentError& error,
                             std::vector<std::string>* notes = nullptr);

/// Saves atomically: the bytes go to a temporary file beside the file that path finally names
/// (symbolic links followed, and kept), renamed over it when complete. Anything but a regular
/// file or a new name, and a file that the read-only rule protects, is refused. A document whose
/// trailer would be too large is refused before anything is written. On failure cause (if given)
/// tells why in words, such as the system's "Permission denied".
DocumentError SaveDocumentFile(const std::string& path, const SmithChrt& chart,
                               std::string* cause = nullptr);
/// Writes bytes to path the way SaveDocumentFile writes a document: through a temporary file in
/// the same folder renamed over the target; FailedToSave when that cannot be done, with its cause.
DocumentError SaveBytesFile(const std::string& path, const std::vector<uint8_t>& bytes,
                            std::string* cause = nullptr);
