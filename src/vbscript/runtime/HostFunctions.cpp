// Functions that reach the embedding program (MsgBox, InputBox, CreateObject,
// GetObject) and the engine's identity (ScriptEngine..., GetLocale, SetLocale).
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

namespace {

// MsgBox's button/icon/default/modality bits that VBScript accepts.
constexpr int32_t kMsgBoxKnownBits = 0x7 | 0x70 | 0x300 | 0x1000 | 0x4000 | 0x10000 | 0x80000 | 0x100000;

Value fnMsgBox(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string prompt = stringArg(ctx, args, 0);
    int32_t buttons = longArgOr(ctx, args, 1, 0);
    if ((buttons & ~kMsgBoxKnownBits) != 0 || (buttons & 0x7) > 5 || (buttons & 0x70) > 0x40)
        raise(err::InvalidCall);
    std::u16string title = given(args, 2) ? stringArg(ctx, args, 2) : std::u16string(u"VBScript");
    int result = ctx.host().msgBox(prompt, buttons, title);
    return Value(static_cast<int16_t>(result));
}

Value fnInputBox(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string prompt = stringArg(ctx, args, 0);
    std::u16string title = given(args, 1) ? stringArg(ctx, args, 1) : std::u16string(u"VBScript");
    std::u16string dflt = given(args, 2) ? stringArg(ctx, args, 2) : std::u16string();
    for (size_t i = 3; i < args.size() && i < 7; ++i)
        if (given(args, i) && i < 5)
            longArg(ctx, args, i); // positions must be numbers
    auto answer = ctx.host().inputBox(prompt, title, dflt);
    if (!answer)
        return Value(); // Cancel gives Empty
    return Value(*answer);
}

Value fnCreateObject(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string progId = stringArg(ctx, args, 0);
    std::u16string server = given(args, 1) ? stringArg(ctx, args, 1) : std::u16string();
    return ctx.createObject(progId, server);
}

Value fnGetObject(BuiltinContext& ctx, std::span<Value> args)
{
    std::u16string path = given(args, 0) ? stringArg(ctx, args, 0) : std::u16string();
    std::u16string progId = given(args, 1) ? stringArg(ctx, args, 1) : std::u16string();
    return ctx.getObject(path, progId);
}

Value fnScriptEngine(BuiltinContext&, std::span<Value>) { return Value(u"VBScript"); }
Value fnMajor(BuiltinContext&, std::span<Value>) { return Value(int32_t(5)); }
Value fnMinor(BuiltinContext&, std::span<Value>) { return Value(int32_t(8)); }
Value fnBuild(BuiltinContext&, std::span<Value>) { return Value(int32_t(18702)); }

Value fnGetLocale(BuiltinContext& ctx, std::span<Value>) { return Value(static_cast<int32_t>(ctx.lcid())); }

// Only the US-English rules exist: SetLocale answers the previous locale and
// accepts 0 (system), 1033 and "en-us"; anything else is an invalid argument.
Value fnSetLocale(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t previous = ctx.lcid();
    if (!given(args, 0))
        return Value(previous);
    Value v = plainArg(ctx, args, 0);
    if (v.isString()) {
        std::u16string name = toLowerCopy(v.asString());
        if (name != u"en-us" && name != u"english" && name != u"")
            raise(err::InvalidCall);
    } else {
        int32_t id = longArg(ctx, args, 0);
        if (id != 0 && id != 1033 && id != 1024 && id != 2048)
            raise(err::InvalidCall);
    }
    return Value(previous);
}

Value fnRGB(BuiltinContext& ctx, std::span<Value> args)
{
    int32_t c[3];
    for (size_t i = 0; i < 3; ++i) {
        c[i] = longArg(ctx, args, i);
        if (c[i] < 0)
            raise(err::InvalidCall);
        if (c[i] > 255)
            c[i] = 255;
    }
    return Value(c[0] | (c[1] << 8) | (c[2] << 16));
}

} // namespace

void registerHostFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"MsgBox", 1, 5, fnMsgBox);
    r.addFunction(u"InputBox", 1, 7, fnInputBox);
    r.addFunction(u"CreateObject", 1, 2, fnCreateObject);
    r.addFunction(u"GetObject", 0, 2, fnGetObject);
    r.addFunction(u"ScriptEngine", 0, 0, fnScriptEngine);
    r.addFunction(u"ScriptEngineMajorVersion", 0, 0, fnMajor);
    r.addFunction(u"ScriptEngineMinorVersion", 0, 0, fnMinor);
    r.addFunction(u"ScriptEngineBuildVersion", 0, 0, fnBuild);
    r.addFunction(u"GetLocale", 0, 0, fnGetLocale);
    r.addFunction(u"SetLocale", 0, 1, fnSetLocale);
    r.addFunction(u"RGB", 3, 3, fnRGB);
}

} // namespace qm::vbs::rt
