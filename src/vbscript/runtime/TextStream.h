#pragma once
// TextStream: sequential reading or writing of a text file in the ANSI code page
// (Windows-1252) or UTF-16 ("Unicode").
#include <filesystem>
#include <string>
#include <vector>

#include "vbscript/Dispatch.h"

namespace qm::vbs::rt {

enum class StreamMode { Read = 1, Write = 2, Append = 8 };

class TextStream : public Dispatch {
public:
    // Opens the file; raises 53 (missing file), 70 (cannot open) as the file-system object does.
    // format: 0 ANSI, -1 Unicode, -2 system default (ANSI, or Unicode when the file starts with a BOM).
    // `roots`: the real folders the file must lie in (empty: anywhere); it is
    // opened as platform/GameFileOpen.h opens game files: regular files only,
    // never through a link that leads out, never waiting on a pipe.
    TextStream(const std::filesystem::path& file, StreamMode mode, int format, bool create,
               const std::vector<std::string>& roots = {});
    ~TextStream() override;

    std::u16string typeName() const override { return u"TextStream"; }
    DispId findMember(std::u16string_view name) override;
    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override;
    bool hasDefaultMember() const override { return false; }
    const void* classKey() const override;

    // C++ access.
    std::u16string readLine();
    std::u16string readAll();
    std::u16string read(size_t count);
    void write(const std::u16string& text);
    void close();
    bool atEnd() const;

private:
    void requireRead() const;
    void requireWrite() const;
    void advance(char16_t c);
    void writeBytes(const std::string& bytes);

    StreamMode mode_;
    bool unicode_ = false;
    bool closed_ = false;
    std::u16string content_; // read mode
    size_t pos_ = 0;
    int out_ = -1;           // write and append modes: the file's descriptor
    int32_t line_ = 1, column_ = 1;
};

} // namespace qm::vbs::rt
