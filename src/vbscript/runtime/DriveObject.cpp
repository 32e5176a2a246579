#include "vbscript/runtime/DriveObject.h"

#include <memory>
#include <vector>

#include "vbscript/Dispatch.h"
#include "vbscript/runtime/LibrarySupport.h"

namespace fs = std::filesystem;

namespace qm::vbs::rt {

bool isOurDriveSpec(const std::u16string& spec)
{
    if (spec.empty() || (spec[0] != u'C' && spec[0] != u'c'))
        return false;
    if (spec.size() == 1)
        return true;
    if (spec[1] != u':')
        return false;
    return spec.size() == 2 || (spec.size() == 3 && (spec[2] == u'\\' || spec[2] == u'/'));
}

namespace {

enum DriveMember : DispId {
    DrivePath = DispIdValue,
    DriveLetter = 1,
    DriveType,
    DriveFileSystem,
    DriveIsReady,
    DriveRootFolder,
    DriveFreeSpace,
    DriveAvailableSpace,
    DriveTotalSize,
    DriveVolumeName,
    DriveSerialNumber,
    DriveShareName,
};

const MemberEntry kDriveMembers[] = {
    {u"Path", DrivePath},
    {u"DriveLetter", DriveLetter},
    {u"DriveType", DriveType},
    {u"FileSystem", DriveFileSystem},
    {u"IsReady", DriveIsReady},
    {u"RootFolder", DriveRootFolder},
    {u"FreeSpace", DriveFreeSpace},
    {u"AvailableSpace", DriveAvailableSpace},
    {u"TotalSize", DriveTotalSize},
    {u"VolumeName", DriveVolumeName},
    {u"SerialNumber", DriveSerialNumber},
    {u"ShareName", DriveShareName},
};

constexpr int32_t kFixedDrive = 2;

class Drive : public Dispatch {
public:
    explicit Drive(DriveSource source) : source_(std::move(source)) {}
    std::u16string typeName() const override { return u"Drive"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kDriveMembers, name); }
    const void* classKey() const override { return kDriveMembers; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet) {
            // Only the volume name is writable; our drive keeps its (empty) name.
            if (id == DriveVolumeName)
                raise(err::PermissionDenied);
            raise(err::WrongArgCount);
        }
        checkArgCount(args, 0, 0);
        switch (id) {
        case DrivePath: return Value(u"C:");
        case DriveLetter: return Value(u"C");
        case DriveType: return Value(kFixedDrive);
        case DriveFileSystem: return Value(u"NTFS");
        case DriveIsReady: return Value(true);
        case DriveRootFolder: return source_.rootFolder();
        case DriveFreeSpace: return Value(space().free);
        case DriveAvailableSpace: return Value(space().available);
        case DriveTotalSize: return Value(space().capacity);
        case DriveVolumeName: return Value(std::u16string());
        case DriveSerialNumber: return Value(int32_t(0));
        case DriveShareName: return Value(std::u16string());
        default: raise(err::NoSuchMember);
        }
    }

private:
    struct Space {
        double capacity = 0, free = 0, available = 0;
    };

    // Sizes in bytes as Doubles (they pass the Long range); 0 when unknown.
    Space space() const
    {
        std::error_code ec;
        fs::space_info info = fs::space(source_.root, ec);
        if (ec)
            return {};
        return {static_cast<double>(info.capacity), static_cast<double>(info.free),
                static_cast<double>(info.available)};
    }

    DriveSource source_;
};

enum DriveListMember : DispId { DriveListItem = DispIdValue, DriveListCount = 1 };
const MemberEntry kDriveListMembers[] = {{u"Item", DriveListItem}, {u"Count", DriveListCount}};

class DriveList : public Dispatch {
public:
    explicit DriveList(DriveSource source) : source_(std::move(source)) {}
    std::u16string typeName() const override { return u"Drives"; }
    DispId findMember(std::u16string_view name) override { return findInTable(kDriveListMembers, name); }
    const void* classKey() const override { return kDriveListMembers; }

    Value invoke(DispId id, InvokeKind kind, std::span<Value> args) override
    {
        if (kind == InvokeKind::PropertyLet || kind == InvokeKind::PropertySet)
            raise(err::WrongArgCount);
        switch (id) {
        case DriveListCount: checkArgCount(args, 0, 0); return Value(int32_t(1));
        case DriveListItem: {
            checkArgCount(args, 1, 1);
            Value key = resolveObjectDefault(args[0]);
            if (key.isNull())
                raise(err::InvalidUseOfNull);
            if (!isOurDriveSpec(toString(key)))
                raise(err::InvalidCall);
            return newDrive(source_);
        }
        default: raise(err::NoSuchMember);
        }
    }

    std::unique_ptr<Enumerator> newEnum() override { return std::make_unique<ValueListEnumerator>(std::vector<Value>{newDrive(source_)}); }

private:
    DriveSource source_;
};

} // namespace

Value newDrive(DriveSource source) { return Value(new Drive(std::move(source))); }
Value newDriveList(DriveSource source) { return Value(new DriveList(std::move(source))); }

} // namespace qm::vbs::rt
