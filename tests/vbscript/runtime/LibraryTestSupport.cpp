#include "LibraryTestSupport.h"

#include "vbscript/runtime/DateTime.h"

namespace qm::vbs::rttest {

FakeContext::FakeContext() { registerRuntimeLibrary(registry_); }

Value FakeContext::resolveDefault(const Value& v)
{
    Value cur = v;
    for (int depth = 0; cur.isObject() && depth < 16; ++depth) {
        if (cur.isNothing())
            raise(err::ObjectNotSet);
        cur = cur.asObject()->invoke(DispIdValue, InvokeKind::PropertyGet, {});
    }
    return cur;
}

Value FakeContext::createObject(const std::u16string& progId, const std::u16string& server)
{
    Value fromHost = hostServices.createObject(progId, server);
    if (!fromHost.isEmpty())
        return fromHost;
    if (ObjectFactory f = registry_.findProgId(progId))
        return Value(f(*this));
    raise(err::CannotCreateObject);
}

Value FakeContext::getObject(const std::u16string& path, const std::u16string& progId)
{
    return hostServices.getObject(path, progId);
}

Value FakeContext::call(std::u16string_view name, std::vector<Value> args)
{
    const Builtin* b = registry_.findFunction(name);
    if (!b)
        ADD_FAILURE() << "no builtin " << narrow(std::u16string(name));
    if (!b)
        return Value();
    if (args.size() < b->minArgs || args.size() > b->maxArgs)
        raise(err::WrongArgCount);
    return b->fn(*this, args);
}

int FakeContext::errorOf(std::u16string_view name, std::vector<Value> args)
{
    try {
        call(name, std::move(args));
    } catch (const ScriptError& e) {
        return e.number;
    }
    return 0;
}

std::string FakeContext::text(std::u16string_view name, std::vector<Value> args)
{
    try {
        return show(call(name, std::move(args)));
    } catch (const ScriptError& e) {
        return "error " + std::to_string(e.number);
    }
}

Value Dt(int y, int m, int d, int h, int mi, int s)
{
    return Value::date(*rt::makeSerial(rt::daysFromCivil(y, m, d), h * 3600 + mi * 60 + s));
}

std::string narrow(const std::u16string& s) { return toUtf8(s); }

std::string show(const Value& v)
{
    if (v.isNull())
        return "Null";
    if (v.isEmpty())
        return "Empty";
    if (v.isArray()) {
        std::string out = "(";
        for (size_t i = 0; i < v.asArray().elements.size(); ++i)
            out += (i ? "," : "") + show(v.asArray().elements[i]);
        return out + ")";
    }
    if (v.isObject())
        return v.isNothing() ? "Nothing" : "<" + narrow(v.asObject()->typeName()) + ">";
    return narrow(toString(v));
}

namespace {
Value invokeNamed(const Value& object, std::u16string_view member, InvokeKind kind, std::vector<Value>& args)
{
    Dispatch* d = object.asObject();
    DispId id = d->findMember(member);
    if (id == DispIdUnknown)
        raise(err::NoSuchMember);
    return d->invoke(id, kind, args);
}
} // namespace

Value get(const Value& object, std::u16string_view member, std::vector<Value> args)
{
    return invokeNamed(object, member, InvokeKind::PropertyGet, args);
}

Value callMethod(const Value& object, std::u16string_view member, std::vector<Value> args)
{
    return invokeNamed(object, member, InvokeKind::Method, args);
}

void let(const Value& object, std::u16string_view member, std::vector<Value> args)
{
    invokeNamed(object, member, InvokeKind::PropertyLet, args);
}

int errorOfMethod(const Value& object, std::u16string_view member, std::vector<Value> args, InvokeKind kind)
{
    try {
        invokeNamed(object, member, kind, args);
    } catch (const ScriptError& e) {
        return e.number;
    }
    return 0;
}

} // namespace qm::vbs::rttest
