#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

/// Why reading or writing a document failed; each has the text the user is shown.
enum class DocumentError {
    None,
    UnexpectedFormat, ///< "Unexpected file format."
    FailedToOpen,     ///< "Failed to open document."
    FailedToSave,     ///< "Failed to save document."
};

/// The message box text of an error; empty for None.
const char* DocumentErrorText(DocumentError e);

/// Where a loading archive takes its bytes from, a piece at a time.
class ByteSource {
public:
    virtual ~ByteSource() = default;
    /// Reads up to n bytes into dst and returns how many: 0 at the end of the input, and after a
    /// read error, which ReadError then tells.
    virtual size_t Read(uint8_t* dst, size_t n) = 0;
    virtual bool ReadError() const { return false; }
    /// How many bytes are left to read, when the source knows (a file knows its size): a reader
    /// then checks a stored length against it before making room for that many bytes.
    virtual std::optional<uint64_t> Remaining() const { return std::nullopt; }
};

/// A little-endian binary stream that one routine both writes and reads: each Io call stores
/// the value when storing, and reads into it when loading. After the first read error every
/// further read is skipped and leaves its value alone.
class Archive {
public:
    /// An archive that collects written bytes.
    Archive() = default;
    /// An archive that reads the given bytes.
    explicit Archive(std::span<const uint8_t> data) : loading_(true), window_(data) {}
    /// An archive that reads the source as far as the stream goes, a bounded piece at a time.
    explicit Archive(ByteSource& source) : loading_(true), source_(&source) {}

    bool IsLoading() const { return loading_; }
    bool Failed() const { return error_ != DocumentError::None; }
    DocumentError Error() const { return error_; }
    void Fail(DocumentError e);
    /// Fails with the cause in words ("the records would take 81.2 MiB, ..."), which the user is
    /// shown after the error's own text.
    void Fail(DocumentError e, std::string cause);
    /// The cause of the failure, if one was given.
    const std::string& Cause() const { return cause_; }

    /// Records something a loading archive left out ("Part of the document was not read: ..."),
    /// for the user to be told once the document has opened.
    void Note(std::string text) { notes_.push_back(std::move(text)); }
    const std::vector<std::string>& Notes() const { return notes_; }

    void Io(double& v);
    void Io(int32_t& v);
    void IoBool(bool& v);
    /// A UTF-8 text, stored as a Windows-1252 or UTF-16 string with its length prefix.
    void IoString(std::string& utf8);

    // Constants written as given and skipped on reading.
    void ConstantByte(uint8_t v);
    void ConstantInt32(int32_t v);
    void ConstantFloat(float v);
    void ConstantString(const std::string& v);

    /// Appends n more bytes to out when that many remain, else returns false; never fails the
    /// archive (what follows the document stream is optional). Memory grows with what is present.
    bool ReadOptional(std::vector<uint8_t>& out, size_t n);
    /// Writes bytes as they stand.
    void WriteBytes(std::span<const uint8_t> bytes);

    const std::vector<uint8_t>& Bytes() const { return output_; }
    /// The bytes written so far, for a writer that appends a large block in place (reserving
    /// its size first) rather than through a copy of it.
    std::vector<uint8_t>& Output() { return output_; }
    /// Hands the written bytes over, leaving the archive empty.
    std::vector<uint8_t> TakeBytes() { return std::move(output_); }

    // Loading only: what follows the stream, in bounded amounts.

    /// True when no input is left (within the limit).
    bool AtEnd();
    /// From here on at most maxBytes more are read: for every read the input ends there.
    void LimitInput(uint64_t maxBytes);
    /// The rest of the input, at most maxBytes of it, valid until the next read.
    std::span<const uint8_t> TakeRest(size_t maxBytes = SIZE_MAX);
    /// Bytes read so far.
    uint64_t Position() const { return position_; }
    /// How many bytes are left within the limit, when that is known: always for bytes in memory,
    /// and for a source that knows its size.
    std::optional<uint64_t> KnownRemaining() const;

private:
    bool Fill();
    size_t Available() const;
    void Advance(size_t n);
    bool Take(void* dst, size_t n);
    bool TakeText(std::string& bytes, uint64_t n);
    void Put(const void* src, size_t n);
    bool ReadLength(uint64_t& n, bool& wide);
    void WriteLength(uint64_t n);

    bool loading_ = false;
    ByteSource* source_ = nullptr;    ///< null when the whole input is in window_
    std::span<const uint8_t> window_; ///< the input at hand: all of it, or the last piece read
    size_t windowPos_ = 0;
    std::vector<uint8_t> piece_; ///< storage of the last piece read from source_
    std::vector<uint8_t> rest_;  ///< storage of what TakeRest read from source_
    uint64_t position_ = 0;
    uint64_t limit_ = UINT64_MAX; ///< the position at which the input ends for every read
    std::vector<uint8_t> output_;
    DocumentError error_ = DocumentError::None;
    std::string cause_;
    std::vector<std::string> notes_;
};
