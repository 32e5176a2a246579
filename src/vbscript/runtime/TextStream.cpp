#include "vbscript/runtime/TextStream.h"

#include <cerrno>
#include <iterator>
#include <unistd.h>

#include "platform/GameFileOpen.h"

#include "vbscript/ScriptError.h"
#include "vbscript/runtime/Charset.h"
#include "vbscript/runtime/LibrarySupport.h"

namespace fs = std::filesystem;

namespace qm::vbs::rt {

namespace {

constexpr int32_t kBadFileMode = 54;
constexpr int32_t kInputPastEnd = 62;

enum Member : DispId {
    AtEndOfLine = 1, AtEndOfStream, Column, Line, Close, Read, ReadAll, ReadLine, Skip, SkipLine, Write, WriteLine,
    WriteBlankLines
};

const MemberEntry kMembers[] = {
    {u"AtEndOfLine", AtEndOfLine}, {u"AtEndOfStream", AtEndOfStream}, {u"Column", Column}, {u"Line", Line},
    {u"Close", Close}, {u"Read", Read}, {u"ReadAll", ReadAll}, {u"ReadLine", ReadLine}, {u"Skip", Skip},
    {u"SkipLine", SkipLine}, {u"Write", Write}, {u"WriteLine", WriteLine}, {u"WriteBlankLines", WriteBlankLines},
};

std::u16string decode(const std::string& bytes, bool& unicode, int format)
{
    bool bom = bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
               static_cast<unsigned char>(bytes[1]) == 0xFE;
    unicode = format == -1 || (format == -2 && bom);
    std::u16string out;
    if (unicode) {
        size_t start = bom ? 2 : 0;
        out.reserve(bytes.size() / 2);
        for (size_t i = start; i + 1 < bytes.size(); i += 2)
            out += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                         (static_cast<unsigned char>(bytes[i + 1]) << 8));
    } else {
        out.reserve(bytes.size());
        for (unsigned char b : bytes)
            out += windows1252ToUnicode(b);
    }
    return out;
}

std::string encode(const std::u16string& text, bool unicode)
{
    std::string out;
    if (unicode) {
        out.reserve(text.size() * 2);
        for (char16_t c : text) {
            out += static_cast<char>(c & 0xFF);
            out += static_cast<char>(c >> 8);
        }
    } else {
        out.reserve(text.size());
        for (char16_t c : text)
            out += static_cast<char>(unicodeToWindows1252(c));
    }
    return out;
}

} // namespace

namespace {

// The whole file behind a descriptor, which is closed.
std::string readAllFrom(int fd)
{
    std::string bytes;
    char buffer[65536];
    while (true) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    ::close(fd);
    return bytes;
}

} // namespace

TextStream::TextStream(const fs::path& file, StreamMode mode, int format, bool create,
                       const std::vector<std::string>& roots)
    : mode_(mode)
{
    std::error_code ec;
    const bool exists = fs::exists(fs::symlink_status(file, ec));
    if (fs::is_directory(file, ec))
        raise(err::PermissionDenied);
    if (!exists && !create)
        raise(err::FileNotFound);
    // A missing folder is a missing path; anything else refused (outside, a
    // link, a pipe or device, a file of several names) is denied.
    auto open = [&](platform::OpenFor how) {
        const int fd = platform::openGameFile(file.string(), how, roots);
        if (fd < 0)
            raise(errno == ENOENT || errno == ENOTDIR ? (exists ? err::FileNotFound : err::PathNotFound)
                                                      : err::PermissionDenied);
        return fd;
    };
    if (mode == StreamMode::Read) {
        if (!exists)
            ::close(open(platform::OpenFor::Appending));
        content_ = decode(readAllFrom(open(platform::OpenFor::Reading)), unicode_, format);
        return;
    }
    if (mode == StreamMode::Append && exists) {
        // Appending keeps the file's own encoding when it has a BOM.
        const int probe = platform::openGameFile(file.string(), platform::OpenFor::Reading, roots);
        char head[2] = {0, 0};
        const bool bom = probe >= 0 && ::read(probe, head, 2) == 2 && static_cast<unsigned char>(head[0]) == 0xFF &&
                         static_cast<unsigned char>(head[1]) == 0xFE;
        if (probe >= 0)
            ::close(probe);
        unicode_ = format == -1 || (format == -2 && bom);
        out_ = open(platform::OpenFor::Appending);
    } else {
        unicode_ = format == -1;
        out_ = open(platform::OpenFor::Writing);
        if (unicode_)
            writeBytes("\xFF\xFE");
    }
}

void TextStream::writeBytes(const std::string& bytes)
{
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(out_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            raise(err::PermissionDenied);
        done += static_cast<size_t>(n);
    }
}

TextStream::~TextStream()
{
    if (out_ >= 0)
        ::close(out_);
}


DispId TextStream::findMember(std::u16string_view name) { return findInTable(kMembers, name); }

const void* TextStream::classKey() const { return kMembers; }

void TextStream::requireRead() const
{
    if (closed_ || mode_ != StreamMode::Read)
        raise(kBadFileMode);
}

void TextStream::requireWrite() const
{
    if (closed_ || mode_ == StreamMode::Read)
        raise(kBadFileMode);
}

void TextStream::advance(char16_t c)
{
    if (c == u'\n') {
        ++line_;
        column_ = 1;
    } else {
        ++column_;
    }
}

bool TextStream::atEnd() const { return pos_ >= content_.size(); }

std::u16string TextStream::readLine()
{
    requireRead();
    if (atEnd())
        raise(kInputPastEnd);
    size_t start = pos_;
    while (pos_ < content_.size() && content_[pos_] != u'\n' && content_[pos_] != u'\r')
        ++pos_;
    std::u16string line = content_.substr(start, pos_ - start);
    column_ += static_cast<int32_t>(line.size());
    if (pos_ < content_.size()) {
        if (content_[pos_] == u'\r' && pos_ + 1 < content_.size() && content_[pos_ + 1] == u'\n')
            ++pos_;
        ++pos_;
        ++line_;
        column_ = 1;
    }
    return line;
}

std::u16string TextStream::read(size_t count)
{
    requireRead();
    if (atEnd())
        raise(kInputPastEnd);
    size_t n = std::min(count, content_.size() - pos_);
    std::u16string out = content_.substr(pos_, n);
    for (char16_t c : out)
        advance(c);
    pos_ += n;
    return out;
}

std::u16string TextStream::readAll()
{
    requireRead();
    if (atEnd())
        raise(kInputPastEnd);
    return read(content_.size() - pos_);
}

void TextStream::write(const std::u16string& text)
{
    requireWrite();
    writeBytes(encode(text, unicode_));
    for (char16_t c : text)
        advance(c);
}

void TextStream::close()
{
    if (out_ >= 0)
        ::close(out_);
    out_ = -1;
    closed_ = true;
    content_.clear();
    pos_ = 0;
}

Value TextStream::invoke(DispId id, InvokeKind kind, std::span<Value> args)
{
    if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
        raise(err::WrongArgCount);
    auto text = [&](size_t i) { return toString(resolveObjectDefault(args[i])); };
    auto count = [&](size_t i) {
        int32_t n = toInt32(resolveObjectDefault(args[i]));
        if (n < 0)
            raise(err::InvalidCall);
        return static_cast<size_t>(n);
    };
    switch (id) {
    case AtEndOfLine:
        checkArgCount(args, 0, 0);
        requireRead();
        return Value(atEnd() || content_[pos_] == u'\n' || content_[pos_] == u'\r');
    case AtEndOfStream: checkArgCount(args, 0, 0); requireRead(); return Value(atEnd());
    case Column: checkArgCount(args, 0, 0); return Value(column_);
    case Line: checkArgCount(args, 0, 0); return Value(line_);
    case Close: checkArgCount(args, 0, 0); close(); return Value();
    case Read: checkArgCount(args, 1, 1); return Value(read(count(0)));
    case ReadAll: checkArgCount(args, 0, 0); return Value(readAll());
    case ReadLine: checkArgCount(args, 0, 0); return Value(readLine());
    case Skip: {
        checkArgCount(args, 1, 1);
        size_t n = count(0);
        requireRead();
        if (n > 0)
            read(n);
        return Value();
    }
    case SkipLine: checkArgCount(args, 0, 0); readLine(); return Value();
    case Write: checkArgCount(args, 1, 1); write(text(0)); return Value();
    case WriteLine:
        checkArgCount(args, 0, 1);
        write((args.empty() || args[0].isMissing() ? std::u16string() : text(0)) + u"\r\n");
        return Value();
    case WriteBlankLines: {
        checkArgCount(args, 1, 1);
        size_t n = count(0);
        std::u16string lines;
        for (size_t i = 0; i < n && i < 1'000'000; ++i)
            lines += u"\r\n";
        write(lines);
        return Value();
    }
    default: raise(err::NoSuchMember);
    }
}

} // namespace qm::vbs::rt
