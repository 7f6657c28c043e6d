// The binding layer's rows: whole-number argument rules, arguments that
// resolve what a text names (required, nullable, absent), parameters that
// read no argument, and methods bound with no function of their own.
#include "support/LuaTestState.h"

#include "core/foundation/KVOError.h"
#include "core/script/lua/LuaStackTable.h"
#include "core/script/lua/ScriptMetaTable.h"
#include "core/script/lua/ScriptNumbers.h"
#include "core/script/lua/ScriptResolved.h"

#include <map>
#include <string>
#include <vector>

using LuaPlus::Exact;
using LuaPlus::Index;
using LuaPlus::LuaState;
using LuaPlus::Resolved;
using LuaPlus::Saturating;

namespace
{

struct KeyNoun
{
    static constexpr const char* kNoun = "key code";
};

double Plain(LuaState*, int32_t value)
{
    return value;
}
double Saturated(LuaState*, Saturating<int32_t> value)
{
    return value;
}
double SaturatedUnsigned(LuaState*, Saturating<uint16_t> value)
{
    return value;
}
double ExactKey(LuaState*, Exact<uint16_t, KeyNoun> key)
{
    return key;
}
double ToIndex(LuaState*, Index index)
{
    return index;
}
double Field(LuaState*, const LuaPlus::LuaStackTable& options)
{
    return options.Get<int32_t>("size");
}

// A small world: named things with a value, a part each, and one "current"
// object that no argument names.
struct SPart
{
    float mass = 1.0f;
    void SetMass(float value) { mass = value; }
    float GetMass() const { return mass; }
};
struct SThing
{
    std::string name;
    int value = 0;
    SPart part;
    int Add(int amount) { return value += amount; }
    int GetValue() const { return value; }
    void SetValue(int newValue) { value = newValue; }
    std::string Describe(const std::string& prefix, float scale) const
    {
        return prefix + name + "*" + std::to_string(static_cast<int>(scale * 10));
    }
    SPart* GetPart() { return &part; }
};

std::map<std::string, SThing, std::less<>> g_things;
int g_finds = 0;

struct Things
{
    using Object = SThing;
    static SThing* Find(std::string_view name)
    {
        ++g_finds;
        const auto found = g_things.find(name);
        return found != g_things.end() ? &found->second : nullptr;
    }
    [[noreturn]] static void NotFound(std::string_view name)
    {
        throw Misc::Error::CKVOError::Format(L"[CThings::Get] Thing not found [%S]",
                                             std::string(name).c_str());
    }
};
using Thing = Resolved<LuaPlus::Named<Things>>;
using ThingOrNull = Resolved<LuaPlus::NamedOrNull<Things>>;
using ThingOrAbsent = Resolved<LuaPlus::NamedOrAbsent<Things>>;

struct PartLookup
{
    using Object = SPart;
    static SPart* Resolve(lua_State* L, int index)
    {
        return LuaPlus::Named<Things>::Resolve(L, index)->GetPart();
    }
};
using Part = Resolved<PartLookup>;

SThing g_current{"current", 7, {}};
SThing& CurrentThing()
{
    return g_current;
}
using TheCurrent = Resolved<LuaPlus::Current<SThing, &CurrentThing>>;

int Value(LuaState*, Thing thing)
{
    return thing->value;
}
std::string ParentOf(LuaState*, Thing child, ThingOrNull parent)
{
    return child->name + "<" + (parent ? parent->name : std::string("world"));
}
// Reads the current object, then a thing, then a number: the slots after a
// parameter that reads none are the script's arguments in order.
int Sum(LuaState*, TheCurrent current, Thing thing, int extra)
{
    return current->value + thing->value + extra;
}
bool g_ran = false;
void Touch(LuaState*, ThingOrAbsent)
{
    g_ran = true;
}

class BindingRows : public LuaTestState
{
protected:
    void SetUp() override
    {
        LuaTestState::SetUp();
        g_things.clear();
        g_things["a"] = SThing{"a", 1, {}};
        g_things["b"] = SThing{"b", 2, {}};
        g_current.value = 7;
        g_ran = false;
        CScriptMetaTable table(state);
        table.SetScriptName("T");
        table.RegisterHelper("plain", &Plain);
        table.RegisterHelper("saturated", &Saturated);
        table.RegisterHelper("saturatedUnsigned", &SaturatedUnsigned);
        table.RegisterHelper("key", &ExactKey);
        table.RegisterHelper("index", &ToIndex);
        table.RegisterHelper("field", &Field);
        table.RegisterHelper("value", &Value);
        table.RegisterHelper("parentOf", &ParentOf);
        table.RegisterHelper("sum", &Sum);
        table.RegisterHelper("touch", &Touch);
        // Methods: one row each, the object from the first type.
        table.RegisterMethod<Thing>("add", &SThing::Add);
        table.RegisterMethod<Thing>("getValue", &SThing::GetValue);
        table.RegisterMethod<Thing>("setValue", &SThing::SetValue);
        table.RegisterMethod<Thing>("describe", &SThing::Describe);
        table.RegisterMethod<Thing, Saturating<int32_t>>("setValueSaturated", &SThing::SetValue);
        table.RegisterMethod<Thing, std::string>("describeFirst", &SThing::Describe);
        table.RegisterMethod<Part>("setMass", &SPart::SetMass);
        table.RegisterMethod<Part>("getMass", &SPart::GetMass);
        table.RegisterMethod<TheCurrent>("currentValue", &SThing::GetValue);
        table.RegisterMethod<ThingOrAbsent>("absentValue", &SThing::GetValue);
        table.RegisterMethod<ThingOrAbsent>("absentDescribe", &SThing::Describe);
        table.RegisterMethod<ThingOrAbsent>("absentSet", &SThing::SetValue);
        table.RegisterMethod<ThingOrNull>("nullValue", &SThing::GetValue);
        table.RegisterMethod<ThingOrAbsent, Exact<uint16_t, KeyNoun>>("absentKey", &SThing::SetValue);
        table.SetGlobalObject(&m_object, "T");
        table.Seal();
    }

    // The call's result as text, or its error message. The call is not a
    // tail call: the VM drops the frame of a function that ends in one, and
    // with it the line an error would name.
    std::string Call(const std::string& call)
    {
        return Eval("local ok, result = pcall(function() local result = " + call +
                    " return result end) return ok and tostring(result) or result")
            .GetString();
    }

    int m_object = 0;
};

TEST_F(BindingRows, WholeNumbersFollowTheRuleOfTheirType)
{
    struct Case
    {
        std::string call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        // Plain: truncated, then the low bits; NaN reads as a missing number.
        {"T:plain(4294967295)", "-1"},
        {"T:plain(-3.9)", "-3"},
        {"T:plain()", "0"},
        {"T:plain({})", "0"},
        {"T:plain(0/0)", "0"},
        {"T:plain('nan')", "0"},
        // Saturating: held within the range.
        {"T:saturated(1e300)", "2147483647"},
        {"T:saturated(-1/0)", "-2147483648"},
        {"T:saturated(-2.9)", "-2"},
        {"T:saturatedUnsigned(-5)", "0"},
        {"T:saturatedUnsigned(70000)", "65535"},
        {"T:saturated(0/0)", "0"},
        // Exact: whole and within the range, or refused by its noun.
        {"T:key(65)", "65"},
        {"T:key('0x41')", "65"},
        {"T:key(65535)", "65535"},
        {"T:key(70000)", "test:1: [T::key] Invalid key code for argument 1: 70000"},
        {"T:key(-1)", "test:1: [T::key] Invalid key code for argument 1: -1"},
        {"T:key(1.5)", "test:1: [T::key] Invalid key code for argument 1: 1.5"},
        {"T:key(1/0)", "test:1: [T::key] Invalid key code for argument 1: inf"},
        {"T:key(0/0)", "0"},
        {"T:key()", "0"},
        // Index: truncated; beyond 32 bits no position at all.
        {"T:index(3.7)", "3"},
        {"T:index(-0.5)", "0"},
        {"T:index(-7)", "-7"},
        {"T:index(2^31)", "-1"},
        {"T:index(2^32 + 2)", "-1"},
        {"T:index(-1e300)", "-1"},
        {"T:index(1/0)", "-1"},
        {"T:index(0/0)", "0"},
        // A table field holding NaN reads as a missing one.
        {"T:field({size = 0/0})", "0"},
        {"T:field({size = 12.5})", "12"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(c.call), c.expected) << c.call;
}

TEST_F(BindingRows, NamesResolveToTheirObjectsOrTheFindersError)
{
    struct Case
    {
        std::string call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"T:value('a')", "1"},
        {"T:value('b')", "2"},
        {"T:value('c')", "test:1: [CThings::Get] Thing not found [c]"},
        {"T:value()", "test:1: [CThings::Get] Thing not found []"},
        {"T:value({})", "test:1: [CThings::Get] Thing not found []"},
        {"T:parentOf('a', 'b')", "a<b"},
        {"T:parentOf('a', 'nobody')", "a<world"},
        {"T:parentOf('a')", "a<world"},
        {"T:parentOf('x', 'b')", "test:1: [CThings::Get] Thing not found [x]"},
        {"T:sum('b', 10)", "19"},
        {"T:sum('c', 10)", "test:1: [CThings::Get] Thing not found [c]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(c.call), c.expected) << c.call;
    // The lookup's own message carries no second prefix.
    EXPECT_EQ(Run("T:value('c')"), "test:1: [CThings::Get] Thing not found [c]");
}

TEST_F(BindingRows, MethodsAreOneRowEach)
{
    struct Case
    {
        std::string call;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"T:add('a', 5)", "6"},
        {"T:getValue('a')", "6"},
        {"T:setValue('b', 4.9)", "nil"},
        {"T:getValue('b')", "4"},
        {"T:describe('b', 'thing ', 0.25)", "thing b*2"},
        {"T:describe('b')", "b*0"},
        {"T:describeFirst('b', 1, 0.5)", "1b*5"}, // the types given first, the method's for the rest
        {"T:setValue('b', 0/0)", "nil"},
        {"T:getValue('b')", "0"},
        {"T:setValueSaturated('b', 1e300)", "nil"},
        {"T:getValue('b')", "2147483647"},
        {"T:setMass('a', 2.5)", "nil"},
        {"T:getMass('a')", "2.5"},
        {"T:getMass('zz')", "test:1: [CThings::Get] Thing not found [zz]"},
        {"T:currentValue()", "7"},
        {"T:add('zz', 1)", "test:1: [CThings::Get] Thing not found [zz]"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Call(c.call), c.expected) << c.call;
    EXPECT_EQ(g_things["a"].part.mass, 2.5f);
}

TEST_F(BindingRows, AnAbsentObjectAnswersTheAbsentResultOfItsType)
{
    EXPECT_EQ(Call("T:absentValue('a')"), "1");
    EXPECT_EQ(Call("T:absentValue('none')"), "0");
    EXPECT_EQ(Call("T:absentDescribe('a', '>', 1)"), ">a*10");
    EXPECT_EQ(Call("T:absentDescribe('none', '>', 1)"), "nil");
    EXPECT_EQ(Call("select('#', T:absentSet('none', 5))"), "0");
    // A method whose object is null does not run either.
    EXPECT_EQ(Call("T:nullValue('none')"), "0");
    EXPECT_EQ(Call("T:nullValue('b')"), "2");
    // A function with an absent argument does not run at all.
    EXPECT_EQ(Call("T:touch('none')"), "nil");
    EXPECT_FALSE(g_ran);
    EXPECT_EQ(Call("T:touch('a')"), "nil");
    EXPECT_TRUE(g_ran);
    // Every argument is read before the call is given up: a bad number
    // after an absent object is refused all the same.
    EXPECT_EQ(Call("T:absentKey('none', 1.5)"),
              "test:1: [T::absentKey] Invalid key code for argument 2: 1.5");
}

} // namespace
