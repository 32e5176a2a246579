// Array, LBound, UBound.
#include "vbscript/runtime/LibrarySupport.h"

namespace qm::vbs::rt {

namespace {

Value fnArray(BuiltinContext&, std::span<Value> args)
{
    std::vector<Value> elements;
    elements.reserve(args.size());
    for (Value& v : args)
        elements.push_back(v.isMissing() ? Value() : v);
    return makeArray(std::move(elements));
}

const ArrayData& arrayArg(std::span<Value> args)
{
    if (args.empty() || !args[0].isArray())
        raise(err::TypeMismatch);
    return args[0].asArray();
}

int dimensionArg(BuiltinContext& ctx, std::span<Value> args, const ArrayData& a)
{
    int32_t dim = longArgOr(ctx, args, 1, 1);
    if (dim < 1 || dim > a.dimensions())
        raise(err::SubscriptOutOfRange);
    return dim - 1;
}

Value fnLBound(BuiltinContext& ctx, std::span<Value> args)
{
    const ArrayData& a = arrayArg(args);
    return Value(a.bounds[static_cast<size_t>(dimensionArg(ctx, args, a))].lower);
}

Value fnUBound(BuiltinContext& ctx, std::span<Value> args)
{
    const ArrayData& a = arrayArg(args);
    return Value(a.upper(dimensionArg(ctx, args, a)));
}

} // namespace

void registerArrayFunctions(BuiltinRegistry& r)
{
    r.addFunction(u"Array", 0, 255, fnArray);
    r.addFunction(u"LBound", 1, 2, fnLBound);
    r.addFunction(u"UBound", 1, 2, fnUBound);
}

} // namespace qm::vbs::rt
