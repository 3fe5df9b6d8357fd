#pragma once

#include <cstdint>
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

/// A little-endian binary stream that one routine both writes and reads: each Io call stores
/// the value when storing, and reads into it when loading. After the first read error every
/// further read is skipped and leaves its value alone.
class Archive {
public:
    /// An archive that collects written bytes.
    Archive() = default;
    /// An archive that reads the given bytes.
    explicit Archive(std::span<const uint8_t> data) : loading_(true), input_(data) {}

    bool IsLoading() const { return loading_; }
    bool Failed() const { return error_ != DocumentError::None; }
    DocumentError Error() const { return error_; }
    void Fail(DocumentError e);

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

private:
    bool Take(void* dst, size_t n);
    void Put(const void* src, size_t n);
    bool ReadLength(uint64_t& n, bool& wide);
    void WriteLength(uint64_t n);

    bool loading_ = false;
    std::span<const uint8_t> input_;
    size_t pos_ = 0;
    std::vector<uint8_t> output_;
    DocumentError error_ = DocumentError::None;
};
