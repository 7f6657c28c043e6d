#pragma once

#include "core/io/Archive.h"
#include "core/io/KeyedField.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <utility>

namespace Misc::Serialization
{

// One stored field of a record: how it is written, how it is read and the
// file version it came with. A record lists its fields once, in file
// order, and both its Write and its Read run over the list: a field added
// to the format is one more row, with its version beside it.
//
// Reads follow the archive's rules: a missing key throws the archive's
// reading error; a value that does not parse leaves the field as it was,
// and the row's read answers false. A file older than the field's version
// does not hold it; the field then keeps its value, or the row's older
// step runs: it sets the value older files imply, or reads the form they
// stored it in.
//
// `key` is the key the row writes and reads; a field object that keeps its
// own key may give it too, for messages only.
template <class Owner> struct SStoredField
{
    const char* key;
    uint32_t since;
    bool (*write)(IArchive& archive, Owner& owner, const char* key);
    bool (*read)(IArchive& archive, Owner& owner, const char* key);
    void (*older)(IArchive& archive, Owner& owner) = nullptr;
};

// Writes the fields in order; false when a write failed (the archive also
// keeps the failure, so that its Close reports it).
template <class Owner, size_t Count>
bool WriteFields(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count])
{
    bool written = true;
    for (const SStoredField<Owner>& field : fields)
        written = field.write(archive, owner, field.key) && written;
    return written;
}

// The same for an archive that may be of an older version: the fields
// that version does not hold are left out, so that the archive gets that
// version's layout.
template <class Owner, size_t Count>
bool WriteFieldsOfArchiveVersion(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count])
{
    const uint32_t version = archive.GetVersion();
    bool written = true;
    for (const SStoredField<Owner>& field : fields)
    {
        if (IArchive::VersionHolds(version, field.since))
            written = field.write(archive, owner, field.key) && written;
    }
    return written;
}

// Reads the fields the archive's version holds, in order, and answers the
// index of the first whose value did not read (Count when all did). With
// `stopAtUnreadable` the fields after that one are left unread. The
// version is asked once: a record is read field by field, and asking the
// archive (through a handle, two virtual calls) for every field costs the
// load measurably.
template <class Owner, size_t Count>
size_t ReadFieldsUntil(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count],
                       bool stopAtUnreadable)
{
    const uint32_t version = archive.GetVersion();
    size_t unreadable = Count;
    // One step per row, false to stop.
    auto step = [&](size_t index)
    {
        const SStoredField<Owner>& field = fields[index];
        if (IArchive::VersionHolds(version, field.since))
        {
            if (!field.read(archive, owner, field.key) && unreadable == Count)
            {
                unreadable = index;
                return !stopAtUnreadable;
            }
        }
        else if (field.older != nullptr)
            field.older(archive, owner);
        return true;
    };
    // Unrolled: where the table is seen, each row's read is called directly.
    [&]<size_t... Index>(std::index_sequence<Index...>)
    {
        static_cast<void>((step(Index) && ...));
    }
    (std::make_index_sequence<Count>());
    return unreadable;
}

// Reads the fields the archive's version holds, in order; a value that
// does not read leaves its field and the read goes on.
template <class Owner, size_t Count>
void ReadFields(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count])
{
    static_cast<void>(ReadFieldsUntil(archive, owner, fields, false));
}

// Reads the fields until a value does not read; false then, with the
// fields after it left unread.
template <class Owner, size_t Count>
bool ReadFieldsWhileReadable(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count])
{
    return ReadFieldsUntil(archive, owner, fields, true) == Count;
}

// Reads fields that all must read: for the first value that does not,
// `unreadable` is called with its key (and throws the record's error).
template <class Owner, size_t Count>
void ReadRequiredFields(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count],
                        void (*unreadable)(const char* key))
{
    const size_t index = ReadFieldsUntil(archive, owner, fields, true);
    if (index != Count)
        unreadable(fields[index].key != nullptr ? fields[index].key : "");
}

namespace StoredField
{

template <class Member> struct SMemberOf;
template <class Owner, class Value> struct SMemberOf<Value Owner::*>
{
    using OwnerType = Owner;
    using ValueType = Value;
};
template <auto Member> using OwnerOf = typename SMemberOf<decltype(Member)>::OwnerType;

// What a row writes: the member itself, or what a getter of the owner
// answers where the owner works its stored value out (a joint kind's pivot
// from its matrices). Reads always go to the member.
template <auto Source, class Owner> decltype(auto) ValueOf(Owner& owner)
{
    if constexpr (std::is_member_function_pointer_v<decltype(Source)>)
        return (owner.*Source)();
    else
        return (owner.*Source);
}

// "-Key value" with a float, six decimals.
template <auto Member, auto Source = Member>
constexpr SStoredField<OwnerOf<Member>> Float(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyFloat(name, ValueOf<Source>(owner)); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyFloat(name, owner.*Member); }};
}

// "-Key n" with a whole number: written as a long, read back as the
// unsigned value it is.
template <auto Member>
constexpr SStoredField<OwnerOf<Member>> WholeNumber(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyLong(name, static_cast<int32_t>(owner.*Member)); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyUInt(name, owner.*Member); }};
}

// "-Key n" with a signed whole number of the Int kind.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Signed(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyInt(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyInt(name, owner.*Member); }};
}

// "-Key 0|1".
template <auto Member, auto Source = Member>
constexpr SStoredField<OwnerOf<Member>> Bool(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyBool(name, ValueOf<Source>(owner)); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyBool(name, owner.*Member); }};
}

// The same with a default: reading sets it first, so that a value that
// does not parse leaves it; files older than the field take it too.
template <auto Member, bool Default>
constexpr SStoredField<OwnerOf<Member>> DefaultedBool(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyBool(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            {
                owner.*Member = Default;
                return archive.ReadKeyBool(name, owner.*Member);
            },
            [](IArchive&, Owner& owner) { owner.*Member = Default; }};
}

// "-Key text" with narrow (UTF-8) text.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Text(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyString(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyString(name, owner.*Member); }};
}

// "-Key text" with wide text.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> WideText(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyWString(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyWString(name, owner.*Member); }};
}

// The same, emptied before it is read; files older than the field leave it
// empty.
template <auto Member>
constexpr SStoredField<OwnerOf<Member>> ClearedWideText(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyWString(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            {
                (owner.*Member).clear();
                return archive.ReadKeyWString(name, owner.*Member);
            },
            [](IArchive&, Owner& owner) { (owner.*Member).clear(); }};
}

// "-Key n" with an unsigned whole number of the ULong kind.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Unsigned(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyULong(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.ReadKeyULong(name, owner.*Member); }};
}

// A field object that writes and reads itself under its own key
// (CKeyedField, CTextValue, ...). `key`, when given, is that key, for
// messages.
template <auto Member>
constexpr SStoredField<OwnerOf<Member>> Object(const char* key = nullptr, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Write(archive); },
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Read(archive); }};
}
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Object(uint32_t since)
{
    return Object<Member>(nullptr, since);
}

// A vector field (CVectorField) read into the member and written from
// what `Source` answers, under the key given.
template <auto Member, auto Source = Member>
constexpr SStoredField<OwnerOf<Member>> Vector(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            {
                const CVector& value = ValueOf<Source>(owner);
                return CVectorField(value.x, value.y, value.z, name).Write(archive);
            },
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Read(archive); }};
}

// A keyed text (CTextValue) that the record cannot do without: its key
// must be next, or the archive's reading error is thrown. The value is
// taken even when it did not read in full.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> RequiredText(uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {nullptr, since,
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Write(archive); },
            [](IArchive& archive, Owner& owner, const char*)
            {
                std::wstring value;
                archive.ExpectWToken((owner.*Member).GetKeyText());
                const bool read = archive.ReadWString(value);
                (owner.*Member).SetValue(value);
                return read;
            }};
}

// The row with its step for files older than it.
template <class Owner>
constexpr SStoredField<Owner> WithOlder(SStoredField<Owner> field,
                                        void (*older)(IArchive& archive, std::common_type_t<Owner>& owner))
{
    field.older = older;
    return field;
}

} // namespace StoredField

} // namespace Misc::Serialization
