#pragma once

#include "core/io/Archive.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>

namespace Misc::Serialization
{

// One stored field of a record: how it is written, how it is read and the
// file version it came with. A record lists its fields once, in file
// order, and both its Write and its Read run over the list: a field added
// to the format is one more row, with its version beside it.
//
// Reads follow the archive's rules: a missing key throws the archive's
// reading error; a value that does not parse leaves the field as it was.
// A file older than the field's version does not hold it; the field then
// keeps its value, or the row's older step runs: it sets the value older
// files imply, or reads the form they stored it in.
template <class Owner> struct SStoredField
{
    const char* key;
    uint32_t since;
    bool (*write)(IArchive& archive, Owner& owner, const char* key);
    void (*read)(IArchive& archive, Owner& owner, const char* key);
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

// Reads the fields the archive's version holds, in order.
template <class Owner, size_t Count>
void ReadFields(IArchive& archive, Owner& owner, const SStoredField<Owner> (&fields)[Count])
{
    for (const SStoredField<Owner>& field : fields)
    {
        if (archive.IsVersionAtLeast(field.since))
            field.read(archive, owner, field.key);
        else if (field.older != nullptr)
            field.older(archive, owner);
    }
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

// "-Key value" with a float, six decimals.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Float(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyFloat(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { static_cast<void>(archive.ReadKeyFloat(name, owner.*Member)); }};
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
            { static_cast<void>(archive.ReadKeyUInt(name, owner.*Member)); }};
}

// "-Key 0|1".
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Bool(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyBool(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { static_cast<void>(archive.ReadKeyBool(name, owner.*Member)); }};
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
                static_cast<void>(archive.ReadKeyBool(name, owner.*Member));
            },
            [](IArchive&, Owner& owner) { owner.*Member = Default; }};
}

// "-Key text" with wide text.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> WideText(const char* key, uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {key, since,
            [](IArchive& archive, Owner& owner, const char* name)
            { return archive.WriteKeyWString(name, owner.*Member); },
            [](IArchive& archive, Owner& owner, const char* name)
            { static_cast<void>(archive.ReadKeyWString(name, owner.*Member)); }};
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
                static_cast<void>(archive.ReadKeyWString(name, owner.*Member));
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
            { static_cast<void>(archive.ReadKeyULong(name, owner.*Member)); }};
}

// A field object that writes and reads itself under its own key
// (CKeyedField, CTextValue, ...); what its Read answers is not needed.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> Object(uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {nullptr, since,
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Write(archive); },
            [](IArchive& archive, Owner& owner, const char*)
            { static_cast<void>((owner.*Member).Read(archive)); }};
}

// A keyed text (CTextValue) that the record cannot do without: its key
// must be next, or the archive's reading error is thrown.
template <auto Member> constexpr SStoredField<OwnerOf<Member>> RequiredText(uint32_t since = 0)
{
    using Owner = OwnerOf<Member>;
    return {nullptr, since,
            [](IArchive& archive, Owner& owner, const char*) { return (owner.*Member).Write(archive); },
            [](IArchive& archive, Owner& owner, const char*)
            {
                std::wstring value;
                archive.ExpectWToken((owner.*Member).GetKeyText());
                archive.ReadWString(value);
                (owner.*Member).SetValue(value);
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
