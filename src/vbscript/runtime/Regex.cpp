#include "vbscript/runtime/Regex.h"

#include "vbscript/TimeLimit.h"

#include <algorithm>

namespace qm::vbs::rt {

namespace {

constexpr int kMaxNesting = 400;
constexpr size_t kMaxProgram = 200'000;
constexpr size_t kMaxBacktrack = 4'000'000;

[[noreturn]] void syntaxError() { throw RegexError(5017, "Syntax error in regular expression"); }
[[noreturn]] void quantifierError() { throw RegexError(5018, "Unexpected quantifier"); }

char16_t lowerOf(char16_t c)
{
    if (c >= u'A' && c <= u'Z') return c + 32;
    if (c < 0xC0) return c;
    if (c <= 0xDE && c != 0xD7) return c + 32;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 && c != 0x17F) {
        bool oddLower = (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
        if (oddLower) return (c & 1) ? c + 1 : c;
        return (c & 1) ? c : c + 1;
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return c + 32;
    if (c >= 0x410 && c <= 0x42F) return c + 32;
    if (c >= 0x400 && c <= 0x40F) return c + 80;
    if (c == 0x178) return 0xFF;
    return c;
}

char16_t upperOf(char16_t c)
{
    if (c >= u'a' && c <= u'z') return c - 32;
    if (c < 0xE0) return c;
    if (c <= 0xFE && c != 0xF7) return c - 32;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F) {
        char16_t l = lowerOf(c);
        if (l == c) {
            // c is lower case: its upper partner lowers to c.
            if (c > 0x100 && lowerOf(static_cast<char16_t>(c - 1)) == c) return c - 1;
            return c;
        }
        return c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return c - 32;
    if (c >= 0x430 && c <= 0x44F) return c - 32;
    if (c >= 0x450 && c <= 0x45F) return c - 80;
    return c;
}

bool isWordChar(char16_t c)
{
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9') || c == u'_';
}
bool isDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isSpaceChar(char16_t c) { return c == u' ' || c == u'\f' || c == u'\n' || c == u'\r' || c == u'\t' || c == u'\v'; }
bool isLineEnd(char16_t c) { return c == u'\n' || c == u'\r'; }

struct CharClass {
    std::vector<std::pair<char16_t, char16_t>> ranges;
    bool digit = false, notDigit = false, word = false, notWord = false, space = false, notSpace = false;
    bool negated = false;

    bool containsRaw(char16_t c) const
    {
        for (auto& r : ranges)
            if (c >= r.first && c <= r.second)
                return true;
        if (digit && isDigit(c)) return true;
        if (notDigit && !isDigit(c)) return true;
        if (word && isWordChar(c)) return true;
        if (notWord && !isWordChar(c)) return true;
        if (space && isSpaceChar(c)) return true;
        if (notSpace && !isSpaceChar(c)) return true;
        return false;
    }
    bool matches(char16_t c, bool icase) const
    {
        bool in = containsRaw(c) || (icase && (containsRaw(lowerOf(c)) || containsRaw(upperOf(c))));
        return in != negated;
    }
};

enum class Op : uint8_t {
    Char, Any, Class, Split, Jmp, Save, Bol, Eol, WordB, NotWordB, Backref, Look, LookEnd, MarkSet, MarkCheck, Match
};

struct Inst {
    Op op;
    bool flag = false;  // Look: negative
    char16_t ch = 0;
    int32_t x = 0, y = 0; // Split targets / Jmp target / slot / class index / group / mark / Look end
};

// ---- syntax tree -----------------------------------------------------------

struct Node {
    enum Kind { Empty, Char, Any, Class, Seq, Alt, Group, Repeat, Bol, Eol, WordB, NotWordB, Backref, Look } kind;
    char16_t ch = 0;
    int index = -1;          // class index, capture number (Group), group (Backref)
    int min = 0, max = -1;   // Repeat
    bool greedy = true;
    bool negative = false;   // Look
    std::vector<std::unique_ptr<Node>> kids;

    explicit Node(Kind k) : kind(k) {}
};

using NodePtr = std::unique_ptr<Node>;

bool nullable(const Node& n)
{
    switch (n.kind) {
    case Node::Char:
    case Node::Any:
    case Node::Class: return false;
    case Node::Seq:
        for (auto& k : n.kids)
            if (!nullable(*k))
                return false;
        return true;
    case Node::Alt:
        for (auto& k : n.kids)
            if (nullable(*k))
                return true;
        return false;
    case Node::Group: return nullable(*n.kids[0]);
    case Node::Repeat: return n.min == 0 || nullable(*n.kids[0]);
    default: return true;
    }
}

class Parser {
public:
    Parser(const std::u16string& p, std::vector<CharClass>& classes) : p_(p), classes_(classes)
    {
        // Count capture groups first so that \10 can be told from \1 followed by 0.
        for (size_t i = 0; i < p.size(); ++i) {
            if (p[i] == u'\\') {
                ++i;
            } else if (p[i] == u'[') {
                for (++i; i < p.size() && p[i] != u']'; ++i)
                    if (p[i] == u'\\')
                        ++i;
            } else if (p[i] == u'(' && (i + 1 >= p.size() || p[i + 1] != u'?')) {
                ++totalGroups_;
            }
        }
    }

    NodePtr parse()
    {
        NodePtr n = alternation(0);
        if (pos_ != p_.size())
            syntaxError(); // stray ')'
        return n;
    }
    int groups() const { return groupCounter_; }

private:
    bool more() const { return pos_ < p_.size(); }
    char16_t peek() const { return p_[pos_]; }

    NodePtr alternation(int depth)
    {
        if (depth > kMaxNesting)
            throw RegexError(5017, "Regular expression too deeply nested");
        auto alt = std::make_unique<Node>(Node::Alt);
        alt->kids.push_back(sequence(depth));
        while (more() && peek() == u'|') {
            ++pos_;
            alt->kids.push_back(sequence(depth));
        }
        if (alt->kids.size() == 1)
            return std::move(alt->kids[0]);
        return alt;
    }

    NodePtr sequence(int depth)
    {
        auto seq = std::make_unique<Node>(Node::Seq);
        while (more() && peek() != u'|' && peek() != u')') {
            NodePtr atom = this->atom(depth);
            atom = quantified(std::move(atom));
            seq->kids.push_back(std::move(atom));
        }
        return seq;
    }

    bool readInt(int& out)
    {
        size_t start = pos_;
        long v = 0;
        while (more() && isDigit(peek())) {
            v = std::min<long>(v * 10 + (peek() - u'0'), 100000);
            ++pos_;
        }
        out = static_cast<int>(v);
        return pos_ > start;
    }

    NodePtr quantified(NodePtr atom)
    {
        while (more()) {
            int min = 0, max = -1;
            char16_t c = peek();
            if (c == u'*') {
                ++pos_;
            } else if (c == u'+') {
                min = 1;
                ++pos_;
            } else if (c == u'?') {
                max = 1;
                ++pos_;
            } else if (c == u'{') {
                size_t save = pos_;
                ++pos_;
                if (!readInt(min)) {
                    pos_ = save;
                    return atom; // a literal brace
                }
                if (more() && peek() == u',') {
                    ++pos_;
                    if (!readInt(max))
                        max = -1;
                } else {
                    max = min;
                }
                if (!more() || peek() != u'}') {
                    pos_ = save;
                    return atom;
                }
                ++pos_;
                if (max >= 0 && max < min)
                    throw RegexError(5017, "Syntax error in regular expression");
                if (min > 1000 || max > 1000)
                    throw RegexError(5017, "Repeat count too large in regular expression");
            } else {
                return atom;
            }
            if (atom->kind == Node::Repeat && atom->kids.empty())
                quantifierError();
            auto rep = std::make_unique<Node>(Node::Repeat);
            rep->min = min;
            rep->max = max;
            if (more() && peek() == u'?') {
                rep->greedy = false;
                ++pos_;
            }
            rep->kids.push_back(std::move(atom));
            atom = std::move(rep);
            // A second quantifier directly after the first is an error.
            if (more() && (peek() == u'*' || peek() == u'+' || peek() == u'?'))
                quantifierError();
        }
        return atom;
    }

    NodePtr charNode(char16_t c)
    {
        auto n = std::make_unique<Node>(Node::Char);
        n->ch = c;
        return n;
    }

    NodePtr classNode(CharClass cls)
    {
        auto n = std::make_unique<Node>(Node::Class);
        n->index = static_cast<int>(classes_.size());
        classes_.push_back(std::move(cls));
        return n;
    }

    int hexValue(size_t digits)
    {
        if (pos_ + digits > p_.size())
            return -1;
        int v = 0;
        for (size_t i = 0; i < digits; ++i) {
            char16_t c = p_[pos_ + i];
            int d = isDigit(c) ? c - u'0' : (c >= u'a' && c <= u'f') ? c - u'a' + 10 : (c >= u'A' && c <= u'F') ? c - u'A' + 10 : -1;
            if (d < 0)
                return -1;
            v = v * 16 + d;
        }
        pos_ += digits;
        return v;
    }

    // Escapes that stand for one character (shared by classes and atoms). pos_ is past the backslash.
    char16_t escapedChar(char16_t c)
    {
        switch (c) {
        case u'n': return u'\n';
        case u'r': return u'\r';
        case u't': return u'\t';
        case u'f': return u'\f';
        case u'v': return u'\v';
        case u'x': {
            int v = hexValue(2);
            return v < 0 ? u'x' : static_cast<char16_t>(v);
        }
        case u'u': {
            int v = hexValue(4);
            return v < 0 ? u'u' : static_cast<char16_t>(v);
        }
        case u'c':
            if (more() && ((peek() >= u'a' && peek() <= u'z') || (peek() >= u'A' && peek() <= u'Z')))
                return static_cast<char16_t>(p_[pos_++] % 32);
            return u'c';
        default: return c;
        }
    }

    int octal(char16_t first)
    {
        int v = first - u'0';
        for (int k = 0; k < 2 && more() && peek() >= u'0' && peek() <= u'7' && v * 8 + (peek() - u'0') < 256; ++k)
            v = v * 8 + (p_[pos_++] - u'0');
        return v;
    }

    bool classEscape(char16_t c, CharClass& cls)
    {
        switch (c) {
        case u'd': cls.digit = true; return true;
        case u'D': cls.notDigit = true; return true;
        case u'w': cls.word = true; return true;
        case u'W': cls.notWord = true; return true;
        case u's': cls.space = true; return true;
        case u'S': cls.notSpace = true; return true;
        default: return false;
        }
    }

    NodePtr bracket()
    {
        CharClass cls;
        if (more() && peek() == u'^') {
            cls.negated = true;
            ++pos_;
        }
        bool first = true;
        while (true) {
            if (!more())
                throw RegexError(5019, "Expected ']' in regular expression");
            char16_t c = p_[pos_++];
            if (c == u']' && !first)
                break;
            first = false;
            int lo;
            if (c == u'\\') {
                if (!more())
                    throw RegexError(5019, "Expected ']' in regular expression");
                char16_t e = p_[pos_++];
                if (classEscape(e, cls))
                    continue;
                if (e == u'b')
                    lo = u'\b';
                else if (e >= u'0' && e <= u'7')
                    lo = octal(e);
                else
                    lo = escapedChar(e);
            } else {
                lo = c;
            }
            if (pos_ + 1 < p_.size() && peek() == u'-' && p_[pos_ + 1] != u']') {
                ++pos_;
                char16_t d = p_[pos_++];
                int hi;
                if (d == u'\\') {
                    if (!more())
                        throw RegexError(5019, "Expected ']' in regular expression");
                    char16_t e = p_[pos_++];
                    CharClass probe;
                    if (classEscape(e, probe)) {
                        // "a-\d": the dash is literal.
                        cls.ranges.push_back({static_cast<char16_t>(lo), static_cast<char16_t>(lo)});
                        cls.ranges.push_back({u'-', u'-'});
                        classEscape(e, cls);
                        continue;
                    }
                    hi = e == u'b' ? u'\b' : (e >= u'0' && e <= u'7') ? octal(e) : escapedChar(e);
                } else {
                    hi = d;
                }
                if (hi < lo)
                    throw RegexError(5021, "Invalid range in character set");
                cls.ranges.push_back({static_cast<char16_t>(lo), static_cast<char16_t>(hi)});
            } else {
                cls.ranges.push_back({static_cast<char16_t>(lo), static_cast<char16_t>(lo)});
            }
        }
        return classNode(std::move(cls));
    }

    NodePtr atom(int depth)
    {
        char16_t c = p_[pos_++];
        switch (c) {
        case u'^': return std::make_unique<Node>(Node::Bol);
        case u'$': return std::make_unique<Node>(Node::Eol);
        case u'.': return std::make_unique<Node>(Node::Any);
        case u'*':
        case u'+':
        case u'?': quantifierError();
        case u'{': {
            // A brace that starts a valid quantifier has nothing to repeat.
            size_t save = pos_;
            int dummy;
            if (readInt(dummy)) {
                if (more() && peek() == u',') {
                    ++pos_;
                    readInt(dummy);
                }
                if (more() && peek() == u'}')
                    quantifierError();
            }
            pos_ = save;
            return charNode(c);
        }
        case u'[': return bracket();
        case u'(': {
            auto group = std::make_unique<Node>(Node::Group);
            if (more() && peek() == u'?') {
                ++pos_;
                if (!more())
                    syntaxError();
                char16_t k = p_[pos_++];
                if (k == u':') {
                    group->index = -1;
                } else if (k == u'=' || k == u'!') {
                    group->kind = Node::Look;
                    group->negative = k == u'!';
                } else {
                    syntaxError();
                }
            } else {
                group->index = ++groupCounter_;
            }
            group->kids.push_back(alternation(depth + 1));
            if (!more() || peek() != u')')
                throw RegexError(5020, "Expected ')' in regular expression");
            ++pos_;
            return group;
        }
        case u'\\': {
            if (!more())
                syntaxError();
            char16_t e = p_[pos_++];
            CharClass cls;
            if (classEscape(e, cls))
                return classNode(std::move(cls));
            if (e == u'b') return std::make_unique<Node>(Node::WordB);
            if (e == u'B') return std::make_unique<Node>(Node::NotWordB);
            if (e >= u'1' && e <= u'9') {
                size_t save = pos_;
                int n = e - u'0';
                if (more() && isDigit(peek()) && n * 10 + (peek() - u'0') <= totalGroups_) {
                    n = n * 10 + (peek() - u'0');
                    ++pos_;
                }
                if (n <= totalGroups_) {
                    auto b = std::make_unique<Node>(Node::Backref);
                    b->index = n;
                    return b;
                }
                pos_ = save;
                if (e <= u'7')
                    return charNode(static_cast<char16_t>(octal(e)));
                return charNode(e);
            }
            if (e == u'0')
                return charNode(static_cast<char16_t>(octal(e)));
            return charNode(escapedChar(e));
        }
        default: return charNode(c);
        }
    }

    const std::u16string& p_;
    std::vector<CharClass>& classes_;
    size_t pos_ = 0;
    int groupCounter_ = 0;
    int totalGroups_ = 0;
};

} // namespace

struct Regex::Program {
    std::vector<Inst> code;
    std::vector<CharClass> classes;
    int groups = 0;
    int marks = 0;
    bool icase = false;
    bool multiline = false;
    bool anchoredStart = false; // begins with ^ and not multiline

    size_t emit(Inst i)
    {
        if (code.size() >= kMaxProgram)
            throw RegexError(5017, "Regular expression too complex");
        code.push_back(i);
        return code.size() - 1;
    }

    void compile(const Node& n)
    {
        switch (n.kind) {
        case Node::Empty: break;
        case Node::Char: emit({Op::Char, false, n.ch}); break;
        case Node::Any: emit({Op::Any}); break;
        case Node::Class: emit({Op::Class, false, 0, n.index}); break;
        case Node::Bol: emit({Op::Bol}); break;
        case Node::Eol: emit({Op::Eol}); break;
        case Node::WordB: emit({Op::WordB}); break;
        case Node::NotWordB: emit({Op::NotWordB}); break;
        case Node::Backref: emit({Op::Backref, false, 0, n.index}); break;
        case Node::Seq:
            for (auto& k : n.kids)
                compile(*k);
            break;
        case Node::Alt: {
            std::vector<size_t> jumps;
            for (size_t i = 0; i < n.kids.size(); ++i) {
                if (i + 1 < n.kids.size()) {
                    size_t split = emit({Op::Split});
                    code[split].x = static_cast<int32_t>(code.size());
                    compile(*n.kids[i]);
                    jumps.push_back(emit({Op::Jmp}));
                    code[split].y = static_cast<int32_t>(code.size());
                } else {
                    compile(*n.kids[i]);
                }
            }
            for (size_t j : jumps)
                code[j].x = static_cast<int32_t>(code.size());
            break;
        }
        case Node::Group:
            if (n.index > 0) {
                emit({Op::Save, false, 0, n.index * 2});
                compile(*n.kids[0]);
                emit({Op::Save, false, 0, n.index * 2 + 1});
            } else {
                compile(*n.kids[0]);
            }
            break;
        case Node::Look: {
            size_t look = emit({Op::Look, n.negative});
            compile(*n.kids[0]);
            emit({Op::LookEnd});
            code[look].x = static_cast<int32_t>(code.size());
            break;
        }
        case Node::Repeat: compileRepeat(n); break;
        }
    }

    void star(const Node& body, bool greedy)
    {
        bool empty = nullable(body);
        size_t split = emit({Op::Split});
        size_t bodyStart = code.size();
        int mark = empty ? marks++ : -1;
        if (empty)
            emit({Op::MarkSet, false, 0, mark});
        compile(body);
        if (empty)
            emit({Op::MarkCheck, false, 0, mark});
        emit({Op::Jmp, false, 0, static_cast<int32_t>(split)});
        size_t after = code.size();
        code[split].x = static_cast<int32_t>(greedy ? bodyStart : after);
        code[split].y = static_cast<int32_t>(greedy ? after : bodyStart);
    }

    void compileRepeat(const Node& n)
    {
        const Node& body = *n.kids[0];
        for (int i = 0; i < n.min; ++i)
            compile(body);
        if (n.max < 0) {
            star(body, n.greedy);
            return;
        }
        std::vector<size_t> splits;
        for (int i = n.min; i < n.max; ++i) {
            size_t split = emit({Op::Split});
            splits.push_back(split);
            code[split].x = static_cast<int32_t>(code.size());
            compile(body);
        }
        for (size_t s : splits) {
            int32_t bodyStart = code[s].x;
            int32_t after = static_cast<int32_t>(code.size());
            code[s].x = n.greedy ? bodyStart : after;
            code[s].y = n.greedy ? after : bodyStart;
        }
    }
};

namespace {

struct Matcher {
    const Regex::Program& prog;
    const std::u16string& text;
    uint64_t& steps;
    uint64_t limit;

    struct Entry {
        int32_t pc;     // >= 0: branch; -1: restore slot; -2: restore mark
        int32_t index;
        long pos;
    };

    bool eq(char16_t a, char16_t b) const
    {
        return a == b || (prog.icase && lowerOf(a) == lowerOf(b));
    }

    // Runs from pc at pos; on success `slots` hold the captures and endPos the end.
    bool run(int32_t startPc, long startPos, std::vector<long>& slots, std::vector<long>& marks, long& endPos,
             int depth)
    {
        if (depth > kMaxNesting)
            throw RegexError(28, "Out of stack space");
        std::vector<Entry> stack;
        stack.push_back({startPc, 0, startPos});
        const long n = static_cast<long>(text.size());
        while (!stack.empty()) {
            Entry e = stack.back();
            stack.pop_back();
            if (e.pc == -1) {
                slots[static_cast<size_t>(e.index)] = e.pos;
                continue;
            }
            if (e.pc == -2) {
                marks[static_cast<size_t>(e.index)] = e.pos;
                continue;
            }
            int32_t pc = e.pc;
            long pos = e.pos;
            while (true) {
                if (++steps > limit)
                    throw RegexError(5017, "Regular expression is too complex to match");
                if ((steps & 0xFFFFF) == 0)
                    checkTimeLimit();
                const Inst& in = prog.code[static_cast<size_t>(pc)];
                bool ok = true;
                switch (in.op) {
                case Op::Char:
                    ok = pos < n && eq(text[static_cast<size_t>(pos)], in.ch);
                    ++pos;
                    ++pc;
                    break;
                case Op::Any:
                    ok = pos < n && text[static_cast<size_t>(pos)] != u'\n';
                    ++pos;
                    ++pc;
                    break;
                case Op::Class:
                    ok = pos < n && prog.classes[static_cast<size_t>(in.x)].matches(text[static_cast<size_t>(pos)], prog.icase);
                    ++pos;
                    ++pc;
                    break;
                case Op::Split:
                    if (stack.size() >= kMaxBacktrack)
                        throw RegexError(28, "Out of stack space");
                    stack.push_back({in.y, 0, pos});
                    pc = in.x;
                    break;
                case Op::Jmp: pc = in.x; break;
                case Op::Save:
                    stack.push_back({-1, in.x, slots[static_cast<size_t>(in.x)]});
                    slots[static_cast<size_t>(in.x)] = pos;
                    ++pc;
                    break;
                case Op::MarkSet:
                    stack.push_back({-2, in.x, marks[static_cast<size_t>(in.x)]});
                    marks[static_cast<size_t>(in.x)] = pos;
                    ++pc;
                    break;
                case Op::MarkCheck:
                    ok = marks[static_cast<size_t>(in.x)] != pos;
                    ++pc;
                    break;
                case Op::Bol:
                    ok = pos == 0 || (prog.multiline && isLineEnd(text[static_cast<size_t>(pos - 1)]));
                    ++pc;
                    break;
                case Op::Eol:
                    ok = pos == n || (prog.multiline && isLineEnd(text[static_cast<size_t>(pos)]));
                    ++pc;
                    break;
                case Op::WordB:
                case Op::NotWordB: {
                    bool before = pos > 0 && isWordChar(text[static_cast<size_t>(pos - 1)]);
                    bool after = pos < n && isWordChar(text[static_cast<size_t>(pos)]);
                    ok = (before != after) == (in.op == Op::WordB);
                    ++pc;
                    break;
                }
                case Op::Backref: {
                    long s = slots[static_cast<size_t>(in.x * 2)], t = slots[static_cast<size_t>(in.x * 2 + 1)];
                    ++pc;
                    if (s < 0 || t < s)
                        break;
                    long len = t - s;
                    if (pos + len > n) {
                        ok = false;
                        break;
                    }
                    for (long k = 0; k < len && ok; ++k)
                        ok = eq(text[static_cast<size_t>(s + k)], text[static_cast<size_t>(pos + k)]);
                    steps += static_cast<uint64_t>(len);
                    pos += len;
                    break;
                }
                case Op::Look: {
                    std::vector<long> inner = slots;
                    std::vector<long> innerMarks = marks;
                    long ignored;
                    bool found = run(pc + 1, pos, inner, innerMarks, ignored, depth + 1);
                    if (found == in.flag) {
                        ok = false;
                    } else if (found) {
                        for (size_t k = 0; k < slots.size(); ++k) {
                            if (slots[k] != inner[k]) {
                                stack.push_back({-1, static_cast<int32_t>(k), slots[k]});
                                slots[k] = inner[k];
                            }
                        }
                    }
                    pc = in.x;
                    break;
                }
                case Op::LookEnd:
                case Op::Match: endPos = pos; return true;
                }
                if (!ok)
                    break;
            }
        }
        return false;
    }
};

} // namespace

Regex::Regex(const std::u16string& pattern, bool ignoreCase, bool multiline) : program_(std::make_unique<Program>())
{
    Parser parser(pattern, program_->classes);
    NodePtr root = parser.parse();
    program_->groups = parser.groups();
    program_->icase = ignoreCase;
    program_->multiline = multiline;
    program_->compile(*root);
    program_->emit({Op::Match});
    program_->anchoredStart = !multiline && !program_->code.empty() && program_->code[0].op == Op::Bol;
}

Regex::~Regex() = default;
Regex::Regex(Regex&&) noexcept = default;
Regex& Regex::operator=(Regex&&) noexcept = default;

size_t Regex::groupCount() const { return static_cast<size_t>(program_->groups); }

bool Regex::search(const std::u16string& text, size_t start, RegexMatch& match) const
{
    const Program& prog = *program_;
    uint64_t steps = 0;
    Matcher m{prog, text, steps, stepLimit_};
    std::vector<long> slots(static_cast<size_t>(prog.groups + 1) * 2, -1);
    std::vector<long> marks(static_cast<size_t>(prog.marks), -1);
    const Inst& first = prog.code[0];
    for (size_t at = start; at <= text.size(); ++at) {
        if (prog.anchoredStart && at > 0)
            break;
        if (first.op == Op::Char && !prog.icase) {
            size_t found = text.find(first.ch, at);
            if (found == std::u16string::npos)
                return false;
            at = found;
        }
        std::fill(slots.begin(), slots.end(), -1);
        long end = 0;
        if (m.run(0, static_cast<long>(at), slots, marks, end, 0)) {
            match.index = at;
            match.length = static_cast<size_t>(end) - at;
            match.groups.clear();
            for (int g = 1; g <= prog.groups; ++g) {
                long s = slots[static_cast<size_t>(g * 2)], t = slots[static_cast<size_t>(g * 2 + 1)];
                if (s < 0 || t < s)
                    match.groups.push_back({-1, -1});
                else
                    match.groups.push_back({s, t});
            }
            return true;
        }
    }
    return false;
}

std::u16string expandReplacement(const std::u16string& templ, const std::u16string& text, const RegexMatch& match)
{
    std::u16string out;
    for (size_t i = 0; i < templ.size(); ++i) {
        char16_t c = templ[i];
        if (c != u'$' || i + 1 >= templ.size()) {
            out += c;
            continue;
        }
        char16_t d = templ[i + 1];
        if (d == u'$') {
            out += u'$';
            ++i;
        } else if (d == u'&') {
            out += text.substr(match.index, match.length);
            ++i;
        } else if (d == u'`') {
            out += text.substr(0, match.index);
            ++i;
        } else if (d == u'\'') {
            out += text.substr(std::min(text.size(), match.index + match.length));
            ++i;
        } else if (isDigit(d)) {
            size_t n = static_cast<size_t>(d - u'0');
            size_t used = 1;
            if (i + 2 < templ.size() && isDigit(templ[i + 2])) {
                size_t two = n * 10 + static_cast<size_t>(templ[i + 2] - u'0');
                if (two >= 1 && two <= match.groups.size()) {
                    n = two;
                    used = 2;
                }
            }
            if (n >= 1 && n <= match.groups.size()) {
                auto g = match.groups[n - 1];
                if (g.first >= 0)
                    out += text.substr(static_cast<size_t>(g.first), static_cast<size_t>(g.second - g.first));
                i += used;
            } else {
                out += c;
            }
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace qm::vbs::rt
